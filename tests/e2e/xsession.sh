#!/usr/bin/env bash
# Shared helpers for the end-to-end runs on a real X server: a private Xvfb display with
# trayer as the tray host. Source it, call xsession_start, and xsession_stop runs on exit.
set -euo pipefail

xsession_pids=()

xsession_stop() {
  for pid in "${xsession_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${xsession_pids[@]}"; do wait "$pid" 2>/dev/null || true; done
}

# Waits up to $2 seconds (default 10) for command $1 to succeed.
xsession_wait_for() {
  local tries=$(( ${2:-10} * 10 ))
  for ((i = 0; i < tries; i++)); do
    if eval "$1" >/dev/null 2>&1; then return 0; fi
    sleep 0.1
  done
  return 1
}

xsession_start() {
  local display
  for display in $(seq 90 140); do
    [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ] || break
  done
  export DISPLAY=":$display"
  Xvfb "$DISPLAY" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
  xsession_pids+=($!)
  trap xsession_stop EXIT
  xsession_wait_for "xdpyinfo -display $DISPLAY" 10 || { echo "Xvfb did not start"; return 1; }
  # trayer now and then gives up when it starts the moment the server is up: try again.
  local attempt
  for attempt in 1 2 3; do
    trayer --edge top --align right --widthtype pixel --width 200 --height 32 \
           --transparent false --tint 0x444444 --SetDockType true >/dev/null 2>&1 &
    local trayer_pid=$!
    xsession_pids+=($trayer_pid)
    xsession_wait_for "xdotool search --class trayer" 5 && break
    kill "$trayer_pid" 2>/dev/null || true
    [ "$attempt" -lt 3 ] || { echo "trayer did not start"; return 1; }
  done
  unset QT_QPA_PLATFORM
  export QT_QPA_PLATFORM=xcb
}

# Runs a command in the background as part of the session (stopped with it).
xsession_spawn() {
  "$@" &
  xsession_pids+=($!)
}
