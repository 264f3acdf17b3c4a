#!/bin/sh
# Draws Talvora's icon: a blue shield with a gate of three bars and a green
# status light, designed on a 48x48 grid and drawn at SIZE pixels.
# Needs ImageMagick's convert.
#   tools/gen_icono.sh [SIZE [DEST]]   (48 -> data/talvora.png,
#                                       otherwise data/talvora-SIZE.png)
set -e
tam=${1:-48}
if [ "$tam" = 48 ]; then
    destino=${2:-$(dirname "$0")/../data/talvora.png}
else
    destino=${2:-$(dirname "$0")/../data/talvora-$tam.png}
fi
e=$(awk "BEGIN { print $tam / 48 }")
convert -size "${tam}x${tam}" xc:none -affine "$e,0,0,$e,0,0" \
  -fill '#1f4e8c' -stroke '#0d2a52' -strokewidth 2 \
  -draw 'path "M 24,3 L 42,9 L 42,24 C 42,35 33,42 24,45 C 15,42 6,35 6,24 L 6,9 Z"' \
  -stroke none -fill '#e8eef6' \
  -draw 'rectangle 13,16 35,19' \
  -draw 'rectangle 15,19 18,33' \
  -draw 'rectangle 22,19 25,33' \
  -draw 'rectangle 29,19 32,33' \
  -fill '#3ccf4e' -stroke '#1b7a27' -strokewidth 1 \
  -draw 'circle 24,38 24,35' \
  -depth 8 -define png:exclude-chunks=date,time \
  "$destino"
