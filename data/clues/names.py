"""Given names and family names from the name lists of the Faker library
(Debian's python3-fake-factory, Expat licence), for names WordNet lacks.

The lists are read as Python source with the ast module: nothing of Faker is
imported or run.
"""

import ast
import os

LOCALES = ("en", "en_US", "en_GB")
LISTS = ("first_names_female", "first_names_male", "last_names")

# Clue texts of each kind of name, taken in turn.
# Four of each, so that a puzzle with several such names seldom shows one text
# twice (the program picks one of a word's clues at random).
TEXTS = {
    "first_names_female": ("Girl's name", "Woman's name", "Feminine name", "Name for a daughter"),
    "first_names_male": ("Boy's name", "Man's name", "Masculine name", "Name for a son"),
    "last_names": ("Family name", "Surname", "Last name", "Name passed down"),
}


def read_names(folder):
    """List name -> set of upper-case names; empty sets when the folder is absent."""
    names = {name: set() for name in LISTS}
    for locale in LOCALES:
        path = os.path.join(folder, locale, "__init__.py")
        if not os.path.exists(path):
            continue
        with open(path, encoding="utf-8") as f:
            tree = ast.parse(f.read(), path)
        for node in ast.walk(tree):
            if not (isinstance(node, ast.Assign) and len(node.targets) == 1
                    and isinstance(node.targets[0], ast.Name) and node.targets[0].id in names):
                continue
            for item in ast.walk(node.value):
                if isinstance(item, ast.Constant) and isinstance(item.value, str) and item.value.isalpha():
                    names[node.targets[0].id].add(item.value.upper())
    return names


def name_clues(names, answer):
    """The name clues of an upper-case answer, girl's and boy's names first."""
    out = []
    for name in LISTS:
        if answer in names.get(name, ()):
            out.extend(TEXTS[name])
    return out
