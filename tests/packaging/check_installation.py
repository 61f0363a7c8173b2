#!/usr/bin/env python3
"""Checks an installation of the program staged below a scratch root.

    check_installation.py install BUILD_DIR ROOT   cmake --install with DESTDIR=ROOT, prefix /usr
    check_installation.py program ROOT PROBE       the installed program shows the first record
    check_installation.py desktop ROOT [--with-icons]  desktop entry, AppStream metainfo, icons
    check_installation.py manuals ROOT             every manual page renders and names its options
    check_installation.py layout ROOT              where the files lie; no build paths inside
    check_installation.py update ROOT              the rebuild command ignores the caller's fonts
    check_installation.py package BUILD_DIR ROOT   the Debian package: files, dependencies, scripts

The installed programs are run from a scratch directory with a scratch home
and no PELLORY_ENGINE_CONFIG, as a user who has just installed them would.
Each check prints what it verified and exits non-zero on the first fault.
"""

import csv
import fnmatch
import gzip
import io
import os
import pathlib
import re
import shutil
import subprocess
import sys
import tempfile

PREFIX = "usr"
APP_ID = "org.pellory.fonts"
PROGRAMS = ["pellory", "catdump", "pellory-mkcatalogue", "bmpinfo", "pellory-update-catalogue"]
PROGRAMS.append("pellory-specimen")
CATALOGUE = pathlib.PurePosixPath("var/lib/pellory/catalogue")
ENGINE = "libpellory_engine.so"
PASSWORD = "mirabo"
# Where an installation under /usr may put files: nowhere else.
PLACES = ["usr/bin", "usr/lib/pellory", "usr/lib/*/pellory", "usr/share/pellory",
          "usr/share/applications", "usr/share/metainfo", "usr/share/icons/hicolor",
          "usr/share/man/man1", str(CATALOGUE)]


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


def install(build, root):
    if root.exists():
        shutil.rmtree(root)
    env = dict(os.environ, DESTDIR=str(root))
    done = run(["cmake", "--install", str(build), "--prefix", "/" + PREFIX], env=env)
    expect(done.returncode == 0, f"cmake --install failed:\n{done.stdout}{done.stderr}")
    expect("CMake Warning" not in done.stderr, f"cmake --install warned:\n{done.stderr}")
    catalogue = root / CATALOGUE / "pelloryfont.DB"
    expect(catalogue.is_file(), f"installation built no catalogue at {catalogue}")
    print(f"installed into {root}, catalogue built at {catalogue.parent}")


def installed_engine(root):
    """The engine library the installation's configuration names."""
    config = root / PREFIX / "share/pellory/engine.conf"
    expect(config.is_file(), f"no engine configuration installed at {config}")
    named = re.search(r"^library_dir\s*=\s*(.+?)\s*$", config.read_text(), re.M)
    expect(named, f"{config} names no library_dir")
    return pathlib.Path(os.path.normpath(config.parent / named.group(1))) / ENGINE


def first_catalogue_record(root, scratch):
    """The first record of the installed catalogue, through the installed catdump."""
    done = run([str(root / PREFIX / "bin/catdump"), "--password", PASSWORD, "pellory",
                "pelloryfont"], cwd=elsewhere(scratch), env=user_environment(scratch))
    expect(done.returncode == 0, f"installed catdump failed: {done.stderr}")
    rows = list(csv.DictReader(io.StringIO(done.stdout)))
    expect(rows, "the installed catalogue holds no record")
    return rows[0], len(rows)


def probe_lines(output):
    lines = {}
    for line in output.splitlines():
        key, _, value = line.partition(": ")
        lines.setdefault(key, []).append(value)
    return lines


