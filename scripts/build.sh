#!/usr/bin/env bash
# Configures (once) and builds the tree into ${SONDREL_BUILD_DIR:-build}.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${SONDREL_BUILD_DIR:-$root/build}
if [[ ! -f "$build/build.ninja" ]]; then
  cmake -S "$root" -B "$build" -G Ninja "$@"
fi
cmake --build "$build" -j "$(nproc)"
