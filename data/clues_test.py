#!/usr/bin/env python3
"""Tests of the clue generator's parts on real WordNet entries: the inflector,
the clause cutter, the fill-in-the-blank maker, the correctness checks and
the word scores.

The inflector runs on WordNet's own index and exception lists with the SCOWL
words up to level 60 as the vocabulary (the shipped lists' words), read
directly: loading the whole database is not needed and would take seconds.
Without the Debian packages wordnet-base and scowl the tests are skipped.
"""

import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from clues import checks  # noqa: E402
from clues.kinds import GLOSS, NAME, SYNONYM, blank_clue, gloss_clue  # noqa: E402
from clues.morph import Morphology  # noqa: E402
from clues.scores import SCORE_HEADER, encode_scores, score  # noqa: E402
import make_clue_sources  # noqa: E402

WORDNET = "/usr/share/wordnet"
SCOWL = "/usr/share/dict/scowl"
HAVE_SOURCES = os.path.isdir(WORDNET) and os.path.isdir(SCOWL)


class IndexOnlyWordNet:
    """What the inflector asks of WordNet, read from the index and exception files."""

    def __init__(self, folder):
        self.index = {}
        self.exceptions = {}
        for pos, name in (("n", "noun"), ("v", "verb"), ("a", "adj"), ("r", "adv")):
            with open(os.path.join(folder, "index." + name), encoding="latin-1") as f:
                for line in f:
                    if not line.startswith(" "):
                        self.index.setdefault(line.split(" ", 1)[0], set()).add(pos)
            table = self.exceptions[pos] = {}
            with open(os.path.join(folder, name + ".exc"), encoding="latin-1") as f:
                for line in f:
                    fields = line.split()
                    table.setdefault(fields[0], []).extend(fields[1:])

    def has_lemma(self, lemma, pos=None):
        found = self.index.get(lemma.lower().replace(" ", "_"), ())
        return bool(found) if pos is None else pos in found


def list_vocabulary():
    """Lower-case SCOWL words of the United States list's categories up to level 60."""
    words = set()
    for name in os.listdir(SCOWL):
        base, _, level = name.rpartition(".")
        category, _, sub = base.partition("-")
        if (level.isdigit() and int(level) <= 60 and category in ("english", "american")
                and sub in ("words", "upper", "proper-names")):
            with open(os.path.join(SCOWL, name), encoding="latin-1") as f:
                words.update(checks.fold(w.strip()) for w in f)
    return words


@unittest.skipUnless(HAVE_SOURCES, "wordnet-base and scowl are not installed")
class InflectorTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.vocabulary = list_vocabulary()
        cls.morph = Morphology(IndexOnlyWordNet(WORDNET), cls.vocabulary)

    def test_forms_of_lemmas(self):
        cases = [
            # irregular, from the exception lists
            ("mouse", "n", "pl", "mice"),
            ("run", "v", "ed", "ran"),
            ("good", "a", "er", "better"),
            # consonant doubling, and none after two vowels or on a stressless end
            ("stop", "v", "ed", "stopped"),
            ("stop", "v", "ing", "stopping"),
            ("big", "a", "est", "biggest"),
            ("visit", "v", "ed", "visited"),
            ("mow", "v", "ed", "mowed"),
            # y rules and a final e
            ("carry", "v", "ed", "carried"),
            ("carry", "v", "s", "carries"),
            ("happy", "a", "est", "happiest"),
            ("play", "v", "s", "plays"),
            ("die", "v", "ing", "dying"),
            ("scythe", "v", "ed", "scythed"),
            ("box", "n", "pl", "boxes"),
            ("Vomit", "v", "ed", "Vomited"),
            ("cut down", "v", "ing", "cutting down"),
            ("edge tool", "n", "pl", "edge tools"),
        ]
        for lemma, pos, form, expected in cases:
            with self.subTest(lemma=lemma, form=form):
                self.assertEqual(self.morph.inflect(lemma, pos, form), expected)

    def test_forms_that_must_be_refused(self):
        cases = [
            ("go", "v", "ed"),         # went and gone: no one past form
            ("cat", "v", "ed"),        # WordNet's CATTED is not a word of the lists
            ("cast", "v", "ed"),       # CASTED is not either
            ("miaul", "v", "s"),       # nor MIAULS
            ("furniture", "n", "pl"),  # nor FURNITURES
            ("Troy", "n", "pl"),       # a name has no plural
            ("NATO", "n", "pl"),       # nor an initialism
            ("beautiful", "a", "er"),  # long adjectives take "more"
            ("be", "v", "s"),
            ("man of war", "n", "pl"),
        ]
        for lemma, pos, form in cases:
            with self.subTest(lemma=lemma, form=form):
                self.assertIsNone(self.morph.inflect(lemma, pos, form))

    def test_lemmas_of_inflected_words(self):
        cases = [("scythed", ("scythe", "v", "ed")), ("syringing", ("syringe", "v", "ing")),
                 ("derides", ("deride", "v", "s")), ("italicizing", ("italicize", "v", "ing")),
                 ("mice", ("mouse", "n", "pl")), ("stopped", ("stop", "v", "ed"))]
        for word, lemma in cases:
            with self.subTest(word=word):
                self.assertIn(lemma, self.morph.lemmas(word))
        self.assertNotIn(("stope", "v", "ed"), self.morph.lemmas("stopped"))


