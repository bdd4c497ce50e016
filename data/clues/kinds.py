"""The kinds of clue made from WordNet, and the choice of at most ten a word.

Every candidate carries a sense rank (the order of the answer's senses, most
frequent first) and a kind order, so a word's clues come out with its common
senses first and the same input always gives the same clues.
"""

import re

from . import checks
from .checks import GENERAL_VERBS, MAX_CLUE, gives_away, tidy
from .derive import Deriver
from .names import name_clues

MAX_CLUES = 10
MAX_SENSES = 12

# Kind orders inside one sense: the crossword-like ones first.
SYNONYM, GLOSS, BLANK, FRAME, HYPERNYM, ANTONYM, PERTAINYM, HOLONYM, PHRASE, DERIVED, NAME = range(11)
# First words of a definition that "More" and "Most" cannot go before.
_NOT_COMPARED = {"not", "the", "a", "an", "being", "having", "of", "in", "capable", "able", "without",
                 "lacking", "full", "relating", "pertaining", "characterized", "marked", "one", "any"}
# Words after the head of a noun definition ("reptile having a long snout").
_HEAD_ENDS = {"that", "which", "who", "whose", "with", "of", "in", "for", "from", "by", "on", "at",
              "to", "as", "used", "having", "made", "especially", "usually", "or", "and", "into",
              "containing", "consisting", "resembling", "between", "without", "when", "where"}

# A gloss or a sentence may be cut back before one of these words, where a
# clause or a loose qualification starts, keeping the phrase before it; a
# preposition is no such boundary ("intermediate | between white and black").
_CUT_BEFORE = {"that", "which", "who", "whose", "especially", "usually", "often", "typically",
               "when", "where", "while", "because", "since", "although", "though", "unless",
               "until", "whereas"}
# A cut phrase may not hold an opened clause.
_CLAUSE = {"that", "which", "who", "whose", "whom", "where", "when", "if", "because", "and", "or",
           "but", "than", "so", "while", "whether", "until", "unless", "such"}
# A cut phrase may not end on one of these words.
_BAD_END = {"a", "an", "the", "of", "to", "and", "or", "in", "on", "at", "by", "for", "with",
            "its", "their", "his", "her", "one's", "being", "is", "are", "be", "very", "more",
            "most", "not", "no", "as", "than", "from", "into", "that", "which", "some", "any",
            "such", "other", "e.g.", "i.e.", "etc", "esp", "usually", "especially", "so"}
# Kinds two steps up that are too vague to clue by.
_VAGUE_KINDS = frozenset("""artifact artefact process quality attribute act event state matter
relation communication group abstraction instrumentality measure""".split())
_LEADING_LABEL = re.compile(r"^\((?:[A-Za-z]+(?: [A-Za-z]+)?)\)\s*")
_WORD = re.compile(r"[A-Za-z]+(?:'[A-Za-z]+)?")


def _balanced(text):
    return text.count("(") == text.count(")")


def gloss_clue(definition):
    """The definition as a clue: a leading usage label and article dropped,
    cut back at a phrase boundary when it is too long."""
    text = _LEADING_LABEL.sub("", definition.strip())
    text = re.sub(r"^(a|an) ", "", text)
    text = text.strip(" ,:")
    if not text:
        return None
    if len(text) <= MAX_CLUE and _balanced(text):
        return text
    words = text.split(" ")
    best = None
    length = -1
    for i, w in enumerate(words):
        if length + 1 + len(w) > MAX_CLUE:
            break
        length += 1 + len(w)
        nxt = words[i + 1] if i + 1 < len(words) else ""
        prefix = " ".join(words[:i + 1])
        boundary = w.endswith(",") or nxt.lower() in _CUT_BEFORE or nxt.startswith("(")
        if w.lower().strip(",") in _CLAUSE:
            break
        if boundary and i >= 2:
            prefix = prefix.rstrip(",")
            if prefix.split(" ")[-1].lower() not in _BAD_END and _balanced(prefix) \
                    and not checks.cut_mid_phrase(prefix):
                best = prefix
    return best


