// ktvbuild.exe: the Debug button's build for editors and scripts, on the
// console. Problems go to standard output, one line each, as compilers print
// them; see CommandLineBuild.h.
#include "platform/win32/WinApi.h"
#include <shellapi.h>

#include <exception>
#include <iostream>
#include <optional>
#include <streambuf>
#include <string>
#include <vector>

#include "app/LanguageServerMain.h"
#include "cli/CommandLineBuild.h"
#include "platform/win32/AnsiText.h"
#include "platform/win32/ConsoleInterrupt.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Win32Platform.h"
#include "text/Errors.h"

namespace {

using ktv::win32::AnsiFromWide;
using ktv::win32::ExactAnsi;
using ktv::win32::WideFromAnsi;

// What the build prints, on its way to a console: Unicode, converted from the
// ANSI code page whole lines at a time. Written as bytes, the console would
// show them in its OEM code page (C:\Users\Hélène as C:\Users\HÚlÞne).
class ConsoleText final : public std::streambuf {
public:
    explicit ConsoleText(HANDLE console) : console_(console) {}
    ConsoleText(const ConsoleText&) = delete;
    ConsoleText& operator=(const ConsoleText&) = delete;
    ~ConsoleText() override { sync(); }

    void Write(std::wstring_view text) {
        DWORD written = 0;
        ::WriteConsoleW(console_, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    }

private:
    // The stream hands over whole texts, so a line never ends inside a
    // double-byte character.
    int_type overflow(int_type c) override {
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            const char byte = traits_type::to_char_type(c);
            xsputn(&byte, 1);
        }
        return traits_type::not_eof(c);
    }
    std::streamsize xsputn(const char* text, std::streamsize count) override {
        const std::string_view added(text, static_cast<std::size_t>(count));
        pending_ += added;
        if (added.find('\n') != std::string_view::npos) {
            sync();
        }
        return count;
    }
    int sync() override {
        if (!pending_.empty()) {
            Write(WideFromAnsi(pending_));
            pending_.clear();
        }
        return 0;
    }

    HANDLE console_;
    std::string pending_;
};

bool IsConsole(HANDLE handle) {
    DWORD mode = 0;
    return ::GetConsoleMode(handle, &mode) != FALSE;
}

// The arguments in the ANSI code page, as the tools take them, and the first
// one that cannot be written there. The C runtime's arguments stand in a
// look-alike or a '?' for such a character (Ł becomes L), which would name
// another file or none: the command line in UTF-16 tells.
struct Arguments {
    std::vector<std::string> ansi;
    std::optional<std::wstring> unwritable;
};

Arguments ReadArguments(int argc, char** argv) {
    Arguments read{std::vector<std::string>(argv + 1, argv + argc), std::nullopt};
    const wchar_t* const commandLine = ::GetCommandLineW();
    if (ExactAnsi(commandLine)) {
        return read;  // the usual case, without loading shell32
    }
    const ktv::win32::SystemLibrary shell32("shell32.dll");
    const auto split = shell32.Find<decltype(::CommandLineToArgvW)>("CommandLineToArgvW");
    int count = 0;
    wchar_t** const wide = split != nullptr ? split(commandLine, &count) : nullptr;
    if (wide == nullptr) {
        return read;
    }
    read.ansi.clear();
    for (int i = 1; i < count; ++i) {
        const std::optional<std::string> ansi = ExactAnsi(wide[i]);
        if (!ansi && !read.unwritable) {
            read.unwritable = wide[i];
        }
        read.ansi.push_back(ansi.value_or(""));
    }
    ::LocalFree(wide);
    return read;
}

// Relative names count from where ktvbuild was started; the build itself
// works in the Basic file's folder. Found in UTF-16: that folder may hold
// characters the ANSI code page lacks.
std::wstring FullPath(const std::string& path) {
    const std::wstring wide = WideFromAnsi(path);
    std::wstring full(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            ::GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
        if (length == 0) {
            return wide;
        }
        if (length < full.size()) {
            full.resize(length);
            return full;
        }
        full.resize(length);
    }
}

}  // namespace

int main(int argc, char** argv) {
    const HANDLE outHandle = ::GetStdHandle(STD_OUTPUT_HANDLE);
    const HANDLE errorHandle = ::GetStdHandle(STD_ERROR_HANDLE);
    ConsoleText outConsole(outHandle);
    ConsoleText errorConsole(errorHandle);
    std::ostream consoleOut(&outConsole);
    std::ostream consoleError(&errorConsole);
    // To a pipe or a file (an editor's task, a script) the bytes stay ANSI.
    const bool outIsConsole = IsConsole(outHandle);
    std::ostream& out = outIsConsole ? consoleOut : std::cout;
    std::ostream& notes = IsConsole(errorHandle) ? consoleError : std::cerr;
    const auto refuse = [&](const std::wstring& path) {
        const std::wstring line =
            L"ktvbuild: error: " + ktv::UnwritablePathMessage(path, ::GetACP()) + L"\n";
        if (outIsConsole) {
            outConsole.Write(line);
        } else {
            std::cout << AnsiFromWide(line);
        }
        return ktv::kNotBuilt;
    };
    try {
        const Arguments read = ReadArguments(argc, argv);
        if (read.unwritable) {
            return refuse(*read.unwritable);
        }
        ktv::BuildArguments arguments = ktv::ParseBuildArguments(read.ansi);
        if (arguments.help) {
            out << ktv::kBuildUsage;
            return ktv::kBuilt;
        }
        if (arguments.languageServer) {
            return ktv::win32::RunLanguageServer(arguments);
        }
        const std::wstring fullPath = FullPath(arguments.basicFile);
        const std::optional<std::string> basicFile = ExactAnsi(fullPath);
        if (!basicFile) {
            return refuse(fullPath);
        }
        arguments.basicFile = *basicFile;
        ktv::win32::Win32Platform real;
        ktv::Platform platform = real.Get();
        // Ctrl+C, Ctrl+Break or a closed console stop the build: its tools
        // end, its intermediate files go, and it says so.
        ktv::RunControl run;
        ktv::win32::ConsoleInterrupt interrupt([&run] { run.RequestStop(); });
        const ktv::BuildExit exit = ktv::RunCommandLineBuild(arguments, platform, run, out, notes);
        notes.flush();
        return exit;
    } catch (const ktv::InvalidArgument& e) {
        out << "ktvbuild: error: " << e.what() << "\n";
        notes << "Try ktvbuild --help\n";
    } catch (const std::exception& e) {
        out << "ktvbuild: error: " << e.what() << "\n";
    }
    return ktv::kNotBuilt;
}
