#!/usr/bin/env python3
"""Writes the data report (REPORT.md): for each shipped word list its words and
the share that have a clue, its clue kinds, per-length counts, what each rule
and check removed, and 50 random clues for a reader to judge.

    python3 data/make_report.py --word-lists build/data-cache/word-lists-60 \\
        --clue-sources build/data-cache/clue-sources-60 --out data/REPORT.md

It reads the files the build made: the clue sources and shipped lists with
their scores and stats.json in the clue folder, report.txt in the word-list
folder. The random clues come from a fixed seed, so the same data gives the
same report.
"""

import argparse
import collections
import json
import os
import random
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from clues.checks import GENERIC  # noqa: E402

LISTS = range(1, 6)
NAMES = {1: "United States", 2: "United Kingdom", 3: "Canada", 4: "Australia", 5: "India"}
SAMPLE = 50


def read_words(path):
    with open(path, "rb") as f:
        return [w.decode("ascii") for w in bytes(b ^ 0x3B for b in f.read()).split(b"\0") if w]


def read_clues(path):
    """Word -> its clues, in file order."""
    with open(path, "rb") as f:
        lines = f.read().decode("latin-1").split("\r\n")
    clues = collections.OrderedDict()
    for i in range(0, len(lines) - 1, 2):
        clues.setdefault(lines[i], []).append(lines[i + 1])
    return clues


def kind(clue):
    """The kind a clue text shows."""
    if clue in GENERIC:
        return "kind of name"
    if "___" in clue:
        return "fill-in-the-blank"
    for start, name in (("Kind of ", "kind of"), ("Opposite of ", "opposite of"), ("Part of ", "part of"),
                        ("Member of ", "part of"), ("Relating to ", "relating to")):
        if clue.startswith(start):
            return name
    if len(clue.split(" ")) <= 2:
        return "synonym or short form"
    return "definition"


def word_list_removals(path):
    """Rule -> number of words, from the word-list generator's report."""
    counts = {}
    if not os.path.exists(path):
        return counts
    with open(path, encoding="ascii") as f:
        for line in f:
            m = re.match(r"left out (as offensive|by the exclusion list|by the breakfast test) \((\d+)\)", line)
            if m:
                name = {"as offensive": "WordNet's offensive labels"}.get(m.group(1), m.group(1)[3:])
                counts[name] = int(m.group(2))
    return counts


def report(word_lists, clue_sources):
    with open(os.path.join(clue_sources, "stats.json"), encoding="ascii") as f:
        stats = json.load(f)
    removals = word_list_removals(os.path.join(word_lists, "report.txt"))
    out = ["# Data report", "",
           "Written by `data/make_report.py` from the files the build generated "
           "(`cmake --build --preset release --target data_report`). Counts are of the shipped files.", ""]
    out += ["## Summary", "", "| File | Variant | Words | With a clue | Share | Clues |", "|---|---|---|---|---|---|"]
    per_list = {}
    for n in LISTS:
        words = read_words(os.path.join(clue_sources, "data%d.bin" % n))
        clues = read_clues(os.path.join(clue_sources, "cdata%d.bin" % n))
        per_list[n] = (words, clues)
        clued = sum(1 for w in words if w in clues)
        total = sum(len(c) for c in clues.values())
        out.append("| `data%d.bin` | %s | %s | %s | %.1f %% | %s |"
                   % (n, NAMES[n], f"{len(words):,}", f"{clued:,}", 100.0 * clued / len(words), f"{total:,}"))
    out += ["", "## What the rules and checks removed", "",
            "Words left out of every list by the word-list generator (before the clue generator):", ""]
    out += ["- %s: %d" % kv for kv in sorted(removals.items())] or ["- (no report found)"]
    out += ["", "Words the clue generator left out of each list: misspellings (`misspelt_words.txt`), and "
            "words no clue explains:", "",
            "| File | Misspelling | Rare (SCOWL level above 50) | Abbreviation (capitals only) | Share of the list "
            "| Rare and unclued, kept (the share is reached) |",
            "|---|---|---|---|---|---|"]
    for n in LISTS:
        s = stats["lists"][str(n)]
        misspelt = len(s["removed"].get("misspelling", ()))
        rare = len(s["removed"]["rare without a clue"])
        caps = len(s["removed"]["abbreviation without a clue"])
        kept = len(s["removed"].get("rare without a clue, kept for the share", ()))
        out.append("| `data%d.bin` | %d | %d | %d | %.2f %% | %d |"
                   % (n, misspelt, rare, caps, 100.0 * (misspelt + rare + caps) / s["words before"], kept))
    out += ["", "Clues each check dropped, per spelling variant (a clue is counted each time a word's "
            "candidates are checked):", ""]
    checks = sorted({c for v in stats["dropped clues"].values() for c in v})
    variants = sorted(stats["dropped clues"])
    out.append("| Check | " + " | ".join(variants) + " |")
    out.append("|---|" + "---|" * len(variants))
    for c in checks:
        out.append("| %s | %s |" % (c, " | ".join(f"{stats['dropped clues'][v].get(c, 0):,}" for v in variants)))
    for n in LISTS:
        words, clues = per_list[n]
        out += ["", "## `data%d.bin` (%s)" % (n, NAMES[n]), "", "Clue kinds:", "", "| Kind | Clues |", "|---|---|"]
        kinds = collections.Counter(kind(c) for cs in clues.values() for c in cs)
        out += ["| %s | %s |" % (k, f"{v:,}") for k, v in kinds.most_common()]
        out += ["", "By length:", "", "| Letters | Words | With a clue | Share |", "|---|---|---|---|"]
        by_length = collections.Counter(len(w) for w in words)
        clued_length = collections.Counter(len(w) for w in words if w in clues)
        for length in sorted(by_length):
            out.append("| %d | %s | %s | %.1f %% |" % (length, f"{by_length[length]:,}", f"{clued_length[length]:,}",
                                                       100.0 * clued_length[length] / by_length[length]))
        if n == 1:
            pairs = [(w, c) for w, cs in clues.items() for c in cs]
            sample = sorted(random.Random(1).sample(pairs, min(SAMPLE, len(pairs))))
            out += ["", "%d random clues:" % len(sample), "", "| Word | Clue |", "|---|---|"]
            out += ["| %s | %s |" % (w, c.replace("|", "\\|")) for w, c in sample]
    return "\n".join(out) + "\n"


def main(argv=None):
    parser = argparse.ArgumentParser(description="Writes the data report.")
    parser.add_argument("--word-lists", required=True, help="the word-list generator's folder (report.txt)")
    parser.add_argument("--clue-sources", required=True, help="the clue generator's folder")
    parser.add_argument("--out", required=True, help="the report to write (Markdown)")
    args = parser.parse_args(argv)
    try:
        text = report(args.word_lists, args.clue_sources)
    except (OSError, ValueError, KeyError) as error:
        print("make_report: %s" % error, file=sys.stderr)
        return 1
    with open(args.out, "w", encoding="latin-1") as f:
        f.write(text)
    return 0


if __name__ == "__main__":
    sys.exit(main())
