#include <gtest/gtest.h>

#include "TestSupport.h"
#include "platform/Errors.h"
#include "platform/win32/Win32FileSystem.h"

namespace ktv::win32 {
namespace {

using testing::ListFolder;
using Names = std::vector<std::string>;

class Win32FileSystemTest : public ::testing::Test {
protected:
    Win32FileSystem files;
    testing::TestFolder folder;
};

TEST_F(Win32FileSystemTest, WriteFileReplacesTheWholeContentAndLeavesOnlyTheTarget) {
    const std::string path = folder.In("prog.bas");
    const std::string first = "10 PRINT\r\n20 GOTO 10\r\n" + std::string(300000, 'x');
    files.WriteFile(path, first);
    EXPECT_EQ(files.ReadFile(path), first);

    // Shorter, with a NUL and every kind of line end: bytes go through as they are.
    const std::string second("a\0b\r\nc\rd\n", 9);
    files.WriteFile(path, second);
    EXPECT_EQ(files.ReadFile(path), second);

    files.WriteFile(path, "");
    EXPECT_EQ(files.ReadFile(path), "");
    EXPECT_EQ(ListFolder(folder.Path()), Names{"prog.bas"});
}

TEST_F(Win32FileSystemTest, WriteFileKeepsTheAttributesOfTheFileItReplaces) {
    const std::string path = folder.In("KTVDebug.cfg");
    files.WriteFile(path, "old");
    ASSERT_TRUE(::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN));

    files.WriteFile(path, "new");

    EXPECT_EQ(files.ReadFile(path), "new");
    EXPECT_TRUE(::GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(ListFolder(folder.Path()), Names{"KTVDebug.cfg"});
}

TEST_F(Win32FileSystemTest, AFailedWriteLeavesTheOldFileWholeAndNoTemporaryFile) {
    const std::string locked = folder.In("locked.txt");
    files.WriteFile(locked, "old content");
    ASSERT_TRUE(::SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(::CreateDirectoryA(folder.In("sub").c_str(), nullptr));

    const struct {
        const char* why;
        std::string path;
    } cases[] = {
        {"read-only target", locked},
        {"missing folder", folder.In("missing\\x.txt")},
        {"target is a folder", folder.In("sub")},
    };
    for (const auto& failing : cases) {
        SCOPED_TRACE(failing.why);
        EXPECT_THROW(files.WriteFile(failing.path, "new"), FileError);
        EXPECT_EQ(files.ReadFile(locked), "old content");
        EXPECT_EQ(ListFolder(folder.Path()), (Names{"locked.txt", "sub"}));
        EXPECT_EQ(ListFolder(folder.In("sub")), Names{});
    }
}

TEST_F(Win32FileSystemTest, ReadFailuresNameThePath) {
    const std::string missing = folder.In("nothing.err");
    try {
        files.ReadFile(missing);
        FAIL() << "no FileError";
    } catch (const FileError& error) {
        EXPECT_NE(std::string(error.what()).find(missing), std::string::npos) << error.what();
    }
    EXPECT_THROW(files.ReadFile(folder.Path()), FileError);
}

TEST_F(Win32FileSystemTest, ExistenceTellsFilesFromFolders) {
    files.WriteFile(folder.In("a.bas"), "x");
    const struct {
        std::string path;
        bool isFile;
        bool isFolder;
    } cases[] = {
        {folder.In("a.bas"), true, false},  {folder.In("A.BAS"), true, false},
        {folder.Path(), false, true},       {folder.Path() + "\\", false, true},
        {folder.In("b.bas"), false, false}, {"", false, false},
    };
    for (const auto& entry : cases) {
        SCOPED_TRACE(entry.path);
        EXPECT_EQ(files.FileExists(entry.path), entry.isFile);
        EXPECT_EQ(files.FolderExists(entry.path), entry.isFolder);
    }
}

TEST_F(Win32FileSystemTest, DeleteRemovesFilesAndWholeTrees) {
    const std::string tree = folder.In("lcc8");
    ASSERT_TRUE(::CreateDirectoryA(tree.c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryA((tree + "\\sub").c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryA((tree + "\\sub\\empty").c_str(), nullptr));
    files.WriteFile(tree + "\\prog.obj", "o");
    files.WriteFile(tree + "\\sub\\notes.txt", "n");
    ::SetFileAttributesA((tree + "\\sub\\notes.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    files.WriteFile(folder.In("prog.bas"), "b");
    files.WriteFile(folder.In("lcc.err"), "e");

    files.DeleteFolder(tree + "\\");
    files.DeleteFile(folder.In("lcc.err"));
    files.DeleteFile(folder.In("never-there.err"));  // nothing to do, no error

    EXPECT_EQ(ListFolder(folder.Path()), Names{"prog.bas"});
    EXPECT_THROW(files.DeleteFolder(tree), FileError);
    EXPECT_THROW(files.DeleteFolder(""), FileError);
}

TEST_F(Win32FileSystemTest, AStampTellsARewrittenFileFromTheOldOneAndCreateFolderNests) {
    const std::string path = folder.In("prog.exe");
    EXPECT_FALSE(files.Stamp(path).has_value());
    files.WriteFile(path, "MZ");
    const std::optional<FileStamp> first = files.Stamp(path);
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(first->size, 2u);
    EXPECT_EQ(files.Stamp(path), first);  // nothing changed, nothing seen
    ::Sleep(20);
    files.WriteFile(path, "MZ");  // same size: only the time tells
    EXPECT_NE(files.Stamp(path), first);
    EXPECT_FALSE(files.Stamp(folder.Path()).has_value());  // a folder has none

    const std::string nested = folder.In("KTV Debugger");
    files.CreateFolder(nested);
    files.CreateFolder(nested);  // already there: fine
    EXPECT_TRUE(files.FolderExists(nested));
    EXPECT_THROW(files.CreateFolder(folder.In("a\\b")), FileError);
}

TEST_F(Win32FileSystemTest, ChangeDirectoryMovesTheCurrentDirectoryOrFailsWithoutMoving) {
    const testing::CurrentDirectoryGuard restore;
    files.ChangeDirectory(folder.Path());
    EXPECT_EQ(_stricmp(files.CurrentDirectory().c_str(), folder.Path().c_str()), 0)
        << files.CurrentDirectory();

    EXPECT_THROW(files.ChangeDirectory(folder.In("missing")), FileError);
    EXPECT_EQ(_stricmp(files.CurrentDirectory().c_str(), folder.Path().c_str()), 0);
}

TEST_F(Win32FileSystemTest, ExecutableFolderHoldsTheRunningProgram) {
    const std::string executables = files.ExecutableFolder();
    ASSERT_FALSE(executables.empty());
    EXPECT_NE(executables.back(), '\\');
    EXPECT_TRUE(files.FileExists(executables + "\\ktv_win32_tests.exe")) << executables;
}

}  // namespace
}  // namespace ktv::win32
