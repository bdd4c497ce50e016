#!/usr/bin/env python3
"""The grid-set checker of bench/make_fill_sets.py finds each kind of broken
grid, the patterns it makes keep the rules of published shape, and the corner
prover tells a fillable corner from one with no fill."""

import os
import random
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import make_fill_sets as sets  # noqa: E402

# A sound themed grid: 38 blocks, half-turn symmetric, themes of 15, 13 and
# 15 letters in rows 4, 8 and 12, every run 3 squares or more, the north-west
# corner boxed in.
THEMED = [
    "@@@@!@@@!!@@@@@",
    "@@@@!@@@@!@@@@@",
    "@@@@!@@@@!@@@@@",
    "ABCDEFGHIJKLMNO",
    "!!!!@@@@@@!@@@@",
    "!@@@@@@!@@@@@@@",
    "!@@@@!!@@@@!@@@",
    "!PQRSTUVWXYZAB!",
    "@@@!@@@@!!@@@@!",
    "@@@@@@@!@@@@@@!",
    "@@@@!@@@@@@!!!!",
    "EFGHIJKLMNOPQRS",
    "@@@@@!@@@@!@@@@",
    "@@@@@!@@@@!@@@@",
    "@@@@@!!@@@!@@@@",
]

# A grid of published shape: 38 blocks, 74 entries of 3 to 8 letters besides
# the three 15-letter themes in rows 3, 8 and 13.
PUBLISHED = [
    "@@@@@!!@@@@@@!!",
    "@@@@@@!@@@@@@@!",
    "INCOMESTATEMENT",
    "!!@@@@@!@@@!@@@",
    "@@@!@@@@@!!@@@@",
    "@@@@!@@@!@@@@@@",
    "@@@@@!@@@@@@!!!",
    "CREEPINGTHISTLE",
    "!!!@@@@@@!@@@@@",
    "@@@@@@!@@@!@@@@",
    "@@@@!!@@@@@!@@@",
    "@@@!@@@!@@@@@!!",
    "ORGANICDISORDER",
    "!@@@@@@@!@@@@@@",
    "!!@@@@@@!!@@@@@",
]


def changed(rows, *edits):
    """rows with (row, column, square) edits applied."""
    grid = [list(row) for row in rows]
    for r, c, ch in edits:
        grid[r][c] = ch
    return ["".join(row) for row in grid]


