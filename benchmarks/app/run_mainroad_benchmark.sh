#!/usr/bin/env bash
# Runs mainroad_benchmark (startup [runs] | recording [seconds]) in a session
# of its own (display, Wine server, prefix copy), with the build's sound
# server and its sine source up, as the tests run.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=${SONDREL_BUILD_DIR:-$root/build}
SONDREL_BUILD_DIR=$build source "$root/scripts/environment.sh"
start_sound
trap 'HOME="$build/pulse" pulseaudio --kill >/dev/null 2>&1 || true' EXIT
bash "$root/scripts/test-session.sh" "$build" "$build/bin/mainroad_benchmark.exe" "$@"
