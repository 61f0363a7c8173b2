#!/usr/bin/env python3
"""Writes the program's own resource bitmaps from the pixel art below.

    python3 resources/draw_resources.py

Each picture is a 4-bit Windows bitmap with the 16 standard colours, as the
program's bitmap decoder reads it. Olive fills whatever the program draws
transparent: the bottom-left pixel of every picture is olive.
"""

import pathlib
import struct

# The 16 standard colours as (red, green, blue), keyed by the letter the art
# uses for each.
PALETTE = {
    "k": (0, 0, 0),          # black
    "r": (128, 0, 0),        # maroon
    "g": (0, 128, 0),        # green
    "o": (128, 128, 0),      # olive: transparent
    "n": (0, 0, 128),        # navy
    "p": (128, 0, 128),      # purple
    "t": (0, 128, 128),      # teal
    "s": (192, 192, 192),    # silver
    "d": (128, 128, 128),    # grey
    "R": (255, 0, 0),        # red
    "G": (0, 255, 0),        # lime
    "Y": (255, 255, 0),      # yellow
    "B": (0, 0, 255),        # blue
    "M": (255, 0, 255),      # fuchsia
    "C": (0, 255, 255),      # aqua
    "w": (255, 255, 255),    # white
}
INDEX = {letter: i for i, letter in enumerate(PALETTE)}

# The program's icon: a sheet with a folded corner and a large serif A.
PROGRAM_ICON = [
    "oooooooooooooooooooooooooooooooo",
    "oooooooooooooooooooooooooooooooo",
    "oooookkkkkkkkkkkkkkkoooooooooooo",
    "oooookwwwwwwwwwwwwwkkooooooooooo",
    "oooookwwwwwwwwwwwwwkskoooooooooo",
    "oooookwwwwwwwwwwwwwksskooooooooo",
    "oooookwwwwwwwwwwwwwkssskoooooooo",
    "oooookwwwwwwwwwwwwwkkkkkkooooooo",
    "oooookwwwwwwwwnnnwwwwwwwkooooooo",
    "oooookwwwwwwwwnBBnwwwwwwkddooooo",
    "oooookwwwwwwwnwBBnwwwwwwkddooooo",
    "oooookwwwwwwwnwwBBnwwwwwkddooooo",
    "oooookwwwwwwnwwwBBnwwwwwkddooooo",
    "oooookwwwwwwnwwwwBBnwwwwkddooooo",
    "oooookwwwwwwnwwwwBBnwwwwkddooooo",
    "oooookwwwwwnwwwwwwBBnwwwkddooooo",
    "oooookwwwwwnwwwwwwBBnwwwkddooooo",
    "oooookwwwwnwnnnnnnnBBnwwkddooooo",
    "oooookwwwwnwwwwwwwwBBnwwkddooooo",
    "oooookwwwwnwwwwwwwwBBnwwkddooooo",
    "oooookwwwnwwwwwwwwwwBBnwkddooooo",
    "oooookwwwnwwwwwwwwwwBBnwkddooooo",
    "oooookwwnwwwwwwwwwwwBBnwkddooooo",
    "oooookwnnnnnwwwwwnnnnnnnkddooooo",
    "oooookwwwwwwwwwwwwwwwwwwkddooooo",
    "oooookwwrrrrrrrrrrrrrrwwkddooooo",
    "oooookwwwwwwwwwwwwwwwwwwkddooooo",
    "oooookwwddddddddddwwwwwwkddooooo",
    "oooookkkkkkkkkkkkkkkkkkkkddooooo",
    "oooooooddddddddddddddddddddooooo",
    "oooooooddddddddddddddddddddooooo",
    "oooooooooooooooooooooooooooooooo",
]

# The OK button's check mark. The glyph holds it twice side by side: as
# drawn here for the enabled button, and as a grey outline with a white
# edge below and to the right for the disabled one.
CHECK_MARK = [
    "oooooooooooooooooo",
    "oooooooooooooooooo",
    "oooooooooooooooooo",
    "oooooooooooooogooo",
    "oooooooooooooggGoo",
    "ooooooooooooggGGoo",
    "oooooooooooggGGgoo",
    "ooogoooooogGGGgooo",
    "ooggGoooogGGGgoooo",
    "oogGGGooggGGgooooo",
    "ooogGGGgGGGgoooooo",
    "oooogGGGGGgooooooo",
    "ooooogGGGgoooooooo",
    "oooooogGgooooooooo",
    "ooooooogoooooooooo",
    "oooooooooooooooooo",
    "oooooooooooooooooo",
    "oooooooooooooooooo",
]


def disabled(art):
    """The outline of the art's shape in grey, with white one pixel below
    and to the right of it where that falls outside the shape."""
    height, width = len(art), len(art[0])

    def inside(x, y):
        return 0 <= x < width and 0 <= y < height and art[y][x] != "o"

    def edge(x, y):
        return inside(x, y) and not all(
            inside(x + dx, y + dy) for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))

    rows = []
    for y in range(height):
        row = ""
        for x in range(width):
            if edge(x, y):
                row += "d"
            elif edge(x - 1, y - 1) and not inside(x, y):
                row += "w"
            else:
                row += "o"
        rows.append(row)
    return rows


def side_by_side(*images):
    return ["".join(rows) for rows in zip(*images)]


def bitmap(art):
    """A bottom-up 4-bit bitmap file of the art."""
    height, width = len(art), len(art[0])
    assert all(len(row) == width for row in art), "ragged art"
    stride = (width + 7) // 8 * 4  # rows padded to 4 bytes
    pixels = b""
    for row in reversed(art):
        nibbles = [INDEX[letter] for letter in row] + [0] * (stride * 2 - width)
        pixels += bytes(hi << 4 | lo for hi, lo in zip(nibbles[0::2], nibbles[1::2]))
    colours = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE.values())
    offset = 14 + 40 + len(colours)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, len(pixels), 0, 0, 16, 0)
    return struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset) + info + colours + pixels


def main():
    here = pathlib.Path(__file__).resolve().parent
    outputs = {
        here / "icons" / "program_icon.bmp": PROGRAM_ICON,
        here / "glyphs" / "bbok.bmp": side_by_side(CHECK_MARK, disabled(CHECK_MARK)),
    }
    for path, art in outputs.items():
        path.parent.mkdir(exist_ok=True)
        path.write_bytes(bitmap(art))
        print(path.relative_to(here.parent))


if __name__ == "__main__":
    main()
