// Many captures in one capture window: what each shows, and that the window
// and its reader threads give back every handle, GDI and USER object and the
// memory they take. KTV_SOAK_CAPTURES sets the count (default 20); ./soak
// runs 200.
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "CaptureSupport.h"
#include "ResourceUsage.h"
#include "console/win32/CaptureWindow.h"
#include "platform/win32/Win32ProcessCapture.h"

namespace ktv {
namespace {

using namespace std::chrono_literals;
using test_support::EditText;
using test_support::PumpMessagesUntil;
using test_support::WriterCommand;
using win32::testing::CompareSamples;
using win32::testing::CountFromEnvironment;
using win32::testing::Describe;
using win32::testing::ResourceSample;
using win32::testing::SampleProcess;

// One capture run to its end. Every other one first starts a program that
// would run for a minute and replaces it, so that the path which ends a
// running program and its reader is soaked too.
void CaptureOnce(win32::CaptureWindow& window, int number) {
    const std::string expected = "capture " + std::to_string(number);
    if (number % 2 == 1) {
        window.Redir(WriterCommand("pid sleep:60000"));
        ASSERT_TRUE(PumpMessagesUntil(
            [&] { return EditText(window.Text2()).find("pid=") != std::string::npos; }, 30s))
            << "capture " << number << ": the long program showed nothing";
    }
    window.Redir(WriterCommand("out:capture\\s" + std::to_string(number) + " err:\\n"));
    ASSERT_TRUE(PumpMessagesUntil([&] { return !window.IsCapturing(); }, 30s))
        << "capture " << number << " did not end";
    EXPECT_EQ(EditText(window.Text2()), expected + "\r\n");
}

TEST(CaptureSoakTest, RepeatedCapturesKeepResourcesFlat) {
    const int captures = CountFromEnvironment("KTV_SOAK_CAPTURES", 20);
    win32::Win32ProcessCapture capture;
    win32::CaptureWindow window(::GetModuleHandleA(nullptr), capture);

    CaptureOnce(window, 0);  // warm-up: first-use allocations are not leaks
    CaptureOnce(window, 1);
    const ResourceSample first = SampleProcess(::GetCurrentProcessId());
    for (int number = 2; number < captures + 2 && !HasFatalFailure(); ++number) {
        CaptureOnce(window, number);
    }
    const ResourceSample last = SampleProcess(::GetCurrentProcessId());

    const auto figures = CompareSamples(first, last);
    std::printf("capture soak, %d captures in one window:\n%s", captures,
                Describe(figures).c_str());
    for (const auto& figure : figures) {
        EXPECT_FALSE(figure.Exceeded())
            << figure.name << " grew by more than " << figure.bound.value_or(0);
    }
    // The counts that matter most must be measurable here, or the test proves nothing.
    EXPECT_TRUE(first.gdiObjects.value.has_value()) << first.gdiObjects.source;
    EXPECT_TRUE(first.userObjects.value.has_value()) << first.userObjects.source;
    EXPECT_GT(first.privateBytes, 0u);
}

}  // namespace
}  // namespace ktv
