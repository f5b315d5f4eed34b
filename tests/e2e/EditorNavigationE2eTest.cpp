// Reports of the translator's and the compiler's errors through the window,
// and the editor they open: the stand-in editors log how they were started
// and which keys reached the document and which their go-to box; Wine's own
// Notepad is read back through its edit control.

#include <algorithm>
#include <string>
#include <vector>

#include "E2eFixture.h"
#include "main/ControlIds.h"

namespace ktv::e2e {
namespace {

constexpr const char* kConTextFolder = "C:\\Program Files\\ConTEXT";
constexpr const char* kConTextPath = "C:\\Program Files\\ConTEXT\\ConTEXT.exe";

const std::vector<std::string> kDocumentKeys{"Ctrl+G", "Home", "Shift+End"};
const std::vector<std::string> kBoxKeys12{"Space", "1", "2", "Enter"};

// The values of one field of one editor in work\editors.log, in order.
std::vector<std::string> EditorLog(const TestLayout& layout, const std::string& program,
                                   const std::string& field) {
    std::vector<std::string> values;
    const std::string text = layout.Read("work\\editors.log").value_or("");
    const std::string prefix = program + " " + field + ": ";
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find("\r\n", start), text.size());
        if (text.compare(start, prefix.size(), prefix) == 0) {
            values.push_back(text.substr(start + prefix.size(), end - start - prefix.size()));
        }
        start = end + 2;
    }
    return values;
}

// "$SOURCE", then "PRINT 2" to "PRINT 14": Basic line N prints N.
std::string NumberedBasicFile() {
    std::string basic = "$SOURCE\r\n";
    for (int line = 2; line <= 14; ++line) {
        basic += "PRINT " + std::to_string(line) + "\r\n";
    }
    return basic;
}

std::string SystemFolder() {
    char folder[MAX_PATH] = {};
    ::GetSystemDirectoryA(folder, MAX_PATH);
    return folder;
}

// Ends every process whose top-level window has one of these titles.
void EndEditors(const std::vector<std::string>& titles) {
    for (const std::string& title : titles) {
        while (HWND window = FindTopLevel(0, nullptr, title.c_str())) {
            DWORD id = 0;
            ::GetWindowThreadProcessId(window, &id);
            HANDLE process = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id);
            if (process == nullptr) {
                break;
            }
            ::TerminateProcess(process, 1);
            ::WaitForSingleObject(process, 5000);
            ::CloseHandle(process);
        }
    }
}

class EditorE2eTest : public E2eTest {
protected:
    void SetUp() override {
        E2eTest::SetUp();
        const std::string editors = ToWindowsPath(KTV_E2E_EDITORS);
        InstallNotepad(editors + "\\notepad.exe");
        Copy(editors + "\\jfe.exe", Layout().KtvDir() + "\\bin\\jfe.exe");
        ::CreateDirectoryA(kConTextFolder, nullptr);
        Copy(editors + "\\ConTEXT.exe", kConTextPath);
        Layout().Write("work\\prog.bas", NumberedBasicFile());
    }

    void TearDown() override {
        EndEditors(EditorTitles());
        InstallNotepad(kWinesNotepad);
        // An editor's process may outlive its window for a moment.
        WaitUntil(
            [] { return ::DeleteFileA(kConTextPath) || ::GetLastError() == ERROR_FILE_NOT_FOUND; },
            Milliseconds(10000));
        ::RemoveDirectoryA(kConTextFolder);
        E2eTest::TearDown();
    }

    // KTV Debugger starts Notepad from the system folder. These tests run
    // with notepad.exe=n,b in WINEDLLOVERRIDES (see CMakeLists.txt), so the
    // notepad.exe put there runs as it is: the stand-in, or Wine's own, kept
    // aside the first time and put back after every test.
    static void InstallNotepad(const std::string& program) {
        const std::string systemNotepad = SystemFolder() + "\\notepad.exe";
        if (::GetFileAttributesA(kWinesNotepad) == INVALID_FILE_ATTRIBUTES) {
            Copy(systemNotepad, kWinesNotepad);
        }
        WaitUntil([&] { return ::CopyFileA(program.c_str(), systemNotepad.c_str(), FALSE) != 0; },
                  Milliseconds(10000));
    }

    static constexpr const char* kWinesNotepad = "C:\\windows\\ktv-e2e-wines-notepad.exe";

