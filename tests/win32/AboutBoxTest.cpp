#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "main/ControlIds.h"
#include "main/win32/AboutBox.h"

namespace ktv::win32 {
namespace {

// What a watcher thread saw of one opening of the box.
struct Sighting {
    bool found = false;
    bool ownerEnabled = true;
    bool ownedByOwner = false;
    bool sizable = true;
    RECT rect{};
    std::string closeText;
    int labels = 0;
};

HWND WaitForAboutBox() {
    for (int i = 0; i < 3000; ++i) {
        if (HWND box = ::FindWindowA("KtvAboutBox", kAboutCaption)) {
            if (::IsWindowVisible(box)) {
                return box;
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return nullptr;
}

// Opens the box on this thread while another thread looks at it and then
// closes it with `close`.
Sighting OpenAndWatch(HWND owner, const std::function<void(HWND box)>& close) {
    Sighting seen;
    const DWORD boxThread = ::GetCurrentThreadId();
    std::thread watcher([&] {
        HWND box = WaitForAboutBox();
        if (box == nullptr) {
            // The test fails on `found`; a quit message ends the box's loop
            // should it come up later, rather than leaving the test hanging.
            ::PostThreadMessageA(boxThread, WM_QUIT, 0, 0);
            return;
        }
        seen.found = true;
        seen.ownerEnabled = ::IsWindowEnabled(owner) != FALSE;
        seen.ownedByOwner = ::GetWindow(box, GW_OWNER) == owner;
        seen.sizable = (::GetWindowLongA(box, GWL_STYLE) & WS_THICKFRAME) != 0;
        ::GetWindowRect(box, &seen.rect);
        char text[64] = {};
        ::SendMessageA(::GetDlgItem(box, ids::kAboutClose), WM_GETTEXT, sizeof text,
                       reinterpret_cast<LPARAM>(text));
        seen.closeText = text;
        for (HWND child = ::GetWindow(box, GW_CHILD); child;
             child = ::GetWindow(child, GW_HWNDNEXT)) {
            char className[16] = {};
            ::GetClassNameA(child, className, sizeof className);
            seen.labels += std::string(className) == "Static";
        }
        // Moved away: the next opening must be centred again all the same.
        ::SetWindowPos(box, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        close(box);
    });
    ShowAboutBox(::GetModuleHandleA(nullptr), owner);
    watcher.join();
    return seen;
}

class AboutBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Away from the box: no mouse message may wake its loop by chance.
        ::SetCursorPos(0, 0);
        owner_ = ::CreateWindowExA(0, "STATIC", "KTV Debugger 3.001",
                                   WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 400, 300, nullptr,
                                   nullptr, ::GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(owner_, nullptr);
    }
    void TearDown() override {
        ::DestroyWindow(owner_);
        // Drops a quit message that the box's loop put back.
        MSG message;
        ::PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    }

    HWND owner_ = nullptr;
};

TEST_F(AboutBoxTest, IsModalCentredFixedAndClosesByButtonEscAndEnter) {
    const std::vector<std::function<void(HWND)>> closers{
        [](HWND box) {
            ::PostMessageA(::GetDlgItem(box, ids::kAboutClose), WM_KEYDOWN, VK_ESCAPE, 0);
        },
        [](HWND box) {
            ::PostMessageA(::GetDlgItem(box, ids::kAboutClose), WM_KEYDOWN, VK_RETURN, 0);
        },
        [](HWND box) { ::SendMessageA(::GetDlgItem(box, ids::kAboutClose), BM_CLICK, 0, 0); },
        [](HWND box) { ::PostMessageA(box, WM_CLOSE, 0, 0); },
    };
    for (const auto& close : closers) {
        const Sighting seen = OpenAndWatch(owner_, close);
        ASSERT_TRUE(seen.found);
        EXPECT_FALSE(seen.ownerEnabled);
        EXPECT_TRUE(seen.ownedByOwner);
        EXPECT_FALSE(seen.sizable);
        EXPECT_EQ(seen.closeText, "Close");
        EXPECT_EQ(seen.labels, 4);
        const int width = seen.rect.right - seen.rect.left;
        const int height = seen.rect.bottom - seen.rect.top;
        EXPECT_EQ(seen.rect.left, (::GetSystemMetrics(SM_CXSCREEN) - width) / 2);
        EXPECT_EQ(seen.rect.top, (::GetSystemMetrics(SM_CYSCREEN) - height) / 2);
        EXPECT_GE(width, 301);
        // The box is gone and the owner takes input again.
        EXPECT_TRUE(::IsWindowEnabled(owner_));
        EXPECT_EQ(::FindWindowA("KtvAboutBox", kAboutCaption), nullptr);
    }
}

}  // namespace
}  // namespace ktv::win32
