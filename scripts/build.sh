#!/usr/bin/env bash
# Configures (once) and builds the tree into ${SONDREL_BUILD_DIR:-build}.
# SONDREL_BUILD_TARGET names one target to build instead of everything (the
# run script builds only `sondrel_program`); SONDREL_JOBS caps the parallel
# compiles (default: one per core).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${SONDREL_BUILD_DIR:-$root/build}
# CI builds every library as unity batches: a clean build on a small machine
# is mostly parsing headers. Developers may pass -DSONDREL_UNITY_BUILD=ON too.
# CI fails on any compiler warning, whatever a developer's build does.
options=()
if [[ "${CI:-}" == "true" ]]; then
  options+=(-DSONDREL_UNITY_BUILD=ON -DSONDREL_WARNINGS_AS_ERRORS=ON)
fi
if [[ ! -f "$build/build.ninja" ]]; then
  cmake -S "$root" -B "$build" -G Ninja "${options[@]}" "$@"
fi
targets=()
[[ -n "${SONDREL_BUILD_TARGET:-}" ]] && targets=(--target "$SONDREL_BUILD_TARGET")
cmake --build "$build" -j "${SONDREL_JOBS:-$(nproc)}" "${targets[@]}"
