#pragma once

#include <string>

#include "model/MainWindowModel.h"
#include "platform/Desktop.h"
#include "platform/WindowRef.h"

namespace ktv {

// The four "..." buttons. Each writes its result into one text field and
// changes nothing else.

// browseLccButton: folder picker "Select LCC Directory" into lccDirectoryField.
void BrowseLccDirectory(MainWindowModel& model, Desktop& desktop, WindowRef owner);

// browseKtvButton: folder picker "Select KTV Directory" into ktvDirectoryField.
void BrowseKtvDirectory(MainWindowModel& model, Desktop& desktop, WindowRef owner);

// browseBasicFileButton: file-open dialog "Select KTV Basic File" into basicFileField.
void BrowseBasicFile(MainWindowModel& model, Desktop& desktop, WindowRef owner);

// browseLibrariesButton: file-open dialog "Select Libraries", one path added to librariesField.
void BrowseLibraries(MainWindowModel& model, Desktop& desktop, WindowRef owner);

// browseEditorButton: file-open dialog "Select Your Editor" for a program,
// starting in `programFolder`; the command that opens a file at a line in
// the chosen program goes into editorCommandField.
void BrowseEditor(MainWindowModel& model, Desktop& desktop, WindowRef owner,
                  const std::string& programFolder);

}  // namespace ktv
