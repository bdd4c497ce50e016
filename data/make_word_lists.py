#!/usr/bin/env python3
"""Builds the five shipped word lists data1.bin ... data5.bin.

Sources: the SCOWL word lists (Debian package scowl, /usr/share/dict/scowl)
and WordNet 3.0 (Debian package wordnet-base, /usr/share/wordnet).

Variants, by file number:
  1 United States   SCOWL categories english + american
  2 United Kingdom  english + british
  3 Canada          english + canadian
  4 Australia       english + australian
  5 India           the United Kingdom list plus the english/british entries
                    up to a higher level whose WordNet gloss names India, its
                    languages, regions, religions or customs

From each category only the sub-categories words, upper and proper-names are
taken (never abbreviations, contractions or the variant_N spellings), at
size levels up to the chosen level (default 60). Every entry has its accents
folded (cafe with an acute accent becomes CAFE), is upper-cased, and is kept
only if it then consists of 2 to 21 letters A-Z, so possessives and phrases
drop out. Words all of whose WordNet senses carry a usage label of
obscenity, vulgarism, disparagement or ethnic slur are left out; a word with
some ordinary sense stays. The words are de-duplicated and written in
alphabetical order, so the same sources always give the same bytes.
The words of excluded_words.txt (slurs and the strongest obscenities, which
WordNet's labels miss when the word has an ordinary sense too) and their
inflections are left out of every list.

File format: each letter byte XOR 0x3B, each word followed by one 0x3B byte;
no header. With --text the lists are also written as plain text, one word a
line (LF), as words1.txt ... words5.txt.
"""

import argparse
import hashlib
import os
import re
import sys
import tempfile
import unicodedata

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import exclusions  # noqa: E402

KEY = 0x3B
MIN_LENGTH = 2
MAX_LENGTH = 21

# File number -> the SCOWL category that joins "english".
VARIANTS = {1: "american", 2: "british", 3: "canadian", 4: "australian"}
INDIA = 5
INDIA_BASE = 2  # India starts from the United Kingdom list (-ise spellings)
SUBCATEGORIES = ("words", "upper", "proper-names")

# A gloss that names one of these marks an entry as Indian English.
INDIA_TERMS = (
    "India", "Indian", "Indians", "Hindu", "Hindus", "Hinduism", "Hindi",
    "Hindustan", "Hindustani", "Sanskrit", "Prakrit", "Indic", "Bengal",
    "Bengali", "Tamil", "Urdu", "Punjab", "Punjabi", "Kashmir", "Kashmiri",
    "Gujarat", "Gujarati", "Marathi", "Telugu", "Kannada", "Malayalam",
    "Dravidian", "Sikh", "Sikhs", "Sikhism", "Jain", "Jains", "Jainism",
    "Jainist", "Mogul", "Mughal", "Mughals", "Rajput", "Bombay", "Calcutta",
    "Delhi", "Madras", "Assam", "Deccan", "Bihar", "Orissa", "Kerala",
    "Rajasthan", "Mysore", "Goa", "Hyderabad", "Maharashtra", "Karnataka",
    "Veda", "Vedas", "Vedic", "Vedism", "Brahman", "Brahmin", "Brahmanism",
    "Ganges", "Parsi", "Parsee", "caste", "castes", "Siva", "Shiva", "Vishnu",
    "Krishna", "Devi", "Gandhi",
)
# Uses of "Indian" that are not about India.
INDIA_EXCLUDED = ("American Indian", "West Indian", "Indian corn",
                  "Indian Ocean", "Indian summer", "Indian file")

# Head words of the WordNet usage domains that mark a sense as offensive.
OFFENSIVE_DOMAINS = ("obscenity", "vulgarism", "vulgarity", "disparagement",
                     "derogation", "ethnic_slur")

WORDNET_POS = ("noun", "verb", "adj", "adv")

