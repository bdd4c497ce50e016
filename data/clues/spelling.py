"""Respelling clues for an English variant.

WordNet spells mostly the American way. A word of a clue that SCOWL lists only
for other variants ("color" for a British list) is respelt into the variant's
own spelling when one of the usual spelling changes reaches a word SCOWL lists
for the variant ("colour"); a clue holding a word that cannot be respelt is
dropped.
"""

import os
import re
import unicodedata

SUBCATEGORIES = ("words", "upper", "proper-names")
VARIANTS = ("american", "british", "canadian", "australian")

# Spelling changes between the variants, each tried both ways.
CHANGES = (("or", "our"), ("ize", "ise"), ("yze", "yse"), ("iza", "isa"), ("er", "re"),
           ("l", "ll"), ("og", "ogue"), ("ense", "ence"), ("e", "ae"), ("e", "oe"),
           ("ay", "ey"), ("ire", "yre"), ("ow", "ough"), ("eck", "eque"), ("um", "ium"),
           ("am", "amme"), ("ry", "lery"), ("o", "ou"), ("i", "e"), ("y", "i"), ("k", "que"))

_WORD = re.compile(r"[A-Za-z]+")


def fold(word):
    word = unicodedata.normalize("NFKD", word)
    return "".join(c for c in word if not unicodedata.combining(c)).lower()


def read_scowl(folder, subcategories=SUBCATEGORIES):
    """(category, sub-category) ("british", "words") -> lower-case words."""
    categories = {}
    for name in sorted(os.listdir(folder)):
        base, _, level = name.rpartition(".")
        category, _, sub = base.partition("-")
        if sub not in subcategories or not level.isdigit():
            continue
        words = categories.setdefault((category, sub), set())
        with open(os.path.join(folder, name), encoding="latin-1") as f:
            for line in f:
                w = fold(line.strip())
                if w.isalpha():
                    words.add(w)
    return categories


def _edits(word):
    for a, b in CHANGES:
        for old, new in ((a, b), (b, a)):
            start = word.find(old)
            while start >= 0:
                yield word[:start] + new + word[start + len(old):]
                start = word.find(old, start + 1)


class Speller:
    def __init__(self, scowl, variant):
        """scowl: read_scowl's table; only the common words (not names) tell
        one variant's spelling from another's."""
        words = {c: w for (c, sub), w in scowl.items() if sub == "words"}
        self.own = words.get("english", set()) | words.get(variant, set())
        others = set()
        for category, w in words.items():
            if category != "english" and category != variant:
                others |= w
        self.foreign = others - self.own
        # Words spelt the variant's own way (the targets of a respelling).
        self.marked = words.get(variant, set())
        # Names every variant spells alike (Niger, the river and the country):
        # a capitalised word inside a clue that is one of them is a name and
        # keeps its spelling, even where a rare lower-case word shares it.
        self.names = set()
        for (category, sub), w in scowl.items():
            if sub != "words" and category in ("english", variant):
                self.names |= w
        self.cache = {}

    def respell_word(self, word):
        """The variant's spelling of a lower-case word; the word itself when it is
        not a spelling of another variant; None when it cannot be respelt."""
        if word in self.own or word not in self.foreign:
            return word
        if word in self.cache:
            return self.cache[word]
        found = sorted({e for e in _edits(word) if e in self.marked})
        if not found:
            found = sorted({e2 for e in _edits(word) for e2 in _edits(e) if e2 in self.marked})
        result = found[0] if found else None
        self.cache[word] = result
        return result

    def respell(self, text):
        """The clue in the variant's spelling, or None when a word cannot be respelt."""
        if self.foreign.isdisjoint(_WORD.findall(text.lower())):
            return text
        failed = False

        def replace(match):
            nonlocal failed
            original = match.group(0)
            # The first word is capitalised anyway ("Color of ..."): only a
            # capital later in the clue marks a name.
            if match.start() > 0 and original[0].isupper() and original.lower() in self.names:
                return original
            new = self.respell_word(original.lower())
            if new is None:
                failed = True
                return original
            if new == original.lower():
                return original
            if original[0].isupper():
                new = new[0].upper() + new[1:]
            return new

        result = _WORD.sub(replace, text)
        return None if failed else result
