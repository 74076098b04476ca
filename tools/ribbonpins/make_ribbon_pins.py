#!/usr/bin/python3
"""Writes the application menu's two pin images as vector (XAML) resources:
a pushed-in pin (pinned) and a pin lying on its side (not pinned), both on a
16-unit canvas.

The output is committed; run it again after changing a shape:
    /usr/bin/python3 tools/ribbonpins/make_ribbon_pins.py src/toolkit/ribbon/res
With --check it only compares what it would write with the committed files.
"""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
import raster  # noqa: E402

HEADER = '<Viewbox xmlns="http://schemas.microsoft.com/winfx/2006/xaml/presentation">'
INK = "#3C3C3C"
HEAD = "#F0F0F0"

# Upright pin: head, collar and needle, seen from the front.
PINNED = (HEADER + '<Canvas Width="16" Height="16">'
          '<Path Fill="' + HEAD + '" Stroke="' + INK + '" StrokeThickness="1" '
          'Data="M 5.5,1.5 L 10.5,1.5 L 10.5,8.5 L 5.5,8.5 Z"/>'
          '<Path Fill="' + INK + '" Data="M 3,8 L 13,8 L 13,10 L 3,10 Z"/>'
          '<Path Fill="' + INK + '" Data="M 7.5,10 L 8.5,10 L 8.5,15 L 7.5,15 Z"/>'
          '</Canvas></Viewbox>')

# The same pin lying on its side, needle to the left.
UNPINNED = (HEADER + '<Canvas Width="16" Height="16">'
            '<Path Fill="' + HEAD + '" Stroke="' + INK + '" StrokeThickness="1" '
            'Data="M 7.5,5.5 L 14.5,5.5 L 14.5,10.5 L 7.5,10.5 Z"/>'
            '<Path Fill="' + INK + '" Data="M 6,3 L 8,3 L 8,13 L 6,13 Z"/>'
            '<Path Fill="' + INK + '" Data="M 1,7.5 L 6,7.5 L 6,8.5 L 1,8.5 Z"/>'
            '</Canvas></Viewbox>')

FILES = {"ribbon_pin_pinned.xaml": PINNED, "ribbon_pin_unpinned.xaml": UNPINNED}


def main():
    args = [a for a in sys.argv[1:] if a != "--check"]
    check = "--check" in sys.argv[1:]
    folder = args[0] if args else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "src",
                                               "toolkit", "ribbon", "res")
    raster.write_or_check(folder, {name: text.encode("utf-8") for name, text in FILES.items()}, check)


if __name__ == "__main__":
    main()
