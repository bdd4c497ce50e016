"""Reader of the WordNet 3 database files (data.*, index.*, *.exc, cntlist.rev,
sents.vrb, sentidx.vrb).

Only what the clue generator needs is kept: for every synset its lemmas, its
pointers, its definitions and its example sentences; for every lemma its senses
in WordNet's order; the exception lists of the morphology; the tag counts that
rank senses across parts of speech; and the verb example frames.
"""

import os
import re

POS_FILES = (("n", "noun"), ("v", "verb"), ("a", "adj"), ("r", "adv"))

# Synsets that mark a sense as offensive when a usage-domain pointer (";u")
# leads to them. Found by their lemmas, so the offsets need not be hard-coded.
OFFENSIVE_USAGE_LEMMAS = ("obscenity", "disparagement", "ethnic_slur")

# Words of a definition that mark the sense itself as an insult or an obscenity
# even where WordNet gives no usage pointer ("offensive term for ...").
# "Offensive" also describes attacks, smells and what offends ("the offensive
# team", "offensive breath" for HALITOSIS, "offensive to good taste" for
# INDECENT): those uses mark nothing.
OFFENSIVE_GLOSS = re.compile(
    r"\b(offensive(?! (?:team|back|end|line|lineman|play|unit|halfback|football|odor|odour|smell|breath|"
    r"matter|weapon|weapons|action|attack|operation|to|manner|or|and)\b)|obscene|vulgar|derogatory|"
    r"disparaging|slur)\b", re.IGNORECASE)

_QUOTED = re.compile(r'"([^"]*)"')
_ADJ_MARKER = re.compile(r"\((a|p|ip)\)$")


class Synset:
    __slots__ = ("key", "pos", "lemmas", "pointers", "definitions", "examples", "offensive")

    def __init__(self, key, pos, lemmas, pointers, definitions, examples):
        self.key = key                  # (pos letter, offset)
        self.pos = pos                  # n, v, a (satellites included) or r
        self.lemmas = lemmas            # display forms, spaces for underscores
        self.pointers = pointers        # list of (symbol, target key, source index, target index)
        self.definitions = definitions  # the definition clauses, examples removed
        self.examples = examples        # the quoted example sentences
        self.offensive = False


def _split_gloss(gloss):
    """Splits a gloss into its definition clauses and its quoted examples."""
    examples = [e.strip() for e in _QUOTED.findall(gloss)]
    rest = _QUOTED.sub("", gloss)
    definitions = []
    depth = 0
    start = 0
    for i, c in enumerate(rest):
        if c == "(":
            depth += 1
        elif c == ")":
            depth = max(0, depth - 1)
        elif c == ";" and depth == 0:
            definitions.append(rest[start:i])
            start = i + 1
    definitions.append(rest[start:])
    definitions = [d.strip(" ;,") for d in definitions]
    return [d for d in definitions if d], [e for e in examples if e]


def _display(word):
    return _ADJ_MARKER.sub("", word).replace("_", " ")


