#include "E2eDriver.h"

#include <array>
#include <atomic>
#include <thread>

#include "main/ControlIds.h"
#include "platform/win32/GdiObjects.h"

namespace ktv::e2e {

namespace {

constexpr const char* kMainCaption = "KTV Debugger 3.001";

std::string JoinPath(const std::string& folder, const std::string& relative) {
    return relative.empty() ? folder : folder + "\\" + relative;
}

void CreateFolders(const std::string& path) {
    for (size_t at = path.find('\\', 3); at != std::string::npos; at = path.find('\\', at + 1)) {
        ::CreateDirectoryA(path.substr(0, at).c_str(), nullptr);
    }
    ::CreateDirectoryA(path.c_str(), nullptr);
}

void DeleteTree(const std::string& folder) {
    WIN32_FIND_DATAA entry{};
    HANDLE search = ::FindFirstFileA((folder + "\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = entry.cFileName;
            if (name == "." || name == "..") {
                continue;
            }
            const std::string path = folder + "\\" + name;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                DeleteTree(path);
            } else {
                ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileA(path.c_str());
            }
        } while (::FindNextFileA(search, &entry));
        ::FindClose(search);
    }
    ::RemoveDirectoryA(folder.c_str());
}

void CopyOrThrow(const std::string& from, const std::string& to) {
    if (!::CopyFileA(from.c_str(), to.c_str(), FALSE)) {
        throw DriverError("cannot copy " + from + " to " + to);
    }
}

std::string ClassName(HWND window) {
    std::array<char, 64> name{};
    ::GetClassNameA(window, name.data(), static_cast<int>(name.size()));
    return name.data();
}

// WM_GETTEXT answers across processes where GetWindowText on a control does not.
std::string TextOf(HWND window) {
    DWORD_PTR length = 0;
    if (!::SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG,
                               static_cast<UINT>(kSendTimeout.count()), &length)) {
        throw DriverError("the window does not answer WM_GETTEXTLENGTH");
    }
    std::string text(length + 1, '\0');
    DWORD_PTR copied = 0;
    if (!::SendMessageTimeoutA(window, WM_GETTEXT, text.size(),
                               reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                               static_cast<UINT>(kSendTimeout.count()), &copied)) {
        throw DriverError("the window does not answer WM_GETTEXT");
    }
    text.resize(copied);
    return text;
}

struct WindowSearch {
    DWORD processId;
    const char* className;  // null: any
    const char* title;      // null: any
    HWND found = nullptr;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<WindowSearch*>(context);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if ((search->processId != 0 && owner != search->processId) || !::IsWindowVisible(window)) {
        return TRUE;
    }
    if (search->className != nullptr && ClassName(window) != search->className) {
        return TRUE;
    }
    if (search->title != nullptr) {
        std::array<char, 256> title{};
        ::GetWindowTextA(window, title.data(), static_cast<int>(title.size()));
        if (std::string(title.data()) != search->title) {
            return TRUE;
        }
    }
    search->found = window;
    return FALSE;
}

std::vector<HWND> Children(HWND parent) {
    std::vector<HWND> children;
    ::EnumChildWindows(
        parent,
        [](HWND child, LPARAM context) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(context)->push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&children));
    return children;
}

// The kind of a box's icon from the colours on screen: an icon handle of
// another process cannot be read back, but its picture can.
IconKind ClassifyIcon(HWND icon) {
    RECT rect{};
    ::GetWindowRect(icon, &rect);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0) {
        return IconKind::Unknown;
    }
    using namespace ktv::win32;
    WindowDc screen(nullptr);
    MemoryDc memory(screen.Get());
    UniqueBitmap bitmap(::CreateCompatibleBitmap(screen.Get(), width, height));
    SelectedObject selected(memory.Get(), bitmap.Get());
    ::BitBlt(memory.Get(), 0, 0, width, height, screen.Get(), rect.left, rect.top, SRCCOPY);
    int yellow = 0;
    int blue = 0;
    int red = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const COLORREF colour = ::GetPixel(memory.Get(), x, y);
            const int r = GetRValue(colour);
            const int g = GetGValue(colour);
            const int b = GetBValue(colour);
            if (r > 180 && g > 140 && b < 110) {
                ++yellow;
            } else if (b > 140 && r < 110 && b > g) {
                ++blue;
            } else if (r > 160 && g < 90 && b < 90) {
                ++red;
            }
        }
    }

    const int enough = width * height / 12;
    if (yellow >= enough && yellow >= blue && yellow >= red) {
        return IconKind::Exclamation;
    }
    if (blue >= enough && blue >= red) {
        return IconKind::Information;
    }
    if (red >= enough) {
        return IconKind::Error;
    }
    return IconKind::Unknown;
}

}  // namespace

