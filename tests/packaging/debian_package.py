"""The Debian package: built, checked with lintian, and taken through dpkg in
a scratch system from installation to purge.

    debs BUILD_DIR DIR   builds the package into DIR (0.1-1), and the same
                         rebuilt with the next Debian revision (0.1-2), to
                         upgrade to
    lintian DIR          lintian finds no error, and no warning that the
                         package's override file does not explain
    lifecycle DIR        dpkg installs, triggers, upgrades, removes and
                         purges in a scratch system; every maintainer script
                         action leaves the catalogue there or gone as it should
"""

import csv
import io
import pathlib
import shutil
import tempfile

from installation_kit import PASSWORD, USER_UNITS, expect, face_file, renamed_font, run
from scratch_system import ScratchSystem, unavailable

CATALOGUE = "/var/lib/pellory/catalogue"
STATE = "/var/lib/pellory"
PATH_UNIT = USER_UNITS[0]
# Where deb-systemd-helper enables a user unit for every user.
ENABLED_LINK = f"/etc/systemd/user/default.target.wants/{PATH_UNIT}"
TRIGGER_FAMILY = "Pellory Trigger Test"


def packages(debs):
    return sorted(pathlib.Path(debs).glob("pellory_*.deb"))


def first_package(debs):
    """The package as configured: the lower of the two revisions."""
    found = packages(debs)
    expect(len(found) == 2, f"the step 'debs' made {found}, not two packages")
    return found[0]


def build_debs(build, debs):
    """The package as `make package` makes it, and the same rebuilt with the
    next Debian revision (its files as they are, its control file's version
    raised), to upgrade to."""
    debs = pathlib.Path(debs)
    if debs.exists():
        shutil.rmtree(debs)
    debs.mkdir(parents=True)
    done = run(["cpack", "-G", "DEB", "-B", str(debs)], cwd=build, timeout=900)
    expect(done.returncode == 0, f"cpack failed:\n{done.stdout}{done.stderr}")
    shutil.rmtree(debs / "_CPack_Packages", ignore_errors=True)
    built = packages(debs)
    expect(len(built) == 1, f"cpack made {built}")
    version = run(["dpkg-deb", "-f", str(built[0]), "Version"]).stdout.strip()
    changelog = run(["dpkg-parsechangelog", "-l", str(pathlib.Path(__file__).parents[2] /
                                                       "packaging/debian/changelog"),
                     "-S", "Version"]).stdout.strip()
    expect(changelog == version, f"the changelog's latest entry is {changelog}, the package "
           f"{version}")
    upstream, _, revision = version.rpartition("-")
    rebuilt = f"{upstream}-{int(revision) + 1}"
    tree = debs / "rebuilt"
    expect(run(["dpkg-deb", "-R", str(built[0]), str(tree)]).returncode == 0, "dpkg-deb -R failed")
    control = tree / "DEBIAN/control"
    control.write_text(control.read_text().replace(f"Version: {version}\n",
                                                   f"Version: {rebuilt}\n"))
    target = debs / built[0].name.replace(f"_{version}_", f"_{rebuilt}_")
    done = run(["dpkg-deb", "--root-owner-group", "--build", str(tree), str(target)])
    expect(done.returncode == 0, f"dpkg-deb --build failed:\n{done.stderr}")
    shutil.rmtree(tree)
    print(f"built {built[0].name}, and {target.name} to upgrade to")


def check_lintian(debs):
    deb = first_package(debs)
    done = run(["lintian", "--fail-on", "error,warning", "--tag-display-limit", "0", str(deb)],
               timeout=900)
    expect(done.returncode == 0, f"lintian {deb.name}:\n{done.stdout}{done.stderr}")
    # The tags overridden, each under its reason, for the record.
    shown = run(["lintian", "--show-overrides", "--tag-display-limit", "0", str(deb)],
                timeout=900).stdout.strip()
    print(f"lintian {deb.name}: no error, no warning left; overridden:\n{shown}")


