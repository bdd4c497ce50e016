#!/usr/bin/env python3
"""Tests of the clue sources for words WordNet lacks: the dictionary
(GCIDE), the country tables (iso-codes), the time zone tables (tzdata) and
the city database (libgweather). Each reads a small fixture made of real
entries of its source, written to a temporary folder in the source's own
format; every clue a source gives must also pass the generator's checks.
"""

import gzip
import json
import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from clues.countries import Countries  # noqa: E402
from clues.gcide import Gcide, entry_senses, sense_clues  # noqa: E402
from clues.gweather import Cities  # noqa: E402
from clues.kinds import choose  # noqa: E402
from clues.timezones import TimeZones, country_names  # noqa: E402

# Real entries of gcide.dict.dz.
THEREUPON = """Thereupon \\There`up*on"\\, adv.
   1. Upon that or this; thereon. "They shall feed thereupon."
      --Zeph. ii. 7.
      [1913 Webster]

   2. On account, or in consequence, of that; therefore.
      [1913 Webster]

            [He] hopes to find you forward, . . .
            And thereupon he sends you this good news. --Shak.
      [1913 Webster]

   3. Immediately; at once; without delay.
      [1913 Webster]
"""
BILBO = """Bilbo \\Bil"bo\\, n.; pl. {Bilboes}.
   1. A rapier; a sword; so named from Bilbao, in Spain. --Shak.
      [1913 Webster]
"""
ROUST = """Roust \\Roust\\ (roust), v. t.
   To rouse; to disturb; as, to roust one out. [Prov. Eng. &
   Local, U.S.]
   [1913 Webster]
"""
ROCHE = """Roche \\Roche\\, n. [See {Rock}.]
   Rock. [Obs.] --Chaucer.
   [1913 Webster]
"""
OBEISANT = """Obeisant \\O*bei"sant\\, a. [F. ob['e]issant, p. pr. of ob['e]ir
   to obey.]
   Ready to obey; reverent; deferential; also, servilely
   submissive.
   [1913 Webster]
"""
PROBOSCIS = """Proboscis \\Pro*bos"cis\\, n.; pl. {Proboscides}. [L. fr. Gr. ?; ?
   before + ? to feed, graze.]
   1. (Zool.) A hollow organ or tube attached to the head, or
      connected with the mouth, of various animals; a snout; a trunk.
      [1913 Webster]
"""
CASTANET = """Castanet \\Cas"ta*net\\, n.
   See {Castanets}.
   [1913 Webster]
"""
NONELECTRIC = """Nonelectric \\Non`e*lec"tric\\, Nonelectrical \\Non`e*lec"tric*al\\,
   a.
   1. Not electric; conducting electricity. [archaic]
      [1913 Webster]

   2. Not powered by electricity; -- of machines, tools, or
      devices.
      [PJC]
"""
BOTCHER = """Botcher \\Botch"er\\, n.
   1. One who mends or patches, esp. a tailor or cobbler.
      --Shak.
      [1913 Webster]

   2. A clumsy or careless workman; a bungler.
      [1913 Webster]
"""
KNICKERBOCKER = """Knickerbocker \\Knick"er*bock`er\\, [capitalized] prop. n. [From
   Diedrich KNickerbocker, the fictional author of The History
   of New York, in fact written by Washington Irving.]
   A descendent of the early Dutch colonists of the New York
   City area; -- used mostly as a nickname for an inhabitant of
   New York state or especially New York City.
   [PJC]
"""
FABRIC = """Knickerbocker \\Knick"er*bock`er\\, n.
   A linsey-woolsey fabric having a rough knotted surface on the
   right side; used for women's dresses.
   [Webster 1913 Suppl.]
"""
PASSE = """passe \\pas*se"\\, Pass'e \\Pas`s['e]"\\, masc. Pass'ee
\\Pas`s['e]"e\\, fem.(p[a^]*s[asl]), a. [F.]
   Past; gone by; hence, past one's prime; worn; faded; as, a
   pass['e]e belle. --Ld. Lytton.
   [1913 Webster]
"""
DIDST = """Didst \\Didst\\,
   the 2d pers. sing. imp. of {Do}.
   [1913 Webster]
"""
CORINNE = """Corinne \\Co`rinne"\\ (k?`r?n"), n. (Zool.)
   The common gazelle ({Gazella dorcas}). See {Gazelle}.
   [Written also {korin}.]
   [1913 Webster]
"""
CONSTITUTIONALITY = """Constitutionality \\Con`sti*tu`tion*al"i*ty\\, n.; pl. -{ties}.
   [Cf. F. constitutionalit['e].]
   1. The quality or state of being constitutional, or inherent
      in the natural frame.
      [1913 Webster]
"""
SEISMOGRAPHIC = """Seismographic \\Seis`mo*graph"ic\\, a.
   Of or pertaining to a seismograph; indicated by a
   seismograph.
   [1913 Webster]
"""

