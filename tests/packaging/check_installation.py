#!/usr/bin/env python3
"""Checks an installation of the program staged below a scratch root.

    check_installation.py install BUILD_DIR ROOT   cmake --install with DESTDIR=ROOT, prefix /usr
    check_installation.py program ROOT PROBE       the installed program shows the first record,
                                                   and F1 starts the viewer on its help
    check_installation.py prefix BUILD_DIR ROOT PROBE  the same from an installation under
                                                   another prefix, without DESTDIR
    check_installation.py desktop ROOT [--with-icons]  desktop entry, AppStream metainfo, icons
    check_installation.py manuals ROOT             every manual page renders and names its options
    check_installation.py layout ROOT              where the files lie; no build paths inside
    check_installation.py update ROOT              the rebuild command ignores the caller's fonts
    check_installation.py user ROOT PROBE          pellory-update-catalogue --user: a catalogue of
                                                   the user's fonts, named in the user's configuration
    check_installation.py package DEBS ROOT        the Debian package: files, dependencies, scripts;
                                                   on a display (xvfb-run), F1 in the packaged
                                                   program shows the help viewer
    check_installation.py debs BUILD_DIR DEBS      builds the package, and rebuilt for an upgrade
    check_installation.py lintian DEBS             lintian: no error, no warning not overridden
    check_installation.py lifecycle DEBS           dpkg in a scratch system, install to purge
    check_installation.py configurations BUILD_DIR ROOT DEBS PROBE
                                                   every configuration place in every kind of tree
    check_installation.py units ROOT               the user units: systemd-analyze verify, and
                                                   one catalogue build per burst of new fonts

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

import configuration_places
import debian_package
import user_units
from debian_package import first_package
from installation_kit import (APP_ID, CATALOGUE, ENGINE, PASSWORD, PLACES, PREFIX, PROGRAMS, STATE,
                              Fault, check_help_found, elsewhere, expect, face_file,
                              installed_engine, reject_fonts, renamed_font, run, run_with_probe,
                              user_environment)


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


def first_catalogue_record(root, scratch):
    """The first record of the installed catalogue, through the installed catdump."""
    done = run([str(root / PREFIX / "bin/catdump"), "--password", PASSWORD, "pellory",
                "pelloryfont"], cwd=elsewhere(scratch), env=user_environment(scratch))
    expect(done.returncode == 0, f"installed catdump failed: {done.stderr}")
    rows = list(csv.DictReader(io.StringIO(done.stdout)))
    expect(rows, "the installed catalogue holds no record")
    return rows[0], len(rows)


def check_program(root, probe):
    with tempfile.TemporaryDirectory() as tmp:
        scratch = pathlib.Path(tmp)
        record, count = first_catalogue_record(root, scratch)
        shown = run_with_probe(root / PREFIX / "bin/pellory", probe, scratch)
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
    collection = check_help_found(shown, root / PREFIX)
    print(f"installed program shows {record['Font Name']!r}, the first of {count} records, "
          f"with a picture of {colours} colours, through {engine}; F1 shows {collection}")


def configured_prefix(build):
    cache = (build / "CMakeCache.txt").read_text()
    found = re.search(r"^CMAKE_INSTALL_PREFIX:PATH=(.*)$", cache, re.M)
    return found.group(1) if found else "/usr/local"


def check_prefix(build, root, probe):
    """An installation for one user, under a prefix the build was not
    configured for and without DESTDIR, shows its own help."""
    with tempfile.TemporaryDirectory() as tmp:
        scratch = pathlib.Path(tmp)
        prefix = scratch / "home/.local"
        expect(str(prefix) != configured_prefix(build), "the scratch prefix is the configured one")
        done = run(["cmake", "--install", str(build), "--prefix", str(prefix),
                    "--component", "program"])
        expect(done.returncode == 0, f"cmake --install --prefix failed:\n{done.stdout}{done.stderr}")
        # The catalogue step is the slow one; the staged installation's serves.
        shutil.copytree(root / CATALOGUE, prefix / "var/lib/pellory/catalogue")
        shown = run_with_probe(prefix / "bin/pellory", probe, scratch)
        collection = check_help_found(shown, prefix)
        tables = [pathlib.Path(p).parent for p in shown.get("table", [])]
        expect(tables and all(t == prefix / "var/lib/pellory/catalogue" for t in tables),
               f"tables open in {tables}, not in the installation's own catalogue")
    print(f"installed under {prefix} (configured: {configured_prefix(build)}): "
          f"the program shows its catalogue, and F1 {collection}")


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


# The builder's record of the faces for updates, which names the blob file
# it points into by its inode and time: the same fonts give the same table
# and blob file, never the same face store.
FACE_STORE = "pelloryfont.faces"


def catalogue_files(catalogue):
    return {p.name: p.read_bytes() for p in catalogue.iterdir() if p.name != FACE_STORE}


def check_update(root):
    """The rebuild command takes the fonts every user sees: a caller whose
    own fontconfig settings reject every font still gets the full catalogue,
    whether it is built from scratch or, run again, brought up to date from
    its face store."""
    catalogue = root / CATALOGUE
    before = catalogue_files(catalogue)
    expect((catalogue / FACE_STORE).is_file(), f"the installation left no {FACE_STORE}")
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
        # The second run tells its progress: it must have kept every face.
        for made, options in (("rebuilt", ["--quiet"]), ("updated", [])):
            done = run([str(root / PREFIX / "bin/pellory-update-catalogue"), *options],
                       cwd=elsewhere(scratch), env=env)
            expect(done.returncode == 0,
                   f"pellory-update-catalogue failed:\n{done.stdout}{done.stderr}")
            expect(catalogue_files(catalogue) == before,
                   f"the {made} catalogue differs from the one built at installation")
        told = done.stdout + done.stderr
        expect("faces unchanged since the last build, 0 new or changed, 0 gone" in told,
               f"the second run did not update from the face store:\n{told}")
    modes = {p.name: oct(p.stat().st_mode & 0o777) for p in [catalogue, *catalogue.iterdir()]}
    expect(all(int(m, 8) & 0o444 == 0o444 for m in modes.values()),
           f"the catalogue is not readable by every user: {modes}")
    print(f"pellory-update-catalogue rebuilt and updated {catalogue} identically, every user "
          "may read it")


EXTRA_FAMILY = "Pellory Extra Test"


def catalogue_names(root, scratch):
    done = run([str(root / PREFIX / "bin/catdump"), "--password", PASSWORD, "pellory",
                "pelloryfont"], cwd=elsewhere(scratch), env=user_environment(scratch))
    expect(done.returncode == 0, f"installed catdump failed: {done.stderr}")
    return [row["Font Name"] for row in csv.DictReader(io.StringIO(done.stdout))]


def check_user(root, probe):
    """pellory-update-catalogue --user, run as a user with one font of their
    own in ~/.local/share/fonts: the catalogue holds it, the user's
    configuration names the catalogue (other lines kept, or a new file made),
    the installed program opens it, and a build that fails changes nothing.
    The machine's fonts are hidden from the user by their fontconfig
    settings, so that each build is quick."""
    update = [str(root / PREFIX / "bin/pellory-update-catalogue"), "--user", "--quiet"]
    with tempfile.TemporaryDirectory() as tmp:
        scratch = pathlib.Path(tmp)
        env = user_environment(scratch)
        home = pathlib.Path(env["HOME"])
        fonts = home / ".local/share/fonts"
        fonts.mkdir(parents=True)
        (fonts / "PelloryExtraTest.ttf").write_bytes(renamed_font(face_file("DejaVu Sans"),
                                                                  EXTRA_FAMILY))
        catalogue = home / ".local/share/pellory/catalogue"
        config = home / ".config/pellory/engine.conf"
        config.parent.mkdir(parents=True)
        before = ("# my own settings\n; kept as written\n[engine]\n"
                  f"library_dir = {installed_engine(root).parent}\n"
                  "[alias other]\npath = /srv/other\n\n[Alias Pellory]\n"
                  "# the catalogue before\n  path = /srv/old\n")
        config.write_text(before)

        reject_fonts(home, "/usr/*")
        done = run(update, cwd=elsewhere(scratch), env=env)
        expect(done.returncode == 0, f"--user failed:\n{done.stdout}{done.stderr}")
        after = before.replace("  path = /srv/old", f"path = {catalogue}")
        expect(config.read_text() == after,
               f"the configuration became:\n{config.read_text()}\nnot:\n{after}")
        names = catalogue_names(root, scratch)
        expect(any(n.startswith(EXTRA_FAMILY) for n in names),
               f"the user's catalogue holds {names}, not the user's own font")
        reject_fonts(home, None)
        shown = run_with_probe(root / PREFIX / "bin/pellory", probe, scratch, help=False)
        tables = [pathlib.Path(p).parent for p in shown.get("table", [])]
        expect(tables and all(t == catalogue for t in tables),
               f"the program opened {tables}, not the user's catalogue {catalogue}")
        expect(shown.get("font name", [""])[0].startswith(EXTRA_FAMILY),
               f"the program shows {shown.get('font name')}")

        kept = {p.name: p.read_bytes() for p in catalogue.iterdir()}
        reject_fonts(home, "*")
        done = run(update, cwd=elsewhere(scratch), env=env)
        expect(done.returncode != 0, "--user succeeded with no font to read")
        expect({p.name: p.read_bytes() for p in catalogue.iterdir()} == kept,
               "a failed build changed the catalogue")
        expect(config.read_text() == after, "a failed build changed the configuration")
        failed = done.returncode

        config.unlink()
        reject_fonts(home, "/usr/*")
        done = run(update, cwd=elsewhere(scratch), env=env)
        expect(done.returncode == 0, f"--user failed:\n{done.stdout}{done.stderr}")
        made = config.read_text()
        # Only the alias: the program takes the engine library from its own
        # installation, so the file outlives a move of the installation.
        lines = [line for line in made.splitlines() if not line.startswith("#")]
        expect(lines == ["[alias pellory]", f"path = {catalogue}"] and "library_dir" in made,
               f"the new configuration names more than the alias, or says nothing of the "
               f"engine library:\n{made}")
        reject_fonts(home, None)
        shown = run_with_probe(root / PREFIX / "bin/pellory", probe, scratch, help=False)
        expect(shown.get("font name", [""])[0].startswith(EXTRA_FAMILY),
               f"with the configuration it made, the program shows {shown.get('font name')}")
        expect(shown.get("engine") == [str(installed_engine(root))],
               f"with it the program loaded {shown.get('engine')}")

        # A configuration of the user's own that names other aliases and no
        # engine library: the alias is added, and the program still starts.
        others = "# other catalogues\n[alias other]\npath = /srv/other\n"
        config.write_text(others)
        reject_fonts(home, "/usr/*")
        done = run(update, cwd=elsewhere(scratch), env=env)
        expect(done.returncode == 0, f"--user failed:\n{done.stdout}{done.stderr}")
        expected = others + f"[alias pellory]\npath = {catalogue}\n"
        expect(config.read_text() == expected,
               f"the configuration became:\n{config.read_text()}\nnot:\n{expected}")
        reject_fonts(home, None)
        shown = run_with_probe(root / PREFIX / "bin/pellory", probe, scratch, help=False)
        expect(shown.get("font name", [""])[0].startswith(EXTRA_FAMILY),
               f"with a configuration without [engine], the program shows "
               f"{shown.get('font name')}")
    print(f"--user built {catalogue.relative_to(scratch)} holding {names}, named it in the "
          f"configuration keeping its other lines, in one without [engine] and in a new one "
          f"naming only the alias; the program shows {shown['font name'][0]!r} with each; a "
          f"build without readable fonts (exit {failed}) changed nothing")


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


def check_package(debs, root):
    """What `make package` makes, from the same build (as the step "debs"
    built it): the staged files less the catalogue and its lock, with the
    package's changelog; a dependency on every package the programs'
    libraries and the windows' faces come from; the maintainer scripts and
    the trigger on the fonts directory."""
    with tempfile.TemporaryDirectory() as tmp:
        scratch = pathlib.Path(tmp)
        deb = first_package(debs)
        unpacked = scratch / "unpacked"
        control = scratch / "control"
        for command in (["dpkg-deb", "-x", str(deb), str(unpacked)],
                        ["dpkg-deb", "-e", str(deb), str(control)]):
            expect(run(command).returncode == 0, f"{' '.join(command)} failed")
        only_packaged = ["usr/share/doc/pellory/changelog.Debian.gz",
                         "usr/share/lintian/overrides/pellory"]
        packaged = sorted(str(p.relative_to(unpacked)) for p in unpacked.rglob("*")
                          if p.is_file() and str(p.relative_to(unpacked)) not in only_packaged)
        for name in only_packaged:
            expect((unpacked / name).is_file(), f"the package holds no {name}")
        staged = sorted(str(p.relative_to(root)) for p in root.rglob("*")
                        if p.is_file() and not p.relative_to(root).is_relative_to(STATE))
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
        expect({"postinst", "prerm", "postrm", "triggers"} <= set(scripts),
               f"control files: {scripts}")
        for script in ("postinst", "prerm", "postrm"):
            expect(run(["sh", "-n", str(control / script)]).returncode == 0,
                   f"{script} is not valid sh")
        expect("/usr/share/fonts" in (control / "triggers").read_text(),
               "the package does not watch the fonts directory")
        helped = packaged_help(root, unpacked, scratch)
    print(f"{deb.name}: {len(packaged)} files as staged, depends on {', '.join(sorted(depends))}"
          f"; {helped}")


def xdotool(*args, timeout=30):
    return run(["xdotool", *args], timeout=timeout)


def children_of(pid):
    """The argument lists of the processes `pid` started."""
    found = []
    for stat in pathlib.Path("/proc").glob("[0-9]*/stat"):
        try:
            fields = stat.read_text().rpartition(")")[2].split()
            if fields[1] == str(pid):
                found.append((stat.parent / "cmdline").read_bytes().split(b"\0"))
        except (OSError, IndexError):
            pass
    return [[a.decode() for a in args if a] for args in found]


def packaged_help(root, unpacked, scratch):
    """The package's program, unpacked where the package would put it (with
    the catalogue its postinst would build), started on the display: F1 in
    its main window brings up the help viewer on the packaged collection."""
    collection = unpacked / "usr/share/pellory/help/fontl.qhc"
    if not collection.is_file():
        return "no help collection in this build"
    if not os.environ.get("DISPLAY") or not shutil.which("xdotool"):
        return "F1 not tried: no display (run under xvfb-run) or no xdotool"
    shutil.copytree(root / CATALOGUE, unpacked / CATALOGUE)
    env = user_environment(scratch, DISPLAY=os.environ["DISPLAY"], QT_QPA_PLATFORM="xcb")
    if "XAUTHORITY" in os.environ:  # xvfb-run's server lets in only those who know it
        env["XAUTHORITY"] = os.environ["XAUTHORITY"]
    program = subprocess.Popen([str(unpacked / "usr/bin/pellory")], cwd=elsewhere(scratch),
                               env=env, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    try:
        found = xdotool("search", "--sync", "--onlyvisible", "--name", "^Font search$")
        expect(found.returncode == 0, "the packaged program showed no main window")
        window = found.stdout.split()[0]
        expect(xdotool("windowfocus", "--sync", window, "key", "F1").returncode == 0,
               "xdotool could not press F1 in the main window")
        viewer = xdotool("search", "--sync", "--onlyvisible", "--name", "^Pellory Fonts Help$",
                         timeout=60)
        expect(viewer.returncode == 0, "F1 in the packaged program showed no help viewer")
        started = children_of(program.pid)
        expect(any(str(collection) in args for args in started),
               f"the help viewer was started as {started}, not on {collection}")
    except subprocess.TimeoutExpired:
        raise Fault("F1 in the packaged program showed no help viewer within a minute")
    finally:
        program.terminate()
        program.wait(timeout=30)
    return f"F1 in the packaged program shows the help viewer on {collection.relative_to(unpacked)}"


def main(argv):
    checks = {
        "install": lambda a: install(pathlib.Path(a[0]), pathlib.Path(a[1])),
        "program": lambda a: check_program(pathlib.Path(a[0]), pathlib.Path(a[1])),
        "prefix": lambda a: check_prefix(*map(pathlib.Path, a[:3])),
        "desktop": lambda a: check_desktop(pathlib.Path(a[0]), a[1:] == ["--with-icons"]),
        "manuals": lambda a: check_manuals(pathlib.Path(a[0])),
        "layout": lambda a: check_layout(pathlib.Path(a[0])),
        "update": lambda a: check_update(pathlib.Path(a[0])),
        "user": lambda a: check_user(pathlib.Path(a[0]), pathlib.Path(a[1])),
        "package": lambda a: check_package(pathlib.Path(a[0]), pathlib.Path(a[1])),
        **debian_package.CHECKS,
        **configuration_places.CHECKS,
        **user_units.CHECKS,
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
