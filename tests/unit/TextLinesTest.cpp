#include <gtest/gtest.h>

#include "FakePlatform.h"
#include "platform/TextLines.h"

namespace ktv {
namespace {

using Lines = std::vector<std::string>;

TEST(TextLines, SplitsAtCrLfAndLoneCrButNotAtLoneLf) {
    const std::pair<std::string_view, Lines> cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\n", {"a"}},
        {"a\r\nb", {"a", "b"}},
        {"a\rb\r", {"a", "b"}},
        {"a\nb\r\n", {"a\nb"}},
        {"\r\n", {""}},
        {"\r\n\r\n", {"", ""}},
        {"a\r\r\nb", {"a", "", "b"}},
        {"  x  \r\n\ty", {"  x  ", "\ty"}},
    };
    for (const auto& [text, lines] : cases) {
        EXPECT_EQ(SplitLines(text), lines) << testing::PrintToString(std::string(text));
    }
}

TEST(TextLines, JoinPutsCrLfAfterEveryLine) {
    EXPECT_EQ(JoinLines({}), "");
    EXPECT_EQ(JoinLines({""}), "\r\n");
    EXPECT_EQ(JoinLines({"a", "b"}), "a\r\nb\r\n");
}

TEST(TextLines, WriteThenReadGivesTheSameLines) {
    fakes::FakePlatform fake;
    fake.files.AddFolder("c:\\work");
    const Lines lines{"$SOURCE", "  print 1 ", ""};
    WriteLines(fake.files, "c:\\work\\a.bas", lines);
    EXPECT_EQ(fake.files.Content("c:\\work\\a.bas"), "$SOURCE\r\n  print 1 \r\n\r\n");
    EXPECT_EQ(ReadLines(fake.files, "C:\\WORK\\A.BAS"), lines);
}

}  // namespace
}  // namespace ktv
