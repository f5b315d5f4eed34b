// ktvbuild.exe against the stand-ins, as an editor's build task runs it: what
// it prints on standard output and the exit code.

#include "E2eTest.h"

namespace ktv::e2e {
namespace {

struct Finished {
    DWORD exitCode = 0;
    std::string output;
};

class KtvBuildE2eTest : public E2eTest {
protected:
    // Runs ktvbuild from the work folder, standard error to NUL.
    Finished Run(const std::string& arguments) {
        const std::string program = Layout().Root() + "\\ktvbuild.exe";
        Layout().Copy(ToWindowsPath(KTV_E2E_KTVBUILD), "ktvbuild.exe");
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        HANDLE read = nullptr;
        HANDLE write = nullptr;
        EXPECT_TRUE(::CreatePipe(&read, &write, &inherit, 0));
        ::SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
        const HANDLE nul =
            ::CreateFileA("NUL", GENERIC_WRITE, 0, &inherit, OPEN_EXISTING, 0, nullptr);
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = write;
        startup.hStdError = nul;
        PROCESS_INFORMATION info{};
        std::string commandLine = "\"" + program + "\" --lcc \"" + Layout().LccDir() +
                                  "\" --ktv \"" + Layout().KtvDir() + "\" " + arguments;
        EXPECT_TRUE(::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE,
                                     CREATE_NO_WINDOW, nullptr, Layout().WorkDir().c_str(),
                                     &startup, &info));
        ::CloseHandle(write);
        ::CloseHandle(nul);
        Finished finished;
        char chunk[4096];
        for (DWORD got = 0; ::ReadFile(read, chunk, sizeof chunk, &got, nullptr) && got > 0;) {
            finished.output.append(chunk, got);
        }
        ::CloseHandle(read);
        ::WaitForSingleObject(info.hProcess, 30000);
        ::GetExitCodeProcess(info.hProcess, &finished.exitCode);
        ::CloseHandle(info.hProcess);
        ::CloseHandle(info.hThread);
        return finished;
    }
};

TEST_F(KtvBuildE2eTest, ItPrintsTheProgramTheProblemsOrTheToolChainsErrorWithItsExitCode) {
    const std::string bas = Layout().BasicFile();
    const Finished built = Run("prog.bas");
    EXPECT_EQ(built.exitCode, 0u);
    EXPECT_EQ(built.output, "ktvbuild: built " + Layout().WorkDir() + "\\prog.exe\r\n");

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
    EXPECT_FALSE(Layout().Read("work\\lcc.err").has_value());
}

}  // namespace
}  // namespace ktv::e2e
