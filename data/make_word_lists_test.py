#!/usr/bin/env python3
"""Tests of the word list generator on small SCOWL and WordNet fixtures."""

import contextlib
import io
import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import make_word_lists as gen  # noqa: E402

# SCOWL fixture: file name -> entries.
SCOWL = {
    "english-words.10": ["cat", "dog's", "a", "café", "naïve", "x-ray", "ok"],
    "english-words.60": ["abcdefghijklmnopqrstu", "abcdefghijklmnopqrstuv", "zebra"],
    "english-words.70": ["godown", "wigwam", "zebu", "zebus"],
    "english-words.80": ["lathi"],
    "english-upper.50": ["Paris", "Paris's"],
    "english-proper-names.35": ["Alice"],
    "english-abbreviations.10": ["etc"],
    "english-contractions.10": ["dont"],
    "american-words.50": ["color", "center", "jap", "japs"],
    "british-words.50": ["colour", "centre", "wop", "dago", "spic"],
    "british-words.70": ["ranee"],
    "british_variant_1-words.10": ["colourway"],
    "variant_1-words.10": ["encyclopaedia"],
    "canadian-words.50": ["colour", "center"],
    "australian-words.50": ["colour", "centre", "arvo"],
}

# WordNet fixture: (pos, offset, lemmas, pointers, gloss); a pointer is
# (symbol, offset, pos, source/target).
SYNSETS = [
    ("noun", "00000001", ["ethnic_slur"], [], "a slur on someone's race or language"),
    ("noun", "00000002", ["obscenity", "vulgarism"], [], "an offensive or indecent word"),
    ("noun", "00000003", ["Jap"], [(";u", "00000001", "n", "0000")], "offensive term for a person"),
    ("noun", "00000004", ["wop", "dago"], [(";u", "00000001", "n", "0101")], "offensive term"),
    ("noun", "00000005", ["spic"], [], "a gleaming spot"),
    ("noun", "00000014", ["spic"], [(";u", "00000002", "n", "0000")], "an obscene word"),
    ("noun", "00000006", ["godown"], [], "(in India and Malaysia) a warehouse"),
    ("noun", "00000007", ["wigwam"], [], "a North American Indian lodge"),
    ("noun", "00000008", ["lathi"], [], "a club used by police in India"),
    ("noun", "00000009", ["ranee"], [], "the wife of a raja in India"),
    ("noun", "00000010", ["zebu"], [("@i", "00000001", "n", "0000")], "a god of the Hindus"),
    ("noun", "00000011", ["cat"], [], "a small feline"),
    ("noun", "00000012", ["slang"], [], "informal language"),
    ("noun", "00000013", ["zebra"], [(";u", "00000012", "n", "0000")], "striped horse"),
]


def write_fixture(root, scowl=SCOWL, synsets=SYNSETS):
    scowl_dir = os.path.join(root, "scowl")
    wordnet_dir = os.path.join(root, "wordnet")
    os.makedirs(scowl_dir)
    os.makedirs(wordnet_dir)
    for name, entries in scowl.items():
        with open(os.path.join(scowl_dir, name), "w", encoding="utf-8") as f:
            f.write("".join(e + "\n" for e in entries))
    lines = {pos: ["  1 This is a licence header line"] for pos in gen.WORDNET_POS}
    for pos, offset, lemmas, pointers, gloss in synsets:
        words = " ".join("%s 0" % l for l in lemmas)
        ptrs = " ".join(" ".join(p) for p in pointers)
        line = "%s 05 %s %02x %s %03d %s | %s  " % (
            offset, pos[0], len(lemmas), words, len(pointers), ptrs, gloss)
        lines[pos].append(line)
    for pos in gen.WORDNET_POS:
        with open(os.path.join(wordnet_dir, "data." + pos), "w", encoding="ascii") as f:
            f.write("\n".join(lines[pos]) + "\n")
    with open(os.path.join(wordnet_dir, "noun.exc"), "w", encoding="ascii") as f:
        f.write("geese goose\n")
    return scowl_dir, wordnet_dir


