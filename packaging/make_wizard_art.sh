#!/usr/bin/env bash
# Draws the picture on the installer's first and last pages from the
# program's own artwork (src/app/art: the icon and the main window's banner):
#   packaging/make_wizard_art.sh OUT_DIR
# writes OUT_DIR/wizard-96.bmp (164 x 314, the picture's size at 96 DPI) and
# OUT_DIR/wizard-144.bmp (246 x 471, at 144 DPI). Drawn at the larger size and
# scaled down, so both show the same picture. make_installer.sh runs it on
# every build: the bitmaps are too large to keep in the repository.
set -euo pipefail
art="$(cd "$(dirname "$0")/.." && pwd)/src/app/art"
mkdir -p "$1"
out="$(cd "$1" && pwd)"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# The banner's colours (scripts/make-artwork.sh).
dark='#123B6B'
light='#2172C9'

# The icon's 256-pixel image.
convert "$art/ktv.ico[7]" -resize 128x128 "$tmp/icon.png"

# Below the name, the banner's motif: traced lines with their references,
# the Basic line the error leads back to highlighted. (With -gravity, a text's
# offset is its top left corner.)
motif=(-fill 'rgba(255,196,64,0.90)' -draw 'roundrectangle 16,365 230,383 4,4')
widths=(118 150 0 132 84)
for i in 0 1 2 3 4; do
    y=$((322 + i * 22))
    if ((i == 2)); then
        motif+=(-fill '#1B2B40' -annotate +22+$y '// [12]' -annotate +86+$y 'PRINT "Hello"')
    else
        motif+=(-fill 'rgba(255,255,255,0.10)'
                -draw "roundrectangle 86,$((y + 4)) $((86 + widths[i])),$((y + 11)) 3,3"
                -fill 'rgba(255,255,255,0.42)' -annotate +22+$y "// [1$i]")
    fi
done
convert -size 246x471 gradient:"$dark-$light" \
    -fill 'rgba(255,255,255,0.08)' -draw 'circle 226,446 346,446' \
    "$tmp/icon.png" -geometry +59+64 -composite \
    -gravity north -fill white -font DejaVu-Sans-Bold -pointsize 22 -annotate +0+214 'KTV Debugger' \
    -fill 'rgba(255,255,255,0.80)' -font DejaVu-Sans -pointsize 13 \
    -annotate +0+246 'Basic to C, traced back' \
    -gravity northwest -font DejaVu-Sans-Mono -pointsize 12 "${motif[@]}" \
    -type TrueColor "$tmp/wizard-144.png"
convert "$tmp/wizard-144.png" -type TrueColor BMP3:"$out/wizard-144.bmp"
convert "$tmp/wizard-144.png" -resize 164x314! -type TrueColor BMP3:"$out/wizard-96.bmp"
