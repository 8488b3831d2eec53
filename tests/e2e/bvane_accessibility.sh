#!/usr/bin/env bash
# The program as a screen reader sees it: through the accessibility bus, every control of the
# check window (opened by the check after connecting, on the private Dovecot), of every tab of
# the Customize dialog and of the windows the dialog opens (Preferences, Usage, Sound Alerts)
# has a name, and each window has a window's role. Prints the count of unnamed controls per
# window (0 to pass) and saves screenshots.
# Usage: bvane_accessibility.sh BVANE DOVECOT_FIXTURE ARTIFACT_DIR
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/xsession.sh"
bvane=$1
fixture=$2
out=$3
mkdir -p "$out"
rm -f "$out"/*.png "$out"/*.log
# The system's Python, where Debian's python3-pyatspi lives.
python=/usr/bin/python3
walker() { "$python" "$here/atspi_walk.py" "$@"; }
xsession_fresh_home
xsession_start
xsession_start_a11y

xsession_start_dovecot "$fixture" "$out/dovecot.log" ann 'open sesame' \
  'Bob <bob@example.org>' 'Lunch on Friday'
xsession_mail_settings "Simulated line" "$dovecot_port" </dev/null
xsession_spawn "$bvane" >"$out/bvane.log" 2>&1

failed=0
walker wait 'Checking Mail' 30
sleep 1 # the headers arrive just after the window shows
import -window root "$out/check-window.png"
walker walk 'Checking Mail' || failed=1
# Escape closes it as Cancel does.
xdotool windowfocus --sync "$(xdotool search --onlyvisible --name '^Checking Mail$' | head -1)"
xdotool key Escape
xsession_wait_for "! xdotool search --onlyvisible --name '^Checking Mail\$'" 10 \
  || { echo "FAIL: Escape did not close the check window"; failed=1; }

# The Customize dialog from the tray icon, each of its tabs.
icon=$(xsession_tray_icon)
xdotool mousemove --window "$icon" 8 8 click --repeat 2 --delay 80 1
walker wait 'Customize Brisvane' 20
walker walk 'Customize Brisvane' --tabs || failed=1
import -window root "$out/customize.png"

# The windows the dialog opens: Preferences, the Usage window, a sound alert's window.
walker press 'Customize Brisvane' 'push button' 'Preferences'
walker walk 'Preferences' || failed=1
walker press 'Preferences' 'push button' 'Cancel'
walker tab 'Customize Brisvane' 'Connection(s)'
walker press 'Customize Brisvane' 'push button' 'Usage...'
walker walk 'Usage' || failed=1
import -window root "$out/usage.png"
walker press 'Usage' 'push button' 'Close'
walker press 'Customize Brisvane' 'push button' 'Browse'
walker walk 'Sound Alerts' || failed=1
walker press 'Sound Alerts' 'push button' 'Cancel'

[ "$failed" = 0 ] || { echo "FAIL: controls without a name (above)"; exit 1; }
echo "PASS: no unnamed control in the check window, the Customize dialog and the windows it opens"
