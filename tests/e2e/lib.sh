# Shared part of the real-window tests, sourced by each scenario and by the screenshot script.
#
# It starts a private X server (Xvfb, 1024 x 768) with a window manager (openbox), runs the program on
# it, and gives the scenarios what a player has: screenshots of a window, keys, the mouse, the window
# manager's close, captions. Every wait for something to happen is a poll with a deadline, never a
# fixed sleep or a count of frames, so the tests hold on a slow machine and under the sanitizers; a short
# fixed wait serves only where something must not happen.
#
# E2E_KEEP=FILE keeps the last screenshot of a failing run. E2E_PLATFORM=windows says that the program
# is the Windows build under Wine (the default is the Linux build). E2E_SCALE=2 runs the Linux program
# with --scale 2 on a larger screen: screenshots are taken back to the window's own pixels (one of each
# 2 x 2 square), so that every check reads client pixels as at scale 1, and clicks land scaled.
# E2E_DESKTOP_SCALE=xft or gdk runs it the same way without --scale, the desktop asking for twice the
# size instead: "Xft.dpi: 192" in the display's resources, or GDK_SCALE=2 in the program's environment.
# E2E_SMALL_SCREEN=yes runs it on a 1366 x 768 screen, where twice the size does not fit: the scale asked
# for (E2E_SCALE or E2E_DESKTOP_SCALE) is reduced to 1, and every check reads the window at scale 1.
# E2E_ARGS="..." gives the program more arguments. E2E_FOCUS_NEW=no runs openbox with its usual configuration but for focusNew: it gives no new window the
# focus by itself.
#
# Colours are the sprites' and labels' own: lime #00ff00 (banner, labels, bomb), red #ff0000 (welcome
# text, ground), yellow #ffff00 (button lettering, life icons), magenta #ff00ff (lives caption), blue
# #0000ff (missile). Regions are client-area pixels: WxH+LEFT+TOP.
set -euo pipefail

CAPTION="Quorvex - By Delmoro"
DESKTOP_SCALE="${E2E_DESKTOP_SCALE:-}"
SCALE="${E2E_SCALE:-1}"
case "$DESKTOP_SCALE" in
  xft | gdk) SCALE=2 ;;
  "") ;;
  *) echo "FAIL: E2E_DESKTOP_SCALE is xft or gdk, not $DESKTOP_SCALE"; exit 1 ;;
esac
SCREEN_W=$(( SCALE > 1 ? 1600 : 1024 )) SCREEN_H=$(( SCALE > 1 ? 1200 : 768 ))
ASKED_SCALE="$SCALE"  # what --scale or the desktop asks for; SCALE is what the window must show
if [ "${E2E_SMALL_SCREEN:-}" = yes ]; then
  SCREEN_W=1366 SCREEN_H=768 SCALE=1
fi

fail() {
  echo "FAIL: $*"
  [ -s "$work/status" ] && echo "(the program has ended, status $(cat "$work/status"))"
  local log
  for log in quorvex.err openbox.log xvfb.log; do
    [ -s "$work/$log" ] && { echo "--- $log"; tail -n 20 "$work/$log"; }
  done
  if [ -n "${shot:-}" ] && [ -s "$shot" ] && [ -n "${E2E_KEEP:-}" ]; then
    cp "$shot" "$E2E_KEEP" && echo "last screenshot kept in $E2E_KEEP"
  fi
  exit 1
}

note() { echo "  $*"; }

# A missing tool is a failure: scripts/install-deps.sh installs them all.
for tool in Xvfb openbox xdotool xwininfo xprop xmessage wmctrl import convert compare; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is not installed (scripts/install-deps.sh)"; exit 1; }
done

work="$(mktemp -d)"
shot="$work/shot.png"
xvfb_pid="" openbox_pid="" quorvex_pid="" runner_pid=""
leftovers=()

