#!/usr/bin/env bash
# Closing the title window with its close box in the middle of the introduction, while the banner is
# still sliding down: the introduction stops and the program ends cleanly (status 0, no process and no
# window left, the hidden sprite window included).
#
#   title_close_early.sh QUORVEX
source "$(dirname "$0")/../lib.sh"

open_title "${1:?usage: title_close_early.sh QUORVEX}"

banner_sliding() {
  snap "$title" || return 1
  local box
  box="$(bbox "#00ff00")"
  [ "$box" != none ] && [ "${box##* }" -lt 150 ]
}
wait_for 20 banner_sliding || fail "the banner was not seen sliding down"
note "banner lettering at $(bbox "#00ff00") when the close box is used"
close_window "$title"
wait_for_clean_exit
echo "PASS: title_close_early"
