#include "diagnostics/EditorNavigation.h"

#include <chrono>
#include <exception>
#include <optional>

#include "diagnostics/EditorCommandLines.h"
#include "diagnostics/LineText.h"
#include "diagnostics/SourceMarkers.h"
#include "platform/Errors.h"
#include "platform/Registry.h"

namespace ktv {
namespace {

// A started editor gets this long to put up its window before it is looked
// for; the activation is then tried a few times with the pending events
// processed in between. Keys are typed only into a window that came forward.
constexpr std::chrono::milliseconds kReadyBound{5000};
constexpr int kActivationAttempts = 5;

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
// pass of events. False when it never came forward.
bool BringForward(Platform& platform, TaskId task) {
    for (int attempt = 1;; ++attempt) {
        try {
            platform.desktop.ActivateByTask(task);
            return true;
        } catch (const WindowNotFound&) {
            if (attempt == kActivationAttempts) {
                return false;
            }
            platform.desktop.DoEvents();
        }
    }
}

// The event passes of the caller's timing before and after the started
// editor's window is brought forward.
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

// Ctrl+G, the line, Enter, Home, Shift+End. Without a line number the line is
// left out and the dialog confirmed as it stands.
void SendGoToLine(Desktop& desktop, const std::optional<std::string>& lineText, bool skipFailures) {
    std::vector<std::string> keys{"^g"};
    if (lineText) {
        keys.push_back(*lineText);
    }
    keys.insert(keys.end(), {"{ENTER}", "{HOME}", "+{END}"});
    for (const std::string& key : keys) {
        if (skipFailures) {
            Skipping([&] { desktop.SendKeys(key); });
        } else {
            desktop.SendKeys(key);
        }
    }
}

// Notepad: nothing is caught here; the caller decides what a failure means.
void OpenNotepad(DebugContext& context, const std::optional<std::string>& lineText,
                 NavigationTiming timing) {
    Platform& platform = context.platform;
    const EditorWaits waits = NotepadWaits(timing);
    const TaskId task =
        platform.processes.Start(NotepadCommandLine(context.form), WindowStyle::MaximizedFocus);
    platform.processes.WaitUntilReady(task, kReadyBound);
    DoEventsTimes(platform.desktop, waits.beforeActivation);
    if (!BringForward(platform, task)) {
        return;
    }
    DoEventsTimes(platform.desktop, waits.afterActivation);
    SendGoToLine(platform.desktop, lineText, /*skipFailures=*/false);
}

// JFE and ConTEXT: every failing step is skipped. A start that fails or a
// window that never comes forward leaves nothing to type into.
void OpenSkippingFailures(DebugContext& context, const std::string& commandLine,
                          const std::optional<std::string>& lineText, EditorWaits waits) {
    Platform& platform = context.platform;
    std::optional<TaskId> task;
    Skipping([&] { task = platform.processes.Start(commandLine, WindowStyle::MinimizedFocus); });
    if (!task) {
        return;
    }
    Skipping([&] { platform.processes.WaitUntilReady(*task, kReadyBound); });
    Skipping([&] { DoEventsTimes(platform.desktop, waits.beforeActivation); });
    bool forward = false;
    Skipping([&] { forward = BringForward(platform, *task); });
    if (!forward) {
        return;
    }
    Skipping([&] { DoEventsTimes(platform.desktop, waits.afterActivation); });
    SendGoToLine(platform.desktop, lineText, /*skipFailures=*/true);
}

void OpenJfe(DebugContext& context, const std::optional<std::string>& lineText,
             NavigationTiming timing) {
    Skipping([&] { ActivateJfeWindow(context); });
    Skipping([&] { DoEventsTimes(context.platform.desktop, 2); });
    OpenSkippingFailures(context, JfeCommandLine(context.form), lineText, JfeWaits(timing));
}

void OpenConText(DebugContext& context, const std::optional<std::string>& lineText,
                 NavigationTiming timing) {
    // Whether a ConTEXT window was there or not, a new one is started.
    Skipping([&] {
        context.platform.desktop.ActivateByTitle("ConTEXT - [" + context.form.Txt_BasFile.Text() +
                                                 "]");
    });
    OpenSkippingFailures(context, ConTextCommandLine(context.form), lineText, ConTextWaits(timing));
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
