#pragma once

#include <string>

namespace ktv::win32 {

// A new, uniquely named, empty file in a given folder that is deleted again
// when this object goes away, unless Keep() was called (for example because it
// has been renamed onto its target). Throws FileError when it cannot be made.
class TemporaryFile {
public:
    explicit TemporaryFile(const std::string& folder);
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile();

    const std::string& Path() const { return path_; }
    void Keep() { keep_ = true; }

private:
    std::string path_;
    bool keep_ = false;
};

}  // namespace ktv::win32
