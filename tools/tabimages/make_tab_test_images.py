#!/usr/bin/python3
"""Writes the tab manager's test resource image set: an INI text and the
images the tab appearances read ("RIBBONTAB" with 6 frames, "ACCESSTAB"
with 4, "TABCONTROLPAGE"), each frame one colour of its own with magenta
(the key colour) in its corners, so that tests can tell frames apart and
see the key stay transparent.

Only the standard library. The output is committed, so the build never runs
this; run it again after changing a palette or a size:
    /usr/bin/python3 tools/tabimages/make_tab_test_images.py tests/toolkit/tabmanager/appearances/data
"""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
import raster  # noqa: E402

MAGENTA = (255, 0, 255)

# Frame colours: one per state, top frame first.
RIBBON_TAB = [(200, 0, 0), (0, 200, 0), (0, 0, 200), (200, 200, 0), (0, 200, 200), (200, 0, 200)]
ACCESS_TAB = [(120, 30, 30), (30, 120, 30), (30, 30, 120), (120, 120, 30)]
PAGE = (90, 160, 220)
PAGE_EDGE = (20, 40, 60)

INI = """; The tab manager's test colour scheme.
[Images]
RIBBONTAB = TabTest\\RibbonTab.png
ACCESSTAB = TabTest\\AccessTab.png
TABCONTROLPAGE = TabTest\\TabControlPage.png
[TabManager]
FrameBorder = 10 20 30
DarkShadow = 40 50 60
LightShadow = seven
AccessBorder = 70 80 90
AccessHeader = 100 110 120
Button = 1 2 3
ButtonSelected = 4 5 6
Text = -1
[TabClient]
Back = 7 8 9
[Ribbon]
RibbonFace = 130 140 150
TabSelectedText = 160 170 180
[Window]
ButtonFace = 190 200 210
WindowFrame = 11 22 33
"""

# A scheme with colours but no images: every image is missing.
BARE_INI = """; A test colour scheme without images.
[TabManager]
FrameBorder = 33 66 99
"""


def framed_strip(width, height, colours, edge=None):
    """Frames stacked vertically, each filled with its colour, an optional
    one-pixel edge, and magenta corner pixels."""
    pixels = []
    for colour in colours:
        for y in range(height):
            row = []
            for x in range(width):
                corner = (x in (0, width - 1)) and (y in (0, height - 1))
                on_edge = edge and (x in (0, width - 1) or y in (0, height - 1))
                row.append(MAGENTA if corner else edge if on_edge else colour)
            pixels.append(row)
    return width, height * len(colours), pixels


def main(folder):
    os.makedirs(folder, exist_ok=True)
    images = {
        "RibbonTab.png": framed_strip(20, 22, RIBBON_TAB),
        "AccessTab.png": framed_strip(40, 24, ACCESS_TAB),
        "TabControlPage.png": framed_strip(24, 24, [PAGE], PAGE_EDGE),
    }
    for name, (_, _, pixels) in images.items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(raster.png_bytes(pixels, alpha=False))
    for name, text in (("TabTest.ini", INI), ("TabBare.ini", BARE_INI)):
        with open(os.path.join(folder, name), "wb") as f:
            f.write(text.replace("\n", "\r\n").encode("ascii"))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else ".")
