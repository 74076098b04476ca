#!/usr/bin/python3
"""Writes the program's skin "vista" and the hostile skins of the skin tests.

The skin is drawn from one palette per colour scheme (NormalBlue,
NormalBlack2, NormalSilver) and one table of sizes: for each scheme a UTF-16
INI schema with CR LF lines and the bitmap strips it names (24-bit strips
keyed on magenta, 32-bit strips with alpha), plus "THEMES_INI" whose first
section is [File.NormalBlue]. The folder it writes is the skin as a
directory; the resource script beside it makes the same skin a
resource-only module, "vista.qvstyles" (the build links it).

The hostile skins are PE files this script writes itself: modules cut short,
resources that claim more than the file holds, schemas of every wrong shape
and bitmaps whose headers lie.

Only the standard library. The output is committed, so the build never runs
this; run it again after changing a palette or a size:
    /usr/bin/python3 tools/skinfiles/make_skin_files.py
A run with --check writes nothing and fails when the committed output
differs from what it would write.
"""
import os
import struct
import sys
import zlib

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
SKIN_DIR = os.path.join(ROOT, "src", "toolkit", "skinframework", "res", "vista")
HOSTILE_DIR = os.path.join(ROOT, "tests", "toolkit", "skinframework", "data", "hostile")

MAGENTA = (255, 0, 255)

# ---------------------------------------------------------------------------
# Palettes: each scheme's folder, accent and neutral tones.

SCHEMES = [
    ("NormalBlue", "Blue", {
        "caption": (59, 110, 181), "captionInactive": (140, 165, 200), "frame": (40, 80, 150),
        "face": (236, 233, 216), "light": (255, 255, 255), "shadow": (160, 160, 150), "dark": (90, 90, 80),
        "accent": (49, 106, 197), "hot": (255, 200, 60), "pressed": (30, 60, 140), "text": (0, 0, 0),
        "disabled": (200, 200, 190), "window": (255, 255, 255), "close": (200, 70, 40)}),
    ("NormalBlack2", "Black", {
        "caption": (40, 40, 44), "captionInactive": (100, 100, 106), "frame": (20, 20, 24),
        "face": (220, 220, 224), "light": (250, 250, 250), "shadow": (140, 140, 146), "dark": (60, 60, 66),
        "accent": (70, 70, 80), "hot": (240, 170, 40), "pressed": (10, 10, 14), "text": (0, 0, 0),
        "disabled": (190, 190, 194), "window": (255, 255, 255), "close": (190, 50, 40)}),
    ("NormalSilver", "Silver", {
        "caption": (170, 175, 190), "captionInactive": (205, 208, 215), "frame": (120, 125, 140),
        "face": (230, 230, 236), "light": (255, 255, 255), "shadow": (165, 165, 175), "dark": (100, 100, 110),
        "accent": (130, 140, 165), "hot": (250, 190, 70), "pressed": (90, 95, 110), "text": (0, 0, 0),
        "disabled": (205, 205, 210), "window": (255, 255, 255), "close": (205, 80, 60)}),
]


def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


# ---------------------------------------------------------------------------
# Bitmaps

def bmp24(width, height, pixel):
    """A 24-bit bottom-up BMP; pixel(x, y) gives (r, g, b), y from the top."""
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in reversed(range(height)):
        row = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)[:3]
            row += bytes((b, g, r))
        rows.append(bytes(row) + b"\0" * (stride - width * 3))
    data = b"".join(rows)
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    return b"BM" + struct.pack("<IHHI", 14 + 40 + len(data), 0, 0, 54) + header + data


def bmp32(width, height, pixel):
    """A 32-bit bottom-up BMP with alpha; pixel(x, y) gives (r, g, b, a), not premultiplied."""
    rows = []
    for y in reversed(range(height)):
        row = bytearray()
        for x in range(width):
            r, g, b, a = pixel(x, y)
            row += bytes((b, g, r, a))
        rows.append(bytes(row))
    data = b"".join(rows)
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 32, 0, len(data), 2835, 2835, 0, 0)
    return b"BM" + struct.pack("<IHHI", 14 + 40 + len(data), 0, 0, 54) + header + data


class Strip:
    """Frames of one size stacked (vertical) or side by side, each drawn by
    paint(state index, x, y, w, h)."""

    def __init__(self, w, h, n, paint, vertical=True, alpha=False):
        self.w, self.h, self.n, self.paint, self.vertical, self.alpha = w, h, n, paint, vertical, alpha

    def data(self):
        W = self.w if self.vertical else self.w * self.n
        H = self.h * self.n if self.vertical else self.h

        def pixel(x, y):
            i = y // self.h if self.vertical else x // self.w
            fx = x if self.vertical else x % self.w
            fy = y % self.h if self.vertical else y
            p = self.paint(i, fx, fy, self.w, self.h)
            return p if len(p) == 4 or not self.alpha else p + (255,)
        return bmp32(W, H, pixel) if self.alpha else bmp24(W, H, pixel)


def button_face(fill, border, light=None, corner=False):
    """A framed face with a lighter top half and, when corner, magenta corners."""
    def paint(x, y, w, h):
        if corner and (x, y) in ((0, 0), (w - 1, 0), (0, h - 1), (w - 1, h - 1)):
            return MAGENTA
        if x == 0 or y == 0 or x == w - 1 or y == h - 1:
            return border
        if light is not None and y < h // 2:
            return light
        return fill
    return paint


