"""pyftpdlib on loopback: user QF_FTP_USER/QF_FTP_PASS and anonymous, both
with full rights on one root folder QF_FTP_ROOT (Unix path); control port
QF_FTP_PORT; passive ports from a free range."""
import os

USER = "test"
PASSWORD = "test"

SERVER = r'''
import sys, logging
from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer
port, root, pasv, user, password = int(sys.argv[1]), sys.argv[2], int(sys.argv[3]), sys.argv[4], sys.argv[5]
logging.basicConfig(level=logging.ERROR)
auth = DummyAuthorizer()
auth.add_user(user, password, root, perm="elradfmwMT")
auth.add_anonymous(root, perm="elradfmwMT")
class Handler(FTPHandler):
    authorizer = auth
    passive_ports = range(pasv, pasv + 20)
    permit_foreign_addresses = True
    banner = "pyftpdlib ready."
server = FTPServer(("127.0.0.1", port), Handler)
server.max_cons = 64
server.serve_forever()
'''


def start(ctx):
    root = os.path.join(ctx.tmp, "ftp-root")
    os.makedirs(root, exist_ok=True)
    script = os.path.join(ctx.tmp, "pyftpd.py")
    with open(script, "w") as f:
        f.write(SERVER)
    port = ctx.free_port()
    pasv = ctx.free_port_range(20)
    p = ctx.spawn(["/usr/bin/python3", script, str(port), root, str(pasv), USER, PASSWORD])
    ctx.wait_port(port, p)
    return {"QF_FTP_PORT": str(port), "QF_FTP_ROOT": root, "QF_FTP_USER": USER, "QF_FTP_PASS": PASSWORD}
