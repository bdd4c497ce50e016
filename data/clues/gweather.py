"""World cities from the location database of Debian's libgweather-4-common
(GPL-2+): "City in Bihar, India", "Capital of Burkina Faso".

Locations.xml nests cities in their country and, for the larger countries,
their state; a comment before a city says when it is the capital ("The
capital of Algeria."), the only place a capital is given.
"""

import os
import re
import xml.etree.ElementTree as ET

from .countries import FactTable, answer_of, in_country, plain

PATH = "/usr/share/libgweather-4/Locations.xml"


def _name(element):
    name = element.find("_name")
    if name is None:
        name = element.find("name")
    return name.text.strip() if name is not None and name.text else None


class Cities(FactTable):
    RANK = 6

    def __init__(self, path=PATH, countries=None):
        """countries: ISO code -> the name a clue gives the country (the
        database's own names are ISO's: "Micronesia, Federated States of")."""
        super().__init__()
        if not os.path.exists(path):
            return
        parser = ET.XMLParser(target=ET.TreeBuilder(insert_comments=True))
        root = ET.parse(path, parser).getroot()
        for country in root.iter("country"):
            code = country.findtext("iso-code", "").strip()
            name = plain((countries or {}).get(code)) or plain(_name(country))
            if not name:
                continue
            capitals = {}
            for state in [country] + list(country.iter("state")):
                where = in_country(name)
                if state is not country:
                    state_name = plain(_name(state))
                    if not state_name:
                        continue
                    # The United States style: "City in Ohio"; elsewhere with the country.
                    where = state_name if code == "US" else "%s, %s" % (state_name, in_country(name))
                comment = None
                for child in state:
                    if child.tag is ET.Comment:
                        comment = child.text or ""
                        continue
                    if child.tag == "city":
                        answer = answer_of(_name(child) or "")
                        inner = [c.text or "" for c in child if c.tag is ET.Comment]
                        said = " ".join([comment or ""] + inner)
                        if answer:
                            if re.search(r"\bThe capital of " + re.escape(name) + r"\b", said):
                                capitals[answer] = "Capital of " + in_country(name)
                            self._add(answer, "City in " + where)
                    comment = None
            for answer, text in capitals.items():
                self.facts[answer].insert(0, text)

