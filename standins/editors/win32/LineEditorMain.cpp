#include <windows.h>

#include "EditorProfile.h"
#include "win32/StandInEditor.h"

// An editor that takes the line on its command line: "-n<line> <file>".
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    const ktv::standins::EditorProfile profile{"lineeditor.exe", &ktv::standins::LineEditorTitle,
                                               true};
    return ktv::standins::win32::RunStandInEditor(instance, showCommand, profile);
}
