// Whole Debug runs through the window, with the stand-ins as the tools: what
// the user is told, which tools ran with which command lines, and that every
// run gives the window back.

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "E2eFixture.h"
#include "main/ControlIds.h"

namespace ktv::e2e {
namespace {

constexpr const char* kSuccessTitle = "Success!";
constexpr const char* kErrorTitle = "Error!";

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

std::string SuccessText(const char* warningsNote, bool dll) {
    return std::string("Application prog.bas has been compiled succesfully\r\n\r\n") +
           "There were no detected errors " + warningsNote + (dll ? "" : "\r\n");
}

// A settings file as the program writes it, with the link mode lines given.
std::string SettingsWithLinkMode(const TestLayout& layout, const char* gui, const char* dll,
                                 const char* con) {
    return "lccpath=" + layout.LccDir() + "\r\nktvpath=" + layout.KtvDir() +
           "\r\nbasicpath=" + layout.BasicFile() +
           "\r\njfe=0\r\nccon=0\r\nnotepad=0\r\nlibs=\r\ngui=" + gui + "\r\ndll=" + dll +
           "\r\ncon=" + con + "\r\ncmd=\r\ncwarn=0\r\nrun=0\r\nlccdeb=0\r\n";
}

TEST_F(E2eTest, BadBasicFilenameRunsNoTool) {
    struct Case {
        const char* name;
        std::string basicFile;
        const char* fileToCreate;  // relative to the test folder, or null
    };
    // The test folder is made in SetUp; the cases name files inside it.
    const Case cases[] = {
        {"empty field", "", nullptr},
        {"name without a dot", Layout().WorkDir() + "\\prog", "work\\prog"},
        {"prog.txt without prog.bas", Layout().WorkDir() + "\\prog.txt", "work\\prog.txt"},
    };
    Layout().Remove("work\\prog.bas");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.fileToCreate != nullptr) {
            Layout().Write(c.fileToCreate, "PRINT 1\r\n");
        }
        AppSession& app = Start();
        UseLayout(app);
        app.SetText(ids::kTxtBasFile, c.basicFile);
        const MessageBoxInfo box = DebugUntilBox(app);
        EXPECT_EQ(box.title, kErrorTitle);
        EXPECT_EQ(box.text, "Error: Bad Basic Filename");
        EXPECT_EQ(IconName(box.icon), IconName(IconKind::Exclamation));
        Acknowledge(app, box);
        EXPECT_TRUE(Layout().LogLines().empty());
        ExpectWindowGivenBack(app, true);
        EXPECT_TRUE(app.Close());
    }
}

TEST_F(E2eTest, MissingResourceCompilerStopsBeforeTheCompiler) {
    Layout().Remove("lcc\\bin\\lrc.exe");
    AppSession& app = Start();
    UseLayout(app);
    const MessageBoxInfo box = DebugUntilBox(app);
    EXPECT_EQ(box.title, kErrorTitle);
    EXPECT_EQ(box.text, "Error: Cannot find lrc.exe - Check lcc path");
    Acknowledge(app, box);
    EXPECT_EQ(Layout().CommandLinesOf("ktvc").size(), 1u);
    EXPECT_TRUE(Layout().CommandLinesOf("lcc").empty());
    EXPECT_TRUE(Layout().CommandLinesOf("lcclnk").empty());
    ExpectWindowGivenBack(app, true);
}

TEST_F(E2eTest, MissingLibraryStopsBeforeTheLinker) {
    Layout().Write("work\\present.lib", "LIB");
    AppSession& app = Start();
    UseLayout(app);
    app.SetText(ids::kTxtLibs, "present.lib;missing.lib");
    const MessageBoxInfo box = DebugUntilBox(app);
    EXPECT_EQ(box.title, kErrorTitle);
    EXPECT_EQ(box.text, "Error: KTV Debugger cannot find one or more of your include libraries.");
    Acknowledge(app, box);
    EXPECT_EQ(Layout().CommandLinesOf("lcc").size(), 1u);
    EXPECT_TRUE(Layout().CommandLinesOf("lcclnk").empty());
    ExpectWindowGivenBack(app, true);
}

TEST_F(E2eTest, TranslatorThatCannotStartIsReported) {
    Layout().Remove("ktv\\bin\\ktvc.exe");
    AppSession& app = Start();
    UseLayout(app);
    const MessageBoxInfo box = DebugUntilBox(app);
    EXPECT_EQ(box.title, kErrorTitle);
    EXPECT_EQ(box.text, "Error: Could not run ktv");
    Acknowledge(app, box);
    EXPECT_TRUE(Layout().LogLines().empty());
    ExpectWindowGivenBack(app, true);
}

