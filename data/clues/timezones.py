"""Cities that name a time zone, from Debian's tzdata (public domain):
"City in Kazakhstan" for ALMATY, "Place in
the British Virgin Islands" for TORTOLA, an island: the zones of the ocean
regions and of island countries are often named after an island.

zone.tab gives each zone's country code; iso3166.tab the country's short
English name ("Russia"), which reads better in a clue than the ISO name.
"""

import os

from .countries import FactTable, answer_of, in_country


def _rows(path):
    if not os.path.exists(path):
        return
    with open(path, encoding="utf-8") as f:
        for line in f:
            if line.strip() and not line.startswith("#"):
                yield line.rstrip("\n").split("\t")


def country_names(folder="/usr/share/zoneinfo"):
    """Country code -> tzdata's short English name."""
    return {row[0]: row[1] for row in _rows(os.path.join(folder, "iso3166.tab")) if len(row) >= 2}


class TimeZones(FactTable):
    RANK = 7

    def __init__(self, folder="/usr/share/zoneinfo", countries=None):
        """countries: code -> the name a clue gives the country."""
        super().__init__()
        names = countries if countries is not None else country_names(folder)
        for row in _rows(os.path.join(folder, "zone.tab")):
            if len(row) < 3 or row[0] not in names:
                continue
            city = row[2].split("/")[-1].replace("_", " ")
            answer = answer_of(city)
            # The zones of the ocean regions and of island countries, and
            # those whose comment says so, are often named after an island
            # (Indian/Mahe, America/Tortola, Asia/Sakhalin).
            island = row[2].startswith(("Atlantic/", "Indian/", "Pacific/", "Antarctica/")) \
                or "Islands" in names[row[0]] or "island" in (row[3] if len(row) > 3 else "").lower()
            place = "Place" if island else "City"
            if answer == answer_of(names[row[0]]):
                continue  # Aruba, Bermuda: the zone is the country
            text = "%s in %s" % (place, in_country(names[row[0]]))
            if answer:
                self._add(answer, text)
