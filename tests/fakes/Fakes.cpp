#include "Fakes.h"

#include <algorithm>
#include <iterator>

#include "text/Errors.h"
#include "text/KeyText.h"
#include "text/Paths.h"
#include "text/Strings.h"

namespace ktv::fakes {

std::vector<std::string> Transcript::Only(std::initializer_list<std::string_view> prefixes) const {
    std::vector<std::string> out;
    std::copy_if(entries_.begin(), entries_.end(), std::back_inserter(out), [&](const auto& entry) {
        return std::any_of(prefixes.begin(), prefixes.end(),
                           [&](std::string_view prefix) { return entry.starts_with(prefix); });
    });
    return out;
}

std::vector<std::string> Transcript::Folded() const {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < entries_.size();) {
        std::size_t run = 0;
        while (i + run < entries_.size() && entries_[i + run] == "do-events") {
            ++run;
        }
        out.push_back(run == 0   ? entries_[i]
                      : run == 1 ? "do-events"
                                 : "do-events x" + std::to_string(run));
        i += std::max<std::size_t>(run, 1);
    }
    return out;
}

std::string FakeFileSystem::Key(const std::string& path) const {
    const bool absolute = (path.size() >= 2 && path[1] == ':') || path.starts_with("\\\\");
    std::string key = absolute || path.empty() ? path : JoinPath(currentDirectory, path);
    for (char& c : key) {
        c = ToLowerAscii(c);
    }
    for (std::size_t at; (at = key.find("\\\\", 2)) != std::string::npos;) {
        key.erase(at, 1);  // as Windows reads "c:\lcc\\bin"
    }
    while (key.size() > 3 && key.back() == '\\') {
        key.pop_back();
    }
    return key;
}

void FakeFileSystem::MaybeFail(FsOp op, const std::string& key, const std::string& entry) {
    if (!entry.empty()) {
        transcript_.Add(entry);
    }
    for (auto it = failures_.begin(); it != failures_.end(); ++it) {
        if (it->first == op && (it->second.empty() || it->second == key)) {
            failures_.erase(it);
            throw FileError("Injected failure on " + key);
        }
    }
}

void FakeFileSystem::AddFile(const std::string& path, std::string bytes) {
    files_[Key(path)] = File{std::move(bytes), ++clock_};
    AddFolder(GetFolder(Key(path)));
}

void FakeFileSystem::AddFolder(const std::string& path) {
    for (std::string folder = Key(path); !folder.empty(); folder = GetFolder(folder)) {
        folders_.insert(folder);
    }
}

std::optional<std::string> FakeFileSystem::Content(const std::string& path) const {
    const auto it = files_.find(Key(path));
    return it == files_.end() ? std::nullopt : std::optional(it->second.bytes);
}

std::string FakeFileSystem::ReadFile(const std::string& path) {
    if (const std::optional<std::string> bytes = Content(path); bytes && !path.empty()) {
        return *bytes;
    }
    throw FileError("File not found: " + path);
}

void FakeFileSystem::WriteFile(const std::string& path, const std::string& bytes) {
    const std::string key = Key(path);
    MaybeFail(FsOp::Write, key, "");
    if (GetFolder(key).size() > 2 && folders_.count(GetFolder(key)) == 0) {
        throw FileError("Path not found: " + path);
    }
    transcript_.Add("write-file: " + path);
    files_[key] = File{bytes, ++clock_};
}

void FakeFileSystem::DeleteFile(const std::string& path) {
    MaybeFail(FsOp::Delete, Key(path), "delete-file: " + path);
    if (files_.erase(Key(path)) == 0) {
        throw FileError("File not found: " + path);
    }
}

void FakeFileSystem::DeleteFolder(const std::string& path) {
    const std::string key = Key(path);
    MaybeFail(FsOp::DeleteFolder, key, "delete-folder: " + path);
    if (folders_.count(key) == 0) {
        throw FileError("Folder not found: " + path);
    }
    std::erase_if(files_, [&](const auto& entry) { return entry.first.starts_with(key + "\\"); });
    std::erase_if(folders_,
                  [&](const std::string& f) { return f == key || f.starts_with(key + "\\"); });
}

std::optional<FileStamp> FakeFileSystem::Stamp(const std::string& path) {
    const auto it = files_.find(Key(path));
    return it == files_.end() ? std::nullopt
                              : std::optional(FileStamp{it->second.time, it->second.bytes.size()});
}

void FakeFileSystem::CreateFolder(const std::string& path) {
    const std::string key = Key(path);
    MaybeFail(FsOp::CreateFolder, key, "");
    if (GetFolder(key).size() > 2 && folders_.count(GetFolder(key)) == 0) {
        throw FileError("Path not found: " + path);
    }
    folders_.insert(key);
}

void FakeFileSystem::ChangeDirectory(const std::string& folder) {
    MaybeFail(FsOp::ChangeDirectory, Key(folder), "chdir: " + folder);
    if (folders_.count(Key(folder)) == 0) {
        throw FileError("Folder not found: " + folder);
    }
    currentDirectory = folder;
}