def _clause_starts(words):
    """Indexes where a clause of the sentence may be taken to start: after a
    comma, semicolon or colon (a relative clause cut from its noun would
    lose its subject)."""
    return [0] + [j for j in range(1, len(words)) if words[j - 1][-1:] in ",;:"]


def _clause_ends(words):
    """Indexes (exclusive) where the sentence may be cut after a clause."""
    return [j for j in range(1, len(words))
            if words[j - 1][-1:] in ",;:" or words[j].lower() in _CUT_BEFORE] + [len(words)]


def blank_clue(sentence, answer):
    """A fill-in-the-blank from a sentence holding the answer as a word: the
    whole sentence, or when it is too long the longest run of its clauses
    around the blank that fits. A sentence whose clause around the blank is
    too long gives no clue, and neither does one that leaves too little
    beside the blank to solve it by, or whose blank would split a hyphenated
    word."""
    sentence = sentence.strip().rstrip(".!?;,").strip()
    words = sentence.split(" ")
    target = answer.lower()
    spots = [i for i, w in enumerate(words) if re.sub(r"[^a-z]", "", w.lower()) == target
             and re.fullmatch(r"[A-Za-z]+[,.;:!?]?", w)]
    if len(spots) != 1:
        return None
    i = spots[0]
    tail = words[i][len(answer):]
    words = words[:i] + ["___" + tail] + words[i + 1:]
    best = " ".join(words).strip(" ,;:")
    if len(best) > MAX_CLUE:
        best = None
        for lo in (j for j in _clause_starts(words) if j <= i):
            for hi in (j for j in _clause_ends(words) if j > i):
                text = " ".join(words[lo:hi]).strip(" ,;:")
                if len(text) <= MAX_CLUE and (best is None or len(text) > len(best)):
                    best = text
    if best is None or len(_WORD.findall(best.replace("___", ""))) < 2:
        return None
    if checks.thin_blank(best) or checks.splits_word(best) or checks.cut_mid_phrase(best):
        return None
    return best