class GridRules(unittest.TestCase):
    def test_sound_grids_pass(self):
        self.assertEqual(sets.grid_problems(THEMED, "themed"), [])
        self.assertEqual(sets.grid_problems(["@@@@@", "@Q@@@", "@@@@@", "@@@@@", "@@@@@"], "open"), [])

    def test_each_fault_is_found(self):
        cases = [
            # (what, grid, kind, words expected in one of the problems)
            ("asymmetric block", changed(THEMED, (0, 0, "!"), (0, 1, "!"), (0, 2, "!"), (0, 3, "!")), "themed",
             "symmetric"),
            ("two-square run", changed(THEMED, (0, 2, "!"), (14, 12, "!")), "themed", "2 square"),
            ("too many blocks", changed(THEMED, (12, 0, "!"), (2, 14, "!"), (13, 0, "!"), (1, 14, "!"),
                                        (14, 0, "!"), (0, 14, "!")), "themed", "blocks, expected"),
            ("halves walled apart", changed(THEMED, *[(r, 7, "!") for r in range(15)]), "themed", "not connected"),
            ("letter outside a theme", changed(THEMED, (0, 0, "A"), (14, 14, "A")), "themed", "outside"),
            ("a theme letter lost", changed(THEMED, (7, 5, "@"), (3, 0, "@"), (11, 14, "@")), "themed",
             "theme entries, expected"),
            ("open grid with a block", ["@@@@@", "@@!@@", "@@@@@", "@@@@@", "@@@@@"], "open", "blocks"),
            ("open grid too large", ["@" * 8] * 8, "open", "size"),
            ("not square", THEMED[:14], "themed", "square"),
            ("bad square", changed(THEMED, (0, 0, "?"), (14, 14, "?")), "themed", "'!', '@' or a letter"),
        ]
        for what, grid, kind, words in cases:
            with self.subTest(what):
                problems = sets.grid_problems(grid, kind)
                self.assertTrue(any(words in p for p in problems), f"{what}: {problems}")

    def test_published_shape_rules(self):
        self.assertEqual(sets.grid_problems(PUBLISHED, "themed-fillable"), [])
        self.assertEqual(sets.grid_problems(PUBLISHED, "themed"), [])
        # The stacked shape of the themed set: too few entries, fill entries of 10 letters.
        problems = sets.grid_problems(THEMED, "themed-fillable")
        self.assertTrue(any("68 entries" in p for p in problems), problems)
        self.assertTrue(any("[10, 10, 10, 10] letters besides the themes" in p for p in problems), problems)
        # One block and its mirror opened: a down entry of 11 letters and an across one of 9 through a theme.
        problems = sets.grid_problems(changed(PUBLISHED, (4, 3, "@"), (10, 11, "@")), "themed-fillable")
        self.assertTrue(any("[9, 9, 11, 11] letters besides the themes" in p for p in problems), problems)

    def test_patterns_made_keep_the_rules(self):
        # Three themes in rows 3, 7 and 11, and four in rows 2, 5, 9 and 12.
        layouts = [
            [(3, 0, "A" * 15), (7, 1, "B" * 13), (11, 0, "C" * 15)],
            [(2, 0, "D" * 15), (5, 0, "E" * 11), (9, 4, "F" * 11), (12, 0, "G" * 15)],
        ]
        for themes in layouts:
            with self.subTest(rows=[r for r, _, _ in themes]):
                made = 0
                for seed in range(8):
                    try:
                        rows = sets.published_pattern(random.Random(seed), themes, tries=2)
                    except sets.Stuck:
                        continue
                    made += 1
                    self.assertEqual(sets.grid_problems(rows, "themed-fillable"), [], "\n".join(rows))
                    for r, c, word in themes:
                        self.assertEqual(rows[r][c:c + len(word)], word)
                self.assertGreater(made, 0)

    def test_corner_rules(self):
        # THEMED's north-west corner is boxed in: 3 x 4 open squares, blocks at its right and under the theme.
        self.assertEqual(sets.grid_problems(THEMED, "corner"), [])
        opened = changed(THEMED, (1, 4, "@"), (13, 10, "@"))
        self.assertTrue(any("boxed" in p for p in sets.grid_problems(opened, "corner")))


class CornerProver(unittest.TestCase):
    WORDS = ["AAAA", "BBBB", "CCCC", "ABCD", "AAAB", "BBBC", "CCCD", "DCBA"]

    def naive(self, letters, below):
        """Every choice of three row words, checked column by column."""
        words = set(self.WORDS)
        for a in self.WORDS:
            for b in self.WORDS:
                for c in self.WORDS:
                    if below:
                        columns = [letters[j] + a[j] + b[j] + c[j] for j in range(4)]
                    else:
                        columns = [a[j] + b[j] + c[j] + letters[j] for j in range(4)]
                    if all(col in words for col in columns):
                        return True
        return False

    def test_agrees_with_brute_force(self):
        index = sets.CornerIndex(self.WORDS)
        letters = "ABCD"
        fillable = 0
        for k in range(4 ** 4):
            fixed = "".join(letters[(k >> (2 * j)) & 3] for j in range(4))
            with self.subTest(fixed=fixed):
                self.assertEqual(index.fills_ending(fixed), self.naive(fixed, below=False))
                self.assertEqual(index.fills_starting(fixed), self.naive(fixed, below=True))
                fillable += index.fills_ending(fixed)
        self.assertGreater(fillable, 0)
        # Every down entry has candidates (AAA-A, AAA-B or BBB-B, ...), yet no row of A, AB, BC, AC letters is a word.
        self.assertFalse(index.fills_ending("ABCD"))

    def test_budget_gives_unknown(self):
        index = sets.CornerIndex(self.WORDS)
        self.assertIsNone(index._fill(index.candidates_ending("AAAA"), budget=0))


if __name__ == "__main__":
    unittest.main()
