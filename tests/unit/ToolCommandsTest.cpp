#include <gtest/gtest.h>

#include "build/ToolCommands.h"

namespace ktv {
namespace {

using Lines = std::vector<std::string>;

TEST(ToolCommands, EachToolGetsItsQuotedPathsAndSwitches) {
    const BuildRun run{"c:\\my work", "prog", "prog.bas"};
    struct Case {
        std::string actual;
        std::string expected;
    };
    const Case cases[] = {
        {TranslatorCommand("c:\\ktv", run), "\"c:\\ktv\\bin\\ktvc.exe\" \"c:\\my work\\prog\" -e"},
        {ResourceCommand("c:\\lcc", run), "\"c:\\lcc\\bin\\lrc.exe\" \"c:\\my work\\prog\""},
        {DialogResourceCommand("c:\\lcc", run),
         "\"c:\\lcc\\bin\\lrc.exe\" \"c:\\my work\\prog.dlg\""},
        {CompilerCommand("c:\\lcc", run),
         "\"c:\\lcc\\bin\\lcc.exe\" \"c:\\my work\\prog.c\" -O -zP1 -errout=lcc.err"},
        // A directory left with a final "\" is passed on as it stands.
        {CompilerCommand("c:\\lcc\\", run),
         "\"c:\\lcc\\\\bin\\lcc.exe\" \"c:\\my work\\prog.c\" -O -zP1 -errout=lcc.err"},
        {ResourceCompilerPath("d:\\tools\\lcc"), "d:\\tools\\lcc\\bin\\lrc.exe"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.actual, c.expected);
    }
}

TEST(ToolCommands, LinkTargetFollowsTheLinkMode) {
    struct Case {
        std::optional<LinkMode> mode;
        std::string subsystemSwitch;
        std::string outputName;
        std::string expected;
        bool dll;
    };
    const Case cases[] = {
        {LinkMode::Gui, "-subsystem windows", "prog.exe", "prog.exe", false},
        {LinkMode::Console, "-subsystem console", "prog.exe", "prog.exe", false},
        {LinkMode::Dll, "-dll", "prog.dll", "prog.dll", true},
        {std::nullopt, "", "", "prog.exe", false},
    };
    for (const Case& c : cases) {
        const LinkTarget target = LinkTargetFor(c.mode, "prog");
        EXPECT_EQ(target.subsystemSwitch, c.subsystemSwitch);
        EXPECT_EQ(target.outputName, c.outputName);
        EXPECT_EQ(ExpectedOutputName(target, "prog"), c.expected);
        EXPECT_EQ(target.IsDll(), c.dll);
    }
}

TEST(ToolCommands, LibraryListSplitsAtEverySemicolon) {
    struct Case {
        std::string text;
        Lines entries;
        std::string arguments;
    };
    const Case cases[] = {
        {"", {}, ""},
        {"a.lib", {"a.lib"}, "a.lib "},
        {"a.lib;", {"a.lib", ""}, "a.lib  "},
        {"a.lib;;b.lib", {"a.lib", "", "b.lib"}, "a.lib  b.lib "},
        {";", {"", ""}, "  "},
        {" a.lib ; b.lib", {" a.lib ", " b.lib"}, " a.lib   b.lib "},
    };
    for (const Case& c : cases) {
        const Lines entries = SplitLibraryList(c.text);
        EXPECT_EQ(entries, c.entries) << c.text;
        EXPECT_EQ(LibraryArguments(entries), c.arguments) << c.text;
    }
}

TEST(ToolCommands, LinkerCommandKeepsEverySeparatingSpace) {
    const std::string linker = "\"c:\\lcc\\bin\\lcclnk.exe\"";
    EXPECT_EQ(LinkerCommand("c:\\lcc", LinkTargetFor(LinkMode::Gui, "prog"), "prog", "prog.res",
                            "a.lib b.lib "),
              linker + " -o prog.exe -subsystem windows -s prog.obj prog.res a.lib b.lib ");
    EXPECT_EQ(LinkerCommand("c:\\lcc", LinkTargetFor(LinkMode::Dll, "prog"), "prog", "", ""),
              linker + " -o prog.dll -dll -s prog.obj  ");
    EXPECT_EQ(LinkerCommand("c:\\lcc", LinkTargetFor(std::nullopt, "prog"), "prog", "", "x.lib "),
              linker + " -o   -s prog.obj  x.lib ");
}

TEST(ToolCommands, SuccessPromptNotesWarningsAndDropsTheLastBreakForADll) {
    const std::string head = "Application my prog.bas has been compiled succesfully\r\n\r\n";
    EXPECT_EQ(SuccessPrompt("my prog", false, false), head + "There were no detected errors \r\n");
    EXPECT_EQ(SuccessPrompt("my prog", true, false),
              head + "There were no detected errors or Warnings\r\n");
    EXPECT_EQ(SuccessPrompt("my prog", false, true), head + "There were no detected errors ");
    EXPECT_EQ(SuccessPrompt("my prog", true, true),
              head + "There were no detected errors or Warnings");
}

}  // namespace
}  // namespace ktv