def states_strip(w, h, looks, corner=False, vertical=True):
    """One framed face per state: looks is a list of (fill, border, light)."""
    return Strip(w, h, len(looks), lambda i, x, y, fw, fh: button_face(*looks[i], corner=corner)(x, y, fw, fh),
                 vertical=vertical)


def arrow_strip(p, w, h, looks, up):
    """Framed faces with a centred triangle, as the system draws on drop and spin buttons."""
    def paint(i, x, y, fw, fh):
        dy = y - (fh - 4) // 2
        if up:
            dy = 3 - dy
        if 0 <= dy <= 3 and abs(2 * x - (fw - 1)) <= 2 * (3 - dy):
            if i == 3:
                return p["shadow"]
            fill = looks[i][0]
            # A dark pressed face takes a white glyph.
            return (255, 255, 255) if 299 * fill[0] + 587 * fill[1] + 114 * fill[2] < 110000 else p["text"]
        return button_face(*looks[i])(x, y, fw, fh)
    return Strip(w, h, len(looks), paint)


def looks4(p, base):
    return [(base, p["dark"], mix(base, p["light"], 0.4)),
            (mix(base, p["hot"], 0.5), p["dark"], mix(p["hot"], p["light"], 0.5)),
            (p["pressed"], p["dark"], None),
            (p["disabled"], p["shadow"], None)]


def glyph_strip(p, n, draw, size=13, vertical=True):
    """Check marks and dots: 32-bit, transparent outside the box."""
    def paint(i, x, y, w, h):
        return draw(i, x, y, w, h)
    return Strip(size, size, n, paint, vertical=vertical, alpha=True)


def check_box(p, radio):
    looks = [p["window"], mix(p["window"], p["hot"], 0.3), mix(p["window"], p["pressed"], 0.3), p["disabled"]]

    def draw(i, x, y, w, h):
        look = looks[i % 4]
        mark = i // 4  # 0 unchecked, 1 checked, 2 mixed
        if radio:
            d = (x - 6) ** 2 + (y - 6) ** 2
            if d > 40:
                return (0, 0, 0, 0)
            if d > 30:
                return p["dark"] + (255,)
            if mark == 1 and d <= 6:
                return p["accent"] + (255,)
            return look + (255,)
        if x == 0 or y == 0 or x == w - 1 or y == h - 1:
            return p["dark"] + (255,)
        if mark == 1 and (x - 3 == y - 5 or x + y == 14) and 3 <= x <= 9 and 3 <= y <= 9:
            return p["accent"] + (255,)
        if mark == 2 and 3 <= x <= 9 and 3 <= y <= 9:
            return p["accent"] + (255,)
        return look + (255,)
    return glyph_strip(p, 12 if not radio else 8, draw)


def caption(p, small):
    """Active and inactive captions: rounded top corners keyed on magenta."""
    h = 22 if small else 30

    def paint(i, x, y, w, hh):
        base = p["caption"] if i == 0 else p["captionInactive"]
        if y < 3 and x < 3 - y or y < 3 and x > w - 4 + y:
            return MAGENTA
        if y == 0 or x == 0 or x == w - 1:
            return p["frame"]
        return mix(mix(base, p["light"], 0.35), base, y / hh)
    return Strip(32, h, 2, paint)


def frame_edge(p, w, h):
    return Strip(w, h, 2, lambda i, x, y, fw, fh: p["frame"] if i == 0 else p["captionInactive"])


def caption_button(p, w, h, tint):
    looks = [(tint, p["frame"], mix(tint, p["light"], 0.3)), (mix(tint, p["hot"], 0.5), p["frame"], None),
             (p["pressed"], p["frame"], None), (p["disabled"], p["shadow"], None)]
    return states_strip(w, h, looks, corner=True)


def arrows(p):
    """Sixteen arrow states plus four hover frames, each with a triangle."""
    def paint(i, x, y, w, h):
        direction = i // 4 if i < 16 else i - 16
        look = looks4(p, p["face"])[i % 4 if i < 16 else 1]
        fill, border, light = look
        if x == 0 or y == 0 or x == w - 1 or y == h - 1:
            return border
        cx, cy = x - 8, y - 8
        inside = {0: cy >= -2 and abs(cx) <= cy + 2 and cy <= 2, 1: cy <= 2 and abs(cx) <= 2 - cy and cy >= -2,
                  2: cx >= -2 and abs(cy) <= cx + 2 and cx <= 2, 3: cx <= 2 and abs(cy) <= 2 - cx and cx >= -2}
        if inside[direction]:
            return p["text"]
        return light if light and y < h // 2 else fill
    return Strip(17, 17, 20, paint)


def gripper(p, w, h, n):
    def paint(i, x, y, fw, fh):
        if (x + y) % 3 == 0 and 1 <= x < fw - 1 and 1 <= y < fh - 1:
            return p["dark"] + (255,)
        return (0, 0, 0, 0)
    return Strip(w, h, n, paint, alpha=True)


def toolbar_button(p):
    looks = [None, mix(p["hot"], p["light"], 0.5), p["hot"], None, mix(p["accent"], p["light"], 0.6),
             mix(p["hot"], p["accent"], 0.4)]

    def paint(i, x, y, w, h):
        if looks[i] is None:
            return (0, 0, 0, 0)
        if x == 0 or y == 0 or x == w - 1 or y == h - 1:
            return p["dark"] + (200,)
        return looks[i] + (255,)
    return Strip(22, 22, 6, paint, alpha=True)