cleanup() {
  # Only what this script started, by id.
  local pid
  for pid in "${leftovers[@]}" "$quorvex_pid" "$runner_pid" "$openbox_pid" "$xvfb_pid"; do
    [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  done
  for pid in "$runner_pid" "$openbox_pid" "$xvfb_pid"; do
    [ -n "$pid" ] && wait "$pid" 2>/dev/null || true
  done
  rm -rf "$work"
}
trap cleanup EXIT

now_ms() { echo $(( $(date +%s%N) / 1000000 )); }

# wait_for SECONDS COMMAND...: runs COMMAND until it succeeds; false after SECONDS (may have a fraction).
wait_for() {
  local deadline
  deadline=$(( $(now_ms) + $(awk -v s="$1" 'BEGIN { printf "%d", s * 1000 }') ))
  shift
  until "$@"; do
    [ "$(now_ms)" -lt "$deadline" ] || return 1
    sleep 0.05
  done
}

# ---- the display ----

# The private display: Xvfb picks a free number and writes it once it accepts clients. Now and then,
# with other servers starting and stopping beside it, the window manager cannot connect: the pair is
# then started again, up to three times.
start_display() {
  local attempt config=()
  if [ "${E2E_FOCUS_NEW:-yes}" = no ]; then
    sed 's|<focusNew>yes</focusNew>|<focusNew>no</focusNew>|' /etc/xdg/openbox/rc.xml >"$work/rc.xml" &&
      grep -q "<focusNew>no</focusNew>" "$work/rc.xml" || fail "no openbox configuration to change"
    config=(--config-file "$work/rc.xml")
  fi
  for attempt in 1 2 3; do
    rm -f "$work/display"
    Xvfb -displayfd 3 -nolisten tcp -screen 0 "${SCREEN_W}x${SCREEN_H}x24" 3>"$work/display" 2>"$work/xvfb.log" &
    xvfb_pid=$!
    wait_for 15 test -s "$work/display" || fail "Xvfb did not start"
    display=":$(head -n 1 "$work/display")"
    DISPLAY="$display" openbox --sm-disable "${config[@]}" >"$work/openbox.log" 2>&1 &
    openbox_pid=$!
    wait_for 15 window_manager_up_or_gone || true
    x wmctrl -m >/dev/null 2>&1 && return 0
    note "the window manager did not start on $display (attempt $attempt): $(tail -n 1 "$work/openbox.log")"
    kill "$openbox_pid" "$xvfb_pid" 2>/dev/null || true
    wait "$openbox_pid" "$xvfb_pid" 2>/dev/null || true
    openbox_pid="" xvfb_pid=""
  done
  fail "the window manager did not start"
}

# The window manager has announced itself, or has given up.
window_manager_up_or_gone() { x wmctrl -m >/dev/null 2>&1 || ! kill -0 "$openbox_pid" 2>/dev/null; }

# DISPLAY is given to each X command rather than exported, so that this shell and its helpers are not
# counted among the processes on the display at the end.
x() { DISPLAY="$display" "$@"; }

# ---- the program ----

# start_program EXE: runs it on the display; its exit status is written to $work/status when it ends.
# With E2E_STDIO=closed it starts with standard output and error closed, as some launchers start programs.
start_program() {
  # Nothing of the desktop's scale reaches the program unless asked for. The resources are what
  # xrdb -merge leaves on the root window.
  local desktop=(env -u GDK_SCALE)
  case "$DESKTOP_SCALE" in
    xft) x xprop -root -f RESOURCE_MANAGER 8s -set RESOURCE_MANAGER $'Xft.dpi:\t192\n' ||
      fail "could not set the display's resources" ;;
    gdk) desktop=(env GDK_SCALE=2) ;;
  esac
  (
    local args=()
    [ "$ASKED_SCALE" -gt 1 ] && [ -z "$DESKTOP_SCALE" ] && args=(--scale "$ASKED_SCALE")
    args+=(${E2E_ARGS:-})  # more arguments a scenario asks for
    if [ "${E2E_STDIO:-}" = closed ]; then
      DISPLAY="$display" "${desktop[@]}" "$1" "${args[@]}" >&- 2>&- &
    else
      DISPLAY="$display" "${desktop[@]}" "$1" "${args[@]}" >"$work/quorvex.out" 2>"$work/quorvex.err" &
    fi
    echo $! >"$work/quorvex.pid"
    status=0
    wait $! || status=$?
    echo "$status" >"$work/status"
  ) &
  runner_pid=$!
  wait_for 5 test -s "$work/quorvex.pid" || fail "the program did not start"
  quorvex_pid="$(cat "$work/quorvex.pid")"
}

program_running() { [ ! -s "$work/status" ]; }

# Windows of the program by title; visible ones only.
window_named() { x xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1; }
title_window() { window_named "^${CAPTION}\$"; }
dialog_window() { window_named '^DEAD!!!$'; }
has_title_window() { [ -n "$(title_window)" ]; }
has_dialog() { [ -n "$(dialog_window)" ]; }
# Any visible window of the program other than the one given.
other_window() {
  x xdotool search --onlyvisible --pid "$quorvex_pid" 2>/dev/null | grep -vx "$1" | head -n 1
}

# The window the window manager has made the active one, or nothing.
active_window() { x xdotool getactivewindow 2>/dev/null || true; }

caption_of() { x xdotool getwindowname "$1" 2>/dev/null; }

