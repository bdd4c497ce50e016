"""Definitions from the GNU Collaborative International Dictionary of English
(Debian's dict-gcide, GPL-2+), for words WordNet lacks.

The dictionary comes in the dictd format: gcide.index holds one line a
headword (the headword, the entry's byte offset and its length in base 64,
tab-separated) and gcide.dict.dz the entries, dictzip-compressed, which gzip
reads. The entries are plain text with the dictionary's own markup:
pronunciations between backslashes, cross-references in braces, accented
letters in brackets ([ae], ['e]), etymologies and usage labels in brackets,
source lines such as [1913 Webster], indented quotations and numbered senses.
"""

import gzip
import os
import re
import unicodedata

from .kinds import GLOSS, SYNONYM, gloss_clue

_BASE64 = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/"
# Senses so marked are no use to a solver today.
_OLD = re.compile(r"\b(?:Obs|Obsolete|Archaic|Obsolescent|not now used)\b", re.IGNORECASE)
# The headwords and their pronunciations: "Academic \Ac`a*dem"ic\, Academical \...\,".
_HEADWORDS = re.compile(r"^(?:[^\\\n]{0,60}\\[^\\]*\\[,\s]*(?:\([^)]*\)[,\s]*)?)+")
_PART_OF_SPEECH = re.compile(r"^(?:(?:[a-z]{1,6}\.|&|or)\s*)+")
_PLURAL = re.compile(r"^;?\s*pl\.\s*(?:-?\{[^}]*\}(?:,?\s*(?:or|&)?\s*)?)+\.?")
_BRACKETS = re.compile(r"\[[^\[\]]*\]")
_LABELS = re.compile(r"^(?:\([^()]*\)\s*)+")
# A dictionary letter such as [ae], ['e], [=a], [c,]: the letters alone
# ([F.] and [R.] are labels: French, rare).
_LETTER = re.compile(r"\[(ae|oe|AE|OE|[`'=\-.^~,\"]+[A-Za-z]|[A-Za-z][`'=\-^~,\"]+)\]")
# Senses that only point at another word's form: "imp. & p. p. of {Smite}".
_FORM_OF = re.compile(r"^(?:imp\.|p\. ?p\.|p\. ?pr\.|pl\.|(?:the )?(?:1st|2d|3d)\b|superl\.|compar\.|(?-i:of)\b|"
                      r"See\b|Same as\b|Alt\. of|Variant of|An? (?:variant|form|spelling) of|"
                      r"(?:A )?combining form|An? (?:prefix|suffix)\b|Fig\.|Lit\.)", re.IGNORECASE)


def _number(text):
    n = 0
    for c in text:
        n = n * 64 + _BASE64.index(c)
    return n


def fold(headword):
    """The upper-case answer a headword is, or None when it is not one word of letters."""
    text = unicodedata.normalize("NFKD", headword)
    text = "".join(c for c in text if not unicodedata.combining(c))
    return text.upper() if text.isascii() and text.isalpha() else None


def _plain(text):
    """The text without the dictionary's markup; None when a letter the
    markup could not give remains (GCIDE writes "?" for Greek)."""
    text = _LETTER.sub(lambda m: re.sub(r"[^A-Za-z]", "", m.group(1)), text)
    while True:
        stripped = _BRACKETS.sub("", text)
        if stripped == text:
            break
        text = stripped
    text = re.sub(r"\{([^{}]*)\}", r"\1", text)
    if re.search(r"[?\\{}\[\]*`|<>]", text):
        return None
    return re.sub(r"\s+", " ", text).strip(" ,;:")


def _first_sentence(text):
    """The sense's definition: up to a citation, a quotation, an example
    ("as, to unstop a bottle") or the end of its first sentence."""
    # "esp.", "e. g.", "i. e." start a loose qualification: the text before it stands.
    text = re.split(r",?\s+(?:(?:esp|e\. ?g|i\. ?e|viz|etc|cf)\.|[Ss]pecifically\b)", text)[0]
    for stop in (" --", '"', "; as,", ": as,", " as, ", ", as "):
        i = text.find(stop)
        if i >= 0:
            text = text[:i]
    match = re.search(r"(?:(?<=[a-z]{3})|(?<=\)))\.(?:\s|$)", text)
    if match:
        text = text[:match.start()]
    return text.strip(" ,;:.")


