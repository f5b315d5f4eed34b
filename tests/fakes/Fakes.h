#pragma once

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Platform.h"

// In-memory stand-ins for the platform. Every call that changes something
// or that a user would see goes into one transcript, one line of text each,
// so that a test checks the order that matters in one comparison; answers
// (a dialog's choice, a program that cannot start, a window that is not
// there) are set on a fake before the call.
namespace ktv::fakes {

class Transcript {
public:
    void Add(std::string entry) { entries_.push_back(std::move(entry)); }
    const std::vector<std::string>& Entries() const { return entries_; }
    // The entries that begin with one of the prefixes, in order.
    std::vector<std::string> Only(std::initializer_list<std::string_view> prefixes) const;
    // The entries with runs of "do-events" folded into "do-events xN".
    std::vector<std::string> Folded() const;

private:
    std::vector<std::string> entries_;
};

// The steps that change the disk, each of which a test can make fail. A write
// that fails leaves the file as it was, as the real one promises.
enum class FsOp { Write, Delete, DeleteFolder, ChangeDirectory, CreateFolder };

// Files keyed by case-insensitive Windows path; relative paths count from the
// current directory.
class FakeFileSystem : public FileSystem {
public:
    explicit FakeFileSystem(Transcript& transcript) : transcript_(transcript) {}

    void AddFile(const std::string& path, std::string bytes);  // not recorded
    void AddFolder(const std::string& path);
    void SetWriteTime(const std::string& path, FileTime time) { files_.at(Key(path)).time = time; }
    std::optional<std::string> Content(const std::string& path) const;
    // The next step of this kind on this path (any path when empty) throws.
    void FailOn(FsOp op, const std::string& path = {}) {
        failures_.emplace_back(op, path.empty() ? path : Key(path));
    }

    bool FileExists(const std::string& path) override {
        return !path.empty() && files_.count(Key(path)) > 0;
    }
    bool FolderExists(const std::string& path) override {
        return !path.empty() && folders_.count(Key(path)) > 0;
    }
    std::string ReadFile(const std::string& path) override;
    void WriteFile(const std::string& path, const std::string& bytes) override;
    void DeleteFile(const std::string& path) override;
    void DeleteFolder(const std::string& path) override;
    std::optional<FileStamp> Stamp(const std::string& path) override;
    void CreateFolder(const std::string& path) override;
    void ChangeDirectory(const std::string& folder) override;
    std::string ExecutableFolder() override { return "c:\\KTVDebugger"; }

    std::string currentDirectory = "c:\\";

private:
    struct File {
        std::string bytes;
        FileTime time = 0;
    };
    std::string Key(const std::string& path) const;
    void MaybeFail(FsOp op, const std::string& key, const std::string& entry);

    Transcript& transcript_;
    std::map<std::string, File> files_;
    std::set<std::string> folders_;
    std::vector<std::pair<FsOp, std::string>> failures_;
    FileTime clock_ = 1'000;  // every write stamps its file with the next tick
};

class FakeProcesses : public Processes {
public:
    explicit FakeProcesses(Transcript& transcript) : transcript_(transcript) {}

    // What a run or started program does, by the command line.
    std::function<void(const std::string& commandLine)> onRun;
    // Commands containing one of these texts cannot be started.
    std::vector<std::string> failing;

    // A stop asked for while the program "runs" (by onRun) ends it.
    void RunHidden(const std::string& commandLine, const StopRequest& stop) override;
    TaskId Start(const std::string& commandLine, WindowStyle style) override;
    bool WaitUntilReady(TaskId task, std::chrono::milliseconds) override {
        transcript_.Add("wait-ready: " + std::to_string(task));
        return true;
    }

private:
    void Launch(const std::string& entry, const std::string& commandLine);
    Transcript& transcript_;
    TaskId nextTask_ = 101;
};

class FakeDesktop : public Desktop {
public:
    explicit FakeDesktop(Transcript& transcript) : transcript_(transcript) {}

