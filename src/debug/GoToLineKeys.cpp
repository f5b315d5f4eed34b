#include "debug/GoToLineKeys.h"

#include <algorithm>
#include <chrono>
#include <functional>
#include <initializer_list>
#include <string>

#include "text/Errors.h"

namespace ktv {
namespace {

using std::chrono::milliseconds;

// How long an editor may take to put up its go-to box after Ctrl+G, and to
// come back in front once Enter has closed it. Real editors open the box a
// moment after the key, some only once the key has gone through their own
// queue. What is in front is decided on settled looks (FrontLooks).
constexpr milliseconds kGoToBoxBound{5000};

// A question of the editor's waits for the user to read and answer it.
constexpr milliseconds kQuestionBound{120000};

enum class InFront { Editor, GoToBox, Question, Other };

InFront Classify(const TaskWindow& front, const TaskWindow& editor) {
    if (front.window == 0 || front.task != editor.task) {
        return InFront::Other;
    }
    if (front.window == editor.window) {
        return InFront::Editor;
    }
    return front.focusInField ? InFront::GoToBox : InFront::Question;
}

// Looks at the window in front until one of the `wanted` kinds has settled
// there, for at most kGoToBoxBound; while a settled question of the editor's
// is in front, the bound is kQuestionBound, and it starts again once the
// question has gone. Returns the kind that settled, or Other when the bound
// ran out or the run was stopped.
class FrontWatch {
public:
    FrontWatch(Desktop& desktop, RunControl& run, const TaskWindow& editor,
               std::string_view editorName)
        : desktop_(desktop), run_(run), editor_(editor), editorName_(editorName) {}
    FrontWatch(const FrontWatch&) = delete;
    FrontWatch& operator=(const FrontWatch&) = delete;
    ~FrontWatch() {
        IgnoringFailure([&] { ShowQuestion(false); });
    }

    InFront WaitFor(std::initializer_list<InFront> wanted) {
        FrontLooks looks(desktop_, run_.Stop());
        milliseconds waited{0};
        milliseconds asked{0};
        for (;;) {
            bool settled = false;
            const InFront kind = Classify(looks.Look(settled), editor_);
            ShowQuestion(settled && kind == InFront::Question);
            if (settled && std::find(wanted.begin(), wanted.end(), kind) != wanted.end()) {
                return kind;
            }
            if (settled && kind == InFront::Question) {
                waited = milliseconds{0};
                asked += FrontLooks::kPollInterval;
                if (asked > kQuestionBound) {
                    return InFront::Other;
                }
            } else {
                waited += FrontLooks::kPollInterval;
                if (waited > kGoToBoxBound) {
                    return InFront::Other;
                }
            }
            if (!looks.Wait()) {
                return InFront::Other;
            }
        }
    }

    // The run's step says so while a question waits for the user.
    void ShowQuestion(bool up) {
        if (up != questionShown_) {
            questionShown_ = up;
            run_.ShowStep(up ? "Waiting for " + std::string(editorName_) + "'s question" : "");
        }
    }

private:
    Desktop& desktop_;
    RunControl& run_;
    const TaskWindow& editor_;
    std::string_view editorName_;
    bool questionShown_ = false;
};

}  // namespace

void SendGoToLine(Desktop& desktop, RunControl& run, const TaskWindow& editor,
                  std::string_view editorName, const std::optional<std::string>& lineText,
                  bool skipFailures) {
    const auto step = [&](const std::function<void()>& action) {
        if (!skipFailures) {
            action();
            return true;
        }
        return IgnoringFailure(action);
    };
    FrontWatch watch(desktop, run, editor, editorName);
    const auto waitFor = [&](std::initializer_list<InFront> wanted) {
        InFront reached = InFront::Other;
        return step([&] { reached = watch.WaitFor(wanted); }) ? reached : InFront::Other;
    };
    const auto send = [&](const std::string& keys) {
        if (!run.StopRequested()) {
            step([&] { desktop.SendKeys(keys); });
        }
    };

    // A question the editor asks as it comes forward is answered first.
    if (waitFor({InFront::Editor}) != InFront::Editor) {
        return;
    }
    for (int press = 0; press < 2; ++press) {
        send("^g");
        InFront reached = waitFor({InFront::GoToBox, InFront::Question});
        if (reached == InFront::Question) {
            // A question instead of the box: once the user has answered it,
            // the box may follow by itself; if the editor is back instead,
            // Ctrl+G goes once more.
            reached = waitFor({InFront::GoToBox, InFront::Editor});
            if (reached == InFront::Editor) {
                continue;
            }
        }
        if (reached != InFront::GoToBox) {
            return;
        }
        if (lineText) {
            send(*lineText);
        }
        send("{ENTER}");
        if (waitFor({InFront::Editor}) == InFront::Editor) {
            send("{HOME}");
            send("+{END}");
        }
        return;
    }
}

}  // namespace ktv
