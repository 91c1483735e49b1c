"""A small HTTP/1.1 server for fixture sites: QF_HTTP_PORT, QF_HTTP_ROOT,
QF_HTTP_REFUSED_PORT.

The root is QF_HTTP_ROOT when the environment gives one (a fixture folder),
else a scratch folder the test can fill. Files are served with
Content-Length; a missing file gives 404. In a served file "@PORT@" becomes
the server's port and "@REFUSED@" a port on which nothing listens
(QF_HTTP_REFUSED_PORT), so fixture pages can link to this server under
other host names and to a refused port. Prefixes change how a file comes:
  /chunked/<path>  chunked transfer encoding, 100-byte chunks
  /slow/<path>     chunked, 16-byte chunks with 3 ms between them
  /drop/<path>     announces the full length, sends half, drops the connection
  /stall/<path>    announces the full length, sends half, then sends nothing
                   more for a minute (or until the client goes)
  /concurrency     the largest number of requests served at once so far
  /echo/<any>      a page holding the request target as it arrived
"""
import os
import sys
import threading
import time

if __name__ == "__main__":
    # Run as a script, this file's folder comes first on the path and its
    # name would hide the standard "http" package.
    here = os.path.dirname(os.path.abspath(__file__))
    sys.path[:] = [p for p in sys.path if os.path.abspath(p or ".") != here]

from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer  # noqa: E402
from urllib.parse import unquote, urlsplit  # noqa: E402

PY = "/usr/bin/python3"


def start(ctx):
    root = os.environ.get("QF_HTTP_ROOT") or os.path.join(ctx.tmp, "http")
    os.makedirs(root, exist_ok=True)
    port = ctx.free_port()
    refused = ctx.free_port()
    while refused == port:
        refused = ctx.free_port()
    p = ctx.spawn([PY, os.path.abspath(__file__), str(port), root, str(refused)])
    ctx.wait_port(port, p)
    return {"QF_HTTP_PORT": str(port), "QF_HTTP_ROOT": root, "QF_HTTP_REFUSED_PORT": str(refused)}


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    # Headers and body go out as separate writes: without this each reply
    # would wait for the client's delayed acknowledgement.
    disable_nagle_algorithm = True
    root = "."
    port = 0
    refused = 0
    lock = threading.Lock()
    active = 0
    most = 0

    def log_message(self, *args):
        pass

    def do_GET(self):
        path = unquote(urlsplit(self.path).path)
        if path == "/concurrency" or path.startswith("/echo/"):
            with Handler.lock:
                body = (str(Handler.most) if path == "/concurrency" else self.path).encode("latin-1")
            self.send_response(200)
            self.send_header("Content-Type", "text/plain")
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            self.wfile.write(body)
            return
        with Handler.lock:
            Handler.active += 1
            Handler.most = max(Handler.most, Handler.active)
        try:
            self.serve(path)
        finally:
            with Handler.lock:
                Handler.active -= 1

    def serve(self, path):
        mode = None
        for m in ("chunked", "slow", "drop", "stall"):
            if path.startswith("/%s/" % m):
                mode, path = m, path[len(m) + 1:]
                break
        full = os.path.realpath(os.path.join(self.root, path.lstrip("/")))
        if not full.startswith(os.path.realpath(self.root)) or not os.path.isfile(full):
            body = b"<html><body>Not found</body></html>"
            self.send_response(404)
            self.send_header("Content-Type", "text/html")
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            self.wfile.write(body)
            return
        with open(full, "rb") as f:
            data = f.read()
        data = data.replace(b"@PORT@", str(self.port).encode()).replace(b"@REFUSED@", str(self.refused).encode())
        self.send_response(200)
        self.send_header("Content-Type", "text/html")
        if mode in ("chunked", "slow"):
            self.send_header("Transfer-Encoding", "chunked")
            self.end_headers()
            piece, pause = (100, 0) if mode == "chunked" else (16, 0.003)
            for i in range(0, len(data), piece):
                part = data[i:i + piece]
                self.wfile.write(b"%x\r\n%s\r\n" % (len(part), part))
                self.wfile.flush()
                if pause:
                    time.sleep(pause)
            self.wfile.write(b"0\r\n\r\n")
        elif mode == "stall":
            self.send_header("Content-Length", str(len(data)))
            self.end_headers()
            self.wfile.write(data[:len(data) // 2])
            self.wfile.flush()
            self.connection.settimeout(60)
            try:
                self.connection.recv(1)  # returns when the client closes
            except OSError:
                pass
            self.close_connection = True
        elif mode == "drop":
            self.send_header("Content-Length", str(len(data)))
            self.end_headers()
            self.wfile.write(data[:len(data) // 2])
            self.wfile.flush()
            self.close_connection = True
            self.connection.shutdown(2)
        else:
            self.send_header("Content-Length", str(len(data)))
            self.end_headers()
            self.wfile.write(data)


def main(port, root, refused):
    Handler.root = root
    Handler.port = port
    Handler.refused = refused
    srv = ThreadingHTTPServer(("127.0.0.1", port), Handler)
    srv.daemon_threads = True
    srv.serve_forever()


if __name__ == "__main__":
    main(int(sys.argv[1]), sys.argv[2], int(sys.argv[3]) if len(sys.argv) > 3 else 0)
