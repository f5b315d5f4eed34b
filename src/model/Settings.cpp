#include "model/Settings.h"

#include <array>
#include <charconv>
#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "text/Paths.h"
#include "debug/ErrorBoxes.h"
#include "text/Errors.h"
#include "text/Strings.h"
#include "text/Lines.h"

namespace ktv {
namespace {

constexpr const char* kPerUserFolder = "KTV Debugger";

// A check box value: the decimal text of 0, 1 or 2. Anything else is not a
// state the box can take, and the record is skipped.
std::optional<CheckState> ParseCheckState(std::string_view value) {
    int number = -1;
    const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (value.empty() || ec != std::errc{} || end != value.data() + value.size() || number < 0 ||
        number > 2) {
        return std::nullopt;
    }
    return static_cast<CheckState>(number);
}

// An option value: "True" or "False" (the forms the file is written with, in
// any letter case), or a number, which is true when it is not zero.
std::optional<bool> ParseTruth(std::string_view value) {
    if (EqualsIgnoringCase(value, "True")) {
        return true;
    }
    if (EqualsIgnoringCase(value, "False")) {
        return false;
    }
    std::string_view digits = value;
    if (!digits.empty() && (digits.front() == '-' || digits.front() == '+')) {
        digits.remove_prefix(1);
    }
    bool anyDigit = false;
    bool nonZero = false;
    bool seenPoint = false;
    for (const char c : digits) {
        if (c == '.' && !seenPoint) {
            seenPoint = true;
        } else if (c >= '0' && c <= '9') {
            anyDigit = true;
            nonZero = nonZero || c != '0';
        } else {
            return std::nullopt;
        }
    }
    if (!anyDigit) {
        return std::nullopt;
    }
    return nonZero;
}

void SetCheckBox(CheckBox& box, std::string_view value) {
    if (const auto state = ParseCheckState(value)) {
        box.SetState(*state);
    }
}

void SetOption(OptionButton& button, std::string_view value) {
    if (const auto selected = ParseTruth(value)) {
        button.SetSelected(*selected);
    }
}

// One test of a record: the key name the record must begin with, a condition
// on the model's controls (checked first, on the state the earlier records
// and tests left), and what the value does. In the table below `m` is the
// model and `v` the record's value.
struct LoadRule {
    std::string_view key;
    bool (*condition)(const MainWindowModel& model);
    void (*apply)(MainWindowModel& model, std::string_view value);
};

bool Always(const MainWindowModel&) {
    return true;
}

// The order matters: an editor box set to 1 clears its partners through the
// model's rules, and the later editor tests see that state. The fourteen keys
// the file has always had come first; "myeditor" and "editorcommand" begin
// with none of them (nor with each other), so a reader of the fourteen skips
// their lines.
constexpr std::array<LoadRule, 16> kLoadRules{{
    {"lccpath", Always,
     [](MainWindowModel& m, std::string_view v) { m.lccDirectoryField.SetText(std::string(v)); }},
    {"ktvpath", Always,
     [](MainWindowModel& m, std::string_view v) { m.ktvDirectoryField.SetText(std::string(v)); }},
    {"basicpath", Always,
     [](MainWindowModel& m, std::string_view v) { m.basicFileField.SetText(std::string(v)); }},
    {"notepad",
     [](const MainWindowModel& m) { return m.launchJfeBox.State() == CheckState::Unchecked; },
     [](MainWindowModel& m, std::string_view v) { SetCheckBox(m.launchNotepadBox, v); }},
    {"jfe",
     [](const MainWindowModel& m) { return m.launchNotepadBox.State() == CheckState::Unchecked; },
     [](MainWindowModel& m, std::string_view v) { SetCheckBox(m.launchJfeBox, v); }},
    {"ccon",
     [](const MainWindowModel& m) {
         return m.launchNotepadBox.State() == CheckState::Unchecked &&
                m.launchJfeBox.State() == CheckState::Unchecked;
     },
     [](MainWindowModel& m, std::string_view v) { SetCheckBox(m.launchConTextBox, v); }},
    {"cwarn", Always,
     [](MainWindowModel& m, std::string_view v) { SetCheckBox(m.checkWarningsBox, v); }},
    {"run", Always,
     [](MainWindowModel& m, std::string_view v) { SetCheckBox(m.runProgramBox, v); }},
    {"lccdeb",
     [](const MainWindowModel& m) { return m.runProgramBox.State() == CheckState::Unchecked; },
     [](MainWindowModel& m, std::string_view v) { SetCheckBox(m.debugInWeditBox, v); }},
    {"gui", Always, [](MainWindowModel& m, std::string_view v) { SetOption(m.guiOption, v); }},
    {"dll", Always, [](MainWindowModel& m, std::string_view v) { SetOption(m.dllOption, v); }},
    {"con", Always, [](MainWindowModel& m, std::string_view v) { SetOption(m.consoleOption, v); }},
    {"libs", Always,
     [](MainWindowModel& m, std::string_view v) { m.librariesField.SetText(std::string(v)); }},
    {"cmd", Always,
     [](MainWindowModel& m, std::string_view v) { m.commandLineField.SetText(std::string(v)); }},
    {"myeditor",
     [](const MainWindowModel& m) {
         return m.launchNotepadBox.State() == CheckState::Unchecked &&
                m.launchJfeBox.State() == CheckState::Unchecked &&
                m.launchConTextBox.State() == CheckState::Unchecked;
     },
     [](MainWindowModel& m, std::string_view v) { SetCheckBox(m.launchMyEditorBox, v); }},
    {"editorcommand", Always,
     [](MainWindowModel& m, std::string_view v) { m.editorCommandField.SetText(std::string(v)); }},
}};

void LoadRecord(MainWindowModel& model, std::string_view record) {
    record = TrimLeadingSpaces(record);
    const std::size_t equals = record.find('=');
    if (equals == std::string_view::npos) {
        return;
    }
    const std::string value(TrimSpaces(record.substr(equals + 1)));
    for (const LoadRule& rule : kLoadRules) {
        if (record.starts_with(rule.key) && rule.condition(model)) {
            rule.apply(model, value);
        }
    }
}

std::string CheckDigit(const CheckBox& box) {
    return std::to_string(static_cast<int>(box.State()));
}

std::string Line(std::string_view key, std::string_view value) {
    std::string line(key);
    line += value;
    return line;
}

std::string Truth(const OptionButton& button) {
    return button.Selected() ? "True" : "False";
}

// The 14 lines, in the order the file has always had, then my editor's two.
std::vector<std::string> SettingsLines(const MainWindowModel& model) {
    return {
        Line("lccpath=", TrimSpaces(model.lccDirectoryField.Text())),
        Line("ktvpath=", TrimSpaces(model.ktvDirectoryField.Text())),
        Line("basicpath=", TrimSpaces(model.basicFileField.Text())),
        Line("jfe=", CheckDigit(model.launchJfeBox)),
        Line("ccon=", CheckDigit(model.launchConTextBox)),
        Line("notepad=", CheckDigit(model.launchNotepadBox)),
        Line("libs=", TrimSpaces(model.librariesField.Text())),
        Line("gui=", Truth(model.guiOption)),
        Line("dll=", Truth(model.dllOption)),
        Line("con=", Truth(model.consoleOption)),
        Line("cmd=", TrimSpaces(model.commandLineField.Text())),
        Line("cwarn=", CheckDigit(model.checkWarningsBox)),
        Line("run=", CheckDigit(model.runProgramBox)),
        Line("lccdeb=", CheckDigit(model.debugInWeditBox)),
        Line("myeditor=", CheckDigit(model.launchMyEditorBox)),
        Line("editorcommand=", TrimSpaces(model.editorCommandField.Text())),
    };
}

}  // namespace

SettingsPlaces SettingsFiles(Platform& platform) {
    const std::string userData = platform.system.UserDataFolder();
    return SettingsPlaces{JoinPath(platform.files.ExecutableFolder(), kSettingsFileName),
                          userData.empty()
                              ? std::string()
                              : JoinPath(JoinPath(userData, kPerUserFolder), kSettingsFileName)};
}

std::string SettingsFileToRead(Platform& platform) {
    const SettingsPlaces places = SettingsFiles(platform);
    return !places.perUser.empty() && platform.files.FileExists(places.perUser)
               ? places.perUser
               : places.besideProgram;
}

void LoadConfig(MainWindowModel& model, Platform& platform, WindowRef owner) {
    const std::string path = SettingsFileToRead(platform);
    if (!platform.files.FileExists(path)) {
        // First start: JFE is the editor a new user gets.
        model.launchJfeBox.SetState(CheckState::Checked);
        return;
    }
    std::string text;
    try {
        text = platform.files.ReadFile(path);
    } catch (const std::exception& e) {
        ErrorBox(platform.desktop, owner,
                 "Could not read the settings from " + path + ": " + e.what());
        return;
    }
    if (text.empty()) {
        platform.desktop.MessageBox(owner, "EOF", BoxStyle::OkOnly, "");
        return;
    }
    LoadSettingsText(model, text);
}

void LoadSettingsText(MainWindowModel& model, std::string_view text) {
    // A record is one line. Besides CR LF and a lone CR, a lone LF ends a
    // record too: a settings file edited with a tool that writes LF line
    // ends must not load as one long directory name.
    LineCursor records(text, LineEnds::Any);
    while (const std::optional<LineView> record = records.Next()) {
        LoadRecord(model, record->text);
    }
}

namespace {

// A save beside the program makes a per-user copy stale; it goes, or, when it
// cannot be deleted, gets the same lines, so it can never bring back older
// settings.
void RetirePerUserCopy(FileSystem& files, const std::string& perUser,
                       const std::vector<std::string>& lines) {
    if (perUser.empty() || !files.FileExists(perUser)) {
        return;
    }
    try {
        files.DeleteFile(perUser);
    } catch (const std::exception&) {
        files.WriteFile(perUser, JoinLines(lines));
    }
}

void SaveToPerUserFolder(FileSystem& files, const std::string& perUser,
                         const std::vector<std::string>& lines) {
    if (perUser.empty()) {
        throw FileError("there is no application-data folder");
    }
    files.CreateFolder(GetFolder(perUser));
    files.WriteFile(perUser, JoinLines(lines));
}

}  // namespace

void SaveConfig(const MainWindowModel& model, Platform& platform, WindowRef owner) {
    // The program ends after this whatever happens, so a failure is told here
    // and never thrown: the user learns that the settings were not kept.
    const auto tell = [&](const std::string& text) {
        try {
            ErrorBox(platform.desktop, owner, text);
        } catch (...) {
            // Nothing more can be done on the way out.
        }
    };
    SettingsPlaces places{kSettingsFileName, {}};
    std::vector<std::string> lines;
    try {
        places = SettingsFiles(platform);
        lines = SettingsLines(model);
        platform.files.WriteFile(places.besideProgram, JoinLines(lines));
    } catch (const std::exception& beside) {
        try {
            SaveToPerUserFolder(platform.files, places.perUser, lines);
        } catch (const std::exception& perUser) {
            tell("Could not save the settings to " + places.besideProgram + ": " + beside.what() +
                 "\r\nnor to " + (places.perUser.empty() ? "the user's folder" : places.perUser) +
                 ": " + perUser.what());
        }
        return;
    }
    try {
        RetirePerUserCopy(platform.files, places.perUser, lines);
    } catch (const std::exception& e) {
        tell("The settings were saved to " + places.besideProgram + ", but the older copy " +
             places.perUser + " could not be removed: " + e.what());
    }
}

}  // namespace ktv
