#include "debug/DebugRun.h"

#include <exception>

#include "debug/BuildChain.h"
#include "debug/EditorNavigation.h"
#include "debug/ErrorBoxes.h"
#include "debug/ErrorReaders.h"
#include "debug/PostBuild.h"
#include "debug/SourceMarkers.h"
#include "debug/ToolCommands.h"
#include "text/Errors.h"

namespace ktv {
namespace {

// The build as the window shows it: boxes, the editor, the Problems list.
class WindowBuild : public BuildHost {
public:
    WindowBuild(DebugContext& context, RunWindow& window)
        : context_(context), window_(window), desktop_(context.platform.desktop) {}

private:
    void Begin() override {
        window_.SetButtonsEnabled(false);  // "Debug" among them: no second run can start
        window_.SetWindowEnabled(false);
        DoEvents(desktop_, 2);
        ApplyNotepadWordWrapGuard(context_.platform.registry);
        desktop_.SetBusyCursor(true);
        DoEvents(desktop_, 1);
    }

    void ShowDirectories(const std::string& lccPath, const std::string& ktvPath) override {
        window_.ShowDirectories(lccPath, ktvPath);
    }

    bool CheckMarker(const std::string& basicPath) override {
        return !InsertSourceMarkers(context_, basicPath);  // inserted: Debug again
    }

    bool TranslatorReport(const std::string& errorFile) override {
        return ShowBasicErrors(context_, errorFile) || OfferProblems(false);
    }

    void CompilerFinished() override { DoEvents(desktop_, 1); }

    bool CompilerReport(const std::string& errorFile) override {
        const bool clean = ShowCErrors(context_, errorFile) &&
                           (!context_.options.checkWarnings || ShowCWarnings(context_, errorFile));
        return clean || OfferProblems(true);
    }

    // The text fields may be edited again; the buttons stay locked.
    void SourceClean() override {
        window_.SetWindowEnabled(true);
        desktop_.SetBusyCursor(false);
        DoEvents(desktop_, 1);
    }

    // Pointer back to the arrow, then the box.
    void Failed(std::string_view text) override {
        IgnoringFailure([&] { desktop_.SetBusyCursor(false); });
        ErrorBox(desktop_, context_.owner, text);
    }

    // "Success!", then the chosen action for a program (none for a DLL).
    void Built(const std::string&, bool dll) override {
        const DebugOptions& options = context_.options;
        if (!Try("Could not show the result",
                 [&] {
                     desktop_.MessageBox(
                         context_.owner,
                         SuccessPrompt(context_.run.baseName, options.checkWarnings, dll),
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

    // The box has shown one problem and the editor has its line; when the
    // error files hold more, the list shows them all. Always false: the run
    // ends on the report.
    bool OfferProblems(bool compilerRan) {
        IgnoringFailure([&] {
            ProblemList list = ReadRunProblems(context_.platform.files, context_.options,
                                               context_.run, compilerRan);
            if (list.problems.size() > 1) {
                window_.ShowProblems(std::move(list));
            }
        });
        return false;
    }

    template <typename Body>
    bool Try(std::string_view failure, Body&& body) {
        try {
            body();
            return true;
        } catch (const std::exception& e) {
            Failed(std::string(failure) + ": " + e.what());
        } catch (...) {
            Failed(std::string(failure) + ": unknown failure");
        }
        return false;
    }

    DebugContext& context_;
    RunWindow& window_;
    Desktop& desktop_;
};

}  // namespace

void RunDebug(DebugContext& context, RunWindow& window) {
    WindowBuild host(context, window);
    RunBuild(context, host);
}

}  // namespace ktv
