#!/usr/bin/env bash
# Shared helpers for the end-to-end runs on a real X server: a private Xvfb display with
# trayer as the tray host. Source it, call xsession_start, and xsession_stop runs on exit.
set -euo pipefail

xsession_pids=()
xsession_home=""
xsession_dovecot_pid=""

xsession_stop() {
  for pid in "${xsession_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${xsession_pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  # Last: the programs started after Dovecot hold its standard input open too.
  if [ -n "$xsession_dovecot_pid" ]; then
    exec 5>&- || true
    xsession_wait_for "! kill -0 $xsession_dovecot_pid" 15 || true
  fi
  [ -z "$xsession_home" ] || rm -rf "$xsession_home"
}

# A throwaway home for the program under test: its own config, data and runtime folders, as
# on a machine it never ran on. Removed by xsession_stop.
xsession_fresh_home() {
  xsession_home=$(mktemp -d)
  export HOME=$xsession_home XDG_CONFIG_HOME=$xsession_home/.config
  export XDG_DATA_HOME=$xsession_home/.local/share XDG_RUNTIME_DIR=$xsession_home/run
  export XDG_STATE_HOME=$xsession_home/.local/state
  mkdir -m 700 -p "$XDG_RUNTIME_DIR" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME"
}

# The INI lines on standard input become the user's settings file, private to the user as
# the program keeps it.
xsession_settings() {
  local file=$XDG_CONFIG_HOME/Brisvane/Brisvane.ini
  mkdir -p "$XDG_CONFIG_HOME/Brisvane"
  cat > "$file"
  chmod 600 "$file"
}

# The settings of a user who ran the program before and dials simulated entry $1, at start-up
# when $2 is 1. INI lines on standard input are added at the end.
xsession_dial_settings() {
  { cat <<INI
[Settings]
FirstTime=FirstTime
[DialUp]
Service=simulated
[DefaultConnection]
Connection=$1
[ConnectiononStartup]
Startup=$2
INI
    cat; } | xsession_settings
}

# The settings of a user who ran the program before, dials the simulated line with a single
# click on the icon and gets the dialog forward when dialling from the tray. INI lines on
# standard input are added at the end.
xsession_simulated_line_settings() {
  { cat <<'INI'
[Settings]
FirstTime=FirstTime
[DialUp]
Service=simulated
[ConnectSingleClick]
SingleClick=1
[ShowConnect]
Connect=1
[DefaultConnection]
Connection=Simulated line
INI
    cat; } | xsession_settings
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

# The X server, a private session bus and the tray. Without a bus of its own, the first D-Bus
# call would autolaunch one for the display (and a notification daemon on it) that outlives
# the run.
xsession_start() {
  xsession_start_server
  xsession_start_bus
  xsession_start_tray
}

# The X server alone: no tray host, no window manager. Sets DISPLAY and the xcb platform.
# XSESSION_SCREEN sets the screen (default 1280x800x24).
xsession_start_server() {
  # Xvfb picks a free display itself and writes its number to the pipe once it listens, so
  # runs side by side never share a server. -noreset: without it the server resets when its
  # last client (the readiness probe) leaves, and refuses the next one meanwhile.
  local fifo display
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 "${XSESSION_SCREEN:-1280x800x24}" -nolisten tcp -noreset 3>"$fifo" >/dev/null 2>&1 &
  xsession_pids+=($!)
  trap xsession_stop EXIT
  display=$(timeout 20 head -n1 "$fifo" || true)
  rm -f "$fifo"
  export DISPLAY=":${display:-none}"
  xsession_wait_for "xdpyinfo -display $DISPLAY" 10 || { echo "Xvfb did not start"; return 1; }
  unset QT_QPA_PLATFORM
  export QT_QPA_PLATFORM=xcb
}

# trayer as the XEmbed tray host.
xsession_start_tray() {
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
}

# twm as the window manager (it keeps WM_STATE, so iconic and withdrawn windows tell apart),
# placing windows itself, with the server's one font.
xsession_start_wm() {
  local rc
  rc=$(mktemp)
  printf '%s\n' RandomPlacement 'UsePPosition "on"' NoGrabServer 'TitleFont "fixed"' \
    'ResizeFont "fixed"' 'MenuFont "fixed"' 'IconFont "fixed"' 'IconManagerFont "fixed"' >"$rc"
  LC_ALL=C twm -f "$rc" >/dev/null 2>&1 &
  xsession_pids+=($!)
  xsession_wait_for "xprop -root | grep -q '^_MIT_PRIORITY_COLORS\|^WM_ICON_SIZE'" 10 \
    || { echo "twm did not start"; return 1; }
  rm -f "$rc"
}

# A session bus of the run's own with nobody on it (no StatusNotifier watcher or host).
xsession_start_bus() {
  local address=unix:path=$(mktemp -u)
  # Exported first: services the bus starts (dunst) inherit it and use this bus.
  export DBUS_SESSION_BUS_ADDRESS=$address
  dbus-daemon --session --nofork --nopidfile --address="$address" >/dev/null 2>&1 &
  xsession_pids+=($!)
  xsession_wait_for "dbus-send --session --dest=org.freedesktop.DBus --print-reply / org.freedesktop.DBus.GetId" 10 \
    || { echo "dbus-daemon did not start"; return 1; }
}

# The window id of bvane's icon docked in trayer (a window of class bvane at most 40 pixels
# wide and high: not a menu that was shown once), or nothing.
xsession_tray_icon() {
  xwininfo -root -tree | awk '/\("bvane" "Brisvane"\)/ {
    for (i = 1; i <= NF; i++) if ($i ~ /^[0-9]+x[0-9]+\+/) { split($i, g, /[x+]/);
      if (g[1] <= 40 && g[2] <= 40) { print $1; exit } } }'
}

# The settings of a user who dials entry $1 at start-up and, after connecting, checks the
# private Dovecot's account "ann" on port $2 (as "Home", headers listed). INI lines on standard
# input are added at the end.
xsession_mail_settings() {
  { cat <<INI
[CustomizeBrisvaneReminder]
Reminder=False
[MailConnected]
Connected=1
[MessageHeadersOnly]
HeadersOnly=1
[MailSlot]
Slot=1
[AccountName1]
1=Home
[UserName1]
1=ann
[Password1]
1=open sesame
[Domain1]
1=127.0.0.1:$2
INI
    cat; } | xsession_dial_settings "$1" 1
}

# The tests' private Dovecot (the bvane-dovecot-fixture program $1, its log in $2) for user $3
# with password $4, holding one message per FROM SUBJECT pair after them. Sets dovecot_port.
# It serves until xsession_stop closes its standard input; then Dovecot stops with it.
xsession_start_dovecot() {
  local fixture=$1 log=$2
  shift 2
  exec 5> >(exec "$fixture" "$@" >"$xsession_home/port" 2>"$log")
  xsession_dovecot_pid=$!
  if ! xsession_wait_for "[ -s $xsession_home/port ]" 60; then
    echo "FAIL: Dovecot did not start"; cat "$log"; exit 1
  fi
  dovecot_port=$(cat "$xsession_home/port")
}

# Runs a command in the background as part of the session (stopped with it).
xsession_spawn() {
  "$@" &
  xsession_pids+=($!)
}

# The accessibility bus on the run's session bus, and Qt on it (it joins only when asked).
xsession_start_a11y() {
  /usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
  xsession_pids+=($!)
  xsession_wait_for "dbus-send --session --dest=org.a11y.Bus --print-reply /org/a11y/bus org.a11y.Bus.GetAddress" 10 \
    || { echo "at-spi-bus-launcher did not start"; return 1; }
  export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1
}
