// A settings file a user edited by hand: loading it never fails and leaves
// the window's rules standing (at most one editor; never both "Run the
// Application" and "Debug with LCC Wedit"; the command line takes input as
// the link mode says), and the file saved from what was loaded loads back to
// the same settings. (A box loaded grayed, which only a settings file can
// give, blocks the later editor lines as it did when loaded; such files are
// left out of the round trip.)
#include <string>

#include "Fakes.h"
#include "Fuzz.h"
#include "model/MainWindowModel.h"
#include "model/Settings.h"

namespace {

std::string SavedFrom(const ktv::MainWindowModel& model) {
    ktv::fakes::FakePlatform fake;
    fake.files.AddFolder("c:\\KTVDebugger");
    ktv::SaveConfig(model, fake.platform, 0);
    return fake.files.Content("c:\\KTVDebugger\\KTVDebug.cfg").value_or("");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    ktv::MainWindowModel loaded;
    ktv::LoadSettingsText(loaded, text);

    int editors = 0;
    for (const ktv::CheckBox* box : {&loaded.launchNotepadBox, &loaded.launchJfeBox,
                                     &loaded.launchConTextBox, &loaded.launchMyEditorBox}) {
        editors += box->IsOn() ? 1 : 0;
    }
    ktv::fuzz::Check(editors <= 1, "more than one editor is on");
    ktv::fuzz::Check(!(loaded.runProgramBox.IsOn() && loaded.debugInWeditBox.IsOn()),
                     "run and Wedit are both on");
    const std::optional<ktv::LinkMode> mode = loaded.Options().linkMode;
    if (mode) {
        ktv::fuzz::Check(loaded.commandLineField.Enabled() == (*mode == ktv::LinkMode::Console),
                         "the command line does not follow the link mode");
    }

    for (const ktv::Control* control : loaded.Controls()) {
        if (const auto* box = dynamic_cast<const ktv::CheckBox*>(control);
            box != nullptr && box->State() == ktv::CheckState::Grayed) {
            return 0;
        }
    }
    const std::string saved = SavedFrom(loaded);
    ktv::MainWindowModel reloaded;
    ktv::LoadSettingsText(reloaded, saved);
    ktv::fuzz::Check(SavedFrom(reloaded) == saved, "saved settings load back otherwise");
    return 0;
}
