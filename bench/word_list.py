#!/usr/bin/env python3
"""Reads a korvo word list file (data1.bin ... data5.bin) and writes its words
as plain text, one a line, for fillers that take a text list.

The file is a run of words, each letter XOR-ed with 0x3B and every word ended
by a 0 byte (after the XOR). The program keeps words of 2 to 21 letters and
drops a trailing fragment without an end byte; so does this reader, so both
sides fill from the same words.

    bench/word_list.py build/release/bin/data1.bin > words.txt
"""

import sys

KEY = 0x3B
MIN_LENGTH = 2
MAX_LENGTH = 21


def read_word_list(path):
    """The words of a word list file in file order (repeats kept once)."""
    with open(path, "rb") as f:
        data = f.read()
    decoded = bytes(b ^ KEY for b in data)
    pieces = decoded.split(b"\0")
    pieces.pop()  # what follows the last end byte: empty, or a fragment without one
    words = []
    seen = set()
    for piece in pieces:
        if not MIN_LENGTH <= len(piece) <= MAX_LENGTH:
            continue
        word = piece.decode("latin-1")
        if word not in seen:
            seen.add(word)
            words.append(word)
    return words


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: word_list.py WORD_LIST_FILE > words.txt")
    out = sys.stdout
    for word in read_word_list(sys.argv[1]):
        out.write(word + "\n")


if __name__ == "__main__":
    main()
