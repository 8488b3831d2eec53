#!/usr/bin/env python3
"""Lists 500 message headers from a private Dovecot through a loopback proxy that delays
every chunk by 25 ms each way (a 50 ms round trip), over POP3:

  bvane-mailprobe (the program's mail control) with PIPELINING,
  bvane-mailprobe one TOP at a time (--no-pipelining),
  Python's poplib, the same TOP n 0 loop;

and over IMAP (with --imap, or when dovecot-imapd is installed):

  bvane-mailprobe (the IMAP mail control): one FETCH for all headers,
  Python's imaplib, one FETCH of BODY.PEEK[HEADER.FIELDS (FROM SUBJECT DATE)] per message.

Each run logs on, counts, fetches every header and quits. Not a test: it prints the times,
the ratio of the baselines to the probe, and the probe's round trips: how much longer its
connection stays open (from the connect to the client's close, as the proxy sees it) with the
delay than without, over the round-trip time, the median of five runs each. The server's own
time (Dovecot's log-on takes about 0.1 s) so drops out; the greeting counts a half.

  bench/mail_headers.py [--build build] [--messages 500] [--delay-ms 25]
"""

import argparse
import asyncio
import imaplib
import os
import poplib
import pwd
import shutil
import socket
import subprocess
import sys
import tempfile
import threading
import time
from collections import deque


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


class Dovecot:
    """Dovecot with one user and N messages, plain POP3 on a free loopback port."""

    def __init__(self, messages, imap):
        self.dir = tempfile.mkdtemp(prefix="bvane-mailbench-")
        os.chmod(self.dir, 0o755)
        self.port = free_port()
        self.imap_port = free_port() if imap else 0
        root = os.geteuid() == 0
        me = pwd.getpwuid(os.getuid()).pw_name
        mail_user = pwd.getpwnam("nobody") if root else pwd.getpwuid(os.getuid())
        home = os.path.join(self.dir, "home")
        for sub in ("new", "cur", "tmp"):
            os.makedirs(os.path.join(home, "Maildir", sub))
        for i in range(1, messages + 1):
            path = os.path.join(home, "Maildir", "new", f"{1700000000 + i}.M{i}P1.bench")
            with open(path, "wb") as f:
                f.write(b"From: =?utf-8?q?Bench_J=C3=B6rg?= <bench@example.org>\r\n"
                        b"Subject: message %d of the benchmark\r\n"
                        b"Date: Mon, 7 Dec 2026 10:00:00 +0000\r\n"
                        b"Received: from somewhere by somewhere else; Mon, 7 Dec 2026\r\n"
                        b"\r\n" % i + b"body line\r\n" * 40)
        if root:
            for base, dirs, files in os.walk(home):
                for name in [base] + [os.path.join(base, n) for n in files]:
                    os.chown(name, mail_user.pw_uid, mail_user.pw_gid)
        with open(os.path.join(self.dir, "passwd"), "w") as f:
            f.write(f"bench:{{PLAIN}}benchpass:{mail_user.pw_uid}:{mail_user.pw_gid}::{home}::\n")
        conf = os.path.join(self.dir, "dovecot.conf")
        with open(conf, "w") as f:
            imap_service = f"""service imap-login {{
  inet_listener imap {{
    port = {self.imap_port}
  }}
  inet_listener imaps {{
    port = 0
  }}
}}
""" if imap else ""
            f.write(f"""protocols = pop3{" imap" if imap else ""}
listen = 127.0.0.1
base_dir = {self.dir}/run
state_dir = {self.dir}/state
log_path = {self.dir}/dovecot.log
ssl = no
disable_plaintext_auth = no
auth_mechanisms = plain
default_login_user = {"dovenull" if root else me}
default_internal_user = {"dovecot" if root else me}
first_valid_uid = 1
mail_location = maildir:~/Maildir
service pop3-login {{
  inet_listener pop3 {{
    port = {self.port}
  }}
  inet_listener pop3s {{
    port = 0
  }}
}}
passdb {{
  driver = passwd-file
  args = scheme=PLAIN {self.dir}/passwd
}}
userdb {{
  driver = passwd-file
  args = {self.dir}/passwd
}}
{imap_service}""")
        dovecot = shutil.which("dovecot", path="/usr/sbin:/usr/local/sbin:" + os.environ["PATH"])
        if not dovecot:
            sys.exit("dovecot is not installed (Debian package dovecot-pop3d)")
        self.process = subprocess.Popen([dovecot, "-F", "-c", conf])
        deadline = time.monotonic() + 20
        while time.monotonic() < deadline:
            try:
                with socket.create_connection(("127.0.0.1", self.port), timeout=1) as s:
                    if s.recv(100).startswith(b"+OK"):
                        return
            except OSError:
                time.sleep(0.1)
        self.stop()
        sys.exit("dovecot did not come up")

    def stop(self):
        self.process.terminate()
        try:
            self.process.wait(10)
        except subprocess.TimeoutExpired:
            self.process.kill()
        shutil.rmtree(self.dir, ignore_errors=True)


