#!/usr/bin/python3
"""Runs a command with loopback test peers around it.

    peers.py --peers socks,ftp -- <command> [args...]

Each peer is a module in tests/support/peers/ (name with "-" read as "_")
with a function start(ctx) that starts its server on 127.0.0.1, on a port
chosen free at run time, and returns the environment variables that tell the
test where it is. Every peer is stopped, and its scratch folder removed, when
the command ends, whatever its outcome.
"""
import importlib.util
import os
import shutil
import socket
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))


class Context:
    def __init__(self):
        self.tmp = tempfile.mkdtemp(prefix="qf-peers-")
        self.procs = []
        self.cleanups = []

    def free_port(self):
        with socket.socket() as s:
            s.bind(("127.0.0.1", 0))
            return s.getsockname()[1]

    def free_port_range(self, count):
        """A run of count consecutive free ports (for passive data ports)."""
        for _ in range(200):
            base = self.free_port()
            if base + count >= 65535:
                continue
            ok = True
            for p in range(base, base + count):
                with socket.socket() as s:
                    try:
                        s.bind(("127.0.0.1", p))
                    except OSError:
                        ok = False
                        break
            if ok:
                return base
        raise RuntimeError("no free port range")

    def spawn(self, args, **kw):
        kw.setdefault("stdin", subprocess.DEVNULL)
        kw.setdefault("stdout", subprocess.DEVNULL)
        kw.setdefault("stderr", subprocess.DEVNULL)
        p = subprocess.Popen(args, start_new_session=True, **kw)
        self.procs.append(p)
        return p

    def wait_port(self, port, proc=None, timeout=10.0):
        deadline = time.time() + timeout
        while time.time() < deadline:
            if proc is not None and proc.poll() is not None:
                raise RuntimeError("peer exited early: %r" % (proc.args,))
            with socket.socket() as s:
                s.settimeout(0.2)
                try:
                    s.connect(("127.0.0.1", port))
                    return
                except OSError:
                    time.sleep(0.05)
        raise RuntimeError("peer did not open port %d" % port)

    def stop(self):
        for fn in reversed(self.cleanups):
            try:
                fn()
            except Exception:
                pass
        for p in self.procs:
            if p.poll() is None:
                try:
                    os.killpg(p.pid, 15)
                except OSError:
                    pass
        for p in self.procs:
            try:
                p.wait(timeout=5)
            except subprocess.TimeoutExpired:
                try:
                    os.killpg(p.pid, 9)
                except OSError:
                    pass
                p.wait()
        shutil.rmtree(self.tmp, ignore_errors=True)


def load(name):
    path = os.path.join(HERE, "peers", name.replace("-", "_") + ".py")
    spec = importlib.util.spec_from_file_location("peer_" + name.replace("-", "_"), path)
    mod = importlib.util.module_from_spec(spec)
    spec.loader.exec_module(mod)
    return mod


def main(argv):
    if "--" not in argv:
        print(__doc__, file=sys.stderr)
        return 2
    sep = argv.index("--")
    opts, cmd = argv[:sep], argv[sep + 1:]
    names = []
    if "--peers" in opts:
        names = [n for n in opts[opts.index("--peers") + 1].split(",") if n]
    ctx = Context()
    env = dict(os.environ)
    try:
        for n in names:
            env.update(load(n).start(ctx))
        return subprocess.call(cmd, env=env)
    finally:
        ctx.stop()


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
