#!/bin/sh
# Draws data/talvora.png (48x48): a blue shield with a gate of three bars
# and a green status light. Needs ImageMagick's convert.
set -e
destino=${1:-$(dirname "$0")/../data/talvora.png}
convert -size 48x48 xc:none \
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
