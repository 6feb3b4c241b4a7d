#!/usr/bin/env bash
# Installs what is missing, builds the game and starts it with the arguments given:
#   ./scripts/play.sh              ./scripts/play.sh --scale 2
# It builds in build/play, so that the build by hand in build/release (tests and benchmarks
# included) stays as it is.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
build="$root/build/play"
cd "$root"
cmake --preset play >/dev/null
cmake --build --preset play -j "$(nproc)"
exec "$build/quorvex" "$@"