class DelayProxy:
    """Forwards a loopback port to another, holding every chunk `delay` seconds each way."""

    def __init__(self, target_port, delay):
        self.target_port = target_port
        self.delay = delay
        self.port = free_port()
        self.connections = []  # [start, end] of each client connection, in loop time
        self.loop = asyncio.new_event_loop()
        ready = threading.Event()
        self.thread = threading.Thread(target=self._run, args=(ready,), daemon=True)
        self.thread.start()
        ready.wait()

    def _run(self, ready):
        asyncio.set_event_loop(self.loop)
        server = self.loop.run_until_complete(
            asyncio.start_server(self._client, "127.0.0.1", self.port))
        ready.set()
        self.loop.run_forever()
        server.close()

    async def _client(self, reader, writer):
        times = [self.loop.time(), None]
        self.connections.append(times)
        up_reader, up_writer = await asyncio.open_connection("127.0.0.1", self.target_port)
        try:
            await asyncio.gather(self._pipe(reader, up_writer, times),
                                 self._pipe(up_reader, writer))
        except (asyncio.CancelledError, ConnectionError):
            writer.close()
            up_writer.close()

    def last_duration(self):
        start, end = self.connections[-1]
        return end - start

    async def _pipe(self, reader, writer, times=None):
        queue = deque()
        arrived = asyncio.Event()
        finished = False

        async def deliver():
            while queue or not finished:
                if not queue:
                    arrived.clear()
                    await arrived.wait()
                    continue
                due, data = queue[0]
                wait = due - self.loop.time()
                if wait > 0:
                    await asyncio.sleep(wait)
                queue.popleft()
                if data is None:
                    writer.close()
                    return
                writer.write(data)
                await writer.drain()

        sender = asyncio.ensure_future(deliver())
        while True:
            data = await reader.read(65536)
            queue.append((self.loop.time() + self.delay, data or None))
            arrived.set()
            if not data:
                if times is not None:
                    times[1] = self.loop.time()
                break
        finished = True
        arrived.set()
        try:
            await sender
        except ConnectionError:
            pass

    def stop(self):
        async def shutdown():
            tasks = [t for t in asyncio.all_tasks() if t is not asyncio.current_task()]
            for task in tasks:
                task.cancel()
            await asyncio.gather(*tasks, return_exceptions=True)

        asyncio.run_coroutine_threadsafe(shutdown(), self.loop).result(10)
        self.loop.call_soon_threadsafe(self.loop.stop)
        self.thread.join(5)


def run_probe(probe, port, pipelining, expected, scheme=""):
    args = [probe, f"{scheme}127.0.0.1:{port}", "bench"]
    if not pipelining:
        args.insert(1, "--no-pipelining")
    env = dict(os.environ, BVANE_MAIL_PASSWORD="benchpass")
    start = time.monotonic()
    out = subprocess.run(args, env=env, capture_output=True, text=True, timeout=600)
    elapsed = time.monotonic() - start
    lines = out.stdout.splitlines()
    if out.returncode != 0 or len(lines) != expected + 1 or lines[0] != str(expected):
        sys.exit(f"probe failed ({out.returncode}): {out.stderr}\n{out.stdout[:500]}")
    return elapsed


