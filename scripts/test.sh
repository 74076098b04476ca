#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite under a
# private display, sound server and Wine prefix. Exits non-zero on any failure.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/install-deps.sh"
bash "$root/scripts/build.sh"

source "$root/scripts/environment.sh"
trap stop_all EXIT
start_display
start_sound
prepare_prefix
prepare_test_prefixes
# Sessions a killed test left behind (scripts/test-session.sh).
rm -rf "$build/sessions"

ctest --test-dir "$build" --output-on-failure --no-tests=error -j "${SONDREL_JOBS:-$(nproc)}" "$@"
