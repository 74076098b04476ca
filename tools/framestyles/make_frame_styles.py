#!/usr/bin/python3
"""Writes the frames' style archives: the "STYLE" resource of the system
frame (24 markup entries coloured by system-colour references, so the frame
follows the system colours), and the test archives of the eight parts a flat
frame loads (the Modern UI frame's and the Office 2013 frame's). Each is written as a compiled resource file (.res) that the
programs link: the resource compiler takes STYLE for a dialog keyword and
cannot name the type in a script.

Entries are deflated with fixed timestamps and attributes, so a run
reproduces each archive byte for byte. Only the standard library. The
output is committed, so the build never runs this; run it again after
changing a part:
    /usr/bin/python3 tools/framestyles/make_frame_styles.py
A run with --check writes nothing and fails when the committed output
differs from what it would write (the test suite runs it so).
"""
import io
import os
import struct
import sys
import zipfile

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
FRAME_DIR = os.path.join(ROOT, "src", "toolkit", "themes", "frame")
SYSTEM_RESOURCES = os.path.join(FRAME_DIR, "QVTFrameStyles.res")
TEST_RESOURCES = os.path.join(ROOT, "tests", "toolkit", "themes", "modernui", "data", "ModernUITest.res")
VISUALSTUDIO_TEST_RESOURCES = os.path.join(ROOT, "tests", "toolkit", "themes", "visualstudio", "data",
                                           "VisualStudioStyles.res")
OFFICE2013_TEST_RESOURCES = os.path.join(ROOT, "tests", "toolkit", "themes", "office2013", "data",
                                         "Office2013Frame.res")

NS = ("xmlns='http://schemas.microsoft.com/winfx/2006/xaml/presentation' "
      "xmlns:x='http://schemas.microsoft.com/winfx/2006/xaml'")
FIXED_TIME = (2020, 1, 1, 0, 0, 0)


def brush(name):
    return "{x:Static SystemColors.%sBrush}" % name


def color(name):
    return "{x:Static SystemColors.%sColor}" % name


def gradient(first, second, first_offset="0", second_offset="1"):
    return ("<LinearGradientBrush StartPoint='0,0' EndPoint='0,1'>"
            "<GradientStop Color='%s' Offset='%s'/><GradientStop Color='%s' Offset='%s'/>"
            "</LinearGradientBrush>" % (color(first), first_offset, color(second), second_offset))


def caption_colors(active):
    return ("ActiveCaption", "GradientActiveCaption") if active else ("InactiveCaption", "GradientInactiveCaption")


def caption_background(active):
    outer, inner = caption_colors(active)
    return "<Border %s><Border.Background>%s</Border.Background></Border>" % (NS, gradient(outer, inner))


def top_border(active):
    outer, inner = caption_colors(active)
    return ("<Grid %s><Border BorderThickness='0,0,0,1' BorderBrush='%s'><Border.Background>%s"
            "</Border.Background></Border><Border BorderThickness='1' BorderBrush='%s' CornerRadius='5,5,0,0'/>"
            "</Grid>" % (NS, brush(outer), gradient(outer, inner, "0.2", "1.5"), brush(outer)))


def side_border(active, thickness, beside_caption):
    # One pixel of the caption colour outside, its gradient colour within.
    outer, inner = caption_colors(active)
    if beside_caption:
        background = "<Border.Background>%s</Border.Background>" % gradient(outer, inner)
        return "<Border %s BorderThickness='%s' BorderBrush='%s'>%s</Border>" % (NS, thickness, brush(outer),
                                                                                   background)
    return "<Border %s BorderThickness='%s' BorderBrush='%s' Background='%s'/>" % (NS, thickness, brush(outer),
                                                                                     brush(inner))


def button(background):
    return ("<Border %s BorderThickness='1' CornerRadius='2' BorderBrush='%s' Background='%s'/>"
            % (NS, brush("Highlight"), brush(background)))