def images_of(folder, p):
    face = p["face"]
    return {
        "PushButton": states_strip(18, 21, looks4(p, face) + [(face, p["accent"], mix(face, p["light"], 0.4))],
                                   corner=True),
        "CheckBox": check_box(p, False),
        "RadioButton": check_box(p, True),
        "GroupBox": Strip(8, 8, 2, lambda i, x, y, w, h: (p["shadow"] if i == 0 else p["disabled"])
                          if x in (0, 7) or y in (0, 7) else MAGENTA),
        "Caption": caption(p, False),
        "SmallCaption": caption(p, True),
        "FrameLeft": frame_edge(p, 4, 8),
        "FrameRight": frame_edge(p, 4, 8),
        "FrameBottom": frame_edge(p, 8, 4),
        "CloseButton": caption_button(p, 21, 21, p["close"]),
        "CaptionButton": caption_button(p, 21, 21, p["accent"]),
        "ScrollArrows": arrows(p),
        "ScrollThumbVert": states_strip(17, 17, looks4(p, p["accent"])),
        "ScrollThumbHorz": states_strip(17, 17, looks4(p, p["accent"]), vertical=False),
        "ScrollTrack": Strip(17, 17, 4, lambda i, x, y, w, h: mix(p["face"], p["shadow"], 0.2 * i)),
        "ScrollGripper": gripper(p, 8, 8, 4),
        "SizeBox": gripper(p, 17, 17, 2),
        "TabItem": states_strip(12, 20, looks4(p, face) + [(face, p["accent"], None)]),
        "TabPane": Strip(9, 9, 1, lambda i, x, y, w, h: p["shadow"] if x in (0, 8) or y in (0, 8) else p["window"]),
        "DropDownButton": arrow_strip(p, 17, 20, looks4(p, face), up=False),
        "ToolbarButton": toolbar_button(p),
        "RebarGripper": gripper(p, 5, 20, 1),
        "StatusGripper": gripper(p, 12, 12, 1),
        "ProgressBar": Strip(10, 12, 1, lambda i, x, y, w, h: p["shadow"] if x in (0, 9) or y in (0, 11)
                             else p["window"]),
        "ProgressChunk": Strip(8, 10, 1, lambda i, x, y, w, h: mix(p["accent"], p["light"], y / 20)),
        "HeaderItem": states_strip(8, 20, looks4(p, p["window"])[:3]),
        "TrackbarThumb": states_strip(11, 19, looks4(p, face) + [(face, p["accent"], None)]),
        "SpinUp": arrow_strip(p, 15, 10, looks4(p, face), up=True),
        "SpinDown": arrow_strip(p, 15, 10, looks4(p, face), up=False),
        "MenuItem": Strip(10, 10, 4, lambda i, x, y, w, h: MAGENTA if i in (0, 2) else
                          (mix(p["accent"], p["light"], 0.7) if i == 1 else p["disabled"])),
    }


