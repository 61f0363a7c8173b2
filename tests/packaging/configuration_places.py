"""Every place an engine configuration may lie, with and without an [engine]
section, in every kind of tree the programs run from: the build tree, an
installation under a prefix of its own, one staged below DESTDIR, and the
Debian package installed by dpkg in a scratch system. In each row the
program reads the configuration it should (`pellory --help` names it) and
the catalogue it names opens (catdump, which loads the engine as the program
does); in each tree the program itself shows the first record through a
configuration without [engine], and F1 starts the help viewer on that
tree's own help.

    configurations BUILD_DIR ROOT DEBS PROBE
"""

import pathlib
import shutil
import subprocess
import tempfile

from debian_package import first_package
from installation_kit import (CATALOGUE, ENGINE, PASSWORD, PREFIX, expect, installed_engine,
                              probe_lines, run)
from scratch_system import ScratchSystem, unavailable

PLACES = ["PELLORY_ENGINE_CONFIG", "$XDG_CONFIG_HOME", "~/.config", "/etc", "installation"]


class Tree:
    """One kind of tree: where its programs, engine and help lie, and how a
    command runs in it (in the scratch system, when there is one)."""

    def __init__(self, name, bin_dir, engine_dir, installed_config, help_prefix, system,
                 inside_only=False):
        self.name = name
        self.bin = pathlib.Path(bin_dir)
        self.engine_dir = pathlib.Path(engine_dir)
        self.installed_config = installed_config  # None for the build tree
        self.help_prefix = help_prefix  # where the help collection lies
        self.system = system
        self.inside_only = inside_only  # only the scratch system holds it

    def run(self, command, env, input=None):
        if self.system:
            return self.system.run(command, env=env, input=input, timeout=300)
        return subprocess.run(command, env=env, input=input, capture_output=True, text=True,
                              timeout=300)

    def write(self, path, text):
        """Writes a file of the tree or the machine (None: removes it)."""
        if self.system and (self.inside_only or str(path).startswith("/etc/")):
            script = (f"mkdir -p '{pathlib.Path(path).parent}' && cat > '{path}'" if text is not None
                      else f"rm -f '{path}'")
            done = self.system.run(["sh", "-c", script], input=text or "")
            expect(done.returncode == 0, f"cannot write {path}: {done.stderr}")
            return
        path = pathlib.Path(path)
        if text is None:
            path.unlink(missing_ok=True)
        else:
            path.parent.mkdir(parents=True, exist_ok=True)
            path.write_text(text)

    def read(self, path):
        if self.system and self.inside_only:
            return self.system.run(["cat", str(path)]).stdout
        return pathlib.Path(path).read_text()


def config_text(tree, catalogue, with_engine):
    text = "# written by the test\n"
    if with_engine:
        text += f"[engine]\nlibrary_dir = {tree.engine_dir}\n"
    return text + f"[alias pellory]\npath = {catalogue}\n"


def environment(scratch, **extra):
    home = scratch / "home"
    runtime = scratch / "runtime"
    home.mkdir(exist_ok=True)
    runtime.mkdir(mode=0o700, exist_ok=True)
    env = {"PATH": "/usr/bin:/bin", "HOME": str(home), "XDG_RUNTIME_DIR": str(runtime),
           "LANG": "C.UTF-8"}
    env.update(extra)
    return env


def check_row(tree, place, with_engine, catalogue, scratch):
    """Puts a configuration at `place` and answers what the tree's programs
    made of it; the place is emptied again afterwards."""
    env = environment(scratch)
    home = pathlib.Path(env["HOME"])
    if place == "installation":
        original = tree.read(tree.installed_config)
        text = original if with_engine else "\n".join(
            line for line in original.splitlines()
            if line.strip() != "[engine]" and not line.startswith("library_dir")) + "\n"
        expect(with_engine == ("library_dir" in text), f"{tree.installed_config}:\n{original}")
        file = tree.installed_config
    else:
        file = {"PELLORY_ENGINE_CONFIG": scratch / "named.conf",
                "$XDG_CONFIG_HOME": scratch / "xdg/pellory/engine.conf",
                "~/.config": home / ".config/pellory/engine.conf",
                "/etc": pathlib.Path("/etc/pellory/engine.conf")}[place]
        text = config_text(tree, catalogue, with_engine)
        if place == "PELLORY_ENGINE_CONFIG":
            env["PELLORY_ENGINE_CONFIG"] = str(file)
        if place == "$XDG_CONFIG_HOME":
            env["XDG_CONFIG_HOME"] = str(scratch / "xdg")
    tree.write(file, text)
    try:
        help_text = tree.run([tree.bin / "pellory", "--help"], env).stdout
        read = next((line[len("Now read: "):] for line in help_text.splitlines()
                     if line.startswith("Now read: ")), "none")
        counted = tree.run([tree.bin / "catdump", "--password-file", "-", "--count", "pellory",
                            "pelloryfont"], env, input=PASSWORD + "\n")
    finally:
        tree.write(file, original if place == "installation" else None)
    expect(read == str(file), f"{tree.name}, {place}: the program reads {read}, not {file}")
    expect(counted.returncode == 0 and counted.stdout.strip().isdigit(),
           f"{tree.name}, {place}, {'with' if with_engine else 'without'} [engine]: catdump "
           f"failed:\n{counted.stdout}{counted.stderr}")
    return int(counted.stdout)


