"""The user units that keep a user's own catalogue up to date.

    units BUILD_DIR ROOT   the script's command line (getopt(1)); systemd-analyze
                           verify on the units of an
                           installation under a prefix of its own (the
                           package's are verified where dpkg installed them,
                           by "lifecycle"); the service runs the installed
                           script; and the script itself, as the service
                           runs it, builds once after a burst of fifty new
                           fonts, and again when a font lands during a build
"""

import csv
import io
import os
import pathlib
import re
import subprocess
import tempfile
import time

from installation_kit import (PASSWORD, PREFIX, USER_UNITS, expect, face_file, reject_fonts,
                              renamed_font, run, user_environment)

BURST = 50
BURST_FAMILY = "Pellory Burst Test"
SETTLE = 1  # seconds; the installed service waits longer
BUILD_LINE = "pellory-update-catalogue: building your catalogue"


def verify_units(unit_dir, man_dir, scratch):
    """systemd-analyze verify, man pages included: prints nothing when all is
    well; answers its output."""
    runtime = scratch / "verify-runtime"
    runtime.mkdir(mode=0o700, exist_ok=True)
    env = dict(os.environ, XDG_RUNTIME_DIR=str(runtime), MANPATH=str(man_dir))
    done = run(["systemd-analyze", "verify", "--user", "--generators=no",
                *[str(unit_dir / unit) for unit in USER_UNITS]], env=env)
    expect(done.returncode == 0 and not (done.stdout + done.stderr).strip(),
           f"systemd-analyze verify ({done.returncode}):\n{done.stdout}{done.stderr}")


def unit_settings(path):
    settings = {}
    for line in path.read_text().splitlines():
        key, sep, value = line.partition("=")
        if sep and not line.startswith("#"):
            settings.setdefault(key.strip(), []).append(value.strip())
    return settings


def check_unit_files(build, scratch):
    prefix = scratch / "prefix"
    done = run(["cmake", "--install", str(build), "--prefix", str(prefix), "--component",
                "program"])
    expect(done.returncode == 0, f"cmake --install --prefix failed:\n{done.stdout}{done.stderr}")
    unit_dir = prefix / "share/systemd/user"
    verify_units(unit_dir, prefix / "share/man", scratch)
    path = unit_settings(unit_dir / USER_UNITS[0])
    service = unit_settings(unit_dir / USER_UNITS[1])
    expect(path.get("PathChanged") == ["%h/.local/share/fonts", "%h/.fonts"]
           and path.get("WantedBy") == ["default.target"], f"{USER_UNITS[0]}: {path}")
    command = service.get("ExecStart", [""])[0].split()
    expect(command[:3] == [str(prefix / "bin/pellory-update-catalogue"), "--user", "--quiet"]
           and any(re.fullmatch(r"--settle=[1-9][0-9]*", a) for a in command),
           f"{USER_UNITS[1]} runs {command}")
    return unit_dir


def burst_font(number):
    return renamed_font(face_file("DejaVu Sans"), f"{BURST_FAMILY} {number:02d}")


def burst_families(root, env):
    """The burst's families the user's catalogue holds."""
    done = run([str(root / PREFIX / "bin/catdump"), "--password-file", "-", "pellory",
                "pelloryfont"], env=env, input=PASSWORD + "\n")
    expect(done.returncode == 0, f"catdump:\n{done.stderr}")
    names = [row["Font Name"] for row in csv.DictReader(io.StringIO(done.stdout))]
    return {n for n in names if n.startswith(BURST_FAMILY)}


