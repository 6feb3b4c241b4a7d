#!/usr/bin/env bash
# Fails, naming each file, when a C++ file of the tree differs from what clang-format makes of it
# (.clang-format describes the layout). Fix with: clang-format -i <file>
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
# The layout depends on the formatter's version: Debian 12's is the one the tree is formatted with.
format="$(command -v clang-format-14 || command -v clang-format)"
mapfile -t files < <(git ls-files '*.cpp' '*.h' 2>/dev/null || find src tests bench tools -name '*.cpp' -o -name '*.h')
bad=()
for f in "${files[@]}"; do
  [ -f "$f" ] || continue
  "$format" --style=file "$f" | cmp -s - "$f" || bad+=("$f")
done
if [ ${#bad[@]} -gt 0 ]; then
  printf 'not formatted as .clang-format says (clang-format -i fixes it):\n'
  printf '  %s\n' "${bad[@]}"
  exit 1
fi
echo "format: ${#files[@]} files as .clang-format says"
