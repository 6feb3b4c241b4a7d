#!/usr/bin/env bash
# Playing: the game window's frame and caption, the play field (ground line, ship, two rows of aliens,
# lives caption and five life icons), the ship held at both edges of the window, the ship stopping when
# another window takes the keyboard, play paused then and when minimised until P or Pause (the last frame
# dimmed, nothing moving, next to no processor time), a missile rising from the ship, an alien shot for
# 100 points, and the close box during play ending the program cleanly.
#
#   play.sh QUORVEX
source "$(dirname "$0")/../lib.sh"
source "$(dirname "$0")/../game.sh"

open_title "${1:?usage: play.sh QUORVEX}"
start_game
opened="$(now_ms)"
check_fixed_client_area "$game"
check_centred "$game"
check_frame "$game" close

# The caption takes the play format at the first tick of the caption timer, a second after the window
# opened: level 1, score 0, the pass rate.
wait_for 3 read_caption || fail "the caption never took the play format: \"$(caption_of "$game")\""
note "caption \"$(caption_of "$game")\" after $(( $(now_ms) - opened )) ms"
[ "$caption_level" -eq 1 ] && [ "$caption_score" -eq 0 ] || fail "a new game is not at level 1 with score 0"

wait_for 10 in_play || fail "play never started"
note "play after $(( $(now_ms) - opened )) ms"

# ---- the play field, at the start of play ----
{ read -r ground; read -r top_row; read -r bottom_row; read -r top_box; read -r bottom_box; read -r between
  read -r caption_box; read -r caption_pixels; } < <(measure \
  "count:#ff0000@600x1+0+450" \
  "count:#ff0000,#ffff00,#0000ff@600x50+0+50" "count:#ff0000,#ffff00,#0000ff@600x50+0+150" \
  "bbox:#ff0000,#ffff00,#0000ff@600x50+0+50" "bbox:#ff0000,#ffff00,#0000ff@600x50+0+150" \
  "count:#ff0000,#ffff00,#0000ff@600x50+0+100" \
  "bbox:#ff00ff" "count:#ff00ff@100x30+10+460")
[ "$ground" -eq 600 ] || fail "the ground line on row 450 has $ground red pixels, not 600"
[ "$ship" = "252 0 347 19" ] || fail "the ship is at \"$ship\" (rows from 430), not at 252..347 x 430..449"
# Five aliens per row, 50 px apart, spanning 450 px; the formation has moved a few px at most.
for row in "$top_row" "$bottom_row"; do
  [ "$row" -ge 5000 ] || fail "a row of aliens has only $row coloured pixels"
done
for box in "$top_box" "$bottom_box"; do
  read -r al at ar ab <<<"$box"
  (( ar - al >= 440 && ar - al <= 450 && al >= 60 && ar <= 540 && at <= 5 && ab >= 45 )) ||
    fail "a row of aliens spans \"$box\""
done
[ "$between" -eq 0 ] || fail "$between alien pixels between the two rows"
within "$caption_box" 10 460 109 489 || fail "the lives caption is at \"$caption_box\""
[ "$caption_pixels" -ge 300 ] || fail "the lives caption has only $caption_pixels magenta pixels"
[ "$lives" -eq 5 ] || fail "$lives life icons, not 5"
for k in 0 1 2 3 4; do
  { read -r icon; read -r gap; } < <(measure "count:#ffff00@5x20+$(( 140 + 10 * k ))+465" \
    "count:#ffff00@5x20+$(( 145 + 10 * k ))+465")
  [ "$icon" -eq 100 ] && [ "$gap" -eq 0 ] || fail "life icon $(( k + 1 )) is not a 5 x 20 bar at $(( 140 + 10 * k )), 465"