# WordNet's inflection rules (the suffix table of its morphy procedure).
MORPHY_RULES = {
    "noun": (("S", ""), ("SES", "S"), ("XES", "X"), ("ZES", "Z"),
             ("CHES", "CH"), ("SHES", "SH"), ("MEN", "MAN"), ("IES", "Y")),
    "verb": (("S", ""), ("IES", "Y"), ("ES", "E"), ("ES", ""), ("ED", "E"),
             ("ED", ""), ("ING", "E"), ("ING", "")),
    "adj": (("ER", ""), ("EST", ""), ("ER", "E"), ("EST", "E")),
    "adv": (),
}

WORD_RE = re.compile(r"[A-Z]{%d,%d}\Z" % (MIN_LENGTH, MAX_LENGTH))


def fold(entry):
    """Accents folded and upper-cased; None unless 2 to 21 letters A-Z."""
    entry = entry.strip()
    if not entry.isascii():
        decomposed = unicodedata.normalize("NFKD", entry)
        entry = "".join(c for c in decomposed if not unicodedata.combining(c))
    word = entry.upper()
    return word if WORD_RE.match(word) else None


def read_text(path):
    with open(path, "rb") as f:
        raw = f.read()
    try:
        return raw.decode("utf-8")
    except UnicodeDecodeError:
        return raw.decode("latin-1")


def scowl_files(scowl_dir, categories, level):
    """The SCOWL files of the categories and sub-categories up to the level, sorted."""
    chosen = []
    for name in os.listdir(scowl_dir):
        stem, dot, size = name.rpartition(".")
        if not dot or not size.isdigit():
            continue
        category, dash, sub = stem.partition("-")
        if dash and category in categories and sub in SUBCATEGORIES and int(size) <= level:
            chosen.append(name)
    return [os.path.join(scowl_dir, n) for n in sorted(chosen)]


def scowl_words(scowl_dir, categories, level, cache=None):
    """The folded words of the categories up to the level. A cache (a dict)
    shared between calls reads each file once: the english files serve
    every variant."""
    cache = {} if cache is None else cache
    words = set()
    for path in scowl_files(scowl_dir, categories, level):
        if path not in cache:
            folded = (fold(line) for line in read_text(path).splitlines())
            cache[path] = frozenset(w for w in folded if w)
        words |= cache[path]
    return words


