#!/usr/bin/env python3
"""A forward HTTP proxy on the loopback for tests.

    forward_proxy.py UPSTREAM_HOST:PORT LOG_FILE
    forward_proxy.py HOST=127.0.0.1:PORT,HOST=127.0.0.1:PORT,... LOG_FILE

Takes requests in the absolute form a client sends to a proxy, logs each
request line to LOG_FILE, and relays the request in origin form, one request
per connection: to UPSTREAM (the test's server stands in for every site), or
to the local server its host is mapped to (hosts not mapped get a 502).
Prints the port it listens on, then serves until it is killed."""
import socket
import socketserver
import sys
import threading

if "=" in sys.argv[1]:
    HOSTS = {host.lower(): target.rsplit(":", 1) for host, target in
             (entry.split("=", 1) for entry in sys.argv[1].split(",") if "=" in entry)}
    UPSTREAM = None
else:
    HOSTS = None
    UPSTREAM = sys.argv[1].rsplit(":", 1)
LOG = open(sys.argv[2], "a", buffering=1)
LOCK = threading.Lock()
HOP_BY_HOP = (b"connection:", b"proxy-connection:", b"keep-alive:")


def read_head(sock):
    data = b""
    while b"\r\n\r\n" not in data:
        chunk = sock.recv(65536)
        if not chunk:
            return None, b""
        data += chunk
    head, rest = data.split(b"\r\n\r\n", 1)
    return head.split(b"\r\n"), rest


def end_to_end(lines):
    return [l for l in lines if not l.lower().startswith(HOP_BY_HOP)] + [b"Connection: close"]


class Relay(socketserver.BaseRequestHandler):
    def handle(self):
        lines, rest = read_head(self.request)
        if not lines:
            return
        method, target, version = lines[0].split(b" ", 2)
        with LOCK:
            LOG.write(lines[0].decode("latin-1") + "\n")
        if not target.lower().startswith(b"http://"):
            self.request.sendall(b"HTTP/1.1 501 Not Implemented\r\nContent-Length: 0\r\nConnection: close\r\n\r\n")
            return
        authority, _, rest_of_target = target[len(b"http://"):].partition(b"/")
        path = b"/" + rest_of_target
        where = UPSTREAM
        if HOSTS is not None:
            where = HOSTS.get(authority.decode("latin-1").rsplit(":", 1)[0].lower())
            if where is None:
                self.request.sendall(b"HTTP/1.1 502 Bad Gateway\r\nContent-Length: 0\r\nConnection: close\r\n\r\n")
                return
        upstream = socket.create_connection((where[0], int(where[1])))
        with upstream:
            request = [b" ".join((method, path, version))] + end_to_end(lines[1:])
            upstream.sendall(b"\r\n".join(request) + b"\r\n\r\n" + rest)
            answer, body = read_head(upstream)
            if not answer:
                return
            self.request.sendall(b"\r\n".join([answer[0]] + end_to_end(answer[1:])) + b"\r\n\r\n" + body)
            while True:
                chunk = upstream.recv(65536)
                if not chunk:
                    break
                self.request.sendall(chunk)


class Server(socketserver.ThreadingTCPServer):
    daemon_threads = True
    allow_reuse_address = True


with Server(("127.0.0.1", 0), Relay) as server:
    print(server.server_address[1], flush=True)
    server.serve_forever()
