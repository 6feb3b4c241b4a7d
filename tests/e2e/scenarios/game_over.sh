#!/usr/bin/env bash
# Game over, both answers, in one run: the ship goes under the falling bombs until the five lives are
# gone; the question "DEAD!!!" opens with its prompt; while it is open the game window takes no key and
# the window manager cannot close it. Yes starts a new game at level 1 with five lives and the score kept;
# five more lives later, No ends the program cleanly with status 0.
#
#   game_over.sh QUORVEX
source "$(dirname "$0")/../lib.sh"
source "$(dirname "$0")/../game.sh"

open_title "${1:?usage: game_over.sh QUORVEX}"
start_game
wait_for 10 in_play || fail "play never started"

# lose_all_lives SHOOT: plays until the question opens, following every bomb.
# With SHOOT yes it first stays where play puts it, under the middle column of aliens, and fires until an
# alien is shot, while more than three lives are left: the missile is idle when the question opens,
# since three more plays of at least 32 frames each follow (a missile flies for 45 frames).
# Sets $dialog.
lose_all_lives() {
  local shoot="$1" deadline=$(( $(now_ms) + 150000 )) seen=5 started
  started="$(now_ms)"
  watch_for_question
  while ! has_dialog; do
    [ "$(now_ms)" -lt "$deadline" ] || fail "the five lives were not lost in 150 s ($seen left)"
    program_running || fail "the program ended during play"
    look || continue
    if [ "$labels" -lt 300 ] && [ "$ship" != none ] && [ "$lives" -lt "$seen" ]; then
      seen="$lives"
      note "$seen lives left after $(( $(now_ms) - started )) ms"
    fi
    if [ "$shoot" = yes ] && [ "$lives" -gt 3 ] && { ! read_caption || [ "$caption_score" -eq 0 ]; }; then
      x xdotool key space  # ignored while a missile is in flight
      continue
    fi
    if [ "$lives" -eq 1 ] && [ "$bomb" != none ] && [ "${E2E_PLATFORM:-linux}" = linux ]; then
      # On the last life every key is let go before the bomb can land (320 px below the top of its
      # rows, 7 px a frame of 11 ms or more): a key let go as the question opens wakes the program,
      # which then shows its last frame anyway, and watch_for_question could not tell.
      chase_bomb $(( (320 - $(awk '{print $2}' <<<"$bomb")) * 11 / 7 - 150 )) || true
      continue
    fi
    chase_bomb || true
  done
  dialog="$(dialog_window)"
  note "the question opened after $(( $(now_ms) - started )) ms"
  check_first_sight
}

# The game window behind the question shows the last frame as the question opens, not the one before
# the fatal hit: the hit cleared the window, and the lives display shows its caption and no icon. Not
# shown before the question waits, the window would keep the frame before (the ship under the bomb, one
# icon) until the next caption tick, up to a second later. Linux only: the main loop's looks come too
# seldom to tell, and under Wine a screenshot takes longer than the check allows.
#
# watch_for_question: in the background, wakes at each change of the window manager's list of windows
# until the question is among them, then looks at the game window until it shows the last frame, and
# writes "WHEN MS LIVES SHIP" of that look (or of the last, after 2 s) to $work/first-sight. WHEN is
# "at-once" when the look was taken within 0.1 s of the question showing or before the caption next
# ticked, "at-tick" when only later and after a tick, "never" when never.
watch_for_question() {
  [ "${E2E_PLATFORM:-linux}" = linux ] || return 0
  rm -f "$work/first-sight"
  (
    shot="$work/first-sight.png"  # the main loop takes its own meanwhile
    last_frame_shown() {
      look && [ "$lives" -eq 0 ] && [ "$ship" = none ] && [ "$(count "#ff00ff" "100x30+10+460")" -ge 300 ]
    }
    captions="$work/question-captions"
    DISPLAY="$display" xprop -spy -id "$game" WM_NAME >"$captions" 2>/dev/null &
    caption_spy=$!
    exec {list}< <(DISPLAY="$display" exec xprop -root -spy _NET_CLIENT_LIST)
    list_spy=$!
    while read -r -u "$list" _ && ! has_dialog; do :; done
    seen="$(now_ms)" ticks="$(wc -l <"$captions")" when=never
    while taken=$(( $(now_ms) - seen )); [ "$taken" -lt 2000 ]; do
      if last_frame_shown; then
        when=at-once
        # A tick counted after the look: one during it may have brought the frame.
        (( taken < 100 || $(wc -l <"$captions") == ticks )) || when=at-tick
        break
      fi
    done
    echo "$when $taken $lives $ship" >"$work/first-sight"
    kill "$list_spy" "$caption_spy"
  ) &
  watcher_pid=$!
}

check_first_sight() {
  [ "${E2E_PLATFORM:-linux}" = linux ] || return 0
  wait_for 4 test -s "$work/first-sight" || fail "the question was not seen as it opened"
  wait "$watcher_pid" || true
  local when ms lives ship
  read -r when ms lives ship <"$work/first-sight" || fail "the question was not seen as it opened"
  case "$when" in
    at-once) note "the game window showed its last frame $ms ms after the question appeared" ;;
    at-tick) fail "the game window showed its last frame only at the caption's tick, $ms ms after the question" ;;
    *) fail "the game window behind the question shows no last frame ($lives life icons, ship at $ship)" ;;
  esac
}

