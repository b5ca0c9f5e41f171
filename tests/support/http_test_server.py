#!/usr/bin/env python3
"""A small HTTP server on 127.0.0.1 for the HTTP client and update tests.

    http_test_server.py --folder DIR [--lifetime SECONDS]

Serves the files under DIR/www, writes the port it listens on to DIR/port,
and appends every request line ("GET /path?query") to DIR/requests.log.
GET /__ready answers "ready" without being logged. It stops by itself after --lifetime seconds (default 300), when the file
DIR/stop appears, or on GET /__stop.

GET queries that change the answer:
    status=N      answer status N with the body "status N"
    cut=N         announce the whole file but close after N bytes
    redirect=URL  answer 302 with Location URL
A "Range: bytes=N-" header gets a 206 with the rest of the file.

POST saves the body byte for byte to DIR/post-<n>.body and its headers to
DIR/post-<n>.headers, and answers "received <length>".
"""

import argparse
import http.server
import os
import socketserver
import sys
import threading
import time
import urllib.parse


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.0"
    folder = "."
    posts = 0
    lock = threading.Lock()

    def log_message(self, fmt, *args):
        pass

    def _log(self):
        with Handler.lock:
            with open(os.path.join(self.folder, "requests.log"), "a", encoding="utf-8") as log:
                log.write("%s %s\n" % (self.command, self.path))

    def _answer(self, status, body, headers=()):
        self.send_response(status)
        self.send_header("Content-Length", str(len(body)))
        for name, value in headers:
            self.send_header(name, value)
        self.end_headers()
        self.wfile.write(body)

    def do_GET(self):
        if self.path == "/__ready":
            self._answer(200, b"ready")
            return
        self._log()
        url = urllib.parse.urlsplit(self.path)
        query = urllib.parse.parse_qs(url.query)
        if url.path == "/__stop":
            self._answer(200, b"stopping")
            threading.Thread(target=self.server.shutdown, daemon=True).start()
            return
        if "status" in query:
            status = int(query["status"][0])
            self._answer(status, ("status %d" % status).encode())
            return
        if "redirect" in query:
            self._answer(302, b"", [("Location", query["redirect"][0])])
            return
        relative = urllib.parse.unquote(url.path).lstrip("/")
        www = os.path.realpath(os.path.join(self.folder, "www"))
        path = os.path.realpath(os.path.join(www, relative))
        if not path.startswith(www + os.sep) or not os.path.isfile(path):
            self._answer(404, b"not found")
            return
        with open(path, "rb") as f:
            data = f.read()
        start = 0
        status = 200
        extra = [("Content-Type", "application/octet-stream")]
        ranged = self.headers.get("Range", "")
        if ranged.startswith("bytes=") and ranged.endswith("-"):
            start = min(int(ranged[6:-1]), len(data))
            status = 206
            extra.append(("Content-Range", "bytes %d-%d/%d" % (start, len(data) - 1, len(data))))
        body = data[start:]
        self.send_response(status)
        self.send_header("Content-Length", str(len(body)))
        for name, value in extra:
            self.send_header(name, value)
        self.end_headers()
        if "cut" in query:
            self.wfile.write(body[: int(query["cut"][0])])
            self.wfile.flush()
            self.close_connection = True
            return
        self.wfile.write(body)

    def do_POST(self):
        self._log()
        length = int(self.headers.get("Content-Length", "0"))
        body = b""
        while len(body) < length:
            piece = self.rfile.read(length - len(body))
            if not piece:
                break
            body += piece
        with Handler.lock:
            Handler.posts += 1
            number = Handler.posts
        base = os.path.join(self.folder, "post-%d" % number)
        with open(base + ".headers", "w", encoding="utf-8") as f:
            for name, value in self.headers.items():
                f.write("%s: %s\n" % (name, value))
        with open(base + ".body", "wb") as f:
            f.write(body)
        self._answer(200, ("received %d" % len(body)).encode())


class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True
    allow_reuse_address = True


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--folder", required=True)
    parser.add_argument("--lifetime", type=float, default=300)
    args = parser.parse_args()
    Handler.folder = args.folder
    os.makedirs(os.path.join(args.folder, "www"), exist_ok=True)
    server = Server(("127.0.0.1", 0), Handler)
    port_file = os.path.join(args.folder, "port")
    with open(port_file + ".tmp", "w") as f:
        f.write(str(server.server_address[1]))
    os.replace(port_file + ".tmp", port_file)

    def watch():
        end = time.monotonic() + args.lifetime
        stop = os.path.join(args.folder, "stop")
        while time.monotonic() < end and not os.path.exists(stop):
            time.sleep(0.2)
        server.shutdown()

    threading.Thread(target=watch, daemon=True).start()
    server.serve_forever(poll_interval=0.2)
    server.server_close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
