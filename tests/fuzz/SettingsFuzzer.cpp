// Any settings file loads without an exception escaping, leaves the controls
// in states the window's rules allow, and saves again.
#include <string>

#include "Fakes.h"
#include "Fuzz.h"
#include "main/MainForm.h"
#include "main/Settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ktv::fakes::FakePlatform fake;
    fake.files.AddFile("c:\\KTVDebugger\\KTVDebug.cfg",
                       std::string(reinterpret_cast<const char*>(data), size));
    ktv::MainForm form;
    ktv::LoadConfig(form, fake.platform, 0);
    const int editors = form.Chk_Note.IsOn() + form.Chk_Jen.IsOn() + form.Chk_Con.IsOn();
    ktv::fuzz::Check(editors <= 1, "more than one editor box on");
    ktv::fuzz::Check(!(form.Chk_Run.IsOn() && form.Chk_debug.IsOn()), "run and debug both on");
    const int modes = form.Opt_Gui.Selected() + form.Opt_Con.Selected() + form.Opt_DLL.Selected();
    ktv::fuzz::Check(modes <= 1, "more than one link mode selected");
    for (const ktv::CheckBox* box : {&form.Chk_Note, &form.Chk_Jen, &form.Chk_Con, &form.Chk_warn,
                                     &form.Chk_Run, &form.Chk_debug}) {
        ktv::fuzz::Check(static_cast<unsigned>(box->State()) <= 2, "a check box in no valid state");
    }
    ktv::fuzz::Check(
        !((form.Opt_Gui.Selected() || form.Opt_DLL.Selected()) && form.Txt_Cmd.Enabled()),
        "command line enabled for a GUI program or DLL");
    ktv::SaveConfig(form, fake.platform, 0);
    ktv::fuzz::Check(fake.files.Content("c:\\KTVDebugger\\KTVDebug.cfg").has_value(),
                     "settings not saved");
    return 0;
}
