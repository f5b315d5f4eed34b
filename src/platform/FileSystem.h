#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace ktv {

// Windows file time: 100-nanosecond intervals since 1 January 1601 (UTC).
using FileTime = std::uint64_t;

// What tells one version of a file from another without reading it. The
// time is the file system's own (a file server's clock, say), so stamps are
// compared with each other, never with this machine's clock.
struct FileStamp {
    FileTime written = 0;
    std::uint64_t size = 0;
    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

// Paths are Windows paths as text; nothing here converts or normalises them.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    // True for an existing file (not a folder); false for anything else,
    // empty text included. Never throws.
    virtual bool FileExists(const std::string& path) = 0;

    // True for an existing folder. Never throws.
    virtual bool FolderExists(const std::string& path) = 0;

    // The whole content as bytes. Throws FileError when it cannot be read.
    virtual std::string ReadFile(const std::string& path) = 0;

    // Replaces the whole content, atomically: the bytes go to a new file in the
    // same folder, which then replaces the old one. On failure the old file is
    // as it was and no temporary file is left. Throws FileError.
    virtual void WriteFile(const std::string& path, const std::string& bytes) = 0;

    // Throws FileError when the file exists and cannot be deleted.
    virtual void DeleteFile(const std::string& path) = 0;

    // Deletes the folder with everything in it. Throws FileError.
    virtual void DeleteFolder(const std::string& path) = 0;

    // The file's write time and size; nullopt when it does not exist.
    virtual std::optional<FileStamp> Stamp(const std::string& path) = 0;

    // Creates the folder; one that exists already is fine. Its parent must
    // exist. Throws FileError.
    virtual void CreateFolder(const std::string& path) = 0;

    // Makes the folder's drive the current drive and the folder the current
    // directory. Throws FileError when it does not exist.
    virtual void ChangeDirectory(const std::string& folder) = 0;

    // The folder of the running executable, without a final "\".
    virtual std::string ExecutableFolder() = 0;
};

}  // namespace ktv