    // Windows ActivateByTitle finds; task T's window is 10 * T, found unless
    // listed in tasksWithoutWindow.
    std::map<std::string, TaskWindow> windows;
    std::set<TaskId> tasksWithoutWindow;
    // A framework program's window hands its activation on to this window of
    // its task, a look later.
    std::map<TaskId, WindowRef> handsActivationTo;
    // The window in front; activation moves it. Keys typed while a go-to box
    // or a question is in front are recorded as "box-keys: ..." and
    // "question-keys: ...".
    TaskWindow front{};
    // How editors answer Ctrl+G: their box (window + 1, same task, the focus
    // in its field) comes in front once the front has been looked at this many
    // times, and the editor comes back the same way after Enter (to nothing,
    // when editorComesBack is false). -1: no box opens.
    int goToBoxDelay = 1;
    bool editorComesBack = true;
    // The box is in front this many looks before its field has the focus.
    int boxFieldLooks = 0;
    // The first Ctrl+G this many times brings a question instead (window + 2,
    // no field), which the user answers after this many looks (-1: never); a
    // key typed into it answers it at once.
    int questionsFirst = 0;
    int questionLooks = 3;
    std::function<void(const std::string& prompt)> onMessageBox;
    std::deque<std::optional<std::string>> dialogAnswers;  // folder pickers and file dialogs
    bool failDialogs = false;

    TaskWindow ActivateByTitle(const std::string& title) override;
    void ActivateWindow(WindowRef window) override {
        transcript_.Add("activate-window: " + std::to_string(window));
    }
    TaskWindow ActivateByTask(TaskId task) override;
    TaskWindow Foreground() override;
    std::function<void()> onPause;  // what happens while the program waits
    void Pause(std::chrono::milliseconds) override {
        if (onPause) {
            onPause();
        }
    }
    void SendKeys(const std::string& keyText) override;
    void DoEvents() override { transcript_.Add("do-events"); }
    void SetBusyCursor(bool busy) override {
        transcript_.Add(busy ? "cursor: busy" : "cursor: default");
    }
    int MessageBox(WindowRef owner, const std::string& prompt, int buttons,
                   const std::string& title) override;
    ScreenArea WorkArea(WindowRef) override { return {0, 0, 1280, 1024}; }
    std::optional<std::string> BrowseForFolder(WindowRef, const std::string& title) override {
        return Answer("folder-picker: " + title);
    }
    std::optional<std::string> OpenFileDialog(const FileOpenRequest& request) override;

private:
    TaskWindow ComeToFront(TaskWindow window);
    std::optional<std::string> Answer(std::string entry);

    Transcript& transcript_;
    std::optional<TaskWindow> boxOwner_;
    std::optional<TaskWindow> nextFront_;
    int looksUntilNextFront_ = 0;
    int looksUntilField_ = 0;
};

class FakeRegistry : public Registry {
public:
    explicit FakeRegistry(Transcript& transcript) : transcript_(transcript) {}
    void SetDwordValue(RegistryRoot, const std::string& subKey, const std::string& valueName,
                       std::uint32_t value) override {
        transcript_.Add("registry: HKCU\\" + subKey + "\\" + valueName + " = " +
                        std::to_string(value));
    }
    // Text values by root, "sub-key\\name" (the default value: an empty name).
    std::map<std::pair<RegistryRoot, std::string>, std::string> strings;
    std::optional<std::string> ReadString(RegistryRoot root, const std::string& subKey,
                                          const std::string& valueName) override {
        const auto it = strings.find({root, subKey + "\\" + valueName});
        return it == strings.end() ? std::nullopt : std::optional(it->second);
    }

private:
    Transcript& transcript_;
};

class FakeSystemInfo : public SystemInfo {
public:
    std::chrono::milliseconds now{0};  // moved on by the test
    std::chrono::milliseconds MonotonicTime() override { return now; }

    std::string directory = "C:\\windows\\system32";
    std::string SystemDirectory() override { return directory; }
    std::string UserDataFolder() override { return "c:\\users\\me\\AppData\\Roaming"; }
    std::vector<std::string> ProgramFolders() override {
        return {"C:\\Program Files", "C:\\Program Files (x86)",
                "c:\\users\\me\\AppData\\Local\\Programs"};
    }
};

struct FakePlatform {
    FakePlatform()
        : files(transcript), processes(transcript), desktop(transcript), registry(transcript) {}
    FakePlatform(const FakePlatform&) = delete;
    FakePlatform& operator=(const FakePlatform&) = delete;

    Transcript transcript;
    FakeFileSystem files;
    FakeProcesses processes;
    FakeDesktop desktop;
    FakeRegistry registry;
    FakeSystemInfo system;
    Platform platform{processes, desktop, files, registry, system};
};

}  // namespace ktv::fakes
