#!/usr/bin/env bash
# Makes the installer from a folder that holds the three built programs:
#   packaging/make_installer.sh PROGRAMS_DIR OUT_DIR
# writes OUT_DIR/README.txt (from README.md) and
# OUT_DIR/KTVDebugger-<version>-setup.exe, and prints the installer's path.
# The version and publisher come from src/views/Version.h, as the programs'
# own version resources do.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
programs="$(cd "$1" && pwd)"
mkdir -p "$2"
out="$(cd "$2" && pwd)"

# One #define's string (or dotted numbers) from Version.h.
version_field() {
    sed -n "s/^#define $1 \"\(.*\)\"$/\1/p" "$root/src/views/Version.h"
}
version=$(version_field KTV_VERSION_TEXT)
dotted=$(version_field KTV_VERSION_DOTTED)
publisher=$(version_field KTV_PUBLISHER)
if [[ -z $version || -z $dotted || -z $publisher ]]; then
    echo "make_installer.sh: src/views/Version.h lacks the version or publisher" >&2
    exit 2
fi
for program in KTVDebugger.exe KTVCapture.exe ktvbuild.exe; do
    if [[ ! -f $programs/$program ]]; then
        echo "make_installer.sh: no $program in $programs" >&2
        exit 2
    fi
done

python3 "$root/packaging/readme_txt.py" "$root/README.md" "$out/README.txt" "$version"
# The pictures of the first and last pages, drawn for this build only.
art=$(mktemp -d)
trap 'rm -rf "$art"' EXIT
"$root/packaging/make_wizard_art.sh" "$art"
setup="$out/KTVDebugger-$version-setup.exe"
# -WX: a warning (a missing file, an unused variable) fails the build.
makensis -WX -V2 -INPUTCHARSET UTF8 \
    "-DVERSION=$version" "-DVERSION_DOTTED=$dotted" "-DPUBLISHER=$publisher" \
    "-DPROGRAMS=$programs" "-DREADME=$out/README.txt" "-DICON=$root/src/app/art/ktv.ico" \
    "-DWIZARD_ART=$art" \
    "-DOUTFILE=$setup" "$root/packaging/KTVDebugger.nsi" >&2
echo "$setup"
