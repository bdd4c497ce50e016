"""Countries and their subdivisions from the ISO 3166 tables of Debian's
iso-codes (LGPL-2.1+): "Province of Canada", "Region of Russia".

A continent is not in the tables, so no clue says where a country lies; a
country is clued by its official name where that differs from its short one
("Hellenic Republic" for GREECE), and elsewhere by its capital when another
source gives it.
"""

import json
import os
import re
import unicodedata

from .kinds import GLOSS

# The subdivision types a clue can name, as the clue names them. Types that
# mean nothing to a solver (Rayon, Popularate, Geographical unit) give none.
TYPES = {
    "state": "State", "province": "Province", "region": "Region", "county": "County",
    "oblast": "Region", "district": "District", "department": "Department",
    "governorate": "Governorate", "prefecture": "Prefecture", "parish": "Parish",
    "canton": "Canton", "republic": "Republic", "emirate": "Emirate", "territory": "Territory",
    "union territory": "Territory", "land": "State", "voivodship": "Province",
    "autonomous region": "Region", "autonomous community": "Region", "administrative region": "Region",
    "regional state": "State", "autonomous republic": "Republic", "council area": "Council area",
    "municipality": "Municipality", "island": "Island", "capital city": "Capital",
}


def answer_of(name):
    """The upper-case answer a place name is, or None when it is not one word of letters."""
    text = unicodedata.normalize("NFKD", name)
    text = "".join(c for c in text if not unicodedata.combining(c))
    return text.upper() if text.isascii() and text.isalpha() else None


def plain(name):
    """A name fit for a clue: no inverted "Korea, Republic of", no bracket."""
    return name if name and not re.search(r"[,()]", name) else None


_THE = re.compile(r"\b(?:Islands|Republic|Kingdom|States|Emirates|Netherlands|Bahamas|Philippines|Maldives|"
                  r"Gambia|Comoros|Seychelles|Territory|Territories)\b")


def in_country(name):
    """The name as it follows "in" or "of": "the United States"."""
    return "the " + name if _THE.search(name) and not name.startswith("the ") else name


class FactTable:
    """Clue texts per answer from one fact source, each text once, in the
    order found; they rank after WordNet's senses, at the source's place."""

    RANK = 9

    def __init__(self):
        self.facts = {}

    def _add(self, answer, text):
        texts = self.facts.setdefault(answer, [])
        if text not in texts:
            texts.append(text)

    def clues(self, answer):
        return [((2, self.RANK, n), GLOSS, text) for n, text in enumerate(self.facts.get(answer, ()))]


class Countries(FactTable):
    """country code -> the name a clue gives it; answer -> (rank, kind, text)."""

    RANK = 8

    def __init__(self, folder="/usr/share/iso-codes/json", short_names=None):
        """short_names: code -> a shorter name from another source (tzdata's
        "Russia" for the "Russian Federation")."""
        super().__init__()
        self.names = {}
        countries = self._read(os.path.join(folder, "iso_3166-1.json"), "3166-1")
        for country in countries:
            code = country.get("alpha_2")
            name = plain((short_names or {}).get(code)) or plain(country.get("common_name")) \
                or plain(country.get("name")) or plain(country.get("official_name"))
            if code and name:
                self.names[code] = name
        for country in countries:
            official = plain(country.get("official_name"))
            answer = answer_of(self.names.get(country.get("alpha_2"), ""))
            if answer and official and official != self.names[country["alpha_2"]]:
                self._add(answer, re.sub(r"^the ", "", official))
        nations = {answer_of(n) for n in self.names.values()}
        for division in self._read(os.path.join(folder, "iso_3166-2.json"), "3166-2"):
            # China's provinces carry their type in Chinese: "Jilin Sheng".
            name = re.sub(r" (?:Sheng|Zizhiqu)$", "", division.get("name", ""))
            answer = answer_of(name)
            if answer in nations:
                continue  # a country in its own right is not clued as part of another
            kind = TYPES.get(division.get("type", "").lower())
            country = self.names.get(division.get("code", "")[:2])
            if answer and kind and country:
                self._add(answer, "%s of %s" % (kind, in_country(country)))

    @staticmethod
    def _read(path, key):
        if not os.path.exists(path):
            return []
        with open(path, encoding="utf-8") as f:
            return json.load(f).get(key, [])

