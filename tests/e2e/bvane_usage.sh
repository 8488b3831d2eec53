#!/usr/bin/env bash
# The usage record of the real program on Xvfb + trayer with the simulated line: the line that
# drops after a minute leaves one row of about 60 seconds ended by "dropped"; a program killed
# (SIGKILL) while its line is up leaves the row of its last minute, which the next start
# closes there at the record's first use. Ended by SIGTERM (the session's log-out) ten seconds into a line, it closes the
# row at that moment, removes its socket and exits with 0. With a month of connections added, the Usage window opens from the Connection
# tab (Alt+U) and is kept as a screenshot.
# Usage: bvane_usage.sh BVANE ARTIFACT_DIR
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/xsession.sh"
bvane=$1
out=$2
mkdir -p "$out"
xsession_fresh_home
xsession_start
db=$XDG_DATA_HOME/Brisvane/usage.sqlite

# Prints the rows of an SQL query on the record, fields separated by "|".
query() {
  python3 - "$db" "$1" <<'PY'
import sqlite3, sys
con = sqlite3.connect(sys.argv[1])
for row in con.execute(sys.argv[2]):
    print("|".join("" if v is None else str(v) for v in row))
PY
}
# $1 the entry to dial, $2 whether to dial at start-up, $3 whether to show the dialog.
settings() {
  xsession_dial_settings "$1" "$2" <<INI
[LoadCustomizeBrisvaneDialogonStartup]
DialogonStartup=$3
[CustomizeBrisvaneReminder]
Reminder=False
[UsageLimit]
Amount=20
INI
}
start() {
  "$bvane" >"$out/bvane-$1.log" 2>&1 &
  bvane_pid=$!
  xsession_pids+=("$bvane_pid")
}
stop() { kill "-$1" "$bvane_pid"; wait "$bvane_pid" 2>/dev/null || true; }
dropped_row() { [ -f "$db" ] && [ "$(query "select count(*) from connections where ended_by = 'dropped'")" = 1 ]; }
minute_written() { [ "$(query 'select seconds from connections where ended_at is null')" = 60 ]; }
closed_at_start() { [ "$(query "select count(*) from connections where ended_by = 'program exit'")" = 1 ]; }

# 1. The line drops a minute after it came up.
settings "Simulated line (drops after a minute)" 1 False
start 1
xsession_wait_for dropped_row 100 \
  || { echo "FAIL: no dropped row"; query "select * from connections"; exit 1; }
seconds=$(query "select seconds from connections")
[ "$seconds" -ge 58 ] && [ "$seconds" -le 62 ] || { echo "FAIL: the dropped line lasted $seconds s"; exit 1; }
stop TERM

# 2. Killed during a line: the row keeps its last minute, and the next start closes it there.
settings "Simulated line" 1 False
start 2
xsession_wait_for minute_written 100 \
  || { echo "FAIL: no minute update"; query "select * from connections"; exit 1; }
stop KILL
row=$(query "select seconds, ended_by, updated_at = strftime('%Y-%m-%dT%H:%M:%SZ', started_at, '+60 seconds') from connections where ended_at is null")
[ "$row" = "60||1" ] || { echo "FAIL: the killed program's row reads '$row'"; exit 1; }

# 3. A month of connections (this month's days so far, two a day) and the Usage window.
python3 - "$db" <<'PY'
import datetime, sqlite3, sys
con = sqlite3.connect(sys.argv[1])
now = datetime.datetime.now(datetime.timezone.utc)
for day in range(1, now.day + 1):
    for hour, minutes in ((9, 20 + 7 * (day % 5)), (19, 45 + 11 * (day % 4))):
        start = now.replace(day=day, hour=hour, minute=0, second=0)
        if start >= now:
            continue
        end = start + datetime.timedelta(minutes=minutes)
        iso = lambda t: t.strftime("%Y-%m-%dT%H:%M:%SZ")
        con.execute("insert into connections (entry, started_at, ended_at, seconds, bytes_in,"
                    " bytes_out, ended_by, updated_at) values (?, ?, ?, ?, ?, ?, ?, ?)",
                    ("Simulated line", iso(start), iso(end), minutes * 60, minutes * 60 * 4000,
                     minutes * 60 * 500, "user", iso(end)))
con.commit()
PY
settings "Simulated line" 0 True
start 3
xsession_wait_for "xdotool search --onlyvisible --name '^Customize Brisvane\$'" 20 \
  || { echo "FAIL: no Customize dialog"; exit 1; }
dialog=$(xdotool search --onlyvisible --name '^Customize Brisvane$' | head -1)
xdotool windowfocus --sync "$dialog"
xdotool key alt+u
xsession_wait_for "xdotool search --onlyvisible --name '^Usage\$'" 10 \
  || { echo "FAIL: the Usage window did not open"; exit 1; }
# The record opens at its first use (here the window), and closes the killed program's row.
xsession_wait_for closed_at_start 20 \
  || { echo "FAIL: the killed program's row was not closed"; query "select * from connections"; exit 1; }
row=$(query "select seconds, ended_at = updated_at from connections where ended_by = 'program exit'")
[ "$row" = "60|1" ] || { echo "FAIL: the closed row reads '$row'"; exit 1; }
sleep 1
import -window "$(xdotool search --onlyvisible --name '^Usage$' | head -1)" "$out/usage-window.png"
stop TERM

# 4. Log-out ten seconds into a line: SIGTERM closes the row then and there.
line_up() { [ "$(query 'select count(*) from connections where ended_at is null')" = 1 ]; }
settings "Simulated line" 1 False
start 4
xsession_wait_for line_up 30 || { echo "FAIL: the line did not come up"; exit 1; }
sleep 10
kill -TERM "$bvane_pid"
status=0
timeout 2 tail --pid="$bvane_pid" -f /dev/null || { echo "FAIL: still running 2 s after SIGTERM"; exit 1; }
wait "$bvane_pid" || status=$?
[ "$status" = 0 ] || { echo "FAIL: SIGTERM ended the program with status $status"; exit 1; }
termed=$(query "select seconds, ended_by from connections order by id desc limit 1")
termed_seconds=${termed%%|*}
[ "$termed_seconds" -ge 9 ] && [ "$termed_seconds" -le 13 ] && [ "${termed#*|}" = "program exit" ] \
  || { echo "FAIL: the row of the line ended by SIGTERM reads '$termed'"; exit 1; }
[ ! -e "$XDG_RUNTIME_DIR/Brisvane.socket" ] || { echo "FAIL: the socket stayed behind"; exit 1; }
echo "PASS: dropped line recorded ($seconds s), killed program's last minute kept and closed" \
  "at the next start; SIGTERM closed its row at $termed_seconds s; Usage window screenshot in $out"
