"""pyftpdlib on 127.0.0.1: QF_FTP_PORT, QF_FTP_ROOT, QF_FTP_USER, QF_FTP_PASS.

User "test" with password "test", and anonymous. The root is QF_FTP_ROOT when
the environment gives one (a fixture folder, served read-only), else a
scratch folder the test can fill (writable by "test"). Passive data ports
come from a free range on the loopback address.
"""
import os
import sys

PY = "/usr/bin/python3"


def start(ctx):
    given = os.environ.get("QF_FTP_ROOT")
    root = given or os.path.join(ctx.tmp, "ftp")
    os.makedirs(root, exist_ok=True)
    port = ctx.free_port()
    pasv = ctx.free_port_range(8)
    perm = "elr" if given else "elradfmwMT"
    p = ctx.spawn([PY, os.path.abspath(__file__), str(port), root, str(pasv), str(pasv + 7), perm])
    ctx.wait_port(port, p)
    return {"QF_FTP_PORT": str(port), "QF_FTP_ROOT": root, "QF_FTP_USER": "test", "QF_FTP_PASS": "test"}


def main(port, root, first, last, perm):
    from pyftpdlib.authorizers import DummyAuthorizer
    from pyftpdlib.handlers import FTPHandler
    from pyftpdlib.servers import FTPServer

    auth = DummyAuthorizer()
    auth.add_user("test", "test", root, perm=perm)
    auth.add_anonymous(root)
    handler = FTPHandler
    handler.authorizer = auth
    handler.passive_ports = range(first, last + 1)
    handler.permit_foreign_addresses = True
    server = FTPServer(("127.0.0.1", port), handler)
    server.serve_forever()


if __name__ == "__main__":
    a = sys.argv
    main(int(a[1]), a[2], int(a[3]), int(a[4]), a[5])
