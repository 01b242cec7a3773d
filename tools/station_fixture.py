#!/usr/bin/env python3
"""A local stand-in for the maker's web servers, for tests and the demo run.

It is an HTTP proxy on loopback: point the web engine at it with
http_proxy=http://127.0.0.1:PORT/ and every request for the maker's hosts
comes here. It answers the station address with a page of its own and logs
each request as one JSON line, so tests can see what the program asked for.

    station_fixture.py [--page station|coords] [--delay SECONDS] [--log FILE]

It prints "PORT <n>" on its first line once it is listening, and stops on
SIGTERM or SIGINT.
"""

import argparse
import json
import signal
import sys
import threading
import time
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer
from pathlib import Path
from urllib.parse import urlsplit

HERE = Path(__file__).resolve().parent
PAGES = {
    "station": HERE / "station" / "index.html",
    "coords": HERE / "station" / "coords.html",
    "policies": HERE / "station" / "policies.html",
}
STATION_PATH = "/dodor/fm/"


class Fixture(BaseHTTPRequestHandler):
    server_version = "StationFixture/1"
    protocol_version = "HTTP/1.1"

    def log_message(self, fmt, *args):  # quiet: requests go to --log
        pass

    def record(self, **extra):
        entry = {
            "time": time.time(),
            "method": self.command,
            "url": self.path,
            "headers": {k: v for k, v in self.headers.items()},
        }
        entry.update(extra)
        with self.server.log_lock:
            if self.server.log_file:
                self.server.log_file.write(json.dumps(entry, ensure_ascii=False) + "\n")
                self.server.log_file.flush()

    def send(self, status, body, content_type="text/html; charset=utf-8"):
        self.send_response(status)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(body)))
        self.send_header("Cache-Control", "no-store")
        self.end_headers()
        if self.command != "HEAD":
            self.wfile.write(body)

    def do_GET(self):
        self.record()
        url = urlsplit(self.path)
        host = url.hostname or self.headers.get("Host", "")
        if host == "app.rurive.com" and url.path == STATION_PATH:
            if self.server.delay:
                time.sleep(self.server.delay)
            self.send(200, self.server.page)
        elif host == "app.rurive.com" and url.path == STATION_PATH + "painted":
            self.send(204, b"")
        elif host == "app.rurive.com" and url.path == STATION_PATH + "song.mid":
            body = b"MThd" + bytes(64)
            self.send_response(200)
            self.send_header("Content-Type", "audio/midi")
            self.send_header("Content-Disposition", 'attachment; filename="song.mid"')
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            self.wfile.write(body)
        elif host.endswith("rurive.com"):
            page = f"<!doctype html><title>{host}</title><p>{host}{url.path}</p>".encode()
            self.send(200, page)
        else:
            self.send(502, b"only the maker's hosts are served here", "text/plain")

    do_HEAD = do_GET  # send() leaves the body out for HEAD

    def do_POST(self):
        length = int(self.headers.get("Content-Length", "0") or 0)
        self.rfile.read(length)
        self.record()
        self.send(405, b"", "text/plain")

    def do_CONNECT(self):
        self.record()
        self.send(405, b"no tunnels", "text/plain")


class Server(ThreadingHTTPServer):
    daemon_threads = True

    def handle_error(self, request, client_address):
        # A browser that goes away mid-request is no fault of the station.
        if not isinstance(sys.exc_info()[1], (ConnectionResetError, BrokenPipeError)):
            super().handle_error(request, client_address)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--page", choices=sorted(PAGES), default="station")
    parser.add_argument("--delay", type=float, default=0.0, help="hold the station page this long")
    parser.add_argument("--log", help="append one JSON line per request to this file")
    parser.add_argument("--port", type=int, default=0)
    args = parser.parse_args()

    server = Server(("127.0.0.1", args.port), Fixture)
    server.page = PAGES[args.page].read_bytes()
    server.delay = args.delay
    server.log_lock = threading.Lock()
    server.log_file = open(args.log, "a", encoding="utf-8") if args.log else None

    def stop(*_):
        threading.Thread(target=server.shutdown, daemon=True).start()

    signal.signal(signal.SIGTERM, stop)
    signal.signal(signal.SIGINT, stop)
    print(f"PORT {server.server_address[1]}", flush=True)
    server.serve_forever()
    server.server_close()
    if server.log_file:
        server.log_file.close()


if __name__ == "__main__":
    sys.exit(main())
