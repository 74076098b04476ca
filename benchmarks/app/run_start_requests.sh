#!/usr/bin/env bash
# Counts the Wine server requests of Sondrel's start, as the run command
# starts it: those of its main thread from its first request until its main
# window shows, by request. Unlike times, the count repeats within a few
# requests from run to run and does not depend on the host's load.
#   run_start_requests.sh [seconds the program runs, default 4] [program image]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=${SONDREL_BUILD_DIR:-$root/build}
seconds=${1:-4}
trace=$(mktemp "${TMPDIR:-/tmp}/sondrel-requests.XXXXXX")
trap 'rm -f "$trace"' EXIT
SONDREL_BUILD_DIR=$build source "$root/scripts/environment.sh"
image=${2:-$program_folder/Sondrel.exe.so}
start_sound
# The session's prefix replaces the shared one (test-session.sh exports it).
SONDREL_SERVER_TRACE=$trace bash "$root/scripts/test-session.sh" "$build" \
  env WINEDLLPATH="$program_folder" timeout "$seconds" "$WINELOADER" "$image" >/dev/null 2>&1 || true
HOME="$build/pulse" pulseaudio --kill >/dev/null 2>&1 || true
python3 "$root/benchmarks/app/start_requests.py" "$trace" "$(basename "$image")"
