#!/usr/bin/env python3
"""Writes the hand-made seed inputs of the fuzz targets into the folders
beside this script (one folder per target). Run it again after changing a
target's input layout; the excerpts of the shipped data (the *-shipped
files) are kept as they are."""

import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def put(target, name, data):
    folder = os.path.join(HERE, target)
    os.makedirs(folder, exist_ok=True)
    if isinstance(data, str):
        data = data.encode("latin-1")
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


# ---------------------------------------------------------------- word lists
KEY = 0x3B


def word_list(words, tail=b""):
    out = bytearray()
    for w in words:
        out += bytes(b ^ KEY for b in w.encode("latin-1"))
        out.append(KEY)
    return bytes(out) + tail


put("word_list", "small", word_list(["CAT", "DOGS", "AX", "EEL", "CAT"]))
put("word_list", "fragment-at-end", word_list(["CAT", "DOG"], bytes(b ^ KEY for b in b"HORS")))
put("word_list", "one-letter-only", word_list(["A"]))
put("word_list", "lengths-1-to-23", word_list(["ABCDEFGHIJKLMNOPQRSTUVW"[:n] for n in range(1, 24)]))
put("word_list", "empty", b"")
put("word_list", "garbage", bytes(range(256)))

# ---------------------------------------------------------------- clue files
# Layout of the clue_database input: word line, clue line, clue file bytes.
HO = "HOUSE\r\nA dwelling\r\nHOUSE\r\nHome\r\nHOUSES\r\nMore than one\r\nhouse\r\nLower case\r\n"
put("clue_database", "lookup-three", "HOUSE\nHome\n" + HO + "HOUSE\r\nPlace to live\r\n")
put("clue_database", "add-new", "HOUSE\nA building\n" + HO)
put("clue_database", "delete-every-copy", "HOUSE\nA dwelling\n" + HO + "HOUSE\r\nA dwelling\r\n")
put("clue_database", "bare-lf-and-empty-lines", "HOUSE\nHome\nHOUSE\nHome\n\n\nHOUSE\n\nHOUSE\nShelter")
put("clue_database", "cr-at-end", "HOUSE\nHome\nHOUSE\r\nHome\r")
put("clue_database", "long-lines", "HOUSE\n" + "C" * 75 + "\n" + "HOUSE\r\n" + "L" * 300 + "\r\n" + "H" * 40 + "\r\nx\r\n")
put("clue_database", "no-file", "HOUSE\nA dwelling")
put("clue_database", "one-letter-word", "H\nA letter\n")
put("clue_database", "odd-name", "./\nDots\n./\r\nDots\r\n")
put("clue_database", "latin1", "CAF\xc9\nCoffee place\nCAF\xc9\r\nCaf\xe9 au lait\r\n")

# ---------------------------------------------------------------- clue sources
# Layout of the clue_install input: flags byte (list id in bits 0-2, add
# again with bit 3, damage the files first with bit 4), then the source.
SOURCE = ("house\na dwelling\nhouse\nA dwelling\nHouse\nhome\nhorse\nsteed\n"
          "\xe9t\xe9\n\xe9t\xe9 in french\nab\nab\nx\nlone letter\n\nempty word\nword\n\n")
put("clue_install", "list1", b"\x01" + SOURCE.encode("latin-1"))
put("clue_install", "list5-crlf", b"\x05" + SOURCE.replace("\n", "\r\n").encode("latin-1"))
put("clue_install", "list0-again", b"\x08" + SOURCE.encode("latin-1"))
put("clue_install", "list2-damaged-again", b"\x1a" + SOURCE.encode("latin-1"))
put("clue_install", "long-lines", b"\x03" + ("h" * 30 + "\n" + "c" * 90 + "\n" + "h" * 30 + "\n" + "c" * 70 + "\n").encode())
put("clue_install", "empty", b"\x01")


# ---------------------------------------------------------------- archive
def a_string(text):
    data = text.encode("utf-16-le")
    n = len(text)
    if n < 255:
        head = bytes([n])
    elif n < 0xFFFE:
        head = b"\xff" + struct.pack("<H", n)
    else:
        head = b"\xff\xff\xff" + struct.pack("<I", n)
    return b"\xff\xfe\xff" + head + data


def a_ansi(text):
    return bytes([len(text)]) + text.encode("latin-1")


def header():
    return b"\xff\xff" + struct.pack("<H", 6000) + struct.pack("<H", 7) + b"CCWData"


# Read kinds of the archive target: 0 byte, 1 WORD, 2 int32, 3 uint32,
# 4 bool, 5 colour, 6 rect, 7 font, 8 string, 9 + 11 * n a block of n bytes,
# 10 object header.
def ops(*kinds):
    return bytes([len(kinds)]) + bytes(kinds)


FONT = struct.pack("<5i", -300, 0, 0, 0, 700) + bytes([0, 0, 0, 0, 3, 2, 1, 34]) + "Arial".encode("utf-16-le").ljust(64, b"\0")
put("archive", "header-strings-ints",
    ops(10, 8, 2, 8, 2, 8, 8) + header() + a_string("ABC!@") + struct.pack("<i", 15) + a_string("") +
    struct.pack("<i", -1) + a_string("Title") + a_ansi("ansi"))
