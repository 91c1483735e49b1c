"""pyftpdlib on 127.0.0.1: QF_FTP_PORT, QF_FTP_ROOT, QF_FTP_USER, QF_FTP_PASS.

User "test" with password "test", and anonymous, on one root folder: the
QF_FTP_ROOT the environment gives (a fixture folder, served read-only), else
a scratch folder with full rights for both. QF_FTP_ROOT is a Unix path
(qftest::HostPath turns it into a Wine path). Passive data ports come from a
free range on the loopback address.
"""
import os
import sys

PY = "/usr/bin/python3"
PASSIVE_PORTS = 20


def start(ctx):
    given = os.environ.get("QF_FTP_ROOT")
    root = given or os.path.join(ctx.tmp, "ftp-root")
    os.makedirs(root, exist_ok=True)
    port = ctx.free_port()
    pasv = ctx.free_port_range(PASSIVE_PORTS)
    perm = "elr" if given else "elradfmwMT"
    p = ctx.spawn([PY, os.path.abspath(__file__), str(port), root, str(pasv), str(pasv + PASSIVE_PORTS - 1), perm])
    ctx.wait_port(port, p)
    return {"QF_FTP_PORT": str(port), "QF_FTP_ROOT": root, "QF_FTP_USER": "test", "QF_FTP_PASS": "test"}


def main(port, root, first, last, perm):
    import logging

    from pyftpdlib.authorizers import DummyAuthorizer
    from pyftpdlib.handlers import FTPHandler
    from pyftpdlib.servers import FTPServer

    logging.basicConfig(level=logging.ERROR)
    auth = DummyAuthorizer()
    auth.add_user("test", "test", root, perm=perm)
    auth.add_anonymous(root, perm=perm)
    handler = FTPHandler
    handler.authorizer = auth
    handler.passive_ports = range(first, last + 1)
    handler.permit_foreign_addresses = True
    handler.banner = "pyftpdlib ready."
    server = FTPServer(("127.0.0.1", port), handler)
    server.max_cons = 64
    server.serve_forever()


if __name__ == "__main__":
    a = sys.argv
    main(int(a[1]), a[2], int(a[3]), int(a[4]), a[5])
