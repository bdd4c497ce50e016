"""Clues for words WordNet lacks but that are made from a word it has: a
prefix or suffix on a base ("resows" = re + sows, "spryly" = spry + ly) or two
words joined ("woodshed" = wood + shed). The clue says the same thing with a
synonym of the base, so it never names the answer: "Seeds again", "In a
nimble way", "Kind of outbuilding".
"""

from .checks import GENERAL_VERBS

# (prefix, parts of speech of the base, forms of the base allowed, template)
PREFIXES = (
    ("re", "v", None, "{} again"),
    ("un", "a", None, "Not {}"),
    ("un", "v", ("ed",), "Not {}"),
    ("non", "a", None, "Not {}"),
    ("mis", "v", None, "{} wrongly"),
    ("over", "v", None, "{} too much"),
    ("over", "a", None, "Too {}"),
    ("under", "v", None, "{} too little"),
    ("pre", "v", None, "{} beforehand"),
    ("semi", "a", None, "Partly {}"),
    ("ultra", "a", None, "Extremely {}"),
    ("hyper", "a", None, "Extremely {}"),
    ("co", "n", None, "Fellow {}"),
    ("ex", "n", ("",), "Former {}"),
)


def _article(word):
    return "an" if word[:1].lower() in "aeiou" else "a"


