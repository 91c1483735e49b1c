"""microsocks without authentication: QF_SOCKS_PORT."""
import shutil


def start(ctx):
    exe = shutil.which("microsocks") or "/usr/bin/microsocks"
    port = ctx.free_port()
    p = ctx.spawn([exe, "-i", "127.0.0.1", "-p", str(port)])
    ctx.wait_port(port, p)
    return {"QF_SOCKS_PORT": str(port)}
