#pragma once

#include <string>
#include <vector>

#include "FakePlatform.h"
#include "build/DebugContext.h"

namespace ktv::testing_support {

// A Debug run on c:\work\prog.bas with the KTV directory c:\ktv, every call on
// one transcript.
struct DiagnosticsFixture {
    DiagnosticsFixture() {
        form.Txt_BasFile.SetText("c:\\work\\prog.bas");
        form.Txt_KtvPath.SetText("c:\\ktv");
        fake.files.AddFolder("c:\\work");
    }

    void ChooseEditor(EditorChoice editor) {
        switch (editor) {
            case EditorChoice::Notepad:
                form.Chk_Note.SetState(CheckState::Checked);
                break;
            case EditorChoice::JFE:
                form.Chk_Jen.SetState(CheckState::Checked);
                break;
            case EditorChoice::ConTEXT:
                form.Chk_Con.SetState(CheckState::Checked);
                break;
            case EditorChoice::None:
                break;
        }
    }

    std::vector<std::string> Calls() const { return fake.transcript.Folded(); }

    fakes::FakePlatform fake;
    Platform platform = fake.Get();
    MainForm form;
    BuildRun run{"c:\\work", "prog", "prog.bas"};
    DebugContext context{form, run, platform, 7};
};

// The four titles under which a JFE window on c:\work\prog.bas is looked for,
// none of them found.
inline std::vector<std::string> JfeTitlesNotFound() {
    return {
        "activate-title: Jens' File Editor - [prog.bas *] (not found)",
        "activate-title: Jens' File Editor - [prog.bas] (not found)",
        "activate-title: Jens' File Editor - [c:\\work\\prog.bas] (not found)",
        "activate-title: Jens' File Editor - [c:\\work\\prog.bas *] (not found)",
    };
}

// The keys that take an editor to a line and select it: the line and Enter
// go to its go-to box.
inline std::vector<std::string> GoToLineKeys(const std::string& lineText) {
    std::vector<std::string> keys{"keys: ^g"};
    if (!lineText.empty()) {
        keys.push_back("box-keys: " + lineText);
    }
    keys.insert(keys.end(), {"box-keys: {ENTER}", "keys: {HOME}", "keys: +{END}"});
    return keys;
}

inline std::vector<std::string> Concat(std::initializer_list<std::vector<std::string>> parts) {
    std::vector<std::string> out;
    for (const auto& part : parts) {
        out.insert(out.end(), part.begin(), part.end());
    }
    return out;
}

}  // namespace ktv::testing_support