# Sections of the schema: (section, {property: value}); an image property
# names an image of images_of by its key.
def schema_sections(folder, p):
    def c(rgb):
        return "%d %d %d" % rgb

    def img(name):
        return folder + "\\" + name + ".bmp"
    sysmetrics = {
        "CaptionBarHeight": "22", "SmCaptionBarHeight": "17", "ScrollbarWidth": "17", "ScrollbarHeight": "17",
        "CaptionFont": "Tahoma, 9, Bold", "SmallCaptionFont": "Tahoma, 8, Bold", "MenuFont": "Tahoma, 8",
        "ActiveCaption": c(p["caption"]), "InactiveCaption": c(p["captionInactive"]),
        "BtnFace": c(p["face"]), "BtnShadow": c(p["shadow"]), "BtnHighlight": c(p["light"]),
        "DkShadow3d": c(p["dark"]), "Light3d": c(mix(p["face"], p["light"], 0.5)), "Window": c(p["window"]),
        "WindowText": c(p["text"]), "BtnText": c(p["text"]), "Highlight": c(p["accent"]),
        "HighlightText": c(p["light"]), "GrayText": c(p["shadow"]), "Menu": c(p["window"]),
        "MenuText": c(p["text"]), "CaptionText": c(p["light"]), "InactiveCaptionText": c(p["face"]),
        "ActiveBorder": c(p["face"]), "InactiveBorder": c(p["face"]), "WindowFrame": c(p["dark"]),
        "Scrollbar": c(p["face"]), "Background": c(p["caption"]), "AppWorkspace": c(p["shadow"]),
        "InfoText": c(p["text"]), "InfoBk": c((255, 255, 225)), "HotTracking": c(p["accent"]),
        "GradientActiveCaption": c(p["caption"]), "GradientInactiveCaption": c(p["captionInactive"]),
        "MenuHilight": c(p["accent"]), "MenuBar": c(p["face"]), "ButtonAlternateFace": c(p["face"]),
    }
    image = lambda name, count, margins=None, **extra: dict(
        [("BgType", "ImageFile"), ("ImageFile", img(name)), ("ImageCount", str(count)),
         ("ImageLayout", "Vertical")] + ([("SizingMargins", margins)] if margins else []) + list(extra.items()))
    border = lambda fill, edge=None, size=1: dict(
        [("BgType", "BorderFill"), ("FillColor", c(fill))] + ([("BorderColor", c(edge)), ("BorderSize", str(size))]
                                                              if edge else []))
    s = [
        ("Documentation", {"DisplayName": "Vista " + folder, "Author": "Sondrel", "AlphaLevel": "254"}),
        ("Globals", {"TextColor": c(p["text"]), "TransparentColor": c(MAGENTA), "FillColor": c(p["face"]),
                     "BorderColor": c(p["shadow"])}),
        ("SysMetrics", sysmetrics),
        ("Window.Caption", image("Caption", 2, "4, 4, 3, 2", Transparent="True", ContentMargins="6, 6, 2, 2",
                                 CaptionMargins="4, 4, 0, 0", TextColor=c(p["light"]))),
        ("Window.SmallCaption", image("SmallCaption", 2, "4, 4, 3, 2", Transparent="True")),
        ("Window.MinCaption", image("Caption", 2, "4, 4, 3, 2", Transparent="True")),
        ("Window.MaxCaption", image("Caption", 2, "4, 4, 3, 2", Transparent="True")),
        ("Window.SmallMinCaption", image("SmallCaption", 2, "4, 4, 3, 2", Transparent="True")),
        ("Window.SmallMaxCaption", image("SmallCaption", 2, "4, 4, 3, 2", Transparent="True")),
        ("Window.FrameLeft", image("FrameLeft", 2)),
        ("Window.FrameRight", image("FrameRight", 2)),
        ("Window.FrameBottom", image("FrameBottom", 2)),
        ("Window.SmallFrameLeft", image("FrameLeft", 2)),
        ("Window.SmallFrameRight", image("FrameRight", 2)),
        ("Window.SmallFrameBottom", image("FrameBottom", 2)),
    ]
    for part in ("SysButton", "MdiSysButton", "MinButton", "MdiMinButton", "MaxButton", "RestoreButton",
                 "MdiRestoreButton", "HelpButton", "MdiHelpButton"):
        s.append(("Window." + part, image("CaptionButton", 4, "3, 3, 3, 3", Transparent="True")))
    for part in ("CloseButton", "SmallCloseButton", "MdiCloseButton"):
        s.append(("Window." + part, image("CloseButton", 4, "3, 3, 3, 3", Transparent="True")))
    s += [
        ("Window.HorzScroll", image("ScrollTrack", 4)),
        ("Window.VertScroll", image("ScrollTrack", 4)),
        ("Window.HorzThumb", image("ScrollThumbHorz", 4, "3, 3, 3, 3")),
        ("Window.VertThumb", image("ScrollThumbVert", 4, "3, 3, 3, 3")),
        ("Window.Dialog", border(p["face"])),
        ("Button.PushButton", image("PushButton", 5, "3, 3, 3, 3", Transparent="True",
                                    ContentMargins="3, 3, 3, 3")),
        ("Button.PushButton(Disabled)", {"TextColor": c(p["shadow"])}),
        ("Button.RadioButton", image("RadioButton", 8, SizingType="TrueSize")),
        ("Button.CheckBox", image("CheckBox", 12, SizingType="TrueSize")),
        ("Button.GroupBox", image("GroupBox", 2, "2, 2, 2, 2", Transparent="True", BorderOnly="True")),
        ("Button.UserButton", image("PushButton", 5, "3, 3, 3, 3", Transparent="True")),
        ("Scrollbar.ArrowBtn", image("ScrollArrows", 20, "2, 2, 2, 2")),
        ("Scrollbar.ThumbBtnHorz", image("ScrollThumbHorz", 4, "3, 3, 3, 3")),
        ("Scrollbar.ThumbBtnVert", image("ScrollThumbVert", 4, "3, 3, 3, 3")),
        ("Scrollbar.LowerTrackHorz", image("ScrollTrack", 4, SizingType="Tile")),
        ("Scrollbar.UpperTrackHorz", image("ScrollTrack", 4, SizingType="Tile")),
        ("Scrollbar.LowerTrackVert", image("ScrollTrack", 4, SizingType="Tile")),
        ("Scrollbar.UpperTrackVert", image("ScrollTrack", 4, SizingType="Tile")),
        ("Scrollbar.GripperHorz", image("ScrollGripper", 4, SizingType="TrueSize")),
        ("Scrollbar.GripperVert", image("ScrollGripper", 4, SizingType="TrueSize")),
        ("Scrollbar.SizeBox", image("SizeBox", 2, SizingType="TrueSize", VAlign="Bottom")),
        ("Tab", {"FillColor": c(p["window"])}),
        ("Tab.Pane", image("TabPane", 1, "2, 2, 2, 2")),
        ("Tab.Body", border(p["window"])),
    ]
    for part in ("TabItem", "TabItemLeftEdge", "TabItemRightEdge", "TabItemBothEdge", "TopTabItem",
                 "TopTabItemLeftEdge", "TopTabItemRightEdge", "TopTabItemBothEdge"):
        s.append(("Tab." + part, image("TabItem", 5, "3, 3, 3, 3")))
    s += [
        ("Edit", border(p["window"], p["shadow"])),
        ("Edit.EditText", border(p["window"], p["shadow"])),
        ("Edit.EditText(Disabled)", border(p["face"], p["disabled"])),
        ("ListBox", border(p["window"], p["shadow"])),
        ("Combobox", border(p["window"], p["shadow"])),
        ("Combobox.DropDownButton", image("DropDownButton", 4, "2, 2, 2, 2")),
        ("Menu.BarBackground", border(p["face"])),
        ("Menu.BarItem", image("MenuItem", 4, "1, 1, 1, 1", Transparent="True")),
        ("Menu.PopupBackground", border(p["window"], p["window"])),
        ("Menu.PopupBorders", border(p["window"], p["shadow"])),
        ("Menu.PopupGutter", border(p["face"])),
        ("Menu.PopupItem", image("MenuItem", 4, "1, 1, 1, 1", Transparent="True")),
        ("Menu.PopupSeparator", border(p["shadow"])),
        ("Menu.PopupCheck", image("CheckBox", 12, SizingType="TrueSize")),
        ("Menu.PopupCheckBackground", border(p["face"], p["accent"])),
        ("Menu.PopupSubmenu", {"BgType": "None"}),
        ("Toolbar", {"TextColor": c(p["text"])}),
        ("Toolbar.Button", image("ToolbarButton", 6, "3, 3, 3, 3")),
        ("Toolbar.DropDownButton", image("ToolbarButton", 6, "3, 3, 3, 3")),
        ("Toolbar.SplitButton", image("ToolbarButton", 6, "3, 3, 3, 3")),
        ("Toolbar.SplitButtonDropDown", image("ToolbarButton", 6, "3, 3, 3, 3")),
        ("Toolbar.Separator", border(p["shadow"])),
        ("Toolbar.SeparatorVert", border(p["shadow"])),
        ("Rebar", border(p["face"])),
        ("Rebar.Gripper", image("RebarGripper", 1, SizingType="Tile")),
        ("Rebar.GripperVert", image("RebarGripper", 1, SizingType="Tile")),
        ("Rebar.Chevron", image("ToolbarButton", 6, "3, 3, 3, 3")),
        ("Status", border(p["face"])),
        ("Status.Pane", border(p["face"], p["shadow"])),
        ("Status.GripperPane", border(p["face"])),
        ("Status.Gripper", image("StatusGripper", 1, SizingType="TrueSize", VAlign="Bottom")),
        ("Progress.Bar", image("ProgressBar", 1, "2, 2, 2, 2")),
        ("Progress.BarVert", image("ProgressBar", 1, "2, 2, 2, 2")),
        ("Progress.Chunk", image("ProgressChunk", 1)),
        ("Progress.ChunkVert", image("ProgressChunk", 1)),
        ("Header.HeaderItem", image("HeaderItem", 3, "2, 2, 2, 2")),
        ("Header.HeaderItemLeft", image("HeaderItem", 3, "2, 2, 2, 2")),
        ("Header.HeaderItemRight", image("HeaderItem", 3, "2, 2, 2, 2")),
        ("Header.HeaderSortArrow", {"BgType": "None"}),
        ("Trackbar.Track", border(p["window"], p["shadow"])),
        ("Trackbar.TrackVert", border(p["window"], p["shadow"])),
        ("Trackbar.Thumb", image("TrackbarThumb", 5, SizingType="TrueSize")),
        ("Trackbar.ThumbBottom", image("TrackbarThumb", 5, SizingType="TrueSize")),
        ("Trackbar.ThumbTop", image("TrackbarThumb", 5, SizingType="TrueSize")),
        ("Trackbar.ThumbVert", image("TrackbarThumb", 5, SizingType="TrueSize")),
        ("Trackbar.ThumbLeft", image("TrackbarThumb", 5, SizingType="TrueSize")),
        ("Trackbar.ThumbRight", image("TrackbarThumb", 5, SizingType="TrueSize")),
        ("Trackbar.Tics", border(p["shadow"])),
        ("Trackbar.TicsVert", border(p["shadow"])),
        ("Spin.Up", image("SpinUp", 4, "2, 2, 2, 2")),
        ("Spin.Down", image("SpinDown", 4, "2, 2, 2, 2")),
        ("Spin.UpHorz", image("SpinUp", 4, "2, 2, 2, 2")),
        ("Spin.DownHorz", image("SpinDown", 4, "2, 2, 2, 2")),
        ("ListView", border(p["window"], p["shadow"])),
        ("TreeView", border(p["window"], p["shadow"])),
        ("Tooltip", border((255, 255, 225), p["dark"])),
    ]
    return s


