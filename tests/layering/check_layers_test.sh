#!/usr/bin/env bash
# The layering check must pass allowed includes and fail forbidden ones, naming each: a game file that
# includes a back-end header, a runtime file that includes a platform header.
#   check_layers_test.sh <cmake/check_layers.cmake>
set -euo pipefail
script="$1"
tree="$(mktemp -d)"
trap 'rm -rf "$tree"' EXIT
mkdir -p "$tree/src/game" "$tree/src/runtime"
printf '#include "runtime/form.h"\n#include "startup/modAPI.h"\n#include <vector>\n' >"$tree/src/game/a.cpp"
printf '#include <cstdint>\n' >"$tree/src/runtime/b.cpp"
cmake -DROOT="$tree" -P "$script"

printf '#include "backend/sdl/sdl_backend.h"\n' >>"$tree/src/game/a.cpp"
printf '#include <SDL.h>\n' >>"$tree/src/runtime/b.cpp"
if out="$(cmake -DROOT="$tree" -P "$script" 2>&1)"; then
  echo "forbidden includes passed the check"
  exit 1
fi
echo "$out"
grep -q 'src/game/a.cpp: "backend/sdl/sdl_backend.h" is outside this layer' <<<"$out"
grep -q 'src/runtime/b.cpp: <SDL.h> is outside this layer' <<<"$out"
