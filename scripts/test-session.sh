#!/usr/bin/env bash
# Runs one test program in a session of its own: its own X display, and its
# own Wine server over a copy of the prefix it was given (WINEPREFIX). A test
# program running at the same time can then neither move its pointer, cover
# its windows nor take its activation or keyboard focus, and what one test
# writes into the prefix is gone before the next starts.
# ctest starts every test program through this (cmake/Sondrel.cmake):
#   test-session.sh <build dir> <command...>
set -uo pipefail
build=$1
shift
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
template=${WINEPREFIX:-$build/wineprefix}
# environment.sh sets the shared prefix; the session's copy replaces it below.
SONDREL_BUILD_DIR=$build source "$root/scripts/environment.sh"

mkdir -p "$build/sessions"
session=$(mktemp -d "$build/sessions/session.XXXXXX")
end_session() {
  if [[ -d "$session/prefix" ]]; then
    WINEPREFIX="$session/prefix" wineserver -k >/dev/null 2>&1 || true
    WINEPREFIX="$session/prefix" wineserver -w >/dev/null 2>&1 || true
  fi
  local pid
  for pid in "${sondrel_pids[@]}"; do kill "$pid" >/dev/null 2>&1 || true; done
  for pid in "${sondrel_pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$session"
}
trap end_session EXIT
trap 'exit 143' TERM INT

# The registry files are real copies (copy_prefix): what the session's server
# writes never reaches the template, nor a save of the template this copy.
if [[ ! -f "$template/system.reg" ]] || ! copy_prefix "$template" "$session/prefix"; then
  echo "test-session: cannot copy the prefix $template" >&2
  exit 1
fi
# The copied folders keep their old access times, which the first read of each
# would then move on (relatime). The shell's folder browser compares the IDs
# it parsed from a path, access date included, with those of its tree, and
# misses the folder when a read came in between: read every folder now.
find "$session/prefix" -type d >/dev/null
export WINEPREFIX="$session/prefix"

SONDREL_XVFB_LOG="$session/xvfb.log" start_display || exit 1

# The session's Wine server, with Wine's system services and desktop already
# running, started here with their output discarded: started by the test,
# they would hold its output open to the session's end, and its first window
# would wait for them.
# With SONDREL_SERVER_TRACE set, the server writes every request of the
# session to that file (benchmarks/app/run_start_requests.sh).
if [[ -n "${SONDREL_SERVER_TRACE:-}" ]]; then
  wineserver -p -d1 </dev/null >/dev/null 2>"$SONDREL_SERVER_TRACE" || true
else
  wineserver -p </dev/null >/dev/null 2>&1 || true
fi
wine64 cmd /c exit </dev/null >/dev/null 2>&1 || true

"$@"
status=$?
exit $status
