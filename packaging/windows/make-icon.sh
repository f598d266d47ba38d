#!/usr/bin/env bash
# Draws the saver's icon (resource 100) with ImageMagick: four towers with lit windows against the night
# sky, between the black letterbox bars the saver shows. 32 x 32 and 16 x 16 in one .ico.
#   make-icon.sh OUTPUT.ico
set -euo pipefail
out=$1

draw=(
    -fill '#000000' -draw 'rectangle 0,0 31,2' -draw 'rectangle 0,29 31,31'
    -fill '#dfe6ff' -draw 'point 4,5' -draw 'point 21,4' -draw 'point 28,6' -draw 'point 14,3'
    -fill '#141b2e' -draw 'rectangle 2,13 8,28' -draw 'rectangle 10,6 17,28'
    -draw 'rectangle 19,16 24,28' -draw 'rectangle 26,10 30,28'
)
# Windows: every other column and row of each tower, some of them dark.
lit=()
window() { lit+=(-draw "point $1,$2"); }
for y in 15 18 21 24 27; do for x in 3 5 7; do [ $(((x * 7 + y * 3) % 5)) -eq 0 ] || window $x $y; done; done
for y in 8 10 12 14 16 18 20 22 24 26; do for x in 11 13 15; do [ $(((x * 5 + y) % 4)) -eq 0 ] || window $x $y; done; done
for y in 18 21 24 27; do for x in 20 22; do [ $(((x + y) % 3)) -eq 0 ] || window $x $y; done; done
for y in 12 14 16 18 20 22 24 26; do for x in 27 29; do [ $(((x * 3 + y) % 5)) -eq 1 ] || window $x $y; done; done

convert -size 32x32 gradient:'#061040-#0a2a6a' "${draw[@]}" -fill '#ffd36b' "${lit[@]}" \
    -define icon:auto-resize=32,16 "$out"