_BASE64 = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/"


def base64_number(n):
    text = ""
    while True:
        text = _BASE64[n % 64] + text
        n //= 64
        if not n:
            return text


def write_dictd(folder, entries):
    """gcide.index and gcide.dict.dz of (headword, entry text) pairs."""
    data = b""
    index = []
    for headword, text in entries:
        raw = text.encode("utf-8")
        index.append("%s\t%s\t%s\n" % (headword, base64_number(len(data)), base64_number(len(raw))))
        data += raw
    with gzip.open(os.path.join(folder, "gcide.dict.dz"), "wb") as f:
        f.write(data)
    with open(os.path.join(folder, "gcide.index"), "w", encoding="utf-8") as f:
        f.writelines(sorted(index))


def checked(clues, answer):
    """The texts of the clues that pass the generator's checks."""
    return choose(clues, answer, known=set("upon that or this thereon therefore immediately at once "
                                           "rouse disturb reverent deferential snout trunk rapier sword".split()))


class GcideTest(unittest.TestCase):
    def test_senses_become_clues(self):
        # (entry, the clues of its senses in order)
        cases = [
            (THEREUPON, [["Upon that or this", "thereon"], ["On account, or in consequence, of that",
                                                            "therefore"],
                         ["Immediately", "at once", "without delay"]]),
            # Usage labels and examples go; markup letters are read.
            (ROUST, [["rouse", "disturb"]]),
            (OBEISANT, [["Ready to obey", "reverent", "deferential"]]),
            # A leading field label goes, and an etymology with Greek GCIDE
            # could not write; a definition the clause cutter cannot shorten
            # leaves its synonyms.
            (PROBOSCIS, [["snout", "trunk"]]),
            # A sense labelled archaic goes, in any case of the label.
            (NONELECTRIC, [["Not powered by electricity"]]),
            # "esp." starts a qualification, not a new sentence.
            (BOTCHER, [["One who mends or patches"], ["A clumsy or careless workman", "bungler"]]),
            # A qualification after the definition is no clue of its own.
            (FABRIC, []),
            # A pronunciation and a language label ([F.], not a letter)
            # before the definition.
            (PASSE, [["Past", "gone by", "worn", "faded"]]),
            # A sentence ends after a parenthesis.
            (CORINNE, [["The common gazelle (Gazella dorcas)"]]),
            # Obsolete senses, forms of another word and bare cross-references
            # give nothing.
            (DIDST, []),
            (ROCHE, []),
            (CASTANET, []),
        ]
        for entry, expected in cases:
            with self.subTest(entry=entry.split(" ")[0]):
                made = [[text for _, text in sense_clues(s)] for s in entry_senses(entry)]
                self.assertEqual([m for m in made if m], expected)

    def test_header_labels_and_etymology_go(self):
        # Labels and etymologies before and after the part of speech.
        self.assertEqual(entry_senses(KNICKERBOCKER)[0][:44], "A descendent of the early Dutch colonists of")
        # "pl. -{ties}" is a plural, not a sense.
        self.assertEqual(entry_senses(CONSTITUTIONALITY)[0][:28], "The quality or state of bein")

    def test_dictionary_files(self):
        with tempfile.TemporaryDirectory() as folder:
            write_dictd(folder, [("Thereupon", THEREUPON), ("Bilbo", BILBO), ("Bilboes", BILBO),
                                 ("Seismographic", SEISMOGRAPHIC), ("Roche", ROCHE)])
            gcide = Gcide(folder)
            self.assertIn("Immediately", checked(gcide.clues("THEREUPON"), "THEREUPON"))
            # The index points a plural at its singular's entry: not its definition.
            self.assertEqual(checked(gcide.clues("BILBO"), "BILBO"), ["Rapier", "Sword"])
            self.assertEqual(gcide.clues("BILBOES"), [])
            # A definition that names a form of its answer fails the checks.
            self.assertTrue(gcide.clues("SEISMOGRAPHIC"))
            self.assertEqual(checked(gcide.clues("SEISMOGRAPHIC"), "SEISMOGRAPHIC"), [])
            self.assertEqual(gcide.clues("ROCHE"), [])
            self.assertEqual(gcide.clues("UNKNOWN"), [])
        # Without the package the source gives nothing.
        self.assertEqual(Gcide("/nonexistent").clues("THEREUPON"), [])


