# Sourced by the run and test scripts: the Wine prefix inside the build tree
# and the services a run of the program needs. Defines start_* and stop_all.
root=${root:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
build=${SONDREL_BUILD_DIR:-$root/build}
export WINE_TOOLS_DIR=/usr/lib/wine
export PATH="$WINE_TOOLS_DIR:$PATH"
export WINELOADER="$WINE_TOOLS_DIR/wine64"
export WINEPREFIX="$build/wineprefix"
export WINEDEBUG=-all
export WINEDLLPATH="$build/bin"
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

# The Wine prefix, made once and brought up to date with our registrations.
prepare_prefix() {
  if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
    wine64 wineboot -i >/dev/null 2>&1 || true
  fi
  if [[ -x "$root/scripts/register.sh" ]]; then
    "$root/scripts/register.sh"
  fi
  wineserver -w
  prepare_dpi_prefix 144
  prepare_unthemed_prefix
  prepare_program_prefix
  start_wineservers
}

# One persistent server per prefix, with Wine's system services already
# running, both started here with their output discarded: started by a test,
# they would inherit that test's output pipe, and ctest would wait for them
# long after the test ended.
start_wineservers() {
  local prefix
  start_desktop_keeper_pipe
  for prefix in "$WINEPREFIX" "$build"/wineprefix-dpi* "$build"/wineprefix-unthemed "$build"/wineprefix-program; do
    [[ -d "$prefix" ]] || continue
    WINEPREFIX="$prefix" wineserver -p </dev/null >/dev/null 2>&1 || true
    WINEPREFIX="$prefix" wine64 cmd /c exit </dev/null >/dev/null 2>&1 || true
    # The desktop process (explorer) starts with the first program that needs
    # it and ends a second after the last one leaves. Started by a test, it
    # holds that test's output open to the end of the run, so ctest waits for
    # the test as long. A console program that waits on a pipe keeps one
    # desktop, started here with no output, alive for the whole run.
    WINEPREFIX="$prefix" wine64 cmd /c pause <"$sondrel_keeper_pipe" >/dev/null 2>&1 &
    sondrel_pids+=($!)
  done
}

# A pipe that never delivers a byte while the run lasts, for the desktop keepers.
start_desktop_keeper_pipe() {
  [[ -n "${sondrel_keeper_fd:-}" ]] && return 0
  sondrel_keeper_pipe="$build/desktop-keeper.fifo"
  rm -f "$sondrel_keeper_pipe"
  mkfifo "$sondrel_keeper_pipe"
  exec {sondrel_keeper_fd}<>"$sondrel_keeper_pipe"
}

# A copy of the prefix whose screen runs at a raised DPI, for tests that must
# show both.
prepare_dpi_prefix() {
  local dpi=$1 copy="$build/wineprefix-dpi$1"
  rm -rf "$copy"
  # Hard links keep the copy cheap (the prefix is mostly system DLLs); the
  # registry files, which differ, are real copies.
  cp -al "$WINEPREFIX" "$copy"
  local reg
  for reg in "$WINEPREFIX"/*.reg; do cp --remove-destination "$reg" "$copy/"; done
  WINEPREFIX="$copy" wine64 reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1 || true
  WINEPREFIX="$copy" wineserver -w
}

# A copy of the prefix with the visual style switched off, for tests of the
# toolkit's unthemed fallbacks.
prepare_unthemed_prefix() {
  local copy="$build/wineprefix-unthemed"
  rm -rf "$copy"
  cp -al "$WINEPREFIX" "$copy"
  local reg
  for reg in "$WINEPREFIX"/*.reg; do cp --remove-destination "$reg" "$copy/"; done
  WINEPREFIX="$copy" wine64 reg add 'HKCU\Software\Microsoft\Windows\CurrentVersion\ThemeManager' /v ThemeActive /t REG_SZ /d 0 /f >/dev/null 2>&1 || true
  WINEPREFIX="$copy" wineserver -w
}

# A copy of the prefix that only the program's start-up test uses: the
# program writes its settings and folders there as in a new user's prefix.
prepare_program_prefix() {
  local copy="$build/wineprefix-program"
  rm -rf "$copy"
  cp -al "$WINEPREFIX" "$copy"
  local reg
  for reg in "$WINEPREFIX"/*.reg; do cp --remove-destination "$reg" "$copy/"; done
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
  if [[ -n "${sondrel_keeper_fd:-}" ]]; then
    exec {sondrel_keeper_fd}>&-
    unset sondrel_keeper_fd
    rm -f "$sondrel_keeper_pipe"
  fi
}