def check_burst(root, scratch):
    """Fifty fonts landing a few hundredths of a second apart, as a font
    manager installs them: one build, after the last, holding them all."""
    env = user_environment(scratch)
    home = pathlib.Path(env["HOME"])
    fonts = home / ".local/share/fonts"
    fonts.mkdir(parents=True)
    reject_fonts(home, "/usr/*")  # the user's fonts alone: quick builds
    update = [str(root / PREFIX / "bin/pellory-update-catalogue"), "--user", f"--settle={SETTLE}"]
    faces = [burst_font(number) for number in range(BURST)]
    # The service starts on the first change; the script then waits.
    script = subprocess.Popen(update, env=env, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                              text=True)
    for number, face in enumerate(faces):
        # Written under another name and renamed, as a file manager copies.
        partial = fonts / f".font{number}.part"
        partial.write_bytes(face)
        partial.rename(fonts / f"PelloryBurstTest{number:02d}.ttf")
        time.sleep(0.02)
    landed = time.monotonic()
    out, err = script.communicate(timeout=300)
    built = time.monotonic()
    expect(script.returncode == 0, f"--user --settle failed:\n{out}{err}")
    builds = out.count(BUILD_LINE)
    expect(builds == 1, f"{BURST} fonts in a burst gave {builds} builds:\n{out}")
    expect(built - landed >= SETTLE, "the build ended before the folder had settled")
    held = burst_families(root, env)
    expect(len(held) == BURST, f"the catalogue holds {len(held)} of the {BURST} fonts: {held}")


def check_landing_during_build(root, scratch):
    """A font that lands while the catalogue is built gets a build of its own."""
    env = user_environment(scratch)
    home = pathlib.Path(env["HOME"])
    fonts = home / ".local/share/fonts"
    update = [str(root / PREFIX / "bin/pellory-update-catalogue"), "--user", f"--settle={SETTLE}"]
    script = subprocess.Popen(update, env=env, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                              text=True)
    lines = []
    for line in script.stdout:
        lines.append(line)
        if line.startswith(BUILD_LINE):
            (fonts / "PelloryLateArrival.ttf").write_bytes(
                renamed_font(face_file("DejaVu Sans"), f"{BURST_FAMILY} Late"))
            break
    out, err = script.communicate(timeout=300)
    out = "".join(lines) + out
    expect(script.returncode == 0, f"--user --settle failed:\n{out}{err}")
    builds = out.count(BUILD_LINE)
    expect(builds == 2, f"a font landing during the build gave {builds} builds:\n{out}")
    held = burst_families(root, env)
    expect(any(n.startswith(f"{BURST_FAMILY} Late") for n in held),
           f"the late font is not in the catalogue: {held}")
    return len(held)


# The script's command line, read by getopt(1): (arguments, exit code, what
# the first line of its output or error starts with).
COMMAND_LINES = [
    (["--version"], 0, "pellory-update-catalogue (Pellory Fonts) "),
    (["--help"], 0, "usage: pellory-update-catalogue"),
    (["--bogus"], 2, "pellory-update-catalogue: unrecognized option '--bogus'"),
    (["--settle=5"], 2, "pellory-update-catalogue: --settle needs --user"),
    (["--user", "--settle=0"], 2, "pellory-update-catalogue: --settle takes a whole number"),
    (["--user", "--settle", "soon"], 2, "pellory-update-catalogue: --settle takes a whole number"),
    (["--user", "--settle"], 2, "pellory-update-catalogue: option '--settle' requires an argument"),
    (["--user", "--", "extra"], 2, "pellory-update-catalogue: unexpected argument 'extra'"),
]


def check_command_lines(root, scratch):
    env = user_environment(scratch)
    for arguments, code, start in COMMAND_LINES:
        done = run([str(root / PREFIX / "bin/pellory-update-catalogue"), *arguments], env=env)
        said = (done.stdout + done.stderr).strip()
        expect(done.returncode == code and said.startswith(start),
               f"{' '.join(arguments)}: exit {done.returncode}, said:\n{said}")


def check_units(build, root):
    with tempfile.TemporaryDirectory() as tmp:
        scratch = pathlib.Path(tmp)
        check_command_lines(root, scratch)
        unit_dir = check_unit_files(build, scratch)
        check_burst(root, scratch)
        faces = check_landing_during_build(root, scratch)
    print(f"systemd-analyze verify finds nothing in {', '.join(USER_UNITS)} "
          f"({unit_dir.relative_to(scratch)}); {BURST} fonts landing in a burst gave one build "
          f"after the folder settled, and one landing during the build a second: the catalogue "
          f"holds {faces} burst faces")


CHECKS = {
    "units": lambda a: check_units(pathlib.Path(a[0]), pathlib.Path(a[1])),
}
