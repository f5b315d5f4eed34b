#pragma once

#include "platform/FileSystem.h"

namespace ktv::win32 {

// Files and folders through the ANSI file API. Writes go to a temporary file
// beside the target, which then replaces it, so a failed write never leaves a
// half-written file behind.
class Win32FileSystem : public FileSystem {
public:
    bool FileExists(const std::string& path) override;
    bool FolderExists(const std::string& path) override;
    std::string ReadFile(const std::string& path) override;
    void WriteFile(const std::string& path, const std::string& bytes) override;
    void DeleteFile(const std::string& path) override;
    void DeleteFolder(const std::string& path) override;
    std::optional<FileStamp> Stamp(const std::string& path) override;
    void CreateFolder(const std::string& path) override;
    void ChangeDirectory(const std::string& folder) override;
    std::string ExecutableFolder() override;
};

}  // namespace ktv::win32
