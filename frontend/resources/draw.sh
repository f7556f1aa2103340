#!/bin/sh
# Draws the program's pictures with ImageMagick: icons 129 (program.ico: 48, 32 and 16 pixels) and 134
# (window.ico: 32 pixels), and bitmap 143 (about.bmp: 48 x 48 pixels, 24 bits). The results are committed,
# so the build does not need ImageMagick; run this only to change them.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../scripts/deps.sh"
need imagemagick

im=""
for candidate in magick convert-im6.q16 convert; do
    if command -v "$candidate" >/dev/null 2>&1 && "$candidate" -version 2>/dev/null | grep -q ImageMagick; then
        im=$candidate
        break
    fi
done
[ -n "$im" ] || { echo "ImageMagick not found"; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The master picture, 256 x 256: a green table with a playing card (a red heart on it) and a yellow arrow
# for the conversion.
"$im" -size 256x256 xc:none \
    -fill '#1e7a3c' -stroke '#0b4020' -strokewidth 8 -draw 'roundrectangle 8,8 247,247 40,40' \
    -fill white -stroke '#404040' -strokewidth 6 -draw 'roundrectangle 40,28 160,196 16,16' \
    -stroke none -fill '#d01c1c' \
    -draw 'circle 78,92 78,66' -draw 'circle 122,92 122,66' -draw 'polygon 53,102 147,102 100,160' \
    -fill '#ffd21f' -stroke '#7a5a00' -strokewidth 5 \
    -draw 'polygon 124,180 188,180 188,152 236,200 188,248 188,220 124,220' \
    "$work/master.png"

for size in 48 32 16; do
    "$im" "$work/master.png" -filter Lanczos -resize "${size}x${size}" -strip "PNG32:$work/icon$size.png"
done
"$im" "$work/icon48.png" "$work/icon32.png" "$work/icon16.png" -strip "$here/program.ico"
"$im" "$work/icon32.png" -strip "$here/window.ico"
# A bitmap has no transparency: the picture lies on the dialogs' light grey.
"$im" "$work/icon48.png" -background '#f0f0f0' -flatten -strip -type TrueColor "BMP3:$here/about.bmp"
echo "drawn: $here/program.ico $here/window.ico $here/about.bmp"
