#!/usr/bin/env bash
# Without a display the program says so in one line on standard error and exits with status 1; a
# display that does not answer is named.
#   no_display.sh <quorvex>
set -uo pipefail
exe="$1"
check() {  # <what the line must match> <environment...>
  local pattern="$1"; shift
  local out status
  out="$(env -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER "$@" "$exe" 2>&1 >/dev/null)"
  status=$?
  echo "$out"
  [ "$status" -eq 1 ] || { echo "FAIL: status $status, not 1"; exit 1; }
  [ "$(printf '%s\n' "$out" | wc -l)" -eq 1 ] || { echo "FAIL: not one line"; exit 1; }
  [[ "$out" == $pattern ]] || { echo "FAIL: the line does not match $pattern"; exit 1; }
}
check 'quorvex:*' -u DISPLAY
check '*:987*' DISPLAY=:987
