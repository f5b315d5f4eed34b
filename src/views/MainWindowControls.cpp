#include "views/MainWindowControls.h"

#include <commctrl.h>

#include "model/ControlIds.h"
#include "text/Errors.h"

namespace ktv::win32 {
namespace {

// A field's label is a window right before its field in the tab order: that
// is how Windows names the field for screen readers and automation tools.
constexpr DWORD kLabel = WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX;
// Painted by the window itself: the title over the banner and the rule.
constexpr DWORD kPainted = SS_LEFT;
constexpr DWORD kField = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_GROUP | ES_AUTOHSCROLL;
constexpr DWORD kButton = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_GROUP | BS_PUSHBUTTON;
// The model decides every state, so neither kind changes itself on a click.
constexpr DWORD kCheck = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_GROUP | BS_3STATE;
constexpr DWORD kOption = WS_CHILD | WS_VISIBLE | BS_RADIOBUTTON;
// A field with a list of texts to pick from.
constexpr DWORD kDropDown =
    WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_GROUP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL;

// A drop-down's window holds its list too: this many times the field's height.
constexpr int kDropDownRows = 8;

constexpr ChildEntry kChildren[] = {
    {ids::kTitleLabel, nullptr, "KTV Debugger", kPainted, FontRole::Title},
    {ids::kSubtitleLabel, nullptr, "Change the options and click Debug.", kPainted,
     FontRole::Message},

    {ids::kLccDirectoryLabel, "STATIC", "LCC Directory:", kLabel, FontRole::Bold},
    {ids::kLccDirectoryField, "EDIT", nullptr, kField, FontRole::Message},
    {ids::kBrowseLccButton, "BUTTON", "...", kButton, FontRole::Message},

    {ids::kKtvDirectoryLabel, "STATIC", "KTV Directory:", kLabel, FontRole::Bold},
    {ids::kKtvDirectoryField, "EDIT", nullptr, kField, FontRole::Message},
    {ids::kBrowseKtvButton, "BUTTON", "...", kButton, FontRole::Message},

    {ids::kBasicFileLabel, "STATIC", "Basic file to Debug:", kLabel, FontRole::Bold},
    {ids::kBasicFileField, "EDIT", nullptr, kField, FontRole::Message},
    {ids::kBrowseBasicFileButton, "BUTTON", "...", kButton, FontRole::Message},

    {ids::kLibrariesLabel, "STATIC", "Include Libraries", kLabel, FontRole::Bold},
    {ids::kLibrariesField, "EDIT", nullptr, kField, FontRole::Message},
    {ids::kBrowseLibrariesButton, "BUTTON", "...", kButton, FontRole::Message},
    {ids::kLibrariesHint, "STATIC", "Seperate with ;", kLabel | SS_RIGHT, FontRole::Message},

    {ids::kCommandLineLabel, "STATIC", "Command Line:", kLabel, FontRole::Bold},
    {ids::kCommandLineField, "EDIT", nullptr, kField, FontRole::Message},

    {ids::kCompileAsLabel, "STATIC", "Compile as:", kLabel, FontRole::Bold},
    {ids::kGuiOption, "BUTTON", "Gui", kOption | WS_GROUP | WS_TABSTOP, FontRole::Message},
    {ids::kConsoleOption, "BUTTON", "Console", kOption, FontRole::Message},
    {ids::kDllOption, "BUTTON", "DLL", kOption, FontRole::Message},
    {ids::kCheckWarningsBox, "BUTTON", "Check for C Warnings.", kCheck, FontRole::Message},

    {ids::kOnErrorLabel, "STATIC", "If Error found, do the following:", kLabel, FontRole::Bold},
    {ids::kLaunchNotepadBox, "BUTTON", "Launch Notepad, and goto line with error.", kCheck,
     FontRole::Message},
    {ids::kLaunchJfeBox, "BUTTON", "Launch JFE, and goto line with error", kCheck,
     FontRole::Message},
    {ids::kLaunchMyEditorBox, "BUTTON", "Launch my editor at the line with error", kCheck,
     FontRole::Message},
    {ids::kLaunchConTextBox, "BUTTON", "Launch Context and goto line with error", kCheck,
     FontRole::Message},
    {ids::kEditorCommandLabel, "STATIC", "Editor command:", kLabel, FontRole::Bold},
    {ids::kEditorCommandField, "COMBOBOX", nullptr, kDropDown, FontRole::Message},
    {ids::kBrowseEditorButton, "BUTTON", "...", kButton, FontRole::Message},

    {ids::kOnSuccessLabel, "STATIC", "If No Errors found, do the following:", kLabel,
     FontRole::Bold},
    {ids::kRunProgramBox, "BUTTON", "Run the Application", kCheck, FontRole::Message},
    {ids::kDebugInWeditBox, "BUTTON", "Debug with LCC Wedit", kCheck, FontRole::Message},

    {ids::kRule, nullptr, "", kPainted, FontRole::Message},

    {ids::kExitButton, "BUTTON", "Exit", kButton, FontRole::Bold},
    {ids::kAboutButton, "BUTTON", "About", kButton, FontRole::Bold},
    {ids::kDebugButton, "BUTTON", "Debug", (kButton & ~DWORD{BS_PUSHBUTTON}) | BS_DEFPUSHBUTTON,
     FontRole::Bold},

    // Placed by the layout like every other control, not by itself at the
    // parent's bottom edge; the model supplies its text.
    {ids::kStatusBar, STATUSCLASSNAMEA, nullptr,
     WS_CHILD | WS_VISIBLE | CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER, FontRole::Message},
};

const ChildEntry* EntryOf(int id) {
    for (const ChildEntry& entry : kChildren) {
        if (entry.id == id) {
            return &entry;
        }
    }
    return nullptr;
}

bool IsDropDown(const ChildEntry& entry) {
    return entry.className != nullptr && std::string_view(entry.className) == "COMBOBOX";
}

// The height of the control's window at its place.
int WindowHeight(const ChildEntry& entry, const LayoutRect& place) {
    return place.height * (IsDropDown(entry) ? kDropDownRows : 1);
}

// A drop-down's field takes the height its font gives it; it is made as
// high as the edit fields above it, which the layout sized.
void FitDropDownField(HWND dropDown, int height) {
    RECT field{};
    ::GetWindowRect(dropDown, &field);  // closed: the field alone
    const LRESULT itemHeight =
        ::SendMessageA(dropDown, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
    const int frame = static_cast<int>(field.bottom - field.top - itemHeight);
    if (itemHeight != CB_ERR && height > frame) {
        ::SendMessageA(dropDown, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), height - frame);
    }
}

}  // namespace

std::span<const ChildEntry> MainWindowChildren() {
    return kChildren;
}

std::string_view CaptionOf(int id) {
    const ChildEntry* entry = EntryOf(id);
    return entry != nullptr && entry->text != nullptr ? entry->text : "";
}

HFONT FontFor(const WindowFonts& fonts, FontRole role) {
    switch (role) {
        case FontRole::Title:
            return fonts.title.Get();
        case FontRole::Bold:
            return fonts.bold.Get();
        case FontRole::Message:
            break;
    }
    return fonts.message.Get();
}

void CreateChildControls(HWND parent, HINSTANCE instance, const MainWindowLayout& layout,
                         const WindowFonts& fonts) {
    for (const ChildEntry& entry : kChildren) {
        if (entry.className == nullptr) {
            continue;  // painted
        }
        const bool isEdit = std::string_view(entry.className) == "EDIT";
        const DWORD exStyle = (isEdit ? WS_EX_CLIENTEDGE : 0) | WS_EX_NOPARENTNOTIFY;
        const LayoutRect place = layout.Find(entry.id).value_or(LayoutRect{});
        const HWND child = ::CreateWindowExA(
            exStyle, entry.className, entry.text ? entry.text : "", entry.style, place.x, place.y,
            place.width, WindowHeight(entry, place), parent,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(entry.id)), instance, nullptr);
        if (child == nullptr) {
            throw Error("A control of the main window cannot be created.");
        }
        ::SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(fonts, entry.font)),
                       FALSE);
        if (IsDropDown(entry)) {
            FitDropDownField(child, place.height);
        }
    }
}