class ClueMaker:
    def __init__(self, wordnet, morphology, names=None, common=None, proper=frozenset()):
        """names: read_names's table; common: lower-case common words, which
        get no name clue ("Will" is a name, WILL a word); proper: upper-case
        words known only as names."""
        self.proper = proper
        self.names = names or {}
        self.common = common
        self.wn = wordnet
        self.morph = morphology
        self.deriver = Deriver(wordnet, morphology)
        # Every example sentence by each lower-case word it holds, so any word
        # can be blanked out of any sentence of the database.
        # Sentences of offensive senses are left out: a blank made from one
        # would show the slur or the obscene use around another answer.
        self.examples_by_word = {}
        for synset in self._synsets_in_order():
            if synset.offensive:
                continue
            for example in synset.examples:
                for token in set(re.findall(r"[a-z]+", example.lower())):
                    self.examples_by_word.setdefault(token, []).append(example)

        # Every definition by each word it holds: a last source of blanks.
        self.definitions_by_word = {}
        for synset in self._synsets_in_order():
            if synset.offensive or not synset.definitions:
                continue
            definition = synset.definitions[0]
            for token in set(re.findall(r"[a-z]+", definition.lower())):
                self.definitions_by_word.setdefault(token, []).append(definition)
        # Every lemma of several words by each of its words, for "___ van Gogh".
        self.phrases_by_word = {}
        for synset in self._synsets_in_order():
            if synset.offensive:
                continue
            for lemma in synset.lemmas:
                parts = re.split(r"[ -]", lemma)
                if len(parts) < 2:
                    continue
                for part in set(p.lower() for p in parts):
                    if part.isalpha():
                        self.phrases_by_word.setdefault(part, []).append(lemma)

    def _synsets_in_order(self):
        return (self.wn.synsets[k] for k in sorted(self.wn.synsets))

    @staticmethod
    def _head(synset):
        """The lemma that names a synset in a clue."""
        return synset.lemmas[0]

    def _lemma_index(self, synset, lemma):
        for i, l in enumerate(synset.lemmas, 1):
            if l.lower() == lemma:
                return i
        return 0

    def _sense_clues(self, lemma, synset):
        """(kind, text) of one sense of a lemma."""
        out = []
        own = self._lemma_index(synset, lemma)
        for other in synset.lemmas:
            if other.lower() != lemma:
                out.append((SYNONYM, other))
        if synset.definitions:
            text = gloss_clue(synset.definitions[0])
            if text:
                out.append((GLOSS, text))
        for example in synset.examples:
            text = blank_clue(example, lemma)
            if text:
                out.append((BLANK, text))
        if synset.pos == "v":
            for frame in self.wn.verb_sentences.get((lemma, synset.key), ()):
                out.append((FRAME, frame.replace("%s", "___")))
        for symbol, target, source, target_index in synset.pointers:
            if source not in (0, own):
                continue
            other = self.wn.synsets.get(target)
            if other is None or other.offensive:
                continue
            name = other.lemmas[target_index - 1] if target_index else self._head(other)
            if symbol == "@" and synset.pos == "n":
                out.append((HYPERNYM, "Kind of " + name))
            elif symbol == "@" and synset.pos == "v" and name.lower() not in GENERAL_VERBS:
                out.append((HYPERNYM, name))  # SCYTHE: "Mow"
            elif symbol == "&" and synset.pos == "a":
                out.append((HYPERNYM, name))  # similar adjectives: HILLY "Craggy"
            elif symbol == "@i":
                out.append((HYPERNYM, name))
                # A named individual in the crossword style, its kind before
                # its full name: "Painter Mary ___", "Statesman Golda ___".
                # The fullest name: "Peter Paul ___" rather than "von ___".
                names = [full.split(" ") for full in synset.lemmas]
                names = [p for p in names if len(p) >= 2 and p[-1].lower() == lemma and p[0][0].isupper()]
                if names and " " not in name:
                    parts = max(names, key=len)
                    out.append((PHRASE, " ".join([name] + parts[:-1] + ["___"])))
            elif symbol == "!":
                out.append((ANTONYM, "Opposite of " + name))
            elif symbol == "\\" and synset.pos == "a":
                out.append((PERTAINYM, "Relating to " + name))
            elif symbol in ("#p", "#m") and synset.pos == "n":
                out.append((HOLONYM, ("Part of " if symbol == "#p" else "Member of ") + name))
        return out

    def _inflected_gloss(self, synset, form):
        """The definition of a sense, inflected for an answer in the given form:
        a verb definition on its first word ("exchange goods" -> "Exchanged
        goods"), a noun definition on its head, cut after it ("reptiles"), an
        adjective's with "More" or "Most"."""
        if not synset.definitions:
            return None
        text = gloss_clue(synset.definitions[0])
        if not text:
            return None
        words = text.split(" ")
        if synset.pos == "v":
            if len(words) > 1 and words[1] in ("or", "and", "and/or"):
                return None
            first = self.morph.inflect(words[0], "v", form) if words[0].isalpha() else None
            return " ".join([first] + words[1:]) if first else None
        if synset.pos == "n":
            end = len(words)
            for i, w in enumerate(words):
                if i and (w.lower() in _HEAD_ENDS or w.endswith(("ing", "ed")) or "(" in w):
                    end = i
                    break
            if words[0].lower() == "the":
                return None  # a unique thing has no plural
            head = words[end - 1]
            if not head.isalpha() or words[end - 2:end - 1] in (["or"], ["and"]):
                return None
            plural = self.morph.inflect(head, "n", form)
            return " ".join(words[:end - 1] + [plural]) if plural else None
        if synset.pos == "a" and form in ("er", "est"):
            first = words[0].lower()
            if first in _NOT_COMPARED or first.endswith(("ed", "ing")) or not self.wn.has_lemma(first, "a"):
                return None
            return ("More " if form == "er" else "Most ") + text
        return None

    def _inflected_clues(self, lemma, synset, form):
        """(kind, text) of one sense of a lemma, for the answer that inflects it."""
        out = []
        text = self._inflected_gloss(synset, form)
        if text:
            out.append((GLOSS, text))
        for other in synset.lemmas:
            if other.lower() == lemma:
                continue
            inflected = self.morph.inflect(other, synset.pos, form)
            if inflected:
                out.append((SYNONYM, inflected))
            elif synset.pos == "a" and form in ("er", "est"):
                out.append((SYNONYM, ("More " if form == "er" else "Most ") + other))
        for symbol, target, source, _ in synset.pointers:
            if source != 0 or (symbol, synset.pos) not in (("@", "n"), ("@", "v"), ("&", "a")):
                continue
            other = self.wn.synsets.get(target)
            if other is None or other.offensive:
                continue
            head = self._head(other)
            if synset.pos == "v" and head.lower() in GENERAL_VERBS:
                continue
            inflected = self.morph.inflect(head, synset.pos, form)
            if inflected:
                out.append((HYPERNYM, inflected))  # SCYTHED: "Mowed"
            elif synset.pos == "a" and form in ("er", "est") and " " not in head:
                out.append((HYPERNYM, ("More " if form == "er" else "Most ") + head))
        return out

    def _misspelt_sense(self, word, synset):
        """True when the word is known only as a name (SCOWL spells it only
        with a capital) while this sense lists it in lower case: EDDA, the
        Norse poems, which WordNet also lists among the names of taro (that
        is EDDO)."""
        return word.upper() in self.proper and any(l == word for l in synset.lemmas)

    def candidates(self, answer):
        """Every clue candidate of an upper-case answer as (rank, kind, text),
        the rank ordering the senses, before the answer checks."""
        word = answer.lower()
        found = []
        # Ten clues rarely reach past a word's first dozen senses.
        for rank, synset in self.wn.senses(word)[:MAX_SENSES]:
            if synset.offensive or self._misspelt_sense(word, synset):
                continue
            for kind, text in self._sense_clues(word, synset):
                found.append(((0,) + rank, kind, text))
        for lemma, pos, form in self.morph.lemmas(word):
            form = self.morph.clue_form(word, lemma, form)  # SHOPLIFTED: "Stole"; STOLEN: "Taken"
            for rank, synset in self.wn.senses(lemma, pos)[:MAX_SENSES]:
                if synset.offensive:
                    continue
                for kind, text in self._inflected_clues(lemma, synset, form):
                    found.append(((1,) + rank, kind, text))
        phrases = 0
        for phrase in self.phrases_by_word.get(word, ()):
            parts = re.split(r"([ -])", phrase)
            spots = [i for i, p in enumerate(parts) if p.lower() == word]
            if len(spots) == 1:
                parts[spots[0]] = "___"
                found.append(((2, 0, phrases), PHRASE, "".join(parts)))
                phrases += 1
                if phrases == MAX_CLUES:
                    break
        blanks = 0
        for example in self.examples_by_word.get(word, ()):
            text = blank_clue(example, word)
            if text:
                found.append(((2, 1, blanks), BLANK, text))
                blanks += 1
                if blanks == MAX_CLUES:
                    break
        return found

    def _broader_kinds(self, word):
        """The kinds two steps up of a noun (or its plural) whose own kind
        names it: NOVELLA is a novel, so "Kind of fiction"; IGUANAS are
        iguanids, so "Lizards". A verb takes its hypernym's hypernym the same
        way (SKYROCKETED, rocketed: "Rose")."""
        out = []
        ways = [(word, pos, "") for pos in ("n", "v")] + [(l, p, self.morph.clue_form(word, l, f))
                                                          for l, p, f in self.morph.lemmas(word) if p in ("n", "v")]
        for lemma, pos, form in ways:
            for _, synset in self.wn.senses(lemma, pos)[:3]:
                if synset.offensive or self._misspelt_sense(lemma, synset):
                    continue
                for symbol, target, source, _ in synset.pointers:
                    parent = self.wn.synsets.get(target)
                    if symbol != "@" or source != 0 or parent is None or parent.offensive:
                        continue
                    if not gives_away(self._head(parent), word):
                        continue  # the direct kind serves, when it passes
                    for symbol2, target2, source2, _ in parent.pointers:
                        grand = self.wn.synsets.get(target2)
                        if symbol2 != "@" or source2 != 0 or grand is None or grand.offensive:
                            continue
                        head = self._head(grand)
                        if pos == "v" and head.lower() in GENERAL_VERBS or head.lower() in _VAGUE_KINDS \
                                or form and head.endswith("ing"):
                            continue  # "Kind of artifact"; no "Decision makings"
                        if not form:
                            out.append("Kind of " + head if pos == "n" else head)
                        else:
                            made = self.morph.inflect(head, pos, form)
                            if made:
                                out.append(made)
        return out

    def fallback(self, answer):
        """Clues for when no other clue passes: from a WordNet word the answer is
        made of, a blank in a definition, or the kind of name it is."""
        word = answer.lower()
        found = [((3, order), DERIVED, text) for order, text in self.deriver.clues(word)]
        found += [((4, -1, n), HYPERNYM, text) for n, text in enumerate(self._broader_kinds(word))]
        blanks = 0
        for definition in self.definitions_by_word.get(word, ()):
            text = blank_clue(definition, word)
            if text:
                found.append(((4, blanks), BLANK, text))
                blanks += 1
                if blanks == MAX_CLUES:
                    break
        if self.common is None or word not in self.common:
            for n, text in enumerate(name_clues(self.names, answer)):
                found.append(((5, n), NAME, text))
        return found


