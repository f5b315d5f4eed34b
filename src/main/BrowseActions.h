#pragma once

#include "main/MainForm.h"
#include "platform/Desktop.h"
#include "platform/WindowRef.h"

namespace ktv {

// The four "..." buttons. Each writes its result into one text field and
// changes nothing else.

// Command2: folder picker "Select LCC Directory" into Txt_LccPath.
void BrowseLccDirectory(MainForm& form, Desktop& desktop, WindowRef owner);

// Command4: folder picker "Select KTV Directory" into Txt_KtvPath.
void BrowseKtvDirectory(MainForm& form, Desktop& desktop, WindowRef owner);

// Command3: file-open dialog "Select KTV Basic File" into Txt_BasFile.
void BrowseBasicFile(MainForm& form, Desktop& desktop, WindowRef owner);

// Command5: file-open dialog "Select Libraries", one path added to Txt_Libs.
void BrowseLibraries(MainForm& form, Desktop& desktop, WindowRef owner);

}  // namespace ktv
