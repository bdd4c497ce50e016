#!/usr/bin/env python3
"""Builds the packed clue sources cdata1.bin ... cdata5.bin.

For every word of each shipped word list (data1.bin ... data5.bin, read back
from their own format) it writes up to ten clues drawn from WordNet: synonyms,
the first clause of a definition, a fill-in-the-blank from an example sentence,
the same kinds for an inflected form clued from its lemma, and clues from the
links between senses (kind of, opposite of, part of). Clues are respelt for
each list's English variant.

The words of excluded_words.txt and their inflections get no clue, and no
clue holds one of them as a whole word; WordNet senses that have such a word
among their lemmas count as offensive, so they give no clue, no example
sentence and no name in another word's clue.

Output format, the one the program's installer reads: pairs of lines, the word
in upper case then its clue, one byte per character (ISO-8859-1), CR LF line
ends, clue lines of at most 60 characters starting with an upper-case letter.
The output depends only on the inputs, so two builds give the same bytes.
"""

import argparse
import collections
import hashlib
import json
import os
import re
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from clues import checks  # noqa: E402
from clues.countries import Countries  # noqa: E402
from clues.gcide import Gcide  # noqa: E402
from clues.gweather import Cities  # noqa: E402
from clues.kinds import GLOSS, SYNONYM, ClueMaker, choose, gloss_clue  # noqa: E402
from clues.timezones import TimeZones, country_names  # noqa: E402
from clues.scores import encode_scores, score  # noqa: E402
from clues.morph import Morphology  # noqa: E402
from clues.names import read_names  # noqa: E402
from clues.spelling import Speller, read_scowl  # noqa: E402
from clues.wordnet import WordNet  # noqa: E402
import exclusions  # noqa: E402

KEY = 0x3B
LISTS = range(1, 6)
# SCOWL's variant of each word list; India spells as the United Kingdom does.
VARIANT = {1: "american", 2: "british", 3: "canadian", 4: "australian", 5: "british"}
INDIA, INDIA_BASE = 5, 2
NAME_LEVEL = 70
# A word with no clue leaves the shipped list when SCOWL has it only above this
# size level (rare), or when SCOWL spells it only in capitals (HSBC).
RARE_LEVEL = 50
# The rule takes out at most this share of a list, so the lists keep their
# fill power; past it the commoner and shorter rare words stay (short words
# carry a grid's fill), with the low score of an unclued word.
MAX_LEFT_OUT = 0.02


def read_word_list(path):
    """The words of a word list file: bytes XOR 0x3B, each word ended by the key."""
    with open(path, "rb") as f:
        data = f.read()
    words = []
    word = bytearray()
    for b in data:
        if b == KEY:
            if 2 <= len(word) <= 21:
                words.append(word.decode("latin-1"))
            word = bytearray()
        else:
            word.append(b ^ KEY)
    return words


def encode_word_list(words):
    """The word list format: each letter XOR 0x3B, each word ended by the key."""
    return bytes(b ^ KEY for b in "".join(w + "\0" for w in words).encode("ascii"))


def scowl_entries(folder):
    """Upper-case folded word -> (smallest SCOWL size level, True when every
    SCOWL spelling of it is in capitals: an abbreviation, True when every
    spelling starts with a capital: a name)."""
    entries = {}
    for name in sorted(os.listdir(folder)):
        base, _, level = name.rpartition(".")
        if not level.isdigit() or "-" not in base:
            continue
        with open(os.path.join(folder, name), encoding="latin-1") as f:
            for line in f:
                entry = line.strip()
                word = checks.fold(entry).upper()
                if not word:
                    continue
                capitals = len(entry) >= 2 and entry.isupper()
                # The largest levels hold lower-case spellings of names too
                # (edda, bucharest): only the common levels tell a name.
                named = entry[:1].isupper() or int(level) > NAME_LEVEL
                old = entries.get(word)
                if old is None:
                    entries[word] = (int(level), capitals, named)
                else:
                    entries[word] = (min(old[0], int(level)), old[1] and capitals, old[2] and named)
    return entries


