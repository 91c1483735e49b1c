"""microsocks with user and password: QF_SOCKS_AUTH_PORT, QF_SOCKS_USER, QF_SOCKS_PASS."""
import shutil

USER = "socksuser"
PASSWORD = "s3cret-pass"


def start(ctx):
    exe = shutil.which("microsocks") or "/usr/bin/microsocks"
    port = ctx.free_port()
    p = ctx.spawn([exe, "-i", "127.0.0.1", "-p", str(port), "-u", USER, "-P", PASSWORD])
    ctx.wait_port(port, p)
    return {"QF_SOCKS_AUTH_PORT": str(port), "QF_SOCKS_USER": USER, "QF_SOCKS_PASS": PASSWORD}
