# Sourced by the run and test scripts: the Wine prefix inside the build tree
# (or SONDREL_WINEPREFIX) and the services a run of the program needs.
# Defines start_*, the prefixes' preparation, run_program and stop_all.
root=${root:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
build=${SONDREL_BUILD_DIR:-$root/build}
export WINE_TOOLS_DIR=/usr/lib/wine
export PATH="$WINE_TOOLS_DIR:$PATH"
export WINELOADER="$WINE_TOOLS_DIR/wine64"
export WINEPREFIX="${SONDREL_WINEPREFIX:-$build/wineprefix}"
export WINEDEBUG=-all
# Test and benchmark programs run from bin/ and find their DLLs there; the
# program runs from a folder of its own, as installed (run_program).
export WINEDLLPATH="$build/bin"
program_folder="$build/program"
export WINEDLLOVERRIDES="mscoree,mshtml="

sondrel_pids=()

# A private X display for the run (each test program gets one more of its
# own: scripts/test-session.sh).
start_display() {
  local n
  for n in $(seq 90 999); do
    [[ -e /tmp/.X11-unix/X$n || -e /tmp/.X$n-lock ]] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >"${SONDREL_XVFB_LOG:-$build/xvfb.log}" 2>&1 &
    local pid=$!
    for _ in $(seq 50); do
      # Another run may have taken the same number a moment earlier: then
      # this server has ended, and the next number is tried.
      kill -0 "$pid" 2>/dev/null || continue 2
      if [[ -e /tmp/.X11-unix/X$n && "$(tr -d ' ' </tmp/.X$n-lock 2>/dev/null)" == "$pid" ]]; then
        sondrel_pids+=("$pid")
        export DISPLAY=":$n"
        return 0
      fi
      sleep 0.1
    done
    kill "$pid" 2>/dev/null || true
  done
  echo "could not start Xvfb" >&2
  return 1
}

# A private sound server with a null sink and a sine-wave capture source.
start_sound() {
  export PULSE_RUNTIME_PATH="$build/pulse/run"
  export PULSE_STATE_PATH="$build/pulse/state"
  export PULSE_SERVER="unix:$PULSE_RUNTIME_PATH/native"
  mkdir -p "$PULSE_RUNTIME_PATH" "$PULSE_STATE_PATH"
  HOME="$build/pulse" pulseaudio --kill >/dev/null 2>&1 || true
  HOME="$build/pulse" pulseaudio --daemonize=yes --exit-idle-time=-1 -n \
    --use-pid-file=yes --log-target=file:"$build/pulse/pulseaudio.log" \
    --load=module-native-protocol-unix \
    "--load=module-null-sink sink_name=sondrel_sink" \
    "--load=module-sine-source source_name=sondrel_sine rate=44100 frequency=440"
  for _ in $(seq 50); do
    pactl info >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  echo "could not start PulseAudio" >&2
  return 1
}

# The program's Wine prefix, made once and brought up to date with our
# registrations: all that a run of the program needs, and the template that
# the tests copy. Fails when a step fails: a prefix without the registrations
# would only fail later, inside the program.
prepare_prefix() {
  if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
    if ! wine64 wineboot -i >/dev/null 2>&1; then
      echo "could not make the Wine prefix $WINEPREFIX" >&2
      return 1
    fi
  fi
  if [[ -x "$root/scripts/register.sh" ]]; then
    "$root/scripts/register.sh" || return 1
  fi
  install_program_data
}

# The program's shared data where it looks for it: its skin in the common
# program files' "Quorvane\Skins".
install_program_data() {
  local skins="$WINEPREFIX/drive_c/Program Files/Common Files/Quorvane/Skins"
  [[ -f "$program_folder/Skins/vista.qvstyles" ]] || return 0
  mkdir -p "$skins" && cp -f "$program_folder/Skins/vista.qvstyles" "$skins/"
}

# The prefixes only tests use, copied from the prepared program prefix once
# its server has saved and ended.
prepare_test_prefixes() {
  wineserver -w
  prepare_dpi_prefix 144 && prepare_unthemed_prefix && prepare_undecorated_prefix &&
    copy_prefix "$WINEPREFIX" "$build/wineprefix-program"
}

# copy_prefix <prefix> <copy>: hard links keep a copy cheap (a prefix is mostly
# system DLLs). The registry files are real copies, never linked even for a
# moment: Wine's server rewrites a registry file that has a second link in
# place instead of replacing it, so a copy taken while a server of the prefix
# saves would hold a registry cut off halfway.
copy_prefix() {
  local from=$1 to=$2 entry
  rm -rf "$to"
  mkdir "$to" || return 1
  shopt -s dotglob nullglob
  for entry in "$from"/*; do
    if [[ "$entry" == *.reg ]]; then
      cp "$entry" "$to/" || { shopt -u dotglob nullglob; return 1; }
    else
      cp -al "$entry" "$to/" || { shopt -u dotglob nullglob; return 1; }
    fi
  done
  shopt -u dotglob nullglob
}

# set_prefix_value <prefix> <key> <name> <type> <data>: one registry value
# written into a prefix copy; its server saves it when it ends (wait for it).
set_prefix_value() {
  if ! WINEPREFIX="$1" wine64 reg add "$2" /v "$3" /t "$4" /d "$5" /f >/dev/null 2>&1; then
    echo "could not set $2\\$3 in the prefix $1" >&2
    return 1
  fi
}

# A copy of the prefix whose screen runs at a raised DPI, for tests that must
# show both.
prepare_dpi_prefix() {
  local copy="$build/wineprefix-dpi$1"
  copy_prefix "$WINEPREFIX" "$copy" &&
    set_prefix_value "$copy" 'HKCU\Control Panel\Desktop' LogPixels REG_DWORD "$1" &&
    WINEPREFIX="$copy" wineserver -w
}

# A copy of the prefix with the visual style switched off, for tests of the
# toolkit's unthemed fallbacks.
prepare_unthemed_prefix() {
  local copy="$build/wineprefix-unthemed"
  copy_prefix "$WINEPREFIX" "$copy" &&
    set_prefix_value "$copy" 'HKCU\Software\Microsoft\Windows\CurrentVersion\ThemeManager' ThemeActive REG_SZ 0 &&
    WINEPREFIX="$copy" wineserver -w
}

# A copy where Wine leaves captions to the program and keeps windows out of
# the window manager's hands: without one, a drawn caption lies off screen
# and Wine undoes a maximize that no manager confirms. Frame tests run there.
prepare_undecorated_prefix() {
  local copy="$build/wineprefix-undecorated"
  copy_prefix "$WINEPREFIX" "$copy" &&
    set_prefix_value "$copy" 'HKCU\Software\Wine\X11 Driver' Decorated REG_SZ N &&
    set_prefix_value "$copy" 'HKCU\Software\Wine\X11 Driver' Managed REG_SZ N &&
    WINEPREFIX="$copy" wineserver -w
}

# The Wine processes of a prefix, its server among them, one id a line: the
# Wine loaders and servers whose environment names the prefix.
prefix_processes() {
  local prefix=${1:-$WINEPREFIX} dir var
  for dir in /proc/[0-9]*; do
    [[ "$dir/exe" -ef "$WINE_TOOLS_DIR/wine64" || "$dir/exe" -ef "$WINE_TOOLS_DIR/wine64-preloader" ||
      "$dir/exe" -ef "$WINE_TOOLS_DIR/wineserver64" ]] || continue
    while IFS= read -r -d '' var; do
      if [[ "$var" == "WINEPREFIX=$prefix" ]]; then
        echo "${dir#/proc/}"
        break
      fi
    done 2>/dev/null <"$dir/environ" || true
  done
}

# Prepares the prefix and runs the program in it from its own folder, as the
# run command does; returns the program's exit status (a prefix that could
# not be prepared starts no program and fails) once it and everything it
# started in the prefix have ended (Wine's services, its desktop and its
# server outlive the program by a few seconds). A server that already served
# other programs of the prefix (a second run while the first is open, a test)
# is theirs, and is not waited for.
run_program() {
  local others status=0
  others=$(prefix_processes)
  prepare_prefix || return
  # From its own folder, with only that folder for its Winelib DLLs' code.
  WINEDLLPATH="$program_folder" "$WINELOADER" "$program_folder/Sondrel.exe.so" "$@" || status=$?
  [[ -n "$others" ]] || wineserver -w
  return $status
}

stop_all() {
  if [[ -n "${WINEPREFIX:-}" ]]; then
    wineserver -k >/dev/null 2>&1 || true
    local copy
    for copy in "$build"/wineprefix-dpi* "$build"/wineprefix-unthemed "$build"/wineprefix-program; do
      [[ -d "$copy" ]] && WINEPREFIX="$copy" wineserver -k >/dev/null 2>&1 || true
    done
  fi
  [[ -n "${PULSE_RUNTIME_PATH:-}" ]] && HOME="$build/pulse" pulseaudio --kill >/dev/null 2>&1 || true
  local pid
  for pid in "${sondrel_pids[@]}"; do kill "$pid" >/dev/null 2>&1 || true; done
  sondrel_pids=()
}
