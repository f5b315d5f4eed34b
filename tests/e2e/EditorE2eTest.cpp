// The editor a reported error opens, through KTVDebugger.exe: the stand-in
// editors log how they were started and which keys reached the document and
// which their go-to box; Wine's own Notepad is read back through its window.

#include <sstream>

#include "E2eTest.h"

#include <commctrl.h>

namespace ktv::e2e {
namespace {

using Values = std::vector<std::string>;

constexpr const char* kConText = "C:\\Program Files\\ConTEXT\\ConTEXT.exe";
constexpr const char* kWinesNotepad = "C:\\windows\\ktv-e2e-wines-notepad.exe";

// "$SOURCE", then "PRINT 2" to "PRINT 14": Basic line N prints N.
std::string NumberedBasicFile() {
    std::string basic = "$SOURCE\r\n";
    for (int line = 2; line <= 14; ++line) {
        basic += "PRINT " + std::to_string(line) + "\r\n";
    }
    return basic;
}

// KTV Debugger starts Notepad from the system folder. These tests run with
// notepad.exe=n,b in WINEDLLOVERRIDES (see CMakeLists.txt), so the notepad.exe
// put there runs as it is: the stand-in, or Wine's own, kept aside the first
// time and put back after every test.
void InstallNotepad(const std::string& program) {
    char folder[MAX_PATH] = {};
    ::GetSystemDirectoryA(folder, MAX_PATH);
    const std::string systemNotepad = std::string(folder) + "\\notepad.exe";
    ::CopyFileA(systemNotepad.c_str(), kWinesNotepad, TRUE);  // only the first time
    WaitUntil([&] { return ::CopyFileA(program.c_str(), systemNotepad.c_str(), FALSE) != 0; });
}

class EditorE2eTest : public E2eTest {
protected:
    void SetUp() override {
        E2eTest::SetUp();
        const std::string editors = ToWindowsPath(KTV_E2E_EDITORS);
        InstallNotepad(editors + "\\notepad.exe");
        Layout().Copy(editors + "\\jfe.exe", "ktv\\bin\\jfe.exe");
        ::CreateDirectoryA("C:\\Program Files\\ConTEXT", nullptr);
        ::CopyFileA((editors + "\\ConTEXT.exe").c_str(), kConText, FALSE);
        // A notepad.exe that came with the project, in the folder every run
        // makes current: Windows' own must run instead.
        Layout().Copy(Layout().LccDir() + "\\bin\\builtprog.exe", "work\\notepad.exe");
        Layout().Write("work\\prog.bas", NumberedBasicFile());
    }

    void TearDown() override {
        E2eTest::TearDown();  // ends the program and the editors it started
        InstallNotepad(kWinesNotepad);
        WaitUntil(
            [] { return ::DeleteFileA(kConText) || ::GetLastError() == ERROR_FILE_NOT_FOUND; });
    }

    // The values of one field of one editor in work\editors.log, in order.
    Values EditorLog(const std::string& program, const std::string& field) {
        Values values;
        const std::string prefix = program + " " + field + ": ";
        std::istringstream log(Layout().Read("work\\editors.log").value_or(""));
        for (std::string line; std::getline(log, line);) {
            if (line.starts_with(prefix)) {
                values.push_back(line.substr(prefix.size(), line.size() - prefix.size() - 1));
            }
        }
        return values;
    }

    // The program with only this editor box on, after Debug and the box that
    // reports Basic line 12 (an error of the translator or of the compiler).
    AppSession& DebugToLine12(int editorBox, bool compiler, const std::string& scenario = "") {
        AppSession& app = Start();
        for (int box : {ids::kLaunchNotepadBox, ids::kLaunchJfeBox, ids::kLaunchConTextBox}) {
            app.Set(box, box == editorBox ? BST_CHECKED : BST_UNCHECKED);
        }
        Layout().Write("work\\scenario.txt",
                       EditorsBuilt() + scenario +
                           (compiler ? "lcc.error_at_basic=12 undeclared x\r\n"
                                     : "ktvc.error=Syntax error in line 12\r\n"));
        const MessageBoxInfo box = DebugUntilBox(app);
        EXPECT_EQ(box.text, compiler ? "C Error:  undeclared x   -   Basic Line:  12"
                                     : "Basic Error: Syntax error in line 12");
        Acknowledge(app, box);
        return app;
    }

