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
from clues.kinds import GLOSS, NAME, SYNONYM, ClueMaker, blank_clue, gloss_clue  # noqa: E402
from clues.morph import Morphology  # noqa: E402
from clues.spelling import Speller, read_scowl  # noqa: E402
from clues.wordnet import Synset, WordNet  # noqa: E402
import exclusions  # noqa: E402
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
            # a past tense or a participle alone, when the two differ
            ("steal", "v", "past", "stole"),
            ("steal", "v", "part", "stolen"),
            ("swim", "v", "past", "swam"),
            ("swim", "v", "part", "swum"),
            ("beat", "v", "past", "beat"),
            ("beat", "v", "part", "beaten"),
            ("stop", "v", "past", "stopped"),
            # verbs whose forms are the verb: no CASTED, no PUTTED (that is putt's)
            ("cast", "v", "ed", "cast"),
            ("put", "v", "ed", "put"),
            ("cut", "v", "part", "cut"),
            ("edge tool", "n", "pl", "edge tools"),
        ]
        for lemma, pos, form, expected in cases:
            with self.subTest(lemma=lemma, form=form):
                self.assertEqual(self.morph.inflect(lemma, pos, form), expected)

    def test_forms_that_must_be_refused(self):
        cases = [
            ("go", "v", "ed"),         # went and gone: no one past form
            ("cat", "v", "ed"),        # WordNet's CATTED is not a word of the lists
            ("cat", "v", "past"),      # nor as a past tense alone
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

    def test_the_form_an_ed_answer_is_clued_in(self):
        cases = [("stolen", "steal", "part"), ("mown", "mow", "part"), ("swum", "swim", "part"),
                 ("stole", "steal", "past"), ("swam", "swim", "past"), ("shoplifted", "shoplift", "past")]
        for word, lemma, reading in cases:
            with self.subTest(word=word):
                self.assertEqual(self.morph.reading(word, lemma), reading)


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
            # a short function word inside the answer is no form of it; the
            # answer's own root is, and so is a word one letter off it
            ("names its answer", ("The ___ limit", "THERMODYNAMIC"), ("Light opera", "OPERETTA")),
            ("names its answer", ("For that reason", "THEREFORE"), ("Casts", "CASTED")),
            # "being" closes a noun phrase
            ("cut mid-phrase", ("Mythical being", "GALATEA"), ("The state of being in the", "LIMBO")),
        ]
        for name, good, bad in cases:
            with self.subTest(check=name):
                words = known if name == "not a word" else None
                self.assertIsNone(checks.failed_check(good[0], good[1], words))
                self.assertEqual(checks.failed_check(bad[0], bad[1], words), name)

    def test_generic_name_clues(self):
        self.assertTrue(checks.is_generic("Girl's name"))
        self.assertFalse(checks.is_generic("Golda ___"))


def small_wordnet(entries, exceptions=None):
    """A WordNet of a few real entries: (pos, offset) -> (lemmas, definition,
    hypernym keys); each lemma's senses in the order given."""
    wordnet = WordNet.__new__(WordNet)
    wordnet.synsets, wordnet.index, wordnet.tag_counts, wordnet.verb_sentences = {}, {}, {}, {}
    wordnet.exceptions = {"n": {}, "v": {}, "a": {}, "r": {}}
    for pos, table in (exceptions or {}).items():
        wordnet.exceptions[pos].update(table)
    for key, (lemmas, definition, hypernyms) in entries.items():
        pointers = [("@", h, 0, 0) for h in hypernyms]
        wordnet.synsets[key] = Synset(key, key[0], lemmas, pointers, [definition], [])
        for lemma in lemmas:
            senses = wordnet.index.setdefault(lemma.lower(), [])
            for p, offsets in senses:
                if p == key[0]:
                    offsets.append(key[1])
                    break
            else:
                senses.append((key[0], [key[1]]))
    return wordnet


