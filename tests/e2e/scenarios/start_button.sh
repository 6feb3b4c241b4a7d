#!/usr/bin/env bash
# The start button and the way into the game: pressed, the button shows its pressed look (a yellow face
# with white lettering) for as long as the mouse button is held; released, the title window closes and
# the game window opens, centred, 600 x 500, with "Get Ready" and "Level 1" in lime on black. Run with
# E2E_SCALE=2, the same at twice the size, every pixel doubled, the button answering at its place; with
# E2E_DESKTOP_SCALE=xft or gdk, the same again without --scale, the desktop asking for it; with
# E2E_SMALL_SCREEN=yes besides, on a screen too small for twice the size, at the size that fits. With
# E2E_FOCUS_NEW=no, under a window manager that focuses no new window, the title window is not made the
# active one at start, the game window opened by the click is, and the arrow keys steer its ship. Then the
# Linux program loses its display (the X server ends): it says so in one line and ends with status 1;
# the Windows build's game window is closed with its close box instead, which ends it cleanly.
#
#   start_button.sh QUORVEX
source "$(dirname "$0")/../lib.sh"
source "$(dirname "$0")/../game.sh"

open_title "${1:?usage: start_button.sh QUORVEX}"
# With E2E_START_KEY=Return or space, that key presses and releases the button instead of the mouse; the
# same key pressed and released while the intro plays does nothing (the intro goes on to its end).
press_start() { press_at "$title" 300 457 3; }  # any mouse button works; this is the right one
release_start() { release_mouse 3; }
if [ -n "${E2E_START_KEY:-}" ]; then
  x xdotool windowactivate --sync "$title" >/dev/null 2>&1 || x xdotool windowfocus --sync "$title"
  x xdotool key "$E2E_START_KEY"
  press_start() { x xdotool keydown "$E2E_START_KEY"; }
  release_start() { x xdotool keyup "$E2E_START_KEY"; }
fi
check_fixed_client_area "$title"  # at the scale asked for, by the option or by the desktop
if [ "${E2E_SMALL_SCREEN:-}" = yes ]; then
  # A scale that does not fit the screen is reduced: the whole window, its frame included, is on the
  # screen; an explicit --scale says so in one line, the desktop's own scale without a word.
  frame="$(x xwininfo -frame -id "$title")"
  left="$(awk '/Absolute upper-left X:/ {print $4}' <<<"$frame")" top="$(awk '/Absolute upper-left Y:/ {print $4}' <<<"$frame")"
  width="$(awk '/Width:/ {print $2}' <<<"$frame")" height="$(awk '/Height:/ {print $2}' <<<"$frame")"
  (( left >= 0 && top >= 0 && left + width <= SCREEN_W && top + height <= SCREEN_H )) ||
    fail "the title window is not all on the ${SCREEN_W} x ${SCREEN_H} screen: ${width} x ${height} at ${left}, ${top}"
  said="$(grep -c 'does not fit the screen' "$work/quorvex.err" || true)"
  if [ -z "$DESKTOP_SCALE" ]; then
    [ "$said" -eq 1 ] || fail "the reduced --scale was said $said times: $(cat "$work/quorvex.err")"
  else
    [ "$said" -eq 0 ] || fail "the desktop's own scale was reduced with a word: $(cat "$work/quorvex.err")"
  fi
fi
wait_for 60 button_at_rest || fail "the start button never came to rest at 250, 440"
if [ "${E2E_FOCUS_NEW:-yes}" = no ]; then
  # Shown at start, on its own, the title window is left to the window manager, which does not focus it.
  [ "$(active_window)" != "$title" ] || fail "the title window took the focus the window manager did not give it"
fi

