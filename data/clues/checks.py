"""The rules every shipped clue obeys: its text, and what it may not say about
its answer."""

import os
import re
import unicodedata

MAX_CLUE = 60

_LETTERS = re.compile(r"[a-z]+")
_SPACES = re.compile(r"\s+")
# WordNet's usage notes before a gloss: "(Usually followed by `for')",
# "(Used of texts)", "(Of a voice)". A solver reads them as noise.
_LEADING_NOTE = re.compile(r"^\([^()]{1,40}\)\s+")


def tidy(text):
    """One line, single spaces, WordNet's `quotes' as 'quotes', a leading
    usage note in brackets dropped when two words or more remain, first
    letter upper case (also after leading marks: "'Tis", "...Was"), but a
    clue that opens with a blank or a number keeps the case of what follows
    ("___ accent", "___ Lanka", "44th president"); None when the text cannot
    be stored one byte per character or is too long."""
    # WordNet quotes `like this'; a clue quotes 'like this'.
    text = _SPACES.sub(" ", text.replace("`", "'")).strip()
    note = _LEADING_NOTE.match(text)
    if note and len(text[note.end():].split(" ")) >= 2:
        text = text[note.end():]
    if not text:
        return None
    first = next((i for i, c in enumerate(text) if c.isalpha()), None)
    if first is None:
        return None
    if not text.lstrip("\"'([").startswith(("_",) + tuple("0123456789")):
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


# Short function words that are no part of a longer answer's meaning: "The"
# in a clue for THEREUNDER, "for" for THEREFORE.
_FUNCTION_WORDS = frozenset("the and for but not nor yet".split())


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
        if len(token) >= 3 and token in answer and token not in _FUNCTION_WORDS:
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


# --- the correctness checks ----------------------------------------------------
#
# Each check takes a finished clue text and returns True when the clue fails
# it. failed_check runs them in order and names the first that fails, so the
# build can count what each one drops.

# Words a finished phrase cannot end on: articles, conjunctions, determiners
# and words that need a complement ("intermediate between") end no clue of
# two words or more ("being" does end one: "Mythical being"); prepositions
# end none of four words or more (shorter ones are phrasal verbs: "Give up",
# "Make fun of").
OPEN_ENDS = frozenset("""a an the and or nor its their his her one's my our your is are was were be
been very more most less least not no than that which who whose whom some any such other
e.g. i.e. etc esp usually especially so if but because while whether until unless
intermediate similar equal due according relating pertaining belonging prior capable able
consisting characterized marked resembling""".split())
OPEN_PREPOSITIONS = frozenset("""of to in on at by for with from into onto as between among about over
under through toward towards like""".split())

# Hypernyms too general to tell a solver anything ("Someones", "Kind of entity").
HOLLOW_HEADS = frozenset("""someone someones somebody somebodies person persons individual individuals
soul souls mortal mortals entity entities thing things object objects whole wholes abstraction
abstractions organism organisms kind kinds type types sort sorts""".split())
HOLLOW_PHRASES = frozenset(("natural object", "natural objects", "physical phenomenon", "physical phenomena", "causal agent", "causal agents",
                            "physical entity", "physical object", "physical objects", "living thing",
                            "living things", "human being", "human beings"))

# Verbs too general to clue a narrower one by: PREEMPTING is no "Getting",
# THICKENS no "Changes".
GENERAL_VERBS = frozenset("""be have do make get give take put go come move change act cause use
travel exchange think feel see look let keep hold set turn bring run pass happen remove add
transfer interact communicate perceive""".split())
# The name clues of words no source explains beyond the kind of name.
GENERIC = frozenset(("Girl's name", "Woman's name", "Feminine name", "Name for a daughter",
                     "Boy's name", "Man's name", "Masculine name", "Name for a son",
                     "Family name", "Surname", "Last name", "Name passed down"))

BLANK = "___"
_TOKEN = re.compile(r"[A-Za-z]+(?:'[A-Za-z]+)?")
_SPLIT_BLANK = re.compile(r"[A-Za-z0-9'-]___|___[A-Za-z0-9-]")


def fold(word):
    """Accents folded, lower case: café -> cafe."""
    word = unicodedata.normalize("NFKD", word)
    return "".join(c for c in word if not unicodedata.combining(c)).lower()


def is_generic(text):
    return text in GENERIC


def cut_mid_phrase(text):
    """True when the text stops where a phrase is still open: on an article,
    a preposition, a conjunction or a word that needs a complement, on a
    hyphen, or with a parenthesis left open."""
    if text.count("(") != text.count(")"):
        return True
    stripped = text.rstrip(" ,;:")
    if stripped.endswith("-"):
        return True
    tokens = stripped.split(" ")
    last = tokens[-1].lower().rstrip(".,;:!?") if tokens else ""
    if len(tokens) > 1 and last in OPEN_ENDS:
        return True
    return len(tokens) >= 4 and last in OPEN_PREPOSITIONS


def splits_word(text):
    """True when a blank stands for part of a word: "Un-come-___-able",
    "First-___", "Gell-___"."""
    return bool(_SPLIT_BLANK.search(text))


def thin_blank(text):
    """True when a fill-in-the-blank leaves nothing to solve it by: no other
    word of three letters or more beside the blank."""
    if BLANK not in text:
        return False
    return not any(len(t) >= 3 for t in _TOKEN.findall(text.replace(BLANK, " ")))


def hollow(text):
    """True for a kind-of clue so general that it names nothing: "Someones",
    "Kind of entity", "Physical phenomena"."""
    t = text.lower()
    if t.startswith("kind of "):
        t = t[len("kind of "):]
    return t in HOLLOW_HEADS or t in HOLLOW_PHRASES


def unknown_word(text, known):
    """The first word of a short clue (a synonym or an inflected form, up to
    three words, no blank) that is not in known, or None."""
    if BLANK in text:
        return None
    tokens = _TOKEN.findall(text)
    if len(tokens) > 3:
        return None
    for token in tokens:
        word = token.lower()
        if word not in known and not (word.endswith("'s") and word[:-2] in known):
            return token
    return None


# (name, test) in the order the build applies them. gives_away and the word
# check take more than the text, so failed_check runs them itself.
CHECKS = (("cut mid-phrase", cut_mid_phrase), ("splits a word", splits_word),
          ("blank without context", thin_blank), ("hollow kind", hollow))


def failed_check(text, answer, known=None):
    """The name of the first check the clue fails, or None when it passes."""
    if gives_away(text, answer):
        return "names its answer"
    for name, test in CHECKS:
        if test(text):
            return name
    if known is not None and unknown_word(text, known):
        return "not a word"
    return None


def wordnet_words(folder="/usr/share/wordnet"):
    """Every lower-case word of a WordNet lemma (index files only)."""
    words = set()
    for name in ("noun", "verb", "adj", "adv"):
        path = os.path.join(folder, "index." + name)
        if not os.path.exists(path):
            continue
        with open(path, encoding="latin-1") as f:
            for line in f:
                if not line.startswith(" "):
                    words.update(re.split(r"[_-]", line.split(" ", 1)[0]))
    return words
