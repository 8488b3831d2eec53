#!/bin/bash
# Passwords in the clear over a real network. In network and mount namespaces of its own the
# test makes a namespace "srv" joined to its own by a veth pair (10.77.0.1 here, 10.77.0.2
# there), with a Dovecot without TLS, a Dovecot with STLS and, in front of the latter, a proxy
# that takes STLS out. The probe must send no password to either unless --allow-plaintext
# (and not with --require-tls); then PROGRAM_TEST runs against the same servers.
# Usage: clear_text_netns.sh PROBE FIXTURE PROXY [PROGRAM_TEST]; 77 (skip) without namespaces.
set -u
if [[ -z ${BVANE_CLEARTEXT_NETNS:-} ]]; then
  unshare -n -m true 2>/dev/null || { echo "SKIP: no network namespaces here"; exit 77; }
  exec unshare -n -m --propagation private env BVANE_CLEARTEXT_NETNS=1 bash "$0" "$@"
fi
probe=$1 fixture=$2 proxy=$3 program=${4:-}
if ! { mount -t tmpfs -o mode=755 tmpfs /run && ip link set lo up && ip netns add srv &&
       ip link add bv0 type veth peer name bv1 netns srv && ip addr add 10.77.0.1/24 dev bv0 &&
       ip link set bv0 up && ip -n srv link set lo up &&
       ip -n srv addr add 10.77.0.2/24 dev bv1 && ip -n srv link set bv1 up; }; then
  echo "SKIP: the server's namespace or the veth pair could not be made"
  exit 77
fi
work=$(mktemp -d) fixtures=()
# Each fixture stops its Dovecot when its input closes; a signal would end the fixture alone
# and leave the Dovecot master running in the server's namespace.
stop_all() {
  exec 7>&- 8>&-
  for _ in $(seq 50); do
    alive=0; for pid in "${fixtures[@]}"; do kill -0 "$pid" 2>/dev/null && alive=1; done
    ((alive)) || break; sleep 0.2
  done
  kill $(jobs -p) 2>/dev/null; wait; rm -rf "$work"
}
trap stop_all EXIT
fail() { echo "FAIL: $*"; exit 1; }

# Each Dovecot serves until its standard input (a FIFO held open on FD here) closes; nothing
# else started here holds those FDs.
start_dovecot() { # TLS FD; sets $port
  mkfifo "$work/in$2"
  ip netns exec srv env BVANE_DOVECOT_TLS="$1" BVANE_DOVECOT_LISTEN=10.77.0.2 "$fixture" \
    jane secret "Ann <ann@example.org>" "Over the wire" <"$work/in$2" >"$work/port$2" 7>&- 8>&- &
  fixtures+=($!)
  eval "exec $2>\"$work/in$2\""
  for _ in $(seq 100); do [[ -s $work/port$2 ]] && break; sleep 0.2; done
  port=$(cat "$work/port$2") && [[ -n $port ]] || fail "Dovecot (TLS=$1) did not start"
}
start_dovecot 0 7; plain=$port; start_dovecot 1 8; tls=$port
ip netns exec srv python3 "$proxy" 10.77.0.2 20995 "$tls" >"$work/proxy" 7>&- 8>&- &
for _ in $(seq 50); do grep -q ready "$work/proxy" && break; sleep 0.1; done

expect() { # STATUS WORDS PROBE-ARGS...
  local want=$1 words=$2 out; shift 2
  out=$(BVANE_MAIL_PASSWORD=secret timeout 60 "$probe" --timeout 10 "$@" 2>&1)
  [[ $? == "$want" && $out == *"$words"* ]] || fail "$* gave: $out"
}
expect 1 "offers no encryption" 10.77.0.2:$plain jane
expect 0 "Over the wire" --allow-plaintext 10.77.0.2:$plain jane
expect 1 "not logging on in the clear" --allow-plaintext --require-tls 10.77.0.2:$plain jane
expect 1 "offers no encryption" 10.77.0.2:20995 jane
[[ -z $program ]] || BVANE_CLEARTEXT_SERVER=10.77.0.2:$plain \
  BVANE_STRIPPED_SERVER=10.77.0.2:20995 "$program" || fail "$program"
echo PASS
