#!/usr/bin/env bash
# A minimal Debian system (debootstrap's minbase: no X, no Qt, no desktop) with only the given
# packages added, for the archive test to run the Linux editors in (chroot). Made once into the
# cache, named after the suite and the packages, and reused; prints its folder on its last line.
# The packages come from the machine's own Debian archive (its mirror or proxy).
#
# Usage: tests/release/minimal-debian.sh SUITE [PACKAGE ...]   (as root; SUITE: bookworm, trixie)
#        tests/release/minimal-debian.sh SUITE --guide GUIDE    the packages of the guide's line
#                                                               "Debian: sudo apt install ..."
# Environment: VOLTARA_CACHE   the cache folder (default ~/.cache/voltara)
# Exit status 0 with the folder; 1 when it cannot be made, with the reason on standard error.

set -euo pipefail
cd "$(dirname "$0")/../.."
suite=${1:?usage: minimal-debian.sh SUITE [PACKAGE ... | --guide GUIDE]}
shift
if [ "${1:-}" = "--guide" ]; then
  line=$(sed -n 's/^[[:space:]]*Debian:[[:space:]]*sudo apt install //p' "${2:?no guide}")
  [ -n "$line" ] || { echo "the guide names no Debian packages" >&2; exit 1; }
  read -r -a guide_packages <<<"$line"
  set -- "${guide_packages[@]}"
fi
packages=$(printf '%s\n' "$@" | sort -u | paste -sd, -)
[ "$(id -u)" -eq 0 ] || { echo "debootstrap and chroot need root" >&2; exit 1; }
stamp=$(echo "$suite minbase $packages" | sha256sum | cut -c1-12)
cache=${VOLTARA_CACHE:-$HOME/.cache/voltara}
folder=$cache/debian-$suite-minbase-$stamp
if [ -f "$folder/.complete" ]; then
  echo "$folder"
  exit 0
fi
bash scripts/setup.sh debootstrap >&2 || exit 1
mirror=$(python3 scripts/qt/deb_src.py --mirror) ||
  { echo "apt knows no Debian archive to take the packages from" >&2; exit 1; }
rm -rf --one-file-system "$folder"
mkdir -p "$cache"
log=$(mktemp)
if ! debootstrap --variant=minbase ${packages:+--include="$packages"} "$suite" "$folder" "$mirror" \
  >"$log" 2>&1; then
  tail -n 5 "$log" >&2
  echo "debootstrap $suite from $mirror failed" >&2
  rm -rf --one-file-system "$folder" "$log"
  exit 1
fi
rm -f "$log"
# Nothing of the packages' downloads is needed again.
rm -rf "$folder"/var/cache/apt/archives/*.deb
touch "$folder/.complete"
echo "$folder"
