// ktvbuild.exe: the Debug button's build for editors and scripts, on the
// console. Problems go to standard output, one line each, in the model
// compilers print them; see CommandLineBuild.h.
#include "platform/win32/WinApi.h"

#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "cli/CommandLineBuild.h"
#include "platform/win32/Win32Platform.h"
#include "text/Errors.h"

namespace {

// Relative names count from where ktvbuild was started; the build itself
// works in the Basic file's folder.
std::string FullPath(const std::string& path) {
    char full[MAX_PATH] = {};
    const DWORD length = ::GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
    return length > 0 && length < MAX_PATH ? std::string(full, length) : path;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        ktv::BuildArguments arguments =
            ktv::ParseBuildArguments(std::vector<std::string>(argv + 1, argv + argc));
        if (arguments.help) {
            std::cout << ktv::kBuildUsage;
            return ktv::kBuilt;
        }
        arguments.basicFile = FullPath(arguments.basicFile);
        ktv::win32::Win32Platform real;
        ktv::Platform platform = real.Get();
        return ktv::RunCommandLineBuild(arguments, platform, std::cout, std::cerr);
    } catch (const ktv::InvalidArgument& e) {
        std::cout << "ktvbuild: error: " << e.what() << "\n";
        std::cerr << "Try ktvbuild --help\n";
    } catch (const std::exception& e) {
        std::cout << "ktvbuild: error: " << e.what() << "\n";
    }
    return ktv::kNotBuilt;
}
