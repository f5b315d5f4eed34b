#include "debug/EditorNavigation.h"

#include <chrono>
#include <functional>
#include <optional>
#include <vector>

#include "debug/Diagnostics.h"
#include "debug/Editors.h"
#include "debug/SourceMarkers.h"
#include "platform/Registry.h"
#include "text/Errors.h"

namespace ktv {
namespace {

using std::chrono::milliseconds;

// A started editor gets this long to put up its window before it is looked
// for; the activation is then tried a few times with the pending events
// processed in between.
constexpr milliseconds kReadyBound{5000};
constexpr int kActivationAttempts = 5;

// How long an editor may take to put up its go-to box after Ctrl+G, and to
// come back in front once Enter has closed it, and how often the window in
// front is looked at meanwhile. Real editors open the box a moment after
// the key, some only once the key has gone through their own queue.
constexpr milliseconds kGoToBoxBound{5000};
constexpr milliseconds kPollInterval{25};

// The editor's window: the started program's own or, for an editor that keeps
// one instance (a second start hands the file to the window already open and
// ends at once), that open window found by its titles. Nothing when neither
// comes forward: keys are typed into no other window.
std::optional<TaskWindow> FindEditorWindow(Desktop& desktop, std::optional<TaskId> task,
                                           const std::vector<std::string>& titles) {
    if (task) {
        if (std::optional<TaskWindow> own = ActivateTask(desktop, *task, kActivationAttempts)) {
            return own;
        }
    }
    for (const std::string& title : titles) {
        try {
            return desktop.ActivateByTitle(title);
        } catch (const WindowNotFound&) {
            // Not this one: try the next title.
        }
    }
    return std::nullopt;
}

// Looks at the window in front until it is the one wanted or the bound passes.
bool WaitForFront(Desktop& desktop, const std::function<bool(const TaskWindow&)>& wanted) {
    for (milliseconds waited{0};; waited += kPollInterval) {
        if (wanted(desktop.Foreground())) {
            return true;
        }
        if (waited >= kGoToBoxBound) {
            return false;
        }
        desktop.Pause(kPollInterval);
    }
}

// Ctrl+G, the line, Enter, Home, Shift+End, each typed only into the window
// it is meant for: Ctrl+G into the editor, the line and Enter into its go-to
// box (any other window of the editor's task in front), Home and Shift+End
// into the editor again once the box has gone. Whatever does not come to the
// front in time ends the typing there, so the line number can never land in
// the document. Without a line number the box is confirmed as it stands.
void SendGoToLine(Desktop& desktop, const TaskWindow& editor,
                  const std::optional<std::string>& lineText, bool skipFailures) {
    const auto step = [&](const std::function<void()>& action) {
        if (!skipFailures) {
            action();
            return true;
        }
        return IgnoringFailure(action);
    };
    const auto waitFor = [&](const std::function<bool(const TaskWindow&)>& wanted) {
        bool inFront = false;
        return step([&] { inFront = WaitForFront(desktop, wanted); }) && inFront;
    };
    const auto isEditor = [&](const TaskWindow& front) { return front.window == editor.window; };
    const auto isGoToBox = [&](const TaskWindow& front) {
        return front.window != 0 && front.window != editor.window && front.task == editor.task;
    };
    const auto send = [&](const std::string& keys) { step([&] { desktop.SendKeys(keys); }); };

    if (!waitFor(isEditor)) {
        return;
    }
    send("^g");
    if (!waitFor(isGoToBox)) {
        return;
    }
    if (lineText) {
        send(*lineText);
    }
    send("{ENTER}");
    if (!waitFor(isEditor)) {
        return;
    }
    send("{HOME}");
    send("+{END}");
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

// Notepad: nothing is caught here; the caller decides what a failure means.
// It keeps no single instance, so only the started one is typed into.
void OpenNotepad(DebugContext& context, const std::optional<std::string>& lineText,
                 NavigationTiming timing) {
    Platform& platform = context.platform;
    const EditorWaits waits = NotepadWaits(timing);
    const TaskId task = platform.processes.Start(
        NotepadCommandLine(GetSystemPath(platform.system), context.options),
        WindowStyle::MaximizedFocus);
    platform.processes.WaitUntilReady(task, kReadyBound);
    DoEvents(platform.desktop, waits.beforeActivation);
    const std::optional<TaskWindow> window =
        ActivateTask(platform.desktop, task, kActivationAttempts);
    if (!window) {
        return;
    }
    DoEvents(platform.desktop, waits.afterActivation);
    SendGoToLine(platform.desktop, *window, lineText, /*skipFailures=*/false);
}

// JFE and ConTEXT: every failing step is skipped.
void OpenSkippingFailures(DebugContext& context, const std::string& commandLine,
                          const std::vector<std::string>& titles,
                          const std::optional<std::string>& lineText, EditorWaits waits) {
    Platform& platform = context.platform;
    std::optional<TaskId> task;
    IgnoringFailure(
        [&] { task = platform.processes.Start(commandLine, WindowStyle::MinimizedFocus); });
    if (task) {
        IgnoringFailure([&] { platform.processes.WaitUntilReady(*task, kReadyBound); });
    }
    IgnoringFailure([&] { DoEvents(platform.desktop, waits.beforeActivation); });
    std::optional<TaskWindow> window;
    IgnoringFailure([&] { window = FindEditorWindow(platform.desktop, task, titles); });
    if (!window) {
        return;
    }
    IgnoringFailure([&] { DoEvents(platform.desktop, waits.afterActivation); });
    SendGoToLine(platform.desktop, *window, lineText, /*skipFailures=*/true);
}

void OpenJfe(DebugContext& context, const std::optional<std::string>& lineText,
             NavigationTiming timing) {
    IgnoringFailure([&] { ActivateJfeWindow(context); });
    IgnoringFailure([&] { DoEvents(context.platform.desktop, 2); });
    OpenSkippingFailures(context, JfeCommandLine(context.options),
                         JfeWindowTitles(context.names.fileName, context.options.basicFile),
                         lineText, JfeWaits(timing));
}

void OpenConText(DebugContext& context, const std::optional<std::string>& lineText,
                 NavigationTiming timing) {
    const std::string title = ConTextWindowTitle(context.options.basicFile);
    // Whether a ConTEXT window was there or not, a new one is started.
    IgnoringFailure([&] { context.platform.desktop.ActivateByTitle(title); });
    OpenSkippingFailures(context, ConTextCommandLine(context.options), {title}, lineText,
                         ConTextWaits(timing));
}

}  // namespace

void OpenEditorAtLine(DebugContext& context, const std::string& basicLine,
                      NavigationTiming timing) {
    const std::optional<std::string> lineText = LineText(basicLine);
    switch (context.options.editor) {
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