class WordNet:
    def __init__(self, folder):
        self.folder = folder
        self.synsets = {}      # (pos, offset) -> Synset
        self.index = {}        # lower-case lemma -> list of (pos, [offsets in sense order])
        self.exceptions = {}   # pos -> {inflected: [base, ...]}
        self.tag_counts = {}   # (lemma, pos, sense number) -> tag count
        self.verb_sentences = {}  # (lemma, synset key) -> [sentence with %s]
        for pos, name in POS_FILES:
            self._read_data(pos, os.path.join(folder, "data." + name))
            self._read_index(pos, os.path.join(folder, "index." + name))
            self._read_exceptions(pos, os.path.join(folder, name + ".exc"))
        self._read_counts(os.path.join(folder, "cntlist.rev"))
        self._read_verb_sentences(folder)
        self._mark_offensive()

    # --- reading ---------------------------------------------------------------

    def _read_data(self, pos, path):
        with open(path, encoding="latin-1") as f:
            for line in f:
                if line.startswith(" "):
                    continue  # licence header
                head, _, gloss = line.partition(" | ")
                fields = head.split()
                offset = int(fields[0])
                count = int(fields[3], 16)
                lemmas = []
                i = 4
                for _ in range(count):
                    lemmas.append(_display(fields[i]))
                    i += 2
                pcount = int(fields[i])
                i += 1
                pointers = []
                for _ in range(pcount):
                    symbol, target, tpos, st = fields[i:i + 4]
                    tpos = "a" if tpos == "s" else tpos
                    pointers.append((symbol, (tpos, int(target)), int(st[:2], 16), int(st[2:], 16)))
                    i += 4
                definitions, examples = _split_gloss(gloss.strip())
                key = (pos, offset)
                self.synsets[key] = Synset(key, pos, lemmas, pointers, definitions, examples)

    def _read_index(self, pos, path):
        with open(path, encoding="latin-1") as f:
            for line in f:
                if line.startswith(" "):
                    continue
                fields = line.split()
                lemma = fields[0]
                synset_count = int(fields[2])
                pointer_count = int(fields[3])
                offsets = [int(o) for o in fields[6 + pointer_count:6 + pointer_count + synset_count]]
                self.index.setdefault(lemma, []).append((pos, offsets))

    def _read_exceptions(self, pos, path):
        table = {}
        if os.path.exists(path):
            with open(path, encoding="latin-1") as f:
                for line in f:
                    fields = line.split()
                    if len(fields) >= 2:
                        table.setdefault(fields[0], []).extend(fields[1:])
        self.exceptions[pos] = table

    def _read_counts(self, path):
        ss_pos = {"1": "n", "2": "v", "3": "a", "4": "r", "5": "a"}
        if not os.path.exists(path):
            return
        with open(path, encoding="latin-1") as f:
            for line in f:
                fields = line.split()
                if len(fields) != 3:
                    continue
                key, number, count = fields
                lemma, _, rest = key.partition("%")
                pos = ss_pos.get(rest[:1])
                if pos:
                    k = (lemma.lower(), pos, int(number))
                    self.tag_counts[k] = self.tag_counts.get(k, 0) + int(count)

    def _read_verb_sentences(self, folder):
        sents_path = os.path.join(folder, "sents.vrb")
        index_path = os.path.join(folder, "sentidx.vrb")
        if not (os.path.exists(sents_path) and os.path.exists(index_path)):
            return
        sentences = {}
        with open(sents_path, encoding="latin-1") as f:
            for line in f:
                number, _, text = line.strip().partition(" ")
                sentences[number] = text
        # A sense key names its synset by lexicographer file and lex id; map
        # (lemma, lex file, lex id) to the verb synsets that hold that lemma.
        by_sense = {}
        with open(os.path.join(folder, "data.verb"), encoding="latin-1") as f:
            for line in f:
                if line.startswith(" "):
                    continue
                fields = line.split(" | ")[0].split()
                lexfile = int(fields[1])
                count = int(fields[3], 16)
                for j in range(count):
                    word = fields[4 + 2 * j].lower()
                    lex_id = int(fields[5 + 2 * j], 16)
                    by_sense[(word, lexfile, lex_id)] = ("v", int(fields[0]))
        with open(index_path, encoding="latin-1") as f:
            for line in f:
                fields = line.split()
                if len(fields) != 2:
                    continue
                lemma, _, rest = fields[0].partition("%")
                parts = rest.split(":")
                try:
                    key = by_sense.get((lemma, int(parts[1]), int(parts[2])))
                except (IndexError, ValueError):
                    continue
                if key is None:
                    continue
                texts = [sentences[n] for n in fields[1].split(",") if n in sentences]
                self.verb_sentences.setdefault((lemma, key), []).extend(texts)

    def _mark_offensive(self):
        targets = set()
        for lemma in OFFENSIVE_USAGE_LEMMAS:
            for pos, offsets in self.index.get(lemma, []):
                if pos == "n":
                    targets.update(("n", o) for o in offsets)
        for synset in self.synsets.values():
            if any(p[0] == ";u" and p[1] in targets for p in synset.pointers):
                synset.offensive = True
            elif synset.definitions and OFFENSIVE_GLOSS.search(synset.definitions[0]):
                synset.offensive = True

    # --- queries ---------------------------------------------------------------

    def senses(self, lemma, pos=None):
        """The senses of a lemma as (rank, Synset), most frequent first.

        The rank orders senses across parts of speech: by tag count, then by
        WordNet's sense number within each part of speech."""
        result = []
        lemma = lemma.lower()
        for p, offsets in self.index.get(lemma, []):
            if pos is not None and p != pos:
                continue
            for number, offset in enumerate(offsets, 1):
                count = self.tag_counts.get((lemma, p, number), 0)
                result.append(((-count, number, "nvar".index(p)), self.synsets[(p, offset)]))
        result.sort(key=lambda r: r[0])
        return result

    def has_lemma(self, lemma, pos=None):
        entries = self.index.get(lemma.lower(), [])
        return any(pos is None or p == pos for p, _ in entries)
