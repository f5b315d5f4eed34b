#include "debug/PostBuild.h"

#include <chrono>
#include <exception>
#include <string>
#include <string_view>

#include "debug/KeyValueFile.h"
#include "text/Errors.h"
#include "text/Paths.h"

namespace ktv {
namespace {

using namespace std::chrono_literals;

// How long Wedit may take to show its window, how often it is brought to the
// front before the keystrokes are given up, and how long each key waits for
// Wedit's window (or a box of Wedit's) to be settled in front. All are
// bounds, not waits: a Wedit that is ready goes on at once.
constexpr std::chrono::milliseconds kWeditStartBound = 5000ms;
constexpr int kActivationTries = 10;
constexpr std::chrono::milliseconds kKeyBound = 1000ms;

// What the user presses in Wedit when its keys could not be sent.
constexpr const char* kWeditKeysInWords =
    "In Wedit, press F9 to build (and Enter to answer its questions), then F5 to start the "
    "debugger.";

constexpr const char* kWeditPrompt =
    "After clicking OK:\r\n"
    "Wait for file to build (check bottom of Wedit) "
    "then press F5 to activate wedit debugger\r\n"
    "\r\n"
    "Once the debugger is active, use the debug menu";

// The characters cmd gives a meaning outside quotes: in a program's name they
// would end the name or start a second command ("r&d.exe" runs "r", then
// "d.exe").
constexpr std::string_view kCmdSpecial = " \t&|^<>(),;=@";

// What cmd runs after "/k": the program's name, quoted when it holds a
// character cmd treats specially, then the user's arguments as typed (they
// may mean their redirections). cmd keeps a line's quotes as they are only
// when they are its only two and enclose a blank and none of &<>()@^|;
// otherwise it strips the first and the last quote of the line, so such a
// line gets an extra pair of quotes for it to strip.
std::string ConsoleCommand(const std::string& program, const std::string& arguments) {
    if (program.find_first_of(kCmdSpecial) == std::string::npos) {
        return program + " " + arguments;
    }
    const std::string line = "\"" + program + "\" " + arguments;
    const bool keptAsTheyAre = program.find_first_of(" \t") != std::string::npos &&
                               program.find_first_of("&<>()@^|") == std::string::npos &&
                               arguments.find('"') == std::string::npos;
    return keptAsTheyAre ? line : "\"" + line + "\"";
}

// Brings Wedit's window to the front. Keystrokes go to whatever window has
// the focus, so none may be sent when this fails.
void ActivateWedit(DebugContext& context, TaskId task, const char* before) {
    if (!ActivateTask(context.platform.desktop, task, kActivationTries, context.run.Stop())) {
        context.run.ThrowIfStopped();
        throw Error(std::string("Could not bring Wedit's window to the front, so ") + before +
                    " was not sent to it. " + kWeditKeysInWords);
    }
}

// Types keys into Wedit only: its window, or a box of its own, settled in
// front. Anything else in front (another program, a box of the user's) gets
// no key, and the user is told what to press. No key follows a stop.
void SendToWedit(DebugContext& context, TaskId task, const char* keys, const char* what) {
    context.run.ThrowIfStopped();
    if (!SettledWindowOf(context.platform.desktop, task, kKeyBound, context.run.Stop())) {
        context.run.ThrowIfStopped();
        throw Error(std::string("Wedit's window was not in front, so ") + what +
                    " was not sent to it. " + kWeditKeysInWords);
    }
    context.platform.desktop.SendKeys(keys);
}

void RemoveOldProject(FileSystem& files, const std::string& lccPath, const std::string& baseName) {
    const std::string projects = lccPath + "\\lib\\projects.ini";
    // Wedit creates its project list the first time it runs; before that
    // there is no entry to remove, and nothing to report.
    if (!files.FileExists(projects)) {
        return;
    }
    try {
        if (files.ReadFile(projects).empty()) {
            return;
        }
        ModifyConfigFile(files, projects, baseName, kDeleteMarker);
    } catch (const std::exception& e) {
        throw Error("Could not remove the project " + baseName +
                    " from Wedit's project list: " + e.what());
    }
}

void DeleteOldWeditFolder(FileSystem& files, const std::string& folder) {
    const std::string lcc8 = JoinPath(folder, "lcc8");
    if (!files.FolderExists(lcc8)) {
        return;
    }
    try {
        files.DeleteFolder(lcc8);
    } catch (const std::exception& e) {
        throw Error("Could not delete the folder " + lcc8 + " that Wedit builds in: " + e.what());
    }
}

TaskId Start(Processes& processes, const std::string& commandLine, WindowStyle style,
             const char* what) {
    try {
        return processes.Start(commandLine, style);
    } catch (const std::exception& e) {
        throw Error(std::string("Could not start ") + what + " (" + commandLine + "): " + e.what());
    }
}

}  // namespace

void OpenInWedit(DebugContext& context) {
    Platform& platform = context.platform;
    Desktop& desktop = platform.desktop;
    const std::string& lccPath = context.options.lccPath;
    const std::string& folder = context.names.folder;
    const std::string& baseName = context.names.baseName;

    DeleteOldWeditFolder(platform.files, folder);
    RemoveOldProject(platform.files, lccPath, baseName);
    DoEvents(desktop, 2);

    const std::string commandLine = QuoteIfSpaced(lccPath + "\\bin\\wedit.exe") + " " +
                                    QuoteIfSpaced(JoinPath(folder, baseName + ".c"));
    const TaskId wedit =
        Start(platform.processes, commandLine, WindowStyle::MaximizedFocus, "Wedit");
    // Whether or not Wedit reports itself ready in time, the activation below
    // decides if it gets keys.
    platform.processes.WaitUntilReady(wedit, kWeditStartBound);
    DoEvents(desktop, 2);

    ActivateWedit(context, wedit, "the build command (F9)");
    DoEvents(desktop, 2);
    SendToWedit(context, wedit, "{F9}", "the build command (F9)");
    DoEvents(desktop, 6);
    SendToWedit(context, wedit, "{ENTER}", "Enter");
    DoEvents(desktop, 2);
    SendToWedit(context, wedit, "{ENTER}", "Enter");
    DoEvents(desktop, 16);
    context.run.ThrowIfStopped();

    // Wedit has the focus now; the box belongs to the main window, which comes
    // back in front so the box is not hidden behind Wedit.
    try {
        desktop.ActivateWindow(context.owner);
    } catch (const WindowNotFound&) {
        // The box still shows; it may just open behind Wedit.
    }
    desktop.MessageBox(context.owner, kWeditPrompt, BoxStyle::OkOnly, "");

    DoEvents(desktop, 2);
    ActivateWedit(context, wedit, "the debugger key (F5)");
    DoEvents(desktop, 2);
    SendToWedit(context, wedit, "{F5}", "the debugger key (F5)");
}

void RunBuiltProgram(DebugContext& context) {
    Platform& platform = context.platform;
    const std::string& folder = context.names.folder;
    const std::string program = context.names.baseName + ".exe";

    if (context.options.linkMode == LinkMode::Console) {
        try {
            platform.files.ChangeDirectory(folder);
        } catch (const std::exception& e) {
            throw Error("Could not change to the folder " + folder + ": " + e.what());
        }
        // The interpreter is started by its full path: by a bare name it
        // would be looked for in the current directory (the Basic file's)
        // first, where a cmd.exe that came with a project would run instead.
        const std::string system = GetSystemPath(platform.system);
        if (system.empty()) {
            throw Error(
                "The Windows system folder is unknown, so the command interpreter "
                "cannot be started");
        }
        const std::string cmd = JoinPath(system, "cmd.exe");
        const std::string interpreter =
            platform.files.FileExists(cmd) ? cmd : JoinPath(system, "command.com");
        // "/k" keeps the command window open after the program ends; the
        // program is found in the current directory.
        const std::string commandLine = QuoteIfSpaced(interpreter) + " /k " +
                                        ConsoleCommand(program, context.options.commandLine);
        Start(platform.processes, commandLine, WindowStyle::NormalFocus, "the program");
        return;
    }
    Start(platform.processes, QuoteIfSpaced(JoinPath(folder, program)), WindowStyle::NormalFocus,
          "the program");
}

void RemoveIntermediateFiles(DebugContext& context) {
    FileSystem& files = context.platform.files;
    const std::string& folder = context.names.folder;
    const std::string& baseName = context.names.baseName;
    for (const std::string& name :
         {std::string("lcc.err"), std::string("ktv.err"), baseName + ".obj", baseName + ".res"}) {
        const std::string path = JoinPath(folder, name);
        // A file that cannot go now is left for the next run.
        IgnoringFailure([&] {
            if (files.FileExists(path)) {
                files.DeleteFile(path);
            }
        });
    }
}

}  // namespace ktv
