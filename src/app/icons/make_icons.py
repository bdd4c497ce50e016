#!/usr/bin/env python3
"""Writes the toolbar and application icons of the window program as PNG files.

The icons are drawn here as 16 x 16 character pictures, one character a pixel,
so they can be reviewed and changed as text. Run it from any folder; it writes
the PNG files beside itself. The PNG files are committed, so the build does not
need Python.
"""
import os
import sys
import struct
import zlib

PALETTE = {
    '.': (0, 0, 0, 0),
    '#': (40, 40, 40, 255),       # outline
    'w': (255, 255, 255, 255),
    'g': (150, 150, 150, 255),
    'd': (96, 96, 96, 255),
    'y': (240, 200, 60, 255),     # folder
    'o': (200, 150, 30, 255),
    'b': (50, 90, 190, 255),      # blue
    'l': (150, 190, 240, 255),    # light blue
    'G': (40, 160, 60, 255),      # green
    'R': (210, 40, 40, 255),      # red
    'k': (0, 0, 0, 255),
}

ICONS = {
    'new': """
................
..#########.....
..#wwwwwww##....
..#wwwwwww#w#...
..#wwwwwww#ww#..
..#wwwwwww#####.
..#wwwwwwwwwww#.
..#wwwwwwwwwww#.
..#wwwwwwwwwww#.
..#wwwwwwwwwww#.
..#wwwwwwwwwww#.
..#wwwwwwwwwww#.
..#wwwwwwwwwww#.
..#wwwwwwwwwww#.
..#############.
................
""",
    'open': """
................
................
.#####..........
#yyyyy#.........
#yyyyyy#######..
#yyyyyyyyyyyy#..
#yyy###########.
#yy#ooooooooooo#
#yy#oooooooooo#.
#y#oooooooooo#..
#y#oooooooooo#..
##oooooooooo#...
##oooooooooo#...
#############...
................
................
""",
    'save': """
................
.##############.
.#bb#wwwwww#bb#.
.#bb#wwwwww#bb#.
.#bb#wwwwww#bb#.
.#bb#wwwwww#bb#.
.#bb########bb#.
.#bbbbbbbbbbbb#.
.#bbbbbbbbbbbb#.
.#bb########bb#.
.#bb#gggggg#bb#.
.#bb#gg#ggg#bb#.
.#bb#gg#ggg#bb#.
.#bb#gggggg#bb#.
.##############.
................
""",
    'print': """
................
....########....
....#wwwwww#....
....#w####w#....
....#wwwwww#....
..############..
.#gggggggggggg#.
.#gggggggggGGg#.
.#gggggggggggg#.
.#dddddddddddd#.
.#dd########dd#.
.###wwwwwwww###.
...#w######w#...
...#wwwwwwww#...
...##########...
................
""",
    'cleargrid': """
................
.##############.
.#www#www#www#..
.#www#www#www#..
.#www#www#www#..
.#############..
.#www#www#www#..
.#www#www#www#..
.#www#www#www#..
.#############..
.#www#www#www#..
.#www#www#www#..
.#www#www#www#..
.#############..
................
................
""",
    'toggleview': """
................
.#######........
.#w#kk#w#.......
.#######w#......
.#kk#w#kk#......
.#######w#......
.#w#kk#w#.......
.#######..####..
.........#wwww#.
.......G.#w##w#.
......GG.#wwww#.
.GGGGGGGG#w##w#.
......GG.#wwww#.
.......G.#w##w#.
.........######.
................
""",
    'start': """
................
...##...........
...#G#..........
...#GG#.........
...#GGG#........
...#GGGG#.......
...#GGGGG#......
...#GGGGGG#.....
...#GGGGGG#.....
...#GGGGG#......
...#GGGG#.......
...#GGG#........
...#GG#.........
...#G#..........
...##...........
................
""",
    'stop': """
................
................
..############..
..#RRRRRRRRRR#..
..#RRRRRRRRRR#..
..#RRRRRRRRRR#..
..#RRRRRRRRRR#..
..#RRRRRRRRRR#..
..#RRRRRRRRRR#..
..#RRRRRRRRRR#..
..#RRRRRRRRRR#..
..#RRRRRRRRRR#..
..#RRRRRRRRRR#..
..############..
................
................
""",
    'options': """
................
...........##...
..........#ll#..
.#########ll#..
.#ggggggg#ll#...
.#########ll#...
.....##.........
....#ll#........
.#####ll#######.
.#gggg#ll#ggggg#
.#####ll#######.
....#ll#........
.....##...##....
.........#ll#...
.#########ll###.
..........##....
""",
    'about': """
................
.....######.....
...##bbbbbb##...
..#bbbbwwbbbb#..
..#bbbbwwbbbb#..
.#bbbbbbbbbbbb#.
.#bbbbwwwbbbbb#.
.#bbbbbwwbbbbb#.
.#bbbbbwwbbbbb#.
.#bbbbbwwbbbbb#.
..#bbbbwwbbbb#..
..#bbbwwwwbbb#..
...##bbbbbb##...
.....######.....
................
................
""",
}