class WordNet:
    """Senses of WordNet 3.0 by upper-cased single-word lemma.

    senses[pos][LEMMA] is a list of (offensive, instance, gloss) triples, one
    per sense; instance is true for a named individual (a person, god or
    place: a synset with an instance-of pointer).
    """

    def __init__(self, wordnet_dir):
        self.senses = {pos: {} for pos in WORDNET_POS}
        self.exceptions = {pos: {} for pos in WORDNET_POS}
        synsets = {}  # (pos letter, offset) -> (lemmas, pointers, gloss, pos)
        for pos in WORDNET_POS:
            path = os.path.join(wordnet_dir, "data." + pos)
            for line in read_text(path).splitlines():
                parsed = self._parse(line)
                if parsed:
                    key, lemmas, pointers, gloss = parsed
                    synsets[key] = (lemmas, pointers, gloss, pos)
            exc = os.path.join(wordnet_dir, pos + ".exc")
            if os.path.exists(exc):
                for line in read_text(exc).splitlines():
                    parts = line.split()
                    if len(parts) >= 2:
                        self.exceptions[pos].setdefault(parts[0].upper(), []).extend(
                            p.upper() for p in parts[1:])

        # Usage domains whose members are offensive: noun synsets that are the
        # target of some usage-domain pointer and are headed by a known label.
        domain_targets = {(tpos, toff) for _, pointers, _, _ in synsets.values()
                          for symbol, toff, tpos, _ in pointers if symbol == ";u"}
        offensive_domains = {key for key in domain_targets if key in synsets
                             and any(l.lower() in OFFENSIVE_DOMAINS for l in synsets[key][0])}
        self.offensive_domains = offensive_domains

        # Offensive (synset, lemma number) pairs; lemma number 0 = every lemma.
        marked = set()
        for key, (lemmas, pointers, _, _) in synsets.items():
            for symbol, toff, tpos, st in pointers:
                if symbol == ";u" and (tpos, toff) in offensive_domains:
                    marked.add((key, int(st[:2], 16)))
                elif symbol == "-u" and key in offensive_domains:
                    marked.add(((tpos, toff), int(st[2:], 16)))

        for key, (lemmas, pointers, gloss, pos) in synsets.items():
            instance = any(symbol == "@i" for symbol, _, _, _ in pointers)
            for number, lemma in enumerate(lemmas, start=1):
                word = lemma.upper()
                if not WORD_RE.match(word):
                    continue
                offensive = (key, 0) in marked or (key, number) in marked
                self.senses[pos].setdefault(word, []).append((offensive, instance, gloss))
        self.offensive_lemmas = {word for table in self.senses.values()
                                 for word, senses in table.items()
                                 if any(offensive for offensive, _, _ in senses)}

    @staticmethod
    def _parse(line):
        # offset lex_filenum ss_type w_cnt (word lex_id)* p_cnt (ptr off pos st)* [frames] | gloss
        if not line or line.startswith(" "):
            return None
        head, _, gloss = line.partition(" | ")
        fields = head.split()
        try:
            offset, ss_type = fields[0], fields[2]
            count = int(fields[3], 16)
            lemmas = [re.sub(r"\([a-z]+\)\Z", "", fields[4 + 2 * i]) for i in range(count)]
            at = 4 + 2 * count
            pointer_count = int(fields[at])
            pointers = [tuple(fields[at + 1 + 4 * i: at + 5 + 4 * i]) for i in range(pointer_count)]
            if any(len(p) != 4 or len(p[3]) != 4 for p in pointers):
                return None
            for p in pointers:
                int(p[3], 16)
        except (IndexError, ValueError):
            return None
        pos_letter = "a" if ss_type == "s" else ss_type
        pointers = [(s, o, "a" if p == "s" else p, st) for s, o, p, st in pointers]
        return (pos_letter, offset), lemmas, pointers, gloss.strip()

    def base_forms(self, word, pos):
        """The word's base forms in one part of speech other than the word
        itself, by WordNet's exception lists and suffix rules."""
        bases = set(self.exceptions[pos].get(word, ()))
        for suffix, ending in MORPHY_RULES[pos]:
            if word.endswith(suffix) and len(word) > len(suffix):
                bases.add(word[: len(word) - len(suffix)] + ending)
        bases.discard(word)
        return sorted(bases)

    def word_senses(self, word, inflected_names=True):
        """Every sense of the word and of its WordNet base forms. Without
        inflected_names, a base form counts only through its senses that are
        not named individuals: SCOWL's plurals of names (SIVAS, KALIS) are
        not about the name's bearer, while BENGALIS are Bengalis."""
        found = []
        for pos in WORDNET_POS:
            table = self.senses[pos]
            found.extend(table.get(word, ()))
            for base in self.base_forms(word, pos):
                found.extend(sense for sense in table.get(base, ())
                             if inflected_names or not sense[1])
        return found

    def is_offensive(self, word):
        """True when the word has WordNet senses and every one is offensive."""
        if word not in self.offensive_lemmas and not any(
                base in self.offensive_lemmas
                for pos in WORDNET_POS for base in self.base_forms(word, pos)):
            return False  # the quick answer for nearly every word
        senses = self.word_senses(word)
        return bool(senses) and all(offensive for offensive, _, _ in senses)

    def is_indian(self, word):
        return any(names_india(gloss)
                   for _, _, gloss in self.word_senses(word, inflected_names=False))


_INDIA_TERMS_RE = re.compile(r"\b(?:%s)\b" % "|".join(re.escape(t) for t in INDIA_TERMS))
_INDIA_EXCLUDED_RE = re.compile("|".join(re.escape(e) for e in INDIA_EXCLUDED))


def names_india(gloss):
    """True when the gloss names India, once the phrases about elsewhere are taken out."""
    return _INDIA_TERMS_RE.search(_INDIA_EXCLUDED_RE.sub(" ", gloss)) is not None