# The question's own window: white, a blue disc with the question mark, the prompt in black, and a grey
# strip with the two buttons. With E2E_PLATFORM=windows, the system's own message box (Windows): its
# blue question icon at the top left and the prompt in black beside it, in a frame of the system's.
check_question() {
  local geometry width height text disc
  snap "$dialog" || fail "no screenshot of the question"
  geometry="$(x xwininfo -id "$dialog")"
  width="$(awk '/Width:/ {print $2}' <<<"$geometry")"
  height="$(awk '/Height:/ {print $2}' <<<"$geometry")"
  if [ "${E2E_PLATFORM:-linux}" = windows ]; then
    (( width >= 200 && height >= 60 )) || fail "the question is only $width x $height"
    { read -r text; read -r disc; } < <(measure "count:#000000@$(( width - 50 ))x30+50+8" "count:#3465a4@48x48+0+0")
    [ "$disc" -ge 300 ] || fail "the question shows no question-mark icon"
  else
    (( width >= 260 && height >= 100 )) || fail "the question is only $width x $height"
    { read -r text; read -r disc; } < <(measure "count:#000000@$(( width - 70 ))x50+70+10" "count:#1e64c8@60x60+10+10")
    [ "$disc" -ge 400 ] || fail "the question shows no question-mark icon"
    check_frame "$dialog" no-close
  fi
  [ "$text" -ge 150 ] || fail "the question shows no prompt ($text dark pixels)"
  # The game window behind it shows its last frame at once: the lives caption and no icon left.
  no_life_left() { look && [ "$lives" -eq 0 ] && [ "$(count "#ff00ff" "100x30+10+460")" -ge 300 ]; }
  wait_for 0.5 no_life_left || fail "the game window shows $lives life icons behind the question"
}

lose_all_lives yes
check_question
read_caption || fail "unexpected caption \"$(caption_of "$game")\""
score="$caption_score"
note "score at the end of the first game: $score"

# While the question is open the game window cannot be closed...
close_window "$game"
close_window "$dialog"
sleep 1
program_running || fail "the program ended when its windows were closed behind the question"
has_dialog || fail "the question went away without an answer"
x xwininfo -id "$game" >/dev/null 2>&1 || fail "the game window was closed behind the question"
dialog="$(dialog_window)"  # the system's box, closed by its frame, asks again in a window of its own
# ...and takes no keys. A Space given to the game window now would launch a missile from the ship when
# play resumes: none may show. (The short wait lets the program see the change of focus before the key;
# the question's unchanged picture shows that the key did not go to it.) The system's box disables the
# window it belongs to, and Windows gives a disabled window no keyboard at all: nothing to press then.
snap "$dialog" "$work/question-before.png" || fail "no screenshot of the question"
if x timeout 5 xdotool windowfocus --sync "$game" && [ "$(x xdotool getwindowfocus)" = "$game" ]; then
  sleep 0.4
  x xdotool key space
  x xdotool windowactivate --sync "$dialog" || fail "could not activate the question"
  has_dialog || fail "a key for the game window answered the question"
  snap "$dialog" "$work/question-after.png" || fail "no screenshot of the question"
  changed="$(compare -metric AE "$work/question-before.png" "$work/question-after.png" null: 2>&1 || true)"
  [ "$changed" = 0 ] || fail "the key meant for the game window changed the question ($changed pixels)"
elif [ "${E2E_PLATFORM:-linux}" = windows ]; then
  note "the game window cannot take the keyboard while the system's box asks"
  x xdotool windowactivate --sync "$dialog" || fail "could not activate the question"
else
  fail "could not give the game window the keyboard"
fi

# Yes (by its key; an arrow key pressed as the question opened may have moved the default to No): a new
# game at level 1 after a "Get Ready" pause, which lasts until the next tick of the ready timer. That
# timer ticks with the caption timer, whose ticks show as caption changes: the answer is given just
# after one, so that the pause lasts most of a second, and play resumes at the next one.
x xprop -spy -id "$game" WM_NAME >"$work/captions" 2>/dev/null &
spy_pid=$!
leftovers+=("$spy_pid")
wait_for 2 test -s "$work/captions" || fail "could not watch the caption"
ticks="$(wc -l <"$work/captions")"
caption_ticked() { [ "$(wc -l <"$work/captions")" -gt "$ticks" ]; }
wait_for 3 caption_ticked || fail "the caption timer does not tick while the question is open"
ticks="$(wc -l <"$work/captions")"
x xdotool key y
no_dialog() { ! has_dialog; }
wait_for 5 no_dialog || fail "the key y did not answer the question"
program_running || fail "the program ended on Yes"
# The game window is shown again when the question's box has gone, a moment later under Wine.
wait_for 1 paused || fail "no \"Get Ready\" pause after Yes"
[ "$(count "#00ff00" "$LEVEL_LABEL")" -ge 100 ] || fail "no level label after Yes"
# An arrow held when the question opened is still held for the game (its release went to the
# question): a press and release of each, taken as usual during the pause, lets them go.
x xdotool windowactivate --sync "$game" key Left Right
# The first half second of play, as fast as screenshots come, examined afterwards: the ship at its
# place, five lives, and no missile (it would cross the rows under the aliens in about 250 ms).
wait_for 3 caption_ticked || fail "the ready timer's tick did not come"
kill "$spy_pid"
wait "$spy_pid" 2>/dev/null || true
leftovers=()
resumed="$(now_ms)"
shots=0
while [ $(( $(now_ms) - resumed )) -lt 500 ]; do
  shots=$(( shots + 1 ))
  snap "$game" "$work/resumed-$shots.png"
done
for (( i = 1; i <= shots; i++ )); do
  shot="$work/resumed-$i.png"
  { read -r ship; read -r missile; read -r icons; } < <(measure \
    "bbox:#ffff00,#ff0000,#0000ff@$SHIP_ROWS" "bbox:#0000ff@$MISSILE_ROWS" "count:#ffff00@$ICONS")
  [ "$ship" = none ] && continue  # still the pause, or a life lost already
  [ "$missile" = none ] || fail "a missile flies after Yes (\"$missile\", screenshot $i): the game window took a key behind the question"
  [ "$ship" = "252 0 347 19" ] || fail "the ship is at \"$ship\" when play resumes after Yes (screenshot $i)"
  [ "$icons" -eq 500 ] || fail "$icons icon pixels, not five icons, when play resumes after Yes (screenshot $i)"
  played=yes
done
[ "${played:-}" = yes ] || fail "no play seen in the first half second after the pause ($shots screenshots)"
wait_for 3 read_caption || fail "unexpected caption \"$(caption_of "$game")\""
[ "$caption_level" -eq 1 ] || fail "the new game is at level $caption_level"
[ "$caption_score" -eq "$score" ] || fail "the score went from $score to $caption_score with the new game"

# No (by its key): the program ends, cleanly.
lose_all_lives no
x xdotool windowactivate --sync "$dialog" || fail "could not activate the question"
x xdotool key n
wait_for_clean_exit
echo "PASS: game_over"
