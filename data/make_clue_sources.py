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
import hashlib
import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from clues.kinds import ClueMaker, choose  # noqa: E402
from clues.morph import Morphology  # noqa: E402
from clues.names import read_names  # noqa: E402
from clues.spelling import Speller, read_scowl  # noqa: E402
from clues.wordnet import WordNet  # noqa: E402
import exclusions  # noqa: E402

KEY = 0x3B
LISTS = range(1, 6)
# SCOWL's variant of each word list; India spells as the United Kingdom does.
VARIANT = {1: "american", 2: "british", 3: "canadian", 4: "australian", 5: "british"}


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


def _names_excluded(exclusion, lemma):
    """True when a lemma holds an excluded word, or is one run together
    ("son of a bitch" is SONOFABITCH)."""
    return bool(exclusion.excluded_word_in(lemma)
                or exclusion.excludes("".join(c for c in lemma if c.isalpha())))


def mark_excluded_senses(wordnet, exclusion):
    """Marks as offensive every synset one of whose lemmas holds an excluded
    word; returns how many were newly marked."""
    marked = 0
    for synset in wordnet.synsets.values():
        if not synset.offensive and any(_names_excluded(exclusion, l) for l in synset.lemmas):
            synset.offensive = True
            marked += 1
    return marked


def input_digest(args):
    """A digest of everything the output depends on: the generator's own
    files, the exclusion module and list, the word lists and the source
    data."""
    here = os.path.dirname(os.path.abspath(__file__))
    paths = [os.path.abspath(__file__), exclusions.__file__, args.excluded]
    paths += sorted(os.path.join(here, "clues", n) for n in os.listdir(os.path.join(here, "clues"))
                    if n.endswith(".py"))
    paths += [os.path.join(args.word_lists, "data%d.bin" % n) for n in LISTS]
    digest = hashlib.sha256()
    for path in paths:
        with open(path, "rb") as f:
            digest.update(os.path.basename(path).encode() + b"\0" + hashlib.sha256(f.read()).digest())
    digest.update(os.path.abspath(args.excluded).encode() + b"\0")
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
    parser.add_argument("--word-lists", required=True, help="folder holding data1.bin ... data5.bin")
    parser.add_argument("--excluded", default=exclusions.DEFAULT_PATH,
                        help="the words no clue may answer or hold (default: excluded_words.txt here)")
    parser.add_argument("--out", required=True, help="folder for cdata1.bin ... cdata5.bin")
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
    except (OSError, ValueError) as error:
        print("make_clue_sources: %s" % error, file=sys.stderr)
        return 1
    os.makedirs(args.out, exist_ok=True)
    key = input_digest(args)
    key_path = os.path.join(args.out, "clue-sources.key")
    outputs = [os.path.join(args.out, "cdata%d.bin" % n) for n in LISTS]
    if all(os.path.exists(p) for p in outputs) and os.path.exists(key_path):
        with open(key_path) as f:
            if f.read().strip() == key:
                # Another build tree made these from the same inputs already.
                for p in outputs:
                    os.utime(p)
                return 0

    wordnet = WordNet(args.wordnet)
    scowl = read_scowl(args.scowl)
    known = set().union(*scowl.values())  # checks the inflections made by rule
    exclusion = exclusions.Exclusion(excluded, known={w.upper() for w in known})
    mark_excluded_senses(wordnet, exclusion)
    reject = exclusion.excluded_word_in
    morphology = Morphology(wordnet, known)
    names = read_names(args.names)
    common = set().union(*(w for (c, sub), w in scowl.items() if sub == "words"))
    maker = ClueMaker(wordnet, morphology, names, common)

    lists = {}
    for n in LISTS:
        path = os.path.join(args.word_lists, "data%d.bin" % n)
        # Lists made before the exclusion list may still hold its words.
        lists[n] = [w for w in read_word_list(path) if not exclusion.excludes(w)]
        if not lists[n]:
            print("make_clue_sources: %s holds no word" % path, file=sys.stderr)
            return 1

    candidates = {}
    for word in sorted(set().union(*lists.values())):
        candidates[word] = maker.candidates(word)

    fallbacks = {}
    spellers = {}
    chosen = {}  # (variant, word) -> clues; lists 2 and 5 share most words
    report = []
    for n in LISTS:
        lists[n] = sorted(set(lists[n]))
        speller = spellers.setdefault(VARIANT[n], Speller(scowl, VARIANT[n]))
        pairs = []
        clued = 0
        for word in lists[n]:
            clues = chosen.get((VARIANT[n], word))
            if clues is None:
                clues = choose(candidates[word], word, speller.respell, reject)
                if not clues:
                    if word not in fallbacks:
                        fallbacks[word] = maker.fallback(word)
                    clues = choose(fallbacks[word], word, speller.respell, reject)
                chosen[(VARIANT[n], word)] = clues
            if clues:
                clued += 1
            pairs.extend((word, clue) for clue in clues)
        write_atomically(os.path.join(args.out, "cdata%d.bin" % n), encode(pairs))
        share = 100.0 * clued / len(lists[n])
        report.append("cdata%d.bin: %d words, %d with a clue (%.1f %%), %d clues"
                      % (n, len(lists[n]), clued, share, len(pairs)))
    report.append("time: %.1f s" % (time.time() - started))
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
