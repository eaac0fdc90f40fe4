#!/usr/bin/env python3
"""A loopback stand-in for the malware-hash export, for tests and benchmarks.

Serves HEAD and GET on /export/txt/sha256/full/ with a Last-Modified header and a zip archive holding
"full_sha256.txt". With --port 0 it picks a free port and prints it as the first line on stdout.
It stops by itself after --lifetime seconds. With --request-log FILE it appends one line per request:
the method and the User-Agent header, separated by a tab.

Modes:
  ok         the archive
  404, 500   that status with an HTML body
  stall      the headers and a few bytes of the archive, then nothing
  trickle    the archive, 100 bytes every 100 ms
  stallhead  nothing at all for a HEAD request (GET as ok)
  notzip     a body that is not a zip archive
  nomember   a zip archive without full_sha256.txt
  crlf       the archive, its hash list with CR LF line endings
  damaged    the archive with 64 bytes in the middle of its compressed data overwritten
"""
import argparse
import ctypes
import hashlib
import http.server
import io
import os
import signal
import sys
import tempfile
import threading
import time
import zipfile

PATH = "/export/txt/sha256/full/"


def hash_list(count, crlf, content_file):
    if content_file:
        with open(content_file, "rb") as f:
            return f.read()
    ending = "\r\n" if crlf else "\n"
    lines = ["#####", "# MalwareBazaar full SHA256 export (test data)", "#####"]
    lines += [hashlib.sha256(str(i).encode()).hexdigest() for i in range(count)]
    lines.append("# End of list")
    return (ending.join(lines) + ending).encode()


def build_body(args):
    if args.mode in ("404", "500"):
        return b"<html><body><h1>Error " + args.mode.encode() + b"</h1></body></html>\n"
    if args.mode == "notzip":
        return b"This is not a zip archive.\n" * 10
    member = "other.txt" if args.mode == "nomember" else "full_sha256.txt"
    data = hash_list(args.hashes, args.mode == "crlf", args.content_file)
    spool = tempfile.SpooledTemporaryFile(max_size=1 << 26)
    with zipfile.ZipFile(spool, "w", zipfile.ZIP_DEFLATED, compresslevel=1) as archive:
        archive.writestr(member, data)
    spool.seek(0)
    body = spool.read()
    if args.mode == "damaged":
        body = damaged(body)
    return body


def damaged(archive):
    """The archive with 64 bytes in the middle of its one member's compressed data overwritten."""
    with zipfile.ZipFile(io.BytesIO(archive)) as z:
        info = z.infolist()[0]
    name_length = int.from_bytes(archive[info.header_offset + 26:info.header_offset + 28], "little")
    extra_length = int.from_bytes(archive[info.header_offset + 28:info.header_offset + 30], "little")
    start = info.header_offset + 30 + name_length + extra_length
    middle = start + info.compress_size // 2
    return archive[:middle] + bytes((i * 37 + 11) & 0xFF for i in range(64)) + archive[middle + 64:]


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def note_request(self):
        if self.server.args.request_log:
            with open(self.server.args.request_log, "a") as log:
                log.write(f"{self.command}\t{self.headers.get('User-Agent', '')}\n")

    def send_head(self):
        args = self.server.args
        if self.path != PATH:
            self.send_response(404)
            self.send_header("Content-Length", "0")
            self.end_headers()
            return None
        status = int(args.mode) if args.mode in ("404", "500") else 200
        body = self.server.body
        self.send_response(status)
        self.send_header("Content-Type", "text/html" if status != 200 else "application/zip")
        self.send_header("Content-Length", str(len(body)))
        if args.last_modified:
            self.send_header("Last-Modified", args.last_modified)
        self.end_headers()
        return body

    def do_HEAD(self):
        self.note_request()
        if self.server.args.mode == "stallhead":
            time.sleep(self.server.args.lifetime)
            return
        self.send_head()

    def do_GET(self):
        self.note_request()
        body = self.send_head()
        if body is None:
            return
        if self.server.args.mode == "stall":
            self.wfile.write(body[:16])
            self.wfile.flush()
            time.sleep(self.server.args.lifetime)
            return
        if self.server.args.mode == "trickle":
            for start in range(0, len(body), 100):
                self.wfile.write(body[start:start + 100])
                self.wfile.flush()
                time.sleep(0.1)
            return
        self.wfile.write(body)


def end_with_parent():
    """Ends the server with the process that started it, also one that never stops it: a death test's child
    leaves through exit(), and a server left running would keep the test's pipes open."""
    ctypes.CDLL(None).prctl(1, signal.SIGTERM)  # PR_SET_PDEATHSIG


def main():
    end_with_parent()  # the parent waits for the port below, so it is still there now
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--mode", default="ok", choices=["ok", "404", "500", "stall", "trickle", "stallhead", "notzip",
                                                          "nomember", "crlf", "damaged"])
    parser.add_argument("--last-modified", default="Wed, 09 Dec 2026 08:00:00 GMT",
                        help="the Last-Modified value; empty for no header")
    parser.add_argument("--hashes", type=int, default=20, help="number of generated hashes")
    parser.add_argument("--content-file", help="use this file as full_sha256.txt, byte for byte")
    parser.add_argument("--request-log", help="append each request's method and User-Agent to this file")
    parser.add_argument("--lifetime", type=float, default=600, help="seconds until the server stops")
    args = parser.parse_args()

    http.server.ThreadingHTTPServer.daemon_threads = True
    server = http.server.ThreadingHTTPServer(("127.0.0.1", args.port), Handler)
    server.args = args
    server.body = build_body(args)
    print(server.server_address[1], flush=True)
    threading.Timer(args.lifetime, server.shutdown).start()
    server.serve_forever()
    os._exit(0)


if __name__ == "__main__":
    sys.exit(main())
