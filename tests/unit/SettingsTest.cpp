#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "FakePlatform.h"
#include "main/Settings.h"

namespace ktv {
namespace {

constexpr const char* kFolder = "c:\\KTVDebugger";
constexpr const char* kPath = "c:\\KTVDebugger\\KTVDebug.cfg";

// The file a first start leaves behind when the user presses "Exit" at once.
constexpr const char* kFirstStartFile =
    "lccpath=c:\\lcc\r\n"
    "ktvpath=c:\\ktv\r\n"
    "basicpath=\r\n"
    "jfe=1\r\n"
    "ccon=0\r\n"
    "notepad=0\r\n"
    "libs=\r\n"
    "gui=False\r\n"
    "dll=False\r\n"
    "con=True\r\n"
    "cmd=\r\n"
    "cwarn=0\r\n"
    "run=0\r\n"
    "lccdeb=0\r\n";

class SettingsTest : public ::testing::Test {
protected:
    SettingsTest() {
        fake.files.SetExecutableFolder(kFolder);
        fake.files.AddFolder(kFolder);
    }

    void Load(MainForm& form) {
        Platform platform = fake.Get();
        LoadConfig(form, platform, 0);
    }
    void Save(const MainForm& form) {
        Platform platform = fake.Get();
        SaveConfig(form, platform, 0);
    }

    fakes::FakePlatform fake;
};

// Every control's value in one comparable record; the defaults are those of
// a form that nothing has changed.
struct FormState {
    std::string lcc = "c:\\lcc";
    std::string ktv = "c:\\ktv";
    std::string bas{};
    std::string libs{};
    std::string cmd{};
    bool cmdEnabled = true;
    std::optional<LinkMode> link = LinkMode::Console;
    int note = 0;
    int jfe = 0;
    int ccon = 0;
    int warn = 0;
    int run = 0;
    int lccdeb = 0;

