#pragma once

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>

#include "FakeFileSystem.h"
#include "Transcript.h"
#include "platform/Platform.h"

namespace ktv::fakes {

// Runs and starts are recorded; a test scripts what a started program does to
// the fake file system and which programs cannot be started.
class FakeProcesses : public Processes {
public:
    explicit FakeProcesses(Transcript& transcript) : transcript_(transcript) {}

    // Called for every RunHidden and Start after it is recorded, with the
    // command line: the test's stand-in for what the program does.
    std::function<void(const std::string& commandLine)> onRun;

    // Commands containing this text cannot be started (StartFailed).
    void FailStartsContaining(std::string text) { failing_.push_back(std::move(text)); }

    // The answer of WaitUntilReady for every task (true by default).
    bool readyAnswer = true;

    void RunHidden(const std::string& commandLine) override;
    TaskId Start(const std::string& commandLine, WindowStyle style) override;
    bool WaitUntilReady(TaskId task, std::chrono::milliseconds bound) override;

private:
    void MaybeFail(const std::string& commandLine);

    Transcript& transcript_;
    std::vector<std::string> failing_;
    TaskId nextTask_ = 101;
};

class FakeDesktop : public Desktop {
public:
    explicit FakeDesktop(Transcript& transcript) : transcript_(transcript) {}

    // Windows that ActivateByTitle finds, by title. A title added to
    // windowTitles alone gets window 9000 of task 900.
    std::map<std::string, TaskWindow> windows;
    std::set<std::string> windowTitles;
    // Tasks whose window ActivateByTask cannot find (all others are found:
    // task T has window 10 * T).
    std::set<TaskId> tasksWithoutWindow;
    // The window in front; activation moves it. Keys typed while a go-to box
    // is in front are recorded as "box-keys: ...", others as "keys: ...".
    TaskWindow front{};
    // How the editors answer Ctrl+G: the box (window + 1 of the same task)
    // comes to the front when the front has been looked at this many times,
    // and the editor comes back the same way after Enter. -1: no box opens.
    int goToBoxDelay = 1;
    // False: after Enter closes the box, no window is in front.
    bool editorComesBack = true;
    // Answers of the next message boxes (1 = OK when the queue is empty).
    std::deque<int> boxAnswers;
    // Called while a box is up, with its prompt: a test's look at that moment.
    std::function<void(const std::string& prompt)> onMessageBox;
    // Answers of the next folder pickers and file dialogs (nullopt = cancel).
    std::deque<std::optional<std::string>> folderAnswers;
    std::deque<std::optional<std::string>> fileAnswers;
    ScreenSize screen{1280, 1024};

    TaskWindow ActivateByTitle(const std::string& title) override;
    void ActivateWindow(WindowRef window) override;
    TaskWindow ActivateByTask(TaskId task) override;
    TaskWindow Foreground() override;
    void Pause(std::chrono::milliseconds) override {}
    void SendKeys(const std::string& keyText) override;
    void DoEvents() override;
    void SetBusyCursor(bool busy) override;
    int MessageBox(WindowRef owner, const std::string& prompt, int buttons,
                   const std::string& title) override;
    ScreenSize GetScreenSize() override { return screen; }
    std::optional<std::string> BrowseForFolder(WindowRef owner, const std::string& title) override;
    std::optional<std::string> OpenFileDialog(const FileOpenRequest& request) override;

    bool busy = false;

private:
    void ComeToFront(TaskWindow window);

    Transcript& transcript_;
    std::optional<TaskWindow> boxOwner_;   // the editor whose go-to box is up
    std::optional<TaskWindow> nextFront_;  // what comes to the front after the delay
    int looksUntilNextFront_ = 0;
};

class FakeRegistry : public Registry {
public:
    explicit FakeRegistry(Transcript& transcript) : transcript_(transcript) {}
    void SetDwordValue(RegistryRoot root, const std::string& subKey, const std::string& valueName,
                       std::uint32_t value) override;

    // "HKCU\<sub-key>\<value name>" to value.
    std::map<std::string, std::uint32_t> values;

private:
    Transcript& transcript_;
};

class FakeSystemInfo : public SystemInfo {
public:
    std::string directory = "C:\\windows\\system32";
    std::string userData = "c:\\users\\me\\AppData\\Roaming";
    std::string SystemDirectory() override { return directory; }
    std::string UserDataFolder() override { return userData; }
};

// All fakes on one transcript, and the Platform that hands them out.
class FakePlatform {
public:
    FakePlatform()
        : files(transcript), processes(transcript), desktop(transcript), registry(transcript) {}
    FakePlatform(const FakePlatform&) = delete;
    FakePlatform& operator=(const FakePlatform&) = delete;

    Platform Get() { return Platform{processes, desktop, files, registry, system}; }

    Transcript transcript;
    FakeFileSystem files;
    FakeProcesses processes;
    FakeDesktop desktop;
    FakeRegistry registry;
    FakeSystemInfo system;
};

}  // namespace ktv::fakes
