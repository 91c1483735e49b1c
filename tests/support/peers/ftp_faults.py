"""pyftpdlib with refusals on 127.0.0.1: QF_FTP_FAULTS_PORT, QF_FTP_FAULTS_ROOT
(a scratch folder, user "test" / "test", full rights). Names steer it:

- a folder whose name starts with "locked" can be entered but not listed
  (pyftpdlib's own refusal of the list right: 550);
- a LIST in a folder whose name starts with "nodata" is answered 425, as
  when the data connection cannot be made;
- a RETR of a file whose name starts with "drop" ends the session: the
  server closes the control connection without a reply.

The folder "oddnames" holds files named as this side's platform cannot name
a file (a Windows program cannot make them): devices, a trailing dot or
blank, wildcard and quoting characters.
"""
import os
import sys

PY = "/usr/bin/python3"
ODD_NAMES = ["nul", "CON", "aux.txt", "COM1", "lpt9.log", "report.", "trail ", "a?b.txt", "star*.txt",
             'say"hi".txt', "<lt>.txt", "pipe|.txt"]


def start(ctx):
    root = os.path.join(ctx.tmp, "ftp-faults-root")
    os.makedirs(root, exist_ok=True)
    odd = os.path.join(root, "oddnames")
    os.makedirs(odd, exist_ok=True)
    for name in ODD_NAMES + ["fine.txt", "report"]:
        with open(os.path.join(odd, name), "w") as f:
            f.write("file " + name)
    port = ctx.free_port()
    pasv = ctx.free_port_range(10)
    p = ctx.spawn([PY, os.path.abspath(__file__), str(port), root, str(pasv), str(pasv + 9)])
    ctx.wait_port(port, p)
    return {"QF_FTP_FAULTS_PORT": str(port), "QF_FTP_FAULTS_ROOT": root}


def main(port, root, first, last):
    import logging

    from pyftpdlib.authorizers import DummyAuthorizer
    from pyftpdlib.handlers import FTPHandler
    from pyftpdlib.servers import FTPServer

    logging.basicConfig(level=logging.ERROR)

    class Authorizer(DummyAuthorizer):
        def has_perm(self, username, perm, path=None):
            if perm == "l" and path and os.path.basename(os.path.normpath(path)).startswith("locked"):
                return False
            return DummyAuthorizer.has_perm(self, username, perm, path)

    class Handler(FTPHandler):
        def ftp_LIST(self, path):
            if os.path.basename(os.path.normpath(path)).startswith("nodata"):
                if self.data_channel is not None:
                    self.data_channel.close()
                    self.data_channel = None
                self.respond("425 Can't open data connection.")
                return
            return FTPHandler.ftp_LIST(self, path)

        def ftp_RETR(self, file):
            if os.path.basename(file).startswith("drop"):
                self.close()
                return
            return FTPHandler.ftp_RETR(self, file)

    auth = Authorizer()
    auth.add_user("test", "test", root, perm="elradfmwMT")
    handler = Handler
    handler.authorizer = auth
    handler.passive_ports = range(first, last + 1)
    handler.permit_foreign_addresses = True
    server = FTPServer(("127.0.0.1", port), handler)
    server.serve_forever()


if __name__ == "__main__":
    a = sys.argv
    main(int(a[1]), a[2], int(a[3]), int(a[4]))