def check_program(tree, catalogue, probe, scratch):
    """The program from the tree, with the user's own configuration naming
    only the alias: it shows the first record through the tree's own engine,
    and F1 starts the viewer on the tree's own help."""
    env = environment(scratch, QT_QPA_PLATFORM="offscreen", LD_PRELOAD=str(probe),
                      PELLORY_PROBE_HELP="1")
    config = pathlib.Path(env["HOME"]) / ".config/pellory/engine.conf"
    tree.write(config, config_text(tree, catalogue, with_engine=False))
    try:
        done = tree.run([tree.bin / "pellory"], env)
    finally:
        tree.write(config, None)
    shown = probe_lines(done.stdout)
    expect(done.returncode == 0 and "error box" not in shown and shown.get("font name"),
           f"{tree.name}: the program showed {shown} ({done.returncode}):\n{done.stderr}")
    engine = tree.engine_dir / ENGINE
    expect(shown.get("engine") == [str(engine)],
           f"{tree.name}: the program loaded {shown.get('engine')}, not {engine}")
    collection = pathlib.Path(tree.help_prefix) / "fontl.qhc"
    viewers = shown.get("help viewer", [])
    expect(any(f"-collectionFile {collection} " in v + " " for v in viewers),
           f"{tree.name}: F1 started {viewers or 'no help viewer'}, not one on {collection}")
    return shown["font name"][0]


def trees(build, root, debs, scratch, system):
    """The four kinds of tree, the package's installed in `system`."""
    engine = installed_engine(root)
    found = [Tree("build tree", build / "bin", build / "bin", None, build / "bin", system),
             Tree("staged DESTDIR", root / PREFIX / "bin", engine.parent,
                  root / PREFIX / "share/pellory/engine.conf",
                  root / PREFIX / "share/pellory/help", system)]
    prefix = scratch / "prefix"
    done = run(["cmake", "--install", str(build), "--prefix", str(prefix), "--component",
                "program"])
    expect(done.returncode == 0, f"cmake --install --prefix failed:\n{done.stdout}{done.stderr}")
    shutil.copytree(root / CATALOGUE, prefix / "var/lib/pellory/catalogue")
    found.append(Tree("--prefix", prefix / "bin", prefix / engine.relative_to(root / PREFIX).parent,
                      prefix / "share/pellory/engine.conf", prefix / "share/pellory/help", system))
    if system:
        deb = first_package(debs)
        done = system.run(["dpkg", "-i", str(deb)], env={"PATH": "/usr/sbin:/usr/bin:/sbin:/bin"})
        expect(done.returncode == 0, f"dpkg -i {deb.name}:\n{done.stdout}{done.stderr}")
        found.append(Tree("package", "/usr/bin", "/" + str(engine.parent.relative_to(root)),
                          "/usr/share/pellory/engine.conf", "/usr/share/pellory/help", system,
                          inside_only=True))
    return found


def check_configurations(build, root, debs, probe):
    why = unavailable()
    with tempfile.TemporaryDirectory() as tmp:
        scratch = pathlib.Path(tmp)
        system = None if why else ScratchSystem(scratch / "system")
        catalogue = root / CATALOGUE
        rows = []
        for tree in trees(build, root, debs, scratch, system):
            for place in PLACES:
                if place == "installation" and tree.installed_config is None:
                    continue
                if place == "/etc" and not system:
                    continue
                for with_engine in (True, False):
                    count = check_row(tree, place, with_engine, catalogue, scratch)
                    rows.append(f"{tree.name:15} {place:22} {'with' if with_engine else 'without'}"
                                f" [engine]: {count} records")
            shown = check_program(tree, catalogue, probe, scratch)
            rows.append(f"{tree.name:15} the program shows {shown!r}; F1 shows its own help")
    print("\n".join(rows))
    if why:
        print(f"(the rows of /etc and of the package were left out: {why})")


CHECKS = {
    "configurations": lambda a: check_configurations(*(pathlib.Path(p).resolve() for p in a[:4])),
}
