#!/usr/bin/env python3
"""Tests of the word list generator on small SCOWL and WordNet fixtures."""

import contextlib
import io
import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import exclusions  # noqa: E402
import make_clue_sources  # noqa: E402
import make_word_lists as gen  # noqa: E402
from clues.kinds import ClueMaker, choose  # noqa: E402
from clues.wordnet import Synset  # noqa: E402

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
        cls.lists, cls.unfiltered, cls.offensive, cls.indian, cls.listed_out, _ = gen.build_lists(
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


def write_excluded(folder, text):
    path = os.path.join(folder, "excluded.txt")
    with open(path, "w", encoding="utf-8") as f:
        f.write(text)
    return path


class ExclusionListTest(unittest.TestCase):
    def test_reads_words_upper_cased_past_comments_and_blank_lines(self):
        with tempfile.TemporaryDirectory() as tmp:
            path = write_excluded(tmp, "# Header: what the file is for\n\nFUCK\n  shit  \n"
                                       "\n   \nTWAT # a comment after the word\n# CUNT\n")
            self.assertEqual(exclusions.read_excluded(path), {"FUCK", "SHIT", "TWAT"})

    def test_an_entry_that_is_not_one_word_names_its_line(self):
        for bad in ("SON OF A BITCH", "X-RAY", "NAÏVE", "F*CK"):
            with self.subTest(entry=bad), tempfile.TemporaryDirectory() as tmp:
                path = write_excluded(tmp, "# header\nFUCK\n%s\n" % bad)
                with self.assertRaisesRegex(ValueError, r"excluded\.txt:3:"):
                    exclusions.read_excluded(path)

    def test_shipped_list_reads_and_holds_words(self):
        listed = exclusions.read_excluded()
        self.assertGreater(len(listed), 20)
        self.assertLess(len(listed), 300)


class ExclusionTest(unittest.TestCase):
    LISTED = {"FUCK", "SHIT", "DYKE", "PUSSY", "JAP", "SPIC", "SPAZ", "NIGGER", "COOLIE"}
    KNOWN = {"JAPE", "SPICE", "FUCKER", "NIGGERS", "SHITTING", "COCK", "PUSS", "COOLY"}

    def test_listed_words_and_their_inflections_are_excluded(self):
        exclusion = exclusions.Exclusion(self.LISTED, self.KNOWN)
        cases = [
            # listed, any case
            ("FUCK", True), ("fuck", True), ("Shit", True),
            # -s, -ed, -ing, -er, -ers, -est, -ings, also of a form that is a word
            ("FUCKS", True), ("FUCKED", True), ("FUCKING", True), ("FUCKER", True),
            ("FUCKERS", True), ("FUCKINGS", True), ("NIGGERS", True),
            # a doubled final consonant, and both spellings of it
            ("SHITTING", True), ("SHITTED", True), ("SHITS", True), ("JAPPED", True),
            ("SPAZZES", True),
            # a final e dropped, a final y turned into i
            ("DYKES", True), ("DYKED", True), ("DYKING", True),
            ("PUSSIES", True), ("PUSSIER", True), ("PUSSIEST", True), ("JAPS", True),
            # a shorter ordinary word (COOLY -> COOLIES) does not save a form
            ("COOLIES", True),
            # forms of an ordinary word that look like forms of a listed one
            ("JAPE", False), ("JAPES", False), ("JAPED", False), ("JAPING", False),
            ("SPICE", False), ("SPICER", False), ("SPICES", False),
            # words that only hold a listed word, and its neighbours
            ("SHITAKE", False), ("SCUNTHORPE", False), ("COCK", False), ("PUSS", False),
            ("PUSSYCAT", False), ("SHIFT", False), ("UNFUCK", False), ("", False),
        ]
        for word, expected in cases:
            with self.subTest(word=word):
                self.assertEqual(exclusion.excludes(word), expected)

    def test_without_the_ordinary_word_its_forms_count_as_the_listed_words(self):
        exclusion = exclusions.Exclusion({"JAP", "SPIC"}, known=set())
        self.assertTrue(exclusion.excludes("JAPED"))
        self.assertTrue(exclusion.excludes("SPICER"))
        self.assertFalse(exclusion.excludes("JAPES"))  # never a form of JAP

    def test_clue_text_is_matched_by_whole_words_in_any_case(self):
        exclusion = exclusions.Exclusion(self.LISTED, self.KNOWN)
        cases = [
            ("Get the fuck out", "fuck"), ("FUCKING hell", "FUCKING"),
            ("Mother-fucker", "fucker"), ("For fuck's sake", "fuck"),
            ("\"Shit!\", he said", "Shit"), ("Spics, in a slur", "Spics"),
            ("Scunthorpe United", None), ("Shitake mushrooms", None),
            ("Cocktail hour", None), ("Spices and herbs", None),
            ("Japes and jests", None), ("A pussycat", None), ("", None),
        ]
        for text, expected in cases:
            with self.subTest(text=text):
                self.assertEqual(exclusion.excluded_word_in(text), expected)


class ExcludedListsTest(unittest.TestCase):
    def test_listed_words_and_inflections_leave_every_variant(self):
        scowl = {
            "english-words.10": ["cat", "shit", "shits", "shitting", "shitty", "jape", "japes",
                                 "japed", "spice", "spicer"],
            "american-words.50": ["color", "dyke", "dykes"],
            "british-words.50": ["colour", "dyke", "dyked", "twat"],
            "canadian-words.50": ["colour", "twats"],
            "australian-words.50": ["colour", "spic"],
        }
        with tempfile.TemporaryDirectory() as tmp:
            scowl_dir, wordnet_dir = write_fixture(tmp, scowl=scowl)
            lists, unfiltered, _, _, listed_out, _ = gen.build_lists(
                scowl_dir, wordnet_dir, 60, 70, {"SHIT", "DYKE", "TWAT", "SPIC"})
        self.assertEqual(listed_out, ["DYKE", "DYKED", "DYKES", "SHIT", "SHITS", "SHITTING",
                                      "SPIC", "TWAT", "TWATS"])
        kept = {"CAT", "SHITTY", "JAPE", "JAPES", "JAPED", "SPICE", "SPICER"}
        self.assertEqual(set(lists[1]), kept | {"COLOR"})
        for n in (2, 3, 4, 5):
            with self.subTest(list=n):
                self.assertEqual(set(lists[n]), kept | {"COLOUR"})
        self.assertEqual(unfiltered[1], len(lists[1]) + 5)


class ExcludedCluesTest(unittest.TestCase):
    EXCLUSION = exclusions.Exclusion({"FUCK", "SONOFABITCH"}, {"FUCKER"})

    def test_choose_drops_clues_that_hold_an_excluded_word(self):
        candidates = [((0, 0), 0, "Get the fuck out"), ((0, 0), 1, "Leave in a hurry"),
                      ((0, 1), 0, "Fuckers, to some"), ((0, 1), 1, "Scunthorpe's cry")]
        self.assertEqual(choose(candidates, "SCRAM", reject=self.EXCLUSION.excluded_word_in),
                         ["Leave in a hurry", "Scunthorpe's cry"])

    def test_senses_with_an_excluded_lemma_become_offensive_and_lend_no_sentence(self):
        class Stub:
            pass
        wordnet = Stub()
        wordnet.synsets = {
            ("n", 1): Synset(("n", 1), "n", ["fuck", "screw"], [], ["sexual intercourse"],
                             ["he wanted a screw tonight"]),
            ("n", 2): Synset(("n", 2), "n", ["son of a bitch", "SOB"], [], ["a rogue"],
                             ["the sob story of tonight"]),
            ("n", 3): Synset(("n", 3), "n", ["screw"], [], ["a fastener"],
                             ["turn the screw tonight"]),
        }
        self.assertEqual(make_clue_sources.mark_excluded_senses(wordnet, self.EXCLUSION), 2)
        self.assertEqual([wordnet.synsets[("n", n)].offensive for n in (1, 2, 3)],
                         [True, True, False])
        # Another answer gets no blank from the sentence of an offensive sense.
        maker = ClueMaker(wordnet, None)
        self.assertEqual(maker.examples_by_word["tonight"], ["turn the screw tonight"])


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

    def test_a_change_of_the_exclusion_list_regenerates_and_a_bad_one_fails(self):
        with tempfile.TemporaryDirectory() as tmp:
            scowl, wordnet = write_fixture(tmp)
            out = os.path.join(tmp, "out")
            excluded = write_excluded(tmp, "# test list\nZEBRA\n")
            args = ["--scowl", scowl, "--wordnet", wordnet, "--out", out, "--text", out,
                    "--excluded", excluded]

            def words():
                with open(os.path.join(out, "words1.txt"), encoding="ascii") as f:
                    return f.read().split()
            self.assertEqual(self.run_main(*args), (0, ""))
            self.assertNotIn("ZEBRA", words())
            self.assertIn("CAT", words())

            write_excluded(tmp, "# test list\nZEBRA\nCAT\n")
            self.assertEqual(self.run_main(*args), (0, ""))
            self.assertNotIn("CAT", words())

            write_excluded(tmp, "# test list\nCAT\ntwo words\n")
            code, err = self.run_main(*args)
            self.assertEqual(code, 1)
            self.assertIn("excluded.txt:3", err)
            self.assertNotIn("CAT", words())  # the last good output stays

            os.unlink(excluded)
            code, err = self.run_main(*args)
            self.assertEqual(code, 1)
            self.assertIn("excluded.txt", err)

    def test_clue_generator_digest_follows_the_exclusion_list(self):
        with tempfile.TemporaryDirectory() as tmp:
            excluded = write_excluded(tmp, "CAT\n")
            for n in range(1, 6):
                with open(os.path.join(tmp, "data%d.bin" % n), "wb") as f:
                    f.write(gen.encode(["CAT"]))
            args = make_clue_sources.argparse.Namespace(
                word_lists=tmp, excluded=excluded, wordnet=os.path.join(tmp, "none"),
                scowl=os.path.join(tmp, "none"), names=os.path.join(tmp, "none"))
            before = make_clue_sources.input_digest(args)
            self.assertEqual(make_clue_sources.input_digest(args), before)
            write_excluded(tmp, "CAT\nDOG\n")
            self.assertNotEqual(make_clue_sources.input_digest(args), before)

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
