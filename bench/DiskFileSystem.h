#pragma once

#include <string>

#include "platform/FileSystem.h"

namespace ktv::bench {

// The reading half of a file system on the host's real disk, for benchmarks
// that must pay for real file reads. Windows paths are taken as they are
// written; "\" is turned into "/" on hosts that need it. Anything that would
// change the disk throws.
class DiskFileSystem : public FileSystem {
public:
    bool FileExists(const std::string& path) override;
    bool FolderExists(const std::string& path) override;
    std::string ReadFile(const std::string& path) override;
    void WriteFile(const std::string& path, const std::string& bytes) override;
    void DeleteFile(const std::string& path) override;
    void DeleteFolder(const std::string& path) override;
    std::optional<FileStamp> Stamp(const std::string&) override { return std::nullopt; }
    void CreateFolder(const std::string&) override {}
    void ChangeDirectory(const std::string& folder) override;
    std::string ExecutableFolder() override;
};

}  // namespace ktv::bench
