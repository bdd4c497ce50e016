"""The score of a word: how good it is to place, from 1 to 100.

    score = level points + clue points, at least 1, at most 100

Level points come from the word's SCOWL size level (smaller levels hold the
commoner words); clue points from the best kind among the word's clues, none
when it has no clue. A common word with a synonym clue scores 100; a rare
name known only as "Girl's name" scores little; an unclued word only its
level points.
"""

from .kinds import (ANTONYM, BLANK, DERIVED, FRAME, GLOSS, HOLONYM, HYPERNYM, NAME, PERTAINYM, PHRASE,
                    SYNONYM)

SCORE_HEADER = "KORVO-SCORES 1"

# SCOWL size level -> points; a level not listed takes the next larger one's.
LEVEL_POINTS = ((10, 50), (20, 46), (35, 40), (40, 36), (50, 30), (55, 22), (60, 16), (70, 10), (95, 6))
UNKNOWN_LEVEL_POINTS = 4

CLUE_POINTS = {SYNONYM: 50, HYPERNYM: 42, GLOSS: 40, BLANK: 36, FRAME: 34, ANTONYM: 34, PERTAINYM: 30,
               HOLONYM: 30, PHRASE: 30, DERIVED: 26, NAME: 10}


def level_points(level):
    for top, points in LEVEL_POINTS:
        if level <= top:
            return points
    return UNKNOWN_LEVEL_POINTS


def score(level, kinds):
    """The score of a word at a SCOWL level whose clues are of the given kinds."""
    best = max((CLUE_POINTS.get(k, 20) for k in kinds), default=0)
    return max(1, min(100, level_points(level) + best))


def encode_scores(pairs):
    """The score file of (word, score) pairs: the header line, then one line
    a word, the upper-case word, a tab and the score, LF line ends. Raises
    ValueError for a word or score the format cannot hold, so the build never
    ships a file the program would take as damaged."""
    lines = [SCORE_HEADER]
    for word, points in pairs:
        line = "%s\t%d" % (word, points)
        if not (word.isascii() and word.isalpha() and word.isupper()) or not 1 <= points <= 100 \
                or len(line) + 1 > 64:
            raise ValueError("cannot write the score line %r" % line)
        lines.append(line)
    return ("\n".join(lines) + "\n").encode("ascii")