def build_lists(scowl_dir, wordnet_dir, level, india_level, excluded=frozenset(), breakfast=frozenset()):
    """The five word lists (sorted lists of words) and what was filtered:
    (lists, counts before filtering, words left out as offensive by
    WordNet's labels, Indian additions, words left out by the exclusion list
    excluded (upper-case listed words; inflections go with them), words
    left out by the breakfast-test list breakfast (the same way))."""
    wordnet = WordNet(wordnet_dir)
    if not wordnet.offensive_domains:
        # Without them the filter would pass every word in silence.
        raise ValueError("no usage domain %s found in the WordNet files of %s"
                         % ("/".join(OFFENSIVE_DOMAINS), wordnet_dir))
    cache = {}
    lists = {}
    for number, category in VARIANTS.items():
        lists[number] = scowl_words(scowl_dir, {"english", category}, level, cache)

    base = lists[INDIA_BASE]
    candidates = scowl_words(scowl_dir, {"english", VARIANTS[INDIA_BASE]}, india_level, cache) - base
    indian = {w for w in candidates if wordnet.is_indian(w)}
    lists[INDIA] = base | indian

    unfiltered = {n: len(words) for n, words in lists.items()}
    every = set().union(*lists.values())
    offensive = {w for w in every if wordnet.is_offensive(w)}
    # Whether an inflection of a listed word is also one of an ordinary word
    # is judged against every word read, the higher Indian level included.
    exclusion = exclusions.Exclusion(excluded, known=every | candidates)
    listed_out = {w for w in every if exclusion.excludes(w)}
    unfit = exclusions.Exclusion(breakfast, known=every | candidates)
    breakfast_out = {w for w in every if unfit.excludes(w)} - offensive - listed_out
    result = {n: sorted(words - offensive - listed_out - breakfast_out) for n, words in lists.items()}
    return (result, unfiltered, sorted(offensive), sorted(indian), sorted(listed_out - offensive),
            sorted(breakfast_out))


_XOR_KEY = bytes(b ^ KEY for b in range(256))


def encode(words):
    """Each letter XOR the key, each word followed by the key (a 0 XOR the key)."""
    return "".join(w + "\0" for w in words).encode("ascii").translate(_XOR_KEY)


def write_atomically(path, data):
    """Writes through a temporary file and a rename, so a reader (or a second
    build sharing the cache) never sees half a file."""
    folder = os.path.dirname(os.path.abspath(path))
    os.makedirs(folder, exist_ok=True)
    fd, tmp = tempfile.mkstemp(dir=folder, prefix=".tmp-")
    try:
        with os.fdopen(fd, "wb") as f:
            f.write(data)
        os.chmod(tmp, 0o644)
        os.replace(tmp, path)
    except BaseException:
        if os.path.exists(tmp):
            os.unlink(tmp)
        raise


def inputs_key(args, outputs):
    """A digest of everything the output depends on: this script, the
    exclusion module and list, the options and the name, size and time of
    every source file. Builds that share one output folder (several presets)
    then generate only once."""
    digest = hashlib.sha256()
    for path in (os.path.abspath(__file__), exclusions.__file__, args.excluded, args.breakfast):
        with open(path, "rb") as f:
            digest.update(hashlib.sha256(f.read()).digest())
    digest.update(repr((args.level, args.india_level, os.path.abspath(args.excluded),
                        os.path.abspath(args.breakfast),
                        os.path.abspath(args.scowl),
                        os.path.abspath(args.wordnet), sorted(outputs))).encode())
    sources = [os.path.join(args.scowl, n) for n in sorted(os.listdir(args.scowl))]
    sources += [os.path.join(args.wordnet, n) for n in sorted(os.listdir(args.wordnet))
                if n.startswith("data.") or n.endswith(".exc")]
    for path in sources:
        info = os.stat(path)
        digest.update(repr((os.path.basename(path), info.st_size, info.st_mtime_ns)).encode())
    return digest.hexdigest() + "\n"


def up_to_date(key_path, key, outputs):
    try:
        with open(key_path, encoding="ascii") as f:
            if f.read() != key:
                return False
    except (OSError, UnicodeDecodeError):
        return False
    return all(os.path.isfile(p) for p in outputs)


