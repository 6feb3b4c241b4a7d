#!/usr/bin/env bash
# Makes the Debian package build/package/quorvex_<version>_<arch>.deb: the program where Debian puts
# games, its menu entry, icons, AppStream metadata and manual page. Installs what is missing first.
#   Install it:  sudo apt install ./build/package/quorvex_*.deb
#   Remove it:   sudo apt remove quorvex
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
out="$root/build/package"
cmake -S "$root" -B "$out" -DCMAKE_BUILD_TYPE=Release -DQUORVEX_GAMES_DIR=games -DQUORVEX_DEBIAN_PACKAGE=ON \
  -DQUORVEX_TESTS=OFF -DQUORVEX_BENCH=OFF -DQUORVEX_TOOLS=OFF >/dev/null
cmake --build "$out" -j "$(nproc)"
(cd "$out" && rm -f quorvex_*.deb && cpack -G DEB >/dev/null)
echo "built $(ls "$out"/quorvex_*.deb)"