def ini_text(sections, title):
    lines = ["; " + title + ": written by tools/skinfiles/make_skin_files.py", ""]
    for name, props in sections:
        lines.append("[" + name + "]")
        for k, v in props.items():
            lines.append(k + " = " + v)
        lines.append("")
    return utf16(lines)


def utf16(lines, final_newline=True):
    text = "\r\n".join(lines) + ("\r\n" if final_newline else "")
    return b"\xff\xfe" + text.encode("utf-16-le")


def themes_ini():
    lines = ["; The schemas of this skin: the first is the default.", ""]
    for scheme, folder, _ in SCHEMES:
        lines += ["[File." + scheme + "]", "ColorSchemes = " + scheme, "Sizes = NormalSize", ""]
    return utf16(lines)


def skin_outputs():
    files = {}
    rc = ["// The skin as a resource-only module: written by tools/skinfiles/make_skin_files.py.",
          "// Schemas are \"TEXTFILE\" resources, images bitmaps, each named by its",
          "// file name with '.' and '\\' turned into '_'.", "",
          "THEMES_INI TEXTFILE \"themes.ini\""]
    files[os.path.join(SKIN_DIR, "themes.ini")] = themes_ini()
    for scheme, folder, p in SCHEMES:
        files[os.path.join(SKIN_DIR, scheme + ".ini")] = ini_text(schema_sections(folder, p), scheme)
        rc.append("%s_INI TEXTFILE \"%s.ini\"" % (scheme.upper(), scheme))
    rc.append("")
    for scheme, folder, p in SCHEMES:
        for name, strip in sorted(images_of(folder, p).items()):
            files[os.path.join(SKIN_DIR, folder, name + ".bmp")] = strip.data()
            rc.append("%s_%s_BMP BITMAP \"%s/%s.bmp\"" % (folder.upper(), name.upper(), folder, name))
    files[os.path.join(SKIN_DIR, "vista.rc")] = ("\n".join(rc) + "\n").encode("ascii")
    return files


