#!/usr/bin/env bash
# Desktop notifications against a real notification server: dunst on Xvfb, on a private
# session bus whose Notify calls dbus-monitor records. The program dials the simulated line
# that drops after a minute and checks a private Dovecot account after connecting: the new
# mail names its messages (and never the password), the lost line is announced; with "Show
# desktop notifications" cleared the same check sends nothing. Keeps a screenshot of the
# new-mail notification as dunst draws it.
# Usage: bvane_desktop_notices.sh BVANE DOVECOT_FIXTURE ARTIFACT_DIR
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/xsession.sh"
bvane=$1
fixture=$2
out=$3
mkdir -p "$out"
rm -f "$out"/*.png "$out"/*.log
xsession_fresh_home
xsession_start

xsession_start_dovecot "$fixture" "$out/dovecot.log" ann 'open sesame' \
  'Alice Example <alice@example.org>' 'Quarterly figures' 'Bob <bob@example.org>' 'Lunch on Friday'
port=$dovecot_port

# The private session bus, the notification server on it, and the recorder.
export DBUS_SESSION_BUS_ADDRESS="unix:path=$xsession_home/bus"
xsession_spawn dbus-daemon --session --nofork --nopidfile --address="$DBUS_SESSION_BUS_ADDRESS"
xsession_wait_for "[ -S $xsession_home/bus ]" 10 || { echo "FAIL: no session bus"; exit 1; }
xsession_spawn dunst >"$out/dunst.log" 2>&1
server_up() {
  dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.NameHasOwner string:org.freedesktop.Notifications | grep -q true
}
xsession_wait_for server_up 10 || { echo "FAIL: dunst did not take the notification name"; exit 1; }
monitor=$out/notify-calls.log
xsession_spawn dbus-monitor --session \
  "type='method_call',interface='org.freedesktop.Notifications',member='Notify'" >"$monitor"
sleep 0.5
notify_count() { grep -c 'member=Notify' "$monitor" || true; }

# A home where the program dials on start-up and checks mail after connecting.
write_settings() { # $1 connection entry, $2 the desktop notification box
  xsession_mail_settings "$1" "$port" <<INI
[PauseBetweenAccounts]
BetweenAccounts=1
[DesktopNotifications]
Notifications=$2
INI
}

# 1. Notifications on: new mail, then the line drops a minute after it came up.
write_settings "Simulated line (drops after a minute)" 1
"$bvane" >"$out/bvane-1.log" 2>&1 &
bvane_pid=$!
xsession_pids+=("$bvane_pid")
xsession_wait_for "grep -q 'Quarterly figures' $monitor" 60 \
  || { echo "FAIL: no new-mail notification"; cat "$monitor"; exit 1; }
grep -q 'You have new mail' "$monitor" || { echo "FAIL: new-mail summary missing"; exit 1; }
grep -q 'Home: 2 messages waiting' "$monitor" || { echo "FAIL: account and count missing"; exit 1; }
# dunst draws it in a window of its own; keep a picture while it is up.
xsession_wait_for "xdotool search --onlyvisible --class dunst" 10 \
  || { echo "FAIL: dunst drew no notification"; exit 1; }
sleep 0.5
import -window root "$out/new-mail-notification.png"
xsession_wait_for "grep -q 'Connection lost' $monitor" 150 \
  || { echo "FAIL: the lost line was not announced"; cat "$monitor"; exit 1; }
grep -q 'The line to Simulated line (drops after a minute) was lost.' "$monitor" \
  || { echo "FAIL: the lost line's text"; exit 1; }
if grep -q 'open sesame' "$monitor"; then echo "FAIL: a password reached the desktop"; exit 1; fi
kill "$bvane_pid"
wait "$bvane_pid" 2>/dev/null || true

# Run $1 of the program with the notifications box $2: its check of the same mailbox sends
# no notification ($3 says why none is expected).
check_sends_nothing() {
  local before after
  before=$(notify_count)
  write_settings "Simulated line" "$2"
  "$bvane" >"$out/bvane-$1.log" 2>&1 &
  bvane_pid=$!
  xsession_pids+=("$bvane_pid")
  xsession_wait_for "xdotool search --onlyvisible --name '^Checking Mail\$'" 40 \
    || { echo "FAIL: run $1 checked no mail"; exit 1; }
  # The headers come within a second or two of the window; give them ample time.
  sleep 8
  after=$(notify_count)
  [ "$after" = "$before" ] || { echo "FAIL: $((after - before)) notifications $3"; exit 1; }
  kill "$bvane_pid"
  wait "$bvane_pid" 2>/dev/null || true
}

# 2. The box cleared: the same check (the server keeps its messages) sends nothing.
check_sends_nothing 2 0 "with the box cleared"
# 3. The box ticked again after a restart: the messages were told before, nothing is sent.
[ -n "$(ls "$XDG_STATE_HOME/Brisvane/" 2>/dev/null)" ] \
  || { echo "FAIL: no announced messages kept under $XDG_STATE_HOME/Brisvane"; exit 1; }
check_sends_nothing 3 1 "of mail told before"
echo "PASS: new mail and the lost line announced through dunst, nothing with the box cleared," \
  "nothing old after a restart; screenshot in $out"
