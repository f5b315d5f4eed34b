#include <gtest/gtest.h>

#include "FakePlatform.h"
#include "platform/Errors.h"

namespace ktv {
namespace {

// The tests of everything else lean on these properties of the fake.
TEST(FakeFileSystem, PathsAreCaseInsensitiveAndRelativeToTheCurrentDirectory) {
    fakes::FakePlatform fake;
    fake.files.AddFile("c:\\Work\\Prog.bas", "x");
    EXPECT_TRUE(fake.files.FileExists("C:\\WORK\\PROG.BAS"));
    EXPECT_TRUE(fake.files.FolderExists("c:\\work"));
    EXPECT_FALSE(fake.files.FileExists("c:\\work"));
    EXPECT_FALSE(fake.files.FileExists(""));
    EXPECT_FALSE(fake.files.FileExists("prog.bas"));
    fake.files.ChangeDirectory("c:\\work");
    EXPECT_TRUE(fake.files.FileExists("prog.bas"));
    EXPECT_TRUE(fake.files.FileExists("\\work\\prog.bas"));
    EXPECT_THROW(fake.files.ChangeDirectory("c:\\nowhere"), FileError);
}

TEST(FakeFileSystem, InjectedFailureLeavesTheFileAsItWas) {
    fakes::FakePlatform fake;
    fake.files.AddFile("c:\\a.txt", "old");
    fake.files.FailOn(fakes::FsOp::Write, "c:\\A.TXT");
    EXPECT_THROW(fake.files.WriteFile("c:\\a.txt", "new"), FileError);
    EXPECT_EQ(fake.files.Content("c:\\a.txt"), "old");
    fake.files.WriteFile("c:\\a.txt", "new");
    EXPECT_EQ(fake.files.Content("c:\\a.txt"), "new");
}

}  // namespace
}  // namespace ktv
