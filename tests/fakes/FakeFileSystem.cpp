#include "FakeFileSystem.h"

#include <algorithm>
#include <cctype>

#include "platform/Errors.h"

namespace ktv::fakes {

namespace {

bool IsAbsolute(const std::string& path) {
    return (path.size() >= 2 && path[1] == ':') ||
           (path.size() >= 2 && path[0] == '\\' && path[1] == '\\');
}

std::string Parent(const std::string& key) {
    const std::size_t slash = key.rfind('\\');
    return slash == std::string::npos ? std::string() : key.substr(0, slash);
}

}  // namespace

const char* FsOpName(FsOp op) {
    switch (op) {
        case FsOp::Write:
            return "write";
        case FsOp::Delete:
            return "delete";
        case FsOp::DeleteFolder:
            return "delete-folder";
        case FsOp::ChangeDirectory:
            return "chdir";
        case FsOp::CreateFolder:
            return "create-folder";
        case FsOp::CreateTemporary:
            return "create-temporary";
        case FsOp::WriteTemporary:
            return "write-temporary";
        case FsOp::Replace:
            return "replace";
    }
    return "?";
}

std::string FakeFileSystem::Key(const std::string& absolutePath) {
    std::string key = absolutePath;
    std::transform(key.begin(), key.end(), key.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    while (key.size() > 3 && key.back() == '\\') {
        key.pop_back();
    }
    return key;
}

std::string FakeFileSystem::Resolve(const std::string& path) const {
    if (path.empty() || IsAbsolute(path)) {
        return path;
    }
    if (path[0] == '\\') {
        return currentDirectory_.substr(0, 2) + path;
    }
    std::string base = currentDirectory_;
    if (base.empty() || base.back() != '\\') {
        base += '\\';
    }
    return base + path;
}

void FakeFileSystem::AddFile(const std::string& path, std::string bytes) {
    const std::string absolute = Resolve(path);
    files_[Key(absolute)] = File{absolute, std::move(bytes), clock_};
    for (std::string folder = Parent(Key(absolute)); !folder.empty(); folder = Parent(folder)) {
        folders_.insert(folder);
    }
}

void FakeFileSystem::AddFolder(const std::string& path) {
    for (std::string folder = Key(Resolve(path)); !folder.empty(); folder = Parent(folder)) {
        folders_.insert(folder);
    }
}

void FakeFileSystem::SetWriteTime(const std::string& path, FileTime time) {
    auto it = files_.find(Key(Resolve(path)));
    if (it != files_.end()) {
        it->second.time = time;
    }
}

void FakeFileSystem::FailOn(FsOp op, const std::string& path) {
    failures_.emplace_back(op, path.empty() ? std::string() : Key(Resolve(path)));
}

void FakeFileSystem::MaybeFail(FsOp op, const std::string& key) {
    for (auto it = failures_.begin(); it != failures_.end(); ++it) {
        if (it->first == op && (it->second.empty() || it->second == key)) {
            failures_.erase(it);
            throw FileError("Injected failure on " + key);
        }
    }
}

void FakeFileSystem::Step(FsOp op, const std::string& key) {
    steps_.push_back(FsStep{op, key});
    MaybeFail(op, key);
}

std::string FakeFileSystem::TemporaryPathBeside(const std::string& absolutePath) {
    const std::size_t slash = absolutePath.rfind('\\');
    const std::string folder =
        slash == std::string::npos ? std::string() : absolutePath.substr(0, slash);
    return folder + "\\~ktv" + std::to_string(++temporaryCount_) + ".tmp";
}

std::optional<std::string> FakeFileSystem::Content(const std::string& path) const {
    auto it = files_.find(Key(Resolve(path)));
    if (it == files_.end()) {
        return std::nullopt;
    }
    return it->second.bytes;
}

std::vector<std::string> FakeFileSystem::AllFiles() const {
    std::vector<std::string> out;
    for (const auto& [key, file] : files_) {
        out.push_back(file.path);
    }
    return out;
}

bool FakeFileSystem::FileExists(const std::string& path) {
    return !path.empty() && files_.count(Key(Resolve(path))) > 0;
}

bool FakeFileSystem::FolderExists(const std::string& path) {
    return !path.empty() && folders_.count(Key(Resolve(path))) > 0;
}

std::string FakeFileSystem::ReadFile(const std::string& path) {
    auto it = files_.find(Key(Resolve(path)));
    if (it == files_.end()) {
        throw FileError("File not found: " + path);
    }
    return it->second.bytes;
}

void FakeFileSystem::WriteFile(const std::string& path, const std::string& bytes) {
    const std::string absolute = Resolve(path);
    const std::string key = Key(absolute);
    MaybeFail(FsOp::Write, key);
    const std::string parent = Parent(key);
    if (!parent.empty() && parent.size() > 2 && folders_.count(parent) == 0) {
        throw FileError("Path not found: " + path);
    }

    Step(FsOp::CreateTemporary, key);
    const std::string temporary = TemporaryPathBeside(absolute);
    const std::string temporaryKey = Key(temporary);
    files_[temporaryKey] = File{temporary, std::string(), clock_};
    try {
        Step(FsOp::WriteTemporary, key);
        files_[temporaryKey].bytes = bytes;
        Step(FsOp::Replace, key);
    } catch (...) {
        // A failed write removes its temporary file; the target is untouched.
        files_.erase(temporaryKey);
        throw;
    }
    files_.erase(temporaryKey);

    transcript_.Add("write-file: " + path);
    ++clock_;
    auto it = files_.find(key);
    if (it != files_.end()) {
        it->second.bytes = bytes;
        it->second.time = clock_;
    } else {
        files_[key] = File{absolute, bytes, clock_};
    }
}

void FakeFileSystem::DeleteFile(const std::string& path) {
    const std::string key = Key(Resolve(path));
    Step(FsOp::Delete, key);
    transcript_.Add("delete-file: " + path);
    if (files_.erase(key) == 0) {
        throw FileError("File not found: " + path);
    }
}

void FakeFileSystem::DeleteFolder(const std::string& path) {
    const std::string key = Key(Resolve(path));
    Step(FsOp::DeleteFolder, key);
    transcript_.Add("delete-folder: " + path);
    if (folders_.count(key) == 0) {
        throw FileError("Folder not found: " + path);
    }
    const std::string prefix = key + "\\";
    std::erase_if(files_, [&](const auto& entry) { return entry.first.rfind(prefix, 0) == 0; });
    std::erase_if(folders_, [&](const std::string& folder) {
        return folder == key || folder.rfind(prefix, 0) == 0;
    });
}

std::optional<FileStamp> FakeFileSystem::Stamp(const std::string& path) {
    auto it = files_.find(Key(Resolve(path)));
    if (it == files_.end()) {
        return std::nullopt;
    }
    return FileStamp{it->second.time, it->second.bytes.size()};
}

void FakeFileSystem::CreateFolder(const std::string& path) {
    const std::string key = Key(Resolve(path));
    Step(FsOp::CreateFolder, key);
    transcript_.Add("create-folder: " + path);
    if (folders_.count(Parent(key)) == 0 && Parent(key).size() > 2) {
        throw FileError("Path not found: " + path);
    }
    folders_.insert(key);
}

void FakeFileSystem::ChangeDirectory(const std::string& folder) {
    const std::string absolute = Resolve(folder);
    const std::string key = Key(absolute);
    MaybeFail(FsOp::ChangeDirectory, key);
    transcript_.Add("chdir: " + folder);
    if (folders_.count(key) == 0 && !(key.size() == 2 && key[1] == ':')) {
        throw FileError("Folder not found: " + folder);
    }
    currentDirectory_ = absolute;
}

}  // namespace ktv::fakes