def decode(data):
    """The words of a list file; asserts that the file ends with a terminator."""
    assert data.endswith(bytes([gen.KEY])), "last word without terminator"
    plain = bytes(b ^ gen.KEY for b in data).decode("ascii")
    return plain.split("\0")[:-1]


class FoldTest(unittest.TestCase):
    def test_entries_fold_or_drop(self):
        cases = [
            ("café", "CAFE"), ("naïve", "NAIVE"), ("Ångström", "ANGSTROM"),
            ("cat\n", "CAT"), ("ok", "OK"), ("a", None), ("dog's", None),
            ("x-ray", None), ("", None), ("two words", None), ("æther", None),
            ("a" * 21, "A" * 21), ("a" * 22, None),
        ]
        for entry, expected in cases:
            with self.subTest(entry=entry):
                self.assertEqual(gen.fold(entry), expected)

    def test_encode_xors_letters_and_ends_each_word_with_the_key(self):
        self.assertEqual(gen.encode(["AB", "CAT"]),
                         bytes([0x41 ^ 0x3B, 0x42 ^ 0x3B, 0x3B, 0x43 ^ 0x3B, 0x41 ^ 0x3B, 0x54 ^ 0x3B, 0x3B]))
        self.assertEqual(gen.encode([]), b"")


class BuildListsTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.TemporaryDirectory()
        cls.scowl, cls.wordnet = write_fixture(cls.tmp.name)
        cls.lists, cls.unfiltered, cls.offensive, cls.indian = gen.build_lists(
            cls.scowl, cls.wordnet, 60, 70)

    @classmethod
    def tearDownClass(cls):
        cls.tmp.cleanup()

    def test_us_list_takes_words_upper_and_names_up_to_the_level(self):
        self.assertEqual(self.lists[1], sorted(self.lists[1]))
        self.assertEqual(set(self.lists[1]), {
            "CAT", "CAFE", "NAIVE", "OK", "ABCDEFGHIJKLMNOPQRSTU", "ZEBRA",
            "PARIS", "ALICE", "COLOR", "CENTER"})

    def test_variants_take_their_own_category_only(self):
        words = {n: set(w) for n, w in self.lists.items()}
        self.assertIn("COLOUR", words[2])
        self.assertIn("CENTRE", words[2])
        self.assertEqual({"COLOUR", "CENTER"} & words[3], {"COLOUR", "CENTER"})
        self.assertIn("ARVO", words[4])
        for n in (2, 3, 4, 5):
            self.assertNotIn("COLOR", words[n])
        for n in range(1, 6):
            with self.subTest(list=n):
                # abbreviations, contractions and variant spellings never join
                self.assertFalse({"ETC", "DONT", "COLOURWAY", "ENCYCLOPAEDIA"} & words[n])

    def test_india_adds_higher_level_entries_whose_gloss_names_india(self):
        india = set(self.lists[5])
        self.assertTrue(set(self.lists[2]) <= india)
        self.assertIn("GODOWN", india)   # level 70, gloss names India
        self.assertIn("RANEE", india)    # level 70 of the british category
        self.assertNotIn("WIGWAM", india)  # a North American Indian lodge
        self.assertNotIn("LATHI", india)   # level 80, above the Indian additions' level
        self.assertIn("ZEBU", india)       # a named god counts by its own lemma
        self.assertNotIn("ZEBUS", india)   # but not through a plural of the name
        self.assertEqual(self.indian, ["GODOWN", "RANEE", "ZEBU"])
        for n in range(1, 5):
            self.assertNotIn("GODOWN", self.lists[n])

    def test_words_all_of_whose_senses_are_offensive_are_left_out(self):
        self.assertNotIn("JAP", self.lists[1])   # whole synset marked
        self.assertNotIn("JAPS", self.lists[1])  # and its plural
        self.assertNotIn("WOP", self.lists[2])   # marked by a pointer from its own lemma
        self.assertIn("DAGO", self.lists[2])     # that pointer marks no other lemma
        self.assertIn("SPIC", self.lists[2])     # one marked sense, one ordinary
        self.assertIn("ZEBRA", self.lists[1])    # slang is not an offensive label
        self.assertIn("CAT", self.lists[1])
        self.assertEqual(self.offensive, ["JAP", "JAPS", "WOP"])
        self.assertEqual(self.unfiltered[1], len(self.lists[1]) + 2)


