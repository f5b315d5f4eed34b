#include "DebugRunFixture.h"

#include <algorithm>
#include <cctype>

#include "build/PathHelpers.h"

namespace ktv::fixtures {

DebugRunWorld::DebugRunWorld() : platform(fake.Get()) {
    fake.files.AddFile("c:\\lcc\\bin\\lrc.exe", "MZ");
    fake.files.AddFile("c:\\lcc\\bin\\lcc.exe", "MZ");
    fake.files.AddFile("c:\\lcc\\bin\\lcclnk.exe", "MZ");
    fake.files.AddFile("c:\\ktv\\bin\\ktvc.exe", "MZ");
    fake.files.AddFile("c:\\work\\prog.bas", "$SOURCE\r\nPRINT \"Hello\"\r\n");
    form.Txt_BasFile.SetText("c:\\work\\prog.bas");

    auto inFolder = [this](const std::string& extension) {
        return JoinPath(names->folder, names->baseName + extension);
    };
    tools["ktvc.exe"] = [this, inFolder](const std::string&) {
        fake.files.WriteFile(inFolder(".c"), "// [2]\r\nint main(void) { return 0; }\r\n");
    };
    tools["lcc.exe"] = [this, inFolder](const std::string&) {
        fake.files.WriteFile(inFolder(".obj"), "object");
    };
    tools["lcclnk.exe"] = [this, inFolder](const std::string& commandLine) {
        const bool dll = commandLine.find(" -dll ") != std::string::npos;
        fake.files.WriteFile(inFolder(dll ? ".dll" : ".exe"), "MZ");
    };
    fake.processes.onRun = [this](const std::string& commandLine) {
        const std::string tool = ToolName(commandLine);
        moments.push_back(tool + ": " + WindowState());
        auto it = tools.find(tool);
        if (it != tools.end() && it->second) {
            it->second(commandLine);
        }
    };
    fake.desktop.onMessageBox = [this](const std::string& prompt) {
        moments.push_back("box " + prompt.substr(0, prompt.find('\r')) + ": " + WindowState());
    };

    // The transcript shows when the window and "Debug" change their state.
    form.Window.SetViewObserver([this] {
        fake.transcript.Add(form.Window.Enabled() ? "window: enabled" : "window: disabled");
    });
    form.Command1.SetViewObserver([this] {
        fake.transcript.Add(form.Command1.Enabled() ? "debug-button: enabled"
                                                    : "debug-button: disabled");
    });

    auto check = [this](std::string name, const bool& stop, bool stopWhen) {
        return [this, name, &stop, stopWhen](DebugContext&, const std::string& path) {
            fake.transcript.Add("call: " + name + " " + path);
            return stop ? stopWhen : !stopWhen;
        };
    };
    routines.insertSourceMarkers = check("InsertSourceMarkers", markerInserted, true);
    routines.showBasicErrors = check("ShowBasicErrors", basicErrorReported, false);
    routines.showCErrors = check("ShowCErrors", cErrorReported, false);
    routines.showCWarnings = check("ShowCWarnings", cWarningReported, false);
    routines.openInWedit = [this](DebugContext&) { fake.transcript.Add("call: OpenInWedit"); };
    routines.runBuiltProgram = [this](DebugContext&) {
        fake.transcript.Add("call: RunBuiltProgram");
    };
    routines.removeIntermediateFiles = [this](DebugContext& context) {
        fake.transcript.Add("call: RemoveIntermediateFiles " + context.run.folder + " " +
                            context.run.baseName);
    };
}

void DebugRunWorld::PressDebug() {
    DebugContext context{form, run, platform, kOwner};
    RunDebug(context, routines);
}

std::string DebugRunWorld::ToolName(const std::string& commandLine) {
    std::string program;
    if (!commandLine.empty() && commandLine[0] == '"') {
        program = commandLine.substr(1, commandLine.find('"', 1) - 1);
    } else {
        program = commandLine.substr(0, commandLine.find(' '));
    }
    std::string name = GetFileName(program);
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return name;
}

std::vector<std::string> DebugRunWorld::ToolsRun() const {
    std::vector<std::string> out;
    for (const std::string& entry : Only({"run-hidden: "})) {
        out.push_back(ToolName(entry.substr(std::string_view("run-hidden: ").size())));
    }
    return out;
}

std::vector<std::string> DebugRunWorld::BoxPrompts() const {
    std::vector<std::string> out;
    for (const std::string& entry : Only({"box["})) {
        out.push_back(entry.substr(entry.find("]: ") + 3));
    }
    return out;
}

std::string DebugRunWorld::WindowState() const {
    int on = 0;
    int off = 0;
    for (const Control* control : form.Controls()) {
        if (control->Kind() == ControlKind::CommandButton ||
            control->Kind() == ControlKind::OptionButton ||
            control->Kind() == ControlKind::CheckBox) {
            (control->Enabled() ? on : off) += 1;
        }
    }
    const std::string buttons = off == 0 ? "on" : on == 0 ? "off" : "mixed";
    return std::string("window ") + (form.Window.Enabled() ? "on" : "off") + ", buttons " +
           buttons + ", " + (fake.desktop.busy ? "busy" : "arrow");
}

}  // namespace ktv::fixtures