put("archive", "long-strings", ops(8, 8, 8) + a_string("x" * 300) + a_string("y" * 254) + a_string("z" * 255))
put("archive", "rect-font-color", ops(6, 7, 5, 4, 1, 0, 3) + struct.pack("<4i", 1, 2, 3, 4) + FONT +
    struct.pack("<I", 0xFF00FF) + b"\x02" + b"\x34\x12" + b"\x07" + b"\xff\xff\xff\xff")
put("archive", "block-and-short", ops(9 + 11 * 5, 8, 2) + b"12345" + b"\xff\xfe\xff\x09abc")
put("archive", "bad-header", ops(10, 8) + b"\xff\xff\x71\x17\x07\x00CCWData")
put("archive", "huge-length", ops(8, 8) + b"\xff\xfe\xff\xff\xff\xff\xff\xff\xff\x7f" + b"\xff\xff\xff\xff\xff\xff\xff")

# ---------------------------------------------------------------- files
put("file_reader", "empty", b"")
put("file_reader", "text", "some bytes\r\n")
put("file_reader", "binary", bytes(range(256)) * 4)


# ---------------------------------------------------------------- puzzle files
def font(height, face, underline=0):
    return (struct.pack("<5i", height, 0, 0, 0, 400) + bytes([0, underline, 0, 0, 8, 0, 0, 2]) +
            face.encode("utf-16-le").ljust(64, b"\0"))


def puzzle_file(n, grid, solution=None, clues=(), version=60601, ansi=False, notepad=""):
    s = a_ansi if ansi else a_string
    out = bytearray(header())
    out += s(grid) + struct.pack("<i", n) + s(solution if solution is not None else grid)
    out += struct.pack("<i", -1)
    out += s("A Small Puzzle") + s("Puzzle Answer") + s("by Someone") + s("\u00a9 2024 by Someone")
    out += struct.pack("<ii", len(clues), 1) + s(notepad)
    numbers = [252] * (n * n)
    for i, c in enumerate(grid):
        if c == "!":
            numbers[i] = 251
    for k, (num, _, _, _) in enumerate(clues):
        numbers[k % (n * n)] = num
    out += b"".join(struct.pack("<i", v) for v in numbers)
    out += bytes([1 if i % 7 == 0 else 0 for i in range(n * n)])
    out += struct.pack("<i", len(clues))
    for num, direction, clue, answer in clues:
        out += struct.pack("<i", num) + s(direction) + s(clue) + s(answer) + struct.pack("<4i", 10, 20, 300, 40)
    out += struct.pack("<3I", 0, 0x0000FF, 0x800000) + struct.pack("<2i", 8000, 10500) + b"\x00"
    out += struct.pack("<8i", 250, 250, 250, 250, 250, 250, 250, 250)
    out += font(-12, "Arial") + font(-12, "Arial") + font(-18, "Arial", 1) + b"\x01\x01"
    if version is not None:
        out += struct.pack("<i", version)
    return bytes(out)


GRID5 = "CAT!!" "ODE!!" "WEB!!" "!!!!!" "!!!!!"
CLUES5 = [(1, "ACROSS", "Feline", "CAT"), (4, "ACROSS", "Poem", "ODE"), (5, "ACROSS", "Spider's net", "WEB"),
          (1, "DOWN", "Farm animal", "COW"), (2, "DOWN", "Consumed", "ATE"), (3, "DOWN", "Earlier than", "TEB")]
GRID3 = "CAT" "ODE" "WEB"
for target in ("puzzle_file", "load_solution"):
    put(target, "small-5x5", puzzle_file(5, GRID5, clues=CLUES5))
    put(target, "small-3x3-60303", puzzle_file(3, GRID3, clues=CLUES5[:2], version=None))
    put(target, "ansi-strings", puzzle_file(3, GRID3, clues=CLUES5[:1], ansi=True))
    put(target, "truncated", puzzle_file(5, GRID5, clues=CLUES5)[:200])
    put(target, "size-29", puzzle_file(5, GRID5).replace(struct.pack("<i", 5), struct.pack("<i", 29), 1))
# Load Solution picks the current puzzle's size by the input's length modulo
# 4 (15, 9, 5, 21); trailing bytes after the version field are ignored.
full = puzzle_file(5, GRID5, clues=CLUES5)
put("load_solution", "small-5x5-matching", full + b"\0" * ((2 - len(full)) % 4))
GRID15 = ("A" * 14 + "!") * 15
put("puzzle_file", "full-15x15", puzzle_file(15, GRID15, clues=CLUES5, notepad="notes " * 50))
big = puzzle_file(15, GRID15, clues=CLUES5)
put("load_solution", "full-15x15-matching", big + b"\0" * ((0 - len(big)) % 4))


# ---------------------------------------------------------------- grid files
put("grid_file", "open-5x5", "@@@@@\n@@@@@\n@@!@@\n@@@@@\n@@@@@\n")
put("grid_file", "letters-crlf", "CAT!\r\nO@@!\r\n!@@@\r\n!TAN\r\n")
put("grid_file", "hopeless-and-blank-end", "@?@\n@!@\n@@@\n\n\n")
put("grid_file", "ragged", "@@@\n@@\n@@@@\n")
put("grid_file", "bad-square", "@@\n@x\n")
put("grid_file", "too-many-rows", "\n".join(["@" * 29] * 29) + "\n")
put("grid_file", "long-entry-22", "\n".join(["@" * 22] + ["!" * 22] * 21) + "\n")