    std::vector<std::string> EditorTitles() {
        const std::string file = Layout().BasicFile();
        return {"prog.bas - Notepad", "other.txt - Notepad", "Jens' File Editor - [" + file + "]",
                "Jens' File Editor - [" + file + " *]", "ConTEXT - [" + file + "]"};
    }

    static void Copy(const std::string& from, const std::string& to) {
        if (!::CopyFileA(from.c_str(), to.c_str(), FALSE)) {
            throw DriverError("cannot copy " + from + " to " + to);
        }
    }

    // Starts an editor as the user would, on a file in the work folder, and
    // waits for its window.
    void OpenEditorByHand(const std::string& program, const std::string& file,
                          const std::string& title) {
        std::string commandLine = "\"" + program + "\" " + file;
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        ASSERT_TRUE(::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0,
                                     nullptr, Layout().WorkDir().c_str(), &startup, &info));
        ::CloseHandle(info.hThread);
        ::CloseHandle(info.hProcess);
        ASSERT_TRUE(WaitUntil([&] { return FindTopLevel(0, nullptr, title.c_str()) != nullptr; },
                              Milliseconds(20000)));
    }

    // Waits until the editor has logged the selection that ends the keys.
    bool WaitForSelection(const std::string& program) {
        return WaitUntil([&] { return !EditorLog(Layout(), program, "selected").empty(); },
                         Milliseconds(20000));
    }

    // Starts the program with only `editorBox` of the three editor boxes on
    // (none for 0), whatever the settings held.
    AppSession& StartWithEditor(int editorBox) {
        AppSession& app = Start();
        UseLayout(app);
        for (int box : {ids::kChkNote, ids::kChkJen, ids::kChkCon}) {
            if ((box == editorBox) != (app.CheckState(box) == BST_CHECKED)) {
                app.Click(box);
                ExpectStates(app, {{box, box == editorBox ? BST_CHECKED : BST_UNCHECKED}});
            }
        }
        return app;
    }

    // Presses Debug, checks the report of Basic line 12 and closes it.
    void DebugToLine12(AppSession& app, bool compiler) {
        const MessageBoxInfo box = DebugUntilBox(app);
        EXPECT_EQ(box.title, "Error!");
        EXPECT_EQ(box.text, compiler ? "C Error:  undeclared identifier 'x'   -   Basic Line:  12"
                                     : "Basic Error: Syntax error in line 12");
        Acknowledge(app, box);
    }

    void ExpectLine12Selected(const std::string& program) {
        ASSERT_TRUE(WaitForSelection(program));
        EXPECT_EQ(EditorLog(Layout(), program, "key"), kDocumentKeys);
        EXPECT_EQ(EditorLog(Layout(), program, "box-key"), kBoxKeys12);
        EXPECT_EQ(EditorLog(Layout(), program, "go-to"), std::vector<std::string>{"12"});
        EXPECT_EQ(EditorLog(Layout(), program, "selected"), std::vector<std::string>{"PRINT 12"});
    }

    static constexpr const char* kTranslatorError = "ktvc.error=Syntax error in line 12\r\n";
    static constexpr const char* kCompilerError =
        "lcc.error_at_basic=12 undeclared identifier 'x'\r\n";
};

// Each editor, from a translator error and from a C error: the line number
// and Enter reach the go-to box (which opens a moment after Ctrl+G), never
// the document, and line 12 ends up selected.
TEST_F(EditorE2eTest, EachEditorGoesToTheLineThroughItsGoToBox) {
    struct Case {
        int box;
        std::string program;
        std::string show;
    };
    const Case cases[] = {
        {ids::kChkNote, "notepad.exe", "3"},
        {ids::kChkJen, "jfe.exe", "2"},
        {ids::kChkCon, "ConTEXT.exe", "2"},
    };
    for (const bool compiler : {false, true}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.program + (compiler ? " after a C error" : " after a translator error"));
            Layout().Remove("work\\editors.log");
            Layout().Write("work\\scenario.txt", compiler ? kCompilerError : kTranslatorError);
            AppSession& app = StartWithEditor(c.box);
            DebugToLine12(app, compiler);
            ExpectLine12Selected(c.program);
            EXPECT_EQ(EditorLog(Layout(), c.program, "show"), std::vector<std::string>{c.show});
            if (c.program == "notepad.exe") {
                EXPECT_EQ(EditorLog(Layout(), c.program, "command-line"),
                          std::vector<std::string>{SystemFolder() + "\\notepad.exe " +
                                                   Layout().BasicFile()});
            }
            ExpectWindowGivenBack(app, true);
            EXPECT_TRUE(app.Close());
            EndEditors(EditorTitles());
        }
    }
}

