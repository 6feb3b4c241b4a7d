#!/usr/bin/env bash
# Full screen, on a 1280 x 1024 screen, where the 600 x 500 image fits twice as large: started with
# --fullscreen, the title window covers the screen and shows its image with each pixel a 2 x 2 square,
# centred (at 40, 12) on black. F11 and Alt+Enter switch it to its 600 x 500 window, centred, and back;
# back in the window it is where it was. A full-screen request of the window manager does the same: a
# click on Continue at its place on the enlarged image opens the game window, in full screen too; F11
# brings it to its window, and the window manager's request puts it in full screen and takes it out.
# Back in full screen by F11, the game's question after the last life shows above it.
# With E2E_PLATFORM=windows (the Windows build under Wine, which tells a program nothing of the window
# manager's full screen), F11 stands in for the window manager's request.
#
#   full_screen.sh QUORVEX
source "$(dirname "$0")/../lib.sh"
SCREEN_W=1280 SCREEN_H=1024
FULL_SCALE=2 FULL_LEFT=40 FULL_TOP=12
E2E_ARGS="--fullscreen"

geometry() { x xwininfo -id "$1" | awk '/Absolute upper-left X/ {l=$4} /Absolute upper-left Y/ {t=$4}
  /Width:/ {w=$2} /Height:/ {h=$2} END {print l, t, w, h}'; }

# in_full_screen WINDOW: it covers the screen, and shows the image at the scale that fits, centred, each
# pixel a square of one colour, black all round. $shot is then the image at its own size.
in_full_screen() {
  [ "$(geometry "$1")" = "0 0 $SCREEN_W $SCREEN_H" ] || return 1
  x import -window root "$work/screen.png" 2>/dev/null || return 1
  local wide=$(( 600 * FULL_SCALE )) high=$(( 500 * FULL_SCALE )) border differ
  border="$(convert "$work/screen.png" -fill black \
    -draw "rectangle $FULL_LEFT,$FULL_TOP $(( FULL_LEFT + wide - 1 )),$(( FULL_TOP + high - 1 ))" -format '%[max]' info:)"
  [ "$border" = 0 ] || return 1
  convert "$work/screen.png" -crop "${wide}x${high}+$FULL_LEFT+$FULL_TOP" +repage "$work/image.png"
  convert "$work/image.png" -sample "$(( 100 / FULL_SCALE ))%" "$shot"
  convert "$shot" -sample "$(( 100 * FULL_SCALE ))%" "$work/redone.png"
  differ="$(compare -metric AE "$work/image.png" "$work/redone.png" null: 2>&1 || true)"
  [ "$differ" = 0 ]
}
# in_window WINDOW [LEFT TOP]: its 600 x 500 client area, at that place.
in_window() {
  local l t w h
  read -r l t w h <<<"$(geometry "$1")"
  [ "$w $h" = "600 500" ] && { [ -z "${2:-}" ] || [ "$l $t" = "$2 $3" ]; }
}
# key_in WINDOW KEY: the key, once the window has the focus (a window that has just changed mode may get it
# back a moment later, and a key pressed before then goes elsewhere).
has_focus() { [ "$(active_window)" = "$1" ]; }
key_in() {
  wait_for 5 has_focus "$1" || note "window $1 has not the focus for $2"
  x xdotool key "$2"
}
button_at_rest_full() { in_full_screen "$title" && [ "$(bbox "#ffff00")" = "258 449 343 462" ]; }

open_title "${1:?usage: full_screen.sh QUORVEX}"
wait_for 60 button_at_rest_full || fail "the title window is not in full screen with the button at rest: $(geometry "$title")"

key_in "$title" F11
wait_for 10 in_window "$title" || fail "F11 left the title window at $(geometry "$title")"
check_centred "$title"
read -r left top _ <<<"$(geometry "$title")"
key_in "$title" alt+Return
wait_for 10 in_full_screen "$title" || fail "Alt+Enter did not bring the title window back to full screen"
key_in "$title" alt+Return
wait_for 10 in_window "$title" "$left" "$top" ||
  fail "Alt+Enter left the title window at $(geometry "$title"), not at $left, $top"

if [ "${E2E_PLATFORM:-linux}" = linux ]; then
  x wmctrl -i -r "$title" -b add,fullscreen || fail "wmctrl could not ask for full screen"
else
  key_in "$title" F11
fi
wait_for 10 button_at_rest_full || fail "the window manager's full screen shows the title window otherwise: $(geometry "$title")"
# Continue, at its place on the enlarged image.
x xdotool mousemove $(( FULL_LEFT + 300 * FULL_SCALE )) $(( FULL_TOP + 457 * FULL_SCALE )) click 1
wait_for 10 game_window_opened || fail "a click on Continue in full screen did not open the game window"
labels_full() { in_full_screen "$game" && [ "$(count "#00ff00" "225x97+188+184")" -ge 300 ]; }
wait_for 10 labels_full || fail "the game window is not in full screen with its labels: $(geometry "$game")"

key_in "$game" F11
wait_for 10 in_window "$game" || fail "F11 left the game window at $(geometry "$game")"
check_centred "$game"
read -r left top _ <<<"$(geometry "$game")"
if [ "${E2E_PLATFORM:-linux}" = windows ]; then
  close_window "$game"
  wait_for_clean_exit
  echo "PASS: full_screen"
  exit 0
fi
x wmctrl -i -r "$game" -b add,fullscreen
wait_for 10 in_full_screen "$game" || fail "the window manager's full screen shows the game window otherwise"
x wmctrl -i -r "$game" -b remove,fullscreen
wait_for 10 in_window "$game" "$left" "$top" ||
  fail "out of the window manager's full screen, the game window is at $(geometry "$game"), not at $left, $top"

# Left alone in full screen, the ship loses its lives: the question shows above the game, all of it
# seen on the screen, and answers its keys.
key_in "$game" F11
wait_for 10 in_full_screen "$game" || fail "F11 did not bring the game window back to full screen"
wait_for 90 has_dialog || fail "no question after the last life"
dialog="$(dialog_window)"
question_seen() {
  x import -window "$dialog" "$work/dialog.png" 2>/dev/null && x import -window root "$work/screen.png" 2>/dev/null ||
    return 1
  local l t w h differ
  read -r l t w h <<<"$(geometry "$dialog")"
  convert "$work/screen.png" -crop "${w}x${h}+$l+$t" +repage "$work/seen.png"
  differ="$(compare -metric AE "$work/dialog.png" "$work/seen.png" null: 2>&1 || true)"
  [ "$differ" = 0 ]
}
wait_for 10 question_seen || fail "the question is not seen above the full-screen game window"
note "question seen above the game"
x xdotool key n
wait_for_clean_exit
echo "PASS: full_screen"