class Installation:
    """The package's state in a scratch system, as dpkg and a user see it;
    commands run with a home of their own, so that no configuration of the
    machine's users counts."""

    def __init__(self, system, home):
        self.system = system
        self.home = home
        home.mkdir(parents=True, exist_ok=True)

    def sh(self, script, expect_ok=True):
        done = self.system.shell(script, env={"PATH": "/usr/sbin:/usr/bin:/sbin:/bin",
                                              "LANG": "C.UTF-8", "HOME": str(self.home)})
        if expect_ok:
            expect(done.returncode == 0, f"{script}\nfailed:\n{done.stdout}{done.stderr}")
        return done

    def exists(self, path):
        return self.sh(f"test -e {path} || test -L {path}", expect_ok=False).returncode == 0

    def status(self):
        return self.sh("dpkg-query -W -f '${Status} ${Version}' pellory 2>/dev/null || true"
                       ).stdout.strip()

    def names(self):
        """The font names of the catalogue, through the installed catdump."""
        done = self.sh(f"printf '%s\\n' {PASSWORD} | catdump --password-file - pellory "
                       "pelloryfont")
        return [row["Font Name"] for row in csv.DictReader(io.StringIO(done.stdout))]

    def expect_catalogue(self, there, when):
        expect(self.exists(f"{CATALOGUE}/pelloryfont.DB") == there,
               f"{when}: the catalogue is {'missing' if there else 'still there'}")
        if not there:
            expect(not self.exists(STATE), f"{when}: {STATE} is left")

    def script(self, name, *arguments):
        """A maintainer script of the installed package, called as dpkg
        calls it; answers its exit code and output."""
        done = self.sh(f"umask 077; /var/lib/dpkg/info/pellory.{name} {' '.join(arguments)}",
                       expect_ok=False)
        return done.returncode, done.stdout + done.stderr


def font_package(scratch):
    """A package holding one font of its own family under /usr/share/fonts."""
    root = scratch / "font-package"
    fonts = root / "usr/share/fonts/truetype/pellory-trigger-test"
    fonts.mkdir(parents=True)
    (fonts / "PelloryTriggerTest.ttf").write_bytes(renamed_font(face_file("DejaVu Sans"),
                                                                TRIGGER_FAMILY))
    (root / "DEBIAN").mkdir()
    (root / "DEBIAN/control").write_text(
        "Package: pellory-trigger-test-font\nVersion: 1\nArchitecture: all\n"
        "Maintainer: Pellory Fonts developers <developers@pellory.org>\n"
        "Description: a font for the trigger test\n")
    deb = scratch / "pellory-trigger-test-font_1_all.deb"
    done = run(["dpkg-deb", "--root-owner-group", "--build", str(root), str(deb)])
    expect(done.returncode == 0, f"dpkg-deb:\n{done.stderr}")
    return deb


def check_install(machine, deb):
    done = machine.sh(f"umask 077; dpkg -i {deb}")
    expect("could not be built" not in done.stderr, f"dpkg -i:\n{done.stderr}")
    expect(machine.status().startswith("install ok installed"), f"after dpkg -i: "
           f"{machine.status()}")
    machine.expect_catalogue(True, "after installation")
    modes = machine.sh(f"stat -c '%a %n' {STATE} {CATALOGUE} {CATALOGUE}/*").stdout.split("\n")
    expect(all(m.split(" ")[0] in ("755", "644") for m in modes if m),
           f"with dpkg's caller's umask 077 the catalogue is not for every user: {modes}")
    for doc in ("copyright", "changelog.Debian.gz"):
        expect(machine.exists(f"/usr/share/doc/pellory/{doc}"), f"no /usr/share/doc/pellory/{doc}")
    link = machine.sh(f"readlink {ENABLED_LINK} || true").stdout.strip()
    expect(link == f"/usr/lib/systemd/user/{PATH_UNIT}",
           f"the user unit is not enabled for every user: {ENABLED_LINK} -> {link!r}")
    units = " ".join(f"/usr/lib/systemd/user/{unit}" for unit in USER_UNITS)
    verified = machine.sh(f"XDG_RUNTIME_DIR=$(mktemp -d) systemd-analyze verify --user "
                          f"--generators=no {units} 2>&1", expect_ok=False)
    expect(verified.returncode == 0 and not verified.stdout.strip(),
           f"systemd-analyze verify on the installed units:\n{verified.stdout}")
    names = machine.names()
    expect(names, "the catalogue built on installation is empty")
    return len(names)


def check_trigger(machine, scratch):
    """A font package coming and going rebuilds the catalogue each time."""
    font = font_package(scratch)
    machine.sh(f"dpkg -i {font}")
    expect(any(n.startswith(TRIGGER_FAMILY) for n in machine.names()),
           "a font package installed: its family is not in the catalogue")
    machine.sh("dpkg -P pellory-trigger-test-font")
    expect(not any(n.startswith(TRIGGER_FAMILY) for n in machine.names()),
           "a font package removed: its family is still in the catalogue")