void FakeProcesses::Launch(const std::string& entry, const std::string& commandLine) {
    transcript_.Add(entry + commandLine);
    for (const std::string& text : failing) {
        if (commandLine.find(text) != std::string::npos) {
            throw StartFailed("Cannot start " + commandLine);
        }
    }
    if (onRun) {
        onRun(commandLine);
    }
}

void FakeProcesses::RunHidden(const std::string& commandLine, const StopRequest& stop) {
    if (stop.Requested()) {
        throw RunStopped();
    }
    Launch("run-hidden: ", commandLine);
    if (stop.Requested()) {
        transcript_.Add("ended: " + commandLine);
        throw RunStopped();
    }
}

TaskId FakeProcesses::Start(const std::string& commandLine, WindowStyle style) {
    Launch("start[" + std::to_string(static_cast<int>(style)) + "]: ", commandLine);
    return nextTask_++;
}

TaskWindow FakeDesktop::ComeToFront(TaskWindow window) {
    front = window;
    boxOwner_.reset();
    nextFront_.reset();
    if (const auto handed = handsActivationTo.find(window.task);
        handed != handsActivationTo.end()) {
        nextFront_ = TaskWindow{handed->second, window.task};
        looksUntilNextFront_ = 1;
    }
    return window;
}

TaskWindow FakeDesktop::ActivateByTitle(const std::string& title) {
    const auto it = windows.find(title);
    transcript_.Add("activate-title: " + title + (it == windows.end() ? " (not found)" : ""));
    if (it == windows.end()) {
        throw WindowNotFound("No window titled " + title);
    }
    return ComeToFront(it->second);
}

TaskWindow FakeDesktop::ActivateByTask(TaskId task) {
    const bool found = tasksWithoutWindow.count(task) == 0;
    transcript_.Add("activate-task: " + std::to_string(task) + (found ? "" : " (not found)"));
    if (!found) {
        throw WindowNotFound("No window of task " + std::to_string(task));
    }
    return ComeToFront(TaskWindow{WindowRef{10} * task, task});
}

TaskWindow FakeDesktop::Foreground() {
    if (looksUntilField_ > 0 && --looksUntilField_ == 0) {
        front.focusInField = true;
    }
    if (nextFront_ && --looksUntilNextFront_ <= 0) {
        front = *nextFront_;
        nextFront_.reset();
        if (front.focusInField && boxFieldLooks > 0) {
            front.focusInField = false;
            looksUntilField_ = boxFieldLooks;
        }
        if (boxOwner_ && front.window == boxOwner_->window + 2 && questionLooks >= 0) {
            nextFront_ = *boxOwner_;  // the user answers the question
            looksUntilNextFront_ = questionLooks;
        }
    }
    return front;
}

void FakeDesktop::SendKeys(const std::string& keyText) {
    ParseKeyText(keyText);  // a bad key text fails here as it does for real
    const bool toBox = boxOwner_ && front.window == boxOwner_->window + 1;
    const bool toQuestion = boxOwner_ && front.window == boxOwner_->window + 2;
    transcript_.Add((toBox ? "box-keys: " : toQuestion ? "question-keys: " : "keys: ") + keyText);
    if (toQuestion) {
        front = *boxOwner_;  // the key answered it
        nextFront_.reset();
    } else if (goToBoxDelay >= 0 && !nextFront_ && !toBox && keyText == "^g" && front.window != 0) {
        boxOwner_ = front;
        const bool question = questionsFirst > 0;
        questionsFirst -= question ? 1 : 0;
        nextFront_ = TaskWindow{front.window + (question ? 2 : 1), front.task, !question};
        looksUntilNextFront_ = goToBoxDelay;
    } else if (!nextFront_ && toBox && keyText == "{ENTER}") {
        nextFront_ = editorComesBack ? *boxOwner_ : TaskWindow{};
        looksUntilNextFront_ = goToBoxDelay;
    }
}

int FakeDesktop::MessageBox(WindowRef, const std::string& prompt, int buttons,
                            const std::string& title) {
    transcript_.Add("box[" + std::to_string(buttons) + "|" +
                    (title.empty() ? std::string(kProgramTitle) : title) + "]: " + prompt);
    if (onMessageBox) {
        onMessageBox(prompt);
    }
    return 1;
}

std::optional<std::string> FakeDesktop::Answer(std::string entry) {
    transcript_.Add(std::move(entry));
    if (failDialogs) {
        throw Error("The dialog failed");
    }
    std::optional<std::string> answer = dialogAnswers.front();
    dialogAnswers.pop_front();
    return answer;
}

std::optional<std::string> FakeDesktop::OpenFileDialog(const FileOpenRequest& request) {
    std::string filters;
    for (const auto& [description, pattern] : request.filters) {
        filters += (filters.empty() ? "" : "|") + description + "|" + pattern;
    }
    return Answer("open-file: " + request.title + " name=" + request.initialName +
                  " folder=" + request.initialFolder + " filters=" + filters);
}

}  // namespace ktv::fakes