    friend bool operator==(const FormState&, const FormState&) = default;
};

std::ostream& operator<<(std::ostream& out, const FormState& s) {
    const char* link = !s.link                        ? "none"
                       : *s.link == LinkMode::Gui     ? "gui"
                       : *s.link == LinkMode::Console ? "con"
                                                      : "dll";
    return out << "lcc=" << s.lcc << " ktv=" << s.ktv << " bas=" << s.bas << " libs=" << s.libs
               << " cmd=" << s.cmd << (s.cmdEnabled ? " (on)" : " (off)") << " link=" << link
               << " note=" << s.note << " jfe=" << s.jfe << " ccon=" << s.ccon << " warn=" << s.warn
               << " run=" << s.run << " lccdeb=" << s.lccdeb;
}

FormState StateOf(const MainForm& f) {
    auto n = [](const CheckBox& box) { return static_cast<int>(box.State()); };
    return FormState{f.Txt_LccPath.Text(), f.Txt_KtvPath.Text(), f.Txt_BasFile.Text(),
                     f.Txt_Libs.Text(),    f.Txt_Cmd.Text(),     f.Txt_Cmd.Enabled(),
                     f.SelectedLinkMode(), n(f.Chk_Note),        n(f.Chk_Jen),
                     n(f.Chk_Con),         n(f.Chk_warn),        n(f.Chk_Run),
                     n(f.Chk_debug)};
}

TEST_F(SettingsTest, FirstStartThenExitWritesTheFourteenLines) {
    MainForm form;
    Load(form);
    EXPECT_EQ(StateOf(form), (FormState{.jfe = 1}));
    Save(form);
    EXPECT_EQ(fake.files.Content(kPath), kFirstStartFile);
    EXPECT_EQ(fake.transcript.Entries(),
              std::vector<std::string>{"write-file: " + std::string(kPath)});
}

TEST_F(SettingsTest, EverySettingSurvivesARestartByteForByte) {
    MainForm first;
    Load(first);
    first.Txt_LccPath.SetText("  d:\\tools\\lcc  ");
    first.Txt_KtvPath.SetText("d:\\ktv");
    first.Txt_BasFile.SetText("c:\\my work,old\\prog.bas");
    first.Txt_Libs.SetText(" a.lib;b.lib ");
    first.Txt_Cmd.SetText("-in \"x, y\" -v=2");
    first.Chk_Con.Click();
    first.Chk_warn.Click();
    first.Chk_debug.Click();
    first.Opt_Gui.Click();
    Save(first);
    const std::string written = *fake.files.Content(kPath);

    MainForm second;
    Load(second);
    const FormState expected{.lcc = "d:\\tools\\lcc",
                             .ktv = "d:\\ktv",
                             .bas = "c:\\my work,old\\prog.bas",
                             .libs = "a.lib;b.lib",
                             .cmd = "-in \"x, y\" -v=2",
                             .cmdEnabled = false,
                             .link = LinkMode::Gui,
                             .ccon = 1,
                             .warn = 1,
                             .lccdeb = 1};
    EXPECT_EQ(StateOf(second), expected);
    Save(second);
    EXPECT_EQ(fake.files.Content(kPath), written);
}

struct LoadCase {
    const char* name;
    const char* file;
    FormState expected;
};

TEST_F(SettingsTest, LoadingFollowsTheTestsInOrder) {
    const LoadCase cases[] = {
        {"only a directory: the JFE box stays off", "lccpath=d:\\lcc\r\n", {.lcc = "d:\\lcc"}},
        {"keys in capitals are skipped", "LCCPATH=d:\\lcc\r\nJfe=1\r\nCon=False\r\n", {}},
        {"a key followed by letters feeds the key",
         "lccpathX=d:\\y\r\nrunning = 1\r\n",
         {.lcc = "d:\\y", .run = 1}},
        {"spaces around records and values go",
         "  ktvpath =   e:\\ktv  \r\ncmd=  a b  \r\n",
         {.ktv = "e:\\ktv", .cmd = "a b"}},
        {"records without = are skipped", "lccpath\r\nlibs\r\n", {}},
        {"jfe blocks a later notepad", "jfe=1\r\nccon=0\r\nnotepad=1\r\n", {.jfe = 1}},
        {"ccon blocks nothing", "jfe=0\r\nccon=1\r\nnotepad=1\r\n", {.note = 1}},
        {"notepad blocks jfe and ccon", "notepad=1\r\njfe=1\r\nccon=1\r\n", {.note = 1}},
        {"run blocks a later lccdeb", "run=1\r\nlccdeb=1\r\n", {.run = 1}},
        {"a later run clears lccdeb", "lccdeb=1\r\nrun=1\r\n", {.run = 1}},
        {"a grayed box blocks like any state but 0",
         "jfe=2\r\nnotepad=1\r\nrun=2\r\nlccdeb=1\r\n",
         {.jfe = 2, .run = 2}},
        {"True on gui",
         "gui=True\r\ndll=False\r\ncon=False\r\n",
         {.cmdEnabled = false, .link = LinkMode::Gui}},
        {"False on all three", "gui=False\r\ndll=False\r\ncon=False\r\n", {.link = std::nullopt}},
        {"numbers and any letter case as truth values",
         "dll=-1\r\ngui=0\r\n",
         {.cmdEnabled = false, .link = LinkMode::Dll}},
        {"lower case truth", "gui=true\r\n", {.cmdEnabled = false, .link = LinkMode::Gui}},
        {"bad check-box values keep the state",
         "cwarn=1\r\ncwarn=3\r\ncwarn=yes\r\ncwarn=-1\r\n"
         "cwarn=1.0\r\ncwarn=\r\n",
         {.warn = 1}},
        {"bad option values keep the selection", "con=maybe\r\ncon=\r\ngui=1x\r\ndll=.\r\n", {}},
        {"a comma does not cut a record",
         "basicpath=c:\\a,b\\prog.bas\r\nlibs=x.lib,y.lib\r\ncmd=1,2, 3\r\n",
         {.bas = "c:\\a,b\\prog.bas", .libs = "x.lib,y.lib", .cmd = "1,2, 3"}},
        {"a value keeps its own = signs", "cmd=-d=1 -e=2\r\n", {.cmd = "-d=1 -e=2"}},
        {"lone LF and lone CR end records too",
         "lccpath=d:\\lcc\nktvpath=d:\\ktv\rjfe=1",
         {.lcc = "d:\\lcc", .ktv = "d:\\ktv", .jfe = 1}},
    };
    for (const LoadCase& c : cases) {
        SCOPED_TRACE(c.name);
        fakes::FakePlatform local;
        local.files.SetExecutableFolder(kFolder);
        local.files.AddFile(kPath, c.file);
        MainForm form;
        Platform platform = local.Get();
        LoadConfig(form, platform, 0);
        EXPECT_EQ(StateOf(form), c.expected);
        EXPECT_TRUE(local.transcript.Entries().empty());
    }
}

TEST_F(SettingsTest, AnEmptyFileShowsEofAndLoadsNothing) {
    fake.files.AddFile(kPath, "");
    MainForm form;
    Load(form);
    EXPECT_EQ(StateOf(form), FormState{});
    EXPECT_EQ(fake.transcript.Entries(), std::vector<std::string>{"box[0|KTVDebugger]: EOF"});
}

constexpr const char* kPerUser = "c:\\users\\me\\AppData\\Roaming\\KTV Debugger\\KTVDebug.cfg";

// A program folder that cannot be written (a 64-bit install under Program
// Files) keeps the settings in the user's folder; the copy there wins until a
// save beside the program works again, which removes it.
TEST_F(SettingsTest, AProgramFolderThatCannotBeWrittenKeepsTheSettingsPerUser) {
    fake.files.AddFolder("c:\\users\\me\\AppData\\Roaming");
    fake.files.AddFile(kPath, "lccpath=d:\\old\r\n");
    fake.files.FailOn(fakes::FsOp::Write, kPath);
    MainForm form;
    form.Txt_LccPath.SetText("e:\\new");
    EXPECT_NO_THROW(Save(form));
    EXPECT_TRUE(fake.transcript.Only({"box["}).empty());
    EXPECT_EQ(fake.files.Content(kPath), "lccpath=d:\\old\r\n");
    EXPECT_EQ(fake.files.Content(kPerUser).value_or("").rfind("lccpath=e:\\new\r\n", 0), 0u);

    MainForm loaded;
    Load(loaded);
    EXPECT_EQ(loaded.Txt_LccPath.Text(), "e:\\new");

    form.Txt_LccPath.SetText("f:\\newer");
    Save(form);  // the program folder can be written again
    EXPECT_FALSE(fake.files.FileExists(kPerUser));
    MainForm reloaded;
    Load(reloaded);
    EXPECT_EQ(reloaded.Txt_LccPath.Text(), "f:\\newer");
}

TEST_F(SettingsTest, OnlyWhenNeitherPlaceCanBeWrittenIsItReportedAndNothingThrows) {
    fake.files.AddFile(kPath, "lccpath=d:\\old\r\n");
    fake.files.FailOn(fakes::FsOp::Write, kPath);
    fake.files.FailOn(fakes::FsOp::CreateFolder);
    MainForm form;
    EXPECT_NO_THROW(Save(form));
    EXPECT_EQ(fake.transcript.Only({"box["}),
              std::vector<std::string>{
                  "box[48|Error!]: Error: Could not save the settings to " + std::string(kPath) +
                  ": Injected failure on c:\\ktvdebugger\\ktvdebug.cfg\r\nnor to " + kPerUser +
                  ": Injected failure on c:\\users\\me\\appdata\\roaming\\ktv debugger"});
    EXPECT_EQ(fake.files.Content(kPath), "lccpath=d:\\old\r\n");
}

}  // namespace
}  // namespace ktv
