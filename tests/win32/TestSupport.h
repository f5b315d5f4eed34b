#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "platform/Processes.h"
#include "platform/win32/UniqueHandle.h"

namespace ktv::win32::testing {

// A new empty folder under the system's temporary folder, deleted with
// everything in it at the end of the test.
class TestFolder {
public:
    TestFolder();
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;
    ~TestFolder();

    const std::string& Path() const { return path_; }
    std::string In(const std::string& name) const { return path_ + "\\" + name; }

private:
    std::string path_;
};

// Puts the process's current directory back at the end of the test.
class CurrentDirectoryGuard {
public:
    CurrentDirectoryGuard();
    CurrentDirectoryGuard(const CurrentDirectoryGuard&) = delete;
    CurrentDirectoryGuard& operator=(const CurrentDirectoryGuard&) = delete;
    ~CurrentDirectoryGuard();

private:
    std::string saved_;
};

// Ends a program a test started, if it still runs, when the test ends.
class ProgramGuard {
public:
    explicit ProgramGuard(TaskId task);
    ProgramGuard(const ProgramGuard&) = delete;
    ProgramGuard& operator=(const ProgramGuard&) = delete;
    ~ProgramGuard();

    // True when the program ended within the bound.
    bool WaitForEnd(std::chrono::milliseconds bound) const;
    bool IsRunning() const;

private:
    UniqueHandle process_;
};

// The names in a folder, sorted, without "." and "..".
std::vector<std::string> ListFolder(const std::string& folder);

// A test helper program built beside the test executable, quoted for a
// command line.
std::string HelperCommand(const std::string& exeName);

// The file's lines (CR LF ends) once it holds at least `count`, or whatever it
// holds when the bound has passed.
std::vector<std::string> WaitForLines(const std::string& path, std::size_t count,
                                      std::chrono::milliseconds bound);

}  // namespace ktv::win32::testing
