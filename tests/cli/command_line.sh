#!/usr/bin/env bash
# The version, usage and a bad argument are answered before any window opens; an unknown argument is
# refused wherever it stands, and an answer that cannot be written is a failure.
#   command_line.sh <quorvex>
set -uo pipefail
exe="$1"
fail() { echo "FAIL: $*"; exit 1; }
expect_status() {  # <status> <arguments...>
  local want="$1"; shift
  "$exe" "$@" >/dev/null 2>&1
  local got=$?
  [ "$got" -eq "$want" ] || fail "'$*' ended with status $got, not $want"
}

[ "$("$exe" --version)" = 'Quorvex 1.00' ] || fail "--version"
"$exe" --help | grep -q '^Usage: quorvex' || fail "--help names the program"
"$exe" --help | grep -q -- '--scale N' || fail "--help names --scale"
[ "$("$exe" -h)" = "$("$exe" --help)" ] || fail "-h is --help"
expect_status 2 --bogus
expect_status 2 --version --bogus
for bad in 0 5 x 2x; do expect_status 2 --scale "$bad"; done
expect_status 2 --scale
[ "$("$exe" --bogus 2>&1 >/dev/null)" = "quorvex: unknown argument '--bogus' (try --help)" ] || fail "the refusal's line"
"$exe" --version >/dev/full; [ $? -eq 1 ] || fail "an answer written to a full device"
"$exe" --version >&-; [ $? -eq 1 ] || fail "an answer with standard output closed"
echo "command line: as expected"
