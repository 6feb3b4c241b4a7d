#!/usr/bin/env bash
# Starts Quorvex.exe under Wine, as the real-window scenarios start the Linux program: they are given
# this script in its place. QUORVEX_EXE names the executable; WINEPREFIX the prefix the test run made.
# A Wine server left from the run before (it ends a few seconds after its last program) would serve this
# run's program from the display of that run: wait for it to end first.
wineserver -w
exec wine "${QUORVEX_EXE:?QUORVEX_EXE names Quorvex.exe}" "$@"
