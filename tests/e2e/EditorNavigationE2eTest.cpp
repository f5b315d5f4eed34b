// Reports of the translator's and the compiler's errors through the window,
// and the editor they open: the stand-in editors log how they were started
// and which keys reached them.

#include <string>
#include <vector>

#include "E2eFixture.h"
#include "main/ControlIds.h"

namespace ktv::e2e {
namespace {

constexpr const char* kConTextFolder = "C:\\Program Files\\ConTEXT";
constexpr const char* kConTextPath = "C:\\Program Files\\ConTEXT\\ConTEXT.exe";

const std::vector<std::string> kGoToLine12{"Ctrl+G", "Space", "1",        "2",
                                           "Enter",  "Home",  "Shift+End"};

// The values of one field of one editor in work\editors.log, in order.
std::vector<std::string> EditorLog(const TestLayout& layout, const std::string& program,
                                   const std::string& field) {
    std::vector<std::string> values;
    const std::string text = layout.Read("work\\editors.log").value_or("");
    const std::string prefix = program + " " + field + ": ";
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos)
            end = text.size();
        if (text.compare(start, prefix.size(), prefix) == 0) {
            values.push_back(text.substr(start + prefix.size(), end - start - prefix.size()));
        }
        start = end + 2;
    }
    return values;
}

struct TitleSearch {
    const std::vector<std::string>* titles;
    bool close;
    int found = 0;
};

BOOL CALLBACK VisitEditorWindow(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<TitleSearch*>(data);
    char text[512] = {};
    ::GetWindowTextA(window, text, sizeof(text));
    for (const std::string& title : *search->titles) {
        if (title == text) {
            ++search->found;
            if (search->close) {
                ::PostMessageA(window, WM_CLOSE, 0, 0);
            }
        }
    }
    return TRUE;
}

// Closes the editor windows with these titles and waits until they have gone.
bool CloseEditors(const std::vector<std::string>& titles) {
    TitleSearch close{&titles, true};
    ::EnumWindows(&VisitEditorWindow, reinterpret_cast<LPARAM>(&close));
    return WaitUntil(
        [&] {
            TitleSearch look{&titles, false};
            ::EnumWindows(&VisitEditorWindow, reinterpret_cast<LPARAM>(&look));
            return look.found == 0;
        },
        Milliseconds(10000));
}

class EditorE2eTest : public E2eTest {
protected:
    void SetUp() override {
        E2eTest::SetUp();
        const std::string standins = ToWindowsPath(KTV_E2E_EDITORS);
        // Found before Windows' own Notepad: a program started without a
        // folder is looked for in the starting program's folder first.
        Copy(standins + "\\notepad.exe", Layout().Root() + "\\notepad.exe");
        Copy(standins + "\\jfe.exe", Layout().KtvDir() + "\\bin\\jfe.exe");
        ::CreateDirectoryA(kConTextFolder, nullptr);
        Copy(standins + "\\ConTEXT.exe", kConTextPath);
    }

    void TearDown() override {
        CloseEditors(EditorTitles());
        // An editor's process may outlive its window for a moment.
        WaitUntil(
            [] { return ::DeleteFileA(kConTextPath) || ::GetLastError() == ERROR_FILE_NOT_FOUND; },
            Milliseconds(10000));
        ::RemoveDirectoryA(kConTextFolder);
        E2eTest::TearDown();
    }

    std::vector<std::string> EditorTitles() {
        const std::string file = Layout().BasicFile();
        return {"prog.bas - Notepad", "Jens' File Editor - [" + file + "]",
                "Jens' File Editor - [" + file + " *]", "ConTEXT - [" + file + "]"};
    }

    static void Copy(const std::string& from, const std::string& to) {
        if (!::CopyFileA(from.c_str(), to.c_str(), FALSE)) {
            throw DriverError("cannot copy " + from + " to " + to);
        }
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
        if (editorBox != 0 && app.CheckState(editorBox) != BST_CHECKED) {
            app.Click(editorBox);
            ExpectStates(app, {{editorBox, BST_CHECKED}});
        }
        for (int box : {ids::kChkNote, ids::kChkJen, ids::kChkCon}) {
            if (box != editorBox && app.CheckState(box) == BST_CHECKED) {
                app.Click(box);
                ExpectStates(app, {{box, BST_UNCHECKED}});
            }
        }
        return app;
    }
};