def check_program(root, probe):
    with tempfile.TemporaryDirectory() as tmp:
        scratch = pathlib.Path(tmp)
        record, count = first_catalogue_record(root, scratch)
        env = user_environment(scratch, QT_QPA_PLATFORM="offscreen", LD_PRELOAD=str(probe))
        done = run([str(root / PREFIX / "bin/pellory")], cwd=elsewhere(scratch), env=env)
    shown = probe_lines(done.stdout)
    expect("error box" not in shown, f"the program showed an error: {shown.get('error box')}")
    expect(done.returncode == 0,
           f"the program ended with {done.returncode}:\n{done.stdout}{done.stderr}")
    expect(shown.get("font name") == [record["Font Name"]],
           f"shown font {shown.get('font name')}, first record {record['Font Name']!r}")
    colours = int(shown.get("picture colours", ["0"])[0])
    expect(colours > 2, f"the picture box shows {colours} colours: no sample picture drawn")
    engine = installed_engine(root)
    expect(shown.get("engine") == [str(engine)],
           f"engine loaded from {shown.get('engine')}, not the installed {engine}")
    tables = [pathlib.Path(p) for p in shown.get("table", [])]
    expect(tables and all(t.parent == root / CATALOGUE for t in tables),
           f"tables open: {tables}, not the installed catalogue in {root / CATALOGUE}")
    entry = root / PREFIX / "share/applications" / f"{APP_ID}.desktop"
    expect(shown.get("desktop entry") == [APP_ID] and entry.is_file(),
           f"the program names {shown.get('desktop entry')} as its desktop entry; "
           f"installed: {entry}")
    print(f"installed program shows {record['Font Name']!r}, the first of {count} records, "
          f"with a picture of {colours} colours, through {engine}")


def desktop_entry(path):
    entry = {}
    for line in path.read_text().splitlines():
        key, sep, value = line.partition("=")
        if sep:
            entry[key] = value
    return entry


def check_desktop(root, with_icons):
    share = root / PREFIX / "share"
    entry_file = share / "applications" / f"{APP_ID}.desktop"
    metainfo = share / "metainfo" / f"{APP_ID}.metainfo.xml"
    done = run(["desktop-file-validate", str(entry_file)])
    expect(done.returncode == 0 and not done.stdout.strip(),
           f"desktop-file-validate:\n{done.stdout}{done.stderr}")
    done = run(["appstreamcli", "validate", "--no-net", "--strict", str(metainfo)])
    expect(done.returncode == 0, f"appstreamcli validate:\n{done.stdout}{done.stderr}")
    entry = desktop_entry(entry_file)
    program = pathlib.PurePosixPath(entry.get("Exec", ""))
    expect(program == pathlib.PurePosixPath("/" + PREFIX, "bin/pellory"),
           f"the entry starts {program}, not the installed program")
    expect(os.access(root / program.relative_to("/"), os.X_OK), f"{program} is not installed")
    expect(entry.get("Icon") == APP_ID, f"the entry's icon is {entry.get('Icon')}, not {APP_ID}")
    icons = sorted((share / "icons/hicolor").glob(f"*/apps/{APP_ID}.png"))
    expect(bool(icons) == with_icons,
           f"icons installed: {[str(i) for i in icons]}, expected: {with_icons}")
    for icon in icons:
        size = icon.parent.parent.name
        width, height = png_size(icon)
        expect(size == f"{width}x{height}", f"{icon} is {width}x{height}")
    expect(f"<launchable type=\"desktop-id\">{entry_file.name}</launchable>" in
           metainfo.read_text(), "the metainfo does not launch the installed desktop entry")
    print(f"{entry_file.name} and {metainfo.name} validate; icons: "
          f"{', '.join(i.parent.parent.name for i in icons) or 'none, as the tree has none yet'}")


def png_size(path):
    header = path.read_bytes()[:24]
    expect(header[:8] == b"\x89PNG\r\n\x1a\n", f"{path} is not a PNG file")
    return int.from_bytes(header[16:20], "big"), int.from_bytes(header[20:24], "big")


def options_of(program, scratch):
    """The long options a program's own help or usage text names."""
    done = run([str(program), "--help"], cwd=elsewhere(scratch), env=user_environment(scratch))
    usage = [line for line in (done.stdout + done.stderr).splitlines()
             if line.startswith("usage:") or re.match(r"\s+--", line)]
    return set(re.findall(r"--[a-z][a-z-]*", "\n".join(usage)))


