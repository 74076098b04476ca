#!/usr/bin/env bash
# Runs mainroad_benchmark (startup [runs] | recording [seconds] | latency
# [seconds] | accessibility [runs]) in a session of its own (display, Wine
# server, prefix copy), with the build's sound server and its sine source up,
# as the tests run.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=${SONDREL_BUILD_DIR:-$root/build}
SONDREL_BUILD_DIR=$build source "$root/scripts/environment.sh"
start_sound
trap 'HOME="$build/pulse" pulseaudio --kill >/dev/null 2>&1 || true' EXIT
# The programs it starts take its WINEDLLPATH: only the program's folder, as
# the run command gives the program (the .exe.so started directly: winegcc's
# launcher script would put bin/ first).
bash "$root/scripts/test-session.sh" "$build" env WINEDLLPATH="$program_folder" "$WINELOADER" \
  "$build/bin/mainroad_benchmark.exe.so" "$@"
