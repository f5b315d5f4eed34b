#pragma once

#include "main/MainForm.h"
#include "platform/Platform.h"
#include "platform/WindowRef.h"

namespace ktv {

// "KTVDebug.cfg" in the executable's folder.
inline constexpr const char* kSettingsFileName = "KTVDebug.cfg";

// Loads the settings file into the form's controls, through the same setters
// a click uses, so the rules between the controls hold while loading.
void LoadConfig(MainForm& form, Platform& platform, WindowRef owner);

// Writes the 14 settings lines. The caller ends the program afterwards.
void SaveConfig(const MainForm& form, Platform& platform, WindowRef owner);

}  // namespace ktv
