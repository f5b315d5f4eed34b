#include <gtest/gtest.h>

#include <windows.h>

#include "build/PathHelpers.h"
#include "platform/win32/Win32SystemInfo.h"

namespace ktv {
namespace {

TEST(Win32SystemInfo, SystemDirectoryIsAnExistingFolderWithoutFinalSlash) {
    win32::Win32SystemInfo system;
    const std::string directory = GetSystemPath(system);
    ASSERT_FALSE(directory.empty());
    EXPECT_NE(directory.back(), '\\');
    const DWORD attributes = ::GetFileAttributesA(directory.c_str());
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace
}  // namespace ktv