# Kinds whose every word must be a word of the list or of WordNet: the ones
# made by putting a WordNet word into another form.
_WORD_CHECKED = (SYNONYM, HYPERNYM)


def check(rank, kind, text, answer, known=None):
    """The name of the first correctness check a finished clue fails, or None."""
    if gives_away(text, answer):
        return "names its answer"
    for name, test in checks.CHECKS:
        if test(text):
            return name
    if known is not None and (kind in _WORD_CHECKED or rank[0] == 1) and checks.unknown_word(text, known):
        return "not a word"
    return None


def choose(candidates, answer, respell=None, reject=None, known=None, dropped=None, with_kinds=False):
    """At most ten clues for the answer: those that pass the checks, one text
    once, the first sense given up to three clues and the second up to two on
    each pass over the senses, then ordered by sense and kind. reject, when
    given, is called with each finished clue text and drops it when true;
    known (lower-case words) enables the word check; dropped, a Counter,
    counts the clues each check drops; with_kinds gives (kind, text) pairs."""
    # Inside a sense the kinds take turns: first synonym, gloss, blank, ...,
    # then the second synonym and so on.
    turn = {}
    ordered = []
    for n, (rank, kind, text) in enumerate(candidates):
        i = turn.get((rank, kind), 0)
        turn[(rank, kind)] = i + 1
        ordered.append(((rank, i, kind, n), rank, kind, text))
    ordered.sort(key=lambda c: c[0])
    by_sense = {}
    seen = set()
    for _, rank, kind, text in ordered:
        clues = by_sense.get(rank)
        if clues is None:
            if len(by_sense) >= MAX_CLUES and all(by_sense.values()):
                break  # later senses cannot be reached
            clues = by_sense[rank] = []
        if len(clues) >= MAX_CLUES:
            continue
        if respell is not None:
            text = respell(text)
            if text is None:
                continue
        text = tidy(text)
        if text is None:
            continue
        failed = check(rank, kind, text, answer, known)
        if failed:
            if dropped is not None:
                dropped[failed] += 1
            continue
        if reject is not None and reject(text):
            if dropped is not None:
                dropped["excluded word"] += 1
            continue
        key = text.lower()
        if key in seen:
            continue
        seen.add(key)
        clues.append((kind, text))
    ranks = [r for r in sorted(by_sense) if by_sense[r]]
    taken = {r: 0 for r in ranks}
    total = 0
    while total < MAX_CLUES:
        progress = False
        for position, r in enumerate(ranks):
            quota = 3 if position == 0 else 2 if position == 1 else 1
            while taken[r] < len(by_sense[r]) and quota and total < MAX_CLUES:
                taken[r] += 1
                total += 1
                quota -= 1
                progress = True
        if not progress:
            break
    chosen = []
    for r in ranks:
        chosen.extend(by_sense[r][:taken[r]])
    return chosen if with_kinds else [text for _, text in chosen]
