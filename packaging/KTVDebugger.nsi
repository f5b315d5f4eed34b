; The KTV Debugger installer (NSIS 3). ./package and the installer test make
; it with
;   makensis -WX -DVERSION=3.001 -DVERSION_DOTTED=3.0.0.1 "-DPUBLISHER=..."
;            -DPROGRAMS=<folder with the three programs> -DREADME=<README.txt>
;            -DICON=<ktv.ico> -DOUTFILE=<setup.exe> KTVDebugger.nsi
;
; A machine-wide install into Program Files (64-bit), as every NSIS installer
; takes them: /S installs or uninstalls silently, /D=<folder> (last, unquoted)
; names the folder. /ADDTOPATH also puts the folder on the user's PATH, as the
; "ktvbuild on the PATH" box does.
;
; The uninstaller removes what the installer put there and nothing else: the
; settings (KTVDebug.cfg beside the programs, or in %APPDATA%\KTV Debugger)
; stay unless the user ticks "Remove my settings", which a silent uninstall
; never does.

Unicode true
; A 64-bit installer: the programs are 64-bit, Program Files is the 64-bit
; one, and the uninstall entry lands in the 64-bit registry view.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestSupportedOS all
ManifestDPIAware true

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "WinMessages.nsh"

!define PRODUCT "KTV Debugger"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\KTVDebugger"
!define ENVIRONMENT_KEY "Environment"
!define PATH_TOO_LONG "Your PATH is too long for this installer to change safely, so it was left as it was. To run ktvbuild by name, add $INSTDIR to it by hand."

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
; An upgrade goes where the last install went.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION_DOTTED}"
VIFileVersion "${VERSION_DOTTED}"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} ${VERSION} setup"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "${PUBLISHER}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
; No "Run KTV Debugger" box: started from the elevated installer, it would
; run as administrator and keep its settings beside itself in Program Files.
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\README.txt"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; Walks a PATH value (on the stack) entry by entry and leaves in $R8 the same
; PATH without the install folder (with or without a trailing backslash),
; every other entry exactly as it was, and in $R9 1 when the folder was in it,
; else 0. Entries are compared as Windows compares paths, without regard to
; case.
!macro PATH_WALK PREFIX
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
!macroend
!insertmacro PATH_WALK ""
!insertmacro PATH_WALK "un."

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

    SetShellVarContext all
    CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\KTVDebugger.exe" "" \
        "$INSTDIR\KTVDebugger.exe" 0 SW_SHOWNORMAL "" "Build a KTV Basic program and find its errors"

    ; One entry, under the same key on every install: an upgrade rewrites it.
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\KTVDebugger.exe,0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section /o "ktvbuild on the PATH (for editors and consoles)" SectionPath
    SetRegView 64
    ClearErrors
    ReadRegStr $0 HKCU "${ENVIRONMENT_KEY}" "Path"
    ${If} ${Errors}
        ; Missing, or longer than this installer can hold: only a missing one
        ; may be written, or the user's other entries would be cut off.
        StrCpy $1 0
        ${Do}
            EnumRegValue $2 HKCU "${ENVIRONMENT_KEY}" $1
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
        WriteRegExpandStr HKCU "${ENVIRONMENT_KEY}" "Path" "$INSTDIR"
    ${Else}
        WriteRegExpandStr HKCU "${ENVIRONMENT_KEY}" "Path" "$0;$INSTDIR"
    ${EndIf}
    ; Only an entry this installer added is taken off again by the uninstaller.
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "AddedToUserPath" 1
    SendMessage ${HWND_BROADCAST} ${WM_SETTINGCHANGE} 0 "STR:Environment" /TIMEOUT=1000
SectionEnd

Function .onInit
    SetRegView 64
    ; Once on the PATH, an upgrade keeps it there, silent or not.
    ReadRegDWORD $0 HKLM "${UNINSTALL_KEY}" "AddedToUserPath"
    ${GetParameters} $1
    ClearErrors
    ${GetOptions} $1 "/ADDTOPATH" $2
    ${If} $0 == 1
    ${OrIfNot} ${Errors}
        SectionSetFlags ${SectionPath} ${SF_SELECTED}
    ${EndIf}
FunctionEnd

Section "-un.Programs closed"
    !insertmacro REQUIRE_PROGRAMS_CLOSED
SectionEnd

Section /o "un.Remove my settings (KTVDebug.cfg)" SectionRemoveSettings
    Delete "$INSTDIR\KTVDebug.cfg"
    SetShellVarContext current
    Delete "$APPDATA\${PRODUCT}\KTVDebug.cfg"
    RMDir "$APPDATA\${PRODUCT}"
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

    SetShellVarContext all
    Delete "$SMPROGRAMS\${PRODUCT}.lnk"

    ReadRegDWORD $0 HKLM "${UNINSTALL_KEY}" "AddedToUserPath"
    ${If} $0 == 1
        ClearErrors
        ReadRegStr $1 HKCU "${ENVIRONMENT_KEY}" "Path"
        ${IfNot} ${Errors}
            Push $1
            Call un.WalkPath
            ${If} $R9 == 1
                ${If} $R8 == ""
                    DeleteRegValue HKCU "${ENVIRONMENT_KEY}" "Path"
                ${Else}
                    WriteRegExpandStr HKCU "${ENVIRONMENT_KEY}" "Path" "$R8"
                ${EndIf}
                SendMessage ${HWND_BROADCAST} ${WM_SETTINGCHANGE} 0 "STR:Environment" \
                    /TIMEOUT=1000
            ${EndIf}
        ${EndIf}
    ${EndIf}
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
