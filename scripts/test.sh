#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite twice: in an optimised build, and
# under AddressSanitizer + UndefinedBehaviorSanitizer; then cross-builds the Windows program with
# mingw-w64 and runs its tests under Wine (the runtime's and the game's, which need no SDL, the Win32
# back-end's, and the real-window scenarios against Quorvex.exe); last, makes the Debian package and
# checks it. Exits non-zero on any failure.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
jobs="$(nproc)"

run_suite() {
  local dir="$1"; shift
  cmake -S "$root" -B "$dir" "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
  ctest --test-dir "$dir" --output-on-failure -j "$jobs"
}

echo "== tests (optimised build)"
run_suite "$root/build/test" -DCMAKE_BUILD_TYPE=RelWithDebInfo
echo "== tests (AddressSanitizer + UndefinedBehaviorSanitizer)"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  run_suite "$root/build/asan" -DCMAKE_BUILD_TYPE=Debug -DQUORVEX_SANITIZE=ON -DQUORVEX_BENCH=OFF
echo "== tests of the Windows build under Wine: the runtime and the game (without SDL), the Win32 back-end, Quorvex.exe"
# One Wine prefix for the whole run, made afresh: Wine's first start in it is the slow one.
export WINEPREFIX="$root/build/windows/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
rm -rf "$WINEPREFIX"
mkdir -p "$(dirname "$WINEPREFIX")"
env -u DISPLAY wineboot -i >/dev/null 2>&1 || true
wineserver -w
[ -f "$WINEPREFIX/system.reg" ] || { echo "could not make the Wine prefix $WINEPREFIX"; exit 1; }
run_suite "$root/build/windows" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DQUORVEX_BENCH=OFF
echo "== the Debian package"
"$root/scripts/package.sh"
"$root/tests/package/check_package.sh" "$root"/build/package/quorvex_*.deb
echo "== all tests passed"