class ClauseCutterTest(unittest.TestCase):
    def test_glosses(self):
        cases = [
            # short glosses whole, the article dropped
            ("an edge tool for cutting grass", "edge tool for cutting grass"),
            ("(botany) a long narrow leaf", "long narrow leaf"),
            # cut at a comma or before a clause, never at a preposition
            ("a lifting device consisting of a horizontal cylinder turned by a crank on which a cable or rope winds",
             None),
            ("migration from a place (especially migration from your native country in order to settle in another)",
             "migration from a place"),
            ("the act of digging something out of the ground (especially a corpse) where it has been buried",
             "the act of digging something out of the ground"),
            ("of an achromatic color of any lightness intermediate between the extremes of white and black",
             None),
            ("a district of a city marked by poverty and inferior living conditions that is crowded",
             None),
        ]
        for gloss, expected in cases:
            with self.subTest(gloss=gloss):
                self.assertEqual(gloss_clue(gloss), expected)
                if expected:
                    self.assertFalse(checks.cut_mid_phrase(expected))


class BlankMakerTest(unittest.TestCase):
    def test_sentences(self):
        cases = [
            # whole sentences
            ("a compact style is brief and pithy", "pithy", "A compact style is brief and ___"),
            ("he signed the deed", "deed", "He signed the ___"),
            # a long sentence cut at a clause boundary around the blank
            ("when the tide turned, the boats that had waited in the harbor all night finally put out to sea",
             "harbor", None),
            ("although it rained all day, we took the boat out of the harbor and sailed to the island",
             "harbor", "We took the boat out of the harbor and sailed to the island".replace("harbor", "___")),
            # refused: the word twice, not as a whole word, too little context
            ("the sea, the sea", "sea", None),
            ("a well-known fact", "known", None),
            ("pass", "pass", None),
        ]
        for sentence, answer, expected in cases:
            with self.subTest(sentence=sentence):
                text = blank_clue(sentence, answer)
                self.assertEqual(text and text[0].upper() + text[1:], expected)

    def test_cut_sentences_never_end_open(self):
        sentence = ("the partitioning of India into two separate and autonomous countries, "
                    "India and Pakistan, followed independence in 1947")
        text = blank_clue(sentence, "into")
        self.assertTrue(text is None or not checks.cut_mid_phrase(text), text)
        self.assertEqual(blank_clue("he devolved his duties to his deputy while he was in the hospital, "
                                    "where he stayed for several weeks after the operation", "deputy"),
                         "he devolved his duties to his ___")


