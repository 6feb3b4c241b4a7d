#!/usr/bin/env bash
# Builds the Windows program on this Debian machine: build/windows/Quorvex.exe (one static executable
# with its icon, manifest and version information) and build/windows/Quorvex-<version>-windows.zip, the
# executable with a short read-me, ready to hand to a Windows player. Installs what is missing first.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
out="$root/build/windows"
cmake -S "$root" -B "$out" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DQUORVEX_BENCH=OFF >/dev/null
cmake --build "$out" -j "$(nproc)" --target quorvex_windows_zip
echo "built $out/Quorvex.exe and $(ls "$out"/Quorvex-*-windows.zip)"
