#!/usr/bin/env bash
# Quorvex.exe under Wine answers its command line as the Linux program does, and its usage tells the
# Windows truth: its own file name and the monitor's scale, nothing of the X desktop's settings.
#   command_line.sh <Quorvex.exe>
set -uo pipefail
exe="$1"
fail() { echo "FAIL: $*"; exit 1; }
[ "$(wine "$exe" --version)" = 'Quorvex 1.00' ] || fail "--version"
help="$(wine "$exe" -h | tr -d '\r')"
grep -q '^Usage: Quorvex.exe \[--scale N' <<<"$help" || fail "the usage does not name Quorvex.exe: $help"
grep -q "the monitor's own scale" <<<"$help" || fail "the usage does not name the monitor's scale"
! grep -q 'Xft\|GDK_SCALE' <<<"$help" || fail "the usage names the X desktop's settings"
wine "$exe" --bogus 2>/dev/null; [ $? -eq 2 ] || fail "an unknown argument is not refused with status 2"
wine "$exe" --scale 5 2>/dev/null; [ $? -eq 2 ] || fail "--scale 5 is not refused with status 2"
echo "Quorvex.exe's command line: as expected"
