// After a successful build: Wedit driven into its debugger, and the built
// console program run through the command interpreter.

#include <windows.h>

#include <tlhelp32.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "E2eFixture.h"
#include "main/ControlIds.h"

namespace ktv::e2e {
namespace {

constexpr const char* kWeditPrompt =
    "After clicking OK:\r\nWait for file to build (check bottom of Wedit) then press F5 to "
    "activate wedit debugger\r\n\r\nOnce the debugger is active, use the debug menu";

std::string ReadHostFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::vector<std::string> KeysIn(const std::string& log) {
    std::vector<std::string> keys;
    for (size_t at = log.find("key: "); at != std::string::npos; at = log.find("key: ", at + 1)) {
        keys.push_back(log.substr(at + 5, log.find("\r\n", at) - at - 5));
    }
    return keys;
}

// Ends the processes the program started from this executable name, by id:
// the command window that "/k" keeps open, the Wedit stand-in.
void EndChildren(DWORD parent, const char* exeName) {
    HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) {
        return;
    }
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = ::Process32First(snapshot, &entry); more;
         more = ::Process32Next(snapshot, &entry)) {
        if (entry.th32ParentProcessID == parent && ::lstrcmpiA(entry.szExeFile, exeName) == 0) {
            if (HANDLE child =
                    ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, entry.th32ProcessID)) {
                ::TerminateProcess(child, 1);
                ::WaitForSingleObject(child, 5000);
                ::CloseHandle(child);
            }
        }
    }
    ::CloseHandle(snapshot);
}

TEST_F(E2eTest, DebugWithWeditSendsItsKeysAroundThePrompt) {
    const std::string standins = ToWindowsPath(KTV_E2E_STANDINS);
    ::CreateDirectoryA((Layout().LccDir() + "\\lib").c_str(), nullptr);
    ::CreateDirectoryA((Layout().WorkDir() + "\\lcc8").c_str(), nullptr);
    Layout().Write("lcc\\bin\\wedit.exe", ReadHostFile(standins + "\\wedit.exe"));
    Layout().Write("work\\lcc8\\prog.obj", "old build");
    Layout().Write("lcc\\lib\\projects.ini",
                   "[Projects]\r\nPROG=c:\\old\\prog.prj\r\nother=c:\\other.prj\r\n\r\n[prog]\r\n"
                   "  prog=1\r\nkeep=2\r\n");

    AppSession& app = Start();
    UseLayout(app);
    app.Click(ids::kChkDebug);
    const MessageBoxInfo success = DebugUntilBox(app);
    EXPECT_EQ(success.title, "Success!");
    app.PressOk(success);

    const auto prompt = app.WaitForMessageBox();
    ASSERT_TRUE(prompt.has_value());
    EXPECT_EQ(prompt->title, "KTVDebugger");
    EXPECT_EQ(prompt->text, kWeditPrompt);
    // No icon: Wine keeps an empty icon control in the box, which the
    // driver's colour test reads as an icon of no known kind.
    EXPECT_TRUE(prompt->icon == IconKind::None || prompt->icon == IconKind::Unknown)
        << IconName(prompt->icon);
    const auto log = [&] { return Layout().Read("work\\wedit.log").value_or(""); };
    WaitUntil([&] { return KeysIn(log()).size() >= 3; }, Milliseconds(5000));
    EXPECT_EQ(KeysIn(log()), (std::vector<std::string>{"F9", "Enter", "Enter"}));
    EXPECT_NE(log().find("command line: " + Layout().LccDir() + "\\bin\\wedit.exe " +
                         Layout().WorkDir() + "\\prog.c\r\nshow: 3\r\n"),
              std::string::npos)
        << log();
    // Before Wedit starts, its old build folder and the project's lines went.
    EXPECT_FALSE(Layout().Exists("work\\lcc8"));
    EXPECT_EQ(Layout().Read("lcc\\lib\\projects.ini"),
              "[Projects]\r\nother=c:\\other.prj\r\n[prog]\r\nkeep=2\r\n");

    app.PressOk(*prompt);
    WaitUntil([&] { return KeysIn(log()).size() >= 4; }, Milliseconds(5000));
    EXPECT_EQ(KeysIn(log()), (std::vector<std::string>{"F9", "Enter", "Enter", "F5"}));
    EXPECT_TRUE(app.WaitUntilIdle());
    ExpectWindowGivenBack(app, true);
    EndChildren(app.ProcessId(), "wedit.exe");
}

TEST_F(E2eTest, RunTheApplicationStartsTheConsoleProgramThroughCmd) {
    // A cmd.exe that came with the project must not run instead of Windows' own.
    Layout().Write("work\\cmd.exe", Layout().Read("lcc\\bin\\builtprog.exe").value_or(""));
    AppSession& app = Start();
    UseLayout(app);
    app.SetText(ids::kTxtCmd, "alpha \"b c\"");
    app.Click(ids::kChkRun);
    const MessageBoxInfo success = DebugUntilBox(app);
    EXPECT_EQ(success.title, "Success!");
    Acknowledge(app, success);

    ASSERT_TRUE(WaitUntil([&] { return !Layout().CommandLinesOf("builtprog").empty(); },
                          Milliseconds(15000)));
    const std::vector<std::string> lines = Layout().LogLines();
    std::string run;
    for (const std::string& line : lines) {
        if (line.rfind("builtprog|", 0) == 0) {
            run = line;
        }
    }
    // Started by cmd.exe in the Basic file's folder with the command line text.
    EXPECT_EQ(run.substr(0, run.find('|', 10) + 1), "builtprog|" + Layout().WorkDir() + "|");
    EXPECT_NE(run.find("prog.exe"), std::string::npos) << run;
    EXPECT_EQ(run.substr(run.size() - 11), "alpha \"b c\"") << run;
    for (const std::string& commandLine : Layout().CommandLinesOf("builtprog")) {
        EXPECT_EQ(commandLine.find("/k"), std::string::npos) << "the planted cmd.exe ran";
    }
    EndChildren(app.ProcessId(), "cmd.exe");
}

}  // namespace
}  // namespace ktv::e2e
