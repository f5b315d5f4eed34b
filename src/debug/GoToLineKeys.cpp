#include "debug/GoToLineKeys.h"

#include <chrono>
#include <functional>

#include "text/Errors.h"

namespace ktv {
namespace {

using std::chrono::milliseconds;

// How long an editor may take to put up its go-to box after Ctrl+G, and to
// come back in front once Enter has closed it, and how often the window in
// front is looked at meanwhile. Real editors open the box a moment after
// the key, some only once the key has gone through their own queue.
constexpr milliseconds kGoToBoxBound{5000};
constexpr milliseconds kPollInterval{25};

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

// Looks at the window in front until it is `wanted` (or `stopAt`), for at
// most kGoToBoxBound; while a question of the editor's is in front, the bound
// is kQuestionBound, and it starts again once the question has gone. Returns
// what was in front last.
InFront WaitFor(Desktop& desktop, const TaskWindow& editor, InFront wanted, InFront stopAt) {
    milliseconds waited{0};
    milliseconds asked{0};
    for (;;) {
        const InFront front = Classify(desktop.Foreground(), editor);
        if (front == wanted || front == stopAt) {
            return front;
        }
        if (front == InFront::Question) {
            waited = milliseconds{0};
            asked += kPollInterval;
            if (asked > kQuestionBound) {
                return front;
            }
        } else {
            waited += kPollInterval;
            if (waited > kGoToBoxBound) {
                return front;
            }
        }
        desktop.Pause(kPollInterval);
    }
}

}  // namespace

void SendGoToLine(Desktop& desktop, const TaskWindow& editor,
                  const std::optional<std::string>& lineText, bool skipFailures) {
    const auto step = [&](const std::function<void()>& action) {
        if (!skipFailures) {
            action();
            return true;
        }
        return IgnoringFailure(action);
    };
    const auto waitFor = [&](InFront wanted, InFront stopAt) {
        InFront reached = InFront::Other;
        return step([&] { reached = WaitFor(desktop, editor, wanted, stopAt); }) ? reached
                                                                                 : InFront::Other;
    };
    const auto send = [&](const std::string& keys) { step([&] { desktop.SendKeys(keys); }); };

    // A question the editor asks as it comes forward is answered first.
    if (waitFor(InFront::Editor, InFront::Editor) != InFront::Editor) {
        return;
    }
    for (int press = 0; press < 2; ++press) {
        send("^g");
        const InFront reached = waitFor(InFront::GoToBox, InFront::Question);
        if (reached == InFront::GoToBox) {
            if (lineText) {
                send(*lineText);
            }
            send("{ENTER}");
            if (waitFor(InFront::Editor, InFront::Editor) == InFront::Editor) {
                send("{HOME}");
                send("+{END}");
            }
            return;
        }
        // A question instead of the box: once the user has answered it and the
        // editor is back in front, Ctrl+G goes once more.
        if (reached != InFront::Question ||
            waitFor(InFront::Editor, InFront::Editor) != InFront::Editor) {
            return;
        }
    }
}

}  // namespace ktv
