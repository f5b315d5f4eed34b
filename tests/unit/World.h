#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Fakes.h"
#include "debug/DebugButton.h"

namespace ktv::testing {

using Lines = std::vector<std::string>;

// A machine laid out for a Debug run of c:\work\prog.bas (which carries its
// marker line) with the tools under c:\lcc\bin and c:\ktv\bin. The fake
// tools do what the real ones would: the translator writes prog.c with a
// line reference "// [N]" above the C of Basic line N (and ktv.err from
// translatorError), the compiler prog.obj and lcc.err, the linker the
// program; each takes half a second. The window's locking and unlocking and
// the run's outcome go into the transcript.
struct World : DebugButtonWindow {
    World();

    void PressDebug();
    DebugContext Context() { return DebugContext{options, names, fake.platform, kOwner, run}; }
    void ChooseEditor(EditorChoice editor) { options.editor = editor; }

    Lines Calls() const { return fake.transcript.Folded(); }
    Lines Only(std::initializer_list<std::string_view> prefixes) const {
        return fake.transcript.Only(prefixes);
    }
    Lines Boxes() const;     // every box as "<buttons>|<title>|<prompt>"
    Lines ToolsRun() const;  // "ktvc.exe", "lrc.exe", ...

    void SetButtonsEnabled(bool enabled) override;
    void SetWindowEnabled(bool enabled) override;
    void ShowDirectories(const std::string& lccPath, const std::string& ktvPath) override;
    void ShowOutcome(const std::string& text) override;
    void ShowProblems(RunProblems list) override;

    static constexpr WindowRef kOwner = 77;

    fakes::FakePlatform fake;
    RunControl run;
    DebugOptions options;
    BuildNames names;
    std::string translatorError;  // the first line of ktv.err; empty: none
    Lines compilerLines;          // lcc.err
    bool linkerWrites = true;
    FileTime linkerWriteTime = 0;     // 0: stamped as written
    std::vector<RunProblems> listed;  // every list the run showed
};

}  // namespace ktv::testing
