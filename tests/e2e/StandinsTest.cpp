// The stand-ins honour the scenario keys that the end-to-end tests rely on.

#include <gtest/gtest.h>

#include <string>

#include "E2eDriver.h"

namespace ktv::e2e {
namespace {

class StandinsTest : public ::testing::Test {
protected:
    StandinsTest() : layout_(ToWindowsPath(KTV_E2E_PROGRAM), ToWindowsPath(KTV_E2E_STANDINS)) {}

    void TearDown() override {
        if (HasFailure()) {
            layout_.Keep();
        }
    }

    // Runs a stand-in of the layout in work\ and waits (bounded) for it.
    void Run(const std::string& tool, const std::string& arguments) {
        const std::string program = layout_.Root() + "\\" + tool;
        std::string commandLine = "\"" + program + "\" " + arguments;
        STARTUPINFOA startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION info{};
        ASSERT_TRUE(::CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                                     CREATE_NO_WINDOW, nullptr, layout_.WorkDir().c_str(), &startup,
                                     &info));
        EXPECT_EQ(::WaitForSingleObject(info.hProcess, 30000), WAIT_OBJECT_0);
        ::CloseHandle(info.hThread);
        ::CloseHandle(info.hProcess);
    }

    void Translate() { Run("ktv\\bin\\ktvc.exe", "\"" + layout_.WorkDir() + "\\prog\" -e"); }
    void Compile() {
        Run("lcc\\bin\\lcc.exe", "\"" + layout_.WorkDir() + "\\prog.c\" -O -zP1 -errout=lcc.err");
    }

    std::string Work(const std::string& name) const {
        return layout_.Read("work\\" + name).value_or("<missing>");
    }

    TestLayout layout_;
};

TEST_F(StandinsTest, TranslatorMarksBasicLinesOnlyWithTheSourceLine) {
    Translate();
    EXPECT_NE(Work("prog.c").find("// [1]\r\n    /* $SOURCE */"), std::string::npos)
        << Work("prog.c");
    EXPECT_NE(Work("prog.c").find("// [4]\r\n    /* PRINT x */"), std::string::npos);
    EXPECT_FALSE(layout_.Exists("work\\ktv.err"));

    layout_.Write("work\\prog.bas", "PRINT 1\r\n");
    Translate();
    EXPECT_EQ(Work("prog.c").find("// ["), std::string::npos);
}

TEST_F(StandinsTest, TranslatorScenarioKeys) {
    layout_.Write("work\\other.c", "int main(void) { return 0; }\n");
    layout_.Write("work\\scenario.txt",
                  "# comment\r\nktvc.error=Syntax error in line 3\r\nktvc.error=second\r\n"
                  "ktvc.copy_c=other.c\r\n");
    Translate();
    EXPECT_EQ(Work("ktv.err"), "Syntax error in line 3\r\nsecond\r\n");
    EXPECT_EQ(Work("prog.c"), "int main(void) { return 0; }\n");

    layout_.Remove("work\\prog.c");
    layout_.Write("work\\scenario.txt", "ktvc.no_c=1\nktvc.empty_err=1\n");
    layout_.Remove("work\\ktv.err");
    Translate();
    EXPECT_FALSE(layout_.Exists("work\\prog.c"));
    EXPECT_EQ(Work("ktv.err"), "");
}

TEST_F(StandinsTest, CompilerPutsDiagnosticsUnderTheBasicLinesReference) {
    Translate();
    layout_.Write("work\\scenario.txt",
                  "lcc.err=raw first\r\nlcc.error_at_basic=3  undeclared x\r\n"
                  "lcc.warning_at_basic=2 unused\r\n");
    Compile();
    // Each diagnostic names the C line right under "// [N]" of its Basic line.
    const std::string c = Work("prog.c");
    const auto lineAfter = [&](const std::string& reference) {
        int line = 1;
        for (size_t at = 0; at < c.find(reference); ++at) {
            line += c[at] == '\n' ? 1 : 0;
        }
        return std::to_string(line + 1);
    };
    EXPECT_EQ(Work("lcc.err"), "raw first\r\nError prog.c: " + lineAfter("// [3]") +
                                   "  undeclared x\r\nWarning prog.c: " + lineAfter("// [2]") +
                                   " unused\r\n");
    EXPECT_TRUE(layout_.Exists("work\\prog.obj"));
}

TEST_F(StandinsTest, MissingOutputsAndTheLog) {
    Translate();
    layout_.Write("work\\prog.rc", "// resources\r\n");
    layout_.Write("work\\scenario.txt", "lrc.no_res=1\r\nlcc.no_obj=1\r\nlcc.exit_code=3\r\n");
    Run("lcc\\bin\\lrc.exe", "\"" + layout_.WorkDir() + "\\prog\"");
    Compile();
    EXPECT_FALSE(layout_.Exists("work\\prog.res"));
    EXPECT_FALSE(layout_.Exists("work\\prog.obj"));
    EXPECT_EQ(Work("lcc.err"), "");

    layout_.Write("work\\scenario.txt", "");
    Run("lcc\\bin\\lrc.exe", "\"" + layout_.WorkDir() + "\\prog\"");
    Compile();
    Run("lcc\\bin\\lcclnk.exe", "-o prog.exe -subsystem console -s prog.obj prog.res ");
    EXPECT_TRUE(layout_.Exists("work\\prog.res"));
    EXPECT_TRUE(layout_.Exists("work\\prog.exe"));

    layout_.Remove("work\\prog.exe");
    layout_.Write("work\\scenario.txt", "lcclnk.no_output=1\r\n");
    Run("lcc\\bin\\lcclnk.exe", "-o prog.exe -subsystem console -s prog.obj  ");
    EXPECT_FALSE(layout_.Exists("work\\prog.exe"));

    const auto logged = layout_.CommandLinesOf("lcclnk");
    ASSERT_EQ(logged.size(), 2u);
    EXPECT_EQ(logged[1], "\"" + layout_.LccDir() +
                             "\\bin\\lcclnk.exe\" -o prog.exe -subsystem "
                             "console -s prog.obj  ");
    EXPECT_EQ(layout_.CommandLinesOf("ktvc").size(), 1u);
}

}  // namespace
}  // namespace ktv::e2e
