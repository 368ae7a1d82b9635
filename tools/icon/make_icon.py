#!/usr/bin/env python3
"""Draws the program icon and writes it as a Windows .ico and as PNG files.

The icon is a server tower with drive bays and a green start button. Each
size is laid out on its own pixel grid, so that every edge lands on whole
pixels and the small sizes stay readable instead of being scaled down.

Usage: make_icon.py [ICON_DIRECTORY]   (default: the icons/ folder of the tree)
"""

import struct
import sys
import zlib
from dataclasses import dataclass, field
from pathlib import Path

# Index 0 is the transparent colour: the AND mask hides it and the PNG gives
# it alpha 0.
PALETTE = [
    (0x00, 0x00, 0x00),  # transparent
    (0x1B, 0x24, 0x30),  # outline
    (0x5C, 0x6C, 0x7F),  # case
    (0x8B, 0x9C, 0xAF),  # case edge catching the light
    (0x43, 0x50, 0x5F),  # case edge in shadow, vents
    (0x25, 0x2F, 0x3B),  # drive bay
    (0x76, 0x87, 0x9A),  # lower lip of a drive bay
    (0x7C, 0xC6, 0xFF),  # drive light
    (0x0E, 0x5E, 0x25),  # button ring
    (0x2F, 0xC4, 0x53),  # button
    (0x9A, 0xF2, 0xAE),  # button shine
    (0xFF, 0xFF, 0xFF),  # start mark
]
(TRANSPARENT, OUTLINE, CASE, CASE_LIGHT, CASE_SHADOW, BAY, BAY_LIP, BAY_LIGHT,
 BUTTON_RING, BUTTON, BUTTON_SHINE, START_MARK) = range(len(PALETTE))

# Rows cut from each corner of a rounded rectangle, by corner radius.
CORNER_CUTS = {0: [], 1: [1], 2: [2, 1], 3: [3, 1, 1]}


@dataclass(frozen=True)
class Box:
    left: int
    top: int
    right: int  # inclusive
    bottom: int  # inclusive


@dataclass(frozen=True)
class Layout:
    size: int
    tower: Box
    tower_corner: int
    bays: list[Box]
    vents: list[Box]
    button: Box
    button_shine: list[tuple[int, int]]
    # Left, top and row lengths; 16 pixels leave no room for it.
    start_mark: tuple[int, int, list[int]] | None = None
    bay_lights: bool = True


LAYOUTS = [
    Layout(
        size=48,
        tower=Box(9, 1, 38, 46),
        tower_corner=3,
        bays=[Box(13, 5, 34, 10), Box(13, 13, 34, 18)],
        vents=[Box(13, 22, 34, 22), Box(13, 24, 34, 24)],
        button=Box(16, 27, 31, 42),
        button_shine=[(20, 29), (21, 29), (19, 30), (18, 31), (18, 32)],
        start_mark=(21, 31, [1, 3, 5, 7, 8, 7, 5, 3, 1]),
    ),
    Layout(
        size=32,
        tower=Box(6, 1, 25, 30),
        tower_corner=2,
        bays=[Box(9, 4, 22, 7), Box(9, 9, 22, 12)],
        vents=[Box(9, 15, 22, 15)],
        button=Box(10, 17, 21, 28),
        button_shine=[(13, 18), (14, 18), (12, 19)],
        start_mark=(14, 20, [1, 3, 5, 6, 5, 3, 1]),
    ),
    Layout(
        size=16,
        tower=Box(3, 0, 12, 15),
        tower_corner=1,
        bays=[Box(5, 2, 10, 3), Box(5, 5, 10, 6)],
        vents=[],
        button=Box(5, 8, 10, 13),
        button_shine=[(6, 9), (7, 9), (6, 10)],
        bay_lights=False,
    ),
]


@dataclass
class Canvas:
    size: int
    pixels: list[list[int]] = field(init=False)

    def __post_init__(self):
        self.pixels = [[TRANSPARENT] * self.size for _ in range(self.size)]

    def put(self, x, y, colour):
        self.pixels[y][x] = colour

    def fill(self, cells, colour):
        for x, y in cells:
            self.put(x, y, colour)


def rounded_box(box, corner):
    """The pixels of a box with its corners cut to the given radius."""
    cuts = CORNER_CUTS[corner]
    cells = set()
    for y in range(box.top, box.bottom + 1):
        row_from_edge = min(y - box.top, box.bottom - y)
        cut = cuts[row_from_edge] if row_from_edge < len(cuts) else 0
        for x in range(box.left + cut, box.right + 1 - cut):
            cells.add((x, y))
    return cells


def box_cells(box):
    return rounded_box(box, 0)


def rim(cells):
    """The pixels of a shape that touch the outside along an edge."""
    return {(x, y) for x, y in cells
            if any(n not in cells for n in ((x - 1, y), (x + 1, y), (x, y - 1), (x, y + 1)))}


