#!/usr/bin/env bash
# Runs the real program on a private X server with a window manager, as a player would see it.
#
#   run_window_test.sh QUORVEX SCENARIO
#
# close-title: the title window appears, centred, with a fixed 600 x 500 client area; the banner and
#   the welcome text show; closing it through the window manager (as its close box does) ends the
#   program, which leaves no process and no window behind.
# start-game: after the introduction a click on the start button replaces the title window with the
#   game window, which shows "Get Ready" and then play; closing it in the middle of play ends the
#   program in the same clean way.
#
# Waits are polls with deadlines; nothing passes or fails on a fixed sleep. Exit status 77 (skipped)
# when the X tools are not installed.
set -euo pipefail

exe="${1:?usage: run_window_test.sh QUORVEX SCENARIO}"
scenario="${2:?usage: run_window_test.sh QUORVEX SCENARIO}"
caption="Quorvex - By Delmoro"

for tool in Xvfb openbox xdotool xwininfo xprop wmctrl import convert; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done

work="$(mktemp -d)"
xvfb_pid="" openbox_pid="" quorvex_pid="" runner_pid=""
leftovers=()

cleanup() {
  # Only what this script started, by id.
  for pid in "${leftovers[@]}" "$quorvex_pid" "$runner_pid" "$openbox_pid" "$xvfb_pid"; do
    [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  done
  for pid in "$runner_pid" "$openbox_pid" "$xvfb_pid"; do
    [ -n "$pid" ] && wait "$pid" 2>/dev/null || true
  done
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*"
  for log in quorvex.err openbox.log xvfb.log; do
    [ -s "$work/$log" ] && { echo "--- $log"; tail -n 20 "$work/$log"; }
  done
  exit 1
}

now_ms() { echo $(( $(date +%s%N) / 1000000 )); }

# wait_for SECONDS COMMAND...: runs COMMAND until it succeeds; fails after SECONDS.
wait_for() {
  local deadline=$(( $(now_ms) + $1 * 1000 ))
  shift
  until "$@"; do
    [ "$(now_ms)" -lt "$deadline" ] || return 1
    sleep 0.05
  done
}

# The private display: Xvfb picks a free number and writes it once it accepts clients.
Xvfb -displayfd 3 -nolisten tcp -screen 0 1024x768x24 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
wait_for 15 test -s "$work/display" || fail "Xvfb did not start"
display=":$(head -n 1 "$work/display")"
# DISPLAY is given to each X command rather than exported, so that this shell and its helpers are not
# counted among the processes on the display at the end.
x() { DISPLAY="$display" "$@"; }

DISPLAY="$display" openbox --sm-disable >"$work/openbox.log" 2>&1 &
openbox_pid=$!
wait_for 15 x wmctrl -m >/dev/null 2>&1 || fail "the window manager did not start"

# The program, its exit status written when it ends.
(
  DISPLAY="$display" "$exe" >"$work/quorvex.out" 2>"$work/quorvex.err" &
  echo $! >"$work/quorvex.pid"
  status=0
  wait $! || status=$?
  echo "$status" >"$work/status"
) &
runner_pid=$!
wait_for 5 test -s "$work/quorvex.pid" || fail "the program did not start"
quorvex_pid="$(cat "$work/quorvex.pid")"

visible_window() { x xdotool search --onlyvisible --pid "$quorvex_pid" 2>/dev/null | head -n 1; }
window_named() { x xdotool search --onlyvisible --name "^${caption}\$" 2>/dev/null | head -n 1; }
has_window_named() { [ -n "$(window_named)" ]; }

# count_colour WINDOW HEX [CROP]: how many pixels of the window's client area have about that colour.
count_colour() {
  local shot="$work/shot.png"
  x import -window "$1" "$shot" 2>/dev/null || { echo 0; return; }
  local crop=()
  [ -n "${3:-}" ] && crop=(-crop "$3" +repage)
  convert "$shot" "${crop[@]}" -alpha off -fuzz 25% -fill black +opaque "$2" -fill white -opaque "$2" \
    -format "%[fx:round(mean*w*h)]" info: 2>/dev/null || echo 0
}
shows_colour() { [ "$(count_colour "$1" "$2" "${4:-}")" -ge "$3" ]; }
shows_hardly_any() { [ "$(count_colour "$1" "$2" "${3:-}")" -lt 10 ]; }

check_fixed_client_area() {
  local id="$1" info hints
  info="$(x xwininfo -id "$id")"
  grep -q "Width: 600$" <<<"$info" && grep -q "Height: 500$" <<<"$info" ||
    fail "the client area is not 600 x 500: $(grep -E 'Width|Height' <<<"$info" | tr -s ' ' | tr '\n' ' ')"
  hints="$(x xprop -id "$id" WM_NORMAL_HINTS)"
  grep -q "minimum size: 600 by 500" <<<"$hints" && grep -q "maximum size: 600 by 500" <<<"$hints" ||
    fail "the window can be resized: $hints"
}

check_centred() {
  local info left top
  info="$(x xwininfo -id "$1")"
  left="$(awk '/Absolute upper-left X/ {print $4}' <<<"$info")"
  top="$(awk '/Absolute upper-left Y/ {print $4}' <<<"$info")"
  # The frame is centred on the 1024 x 768 screen; the client sits inside its border and title bar.
  [ "$left" -ge 212 ] && [ "$left" -le 216 ] || fail "the window is not centred: left $left"
  [ "$top" -ge 134 ] && [ "$top" -le 174 ] || fail "the window is not centred: top $top"
}

close_and_check_clean_exit() {
  local id="$1"
  x wmctrl -i -c "$id" || fail "the window manager could not close the window"
  wait_for 15 test -s "$work/status" || fail "the program is still running 15 s after its window was closed"
  local status
  status="$(cat "$work/status")"
  [ "$status" -eq 0 ] || fail "the program ended with status $status"
  wait "$runner_pid" 2>/dev/null || true
  runner_pid=""
  kill -0 "$quorvex_pid" 2>/dev/null && fail "process $quorvex_pid is still there"
  quorvex_pid=""
  # Nothing the program started may outlive it: no process on this display but the window manager.
  local f pid
  for f in /proc/[0-9]*/environ; do
    pid="${f#/proc/}"
    pid="${pid%/environ}"
    [ "$pid" = "$openbox_pid" ] && continue
    if grep -qz "^DISPLAY=${display}\$" "$f" 2>/dev/null; then
      leftovers+=("$pid")
    fi
  done
  [ "${#leftovers[@]}" -eq 0 ] || fail "processes left behind: $(ps -o pid=,cmd= -p "${leftovers[*]}" | tr '\n' ';')"
  [ -z "$(x xdotool search --name Quorvex 2>/dev/null)" ] || fail "a window of the program is still there"
}

started="$(now_ms)"
wait_for 20 has_window_named || fail "no window titled \"$caption\" appeared"
title="$(window_named)"
echo "title window $title after $(( $(now_ms) - started )) ms"
check_fixed_client_area "$title"
check_centred "$title"

case "$scenario" in
  close-title)
    # The banner (green) slides in, then the welcome text (red) is typed.
    wait_for 20 shows_colour "$title" "#00ff00" 2000 || fail "the title banner never showed"
    wait_for 20 shows_colour "$title" "#ff0000" 200 || fail "the welcome text never showed"
    close_and_check_clean_exit "$title"
    ;;
  start-game)
    # The start button, yellow lettering, comes to rest centred at the bottom; a click on it starts
    # the game. A click that lands before the button arrives does nothing, so click until it works.
    wait_for 30 shows_colour "$title" "#ffff00" 50 "100x35+250+440" || fail "the start button never showed"
    left="$(awk '/Absolute upper-left X/ {print $4}' <<<"$(x xwininfo -id "$title")")"
    top="$(awk '/Absolute upper-left Y/ {print $4}' <<<"$(x xwininfo -id "$title")")"
    other_window() { local id; id="$(visible_window)"; [ -n "$id" ] && [ "$id" != "$title" ]; }
    opened=false
    for _ in 1 2 3 4 5 6 7 8 9 10; do
      x xdotool mousemove $(( left + 300 )) $(( top + 457 )) click 1
      if wait_for 2 other_window; then opened=true; break; fi
    done
    $opened || fail "clicking the start button did not open the game window"
    game="$(visible_window)"
    check_fixed_client_area "$game"
    # "Get Ready" and the level in lime, then play: the labels go and the caption starts counting.
    # (Only the level label's place is watched for the end of the pause: no alien comes down that far.)
    wait_for 10 shows_colour "$game" "#00ff00" 300 "225x100+188+184" || fail "the game window never said Get Ready"
    wait_for 10 shows_hardly_any "$game" "#00ff00" "225x37+188+244" || fail "play never started"
    wait_for 10 test "$(x xdotool getwindowname "$game")" != "$caption" || fail "the caption never changed"
    echo "caption in play: $(x xdotool getwindowname "$game")"
    x xdotool key Right Left space
    close_and_check_clean_exit "$game"
    ;;
  *)
    fail "unknown scenario $scenario"
    ;;
esac
echo "PASS: $scenario"
