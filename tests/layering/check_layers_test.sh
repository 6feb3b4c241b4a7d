#!/usr/bin/env bash
# The layering check must pass allowed includes and fail forbidden ones, naming each: a game file that
# includes a back-end header, a runtime file that includes a platform header, a start-up file that
# reaches up to the game, a game file that reaches up to the program's assembly.
# And the build runs the check again when any checked file changes, benchmarks and tools included.
#   check_layers_test.sh <cmake/check_layers.cmake> <build directory>
set -euo pipefail
script="$1"
build="$2"
# The generated rule of the check, as Make or Ninja writes it, lists every file it depends on.
rules="$({ cat "$build/CMakeFiles/quorvex_layers.dir/build.make" "$build/build.ninja" 2>/dev/null || true; } | grep layers.checked || true)"
for watched in src/game/frmGame_loop.cpp tests/game/replay_test.cpp bench/frame_bench.cpp tools/spritegen/main.cpp; do
  grep -q "$watched" <<<"$rules" || { echo "the layer check does not run again when $watched changes"; exit 1; }
done
tree="$(mktemp -d)"
trap 'rm -rf "$tree"' EXIT
mkdir -p "$tree/src/game" "$tree/src/runtime" "$tree/src/startup" "$tree/src/app"
printf '#include "runtime/form.h"\n#include "startup/modAPI.h"\n#include "title/frmMain.h"\n#include <vector>\n' \
  >"$tree/src/game/a.cpp"
printf '#include <cstdint>\n' >"$tree/src/runtime/b.cpp"
printf '#include "startup/forms.h"\n#include "assets/assets.h"\n' >"$tree/src/startup/c.cpp"
printf '#include "game/frmGame.h"\n#include "version.h"\n' >"$tree/src/app/d.cpp"
cmake -DROOT="$tree" -P "$script"

printf '#include "backend/sdl/sdl_backend.h"\n' >>"$tree/src/game/a.cpp"
printf '#include <SDL.h>\n' >>"$tree/src/runtime/b.cpp"
printf '#include "game/frmGame.h"\n' >>"$tree/src/startup/c.cpp"
printf '#include "app/program.h"\n' >>"$tree/src/game/a.cpp"
printf '#include "backend/win32/win32_backend.h"\n' >>"$tree/src/app/d.cpp"
if out="$(cmake -DROOT="$tree" -P "$script" 2>&1)"; then
  echo "forbidden includes passed the check"
  exit 1
fi
echo "$out"
grep -q 'src/game/a.cpp: "backend/sdl/sdl_backend.h" is outside this layer' <<<"$out"
grep -q 'src/runtime/b.cpp: <SDL.h> is outside this layer' <<<"$out"
grep -q 'src/startup/c.cpp: "game/frmGame.h" is outside this layer' <<<"$out"
grep -q 'src/game/a.cpp: "app/program.h" is outside this layer' <<<"$out"
grep -q 'src/app/d.cpp: "backend/win32/win32_backend.h" is outside this layer' <<<"$out"
