#!/usr/bin/env python3
"""Makes the grid sets of the fill benchmark (bench/fill_sets.py) and checks
that they are well formed.

    bench/make_fill_sets.py --word-list build/release/bin/data1.bin [--out bench/grids]
    bench/make_fill_sets.py --check bench/grids

Sets (one grid file a grid, in the format of `korvo-cli fill --grid`: N lines
of N squares, '!' block, '@' open, 'A'-'Z' letter; each folder has a
MANIFEST.txt naming its grids and what was placed):

  themed/  15 x 15 grids in the published style: half-turn-symmetric
           patterns of 36 to 40 blocks, every entry 3 letters or more, the
           open squares connected (so every square is checked), with three or
           four placed across theme entries of 11 to 15 letters in symmetric
           rows. Themes are list words or two-word phrases from WordNet typed
           without the space. One grid in three takes themes of common
           letters, one in three rare letters, the rest a mix, so the set
           holds easy grids, hard ones and some with no fill.
  themed-fillable/
           15 x 15 themed grids of the shape published grids have: the
           rules of themed/, and 70 to 78 entries, no entry but a theme
           longer than 8 letters save at most two of 9. Themes lean to common
           letters. Each candidate grid is screened by the solvers at hand
           in turn (mode 5 and the peer by default; a CPU limit each) and kept when
           one of them fills it keeping every rule, or when none does and one
           proves that it has no fill (at most one kept grid in six); a grid
           that no solver settles within the limit is left out. The manifest says which solver
           showed what; the rule is in bench/README.md.
  open/    5 x 5 to 7 x 7 grids with no block, some with one or two letters
           placed: small, but a search must cover a large space to prove that
           one has no fill.
  corner/  15 x 15 themed grids whose north-west corner is boxed in by the
           first theme entry: a block of 3 rows by 4 columns whose down
           entries end in the theme's first four letters, with one rare
           letter placed inside it. Theme and letter are chosen so that every
           down entry of the corner keeps 3 or more candidates but the corner
           has no fill (proved here by brute force on the list, with repeats
           allowed, so no rule set can fill it), while the mirrored south-east
           corner has one.

The random patterns of the benchmark are not files: `korvo-cli fill --size N
--seed S` makes them, and the benchmark reads the pattern back from its
output where another filler needs it.

The sets depend only on the word list file, the WordNet files of the
wordnet-base package (/usr/share/wordnet) and the fixed seeds below, so a run
on the same inputs writes the same files. --check needs neither: it reads the
files and reports every grid that breaks the rules of its set (exit code 1).
"""

import argparse
import math
import os
import random
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from word_list import read_word_list  # noqa: E402

BLOCK = "!"
OPEN = "@"
THEMED_SIZE = 15
MIN_BLOCKS = 36
MAX_BLOCKS = 40
MIN_THEME = 11
MAX_THEME = 15
WORDNET = "/usr/share/wordnet"
SET_KINDS = ("themed", "themed-fillable", "corner", "open")
# The shape of published 15 x 15 grids (themed-fillable): entries, and the
# longest entry that is not a theme (at most MAX_NINES entries one longer).
MIN_ENTRIES = 70
MAX_ENTRIES = 78
MAX_FREE = 8
MAX_NINES = 2
LETTERS = set("ABCDEFGHIJKLMNOPQRSTUVWXYZ")

# How rare a letter is in fills: the weights that sort themes into easy and hard.
RARITY = {c: 0 for c in "EAIOSTRNL"}
RARITY.update({c: 1 for c in "DUCMPHG"})
RARITY.update({c: 3 for c in "BYFWKV"})
RARITY.update({c: 8 for c in "JQXZ"})


# ---------------------------------------------------------------- grid rules


def read_grid(path):
    with open(path, encoding="ascii") as f:
        rows = [line.rstrip("\r\n") for line in f]
    while rows and rows[-1] == "":
        rows.pop()
    return rows


def runs(rows):
    """Maximal runs of non-block squares: (direction, [(r, c), ...]), 'A' or 'D'."""
    n = len(rows)
    found = []
    for r in range(n):
        run = []
        for c in range(n + 1):
            if c < n and rows[r][c] != BLOCK:
                run.append((r, c))
            else:
                if run:
                    found.append(("A", run))
                run = []
    for c in range(n):
        run = []
        for r in range(n + 1):
            if r < n and rows[r][c] != BLOCK:
                run.append((r, c))
            else:
                if run:
                    found.append(("D", run))
                run = []
    return found


def connected(rows):
    n = len(rows)
    cells = [(r, c) for r in range(n) for c in range(n) if rows[r][c] != BLOCK]
    if not cells:
        return False
    seen = {cells[0]}
    todo = [cells[0]]
    while todo:
        r, c = todo.pop()
        for rr, cc in ((r + 1, c), (r - 1, c), (r, c + 1), (r, c - 1)):
            if 0 <= rr < n and 0 <= cc < n and rows[rr][cc] != BLOCK and (rr, cc) not in seen:
                seen.add((rr, cc))
                todo.append((rr, cc))
    return len(seen) == len(cells)


