#!/usr/bin/env bash
# The tray icon control on a real X server: Xvfb with trayer as the tray host, and a small
# host program (linking pinlib6 alone) that puts an icon into the tray and prints the click
# events it hears. xdotool clicks the embedded icon left, double and right; the host must
# report Click, LeftDblClick and RightClick. A screenshot of the screen with the icon in the
# tray is written to ARTIFACT_DIR/pinlib6-tray.png.
# Usage: pinlib6_tray.sh TRAYHOST ICON ARTIFACT_DIR
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
host=$1
icon=$2
out=$3
for tool in Xvfb trayer xdotool xwininfo xdpyinfo import convert; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
source "$here/xsession.sh"
mkdir -p "$out"
work=$(mktemp -d)
trap 'xsession_stop; rm -rf "$work"' EXIT
export HOME=$work XDG_RUNTIME_DIR=$work/run
mkdir -m 700 -p "$XDG_RUNTIME_DIR"
# No session bus: the icon goes to the XEmbed tray, never to a StatusNotifierItem host.
unset DBUS_SESSION_BUS_ADDRESS
xsession_start
trap 'xsession_stop; rm -rf "$work"' EXIT

log=$work/host.log
xsession_spawn "$host" "$icon" >"$log" 2>&1

# The icon is in the tray when trayer holds a viewable window of the host in its tree.
icon_window() {
  local t w id
  for w in $(xdotool search --class trayhost 2>/dev/null); do
    id=$(printf '0x%x' "$w")
    for t in $(xdotool search --class trayer 2>/dev/null); do
      if xwininfo -id "$t" -tree 2>/dev/null | grep -qE "^[[:space:]]+$id[[:space:]]" &&
         xwininfo -id "$w" 2>/dev/null | grep -q 'IsViewable'; then
        echo "$w"
        return 0
      fi
    done
  done
  return 1
}
if ! xsession_wait_for icon_window 30; then
  echo "FAIL: the icon was not embedded in the tray"
  cat "$log"
  exit 1
fi
win=$(icon_window)
geometry() { xwininfo -id "$win" | awk -v k="$1" '$0 ~ k {print $NF}'; }
x=$(geometry 'Absolute upper-left X'); y=$(geometry 'Absolute upper-left Y')
w=$(geometry 'Width'); h=$(geometry 'Height')
cx=$((x + w / 2)); cy=$((y + h / 2))
echo "icon window $win at ${w}x${h}+${x}+${y}"

# Let the icon paint, then keep the screen as it is.
sleep 1
shot=$out/pinlib6-tray.png
import -window root "$shot"
colours=$(convert "$shot" -crop "${w}x${h}+${x}+${y}" +repage -format '%k' info:)
if [ "$colours" -lt 2 ]; then
  echo "FAIL: the icon's place in the tray is a single colour in $shot"
  exit 1
fi

# Clicks: each try waits for the event line; a click that got lost is tried again.
seen() { grep -c "^$1\$" "$log" || true; }
click_until() {
  local event=$1; shift
  local before try
  before=$(seen "$event")
  for try in 1 2 3; do
    # (no --sync: it waits for a motion that never comes when the pointer is already there)
    xdotool mousemove "$cx" "$cy"
    sleep 0.2
    xdotool "$@"
    if xsession_wait_for "[ \$(seen $event) -gt $before ]" 10; then
      echo "PASS: $event (try $try)"
      sleep 1 # past the double-click time before the next click
      return 0
    fi
  done
  echo "FAIL: no $event after three tries"
  cat "$log"
  exit 1
}
click_until Click click 1
click_until LeftDblClick click --repeat 2 --delay 80 1
click_until RightClick click 3
echo "host heard: $(tr '\n' ' ' <"$log")"
# The zoom target the host computed from the tray's geometry: the strip at the icon's centre.
read -r _ tx ty tw th < <(grep '^target ' "$log" | tail -1)
if [ "$tw" != 1 ] || [ "$tx" -ne $((x + w - w / 2)) ] || [ "$ty" -ne "$y" ] || [ "$th" -ne "$h" ]; then
  echo "FAIL: zoom target $tx $ty $tw $th is not the strip at the centre of the icon"
  exit 1
fi
echo "PASS: icon in the tray, Click, LeftDblClick and RightClick heard; screenshot $shot"
