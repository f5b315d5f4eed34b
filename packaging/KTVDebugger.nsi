; The KTV Debugger installer (NSIS 3). ./package and the installer test make
; it with
;   makensis -WX -DVERSION=3.001 -DVERSION_DOTTED=3.0.0.1 "-DPUBLISHER=..."
;            -DPROGRAMS=<folder with the three programs> -DREADME=<README.txt>
;            -DICON=<ktv.ico> -DWIZARD_ART=<folder with wizard-96.bmp and
;            wizard-144.bmp> -DOUTFILE=<setup.exe> KTVDebugger.nsi
;
; Two scopes, each writing and removing only its own places:
;   for me only (the default; no administrator needed): the user's
;     %LOCALAPPDATA%\Programs\KTV Debugger, the uninstall entry and the PATH
;     entry under HKCU, the user's Start menu;
;   for all users: Program Files, the uninstall entry under HKLM, the PATH
;     entry in the system environment, the all-users Start menu.
; The first page chooses; /CurrentUser or /AllUsers on the command line
; choose instead (and skip that page). /S installs or uninstalls silently,
; /D=<folder> (last, unquoted) names the folder, /ADDTOPATH puts the folder on
; the PATH as the "ktvbuild on the PATH" box does. Without a scope given, an
; upgrade stays in the scope it was installed in.
;
; The installer runs with the user's own rights. For all users it starts a
; copy of itself through the shell's "runas" verb (the UAC prompt), waits for
; it and ends with its exit code; that first, unelevated copy is also what
; starts "Run KTV Debugger" when the elevated one asks it to, so the program
; never runs with the installer's administrator rights, and runs as the user
; at the desktop even when an administrator's password was typed in.
;
; The uninstaller removes what the installer put there and nothing else.
; The settings stay unless the user ticks "Remove my settings", which only an
; install for one user offers (its settings are that user's) and a silent
; uninstall never does; an uninstall for all users leaves every user's
; settings alone.

Unicode true
; A 64-bit installer: the programs are 64-bit, Program Files is the 64-bit
; one, and the uninstall entry lands in the 64-bit registry view.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestSupportedOS all
ManifestDPIAware true

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "WinMessages.nsh"
!include "nsDialogs.nsh"

!define PRODUCT "KTV Debugger"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\KTVDebugger"
!define USER_ENVIRONMENT "Environment"
!define SYSTEM_ENVIRONMENT "SYSTEM\CurrentControlSet\Control\Session Manager\Environment"
!define PATH_TOO_LONG "The PATH is too long for this installer to change safely, so it was left as it was. To run ktvbuild by name, add $INSTDIR to it by hand."
; Given by the unelevated installer to the elevated copy it starts: that copy
; skips the first page (already answered) and leaves "Run KTV Debugger" to it.
!define RELAUNCHED "/RelaunchedElevated"
; The elevated copy's exit code for "installed, and Run KTV Debugger ticked".
!define EXIT_RUN_PROGRAM 10
!define NEEDS_ADMINISTRATOR "Installing or uninstalling ${PRODUCT} for all users needs an administrator's permission, which was not given."

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
; No InstallDir: $INSTDIR is then empty at .onInit unless /D= named a folder,
; and the scope chooses the folder.
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION_DOTTED}"
VIFileVersion "${VERSION_DOTTED}"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} ${VERSION} setup"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "${PUBLISHER}"

Var AllUsers              ; 1: for all users; 0: for the current user
Var ScopeFromCommandLine  ; 1 when /CurrentUser or /AllUsers was given
Var FolderFromCommandLine ; the /D= folder, else empty
Var Relaunched            ; 1 in the elevated copy started by the unelevated one
Var EnvironmentKey        ; the scope's environment key, under SHCTX
Var InstalledNote         ; the first page's word on an install found
Var ForMe
Var ForAll
Var UninstallText

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_WELCOMEFINISHPAGE_BITMAP "${WIZARD_ART}\wizard-96.bmp"

