#include "debug/EditorCommands.h"

#include <array>

#include "text/Paths.h"
#include "text/Strings.h"

namespace ktv {
namespace {

// An editor that takes the line on its command line: its program's file
// name, where it installs below a program folder, and its arguments, each as
// its own documentation gives them.
struct KnownEditor {
    std::string_view program;
    std::array<std::string_view, 5> folders;  // below a program folder; empty: none
    std::string_view arguments;               // after the program's quoted path
};

constexpr std::array<KnownEditor, 9> kKnownEditors{{
    {"notepad++.exe", {"Notepad++"}, R"(-n{line} "{file}")"},
    {"Code.exe", {"Microsoft VS Code"}, R"(--goto "{file}:{line}")"},
    {"sublime_text.exe", {"Sublime Text", "Sublime Text 3"}, R"("{file}:{line}")"},
    {"Notepad3.exe", {"Notepad3"}, R"(/g {line} "{file}")"},
    {"Notepad2.exe", {"Notepad2"}, R"(/g {line} "{file}")"},
    {"gvim.exe",
     {"Vim\\vim91", "Vim\\vim90", "Vim\\vim82", "Vim\\vim81", "Vim\\vim80"},
     R"(+{line} "{file}")"},
    {"geany.exe", {"Geany\\bin"}, R"(--line={line} "{file}")"},
    {"EmEditor.exe", {"EmEditor"}, R"(/l {line} "{file}")"},
    {"uedit64.exe", {"IDM Computer Solutions\\UltraEdit"}, R"("{file}/{line}")"},
}};

constexpr const char* kAppPaths = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";

std::string Quoted(std::string_view path) {
    return "\"" + std::string(path) + "\"";
}

std::string TemplateFor(const KnownEditor& editor, std::string_view program) {
    return Quoted(program) + " " + std::string(editor.arguments);
}

// The program registered for the editor's file name: the per-user entry
// first, as Windows' own search takes it.
std::optional<std::string> RegisteredProgram(Platform& platform, const KnownEditor& editor) {
    for (const RegistryRoot root : {RegistryRoot::CurrentUser, RegistryRoot::LocalMachine}) {
        std::optional<std::string> path =
            platform.registry.ReadString(root, kAppPaths + std::string(editor.program), "");
        if (path) {
            std::string unquoted(TrimSpaces(*path));
            if (unquoted.size() >= 2 && unquoted.front() == '"' && unquoted.back() == '"') {
                unquoted = unquoted.substr(1, unquoted.size() - 2);
            }
            if (platform.files.FileExists(unquoted)) {
                return unquoted;
            }
        }
    }
    return std::nullopt;
}

std::optional<std::string> InstalledProgram(Platform& platform, const KnownEditor& editor,
                                            const std::vector<std::string>& programFolders) {
    if (std::optional<std::string> registered = RegisteredProgram(platform, editor)) {
        return registered;
    }
    for (const std::string& programFolder : programFolders) {
        for (const std::string_view folder : editor.folders) {
            if (folder.empty()) {
                continue;
            }
            const std::string path =
                JoinPath(JoinPath(programFolder, folder), std::string(editor.program));
            if (platform.files.FileExists(path)) {
                return path;
            }
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> EditorCommandProblem(std::string_view commandTemplate) {
    if (TrimSpaces(commandTemplate).empty()) {
        return "There is no command for your editor. Choose one of the editors found, or type "
               "its command with {file} where the file's path goes and {line} where the line "
               "number goes.";
    }
    if (commandTemplate.find(kFilePlaceholder) == std::string_view::npos) {
        return "The command for your editor has no {file}, so the file could not be handed to "
               "it. Put {file} where the file's path goes (and {line} where the line number "
               "goes), for example:\r\n\"C:\\Program Files\\Notepad++\\notepad++.exe\" -n{line} "
               "\"{file}\"";
    }
    return std::nullopt;
}

std::string ExpandEditorCommand(std::string_view commandTemplate, std::string_view file,
                                std::string_view line) {
    // Placeholders are looked for in the template only, never in what took
    // the place of one: a path that itself holds "{line}" stays as it is.
    std::string command;
    for (std::size_t at = 0; at < commandTemplate.size();) {
        const std::string_view rest = commandTemplate.substr(at);
        if (rest.starts_with(kFilePlaceholder)) {
            command += file;
            at += kFilePlaceholder.size();
        } else if (rest.starts_with(kLinePlaceholder)) {
            command += line;
            at += kLinePlaceholder.size();
        } else {
            command += commandTemplate[at++];
        }
    }
    return command;
}

std::string EditorCommandFor(std::string_view program) {
    const std::string name = GetFileName(program);
    for (const KnownEditor& editor : kKnownEditors) {
        if (EqualsIgnoringCase(name, editor.program)) {
            return TemplateFor(editor, program);
        }
    }
    return Quoted(program) + " \"{file}\"";
}

std::vector<std::string> FindInstalledEditors(Platform& platform) {
    const std::vector<std::string> programFolders = platform.system.ProgramFolders();
    std::vector<std::string> found;
    for (const KnownEditor& editor : kKnownEditors) {
        if (std::optional<std::string> program =
                InstalledProgram(platform, editor, programFolders)) {
            found.push_back(TemplateFor(editor, *program));
        }
    }
    return found;
}

}  // namespace ktv
