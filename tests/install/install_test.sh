#!/usr/bin/env bash
# Installs, upgrades and uninstalls a KTV Debugger installer in both scopes,
# in a Wine prefix of its own, made fresh for the run and removed after it, on
# the X display in DISPLAY:
#   tests/install/install_test.sh SETUP.exe WORK_DIR
# Checks what a user would see:
# - for me only, without an administrator's token (without_admin.exe): a
#   silent install puts the files into the user's own Programs folder, the
#   uninstall entry and the folder on the PATH under HKCU, the shortcut into
#   the user's Start menu, and nothing into the machine's places; the program
#   runs from there, an install over it is refused while it runs, and it saves
#   its settings beside itself; an upgrade through the pages (first and last
#   page saved as WORK_DIR/first-page.png and last-page.png) stays in that
#   scope, and "Run KTV Debugger" on the last page starts the program; the
#   silent uninstall takes everything away but the settings and the user's
#   own PATH entries;
# - for all users: chosen on the first page without an administrator's token,
#   the installer starts an elevated copy of itself (the Wine at hand elevates
#   nothing, so that copy's token is no different) which installs into
#   Program Files, the HKLM entry and the all-users Start menu, and "Run KTV
#   Debugger" starts the program through the first, unelevated copy; a silent
#   upgrade without a scope stays there and moves the folder from the user's
#   PATH, where releases before the scopes put it, to the system PATH; the
#   silent uninstall takes it all away again.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
trap 'echo "install_test.sh: line $LINENO failed" >&2' ERR
if [[ $# -ne 2 || ! -f $1 ]]; then
    echo "usage: install_test.sh SETUP.exe WORK_DIR (no installer at ${1:-?})" >&2
    exit 2
fi
setup="$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"
mkdir -p "$2"
work="$(cd "$2" && pwd)"  # Wine takes only an absolute WINEPREFIX
if [[ -z ${DISPLAY:-} ]]; then
    echo "install_test.sh: needs an X display (DISPLAY)" >&2
    exit 2
fi

version_field() {
    sed -n "s/^#define $1 \"\(.*\)\"$/\1/p" "$root/src/views/Version.h"
}
caption="$(version_field KTV_PRODUCT_NAME) $(version_field KTV_VERSION_TEXT)"

export WINEPREFIX="$work/ktv-install-test-prefix"
export WINEDEBUG=-all
# No Mono or Gecko prompts, and no menu entries written into this machine's
# desktop for the shortcut the installer makes.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
cleanup() {
    wineserver -k >/dev/null 2>&1 || true
    rm -rf "$WINEPREFIX"
}
rm -rf "$WINEPREFIX"
trap cleanup EXIT

# As the toolchain file explains: without randomisation a Wine start never
# fails at once.
run_wine() {
    if setarch x86_64 -R true 2>/dev/null; then
        setarch x86_64 -R wine "$@"
    else
        wine "$@"
    fi
}
without_admin="$work/without_admin.exe"
x86_64-w64-mingw32-gcc -O2 -o "$without_admin" "$root/tests/install/without_admin.c"
as_user() {  # runs a Windows program without an administrator's token
    run_wine "$without_admin" "$@"
}
failures=0
check() {  # check DESCRIPTION COMMAND...
    local what=$1
    shift
    if "$@"; then
        echo "ok: $what"
    else
        echo "FAILED: $what"
        failures=$((failures + 1))
    fi
}
# Waits up to $1 tenths of a second for COMMAND to succeed.
wait_for() {
    local tenths=$1
    shift
    for ((i = 0; i < tenths; i++)); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}

uninstall_key='Software\Microsoft\Windows\CurrentVersion\Uninstall'
system_environment='HKLM\SYSTEM\CurrentControlSet\Control\Session Manager\Environment'
files=(KTVDebugger.exe KTVCapture.exe ktvbuild.exe README.txt Uninstall.exe)
all_files_in() {
    local file
    for file in "${files[@]}"; do [[ -f $1/$file ]] || return 1; done
}
no_program_file_in() {
    local file
    for file in "${files[@]}"; do [[ ! -e $1/$file ]] || return 1; done
}
reg_value() {  # reg_value KEY NAME
    run_wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' |
        sed -n "s/^ *$2 *REG_[A-Z_]* *//p"
}
entries() {  # the uninstall entries named KTV Debugger under HKCU or HKLM
    run_wine reg query "$1\\$uninstall_key" /s 2>/dev/null | tr -d '\r' |
        grep -cE '^ +DisplayName +REG_SZ +KTV Debugger$' || true
}
entry_value() {  # entry_value HKCU|HKLM NAME
    reg_value "$1\\$uninstall_key\\KTVDebugger" "$2"
}
entry_gone() {
    ! run_wine reg query "$1\\$uninstall_key\\KTVDebugger" >/dev/null 2>&1
}
user_path() { reg_value 'HKCU\Environment' Path; }
system_path() { reg_value "$system_environment" Path; }
unix_folder() { winepath -u "$1" | sed 's|/$||'; }
windows_variable() { run_wine cmd /c "echo %$1%" | tr -d '\r'; }
windows_named() {  # the visible windows whose caption is $1 exactly
    xdotool search --onlyvisible --name "^${1//./\\.}\$" 2>/dev/null
}
setup_window() {  # the installer's visible window ("KTV Debugger 3.001 Setup ")
    xdotool search --onlyvisible --name "^${caption//./\\.} Setup" 2>/dev/null | head -1
}
# Waits for the background process $1 to end, and returns its exit code.
exit_code_of() {
    local pid=$1 code=0
    wait_for 300 eval '! kill -0 $pid 2>/dev/null' || return 125
    wait "$pid" || code=$?
    return $code
}
# Types KEYS into the installer's window. X gives keys to the window with the
# input focus, which with no window manager is whatever lies under the
# pointer until someone sets it; an earlier test may have left the pointer
# anywhere, so the window is given the focus first.
keys_to_setup() {
    local window
    window=$(setup_window)
    [[ -n $window ]] && timeout 10 xdotool windowfocus --sync "$window" && xdotool key "$@"
}
program_shown() { [[ -n $(windows_named "$caption") ]]; }
# Closes the program as a user does: without /f, taskkill asks its windows to
# close (WM_CLOSE). Waits for its process, which saves the settings, to end.
close_program() {
    local pids=() window
    for window in $(windows_named "$caption"); do pids+=("$(xdotool getwindowpid "$window")"); done
    run_wine taskkill /im KTVDebugger.exe >/dev/null 2>&1 || true
    wait_for 100 all_ended "${pids[@]}"
}
all_ended() {
    local pid
    for pid in "$@"; do ! kill -0 "$pid" 2>/dev/null || return 1; done
}
# The installer's pages: the first and the last show the picture at the top
# left (the program's dark blue), the others a white header there.
setup_page() {  # setup_page picture|plain
    local window rgb red blue
    window=$(setup_window)
    [[ -n $window ]] || return 1
    rgb=$(import -window "$window" -crop 1x1+8+8 +repage -depth 8 rgb:- 2>/dev/null | od -An -tu1)
    read -r red _ blue <<<"$rgb"
    if [[ $1 == picture ]]; then ((blue > 90 && red < 60)); else ((red > 200)); fi
}
elevated_copy_shows() {  # the visible installer window is the elevated copy's
    local window
    window=$(setup_window)
    [[ -n $window ]] && tr '\0' ' ' <"/proc/$(xdotool getwindowpid "$window")/cmdline" |
        grep -q -- '/RelaunchedElevated /AllUsers'
}
# From the folder page through the components page to the last one, saving
# it as $work/last-page.png; then Finish, with "Run KTV Debugger" ticked as
# it comes.
to_the_last_page() {
    keys_to_setup Return Return || return 1  # the folder page's Next, the components page's Install
    wait_for 600 setup_page picture || return 1
    import -window "$(setup_window)" "$work/last-page.png"
    keys_to_setup Return
}

start=$SECONDS
echo "== A fresh Wine prefix in $WINEPREFIX"
wineboot -i >/dev/null 2>&1
run_wine reg add 'HKCU\Environment' /v Path /t REG_EXPAND_SZ /d 'C:\tools;C:\more' /f >/dev/null
system_path_before=$(system_path)
setup_windows=$(winepath -w "$setup")
mine_windows="$(windows_variable LOCALAPPDATA)\\Programs\\KTV Debugger"
mine=$(unix_folder "$mine_windows")
my_shortcut="$(unix_folder "$(windows_variable APPDATA)")/Microsoft/Windows/Start Menu/Programs/KTV Debugger.lnk"
everyones="$WINEPREFIX/drive_c/Program Files/KTV Debugger"
everyones_shortcut="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/KTV Debugger.lnk"

echo "== For me only, without an administrator: $(basename "$setup") /S /ADDTOPATH"
as_user "$setup_windows" /S /ADDTOPATH
check "the programs and the README are in the user's Programs\\KTV Debugger" all_files_in "$mine"
check "the shortcut is in the user's Start menu, not the all-users one" \
    test -f "$my_shortcut" -a ! -e "$everyones_shortcut"
check "one uninstall entry, under HKCU, none under HKLM" \
    test "$(entries HKCU)/$(entries HKLM)" = 1/0
check "the entry says the version" test "$(entry_value HKCU DisplayVersion)" = "${caption##* }"
check "the entry has a silent uninstall string" \
    test "$(entry_value HKCU QuietUninstallString)" = "\"$mine_windows\\Uninstall.exe\" /S"
check "the entry has a publisher, icon and size" test -n "$(entry_value HKCU Publisher)" -a \
    -n "$(entry_value HKCU DisplayIcon)" -a -n "$(entry_value HKCU EstimatedSize)"
check "the folder is on the user's PATH after the user's own entries, not on the system's" \
    test "$(user_path)|$(system_path)" = "C:\\tools;C:\\more;$mine_windows|$system_path_before"

echo "== The installed program, and closed as a user closes it"
as_user "$mine_windows\\KTVDebugger.exe" >/dev/null 2>&1 &
check "its window \"$caption\" opens" wait_for 200 program_shown
check "an install over it while it runs stops and says so (exit code 2)" \
    eval 'as_user "$setup_windows" /S; test $? = 2'
check "it closes when asked" close_program
check "it saved its settings beside itself" test -f "$mine/KTVDebug.cfg"

echo "== Upgraded through the pages, then \"Run KTV Debugger\""
echo "an older README" >"$mine/README.txt"
as_user "$setup_windows" >/dev/null 2>&1 &
installer=$!
check "the first page shows" wait_for 200 setup_page picture
import -window "$(setup_window)" "$work/first-page.png"
# "Me only" comes chosen: the install found is this user's.
keys_to_setup Return || echo "could not give the installer the focus"
check "Next: the same, unelevated installer shows the folder page" \
    eval 'wait_for 150 setup_page plain && ! elevated_copy_shows'
check "Next, Install: the last page; Finish" to_the_last_page
check "the installer ends with exit code 0" exit_code_of $installer
check "\"Run KTV Debugger\" starts the program" wait_for 200 program_shown
check "the files are replaced" \
    test "$(head -1 "$mine/README.txt" | tr -d '\r' | sed 's/^\xef\xbb\xbf//')" = "$caption"
check "still one entry, under HKCU, none under HKLM, and nothing in Program Files" \
    test "$(entries HKCU)/$(entries HKLM)" = 1/0 -a ! -e "$everyones"
check "the program closes" close_program

echo "== For me only: silent uninstall, without an administrator"
# The uninstaller copies itself away and runs from there, so it is finished
# once it has taken its entry out, its last step.
as_user "$mine_windows\\Uninstall.exe" /S
check "the uninstall entry is gone" wait_for 300 entry_gone HKCU
check "the programs, the README and the uninstaller are gone" wait_for 50 no_program_file_in "$mine"
check "the shortcut is gone" test ! -e "$my_shortcut"
check "the settings file is left in place" test -f "$mine/KTVDebug.cfg"
check "the user's PATH is as it was before" test "$(user_path)" = 'C:\tools;C:\more'

echo "== For all users, chosen on the first page without an administrator"
as_user "$setup_windows" >/dev/null 2>&1 &
installer=$!
check "the first page shows" wait_for 200 setup_page picture
keys_to_setup alt+a Return || echo "could not give the installer the focus"
check "\"All users\", Next: an elevated copy of the installer shows the folder page" \
    wait_for 150 eval 'setup_page plain && elevated_copy_shows'
check "Next, Install: the last page; Finish" to_the_last_page
check "the first copy ends with exit code 0" exit_code_of $installer
check "\"Run KTV Debugger\" starts the program" wait_for 200 program_shown
check "the programs are in Program Files\\KTV Debugger" all_files_in "$everyones"
check "the shortcut is in the all-users Start menu, not the user's" \
    test -f "$everyones_shortcut" -a ! -e "$my_shortcut"
check "one uninstall entry, under HKLM, none under HKCU" \
    test "$(entries HKCU)/$(entries HKLM)" = 0/1
check "the program closes" close_program

echo "== For all users: upgraded silently, with no scope given, over what a release before the scopes left"
# Those installed for all users but put the folder on the PATH of the
# administrator who ran them, and marked it so in the HKLM entry.
run_wine reg add "HKLM\\$uninstall_key\\KTVDebugger" /v AddedToUserPath /t REG_DWORD /d 1 /f >/dev/null
run_wine reg add 'HKCU\Environment' /v Path /t REG_EXPAND_SZ \
    /d 'C:\tools;C:\more;C:\Program Files\KTV Debugger' /f >/dev/null
run_wine "$setup_windows" /S
check "still one entry, under HKLM, none under HKCU" test "$(entries HKCU)/$(entries HKLM)" = 0/1
check "the folder moved from the user's PATH to the system PATH" \
    test "$(system_path)|$(user_path)" = \
    "$system_path_before;C:\\Program Files\\KTV Debugger|C:\\tools;C:\\more"

echo "== For all users: silent uninstall, without an administrator"
as_user 'C:\Program Files\KTV Debugger\Uninstall.exe' /S
check "the uninstall entry is gone" wait_for 300 entry_gone HKLM
check "the programs, the README and the uninstaller are gone" wait_for 50 no_program_file_in "$everyones"
check "the shortcut is gone" test ! -e "$everyones_shortcut"
check "the system PATH is as it was before" test "$(system_path)" = "$system_path_before"

echo "== $((SECONDS - start)) s; $failures failed"
[[ $failures == 0 ]] || exit 1
