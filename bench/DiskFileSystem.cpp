#include "DiskFileSystem.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "text/Errors.h"

namespace ktv::bench {
namespace {

std::filesystem::path HostPath(std::string path) {
    if (std::filesystem::path::preferred_separator == '/') {
        for (char& c : path) {
            if (c == '\\')
                c = '/';
        }
    }
    return path;
}

[[noreturn]] void ReadOnly(const std::string& path) {
    throw FileError("The benchmark's file system does not change files: " + path);
}

}  // namespace

bool DiskFileSystem::FileExists(const std::string& path) {
    std::error_code error;
    return !path.empty() && std::filesystem::is_regular_file(HostPath(path), error);
}

bool DiskFileSystem::FolderExists(const std::string& path) {
    std::error_code error;
    return !path.empty() && std::filesystem::is_directory(HostPath(path), error);
}

std::string DiskFileSystem::ReadFile(const std::string& path) {
    std::ifstream in(HostPath(path), std::ios::binary);
    if (!in) {
        throw FileError("Cannot read " + path);
    }
    in.seekg(0, std::ios::end);
    std::string bytes(static_cast<std::size_t>(in.tellg()), '\0');
    in.seekg(0, std::ios::beg);
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!in) {
        throw FileError("Cannot read " + path);
    }
    return bytes;
}

void DiskFileSystem::WriteFile(const std::string& path, const std::string&) {
    ReadOnly(path);
}
void DiskFileSystem::DeleteFile(const std::string& path) {
    ReadOnly(path);
}
void DiskFileSystem::DeleteFolder(const std::string& path) {
    ReadOnly(path);
}

std::string DiskFileSystem::ExecutableFolder() {
    return std::filesystem::current_path().string();
}

void DiskFileSystem::ChangeDirectory(const std::string& folder) {
    ReadOnly(folder);
}

}  // namespace ktv::bench