def write_png(path, rows):
    height = len(rows)
    width = len(rows[0])
    raw = b''.join(b'\x00' + bytes(c for px in row for c in px) for row in rows)

    def chunk(kind, data):
        body = kind + data
        return struct.pack('>I', len(data)) + body + struct.pack('>I', zlib.crc32(body) & 0xFFFFFFFF)

    png = b'\x89PNG\r\n\x1a\n'
    png += chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, 6, 0, 0, 0))
    png += chunk(b'IDAT', zlib.compress(raw, 9))
    png += chunk(b'IEND', b'')
    with open(path, 'wb') as f:
        f.write(png)


def picture(text):
    lines = [line for line in text.strip('\n').split('\n')]
    lines = [line.ljust(16, '.')[:16] for line in lines]
    assert len(lines) == 16, len(lines)
    return [[PALETTE[ch] for ch in line] for line in lines]


# The application icon: a crossword grid of 5 x 5 squares with half-turn
# symmetric blocks and a letter-like mark in one square, drawn for any size.
APP_BLOCKS = {(0, 3), (1, 1), (2, 2), (3, 3), (4, 1)}


def app_icon(size):
    cells = 5
    margin = max(1, size // 16)
    # Lines one pixel wide up to 64 pixels, wider in the large sizes.
    line = max(1, size // 64)
    cell = (size - 2 * margin - line) // cells if line > 1 else (size - 2 * margin) // cells
    grid = cell * cells
    left = (size - grid - (line - 1)) // 2
    rows = [[PALETTE['.'] for _ in range(size)] for _ in range(size)]
    for y in range(grid + line):
        for x in range(grid + line):
            r, c = min(y // cell, cells - 1), min(x // cell, cells - 1)
            on_line = y % cell < line or x % cell < line or y >= grid or x >= grid
            if on_line:
                colour = PALETTE['k']
            elif (r, c) in APP_BLOCKS:
                colour = PALETTE['b']
            else:
                colour = PALETTE['w']
            if left + y < size and left + x < size:
                rows[left + y][left + x] = colour
    return rows


def app_svg():
    """The application icon as a scalable picture of the same grid (64 x 64 units)."""
    cells, cell, left = 5, 11, 4
    grid = cells * cell

    def rgb(key):
        return '#%02x%02x%02x' % PALETTE[key][:3]

    parts = ['<svg xmlns="http://www.w3.org/2000/svg" width="64" height="64" viewBox="0 0 64 64">',
             '<rect x="%d" y="%d" width="%d" height="%d" fill="%s"/>' % (left, left, grid, grid, rgb('w'))]
    for (r, c) in sorted(APP_BLOCKS):
        parts.append('<rect x="%d" y="%d" width="%d" height="%d" fill="%s"/>'
                     % (left + c * cell, left + r * cell, cell, cell, rgb('b')))
    lines = []
    for i in range(cells + 1):
        at = left + i * cell + 0.5
        lines.append('M%g %gV%g' % (at, left, left + grid + 1))
        lines.append('M%g %gH%g' % (left, at, left + grid + 1))
    parts.append('<path d="%s" stroke="%s" stroke-width="1" fill="none"/>' % (''.join(lines), rgb('k')))
    parts.append('</svg>')
    return '\n'.join(parts) + '\n'


def main():
    # With arguments: write the application icon at the given sizes into a
    # folder (the build's installed icons): make_icons.py --app-icons DIR 16 22 ...
    # writes DIR/korvo-16.png ... and DIR/korvo.svg.
    if len(sys.argv) > 2 and sys.argv[1] == '--app-icons':
        out = sys.argv[2]
        os.makedirs(out, exist_ok=True)
        for size in sys.argv[3:]:
            write_png(os.path.join(out, 'korvo-%d.png' % int(size)), app_icon(int(size)))
        with open(os.path.join(out, 'korvo.svg'), 'w', encoding='ascii') as f:
            f.write(app_svg())
        return
    here = os.path.dirname(os.path.abspath(__file__))
    for name, text in ICONS.items():
        write_png(os.path.join(here, name + '.png'), picture(text))
    for size in (16, 32, 48, 64):
        write_png(os.path.join(here, 'korvo-%d.png' % size), app_icon(size))


if __name__ == '__main__':
    main()