// Wine's own Notepad, a real editor: the document keeps its text, line 12
// is selected and no go-to box is left open.
TEST_F(EditorE2eTest, WinesOwnNotepadSelectsTheLineAndKeepsTheText) {
    InstallNotepad(kWinesNotepad);
    Layout().Write("work\\scenario.txt", kTranslatorError);
    AppSession& app = StartWithEditor(ids::kChkNote);
    DebugToLine12(app, false);

    const std::string text = NumberedBasicFile();
    const std::size_t lineStart = text.find("PRINT 12");
    const std::size_t lineEnd = text.find("\r\n", lineStart);
    HWND notepad = nullptr;
    HWND edit = nullptr;
    DWORD selectionStart = 0;
    DWORD selectionEnd = 0;
    const bool selected = WaitUntil(
        [&] {
            notepad = FindTopLevel(0, "Notepad", nullptr);
            edit =
                notepad != nullptr ? ::FindWindowExA(notepad, nullptr, "Edit", nullptr) : nullptr;
            if (edit == nullptr) {
                return false;
            }
            ::SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&selectionStart),
                           reinterpret_cast<LPARAM>(&selectionEnd));
            return selectionStart == lineStart && selectionEnd == lineEnd;
        },
        Milliseconds(20000));
    ASSERT_NE(edit, nullptr) << "Notepad did not open";
    EXPECT_TRUE(selected) << selectionStart << ".." << selectionEnd;
    std::string shown(text.size() + 64, '\0');
    shown.resize(static_cast<std::size_t>(
        ::SendMessageA(edit, WM_GETTEXT, shown.size(), reinterpret_cast<LPARAM>(shown.data()))));
    EXPECT_EQ(shown, text);
    DWORD notepadProcess = 0;
    ::GetWindowThreadProcessId(notepad, &notepadProcess);
    EXPECT_EQ(FindTopLevel(notepadProcess, "#32770", nullptr), nullptr) << "a box is left open";
    EXPECT_EQ(Layout().Read("work\\prog.bas"), text);
    EXPECT_TRUE(app.Close());
}

// A single-instance editor hands the file to the window already open and
// ends at once: that window gets the keys.
TEST_F(EditorE2eTest, ASingleInstanceEditorsOpenWindowGetsTheKeys) {
    struct Case {
        int box;
        std::string program;
        std::string path;
        std::string title;
    };
    const std::string file = Layout().BasicFile();
    const Case cases[] = {
        {ids::kChkJen, "jfe.exe", Layout().KtvDir() + "\\bin\\jfe.exe",
         "Jens' File Editor - [" + file + "]"},
        {ids::kChkCon, "ConTEXT.exe", kConTextPath, "ConTEXT - [" + file + "]"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.program);
        Layout().Remove("work\\editors.log");
        Layout().Write("work\\scenario.txt", std::string(kCompilerError) +
                                                 "jfe.single_instance=1\r\n" +
                                                 "ConTEXT.single_instance=1\r\n");
        OpenEditorByHand(c.path, file, c.title);
        AppSession& app = StartWithEditor(c.box);
        DebugToLine12(app, true);
        ExpectLine12Selected(c.program);
        EXPECT_EQ(EditorLog(Layout(), c.program, "handed-over"), std::vector<std::string>{file});
        EXPECT_EQ(EditorLog(Layout(), c.program, "received"), std::vector<std::string>{file});
        EXPECT_TRUE(app.Close());
        EndEditors(EditorTitles());
    }
}

// An editor that shows no window, while no editor window is open anywhere:
// the window of another program in front gets no keys.
TEST_F(EditorE2eTest, NoEditorWindowMeansNoKeysForTheWindowInFront) {
    Copy(Layout().Root() + "\\lcc\\bin\\builtprog.exe", Layout().KtvDir() + "\\bin\\jfe.exe");
    Layout().Write("work\\other.txt", "someone else's text\r\n");
    OpenEditorByHand(SystemFolder() + "\\notepad.exe", "other.txt", "other.txt - Notepad");
    Layout().Write("work\\scenario.txt", kCompilerError);
    AppSession& app = StartWithEditor(ids::kChkJen);
    const MessageBoxInfo box = DebugUntilBox(app);
    app.PressOk(box);
    ::SetForegroundWindow(FindTopLevel(0, nullptr, "other.txt - Notepad"));
    ASSERT_TRUE(app.WaitUntilIdle());
    ::Sleep(1000);  // keys, had any been sent, would have arrived by now
    EXPECT_EQ(EditorLog(Layout(), "notepad.exe", "key"), std::vector<std::string>{});
    EXPECT_EQ(EditorLog(Layout(), "notepad.exe", "box-key"), std::vector<std::string>{});
    EXPECT_EQ(Layout().Read("work\\other.txt"), "someone else's text\r\n");
}

