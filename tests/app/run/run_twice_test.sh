#!/usr/bin/env bash
# `bash scripts/run.sh`, as the README gives it, run twice in a row in a new
# prefix on the session's display: each start shows the main window, Alt+F4
# (the window has no caption to click without a window manager) ends the
# program, the run command then returns, and no process of its prefix is left:
# no Wine server, no Wine program, no desktop.
#   run_twice_test.sh <source dir> <build dir>
set -uo pipefail
root=$1
build=$2
# The session's prefix and display; the run gets a prefix of its own beside
# the session's, removed with it.
session_prefix=$WINEPREFIX
run_prefix="$(dirname "$session_prefix")/run-prefix"
SONDREL_BUILD_DIR=$build source "$root/scripts/environment.sh"
export WINEPREFIX=$session_prefix

failures=0
fail() {
  echo "FAILED: $*" >&2
  failures=$((failures + 1))
}
run_pid=
end_test() {
  [[ -n "$run_pid" ]] && kill "$run_pid" 2>/dev/null
  WINEPREFIX="$run_prefix" wineserver -k >/dev/null 2>&1
  WINEPREFIX="$run_prefix" wineserver -w >/dev/null 2>&1
}
trap end_test EXIT

# The visible X window of the name, waited for up to $2 seconds.
wait_for_window() {
  local name=$1 seconds=$2 window
  for _ in $(seq $((seconds * 5))); do
    window=$(xdotool search --onlyvisible --name "^$name\$" 2>/dev/null | head -n 1)
    [[ -n "$window" ]] && { echo "$window"; return 0; }
    kill -0 "$run_pid" 2>/dev/null || return 1
    sleep 0.2
  done
  return 1
}

# How much the window's pixels vary: 0 for a blank (all black) window.
pixel_spread() {
  xwd -silent -id "$1" 2>/dev/null | convert xwd:- -format '%[fx:standard_deviation]' info: 2>/dev/null
}

# Alt+F4 on the window, focused as a click would focus it.
close_window() {
  timeout 10 xdotool windowfocus --sync "$1" 2>/dev/null
  sleep 0.3
  xdotool key --clearmodifiers alt+F4
}

# Whether the background run command ended within $1 seconds.
wait_for_run() {
  for _ in $(seq $(($1 * 5))); do
    kill -0 "$run_pid" 2>/dev/null || return 0
    sleep 0.2
  done
  return 1
}

run_once() {
  local label=$1 log="$(dirname "$session_prefix")/run-$1.log" main about spread left
  SONDREL_BUILD_DIR=$build SONDREL_WINEPREFIX=$run_prefix bash "$root/scripts/run.sh" </dev/null >"$log" 2>&1 &
  run_pid=$!
  # The first run makes the prefix (wineboot) before the program starts.
  if ! main=$(wait_for_window Sondrel 180); then
    fail "$label run: no Sondrel window"
    cat "$log" >&2
    return
  fi
  sleep 2
  spread=$(pixel_spread "$main")
  if [[ -z "$spread" ]] || awk -v s="$spread" 'BEGIN { exit !(s < 0.02) }'; then
    fail "$label run: the main window shows nothing (pixel spread '$spread')"
  fi
  # The first start in a new prefix opens the about box over the window.
  if [[ "$label" == first ]]; then
    if about=$(wait_for_window 'About Sondrel' 20); then
      close_window "$about"
      sleep 1
    else
      fail "$label run: no about box at the first start"
    fi
  fi
  close_window "$main"
  local closed=$SECONDS
  if ! wait_for_run 60; then
    fail "$label run: the run command did not return after Alt+F4"
    return
  fi
  wait "$run_pid" || fail "$label run: the run command failed ($?)"
  echo "$label run: window shown (pixel spread $spread), closed; the run command returned $((SECONDS - closed)) s later"
  run_pid=
  left=$(prefix_processes "$run_prefix")
  if [[ -n "$left" ]]; then
    fail "$label run: processes of its prefix left behind"
    ps -o pid,args -p "$(echo $left | tr ' ' ',')" >&2
  fi
}

run_once first
run_once second
if ((failures)); then
  exit 1
fi
echo "run twice: both runs showed the window and left nothing behind"
