#!/usr/bin/env python3
"""Someone on the path: relays HOST:PORT to TARGET on 127.0.0.1 and takes STLS (POP3) and
STARTTLS (IMAP) out of what the server offers. Prints "ready" once listening."""
import socket, sys, threading


def relay(source, sink, strip):
    rest = b""
    try:
        while data := source.recv(65536):
            if strip:
                *lines, rest = (rest + data).split(b"\n")
                data = b"".join(l.replace(b" STARTTLS", b"") + b"\n" for l in lines
                                if l.rstrip(b"\r").upper() != b"STLS")
            sink.sendall(data)
    except OSError:
        pass
    sink.close()


host, port, target = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
server = socket.create_server((host, port))
print("ready", flush=True)
while True:
    client, _ = server.accept()
    upstream = socket.create_connection(("127.0.0.1", target))
    threading.Thread(target=relay, args=(upstream, client, True), daemon=True).start()
    threading.Thread(target=relay, args=(client, upstream, False), daemon=True).start()
