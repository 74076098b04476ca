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
# What was registered into this prefix, one server file with its size and
# time a line: regsvr32 starts a Wine server of its own (about a second of
# every start), so a server whose file has not changed since its last
# registration, and whose classes the registry still names, is left alone.
registered="$WINEPREFIX/sondrel-registered.txt"
status=0
# The servers are registered from the program's own folder, as installed.
folder="$build/program"
for dll in "${servers[@]}"; do
  file="$folder/$dll.so"
  if [[ ! -f "$file" ]]; then
    echo "register.sh: $dll is not built yet; skipped" >&2
    continue
  fi
  stamp="$(stat -c '%s %Y' "$file") $file"
  if grep -qxF -- "$stamp" "$registered" 2>/dev/null && grep -qiF -- "\\$dll\"" "$WINEPREFIX/system.reg" 2>/dev/null; then
    continue
  fi
  # Wine finds a Winelib DLL through its fake PE file on the search path, of
  # which the current folder is one. It registers the server as a builtin of
  # system32: a process finds its code through its own WINEDLLPATH.
  if ! (cd "$folder" && WINEDLLPATH="$folder" wine64 regsvr32 /s "$dll" >/dev/null 2>&1); then
    echo "register.sh: registering $dll failed" >&2
    status=1
    continue
  fi
  { grep -vF -- " $file" "$registered" 2>/dev/null; echo "$stamp"; } >"$registered.new" && mv "$registered.new" "$registered"
done
exit $status
