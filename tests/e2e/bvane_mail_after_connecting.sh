#!/usr/bin/env bash
# The check after connecting keeps its five seconds while a 30-minute mail schedule runs: the
# simulated line connects at start-up and the private Dovecot must log the program's log-on
# within 15 seconds of the start (the schedule's wait once held it up for the whole interval).
# Then, in the check window it opened (found on the accessibility bus), the second message is
# ticked from the keyboard and deleted through the question, and Dovecot logs it at the QUIT.
# Usage: bvane_mail_after_connecting.sh BVANE DOVECOT_FIXTURE ARTIFACT_DIR
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/xsession.sh"
walker() { /usr/bin/python3 "$here/atspi_walk.py" "$@"; }
bvane=$1
fixture=$2
out=$3
mkdir -p "$out"
rm -f "$out"/*.png "$out"/*.log
xsession_fresh_home
xsession_start
xsession_start_a11y

xsession_start_dovecot "$fixture" "$out/dovecot.log" ann 'open sesame' \
  'Bob <bob@example.org>' 'Lunch on Friday' 'Carol <carol@example.org>' 'Minutes'
port=$dovecot_port

xsession_mail_settings "Simulated line" "$port" <<INI
[CheckMessages]
Messages=1
[CheckMailMinutes]
MailMinutes=30
[DeleteMessageConfirmation]
MessageConfirmation=True
INI

start=$(date +%s%N)
"$bvane" >"$out/bvane.log" 2>&1 &
xsession_pids+=("$!")
logged_on() { grep -q 'Login: user=<ann>' "$out/dovecot.log"; }
if ! xsession_wait_for logged_on 15; then
  import -window root "$out/no-logon.png" || true
  echo "FAIL: Dovecot logged no log-on within 15 s of the start"
  cat "$out/dovecot.log"
  exit 1
fi
after=$(( ($(date +%s%N) - start) / 1000000 ))
echo "Dovecot logged the log-on ${after} ms after the start"

# The window's rows and buttons found through the accessibility bus by their names.
walker wait 'Checking Mail' 15
sleep 1 # the headers arrive just after the window shows
# The second row ticked from the keyboard: arrows move along the list, Space ticks.
walker focus 'Checking Mail' tree Messages
xdotool windowfocus --sync "$(xdotool search --onlyvisible --name '^Checking Mail$' | head -1)"
xdotool key Down Down space
walker press 'Checking Mail' 'push button' 'Delete Message(s)'
walker wait 'Deleting Messages' 10 \
  || { import -window root "$out/no-question.png"; echo "FAIL: no deletion question"; exit 1; }
import -window root "$out/deletion-question.png"
walker press 'Deleting Messages' 'push button' 'Yes'
sleep 4 # the deletion waits three seconds
walker press 'Checking Mail' 'push button' 'Cancel' # the QUIT applies the deletion
if ! xsession_wait_for "grep -q 'del=1/2' $out/dovecot.log" 10; then
  import -window root "$out/no-deletion.png" || true
  echo "FAIL: Dovecot logged no deletion"; tail -3 "$out/dovecot.log"; exit 1
fi
echo "PASS: log-on ${after} ms after the start; one of two messages deleted through the question"
