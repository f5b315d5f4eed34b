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

// A write takes three steps; a failure at any of them keeps the old content and
// leaves no temporary file, and every step is on the record.
TEST(FakeFileSystem, AWriteFailsAtEachOfItsStepsWithoutATrace) {
    for (const fakes::FsOp step :
         {fakes::FsOp::CreateTemporary, fakes::FsOp::WriteTemporary, fakes::FsOp::Replace}) {
        SCOPED_TRACE(fakes::FsOpName(step));
        fakes::FakePlatform fake;
        fake.files.AddFile("c:\\work\\a.txt", "old");
        fake.files.FailOn(step, "c:\\WORK\\a.txt");
        EXPECT_THROW(fake.files.WriteFile("c:\\work\\a.txt", "new"), FileError);
        EXPECT_EQ(fake.files.Content("c:\\work\\a.txt"), "old");
        EXPECT_EQ(fake.files.AllFiles(), std::vector<std::string>{"c:\\work\\a.txt"});
        EXPECT_EQ(fake.files.PendingFailures(), 0u);
        EXPECT_TRUE(fake.transcript.Entries().empty());
    }
    fakes::FakePlatform fake;
    fake.files.AddFile("c:\\work\\a.txt", "old");
    fake.files.WriteFile("c:\\work\\a.txt", "new");
    fake.files.DeleteFile("c:\\work\\a.txt");
    EXPECT_EQ(fake.files.StepsTaken(),
              (std::vector<fakes::FsStep>{{fakes::FsOp::CreateTemporary, "c:\\work\\a.txt"},
                                          {fakes::FsOp::WriteTemporary, "c:\\work\\a.txt"},
                                          {fakes::FsOp::Replace, "c:\\work\\a.txt"},
                                          {fakes::FsOp::Delete, "c:\\work\\a.txt"}}));
    EXPECT_TRUE(fake.files.AllFiles().empty());
}

}  // namespace
}  // namespace ktv
