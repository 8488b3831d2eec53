#!/usr/bin/env python3
"""Lists 500 message headers from a private Dovecot through a loopback proxy that delays
every chunk by 25 ms each way (a 50 ms round trip), three ways:

  bvane-mailprobe (the program's mail control) with PIPELINING,
  bvane-mailprobe one TOP at a time (--no-pipelining),
  Python's poplib, the same TOP n 0 loop.

Each run logs on, counts, fetches every header and quits. Not a test: it prints the times.

  bench/mail_headers.py [--build build] [--messages 500] [--delay-ms 25]
"""

import argparse
import asyncio
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

    def __init__(self, messages):
        self.dir = tempfile.mkdtemp(prefix="bvane-mailbench-")
        os.chmod(self.dir, 0o755)
        self.port = free_port()
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
            f.write(f"""protocols = pop3
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
""")
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
        up_reader, up_writer = await asyncio.open_connection("127.0.0.1", self.target_port)
        try:
            await asyncio.gather(self._pipe(reader, up_writer), self._pipe(up_reader, writer))
        except (asyncio.CancelledError, ConnectionError):
            writer.close()
            up_writer.close()

    async def _pipe(self, reader, writer):
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


def run_probe(probe, port, pipelining, expected):
    args = [probe, f"127.0.0.1:{port}", "bench"]
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


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default="build", help="build folder with bin/bvane-mailprobe")
    parser.add_argument("--messages", type=int, default=500)
    parser.add_argument("--delay-ms", type=float, default=25.0, help="delay each way")
    opts = parser.parse_args()
    probe = os.path.join(opts.build, "bin", "bvane-mailprobe")
    if not os.access(probe, os.X_OK):
        sys.exit(f"{probe} not found; build first")

    dovecot = Dovecot(opts.messages)
    proxy = DelayProxy(dovecot.port, opts.delay_ms / 1000.0)
    try:
        results = [
            ("bvane-mailprobe, pipelined", run_probe(probe, proxy.port, True, opts.messages)),
            ("bvane-mailprobe, one TOP at a time",
             run_probe(probe, proxy.port, False, opts.messages)),
            ("Python poplib, TOP loop", run_poplib(proxy.port, opts.messages)),
        ]
    finally:
        proxy.stop()
        dovecot.stop()
    print(f"{opts.messages} headers, {opts.delay_ms:g} ms each way "
          f"({2 * opts.delay_ms:g} ms round trip):")
    for name, seconds in results:
        print(f"  {name:<36} {seconds:8.2f} s")


if __name__ == "__main__":
    main()
