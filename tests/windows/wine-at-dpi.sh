#!/usr/bin/env bash
# Runs a command whose Wine programs see a screen of DPI dots per inch: in a copy of the prefix
# (WINEPREFIX) whose desktop says so (LogPixels), WINEPREFIX-dpiDPI, made afresh each time. The copy links
# the prefix's files and copies only its registry, which is all that differs; the prefix itself stays as
# it was. The command takes this script's place (its process id too, which the scenarios look windows up
# by); the copy stays until the next run replaces it.
#   wine-at-dpi.sh DPI COMMAND...
set -euo pipefail
dpi="$1"
shift
base="${WINEPREFIX:?WINEPREFIX names the Wine prefix to copy}"
copy="$base-dpi$dpi"
rm -rf "$copy"
cp -al "$base" "$copy"
for reg in "$copy"/*.reg; do cp --remove-destination "$base/$(basename "$reg")" "$reg"; done
export WINEPREFIX="$copy"
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null
wineserver -w  # the registry is written back to the copy: every later start reads that DPI
exec "$@"
