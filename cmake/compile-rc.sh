#!/usr/bin/env bash
# Compiles a resource script and writes a depfile naming every script and
# header it includes and every file its resources load, so that a change to
# an included script or an icon rebuilds the .res (wrc writes no depfile).
# Usage: compile-rc.sh <wrc> <depfile> <res> <rc> <wrc flags...>
set -euo pipefail
wrc=$1 depfile=$2 res=$3 rc=$4
shift 4
"$wrc" "$@" -fo"$res" "$rc"

dirs=()
for arg in "$@"; do
  case $arg in -I*) dirs+=("${arg#-I}") ;; esac
done
# Line markers name the included files; a line "<id> <type> "<file>""
# loads a file, found beside the script that names it or on the path.
"$wrc" -E "$@" "$rc" 2>/dev/null | awk '
  /^# [0-9]+ "/ { current = $3; gsub(/"/, "", current); print "S\t" current; next }
  /^[ \t]*[A-Za-z0-9_]+[ \t]+[A-Za-z0-9_]+[ \t]+"[^"]+"[ \t]*$/ {
    file = $0; sub(/^[^"]*"/, "", file); sub(/".*$/, "", file)
    print "F\t" current "\t" file
  }' | while IFS=$'\t' read -r kind a b; do
  if [[ $kind == S ]]; then
    [[ -f $a ]] && realpath "$a"
    continue
  fi
  for dir in "$(dirname "$a")" "${dirs[@]}"; do
    if [[ -f $dir/$b ]]; then
      realpath "$dir/$b"
      break
    fi
  done
done | sort -u | {
  printf '%s:' "$res"
  while read -r dep; do
    printf ' \\\n  %s' "${dep// /\\ }"
  done
  printf '\n'
} >"$depfile"