def run_poplib(port, expected):
    start = time.monotonic()
    pop = poplib.POP3("127.0.0.1", port, timeout=60)
    pop.user("bench")
    pop.pass_("benchpass")
    count, _ = pop.stat()
    if count != expected:
        sys.exit(f"poplib counted {count}")
    for number in range(1, count + 1):
        pop.top(number, 0)
    pop.quit()
    return time.monotonic() - start


def run_imaplib(port, expected):
    start = time.monotonic()
    imap = imaplib.IMAP4("127.0.0.1", port, timeout=60)
    imap.login("bench", "benchpass")
    status, data = imap.select("INBOX")
    if status != "OK" or int(data[0]) != expected:
        sys.exit(f"imaplib counted {data}")
    for number in range(1, expected + 1):
        status, _ = imap.fetch(str(number), "(BODY.PEEK[HEADER.FIELDS (FROM SUBJECT DATE)])")
        if status != "OK":
            sys.exit(f"imaplib fetch {number}: {status}")
    imap.logout()
    return time.monotonic() - start


def round_trips(proxy, run, runs=5):
    """The round trips `run` costs through `proxy`: the time the delay adds, over a round trip."""
    delay = proxy.delay

    def median_duration():
        durations = []
        for _ in range(runs):
            run()
            durations.append(proxy.last_duration())
        return sorted(durations)[runs // 2]

    proxy.delay = 0
    try:
        bare = median_duration()
    finally:
        proxy.delay = delay
    return (median_duration() - bare) / (2 * delay)


def has_imap():
    return any(os.path.exists(p) for p in ("/usr/lib/dovecot/imap", "/usr/libexec/dovecot/imap"))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default="build", help="build folder with bin/bvane-mailprobe")
    parser.add_argument("--messages", type=int, default=500)
    parser.add_argument("--delay-ms", type=float, default=25.0, help="delay each way")
    parser.add_argument("--imap", action="store_true", help="fail when IMAP is not installed")
    parser.add_argument("--imap-only", action="store_true", help="leave out the POP3 runs")
    opts = parser.parse_args()
    imap = has_imap()
    if (opts.imap or opts.imap_only) and not imap:
        sys.exit("Dovecot's IMAP is not installed (Debian package dovecot-imapd)")
    probe = os.path.join(opts.build, "bin", "bvane-mailprobe")
    if not os.access(probe, os.X_OK):
        sys.exit(f"{probe} not found; build first")

    dovecot = Dovecot(opts.messages, imap)
    proxy = DelayProxy(dovecot.port, opts.delay_ms / 1000.0)
    imap_proxy = DelayProxy(dovecot.imap_port, opts.delay_ms / 1000.0) if imap else None
    pop, imap_results, trips = [], [], []
    try:
        if not opts.imap_only:
            pop = [("bvane-mailprobe, pipelined", run_probe(probe, proxy.port, True, opts.messages))]
            trips.append(("POP3", round_trips(
                proxy, lambda: run_probe(probe, proxy.port, True, opts.messages))))
            pop += [
                ("bvane-mailprobe, one TOP at a time",
                 run_probe(probe, proxy.port, False, opts.messages)),
                ("Python poplib, TOP loop", run_poplib(proxy.port, opts.messages)),
            ]
        if imap_proxy:
            imap_results = [("bvane-mailprobe IMAP, one FETCH",
                              run_probe(probe, imap_proxy.port, True, opts.messages, "imap://"))]
            trips.append(("IMAP", round_trips(imap_proxy, lambda: run_probe(
                probe, imap_proxy.port, True, opts.messages, "imap://"))))
            imap_results += [
                ("Python imaplib, FETCH per message",
                 run_imaplib(imap_proxy.port, opts.messages)),
            ]
    finally:
        proxy.stop()
        if imap_proxy:
            imap_proxy.stop()
        dovecot.stop()
    print(f"{opts.messages} headers, {opts.delay_ms:g} ms each way "
          f"({2 * opts.delay_ms:g} ms round trip):")
    for group in (pop, imap_results):
        for name, seconds in group:
            ratio = f"  x{seconds / group[0][1]:.1f}" if name != group[0][0] else ""
            print(f"  {name:<36} {seconds:8.2f} s{ratio}")
    for protocol, count in trips:
        print(f"  bvane-mailprobe {protocol} round trips {count:9.1f}")


if __name__ == "__main__":
    main()
