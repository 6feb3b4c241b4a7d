#!/usr/bin/env bash
# Builds the Windows program on this Debian machine: build/windows/Quorvex.exe (one static executable
# with its icon, manifest and version information) and build/windows/Quorvex-<version>-windows.zip, the
# executable with a short read-me, ready to hand to a Windows player. Installs what is missing first.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
"$root/scripts/install-deps.sh"
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$(nproc)" --target quorvex_windows_zip
echo "built build/windows/Quorvex.exe and $(ls build/windows/Quorvex-*-windows.zip)"