class BaseInflectionTest(unittest.TestCase):
    """An unclued inflection takes its base's clues in the same form."""

    WORDNET = small_wordnet({
        ("v", 1): (["simplify"], "make simpler", []),
        ("v", 2): (["make"], "engage in", []),
        ("n", 3): (["napkin", "table napkin"], "a small piece of table linen that is used to wipe the mouth and to cover the lap in order to protect "
                            "clothing", []),
        ("n", 12): (["kind", "sort"], "a category of things distinguished by some common characteristic", []),
        ("n", 4): (["piece"], "a separate part of a whole", []),
        ("n", 5): (["sally", "sallying forth"], "venture off the beaten path", []),
        ("n", 6): (["venture"], "any venturesome undertaking", []),
        ("v", 7): (["venture"], "proceed somewhere despite the risk", []),
        ("a", 8): (["lofty"], "of high moral or intellectual value", []),
        ("a", 9): (["tall"], "great in vertical dimension", []),
        ("n", 10): (["bungler"], "someone who makes mistakes because of incompetence", []),
        ("v", 11): (["bungle"], "make a mess of", []),
        ("v", 13): (["shoplift"], "steal in a store", []),
        ("v", 14): (["steal"], "take without the owner's consent", []),
        ("n", 15): (["steal"], "an advantageous purchase", []),
        ("n", 16): (["doodle"], "an aimless drawing", []),
        ("v", 17): (["doodle"], "make a doodle", []),
    }, {"v": {"made": ["make"], "stole": ["steal"], "stolen": ["steal"]}})
    KNOWN = {"make", "makes", "made", "making", "simplify", "simplifies", "simplified", "napkin", "napkins",
             "piece", "pieces", "sally", "sallied", "venture", "ventured", "tall", "lofty", "loftier",
             "bungle", "bungler", "bunglers", "kind", "kinds", "shoplift", "shoplifted", "steal", "stole",
             "stolen", "steals", "doodle", "doodled", "scribble", "scribbled"}

    def test_phrases_take_the_answers_form(self):
        morphology = Morphology(self.WORDNET, self.KNOWN)
        cases = [
            ("SIMPLIFIED", "SIMPLIFY", "Make simpler", ["Made simpler"]),
            ("SIMPLIFIES", "SIMPLIFY", "Make simpler", ["Makes simpler"]),
            ("NAPKINS", "NAPKIN", "Small piece of table linen", ["Small pieces of table linen"]),
            ("NAPKINS", "NAPKIN", "Kind of piece", ["Kinds of piece"]),
            ("OBOES", "OBOE", "Kind of double-reed instrument", ["Kinds of double-reed instrument"]),
            ("LOFTIER", "LOFTY", "Very tall", ["More tall"]),
            # a verb-only base's one-word clue is a verb: its past tense, of two forms
            ("SHOPLIFTED", "SHOPLIFT", "Steal", ["Stole"]),
            # refused: DOODLE is a noun too, so its "Steal" could be a noun's clue
            ("DOODLED", "DOODLE", "Steal", []),
            # refused: a noun's definition that reads like a verb phrase
            ("SALLIED", "SALLY", "Venture off the beaten path", []),
            # refused: the blank stands for the base, not the answer
            ("NAPKINS", "NAPKIN", "Folded ___ on the table", []),
            # refused: BUNGLERS is no -s form of BUNGLE
            ("BUNGLERS", "BUNGLE", "Make a mess of", []),
        ]
        for word, base, clue, expected in cases:
            with self.subTest(word=word, clue=clue):
                made = make_clue_sources.inflected_base_clues(word, [(GLOSS, clue)], base, morphology,
                                                              self.WORDNET)
                self.assertEqual([text for _, _, text in made], expected)


class BroaderKindsTest(unittest.TestCase):
    def test_a_kind_that_names_the_answer_gives_way_to_the_next(self):
        wordnet = small_wordnet({
            ("n", 1): (["novella"], "a short novel", [("n", 2)]),
            ("n", 2): (["novel"], "an extended fictional work in prose", [("n", 3)]),
            ("n", 3): (["fiction"], "a literary work based on the imagination", []),
            ("n", 4): (["sonnet"], "a verse form of fourteen lines", [("n", 5)]),
            ("n", 5): (["poem", "verse form"], "a composition written in metrical feet", [("n", 6)]),
            ("n", 6): (["literary composition"], "imaginative or creative writing", []),
        })
        maker = ClueMaker(wordnet, Morphology(wordnet, {"novella", "novellas", "fiction", "fictions"}))
        self.assertEqual(maker._broader_kinds("novella"), ["Kind of fiction"])
        self.assertEqual(maker._broader_kinds("novellas"), ["fictions"])
        self.assertEqual(maker._broader_kinds("sonnet"), [])  # "Kind of poem" serves


