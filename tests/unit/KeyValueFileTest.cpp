#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakePlatform.h"
#include "main/KeyValueFile.h"
#include "platform/Errors.h"

namespace ktv {
namespace {

constexpr const char* kIni = "c:\\lcc\\lib\\projects.ini";

std::string Breaks(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += "\r\n";
    }
    return text;
}

struct EditCase {
    const char* name;
    std::string before;
    std::string setting;
    std::string value;
    std::string after;
};

TEST(ModifyConfigFile, RewritesTheFileLineByLine) {
    const std::string del = kDeleteMarker;
    const EditCase cases[] = {
        {"every section loses the key, in any letter case",
         "[a]\r\nprog=c:\\x\r\n[b]\r\nPROG=2\r\nother=3\r\n", "prog", del,
         "[a]\r\n[b]\r\nother=3\r\n"},
        {"a setting in capitals keeps the file's spelling", "prog=old\r\n", "PROG", "new",
         "prog=new\r\n"},
        {"leading spaces of a key go", "  prog=1\r\nx=2\r\n", "prog", "v", "prog=v\r\nx=2\r\n"},
        {"a space before = is part of the key", "prog =1\r\n", "prog", "v", "prog =1\r\n"},
        {"only the first = separates", "prog=a=b=c\r\n", "prog", "x=y", "prog=x=y\r\n"},
        {"lines without = are never matched", "prog\r\n[prog]\r\n", "prog", del,
         "prog\r\n[prog]\r\n"},
        {"deleting the first line leaves one line break", "prog=1\r\na=2\r\n", "prog", del,
         "\r\na=2\r\n"},
        {"deleting the last line", "a=2\r\nprog=1\r\n", "prog", del, "a=2\r\n"},
        {"deleting an unended last line", "a=2\r\nprog=1", "prog", del, "a=2\r\n"},
        {"runs of up to 16 line breaks become one", "a=1" + Breaks(16) + "b=2", "zz", "v",
         "a=1\r\nb=2"},
        {"17 line breaks become two", "a=1" + Breaks(17) + "b=2", "zz", "v", "a=1\r\n\r\nb=2"},
        {"no match: only the collapsing", "[s]\r\n\r\nk=v\r\n\r\n", "zz", "v", "[s]\r\nk=v\r\n"},
        {"an empty setting means default", "Default=1\r\nx=2\r\n", "", "9", "Default=9\r\nx=2\r\n"},
        {"an empty value ends the line after =", "prog=1\r\n", "prog", "", "prog=\r\n"},
        {"the marker in capitals is a value", "prog=1\r\n", "prog", "*DELETE*",
         "prog=*DELETE*\r\n"},
        {"lone LF lines keep their ends", "[a]\nprog=1\nb=2\n", "prog", del, "[a]\nb=2\n"},
        {"lone LF lines: a value change", "prog=1\nb=2\n\n\n", "prog", "x", "prog=x\nb=2\n"},
        {"lone CR lines keep their ends", "a=1\rprog=1\rb=2\r", "prog", del, "a=1\rb=2\r"},
        {"mixed ends are not joined", "a=1\r\n\nb=2\n", "zz", "v", "a=1\r\n\nb=2\n"},
    };
    for (const EditCase& c : cases) {
        SCOPED_TRACE(c.name);
        fakes::FakePlatform fake;
        fake.files.AddFile(kIni, c.before);
        ModifyConfigFile(fake.files, kIni, c.setting, c.value);
        EXPECT_EQ(fake.files.Content(kIni), c.after);
    }
}

TEST(ModifyConfigFile, AMissingOrEmptyFileIsAnErrorAndNothingIsWritten) {
    fakes::FakePlatform fake;
    fake.files.AddFolder("c:\\lcc\\lib");
    try {
        ModifyConfigFile(fake.files, kIni, "prog", kDeleteMarker);
        FAIL() << "a missing file must fail";
    } catch (const FileError& e) {
        EXPECT_EQ(std::string(e.what()), "The file c:\\lcc\\lib\\projects.ini does not exist.");
    }
    EXPECT_FALSE(fake.files.Content(kIni));

    fake.files.AddFile(kIni, "");
    try {
        ModifyConfigFile(fake.files, kIni, "prog", kDeleteMarker);
        FAIL() << "an empty file must fail";
    } catch (const FileError& e) {
        EXPECT_EQ(std::string(e.what()), "The file c:\\lcc\\lib\\projects.ini is empty.");
    }
    EXPECT_TRUE(fake.transcript.Entries().empty());
}

TEST(ModifyConfigFile, AFileThatCannotBeWrittenStaysAsItWas) {
    fakes::FakePlatform fake;
    fake.files.AddFile(kIni, "prog=1\r\n");
    fake.files.FailOn(fakes::FsOp::Write, kIni);
    EXPECT_THROW(ModifyConfigFile(fake.files, kIni, "prog", kDeleteMarker), FileError);
    EXPECT_EQ(fake.files.Content(kIni), "prog=1\r\n");
}

}  // namespace
}  // namespace ktv
