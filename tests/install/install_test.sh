#!/usr/bin/env bash
# Installs, upgrades and uninstalls a KTV Debugger installer in a Wine prefix
# of its own, made fresh for the run and removed after it, on the X display
# in DISPLAY:
#   tests/install/install_test.sh SETUP.exe WORK_DIR
# Checks what a user would: the files, the Start-menu shortcut and the
# uninstall entry are there; the installed program opens its window; a second
# install is refused while the program runs, and once it has closed upgrades
# in place with one entry and puts the folder on the user's
# PATH (/ADDTOPATH); the silent uninstall takes away the programs, the
# shortcut, the entry and the PATH entry, and leaves the settings file and the
# user's other PATH entries as they were.
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

uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
folder="$WINEPREFIX/drive_c/Program Files/KTV Debugger"
shortcut="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/KTV Debugger.lnk"
files=(KTVDebugger.exe KTVCapture.exe ktvbuild.exe README.txt Uninstall.exe)
all_files_there() {
    local file
    for file in "${files[@]}"; do [[ -f $folder/$file ]] || return 1; done
}
no_program_file_left() {
    local file
    for file in "${files[@]}"; do [[ ! -e $folder/$file ]] || return 1; done
}
entries() {  # the uninstall entries named KTV Debugger
    run_wine reg query "$uninstall_key" /s 2>/dev/null | tr -d '\r' |
        grep -cE '^ +DisplayName +REG_SZ +KTV Debugger$' || true
}
entry_value() {
    run_wine reg query "$uninstall_key\\KTVDebugger" /v "$1" 2>/dev/null | tr -d '\r' |
        sed -n "s/^ *$1 *REG_[A-Z_]* *//p"
}
user_path() {
    run_wine reg query 'HKCU\Environment' /v Path 2>/dev/null | tr -d '\r' |
        sed -n 's/^ *Path *REG_[A-Z_]* *//p'
}
window_shown() {
    xdotool search --name "^${caption//./\\.}\$" >/dev/null 2>&1
}
entry_gone() {
    ! run_wine reg query "$uninstall_key\\KTVDebugger" >/dev/null 2>&1
}

start=$SECONDS
echo "== A fresh Wine prefix in $WINEPREFIX"
wineboot -i >/dev/null 2>&1
run_wine reg add 'HKCU\Environment' /v Path /t REG_EXPAND_SZ /d 'C:\tools;C:\more' /f >/dev/null

echo "== Silent install: $(basename "$setup") /S"
run_wine "$setup" /S
check "the programs and the README are in Program Files\\KTV Debugger" all_files_there
check "the Start-menu shortcut is there" test -f "$shortcut"
check "one uninstall entry" test "$(entries)" = 1
check "the entry says the version" test "$(entry_value DisplayVersion)" = "${caption##* }"
check "the entry has a silent uninstall string" \
    test "$(entry_value QuietUninstallString)" = '"C:\Program Files\KTV Debugger\Uninstall.exe" /S'
check "the entry has a publisher, icon and size" test -n "$(entry_value Publisher)" -a \
    -n "$(entry_value DisplayIcon)" -a -n "$(entry_value EstimatedSize)"

echo "== The installed program, and closed as a user closes it"
run_wine 'C:\Program Files\KTV Debugger\KTVDebugger.exe' >/dev/null 2>&1 &
program=$!
check "its window \"$caption\" opens" wait_for 200 window_shown
check "an install over it while it runs stops and says so (exit code 2)" \
    eval 'run_wine "$setup" /S; test $? = 2'
# Without /f, taskkill asks the program's windows to close (WM_CLOSE).
run_wine taskkill /im KTVDebugger.exe >/dev/null 2>&1 || true
check "it closes when asked" wait_for 100 eval '! kill -0 $program 2>/dev/null'
check "it saved its settings beside itself" test -f "$folder/KTVDebug.cfg"

echo "== Installed again over it, with /ADDTOPATH"
echo "an older README" >"$folder/README.txt"
run_wine "$setup" /S /ADDTOPATH
# The README's first line, without the byte-order mark a non-ASCII README has.
check "the files are replaced" \
    test "$(head -1 "$folder/README.txt" | tr -d '\r' | sed 's/^\xef\xbb\xbf//')" = "$caption"
check "still one uninstall entry" test "$(entries)" = 1
check "the folder is on the user's PATH after the user's own entries" \
    test "$(user_path)" = 'C:\tools;C:\more;C:\Program Files\KTV Debugger'
check "the settings are kept" test -f "$folder/KTVDebug.cfg"

echo "== Silent uninstall"
# The uninstaller copies itself away and runs from there, so it is finished
# once it has taken its entry out, its last step.
run_wine 'C:\Program Files\KTV Debugger\Uninstall.exe' /S
check "the uninstall entry is gone" wait_for 300 entry_gone
check "the programs, the README and the uninstaller are gone" wait_for 50 no_program_file_left
check "the shortcut is gone" test ! -e "$shortcut"
check "the settings file is left in place" test -f "$folder/KTVDebug.cfg"
check "the user's PATH is as it was before" test "$(user_path)" = 'C:\tools;C:\more'

echo "== $((SECONDS - start)) s; $failures failed"
[[ $failures == 0 ]] || exit 1
