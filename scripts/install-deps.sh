#!/usr/bin/env bash
# Installs what building, running and testing need, from Debian's packages (and the browser tests'
# driver from npm). Only what is missing is installed; uses sudo when not run as root.
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
  emscripten nodejs npm chromium
)

missing=()
for p in "${packages[@]}"; do
  # A command the machine already has from elsewhere (node and npm may come with the machine) will do.
  case "$p" in nodejs | npm) command -v "${p/nodejs/node}" >/dev/null && continue ;; esac
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The browser tests' driver, from npm at the version tests/web/package.json names; it drives the system's
# Chromium and never downloads a browser of its own.
web_tests="$(cd "$(dirname "$0")/.." && pwd)/tests/web"
wanted="$(sed -n 's/.*"playwright-core": "\(.*\)".*/\1/p' "$web_tests/package.json")"
if ! grep -qs "\"version\": \"$wanted\"" "$web_tests/node_modules/playwright-core/package.json"; then
  (cd "$web_tests" && PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 npm ci --no-audit --no-fund --silent)
fi
