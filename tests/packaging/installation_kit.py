"""What the installation checks share: the places of an installation under
/usr, running installed programs as a new user would, the probe's report,
and fonts of the user's own made from the machine's."""

import os
import pathlib
import re
import struct
import subprocess

PREFIX = "usr"
APP_ID = "org.pellory.fonts"
PROGRAMS = ["pellory", "catdump", "pellory-mkcatalogue", "bmpinfo", "pellory-update-catalogue"]
PROGRAMS.append("pellory-specimen")
STATE = pathlib.PurePosixPath("var/lib/pellory")
CATALOGUE = STATE / "catalogue"
ENGINE = "libpellory_engine.so"
PASSWORD = "mirabo"
# Where an installation under /usr may put files: nowhere else.
# (The catalogue, and beside it the lock its updates take.)
PLACES = ["usr/bin", "usr/lib/pellory", "usr/lib/*/pellory", "usr/share/pellory",
          "usr/share/applications", "usr/share/metainfo", "usr/share/icons/hicolor",
          "usr/share/man/man1", "usr/share/doc/pellory", "usr/lib/systemd/user",
          "var/lib/pellory"]
USER_UNITS = ["pellory-update-catalogue.path", "pellory-update-catalogue.service"]


class Fault(Exception):
    pass


def expect(condition, message):
    if not condition:
        raise Fault(message)


def user_environment(scratch, **extra):
    """A fresh user's environment: a home of its own, no engine configuration."""
    home = scratch / "home"
    runtime = scratch / "runtime"
    home.mkdir(exist_ok=True)
    runtime.mkdir(mode=0o700, exist_ok=True)
    env = {
        "PATH": os.environ.get("PATH", "/usr/bin:/bin"),
        "HOME": str(home),
        "XDG_RUNTIME_DIR": str(runtime),
        "LANG": "C.UTF-8",
    }
    env.update(extra)
    return env


def elsewhere(scratch):
    """A working directory that is none of the installation's, holding a
    file named like the engine library that is no library: a program that
    looked in its current directory would fail to load it."""
    cwd = scratch / "elsewhere"
    cwd.mkdir(exist_ok=True)
    (cwd / ENGINE).write_bytes(b"not a library\n")
    return cwd


def run(command, timeout=180, **kwargs):
    return subprocess.run(command, capture_output=True, text=True, timeout=timeout, **kwargs)


def installed_engine(root):
    """The engine library the installation's configuration names."""
    config = root / PREFIX / "share/pellory/engine.conf"
    expect(config.is_file(), f"no engine configuration installed at {config}")
    named = re.search(r"^library_dir\s*=\s*(.+?)\s*$", config.read_text(), re.M)
    expect(named, f"{config} names no library_dir")
    return pathlib.Path(os.path.normpath(config.parent / named.group(1))) / ENGINE


def probe_lines(output):
    lines = {}
    for line in output.splitlines():
        key, _, value = line.partition(": ")
        lines.setdefault(key, []).append(value)
    return lines


def run_with_probe(program, probe, scratch, help=True):
    """Runs an installed program with the probe, which presses F1 once the
    first record shows (with `help`); answers what the probe saw."""
    env = user_environment(scratch, QT_QPA_PLATFORM="offscreen", LD_PRELOAD=str(probe))
    if help:
        env["PELLORY_PROBE_HELP"] = "1"
    done = run([str(program)], cwd=elsewhere(scratch), env=env)
    shown = probe_lines(done.stdout)
    expect("error box" not in shown, f"the program showed an error: {shown.get('error box')}")
    expect(done.returncode == 0,
           f"the program ended with {done.returncode}:\n{done.stdout}{done.stderr}")
    return shown


def check_help_found(shown, prefix):
    """F1 started the help viewer on the collection of the installation
    under `prefix`, wherever that lies."""
    collection = prefix / "share/pellory/help/fontl.qhc"
    expect(collection.is_file(), f"no help collection installed at {collection}")
    viewers = shown.get("help viewer", [])
    expect(any(f"-collectionFile {collection} " in v + " " for v in viewers),
           f"F1 started {viewers or 'no help viewer'}, not one on {collection}")
    return collection


def renamed_font(path, family):
    """The TrueType or OpenType font at `path` under another family name: its
    naming table replaced by one that holds only the new names."""
    data = bytearray(path.read_bytes())
    expect(data[:4] in (b"\0\1\0\0", b"OTTO", b"true"), f"{path} is no single font file")
    names = {1: family, 2: "Regular", 3: family, 4: family + " Regular",
             6: family.replace(" ", "") + "-Regular"}
    records, strings = b"", b""
    for name_id, text in names.items():
        encoded = text.encode("utf-16-be")
        records += struct.pack(">6H", 3, 1, 0x409, name_id, len(encoded), len(strings))
        strings += encoded
    table = struct.pack(">3H", 0, len(names), 6 + len(records)) + records + strings
    data += b"\0" * (-len(data) % 4)
    offset = len(data)
    data += table + b"\0" * (-len(table) % 4)
    (count,) = struct.unpack_from(">H", data, 4)
    for i in range(count):
        entry = 12 + 16 * i
        if data[entry:entry + 4] == b"name":
            padded = table + b"\0" * (-len(table) % 4)
            checksum = sum(struct.unpack(f">{len(padded) // 4}I", padded)) & 0xFFFFFFFF
            struct.pack_into(">3I", data, entry + 4, checksum, offset, len(table))
            return bytes(data)
    raise Fault(f"{path} has no naming table")


def reject_fonts(home, glob):
    """The user's fontconfig settings: fonts whose file matches `glob` are
    not seen (None: every font is)."""
    config = home / ".config/fontconfig/fonts.conf"
    if glob is None:
        config.unlink(missing_ok=True)
        return
    config.parent.mkdir(parents=True, exist_ok=True)
    config.write_text("<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"fonts.dtd\">\n"
                      f"<fontconfig><selectfont><rejectfont><glob>{glob}</glob></rejectfont>"
                      "</selectfont></fontconfig>\n")


def face_file(family):
    done = run(["fc-match", "-f", "%{file}", family])
    expect(done.returncode == 0 and done.stdout, f"fontconfig has no face for {family}")
    return pathlib.Path(done.stdout).resolve()
