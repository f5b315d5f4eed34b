#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <future>
#include <string>
#include <vector>

#include "CaptureSupport.h"
#include "platform/Errors.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32ProcessCapture.h"

namespace ktv {
namespace {

using namespace std::chrono_literals;
using namespace std::string_literals;
using test_support::WriterCommand;

struct Output {
    std::string bytes;
    std::vector<std::size_t> readSizes;
};

Output ReadAll(CapturedProcess& process) {
    Output output;
    std::string chunk;
    while (process.ReadChunk(chunk)) {
        output.bytes += chunk;
        output.readSizes.push_back(chunk.size());
    }
    return output;
}

std::string NumberedLines(int count) {
    std::string text;
    for (int number = 1; number <= count; ++number) {
        char line[64];
        std::snprintf(line, sizeof line, "%07d the quick brown fox\n", number);
        text += line;
    }
    return text;
}

DWORD ProcessIdIn(const std::string& output) {
    const std::size_t at = output.find("pid=");
    return at == std::string::npos ? 0 : std::stoul(output.substr(at + 4));
}

// True when the process has ended within the bound (or is gone already).
bool EndsWithin(DWORD processId, DWORD milliseconds) {
    win32::UniqueHandle process(::OpenProcess(SYNCHRONIZE, FALSE, processId));
    return !process || ::WaitForSingleObject(process.Get(), milliseconds) == WAIT_OBJECT_0;
}

void EndProcess(DWORD processId) {
    win32::UniqueHandle process(::OpenProcess(PROCESS_TERMINATE, FALSE, processId));
    if (process) {
        ::TerminateProcess(process.Get(), 1);
    }
}

TEST(ProcessCapture, StandardOutputAndErrorArriveInTheOrderWritten) {
    win32::Win32ProcessCapture capture;
    auto process = capture.StartCaptured(
        WriterCommand("out:one\\n err:two\\n out:three\\n err:four\\n sleep:50 out:five"));
    EXPECT_EQ(ReadAll(*process).bytes, "one\ntwo\nthree\nfour\nfive");
}

TEST(ProcessCapture, LongOutputArrivesWholeInReadsOfAtMost1023Bytes) {
    win32::Win32ProcessCapture capture;
    auto process = capture.StartCaptured(WriterCommand("lines:6000"));
    const Output output = ReadAll(*process);
    EXPECT_EQ(output.bytes, NumberedLines(6000));
    EXPECT_GT(output.readSizes.size(), 1u);
    for (const std::size_t size : output.readSizes) {
        ASSERT_GE(size, 1u);
        ASSERT_LE(size, kCaptureChunkBytes);
    }
}

TEST(ProcessCapture, ZeroBytesAndEmptyWritesDoNotEndTheOutput) {
    win32::Win32ProcessCapture capture;
    auto process = capture.StartCaptured(WriterCommand("out:ab\\0cd empty sleep:50 empty out:ef"));
    EXPECT_EQ(ReadAll(*process).bytes, "ab\0cdef"s);
}

TEST(ProcessCapture, OutputEndsWhenTheLastProcessHoldingThePipeCloses) {
    win32::Win32ProcessCapture capture;
    const auto start = std::chrono::steady_clock::now();
    // The child starts a grandchild with its output and ends at once; the
    // grandchild writes after a while.
    auto process =
        capture.StartCaptured(WriterCommand("out:parent\\n spawn sleep:1500 out:grandchild\\n"));
    EXPECT_EQ(ReadAll(*process).bytes, "parent\ngrandchild\n");
    EXPECT_GE(std::chrono::steady_clock::now() - start, 1400ms);
}

TEST(ProcessCapture, ProgramThatCannotStartThrowsAndLeavesNoHandleOpen) {
    win32::Win32ProcessCapture capture;
    for (const std::string commandLine :
         {"no_such_program_here.exe", "", "\"c:\\no such\\x.exe\" a"}) {
        DWORD before = 0;
        ASSERT_TRUE(::GetProcessHandleCount(::GetCurrentProcess(), &before));
        EXPECT_THROW(capture.StartCaptured(commandLine), StartFailed) << commandLine;
        DWORD after = 0;
        ASSERT_TRUE(::GetProcessHandleCount(::GetCurrentProcess(), &after));
        EXPECT_EQ(after, before) << commandLine;
    }
}

TEST(ProcessCapture, TheChildHoldsNoReadEndOfItsOutput) {
    win32::Win32ProcessCapture capture;
    auto process = capture.StartCaptured(WriterCommand("readable-pipes out:checked"));
    EXPECT_EQ(ReadAll(*process).bytes, "checked");
}

TEST(ProcessCapture, StopEndsTheProgramAndTheWaitingRead) {
    win32::Win32ProcessCapture capture;
    auto process = capture.StartCaptured(WriterCommand("pid sleep:30000"));
    std::string chunk;
    ASSERT_TRUE(process->ReadChunk(chunk));
    const DWORD child = ProcessIdIn(chunk);
    ASSERT_NE(child, 0u);
    auto rest = std::async(std::launch::async, [&] { return ReadAll(*process).bytes; });
    ASSERT_EQ(rest.wait_for(300ms), std::future_status::timeout);  // the read waits
    process->Stop();
    ASSERT_EQ(rest.wait_for(2s), std::future_status::ready);
    EXPECT_EQ(rest.get(), "");
    EXPECT_TRUE(EndsWithin(child, 2000));
}

TEST(ProcessCapture, AfterStopTheReadEndsAtTheLatestWithTheLastDescendant) {
    win32::Win32ProcessCapture capture;
    auto process = capture.StartCaptured(WriterCommand("spawn pid sleep:20000 out:late"));
    std::string chunk;
    ASSERT_TRUE(process->ReadChunk(chunk));
    const DWORD grandchild = ProcessIdIn(chunk);
    ASSERT_NE(grandchild, 0u);
    auto rest = std::async(std::launch::async, [&] { return ReadAll(*process).bytes; });
    ASSERT_EQ(rest.wait_for(300ms), std::future_status::timeout);
    process->Stop();
    // Windows cancels the waiting read at once; Wine 8 cannot cancel a pipe
    // read, which then ends when the descendant holding the pipe goes.
    if (rest.wait_for(500ms) == std::future_status::timeout) {
        EndProcess(grandchild);
    }
    ASSERT_EQ(rest.wait_for(2s), std::future_status::ready);
    EXPECT_EQ(rest.get(), "");
    EndProcess(grandchild);
}

}  // namespace
}  // namespace ktv