class Deriver:
    def __init__(self, wordnet, morphology):
        self.wn = wordnet
        self.morph = morphology

    def synonyms(self, word, pos, senses=3, participle=False):
        """Synonyms of a word used as the given part of speech, in the word's own
        form ("sows" gives "seeds"), from its first few senses. An -ed form
        takes the past tense, or the participle when participle is true."""
        out = []
        if self.wn.has_lemma(word, pos):
            for _, synset in self.wn.senses(word, pos)[:senses]:
                if not synset.offensive:
                    out.extend((("",), s) for s in synset.lemmas if s.lower() != word)
                    out.extend((("",), h) for h in self._broader(synset))
        for lemma, p, form in self.morph.lemmas(word):
            if p != pos:
                continue
            made = self.morph.clue_form(word, lemma, form, participle)
            for _, synset in self.wn.senses(lemma, pos)[:senses]:
                if synset.offensive:
                    continue
                for s in [l for l in synset.lemmas if l.lower() != lemma] + self._broader(synset):
                    inflected = self.morph.inflect(s, pos, made)
                    if inflected:
                        out.append(((form,), inflected))
        return out

    def _broader(self, synset):
        """The head words a verb's hypernyms and an adjective's similar
        adjectives give: "dare" stands for "challenge"."""
        out = []
        for symbol, target, source, _ in synset.pointers:
            if source == 0 and (symbol, synset.pos) in (("@", "v"), ("&", "a")):
                other = self.wn.synsets.get(target)
                if other is not None and not other.offensive and other.lemmas[0].lower() not in GENERAL_VERBS:
                    out.append(other.lemmas[0])
        return out

    def _forms_of(self, word, pos):
        forms = {""} if self.wn.has_lemma(word, pos) else set()
        forms.update(f for _, p, f in self.morph.lemmas(word) if p == pos)
        return forms

    def clues(self, word):
        """(order, text) of every derived clue of a lower-case word."""
        out = []
        for order, (prefix, pos, allowed, template) in enumerate(PREFIXES):
            base = word[len(prefix):]
            if not word.startswith(prefix) or len(base) < 3:
                continue
            forms = self._forms_of(base, pos)
            if allowed is not None:
                forms &= set(allowed)
            if not forms:
                continue
            # "Not {}" of a verb form is an adjective: the participle (UNTAKEN, "Not seized").
            for form, synonym in self.synonyms(base, pos, participle=allowed == ("ed",)):
                if allowed is None or form[0] in allowed:
                    out.append((order, template.format(synonym)))
        out.extend(self._suffix_clues(word))
        out.extend(self._compound_clues(word))
        return out

    def _adjective_bases(self, stem):
        """Adjectives that a stem left by taking off -ly or -ness can come from."""
        candidates = [stem]
        if stem.endswith("i"):
            candidates.append(stem[:-1] + "y")  # happily, happiness
        if stem.endswith("l"):
            candidates.append(stem + "e")  # simply from simple: "simp" + "l"
        if stem.endswith("ical"):
            candidates.append(stem[:-2])  # basically from basic
        return [c for c in candidates if len(c) >= 3 and self.wn.has_lemma(c, "a")]

    def _suffix_clues(self, word):
        out = []
        plural = False
        singular = word
        if word.endswith("es") and word[:-2].endswith(("ness", "ss")):
            singular, plural = word[:-2], True
        elif word.endswith("s") and not word.endswith("ss"):
            singular, plural = word[:-1], True
        order = len(PREFIXES)
        if word.endswith("ly"):
            stem = word[:-2]
            bases = self._adjective_bases(stem)
            if word.endswith("ly") and not bases and self.wn.has_lemma(word[:-1] + "e", "a"):
                bases = [word[:-1] + "e"]  # simply from simple
            for base in bases:
                for _, synonym in self.synonyms(base, "a"):
                    if " " not in synonym:
                        out.append((order, "In %s %s way" % (_article(synonym), synonym)))
        if word.endswith("ness") or singular.endswith("ness"):
            stem = (word if word.endswith("ness") else singular)[:-4]
            for base in self._adjective_bases(stem):
                for _, synonym in self.synonyms(base, "a"):
                    text = "Quality of being " + synonym
                    out.append((order + 1, text if not plural else "Cases of being " + synonym))
        for suffix in ("er", "or"):
            if singular.endswith(suffix) and len(singular) >= 5:
                stem = singular[:-2]
                # MOPER is one who mopes, not one who mops: the base with its e first.
                for base in (stem + "e", stem, stem[:-1] if len(stem) > 2 and stem[-1] == stem[-2] else None):
                    if base and self.wn.has_lemma(base, "v") and not self.wn.has_lemma(singular, "a"):
                        for form, synonym in self.synonyms(base, "v"):
                            if form == ("",):
                                if plural:
                                    out.append((order + 2, "Those who " + synonym))
                                else:
                                    third = self.morph.inflect(synonym, "v", "s")
                                    if third:
                                        out.append((order + 2, "One who " + third))
                        break
        if word.endswith(("able", "ible")) and len(word) > 7:
            # EDITABLE: "Can be revised", through the base verb's synonyms.
            stem = word[:-4]
            for base in (stem, stem + "e", stem[:-1] + "y" if stem.endswith("i") else None,
                         stem[:-1] if len(stem) > 2 and stem[-1] == stem[-2] else None):
                if base and len(base) >= 3 and self.wn.has_lemma(base, "v"):
                    for form, synonym in self.synonyms(base, "v"):
                        if form == ("",) and " " not in synonym:
                            participle = self.morph.inflect(synonym, "v", "part")
                            if participle:
                                out.append((order + 5, "Can be " + participle))
                    break
        if word.endswith("less") and len(word) > 7:
            base = word[:-4]
            for form, synonym in self.synonyms(base, "n"):
                if form == ("",):
                    out.append((order + 3, "Without " + synonym))
        if word.endswith("ish") and len(word) > 6:
            base = word[:-3]
            for candidate in (base, base + "e", base[:-1]):
                if len(candidate) >= 3 and self.wn.has_lemma(candidate, "a"):
                    for form, synonym in self.synonyms(candidate, "a"):
                        if form == ("",):
                            out.append((order + 4, "Somewhat " + synonym))
                    break
        return out

    def _compound_clues(self, word):
        """Two joined words clued by what the second is a kind of."""
        out = []
        order = len(PREFIXES) + 10
        for cut in range(3, len(word) - 3):
            first, second = word[:cut], word[cut:]
            if not self.wn.has_lemma(first):
                continue
            forms = self._forms_of(second, "n")
            if not forms:
                continue
            for form in sorted(forms):
                lemma = second
                if form:
                    lemmas = [l for l, p, f in self.morph.lemmas(second) if p == "n" and f == form]
                    if not lemmas:
                        continue
                    lemma = lemmas[0]
                # The first sense that is not a name ("smith", not Adam Smith).
                senses = [s for _, s in self.wn.senses(lemma, "n")
                          if any(l.lower() == lemma and l == l.lower() for l in s.lemmas)]
                if not senses:
                    continue
                synset = senses[0]
                for symbol, target, source, _ in synset.pointers:
                    if symbol != "@" or source != 0:
                        continue
                    head = self.wn.synsets[target].lemmas[0]
                    if form:
                        head = self.morph.inflect(head, "n", form)
                        if head:
                            out.append((order, head))
                    else:
                        out.append((order, "Kind of " + head))
        return out