    // The line selected in view: no key reached the editor while it was
    // still minimised.
    void ExpectLine12Selected(const std::string& program) {
        ASSERT_TRUE(WaitUntil([&] { return !EditorLog(program, "selected").empty(); }))
            << Layout().Read("work\\editors.log").value_or("");
        EXPECT_EQ(EditorLog(program, "key"), (Values{"Ctrl+G", "Home", "Shift+End"}));
        EXPECT_EQ(EditorLog(program, "box-key"), (Values{"Space", "1", "2", "Enter"}));
        EXPECT_EQ(EditorLog(program, "selected"), Values{"PRINT 12"});
        EXPECT_EQ(EditorLog(program, "lost-key"), Values{});
    }

    // The stand-in editors' own scenario lines: how they are built.
    virtual std::string EditorsBuilt() const { return ""; }
};

// The stand-in editors built both ways: with a plain main window, and as
// programs of some desktop frameworks are, with an application window that
// owns the main window and hands it every activation.
class EditorKindE2eTest : public EditorE2eTest, public ::testing::WithParamInterface<bool> {
protected:
    std::string EditorsBuilt() const override {
        return GetParam() ? "jfe.framework=1\r\nConTEXT.framework=1\r\nnotepad.framework=1\r\n"
                          : "";
    }
};

INSTANTIATE_TEST_SUITE_P(EditorsBuilt, EditorKindE2eTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& kind) {
                             return kind.param ? "framework" : "plain";
                         });

// Each editor, from a translator error and from a C error: the line number
// and Enter reach the go-to box (which opens a moment after Ctrl+G), never
// the document, and line 12 ends up selected.
TEST_P(EditorKindE2eTest, EachEditorGoesToTheLineThroughItsGoToBox) {
    for (const bool compiler : {false, true}) {
        for (const auto& [box, program, show] :
             {std::tuple{ids::kLaunchNotepadBox, "notepad.exe", "3"},
              {ids::kLaunchJfeBox, "jfe.exe", "2"},
              {ids::kLaunchConTextBox, "ConTEXT.exe", "2"}}) {
            SCOPED_TRACE(std::string(program) + (compiler ? " after a C error" : ""));
            Layout().Write("work\\editors.log", "");
            DebugToLine12(box, compiler);
            ExpectLine12Selected(program);
            EXPECT_EQ(EditorLog(program, "show"), Values{show});
            if (std::string(show) == "2") {  // started minimised, restored before any key
                EXPECT_EQ(EditorLog(program, "window"), (Values{"minimised", "restored"}));
            }
        }
    }
    EXPECT_TRUE(Layout().CommandLinesOf("builtprog").empty());  // the planted one never ran
}

// JFE and ConTEXT kept to one instance: the editor the second Debug starts
// hands the file to the window the first opened and ends at once; that window
// gets the keys.
TEST_P(EditorKindE2eTest, ASingleInstanceEditorsOpenWindowGetsTheKeys) {
    for (const auto& [box, program] : {std::pair{ids::kLaunchJfeBox, "jfe.exe"},
                                       std::pair{ids::kLaunchConTextBox, "ConTEXT.exe"}}) {
        SCOPED_TRACE(program);
        Layout().Write("work\\editors.log", "");
        AppSession& app =
            DebugToLine12(box, true, "jfe.single_instance=1\r\nConTEXT.single_instance=1\r\n");
        ExpectLine12Selected(program);
        Layout().Write("work\\editors.log", "");
        Acknowledge(app, DebugUntilBox(app));
        ExpectLine12Selected(program);
        EXPECT_EQ(EditorLog(program, "handed-over"), Values{Layout().BasicFile()});
    }
}

// Wine's own Notepad, a real editor: the document keeps its text, line 12
// is selected and no go-to box is left open.
TEST_F(EditorE2eTest, WinesOwnNotepadSelectsTheLineAndKeepsTheText) {
    InstallNotepad(kWinesNotepad);
    DebugToLine12(ids::kLaunchNotepadBox, false);
    const std::string text = NumberedBasicFile();
    const DWORD line12 = static_cast<DWORD>(text.find("PRINT 12"));
    HWND notepad = nullptr;
    HWND edit = nullptr;
    DWORD start = 0;
    DWORD end = 0;
    EXPECT_TRUE(WaitUntil([&] {
        notepad = FindTopLevel(0, "Notepad", nullptr);
        edit = notepad != nullptr ? ::FindWindowExA(notepad, nullptr, "Edit", nullptr) : nullptr;
        ::SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                       reinterpret_cast<LPARAM>(&end));
        return edit != nullptr && start == line12 && end == line12 + 8;
    })) << start
        << ".." << end;
    EXPECT_EQ(TextOf(edit), text);
    DWORD process = 0;
    ::GetWindowThreadProcessId(notepad, &process);
    EXPECT_EQ(FindTopLevel(process, "#32770", nullptr), nullptr) << "a box is left open";
}

