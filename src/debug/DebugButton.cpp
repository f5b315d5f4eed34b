#include "debug/DebugButton.h"

#include <chrono>
#include <string>
#include <string_view>

#include "debug/EditorNavigation.h"
#include "debug/ErrorBoxes.h"
#include "debug/PostBuild.h"
#include "debug/ProblemReport.h"
#include "debug/RunStatus.h"
#include "debug/SourceMarkers.h"
#include "debug/ToolChain.h"
#include "debug/ToolCommands.h"
#include "text/Errors.h"

namespace ktv {
namespace {

// The build as the window shows it: boxes, the editor, the Problems list.
class WindowHost : public ToolChainHost {
public:
    WindowHost(DebugContext& context, DebugButtonWindow& window)
        : context_(context), window_(window), desktop_(context.platform.desktop) {}

private:
    void Begin() override {
        started_ = context_.platform.system.MonotonicTime();
        window_.SetButtonsEnabled(false);  // "Debug" now reads "Stop": no second run can start
        window_.SetWindowEnabled(false);
        DoEvents(desktop_, 2);
        // Word wrap off lets Home and Shift+End select a whole line in a
        // Notepad steered by keys; the user's own editor is left alone.
        if (context_.options.editor != EditorChoice::MyEditor) {
            ApplyNotepadWordWrapGuard(context_.platform.registry);
        }
        desktop_.SetBusyCursor(true);
        DoEvents(desktop_, 1);
    }

    void ShowDirectories(const std::string& lccPath, const std::string& ktvPath) override {
        window_.ShowDirectories(lccPath, ktvPath);
    }

    bool CheckMarker(const std::string& basicPath) override {
        if (!InsertSourceMarkers(context_, basicPath)) {
            return true;
        }
        window_.ShowOutcome(MarkerAddedText(context_.names.fileName));  // Debug again
        return false;
    }

    void CompilerFinished() override { DoEvents(desktop_, 1); }

    // The box shows one problem and the editor goes to its line; when the
    // error files hold more, the list then shows them all, also when the box
    // could not read its problem. Warnings that do not end the build are not
    // shown.
    void ReportProblems(const RunProblems& problems, bool endsBuild) override {
        if (!endsBuild) {
            return;
        }
        window_.ShowOutcome(ProblemCountText(problems));
        try {
            if (ShowBasicErrors(context_, problems) && ShowCErrors(context_, problems) &&
                context_.options.checkWarnings) {
                ShowCWarnings(context_, problems);
            }
        } catch (...) {
            ListProblems(problems);
            throw;
        }
        ListProblems(problems);
    }

    void ListProblems(const RunProblems& problems) {
        if (problems.problems.size() > 1) {
            IgnoringFailure([&] { window_.ShowProblems(problems); });
        }
    }

    // The text fields may be edited again; the buttons stay locked.
    void SourceClean() override {
        window_.SetWindowEnabled(true);
        desktop_.SetBusyCursor(false);
        DoEvents(desktop_, 1);
    }

    // Pointer back to the arrow, then the box.
    void Failed(std::string_view text) override {
        IgnoringFailure([&] { window_.ShowOutcome(FailureText(text)); });
        IgnoringFailure([&] { desktop_.SetBusyCursor(false); });
        ErrorBox(desktop_, context_.owner, text);
    }

    void Stopped() override { window_.ShowOutcome(std::string(kStoppedStatus)); }

    // "Success!", then the chosen action for a program (none for a DLL).
    void Built(const std::string& outputPath, bool dll) override {
        const DebugOptions& options = context_.options;
        IgnoringFailure([&] {
            window_.ShowOutcome(
                BuiltText(outputPath, context_.platform.system.MonotonicTime() - started_));
        });
        if (!Try("Could not show the result",
                 [&] {
                     desktop_.MessageBox(
                         context_.owner,
                         SuccessPrompt(context_.names.baseName, options.checkWarnings, dll),
                         BoxStyle::Information, "Success!");
                 }) ||
            dll) {
            return;
        }
        if (options.debugInWedit && !Try("Could not open Wedit", [&] { OpenInWedit(context_); })) {
            return;
        }
        if (options.runProgram) {
            Try("Could not start the program", [&] { RunBuiltProgram(context_); });
        }
    }

    // Each by itself, so that one that fails does not keep the window locked.
    void End() override {
        IgnoringFailure([&] { window_.SetWindowEnabled(true); });
        IgnoringFailure([&] { window_.SetButtonsEnabled(true); });
        IgnoringFailure([&] { desktop_.DoEvents(); });
        IgnoringFailure([&] { desktop_.SetBusyCursor(false); });
    }

    template <typename Body>
    bool Try(std::string_view failure, Body&& body) {
        return ReportingFailure(body, [&](std::string_view reason) {
            Failed(std::string(failure) + ": " + std::string(reason));
        });
    }

    DebugContext& context_;
    DebugButtonWindow& window_;
    Desktop& desktop_;
    std::chrono::milliseconds started_{0};
};

}  // namespace

void RunDebugButton(DebugContext& context, DebugButtonWindow& window) {
    WindowHost host(context, window);
    RunToolChain(context, host);
}

}  // namespace ktv
