#!/usr/bin/env python3
"""A local HTTP server for the download tests: listens on 127.0.0.1 at a free
port (written to --port-file), serves --payload and --installer in the modes
below, saves POST bodies and logs every request as one JSON line. It ends by
itself when its parent process is gone, after --idle seconds without a
request, or on GET /quit.

Paths: /<mode>/<name>, name "payload" or "installer". Modes:
  stock        200 with the whole file; ignores Range
  range        honours "Range: bytes=N-" with 206 and Content-Range
  wronglength  a range is answered 206 at the right start, 100 bytes short
  beyond       a range is answered 206 with a Content-Range past the file
  word, dword, qword
               a range is answered 206 with the rest and a Content-Range
               counted in units of 2, 4 or 8 bytes
  norange      a range is answered 206 with the rest and no Content-Range
  nostart      a range is answered 206 with the rest and a Content-Range
               without its first number
  html         the whole file as text/html
  stall<ms>    the first half, a pause of <ms> milliseconds, the rest
  hold         the first half, then nothing until a file "release" appears
               beside the log; then a piece of the rest, a file "resumed"
               beside the log, and the remainder. Ends without the rest
               when the client closes first.
  earlyclose   the first half, then the connection closes
  status<code> an error body of a few kilobytes with that status, not as
               a web page; ignores Range
POST /upload saves the body as upload-<n>.bin in --upload-dir.
"""
import argparse
import hashlib
import json
import os
import re
import select
import socket
import sys
import threading
import time
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer


