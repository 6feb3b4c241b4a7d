#!/usr/bin/env bash
# Started with too little memory, the program never ends by a signal: wherever memory runs out from the
# start of its own code to the title window, it ends with status 1 and one line of its own on standard
# error naming the error ("Out of memory"), or it runs on (the error box, or the title, is then shown).
# Limits below the lowest at which its own code starts at all (the libraries' loading) are not its own.
#   memory_limits.sh <quorvex>
source "$(dirname "$0")/../lib.sh"
exe="$1"

limited() {  # limited KiB ARGS...: the program under an address-space limit; its status on stdout
  local status=0
  (ulimit -v "$1" && shift && DISPLAY="$display" exec timeout -k 2 3 "$exe" "$@") \
    >"$work/limited.out" 2>"$work/limited.err" || status=$?
  echo "$status"
}

start_display
# The floor: the lowest limit, in steps of 250 KiB, at which the program's own code runs (--version).
floor=16000
until [ "$(limited "$floor" --version)" -eq 0 ]; do
  floor=$((floor + 250))
  [ "$floor" -lt 200000 ] || fail "the program does not start even with 200 MB"
done
note "its own code starts from $floor KiB"

ran_on=0
for limit in $(seq "$floor" 500 $((floor + 14000))); do
  status="$(limited "$limit")"
  ours="$(grep -c '^quorvex: ' "$work/limited.err" || true)"
  case "$status" in
    1) [ "$ours" -eq 1 ] || fail "at $limit KiB: status 1 with $ours lines of its own: $(cat "$work/limited.err")"
       grep -q '^quorvex: .*Out of memory' "$work/limited.err" ||
         fail "at $limit KiB the cause is misreported: $(grep '^quorvex: ' "$work/limited.err")" ;;
    124) [ "$ours" -le 1 ] || fail "at $limit KiB: running on after $ours lines of its own"
         ran_on=$((ran_on + 1)) ;;
    *) fail "at $limit KiB: ended with status $status: $(head -c 400 "$work/limited.err")" ;;
  esac
done
[ "$ran_on" -gt 0 ] || fail "the program never ran on: the sweep did not reach a limit it can live with"
echo "PASS: no limit from $floor KiB up ends by a signal ($ran_on ran on)"