EXTRA_CLUES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "extra_clues.txt")
# SCOWL entries no solver would accept (TUSCON, BEHALVES): they leave the
# shipped lists first, within the share the rare words leave by.
MISSPELT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "misspelt_words.txt")


def read_extra_clues(path):
    """Word -> the hand-written clues of extra_clues.txt. Raises ValueError
    naming the line of an entry that is not an upper-case word, a tab and a
    clue."""
    clues = {}
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            line = line.rstrip("\n")
            if not line.strip() or line.lstrip().startswith("#"):
                continue
            word, tab, clue = line.partition("\t")
            if not tab or not word.isascii() or not word.isalpha() or not word.isupper() or not clue.strip():
                raise ValueError("%s:%d: not WORD<tab>clue: %r" % (path, number, line))
            clues.setdefault(word, []).append(clue.strip())
    return clues


def _form_of(word, base):
    """The inflection an upper-case word is of its base: s, ed, ing, er, est;
    None when the word is not the base with that ending (BUNGLERS is no -s
    form of BUNGLE)."""
    for ending, form in (("ING", "ing"), ("ED", "ed"), ("EST", "est"), ("ER", "er"), ("S", "s")):
        if not word.endswith(ending) or base.endswith(ending):
            continue
        stem = word[:-len(ending)]
        if stem == base or stem + "E" == base or stem[-1:] == "I" and stem[:-1] + "Y" == base \
                or len(stem) > 2 and stem[-1] == stem[-2] and stem[:-1] == base \
                or form == "s" and stem[-1:] == "E" and stem[:-1] == base and base.endswith(("S", "X", "Z", "CH", "SH", "O")) \
                or form == "s" and stem.endswith("IE") and stem[:-2] + "Y" == base:
            return form
        return None
    if word.endswith("D") and word[:-1] == base and base.endswith("E"):
        return "ed"
    if word.endswith("R") and word[:-1] == base and base.endswith("E"):
        return "er"
    if word.endswith("ST") and word[:-2] == base and base.endswith("E"):
        return "est"
    return None


# Words that end the head of a noun phrase: "Setting in which ...",
# "Tub used for washing".
_HEAD_ENDS = frozenset("""that which who whose with of in for from by on at to as used having made
especially usually or and into containing consisting resembling between without when where""".split())
# Words that cannot follow a verb at the head of a verb phrase: "Cut of meat"
# is a noun phrase.
_NOT_AFTER_VERB = frozenset("of or and".split())


def _main_pos(wordnet, word):
    """The part of speech of a word's most frequent WordNet sense, or None."""
    senses = wordnet.senses(word)
    return senses[0][1].pos if senses else None


def _from_sense(wordnet, clue, base, pos):
    """True when the clue is a lemma or the definition of one of the base's
    senses of that part of speech: the phrase is known to be a verb phrase
    or a noun phrase, not guessed from its first word."""
    clue = clue.lower()
    for _, synset in wordnet.senses(base, pos):
        if any(l.lower() == clue for l in synset.lemmas):
            return True
        if synset.definitions and (gloss_clue(synset.definitions[0]) or "").lower() == clue:
            return True
    return False


