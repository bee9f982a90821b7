#!/usr/bin/env bash
# Draws the five 45 x 16 tool bar pictures (a 16-pixel glyph and a
# two-character label) as 24-bit bitmaps. Run by hand when they change; the
# output in resources/toolbar/ is committed. Needs ImageMagick and the
# WenQuanYi Zen Hei font (scripts/deps.sh installs both).
#   tools/gen_toolbar/gen_toolbar.sh [OUTDIR]
# The buttons draw their glyph with the bottom-left pixel's colour as the
# see-through colour, so the background is magenta exactly; edge pixels are
# blended with a light face colour, never with magenta.
set -euo pipefail
out=${1:-$(cd "$(dirname "$0")/../.." && pwd)/resources/toolbar}
font=/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc
face='#ECECEC'
teal='#17806F'
dark='#0E5247'
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$out"

# draw NAME LABEL GLYPH-DRAW-ARGS...
draw() {
    local name=$1 label=$2
    shift 2
    # Drawn 4x larger and scaled down, for smooth edges at 16 pixels.
    convert -size 180x64 xc:none "$@" \
        -font "$font" -pointsize 44 -fill '#1B2B28' -stroke none \
        -annotate +70+50 "$label" \
        -resize 45x16! "$tmp/$name.png"
    convert "$tmp/$name.png" -background "$face" -alpha remove "$tmp/$name-flat.png"
    convert "$tmp/$name.png" -alpha extract -threshold 0 "$tmp/$name-mask.png"
    convert -size 45x16 xc:'#FF00FF' "$tmp/$name-flat.png" "$tmp/$name-mask.png" -composite \
        -type TrueColor "BMP3:$out/$name.bmp"
}

draw home "首页" \
    -fill "$teal" -stroke "$dark" -strokewidth 3 -draw "polygon 32,4 60,28 52,28 52,58 12,58 12,28 4,28" \
    -fill '#F3C64B' -stroke "$dark" -strokewidth 2 -draw "rectangle 26,38 38,58"
draw back "后退" \
    -fill "$teal" -stroke "$dark" -strokewidth 3 -draw "circle 32,32 32,4" \
    -fill white -stroke none -draw "polygon 14,32 32,14 32,24 48,24 48,40 32,40 32,50"
draw forward "前进" \
    -fill "$teal" -stroke "$dark" -strokewidth 3 -draw "circle 32,32 32,4" \
    -fill white -stroke none -draw "polygon 50,32 32,14 32,24 16,24 16,40 32,40 32,50"
draw refresh "刷新" \
    -fill none -stroke "$teal" -strokewidth 9 -draw "arc 10,10 54,54 -60,230" \
    -fill "$teal" -stroke none -draw "polygon 36,2 60,14 40,30"
draw stop "停止" \
    -fill '#D2402F' -stroke '#8E2418' -strokewidth 3 -draw "polygon 20,4 44,4 60,20 60,44 44,60 20,60 4,44 4,20" \
    -stroke white -strokewidth 7 -draw "line 21,21 43,43" -draw "line 43,21 21,43"
echo "wrote $out/{home,back,forward,refresh,stop}.bmp"
