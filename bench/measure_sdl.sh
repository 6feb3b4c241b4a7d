#!/usr/bin/env bash
# Measures the desktop program on a private X server with a window manager:
#   - the back-end's cost per frame (bench/quorvex_bench_sdl: present a 600 x 500 frame, draw the
#     welcome text, poll an empty event queue);
#   - start to first window: from launching the executable to its title window being on screen
#     (polled with xdotool, so each reading includes a few milliseconds of polling);
#   - resident memory while the title screen plays and once it has settled, then during half a minute
#     of play;
#   - frames of a loop paced as the game's, at scale 1 and 2 (BM_PacedFrames: median and 95th percentile);
#   - the game loop's pace through the runtime in the busy loop and at --pass-rate 41000
#     (BM_PacedPasses: frame spacing, time between flips of the aliens' frame, passes a second, processor);
#   - the program itself in the busy loop and at --pass-rate 41000: its processor time over the first
#     10 s of the title screen and over 10 s of play, and the caption's FPS figure once a second.
# Nothing is asserted: the figures are printed for a person to read.
#
#   bench/measure_sdl.sh BUILD_DIR [RUNS]
set -euo pipefail

build="${1:?usage: measure_sdl.sh BUILD_DIR [RUNS]}"
runs="${2:-5}"
exe="$build/quorvex"
bench="$build/bench/quorvex_bench_sdl"
caption="Quorvex - By Delmoro"
for f in "$exe" "$bench"; do [ -x "$f" ] || { echo "missing $f (build with -DQUORVEX_BENCH=ON)"; exit 1; }; done

work="$(mktemp -d)"
xvfb_pid="" openbox_pid="" quorvex_pid=""
cleanup() {
  for pid in "$quorvex_pid" "$openbox_pid" "$xvfb_pid"; do [ -n "$pid" ] && kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

now_ms() { echo $(( $(date +%s%N) / 1000000 )); }
wait_for() {
  local deadline=$(( $(now_ms) + $1 * 1000 ))
  shift
  until "$@"; do [ "$(now_ms)" -lt "$deadline" ] || return 1; sleep 0.05; done
}

Xvfb -displayfd 3 -nolisten tcp -screen 0 1024x768x24 3>"$work/display" 2>/dev/null &
xvfb_pid=$!
wait_for 15 test -s "$work/display"
export DISPLAY=":$(head -n 1 "$work/display")"
openbox --sm-disable >/dev/null 2>&1 &
openbox_pid=$!
wait_for 15 wmctrl -m >/dev/null 2>&1

echo "== back-end per frame"
"$bench" --benchmark_min_time=1 --benchmark_filter=-PacedPasses 2>/dev/null | grep -E "^(BM_|Benchmark|---)"
echo "== the game loop's pace through the runtime: busy (/0) and at 41,000 passes a second (/41000)"
"$bench" --benchmark_filter=PacedPasses 2>/dev/null | grep -E "^BM_"

echo "== start to first window ($runs runs)"
rss_kb() { awk '/^VmRSS/ {print $2}' "/proc/$1/status" 2>/dev/null || echo 0; }
# sample_rss COUNT: the program's resident memory every quarter second, COUNT times; the largest in $peak.
sample_rss() {
  local kb
  peak=0
  for _ in $(seq "$1"); do
    kb="$(rss_kb "$quorvex_pid")"
    [ "$kb" -gt "$peak" ] && peak=$kb
    sleep 0.25
  done
}
for run in $(seq "$runs"); do
  start_ns=$(date +%s%N)
  "$exe" 2>/dev/null &
  quorvex_pid=$!
  until id="$(xdotool search --onlyvisible --name "^${caption}\$" 2>/dev/null | head -n 1)" && [ -n "$id" ]; do :; done
  shown_ns=$(date +%s%N)
  echo "run $run: $(( (shown_ns - start_ns) / 1000000 )) ms"
  if [ "$run" -eq 1 ]; then
    # The introduction takes about seven seconds; sample it through and a little after.
    sample_rss 40
    echo "resident memory at the title screen: $(( $(rss_kb "$quorvex_pid") / 1024 )) MB settled, $(( peak / 1024 )) MB peak sampled"
    # Then a game: Continue, and half a minute of play (the aliens march, bombs fall, lives go).
    read -r left top < <(xwininfo -id "$id" | awk '/Absolute upper-left X/ {l=$4} /Absolute upper-left Y/ {t=$4} END {print l, t}')
    xdotool mousemove $(( left + 300 )) $(( top + 457 )) click 1
    sleep 2
    sample_rss 120
    echo "resident memory during play: $(( $(rss_kb "$quorvex_pid") / 1024 )) MB after 30 s, $(( peak / 1024 )) MB peak sampled"
    kill "$quorvex_pid"  # the game may be asking its question by now, which no close box ends
    wait "$quorvex_pid" || true
    quorvex_pid=""
    continue
  fi
  wmctrl -i -c "$id"
  wait "$quorvex_pid" || true
  quorvex_pid=""
done

# cpu_percent SECONDS: the program's processor time (user and system, all threads) over that many seconds,
# as a percentage of one core.
cpu_ticks() { awk '{print $14 + $15}' "/proc/$quorvex_pid/stat"; }
cpu_percent() {
  local t0 t1 s0 s1
  t0=$(cpu_ticks); s0=$(date +%s%N)
  sleep "$1"
  t1=$(cpu_ticks); s1=$(date +%s%N)
  awk -v t=$(( t1 - t0 )) -v hz="$(getconf CLK_TCK)" -v ns=$(( s1 - s0 )) 'BEGIN {printf "%.1f %%", 100 * t / hz / (ns / 1e9)}'
}
for pace in max 41000; do
  echo "== --pass-rate $pace: the program's processor time and the caption's figure"
  "$exe" --pass-rate "$pace" 2>/dev/null &
  quorvex_pid=$!
  until id="$(xdotool search --onlyvisible --name "^${caption}\$" 2>/dev/null | head -n 1)" && [ -n "$id" ]; do :; done
  echo "title screen, its first 10 s (the introduction, then the button waiting): $(cpu_percent 10)"
  read -r left top < <(xwininfo -id "$id" | awk '/Absolute upper-left X/ {l=$4} /Absolute upper-left Y/ {t=$4} END {print l, t}')
  xdotool mousemove $(( left + 300 )) $(( top + 457 )) click 1
  sleep 2
  game="$(xdotool search --onlyvisible --name "^${caption} : " 2>/dev/null | head -n 1)"
  ( for _ in $(seq 10); do sleep 1; xdotool getwindowname "$game" 2>/dev/null | sed 's/.* : //'; done ) >"$work/figures" &
  echo "play, 10 s (Get Ready pauses included): $(cpu_percent 10)"
  wait $!
  echo "the caption's figure once a second: $(tr '\n' ' ' <"$work/figures")"
  kill "$quorvex_pid"
  wait "$quorvex_pid" || true
  quorvex_pid=""
done