def symmetric(rows):
    n = len(rows)
    return all((rows[r][c] == BLOCK) == (rows[n - 1 - r][n - 1 - c] == BLOCK) for r in range(n) for c in range(n))


def theme_entries(rows):
    """Across entries of 11 to 15 letters whose every square holds a letter."""
    found = []
    for direction, run in runs(rows):
        if direction == "A" and MIN_THEME <= len(run) <= MAX_THEME and all(rows[r][c] in LETTERS for r, c in run):
            found.append(run)
    return found


def grid_problems(rows, kind):
    """What breaks the rules of the set `kind` ('themed', 'themed-fillable', 'corner', 'open'); empty if none."""
    problems = []
    n = len(rows)
    if n == 0 or any(len(row) != n for row in rows):
        return ["not a square grid"]
    if any(ch not in LETTERS and ch not in (BLOCK, OPEN) for row in rows for ch in row):
        return ["a square is not '!', '@' or a letter"]
    blocks = sum(row.count(BLOCK) for row in rows)
    letters = [(r, c) for r in range(n) for c in range(n) if rows[r][c] in LETTERS]
    if kind == "open":
        if not 5 <= n <= 7:
            problems.append(f"size {n}, expected 5 to 7")
        if blocks:
            problems.append(f"{blocks} blocks, expected none")
        if len(letters) > 2:
            problems.append(f"{len(letters)} letters placed, expected at most 2")
        return problems

    if n != THEMED_SIZE:
        problems.append(f"size {n}, expected {THEMED_SIZE}")
        return problems
    if not MIN_BLOCKS <= blocks <= MAX_BLOCKS:
        problems.append(f"{blocks} blocks, expected {MIN_BLOCKS} to {MAX_BLOCKS}")
    if not symmetric(rows):
        problems.append("blocks are not half-turn symmetric")
    if not connected(rows):
        problems.append("open squares are not connected")
    for direction, run in runs(rows):
        if len(run) < 3:
            r, c = run[0]
            problems.append(f"{direction} run at row {r + 1}, column {c + 1} has {len(run)} square(s)")
    themes = theme_entries(rows)
    if not 3 <= len(themes) <= 4:
        problems.append(f"{len(themes)} theme entries, expected 3 or 4")
    theme_squares = {cell for run in themes for cell in run}
    outside = set(letters) - theme_squares
    if kind == "corner":
        # The boxed corner may hold one or two placed letters of its own.
        corner = {(r, c) for r in range(3) for c in range(4)}
        if len(outside & corner) <= 2:
            outside -= corner
    if outside:
        problems.append("letters are placed outside the theme entries")
    if {(n - 1 - r, n - 1 - c) for r, c in theme_squares} != theme_squares:
        problems.append("theme entries are not placed symmetrically")
    if kind == "themed-fillable":
        all_runs = runs(rows)
        if not MIN_ENTRIES <= len(all_runs) <= MAX_ENTRIES:
            problems.append(f"{len(all_runs)} entries, expected {MIN_ENTRIES} to {MAX_ENTRIES}")
        themed_runs = {tuple(run) for run in themes}
        free = [len(run) for _, run in all_runs if tuple(run) not in themed_runs]
        if any(length > MAX_FREE + 1 for length in free) or free.count(MAX_FREE + 1) > MAX_NINES:
            problems.append(f"entries of {sorted(length for length in free if length > MAX_FREE)} letters besides "
                            f"the themes, expected none longer than {MAX_FREE} save {MAX_NINES} of {MAX_FREE + 1}")
    if kind == "corner":
        # The boxed corner: rows 1-3 x columns 1-4 open and free, closed by
        # blocks to the right and below the theme row, the theme across row 4.
        if any(rows[r][c] == BLOCK for r in range(3) for c in range(4)):
            problems.append("the corner's squares are not all open")
        if any(rows[r][4] != BLOCK for r in range(3)) or any(rows[4][c] != BLOCK for c in range(4)):
            problems.append("the corner is not boxed in by blocks")
        if not all(rows[3][c] in LETTERS for c in range(4)):
            problems.append("the corner's down entries do not end in theme letters")
    return problems


