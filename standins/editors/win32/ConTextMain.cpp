#include <windows.h>

#include "EditorProfile.h"
#include "win32/StandInEditor.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    const ktv::standins::EditorProfile profile{"ConTEXT.exe", &ktv::standins::ConTextTitle};
    return ktv::standins::win32::RunStandInEditor(instance, showCommand, profile);
}
