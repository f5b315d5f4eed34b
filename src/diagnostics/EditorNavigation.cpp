#include "diagnostics/EditorNavigation.h"

#include <chrono>
#include <exception>
#include <functional>
#include <optional>
#include <vector>

#include "diagnostics/EditorCommandLines.h"
#include "diagnostics/LineText.h"
#include "diagnostics/SourceMarkers.h"
#include "platform/Errors.h"
#include "platform/Registry.h"

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

void DoEventsTimes(Desktop& desktop, int count) {
    for (int i = 0; i < count; ++i) {
        desktop.DoEvents();
    }
}

// Runs one step of the JFE and ConTEXT paths, where a failing step is skipped
// and the next one runs. False when the step failed.
template <typename Step>
bool Skipping(Step&& step) {
    try {
        step();
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

// Brings the started editor's window to the front, trying again after each
// pass of events. Nothing when it never came forward.
std::optional<TaskWindow> BringForward(Desktop& desktop, TaskId task) {
    for (int attempt = 1;; ++attempt) {
        try {
            return desktop.ActivateByTask(task);
        } catch (const WindowNotFound&) {
            if (attempt == kActivationAttempts) {
                return std::nullopt;
            }
            desktop.DoEvents();
        }
    }
}

// The editor's window: the started program's own or, for an editor that keeps
// one instance (a second start hands the file to the window already open and
// ends at once), that open window found by its titles. Nothing when neither
// comes forward: keys are typed into no other window.
std::optional<TaskWindow> FindEditorWindow(Desktop& desktop, std::optional<TaskId> task,
                                           const std::vector<std::string>& titles) {
    if (task) {
        if (std::optional<TaskWindow> own = BringForward(desktop, *task)) {
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
        return Skipping(action);
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
        NotepadCommandLine(platform.system.SystemDirectory(), context.form),
        WindowStyle::MaximizedFocus);
    platform.processes.WaitUntilReady(task, kReadyBound);
    DoEventsTimes(platform.desktop, waits.beforeActivation);
    const std::optional<TaskWindow> window = BringForward(platform.desktop, task);
    if (!window) {
        return;
    }
    DoEventsTimes(platform.desktop, waits.afterActivation);
    SendGoToLine(platform.desktop, *window, lineText, /*skipFailures=*/false);
}

// JFE and ConTEXT: every failing step is skipped.
void OpenSkippingFailures(DebugContext& context, const std::string& commandLine,
                          const std::vector<std::string>& titles,
                          const std::optional<std::string>& lineText, EditorWaits waits) {
    Platform& platform = context.platform;
    std::optional<TaskId> task;
    Skipping([&] { task = platform.processes.Start(commandLine, WindowStyle::MinimizedFocus); });
    if (task) {
        Skipping([&] { platform.processes.WaitUntilReady(*task, kReadyBound); });
    }
    Skipping([&] { DoEventsTimes(platform.desktop, waits.beforeActivation); });
    std::optional<TaskWindow> window;
    Skipping([&] { window = FindEditorWindow(platform.desktop, task, titles); });
    if (!window) {
        return;
    }
    Skipping([&] { DoEventsTimes(platform.desktop, waits.afterActivation); });
    SendGoToLine(platform.desktop, *window, lineText, /*skipFailures=*/true);
}

void OpenJfe(DebugContext& context, const std::optional<std::string>& lineText,
             NavigationTiming timing) {
    Skipping([&] { ActivateJfeWindow(context); });
    Skipping([&] { DoEventsTimes(context.platform.desktop, 2); });
    OpenSkippingFailures(context, JfeCommandLine(context.form),
                         JfeWindowTitles(context.run.fileName, context.form.Txt_BasFile.Text()),
                         lineText, JfeWaits(timing));
}

void OpenConText(DebugContext& context, const std::optional<std::string>& lineText,
                 NavigationTiming timing) {
    const std::string title = ConTextWindowTitle(context.form.Txt_BasFile.Text());
    // Whether a ConTEXT window was there or not, a new one is started.
    Skipping([&] { context.platform.desktop.ActivateByTitle(title); });
    OpenSkippingFailures(context, ConTextCommandLine(context.form), {title}, lineText,
                         ConTextWaits(timing));
}

}  // namespace

void OpenEditorAtLine(DebugContext& context, const std::string& basicLine,
                      NavigationTiming timing) {
    const MainForm& form = context.form;
    const std::optional<std::string> lineText = LineText(basicLine);
    if (form.Chk_Note.IsOn()) {
        OpenNotepad(context, lineText, timing);
        return;
    }
    if (form.Chk_Jen.IsOn()) {
        OpenJfe(context, lineText, timing);
    }
    if (form.Chk_Con.IsOn()) {
        OpenConText(context, lineText, timing);
    }
}

void ApplyNotepadWordWrapGuard(Registry& registry) {
    registry.SetDwordValue(RegistryRoot::CurrentUser, "Software\\Microsoft\\Notepad", "fWrap", 0);
}

}  // namespace ktv
