#!/usr/bin/env bash
# Measures the Windows build under Wine on a private X server with a window manager:
#   - the back-end's present time, frame spacing and loop passes (quorvex_bench_win32.exe);
#   - start to first window: from launching Quorvex.exe to its title window being on screen, with the
#     Wine prefix and its server already up (polled with xdotool: each reading includes some polling).
# Nothing is asserted: the figures are printed for a person to read.
#
#   bench/measure_win32.sh BUILD_DIR [RUNS]     (BUILD_DIR: the Windows build, e.g. build/windows)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:?usage: measure_win32.sh BUILD_DIR [RUNS]}"
runs="${2:-5}"
export WINEPREFIX="${WINEPREFIX:-$build/wineprefix}" WINEDEBUG=-all
bench="$build/bench/quorvex_bench_win32.exe"
[ -f "$bench" ] || { echo "missing $bench (build the Windows build with -DQUORVEX_BENCH=ON)"; exit 1; }
# Run on the private display; the steps are a script of their own, given the paths through the environment.
export bench build runs
bash "$root/tests/windows/with-display.sh" bash -c '
  wineserver -p  # the server stays up between runs, as on a desktop where Wine already runs
  wine "$bench"
  for (( i = 1; i <= runs; i++ )); do
    started=$(( $(date +%s%N) / 1000000 ))
    wine "$build/Quorvex.exe" &
    until xdotool search --onlyvisible --name "^Quorvex - By Delmoro\$" >/dev/null 2>&1; do sleep 0.005; done
    echo "start to first window: $(( $(date +%s%N) / 1000000 - started )) ms"
    kill $! 2>/dev/null || true
    wait 2>/dev/null || true
  done
  wineserver -k'