def _inflect_phrase(clue, form, base, morphology, wordnet):
    """A clue of several words in the answer's form, or None: a verb phrase
    on its first word ("Make simpler" -> "Made simpler"), a noun phrase on its
    head for a plural ("Small towel" -> "Small towels", "Kind of X" -> "Kinds
    of X"), one adjective or "Very X" with "More"/"Most"."""
    words = clue.split(" ")
    if len(words) < 2 or "___" in clue:
        return None
    first = words[0].lower()
    if form == "s" and first in ("kind", "part", "member", "type", "form", "piece") and words[1] == "of":
        # Only a noun has a kind or a part: the -s form is its plural.
        made = morphology.inflect_word(words[0], "n", "pl")
        return " ".join([made] + words[1:]) if made else None
    if not all(w.isalpha() for w in words):
        return None
    if form in ("er", "est"):
        if len(words) == 2 and first == "very" and wordnet.has_lemma(words[1], "a"):
            return ("More " if form == "er" else "Most ") + words[1]
        return None
    # The phrase takes the answer's form only when the base is mostly the same
    # part of speech as the phrase: a noun's clue never becomes a verb form.
    verb = (_main_pos(wordnet, first) == "v" and words[1].lower() not in _NOT_AFTER_VERB
            and words[0][1:] == words[0][1:].lower())
    if verb and _from_sense(wordnet, clue, base, "v"):
        made = morphology.inflect_word(words[0], "v", "s" if form == "s" else form)
        return " ".join([made] + words[1:]) if made else None
    if form != "s" or verb:
        return None
    if not wordnet.has_lemma(base, "n") or first in _HEAD_ENDS or first.endswith(("ed", "ing")) \
            or first in ("at", "very", "too", "not", "no"):
        return None
    if not _from_sense(wordnet, clue, base, "n"):
        return None
    end = len(words)
    for i, w in enumerate(words):
        if i and (w.lower() in _HEAD_ENDS or w.endswith("ing") or w.endswith("ed")):
            end = i
            break
    head = words[end - 1]
    if first in ("the", "a", "an", "one", "someone", "something") or head != head.lower() \
            or _main_pos(wordnet, head) != "n" or any(w.lower() in ("or", "and") for w in words[:end]):
        return None
    made = morphology.inflect_word(head, "n", "pl")
    return " ".join(words[:end - 1] + [made] + words[end:]) if made else None


def inflected_base_clues(word, base_clues, base, morphology, wordnet):
    """Clues for an inflected word made by inflecting its base's clues the
    same way (GONGS from GONG's "Bell": "Bells"). A one-word clue: an -s
    form takes the clue's plural or -s form, the same spelling for a noun or
    a verb; the other forms only a clue word that WordNet has as a verb (for
    -ed, -ing) or an adjective (-er, -est) and as nothing else, so a noun's
    clue never becomes a verb form. A phrase goes through _inflect_phrase;
    a fill-in-the-blank is not inflected (its blank stands for the base).
    Every form is made and checked by the inflector both ways."""
    form = _form_of(word, base)
    if form is None:
        return []
    # A regular -ed answer reads as a past tense too: SHOPLIFTED, "Stole".
    tense = "past" if form == "ed" else form
    # A base WordNet has as one part of speech only gives clues of that part
    # of speech (SHOPLIFT is only a verb, so its "Steal" is the verb).
    only_pos = [p for p in "nvar" if wordnet.has_lemma(base.lower(), p)]
    out = []
    for kind, clue in base_clues:
        if " " in clue:
            made = _inflect_phrase(clue, tense, base.lower(), morphology, wordnet)
            if made:
                out.append(((1, 0, 0, len(out)), kind, made))
            continue
        if not clue.isalpha() or clue[1:] != clue[1:].lower():
            continue
        lower = clue.lower()
        if form == "s":
            made = {morphology.inflect_word(clue, p, f) for p, f in (("n", "pl"), ("v", "s"))} - {None}
            made = made.pop() if len(made) == 1 else None
        else:
            pos = "v" if form in ("ed", "ing") else "a"
            others = [p for p in "nvar" if p != pos and wordnet.has_lemma(lower, p)]
            made = None
            if wordnet.has_lemma(lower, pos) and (not others or only_pos == [pos]):
                made = morphology.inflect_word(clue, pos, tense)
                if made is None and pos == "a":
                    made = ("More " if form == "er" else "Most ") + lower  # NERDIER: "More uncool"
        if made:
            out.append(((1, 0, 0, len(out)), SYNONYM, made))
    return out


def encode(pairs):
    out = bytearray()
    for word, clue in pairs:
        out += word.encode("latin-1") + b"\r\n" + clue.encode("latin-1") + b"\r\n"
    return bytes(out)


