#!/usr/bin/env python3
"""Someone on the path: relays LISTEN_HOST:LISTEN_PORT to TARGET_PORT on 127.0.0.1 and takes
STLS (POP3) and STARTTLS (IMAP) out of what the server says it offers. Prints "ready" once
listening; serves until killed."""
import socket
import sys
import threading


def relay(source, sink, strip):
    buffered = b""
    try:
        while True:
            data = source.recv(65536)
            if not data:
                break
            if not strip:
                sink.sendall(data)
                continue
            buffered += data
            *lines, buffered = buffered.split(b"\n")
            out = b""
            for line in lines:
                if line.rstrip(b"\r").upper() == b"STLS":
                    continue
                out += line.replace(b" STARTTLS", b"") + b"\n"
            sink.sendall(out)
    except OSError:
        pass
    finally:
        for end in (source, sink):
            try:
                end.shutdown(socket.SHUT_RDWR)
            except OSError:
                pass


def main():
    host, port, target = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
    server = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    server.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    server.bind((host, port))
    server.listen(8)
    print("ready", flush=True)
    while True:
        client, _ = server.accept()
        upstream = socket.create_connection(("127.0.0.1", target))
        threading.Thread(target=relay, args=(upstream, client, True), daemon=True).start()
        threading.Thread(target=relay, args=(client, upstream, False), daemon=True).start()


main()
