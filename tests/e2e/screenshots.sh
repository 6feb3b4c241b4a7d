#!/usr/bin/env bash
# Takes the README's pictures of the real program, with the end-to-end tests' tooling: the title window
# once its introduction is over (docs/title.png) and the game window in play (docs/play.png), each with
# its window frame.
#
#   screenshots.sh QUORVEX [OUTPUT_DIRECTORY]
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/game.sh"

exe="${1:?usage: screenshots.sh QUORVEX [OUTPUT_DIRECTORY]}"
out="${2:-$(cd "$(dirname "$0")/../.." && pwd)/docs}"
mkdir -p "$out"

# save_framed WINDOW FILE: the window with the frame the window manager draws around it.
save_framed() {
  local left top extents border_left border_right border_top border_bottom
  read -r left top <<<"$(client_origin "$1")"
  extents="$(x xprop -id "$1" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')"
  read -r border_left border_right border_top border_bottom <<<"$extents"
  x import -window root -crop "$(( 600 + border_left + border_right ))x$(( 500 + border_top + border_bottom ))+$(( left - border_left ))+$(( top - border_top ))" \
    +repage "$2" || fail "could not save $2"
}

open_title "$exe"
wait_for 60 button_at_rest || fail "the start button never came to rest"
save_framed "$title" "$out/title.png"
echo "wrote $out/title.png"

press_at "$title" 300 457
release_mouse
wait_for 10 game_window_opened || fail "the game window did not open"
# A caption with the pass rate of a second of play.
caption_counts() { read_caption && [ "$caption_rate" -gt 0 ]; }
wait_for 10 caption_counts || fail "the caption never showed a pass rate"
# In play, with a missile on its way up, a bomb coming down and all five lives.
in_flight() {
  in_play && [ "$lives" -eq 5 ] || return 1
  x xdotool key space
  look && [ "$missile" != none ] && [ "$bomb" != none ] && [ "$lives" -eq 5 ] || return 1
  save_framed "$game" "$out/play.png"
}
wait_for 60 in_flight || fail "no moment with a missile and a bomb in flight"
echo "wrote $out/play.png"

close_window "$game"
wait_for_clean_exit