def sense_clues(sense):
    """(kind, text) of one sense's definition: its short pieces between
    semicolons as synonyms ("Reverent"), its first longer piece cut back as a
    definition would be."""
    if _OLD.search(sense):
        return []
    sense = _LABELS.sub("", sense.strip())
    sense = re.sub(r"^(?:(?:n|a|adj|adv|v|t|i|pron|prep|conj|interj)\.\s+)+(?=\S)", "", sense)
    if _FORM_OF.match(sense) or sense.startswith("{"):
        # A pointer to another form, or the definition of a phrase ("{Logistic logarithms}, ...").
        return []
    text = _plain(_first_sentence(sense))
    if not text or re.search(r"\b(?:pert|pers|sing)\b", text):
        return []  # an abbreviation the cut left ("Lit., of or pert.")
    out = []
    for n, piece in enumerate(p.strip(" ,") for p in text.split(";")):
        if not piece or piece.lower().startswith(("also", "hence", "esp", "sometimes", "often", "originally",
                                                  "used", "--")):
            continue
        short = re.sub(r"^(?:a|an|the|to) ", "", piece, flags=re.IGNORECASE) if " " in piece else piece
        if len(piece.split(" ")) <= 2 and re.fullmatch(r"[A-Za-z' -]+", short):
            out.append((SYNONYM, short))
        elif n == 0:
            # Only the definition proper; a later piece qualifies it
            # ("used for women's dresses").
            clue = gloss_clue(piece)
            if clue:
                out.append((GLOSS, clue))
    return out


def headwords(entry):
    """The upper-case answers an entry defines: the words before its
    pronunciations. The index also points an inflection at its base's entry
    (YOURSELVES at Yourself), whose definitions are not the inflection's."""
    head = _HEADWORDS.match(entry.replace("\n", " "))
    if not head:
        return set()
    return {w for w in (fold(h) for h in re.findall(r"([^\s\\,]+)\s*\\[^\\]*\\", head.group(0))) if w}


def entry_senses(entry):
    """The senses of an entry's text, in order, as plain strings (still
    marked up); none when the whole entry is marked obsolete. A sense starts
    at a numbered line or a new paragraph; quotations, notes, lists of
    synonyms and citations ("--Shak.") are left out."""
    lines = []
    for line in entry.split("\n"):
        if re.fullmatch(r"\s*\[[^\]]*\]\s*", line):
            line = ""  # a source line ends a paragraph
        lines.append(re.sub(r"\s--(?=[A-Z]).*$", "", line))
    segments = []
    for n, paragraph in enumerate(re.split(r"\n\s*\n", "\n".join(lines))):
        if not paragraph.strip():
            continue
        if n and (re.match(r"\s{6,}\S", paragraph) or re.match(r"\s*(?:Note|Syn|Usage)\b", paragraph)):
            continue
        segments.append([])
        for line in paragraph.split("\n"):
            numbered = re.match(r"\s*\d{1,2}\.\s+", line)
            if numbered and segments[-1]:
                segments.append([])
            segments[-1].append(line[numbered.end():] if numbered else line)
    texts = [re.sub(r"\s+", " ", " ".join(s)).strip() for s in segments]
    if not texts:
        return []
    head = _HEADWORDS.sub("", texts[0], count=1).lstrip(" ,")
    for _ in range(3):
        # Labels, parts of speech, plurals and etymologies, in any order:
        # "[capitalized] prop. n. [From ...]".
        head = re.sub(r"^(?:[\s,.]|\([^()]*\))+", "", head)  # a pronunciation: "(p[a^]*s[asl])"
        head = _PLURAL.sub("", _PART_OF_SPEECH.sub("", head)).strip()
        while head.startswith("["):
            depth = 0
            for i, c in enumerate(head):
                depth += (c == "[") - (c == "]")
                if depth == 0:
                    break
            if _OLD.search(head[:i + 1]):
                return []
            head = head[i + 1:].strip()
    head = re.sub(r"^\d{1,2}\.\s+", "", head)
    return [t for t in [head] + texts[1:] if t]


class Gcide:
    """The dictionary's entries by answer; the text is read on the first look-up."""

    def __init__(self, folder="/usr/share/dictd"):
        self.folder = folder
        self.index = {}
        self._text = None
        path = os.path.join(folder, "gcide.index")
        if not os.path.exists(path) or not os.path.exists(os.path.join(folder, "gcide.dict.dz")):
            return
        with open(path, encoding="utf-8", errors="replace") as f:
            for line in f:
                fields = line.rstrip("\n").split("\t")
                if len(fields) < 3 or fields[0].startswith("00-database"):
                    continue
                word = fold(fields[0])
                if word:
                    spot = (_number(fields[1]), _number(fields[2]))
                    spots = self.index.setdefault(word, [])
                    if spot not in spots:
                        spots.append(spot)

    def entries(self, answer):
        """The entry texts of an upper-case answer."""
        spots = self.index.get(answer)
        if not spots:
            return []
        if self._text is None:
            with gzip.open(os.path.join(self.folder, "gcide.dict.dz")) as f:
                self._text = f.read()
        return [self._text[o:o + n].decode("utf-8", "replace") for o, n in spots]

    def clues(self, answer):
        """(rank, kind, text) of an upper-case answer, senses in the
        dictionary's order."""
        out = []
        sense = 0
        for entry in self.entries(answer):
            if answer not in headwords(entry):
                continue
            for text in entry_senses(entry):
                made = sense_clues(text)
                if made:
                    out.extend(((2, 9, sense), kind, clue) for kind, clue in made)
                    sense += 1
        return out