RANGE_MODES = ("range", "wronglength", "beyond", "word", "dword", "qword", "norange", "nostart")
UNIT_SIZES = {"word": 2, "dword": 4, "qword": 8}


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.0"

    def log_message(self, fmt, *args):
        pass

    def log_request_line(self, extra=None):
        entry = {"method": self.command, "path": self.path,
                 "range": self.headers.get("Range"),
                 "agent": self.headers.get("User-Agent")}
        if extra:
            entry.update(extra)
        with self.server.log_lock:
            with open(self.server.options.log, "a") as log:
                log.write(json.dumps(entry) + "\n")

    def send_body(self, status, data, content_type="application/octet-stream",
                  headers=(), length=None):
        self.send_response(status)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(data) if length is None else length))
        for name, value in headers:
            self.send_header(name, value)
        self.end_headers()
        return data

    def do_GET(self):
        self.server.touch()
        if self.path == "/quit":
            self.log_request_line()
            self.wfile.write(self.send_body(200, b"bye"))
            threading.Thread(target=self.server.shutdown, daemon=True).start()
            return
        match = re.fullmatch(r"/([a-z]+)(\d*)/(payload|installer)(\?.*)?", self.path)
        if not match:
            self.log_request_line()
            self.wfile.write(self.send_body(404, b"not found"))
            return
        mode, number, name = match.group(1), match.group(2), match.group(3)
        path = self.server.options.payload if name == "payload" else self.server.options.installer
        with open(path, "rb") as source:
            data = source.read()
        start = None
        requested = self.headers.get("Range")
        if requested:
            found = re.fullmatch(r"\s*bytes=(\d+)-\s*", requested)
            start = int(found.group(1)) if found else None
        self.log_request_line()
        total = len(data)
        if mode in RANGE_MODES and start is not None and start < total:
            if mode == "beyond":
                first = total + 4096
                body = data[start:]
            else:
                first = start
                body = data[start:total - 100] if mode == "wronglength" else data[start:]
            unit = UNIT_SIZES.get(mode, 1)
            if mode == "norange":
                headers = []
            elif mode == "nostart":
                headers = [("Content-Range", "bytes -%d/%d" % (first + len(body) - 1, total))]
            else:
                headers = [("Content-Range", "%s %d-%d/%d" % ("bytes" if unit == 1 else mode, first // unit,
                                                               (first + len(body) - 1) // unit, total // unit))]
            self.wfile.write(self.send_body(206, body, headers=headers))
            return
        if mode == "status":
            self.wfile.write(self.send_body(int(number or "500"), b"server error\n" * 300))
            return
        content_type = "text/html; charset=utf-8" if mode == "html" else "application/octet-stream"
        if mode == "hold":
            half = total // 2
            self.wfile.write(self.send_body(200, data[:half], content_type, length=total))
            self.wfile.flush()
            if self.hold_until_released():
                piece = min(1024, total - half)
                self.wfile.write(data[half:half + piece])
                self.wfile.flush()
                self.write_beside_log("resumed")
                self.wfile.write(data[half + piece:])
            return
        if mode in ("stall", "earlyclose"):
            half = total // 2
            self.wfile.write(self.send_body(200, data[:half], content_type, length=total))
            self.wfile.flush()
            if mode == "earlyclose":
                self.close_connection = True
                self.connection.shutdown(socket.SHUT_RDWR)
                return
            time.sleep(int(number or "0") / 1000.0)
            try:
                self.wfile.write(data[half:])
            except OSError:
                pass
            return
        self.wfile.write(self.send_body(200, data, content_type))

    def write_beside_log(self, name):
        with open(os.path.join(os.path.dirname(self.server.options.log), name), "w"):
            pass

    # True once the release file is there; False when the client has closed
    # the connection (or reset it) before.
    def hold_until_released(self):
        release = os.path.join(os.path.dirname(self.server.options.log), "release")
        while not os.path.exists(release):
            self.server.touch()
            readable, _, _ = select.select([self.connection], [], [], 0.02)
            if readable:
                try:
                    if not self.connection.recv(1, socket.MSG_PEEK):
                        return False
                except OSError:
                    return False
        return True

    def do_POST(self):
        self.server.touch()
        length = int(self.headers.get("Content-Length") or 0)
        body = self.rfile.read(length) if length > 0 else b""
        with self.server.log_lock:
            self.server.uploads += 1
            name = os.path.join(self.server.options.upload_dir, "upload-%d.bin" % self.server.uploads)
        with open(name, "wb") as out:
            out.write(body)
        self.log_request_line({"content_type": self.headers.get("Content-Type"), "saved": name,
                               "length": len(body)})
        self.wfile.write(self.send_body(200, b"saved"))


class Server(ThreadingHTTPServer):
    daemon_threads = True

    def __init__(self, options):
        super().__init__(("127.0.0.1", 0), Handler)
        self.options = options
        self.log_lock = threading.Lock()
        self.uploads = 0
        self.last = time.monotonic()

    def touch(self):
        self.last = time.monotonic()


def watch(server, options):
    while True:
        time.sleep(0.5)
        try:
            os.kill(options.parent, 0)
        except OSError:
            break
        if time.monotonic() - server.last > options.idle:
            break
    server.shutdown()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--payload", required=True)
    parser.add_argument("--installer", default=None)
    parser.add_argument("--upload-dir", default=".")
    parser.add_argument("--log", required=True)
    parser.add_argument("--port-file", required=True)
    parser.add_argument("--parent", type=int, default=os.getppid())
    parser.add_argument("--idle", type=float, default=120.0)
    options = parser.parse_args()
    if options.installer is None:
        options.installer = options.payload
    server = Server(options)
    threading.Thread(target=watch, args=(server, options), daemon=True).start()
    for name in (options.payload, options.installer):
        with open(name, "rb") as source:
            digest = hashlib.sha256(source.read()).hexdigest()
        with open(name + ".sha256", "w") as out:
            out.write(digest)
    temporary = options.port_file + ".part"
    with open(temporary, "w") as out:
        out.write(str(server.server_address[1]))
    os.replace(temporary, options.port_file)
    server.serve_forever(poll_interval=0.2)
    server.server_close()
    # Tells the test that the port is closed.
    os.remove(options.port_file)
    return 0


if __name__ == "__main__":
    sys.exit(main())