# ---------------------------------------------------------------------------
# Hostile skins: PE files with a resource section of our own making.

def resource_section(resources, rva):
    """The bytes of a resource directory for [(type, name, data, claim)] or
    [(type, name, data, claim, at)]: type and name are strings or ids; claim
    overrides the size an entry states (None: the true size); at, when
    given, is the offset from the section's start the entry states for its
    data, which is then not written."""
    types = {}
    for entry in resources:
        rtype, name, data, claim = entry[:4]
        at = entry[4] if len(entry) > 4 else None
        types.setdefault(rtype, []).append((name, data, (claim, at)))

    def key(n):
        return (0, n) if isinstance(n, int) else (1, n)
    order = sorted(types, key=lambda t: (isinstance(t, int), t if isinstance(t, str) else str(t).zfill(8)))
    # Named entries come before id entries, as the loader's binary search expects.
    order = [t for t in order if isinstance(t, str)] + [t for t in order if isinstance(t, int)]
    dir_size = lambda n: 16 + 8 * n
    offset = dir_size(len(order))
    type_dirs = []
    for t in order:
        names = sorted(types[t], key=lambda e: (not isinstance(e[0], str), e[0] if isinstance(e[0], str) else ""))
        type_dirs.append((t, names, offset))
        offset += dir_size(len(names))
    name_dirs = []
    for t, names, _ in type_dirs:
        for entry in names:
            name_dirs.append((entry, offset))
            offset += dir_size(1)
    data_entries = []
    for entry, _ in name_dirs:
        data_entries.append((entry, offset))
        offset += 16
    strings = {}
    for t in order:
        if isinstance(t, str):
            strings[t] = None
    for _, names, _ in type_dirs:
        for name, _, _ in names:
            if isinstance(name, str):
                strings[name] = None
    for s in strings:
        strings[s] = offset
        offset += 2 + 2 * len(s)
    offset = (offset + 7) & ~7
    blobs = []
    for (name, data, (claim, at)), _ in data_entries:
        if at is not None:
            blobs.append(at)
            continue
        blobs.append(offset)
        offset += (len(data) + 7) & ~7
    out = bytearray(offset)

    def directory(at, entries):
        named = sum(1 for e in entries if isinstance(e[0], str))
        struct.pack_into("<IIHHHH", out, at, 0, 0, 0, 0, named, len(entries) - named)
        for i, (ident, target, is_dir) in enumerate(entries):
            first = (0x80000000 | strings[ident]) if isinstance(ident, str) else ident
            struct.pack_into("<II", out, at + 16 + 8 * i, first, (0x80000000 | target) if is_dir else target)
    directory(0, [(t, off, True) for t, _, off in type_dirs])
    k = 0
    for t, names, off in type_dirs:
        entries = []
        for entry in names:
            entries.append((entry[0], name_dirs[k][1], True))
            k += 1
        directory(off, entries)
    for i, (entry, off) in enumerate(name_dirs):
        directory(off, [(0x409, data_entries[i][1], False)])
    for i, ((name, data, (claim, at)), off) in enumerate(data_entries):
        size = len(data) if claim is None else claim
        struct.pack_into("<IIII", out, off, rva + blobs[i], size & 0xFFFFFFFF, 0, 0)
        if at is None:
            out[blobs[i]:blobs[i] + len(data)] = data
    for s, off in strings.items():
        struct.pack_into("<H", out, off, len(s))
        out[off + 2:off + 2 + 2 * len(s)] = s.encode("utf-16-le")
    return bytes(out)


def pe_file(resources, raw_claim=None):
    """A 64-bit resource-only DLL without code; raw_claim, when given, is the
    size of raw data its section header states."""
    rva = 0x1000
    rsrc = resource_section(resources, rva)
    raw = (len(rsrc) + 0x1FF) & ~0x1FF
    image = rva + ((len(rsrc) + 0xFFF) & ~0xFFF)
    dos = bytearray(64)
    dos[0:2] = b"MZ"
    struct.pack_into("<I", dos, 60, 64)
    coff = struct.pack("<4sHHIIIHH", b"PE\0\0", 0x8664, 1, 0, 0, 0, 240, 0x2022)
    opt = struct.pack("<HBBIIIIIQIIHHHHHHIIIIHHQQQQII", 0x20B, 14, 0, 0, raw, 0, 0, 0, 0x180000000, 0x1000, 0x200,
                      6, 0, 0, 0, 6, 0, 0, image, 0x200, 0, 2, 0x160, 0x100000, 0x1000, 0x100000, 0x1000, 0, 16)
    dirs = bytearray(16 * 8)
    struct.pack_into("<II", dirs, 2 * 8, rva, len(rsrc))
    section = struct.pack("<8sIIIIIIHHI", b".rsrc\0\0\0", len(rsrc), rva, raw if raw_claim is None else raw_claim,
                          0x200, 0, 0, 0, 0, 0x40000040)
    header = bytes(dos) + coff + opt + bytes(dirs) + section
    header += b"\0" * (0x200 - len(header))
    return header + rsrc + b"\0" * (raw - len(rsrc))