def check_sets(folder):
    failures = 0
    checked = 0
    for kind in SET_KINDS:
        sub = os.path.join(folder, kind)
        manifest = os.path.join(sub, "MANIFEST.txt")
        if not os.path.exists(manifest):
            print(f"{manifest}: missing")
            failures += 1
            continue
        with open(manifest, encoding="ascii") as f:
            names = [line.split()[0] for line in f if line.strip() and not line.startswith("#")]
        files = sorted(name for name in os.listdir(sub) if name.endswith(".txt") and name != "MANIFEST.txt")
        if sorted(names) != files:
            print(f"{manifest}: names {sorted(set(names) ^ set(files))} are in only one of the manifest and the folder")
            failures += 1
        minimum = {"themed": 30, "themed-fillable": 30, "corner": 4, "open": 9}[kind]
        if len(files) < minimum:
            print(f"{sub}: {len(files)} grids, expected at least {minimum}")
            failures += 1
        for name in files:
            checked += 1
            for problem in grid_problems(read_grid(os.path.join(sub, name)), kind):
                print(f"{os.path.join(sub, name)}: {problem}")
                failures += 1
    print(f"{checked} grids checked, {failures} problem(s)")
    return failures == 0


# ---------------------------------------------------------------- making patterns


class Stuck(Exception):
    pass


def line_ok(grid, cells):
    """Every run crossing one of `cells` has 0 or at least 3 squares."""
    n = len(grid)
    rows_seen = {r for r, _ in cells}
    cols_seen = {c for _, c in cells}
    for r in rows_seen:
        length = 0
        for c in range(n + 1):
            if c < n and grid[r][c] != BLOCK:
                length += 1
            else:
                if 0 < length < 3:
                    return False
                length = 0
    for c in cols_seen:
        length = 0
        for r in range(n + 1):
            if r < n and grid[r][c] != BLOCK:
                length += 1
            else:
                if 0 < length < 3:
                    return False
                length = 0
    return True


def no_block_square(grid, cells):
    """No 2 x 2 square of blocks touches `cells`."""
    n = len(grid)
    for r, c in cells:
        for r0 in (r - 1, r):
            for c0 in (c - 1, c):
                if 0 <= r0 < n - 1 and 0 <= c0 < n - 1:
                    if all(grid[r0 + i][c0 + j] == BLOCK for i in (0, 1) for j in (0, 1)):
                        return False
    return True


def run_lengths(grid):
    """For every square, the longer of the across and down runs through it."""
    n = len(grid)
    longest = [[0] * n for _ in range(n)]
    for _, run in runs(grid):
        for r, c in run:
            longest[r][c] = max(longest[r][c], len(run))
    return longest


def with_partners(cells, n):
    return sorted(set(cells) | {(n - 1 - r, n - 1 - c) for r, c in cells})


def place_themes(grid, fixed, themes):
    """Writes the themes into the grid and closes each with blocks; short leftovers of a row become blocks."""
    n = len(grid)
    for r, c, word in themes:
        for k, ch in enumerate(word):
            grid[r][c + k] = ch
            fixed.add((r, c + k))
        end = c + len(word)
        # Beside the entry: a block, and the whole leftover when it is too short for an entry.
        if 0 < c < 4:
            for cc in range(c):
                grid[r][cc] = BLOCK
        elif c >= 4:
            grid[r][c - 1] = BLOCK
        if 0 < n - end < 4:
            for cc in range(end, n):
                grid[r][cc] = BLOCK
        elif n - end >= 4:
            grid[r][end] = BLOCK


def repair(grid, fixed):
    """Blocks out runs of 1 or 2 squares (with their mirror squares) until none is left."""
    n = len(grid)
    changed = True
    while changed:
        changed = False
        for _, run in runs(grid):
            if len(run) < 3:
                if any(cell in fixed for cell in run):
                    raise Stuck("a theme square would be left in a short run")
                for r, c in with_partners(run, n):
                    if (r, c) in fixed:
                        raise Stuck("a theme square would become a block")
                    grid[r][c] = BLOCK
                changed = True
                break


def max_free_run(grid, fixed):
    """The longest run that is not a theme entry."""
    longest = 0
    for _, run in runs(grid):
        if not all(cell in fixed for cell in run):
            longest = max(longest, len(run))
    return longest


class Candidates:
    """Counts the list words that fit an entry's placed letters."""

    def __init__(self, words):
        self.lengths = {}
        self.index = {}  # (length, position, letter) -> set of word numbers
        for number, w in enumerate(words):
            self.lengths[len(w)] = self.lengths.get(len(w), 0) + 1
            for k, ch in enumerate(w):
                self.index.setdefault((len(w), k, ch), set()).add(number)
        self.cache = {}

    def count(self, pattern):
        """Words matching pattern ('@' any letter)."""
        if pattern not in self.cache:
            sets = [self.index.get((len(pattern), k, ch), set()) for k, ch in enumerate(pattern) if ch != OPEN]
            if not sets:
                self.cache[pattern] = self.lengths.get(len(pattern), 0)
            else:
                sets.sort(key=len)
                self.cache[pattern] = len(set.intersection(*sets))
        return self.cache[pattern]


