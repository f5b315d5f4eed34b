// Many Debug runs in a row in one KTVDebugger.exe, mixing the ways a run
// ends: each must report as it should and give the window back, and the
// program must not keep more handles, GDI or USER objects or memory at the
// end than after its first runs. KTV_SOAK_RUNS sets the count (default 200).
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "WindowDriver.h"
#include "ResourceUsage.h"
#include "model/ControlIds.h"

namespace ktv::soak {
namespace {

struct Scenario {
    const char* scenarioFile;  // the stand-ins' scenario.txt
    const char* libraries;
    const char* text;
};

const Scenario kScenarios[] = {
    {"", "",
     "Application prog.bas has been compiled succesfully\r\n\r\nThere were no detected "
     "errors \r\n"},
    {"ktvc.error=Syntax error in line 2\r\n", "", "Basic Error: Syntax error in line 2"},
    {"lcc.error_at_basic=3 undeclared identifier 'x'\r\n", "",
     "C Error:  undeclared identifier 'x'   -   Basic Line:  3"},
    {"", "missing.lib", "Error: KTV Debugger cannot find one or more of your include libraries."},
};

void RunOnce(driver::AppSession& app, const driver::TestLayout& layout, int number) {
    const Scenario& scenario = kScenarios[number % std::size(kScenarios)];
    layout.Write("work\\scenario.txt", scenario.scenarioFile);
    layout.Write("work\\standins.log", "");  // it would grow with every run
    app.SetText(ids::kLibrariesField, scenario.libraries);
    app.Click(ids::kDebugButton);
    const auto box = app.WaitForBox();
    ASSERT_TRUE(box.has_value()) << "run " << number;
    EXPECT_EQ(box->text, scenario.text) << "run " << number;
    app.PressOk(*box);
    ASSERT_TRUE(app.WaitUntilIdle()) << "run " << number;
}

TEST(Soak, RepeatedDebugRunsKeepResourcesFlat) {
    const int runs = CountFromEnvironment("KTV_SOAK_RUNS", 200);
    const driver::TestLayout layout(driver::ToWindowsPath(KTV_SOAK_PROGRAM),
                                    driver::ToWindowsPath(KTV_SOAK_STANDINS));
    driver::AppSession app(layout.Program(), layout.Root());
    app.SetText(ids::kLccDirectoryField, layout.LccDir());
    app.SetText(ids::kKtvDirectoryField, layout.KtvDir());
    app.SetText(ids::kBasicFileField, layout.BasicFile());
    app.Set(ids::kLaunchJfeBox, BST_UNCHECKED);  // no editor: every error ends at its report
    for (int number = 0; number < static_cast<int>(std::size(kScenarios)); ++number) {
        RunOnce(app, layout, number);  // warm-up: first-use allocations are no leaks
    }
    const ResourceSample first = SampleProcess(app.ProcessId());
    for (int number = 0; number < runs && !::testing::Test::HasFailure(); ++number) {
        RunOnce(app, layout, number);
    }
    const auto figures = CompareSamples(first, SampleProcess(app.ProcessId()));
    std::printf("Debug soak, %d runs in one KTVDebugger.exe:\n%s", runs, Describe(figures).c_str());
    for (const auto& figure : figures) {
        EXPECT_FALSE(figure.Exceeded()) << figure.name << " grew by more than " << *figure.bound;
    }
    EXPECT_TRUE(app.Close());
}

}  // namespace
}  // namespace ktv::soak
