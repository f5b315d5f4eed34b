#include "platform/win32/Win32FileSystem.h"

#include <algorithm>
#include <vector>

#include "text/Errors.h"
#include "platform/win32/SystemMessage.h"
#include "platform/win32/Handles.h"
#include "platform/win32/WinApi.h"

namespace ktv::win32 {
namespace {

// Reading stops here: the program reads settings, sources and error files,
// and a file this big is a wrong path rather than something to load.
constexpr LONGLONG kMaxReadSize = 512LL * 1024 * 1024;

// Large writes go in pieces because WriteFile counts in DWORDs.
constexpr std::size_t kWriteChunk = 1u << 20;

std::optional<DWORD> AttributesOf(const std::string& path) {
    if (path.empty()) {
        return std::nullopt;
    }
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return std::nullopt;
    }
    return attributes;
}

// The folder part of a path with its final separator ("c:\work\" for
// "c:\work\a.txt", "c:\" for "c:\a.txt"), or "." for a bare name.
std::string FolderWithSeparator(const std::string& path) {
    const std::size_t slash = path.find_last_of("\\/");
    if (slash == std::string::npos) {
        return ".";
    }
    return path.substr(0, slash + 1);
}

FileTime ToFileTime(const FILETIME& time) {
    return (static_cast<FileTime>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

void WriteAll(const std::string& path, const std::string& bytes) {
    UniqueHandle file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        throw FileError(DescribeLastError("Cannot open", path));
    }
    std::size_t done = 0;
    while (done < bytes.size()) {
        const DWORD piece = static_cast<DWORD>(std::min(bytes.size() - done, kWriteChunk));
        DWORD written = 0;
        if (!::WriteFile(file.Get(), bytes.data() + done, piece, &written, nullptr) ||
            written == 0) {
            throw FileError(DescribeLastError("Cannot write", path));
        }
        done += written;
    }
    if (!::FlushFileBuffers(file.Get())) {
        throw FileError(DescribeLastError("Cannot write", path));
    }
}

// The attributes a user sets on a file and expects a rewrite to keep.
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                  FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// Gives the new file the old one's attributes where the replacement dropped
// them: a plain rename does, and so does Wine's ReplaceFileA.
void RestoreAttributes(const std::string& target, DWORD oldAttributes) {
    const auto now = AttributesOf(target);
    if (now && (*now & kKeptAttributes) != (oldAttributes & kKeptAttributes)) {
        ::SetFileAttributesA(target.c_str(),
                             (*now & ~kKeptAttributes) | (oldAttributes & kKeptAttributes));
    }
}

// Puts the finished temporary file in the target's place. ReplaceFileA keeps
// the target's attributes and security; where it cannot be used (another file
// system, a file just deleted by someone else) a plain rename takes over.
void MoveIntoPlace(TemporaryFile& temporary, const std::string& target,
                   std::optional<DWORD> oldAttributes) {
    const DWORD moveFlags = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
    if ((oldAttributes && ::ReplaceFileA(target.c_str(), temporary.Path().c_str(), nullptr,
                                         REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) ||
        ::MoveFileExA(temporary.Path().c_str(), target.c_str(), moveFlags)) {
        temporary.Keep();
        if (oldAttributes) {
            RestoreAttributes(target, *oldAttributes);
        }
        return;
    }
    const std::string failure = DescribeLastError("Cannot replace", target);
    if (oldAttributes && !AttributesOf(target)) {
        // A failed ReplaceFileA can leave the target removed; the temporary
        // file then holds the only copy of the content and must stay.
        temporary.Keep();
        throw FileError(failure + "; the new content is in \"" + temporary.Path() + "\"");
    }
    throw FileError(failure);
}

void DeleteTree(const std::string& folder) {
    {
        WIN32_FIND_DATAA entry{};
        UniqueSearch search(::FindFirstFileA((folder + "\\*").c_str(), &entry));
        if (!search) {
            throw FileError(DescribeLastError("Cannot list the folder", folder));
        }
        do {
            const std::string name = entry.cFileName;
            if (name == "." || name == "..") {
                continue;
            }
            const std::string path = folder + "\\" + name;
            const bool isFolder = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
            // A linked folder is removed as a link; what it points to stays.
            const bool isLink = (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_READONLY) {
                ::SetFileAttributesA(path.c_str(),
                                     entry.dwFileAttributes & ~DWORD{FILE_ATTRIBUTE_READONLY});
            }
            if (isFolder && !isLink) {
                DeleteTree(path);
            } else if (isFolder) {
                if (!::RemoveDirectoryA(path.c_str())) {
                    throw FileError(DescribeLastError("Cannot delete the folder", path));
                }
            } else if (!::DeleteFileA(path.c_str())) {
                throw FileError(DescribeLastError("Cannot delete", path));
            }
        } while (::FindNextFileA(search.Get(), &entry));
    }
    if (!::RemoveDirectoryA(folder.c_str())) {
        throw FileError(DescribeLastError("Cannot delete the folder", folder));
    }
}

}  // namespace

bool Win32FileSystem::FileExists(const std::string& path) {
    const auto attributes = AttributesOf(path);
    return attributes && (*attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool Win32FileSystem::FolderExists(const std::string& path) {
    const auto attributes = AttributesOf(path);
    return attributes && (*attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::string Win32FileSystem::ReadFile(const std::string& path) {
    UniqueHandle file(::CreateFileA(path.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (path.empty() || !file) {
        throw FileError(DescribeLastError("Cannot read", path));
    }
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.Get(), &size)) {
        throw FileError(DescribeLastError("Cannot read", path));
    }
    if (size.QuadPart > kMaxReadSize) {
        throw FileError("Cannot read \"" + path + "\": the file is too large");
    }
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(size.QuadPart));
    // Read to the end rather than to the size seen above: another program may
    // still be writing the file.
    char buffer[64 * 1024];
    for (;;) {
        DWORD got = 0;
        if (!::ReadFile(file.Get(), buffer, sizeof buffer, &got, nullptr)) {
            throw FileError(DescribeLastError("Cannot read", path));
        }
        if (got == 0) {
            return bytes;
        }
        if (bytes.size() + got > static_cast<std::size_t>(kMaxReadSize)) {
            throw FileError("Cannot read \"" + path + "\": the file is too large");
        }
        bytes.append(buffer, got);
    }
}

void Win32FileSystem::WriteFile(const std::string& path, const std::string& bytes) {
    const auto attributes = AttributesOf(path);
    if (path.empty()) {
        throw FileError("Cannot write a file without a name");
    }
    if (attributes && (*attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        throw FileError("Cannot write \"" + path + "\": it is a folder");
    }
    if (attributes && (*attributes & FILE_ATTRIBUTE_READONLY)) {
        // A rename would replace a read-only file on some systems; the user
        // marked it read-only, so it is not written.
        throw FileError("Cannot write \"" + path + "\": the file is read-only");
    }
    try {
        TemporaryFile temporary(FolderWithSeparator(path));
        WriteAll(temporary.Path(), bytes);
        MoveIntoPlace(temporary, path, attributes);
    } catch (const FileError& error) {
        throw FileError("Cannot write \"" + path + "\": " + error.what());
    }
}

void Win32FileSystem::DeleteFile(const std::string& path) {
    if (!FileExists(path)) {
        return;
    }
    if (!::DeleteFileA(path.c_str())) {
        throw FileError(DescribeLastError("Cannot delete", path));
    }
}

void Win32FileSystem::DeleteFolder(const std::string& path) {
    std::string folder = path;
    while (!folder.empty() && (folder.back() == '\\' || folder.back() == '/')) {
        folder.pop_back();
    }
    // An empty name or a drive ("c:") would make the search below walk the
    // current folder or a whole drive.
    if (folder.empty() || folder.back() == ':') {
        throw FileError("Cannot delete the folder \"" + path + "\": not a folder below a drive");
    }
    if (!FolderExists(folder)) {
        throw FileError("Cannot delete the folder \"" + path + "\": it does not exist");
    }
    DeleteTree(folder);
}

std::optional<FileStamp> Win32FileSystem::Stamp(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (path.empty() || !::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return std::nullopt;
    }
    return FileStamp{ToFileTime(data.ftLastWriteTime),
                     (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow};
}

void Win32FileSystem::CreateFolder(const std::string& path) {
    if (!path.empty() && ::CreateDirectoryA(path.c_str(), nullptr)) {
        return;
    }
    const std::string failure = DescribeLastError("Cannot create the folder", path);
    if (!FolderExists(path)) {
        throw FileError(failure);
    }
}

void Win32FileSystem::ChangeDirectory(const std::string& folder) {
    if (folder.empty() || !::SetCurrentDirectoryA(folder.c_str())) {
        throw FileError(DescribeLastError("Cannot change to the folder", folder));
    }
}

std::string Win32FileSystem::ExecutableFolder() {
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) {
            return {};
        }
        if (length < buffer.size()) {
            const std::string path(buffer.data(), length);
            const std::size_t slash = path.find_last_of('\\');
            return slash == std::string::npos ? std::string() : path.substr(0, slash);
        }
        buffer.resize(buffer.size() * 2);  // the name was cut off
    }
}

}  // namespace ktv::win32
