"""The layer check on tiny trees: each case writes a few files and expects the
check to pass, or to fail naming the file and line of the wrong include."""

import pathlib
import subprocess
import sys
import tempfile
import unittest

CHECKER = pathlib.Path(__file__).resolve().parents[2] / "scripts" / "check-layers.py"

TABLE = """\
low    low    no-qt
mid    mid    qt     low
window ui/*   qt     mid low
top    top    qt     *
"""

# Files every case starts from: one public header per part.
BASE = {
    "low/include/p/low/low.h": "",
    "low/src/secret.h": "",
    "mid/include/p/mid/mid.h": '#include "p/low/low.h"\n',
    "mid/src/hidden.h": "",
    "ui/one/include/p/one/one.h": "",
    "ui/two/include/p/two/two.h": "",
}

CASES = [
    # (what, extra files, expected fault "file:line" or None for a pass)
    ("includes downward pass",
     {"mid/src/mid.cpp": '#include "p/mid/mid.h"\n#include "hidden.h"\n#include <QString>\n',
      "ui/one/src/one.cpp": '#include "p/one/one.h"\n#include "p/mid/mid.h"\n',
      "top/main.cpp": '#include "p/one/one.h"\n#include "p/two/two.h"\n'},
     None),
    ("an upward include fails",
     {"low/src/low.cpp": '#include "p/low/low.h"\n\n#include "p/mid/mid.h"\n'},
     "low/src/low.cpp:3"),
    ("an upward include in angle brackets fails",
     {"low/src/low.cpp": "#include <p/mid/mid.h>\n"},
     "low/src/low.cpp:1"),
    ("a window including another window fails",
     {"ui/one/src/one.cpp": '#include "p/mid/mid.h"\n#include "p/two/two.h"\n'},
     "ui/one/src/one.cpp:2"),
    ("a private header of a higher part fails",
     {"low/src/low.cpp": '#include "secret.h"\n#include "hidden.h"\n'},
     "low/src/low.cpp:2"),
    ("Qt in a part without Qt fails",
     {"low/src/low.cpp": "#include <string>\n#include <QWidget>\n"},
     "low/src/low.cpp:2"),
    ("a folder without a layer fails",
     {"stray/stray.cpp": "int x;\n"},
     "stray/stray.cpp"),
]


def run_check(files):
    with tempfile.TemporaryDirectory() as tmp:
        root = pathlib.Path(tmp)
        for rel, text in {**BASE, **files}.items():
            (root / rel).parent.mkdir(parents=True, exist_ok=True)
            (root / rel).write_text(text)
        (root / "layers.txt").write_text(TABLE)
        return subprocess.run(
            [sys.executable, str(CHECKER), "--root", str(root), "--table", str(root / "layers.txt")],
            capture_output=True, text=True)


class LayerCheck(unittest.TestCase):
    def test_cases(self):
        for what, files, fault in CASES:
            with self.subTest(what):
                result = run_check(files)
                if fault is None:
                    self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
                else:
                    self.assertEqual(result.returncode, 1, result.stdout + result.stderr)
                    faults = [l for l in result.stdout.splitlines() if not l.startswith("layer check:")]
                    self.assertEqual(len(faults), 1, result.stdout)
                    self.assertTrue(faults[0].startswith(fault + ":"), faults[0])


if __name__ == "__main__":
    unittest.main()
