#!/usr/bin/env python3
"""A local https server with the answers the update check must cope with.

  version_server.py TRUSTED_CERT TRUSTED_KEY OTHER_CERT OTHER_KEY PORT_FILE

Serves the same answers on two ports: one with the certificate the test adds
to the prefix's root store, one with a certificate nobody trusts. Both listen
on localhost only (IPv4 and, where there is one, IPv6). Writes "PORT OTHER_PORT"
to PORT_FILE once it listens; runs until it is killed.
"""
import http.server
import os
import socket
import ssl
import sys
import threading
from urllib.parse import parse_qs, urlsplit

ANSWERS = {
    "/newer.txt": b"3.1\r\n",
    "/same.txt": b"3.0",
    "/older.txt": b"2.9\n",
    "/garbage.txt": b"<html><body>Version 9.0 is out</body></html>",
    "/oversized.txt": b"9.9" + b" " * 200000,
    "/noisy.txt": b"4.2\r\nhttp://elsewhere.example/setup.exe " + b"x" * 10,
}

hits = {}
hits_lock = threading.Lock()


class Handler(http.server.BaseHTTPRequestHandler):
    def log_message(self, *args):
        pass

    def answer(self, status, body=b"", headers=()):
        self.send_response(status)
        for name, value in headers:
            self.send_header(name, value)
        self.send_header("Content-Type", "text/plain")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def do_GET(self):
        url = urlsplit(self.path)
        if url.path in ANSWERS:
            return self.answer(200, ANSWERS[url.path])
        if url.path == "/redirect.txt":
            return self.answer(302, b"", [("Location", "/newer.txt")])
        if url.path == "/flaky.txt":
            # Fails `fail` times per query, then offers 3.1.
            query = parse_qs(url.query)
            with hits_lock:
                hits[url.query] = hits.get(url.query, 0) + 1
                count = hits[url.query]
            if count <= int(query.get("fail", ["0"])[0]):
                return self.answer(503, b"busy")
            return self.answer(200, b"3.1")
        return self.answer(404, b"not found")


class Server(http.server.ThreadingHTTPServer):
    daemon_threads = True

    def handle_error(self, request, client_address):
        pass  # a client that stops reading early (the oversized answer) is expected


class Server6(Server):
    address_family = socket.AF_INET6


def serve(cert, key, port=0):
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(cert, key)
    servers = [Server(("127.0.0.1", port), Handler)]
    port = servers[0].server_address[1]
    try:
        servers.append(Server6(("::1", port), Handler))
    except OSError:
        pass  # no IPv6 loopback here
    for server in servers:
        server.socket = context.wrap_socket(server.socket, server_side=True)
        threading.Thread(target=server.serve_forever, daemon=True).start()
    return port


def main(argv):
    trusted_cert, trusted_key, other_cert, other_key, port_file = argv[1:6]
    ports = (serve(trusted_cert, trusted_key), serve(other_cert, other_key))
    with open(port_file + ".tmp", "w") as f:
        f.write("%d %d\n" % ports)
    os.replace(port_file + ".tmp", port_file)
    threading.Event().wait()


if __name__ == "__main__":
    main(sys.argv)