def dib(width, height, bits, extra=b"", size=40, compression=0, clr_used=0, pixels=None, header_size=None):
    """A bitmap resource (no file header) whose fields can lie."""
    stride = ((width * bits + 31) // 32) * 4 if width > 0 else 0
    if pixels is None:
        pixels = bytes(range(256)) * (max(0, stride * abs(height)) // 256 + 1)
        pixels = pixels[:max(0, stride * abs(height))]
    header = struct.pack("<IiiHHIIiiII", size if header_size is None else header_size, width, height, 1, bits,
                         compression, len(pixels), 0, 0, clr_used, 0)
    header += b"\0" * max(0, size - 40)
    return header + extra + pixels


def png_chunk(kind, data, length=None):
    """A chunk whose length field may lie (the CRC covers what is written)."""
    crc = zlib.crc32(kind + data) & 0xFFFFFFFF
    return struct.pack(">I", len(data) if length is None else length) + kind + data + struct.pack(">I", crc)


def png_ihdr(width, height):
    return png_chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))


def png(width, height, rgba):
    """An 8-bit RGBA PNG of one colour."""
    rows = b"".join(b"\0" + bytes(rgba) * width for _ in range(height))
    return (b"\x89PNG\r\n\x1a\n" + png_ihdr(width, height) + png_chunk(b"IDAT", zlib.compress(rows, 9)) +
            png_chunk(b"IEND", b""))


# The colour of the hostile skin's one sound PNG.
PNG_GOOD_RGBA = (20, 200, 120, 255)
# The offset, from the start of the resource section, that the PNG lying
# past the file's end states for its data: within the raw size its section
# header claims, far beyond the bytes the file holds.
PNG_PAST_END_AT = 0x80000

HOSTILE_SCHEMA = [
    "[Globals]", "TextColor = 0 0", "FillColor = 1 2 3 4 5", "BorderColor = red",
    "[Button.PushButton]", "BgType = ImageFile", "ImageFile = Bad\\Zero.bmp", "ImageCount = 0",
    "SizingMargins = left, right, top, bottom",
    "[Button.CheckBox]", "BgType = ImageFile", "ImageFile = Bad\\Small.bmp", "ImageCount = -3",
    "SizingMargins = -4, -4, 2, 2",
    "[Button.RadioButton]", "BgType = ImageFile", "ImageFile = Bad\\Small.bmp", "ImageCount = 1000000",
    "[Button.GroupBox]", "BgType = ImageFile", "ImageFile = Bad\\Small.bmp", "SizingMargins = 9, 9, 1, 1",
    "[Button.UserButton]", "BgType = ImageFile", "ImageFile = Bad\\Small.bmp", "SizingMargins = 1, 1, 9, 9",
    "[Window.CloseButton]", "BgType = ImageFile", "ImageFile = Bad\\Small.bmp", "ImageCount = 50",
    "[Scrollbar.ArrowBtn]", "BgType = ImageFile", "ImageFile = Bad\\LyingHeader.bmp",
    "[Scrollbar.ThumbBtnVert]", "BgType = ImageFile", "ImageFile = Bad\\HugeColours.bmp",
    "[Scrollbar.ThumbBtnHorz]", "BgType = ImageFile", "ImageFile = Bad\\Overflow.bmp",
    "[Scrollbar.SizeBox]", "BgType = ImageFile", "ImageFile = Bad\\ZeroWidth.bmp",
    "[Scrollbar.GripperVert]", "BgType = ImageFile", "ImageFile = Bad\\Claims.bmp",
    "[Scrollbar.GripperHorz]", "BgType = ImageFile", "ImageFile = Bad\\Missing.bmp",
    "[Window.Caption]", "BgType = ImageFile", "ImageFile = Bad\\PngGood.bmp",
    "[Scrollbar.LowerTrackHorz]", "BgType = ImageFile", "ImageFile = Bad\\PngClaims.bmp",
    "[Scrollbar.UpperTrackHorz]", "BgType = ImageFile", "ImageFile = Bad\\PngPastEnd.bmp",
    "[Scrollbar.LowerTrackVert]", "BgType = ImageFile", "ImageFile = Bad\\PngTruncated.bmp",
    "[Scrollbar.UpperTrackVert]", "BgType = ImageFile", "ImageFile = Bad\\PngHuge.bmp",
    "[SysMetrics]", "CaptionFont = " + "A" * 40 + ", 9, Bold", "MenuFont = Tahoma", "SmallCaptionFont = , 9",
    "CaptionBarHeight = 100000", "ScrollbarWidth = 2147483647", "SmCaptionBarHeight = -40",
    "[Unknown.Section]", "TextColor = 1 2 3",
    "[Button.NoSuchPart]", "TextColor = 1 2 3",
    "[Button:Vista]", "TextColor = 1 2 3",
    "[Button.PushButton(NoSuchState)]", "TextColor = 1 2 3",
    "[Edit]", "NoSuchProperty = 1", "=", "TextColor", "IntList = 1, 2, 3", "Position = 4",
    "BgType = NoSuchValue", "Offset = 1,2,3",
]


