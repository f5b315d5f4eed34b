#include <gtest/gtest.h>

#include "TestSupport.h"
#include "platform/Errors.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Processes.h"

namespace ktv::win32 {
namespace {

using namespace std::chrono_literals;
using testing::HelperCommand;
using testing::ProgramGuard;

class Win32ProcessesTest : public ::testing::Test {
protected:
    Win32Processes processes;
    Win32FileSystem files;
    testing::TestFolder folder;
};

TEST_F(Win32ProcessesTest, RunHiddenWaitsForTheProgramWhichRunsInTheCurrentDirectory) {
    const testing::CurrentDirectoryGuard restore;
    files.ChangeDirectory(folder.Path());

    // A relative name: the file lands in the directory the program ran in.
    processes.RunHidden(HelperCommand("test_sleeper.exe") + " 700 done.txt");

    EXPECT_TRUE(files.FileExists(folder.In("done.txt")));
}

TEST_F(Win32ProcessesTest, AProgramThatDoesNotExistThrowsStartFailedNamingTheCommand) {
    const std::string command = "\"" + folder.In("ktvc.exe") + "\" prog.bas";
    const auto expectStartFailed = [&](const auto& start) {
        try {
            start();
            ADD_FAILURE() << "no StartFailed";
        } catch (const StartFailed& error) {
            EXPECT_NE(std::string(error.what()).find(command), std::string::npos) << error.what();
        }
    };
    expectStartFailed([&] { processes.RunHidden(command); });
    expectStartFailed([&] { processes.Start(command, WindowStyle::NormalFocus); });
    EXPECT_THROW(processes.RunHidden(""), StartFailed);
}

TEST_F(Win32ProcessesTest, StartReturnsWhileTheProgramStillRuns) {
    const std::string done = folder.In("done.txt");
    const TaskId task = processes.Start(
        HelperCommand("test_sleeper.exe") + " 3000 \"" + done + "\"", WindowStyle::Hidden);
    const ProgramGuard program(task);

    EXPECT_TRUE(program.IsRunning());
    EXPECT_FALSE(files.FileExists(done));
    ASSERT_TRUE(program.WaitForEnd(20s));
    EXPECT_TRUE(files.FileExists(done));
}

TEST_F(Win32ProcessesTest, WaitUntilReadyIsTrueForAStartedWindowProgramOnly) {
    const TaskId task = processes.Start(HelperCommand("test_keylog_window.exe") +
                                            " \"KTV ready test\" \"" + folder.In("keys.log") + "\"",
                                        WindowStyle::NormalFocus);
    const ProgramGuard program(task);

    EXPECT_TRUE(processes.WaitUntilReady(task, 20s));
    EXPECT_FALSE(processes.WaitUntilReady(task + 4000, 100ms));  // never started here
}

}  // namespace
}  // namespace ktv::win32
