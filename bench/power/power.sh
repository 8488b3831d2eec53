#!/usr/bin/env bash
# Power benchmark (not a test): on one private X server with trayer, starts a bare Qt tray
# program and bvane, and prints for each: wake-ups (context switches) per second idle, while
# the dial animation runs and while connected; CPU seconds per minute; RSS and PSS; the time
# to a docked icon; the time from a double click on bvane's icon to its Customize dialog shown
# (the first show, which builds what start-up left for later); and bvane's figures as a ratio
# to the bare program's.
# Start-up is the median of several alternating starts of each (a busy machine scatters it).
#   bench/power/power.sh [--build DIR] [--seconds N] [--starts N]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build=$here/../../build
seconds=20
starts=5
while [ $# -gt 0 ]; do
  case $1 in
    --build) build=$2; shift 2 ;;
    --seconds) seconds=$2; shift 2 ;;
    --starts) starts=$2; shift 2 ;;
    *) sed -n '2,9p' "$0"; exit 2 ;;
  esac
done
bin=$(cd "$build/bin" && pwd)
source "$here/../../tests/e2e/xsession.sh"
xsession_fresh_home
xsession_start
hz=$(getconf CLK_TCK)

# Context switches of every thread of a process, and its CPU ticks (user + system).
switches() { cat /proc/"$1"/task/*/status 2>/dev/null | awk '/ctxt_switches/ {n += $2} END {print n}'; }
cputicks() { cat /proc/"$1"/task/*/stat 2>/dev/null | awk '{n += $14 + $15} END {print n}'; }
memory_kb() { awk -v k="$2:" '$1 == k {print $2}' /proc/"$1"/smaps_rollup; }
now() { date +%s.%N; }

# Prints "switches-per-second cpu-seconds-per-minute" over the window.
measure() {
  local pid=$1 s0 c0 s1 c1
  s0=$(switches "$pid"); c0=$(cputicks "$pid")
  sleep "$seconds"
  s1=$(switches "$pid"); c1=$(cputicks "$pid")
  awk -v s="$((s1 - s0))" -v c="$((c1 - c0))" -v w="$seconds" -v hz="$hz" \
    'BEGIN {printf "%.2f %.3f\n", s / w, c / hz * 60 / w}'
}

# Seconds from start to an icon of program $1 embedded in trayer.
docked() { xwininfo -root -tree | grep -F "(\"$1\"" | grep -q -E ' (1[0-9]|2[0-9]|3[0-2])x(1[0-9]|2[0-9]|3[0-2])\+'; }
start_and_dock() {
  local name=$1; shift
  local t0 pid
  t0=$(now)
  "$@" >/dev/null 2>&1 &
  pid=$!
  for _ in $(seq 1 2000); do docked "$name" && break; sleep 0.005; done
  docked "$name" || { echo "no docked icon for $name" >&2; exit 1; }
  echo "$pid $(awk -v a="$t0" -v b="$(now)" 'BEGIN {printf "%.3f", b - a}')"
}

bvane_settings() { # $1: connection entry, $2: connect at start-up (0/1)
  xsession_dial_settings "$1" "$2" <<INI
[ReconnectLineBusy]
LineBusy=1
Busy=9
INI
}
# Seconds from a double click on bvane's tray icon to its Customize dialog on the screen.
dialog_shown() { xdotool search --onlyvisible --name '^Customize Brisvane$' >/dev/null 2>&1; }
first_show() {
  local icon t0
  icon=$(xsession_tray_icon)
  xdotool mousemove --window "$icon" 8 8 click --repeat 2 --delay 80 1
  t0=$(now)
  for _ in $(seq 1 2000); do dialog_shown && break; sleep 0.005; done
  dialog_shown || { echo "no Customize dialog after a double click" >&2; exit 1; }
  awk -v a="$t0" -v b="$(now)" 'BEGIN {printf "%.3f", b - a}'
}
stop() { kill "$1" 2>/dev/null || true; wait "$1" 2>/dev/null || true; }

