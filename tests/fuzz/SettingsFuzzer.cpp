#include <string>

#include "FakePlatform.h"
#include "FuzzSupport.h"
#include "main/MainForm.h"
#include "main/Settings.h"

namespace {

bool ValidState(ktv::CheckState state) {
    const int value = static_cast<int>(state);
    return value >= 0 && value <= 2;
}

}  // namespace

// Any settings file loads without an exception escaping, leaves the controls
// in states the window's rules allow, and saves again.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ktv::fakes::FakePlatform fake;
    fake.files.AddFolder("c:\\KTVDebugger");
    fake.files.AddFile("c:\\KTVDebugger\\KTVDebug.cfg",
                       std::string(reinterpret_cast<const char*>(data), size));
    ktv::Platform platform = fake.Get();
    ktv::MainForm form;
    ktv::LoadConfig(form, platform, 0);

    const int editors = form.Chk_Note.IsOn() + form.Chk_Jen.IsOn() + form.Chk_Con.IsOn();
    ktv::fuzz::Check(editors <= 1, "more than one editor box on");
    ktv::fuzz::Check(!(form.Chk_Run.IsOn() && form.Chk_debug.IsOn()), "run and debug both on");
    const int options = form.Opt_Gui.Selected() + form.Opt_Con.Selected() + form.Opt_DLL.Selected();
    ktv::fuzz::Check(options <= 1, "more than one link mode selected");
    for (const ktv::CheckBox* box : {&form.Chk_Note, &form.Chk_Jen, &form.Chk_Con, &form.Chk_warn,
                                     &form.Chk_Run, &form.Chk_debug}) {
        ktv::fuzz::Check(ValidState(box->State()), "a check box in no valid state");
    }
    if (form.Opt_Gui.Selected() || form.Opt_DLL.Selected()) {
        ktv::fuzz::Check(!form.Txt_Cmd.Enabled(), "command line enabled for a GUI program or DLL");
    }

    ktv::SaveConfig(form, platform, 0);
    const auto saved = fake.files.Content("c:\\KTVDebugger\\KTVDebug.cfg");
    ktv::fuzz::Check(saved.has_value(), "settings not saved");
    return 0;
}
