"""pyftpdlib with throttled data connections on 127.0.0.1: QF_FTP_SLOW_PORT,
QF_FTP_SLOW_ROOT (a scratch folder, user "test" / "test"). Each transfer
moves about 64 KiB a second, so a client can stop one half way.
"""
import os
import sys

PY = "/usr/bin/python3"


def start(ctx):
    root = os.path.join(ctx.tmp, "ftp-slow-root")
    os.makedirs(root, exist_ok=True)
    port = ctx.free_port()
    pasv = ctx.free_port_range(10)
    p = ctx.spawn([PY, os.path.abspath(__file__), str(port), root, str(pasv), str(pasv + 9)])
    ctx.wait_port(port, p)
    return {"QF_FTP_SLOW_PORT": str(port), "QF_FTP_SLOW_ROOT": root}


def main(port, root, first, last):
    import logging

    from pyftpdlib.authorizers import DummyAuthorizer
    from pyftpdlib.handlers import FTPHandler, ThrottledDTPHandler
    from pyftpdlib.servers import FTPServer

    logging.basicConfig(level=logging.ERROR)
    auth = DummyAuthorizer()
    auth.add_user("test", "test", root, perm="elradfmwMT")
    dtp = ThrottledDTPHandler
    dtp.read_limit = 64 * 1024
    dtp.write_limit = 64 * 1024
    handler = FTPHandler
    handler.authorizer = auth
    handler.dtp_handler = dtp
    handler.passive_ports = range(first, last + 1)
    handler.permit_foreign_addresses = True
    server = FTPServer(("127.0.0.1", port), handler)
    server.serve_forever()


if __name__ == "__main__":
    a = sys.argv
    main(int(a[1]), a[2], int(a[3]), int(a[4]))