def glyph(kind, n):
    ink = brush("ActiveCaptionText")
    if kind == "Minimize":
        body = "<Rectangle Canvas.Left='0' Canvas.Top='%d' Width='%d' Height='2' Fill='%s'/>" % (n - 2, n, ink)
    elif kind == "Maximize":
        body = ("<Rectangle Canvas.Left='0' Canvas.Top='0' Width='%d' Height='%d' Stroke='%s' StrokeThickness='1'/>"
                "<Rectangle Canvas.Left='0' Canvas.Top='0' Width='%d' Height='2' Fill='%s'/>" % (n, n, ink, n, ink))
    elif kind == "Restore":
        m = n - 3
        body = ("<Rectangle Canvas.Left='3' Canvas.Top='0' Width='%d' Height='%d' Stroke='%s' StrokeThickness='1'/>"
                "<Rectangle Canvas.Left='0' Canvas.Top='3' Width='%d' Height='%d' Stroke='%s' StrokeThickness='1'/>"
                "<Rectangle Canvas.Left='0' Canvas.Top='3' Width='%d' Height='2' Fill='%s'/>"
                % (m, m, ink, m, m, ink, m, ink))
    else:
        body = ("<Line X1='0' Y1='0' X2='%d' Y2='%d' Stroke='%s' StrokeThickness='2'/>"
                "<Line X1='%d' Y1='0' X2='0' Y2='%d' Stroke='%s' StrokeThickness='2'/>" % (n, n, ink, n, n, ink))
    return "<Canvas %s Width='%d' Height='%d' ClipToBounds='True'>%s</Canvas>" % (NS, n, n, body)


def system_entries():
    entries = [
        ("RibbonFrameCaptionActive.xaml", caption_background(True)),
        ("RibbonFrameCaptionInactive.xaml", caption_background(False)),
    ]
    for side, thickness in (("Left", "1,0,0,0"), ("LeftCaption", "1,0,0,0")):
        for state, active in (("Active", True), ("Inactive", False)):
            entries.append(("Frame/Border%s%s.xaml" % (side, state),
                            side_border(active, thickness, side.endswith("Caption"))))
    for state, active in (("Active", True), ("Inactive", False)):
        entries.append(("Frame/BorderTop%s.xaml" % state, top_border(active)))
    for side, thickness in (("Right", "0,0,1,0"), ("RightCaption", "0,0,1,0"), ("Bottom", "0,0,0,1")):
        for state, active in (("Active", True), ("Inactive", False)):
            entries.append(("Frame/Border%s%s.xaml" % (side, state),
                            side_border(active, thickness, side.endswith("Caption"))))
    entries.append(("Frame/CaptionButtonSelected.xaml", button("GradientActiveCaption")))
    entries.append(("Frame/CaptionButtonPressed.xaml", button("Highlight")))
    for kind in ("Minimize", "Maximize", "Restore", "Close"):
        for n in (9, 11):
            entries.append(("Frame/Glyph%s%d.xaml" % (kind, n), glyph(kind, n)))
    return entries


def modern_border():
    return "<Border %s x:Name='Border' BorderThickness='1' BorderBrush='Black' Background='White'/>" % NS


def modern_button():
    # Named shapes take the state's colours: the outline its border colour,
    # the stroke and the fill its fill colour.
    return ("<Border %s x:Name='Border' Background='White'>"
            "<Canvas x:Name='Canvas' Width='12' Height='12' HorizontalAlignment='Center' VerticalAlignment='Center'>"
            "<Rectangle x:Name='Outline' Canvas.Left='0' Canvas.Top='0' Width='12' Height='12' Stroke='Black' "
            "StrokeThickness='1'/>"
            "<Line x:Name='Stroke' X1='2' Y1='2' X2='10' Y2='2' Stroke='Black' StrokeThickness='1'/>"
            "<Rectangle x:Name='fill' Canvas.Left='4' Canvas.Top='5' Width='4' Height='4' Fill='Black' "
            "Stroke='Black' StrokeThickness='1'/>"
            "</Canvas></Border>" % NS)


