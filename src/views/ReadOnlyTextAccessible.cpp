#include "views/ReadOnlyTextAccessible.h"

#include <oleacc.h>

#include <atomic>
#include <string>

#include "platform/win32/AnsiText.h"
#include "platform/win32/Handles.h"

namespace ktv::win32 {
namespace {

// What the object needs of oleacc, oleaut32 and ole32. Imported, they would
// be loaded (and COM's DLLs with them) at every start of the program.
struct Accessibility {
    SystemLibrary oleacc{"oleacc.dll"};
    SystemLibrary oleaut32{"oleaut32.dll"};
    SystemLibrary ole32{"ole32.dll"};
    decltype(::LresultFromObject)* lresultFromObject =
        oleacc.Find<decltype(::LresultFromObject)>("LresultFromObject");
    decltype(::CreateStdAccessibleObject)* createStandardObject =
        oleacc.Find<decltype(::CreateStdAccessibleObject)>("CreateStdAccessibleObject");
    decltype(::SysAllocStringLen)* allocateString =
        oleaut32.Find<decltype(::SysAllocStringLen)>("SysAllocStringLen");
    decltype(::CoInitializeEx)* initializeCom =
        ole32.Find<decltype(::CoInitializeEx)>("CoInitializeEx");

    bool Complete() const {
        return lresultFromObject != nullptr && createStandardObject != nullptr &&
               allocateString != nullptr && initializeCom != nullptr;
    }
};

const Accessibility& Functions() {
    static const Accessibility functions;
    return functions;
}

bool IsSelf(const VARIANT& child) {
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

void SetSelf(VARIANT* child, bool self) {
    child->vt = self ? VT_I4 : VT_EMPTY;
    child->lVal = CHILDID_SELF;
}

// COM objects go by Release, never by delete through an interface pointer, so
// their interfaces have no virtual destructor.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

// The object of the window's client area. It asks the window for everything
// each time, so it outlives the window harmlessly (a client may keep it): it
// then fails. What it does not know itself (its parent, its neighbours) it
// leaves to the system's object for the same client area.
class TextAccessible final : public IAccessible {
public:
    TextAccessible(HWND window, IAccessible* standard) : window_(window), standard_(standard) {}
    TextAccessible(const TextAccessible&) = delete;
    TextAccessible& operator=(const TextAccessible&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        if (id == __uuidof(IUnknown) || id == __uuidof(IDispatch) || id == __uuidof(IAccessible)) {
            *object = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) {
            delete this;
        }
        return left;
    }

    // Clients call IAccessible's methods directly; there is no type information.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return E_NOTIMPL;
    }

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        *parent = nullptr;
        return standard_ != nullptr ? standard_->get_accParent(parent) : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT, IDispatch** child) override {
        *child = nullptr;
        return E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        *name = nullptr;
        if (!IsSelf(child) || !::IsWindow(window_)) {
            return E_INVALIDARG;
        }
        // Named as Windows names a field: by the label right before it,
        // else by the window it belongs to.
        const HWND before = ::GetWindow(window_, GW_HWNDPREV);
        char className[16] = {};
        if (before != nullptr) {
            ::GetClassNameA(before, className, sizeof className);
        }
        const bool labelled = _stricmp(className, "Static") == 0;
        return Answer(WindowTextWide(labelled ? before : ::GetAncestor(window_, GA_ROOT)), name);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        *value = nullptr;
        if (!IsSelf(child) || !::IsWindow(window_)) {
            return E_INVALIDARG;
        }
        std::string text(static_cast<std::size_t>(::SendMessageA(window_, WM_GETTEXTLENGTH, 0, 0)),
                         '\0');
        text.resize(static_cast<std::size_t>(::SendMessageA(
            window_, WM_GETTEXT, text.size() + 1, reinterpret_cast<LPARAM>(text.data()))));
        return Answer(WideFromAnsi(text), value);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
        return Nothing(child, description);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        role->vt = VT_EMPTY;
        if (!IsSelf(child)) {
            return E_INVALIDARG;
        }
        role->vt = VT_I4;
        role->lVal = ROLE_SYSTEM_TEXT;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        state->vt = VT_EMPTY;
        if (!IsSelf(child) || !::IsWindow(window_)) {
            return E_INVALIDARG;
        }
        state->vt = VT_I4;
        state->lVal = STATE_SYSTEM_READONLY | STATE_SYSTEM_FOCUSABLE |
                      (::GetFocus() == window_ ? STATE_SYSTEM_FOCUSED : 0) |
                      (::IsWindowVisible(window_) ? 0 : STATE_SYSTEM_INVISIBLE) |
                      (::IsWindowEnabled(window_) ? 0 : STATE_SYSTEM_UNAVAILABLE);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
        return Nothing(child, help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, long* topic) override {
        *file = nullptr;
        *topic = 0;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
        return Nothing(child, shortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
        const bool focused = ::GetFocus() == window_;
        SetSelf(focus, focused);
        return focused ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
        SetSelf(selection, false);
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        return Nothing(child, action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
        return standard_ != nullptr ? standard_->accSelect(flags, child) : E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                          VARIANT child) override {
        RECT client{};
        if (!IsSelf(child) || !::GetClientRect(window_, &client)) {
            return E_INVALIDARG;
        }
        POINT origin{0, 0};
        ::ClientToScreen(window_, &origin);
        *left = origin.x;
        *top = origin.y;
        *width = client.right;
        *height = client.bottom;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
        end->vt = VT_EMPTY;
        return standard_ != nullptr ? standard_->accNavigate(direction, start, end) : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override {
        POINT point{x, y};
        RECT client{};
        const bool inside = ::ScreenToClient(window_, &point) &&
                            ::GetClientRect(window_, &client) && ::PtInRect(&client, point);
        SetSelf(child, inside);
        return inside ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT) override { return DISP_E_MEMBERNOTFOUND; }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
    ~TextAccessible() {
        if (standard_ != nullptr) {
            standard_->Release();
        }
    }

    static HRESULT Answer(const std::wstring& text, BSTR* answer) {
        *answer = Functions().allocateString(text.data(), static_cast<UINT>(text.size()));
        return *answer != nullptr ? S_OK : E_OUTOFMEMORY;
    }
    static HRESULT Nothing(VARIANT child, BSTR* answer) {
        *answer = nullptr;
        return IsSelf(child) ? S_FALSE : E_INVALIDARG;
    }

    std::atomic<ULONG> references_ = 1;
    HWND window_;
    IAccessible* standard_;
};

#pragma GCC diagnostic pop

}  // namespace

LRESULT AnswerTextObjectQuery(HWND window, WPARAM flags, LPARAM objectId) {
    // 64-bit Windows may hand the ID over sign-extended: compared as 32 bits.
    if (static_cast<DWORD>(objectId) != static_cast<DWORD>(OBJID_CLIENT)) {
        return 0;
    }
    const Accessibility& functions = Functions();
    if (!functions.Complete()) {
        return 0;
    }
    // The reference goes out through COM, which this thread may not have
    // started. Started once and left running: a client may hold the object
    // as long as the thread lives.
    static thread_local const bool comStarted =
        SUCCEEDED(functions.initializeCom(nullptr, COINIT_APARTMENTTHREADED));
    static_cast<void>(comStarted);
    IAccessible* standard = nullptr;
    if (FAILED(functions.createStandardObject(window, OBJID_CLIENT, __uuidof(IAccessible),
                                              reinterpret_cast<void**>(&standard)))) {
        standard = nullptr;
    }
    auto* object = new TextAccessible(window, standard);
    const LRESULT reference = functions.lresultFromObject(__uuidof(IAccessible), flags, object);
    object->Release();
    return reference > 0 ? reference : 0;
}

}  // namespace ktv::win32
