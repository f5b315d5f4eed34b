// The two programs through their front doors: KTVDebugger.exe runs a program
// whose name cmd would misread, and ktvbuild.exe, run as an editor's build
// task runs it, prints its problems or its program and exits with its code.

#include "E2eTest.h"

namespace ktv::e2e {
namespace {

// A program whose name holds a character cmd gives a meaning ("r&d") runs as
// itself through cmd, with the user's arguments.
TEST_F(E2eTest, AProgramWhoseNameHoldsAnAmpersandRunsWithItsArguments) {
    Layout().Write("work\\r&d.bas", "$SOURCE\r\nPRINT 1\r\n");
    AppSession& app = Start();
    app.SetText(ids::kBasicFileField, Layout().WorkDir() + "\\r&d.bas");
    app.SetText(ids::kCommandLineField, "arg1 arg2");
    app.Set(ids::kRunProgramBox, BST_CHECKED);
    const MessageBoxInfo success = DebugUntilBox(app);
    EXPECT_EQ(success.title, "Success!");
    Acknowledge(app, success);
    ASSERT_TRUE(WaitUntil([&] { return !Layout().CommandLinesOf("builtprog").empty(); }));
    const std::vector<std::string> runs = Layout().CommandLinesOf("builtprog");
    EXPECT_TRUE(runs[0].find("r&d.exe") != std::string::npos && runs[0].ends_with(" arg1 arg2"))
        << runs[0];
}

struct Finished {
    DWORD exitCode = 0;
    std::string output;
};

class KtvBuildE2eTest : public E2eTest {
protected:
    // Runs ktvbuild from the work folder through cmd, which hands back its
    // exit code; standard output to a file, standard error to NUL.
    Finished Run(const std::string& arguments) {
        Layout().Copy(ToWindowsPath(KTV_E2E_KTVBUILD), "ktvbuild.exe");
        std::string commandLine = "cmd /c \"\"" + Layout().Root() + "\\ktvbuild.exe\" --lcc \"" +
                                  Layout().LccDir() + "\" --ktv \"" + Layout().KtvDir() + "\" " +
                                  arguments + " >out.txt 2>nul\"";
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        EXPECT_TRUE(::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE,
                                     CREATE_NO_WINDOW, nullptr, Layout().WorkDir().c_str(),
                                     &startup, &info));
        Finished finished;
        ::WaitForSingleObject(info.hProcess, 30000);
        ::GetExitCodeProcess(info.hProcess, &finished.exitCode);
        ::CloseHandle(info.hProcess);
        ::CloseHandle(info.hThread);
        finished.output = Layout().Read("work\\out.txt").value_or("");
        return finished;
    }
};

TEST_F(KtvBuildE2eTest, ItPrintsTheProgramTheProblemsOrTheToolChainsErrorWithItsExitCode) {
    const std::string bas = Layout().BasicFile();
    const Finished built = Run("prog.bas");
    EXPECT_EQ(built.exitCode, 0u);
    EXPECT_EQ(built.output, "ktvbuild: built " + Layout().WorkDir() + "\\prog.exe\r\n");

    Layout().Write("work\\scenario.txt", "lcclnk.no_output=1\r\n");  // prog.exe is the last one
    const Finished untouched = Run("prog.bas");
    EXPECT_EQ(untouched.exitCode, 2u);
    EXPECT_TRUE(untouched.output.starts_with(
        "ktvbuild: error: The linker did not produce prog.exe. Command was: "))
        << untouched.output;

    Layout().Write("work\\scenario.txt",
                   "lcc.warning_at_basic=2 unused y\r\nlcc.error_at_basic=4 undeclared x\r\n");
    const Finished errors = Run("prog.bas");
    EXPECT_EQ(errors.exitCode, 1u);
    EXPECT_EQ(errors.output,
              bas + ":2: warning: unused y\r\n" + bas + ":4: error: undeclared x\r\n");

    Layout().Write("work\\scenario.txt", "");
    const Finished missing = Run("--libs gone.lib \"" + bas + "\"");
    EXPECT_EQ(missing.exitCode, 2u);
    EXPECT_EQ(missing.output,
              "ktvbuild: error: KTV Debugger cannot find one or more of your include "
              "libraries.\r\n");
}

}  // namespace
}  // namespace ktv::e2e