# Starts program $1 (command after it) and stops it once docked; prints the seconds it took.
# Waits until its icon has left the tray, so the next start is not taken for docked.
time_one_start() {
  local name=$1 p t; shift
  read -r p t < <(start_and_dock "$name" "$@")
  stop "$p"
  for _ in $(seq 1 400); do docked "$name" || break; sleep 0.005; done
  echo "$t"
}
median() { sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }

declare -A fig
bvane_settings "Simulated line" 0
bare_starts=() bvane_starts=()
for _ in $(seq 1 "$starts"); do
  bare_starts+=("$(time_one_start bench_baretray "$bin/bench_baretray" "$bin/net10a.ico")")
  bvane_starts+=("$(time_one_start bvane "$bin/bvane")")
done
fig[bare_dock]=$(printf '%s\n' "${bare_starts[@]}" | median)
fig[bvane_dock]=$(printf '%s\n' "${bvane_starts[@]}" | median)

read -r pid _ < <(start_and_dock bench_baretray "$bin/bench_baretray" "$bin/net10a.ico")
sleep 3
read -r fig[bare_idle] fig[bare_cpu] < <(measure "$pid")
fig[bare_rss]=$(memory_kb "$pid" Rss); fig[bare_pss]=$(memory_kb "$pid" Pss)

read -r bpid _ < <(start_and_dock bvane "$bin/bvane")
sleep 3
read -r fig[bvane_idle] fig[bvane_cpu] < <(measure "$bpid")
fig[bvane_rss]=$(memory_kb "$bpid" Rss); fig[bvane_pss]=$(memory_kb "$bpid" Pss)
fig[bvane_show]=$(first_show)
sleep 1
fig[bvane_shown_rss]=$(memory_kb "$bpid" Rss)
stop "$bpid"

bvane_settings "Simulated line (always busy)" 1
read -r bpid _ < <(start_and_dock bvane "$bin/bvane")
sleep 1
read -r fig[bvane_dialling] fig[bvane_dialling_cpu] < <(measure "$bpid")
stop "$bpid"

bvane_settings "Simulated line" 1
read -r bpid _ < <(start_and_dock bvane "$bin/bvane")
sleep 10 # the simulated line takes a few seconds to come up
read -r fig[bvane_connected] fig[bvane_connected_cpu] < <(measure "$bpid")
stop "$bpid"
stop "$pid"

ratio() { awk -v a="$1" -v b="$2" 'BEGIN {if (b > 0) printf "%.2fx", a / b; else print "-"}'; }
printf '%-36s %12s %12s %8s\n' "figure (window ${seconds} s)" "bare tray" "bvane" "ratio"
row() { printf '%-36s %12s %12s %8s\n' "$1" "$2" "$3" "$(ratio "$3" "$2")"; }
row "wake-ups/s idle" "${fig[bare_idle]}" "${fig[bvane_idle]}"
row "wake-ups/s dial animation" "${fig[bare_idle]}" "${fig[bvane_dialling]}"
row "wake-ups/s connected" "${fig[bare_idle]}" "${fig[bvane_connected]}"
row "CPU s/min idle" "${fig[bare_cpu]}" "${fig[bvane_cpu]}"
row "CPU s/min dial animation" "${fig[bare_cpu]}" "${fig[bvane_dialling_cpu]}"
row "CPU s/min connected" "${fig[bare_cpu]}" "${fig[bvane_connected_cpu]}"
row "RSS kB (idle)" "${fig[bare_rss]}" "${fig[bvane_rss]}"
row "PSS kB (idle)" "${fig[bare_pss]}" "${fig[bvane_pss]}"
row "start to docked icon s (median of $starts)" "${fig[bare_dock]}" "${fig[bvane_dock]}"
row "RSS kB (dialog shown once)" "${fig[bare_rss]}" "${fig[bvane_shown_rss]}"
printf '%-36s %12s %12s\n' "double click to dialog shown s" "-" "${fig[bvane_show]}"
