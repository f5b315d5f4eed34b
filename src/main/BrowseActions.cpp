#include "main/BrowseActions.h"

namespace ktv {

// SEAM: the dialogs are not built yet; the buttons do nothing.
void BrowseLccDirectory(MainForm&, Desktop&, WindowRef) {}
void BrowseKtvDirectory(MainForm&, Desktop&, WindowRef) {}
void BrowseBasicFile(MainForm&, Desktop&, WindowRef) {}
void BrowseLibraries(MainForm&, Desktop&, WindowRef) {}

}  // namespace ktv