TEST_F(E2eTest, SuccessfulRunsLinkAsChosen) {
    struct Case {
        const char* name;
        int linkMode;
        const char* libraries;
        const char* extraFile;  // made in work\ before the run, or null
        const char* linkArguments;
        const char* output;
        bool dll;
    };
    const Case cases[] = {
        {"gui", ids::kOptGui, "", nullptr, " -o prog.exe -subsystem windows -s prog.obj  ",
         "work\\prog.exe", false},
        {"console", ids::kOptCon, "", nullptr, " -o prog.exe -subsystem console -s prog.obj  ",
         "work\\prog.exe", false},
        {"dll", ids::kOptDll, "", nullptr, " -o prog.dll -dll -s prog.obj  ", "work\\prog.dll",
         true},
        {"resource", ids::kOptCon, "", "work\\prog.rc",
         " -o prog.exe -subsystem console -s prog.obj prog.res ", "work\\prog.exe", false},
        {"library with trailing separator", ids::kOptCon, "a.lib;", "work\\a.lib",
         " -o prog.exe -subsystem console -s prog.obj  a.lib  ", "work\\prog.exe", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // Each case starts from the files of a fresh layout.
        for (const char* leftover : {"work\\standins.log", "work\\prog.rc", "work\\prog.res",
                                     "work\\a.lib", "work\\prog.exe", "work\\prog.dll"}) {
            Layout().Remove(leftover);
        }
        if (c.extraFile != nullptr) {
            Layout().Write(c.extraFile, "// made by the test\r\n");
        }
        AppSession& app = Start();
        UseLayout(app);
        app.SetText(ids::kTxtLibs, c.libraries);
        app.Click(c.linkMode);
        ExpectStates(app, {{c.linkMode, BST_CHECKED}});

        const MessageBoxInfo box = DebugUntilBox(app);
        EXPECT_EQ(box.title, kSuccessTitle);
        EXPECT_EQ(box.text, SuccessText("", c.dll));
        EXPECT_EQ(IconName(box.icon), IconName(IconKind::Information));
        Acknowledge(app, box);

        const std::string lcc = Layout().LccDir() + "\\bin\\";
        const std::string work = Layout().WorkDir();
        const std::vector<std::string> expected = {
            "ktvc|" + work + "|" + Quoted(Layout().KtvDir() + "\\bin\\ktvc.exe") + " " +
                Quoted(work + "\\prog") + " -e",
            "lrc|" + work + "|" + Quoted(lcc + "lrc.exe") + " " + Quoted(work + "\\prog"),
            "lrc|" + work + "|" + Quoted(lcc + "lrc.exe") + " " + Quoted(work + "\\prog.dlg"),
            "lcc|" + work + "|" + Quoted(lcc + "lcc.exe") + " " + Quoted(work + "\\prog.c") +
                " -O -zP1 -errout=lcc.err",
            "lcclnk|" + work + "|" + Quoted(lcc + "lcclnk.exe") + c.linkArguments,
        };
        std::vector<std::string> logged = Layout().LogLines();
        ASSERT_EQ(logged.size(), expected.size());
        for (size_t index = 0; index < expected.size(); ++index) {
            // Wine may spell the drive letter of the working directory differently.
            EXPECT_EQ(Lower(logged[index]), Lower(expected[index]));
            EXPECT_EQ(
                logged[index].substr(logged[index].find('|', logged[index].find('|') + 1)),
                expected[index].substr(expected[index].find('|', expected[index].find('|') + 1)));
        }
        EXPECT_TRUE(Layout().Exists(c.output));
        // The intermediate files are gone; the C file and the program stay.
        EXPECT_FALSE(Layout().Exists("work\\prog.obj"));
        EXPECT_FALSE(Layout().Exists("work\\prog.res"));
        EXPECT_FALSE(Layout().Exists("work\\lcc.err"));
        EXPECT_TRUE(Layout().Exists("work\\prog.c"));
        ExpectWindowGivenBack(app, c.linkMode == ids::kOptCon);
        EXPECT_TRUE(app.Close());
    }
}

// The link is judged by its output alone, before and after, never by this
// machine's clock: a file server may date the program an hour behind.
TEST_F(E2eTest, TheLinkCountsWhenItsOutputIsNewOrChanged) {
    struct Case {
        const char* name;
        const char* scenario;
        const char* title;
    };
    const Case cases[] = {
        {"dated an hour behind", "lcclnk.time_offset_s=-3600\r\n", kSuccessTitle},
        {"an earlier build's program left untouched", "lcclnk.no_output=1\r\n", kErrorTitle},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Layout().Write("work\\prog.exe", "MZ from an earlier build");
        Layout().Write("work\\scenario.txt", c.scenario);
        AppSession& app = Start();
        UseLayout(app);
        const MessageBoxInfo box = DebugUntilBox(app);
        EXPECT_EQ(box.title, c.title) << box.text;
        if (std::string(c.title) == kErrorTitle) {
            EXPECT_EQ(box.text.rfind("Error: The linker did not produce prog.exe.\r\n", 0), 0u);
        }
        Acknowledge(app, box);
        EXPECT_TRUE(app.Close());
    }
}

TEST_F(E2eTest, NoLinkModeLeavesTheLinkerWithoutOutputAndSwitch) {
    Layout().Write("KTVDebug.cfg", SettingsWithLinkMode(Layout(), "False", "False", "False"));
    AppSession& app = Start();
    ExpectStates(app, {{ids::kOptGui, BST_UNCHECKED},
                       {ids::kOptCon, BST_UNCHECKED},
                       {ids::kOptDll, BST_UNCHECKED}});
    const MessageBoxInfo box = DebugUntilBox(app);
    EXPECT_EQ(box.title, kSuccessTitle);
    EXPECT_EQ(box.text, SuccessText("", false));
    Acknowledge(app, box);
    const auto linked = Layout().CommandLinesOf("lcclnk");
    ASSERT_EQ(linked.size(), 1u);
    EXPECT_EQ(linked[0], Quoted(Layout().LccDir() + "\\bin\\lcclnk.exe") + " -o   -s prog.obj  ");
    // With no selection the command line field keeps its state.
    ExpectWindowGivenBack(app, true);
}

TEST_F(E2eTest, CheckingWarningsAddsTheNoteToSuccess) {
    AppSession& app = Start();
    UseLayout(app);
    app.Click(ids::kChkWarn);
    ExpectStates(app, {{ids::kChkWarn, BST_CHECKED}});
    const MessageBoxInfo box = DebugUntilBox(app);
    EXPECT_EQ(box.title, kSuccessTitle);
    EXPECT_EQ(box.text, SuccessText("or Warnings", false));
    Acknowledge(app, box);
    ExpectWindowGivenBack(app, true);
}

TEST_F(E2eTest, DebugNormalisesTheDirectoryFields) {
    std::string forwardLcc = Layout().LccDir() + "/";
    std::replace(forwardLcc.begin(), forwardLcc.end(), '\\', '/');
    struct Case {
        const char* name;
        std::string typedLcc;
        std::string shownLcc;
        std::string toolPrefix;
    };
    const Case cases[] = {
        // One trailing "\" goes.
        {"trailing backslash", Layout().LccDir() + "\\", Layout().LccDir(),
         Layout().LccDir() + "\\bin\\"},
        // "/" becomes "\" after the trailing "\" is looked for: one stays.
        {"forward slashes", forwardLcc, Layout().LccDir() + "\\", Layout().LccDir() + "\\\\bin\\"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Layout().Remove("work\\standins.log");
        AppSession& app = Start();
        UseLayout(app);
        app.SetText(ids::kTxtLccPath, c.typedLcc);
        app.SetText(ids::kTxtKtvPath, Layout().KtvDir() + "\\");
        const MessageBoxInfo box = DebugUntilBox(app);
        EXPECT_EQ(box.title, kSuccessTitle);
        Acknowledge(app, box);
        EXPECT_EQ(app.Text(ids::kTxtLccPath), c.shownLcc);
        EXPECT_EQ(app.Text(ids::kTxtKtvPath), Layout().KtvDir());
        const auto linked = Layout().CommandLinesOf("lcclnk");
        ASSERT_EQ(linked.size(), 1u);
        EXPECT_EQ(linked[0].rfind(Quoted(c.toolPrefix + "lcclnk.exe"), 0), 0u) << linked[0];
        ExpectWindowGivenBack(app, true);
        EXPECT_TRUE(app.Close());
    }
}

TEST_F(E2eTest, CompilerErrorIsLedBackToItsBasicLine) {
    Layout().Write("work\\scenario.txt", "lcc.error_at_basic=3 undeclared identifier 'x'\r\n");
    AppSession& app = Start();
    UseLayout(app);
    app.Click(ids::kChkJen);  // no editor: the report alone
    ExpectStates(app, {{ids::kChkJen, BST_UNCHECKED}});
    const MessageBoxInfo box = DebugUntilBox(app);
    EXPECT_EQ(box.title, kErrorTitle);
    EXPECT_EQ(box.text, "C Error:  undeclared identifier 'x'   -   Basic Line:  3");
    EXPECT_EQ(IconName(box.icon), IconName(IconKind::Information));
    Acknowledge(app, box);
    EXPECT_TRUE(Layout().CommandLinesOf("lcclnk").empty());
    ExpectWindowGivenBack(app, true);
}

}  // namespace
}  // namespace ktv::e2e
