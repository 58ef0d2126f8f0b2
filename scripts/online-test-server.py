#!/usr/bin/env python3
"""The maker's web server as the online tests need it, on 127.0.0.1.

WinINet reaches it as a proxy, so requests arrive with the full address
("GET http://host:80/path HTTP/1.1"); plain paths are answered alike. Fixed files
are served from the table below; any other path gets an error page. A POST is
read to its announced length and recorded in the log folder (request line,
headers, body, byte for byte), as is the last GET. "GET /control/drop-next-post"
makes the next POST be cut off with a reset right after its headers;
"GET /control/drop-next-post-after-body" after its body, without an answer.

  online-test-server.py --port-file FILE --log-dir DIR [--lifetime SECONDS]
  online-test-server.py --free-port    (prints a port nothing listens on)
"""
import argparse
import http.server
import os
import socket
import struct
import sys
import threading
import time
import urllib.parse

VERSION_FILE = (b"http://www.quendal-software.example/vorlix/\r\n$VERSION\r\n1.6.0\r\n"
                b"Reads 2.88 MB disks\r\n$VERSION\r\n1.5.2\r\nFirst release\r\n")
MESSAGE_FILE = b"Visit us\nhttp://www.quendal-software.example/\nHello\n\nWorld\n"
LINES = ["first", "", "third line", "$VERSION", "N/A", "1.5.2", "last"]
FILES = {
    "/software/vorlix/index.txt": VERSION_FILE,
    "/software/vorlix/communicator.txt": MESSAGE_FILE,
    "/test/lf.txt": "\n".join(LINES).encode() + b"\n",
    "/test/crlf.txt": "\r\n".join(LINES).encode() + b"\r\n",
    "/test/no-final-line-end.txt": b"one\r\ntwo",
    "/test/empty.txt": b"",
    "/test/large.txt": b"".join(b"line %05d\n" % i for i in range(20000)),
    "/test/too-large.txt": b"x" * (2 * 1024 * 1024),
}
ERROR_PAGE = b"<html>\n<body>Not found</body>\n</html>\n"
CUT_BODY_ANNOUNCED = 100000
CUT_BODY_SENT = 5000


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.0"

    def log_message(self, format, *args):
        pass

    def local_path(self):
        return urllib.parse.urlsplit(self.path).path if "://" in self.path else self.path.split("?")[0]

    def record(self, kind, body=b""):
        head = self.requestline + "\r\n" + "".join(
            "%s: %s\r\n" % (name, value) for name, value in self.headers.items())
        for name, data in (("line", self.requestline.encode("latin-1")),
                           ("headers", head.encode("latin-1")), ("body", body)):
            path = os.path.join(self.server.log_dir, "last-%s-%s" % (kind, name))
            with open(path + ".tmp", "wb") as out:
                out.write(data)
            os.replace(path + ".tmp", path)

    def reset_connection(self):
        self.connection.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
        self.connection.close()
        self.close_connection = True

    def answer(self, status, body, content_type="text/plain"):
        self.send_response(status)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(body)))
        self.send_header("Cache-Control", "no-cache")
        self.end_headers()
        self.wfile.write(body)

    def do_GET(self):
        path = self.local_path()
        self.record("get")
        if path in ("/control/drop-next-post", "/control/drop-next-post-after-body"):
            with self.server.lock:
                self.server.drop_next_post = path.rsplit("-", 1)[-1]
            self.answer(200, b"ok\n")
        elif path == "/test/cut.txt":
            self.send_response(200)
            self.send_header("Content-Length", str(CUT_BODY_ANNOUNCED))
            self.end_headers()
            self.wfile.write(b"y" * CUT_BODY_SENT)
            self.wfile.flush()
            time.sleep(0.2)
            self.reset_connection()
        elif path in FILES:
            self.answer(200, FILES[path])
        else:
            self.answer(404, ERROR_PAGE, "text/html")

    def do_POST(self):
        with self.server.lock:
            drop, self.server.drop_next_post = self.server.drop_next_post, None
        if drop == "post":
            self.record("dropped-post")
            self.reset_connection()
            return
        length = int(self.headers.get("Content-Length", "0"))
        body = self.rfile.read(length)
        if drop == "body":
            self.record("dropped-post", body)
            self.reset_connection()
            return
        self.record("post", body)
        self.answer(200, b"Thank you\n")


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--port-file")
    parser.add_argument("--log-dir")
    parser.add_argument("--lifetime", type=float, default=600)
    parser.add_argument("--free-port", action="store_true")
    args = parser.parse_args()
    if args.free_port:
        print(free_port())
        return 0

    os.makedirs(args.log_dir, exist_ok=True)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.daemon_threads = True
    server.log_dir = args.log_dir
    server.lock = threading.Lock()
    server.drop_next_post = None
    with open(args.port_file + ".tmp", "w") as out:
        out.write("%d\n" % server.server_address[1])
    os.replace(args.port_file + ".tmp", args.port_file)
    # Bounded even if whoever started it forgets it.
    threading.Timer(args.lifetime, server.shutdown).start()
    server.serve_forever()
    return 0


if __name__ == "__main__":
    sys.exit(main())
