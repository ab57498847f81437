#!/bin/sh
# Draws Tavro.ico (16 to 256 pixels) with ImageMagick: a deep-blue rounded tile with a
# light hex grid and an amber caret cell. Run it from this folder after changing the design.
set -eu
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
convert -size 256x256 xc:none \
  -fill '#0D1B2A' -draw 'roundrectangle 8,8 247,247 44,44' \
  -fill '#1F6FEB' -draw 'roundrectangle 8,8 247,60 44,44' -draw 'rectangle 8,36 247,60' \
  -fill '#E6EDF3' \
  -draw 'rectangle 40,88 92,120' -draw 'rectangle 102,88 154,120' -draw 'rectangle 164,88 216,120' \
  -draw 'rectangle 40,134 92,166' -draw 'rectangle 164,134 216,166' \
  -draw 'rectangle 40,180 92,212' -draw 'rectangle 102,180 154,212' -draw 'rectangle 164,180 216,212' \
  -fill '#F2A900' -draw 'rectangle 102,134 154,166' \
  "$tmp/256.png"
for size in 16 24 32 48 64 128; do
  convert "$tmp/256.png" -resize "${size}x${size}" "$tmp/$size.png"
done
convert "$tmp/16.png" "$tmp/24.png" "$tmp/32.png" "$tmp/48.png" "$tmp/64.png" "$tmp/128.png" "$tmp/256.png" -depth 8 Tavro.ico
