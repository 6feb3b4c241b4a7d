#!/usr/bin/env bash
# Installs what is missing, builds the game and starts it with the arguments given:
#   ./scripts/play.sh              ./scripts/play.sh --scale 2
# It builds in build/play, so that the build by hand in build/release (tests and benchmarks
# included) stays as it is.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
build="$root/build/play"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DQUORVEX_TESTS=OFF -DQUORVEX_BENCH=OFF \
  -DQUORVEX_TOOLS=OFF >/dev/null
cmake --build "$build" --target quorvex -j "$(nproc)"
exec "$build/quorvex" "$@"
