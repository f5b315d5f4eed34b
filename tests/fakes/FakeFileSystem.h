#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>

#include "Transcript.h"
#include "platform/FileSystem.h"

namespace ktv::fakes {

// Mutating file operations, for fault injection.
enum class FsOp { Write, Delete, DeleteFolder, ChangeDirectory };

// An in-memory file system keyed by case-insensitive Windows path. Relative
// paths are taken against the current directory ("c:\" at start). Writes,
// deletes and directory changes go into the transcript; queries do not.
class FakeFileSystem : public FileSystem {
public:
    explicit FakeFileSystem(Transcript& transcript) : transcript_(transcript) {}

    // Test set-up, not recorded.
    void AddFile(const std::string& path, std::string bytes);
    void AddFolder(const std::string& path);
    void SetExecutableFolder(std::string folder) { executableFolder_ = std::move(folder); }
    void SetLastWriteTime(const std::string& path, FileTime time);

    // Makes the next operation of this kind on this path (any path when empty)
    // throw FileError, leaving everything as it was.
    void FailOn(FsOp op, const std::string& path = {});

    // Test inspection.
    std::optional<std::string> Content(const std::string& path) const;
    std::vector<std::string> AllFiles() const;  // paths as first written, sorted

    // FileSystem
    bool FileExists(const std::string& path) override;
    bool FolderExists(const std::string& path) override;
    std::string ReadFile(const std::string& path) override;
    void WriteFile(const std::string& path, const std::string& bytes) override;
    void DeleteFile(const std::string& path) override;
    void DeleteFolder(const std::string& path) override;
    std::optional<FileTime> LastWriteTime(const std::string& path) override;
    FileTime Now() override { return clock_; }
    std::string CurrentDirectory() override { return currentDirectory_; }
    void ChangeDirectory(const std::string& folder) override;
    std::string ExecutableFolder() override { return executableFolder_; }

private:
    struct File {
        std::string path;
        std::string bytes;
        FileTime time = 0;
    };

    std::string Resolve(const std::string& path) const;
    static std::string Key(const std::string& absolutePath);
    void MaybeFail(FsOp op, const std::string& key);

    Transcript& transcript_;
    std::map<std::string, File> files_;
    std::set<std::string> folders_;
    std::vector<std::pair<FsOp, std::string>> failures_;
    std::string currentDirectory_ = "c:\\";
    std::string executableFolder_ = "c:\\KTVDebugger";
    FileTime clock_ = 133'000'000'000'000'000ull;
};

}  // namespace ktv::fakes
