#!/usr/bin/env bash
# Checks the installed packages as a user meets them: the files are where the desktop looks for
# them, and bvane started from PATH on Xvfb + trayer docks its icon, uses it as its windows'
# icon, opens its help and plays an alert from the sound theme; the notice program runs from
# the package's private folder. Usage: installed_bvane.sh ARTIFACT_DIR
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/xsession.sh"
out=$1
mkdir -p "$out"
fail() { echo "FAIL: $*"; exit 1; }

[ "$(command -v bvane)" = /usr/bin/bvane ] || fail "bvane is not /usr/bin/bvane on the PATH"
[ ! -e /usr/bin/runtime ] || fail "a generic /usr/bin/runtime is installed"
[ -x /usr/libexec/brisvane/runtime ] || fail "no notice program in /usr/libexec/brisvane"
desktop-file-validate /usr/share/applications/bvane.desktop
appstreamcli validate --no-net /usr/share/metainfo/org.brisvane.bvane.metainfo.xml
for file in net10a.ico net10b.ico mail.ico dial1.ico dial2.ico notify.wav bvane.hlp; do
  [ -s "/usr/share/brisvane/$file" ] || fail "no $file in the program folder"
done
for size in 16 22 24 32 48 64 128 256; do
  [ -f "/usr/share/icons/hicolor/${size}x${size}/apps/bvane.png" ] || fail "no ${size} px icon"
done
for page in bvane bvane-mailprobe; do
  [[ $(zcat "/usr/share/man/man1/$page.1.gz") == *".TH "* ]] || fail "no manual page $page(1)"
done
[[ $(bvane-mailprobe --help) == *BVANE_MAIL_PASSWORD* ]] || fail "bvane-mailprobe does not run"
# The mail transport module loads from the package's private folder: a check of a closed port
# is refused by the system, not failed for want of the module.
probe=$(BVANE_MAIL_PASSWORD=x bvane-mailprobe --timeout 5 127.0.0.1:1 nobody 2>&1 || true)
[[ $probe == *refused* ]] || fail "bvane-mailprobe reached no server: $probe"

xsession_fresh_home
# Sounds go through ALSA into files (one per sample rate), as in the sound player's test.
cat > "$HOME/.asoundrc" <<RC
pcm.!default { type file slave.pcm "null" file "$HOME/heard-%r.raw" format "raw" }
RC
export CANBERRA_DRIVER=alsa
heard() { cat "$HOME"/heard-*.raw 2>/dev/null | wc -c; }
# The simulated line, dialled with a click; connecting plays the sound theme's default alert
# (no file chosen). The tray icons and the help come from the program folder.
xsession_simulated_line_settings <<'INI'
[AlertConnected]
Connected=1
Sound=
INI
xsession_start

xsession_spawn bvane >"$out/bvane.log" 2>&1
xsession_wait_for '[ -n "$(xsession_tray_icon)" ]' 30 || fail "no icon docked in the tray"
icon=$(xsession_tray_icon)
xdotool mousemove --window "$icon" 8 8 click 1
xsession_wait_for "xdotool search --onlyvisible --name '^Customize Brisvane\$'" 10 \
  || fail "the click did not bring the dialog"
dialog=$(xdotool search --onlyvisible --name '^Customize Brisvane$' | head -1)
wm_icon=$(xprop -id "$dialog" _NET_WM_ICON)
[[ $wm_icon == *"Icon ("* ]] || fail "the dialog has no window icon"
xsession_wait_for '[ "$(heard)" -gt 0 ]' 20 || fail "no connected alert from the sound theme"

xdotool windowfocus --sync "$dialog"
xdotool key alt+h
xsession_wait_for "xdotool search --onlyvisible --name '^Brisvane Help\$'" 10 \
  || fail "the help file did not open"
import -window root "$out/installed-help.png"

xsession_spawn /usr/libexec/brisvane/runtime
xsession_wait_for "xdotool search --onlyvisible --name '^Quorvex\$'" 10 \
  || fail "the notice program did not show"
echo "PASS: installed bvane docked its icon, opened its help and played the theme's alert"