def test_entries():
    entries = []
    for side in ("Left", "Top", "Right", "Bottom"):
        entries.append(("Frame/Border%s.xaml" % side, modern_border()))
    for kind in ("Minimize", "Maximize", "Restore", "Close"):
        entries.append(("Frame/Button%s.xaml" % kind, modern_button()))
    return entries


# The restore button of the Windows 10 frame has a part per state, each
# marked by a square of its own colour that no colour set touches.
RESTORE_MARKERS = (("Active", "#0A0B0C"), ("Inactive", "#0D0E0F"), ("Hot", "#101112"), ("Pressed", "#131415"))


def restore_button(marker):
    return modern_button().replace(
        "</Canvas>", "<Rectangle Canvas.Left='8' Canvas.Top='8' Width='3' Height='3' Fill='%s'/></Canvas>" % marker)


def windows10_entries():
    entries = []
    for side in ("Left", "Top", "Right", "Bottom"):
        entries.append(("Frame/Border%s.xaml" % side, modern_border()))
    for kind in ("Minimize", "Maximize", "Close"):
        entries.append(("Frame/Button%s.xaml" % kind, modern_button()))
    for state, marker in RESTORE_MARKERS:
        entries.append(("Frame/ButtonRestore%s.xaml" % state, restore_button(marker)))
    return entries


def archive(entries):
    out = io.BytesIO()
    with zipfile.ZipFile(out, "w") as zf:
        for name, text in entries:
            info = zipfile.ZipInfo(name, date_time=FIXED_TIME)
            info.compress_type = zipfile.ZIP_DEFLATED
            info.create_system = 0
            info.external_attr = 0
            zf.writestr(info, text.encode("utf-8"), compresslevel=9)
    return out.getvalue()


def res_id(text):
    return text.upper().encode("utf-16-le") + b"\0\0"


def pad4(data):
    return data + b"\0" * (-len(data) % 4)


def res_entry(type_id, name, data, language=0):
    # Header: sizes, type and name, then version, flags (moveable, pure),
    # language, and two zero words.
    names = pad4(type_id + name)
    tail = struct.pack("<IHHII", 0, 0x0030, language, 0, 0)
    header = struct.pack("<II", len(data), 8 + len(names) + len(tail)) + names + tail
    return header + pad4(data)


def resource_file(resources):
    # A compiled resource file starts with an empty entry.
    out = struct.pack("<IIHHHHIHHII", 0, 32, 0xFFFF, 0, 0xFFFF, 0, 0, 0, 0, 0, 0)
    for name, data in resources:
        out += res_entry(res_id("STYLE"), res_id(name), data)
    return out


def outputs():
    return {
        SYSTEM_RESOURCES: resource_file([("QVT_IDR_OFFICE2007SYSTEM_STYLE", archive(system_entries()))]),
        # Beside the test archive, a style that is not an archive at all.
        TEST_RESOURCES: resource_file([("QVT_IDR_TEST_MODERNUI_STYLE", archive(test_entries())),
                                       ("NOTAZIP_STYLE", b"PK\3\4 this is no archive")]),
        # The Visual Studio 2012 frame's style, and the flat style the Windows
        # 10 and Visual Studio 2015 frames read, with the restore parts.
        VISUALSTUDIO_TEST_RESOURCES: resource_file([("QVT_IDR_VS2012_STYLE", archive(test_entries())),
                                                    ("XAML_STYLE", archive(windows10_entries()))]),
        # The Office 2013 frame's style, under the name that frame looks for.
        OFFICE2013_TEST_RESOURCES: resource_file([("XAML_STYLE", archive(test_entries()))]),
    }


def main(argv):
    check = "--check" in argv
    differ = []
    for path, data in sorted(outputs().items()):
        old = None
        if os.path.exists(path):
            with open(path, "rb") as f:
                old = f.read()
        if old == data:
            continue
        if check:
            differ.append(os.path.relpath(path, ROOT))
            continue
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)
    if differ:
        print("out of date: " + ", ".join(differ), file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