// Holds the keys down in order and lets them go in reverse.
void Press(std::initializer_list<BYTE> keys) {
    for (const BYTE key : keys) {
        ::keybd_event(key, 0, 0, 0);
    }
    for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) {
        ::keybd_event(*key, 0, KEYEVENTF_KEYUP, 0);
    }
}

// The first row of a list view stands right under its column headers.
void DoubleClickFirstRow(HWND list) {
    // Above any window that opened meanwhile (an editor's lands where the
    // system puts it), so that the clicks reach the list; the window goes at
    // the next Debug.
    ::SetWindowPos(::GetAncestor(list, GA_ROOT), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    RECT header{};
    ::GetWindowRect(::FindWindowExA(list, nullptr, "SysHeader32", nullptr), &header);
    ::SetCursorPos(header.left + 20, header.bottom + 6);
    for (const DWORD button :
         {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP}) {
        INPUT input{};
        input.type = INPUT_MOUSE;
        input.mi.dwFlags = button;
        ::SendInput(1, &input, sizeof input);
    }
}

std::string ClipboardText() {
    ::OpenClipboard(nullptr);
    const HANDLE data = ::GetClipboardData(CF_TEXT);
    std::string text = data != nullptr ? static_cast<const char*>(::GlobalLock(data)) : "";
    ::GlobalUnlock(data);
    ::CloseClipboard();
    return text;
}

// Several problems: the box and the editor take the first error as before,
// then the list shows them all without taking the focus; Ctrl+A, Ctrl+C
// copies them as compilers print them, and a double-click on a row sends the
// editor to its line.
TEST_P(EditorKindE2eTest, TheProblemsListShowsEveryProblemAndOpensTheEditorAtARow) {
    // A header's problem between them stays in the header, with its own lines.
    const std::string header = Layout().LccDir() + "\\win.h";
    std::string lines;
    for (int line = 1; line <= 12; ++line) {
        lines += "/* win.h line " + std::to_string(line) + " */\r\n";
    }
    Layout().Write("lcc\\win.h", lines);
    Layout().Write("work\\editors.log", "");
    AppSession& app = DebugToLine12(ids::kLaunchConTextBox, true,
                                    "lcc.warning_at_basic=5 unused y\r\nlcc.err=Error " + header +
                                        ": 9  redeclaration of 'Sleep'\r\n");
    ExpectLine12Selected("ConTEXT.exe");
    Layout().Write("work\\scenario.txt", EditorsBuilt());
    HWND problems = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        return (problems = FindTopLevel(app.ProcessId(), nullptr, "Problems - prog.bas"));
    }));
    EXPECT_NE(::GetForegroundWindow(), problems);
    const HWND list = ::GetDlgItem(problems, 1701);
    EXPECT_EQ(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 3);

    // The pane beside the first row shows its lines; beside the header's, the
    // header's.
    const HWND code = ::GetDlgItem(problems, 1702);
    EXPECT_TRUE(TextOf(code).starts_with("prog.bas, line 5\r\n")) << TextOf(code);
    ::SetForegroundWindow(problems);
    ASSERT_TRUE(WaitUntil([&] { return ::GetForegroundWindow() == problems; }));
    Press({VK_DOWN});
    EXPECT_TRUE(WaitUntil([&] {
        return TextOf(code).starts_with("win.h, line 9\r\n   6  /* win.h line 6 */");
    })) << TextOf(code);
    Press({VK_CONTROL, 'A'});
    Press({VK_CONTROL, 'C'});
    const std::string bas = Layout().BasicFile();
    EXPECT_TRUE(WaitUntil([&] {
        return ClipboardText() == bas + ":5: warning: unused y\r\n" + header +
                                      ":9: error: redeclaration of 'Sleep'\r\n" + bas +
                                      ":12: error: undeclared x\r\n";
    })) << ClipboardText();

    DoubleClickFirstRow(list);
    ASSERT_TRUE(WaitUntil([&] { return EditorLog("ConTEXT.exe", "selected").size() == 2; }));
    EXPECT_EQ(EditorLog("ConTEXT.exe", "selected"), (Values{"PRINT 12", "PRINT 5"}));
}

