#!/bin/bash
# Passwords in the clear over a real network: in network and mount namespaces of its own, the
# test makes a second namespace "srv" joined to its own by a veth pair (10.77.0.1 here,
# 10.77.0.2 there). In srv run a Dovecot without TLS, a Dovecot with STLS, and in front of the
# latter a proxy that removes STLS from its capabilities. The probe must refuse to send the
# password to either unless told --allow-plaintext (and even then not through the proxy with
# --require-tls); then PROGRAM_TEST (if given) runs against the same servers.
# Usage: clear_text_netns.sh PROBE FIXTURE PROXY [PROGRAM_TEST]
# Exits 77 (a skip for CTest) where the namespaces cannot be made.
set -u
if [[ -z ${BVANE_CLEARTEXT_NETNS:-} ]]; then
  if ! unshare -n -m true 2>/dev/null; then
    echo "SKIP: network and mount namespaces cannot be created here"
    exit 77
  fi
  exec unshare -n -m --propagation private env BVANE_CLEARTEXT_NETNS=1 bash "$0" "$@"
fi
probe=$1 fixture=$2 proxy=$3 program=${4:-}
mount -t tmpfs -o mode=755 tmpfs /run || { echo "SKIP: no private /run"; exit 77; }
ip link set lo up
if ! { ip netns add srv && ip link add bv0 type veth peer name bv1 netns srv &&
       ip addr add 10.77.0.1/24 dev bv0 && ip link set bv0 up &&
       ip -n srv link set lo up && ip -n srv addr add 10.77.0.2/24 dev bv1 &&
       ip -n srv link set bv1 up; }; then
  echo "SKIP: the veth pair or the server's namespace could not be made"
  exit 77
fi
work=$(mktemp -d)
pids=()
cleanup() {
  for fd in 7 8; do eval "exec $fd>&-" 2>/dev/null; done
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

# Each fixture serves until its standard input (a FIFO held open here) closes.
start_dovecot() { # TLS FD: the POP3 port in $port
  local fifo=$work/in$2
  mkfifo "$fifo"
  ip netns exec srv env BVANE_DOVECOT_TLS="$1" BVANE_DOVECOT_LISTEN=10.77.0.2 \
    "$fixture" jane secret "Ann <ann@example.org>" "Over the wire" <"$fifo" \
    >"$work/port$2" 2>"$work/log$2" &
  pids+=($!)
  eval "exec $2>\"$fifo\""
  for _ in $(seq 100); do [[ -s $work/port$2 ]] && break; sleep 0.2; done
  [[ -s $work/port$2 ]] || { cat "$work/log$2"; fail "Dovecot (TLS=$1) did not start"; }
  port=$(cat "$work/port$2")
}
start_dovecot 0 7
plain=$port
start_dovecot 1 8
tls=$port
stripped=20995
ip netns exec srv python3 "$proxy" 10.77.0.2 $stripped "$tls" >"$work/proxy" 2>&1 &
pids+=($!)
for _ in $(seq 50); do grep -q ready "$work/proxy" && break; sleep 0.1; done

run_probe() { BVANE_MAIL_PASSWORD=secret timeout 60 "$probe" --timeout 10 "$@" 2>&1; }

out=$(run_probe 10.77.0.2:$plain jane) && fail "the probe logged on in the clear: $out"
[[ $out == *"offers no encryption"* ]] || fail "no clear refusal: $out"
out=$(run_probe --allow-plaintext 10.77.0.2:$plain jane) || fail "allowed, no log-on: $out"
[[ $out == *"Over the wire"* ]] || fail "allowed, no headers: $out"
out=$(run_probe --allow-plaintext --require-tls 10.77.0.2:$plain jane) && fail "--require-tls ignored"
[[ $out == *"not logging on in the clear"* ]] || fail "no TLS refusal: $out"
out=$(run_probe 10.77.0.2:$stripped jane) && fail "logged on through the stripping proxy: $out"
[[ $out == *"offers no encryption"* ]] || fail "no refusal through the proxy: $out"
echo "probe: refused in the clear, logged on when allowed, refused through the proxy"

if [[ -n $program ]]; then
  BVANE_CLEARTEXT_SERVER=10.77.0.2:$plain BVANE_STRIPPED_SERVER=10.77.0.2:$stripped \
    BVANE_TLS_SERVER=10.77.0.2:$tls "$program" || fail "$program"
fi
echo PASS