done
[ "$(count "#ffff00" "100x30+190+460")" -eq 0 ] || fail "more than five life icons"

# ---- the ship's limits ----
# Held, an arrow key moves the ship to the window's edge and no further; the ship stays whole. (A bomb
# may hit the ship on the way: play resumes with the ship centred and the key still held.)
ship_at() { look && [ "$ship" = "$1 0 $2 19" ]; }
# hold_to_edge KEY LEFT RIGHT
hold_to_edge() {
  x xdotool keydown "$1"
  wait_for 20 ship_at "$2" "$3" || { x xdotool keyup "$1"; fail "the ship did not reach $2..$3 with $1 held: \"$ship\""; }
  local lives_there="$lives"
  sleep 0.2
  look
  x xdotool keyup "$1"
  # Unless a bomb took a life meanwhile, the ship is still there.
  [ "$ship" = "$2 0 $3 19" ] || [ "$lives" -ne "$lives_there" ] ||
    fail "the ship left $2..$3 while $1 was held: \"$ship\""
}
hold_to_edge Left 0 95
hold_to_edge Right 504 599

# ---- switching away with an arrow held, and the pause ----
# Another window takes the keyboard while Left is held: play pauses (the last frame dimmed, the way back
# written across it), and the key released over there leaves nothing behind. Back in the game, play stays
# paused until P; then the ship stays put until an arrow is pressed. A minimised window pauses play too.
# ship_still WHY: in play and off the edge, the ship does not move for 0.4 s. A check that a bomb
# interrupts (a life lost: the pause clears the window, then play resumes with the ship centred) is made
# again once play has resumed.
ship_still() {
  local attempt before lives_before
  for attempt in 1 2 3; do
    wait_for 10 in_play || fail "$1: play did not resume"
    before="$ship" lives_before="$lives"
    [ "$(left_of "$before")" -gt 0 ] || fail "$1: the ship is at \"$before\""
    sleep 0.4
    look
    [ "$ship" = "$before" ] && return 0
    [ "$lives" -ne "$lives_before" ] || [ "$labels" -ge 300 ] || fail "$1: from \"$before\" to \"$ship\""
  done
  fail "$1: bombs interrupted every check"
}
# paused_look: not one pixel in the game's full colours, white words across the lower middle.
# held_still WHY: the paused look, and nothing on the window moves for 0.5 s.
paused_look() {
  snap "$game" "$work/held1.png" && cp "$work/held1.png" "$shot" || return 1
  { read -r bright; read -r words; } < <(measure "count:#ff0000,#ffff00,#0000ff,#00ff00,#ff00ff" \
    "count:#ffffff@600x60+0+320")
  [ "$bright" -eq 0 ] && [ "$words" -ge 50 ]
}
held_still() {
  local bright words moved
  paused_look || fail "$1: not the paused look ($bright pixels in full colour, $words white pixels of words)"
  sleep 0.5
  snap "$game" "$work/held2.png" || fail "$1: no screenshot"
  moved="$(compare -metric AE "$work/held1.png" "$work/held2.png" null: 2>&1 || true)"
  [ "$moved" = 0 ] || fail "$1: $moved pixels changed while paused"
}
# cpu_ticks: the program's processor time so far, in clock ticks.
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$quorvex_pid/stat"; }
has_window() { [ -n "$(window_named "$1")" ]; }
ship_left_of() { look && [ "$ship" != none ] && [ "$(left_of "$ship")" -lt "$1" ]; }
DISPLAY="$display" xmessage -geometry +20+20 "elsewhere" 2>/dev/null &
leftovers+=("$!")
wait_for 10 has_window '^xmessage$' || fail "the other window did not open"
other="$(window_named '^xmessage$')"
x xdotool windowactivate --sync "$game"
sleep 0.6
! paused_look || x xdotool key p  # the other window took the keyboard as it opened
wait_for 10 in_play || fail "play did not resume"
x xdotool keydown Left
wait_for 5 ship_left_of 500 || { x xdotool keyup Left; fail "the ship did not move with Left held"; }
x xdotool windowactivate --sync "$other"
sleep 0.6  # the focus change reaches the game, and settles
held_still "another window took the keyboard"
x xdotool keyup Left
kill "${leftovers[-1]}" && wait "${leftovers[-1]}" 2>/dev/null || true
unset 'leftovers[-1]'
x xdotool windowactivate --sync "$game"
sleep 0.3
held_still "the focus came back"
if [ "${E2E_PLATFORM:-}" != windows ]; then  # under Wine the process is the loader's
  before="$(cpu_ticks)"
  sleep 2
  note "processor time while paused: $(( $(cpu_ticks) - before )) ticks of $(getconf CLK_TCK) a second in 2 s"
  (( $(cpu_ticks) - before <= $(getconf CLK_TCK) / 5 )) || fail "the paused program keeps the processor busy"
fi
x xdotool key p
ship_still "the ship moved on after its arrow was released in another window"

x xdotool windowminimize --sync "$game"
sleep 0.5
x xdotool windowactivate --sync "$game"
sleep 0.3
held_still "the window was minimised and restored"
x xdotool key Pause
wait_for 5 in_play || fail "Pause did not resume play"

# ---- a missile ----
# Space launches a 5 x 20 blue bar from the ship's middle column, rising 10 px per frame.
missile_rising() {
  wait_for 10 in_play || return 1
  local from l t r b column first
  from="$(left_of "$ship")"
  x xdotool key space
  look
  why="no blue bar above the ship"
  [ "$missile" != none ] || return 1
  read -r l t r b <<<"$missile"
  why="a blue bar at \"$missile\" (rows from 205), the ship at $from"
  (( r - l == 4 && l == from + 48 )) || return 1
  column="$l" first="$t"
  look
  [ "$missile" != none ] || return 1
  read -r l t r b <<<"$missile"
  why="the missile did not rise: from row $(( first + 205 )) to \"$missile\""
  (( l == column && t < first ))
}
tries=0
until missile_rising; do
  tries=$(( tries + 1 ))
  [ "$tries" -lt 10 ] || fail "no missile was seen rising after 10 presses of Space; last: $why"
  sleep 0.6  # the missile in flight ends before the next press
done
note "missile seen rising after $(( tries + 1 )) presses"

# ---- an alien shot ----
# Under the formation and firing again and again, the ship hits an alien sooner or later: the score
# goes up by 100 per alien. The ship goes back to the middle first, under the aliens' paths.
look && steer_to 252
scored() { read_caption && [ "$caption_score" -gt 0 ]; }
deadline=$(( $(now_ms) + 60000 ))
until scored; do
  [ "$(now_ms)" -lt "$deadline" ] || fail "no alien was shot in 60 s"
  x xdotool key space
  sleep 0.1
done
(( caption_score % 100 == 0 )) || fail "the score $caption_score is not a multiple of 100"
[ "$caption_level" -eq 1 ] || fail "the level changed to $caption_level"
note "score $caption_score after $(( $(now_ms) - opened )) ms"

# ---- closed during play ----
wait_for 10 in_play || fail "play did not resume"
close_window "$game"
wait_for_clean_exit
echo "PASS: play"
