#!/usr/bin/env bash
# Registers the build's in-process COM servers in the Wine prefix, so that any
# process creates their classes by CLSID. Called by prepare_prefix (with the
# environment of scripts/environment.sh); safe to run again after a rebuild.
set -euo pipefail
root=${root:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
if [[ -z "${WINEPREFIX:-}" ]]; then
  source "$root/scripts/environment.sh"
fi
build=${SONDREL_BUILD_DIR:-$root/build}

servers=(sondrelengine.dll)
status=0
for dll in "${servers[@]}"; do
  if [[ ! -f "$build/bin/$dll.so" ]]; then
    echo "register.sh: $dll is not built yet; skipped" >&2
    continue
  fi
  # Wine finds a Winelib DLL through its fake PE file on the search path, of
  # which the current folder is one; the server then registers its full path.
  if ! (cd "$build/bin" && WINEDLLPATH="$build/bin" wine64 regsvr32 /s "$dll" >/dev/null 2>&1); then
    echo "register.sh: registering $dll failed" >&2
    status=1
  fi
done
exit $status