# client_origin WINDOW: "LEFT TOP" of its client area on the screen.
client_origin() {
  x xwininfo -id "$1" | awk '/Absolute upper-left X/ {l=$4} /Absolute upper-left Y/ {t=$4} END {print l, t}'
}

# press_at WINDOW X Y [BUTTON]: the pointer to a client-area point and a button pressed there.
press_at() {
  local origin
  origin="$(client_origin "$1")"
  x xdotool mousemove $(( ${origin% *} + $2 * SCALE )) $(( ${origin#* } + $3 * SCALE )) mousedown "${4:-1}"
}
release_mouse() { x xdotool mouseup "${1:-1}"; }

# The window manager's close, as the close box does it.
close_window() { x wmctrl -i -c "$1" || fail "the window manager could not close window $1"; }

# wait_for_clean_exit: the program ends by itself with status 0, no process of it and nothing else
# started on the display outlives it, and no window of it is left.
wait_for_clean_exit() {
  wait_for 15 test -s "$work/status" || fail "the program is still running 15 s later"
  local status
  status="$(cat "$work/status")"
  [ "$status" -eq 0 ] || fail "the program ended with status $status"
  wait "$runner_pid" 2>/dev/null || true
  runner_pid=""
  kill -0 "$quorvex_pid" 2>/dev/null && fail "process $quorvex_pid is still there"
  quorvex_pid=""
  # Helpers of the program's platform may take a moment to end by themselves (Wine's services end a few
  # seconds after the last Windows program): E2E_SETTLE gives them that long.
  wait_for "${E2E_SETTLE:-0}" nothing_left_on_display || true
  nothing_left_on_display
  [ "${#leftovers[@]}" -eq 0 ] || fail "processes left behind: $(ps -o pid=,cmd= -p "${leftovers[*]}" | tr '\n' ';')"
  [ -z "$(x xdotool search --name Quorvex 2>/dev/null)" ] || fail "a window of the program is still there"
  [ -z "$(x xdotool search --name 'DEAD!!!' 2>/dev/null)" ] || fail "the question is still there"
}

# nothing_left_on_display: no process started on the display outlives the program but the window
# manager; sets leftovers to those that do.
nothing_left_on_display() {
  local f pid
  leftovers=()
  for f in /proc/[0-9]*/environ; do
    pid="${f#/proc/}"
    pid="${pid%/environ}"
    [ "$pid" = "$openbox_pid" ] && continue
    if grep -qz "^DISPLAY=${display}\$" "$f" 2>/dev/null; then
      leftovers+=("$pid")
    fi
  done
  [ "${#leftovers[@]}" -eq 0 ]
}

# ---- screenshots ----

# snap WINDOW [FILE]: a screenshot of the window's client area, to $shot unless FILE is given.
snap() {
  x import -window "$1" "${2:-$shot}" 2>/dev/null || return 1
  [ "$SCALE" -eq 1 ] || convert "${2:-$shot}" -sample "$(( 100 / SCALE ))%" "${2:-$shot}"
}

# measure CHECK...: measures the last screenshot, one line per CHECK, in one run of ImageMagick.
#   count:COLOURS[@REGION]  how many pixels have about one of the COLOURS (comma-separated)
#   bbox:COLOURS[@REGION]   "LEFT TOP RIGHT BOTTOM" of those pixels in the region's coordinates
#                           (inclusive), or "none"
measure() {
  local args=("$shot" -alpha off) check kind rest colours region c
  for check in "$@"; do
    kind="${check%%:*}" rest="${check#*:}" region=""
    colours="${rest%@*}"
    [[ "$rest" == *@* ]] && region="${rest#*@}"
    args+=('(' +clone)
    [ -n "$region" ] && args+=(-crop "$region" +repage)
    # Matching pixels become an exact mark, then white on black.
    args+=(-fuzz 25% -fill "#fffffe")
    for c in ${colours//,/ }; do args+=(-opaque "$c"); done
    args+=(-fuzz 0 -fill black +opaque "#fffffe" -fill white -opaque "#fffffe")
    case "$kind" in
      # The black border keeps the corner, which the bounding box takes for the background, black.
      bbox) args+=(-bordercolor black -border 1 -format "bbox %@\n") ;;
      count) args+=(-format "count %[fx:round(mean*w*h)]\n") ;;
      *) fail "measure: unknown kind $kind" ;;
    esac
    args+=(-write info: +delete ')')
  done
  local geometry
  { convert "${args[@]}" null: 2>/dev/null || true; } | while read -r kind geometry; do
    if [ "$kind" = count ]; then
      echo "$geometry"
    elif [[ "$geometry" =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]] && [ "${BASH_REMATCH[1]}" -gt 0 ]; then
      echo "$(( BASH_REMATCH[3] - 1 )) $(( BASH_REMATCH[4] - 1 )) $(( BASH_REMATCH[3] + BASH_REMATCH[1] - 2 ))" \
        "$(( BASH_REMATCH[4] + BASH_REMATCH[2] - 2 ))"
    else
      echo none
    fi
  done
}

# count COLOURS [REGION] and bbox COLOURS [REGION]: one measure of the last screenshot.
count() { local v; v="$(measure "count:$1${2:+@$2}")"; echo "${v:-0}"; }
bbox() { local v; v="$(measure "bbox:$1${2:+@$2}")"; echo "${v:-none}"; }

# within "L T R B" MINL MINT MAXR MAXB: the box lies inside those limits.
within() {
  local l t r b
  [ "$1" != none ] || return 1
  read -r l t r b <<<"$1"
  [ -n "$b" ] && [ "$l" -ge "$2" ] && [ "$t" -ge "$3" ] && [ "$r" -le "$4" ] && [ "$b" -le "$5" ]
}

# ---- the windows ----

check_fixed_client_area() {
  local id="$1" info hints
  info="$(x xwininfo -id "$id")"
  grep -q "Width: $(( 600 * SCALE ))$" <<<"$info" && grep -q "Height: $(( 500 * SCALE ))$" <<<"$info" ||
    fail "the client area is not $(( 600 * SCALE )) x $(( 500 * SCALE )):" \
      "$(grep -E 'Width|Height' <<<"$info" | tr -s ' ' | tr '\n' ' ')"
  hints="$(x xprop -id "$id" WM_NORMAL_HINTS)"
  local size="$(( 600 * SCALE )) by $(( 500 * SCALE ))"
  grep -q "minimum size: $size" <<<"$hints" && grep -q "maximum size: $size" <<<"$hints" ||
    fail "the window can be resized: $hints"
}

# The frame is centred on the screen; the client sits inside its border and title bar. A window that has
# just been resized (out of full screen, say) may be moved there a moment later: up to 3 s.
is_centred() {
  local left top
  read -r left top <<<"$(client_origin "$1")"
  local wide=$(( (SCREEN_W - 600 * SCALE) / 2 )) high=$(( (SCREEN_H - 500 * SCALE) / 2 ))
  [ "$left" -ge "$wide" ] && [ "$left" -le $(( wide + 4 )) ] && [ "$top" -ge "$high" ] && [ "$top" -le $(( high + 40 )) ]
}
check_centred() {
  wait_for 3 is_centred "$1" || fail "the window is not centred: left and top $(client_origin "$1")"
}

# The frame asked of the window manager: a title bar with the icon and the close box (a question has
# none) and nothing to minimise or maximise. Window managers that honour these hints draw no such box;
# openbox keeps its minimise box whatever a window asks, and shows its maximise box disabled since the
# window cannot be resized, so only the request and the offered actions are checked.
check_frame() {
  local id="$1" with_close="$2" hints actions functions="0x4"
  [ "$with_close" = close ] && functions="0x24"
  hints="$(x xprop -id "$id" _MOTIF_WM_HINTS)"
  # flags: functions and decorations; functions: move (+ close); decorations: border, title, menu.
  grep -q "= 0x3, $functions, 0x1a, 0x0, 0x0$" <<<"$hints" || fail "unexpected frame hints: $hints"
  actions="$(x xprop -id "$id" _NET_WM_ALLOWED_ACTIONS)"
  grep -qE "MAXIMIZE|RESIZE" <<<"$actions" && fail "the window can be maximised or resized: $actions"
  if [ "$with_close" = close ]; then
    grep -q "_NET_WM_ACTION_CLOSE" <<<"$actions" || fail "no close action: $actions"
  fi
  return 0
}

# ---- the journey ----

# Starts the program and waits for the title window; sets $title.
open_title() {
  start_display
  start_program "$1"
  local started
  started="$(now_ms)"
  wait_for 20 has_title_window || fail "no window titled \"$CAPTION\" appeared"
  title="$(title_window)"
  note "title window after $(( $(now_ms) - started )) ms"
}

# The start button at rest: its yellow lettering inside 258..343 x 449..462.
button_at_rest() {
  snap "$title" || return 1
  [ "$(bbox "#ffff00")" = "258 449 343 462" ]
}

# Clicks the start button once it has come to rest; sets $game to the game window that opens.
start_game() {
  wait_for 60 button_at_rest || fail "the start button never came to rest at 250, 440"
  press_at "$title" 300 457
  release_mouse
  wait_for 10 game_window_opened || fail "releasing the start button did not open the game window"
}

game_window_opened() {
  game="$(other_window "$title")"
  [ -n "$game" ]
}