def check_manuals(root):
    man1 = root / PREFIX / "share/man/man1"
    pages = sorted(p.name for p in man1.glob("*.1.gz"))
    expect(pages == sorted(f"{p}.1.gz" for p in PROGRAMS), f"manual pages: {pages}")
    with tempfile.TemporaryDirectory() as tmp:
        scratch = pathlib.Path(tmp)
        for name in PROGRAMS:
            page = man1 / f"{name}.1.gz"
            done = run(["man", "--warnings", "-l", str(page)], env=dict(os.environ, MANWIDTH="80"))
            expect(done.returncode == 0 and not done.stderr,
                   f"man -l {page.name}:\n{done.stderr}")
            whatis = run(["lexgrog", str(page)])
            expect(whatis.returncode == 0 and f'"{name} - ' in whatis.stdout,
                   f"{page.name} has no NAME line for {name}: {whatis.stdout}")
            text = done.stdout.replace("\u2010", "-").replace("\u2212", "-")
            if name != "pellory":
                missing = options_of(root / PREFIX / "bin" / name, scratch) - set(
                    re.findall(r"--[a-z][a-z-]*", text))
                expect(not missing, f"{page.name} does not describe {sorted(missing)}")
            with gzip.open(page, "rt") as source:
                expect("@" not in source.read(), f"{page.name} holds an unreplaced @VARIABLE@")
    print(f"{len(pages)} manual pages render without warnings and describe their options")


def check_layout(root):
    files = sorted(pathlib.PurePosixPath(p.relative_to(root)) for p in root.rglob("*")
                   if p.is_file() or p.is_symlink())
    stray = [f for f in files
             if not any(fnmatch.fnmatchcase(str(f), place + "/*") for place in PLACES)]
    expect(not stray, f"files outside the installation's places: {[str(f) for f in stray]}")
    engine = installed_engine(root)
    engines = [root / f for f in files if f.name == ENGINE]
    expect(engines == [engine], f"engine libraries installed: {engines}, configured: {engine}")
    expect(engine.parent.name == "pellory", f"{engine} lies on the system's library path")
    for name in PROGRAMS:
        expect(os.access(root / PREFIX / "bin" / name, os.X_OK), f"bin/{name} is not installed")
    for f in files:
        data = (root / f).read_bytes()
        expect(str(root).encode() not in data, f"{f} names the staging directory {root}")
        if data.startswith(b"\x7fELF"):
            dynamic = run(["readelf", "-d", str(root / f)]).stdout
            expect("RPATH" not in dynamic and "RUNPATH" not in dynamic,
                   f"{f} keeps a library search path:\n{dynamic}")
    print(f"{len(files)} files, all in their places; the engine only in {engine.parent};"
          " no library search path in any program")


def check_update(root):
    """The rebuild command takes the fonts every user sees: a caller whose
    own fontconfig settings reject every font still gets the full catalogue."""
    catalogue = root / CATALOGUE
    before = {p.name: p.read_bytes() for p in catalogue.iterdir()}
    with tempfile.TemporaryDirectory() as tmp:
        scratch = pathlib.Path(tmp)
        rejecting = ("<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"fonts.dtd\">\n"
                     "<fontconfig><selectfont><rejectfont><glob>*</glob></rejectfont>"
                     "</selectfont></fontconfig>\n")
        for config_home in (scratch / "home/.config", scratch / "xdg"):
            (config_home / "fontconfig").mkdir(parents=True, exist_ok=True)
            (config_home / "fontconfig/fonts.conf").write_text(rejecting)
        env = user_environment(scratch, XDG_CONFIG_HOME=str(scratch / "xdg"))
        shutil.rmtree(catalogue)
        done = run([str(root / PREFIX / "bin/pellory-update-catalogue"), "--quiet"],
                   cwd=elsewhere(scratch), env=env)
    expect(done.returncode == 0, f"pellory-update-catalogue failed:\n{done.stdout}{done.stderr}")
    after = {p.name: p.read_bytes() for p in catalogue.iterdir()}
    expect(after == before, "the rebuilt catalogue differs from the one built at installation")
    modes = {p.name: oct(p.stat().st_mode & 0o777) for p in [catalogue, *catalogue.iterdir()]}
    expect(all(int(m, 8) & 0o444 == 0o444 for m in modes.values()),
           f"the catalogue is not readable by every user: {modes}")
    print(f"pellory-update-catalogue rebuilt {catalogue} identically, every user may read it")


def package_of(path):
    """The installed Debian package that holds `path` (as named, or with its
    links resolved: with merged /usr, dpkg may know either)."""
    for candidate in dict.fromkeys([str(path), str(pathlib.Path(path).resolve())]):
        done = run(["dpkg-query", "-S", candidate])
        if done.returncode == 0:
            return done.stdout.split(":")[0].strip()
    raise Fault(f"no installed package holds {path}")


