// Many Debug runs in a row in one KTVDebugger.exe, mixing the ways a run
// ends: each must report as it should and give the window back, and the
// program must not keep more handles, GDI or USER objects or memory at the
// end than after its first run. KTV_SOAK_RUNS sets the count (default 20);
// ./soak runs 200.
#include <cstdio>
#include <string>

#include "E2eFixture.h"
#include "ResourceUsage.h"
#include "main/ControlIds.h"

namespace ktv::e2e {
namespace {

using win32::testing::CompareSamples;
using win32::testing::CountFromEnvironment;
using win32::testing::Describe;
using win32::testing::ResourceSample;
using win32::testing::SampleProcess;

struct Scenario {
    const char* name;
    const char* scenarioFile;  // the stand-ins' scenario.txt
    const char* libraries;     // the libraries field
    const char* title;
    const char* text;
};

const Scenario kScenarios[] = {
    {"success", "", "", "Success!",
     "Application prog.bas has been compiled succesfully\r\n\r\nThere were no detected errors "
     "\r\n"},
    {"translator error", "ktvc.error=Syntax error in line 2\r\n", "", "Error!",
     "Basic Error: Syntax error in line 2"},
    {"C error", "lcc.error_at_basic=3 undeclared identifier 'x'\r\n", "", "Error!",
     "C Error:  undeclared identifier 'x'   -   Basic Line:  3"},
    {"missing library", "", "missing.lib", "Error!",
     "Error: KTV Debugger cannot find one or more of your include libraries."},
};

class SoakE2eTest : public E2eTest {
protected:
    void Run(AppSession& app, int number) {
        const Scenario& scenario = kScenarios[number % std::size(kScenarios)];
        SCOPED_TRACE("run " + std::to_string(number) + ": " + scenario.name);
        Layout().Write("work\\scenario.txt", scenario.scenarioFile);
        app.SetText(ids::kTxtLibs, scenario.libraries);
        const MessageBoxInfo box = DebugUntilBox(app);
        EXPECT_EQ(box.title, scenario.title);
        EXPECT_EQ(box.text, scenario.text);
        Acknowledge(app, box);
        ExpectWindowGivenBack(app, true);
        // The stand-ins' log would otherwise grow with every run.
        Layout().Remove("work\\standins.log");
    }
};

TEST_F(SoakE2eTest, RepeatedDebugRunsKeepResourcesFlat) {
    const int runs = CountFromEnvironment("KTV_SOAK_RUNS", 20);
    AppSession& app = Start();
    UseLayout(app);
    app.Click(ids::kChkJen);  // no editor: every error ends at its report
    ExpectStates(app, {{ids::kChkJen, BST_UNCHECKED}});

    // Warm-up: one run of each kind, so that first-use allocations are not
    // taken for leaks.
    for (int number = 0; number < static_cast<int>(std::size(kScenarios)); ++number) {
        Run(app, number);
    }
    const ResourceSample first = SampleProcess(app.ProcessId());
    for (int number = 0; number < runs && !HasFailure(); ++number) {
        Run(app, number);
    }
    const ResourceSample last = SampleProcess(app.ProcessId());

    const auto figures = CompareSamples(first, last);
    std::printf("Debug soak, %d runs in one KTVDebugger.exe:\n%s", runs, Describe(figures).c_str());
    for (const auto& figure : figures) {
        EXPECT_FALSE(figure.Exceeded())
            << figure.name << " grew by more than " << figure.bound.value_or(0);
    }
    EXPECT_TRUE(first.userObjects.value.has_value()) << first.userObjects.source;
    EXPECT_GT(first.privateBytes, 0u);
    EXPECT_TRUE(app.Close());
}

}  // namespace
}  // namespace ktv::e2e
