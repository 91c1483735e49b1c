"""vsftpd, standalone, anonymous with uploads, on loopback.

QF_VSFTPD_PORT: control port; QF_VSFTPD_ROOT: its root folder (Unix path;
qftest::HostPath turns it into a Wine path); passive ports are a free range.
"""
import os

CONF = """listen=YES
listen_ipv6=NO
listen_address=127.0.0.1
listen_port={port}
background=NO
anonymous_enable=YES
anon_root={root}
no_anon_password=YES
write_enable=YES
anon_upload_enable=YES
anon_mkdir_write_enable=YES
anon_other_write_enable=YES
anon_world_readable_only=NO
anon_umask=022
local_enable=NO
pasv_enable=YES
pasv_min_port={pasv}
pasv_max_port={pasv_end}
pasv_address=127.0.0.1
port_enable=YES
connect_from_port_20=NO
seccomp_sandbox=NO
isolate=NO
isolate_network=NO
run_as_launching_user=YES
allow_writeable_chroot=YES
secure_chroot_dir={tmp}
xferlog_enable=NO
max_clients=50
max_per_ip=50
"""


def start(ctx):
    root = os.path.join(ctx.tmp, "vsftpd-root")
    os.makedirs(root, exist_ok=True)
    port = ctx.free_port()
    pasv = ctx.free_port_range(20)
    conf = os.path.join(ctx.tmp, "vsftpd.conf")
    with open(conf, "w") as f:
        f.write(CONF.format(port=port, root=root, pasv=pasv, pasv_end=pasv + 19, tmp=ctx.tmp))
    p = ctx.spawn(["/usr/sbin/vsftpd", conf])
    ctx.wait_port(port, p)
    return {"QF_VSFTPD_PORT": str(port), "QF_VSFTPD_ROOT": root}