def hostile_outputs():
    files = {}
    themes = utf16(["[File.Hostile]", ""])
    schema = utf16(HOSTILE_SCHEMA)
    good_bitmap = dib(4, 4, 24)
    bitmaps = [
        (2, "BAD_ZERO_BMP", dib(0, 0, 24, pixels=b"")),
        (2, "BAD_SMALL_BMP", dib(8, 8, 24)),
        # Says 124 bytes of header where the block holds 60.
        (2, "BAD_LYINGHEADER_BMP", dib(4, 4, 32, header_size=124, pixels=b"\0" * 16)),
        (2, "BAD_HUGECOLOURS_BMP", dib(4, 4, 8, clr_used=0x40000000)),
        (2, "BAD_OVERFLOW_BMP", dib(0x7FFFFFFF, 0x7FFFFFFF, 32, pixels=b"\0" * 64)),
        (2, "BAD_ZEROWIDTH_BMP", dib(0, 16, 24, pixels=b"\0" * 64)),
        (2, "BAD_CLAIMS_BMP", good_bitmap),
    ]
    # The last bitmap says it is far larger than the module.
    resources = [("TEXTFILE", "THEMES_INI", themes, None), ("TEXTFILE", "HOSTILE_INI", schema, None)]
    resources += [(t, n, d, 0x7FFFFF00 if n == "BAD_CLAIMS_BMP" else None) for t, n, d in bitmaps]
    # PNGs: one sound; one claiming 2 GB whose chunk then asks for 4 MB that
    # are not there; one whose data lies past the file's end; one cut inside
    # its pixels; one whose header claims 30000 by 30000 pixels.
    good_png = png(6, 5, PNG_GOOD_RGBA)
    resources += [
        ("PNG", "BAD_PNGGOOD_BMP", good_png, None),
        ("PNG", "BAD_PNGCLAIMS_BMP", b"\x89PNG\r\n\x1a\n" + png_ihdr(6, 5) + png_chunk(b"skIp", b"", 0x400000),
         0x7FFFFF00),
        ("PNG", "BAD_PNGPASTEND_BMP", good_png, None, PNG_PAST_END_AT),
        ("PNG", "BAD_PNGTRUNCATED_BMP", good_png[:len(good_png) - 24], None),
        ("PNG", "BAD_PNGHUGE_BMP", b"\x89PNG\r\n\x1a\n" + png_ihdr(30000, 30000) +
         png_chunk(b"IDAT", zlib.compress(b"\0" * 4096)) + png_chunk(b"IEND", b""), None),
    ]
    # The section claims raw data far past the file's end, where the PNG
    # above says its data lies.
    files["hostile.qvstyles"] = pe_file(resources, raw_claim=PNG_PAST_END_AT + 0x10000)

    whole = pe_file(resources)
    files["truncated.qvstyles"] = whole[:0x200 + 40]
    files["notpe.qvstyles"] = b"This is not a module.\r\n" * 20
    files["mzonly.qvstyles"] = b"MZ" + b"\0" * 62

    # Schemas whose text misbehaves.
    odd = utf16(["[Button]", "TextColor = 1 2 3"])[:-1]
    files["oddtext.qvstyles"] = pe_file([("TEXTFILE", "THEMES_INI", themes, None),
                                         ("TEXTFILE", "HOSTILE_INI", odd, None)])
    nuls = "[Button]\r\nTextColor = 1 2 3\0[Edit]\r\nTextColor = 4 5 6\r\n".encode("utf-16-le")
    files["nuls.qvstyles"] = pe_file([("TEXTFILE", "THEMES_INI", themes, None),
                                      ("TEXTFILE", "HOSTILE_INI", nuls, None)])
    noends = ("[Button] TextColor = 1 2 3 " * 50).encode("utf-16-le")
    files["noends.qvstyles"] = pe_file([("TEXTFILE", "THEMES_INI", themes, None),
                                        ("TEXTFILE", "HOSTILE_INI", noends, None)])
    long_line = utf16(["[Button]", "TextColor = " + "9" * 100000, "ImageFile = " + "X" * 100000,
                       "[" + "A" * 100000 + "]", "TextColor = 7 8 9"])
    files["longline.qvstyles"] = pe_file([("TEXTFILE", "THEMES_INI", themes, None),
                                          ("TEXTFILE", "HOSTILE_INI", long_line, None)])
    # The schema claims 2 GB: reading must stop at the end of the mapping.
    files["claims.qvstyles"] = pe_file([("TEXTFILE", "THEMES_INI", themes, None),
                                        ("TEXTFILE", "HOSTILE_INI", utf16(["[Button]", "TextColor = 1 2 3"]),
                                         0x7FFFFFF0)])
    # The last line has no line end.
    files["lastline.qvstyles"] = pe_file([("TEXTFILE", "THEMES_INI", themes, None),
                                          ("TEXTFILE", "HOSTILE_INI",
                                           utf16(["[Button]", "TextColor = 1 2 3"], final_newline=False), None)])
    # "THEMES_INI" without a closing bracket.
    files["nobracket.qvstyles"] = pe_file([("TEXTFILE", "THEMES_INI", utf16(["[File.Hostile"]), None),
                                           ("TEXTFILE", "HOSTILE_INI", schema, None)])
    return {os.path.join(HOSTILE_DIR, name): data for name, data in files.items()}


def outputs():
    files = skin_outputs()
    files.update(hostile_outputs())
    return files


def main(argv):
    check = "--check" in argv
    files = outputs()
    differ = []
    for path, data in sorted(files.items()):
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
    if check:
        for folder in (SKIN_DIR, HOSTILE_DIR):
            for base, _, names in os.walk(folder):
                for name in names:
                    path = os.path.join(base, name)
                    if path not in files:
                        differ.append(os.path.relpath(path, ROOT))
        for path in differ:
            print("differs: " + path)
        return 1 if differ else 0
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
