#pragma once

#include <string>
#include <vector>

#include "FakePlatform.h"
#include "build/BuildRun.h"
#include "build/DebugContext.h"
#include "main/MainForm.h"

namespace ktv::fuzz {

// One Debug run's surroundings for the diagnostics routines: c:\work\prog.bas
// as the Basic file, JFE as the editor (the choice a new user has), and every
// window and program answering.
class FuzzWorld {
public:
    FuzzWorld() : platform(fake.Get()) {
        fake.files.AddFolder("c:\\work");
        form.Txt_BasFile.SetText("c:\\work\\prog.bas");
        form.Chk_Jen.SetState(CheckState::Checked);
    }
    FuzzWorld(const FuzzWorld&) = delete;
    FuzzWorld& operator=(const FuzzWorld&) = delete;

    DebugContext Context() { return DebugContext{form, run, platform, 7}; }

    // How many message boxes were shown.
    std::size_t Boxes() const { return fake.transcript.Only({"box["}).size(); }

    fakes::FakePlatform fake;
    Platform platform;
    MainForm form;
    BuildRun run{"c:\\work", "prog", "prog.bas"};
};

}  // namespace ktv::fuzz