def write_atomically(path, data):
    temporary = path + ".tmp"
    with open(temporary, "wb") as f:
        f.write(data)
    os.replace(temporary, path)


def _names_excluded(exclusion, lemma, sexual=None):
    """True when a lemma names an excluded word: it is one ("son of a bitch"
    run together is SONOFABITCH), a single word holding one, or a phrase
    holding a word of the sexual and excretory list (sexual, when given).
    A phrase that only holds a slur or an obscenity beside ordinary words
    ("fuck up" among the senses of botch, "coon cat" beside ringtail) does
    not make its sense offensive: its plain lemmas still clue each other,
    and no clue may show the phrase itself."""
    letters = "".join(c for c in lemma if c.isalpha())
    parts = [p for p in re.split(r"[^A-Za-z']+", lemma) if p]
    if len(parts) <= 1:
        return bool(exclusion.excluded_word_in(lemma) or exclusion.excludes(letters))
    if sexual is not None and sexual.excluded_word_in(lemma):
        return True
    if any(exclusion.excludes(p) for p in parts):
        return sexual is None  # without the sexual list every such phrase counts
    return exclusion.excludes(letters)


def mark_excluded_senses(wordnet, exclusion, sexual=None):
    """Marks as offensive every synset one of whose lemmas names an excluded
    word (_names_excluded); returns how many were newly marked."""
    marked = 0
    for synset in wordnet.synsets.values():
        if not synset.offensive and any(_names_excluded(exclusion, l, sexual) for l in synset.lemmas):
            synset.offensive = True
            marked += 1
    return marked


# Where the Debian packages put the sources of facts about names.
FACT_DEFAULTS = {"gcide": "/usr/share/dictd", "iso_codes": "/usr/share/iso-codes/json",
                 "zoneinfo": "/usr/share/zoneinfo", "locations": "/usr/share/libgweather-4/Locations.xml"}


def _fact_paths(args):
    return {k: getattr(args, k, v) for k, v in FACT_DEFAULTS.items()}


def fact_files(args):
    """The files of the sources of facts about names: the dictionary, the
    country and time zone tables and the city database."""
    p = _fact_paths(args)
    return [os.path.join(p["gcide"], "gcide.index"), os.path.join(p["gcide"], "gcide.dict.dz"),
            os.path.join(p["iso_codes"], "iso_3166-1.json"), os.path.join(p["iso_codes"], "iso_3166-2.json"),
            os.path.join(p["zoneinfo"], "zone.tab"), os.path.join(p["zoneinfo"], "iso3166.tab"), p["locations"]]


def fact_sources(args):
    """The sources of clues for words WordNet lacks, each read once a build.
    A source whose files are missing gives no clue."""
    p = _fact_paths(args)
    countries = Countries(p["iso_codes"], short_names=country_names(p["zoneinfo"]))
    return [Cities(p["locations"], countries.names), TimeZones(p["zoneinfo"], countries.names), countries,
            Gcide(p["gcide"])]


def input_digest(args):
    """A digest of everything the output depends on: the generator's own
    files, the exclusion module and list, the word lists and the source
    data."""
    here = os.path.dirname(os.path.abspath(__file__))
    breakfast = getattr(args, "breakfast", exclusions.BREAKFAST_PATH)
    paths = [os.path.abspath(__file__), exclusions.__file__, args.excluded, breakfast, EXTRA_CLUES, MISSPELT]
    paths += sorted(os.path.join(here, "clues", n) for n in os.listdir(os.path.join(here, "clues"))
                    if n.endswith(".py"))
    paths += [os.path.join(args.word_lists, "data%d.bin" % n) for n in LISTS]
    digest = hashlib.sha256()
    for path in paths:
        with open(path, "rb") as f:
            digest.update(os.path.basename(path).encode() + b"\0" + hashlib.sha256(f.read()).digest())
    digest.update(os.path.abspath(args.excluded).encode() + b"\0")
    digest.update(os.path.abspath(breakfast).encode() + b"\0")
    for path in fact_files(args):
        if os.path.exists(path):
            st = os.stat(path)
            digest.update(("%s %d %d\n" % (path, st.st_size, int(st.st_mtime))).encode())
    for folder in (args.wordnet, args.scowl, args.names):
        for root, _, files in sorted(os.walk(folder)) if os.path.isdir(folder) else ():
            if "__pycache__" in root:
                continue  # byte code comes and goes with whoever imports the lists
            for name in sorted(files):
                path = os.path.join(root, name)
                st = os.stat(path)
                digest.update(("%s %d %d\n" % (os.path.relpath(path, folder), st.st_size, int(st.st_mtime))).encode())
    return digest.hexdigest()