class SensesWithExcludedLemmasTest(unittest.TestCase):
    def test_only_a_sense_that_an_excluded_word_names_becomes_offensive(self):
        excluded = exclusions.Exclusion({"FUCK", "FUCKUP", "SONOFABITCH", "COITUS"})
        sexual = exclusions.Exclusion({"COITUS"})
        wordnet = small_wordnet({
            ("v", 1): (["botch", "bungle", "fuck up"], "make a mess of, destroy or ruin", []),
            ("v", 2): (["sleep together", "make love", "fuck"], "have sexual intercourse with", []),
            ("n", 3): (["son of a bitch", "SOB"], "a rogue", []),
            ("n", 4): (["coitus interruptus", "withdrawal"], "a method of birth control", []),
            ("n", 5): (["coon cat", "ringtail"], "a raccoon-like mammal", []),
        })
        make_clue_sources.mark_excluded_senses(wordnet, excluded, sexual)
        self.assertEqual([wordnet.synsets[k].offensive for k in sorted(wordnet.synsets, key=lambda k: k[1])],
                         [False, True, True, True, False])


@unittest.skipUnless(HAVE_SOURCES, "wordnet-base and scowl are not installed")
class RespellingTest(unittest.TestCase):
    def test_british_spelling_leaves_names_alone(self):
        speller = Speller(read_scowl(SCOWL), "british")
        cases = [
            ("The color of the sky", "The colour of the sky"),
            ("Capital of Niger", "Capital of Niger"),     # a name, not the rare word niger
            ("Kind of Niger-Congo", "Kind of Niger-Congo"),
            ("Color of Niger", "Colour of Niger"),
        ]
        for text, expected in cases:
            with self.subTest(text=text):
                self.assertEqual(speller.respell(text), expected)


class TidyTest(unittest.TestCase):
    def test_usage_notes_and_quotes_of_wordnet_glosses(self):
        cases = [
            ("(usually followed by `for') extremely desirous", "Extremely desirous"),
            ("(used of texts) shortened by condensing or rewriting", "Shortened by condensing or rewriting"),
            ("___ `New York' and write `NY'", "___ 'New York' and write 'NY'"),
            ("(Greek mythology)", "(Greek mythology)"),           # nothing would be left
            ("(of wine) dry", "(Of wine) dry"),                     # one word would be left
            ("Port (wine) of Oporto", "Port (wine) of Oporto"),    # not a leading note
            # the first letter is upper-cased, but not after a blank or a number
            ("cry of pain", "Cry of pain"),
            ("'tis the season", "'Tis the season"),
            ("___ accent", "___ accent"),
            ("___ Lanka", "___ Lanka"),
            ("44th president", "44th president"),
        ]
        for text, expected in cases:
            with self.subTest(text=text):
                self.assertEqual(checks.tidy(text), expected)


class HandCluesTest(unittest.TestCase):
    def test_every_hand_clue_passes_the_checks(self):
        clues = make_clue_sources.read_extra_clues(make_clue_sources.EXTRA_CLUES)
        self.assertIn("AHA", clues)
        for word, texts in clues.items():
            for text in texts:
                with self.subTest(word=word, clue=text):
                    self.assertIsNone(checks.failed_check(text, word))
                    self.assertEqual(checks.tidy(text), text)

    @unittest.skipUnless(HAVE_SOURCES, "wordnet-base and scowl are not installed")
    def test_every_hand_clue_can_be_respelt_for_every_variant(self):
        # A clue the respeller cannot put into a list's spelling is dropped
        # from that list: "Hansel's sister" left GRETEL unclued.
        clues = make_clue_sources.read_extra_clues(make_clue_sources.EXTRA_CLUES)
        scowl = read_scowl(SCOWL)
        for variant in sorted(set(make_clue_sources.VARIANT.values())):
            speller = Speller(scowl, variant)
            failing = [(w, t) for w, texts in sorted(clues.items()) for t in texts if speller.respell(t) is None]
            self.assertEqual(failing, [], variant)

    def test_no_misspelling_has_a_hand_clue(self):
        # A listed misspelling leaves the lists whatever its clues: a hand
        # clue for it would be a contradiction, and a sign the entry is wrong.
        clues = make_clue_sources.read_extra_clues(make_clue_sources.EXTRA_CLUES)
        misspelt = exclusions.read_excluded(make_clue_sources.MISSPELT)
        self.assertIn("TUSCON", misspelt)
        self.assertEqual(sorted(misspelt & set(clues)), [])

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
