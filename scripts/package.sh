#!/usr/bin/env bash
# Makes the Debian package build/package/quorvex_<version>_<arch>.deb: the program where Debian puts
# games, its menu entry, icons, AppStream metadata and manual page. Installs what is missing first.
# The program is built with Debian's hardening flags (stack protector, fortified libc calls, PIE,
# read-only relocations bound at start-up), as dpkg-buildflags gives them.
#   Install it:  sudo apt install ./build/package/quorvex_*.deb
#   Remove it:   sudo apt remove quorvex
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"  # dpkg-buildflags maps the current folder out of the debug paths
"$root/scripts/install-deps.sh"
out="$root/build/package"
flag() { DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get "$1"; }
# CMake has no preprocessor flags of its own: CPPFLAGS (-D_FORTIFY_SOURCE) go with the compiler's.
cxxflags="$(flag CPPFLAGS) $(flag CXXFLAGS)"
cmake --preset package -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$(flag LDFLAGS)" >/dev/null
cmake --build --preset package -j "$(nproc)"
(cd "$out" && rm -f quorvex_*.deb && cpack -G DEB >/dev/null)
echo "built $(ls "$out"/quorvex_*.deb)"
