"""The words kept out of the shipped word lists and clues.

The list (excluded_words.txt) names base forms; a word is excluded when it
is listed or is one of the regular inflections of a listed word that the
usual spelling rules make (plural, -s, -ed, -ing, -er, -ers, -est). The
rules are applied forwards, from the listed word, so JAPES and JAPED (from
JAPE) are not taken for forms of JAP. A form that a longer known, ordinary
word explains better stays: SPICER is SPICE + R, not SPIC + ER.
"""

import os
import re

DEFAULT_PATH = os.path.join(os.path.dirname(os.path.abspath(__file__)), "excluded_words.txt")
# The words that fail the breakfast test, in the same format.
BREAKFAST_PATH = os.path.join(os.path.dirname(os.path.abspath(__file__)), "breakfast_words.txt")

_VOWELS = frozenset("AEIOU")
_SIBILANT_ENDS = ("S", "X", "Z", "CH", "SH")
_ENTRY = re.compile(r"[A-Z]+\Z")
_TOKEN = re.compile(r"[A-Za-z]+")


def read_excluded(path=DEFAULT_PATH):
    """The listed words of an exclusion file, upper-cased. '#' starts a
    comment, blank lines are skipped. Raises ValueError naming the line of
    an entry that is not a single word of letters, so a typo cannot
    silently exclude nothing."""
    words = set()
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            entry = line.split("#", 1)[0].strip().upper()
            if not entry:
                continue
            if not _ENTRY.match(entry):
                raise ValueError("%s:%d: not a single word of letters A-Z: %r"
                                 % (path, number, line.rstrip("\n")))
            words.add(entry)
    return words


def inflections(word):
    """The regular inflections of an upper-case word by the usual spelling
    rules: -s/-es (a final consonant + y to -ies), -ed, -ing, -er, -ers,
    -est, -ings, a final e dropped before a vowel, a final single consonant
    after a single vowel doubled (SHIT: SHITTED, SHITTING; SPAZ: SPAZZES).
    Both the doubled and the plain forms are made, since the rule depends
    on stress (FAGOTED, SHITED are words too)."""
    forms = {word + "S"}
    last = word[-1]
    before = word[-2] if len(word) >= 2 else ""
    if word.endswith(_SIBILANT_ENDS) or (last == "O" and before not in _VOWELS):
        forms.add(word + "ES")
    if last == "Y" and before and before not in _VOWELS:
        stem = word[:-1] + "I"
        forms.update(stem + s for s in ("ES", "ED", "ER", "ERS", "EST"))
        forms.update((word + "ING", word + "INGS"))
        return forms
    if last == "E":
        forms.update(word + s for s in ("D", "R", "RS", "ST"))
        forms.update((word[:-1] + "ING", word[:-1] + "INGS"))
        return forms
    stems = [word]
    if (last not in _VOWELS and last not in "WXY" and before in _VOWELS
            and (len(word) < 3 or word[-3] not in _VOWELS)):
        stems.append(word + last)
        if last in "SZ":
            forms.add(word + last + "ES")  # QUIZZES
    for stem in stems:
        forms.update(stem + s for s in ("ED", "ING", "INGS", "ER", "ERS", "EST"))
    return forms


def bases(word):
    """The words an upper-case word may be a regular inflection of: every
    shorter word whose inflections hold it."""
    found = set()
    for cut in range(1, min(5, len(word) - 1) + 1):
        stem = word[:-cut]
        for base in (stem, stem + "E", stem[:-1] + "Y" if stem.endswith("I") else None):
            if base and len(base) >= 2 and word in inflections(base):
                found.add(base)
    found.discard(word)
    return found


class Exclusion:
    """Answers whether a word, or a clue, is excluded.

    listed: the upper-case words of the exclusion file; known: upper-case
    words that exist (the sources' vocabulary), which decides whether an
    inflection of a listed word is also the inflection of an ordinary word.
    """

    def __init__(self, listed, known=()):
        self.listed = frozenset(listed)  # the file's words, upper case
        self.known = known               # upper-case words of the sources
        self._memo = {}                  # word -> excluded?

    def excludes(self, word):
        """True when the upper-case word is listed or an inflection of a listed word."""
        word = word.upper()
        answer = self._memo.get(word)
        if answer is None:
            answer = self._decide(word)
            self._memo[word] = answer
        return answer

    def _decide(self, word):
        if word in self.listed:
            return True
        found = bases(word)
        listed = [b for b in found if b in self.listed]
        if not listed:
            return False
        # A longer ordinary word explains it better: SPICER is SPICE + R.
        longest = max(len(b) for b in listed)
        return not any(len(b) > longest and b in self.known and not self.excludes(b)
                       for b in found)

    def excluded_word_in(self, text):
        """The first whole word of the text that is excluded, or None.
        Words are runs of letters, so a listed word inside a longer word
        (SCUNTHORPE) does not count, while one between punctuation does."""
        for token in _TOKEN.findall(text):
            if self.excludes(token):
                return token
        return None
