#!/usr/bin/python3
"""Writes the ribbon tests' toolbar resources that the resource compiler
cannot write: one whose id count claims 500 ids and holds two, and one cut
off inside its header. Uses the resource-file writer of the command bars'
image script.

The output is committed; run it again after changing a resource:
    /usr/bin/python3 tools/ribbonresources/make_ribbon_test_resources.py \
        tests/toolkit/ribbon/res
"""
import os
import struct
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "commandbarimages"))
from make_commandbar_images import res_file  # noqa: E402

RT_TOOLBAR = 241
IDR_RIBBON_FORGEDBAR = 3202
IDR_RIBBON_SHORTBAR = 3203
ID_RIBBON_PLAY = 3304
ID_RIBBON_NEXT = 3305


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    os.makedirs(sys.argv[1], exist_ok=True)
    resources = [(IDR_RIBBON_FORGEDBAR, struct.pack("<6H", 1, 16, 16, 500, ID_RIBBON_PLAY, ID_RIBBON_NEXT)),
                 (IDR_RIBBON_SHORTBAR, struct.pack("<2H", 1, 16))]
    with open(os.path.join(sys.argv[1], "forged_toolbars.res"), "wb") as f:
        f.write(res_file(RT_TOOLBAR, resources))


if __name__ == "__main__":
    main()