// A notepad.exe or cmd.exe that came with a project lies in the Basic file's
// folder, the current directory of a run: Windows' own must run instead.
TEST_F(EditorE2eTest, ProgramsPlantedInTheProjectFolderDoNotRun) {
    Copy(Layout().Root() + "\\lcc\\bin\\builtprog.exe", Layout().WorkDir() + "\\notepad.exe");
    Layout().Write("work\\scenario.txt", kTranslatorError);
    AppSession& app = StartWithEditor(ids::kChkNote);
    DebugToLine12(app, false);
    ExpectLine12Selected("notepad.exe");
    EXPECT_TRUE(Layout().CommandLinesOf("builtprog").empty());
}

TEST_F(EditorE2eTest, UnmappedCErrorShowsTheChecklistAndOpensNoEditor) {
    Layout().Write("work\\scenario.txt", "lcc.err=error prog.c: 999  out of reach\r\n");
    AppSession& app = StartWithEditor(ids::kChkNote);
    const MessageBoxInfo box = DebugUntilBox(app);
    EXPECT_EQ(box.title, "Error!");
    EXPECT_EQ(box.text,
              "C Error: Unregonisable error.\r\n\r\n"
              "Check Basic code is for KTV.\r\n"
              "Check not missing Libraries.\r\n"
              "Check you are using a good verion of KTVC.exe\r\n"
              "Chek there are no bad variable declarations\r\n\r\n"
              "Error Reported was:\r\n"
              "  out of reach\r\n\r\n"
              "Line:  999");
    Acknowledge(app, box);
    EXPECT_FALSE(Layout().Exists("work\\editors.log"));
    ExpectWindowGivenBack(app, true);
}

TEST_F(EditorE2eTest, AFileWithoutTheMarkerGetsItAndTheNextDebugGoesOn) {
    Layout().Write("work\\prog.bas", "PRINT \"Hello\"\r\nx = 1\r\nPRINT x");
    AppSession& app = StartWithEditor(0);
    const MessageBoxInfo box = DebugUntilBox(app);
    EXPECT_EQ(box.title, "Modified Basic File");
    EXPECT_EQ(box.text,
              "KTV Debugger is about to modify your basic file\r\n"
              "so it will output debug information. \r\n\r\n"
              "Please run Debug again, after JFE activates\r\n\r\n"
              "If JFE asks you to reload the file, click yes");
    EXPECT_EQ(IconName(box.icon), IconName(IconKind::Information));
    EXPECT_EQ(Layout().Read("work\\prog.bas"), "PRINT \"Hello\"\r\nx = 1\r\nPRINT x");
    Acknowledge(app, box);

    EXPECT_EQ(Layout().Read("work\\prog.bas"),
              "$SOURCE     '  Inserted by KTV Debugger\r\nPRINT \"Hello\"\r\nx = 1\r\nPRINT x\r\n");
    ASSERT_TRUE(WaitUntil([&] { return !EditorLog(Layout(), "jfe.exe", "window").empty(); },
                          Milliseconds(20000)));
    EXPECT_EQ(
        EditorLog(Layout(), "jfe.exe", "command-line"),
        std::vector<std::string>{Layout().KtvDir() + "\\bin\\jfe.exe " + Layout().BasicFile()});
    EXPECT_EQ(EditorLog(Layout(), "jfe.exe", "show"), std::vector<std::string>{"2"});
    EXPECT_TRUE(Layout().LogLines().empty());  // no tool ran
    ExpectWindowGivenBack(app, true);

    const MessageBoxInfo next = DebugUntilBox(app);
    EXPECT_EQ(next.title, "Success!");
    Acknowledge(app, next);
    EXPECT_EQ(Layout().CommandLinesOf("ktvc").size(), 1u);
    EXPECT_EQ(Layout().Read("work\\prog.bas").value_or("").rfind("$SOURCE     '", 0), 0u);
}

}  // namespace
}  // namespace ktv::e2e
