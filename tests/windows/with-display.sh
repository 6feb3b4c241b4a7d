#!/usr/bin/env bash
# Runs a command on a private X server with a window manager, as the real-window scenarios have it: for
# the Win32 back-end's own tests under Wine.
#   with-display.sh COMMAND...
source "$(dirname "$0")/../e2e/lib.sh"
start_display
wineserver -w  # a Wine server of an earlier run serves the display of that run: wait for it to end
status=0
DISPLAY="$display" "$@" || status=$?
wineserver -w  # Wine's own processes end before their display does
exit "$status"
