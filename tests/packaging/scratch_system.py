"""The machine's own system as a scratch root for package tests.

A ScratchSystem shows /usr, /etc and /var as they are, through overlays
whose changes are written into a scratch directory and go with it: dpkg may
install, upgrade, remove and purge there, its maintainer scripts and
triggers running as on the machine, while the machine and every other
process see nothing of it. Each command runs in a mount namespace of its
own (unshare, as root) on the same overlays, so the state carries from one
command to the next.
"""

import os
import pathlib
import shutil
import subprocess

LAYERS = ("usr", "etc", "var")

# Mounts each layer's overlay over the layer itself, and hides a running
# systemd (whose user managers live outside), then runs the command.
MOUNT_AND_RUN = """set -e
scratch=$1
shift
for layer in %s; do
  mount -t overlay overlay \\
    -o "lowerdir=/$layer,upperdir=$scratch/$layer/upper,workdir=$scratch/$layer/work" "/$layer"
done
if [ -d /run/systemd ]; then mount -t tmpfs none /run/systemd; fi
exec "$@"
""" % " ".join(LAYERS)


def unavailable():
    """Why no scratch system can be made here, or None when one can."""
    if os.geteuid() != 0:
        return "needs root, to mount the overlays in a namespace of its own"
    if not shutil.which("unshare"):
        return "needs unshare (util-linux)"
    for layer in LAYERS:
        if not os.path.isdir("/" + layer) or os.path.islink("/" + layer):
            return f"/{layer} is not a directory of its own"
    done = subprocess.run(["unshare", "--mount", "--propagation", "private", "sh", "-c",
                           "mount -t tmpfs none /mnt"], capture_output=True, text=True)
    if done.returncode != 0:
        return f"cannot mount in a namespace of its own: {done.stderr.strip()}"
    return None


class ScratchSystem:
    def __init__(self, scratch):
        self.scratch = pathlib.Path(scratch)
        # The scratch directory must lie outside the layers it overlays.
        resolved = self.scratch.resolve()
        for layer in LAYERS:
            if resolved.is_relative_to("/" + layer):
                raise ValueError(f"{resolved} lies in /{layer}")
        for layer in LAYERS:
            (self.scratch / layer / "upper").mkdir(parents=True, exist_ok=True)
            (self.scratch / layer / "work").mkdir(parents=True, exist_ok=True)

    def run(self, command, env=None, timeout=600, cwd=None, input=None):
        """Runs `command` (a list) in the scratch system; answers the
        completed process, its output as text."""
        return subprocess.run(
            ["unshare", "--mount", "--propagation", "private", "sh", "-c", MOUNT_AND_RUN, "sh",
             str(self.scratch), *map(str, command)],
            capture_output=True, text=True, timeout=timeout, env=env, cwd=cwd, input=input)

    def shell(self, script, env=None, timeout=600):
        """Runs a sh script in the scratch system."""
        return self.run(["sh", "-c", script], env=env, timeout=timeout)
