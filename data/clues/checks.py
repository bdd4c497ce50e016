"""The rules every shipped clue obeys: its text, and what it may not say about
its answer."""

import re

MAX_CLUE = 60

_LETTERS = re.compile(r"[a-z]+")
_SPACES = re.compile(r"\s+")


def tidy(text):
    """One line, single spaces, first letter upper case (also after a leading
    blank: "___ Van Gogh"); None when the text cannot be stored one byte per
    character or is too long."""
    text = _SPACES.sub(" ", text).strip()
    if not text:
        return None
    first = next((i for i, c in enumerate(text) if c.isalpha()), None)
    if first is None:
        return None
    text = text[:first] + text[first].upper() + text[first + 1:]
    if len(text) > MAX_CLUE:
        return None
    try:
        text.encode("latin-1")
    except UnicodeEncodeError:
        return None
    if any(ord(c) < 0x20 or 0x7F <= ord(c) < 0xA0 for c in text):
        return None
    return text


def one_letter_off(a, b):
    """True when a and b differ by one changed, added or removed letter."""
    if a == b:
        return False
    la, lb = len(a), len(b)
    if la == lb:
        return sum(x != y for x, y in zip(a, b)) == 1
    if abs(la - lb) != 1:
        return False
    if la > lb:
        a, b = b, a
    # b is one letter longer: a must be b with one letter removed.
    i = 0
    while i < len(a) and a[i] == b[i]:
        i += 1
    return a[i:] == b[i + 1:]


def gives_away(clue, answer):
    """True when the clue names its answer: a word of the clue is the answer,
    holds it, is held in it, is one letter off it or shares its stem, or the
    clue's letters run together hold it ("Ice cream" for ICECREAM)."""
    answer = answer.lower()
    tokens = _LETTERS.findall(clue.lower())
    if len(answer) >= 4 and answer in "".join(tokens):
        return True
    for token in tokens:
        if token == answer or answer in token and len(answer) >= 3:
            return True
        if len(token) >= 3 and token in answer:
            return True
        if len(token) >= 3 and len(answer) >= 3 and one_letter_off(token, answer):
            return True
        prefix = 0
        for x, y in zip(token, answer):
            if x != y:
                break
            prefix += 1
        if prefix >= 4 and prefix >= min(len(token), len(answer)) - 3:
            return True
    return False
