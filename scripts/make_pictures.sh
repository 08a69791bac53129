#!/usr/bin/env bash
# Draws the pictures of the shared windows with ImageMagick: the About and Credits backgrounds
# and the window icon of both programs (also as the Windows file icon). Run once; the outputs are kept in src/ui/resources/.
# Each background comes twice: as designed, and at twice the size ("@2x") for screens of a high
# device pixel ratio, drawn from the same shapes, so the two differ only in sharpness.
# Same inputs, same pictures: the stars come from a fixed seed.
# Usage: scripts/make_pictures.sh [output-folder]

set -euo pipefail
out=${1:-"$(dirname "$0")/../src/ui/resources"}
mkdir -p "$out"

# About: a pale sky over a blue arena ring, with a lightning bolt in each upper corner. The
# middle stays light for the red text. $1 is the scale (1 or 2), $2 the file.
about() {
  local s=$1 zoom=""
  local bolt="polygon 0,0 22,0 12,26 28,26 -6,74 4,36 -10,36"
  local right="translate 330,14 scale -1,1 $bolt"
  if [ "$s" != 1 ]; then
    zoom="scale $s,$s "
    # Scaled and mirrored at once, ImageMagick draws a stray spike off the outline: the
    # mirrored bolt is given by its own points instead, in the winding of the other.
    right="polygon 340,50 326,50 336,88 302,40 318,40 308,14 330,14"
  fi
  convert -size $((358 * s))x$((269 * s)) gradient:'#fdfcf6'-'#a9c8ea' \
    \( -size $((358 * s))x$((269 * s)) radial-gradient:'#ffffffd0'-'#ffffff00' \) -compose over -composite \
    -fill none -stroke '#6f9bd1' -strokewidth 6 -draw "${zoom}ellipse 179,150 168,104 0,360" \
    -stroke '#c4d8f0' -strokewidth 2 -draw "${zoom}ellipse 179,150 150,90 0,360" \
    -fill '#ffd84a' -stroke '#b98900' -strokewidth 2 \
    -draw "${zoom}translate 28,14 $bolt" -draw "${zoom}$right" \
    -depth 8 -strip -quality 90 "$2"
}

# Credits: a night sky with stars and a faint warm glow over the dark horizon, dim enough
# for the red text that scrolls over it. The stars are found at the designed size, so both
# drawings show the same sky. $1 is the scale (1 or 2), $2 the file.
credits() {
  local s=$1 zoom=""
  local stars=(-size 385x288 xc:black -seed 1917 +noise Random -channel G -separate +channel
    -threshold 99.5% -morphology Dilate Disk:0.6)
  if [ "$s" = 1 ]; then
    stars+=(-blur 0x0.4)
  else
    zoom="scale $s,$s "
    stars+=(-filter point -resize $((100 * s))% -blur 0x0.$((4 * s)))
  fi
  convert -size $((385 * s))x$((288 * s)) gradient:'#060a24'-'#2a1040' \
    \( "${stars[@]}" \) \
    -compose screen -composite \
    \( -size $((385 * s))x$((200 * s)) -define gradient:radii=$((230 * s)),$((100 * s)) radial-gradient:'#c8603058'-'#c8603000' \) \
    -gravity northwest -geometry +0+$((190 * s)) -compose over -composite \
    -fill '#0d0818' -stroke none -draw "${zoom}path 'M 0,288 L 0,262 Q 90,236 190,258 T 385,250 L 385,288 Z'" \
    -depth 8 -strip -quality 90 "$2"
}

about 1 "$out/about.jpg"
about 2 "$out/about@2x.jpg"
credits 1 "$out/credits.jpg"
credits 2 "$out/credits@2x.jpg"

# Icon: a yellow bolt on a blue rounded square.
convert -size 64x64 xc:none \
  -fill '#1f4e9a' -stroke '#0d2a5c' -strokewidth 2 -draw "roundrectangle 2,2 61,61 12,12" \
  -fill '#ffd84a' -stroke '#8a6400' -strokewidth 2 \
  -draw "polygon 36,6 16,36 30,36 24,58 48,26 34,26 42,6" \
  -depth 8 -strip "$out/icon.png"

# The same icon as the Windows executables' file icon, in the sizes Explorer shows.
convert "$out/icon.png" -define icon:auto-resize=64,48,32,24,16 "$out/icon.ico"

echo "Pictures written to $out"