def disc(box):
    """The pixels whose centres lie inside the circle filling the box."""
    centre_x = (box.left + box.right + 1) / 2
    centre_y = (box.top + box.bottom + 1) / 2
    radius = (box.right + 1 - box.left) / 2
    return {(x, y) for x, y in box_cells(box)
            if (x + 0.5 - centre_x) ** 2 + (y + 0.5 - centre_y) ** 2 <= radius ** 2}


def start_mark(left, top, row_widths):
    """A right-pointing triangle given by the length of each of its rows."""
    return {(left + dx, top + row)
            for row, width in enumerate(row_widths)
            for dx in range(width)}


def draw(layout):
    canvas = Canvas(layout.size)

    tower = rounded_box(layout.tower, layout.tower_corner)
    outline = rim(tower)
    inside = tower - outline
    canvas.fill(inside, CASE)
    # Light falls from the top left: a bright inner edge there, a dark one
    # opposite, so the case reads as a solid block.
    lit = {(x, y) for x, y in inside if (x - 1, y) in outline or (x, y - 1) in outline}
    shaded = {(x, y) for x, y in inside if (x + 1, y) in outline or (x, y + 1) in outline}
    canvas.fill(lit - shaded, CASE_LIGHT)
    canvas.fill(shaded, CASE_SHADOW)
    canvas.fill(outline, OUTLINE)

    for bay in layout.bays:
        canvas.fill(box_cells(bay), BAY)
        canvas.fill(box_cells(Box(bay.left, bay.bottom, bay.right, bay.bottom)), BAY_LIP)
        if layout.bay_lights:
            canvas.fill({(bay.right - 2, bay.top + 1), (bay.right - 1, bay.top + 1)}, BAY_LIGHT)

    for vent in layout.vents:
        canvas.fill(box_cells(vent), CASE_SHADOW)

    button = disc(layout.button)
    canvas.fill(button, BUTTON)
    canvas.fill(rim(button), BUTTON_RING)
    canvas.fill(layout.button_shine, BUTTON_SHINE)
    if layout.start_mark:
        canvas.fill(start_mark(*layout.start_mark), START_MARK)
    return canvas


def png_bytes(canvas):
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data)))

    rows = bytearray()
    for row in canvas.pixels:
        rows.append(0)  # no filter
        for index in row:
            red, green, blue = PALETTE[index]
            rows += bytes((red, green, blue, 0 if index == TRANSPARENT else 255))
    header = struct.pack(">IIBBBBB", canvas.size, canvas.size, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
            + chunk(b"IDAT", zlib.compress(bytes(rows), 9)) + chunk(b"IEND", b""))


def padded_row_length(bits):
    return (bits + 31) // 32 * 4


def ico_image_bytes(canvas):
    """BITMAPINFOHEADER, 256-colour palette, colour pixels, AND mask."""
    size = canvas.size
    colour_row = padded_row_length(size * 8)
    mask_row = padded_row_length(size)
    colour = bytearray()
    mask = bytearray()
    for row in reversed(canvas.pixels):  # bitmaps are stored bottom up
        colour += bytes(row) + bytes(colour_row - size)
        bits = bytearray(mask_row)
        for x, index in enumerate(row):
            if index == TRANSPARENT:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 8, 0,
                         len(colour) + len(mask), 0, 0, 256, 0)
    palette = b"".join(bytes((blue, green, red, 0)) for red, green, blue in
                       PALETTE + [(0, 0, 0)] * (256 - len(PALETTE)))
    return header + palette + bytes(colour) + bytes(mask)


def ico_bytes(canvases):
    images = [ico_image_bytes(canvas) for canvas in canvases]
    offset = 6 + 16 * len(images)
    directory = struct.pack("<HHH", 0, 1, len(images))
    for canvas, image in zip(canvases, images):
        # A width, height or colour count of 256 is written as 0.
        directory += struct.pack("<BBBBHHII", canvas.size % 256, canvas.size % 256, 0, 0,
                                 1, 8, len(image), offset)
        offset += len(image)
    return directory + b"".join(images)


def main():
    icon_directory = Path(sys.argv[1]) if len(sys.argv) > 1 else (
        Path(__file__).resolve().parents[2] / "icons")
    canvases = [draw(layout) for layout in LAYOUTS]
    for canvas in canvases:
        png_path = (icon_directory / "hicolor" / f"{canvas.size}x{canvas.size}" / "apps"
                    / "quenzartsrv-gui.png")
        png_path.parent.mkdir(parents=True, exist_ok=True)
        png_path.write_bytes(png_bytes(canvas))
    (icon_directory / "quenzartsrv-gui.ico").write_bytes(ico_bytes(canvases))


if __name__ == "__main__":
    main()
