#include "main/Settings.h"

namespace ktv {

// SEAM: no settings file is read or written yet; the start is that of a first
// start without one.
void LoadConfig(MainForm& form, Platform&, WindowRef) { form.Chk_Jen.SetState(CheckState::Checked); }

void SaveConfig(const MainForm&, Platform&, WindowRef) {}

}  // namespace ktv
