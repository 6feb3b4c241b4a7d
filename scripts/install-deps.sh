#!/usr/bin/env bash
# Installs what building, running and testing need, from Debian's packages. Only missing packages
# are installed; uses sudo when not run as root.
set -euo pipefail

packages=(
  build-essential cmake pkg-config clang-format-14
  libsdl2-dev libsdl2-ttf-dev libfontconfig-dev
  fonts-liberation
  libgtest-dev libgmock-dev libbenchmark-dev
  libx11-dev
  libfreetype-dev fonts-freefont-ttf zlib1g-dev
  g++-mingw-w64-x86-64 wine wine64 python3-pefile
  dpkg-dev lintian desktop-file-utils appstream file
  xvfb xdotool imagemagick openbox wmctrl x11-utils
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