HWND FindTopLevel(DWORD processId, const char* className, const char* title) {
    WindowSearch search{processId, className, title};
    ::EnumWindows(&MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string ToWindowsPath(const std::string& path) {
    if (path.empty() || path[0] != '/') {
        return path;
    }
    std::string windows = "Z:" + path;
    for (char& c : windows) {
        if (c == '/') {
            c = '\\';
        }
    }
    return windows;
}

RECT WindowRectangle(HWND window) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return rect;
}

void SaveScreenshot(const RECT& area, const std::string& bmpPath) {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (width <= 0 || height <= 0) {
        throw DriverError("nothing to take a screenshot of");
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;  // bottom-up, as BMP files store rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    std::string bytes;
    {
        using namespace ktv::win32;
        WindowDc screen(nullptr);
        MemoryDc memory(screen.Get());
        UniqueBitmap bitmap(
            ::CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        if (!bitmap) {
            throw DriverError("no bitmap for the screenshot");
        }
        SelectedObject selected(memory.Get(), bitmap.Get());
        ::BitBlt(memory.Get(), 0, 0, width, height, screen.Get(), area.left, area.top, SRCCOPY);
        ::GdiFlush();

        const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
        const DWORD imageSize = stride * static_cast<DWORD>(height);
        BITMAPFILEHEADER file{};
        file.bfType = 0x4D42;  // "BM"
        file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
        file.bfSize = file.bfOffBits + imageSize;
        info.bmiHeader.biSizeImage = imageSize;
        bytes.assign(reinterpret_cast<const char*>(&file), sizeof(file));
        bytes.append(reinterpret_cast<const char*>(&info.bmiHeader), sizeof(info.bmiHeader));
        bytes.append(static_cast<const char*>(bits), imageSize);
    }

    HANDLE out = ::CreateFileA(bmpPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE) {
        throw DriverError("cannot write " + bmpPath);
    }
    DWORD written = 0;
    ::WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(out);
}

bool WaitUntil(const std::function<bool()>& condition, Milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (true) {
        if (condition()) {
            return true;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(Milliseconds(25));
    }
}

const char* IconName(IconKind kind) {
    switch (kind) {
        case IconKind::None:
            return "none";
        case IconKind::Information:
            return "information";
        case IconKind::Exclamation:
            return "exclamation";
        case IconKind::Error:
            return "error";
        case IconKind::Unknown:
            break;
    }
    return "unknown";
}

// ---------------------------------------------------------------- TestLayout

TestLayout::TestLayout(const std::string& program, const std::string& standins) {
    static std::atomic<int> counter{0};
    std::array<char, MAX_PATH> temp{};
    ::GetTempPathA(static_cast<DWORD>(temp.size()), temp.data());
    std::string base = temp.data();
    if (!base.empty() && base.back() == '\\') {
        base.pop_back();
    }
    root_ = base + "\\ktv-e2e-" + std::to_string(::GetCurrentProcessId()) + "-" +
            std::to_string(::GetTickCount64()) + "-" + std::to_string(counter++);
    DeleteTree(root_);
    CreateFolders(root_ + "\\lcc\\bin");
    CreateFolders(root_ + "\\ktv\\bin");
    CreateFolders(root_ + "\\work");

    CopyOrThrow(program, Program());
    for (const char* tool : {"lrc.exe", "lcc.exe", "lcclnk.exe", "builtprog.exe"}) {
        CopyOrThrow(standins + "\\" + tool, LccDir() + "\\bin\\" + tool);
    }
    CopyOrThrow(standins + "\\ktvc.exe", KtvDir() + "\\bin\\ktvc.exe");
    Write("work\\prog.bas", "$SOURCE\r\nPRINT \"Hello\"\r\nx = 1\r\nPRINT x\r\n");
}

TestLayout::~TestLayout() {
    if (!keep_) {
        DeleteTree(root_);
    }
}

void TestLayout::Write(const std::string& relative, const std::string& bytes) const {
    const std::string path = JoinPath(root_, relative);
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        throw DriverError("cannot write " + path);
    }
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
}

std::optional<std::string> TestLayout::Read(const std::string& relative) const {
    const std::string path = JoinPath(root_, relative);
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    std::string bytes;
    std::array<char, 8192> buffer{};
    DWORD read = 0;
    while (::ReadFile(file, buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr) &&
           read > 0) {
        bytes.append(buffer.data(), read);
    }
    ::CloseHandle(file);
    return bytes;
}

bool TestLayout::Exists(const std::string& relative) const {
    return ::GetFileAttributesA(JoinPath(root_, relative).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void TestLayout::Remove(const std::string& relative) const {
    ::DeleteFileA(JoinPath(root_, relative).c_str());
}

std::vector<std::string> TestLayout::LogLines() const {
    std::vector<std::string> lines;
    const std::string log = Read("work\\standins.log").value_or("");
    size_t start = 0;
    while (start < log.size()) {
        size_t end = log.find("\r\n", start);
        if (end == std::string::npos) {
            end = log.size();
        }
        lines.push_back(log.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

std::vector<std::string> TestLayout::CommandLinesOf(const std::string& program) const {
    std::vector<std::string> commandLines;
    for (const std::string& line : LogLines()) {
        const size_t first = line.find('|');
        const size_t second = first == std::string::npos ? first : line.find('|', first + 1);
        if (second != std::string::npos && line.substr(0, first) == program) {
            commandLines.push_back(line.substr(second + 1));
        }
    }
    return commandLines;
}

// ---------------------------------------------------------------- AppSession

AppSession::AppSession(const std::string& program, const std::string& workingDirectory) {
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    std::string commandLine = "\"" + program + "\"";
    if (!::CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          workingDirectory.c_str(), &startup, &info)) {
        throw DriverError("cannot start " + program);
    }
    ::CloseHandle(info.hThread);
    process_ = info.hProcess;
    processId_ = info.dwProcessId;

    const bool shown = WaitUntil(
        [&] {
            mainWindow_ = FindTopLevel(processId_, nullptr, kMainCaption);
            return mainWindow_ != nullptr || HasExited();
        },
        kStartTimeout);
    if (!shown || mainWindow_ == nullptr) {
        throw DriverError("the main window did not appear");
    }
}

AppSession::~AppSession() {
    if (process_ != nullptr) {
        if (!HasExited()) {
            ::TerminateProcess(process_, 1);
            ::WaitForSingleObject(process_, 5000);
        }
        ::CloseHandle(process_);
    }
}

HWND AppSession::Control(int id) const {
    HWND control = ::GetDlgItem(mainWindow_, id);
    if (control == nullptr) {
        throw DriverError("no control with ID " + std::to_string(id));
    }
    return control;
}

void AppSession::SetText(int id, const std::string& text) const {
    DWORD_PTR result = 0;
    if (!::SendMessageTimeoutA(Control(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                               SMTO_ABORTIFHUNG, static_cast<UINT>(kSendTimeout.count()),
                               &result)) {
        throw DriverError("the control does not answer WM_SETTEXT");
    }
}

std::string AppSession::Text(int id) const {
    return TextOf(Control(id));
}

void AppSession::Click(int id) const {
    ::PostMessageA(Control(id), BM_CLICK, 0, 0);
}

bool AppSession::Activate() const {
    ::SetForegroundWindow(mainWindow_);
    return WaitUntil([&] { return ::GetForegroundWindow() == mainWindow_ && FocusedControl(); },
                     Milliseconds(5000));
}

void AppSession::PressKey(WORD virtualKey) const {
    INPUT keys[2] = {};
    keys[0].type = INPUT_KEYBOARD;
    keys[0].ki.wVk = virtualKey;
    keys[1] = keys[0];
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(2, keys, sizeof(INPUT));
}

HWND AppSession::FocusedControl() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    const DWORD thread = ::GetWindowThreadProcessId(mainWindow_, nullptr);
    return ::GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
}

int AppSession::CheckState(int id) const {
    DWORD_PTR state = 0;
    if (!::SendMessageTimeoutA(Control(id), BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG,
                               static_cast<UINT>(kSendTimeout.count()), &state)) {
        throw DriverError("the control does not answer BM_GETCHECK");
    }
    return static_cast<int>(state);
}

bool AppSession::IsEnabled(int id) const {
    return ::IsWindowEnabled(Control(id)) != FALSE;
}

bool AppSession::IsMainWindowEnabled() const {
    return ::IsWindowEnabled(mainWindow_) != FALSE;
}

std::optional<HWND> AppSession::FindMessageBox() const {
    HWND box = FindTopLevel(processId_, "#32770", nullptr);
    if (box == nullptr) {
        return std::nullopt;
    }
    return box;
}

std::optional<MessageBoxInfo> AppSession::WaitForMessageBox(Milliseconds timeout) const {
    HWND box = nullptr;
    if (!WaitUntil(
            [&] {
                box = FindMessageBox().value_or(nullptr);
                return box != nullptr || HasExited();
            },
            timeout) ||
        box == nullptr) {
        return std::nullopt;
    }
    MessageBoxInfo info;
    info.window = box;
    std::array<char, 256> title{};
    ::GetWindowTextA(box, title.data(), static_cast<int>(title.size()));
    info.title = title.data();

    // The box's statics: one shows the icon (SS_ICON), one the text.
    HWND iconControl = nullptr;
    for (HWND child : Children(box)) {
        if (::lstrcmpiA(ClassName(child).c_str(), "Static") != 0) {
            continue;
        }
        const LONG style = ::GetWindowLongA(child, GWL_STYLE);
        if ((style & SS_TYPEMASK) == SS_ICON) {
            iconControl = ::IsWindowVisible(child) ? child : nullptr;
        } else if (std::string text = TextOf(child); !text.empty()) {
            info.text = text;
        }
    }
    if (iconControl == nullptr) {
        info.icon = IconKind::None;
    } else {
        // The icon is drawn once the box has painted; give it the moment.
        WaitUntil(
            [&] {
                info.icon = ClassifyIcon(iconControl);
                return info.icon != IconKind::Unknown;
            },
            Milliseconds(2000));
    }
    return info;
}

void AppSession::PressOk(const MessageBoxInfo& box) const {
    HWND ok = ::GetDlgItem(box.window, IDOK);
    ::PostMessageA(box.window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                   reinterpret_cast<LPARAM>(ok));
    if (!WaitUntil([&] { return !::IsWindow(box.window) || !::IsWindowVisible(box.window); },
                   kBoxTimeout)) {
        throw DriverError("the message box did not close");
    }
}

bool AppSession::WaitUntilIdle(Milliseconds timeout) const {
    return WaitUntil(
        [&] {
            return IsMainWindowEnabled() &&
                   ::IsWindowEnabled(::GetDlgItem(mainWindow_, ids::kCommand1Debug)) &&
                   !FindMessageBox().has_value();
        },
        timeout);
}

bool AppSession::Close(Milliseconds timeout) {
    ::PostMessageA(mainWindow_, WM_CLOSE, 0, 0);
    return WaitForExit(timeout);
}

bool AppSession::WaitForExit(Milliseconds timeout) {
    return ::WaitForSingleObject(process_, static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0;
}

bool AppSession::HasExited() const {
    return ::WaitForSingleObject(process_, 0) == WAIT_OBJECT_0;
}

}  // namespace ktv::e2e