TEST_F(EditorE2eTest, TranslatorErrorOpensTheChosenEditorOnItsLine) {
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
    for (const Case& c : cases) {
        SCOPED_TRACE(c.program);
        Layout().Remove("work\\editors.log");
        std::string basic;
        for (int line = 1; line <= 14; ++line) {
            basic += line == 1 ? "$SOURCE" : "PRINT " + std::to_string(line);
            basic += "\r\n";
        }
        Layout().Write("work\\prog.bas", basic);
        Layout().Write("work\\scenario.txt", "ktvc.error=Syntax error in line 12\r\n");

        AppSession& app = StartWithEditor(c.box);
        const MessageBoxInfo box = DebugUntilBox(app);
        EXPECT_EQ(box.title, "Error!");
        EXPECT_EQ(box.text, "Basic Error: Syntax error in line 12");
        EXPECT_EQ(IconName(box.icon), IconName(IconKind::Information));
        Acknowledge(app, box);
        ASSERT_TRUE(WaitForSelection(c.program));

        std::string commandLine = Layout().BasicFile();
        EXPECT_EQ(EditorLog(Layout(), c.program, "show"), std::vector<std::string>{c.show});
        EXPECT_EQ(EditorLog(Layout(), c.program, "key"), kGoToLine12);
        EXPECT_EQ(EditorLog(Layout(), c.program, "go-to"), std::vector<std::string>{"12"});
        EXPECT_EQ(EditorLog(Layout(), c.program, "selected"), std::vector<std::string>{"PRINT 12"});
        if (c.program == "notepad.exe") {
            EXPECT_EQ(EditorLog(Layout(), c.program, "window").at(0), "maximised");
            EXPECT_EQ(EditorLog(Layout(), c.program, "command-line"),
                      std::vector<std::string>{"notepad.exe " + Layout().BasicFile()});
        }
        EXPECT_TRUE(Layout().CommandLinesOf("lcc").empty());
        ExpectWindowGivenBack(app, true);
        EXPECT_TRUE(app.Close());
        EXPECT_TRUE(CloseEditors(EditorTitles()));
    }
}

TEST_F(EditorE2eTest, MappedCErrorAndWarningOpenTheEditorOnTheBasicLine) {
    struct Case {
        const char* name;
        std::string scenario;
        bool warnings;
        std::string boxStart;
        std::string boxEnd;
        std::string selected;
    };
    const Case cases[] = {
        {"error", "lcc.error_at_basic=3 undeclared identifier 'x'\r\n", false,
         "C Error: ", "   -   Basic Line:  3", "x = 1"},
        {"warning", "lcc.warning_at_basic=4 unused value\r\n", true,
         "C Warning: ", "   -   Basic Line:  4", "PRINT x"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Layout().Remove("work\\editors.log");
        // The C file as a Windows translator writes it: CR LF line ends.
        Layout().Write("work\\translated.c",
                       "int main(void)\r\n{\r\n// [1]\r\n// [2]\r\n    puts(\"Hello\");\r\n"
                       "// [3]\r\n    x = 1;\r\n// [4]\r\n    printf(\"%d\", x);\r\n}\r\n");
        Layout().Write("work\\scenario.txt", "ktvc.copy_c=translated.c\r\n" + c.scenario);
        AppSession& app = StartWithEditor(ids::kChkJen);
        if (c.warnings) {
            app.Click(ids::kChkWarn);
            ExpectStates(app, {{ids::kChkWarn, BST_CHECKED}});
        }
        const MessageBoxInfo box = DebugUntilBox(app);
        EXPECT_EQ(box.title, "Error!");
        EXPECT_EQ(box.text.rfind(c.boxStart, 0), 0u) << box.text;
        ASSERT_GE(box.text.size(), c.boxEnd.size());
        EXPECT_EQ(box.text.substr(box.text.size() - c.boxEnd.size()), c.boxEnd);
        Acknowledge(app, box);
        ASSERT_TRUE(WaitForSelection("jfe.exe"));
        EXPECT_EQ(EditorLog(Layout(), "jfe.exe", "selected"), std::vector<std::string>{c.selected});
        EXPECT_TRUE(Layout().CommandLinesOf("lcclnk").empty());
        EXPECT_TRUE(app.Close());
    }
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

TEST_F(EditorE2eTest, WithNoEditorChosenOnlyTheReportIsShown) {
    Layout().Write("work\\scenario.txt", "ktvc.error=Syntax error in line 2\r\n");
    AppSession& app = StartWithEditor(0);
    const MessageBoxInfo box = DebugUntilBox(app);
    EXPECT_EQ(box.text, "Basic Error: Syntax error in line 2");
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
