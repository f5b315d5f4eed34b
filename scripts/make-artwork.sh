#!/usr/bin/env bash
# Draws the program's icon and banners with ImageMagick. The results are
# committed under src/app/art; run this only to change the artwork.
set -euo pipefail
out="$(cd "$(dirname "$0")/.." && pwd)/src/app/art"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

dark='#123B6B'
light='#2172C9'
mono=DejaVu-Sans-Mono
bold=DejaVu-Sans-Bold

# Code lines: translucent bars and line references, the picture of a Basic
# program being traced into C.
code_lines() {  # $1 = x offset, $2 = scale (percent)
    local x=$1 k=$2
    local draw=""
    local rows=(18 36 54 72 90)
    local lens=(150 210 120 185 95)
    for i in "${!rows[@]}"; do
        local y=$((rows[i] * k / 100)) len=$((lens[i] * k / 100))
        local bx=$((x + 64 * k / 100))
        draw+=" roundrectangle $bx,$y $((bx + len)),$((y + 8 * k / 100)) 3,3"
    done
    echo "$draw"
}

# Main window banner: plain colour on the left third (the window stretches
# that edge), a gradient and the motif on the right.
convert -size 120x480 gradient:"$dark-$light" -rotate -90 "$tmp/grad.png"
convert -size 720x120 "xc:$dark" "$tmp/grad.png" -geometry +240+0 -composite \
    -fill 'rgba(255,255,255,0.10)' -draw "$(code_lines 400 100)" \
    -fill 'rgba(255,255,255,0.42)' -font "$mono" -pointsize 12 \
    -annotate +400+27 '// [10]' -annotate +400+45 '// [11]' -annotate +400+63 '// [12]' \
    -annotate +400+81 '// [13]' -annotate +400+99 '// [14]' \
    -fill 'rgba(255,196,64,0.90)' -draw 'roundrectangle 396,52 690,68 4,4' \
    -fill '#1B2B40' -annotate +400+63 '// [12]' \
    -draw "text 464,63 'PRINT \"Hello\"'" \
    -fill 'rgba(255,255,255,0.08)' -draw 'circle 690,20 760,20' \
    -type TrueColor BMP3:"$out/banner.bmp"

# About box banner, 301 x 60: the same look with the name.
convert -size 60x301 gradient:"$dark-$light" -rotate -90 \
    -fill 'rgba(255,255,255,0.10)' -draw "$(code_lines 150 50)" \
    -fill 'rgba(255,196,64,0.90)' -draw 'roundrectangle 224,27 290,35 2,2' \
    -fill white -font "$bold" -pointsize 20 -annotate +12+32 'KTV Debugger' \
    -fill 'rgba(255,255,255,0.80)' -font DejaVu-Sans -pointsize 10 \
    -annotate +13+48 'Basic to C, traced back' \
    -type TrueColor BMP3:"$out/about_banner.bmp"

# Icon: a blue tile with a bold K and a yellow line marker, drawn large and
# scaled down to each size Windows asks for.
convert -size 256x256 xc:none \
    -fill "$dark" -draw 'roundrectangle 8,8 248,248 44,44' \
    \( -size 240x240 gradient:"$light-$dark" \) -geometry +8+8 \
    \( -size 256x256 xc:none -fill white -draw 'roundrectangle 8,8 248,248 44,44' \) \
    -compose over -delete 1,2 \
    -fill white -font "$bold" -pointsize 170 -gravity center -annotate +0-12 'K' \
    -gravity northwest -fill '#FFC440' -draw 'roundrectangle 40,196 216,222 12,12' \
    -depth 8 "$tmp/icon256.png"
for size in 16 20 24 32 40 48 64; do
    convert "$tmp/icon256.png" -resize ${size}x${size} -unsharp 0x0.6 "$tmp/icon$size.png"
done
convert "$tmp"/icon{16,20,24,32,40,48,64}.png "$tmp/icon256.png" -depth 8 "$out/ktv.ico"
ls -l "$out"
