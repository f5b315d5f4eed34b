#include "debug/EditorNavigation.h"

#include <chrono>
#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "debug/Diagnostics.h"
#include "debug/EditorCommands.h"
#include "debug/Editors.h"
#include "debug/ErrorBoxes.h"
#include "debug/GoToLineKeys.h"
#include "debug/SourceMarkers.h"
#include "platform/Registry.h"
#include "text/Errors.h"

namespace ktv {
namespace {

using std::chrono::milliseconds;

// A started editor gets this long to put up its window before it is looked
// for; the activation is then tried a few times with time in between, and a
// window found by its title gets this long to settle in front.
constexpr milliseconds kReadyBound{5000};
constexpr int kActivationAttempts = 5;
constexpr milliseconds kSettleBound{1000};

// The editor's window: the one of the started program's that is in front
// once activation has settled or, for an editor that keeps one instance (a
// second start hands the file to the window already open and ends at once),
// that open window found by its titles. Nothing when neither comes forward:
// keys are typed into no other window.
std::optional<TaskWindow> FindEditorWindow(DebugContext& context, std::optional<TaskId> task,
                                           const std::vector<std::string>& titles) {
    Desktop& desktop = context.platform.desktop;
    const StopRequest& stop = context.run.Stop();
    if (task) {
        if (std::optional<TaskWindow> own =
                ActivateTask(desktop, *task, kActivationAttempts, stop)) {
            return own;
        }
    }
    for (const std::string& title : titles) {
        try {
            const TaskWindow found = desktop.ActivateByTitle(title);
            if (std::optional<TaskWindow> front =
                    SettledWindowOf(desktop, found.task, kSettleBound, stop)) {
                return front;
            }
        } catch (const WindowNotFound&) {
            // Not this one: try the next title.
        }
    }
    return std::nullopt;
}

// Starts the editor; one that cannot start is told in a box that names it,
// whatever led to it. Nothing then.
std::optional<TaskId> StartEditor(DebugContext& context, std::string_view name,
                                  const std::string& commandLine, WindowStyle style) {
    try {
        return context.platform.processes.Start(commandLine, style);
    } catch (const std::exception& failure) {
        IgnoringFailure([&] {
            ErrorBox(context.platform.desktop, context.owner,
                     "Could not start " + std::string(name) + ": " + failure.what());
        });
        return std::nullopt;
    }
}

// The event passes of the caller's timing before and after the editor's
// window is brought forward.
struct EditorWaits {
    int beforeActivation = 0;
    int afterActivation = 0;
};

EditorWaits NotepadWaits(NavigationTiming) {
    return {2, 6};
}

EditorWaits JfeWaits(NavigationTiming timing) {
    return timing == NavigationTiming::Compiler ? EditorWaits{3, 6} : EditorWaits{0, 1};
}

EditorWaits ConTextWaits(NavigationTiming) {
    return {0, 1};
}

// Notepad: a failure after the start reaches the caller, which decides what
// it means. It keeps no single instance, so only the started one is typed
// into.
void OpenNotepad(DebugContext& context, const std::optional<std::string>& lineText,
                 NavigationTiming timing) {
    Platform& platform = context.platform;
    const EditorWaits waits = NotepadWaits(timing);
    const std::optional<TaskId> task = StartEditor(
        context, "Notepad", NotepadCommandLine(GetSystemPath(platform.system), context.options),
        WindowStyle::MaximizedFocus);
    if (!task) {
        return;
    }
    platform.processes.WaitUntilReady(*task, kReadyBound);
    DoEvents(platform.desktop, waits.beforeActivation);
    const std::optional<TaskWindow> window = FindEditorWindow(context, task, {});
    if (!window) {
        return;
    }
    DoEvents(platform.desktop, waits.afterActivation);
    SendGoToLine(platform.desktop, context.run, *window, "Notepad", lineText,
                 /*skipFailures=*/false);
}

// JFE and ConTEXT: every failing step is skipped.
void OpenSkippingFailures(DebugContext& context, std::string_view name,
                          const std::string& commandLine, const std::vector<std::string>& titles,
                          const std::optional<std::string>& lineText, EditorWaits waits) {
    Platform& platform = context.platform;
    const std::optional<TaskId> task =
        StartEditor(context, name, commandLine, WindowStyle::MinimizedFocus);
    if (task) {
        IgnoringFailure([&] { platform.processes.WaitUntilReady(*task, kReadyBound); });
    }
    IgnoringFailure([&] { DoEvents(platform.desktop, waits.beforeActivation); });
    std::optional<TaskWindow> window;
    IgnoringFailure([&] { window = FindEditorWindow(context, task, titles); });
    if (!window) {
        return;
    }
    IgnoringFailure([&] { DoEvents(platform.desktop, waits.afterActivation); });
    SendGoToLine(platform.desktop, context.run, *window, name, lineText, /*skipFailures=*/true);
}

void OpenJfe(DebugContext& context, const std::optional<std::string>& lineText,
             NavigationTiming timing) {
    IgnoringFailure([&] { ActivateJfeWindow(context); });
    IgnoringFailure([&] { DoEvents(context.platform.desktop, 2); });
    OpenSkippingFailures(context, "JFE", JfeCommandLine(context.options),
                         JfeWindowTitles(context.names.fileName, context.options.basicFile),
                         lineText, JfeWaits(timing));
}

void OpenConText(DebugContext& context, const std::optional<std::string>& lineText,
                 NavigationTiming timing) {
    const std::string title = ConTextWindowTitle(context.options.basicFile);
    // Whether a ConTEXT window was there or not, a new one is started.
    IgnoringFailure([&] { context.platform.desktop.ActivateByTitle(title); });
    OpenSkippingFailures(context, "ConTEXT", ConTextCommandLine(context.options), {title}, lineText,
                         ConTextWaits(timing));
}

}  // namespace

void OpenInMyEditor(DebugContext& context, const std::string& file, const std::string& line) {
    const auto tell = [&](const std::string& text) {
        IgnoringFailure([&] { ErrorBox(context.platform.desktop, context.owner, text); });
    };
    const std::string& commandTemplate = context.options.editorCommand;
    if (const std::optional<std::string> problem = EditorCommandProblem(commandTemplate)) {
        tell(*problem);
        return;
    }
    const std::string commandLine = ExpandEditorCommand(commandTemplate, file, line);
    try {
        context.platform.processes.Start(commandLine, WindowStyle::NormalFocus);
    } catch (const std::exception& failure) {
        tell(std::string("Could not start your editor: ") + failure.what());
    }
}

void OpenEditorAtLine(DebugContext& context, const std::string& basicLine,
                      NavigationTiming timing) {
    if (context.run.StopRequested()) {
        return;
    }
    const std::optional<std::string> lineText = LineText(basicLine);
    switch (context.options.editor) {
        case EditorChoice::MyEditor:
            // Without a line number in the report, the file opens at its top.
            OpenInMyEditor(context, context.options.basicFile,
                           lineText ? lineText->substr(1) : "1");
            break;
        case EditorChoice::Notepad:
            OpenNotepad(context, lineText, timing);
            break;
        case EditorChoice::JFE:
            OpenJfe(context, lineText, timing);
            break;
        case EditorChoice::ConTEXT:
            OpenConText(context, lineText, timing);
            break;
        case EditorChoice::None:
            break;
    }
}

void ApplyNotepadWordWrapGuard(Registry& registry) {
    registry.SetDwordValue(RegistryRoot::CurrentUser, "Software\\Microsoft\\Notepad", "fWrap", 0);
}

}  // namespace ktv
