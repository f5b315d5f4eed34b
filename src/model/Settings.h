#pragma once

#include <string>
#include <string_view>

#include "model/MainWindowModel.h"
#include "platform/Platform.h"
#include "platform/WindowRef.h"

namespace ktv {

// "KTVDebug.cfg" in the executable's folder. Where that folder cannot be
// written (a program installed under "Program Files"), the settings are kept
// in "KTV Debugger" in the user's application-data folder instead.
inline constexpr const char* kSettingsFileName = "KTVDebug.cfg";

// The two places a settings file may be; perUser is empty when the user has
// no application-data folder.
struct SettingsPlaces {
    std::string besideProgram;
    std::string perUser;
};
SettingsPlaces SettingsFiles(Platform& platform);

// The copy that holds the settings last saved: the per-user one when it
// exists (a save beside the program removes it), else the one beside the
// program.
std::string SettingsFileToRead(Platform& platform);

// Loads the settings file into the model's controls, through the same setters
// a click uses, so the rules between the controls hold while loading.
void LoadConfig(MainWindowModel& model, Platform& platform, WindowRef owner);

// The records of a settings file's text, applied to the model in turn.
void LoadSettingsText(MainWindowModel& model, std::string_view text);

// Writes the settings lines: the 14 the file has always had, in their order,
// then "myeditor=" and "editorcommand=". The caller ends the program
// afterwards.
void SaveConfig(const MainWindowModel& model, Platform& platform, WindowRef owner);

}  // namespace ktv
