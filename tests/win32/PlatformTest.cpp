// The real platform under Wine: files replaced atomically, programs started
// and waited for, the file dialog, and text between UTF-16 and the ANSI code
// page.

#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

#include "Win32Test.h"
#include "platform/win32/AnsiText.h"
#include "platform/win32/ToolJob.h"
#include "platform/win32/Win32Desktop.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Processes.h"
#include "text/Errors.h"

namespace ktv::win32 {
namespace {

using namespace std::chrono_literals;

using testing::Names;

TEST(Win32FileSystem, AWriteReplacesTheFileWholeOrLeavesItAsItWas) {
    const testing::TestFolder folder;
    Win32FileSystem files;
    const std::string path = folder.In("prog.bas");
    const std::string big = "10 PRINT\r\n" + std::string(300000, 'x');
    files.WriteFile(path, big);
    EXPECT_EQ(files.ReadFile(path), big);
    const std::string bytes("a\0b\r\nc\rd\n", 9);  // written as they are
    files.WriteFile(path, bytes);
    EXPECT_EQ(files.ReadFile(path), bytes);
    ASSERT_TRUE(::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN));
    files.WriteFile(path, "kept hidden");
    EXPECT_TRUE(::GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_HIDDEN);

    files.WriteFile(folder.In("locked.txt"), "old");
    ::SetFileAttributesA(folder.In("locked.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    files.CreateFolder(folder.In("sub"));
    for (const std::string& failing :
         {folder.In("locked.txt"), folder.In("missing\\x.txt"), folder.In("sub")}) {
        EXPECT_THROW(files.WriteFile(failing, "new"), FileError) << failing;
    }
    EXPECT_EQ(files.ReadFile(folder.In("locked.txt")), "old");
    EXPECT_EQ(folder.List(), (Names{"locked.txt", "prog.bas", "sub"}));  // no temporary file
    EXPECT_THROW(files.ReadFile(folder.In("nothing.err")), FileError);
}

TEST(Win32FileSystem, FilesFoldersStampsAndDeletion) {
    const testing::TestFolder folder;
    Win32FileSystem files;
    const std::string tree = folder.In("lcc8");
    files.CreateFolder(tree);
    files.CreateFolder(tree);  // already there: fine
    EXPECT_THROW(files.CreateFolder(folder.In("a\\b")), FileError);
    files.WriteFile(tree + "\\notes.txt", "n");
    ::SetFileAttributesA((tree + "\\notes.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    const std::string exe = folder.In("prog.exe");
    files.WriteFile(exe, "MZ");
    EXPECT_TRUE(files.FileExists(folder.In("PROG.EXE")) && !files.FileExists(tree));
    EXPECT_TRUE(files.FolderExists(tree + "\\") && !files.FileExists(""));
    const std::optional<FileStamp> stamp = files.Stamp(exe);
    EXPECT_EQ(stamp.value_or(FileStamp{}).size, 2u);
    EXPECT_EQ(files.Stamp(exe), stamp);
    ::Sleep(20);
    files.WriteFile(exe, "MZ");  // same size: the time tells
    EXPECT_NE(files.Stamp(exe), stamp);
    EXPECT_FALSE(files.Stamp(tree).has_value());

    files.DeleteFolder(tree + "\\");
    files.DeleteFile(exe);
    files.DeleteFile(folder.In("never-there.err"));  // nothing to do
    EXPECT_EQ(folder.List(), Names{});
    EXPECT_THROW(files.DeleteFolder(tree), FileError);
    EXPECT_TRUE(files.FileExists(files.ExecutableFolder() + "\\ktv_win32_tests.exe"));
}

TEST(Win32Processes, RunHiddenWaitsStartDoesNotAndAMissingProgramFailsByName) {
    const testing::TestFolder folder;
    Win32Processes processes;
    Win32FileSystem files;
    char saved[MAX_PATH] = {};
    ::GetCurrentDirectoryA(MAX_PATH, saved);
    files.ChangeDirectory(folder.Path());
    const StopRequest noStop;
    processes.RunHidden(testing::StandIn("capture_writer.exe") + " sleep:500 out:x", noStop);
    EXPECT_THROW(files.ChangeDirectory(folder.In("missing")), FileError);
    ::SetCurrentDirectoryA(saved);

    const auto start = std::chrono::steady_clock::now();
    const TaskId task = processes.Start(testing::StandIn("capture_writer.exe") + " sleep:3000",
                                        WindowStyle::Hidden);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(2500));
    EXPECT_FALSE(processes.WaitUntilReady(task, std::chrono::milliseconds(100)));  // no window
    testing::EndProcess(task);

    const std::string missing = "\"" + folder.In("ktvc.exe") + "\" prog";
    try {
        processes.RunHidden(missing, noStop);
        ADD_FAILURE() << "no StartFailed";
    } catch (const StartFailed& error) {
        EXPECT_NE(std::string(error.what()).find(missing), std::string::npos) << error.what();
    }
    EXPECT_THROW(processes.Start(missing, WindowStyle::NormalFocus), StartFailed);
    EXPECT_THROW(processes.RunHidden("", noStop), StartFailed);
}

// The process ids a stand-in wrote into the file, one a line.
std::vector<DWORD> IdsIn(const std::string& path) {
    std::ifstream in(path);
    return {std::istream_iterator<DWORD>(in), std::istream_iterator<DWORD>()};
}

// A tool that has started a helper process of its own and waits: a stop,
// asked for from another thread, ends both within a second. Where the tool
// runs in no job of its own (Windows 7 in a job that forbids breakaway), its
// tree is found.
TEST(Win32Processes, AStopEndsTheToolAndWhatItStartedWithinASecond) {
    const testing::TestFolder folder;
    const std::string ids = folder.In("ids.txt");
    const std::string tool =
        testing::StandIn("capture_writer.exe") + " fork pidfile:" + ids + " sleep:60000";
    Win32Processes processes;
    StopRequest stop;
    std::chrono::steady_clock::time_point asked;
    std::thread user([&] {
        testing::WaitUntil([&] { return IdsIn(ids).size() == 2; });
        asked = std::chrono::steady_clock::now();
        stop.Request();
    });
    EXPECT_THROW(processes.RunHidden(tool, stop), RunStopped);
    const auto ended = std::chrono::steady_clock::now();
    user.join();
    EXPECT_LT(ended - asked, 1s);
    ASSERT_EQ(IdsIn(ids).size(), 2u);
    for (const DWORD id : IdsIn(ids)) {
        EXPECT_TRUE(testing::HasEnded(id)) << id;
    }

    // The same tool outside any job: its tree by parent ids.
    const std::string treeIds = folder.In("tree.txt");
    std::string commandLine =
        testing::StandIn("capture_writer.exe") + " fork pidfile:" + treeIds + " sleep:60000";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    ASSERT_TRUE(::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                 nullptr, &startup, &started));
    ASSERT_TRUE(testing::WaitUntil([&] { return IdsIn(treeIds).size() == 2; }));
    ToolJob().EndAll(started.hProcess, started.dwProcessId);
    for (const DWORD id : IdsIn(treeIds)) {
        EXPECT_TRUE(testing::HasEnded(id)) << id;
    }
    ::CloseHandle(started.hThread);
    ::CloseHandle(started.hProcess);
}

// Answers the dialog titled so from another thread once it shows.
std::thread AnswerDialog(const char* title, void (*answer)(HWND dialog)) {
    return std::thread([=] {
        for (int tries = 0; tries < 300; ++tries, std::this_thread::sleep_for(50ms)) {
            if (const HWND dialog = ::FindWindowA("#32770", title); ::IsWindowVisible(dialog)) {
                std::this_thread::sleep_for(300ms);  // let it finish setting up
                return answer(dialog);
            }
        }
    });
}

// A name that does not exist (yet) comes back as typed: Debug is the one to
// report a Basic file that is not there.
TEST(Win32Desktop, TheFileDialogHandsBackATypedNameOrNothing) {
    Win32Desktop desktop;
    const testing::TestFolder folder;
    const FileOpenRequest request{0, "*.bas", "Select KTV Basic File", folder.Path(), {}};
    std::thread user = AnswerDialog(request.title.c_str(), [](HWND dialog) {
        ::SetDlgItemTextA(dialog, 0x47C, "new.bas");  // the file name box
        ::PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    const std::optional<std::string> typed = desktop.OpenFileDialog(request);
    user.join();
    EXPECT_EQ(_stricmp(typed.value_or("").c_str(), folder.In("new.bas").c_str()), 0);
    user = AnswerDialog(request.title.c_str(),
                        [](HWND dialog) { ::PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0); });
    EXPECT_EQ(desktop.OpenFileDialog(request), std::nullopt);
    user.join();
}

// What the dialogs, the fields and ktvbuild's arguments give in UTF-16 reaches
// the tools in the ANSI code page (1252 here). A character it lacks is never
// written as a look-alike (Ł as L), which would name another file.
TEST(AnsiText, ACharacterTheCodePageLacksBecomesAQuestionMarkNeverALookAlike) {
    ASSERT_EQ(::GetACP(), 1252u);
    EXPECT_EQ(ExactAnsi(L"H\u00E9l\u00E8ne"), "H\xE9l\xE8ne");
    EXPECT_EQ(WideFromAnsi("H\xE9l\xE8ne"), L"H\u00E9l\u00E8ne");
    EXPECT_EQ(ExactAnsi(L"\u0141ukasz"), std::nullopt);
    EXPECT_EQ(AnsiFromWide(L"\u0141ukasz \u65E5"), "?ukasz ?");
}

}  // namespace
}  // namespace ktv::win32