class MainTest(unittest.TestCase):
    def run_main(self, *args):
        err = io.StringIO()
        with contextlib.redirect_stderr(err):
            try:
                code = gen.main(list(args))
            except SystemExit as exit:
                code = exit.code
        return code, err.getvalue()

    def test_writes_lists_text_and_report_reproducibly_and_skips_when_current(self):
        with tempfile.TemporaryDirectory() as tmp:
            scowl, wordnet = write_fixture(tmp)
            out = os.path.join(tmp, "out")
            args = ["--scowl", scowl, "--wordnet", wordnet, "--out", out, "--text", out,
                    "--report", os.path.join(out, "report.txt")]
            self.assertEqual(self.run_main(*args), (0, ""))
            files = {}
            for n in range(1, 6):
                with open(os.path.join(out, "data%d.bin" % n), "rb") as f:
                    files[n] = f.read()
                with open(os.path.join(out, "words%d.txt" % n), encoding="ascii") as f:
                    self.assertEqual(f.read().splitlines(), decode(files[n]))
            self.assertIn("CENTER", decode(files[1]))
            with open(os.path.join(out, "report.txt"), encoding="ascii") as f:
                self.assertIn("left out as offensive (3): JAP JAPS WOP", f.read())

            # Same sources: nothing is regenerated.
            before = os.stat(os.path.join(out, "data1.bin")).st_ino
            self.assertEqual(self.run_main(*args), (0, ""))
            self.assertEqual(os.stat(os.path.join(out, "data1.bin")).st_ino, before)

            # A changed source regenerates, with the same bytes for the same input.
            with open(os.path.join(scowl, "english-words.10"), "a", encoding="utf-8") as f:
                f.write("newt\n")
            self.assertEqual(self.run_main(*args), (0, ""))
            with open(os.path.join(out, "data2.bin"), "rb") as f:
                self.assertEqual(decode(f.read()), sorted(decode(files[2]) + ["NEWT"]))

            second = os.path.join(tmp, "again")
            self.assertEqual(self.run_main("--scowl", scowl, "--wordnet", wordnet, "--out", second), (0, ""))
            for n in range(1, 6):
                with open(os.path.join(out, "data%d.bin" % n), "rb") as a, \
                        open(os.path.join(second, "data%d.bin" % n), "rb") as b:
                    self.assertEqual(a.read(), b.read())

    def test_bad_sources_fail_with_a_message(self):
        with tempfile.TemporaryDirectory() as tmp:
            scowl, wordnet = write_fixture(tmp, scowl={"english-words.70": ["zebu"]})
            out = os.path.join(tmp, "out")
            code, err = self.run_main("--scowl", scowl, "--wordnet", wordnet, "--out", out)
            self.assertEqual(code, 1)
            self.assertIn("came out empty", err)
            self.assertFalse(os.path.exists(os.path.join(out, "data1.bin")))

            code, err = self.run_main("--scowl", os.path.join(tmp, "missing"), "--wordnet", wordnet,
                                      "--out", out)
            self.assertEqual(code, 2)
            self.assertIn("SCOWL folder not found", err)

            code, err = self.run_main("--scowl", scowl, "--wordnet", wordnet, "--out", out, "--level", "0")
            self.assertEqual(code, 2)

    def test_wordnet_without_the_offensive_domains_fails_instead_of_filtering_nothing(self):
        with tempfile.TemporaryDirectory() as tmp:
            synsets = [s for s in SYNSETS if s[2][0] not in ("ethnic_slur", "obscenity")]
            scowl, wordnet = write_fixture(tmp, synsets=synsets)
            code, err = self.run_main("--scowl", scowl, "--wordnet", wordnet,
                                      "--out", os.path.join(tmp, "out"))
            self.assertEqual(code, 1)
            self.assertIn("no usage domain", err)


if __name__ == "__main__":
    unittest.main()
