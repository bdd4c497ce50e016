"""Inflection both ways: from an inflected word to its WordNet lemmas, and from a
lemma to one of its inflected forms.

Forms: "pl" noun plural, "s" verb third person singular, "ed" verb past tense or
past participle (one form that serves as both), "past" verb past tense, "part"
verb past participle, "ing" verb present participle, "er" and "est" adjective
comparative and superlative. Irregular forms come from WordNet's exception
lists; regular ones from the usual suffix rules. A form made by the rules is
kept only when it is a known English word and leads back to its lemma, so
"stop" + "ed" gives "stopped", never "stoped".
"""

# WordNet's own detachment rules (suffix, ending of the base) per part of speech.
DETACH = {
    "n": [("s", ""), ("ses", "s"), ("xes", "x"), ("zes", "z"), ("ches", "ch"),
          ("shes", "sh"), ("men", "man"), ("ies", "y")],
    "v": [("s", ""), ("ies", "y"), ("es", "e"), ("es", ""), ("ed", "e"), ("ed", ""),
          ("ing", "e"), ("ing", ""), ("ied", "y")],
    "a": [("er", ""), ("est", ""), ("er", "e"), ("est", "e"), ("ier", "y"), ("iest", "y")],
}
# The last two rules of verbs and adjectives (carried, antsiest) are not
# WordNet's; a form found through them is still checked the other way, by the
# regular rules from the lemma, before any clue uses it.

FORMS_OF_POS = {"n": ("pl",), "v": ("s", "ed", "ing"), "a": ("er", "est")}
POS_OF_FORM = {"pl": "n", "s": "v", "ed": "v", "past": "v", "part": "v", "ing": "v", "er": "a", "est": "a"}
# Verbs whose past tense and participle are the verb itself; WordNet's
# exception lists leave them out, and the rules would make CUTTED, or PUTTED
# (which is the past of putt).
ZERO_CHANGE = frozenset("""bet beset broadcast burst cast cost cut forecast hit hurt let miscast offset
put quit read recast reset rid set shed shut slit split spread sublet thrust typeset undercut upset""".split())
# Verbs whose past tense alone is the verb itself: beat, beaten.
ZERO_PAST = ZERO_CHANGE | {"beat"}

VOWELS = set("aeiou")
# Verbs whose forms do not follow from one exception list entry each.
NOT_INFLECTED = {"be", "have", "do"}
# Words after which the head of a noun phrase comes before them ("man of war").
PHRASE_BREAKERS = {"of", "in", "on", "at", "for", "to", "with", "by", "from", "the", "and", "or", "a", "an"}


def _is_participle(form, forms):
    """True when an irregular -ed form of a verb is its past participle, told
    from the past tense among all its forms: taken, blown, torn, gone beside
    took, blew, tore, went; sung, swum beside sang, swam."""
    if form.endswith(("en", "wn", "rn", "ne")):
        return True
    return any(other != form and len(other) == len(form)
               and [a + b for a, b in zip(form, other) if a != b] == ["ua"] for other in forms)


def _classify(word, base, pos):
    """The form an inflected word has, given its base and part of speech."""
    if pos == "n":
        return "pl"
    if pos == "a":
        if word.endswith("est") or word in ("worst", "most", "least"):
            return "est"
        if word.endswith("er") or word in ("worse", "more", "less"):
            return "er"
        return None
    if word.endswith("ing"):
        return "ing"
    if word.endswith("s") and (word[:-1] == base or word[:-2] == base or word[:-3] + "y" == base):
        return "s"
    return "ed"


