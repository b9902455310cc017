#!/usr/bin/env python3
"""Serves the built page on 127.0.0.1, as a web server set up for it would:
a file's gzip-compressed copy (NAME.gz, written by scripts/web) goes to a
browser that accepts it, with Content-Encoding: gzip.

Usage: web-serve.py WEB_DIR [PORT]"""
import functools
import http.server
import os
import sys

TYPES = {".wasm": "application/wasm", ".webmanifest": "application/manifest+json",
         ".js": "text/javascript", ".data": "application/octet-stream"}


class Handler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map, **TYPES}

    def send_head(self):
        path = self.translate_path(self.path)
        if os.path.isdir(path):
            path = os.path.join(path, "index.html")
        packed = path + ".gz"
        if "gzip" not in self.headers.get("Accept-Encoding", "") or not os.path.isfile(packed):
            return super().send_head()
        f = open(packed, "rb")
        self.send_response(200)
        self.send_header("Content-Type", self.guess_type(path))
        self.send_header("Content-Encoding", "gzip")
        self.send_header("Vary", "Accept-Encoding")
        self.send_header("Content-Length", str(os.fstat(f.fileno()).st_size))
        self.send_header("Last-Modified", self.date_time_string(int(os.path.getmtime(packed))))
        self.end_headers()
        return f


def main():
    web = sys.argv[1]
    port = int(sys.argv[2]) if len(sys.argv) > 2 else 8000
    server = http.server.ThreadingHTTPServer(
        ("127.0.0.1", port), functools.partial(Handler, directory=web))
    print("Serving %s on http://127.0.0.1:%d/" % (web, port), flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass


main()
