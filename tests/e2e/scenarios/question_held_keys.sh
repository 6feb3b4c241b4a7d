#!/usr/bin/env bash
# The game-over question and keys held since before it opened, on a private X server whose auto-repeat
# is on, with a window manager that gives the question the focus (see tests/sdl/x11/held_keys.cpp).
#   question_held_keys.sh <quorvex_sdl_held_keys>
source "$(dirname "$0")/../lib.sh"
start_display
x xset r on 2>/dev/null || true
x "${1:?usage: question_held_keys.sh PROGRAM}" || fail "a held key acted on the question"
echo "PASS: keys held from before the question answer nothing"
