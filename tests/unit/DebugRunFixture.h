#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "FakePlatform.h"
#include "build/BuildDriver.h"
#include "main/MainForm.h"

namespace ktv::fixtures {

// A machine laid out for one Debug run of c:\work\prog.bas: the LCC tools under
// c:\lcc\bin, the translator under c:\ktv\bin, and fake tools that write what
// the real ones would (prog.c, prog.obj, prog.exe or prog.dll) into the fake
// file system. The routines of the diagnostics and post-build pieces are
// recording stand-ins that answer "go on"; a test changes an answer or
// replaces a routine. DebugRunWorld is the machine; DebugRunFixture hands it
// to TEST_F, and table-driven tests make one world per case.
class DebugRunWorld {
public:
    DebugRunWorld();
    DebugRunWorld(const DebugRunWorld&) = delete;
    DebugRunWorld& operator=(const DebugRunWorld&) = delete;

    // Presses Debug with `routines`.
    void PressDebug();

    // The transcript with runs of DoEvents folded, and the folded entries that
    // begin with one of the prefixes.
    std::vector<std::string> Folded() const { return fake.transcript.Folded(); }
    std::vector<std::string> Only(std::initializer_list<std::string_view> prefixes) const {
        return fake.transcript.Only(prefixes);
    }
    // The programs run hidden, by file name ("ktvc.exe", "lrc.exe", ...).
    std::vector<std::string> ToolsRun() const;
    // Every box prompt, in order.
    std::vector<std::string> BoxPrompts() const;

    // How the window stood: "window on|off, buttons on|off|mixed, busy|arrow".
    std::string WindowState() const;

    static std::string ToolName(const std::string& commandLine);

    static constexpr WindowRef kOwner = 77;

    fakes::FakePlatform fake;
    Platform platform;
    MainForm form;
    BuildRun run;
    // The names the fake tools write under; a test that runs Debug through
    // another BuildRun points this at it.
    const BuildRun* names = &run;

    // What each fake tool does, by its file name in lower case. A missing or
    // empty entry does nothing.
    std::map<std::string, std::function<void(const std::string& commandLine)>> tools;

    // The window's state at each tool run and each box: "<what>: <state>".
    std::vector<std::string> moments;

    // Answers of the recording stand-ins.
    bool markerInserted = false;
    bool basicErrorReported = false;
    bool cErrorReported = false;
    bool cWarningReported = false;
    DebugRoutines routines;
};

class DebugRunFixture : public ::testing::Test, public DebugRunWorld {};

}  // namespace ktv::fixtures
