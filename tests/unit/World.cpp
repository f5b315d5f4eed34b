#include "World.h"

#include "debug/DebugButton.h"
#include "text/Lines.h"

namespace ktv::testing {

World::World() {
    options.lccPath = "c:\\lcc";
    options.ktvPath = "c:\\ktv";
    options.basicFile = "c:\\work\\prog.bas";
    options.linkMode = LinkMode::Console;
    for (const char* tool : {"c:\\lcc\\bin\\lrc.exe", "c:\\lcc\\bin\\lcc.exe",
                             "c:\\lcc\\bin\\lcclnk.exe", "c:\\ktv\\bin\\ktvc.exe"}) {
        fake.files.AddFile(tool, "MZ");
    }
    fake.files.AddFile("c:\\work\\prog.bas", "$SOURCE\r\nPRINT 2\r\nPRINT 3\r\nPRINT 4\r\n");
    fake.files.AddFile("C:\\windows\\system32\\cmd.exe", "MZ");
    fake.processes.onRun = [this](const std::string& commandLine) {
        fake.system.now += std::chrono::milliseconds(500);
        FileSystem& files = fake.files;
        if (commandLine.find("ktvc.exe") != std::string::npos) {
            std::string c = "#include <stdio.h>\r\n";
            int number = 0;
            for (const std::string& line : SplitLines(files.ReadFile("c:\\work\\prog.bas"))) {
                c += "// [" + std::to_string(++number) + "]\r\n    /* " + line + " */\r\n";
            }
            files.WriteFile("c:\\work\\prog.c", c);
            if (!translatorError.empty()) {
                files.WriteFile("c:\\work\\ktv.err", translatorError + "\r\n");
            }
        } else if (commandLine.find("lcc.exe") != std::string::npos) {
            files.WriteFile("c:\\work\\prog.obj", "obj");
            files.WriteFile("c:\\work\\lcc.err", JoinLines(compilerLines));
        } else if (commandLine.find("lcclnk.exe") != std::string::npos && linkerWrites) {
            const bool dll = commandLine.find("-dll") != std::string::npos;
            files.WriteFile(dll ? "c:\\work\\prog.dll" : "c:\\work\\prog.exe", "MZ");
            if (linkerWriteTime != 0) {
                fake.files.SetWriteTime("c:\\work\\prog.exe", linkerWriteTime);
            }
        }
    };
}

void World::PressDebug() {
    DebugContext context = Context();
    RunDebugButton(context, *this);
}

Lines World::Boxes() const {
    Lines boxes;
    for (const std::string& entry : fake.transcript.Only({"box["})) {
        const std::size_t close = entry.find("]: ");
        std::string box = entry.substr(4, close - 4) + "|" + entry.substr(close + 3);
        boxes.push_back(box);
    }
    return boxes;
}

Lines World::ToolsRun() const {
    Lines tools;
    for (const std::string& entry : fake.transcript.Only({"run-hidden: "})) {
        const std::size_t exe = entry.find(".exe");
        tools.push_back(
            entry.substr(entry.rfind('\\', exe) + 1, exe + 4 - entry.rfind('\\', exe) - 1));
    }
    return tools;
}

void World::SetButtonsEnabled(bool enabled) {
    fake.transcript.Add(enabled ? "buttons: on" : "buttons: off");
}

void World::SetWindowEnabled(bool enabled) {
    fake.transcript.Add(enabled ? "window: on" : "window: off");
}

void World::ShowDirectories(const std::string& lccPath, const std::string& ktvPath) {
    fake.transcript.Add("directories: " + lccPath + " | " + ktvPath);
}

void World::ShowOutcome(const std::string& text) {
    fake.transcript.Add("status: " + text);
}

void World::ShowProblems(RunProblems list) {
    fake.transcript.Add("problems: " + std::to_string(list.problems.size()));
    listed.push_back(std::move(list));
}

}  // namespace ktv::testing
