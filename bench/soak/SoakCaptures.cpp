// Many captures in one capture window: what each shows, and that the window
// and its reader threads give back every handle, GDI and USER object and the
// memory they take. KTV_SOAK_CAPTURES sets the count (default 200).
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "WindowDriver.h"
#include "ResourceUsage.h"
#include "platform/win32/Win32ProcessCapture.h"
#include "views/CaptureWindow.h"

namespace ktv::soak {
namespace {

std::string Text(HWND window) {
    const HWND edit = ::GetDlgItem(window, win32::CaptureWindow::kOutputViewId);
    std::string text(static_cast<std::size_t>(::GetWindowTextLengthA(edit)) + 1, '\0');
    text.resize(static_cast<std::size_t>(
        ::GetWindowTextA(edit, text.data(), static_cast<int>(text.size()))));
    return text;
}

bool PumpUntil(const std::function<bool()>& condition) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        for (MSG message; ::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE);) {
            ::DispatchMessageA(&message);
        }
    }
    return true;
}

// One capture to its end. Every other one first starts a program that would
// run for a minute and replaces it, so that ending a running program and its
// reader is soaked too.
void CaptureOnce(win32::CaptureWindow& window, int number) {
    const std::string writer = "\"" + driver::ToWindowsPath(KTV_SOAK_WRITER) + "\" ";
    if (number % 2 == 1) {
        window.ShowAndRun(writer + "pid sleep:60000");
        ASSERT_TRUE(PumpUntil([&] { return Text(window.Hwnd()).starts_with("pid="); }));
    }
    const std::string expected = "capture " + std::to_string(number) + "\r\n";
    window.ShowAndRun(writer + "out:capture\\s" + std::to_string(number) + " err:\\n");
    ASSERT_TRUE(PumpUntil([&] { return Text(window.Hwnd()) == expected; })) << number;
}

TEST(Soak, RepeatedCapturesKeepResourcesFlat) {
    const int captures = CountFromEnvironment("KTV_SOAK_CAPTURES", 200);
    win32::Win32ProcessCapture capture;
    win32::CaptureWindow window(::GetModuleHandleA(nullptr), capture);
    CaptureOnce(window, 0);  // warm-up: first-use allocations are no leaks
    CaptureOnce(window, 1);
    const ResourceSample first = SampleProcess(::GetCurrentProcessId());
    for (int number = 2; number < captures + 2 && !::testing::Test::HasFatalFailure(); ++number) {
        CaptureOnce(window, number);
    }
    const auto figures = CompareSamples(first, SampleProcess(::GetCurrentProcessId()));
    std::printf("capture soak, %d captures in one window:\n%s", captures,
                Describe(figures).c_str());
    for (const auto& figure : figures) {
        EXPECT_FALSE(figure.Exceeded()) << figure.name << " grew by more than " << *figure.bound;
    }
    EXPECT_TRUE(first.gdiObjects.value.has_value()) << first.gdiObjects.source;
}

}  // namespace
}  // namespace ktv::soak
