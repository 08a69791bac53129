#!/usr/bin/env bash
# Installs what building and testing need on Debian 12, when it is missing. As root it runs
# apt-get itself; otherwise it prints the exact command and stops.
# Usage: scripts/setup.sh [extra-package ...]

set -euo pipefail

packages=(cmake g++ make qt6-base-dev libxcb1-dev libgtest-dev python3 xvfb xdotool x11-utils fonts-dejavu-core fonts-liberation2 "$@")
missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

command="apt-get install -y --no-install-recommends ${missing[*]}"
if [ "$(id -u)" -ne 0 ]; then
  echo "Missing packages. Install them with:" >&2
  echo "  sudo apt-get update && sudo $command" >&2
  exit 1
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
$command