// An editor's question (here whether to reload the file) comes instead of the
// go-to box: it gets no key, and once the user has answered it, Ctrl+G goes
// once more and the line arrives in the go-to box.
TEST_P(EditorKindE2eTest, AnEditorsQuestionGetsNoKeyAndTheLineFollowsItsAnswer) {
    Layout().Write("work\\editors.log", "");
    AppSession& app = Start();
    app.Set(ids::kLaunchJfeBox, BST_CHECKED);
    Layout().Write(
        "work\\scenario.txt",
        EditorsBuilt() + "jfe.question_on_goto=1\r\nlcc.error_at_basic=12 undeclared x\r\n");
    app.PressOk(DebugUntilBox(app));
    HWND question = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (question = FindTopLevel(0, "#32770", "Reload")); }));
    EXPECT_TRUE(WaitUntil([&] {
        return TextOf(app.Control(ids::kStatusBar)).starts_with("Waiting for JFE's question\x85");
    }));
    ::Sleep(1500);  // the user reads it; no key may come meanwhile
    ::PostMessageA(question, WM_COMMAND, IDNO, 0);
    ASSERT_TRUE(WaitUntil([&] { return !EditorLog("jfe.exe", "selected").empty(); }));
    EXPECT_EQ(EditorLog("jfe.exe", "question"), Values{"no"});
    EXPECT_EQ(EditorLog("jfe.exe", "key"), (Values{"Ctrl+G", "Ctrl+G", "Home", "Shift+End"}));
    EXPECT_EQ(EditorLog("jfe.exe", "box-key"), (Values{"Space", "1", "2", "Enter"}));
    EXPECT_EQ(EditorLog("jfe.exe", "selected"), Values{"PRINT 12"});
}

// The user's own editor gets the file and the line on its command line, from
// the template the settings keep after the fourteen lines: for a C error's
// Basic line, a row of the Problems list that leads into the C file, and a
// translator error. No key reaches it.
TEST_F(EditorE2eTest, MyEditorGetsTheLineOnItsCommandLineAndNoKey) {
    ::CreateDirectoryA((Layout().Root() + "\\My Editors").c_str(), nullptr);
    Layout().Copy(ToWindowsPath(KTV_E2E_EDITORS) + "\\lineeditor.exe",
                  "My Editors\\lineeditor.exe");
    const std::string editor = "\"" + Layout().Root() + "\\My Editors\\lineeditor.exe\"";
    const std::string command = editor + " -n{line} \"{file}\"";
    const std::string fourteen =
        "lccpath=" + Layout().LccDir() + "\r\nktvpath=" + Layout().KtvDir() +
        "\r\nbasicpath=" + Layout().BasicFile() +
        "\r\njfe=0\r\nccon=0\r\nnotepad=0\r\nlibs=\r\ngui=False\r\n"
        "dll=False\r\ncon=True\r\ncmd=\r\ncwarn=0\r\nrun=0\r\nlccdeb=0\r\n";
    Layout().Write("KTVDebug.cfg", fourteen);
    {
        AppSession& app = Start(true);
        app.Set(ids::kLaunchMyEditorBox, BST_CHECKED);
        app.SetText(ids::kEditorCommandField, command);
        EXPECT_TRUE(app.Close());
    }
    EXPECT_EQ(Layout().Read("KTVDebug.cfg"),
              fourteen + "myeditor=1\r\neditorcommand=" + command + "\r\n");

    Layout().Write("work\\editors.log", "");
    AppSession& app = Start(true);
    Layout().Write("work\\scenario.txt",
                   "lcc.err=error prog.c: 999 far away\r\nlcc.error_at_basic=12 undeclared x\r\n");
    Acknowledge(app, DebugUntilBox(app));
    HWND problems = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        return (problems = FindTopLevel(app.ProcessId(), nullptr, "Problems - prog.bas"));
    }));
    ::SetForegroundWindow(problems);
    DoubleClickFirstRow(::GetDlgItem(problems, 1701));  // the C file's line 999
    ASSERT_TRUE(WaitUntil([&] { return EditorLog("lineeditor.exe", "command-line").size() == 2; }));
    EXPECT_EQ(EditorLog("lineeditor.exe", "command-line"),
              (Values{editor + " -n12 \"" + Layout().BasicFile() + "\"",
                      editor + " -n999 \"" + Layout().WorkDir() + "\\prog.c\""}));
    EXPECT_TRUE(
        WaitUntil([&] { return EditorLog("lineeditor.exe", "selected") == Values{"PRINT 12"}; }));

    Layout().Write("work\\scenario.txt", "ktvc.error=Syntax error in line 7\r\n");
    Acknowledge(app, DebugUntilBox(app));
    ASSERT_TRUE(WaitUntil([&] { return EditorLog("lineeditor.exe", "command-line").size() == 3; }));
    EXPECT_EQ(EditorLog("lineeditor.exe", "command-line")[2],
              editor + " -n7 \"" + Layout().BasicFile() + "\"");
    EXPECT_TRUE(EditorLog("lineeditor.exe", "key").empty() &&
                EditorLog("lineeditor.exe", "box-key").empty());
}