# Each maintainer script action dpkg may call, in an order that shows its
# effect: the catalogue there (True) or gone (False) after it.
ACTIONS = [
    ("prerm", ["upgrade", "0.1-2"], True),
    ("postinst", ["abort-upgrade", "0.1-2"], True),
    ("prerm", ["deconfigure", "in-favour", "other", "1"], True),
    ("postinst", ["abort-deconfigure", "in-favour", "other", "1"], True),
    ("prerm", ["failed-upgrade", "0.1-0"], True),
    ("postrm", ["upgrade", "0.1-2"], True),
    ("postrm", ["failed-upgrade", "0.1-0"], True),
    ("postrm", ["abort-upgrade", "0.1-0"], True),
    ("postrm", ["abort-install"], True),
    ("postrm", ["disappear", "other", "1"], True),
    ("postrm", ["remove"], True),
    # A removal that fails after the prerm: the package stays, with a
    # catalogue built again.
    ("prerm", ["remove"], False),
    ("postinst", ["abort-remove"], True),
    ("prerm", ["remove"], False),
    ("postinst", ["triggered", "/usr/share/fonts"], True),
    ("prerm", ["remove"], False),
    ("postinst", ["abort-upgrade", "0.1-2"], True),
]


def check_actions(machine):
    for name, arguments, there in ACTIONS:
        code, output = machine.script(name, *arguments)
        expect(code == 0, f"{name} {' '.join(arguments)} failed ({code}):\n{output}")
        machine.expect_catalogue(there, f"after {name} {' '.join(arguments)}")
    for name in ("postinst", "prerm", "postrm"):
        code, output = machine.script(name, "bogus-action")
        expect(code != 0 and "unknown argument" in output,
               f"{name} bogus-action ended with {code}: {output!r}")


def check_upgrade_remove_purge(machine, rebuilt):
    before = machine.sh(f"stat -c %Y {CATALOGUE}/pelloryfont.DB").stdout
    machine.sh(f"sleep 1; umask 077; dpkg -i {rebuilt}")
    version = run(["dpkg-deb", "-f", str(rebuilt), "Version"]).stdout.strip()
    expect(machine.status() == f"install ok installed {version}",
           f"after the upgrade: {machine.status()}")
    machine.expect_catalogue(True, "after the upgrade")
    expect(machine.sh(f"stat -c %Y {CATALOGUE}/pelloryfont.DB").stdout != before,
           "the upgrade did not build the catalogue anew")
    machine.sh("dpkg -r pellory")
    expect(machine.status().startswith("deinstall ok config-files"),
           f"after dpkg -r: {machine.status()}")
    machine.expect_catalogue(False, "after dpkg -r")
    expect(not machine.exists("/usr/bin/pellory"), "dpkg -r left the program")
    machine.sh("dpkg -P pellory")
    expect(machine.status() == "", f"after dpkg -P: {machine.status()}")
    machine.expect_catalogue(False, "after dpkg -P")
    expect(not machine.exists(ENABLED_LINK), f"dpkg -P left {ENABLED_LINK}")
    left = machine.sh("ls /var/lib/systemd/deb-systemd-user-helper-enabled 2>/dev/null | "
                      f"grep -F {PATH_UNIT} || true").stdout.strip()
    expect(not left, f"dpkg -P left deb-systemd-helper's state: {left}")


def check_lifecycle(debs):
    why = unavailable()
    if why:
        print(f"SKIPPED: no scratch system for dpkg: {why}")
        return
    deb, rebuilt = packages(debs)
    with tempfile.TemporaryDirectory() as tmp:
        scratch = pathlib.Path(tmp)
        machine = Installation(ScratchSystem(scratch / "system"), scratch / "home")
        expect(machine.status() == "", f"pellory is installed already: {machine.status()}")
        count = check_install(machine, deb)
        check_trigger(machine, scratch)
        check_actions(machine)
        check_upgrade_remove_purge(machine, rebuilt)
    print(f"dpkg installed {deb.name} (a catalogue of {count} faces, the user unit enabled "
          f"and verified by systemd-analyze), "
          f"rebuilt the catalogue as a font package came and went, every maintainer script "
          f"action left the catalogue as it should, upgraded to {rebuilt.name}, removed it "
          f"(catalogue gone) and purged it (the user unit's links gone)")


CHECKS = {
    "debs": lambda a: build_debs(pathlib.Path(a[0]), pathlib.Path(a[1])),
    "lintian": lambda a: check_lintian(pathlib.Path(a[0])),
    "lifecycle": lambda a: check_lifecycle(pathlib.Path(a[0])),
}