button="100x35+250+440"
pressed_look() {
  snap "$title" || return 1
  local yellow white
  { read -r yellow; read -r white; } < <(measure "count:#ffff00@$button" "count:#ffffff@$button")
  [ "$yellow" -ge 2800 ] && [ "$white" -ge 300 ]
}
press_start
wait_for 10 pressed_look || fail "the pressed button does not look pressed"
sleep 0.3
pressed_look || fail "the pressed look went before the release"
[ "$(bbox "#ffffff")" = "258 449 343 462" ] || fail "the pressed lettering is at $(bbox "#ffffff"), not 258 449 343 462"
if [ "$SCALE" -gt 1 ]; then
  # Shown larger, the window is 600 x 500 times the scale, and every pixel of its frame is a square of
  # one colour: the frame at its own size, each pixel repeated.
  x import -window "$title" "$work/raw.png" || fail "no screenshot of the title window"
  size="$(identify -format %wx%h "$work/raw.png")"
  [ "$size" = "$(( 600 * SCALE ))x$(( 500 * SCALE ))" ] || fail "the window at scale $SCALE is $size"
  convert "$work/raw.png" -sample "$(( 100 / SCALE ))%" -sample "$(( 100 * SCALE ))%" "$work/redone.png"
  differ="$(compare -metric AE "$work/raw.png" "$work/redone.png" null: 2>&1 || true)"
  [ "$differ" = 0 ] || fail "$differ pixels of the frame at scale $SCALE are not their own pixel repeated"
fi

release_start
opened="$(now_ms)"
wait_for 10 game_window_opened || fail "releasing the start button did not open the game window"
x xwininfo -id "$title" >/dev/null 2>&1 && fail "the title window is still there"

# The first second of the game window is the "Get Ready" pause: labels only, no ship yet. Closed
# straight after one look at it.
snap "$game" || fail "no screenshot of the game window"
{ read -r ready; read -r level; read -r lime; read -r others; } < <(measure \
  "bbox:#00ff00@225x37+188+184" "bbox:#00ff00@225x37+188+244" "count:#00ff00" "count:#ff0000,#ffff00,#0000ff,#ff00ff")
looked="$(now_ms)"
note "looked at the game window $(( looked - opened )) ms after the release"
[ "$others" -eq 0 ] || fail "the game window shows more than the labels ($others coloured pixels): play began too early?"
[ "$ready" != none ] && [ "$level" != none ] || fail "no \"Get Ready\" and level labels (at $ready and $level)"
# Both texts are centred on the window's middle column (300; 112 in label coordinates); "Get Ready" is
# the wider one. No lime outside the two labels.
read -r rl _ rr _ <<<"$ready"
read -r ll _ lr _ <<<"$level"
(( (rl + rr) / 2 >= 108 && (rl + rr) / 2 <= 116 && (ll + lr) / 2 >= 108 && (ll + lr) / 2 <= 116 )) ||
  fail "the labels are not centred: $ready and $level"
(( rr - rl > lr - ll )) || fail "the first label is not the wider \"Get Ready\": $ready against $level"
[ "$(count "#00ff00" "225x97+188+184")" -eq "$lime" ] || fail "lime outside the labels"

if [ "${E2E_FOCUS_NEW:-yes}" = no ]; then
  # Shown in answer to the player's click, the game window is the active one even where the window
  # manager does not focus new windows: keys sent to no window in particular steer the ship.
  game_active() { [ "$(active_window)" = "$game" ]; }
  wait_for 3 game_active || fail "the game window is not the active one (the active one: $(active_window))"
  # Steered at once, before a bomb can come down (a third of a second); hit all the same, again.
  for attempt in 1 2 3; do
    wait_for 3 in_play || fail "play never started"
    from="$(left_of "$ship")"
    hold Right 0.15
    look || fail "no screenshot of the game window"
    [ "$ship" = none ] && continue
    (( $(left_of "$ship") >= from + 30 )) || fail "Right, sent to the active window, left the ship at $ship"
    steered=yes
    break
  done
  [ "${steered:-}" = yes ] || fail "a bomb hit the ship at each try to steer it"
fi

if [ "${E2E_PLATFORM:-linux}" = linux ]; then
  # The display goes away under the program (its server ends): one line says so, status 1, at once,
  # and nothing else is reported (under the sanitizers: no leak report, no abort).
  kill "$xvfb_pid"
  wait "$xvfb_pid" 2>/dev/null || true
  xvfb_pid=""
  wait_for 10 test -s "$work/status" || fail "the program still runs 10 s after its display went away"
  [ "$(cat "$work/status")" -eq 1 ] || fail "the program ended with status $(cat "$work/status") when its display went away"
  [ "$(grep -v -c 'does not fit the screen' "$work/quorvex.err")" -eq 1 ] &&
    grep -q "connection to the display was lost" "$work/quorvex.err" ||
    fail "the program said more or else than one line: $(cat "$work/quorvex.err")"
  echo "PASS: start_button"
  exit 0
fi
close_window "$game"
wait_for_clean_exit
echo "PASS: start_button"