class Morphology:
    def __init__(self, wordnet, known_words):
        self.wn = wordnet
        self.known = known_words  # lower-case words of a large English word list
        self._inflected = {}
        self._lemmas = {}
        # lemma -> {form: set of irregular inflected forms}
        self.irregular = {}
        for pos, table in wordnet.exceptions.items():
            for inflected, bases in table.items():
                for base in bases:
                    if base == inflected:
                        continue
                    form = _classify(inflected, base, pos)
                    if form:
                        self.irregular.setdefault((base, pos), {}).setdefault(form, set()).add(inflected)

    def lemmas(self, word):
        """(lemma, pos, form) for every way the lower-case word inflects a WordNet lemma."""
        if word in self._lemmas:
            return self._lemmas[word]
        found = self._lemmas[word] = []
        seen = set()

        def add(base, pos, form):
            if base != word and form and (base, pos, form) not in seen and self.wn.has_lemma(base, pos):
                seen.add((base, pos, form))
                found.append((base, pos, form))

        for pos in ("n", "v", "a"):
            for base in self.wn.exceptions[pos].get(word, ()):
                add(base, pos, _classify(word, base, pos))
            for suffix, ending in DETACH[pos]:
                if word.endswith(suffix) and len(word) > len(suffix) + 1:
                    base = word[:-len(suffix)] + ending
                    add(base, pos, _classify(word, base, pos))
            # Doubled final consonants: "stopped", "running", "bigger".
            for suffix in ("ed", "ing") if pos == "v" else ("er", "est") if pos == "a" else ():
                stem = word[:-len(suffix)]
                if word.endswith(suffix) and len(stem) >= 3 and stem[-1] == stem[-2] and stem[-1] not in VOWELS:
                    add(stem[:-1], pos, suffix)
        return found

    def _regular(self, word, form):
        """Candidate regular forms of a one-word lemma, most likely first."""
        last = word[-1]
        before = word[-2] if len(word) > 1 else ""
        if form in ("pl", "s"):
            if form == "pl" and word.endswith("man") and word not in ("human", "shaman", "talisman"):
                return [word[:-3] + "men", word + "s"]
            if word.endswith(("s", "x", "z", "ch", "sh")):
                return [word + "es"]
            if last == "y" and before not in VOWELS:
                return [word[:-1] + "ies"]
            if last == "o" and before not in VOWELS:
                return [word + "s", word + "es"]
            return [word + "s"]
        suffix = form
        doubled = []
        if len(word) >= 3 and last not in VOWELS and last not in "wxy" and before in VOWELS \
                and word[-3] not in VOWELS:
            doubled = [word + last + suffix]
        if form == "ing":
            if word.endswith("ie"):
                return [word[:-2] + "ying"]
            if last == "e" and not word.endswith(("ee", "ye", "oe")):
                return [word[:-1] + "ing"]
            return [word + "ing"] + doubled
        # ed, er, est
        if last == "e":
            return [word + suffix[1:]]
        if last == "y" and before not in VOWELS:
            return [word[:-1] + "i" + suffix]
        return [word + suffix] + doubled

    def inflect_word(self, word, pos, form):
        """One inflected form of a one-word lemma, or None when it is not certain."""
        key = (word, pos, form)
        if key not in self._inflected:
            self._inflected[key] = self._inflect_word(word.lower(), pos, form)
        result = self._inflected[key]
        if result and word[0].isupper():
            result = word[0] + result[1:]
        return result

    def reading(self, word, lemma):
        """How a verb's -ed form reads as an answer: "part" when it is only
        the past participle (STOLEN, MOWN), else "past" (STOLE, SHOPLIFTED,
        which serves as both), the form its clue takes."""
        forms = self.irregular.get((lemma, "v"), {}).get("ed", set())
        return "part" if word in forms and _is_participle(word, forms) else "past"

    def clue_form(self, word, lemma, form, participle=False):
        """The form a clue of the lemma takes for an answer that is that form
        of it (one of lemmas's results): an -ed answer's clue takes the past
        tense or the participle it reads as, or the participle when asked
        ("Not seized" for UNSEIZED); every other form is the same."""
        if form != "ed":
            return form
        return "part" if participle else self.reading(word, lemma)

    def _tense(self, word, form):
        """The past tense ("past") or the past participle ("part") of a verb:
        took, taken; cut; None when there are two and neither is sure."""
        forms = self.irregular.get((word, "v"), {}).get("ed", set())
        wanted = {f for f in forms if _is_participle(f, forms) == (form == "part")}
        if form == "past" and word in ZERO_PAST or word in ZERO_CHANGE and not wanted:
            return word
        if len(forms) < 2:
            return self._inflect_word(word, "v", "ed")  # stopped, struck, mowed: one form serves both
        known = [f for f in wanted if f in self.known]
        return known[0] if len(known) == 1 else None

    def _inflect_word(self, word, pos, form):
        if word in NOT_INFLECTED:
            return None
        if pos == "v" and form in ("past", "part"):
            return self._tense(word, form)
        if pos == "v" and form == "ed" and word in ZERO_CHANGE:
            return word
        irregular = self.irregular.get((word, pos), {}).get(form)
        if irregular:
            if len(irregular) != 1:
                return None  # went and gone
            only = next(iter(irregular))
            # A verb with a regular past besides an irregular participle
            # (mowed, mown) takes the regular form, which serves both.
            regular = self._regular_form(word, pos, form) if pos == "v" else None
            if regular:
                return regular
            # Only a form in common use: WordNet lists CATTED for CAT.
            return only if only in self.known else None
        if pos == "a" and len(word) > 7:
            return None  # long adjectives take "more"/"most", not a suffix
        return self._regular_form(word, pos, form)

    def _regular_form(self, word, pos, form):
        """The form the regular rules make, when it is a known word that
        leads back to the lemma; else None."""
        for candidate in self._regular(word, form):
            if candidate in self.known and (word, pos, form) in self.lemmas(candidate):
                return candidate
        return None

    def inflect(self, phrase, pos, form):
        """Inflects a lemma that may hold several words: a noun phrase on its
        last word, a verb phrase on its first; None when that is not safe."""
        words = phrase.split(" ")
        if any(not w.isalpha() for w in words):
            return None
        if len(words) == 1:
            if phrase[1:] != phrase[1:].lower():
                return None  # no inflection of initialisms
            if phrase[0].isupper() and form == "pl":
                return None  # a name has no plural: ILIA are no "Troys"
            return self.inflect_word(phrase, pos, form)
        if pos == "n":
            if any(w.lower() in PHRASE_BREAKERS for w in words) or words[-1] != words[-1].lower():
                return None
            last = self.inflect_word(words[-1], pos, form)
            return " ".join(words[:-1] + [last]) if last else None
        if pos == "v":
            first = self.inflect_word(words[0], pos, form) if words[0] == words[0].lower() else None
            return " ".join([first] + words[1:]) if first else None
        return None
