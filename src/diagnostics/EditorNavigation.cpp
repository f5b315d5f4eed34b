#include "diagnostics/EditorNavigation.h"

#include "platform/Registry.h"

namespace ktv {

// SEAM: no editor is opened yet.
void OpenEditorAtLine(DebugContext&, const std::string&, NavigationTiming) {}

void ApplyNotepadWordWrapGuard(Registry& registry) {
    registry.SetDwordValue(RegistryRoot::CurrentUser, "Software\\Microsoft\\Notepad", "fWrap", 0);
}

}  // namespace ktv