// The first Debug on a file without the marker line adds it after telling the
// user and shows the file in JFE; the next Debug builds and runs the program
// through Windows' own cmd.exe, never one that came with the project.
TEST_F(EditorE2eTest, AFileGetsItsMarkerThenBuildsAndRunsThroughTheSystemsCmd) {
    Layout().Write("work\\prog.bas", "PRINT \"Hello\"\r\nx = 1");
    Layout().Copy(Layout().LccDir() + "\\bin\\builtprog.exe", "work\\cmd.exe");
    AppSession& app = Start();
    app.SetText(ids::kCommandLineField, "alpha \"b c\"");
    app.Set(ids::kRunProgramBox, BST_CHECKED);
    const MessageBoxInfo box = DebugUntilBox(app);
    EXPECT_EQ(box.title, "Modified Basic File");
    EXPECT_EQ(Layout().Read("work\\prog.bas"), "PRINT \"Hello\"\r\nx = 1");
    Acknowledge(app, box);
    EXPECT_EQ(Layout().Read("work\\prog.bas"),
              "$SOURCE     '  Inserted by KTV Debugger\r\nPRINT \"Hello\"\r\nx = 1\r\n");
    ASSERT_TRUE(WaitUntil([&] { return !EditorLog("jfe.exe", "window").empty(); }));
    EXPECT_EQ(EditorLog("jfe.exe", "command-line"),
              Values{Layout().KtvDir() + "\\bin\\jfe.exe " + Layout().BasicFile()});
    EXPECT_EQ(EditorLog("jfe.exe", "show"), Values{"2"});
    EXPECT_TRUE(Layout().CommandLinesOf("ktvc").empty());  // no tool ran

    Layout().Write("work\\scenario.txt", "lcclnk.time_offset_s=-3600\r\n");  // a server's clock
    const MessageBoxInfo success = DebugUntilBox(app);
    EXPECT_EQ(success.title, "Success!");
    Acknowledge(app, success);
    ASSERT_TRUE(WaitUntil([&] { return !Layout().CommandLinesOf("builtprog").empty(); }));
    const Values runs = Layout().CommandLinesOf("builtprog");
    ASSERT_EQ(runs.size(), 1u);  // the program, and not the planted cmd.exe
    EXPECT_TRUE(runs[0].ends_with("prog.exe alpha \"b c\"") &&
                runs[0].find("/k") == std::string::npos)
        << runs[0];
    for (const char* gone : {"work\\prog.obj", "work\\lcc.err", "work\\ktv.err"}) {
        EXPECT_FALSE(Layout().Read(gone).has_value()) << gone;
    }
}

}  // namespace
}  // namespace ktv::e2e