void RefitChildControls(HWND parent, const MainWindowLayout& layout, const WindowFonts& fonts) {
    for (const ChildEntry& entry : kChildren) {
        if (entry.className != nullptr) {
            ::SendMessageA(::GetDlgItem(parent, entry.id), WM_SETFONT,
                           reinterpret_cast<WPARAM>(FontFor(fonts, entry.font)), FALSE);
        }
    }
    HDWP positions = ::BeginDeferWindowPos(static_cast<int>(layout.controls.size()));
    for (const PlacedControl& placed : layout.controls) {
        const HWND child = ::GetDlgItem(parent, placed.id);
        const ChildEntry* entry = EntryOf(placed.id);
        if (positions != nullptr && child != nullptr && entry != nullptr) {
            positions = ::DeferWindowPos(positions, child, nullptr, placed.rect.x, placed.rect.y,
                                         placed.rect.width, WindowHeight(*entry, placed.rect),
                                         SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    if (positions != nullptr) {
        ::EndDeferWindowPos(positions);
    }
    for (const ChildEntry& entry : kChildren) {
        if (IsDropDown(entry)) {
            FitDropDownField(::GetDlgItem(parent, entry.id),
                             layout.Find(entry.id).value_or(LayoutRect{}).height);
        }
    }
}

}  // namespace ktv::win32
