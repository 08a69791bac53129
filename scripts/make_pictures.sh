#!/usr/bin/env bash
# Draws the pictures of the shared windows with ImageMagick: the About and Credits backgrounds
# and the window icon of both programs (also as the Windows file icon). Run once; the outputs are kept in src/ui/resources/.
# Same inputs, same pictures: the stars come from a fixed seed.
# Usage: scripts/make_pictures.sh [output-folder]

set -euo pipefail
out=${1:-"$(dirname "$0")/../src/ui/resources"}
mkdir -p "$out"

# About: a pale sky over a blue arena ring, with a lightning bolt in each upper corner. The
# middle stays light for the red text.
bolt="polygon 0,0 22,0 12,26 28,26 -6,74 4,36 -10,36"
convert -size 358x269 gradient:'#fdfcf6'-'#a9c8ea' \
  \( -size 358x269 radial-gradient:'#ffffffd0'-'#ffffff00' \) -compose over -composite \
  -fill none -stroke '#6f9bd1' -strokewidth 6 -draw "ellipse 179,150 168,104 0,360" \
  -stroke '#c4d8f0' -strokewidth 2 -draw "ellipse 179,150 150,90 0,360" \
  -fill '#ffd84a' -stroke '#b98900' -strokewidth 2 \
  -draw "translate 28,14 $bolt" -draw "translate 330,14 scale -1,1 $bolt" \
  -depth 8 -strip -quality 90 "$out/about.jpg"

# Credits: a night sky with stars and a faint warm glow over the dark horizon, dim enough
# for the red text that scrolls over it.
convert -size 385x288 gradient:'#060a24'-'#2a1040' \
  \( -size 385x288 xc:black -seed 1917 +noise Random -channel G -separate +channel \
     -threshold 99.5% -morphology Dilate Disk:0.6 -blur 0x0.4 \) \
  -compose screen -composite \
  \( -size 385x200 -define gradient:radii=230,100 radial-gradient:'#c8603058'-'#c8603000' \) \
  -gravity northwest -geometry +0+190 -compose over -composite \
  -fill '#0d0818' -stroke none -draw "path 'M 0,288 L 0,262 Q 90,236 190,258 T 385,250 L 385,288 Z'" \
  -depth 8 -strip -quality 90 "$out/credits.jpg"

# Icon: a yellow bolt on a blue rounded square.
convert -size 64x64 xc:none \
  -fill '#1f4e9a' -stroke '#0d2a5c' -strokewidth 2 -draw "roundrectangle 2,2 61,61 12,12" \
  -fill '#ffd84a' -stroke '#8a6400' -strokewidth 2 \
  -draw "polygon 36,6 16,36 30,36 24,58 48,26 34,26 42,6" \
  -depth 8 -strip "$out/icon.png"

# The same icon as the Windows executables' file icon, in the sizes Explorer shows.
convert "$out/icon.png" -define icon:auto-resize=64,48,32,24,16 "$out/icon.ico"

echo "Pictures written to $out"