!define MUI_WELCOMEPAGE_TITLE "Welcome to ${PRODUCT} ${VERSION}"
!define MUI_WELCOMEPAGE_TEXT "This installs ${PRODUCT}, the one-button build for KTV Basic programs, and ktvbuild, the same build on the console.$\r$\n$\r$\nInstall it for:"
!define MUI_PAGE_CUSTOMFUNCTION_PRE ScopePagePre
!define MUI_PAGE_CUSTOMFUNCTION_SHOW ScopePageShow
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE ScopePageLeave
!insertmacro MUI_PAGE_WELCOME
!define MUI_PAGE_CUSTOMFUNCTION_SHOW FolderPageShow
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!define MUI_PAGE_CUSTOMFUNCTION_PRE WizardPicture
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Run ${PRODUCT}"
!define MUI_FINISHPAGE_RUN_FUNCTION RunProgram
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\README.txt"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!insertmacro MUI_PAGE_FINISH

; The settings box first (for one user's install only), so that the page
; whose button says "Uninstall" is always the last before it starts.
!define MUI_PAGE_CUSTOMFUNCTION_PRE un.SettingsPagePre
!define MUI_COMPONENTSPAGE_TEXT_TOP "Your settings stay for a later install unless you tick the box."
!insertmacro MUI_UNPAGE_COMPONENTS
!define MUI_PAGE_CUSTOMFUNCTION_SHOW un.ConfirmPageShow
!define MUI_UNCONFIRMPAGE_TEXT_TOP "$UninstallText"
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; Walks a PATH value (on the stack) entry by entry and leaves in $R8 the same
; PATH without the install folder (with or without a trailing backslash),
; every other entry exactly as it was, and in $R9 1 when the folder was in it,
; else 0. Entries are compared as Windows compares paths, without regard to
; case.
!macro PATH_FUNCTIONS PREFIX
Function ${PREFIX}WalkPath
    Exch $R0
    Push $R1
    Push $R2
    Push $R3
    Push $R4
    StrCpy $R8 ""
    StrCpy $R9 0
    StrCpy $R1 "" ; the entry so far
    StrCpy $R2 0  ; position
    StrCpy $R4 1  ; nothing kept yet
    ${Do}
        StrCpy $R3 $R0 1 $R2
        ${If} $R3 == ";"
        ${OrIf} $R3 == ""
            ${If} $R1 == $INSTDIR
            ${OrIf} $R1 == "$INSTDIR\"
                StrCpy $R9 1
            ${ElseIf} $R4 == 1
                StrCpy $R8 $R1
                StrCpy $R4 0
            ${Else}
                StrCpy $R8 "$R8;$R1"
            ${EndIf}
            StrCpy $R1 ""
            ${IfThen} $R3 == "" ${|} ${Break} ${|}
        ${Else}
            StrCpy $R1 "$R1$R3"
        ${EndIf}
        IntOp $R2 $R2 + 1
    ${Loop}
    Pop $R4
    Pop $R3
    Pop $R2
    Pop $R1
    Pop $R0
FunctionEnd

; Takes the install folder off the PATH in the key named on the stack, under
; SHCTX, leaving every other entry.
Function ${PREFIX}RemoveFromPath
    Exch $R0
    Push $R1
    ClearErrors
    ReadRegStr $R1 SHCTX $R0 "Path"
    ${IfNot} ${Errors}
        Push $R1
        Call ${PREFIX}WalkPath
        ${If} $R9 == 1
            ${If} $R8 == ""
                DeleteRegValue SHCTX $R0 "Path"
            ${Else}
                WriteRegExpandStr SHCTX $R0 "Path" "$R8"
            ${EndIf}
            SendMessage ${HWND_BROADCAST} ${WM_SETTINGCHANGE} 0 "STR:Environment" /TIMEOUT=1000
        ${EndIf}
    ${EndIf}
    Pop $R1
    Pop $R0
FunctionEnd
!macroend
!insertmacro PATH_FUNCTIONS ""
!insertmacro PATH_FUNCTIONS "un."

; Elevation, for the installer and the uninstaller alike.
!macro ELEVATION PREFIX
; $0: 1 when this process runs without an administrator's token and so must
; ask for one to write the machine's places: a UAC-filtered token (the usual
; case: an administrator's account with UAC on), or no split token and no
; membership of Administrators (a standard user, UAC off).
Function ${PREFIX}NeedsElevation
    Push $1
    Push $2
    StrCpy $0 0
    StrCpy $2 1 ; TokenElevationTypeDefault, if it cannot be read
    System::Call 'advapi32::OpenProcessToken(p -1, i 8, *p .r1) i .r0'
    ${If} $0 <> 0
        System::Call 'advapi32::GetTokenInformation(p r1, i 18, *i .r2, i 4, *i) i'
        System::Call 'kernel32::CloseHandle(p r1)'
    ${EndIf}
    StrCpy $0 0
    ${If} $2 == 3 ; TokenElevationTypeLimited
        StrCpy $0 1
    ${ElseIf} $2 != 2 ; not TokenElevationTypeFull
        UserInfo::GetAccountType
        Pop $1
        ${IfThen} $1 != "Admin" ${|} StrCpy $0 1 ${|}
    ${EndIf}
    Pop $2
    Pop $1
FunctionEnd

; $0: 1 when this process may write the machine's uninstall entries. The
; elevated copy checks it: it says plainly what is missing rather than fail
; on the first file.
Function ${PREFIX}CanWriteMachine
    Push $1
    ; HKEY_LOCAL_MACHINE, sign-extended as Windows defines it; KEY_WRITE with
    ; KEY_WOW64_64KEY.
    System::Call 'advapi32::RegOpenKeyExW(p -2147483646, w "Software\Microsoft\Windows\CurrentVersion\Uninstall", i 0, i 0x20106, *p .r1) i .r0'
    ${If} $0 == 0
        System::Call 'advapi32::RegCloseKey(p r1)'
        StrCpy $0 1
    ${Else}
        StrCpy $0 0
    ${EndIf}
    Pop $1
FunctionEnd

; Makes sure this process may write the machine's places. When it already
; may, returns with $0 = 1. Otherwise it starts this program again through
; the shell's "runas" verb with the parameters on the stack, waits for it and
; quits with its exit code (starting the program first when the elevated copy
; asks for it); when the copy cannot be started (the prompt was declined),
; returns with $0 = 0.
Function ${PREFIX}RequireMachineRights
    Exch $R0 ; the elevated copy's parameters
    Push $R1
    Push $R2
    Call ${PREFIX}NeedsElevation
    ${If} $0 == 0
        StrCpy $0 1
    ${ElseIf} $Relaunched == 1
        ; Elevation was asked for already; no second prompt.
        Call ${PREFIX}CanWriteMachine
    ${Else}
        ; SHELLEXECUTEINFOW, 112 bytes on x64: the fields packed as written,
        ; the two 4-byte gaps Windows aligns past filled in.
        ; SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC; SW_SHOWNORMAL.
        System::Call '*(&l4, i 0x140, p $HWNDPARENT, w "runas", w "$EXEPATH", w R0, p 0, i 1, i 0, p 0, p 0, p 0, p 0, i 0, i 0, p 0, p 0) p .R1'
        System::Call 'shell32::ShellExecuteExW(p R1) i .r0'
        ${If} $0 <> 0
            System::Call '*$R1(i, i, p, p, p, p, p, i, i, p, p, p, p, i, i, p, p .R2)'
            HideWindow
            System::Call 'kernel32::WaitForSingleObject(p R2, i -1)'
            System::Call 'kernel32::GetExitCodeProcess(p R2, *i .r0)'
            System::Call 'kernel32::CloseHandle(p R2)'
            System::Free $R1
            !ifndef __UNINSTALL__
                ${If} $0 == ${EXIT_RUN_PROGRAM}
                    ReadRegStr $R1 HKLM "${UNINSTALL_KEY}" "InstallLocation"
                    Exec '"$R1\KTVDebugger.exe"'
                    StrCpy $0 0
                ${EndIf}
            !endif
            SetErrorLevel $0
            Quit
        ${EndIf}
        System::Free $R1
        StrCpy $0 0
    ${EndIf}
    Pop $R2
    Pop $R1
    Pop $R0
FunctionEnd
!macroend
!insertmacro ELEVATION ""
!insertmacro ELEVATION "un."

; Stops before a file is touched while one of the programs still runs from
; the folder: Windows cannot replace or delete a running program, and half an
; upgrade (one program new, another old) or half an uninstall would be left.
; A running program's file cannot be opened for writing; opening it for
; appending writes nothing.
!macro REQUIRE_PROGRAMS_CLOSED
    ${ForEach} $9 0 2 + 1
        ${Select} $9
            ${Case} 0
                StrCpy $8 "KTVDebugger.exe"
            ${Case} 1
                StrCpy $8 "KTVCapture.exe"
            ${Case} 2
                StrCpy $8 "ktvbuild.exe"
        ${EndSelect}
        ${Do}
            ${IfNot} ${FileExists} "$INSTDIR\$8"
                ${Break}
            ${EndIf}
            ClearErrors
            FileOpen $7 "$INSTDIR\$8" a
            ${IfNot} ${Errors}
                FileClose $7
                ${Break}
            ${EndIf}
            MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$8 is still running. Close it, then click Retry." \
                /SD IDCANCEL IDRETRY +2
            Abort "$8 is still running; nothing was changed."
        ${Loop}
    ${Next}
!macroend

Section "${PRODUCT}" SectionProgram
    SectionIn RO
    SetRegView 64
    !insertmacro REQUIRE_PROGRAMS_CLOSED
    SetOutPath "$INSTDIR"
    File "${PROGRAMS}\KTVDebugger.exe"
    File "${PROGRAMS}\KTVCapture.exe"
    File "${PROGRAMS}\ktvbuild.exe"
    File "${README}"
    WriteUninstaller "$INSTDIR\Uninstall.exe"

    ; The scope's Start menu: SetShellVarContext was set with the scope.
    CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\KTVDebugger.exe" "" \
        "$INSTDIR\KTVDebugger.exe" 0 SW_SHOWNORMAL "" "Build a KTV Basic program and find its errors"

    ; One entry, under the same key on every install of this scope (SHCTX:
    ; HKCU for me, HKLM for all users): an upgrade rewrites it.
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\KTVDebugger.exe,0"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0

    ; Releases before the two scopes installed for all users but put the
    ; folder on the PATH of the administrator who ran them; the PATH box,
    ; ticked for it, now puts it on the system PATH instead.
    ${If} $AllUsers == 1
        ReadRegDWORD $0 HKLM "${UNINSTALL_KEY}" "AddedToUserPath"
        ${If} $0 == 1
            Push "${USER_ENVIRONMENT}"
            SetShellVarContext current
            Call RemoveFromPath
            SetShellVarContext all
            DeleteRegValue HKLM "${UNINSTALL_KEY}" "AddedToUserPath"
        ${EndIf}
    ${EndIf}
SectionEnd

Section /o "ktvbuild on the PATH (for editors and consoles)" SectionPath
    SetRegView 64
    ClearErrors
    ReadRegStr $0 SHCTX $EnvironmentKey "Path"
    ${If} ${Errors}
        ; Missing, or longer than this installer can hold: only a missing one
        ; may be written, or the other entries would be cut off.
        StrCpy $1 0
        ${Do}
            EnumRegValue $2 SHCTX $EnvironmentKey $1
            ${IfThen} $2 == "" ${|} ${Break} ${|}
            ${If} $2 == "Path"
                MessageBox MB_OK|MB_ICONEXCLAMATION "${PATH_TOO_LONG}" /SD IDOK
                Return
            ${EndIf}
            IntOp $1 $1 + 1
        ${Loop}
        StrCpy $0 ""
    ${EndIf}
    Push $0
    Call WalkPath
    ${If} $R9 == 1
        Return ; there already, by an earlier install or by hand
    ${EndIf}
    StrLen $1 $0
    StrLen $2 $INSTDIR
    IntOp $1 $1 + $2
    ${If} $1 >= ${NSIS_MAX_STRLEN}
        MessageBox MB_OK|MB_ICONEXCLAMATION "${PATH_TOO_LONG}" /SD IDOK
        Return
    ${EndIf}
    ${If} $0 == ""
        WriteRegExpandStr SHCTX $EnvironmentKey "Path" "$INSTDIR"
    ${Else}
        WriteRegExpandStr SHCTX $EnvironmentKey "Path" "$0;$INSTDIR"
    ${EndIf}
    ; Only an entry this installer added is taken off again by the uninstaller.
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "AddedToPath" 1
    SendMessage ${HWND_BROADCAST} ${WM_SETTINGCHANGE} 0 "STR:Environment" /TIMEOUT=1000
SectionEnd

; Sets everything that follows from the scope in $AllUsers: the shell folders
; and registry root (SHCTX), the environment key, the folder, and the PATH box.
Function ApplyScope
    ${If} $AllUsers == 1
        SetShellVarContext all
        StrCpy $EnvironmentKey "${SYSTEM_ENVIRONMENT}"
    ${Else}
        SetShellVarContext current
        StrCpy $EnvironmentKey "${USER_ENVIRONMENT}"
    ${EndIf}
    ; /D= wins; else where this scope's install is; else the scope's own place.
    ReadRegStr $0 SHCTX "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $FolderFromCommandLine != ""
        StrCpy $INSTDIR $FolderFromCommandLine
    ${ElseIf} $0 != ""
        StrCpy $INSTDIR $0
    ${ElseIf} $AllUsers == 1
        StrCpy $INSTDIR "$PROGRAMFILES64\${PRODUCT}"
    ${Else}
        StrCpy $INSTDIR "$LOCALAPPDATA\Programs\${PRODUCT}"
    ${EndIf}
    ; Once on the PATH, an upgrade keeps it there, silent or not.
    ReadRegDWORD $0 SHCTX "${UNINSTALL_KEY}" "AddedToPath"
    ${If} $AllUsers == 1
        ReadRegDWORD $1 HKLM "${UNINSTALL_KEY}" "AddedToUserPath"
        ${IfThen} $1 == 1 ${|} StrCpy $0 1 ${|}
    ${EndIf}
    ${GetParameters} $1
    ClearErrors
    ${GetOptions} $1 "/ADDTOPATH" $2
    ${If} $0 == 1
    ${OrIfNot} ${Errors}
        SectionSetFlags ${SectionPath} ${SF_SELECTED}
    ${Else}
        SectionSetFlags ${SectionPath} 0
    ${EndIf}
FunctionEnd

Function .onInit
    SetRegView 64
    StrCpy $AllUsers 0
    StrCpy $FolderFromCommandLine $INSTDIR
    ${GetParameters} $R0
    ClearErrors
    ${GetOptions} $R0 "${RELAUNCHED}" $0
    ${IfNot} ${Errors}
        StrCpy $Relaunched 1
    ${EndIf}
    ClearErrors
    ${GetOptions} $R0 "/AllUsers" $0
    ${IfNot} ${Errors}
        StrCpy $AllUsers 1
        StrCpy $ScopeFromCommandLine 1
    ${EndIf}
    ClearErrors
    ${GetOptions} $R0 "/CurrentUser" $0
    ${IfNot} ${Errors}
        ${If} $ScopeFromCommandLine == 1
            MessageBox MB_OK|MB_ICONSTOP "Give /CurrentUser or /AllUsers, not both." /SD IDOK
            SetErrorLevel 2
            Quit
        ${EndIf}
        StrCpy $AllUsers 0
        StrCpy $ScopeFromCommandLine 1
    ${EndIf}

    ; Without a scope given, an install found decides: this user's own first,
    ; since it is the one this user runs.
    ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "DisplayVersion"
    ReadRegStr $1 HKLM "${UNINSTALL_KEY}" "DisplayVersion"
    ${If} $0 != ""
        StrCpy $InstalledNote "${PRODUCT} $0 is installed for you; the same choice upgrades it."
        ${IfThen} $ScopeFromCommandLine != 1 ${|} StrCpy $AllUsers 0 ${|}
    ${ElseIf} $1 != ""
        StrCpy $InstalledNote "${PRODUCT} $1 is installed for all users; the same choice upgrades it."
        ${IfThen} $ScopeFromCommandLine != 1 ${|} StrCpy $AllUsers 1 ${|}
    ${EndIf}
    Call ApplyScope

    ; With no first page to ask on, an install for all users gets its rights now.
    ${If} $AllUsers == 1
        ${If} $ScopeFromCommandLine == 1
        ${OrIf} ${Silent}
            Push "${RELAUNCHED} /AllUsers $R0"
            Call RequireMachineRights
            ${If} $0 == 0
                MessageBox MB_OK|MB_ICONSTOP "${NEEDS_ADMINISTRATOR}" /SD IDOK
                SetErrorLevel 2
                Quit
            ${EndIf}
        ${EndIf}
    ${EndIf}
FunctionEnd

; The picture of the first and last pages at the screen's DPI: the 144-DPI
; one from 120 DPI up (scaled down a little there), the 96-DPI one below.
Function WizardPicture
    System::Call 'user32::GetDC(p 0) p .r0'
    System::Call 'gdi32::GetDeviceCaps(p r0, i 88) i .r1' ; LOGPIXELSX
    System::Call 'user32::ReleaseDC(p 0, p r0)'
    ${If} $1 > 96
        File "/oname=$PLUGINSDIR\modern-wizard.bmp" "${WIZARD_ART}\wizard-144.bmp"
    ${EndIf}
FunctionEnd

Function ScopePagePre
    ; The command line chose already (the elevated copy gets /AllUsers).
    ${IfThen} $ScopeFromCommandLine == 1 ${|} Abort ${|}
    Call WizardPicture
FunctionEnd

; The welcome page gets the two choices below its text.
Function ScopePageShow
    ; The text above them, shortened to leave them room.
    System::Call '*(i 0, i 0, i 195, i 40) p .r1'
    System::Call 'user32::MapDialogRect(p $mui.WelcomePage, p r1)'
    System::Call '*$1(i, i, i .r2, i .r3)'
    System::Free $1
    System::Call 'user32::SetWindowPos(p $mui.WelcomePage.Text, p 0, i 0, i 0, i r2, i r3, i 0x16)' ; SWP_NOMOVE|SWP_NOZORDER|SWP_NOACTIVATE

    ${NSD_CreateFirstRadioButton} 120u 86u 195u 20u "&Me only, in my own Programs folder (no administrator needed)"
    Pop $ForMe
    ${NSD_CreateAdditionalRadioButton} 120u 108u 195u 20u "&All users of this computer, in Program Files (asks for an administrator)"
    Pop $ForAll
    ${NSD_CreateLabel} 120u 136u 195u 20u "$InstalledNote"
    Pop $0
    ${ForEach} $1 0 2 + 1
        ${Select} $1
            ${Case} 0
                StrCpy $2 $ForMe
            ${Case} 1
                StrCpy $2 $ForAll
            ${Case} 2
                StrCpy $2 $0
        ${EndSelect}
        SetCtlColors $2 "${MUI_TEXTCOLOR}" "${MUI_BGCOLOR}"
    ${Next}
    ${If} $AllUsers == 1
        ${NSD_Check} $ForAll
    ${Else}
        ${NSD_Check} $ForMe
    ${EndIf}
FunctionEnd

Function ScopePageLeave
    ${NSD_GetState} $ForAll $0
    ${If} $0 == ${BST_CHECKED}
        StrCpy $AllUsers 1
    ${Else}
        StrCpy $AllUsers 0
    ${EndIf}
    Call ApplyScope
    ${If} $AllUsers == 1
        ; The elevated copy starts at the folder page; this one waits and quits.
        ${GetParameters} $0
        Push "${RELAUNCHED} /AllUsers $0"
        Call RequireMachineRights
        ${If} $0 == 0
            MessageBox MB_OK|MB_ICONEXCLAMATION "${NEEDS_ADMINISTRATOR} Choose $\"Me only$\" to install without it."
            Abort
        ${EndIf}
    ${EndIf}
FunctionEnd

; Without the first page there is nothing to go back to.
Function FolderPageShow
    ${If} $ScopeFromCommandLine == 1
        GetDlgItem $0 $HWNDPARENT 3 ; Back
        EnableWindow $0 0
    ${EndIf}
FunctionEnd

; "Run KTV Debugger": always with the desktop user's ordinary rights.
Function RunProgram
    ${If} $Relaunched == 1
        ; The unelevated installer that started this copy runs it.
        SetErrorLevel ${EXIT_RUN_PROGRAM}
        Return
    ${EndIf}
    System::Call 'advapi32::OpenProcessToken(p -1, i 8, *p .r1) i .r0'
    StrCpy $2 1
    ${If} $0 <> 0
        System::Call 'advapi32::GetTokenInformation(p r1, i 18, *i .r2, i 4, *i) i'
        System::Call 'kernel32::CloseHandle(p r1)'
    ${EndIf}
    ${If} $2 == 2 ; TokenElevationTypeFull: started elevated, with no unelevated copy
        ; The desktop's shell starts it, with the desktop user's token.
        Exec '"$WINDIR\explorer.exe" "$INSTDIR\KTVDebugger.exe"'
    ${Else}
        Exec '"$INSTDIR\KTVDebugger.exe"'
    ${EndIf}
FunctionEnd

Function un.onInit
    SetRegView 64
    ${GetParameters} $R0
    ClearErrors
    ${GetOptions} $R0 "${RELAUNCHED}" $0
    ${IfNot} ${Errors}
        StrCpy $Relaunched 1
    ${EndIf}
    ; The scope is the one whose entry names this folder.
    ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $0 == $INSTDIR
    ${AndIf} $0 != ""
        StrCpy $AllUsers 1
        SetShellVarContext all
        StrCpy $EnvironmentKey "${SYSTEM_ENVIRONMENT}"
        StrCpy $UninstallText "${PRODUCT} will be uninstalled for all users from the following folder. Every user's settings (KTVDebug.cfg) are kept."
        StrCpy $0 ""
        ${If} ${Silent}
            StrCpy $0 "/S "
        ${EndIf}
        Push "${RELAUNCHED} $0_?=$INSTDIR"
        Call un.RequireMachineRights
        ${If} $0 == 0
            MessageBox MB_OK|MB_ICONSTOP "${NEEDS_ADMINISTRATOR}" /SD IDOK
            SetErrorLevel 2
            Quit
        ${EndIf}
    ${Else}
        StrCpy $AllUsers 0
        SetShellVarContext current
        StrCpy $EnvironmentKey "${USER_ENVIRONMENT}"
        StrCpy $UninstallText "${PRODUCT} will be uninstalled from the following folder."
    ${EndIf}
FunctionEnd

; Only an install for one user offers to remove the settings: those are that
; user's. Other users' settings of an install for all users are not this
; uninstaller's to remove.
Function un.SettingsPagePre
    ${IfThen} $AllUsers == 1 ${|} Abort ${|}
FunctionEnd

; Without the settings page there is nothing to go back to.
Function un.ConfirmPageShow
    ${If} $AllUsers == 1
        GetDlgItem $0 $HWNDPARENT 3 ; Back
        EnableWindow $0 0
    ${EndIf}
FunctionEnd

Section "-un.Programs closed"
    !insertmacro REQUIRE_PROGRAMS_CLOSED
SectionEnd

Section /o "un.Remove my settings (KTVDebug.cfg)" SectionRemoveSettings
    ${If} $AllUsers != 1
        Delete "$INSTDIR\KTVDebug.cfg"
        Delete "$APPDATA\${PRODUCT}\KTVDebug.cfg"
        RMDir "$APPDATA\${PRODUCT}"
    ${EndIf}
SectionEnd

Section "-un.${PRODUCT}"
    SetRegView 64
    Delete "$INSTDIR\KTVDebugger.exe"
    Delete "$INSTDIR\KTVCapture.exe"
    Delete "$INSTDIR\ktvbuild.exe"
    Delete "$INSTDIR\README.txt"
    Delete "$INSTDIR\Uninstall.exe"
    ; Only when empty: settings kept beside the programs keep their folder.
    RMDir "$INSTDIR"

    Delete "$SMPROGRAMS\${PRODUCT}.lnk"

    ReadRegDWORD $0 SHCTX "${UNINSTALL_KEY}" "AddedToPath"
    ${If} $0 == 1
        Push $EnvironmentKey
        Call un.RemoveFromPath
    ${EndIf}
    DeleteRegKey SHCTX "${UNINSTALL_KEY}"
    ${If} $AllUsers == 1
        DetailPrint "Every user's settings (KTVDebug.cfg) are kept."
    ${EndIf}
SectionEnd
