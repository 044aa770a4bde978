#!/usr/bin/env bash
# Installs what building, testing and running the launcher need on Debian 12,
# skipping the packages that are already there. The launcher itself needs
# xdg-utils at run time: it opens a game file that is no program with xdg-open.
set -euo pipefail
packages=(build-essential cmake qt6-base-dev libgtest-dev libgmock-dev googletest
  xvfb xdotool x11-utils imagemagick libgl-dev libx11-dev xdg-utils)
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
    missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo apt-get update
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
