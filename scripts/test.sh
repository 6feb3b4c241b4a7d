#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite twice: in an optimised build, and
# under AddressSanitizer + UndefinedBehaviorSanitizer; then the runtime's and the game's tests once more
# in a build without SDL, which they must not need. Exits non-zero on any failure.
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
echo "== tests of the runtime and the game, built without SDL"
run_suite "$root/build/nosdl" -DCMAKE_BUILD_TYPE=Release -DQUORVEX_SDL=OFF -DQUORVEX_TOOLS=OFF -DQUORVEX_BENCH=OFF
echo "== all tests passed"
