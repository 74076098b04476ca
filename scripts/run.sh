#!/usr/bin/env bash
# Installs what is missing, builds and starts Sondrel under Wine on the
# user's display; returns when the program and the Wine processes it started
# have ended, so that it can be run again at once.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/install-deps.sh"
SONDREL_BUILD_TARGET=sondrel_program bash "$root/scripts/build.sh"

source "$root/scripts/environment.sh"
if ! pactl info >/dev/null 2>&1; then
  echo "No sound server is running: Sondrel will list no capture devices." >&2
fi
run_program "$@"