def needed_libraries(elf):
    """The libraries `elf` names itself, each with the file the loader finds."""
    dynamic = run(["readelf", "-d", str(elf)]).stdout
    names = re.findall(r"\(NEEDED\)\s+Shared library: \[(.+?)\]", dynamic)
    found = dict(re.findall(r"^\s*(\S+) => (\S+) \(", run(["ldd", str(elf)]).stdout, re.M))
    for name in names:
        expect(name in found, f"{elf.name} needs {name}, which the loader does not find")
    return {name: found[name] for name in names}


def face_file(family):
    done = run(["fc-match", "-f", "%{file}", family])
    expect(done.returncode == 0 and done.stdout, f"fontconfig has no face for {family}")
    return pathlib.Path(done.stdout).resolve()


def check_package(build, root):
    """What `make package` makes, from the same build: the staged files less
    the catalogue, a dependency on every package the programs' libraries and
    the windows' faces come from, and maintainer scripts that leave nothing
    behind (no postrm, so dpkg keeps no trace once the package is removed)."""
    with tempfile.TemporaryDirectory() as tmp:
        scratch = pathlib.Path(tmp)
        done = run(["cpack", "-G", "DEB", "-B", str(scratch)], cwd=build, timeout=600)
        expect(done.returncode == 0, f"cpack failed:\n{done.stdout}{done.stderr}")
        debs = list(scratch.glob("*.deb"))
        expect(len(debs) == 1, f"cpack made {debs}")
        deb = debs[0]
        unpacked = scratch / "unpacked"
        control = scratch / "control"
        for command in (["dpkg-deb", "-x", str(deb), str(unpacked)],
                        ["dpkg-deb", "-e", str(deb), str(control)]):
            expect(run(command).returncode == 0, f"{' '.join(command)} failed")
        packaged = sorted(str(p.relative_to(unpacked)) for p in unpacked.rglob("*") if p.is_file())
        staged = sorted(str(p.relative_to(root)) for p in root.rglob("*")
                        if p.is_file() and not p.relative_to(root).is_relative_to(CATALOGUE))
        expect(packaged == staged, "the package's files differ from the staged installation's: "
               f"{sorted(set(packaged) ^ set(staged))}")

        depends = {d.strip().split(" ")[0]
                   for d in run(["dpkg-deb", "-f", str(deb), "Depends"]).stdout.split(",")}
        needed = {}
        for f in unpacked.rglob("*"):
            if f.is_file() and f.read_bytes()[:4] == b"\x7fELF":
                for name, path in needed_libraries(f).items():
                    needed.setdefault(package_of(path), name)
        for family in ("DejaVu Sans", "Liberation Serif", "Liberation Sans"):
            needed.setdefault(package_of(face_file(family)), family)
        missing = {pkg: why for pkg, why in needed.items() if pkg not in depends}
        expect(not missing, f"Depends lacks {missing}; it is {sorted(depends)}")

        scripts = sorted(p.name for p in control.iterdir())
        expect("postrm" not in scripts and {"postinst", "prerm", "triggers"} <= set(scripts),
               f"control files: {scripts}")
        for script in ("postinst", "prerm"):
            expect(run(["sh", "-n", str(control / script)]).returncode == 0,
                   f"{script} is not valid sh")
        expect("/usr/share/fonts" in (control / "triggers").read_text(),
               "the package does not watch the fonts directory")
    print(f"{deb.name}: {len(packaged)} files as staged, depends on {', '.join(sorted(depends))}")


def main(argv):
    checks = {
        "install": lambda a: install(pathlib.Path(a[0]), pathlib.Path(a[1])),
        "program": lambda a: check_program(pathlib.Path(a[0]), pathlib.Path(a[1])),
        "desktop": lambda a: check_desktop(pathlib.Path(a[0]), a[1:] == ["--with-icons"]),
        "manuals": lambda a: check_manuals(pathlib.Path(a[0])),
        "layout": lambda a: check_layout(pathlib.Path(a[0])),
        "update": lambda a: check_update(pathlib.Path(a[0])),
        "package": lambda a: check_package(pathlib.Path(a[0]), pathlib.Path(a[1])),
    }
    if len(argv) < 2 or argv[0] not in checks:
        print(__doc__, file=sys.stderr)
        return 2
    try:
        checks[argv[0]](argv[1:])
    except Fault as fault:
        print(f"{argv[0]}: {fault}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
