#!/usr/bin/env python3
"""Fails when an #include crosses the layers the wrong way.

    scripts/check-layers.py [--root DIR] [--table FILE]

The table (scripts/layers.txt by default) names each part of the tree, the
folder it lives in, the parts it may include and whether it may use Qt. Every
source file belongs to the part with the longest matching folder; each of its
includes is resolved to a file of the tree the way the compiler finds it (the
including file's own folder, then the public include/ folders, then private
headers by name) and must belong to the same folder or to a part the table
allows. Headers that are not in the tree (the standard library, Qt, gtest)
are left alone, except Qt headers in a part that may not use Qt.
"""

import argparse
import fnmatch
import pathlib
import re
import sys

SOURCE_SUFFIXES = {".c", ".cc", ".cpp", ".h", ".hpp"}
SKIPPED_DIRS = {".git", "build", "corpus"}
INCLUDE_RE = re.compile(r'^\s*#\s*include\s*([<"])([^">]+)[">]')
QT_HEADER_RE = re.compile(r"^(Q[A-Z]\w*|Qt\w*/)")


class Part:
    def __init__(self, name, folder, allowed, qt, line):
        self.name = name
        self.folder = folder  # may hold "*" for one path component
        self.allowed = allowed  # names or patterns; "!name" excludes
        self.qt = qt
        self.line = line

    def depth(self):
        return len(self.folder.split("/"))

    def may_include(self, other):
        verdict = False
        for pattern in self.allowed:
            if pattern.startswith("!"):
                if fnmatch.fnmatchcase(other.name, pattern[1:]):
                    return False
            elif fnmatch.fnmatchcase(other.name, pattern):
                verdict = True
        return verdict


def read_table(path):
    parts = []
    for number, raw in enumerate(path.read_text().splitlines(), 1):
        line = raw.split("#", 1)[0].strip()
        if not line:
            continue
        fields = line.split()
        if len(fields) < 3 or fields[2] not in ("qt", "no-qt"):
            raise SystemExit(f"{path}:{number}: expected NAME FOLDER qt|no-qt [MAY-INCLUDE...]")
        name, folder, qt = fields[0], fields[1].rstrip("/"), fields[2] == "qt"
        parts.append(Part(name, folder, fields[3:], qt, number))
    return parts


def folder_of(part, rel):
    """The concrete folder of `part` that holds `rel`, or None."""
    pattern = part.folder.split("/")
    pieces = rel.parts[:-1]
    if len(pieces) < len(pattern):
        return None
    for want, have in zip(pattern, pieces):
        if not fnmatch.fnmatchcase(have, want):
            return None
    return "/".join(pieces[: len(pattern)])


def owner(parts, rel):
    """(part, concrete folder) with the longest folder holding `rel`."""
    best = None
    for part in parts:
        folder = folder_of(part, rel)
        if folder is not None and (best is None or part.depth() > best[0].depth()):
            best = (part, folder)
    return best


def source_files(root):
    for path in sorted(root.rglob("*")):
        rel = path.relative_to(root)
        if path.is_file() and path.suffix in SOURCE_SUFFIXES:
            if not SKIPPED_DIRS.intersection(rel.parts[:-1]) and not rel.parts[0].startswith("build"):
                yield rel


class Resolver:
    def __init__(self, root, files):
        self.root = root
        self.public = {}  # "pellory/shell/x.h" -> [rel]
        self.private = {}  # file name -> [rel] outside include/ folders
        for rel in files:
            parts = rel.parts
            if "include" in parts[:-1]:
                at = len(parts) - 1 - parts[::-1].index("include")
                self.public.setdefault("/".join(parts[at + 1 :]), []).append(rel)
            else:
                self.private.setdefault(rel.name, []).append(rel)

    def resolve(self, including, name, quoted):
        if quoted:
            beside = including.parent / name
            if (self.root / beside).is_file():
                return [pathlib.PurePosixPath(*beside.parts)]
        if name in self.public:
            return self.public[name]
        candidates = self.private.get(pathlib.PurePosixPath(name).name, [])
        return [c for c in candidates if str(c).endswith(name)] if quoted else []


def check(root, parts):
    files = list(source_files(root))
    resolver = Resolver(root, files)
    faults, includes = [], 0
    for rel in files:
        found = owner(parts, rel)
        if found is None:
            faults.append(f"{rel}: no layer in the table holds this folder")
            continue
        part, folder = found
        text = (root / rel).read_text(errors="replace").splitlines()
        for number, line in enumerate(text, 1):
            match = INCLUDE_RE.match(line)
            if not match:
                continue
            includes += 1
            quoted, name = match.group(1) == '"', match.group(2)
            if not part.qt and QT_HEADER_RE.match(name):
                faults.append(f"{rel}:{number}: {part.name} may not use Qt, but includes <{name}>")
                continue
            targets = resolver.resolve(rel, name, quoted)
            verdicts = []
            for target in targets:
                other = owner(parts, target)
                if other is None:
                    continue
                same = other[1] == folder and other[0] is part
                verdicts.append((same or part.may_include(other[0]), other[0].name, target))
            if verdicts and not any(ok for ok, _, _ in verdicts):
                _, other_name, target = verdicts[0]
                allowed = " ".join(part.allowed) or "nothing outside its folder"
                faults.append(
                    f'{rel}:{number}: {part.name} includes "{name}" ({target}, {other_name}); '
                    f"it may include: {allowed}"
                )
    return files, includes, faults


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    here = pathlib.Path(__file__).resolve().parent
    parser.add_argument("--root", type=pathlib.Path, default=here.parent)
    parser.add_argument("--table", type=pathlib.Path, default=here / "layers.txt")
    args = parser.parse_args()
    files, includes, faults = check(args.root.resolve(), read_table(args.table))
    for fault in faults:
        print(fault)
    if faults:
        print(f"layer check: {len(faults)} wrong include(s) in {len(files)} files")
        return 1
    print(f"layer check: {len(files)} files, {includes} includes, none crosses a layer upward")
    return 0


if __name__ == "__main__":
    sys.exit(main())