def weak_cells(grid, fixed, candidates, found=None):
    """Squares of non-theme entries that cross a theme and have no candidate word, or cross 3 themes.
    found: the grid's runs, where known."""
    weak = set()
    if candidates is None:
        return weak
    for _, run in runs(grid) if found is None else found:
        if all(cell in fixed for cell in run):
            continue
        pattern = "".join(grid[r][c] for r, c in run)
        crossed = sum(1 for ch in pattern if ch != OPEN)
        if crossed and (crossed >= 3 or candidates.count(pattern) < 1):
            weak.update(cell for cell in run if cell not in fixed)
    return weak


SHAPES = [[(0, 0)], [(0, 0), (0, 1)], [(0, 0), (1, 0)], [(0, 0), (0, 1), (0, 2)], [(0, 0), (1, 0), (2, 0)]]


def make_pattern(rng, themes, target, forced=(), keep_open=(), longest_free=10, tries=6, candidates=None):
    """A symmetric pattern with the themes placed and `target` blocks (36..40), or raises Stuck.
    With candidates, every entry crossing a theme crosses at most two and keeps a list word that fits."""
    n = THEMED_SIZE
    for _ in range(tries):
        grid = [[OPEN] * n for _ in range(n)]
        fixed = set(keep_open)
        try:
            place_themes(grid, fixed, themes)
            for r, c in with_partners(forced, n):
                if (r, c) in fixed:
                    raise Stuck("a forced block is a theme square")
                grid[r][c] = BLOCK
            repair(grid, fixed)
        except Stuck:
            continue
        if not connected(grid):
            continue
        while True:
            blocks = sum(row.count(BLOCK) for row in grid)
            weak = weak_cells(grid, fixed, candidates)
            if (MIN_BLOCKS <= blocks <= MAX_BLOCKS and blocks >= target and max_free_run(grid, fixed) <= longest_free
                    and not weak):
                return ["".join(row) for row in grid]
            if blocks >= MAX_BLOCKS:
                break
            moves = []
            longest = run_lengths(grid)
            for r in range(n):
                for c in range(n):
                    for shape in SHAPES:
                        cells = [(r + dr, c + dc) for dr, dc in shape]
                        if any(not (0 <= rr < n and 0 <= cc < n) for rr, cc in cells):
                            continue
                        cells = with_partners(cells, n)
                        if any(cell in fixed or grid[cell[0]][cell[1]] == BLOCK for cell in cells):
                            continue
                        if blocks + len(cells) > MAX_BLOCKS:
                            continue
                        score = max(longest[rr][cc] for rr, cc in cells)
                        if any(cell in weak for cell in cells):
                            score += 12
                        moves.append((score - 2.5 * (len(cells) // 2 - 1) + rng.uniform(0, 5), cells))
            moves.sort(key=lambda m: -m[0])
            placed = False
            for _, cells in moves:
                for r, c in cells:
                    grid[r][c] = BLOCK
                if (line_ok(grid, cells) and no_block_square(grid, cells) and connected(grid)
                        and weak_cells(grid, fixed, candidates) <= weak):  # no entry made hopeless
                    placed = True
                    break
                for r, c in cells:
                    grid[r][c] = OPEN
            if not placed:
                break
    raise Stuck("no pattern found")


def published_pattern(rng, themes, candidates=None, tries=12):
    """A symmetric pattern of published shape around the themes: 36 to 40
    blocks, 70 to 78 entries, fill entries of at most 8 letters save two of 9,
    or raises Stuck.
    Blocks go in one square and its mirror at a time, which cuts runs with the
    fewest blocks. Each step takes the sound move that leaves the least to
    mend (badness), then the one that keeps the entries nearest the middle of
    their range, then the one that cuts the longest runs, at random among
    equals: the blocks are too few to waste."""
    n = THEMED_SIZE
    goal = (MIN_ENTRIES + MAX_ENTRIES) // 2
    for _ in range(tries):
        grid = [[OPEN] * n for _ in range(n)]
        fixed = set()
        try:
            place_themes(grid, fixed, themes)
            repair(grid, fixed)
        except Stuck:
            continue
        if not connected(grid):
            continue
        target = rng.randint(MIN_BLOCKS, MAX_BLOCKS)
        while True:
            blocks = sum(row.count(BLOCK) for row in grid)
            entries = len(runs(grid))
            left = badness(grid, fixed, candidates)
            if (MIN_BLOCKS <= blocks <= MAX_BLOCKS and blocks >= target and left == 0
                    and MIN_ENTRIES <= entries <= MAX_ENTRIES):
                return ["".join(row) for row in grid]
            if blocks >= MAX_BLOCKS:
                break
            through = [[0] * n for _ in range(n)]  # the free run lengths through a square
            for _, run in runs(grid):
                if not all(cell in fixed for cell in run):
                    for r, c in run:
                        through[r][c] += len(run)
            best = None
            for r in range(n):
                for c in range(n):
                    if (r, c) > (n - 1 - r, n - 1 - c):
                        continue  # the mirror square's move
                    cells = with_partners([(r, c)], n)
                    if any(cell in fixed or grid[cell[0]][cell[1]] == BLOCK for cell in cells):
                        continue
                    if blocks + len(cells) > MAX_BLOCKS:
                        continue
                    for rr, cc in cells:
                        grid[rr][cc] = BLOCK
                    if line_ok(grid, cells) and no_block_square(grid, cells):
                        found = runs(grid)
                        after = badness(grid, fixed, candidates, found)
                        key = (after, abs(len(found) - goal) if after == 0 else 0,
                               -max(through[rr][cc] for rr, cc in cells), rng.random())
                        if (best is None or key < best[0]) and connected(grid):
                            best = (key, cells)
                    for rr, cc in cells:
                        grid[rr][cc] = OPEN
            if best is None:
                break
            for r, c in best[1]:
                grid[r][c] = BLOCK
    raise Stuck("no pattern found")


def badness(grid, fixed, candidates, found=None):
    """What a pattern still lacks: letters of fill entries beyond the longest
    allowed, surplus entries of one letter more, and squares of weak entries.
    found: the grid's runs, where known."""
    found = runs(grid) if found is None else found
    free = [len(run) for _, run in found if not all(cell in fixed for cell in run)]
    excess = sum(length - MAX_FREE - 1 for length in free if length > MAX_FREE + 1)
    excess += max(0, free.count(MAX_FREE + 1) - MAX_NINES)
    return 2 * excess + len(weak_cells(grid, fixed, candidates, found))


# ---------------------------------------------------------------- themes


TAXONOMY = {"genus", "family", "order", "class", "phylum", "subfamily", "suborder", "subclass", "superfamily"}


def wordnet_phrases(folder, words):
    """Two-word WordNet lemmas typed without the space, both of whose words are in the list (no taxon names)."""
    listed = set(words)
    phrases = set()
    for part in ("noun", "verb", "adj", "adv"):
        path = os.path.join(folder, "index." + part)
        if not os.path.exists(path):
            continue
        with open(path, encoding="latin-1") as f:
            for line in f:
                if line.startswith(" "):
                    continue
                lemma = line.split(" ", 1)[0]
                pieces = lemma.split("_")
                if len(pieces) != 2 or pieces[0] in TAXONOMY:
                    continue
                if all(p.isalpha() and p.isascii() and len(p) >= 3 and p.upper() in listed for p in pieces):
                    phrases.add("".join(pieces).upper())
    return sorted(phrases)


def rarity(word):
    return sum(RARITY[c] for c in word) / len(word)


class ThemePool:
    """Candidate themes by length, each sorted easy to hard; draws never repeat a word or a first three letters."""

    def __init__(self, words, phrases, rng):
        self.by_length = {}
        for source, items in (("word", words), ("phrase", phrases)):
            for w in items:
                if MIN_THEME <= len(w) <= MAX_THEME and set(w) <= LETTERS:
                    self.by_length.setdefault(len(w), []).append((rarity(w), w, source))
        for items in self.by_length.values():
            rng.shuffle(items)
            items.sort(key=lambda item: item[0])
        self.used = set()
        self.rng = rng

    def draw(self, length, level, source, avoid_prefixes):
        """A theme of `length` letters; level 0 easy (common letters), 1 any, 2 hard (rare letters)."""
        items = [item for item in self.by_length.get(length, []) if item[2] == source] or self.by_length[length]
        third = max(1, len(items) // 3)
        band = items[:third] if level == 0 else items[-third:] if level == 2 else items
        band = [item for item in band if item[1] not in self.used and item[1][:3] not in avoid_prefixes]
        if not band:
            raise Stuck(f"no theme of {length} letters left")
        choice = self.rng.choice(band[-max(20, len(band) // 4):] if level == 2 else band)
        self.used.add(choice[1])
        return choice[1], choice[2]


# Theme rows (0-based, half-turn symmetric pairs and the middle row).
LAYOUTS = [(3, 7, 11), (2, 7, 12), (3, 5, 9, 11), (2, 5, 9, 12), (3, 11, 7), (4, 7, 10)]


def theme_plan(rng, layout, pool, level):
    """The themes of one grid: (row, column, word) for each theme row, and their sources."""
    n = THEMED_SIZE
    themes = []
    notes = []
    prefixes = set()
    done = set()
    for row in layout:
        if row in done:
            continue
        if row == n // 2:
            length = rng.choice((11, 13, 15))
            source = rng.choice(("word", "phrase"))
            word, source = pool.draw(length, level, source, prefixes)
            themes.append((row, (n - length) // 2, word))
            notes.append(f"{word}({source})")
            prefixes.add(word[:3])
            done.add(row)
            continue
        partner = n - 1 - row
        length = rng.choice((11, 12, 13, 14, 15))
        column = rng.choice(sorted({0, n - length, (n - length) // 2}))
        for r, c in ((row, column), (partner, n - column - length)):
            source = rng.choice(("word", "phrase"))
            word, source = pool.draw(length, level, source, prefixes)
            themes.append((r, c, word))
            notes.append(f"{word}({source})")
            prefixes.add(word[:3])
        done.update((row, partner))
    themes.sort()
    return themes, notes


# ---------------------------------------------------------------- boxed corners


class CornerIndex:
    """The 4-letter words, for brute-force fills of a 3 x 4 corner whose four down entries end (or start) in fixed letters."""

    def __init__(self, words):
        self.words = [w for w in words if len(w) == 4]
        self.prefixes = [set(w[:k] for w in self.words) for k in range(5)]
        self.ending = {}
        self.starting = {}
        for w in self.words:
            self.ending.setdefault(w[3], []).append(w[:3])
            self.starting.setdefault(w[0], []).append(w[1:])

    def _fill(self, columns, budget=200000):
        """Is there a choice of one 3-letter column per position whose rows are
        all 4-letter words? Repeats allowed. None when the search outgrows budget."""
        rows = ["", "", ""]
        nodes = [0]

        def go(j):
            if j == 4:
                return True
            for col in columns[j]:
                nodes[0] += 1
                if nodes[0] > budget:
                    raise Stuck("search too large")
                extended = [rows[i] + col[i] for i in range(3)]
                if all(e in self.prefixes[j + 1] for e in extended):
                    saved = rows[:]
                    rows[:] = extended
                    if go(j + 1):
                        return True
                    rows[:] = saved
            return False

        try:
            return go(0)
        except Stuck:
            return None

    def candidates_ending(self, letters):
        return [self.ending.get(ch, []) for ch in letters]

    def fills_ending(self, letters):
        """A corner above a theme: down entries end in `letters`."""
        return self._fill(self.candidates_ending(letters))

    def fills_starting(self, letters):
        """A corner below a theme: down entries start with `letters`."""
        return self._fill([self.starting.get(ch, []) for ch in letters])


CORNER_LETTERS = "JQXZKVWY"


def corner_grids(rng, pool, corner_index, count, candidates):
    """15 x 15 grids whose north-west corner has no fill and whose south-east corner has one."""
    n = THEMED_SIZE
    forced = [(r, 4) for r in range(3)] + [(4, c) for c in range(4)]
    keep_open = {(r, c) for r in range(3) for c in range(4)}
    keep_open |= {(n - 1 - r, n - 1 - c) for r, c in keep_open}
    items = [item for length in range(MIN_THEME, MAX_THEME + 1) for item in pool.by_length.get(length, [])]
    rng.shuffle(items)
    made = []
    for _, word, source in items:
        if len(made) == count:
            break
        if word in pool.used:
            continue
        # One rare letter placed in the corner; every down entry keeps 3 or more candidates.
        r, c, letter = rng.randrange(3), rng.randrange(4), rng.choice(CORNER_LETTERS)
        columns = corner_index.candidates_ending(word[:4])
        columns[c] = [top for top in columns[c] if top[r] == letter]
        if min(len(col) for col in columns) < 3 or corner_index._fill(columns, budget=50000) is not False:
            continue
        length = len(word)
        partner = None
        for _, other, other_source in pool.by_length[length]:
            if other in pool.used or other == word or other[:3] == word[:3]:
                continue
            if corner_index.fills_starting(other[-4:]) is True:
                partner = (other, other_source)
                break
        if partner is None:
            continue
        middle = rng.choice((11, 13))
        try:
            third, third_source = pool.draw(middle, 0, rng.choice(("word", "phrase")), {word[:3], partner[0][:3]})
            themes = [(3, 0, word), (n - 1 - 3, n - length, partner[0]), (n // 2, (n - middle) // 2, third)]
            rows = make_pattern(rng, themes, rng.randint(MIN_BLOCKS, MAX_BLOCKS), forced, keep_open,
                                candidates=candidates)
        except Stuck:
            continue
        rows[r] = rows[r][:c] + letter + rows[r][c + 1:]
        pool.used.update((word, partner[0]))
        notes = [f"{word}({source}, boxes in the corner with {letter} at row {r + 1} column {c + 1})",
                 f"{partner[0]}({partner[1]})", f"{third}({third_source})"]
        made.append((rows, notes))
        print(f"corner {len(made)}: " + " ".join(notes), flush=True)
    return made


# ---------------------------------------------------------------- open grids

OPEN_GRIDS = [
    ("o5-empty", 5, []),
    ("o5-q", 5, [(0, 0, "Q")]),
    ("o5-x-center", 5, [(2, 2, "X")]),
    ("o5-jz", 5, [(0, 0, "J"), (4, 4, "Z")]),
    ("o6-empty", 6, []),
    ("o6-e", 6, [(0, 0, "E")]),
    ("o6-k", 6, [(2, 3, "K")]),
    ("o6-sv", 6, [(0, 5, "S"), (5, 0, "V")]),
    ("o7-empty", 7, []),
    ("o7-s", 7, [(0, 0, "S")]),
    ("o7-e-center", 7, [(3, 3, "E")]),
]


SCREEN_SEED = 13031
SCREEN_LIMIT = 10.0  # CPU seconds a solver gets on a candidate
MAX_UNFILLABLE_SHARE = 6  # at most one kept grid in six has no fill


def screen(bench, path, rows, solvers, limit):
    """Runs the solvers on one grid in turn until one fills it: returns
    ('filled', 'no-fill' or None, notes). Filled when one of them fills it
    keeping every rule (the peer's fill when it keeps the first-three-letters
    rule too), no-fill when none does and one proves that no fill exists (the
    peer's proof holds for the stricter rules as well), None when none settles
    it. So a proof is always set against every other solver."""
    import fill_sets
    grid = fill_sets.Grid("themed-fillable", os.path.basename(path)[:-4], len(rows), path=path, rows=rows)
    notes = []
    outcomes = set()
    for solver in solvers:
        if solver == "peer":
            record = bench.peer(grid, limit)
            if record["outcome"] == "filled" and not record.get("prefix_ok"):
                record["outcome"] = "filled-breaking-prefix-rule"
        else:
            record, _ = bench.korvo(grid, int(solver), limit)
        label = "peer" if solver == "peer" else f"mode {solver}"
        notes.append(f"{label} {record['outcome']} {record['cpu']:.1f}s")
        outcomes.add(record["outcome"])
        if record["outcome"] == "filled":
            break
    verdict = "filled" if "filled" in outcomes else "no-fill" if "no-fill" in outcomes else None
    return verdict, notes


def themed_fillable_grids(args, words, phrases, candidates):
    """Candidate grids in a fixed order, kept by the screening rule (see the module notes)."""
    import types
    import fill_sets
    solvers = [s for s in args.screen.split(",") if s]
    if "peer" in solvers and not os.path.exists(args.peer_script):
        sys.exit(f"no peer script {args.peer_script}; leave 'peer' out of --screen")
    bench = fill_sets.Bench(types.SimpleNamespace(
        cli=os.path.abspath(args.cli), word_list=os.path.abspath(args.word_list), seed=1, threads=1,
        limit_kind="cpu", peer_script=args.peer_script, results=None))
    work = bench.work
    rng = random.Random(SCREEN_SEED)
    pool = ThemePool(words, phrases, rng)
    kept, fillable, unfillable, left_out, made, attempts = [], 0, 0, [], 0, 0
    while len(kept) < args.themed_fillable and made < args.candidates and attempts < 20 * args.candidates:
        attempts += 1
        level = (0, 0, 1)[attempts % 3]  # two in three with themes of common letters, one a mix
        layout = LAYOUTS[attempts % len(LAYOUTS)]
        try:
            themes, notes = theme_plan(rng, layout, pool, level)
            rows = published_pattern(rng, themes, candidates, tries=4)
        except Stuck:
            continue
        made += 1
        path = os.path.join(work, f"candidate{made:03d}.txt")
        with open(path, "w", encoding="ascii") as f:
            f.write("\n".join(rows) + "\n")
        room = unfillable < (args.themed_fillable + MAX_UNFILLABLE_SHARE - 1) // MAX_UNFILLABLE_SHARE
        verdict, screened = screen(bench, path, rows, solvers, args.screen_limit)
        blocks = sum(row.count(BLOCK) for row in rows)
        line = (f"candidate {made}: {blocks} blocks {len(runs(rows))} entries: {' '.join(notes)}; "
                f"{', '.join(screened)}")
        if verdict == "filled" or (verdict == "no-fill" and room):
            fillable += verdict == "filled"
            unfillable += verdict == "no-fill"
            name = f"f{len(kept) + 1:02d}"
            kept.append((name, rows, f"{verdict}: candidate {made}, {blocks} blocks, {len(runs(rows))} entries: "
                                     f"{' '.join(notes)}; screened by {', '.join(screened)}"))
            print(f"themed-fillable {name} {line}", flush=True)
        else:
            left_out.append(f"candidate {made} ({'no fill, enough kept' if verdict else 'not settled'})")
            print(f"left out {line}", flush=True)
    header = [f"{fillable} filled and {unfillable} proved to have no fill at screening, of {made} candidates; "
              f"solvers {', '.join(solvers)}, {args.screen_limit:g} CPU s each, mode 5 on one thread, seed 1",
              "left out: " + (", ".join(left_out) or "none")]
    return kept, header


def write_set(folder, kind, grids, header=()):
    """grids: [(name, rows, note)]; replaces the folder's grid files and manifest."""
    sub = os.path.join(folder, kind)
    os.makedirs(sub, exist_ok=True)
    for name in os.listdir(sub):
        if name.endswith(".txt"):
            os.remove(os.path.join(sub, name))
    with open(os.path.join(sub, "MANIFEST.txt"), "w", encoding="ascii") as manifest:
        manifest.write(f"# {kind} grids of the fill benchmark, made by bench/make_fill_sets.py\n")
        for line in header:
            manifest.write(f"# {line}\n")
        for name, rows, note in grids:
            problems = grid_problems(rows, kind)
            if problems:
                raise SystemExit(f"{kind}/{name}: {problems}")
            with open(os.path.join(sub, name + ".txt"), "w", encoding="ascii") as f:
                f.write("\n".join(rows) + "\n")
            manifest.write(f"{name}.txt {note}\n")


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--word-list", help="the word list file the themes and corners are drawn from (data1.bin)")
    parser.add_argument("--wordnet", default=WORDNET, help="folder of the WordNet index files")
    parser.add_argument("--out", default=os.path.join(os.path.dirname(os.path.abspath(__file__)), "grids"))
    parser.add_argument("--themed", type=int, default=36, help="themed grids to make")
    parser.add_argument("--corners", type=int, default=6, help="boxed-corner grids to make")
    parser.add_argument("--themed-fillable", type=int, default=30, help="themed-fillable grids to keep")
    parser.add_argument("--candidates", type=int, default=150, help="themed-fillable candidates to screen at most")
    parser.add_argument("--cli", help="korvo-cli, which screens the themed-fillable candidates")
    parser.add_argument("--screen", default="5,peer",
                        help="solvers that screen the themed-fillable candidates, in order: modes and 'peer'")
    parser.add_argument("--screen-limit", type=float, default=SCREEN_LIMIT, help="CPU seconds of each solver")
    parser.add_argument("--peer-script", default="/work/shared/peers/qxw_fill.py")
    parser.add_argument("--sets", default="themed,corner,open",
                        help="the sets to make (each from its own seed): themed, themed-fillable, corner, open")
    parser.add_argument("--check", metavar="FOLDER", help="check the sets in FOLDER instead of making them")
    args = parser.parse_args()
    if args.check:
        sys.exit(0 if check_sets(args.check) else 1)
    if not args.word_list:
        parser.error("--word-list is needed to make the sets")

    args.sets = args.sets.split(",")
    words = read_word_list(args.word_list)
    candidates = Candidates(words)
    phrases = wordnet_phrases(args.wordnet, words)
    if not phrases:
        sys.exit(f"no two-word phrase found in {args.wordnet} (install wordnet-base)")
    if "themed" in args.sets:
        rng = random.Random(13013)
        pool = ThemePool(words, phrases, rng)
        themed = []
        while len(themed) < args.themed:
            level = len(themed) % 3  # 0 easy, 1 mixed, 2 hard
            layout = LAYOUTS[len(themed) % len(LAYOUTS)]
            try:
                themes, notes = theme_plan(rng, layout, pool, level)
                target = rng.randint(MIN_BLOCKS, MAX_BLOCKS)
                rows = make_pattern(rng, themes, target, candidates=candidates)
            except Stuck:
                continue
            blocks = sum(row.count(BLOCK) for row in rows)
            name = f"t{len(themed) + 1:02d}"
            themed.append((name, rows, f"{['easy', 'mixed', 'hard'][level]} {blocks} blocks: " + " ".join(notes)))
            print(f"themed {name}: {themed[-1][2]}", flush=True)
        write_set(args.out, "themed", themed)

    if "themed-fillable" in args.sets:
        if not args.cli:
            parser.error("--cli is needed to screen the themed-fillable grids")
        kept, header = themed_fillable_grids(args, words, phrases, candidates)
        write_set(args.out, "themed-fillable", kept, header)

    if "corner" in args.sets:
        rng = random.Random(13014)
        pool = ThemePool(words, phrases, rng)
        corners = corner_grids(rng, pool, CornerIndex(words), args.corners, candidates)
        grids = []
        for k, (rows, notes) in enumerate(corners, 1):
            blocks = sum(row.count(BLOCK) for row in rows)
            grids.append((f"c{k:02d}", rows, f"{blocks} blocks: " + " ".join(notes)))
            print(f"corner c{k:02d}: {grids[-1][2]}", flush=True)
        write_set(args.out, "corner", grids)

    if "open" not in args.sets:
        return
    opens = []
    for name, n, placed in OPEN_GRIDS:
        grid = [[OPEN] * n for _ in range(n)]
        for r, c, ch in placed:
            grid[r][c] = ch
        note = "no letter" if not placed else " ".join(f"{ch} at row {r + 1} column {c + 1}" for r, c, ch in placed)
        opens.append((name, ["".join(row) for row in grid], note))
    write_set(args.out, "open", opens)
    print(f"{len(opens)} open grids written to {args.out}")


if __name__ == "__main__":
    main()
