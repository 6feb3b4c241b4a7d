#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite: the format check; the suite in an
# optimised build and again under AddressSanitizer + UndefinedBehaviorSanitizer (the real-window tests
# under their own Xvfb included); the Windows program cross-built with mingw-w64 and its tests under
# Wine; the browser edition compiled to WebAssembly, its tests under node and its page in headless
# Chromium; last, the Debian package made and checked. Exits non-zero on any failure.
#
#   ./scripts/test.sh            every stage, in that order
#   ./scripts/test.sh STAGE...   only those: format, fast, suite, asan, windows, web, package
#
# `fast` is the tier to run after every change: the runtime, the game and the recorded journey,
# headless, and the layer check; seconds once built.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
stages=("$@")
[ ${#stages[@]} -gt 0 ] || stages=(format suite asan windows web package)
for stage in "${stages[@]}"; do
  case "$stage" in format | fast | suite | asan | windows | web | package) ;;
    *) echo "unknown stage '$stage' (format, fast, suite, asan, windows, web, package)" >&2; exit 2 ;;
  esac
done
"$root/scripts/install-deps.sh"
jobs="$(nproc)"

# Configure, build and test one preset of CMakePresets.json; extra arguments go to ctest.
run_preset() {
  local preset="$1"; shift
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
  ctest --preset "$preset" -j "$jobs" "$@"
}

make_wine_prefix() {
  # One Wine prefix for the whole run, made afresh: Wine's first start in it is the slow one.
  export WINEPREFIX="$root/build/windows/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  # A Wine server left running in the old prefix by an interrupted run would serve the new one's programs.
  [ -d "$WINEPREFIX" ] && { wineserver -k >/dev/null 2>&1 || true; }
  rm -rf "$WINEPREFIX"
  mkdir -p "$(dirname "$WINEPREFIX")"
  env -u DISPLAY wineboot -i >/dev/null 2>&1 || true
  wineserver -w
  [ -f "$WINEPREFIX/system.reg" ] || { echo "could not make the Wine prefix $WINEPREFIX"; exit 1; }
}

for stage in "${stages[@]}"; do
  case "$stage" in
    format)
      echo "== the format of the C++ files"
      "$root/scripts/check-format.sh" ;;
    fast)
      echo "== the fast tier (headless unit and replay tests, layer check)"
      run_preset test -L fast ;;
    suite)
      echo "== tests (optimised build)"
      run_preset test ;;
    asan)
      echo "== tests (AddressSanitizer + UndefinedBehaviorSanitizer)"
      ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 run_preset asan ;;
    windows)
      echo "== tests of the Windows build under Wine: the runtime, the game and the app (without SDL), the Win32 back-end, Quorvex.exe"
      make_wine_prefix
      run_preset windows ;;
    web)
      echo "== the browser edition: the runtime and game tests compiled to WebAssembly under node, the page in headless Chromium"
      run_preset web ;;
    package)
      echo "== the Debian package"
      "$root/scripts/package.sh"
      "$root/tests/package/check_package.sh" "$root"/build/package/quorvex_*.deb ;;
  esac
done
echo "== passed: ${stages[*]}"
