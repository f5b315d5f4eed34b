#include "FakePlatform.h"

#include "platform/Errors.h"
#include "platform/KeyText.h"

namespace ktv::fakes {

void FakeProcesses::MaybeFail(const std::string& commandLine) {
    for (const std::string& text : failing_) {
        if (commandLine.find(text) != std::string::npos) {
            throw StartFailed("Cannot start " + commandLine);
        }
    }
}

void FakeProcesses::RunHidden(const std::string& commandLine) {
    transcript_.Add("run-hidden: " + commandLine);
    MaybeFail(commandLine);
    if (onRun) {
        onRun(commandLine);
    }
}

TaskId FakeProcesses::Start(const std::string& commandLine, WindowStyle style) {
    transcript_.Add("start[" + std::to_string(static_cast<int>(style)) + "]: " + commandLine);
    MaybeFail(commandLine);
    const TaskId task = nextTask_++;
    if (onRun) {
        onRun(commandLine);
    }
    return task;
}

bool FakeProcesses::WaitUntilReady(TaskId task, std::chrono::milliseconds) {
    transcript_.Add("wait-ready: " + std::to_string(task));
    return readyAnswer;
}

TaskWindow FakeDesktop::ActivateByTitle(const std::string& title) {
    std::optional<TaskWindow> found;
    if (const auto it = windows.find(title); it != windows.end()) {
        found = it->second;
    } else if (windowTitles.count(title) > 0) {
        found = TaskWindow{9000, 900};
    }
    transcript_.Add("activate-title: " + title + (found ? "" : " (not found)"));
    if (!found) {
        throw WindowNotFound("No window titled " + title);
    }
    ComeToFront(*found);
    return *found;
}

void FakeDesktop::ActivateWindow(WindowRef window) {
    transcript_.Add("activate-window: " + std::to_string(window));
}

TaskWindow FakeDesktop::ActivateByTask(TaskId task) {
    const bool found = tasksWithoutWindow.count(task) == 0;
    transcript_.Add("activate-task: " + std::to_string(task) + (found ? "" : " (not found)"));
    if (!found) {
        throw WindowNotFound("No window of task " + std::to_string(task));
    }
    const TaskWindow window{WindowRef{10} * task, task};
    ComeToFront(window);
    return window;
}

void FakeDesktop::ComeToFront(TaskWindow window) {
    front = window;
    boxOwner_.reset();
    nextFront_.reset();
}

TaskWindow FakeDesktop::Foreground() {
    if (nextFront_ && --looksUntilNextFront_ <= 0) {
        front = *nextFront_;
        nextFront_.reset();
    }
    return front;
}

void FakeDesktop::SendKeys(const std::string& keyText) {
    ParseKeyText(keyText);  // a bad key text fails here as it does for real
    const bool toBox = boxOwner_ && front.window == boxOwner_->window + 1;
    transcript_.Add((toBox ? "box-keys: " : "keys: ") + keyText);
    if (goToBoxDelay < 0 || nextFront_) {
        return;
    }
    if (!toBox && keyText == "^g" && front.window != 0) {
        boxOwner_ = front;
        nextFront_ = TaskWindow{front.window + 1, front.task};
    } else if (toBox && keyText == "{ENTER}") {
        nextFront_ = editorComesBack ? *boxOwner_ : TaskWindow{};
    } else {
        return;
    }
    looksUntilNextFront_ = goToBoxDelay;
    if (goToBoxDelay == 0) {
        Foreground();
    }
}

void FakeDesktop::DoEvents() {
    transcript_.Add("do-events");
}

void FakeDesktop::SetBusyCursor(bool isBusy) {
    busy = isBusy;
    transcript_.Add(isBusy ? "cursor: busy" : "cursor: default");
}

int FakeDesktop::MessageBox(WindowRef, const std::string& prompt, int buttons,
                            const std::string& title) {
    transcript_.Add("box[" + std::to_string(buttons) + "|" +
                    (title.empty() ? std::string(kProgramTitle) : title) + "]: " + prompt);
    if (onMessageBox) {
        onMessageBox(prompt);
    }
    if (boxAnswers.empty()) {
        return 1;
    }
    const int answer = boxAnswers.front();
    boxAnswers.pop_front();
    return answer;
}

std::optional<std::string> FakeDesktop::BrowseForFolder(WindowRef, const std::string& title) {
    transcript_.Add("folder-picker: " + title);
    if (folderAnswers.empty()) {
        return std::nullopt;
    }
    auto answer = folderAnswers.front();
    folderAnswers.pop_front();
    return answer;
}

std::optional<std::string> FakeDesktop::OpenFileDialog(const FileOpenRequest& request) {
    std::string filters;
    for (const auto& [description, pattern] : request.filters) {
        filters += (filters.empty() ? "" : "|") + description + "|" + pattern;
    }
    transcript_.Add("open-file: " + request.title + " name=" + request.initialName +
                    " folder=" + request.initialFolder + " filters=" + filters);
    if (fileAnswers.empty()) {
        return std::nullopt;
    }
    auto answer = fileAnswers.front();
    fileAnswers.pop_front();
    return answer;
}

void FakeRegistry::SetDwordValue(RegistryRoot root, const std::string& subKey,
                                 const std::string& valueName, std::uint32_t value) {
    const std::string rootName = root == RegistryRoot::CurrentUser ? "HKCU" : "?";
    const std::string path = rootName + "\\" + subKey + "\\" + valueName;
    transcript_.Add("registry: " + path + " = " + std::to_string(value));
    values[path] = value;
}

}  // namespace ktv::fakes