def main(argv=None):
    parser = argparse.ArgumentParser(description="Builds the word lists data1.bin ... data5.bin.")
    parser.add_argument("--scowl", default="/usr/share/dict/scowl", help="SCOWL word list folder")
    parser.add_argument("--wordnet", default="/usr/share/wordnet", help="WordNet dictionary folder")
    parser.add_argument("--level", type=int, default=60, help="largest SCOWL size level (default 60)")
    parser.add_argument("--india-level", type=int, default=70,
                        help="largest size level of the Indian additions (default 70)")
    parser.add_argument("--excluded", default=exclusions.DEFAULT_PATH,
                        help="the words to leave out, one a line (default: excluded_words.txt here)")
    parser.add_argument("--breakfast", default=exclusions.BREAKFAST_PATH,
                        help="the words that fail the breakfast test (default: breakfast_words.txt here)")
    parser.add_argument("--out", required=True, help="folder for data1.bin ... data5.bin")
    parser.add_argument("--text", metavar="FOLDER",
                        help="also write words1.txt ... words5.txt, one word a line, into FOLDER")
    parser.add_argument("--report", metavar="FILE",
                        help="write the counts and the filtered words into FILE")
    args = parser.parse_args(argv)

    for folder, what in ((args.scowl, "SCOWL"), (args.wordnet, "WordNet")):
        if not os.path.isdir(folder):
            parser.error("%s folder not found: %s" % (what, folder))
    if not 10 <= args.level <= 95 or not 10 <= args.india_level <= 95:
        parser.error("SCOWL size levels run from 10 to 95")

    outputs = [os.path.join(args.out, "data%d.bin" % n) for n in range(1, 6)]
    if args.text:
        outputs += [os.path.join(args.text, "words%d.txt" % n) for n in range(1, 6)]
    if args.report:
        outputs.append(args.report)
    outputs = [os.path.abspath(p) for p in outputs]
    key_path = os.path.join(args.out, "word-lists.key")
    try:
        key = inputs_key(args, outputs)
    except OSError as error:
        print("make_word_lists: %s" % error, file=sys.stderr)
        return 1
    if up_to_date(key_path, key, outputs):
        # Already generated from the same sources (by another build): only
        # renew the times so the calling build sees its outputs as current.
        for path in outputs:
            os.utime(path)
        return 0

    try:
        excluded = exclusions.read_excluded(args.excluded)
        breakfast = exclusions.read_excluded(args.breakfast)
        lists, unfiltered, offensive, indian, listed_out, breakfast_out = build_lists(
            args.scowl, args.wordnet, args.level, args.india_level, excluded, breakfast)
    except (OSError, ValueError) as error:
        print("make_word_lists: %s" % error, file=sys.stderr)
        return 1
    for number, words in lists.items():
        if not words:
            print("make_word_lists: list %d came out empty; check the SCOWL folder" % number,
                  file=sys.stderr)
            return 1

    for number in sorted(lists):
        write_atomically(os.path.join(args.out, "data%d.bin" % number), encode(lists[number]))
        if args.text:
            text = "".join(w + "\n" for w in lists[number]).encode("ascii")
            write_atomically(os.path.join(args.text, "words%d.txt" % number), text)

    if args.report:
        lines = ["level %d, Indian additions up to level %d" % (args.level, args.india_level)]
        for number in sorted(lists):
            lines.append("data%d.bin: %d words (%d before the offensive filters)"
                         % (number, len(lists[number]), unfiltered[number]))
        lines.append("Indian additions (%d): %s" % (len(indian), " ".join(indian)))
        lines.append("left out as offensive (%d): %s" % (len(offensive), " ".join(offensive)))
        lines.append("left out by the exclusion list (%d): %s" % (len(listed_out), " ".join(listed_out)))
        lines.append("left out by the breakfast test (%d): %s" % (len(breakfast_out), " ".join(breakfast_out)))
        write_atomically(args.report, ("\n".join(lines) + "\n").encode("ascii"))
    write_atomically(key_path, key.encode("ascii"))
    return 0


if __name__ == "__main__":
    sys.exit(main())
