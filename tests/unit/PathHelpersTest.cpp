#include <gtest/gtest.h>

#include "FakePlatform.h"
#include "build/PathHelpers.h"
#include "platform/Errors.h"

namespace ktv {
namespace {

struct PathCase {
    std::string_view input;
    std::string_view expected;
};

TEST(PathHelpers, StripTrailingSlashRemovesOneBackslashOnly) {
    const PathCase cases[] = {
        {"c:\\lcc\\", "c:\\lcc"},
        {"c:\\lcc", "c:\\lcc"},
        {"c:/lcc/", "c:/lcc/"},
        {"c:\\lcc\\\\", "c:\\lcc\\"},
        {"", ""},
        {"\\", ""},
    };
    for (const auto& [input, expected] : cases) {
        EXPECT_EQ(StripTrailingSlash(input), expected) << input;
    }
}

TEST(PathHelpers, GetBaseNameTakesTextBetweenLastSlashAndLastDot) {
    const PathCase cases[] = {
        {"c:\\work\\prog.bas", "prog"},       {"prog.bas", "prog"},
        {"c:\\work\\my.prog.bas", "my.prog"}, {"c:\\work\\.bas", ""},
        {"c:\\work\\prog.", "prog"},          {"c:/work/prog.bas", "c:/work/prog"},
    };
    for (const auto& [input, expected] : cases) {
        EXPECT_EQ(GetBaseName(input), expected) << input;
    }
}

TEST(PathHelpers, GetBaseNameFailsWithoutAnExtension) {
    for (std::string_view input : {"c:\\work\\prog", "c:\\my.dir\\prog", "", "c:\\work\\"}) {
        EXPECT_THROW(GetBaseName(input), InvalidArgument) << input;
    }
}

TEST(PathHelpers, GetFileNameAndGetFolder) {
    const PathCase fileNames[] = {
        {"c:\\work\\prog.bas", "prog.bas"},
        {"prog.bas", "prog.bas"},
        {"c:\\work\\", ""},
        {"", ""},
    };
    for (const auto& [input, expected] : fileNames) {
        EXPECT_EQ(GetFileName(input), expected) << input;
    }
    const PathCase folders[] = {
        {"c:\\work\\prog.bas", "c:\\work"},
        {"c:\\prog.bas", "c:"},
        {"\\prog.bas", ""},
        {"prog.bas", ""},
        {"", ""},
        {"c:\\a\\b\\", "c:\\a\\b"},
    };
    for (const auto& [input, expected] : folders) {
        EXPECT_EQ(GetFolder(input), expected) << input;
    }
}

TEST(PathHelpers, GetSystemPathIsEmptyWhenTheSystemGivesNothing) {
    fakes::FakeSystemInfo system;
    EXPECT_EQ(GetSystemPath(system), "C:\\windows\\system32");
    system.directory.clear();
    EXPECT_EQ(GetSystemPath(system), "");
}

}  // namespace
}  // namespace ktv