def main(argv=None):
    parser = argparse.ArgumentParser(description="Builds the clue sources cdata1.bin ... cdata5.bin.")
    parser.add_argument("--wordnet", default="/usr/share/wordnet", help="WordNet dictionary folder")
    parser.add_argument("--scowl", default="/usr/share/dict/scowl", help="SCOWL word list folder")
    parser.add_argument("--names", default="/usr/lib/python3/dist-packages/faker/providers/person",
                        help="Faker's person name providers (python3-fake-factory)")
    parser.add_argument("--gcide", default=FACT_DEFAULTS["gcide"],
                        help="folder of the dictd dictionary gcide.index and gcide.dict.dz (dict-gcide)")
    parser.add_argument("--iso-codes", default=FACT_DEFAULTS["iso_codes"],
                        help="folder of the ISO 3166 tables iso_3166-1.json and iso_3166-2.json (iso-codes)")
    parser.add_argument("--zoneinfo", default=FACT_DEFAULTS["zoneinfo"],
                        help="folder of zone.tab and iso3166.tab (tzdata)")
    parser.add_argument("--locations", default=FACT_DEFAULTS["locations"],
                        help="the city database of libgweather-4-common")
    parser.add_argument("--word-lists", required=True, help="folder holding data1.bin ... data5.bin")
    parser.add_argument("--excluded", default=exclusions.DEFAULT_PATH,
                        help="the words no clue may answer or hold (default: excluded_words.txt here)")
    parser.add_argument("--breakfast", default=exclusions.BREAKFAST_PATH,
                        help="the words that fail the breakfast test (default: breakfast_words.txt here)")
    parser.add_argument("--out", required=True,
                        help="folder for cdata1.bin ... cdata5.bin and the shipped word lists data1.bin ... "
                             "data5.bin with their scores data1.scores ... data5.scores")
    parser.add_argument("--stats", metavar="FILE", help="write what each rule and check removed to FILE (JSON)")
    parser.add_argument("--report", metavar="FILE", help="write the coverage of each list to FILE")
    args = parser.parse_args(argv)

    started = time.time()
    for n in LISTS:
        path = os.path.join(args.word_lists, "data%d.bin" % n)
        if not os.path.exists(path):
            print("make_clue_sources: word list %s not found" % path, file=sys.stderr)
            return 1
    for folder in (args.wordnet, args.scowl):
        if not os.path.isdir(folder):
            print("make_clue_sources: %s not found; run scripts/setup" % folder, file=sys.stderr)
            return 1
    try:
        excluded = exclusions.read_excluded(args.excluded)
        sexual_words = exclusions.read_excluded(args.breakfast)
        excluded |= sexual_words
        extra = read_extra_clues(EXTRA_CLUES)
        misspelt = exclusions.read_excluded(MISSPELT)
    except (OSError, ValueError) as error:
        print("make_clue_sources: %s" % error, file=sys.stderr)
        return 1
    os.makedirs(args.out, exist_ok=True)
    key = input_digest(args)
    key_path = os.path.join(args.out, "clue-sources.key")
    outputs = [os.path.join(args.out, "%s%d.%s" % (name, n, ext)) for n in LISTS
               for name, ext in (("cdata", "bin"), ("data", "bin"), ("data", "scores"))]
    if args.stats:
        outputs.append(args.stats)
    if all(os.path.exists(p) for p in outputs) and os.path.exists(key_path):
        with open(key_path) as f:
            if f.read().strip() == key:
                # Another build tree made these from the same inputs already.
                for p in outputs:
                    os.utime(p)
                return 0

    wordnet = WordNet(args.wordnet)
    scowl = read_scowl(args.scowl)
    everything = set().union(*scowl.values())
    known_upper = {w.upper() for w in everything}
    exclusion = exclusions.Exclusion(excluded, known=known_upper)
    mark_excluded_senses(wordnet, exclusion, exclusions.Exclusion(sexual_words, known=known_upper))
    reject = exclusion.excluded_word_in
    entries = scowl_entries(args.scowl)

    lists = {}
    for n in LISTS:
        path = os.path.join(args.word_lists, "data%d.bin" % n)
        # Lists made before the exclusion list may still hold its words.
        lists[n] = sorted(set(w for w in read_word_list(path) if not exclusion.excludes(w)))
        if not lists[n]:
            print("make_clue_sources: %s holds no word" % path, file=sys.stderr)
            return 1
    # An inflection made by rule is used only when it is a word of the lists:
    # WordNet's rules alone would make CASTED and MIAULS.
    list_words = {w.lower() for n in LISTS for w in lists[n]}
    morphology = Morphology(wordnet, list_words)
    known = list_words | checks.wordnet_words(args.wordnet)
    names = read_names(args.names)
    # Words SCOWL spells in lower case at its common levels: those get no name
    # clue. Its largest levels spell names in lower case too (abner).
    common = {w.lower() for w, e in entries.items() if not e[2]}
    proper = frozenset(w for w, e in entries.items() if e[2])
    maker = ClueMaker(wordnet, morphology, names, common, proper)
    facts = fact_sources(args)

    candidates = {}
    for word in sorted(set().union(*lists.values())):
        candidates[word] = maker.candidates(word)

    fallbacks = {}
    through_base = set()  # (variant, word) clued from its base's clues
    left_out = {}  # list -> the unclued words it leaves out
    spellers = {}
    chosen = {}  # (variant, word) -> [(kind, clue)]; lists 2 and 5 share most words
    dropped = {}  # variant -> Counter of the clues each check dropped
    report = []
    stats = {"lists": {}}
    for n in LISTS:
        speller = spellers.setdefault(VARIANT[n], Speller(scowl, VARIANT[n]))
        counter = dropped.setdefault(VARIANT[n], collections.Counter())
        pairs = []
        kept = []
        removed = {"rare without a clue": [], "abbreviation without a clue": []}
        listed = set(lists[n])
        unclued = []
        scores = []
        # Bases come before their inflections in no fixed order, so every word
        # is clued from its own sources first.
        for word in lists[n]:
            if (VARIANT[n], word) not in chosen:
                clues = choose(candidates[word], word, speller.respell, reject, known, counter, True)
                if not clues:
                    if word not in fallbacks:
                        # The hand-written clues before the derived ones and names.
                        fallbacks[word] = [((-1, i), GLOSS, c) for i, c in enumerate(extra.get(word, ()))]
                        fallbacks[word] += maker.fallback(word)
                        fallbacks[word] += [c for source in facts for c in source.clues(word)]
                    clues = choose(fallbacks[word], word, speller.respell, reject, known, counter, True)
                    if any(not checks.is_generic(text) for _, text in clues):
                        # A generic name clue only where nothing specific exists.
                        clues = [c for c in clues if not checks.is_generic(c[1])]
                chosen[(VARIANT[n], word)] = clues
        for word in lists[n]:
            clues = chosen[(VARIANT[n], word)]
            if not clues:
                # An inflection of a clued word of the list: its base's clues
                # in the same form.
                made = []
                for base in sorted(exclusions.bases(word)):
                    base_clues = chosen.get((VARIANT[n], base)) if base in listed else None
                    if base_clues:
                        made += inflected_base_clues(word, base_clues, base, morphology, wordnet)
                clues = choose(made, word, speller.respell, reject, known, counter, True)
                if clues:
                    chosen[(VARIANT[n], word)] = clues
                    through_base.add((VARIANT[n], word))
            if not clues:
                unclued.append(word)
        # Which words leave: misspellings and unclued abbreviations first,
        # then the unclued rare words from the rarest and longest, up to the
        # share.
        room = int(MAX_LEFT_OUT * len(lists[n]))
        misspelt_here = listed & misspelt
        leaving = set(misspelt_here)
        for word in unclued:
            if entries.get(word, (100, False, False))[1] and len(leaving) < room:
                leaving.add(word)
                removed["abbreviation without a clue"].append(word)
        rare = [w for w in unclued if w not in leaving and entries.get(w, (100, False, False))[0] > RARE_LEVEL]
        rare.sort(key=lambda w: (-entries.get(w, (100, False, False))[0], -len(w), w))
        for word in rare[:max(0, room - len(leaving))]:
            leaving.add(word)
        if n == INDIA:
            # The India list is the United Kingdom list plus Indian words: the
            # same words leave it, and of the additions every unclued rare one.
            additions = [w for w in unclued if w not in lists[INDIA_BASE]]
            leaving = (left_out[INDIA_BASE] & listed) | misspelt_here | \
                {w for w in additions if w in rare or w in leaving}
            removed["abbreviation without a clue"] = sorted(w for w in unclued if w in leaving and
                                                            entries.get(w, (100, False, False))[1])
        left_out[n] = leaving
        removed["misspelling"] = sorted(misspelt_here)
        removed["rare without a clue"] = sorted(w for w in rare if w in leaving)
        removed["rare without a clue, kept for the share"] = sorted(w for w in rare if w not in leaving)
        for word in lists[n]:
            if word in leaving:
                continue
            clues = chosen[(VARIANT[n], word)]
            level = entries.get(word, (100, False, False))[0]
            kept.append(word)
            scores.append((word, score(level, [kind for kind, _ in clues])))
            pairs.extend((word, clue) for _, clue in clues)
        clued = len({w for w, _ in pairs})
        from_base = sum(1 for w in kept if (VARIANT[n], w) in through_base)
        write_atomically(os.path.join(args.out, "cdata%d.bin" % n), encode(pairs))
        write_atomically(os.path.join(args.out, "data%d.bin" % n), encode_word_list(kept))
        write_atomically(os.path.join(args.out, "data%d.scores" % n), encode_scores(scores))
        share = 100.0 * clued / len(kept)
        report.append("cdata%d.bin: %d words, %d with a clue (%.1f %%; %d through their base), %d clues; "
                      "left out of data%d.bin: %s"
                      % (n, len(kept), clued, share, from_base, len(pairs), n,
                         ", ".join("%d %s" % (len(v), k) for k, v in removed.items() if "kept" not in k)))
        stats["lists"][str(n)] = {"words before": len(lists[n]), "words": len(kept), "clued": clued,
                                  "clued through the base": from_base,
                                  "clues": len(pairs), "removed": removed}
    stats["dropped clues"] = {v: dict(sorted(c.items())) for v, c in sorted(dropped.items())}
    for variant, counter in sorted(dropped.items()):
        report.append("clues dropped by the checks (%s): %s"
                      % (variant, ", ".join("%s %d" % kv for kv in sorted(counter.items()))))
    report.append("time: %.1f s" % (time.time() - started))
    stats["seconds"] = round(time.time() - started, 1)
    if args.stats:
        write_atomically(args.stats, (json.dumps(stats, indent=1, sort_keys=True) + "\n").encode("ascii"))
    with open(key_path, "w") as f:
        f.write(key + "\n")
    text = "\n".join(report) + "\n"
    sys.stdout.write(text)
    if args.report:
        with open(args.report, "w") as f:
            f.write(text)
    return 0


if __name__ == "__main__":
    sys.exit(main())
