#!/usr/bin/env bash
# Starts bvane with a fresh home on Xvfb + trayer: the tray icon appears and the Customize
# dialog comes up on the Connection(s) tab; writes a screenshot of each of its four tabs.
# Escape puts the dialog into the tray and a second start brings it back.
# Usage: bvane_startup.sh BVANE ARTIFACT_DIR
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/xsession.sh"
bvane=$1
out=$2
mkdir -p "$out"
xsession_fresh_home
xsession_start

xsession_spawn "$bvane"
first=${xsession_pids[-1]}
# The first run puts up the reminder over the dialog; both appear.
xsession_wait_for "xdotool search --name '^Closing Brisvane Customize Dialog$'" 20 \
  || { echo "FAIL: the reminder did not appear"; exit 1; }
reminder=$(xdotool search --name '^Closing Brisvane Customize Dialog$' | head -1)
# No window manager runs: give the window the input focus ourselves, then type.
xdotool windowfocus --sync "$reminder"
xdotool key Return
xsession_wait_for "! xdotool search --onlyvisible --name '^Closing Brisvane Customize Dialog$'" 10
dialog=$(xdotool search --onlyvisible --name '^Customize Brisvane$' | head -1)
[ -n "$dialog" ] || { echo "FAIL: the Customize dialog is not shown"; exit 1; }

# The tray icon: trayer embeds one client window.
tray=$(xdotool search --class trayer | head -1)
if ! xsession_wait_for "[ \$(xwininfo -id $tray -children | grep -c 'child') -ge 1 ]" 10; then
  echo "FAIL: no icon in the tray"; exit 1
fi
import -window root "$out/tray-and-dialog.png"

xdotool windowfocus --sync "$dialog"
for tab in connection mail programs settings; do
  sleep 0.5
  import -window "$dialog" "$out/tab-$tab.png"
  xdotool key ctrl+Tab
done

# Escape puts the dialog away into the tray, as a click on the icon does.
xdotool windowfocus --sync "$dialog"
xdotool key Escape
xsession_wait_for "! xdotool search --onlyvisible --name '^Customize Brisvane\$'" 5 \
  || { echo "FAIL: Escape did not put the dialog into the tray"; exit 1; }

# A second start brings the first copy's dialog forward and ends with status 0; the first runs
# on (an ended copy stays a zombie of this shell until waited for: running means not "Z").
"$bvane" || { echo "FAIL: the second copy did not end with status 0"; exit 1; }
xsession_wait_for "xdotool search --onlyvisible --name '^Customize Brisvane\$'" 10 \
  || { echo "FAIL: the second start did not bring the dialog forward"; exit 1; }
ps -o stat= -p "$first" | grep -qv Z || { echo "FAIL: the first copy ended"; exit 1; }
import -window root "$out/second-start.png"
echo "PASS: tray icon present, dialog shown, four tab screenshots in $out; Escape put the" \
  "dialog into the tray and a second start brought it back"