# Real rows of iso_3166-1.json and iso_3166-2.json.
COUNTRIES = [
    {"alpha_2": "CA", "alpha_3": "CAN", "name": "Canada", "numeric": "124"},
    {"alpha_2": "GR", "alpha_3": "GRC", "name": "Greece", "numeric": "300", "official_name": "Hellenic Republic"},
    {"alpha_2": "KR", "alpha_3": "KOR", "common_name": "South Korea", "name": "Korea, Republic of",
     "numeric": "410"},
    {"alpha_2": "RU", "alpha_3": "RUS", "name": "Russian Federation", "numeric": "643"},
    {"alpha_2": "CN", "alpha_3": "CHN", "name": "China", "numeric": "156",
     "official_name": "People's Republic of China"},
    {"alpha_2": "TW", "alpha_3": "TWN", "common_name": "Taiwan", "name": "Taiwan, Province of China",
     "numeric": "158", "official_name": "Taiwan, Province of China"},
    {"alpha_2": "KZ", "alpha_3": "KAZ", "name": "Kazakhstan", "numeric": "398",
     "official_name": "Republic of Kazakhstan"},
    {"alpha_2": "VG", "alpha_3": "VGB", "name": "Virgin Islands, British", "numeric": "092",
     "official_name": "British Virgin Islands"},
    {"alpha_2": "MU", "alpha_3": "MUS", "name": "Mauritius", "numeric": "480",
     "official_name": "Republic of Mauritius"},
]
DIVISIONS = [
    {"code": "CA-ON", "name": "Ontario", "type": "Province"},
    {"code": "RU-AMU", "name": "Amurskaya oblast'", "type": "Administrative region"},
    {"code": "RU-BEL", "name": "Belgorodskaya oblast'", "type": "Administrative region"},
    {"code": "CN-JL", "name": "Jilin Sheng", "type": "Province"},
    {"code": "CN-TW", "name": "Taiwan Sheng", "type": "Province"},
    {"code": "KR-11", "name": "Seoul-teukbyeolsi", "type": "Special city"},
    {"code": "AZ-ABS", "name": "Abşeron", "type": "Rayon"},
]
ZONES = "#country-code\tcoordinates\tTZ\tcomments\nKZ\t+4315+07657\tAsia/Almaty\tmost of Kazakhstan\n" \
        "VG\t+1827-06437\tAmerica/Tortola\nMU\t-2010+05730\tIndian/Mauritius\n" \
        "RU\t+5443+02030\tEurope/Kaliningrad\tMSK-01 - Kaliningrad\n" \
        "RU\t+4658+14242\tAsia/Sakhalin\tMSK+08 - Sakhalin Island\n"
ZONE_COUNTRIES = "#code\tname\nKZ\tKazakhstan\nVG\tVirgin Islands (UK)\nMU\tMauritius\nRU\tRussia\n"