class ChecksTest(unittest.TestCase):
    def test_each_check_passes_one_clue_and_fails_another(self):
        known = {"mowed"}
        cases = [
            ("names its answer", ("Mowed", "SCYTHED"), ("Cut with a scythe", "SCYTHED")),
            ("names its answer", ("Ice cream", "SUNDAE"), ("Ice cream", "ICECREAM")),
            ("cut mid-phrase", ("Dark green leaves", "SPINACH"),
             ("Devolved his duties to his ___ while he was in the", "DEPUTY")),
            ("cut mid-phrase", ("Give up", "CEDE"), ("Of an achromatic color of any lightness intermediate", "GREY")),
            ("splits a word", ("Hypodermic ___", "SYRINGE"), ("Un-come-___-able", "AT")),
            ("splits a word", ("___ Norman", "GREG"), ("Murray Gell-___", "MANN")),
            ("blank without context", ("A ___ harbor", "SNUG"), ("___ II", "OLAV")),
            ("hollow kind", ("Lawmen", "DEPUTIES"), ("Someones", "DEPUTIES")),
            ("hollow kind", ("Kind of root", "EDDO"), ("Physical phenomena", "STORMS")),
            ("not a word", ("Mowed", "SCYTHED"), ("Regorged", "PUKED")),
        ]
        for name, good, bad in cases:
            with self.subTest(check=name):
                words = known if name == "not a word" else None
                self.assertIsNone(checks.failed_check(good[0], good[1], words))
                self.assertEqual(checks.failed_check(bad[0], bad[1], words), name)

    def test_generic_name_clues(self):
        self.assertTrue(checks.is_generic("Girl's name"))
        self.assertFalse(checks.is_generic("Golda ___"))


class HandCluesTest(unittest.TestCase):
    def test_every_hand_clue_passes_the_checks(self):
        clues = make_clue_sources.read_extra_clues(make_clue_sources.EXTRA_CLUES)
        self.assertIn("AHA", clues)
        for word, texts in clues.items():
            for text in texts:
                with self.subTest(word=word, clue=text):
                    self.assertIsNone(checks.failed_check(text, word))
                    self.assertEqual(checks.tidy(text), text)

    def test_a_bad_line_is_refused_with_its_number(self):
        import tempfile
        for bad in ("aha\tCry of discovery", "AHA Cry of discovery", "AHA\t ", "A-HA\tCry"):
            with self.subTest(line=bad), tempfile.NamedTemporaryFile("w", suffix=".txt", delete=False) as f:
                f.write("# comment\n\nOOPS\tCry after a slip\n" + bad + "\n")
            try:
                with self.assertRaisesRegex(ValueError, r":4:"):
                    make_clue_sources.read_extra_clues(f.name)
            finally:
                os.unlink(f.name)


class ScoresTest(unittest.TestCase):
    def test_score_of_level_and_best_clue(self):
        cases = [
            (10, [SYNONYM, GLOSS], 100),  # common, with a synonym
            (10, [], 50),                 # common, no clue
            (60, [GLOSS], 56),
            (60, [NAME], 26),             # only "Girl's name"
            (60, [], 16),
            (100, [], 4),                 # not in SCOWL
        ]
        for level, kinds, expected in cases:
            with self.subTest(level=level, kinds=kinds):
                self.assertEqual(score(level, kinds), expected)
                self.assertTrue(1 <= score(level, kinds) <= 100)

    def test_score_file(self):
        data = encode_scores([("CAT", 100), ("ZYZZYVA", 1)])
        self.assertEqual(data, (SCORE_HEADER + "\nCAT\t100\nZYZZYVA\t1\n").encode("ascii"))
        for bad in ([("CAT", 0)], [("CAT", 101)], [("Cat", 50)], [("CAT'S", 50)], [("A" * 61, 50)]):
            with self.subTest(bad=bad):
                with self.assertRaises(ValueError):
                    encode_scores(bad)


if __name__ == "__main__":
    unittest.main()
