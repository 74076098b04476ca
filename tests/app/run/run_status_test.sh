#!/usr/bin/env bash
# The run scripts' failures reach their caller: run_program returns the
# program's own exit status (a crash at start-up is no clean run), a prefix
# whose preparation failed starts no program and fails the run, and the
# registration is redone exactly when the server's file changed.
#   run_status_test.sh <source dir> <build dir>
set -uo pipefail
root=$1
# environment.sh below sets `build` to the stand-in's tree.
real_build=$2
session_prefix=$WINEPREFIX
# A build tree of its own whose program is the stand-in, beside the session's
# prefix (removed with it).
fake="$(dirname "$session_prefix")/run-status-build"
rm -rf "$fake" && mkdir -p "$fake/program"
cp "$real_build/bin/exit_status_stand_in.exe.so" "$fake/program/Sondrel.exe.so"
SONDREL_BUILD_DIR=$fake source "$root/scripts/environment.sh"
export WINEPREFIX=$session_prefix

failures=0
fail() {
  echo "FAILED: $*" >&2
  failures=$((failures + 1))
}

# Exit status of run_program in a shell of its own, as the run command and
# the tests' run_command.h call it (the latter without `set -e`).
run_status() {
  (SONDREL_BUILD_DIR=$fake SONDREL_WINEPREFIX=$session_prefix bash -c \
    'source "$1/scripts/environment.sh" && run_program "${@:2}"' _ "$root" "$@" >/dev/null 2>&1)
}

# server file | program's command line | expected status ("fails": any but 0)
cases=(
  "none|0|0"
  "none|3|3"
  "none|crash|5"
  "broken|0|fails"
)
for case in "${cases[@]}"; do
  IFS='|' read -r server arguments expected <<<"$case"
  rm -f "$fake/program/sondrelengine.dll.so" "$WINEPREFIX/sondrel-registered.txt"
  # A server file regsvr32 cannot load: registration fails.
  [[ "$server" == broken ]] && echo "not a library" >"$fake/program/sondrelengine.dll.so"
  run_status $arguments
  status=$?
  if [[ "$expected" == fails ]]; then
    ((status != 0)) || fail "server $server, program '$arguments': run_program returned 0"
  elif ((status != expected)); then
    fail "server $server, program '$arguments': run_program returned $status, expected $expected"
  fi
done

# Registration, into a prefix copy without the session's lasting server (the
# registry reaches its file when the server ends): a `wine64` that only
# records its calls and fails stands in for Wine once the real server is
# registered.
export WINEPREFIX="$fake/prefix"
copy_prefix "$session_prefix" "$WINEPREFIX" || fail "cannot copy the prefix"
rm -f "$WINEPREFIX/sondrel-registered.txt"
cp "$real_build/program/sondrelengine.dll" "$real_build/program/sondrelengine.dll.so" "$fake/program/"
SONDREL_BUILD_DIR=$fake bash "$root/scripts/register.sh" || fail "the first registration failed"
wineserver -w
shim="$(dirname "$session_prefix")/run-status-shim"
mkdir -p "$shim"
printf '#!/bin/sh\necho "$*" >>"%s/calls"\nexit 1\n' "$shim" >"$shim/wine64"
chmod +x "$shim/wine64"
# what happens to the server file | whether registration runs again
registrations=(
  "unchanged|no"
  "rebuilt|yes"
)
for case in "${registrations[@]}"; do
  IFS='|' read -r change again <<<"$case"
  rm -f "$shim/calls"
  [[ "$change" == rebuilt ]] && touch -d '+1 minute' "$fake/program/sondrelengine.dll.so"
  PATH="$shim:$PATH" SONDREL_BUILD_DIR=$fake bash "$root/scripts/register.sh" >/dev/null 2>&1
  status=$?
  ran=no
  [[ -s "$shim/calls" ]] && ran=yes
  [[ "$ran" == "$again" ]] || fail "server file $change: registration ran: $ran, expected $again"
  # The failing stand-in's registration must fail the script.
  [[ "$ran" == yes ]] && ((status == 0)) && fail "server file $change: a failed registration returned 0"
done

wineserver -k >/dev/null 2>&1
rm -rf "$fake" "$shim"
if ((failures)); then
  echo "$failures failed" >&2
  exit 1
fi
echo "run status: every failure reached the caller"