class PlacesTest(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        path = self.folder.name
        with open(os.path.join(path, "iso_3166-1.json"), "w", encoding="utf-8") as f:
            json.dump({"3166-1": COUNTRIES}, f)
        with open(os.path.join(path, "iso_3166-2.json"), "w", encoding="utf-8") as f:
            json.dump({"3166-2": DIVISIONS}, f)
        with open(os.path.join(path, "zone.tab"), "w", encoding="utf-8") as f:
            f.write(ZONES)
        with open(os.path.join(path, "iso3166.tab"), "w", encoding="utf-8") as f:
            f.write(ZONE_COUNTRIES)
        self.countries = Countries(path, short_names=country_names(path))
        self.zones = TimeZones(path, self.countries.names)

    def tearDown(self):
        self.folder.cleanup()

    def test_countries_and_subdivisions(self):
        # (answer, clues)
        cases = [
            ("ONTARIO", ["Province of Canada"]),
            ("JILIN", ["Province of China"]),
            ("GREECE", ["Hellenic Republic"]),
            # tzdata's short name is preferred to ISO's "Russian Federation".
            ("RUSSIA", []),
            # A country is never clued as another's province; an official name
            # holding the answer fails the checks.
            ("TAIWAN", []),
            ("KAZAKHSTAN", []),
            # Adjectival and hyphenated names are no answers; a type a solver
            # would not know gives no clue.
            ("AMURSKAYA", []),
            ("SEOULTEUKBYEOLSI", []),
            ("ABSERON", []),
        ]
        for answer, expected in cases:
            with self.subTest(answer=answer):
                self.assertEqual(checked(self.countries.clues(answer), answer), expected)
        self.assertEqual(self.countries.names["RU"], "Russia")
        self.assertEqual(self.countries.names["KR"], "South Korea")

    def test_time_zone_cities(self):
        cases = [
            ("ALMATY", ["City in Kazakhstan"]),
            ("KALININGRAD", ["City in Russia"]),
            ("TORTOLA", ["Place in the British Virgin Islands"]),  # an island
            ("SAKHALIN", ["Place in Russia"]),  # an island, as the comment says
            ("MAURITIUS", []),  # the zone is the country itself
        ]
        for answer, expected in cases:
            with self.subTest(answer=answer):
                self.assertEqual(checked(self.zones.clues(answer), answer), expected)

    def test_city_database(self):
        xml = """<?xml version="1.0" encoding="utf-8"?>
<gweather format="1.0">
  <region><_name>Africa</_name>
    <country>
      <_name>Algeria</_name>
      <iso-code>DZ</iso-code>
      <city>
        <!-- A city in Algeria -->
        <_name>Annaba</_name>
      </city>
      <city>
        <!-- The capital of Algeria.
             "Algiers" is the traditional English name.
          -->
        <_name>Algiers</_name>
      </city>
    </country>
  </region>
  <region><_name>Asia</_name>
    <country>
      <_name>India</_name>
      <iso-code>IN</iso-code>
      <state>
        <_name>Bihar</_name>
        <city><_name>Patna</_name></city>
      </state>
      <state>
        <_name>Uttar Pradesh</_name>
        <city><_name>Uttar</_name></city>
      </state>
    </country>
  </region>
  <region><_name>North America</_name>
    <country>
      <_name>United States</_name>
      <iso-code>US</iso-code>
      <state>
        <_name>Ohio</_name>
        <city><_name>Cleveland</_name></city>
        <city><_name>North Canton</_name></city>
      </state>
    </country>
  </region>
</gweather>
"""
        path = os.path.join(self.folder.name, "Locations.xml")
        with open(path, "w", encoding="utf-8") as f:
            f.write(xml)
        cities = Cities(path, self.countries.names)
        cases = [
            ("ANNABA", ["City in Algeria"]),
            ("ALGIERS", ["Capital of Algeria", "City in Algeria"]),
            ("PATNA", ["City in Bihar, India"]),
            ("CLEVELAND", ["City in Ohio"]),
            ("UTTAR", []),  # names its answer
            ("NORTHCANTON", []),
        ]
        for answer, expected in cases:
            with self.subTest(answer=answer):
                self.assertEqual(checked(cities.clues(answer), answer), expected)
        self.assertEqual(Cities("/nonexistent").clues("ALGIERS"), [])


if __name__ == "__main__":
    unittest.main()
