#include "platform/win32/TemporaryFile.h"

#include "platform/Errors.h"
#include "platform/win32/SystemMessage.h"
#include "platform/win32/WinApi.h"

namespace ktv::win32 {

TemporaryFile::TemporaryFile(const std::string& folder) {
    // GetTempFileNameA creates the file, so the name is ours even if another
    // writer picks names in the same folder at the same moment.
    char buffer[MAX_PATH] = {};
    if (::GetTempFileNameA(folder.c_str(), "ktv", 0, buffer) == 0) {
        throw FileError(DescribeLastError("Cannot create a temporary file in", folder));
    }
    path_ = buffer;
}

TemporaryFile::~TemporaryFile() {
    if (!keep_) {
        ::DeleteFileA(path_.c_str());
    }
}

}  // namespace ktv::win32
