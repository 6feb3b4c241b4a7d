#!/usr/bin/env bash
# Starts Quorvex.exe under Wine, as the real-window scenarios start the Linux program: they are given
# this script in its place. QUORVEX_EXE names the executable; WINEPREFIX the prefix the test run made.
# A Wine server left from the run before (it ends a few seconds after its last program) would serve this
# run's program from the display of that run: wait for it to end first.
# With QUORVEX_WINE_DPI=N the desktop has N dots per inch (tests/windows/wine-at-dpi.sh) and the program
# takes its scale from it: a --scale the scenario passes is left out.
wineserver -w
exe="${QUORVEX_EXE:?QUORVEX_EXE names Quorvex.exe}"
if [ -z "${QUORVEX_WINE_DPI:-}" ]; then
  exec wine "$exe" "$@"
fi
args=()
while [ $# -gt 0 ]; do
  if [ "$1" = --scale ]; then shift 2; else args+=("$1"); shift; fi
done
exec bash "$(dirname "$0")/wine-at-dpi.sh" "$QUORVEX_WINE_DPI" wine "$exe" "${args[@]}"
