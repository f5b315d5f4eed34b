#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "Transcript.h"
#include "platform/FileSystem.h"

namespace ktv::fakes {

// Mutating file operations, for fault injection. A write goes in three steps,
// as on a real disk: a temporary file is created beside the target, the bytes
// are written to it, and it replaces the target. Write fails a write before
// its first step; CreateTemporary, WriteTemporary and Replace fail it at that
// step. However a write fails, the target stays as it was and the temporary
// file is gone, which is what FileSystem::WriteFile promises.
enum class FsOp {
    Write,
    Delete,
    DeleteFolder,
    ChangeDirectory,
    CreateFolder,
    CreateTemporary,
    WriteTemporary,
    Replace,
};

const char* FsOpName(FsOp op);

// One step that changed, or tried to change, the disk: the operation and the
// path it works on (for the steps of a write, the target), in lower case.
struct FsStep {
    FsOp op = FsOp::Write;
    std::string path;
    bool operator==(const FsStep&) const = default;
};

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
    // Sets a file's write time, as a file server with its own clock would.
    void SetWriteTime(const std::string& path, FileTime time);

    // Makes the next operation of this kind on this path (any path when empty)
    // throw FileError, leaving everything as it was. For the steps of a write,
    // the path is the target's.
    void FailOn(FsOp op, const std::string& path = {});

    // Every step of a write, deletion and folder deletion so far, in order, a
    // failed one included: what a fault-injection test makes fail in turn.
    const std::vector<FsStep>& StepsTaken() const { return steps_; }

    // Failures set up by FailOn that have not struck yet.
    std::size_t PendingFailures() const { return failures_.size(); }

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
    std::optional<FileStamp> Stamp(const std::string& path) override;
    void CreateFolder(const std::string& path) override;
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
    void Step(FsOp op, const std::string& key);
    std::string TemporaryPathBeside(const std::string& absolutePath);

    Transcript& transcript_;
    std::map<std::string, File> files_;
    std::set<std::string> folders_;
    std::vector<std::pair<FsOp, std::string>> failures_;
    std::vector<FsStep> steps_;
    int temporaryCount_ = 0;
    std::string currentDirectory_ = "c:\\";
    std::string executableFolder_ = "c:\\KTVDebugger";
    // Every write stamps its file with the next tick of this clock.
    FileTime clock_ = 133'000'000'000'000'000ull;
};

}  // namespace ktv::fakes
