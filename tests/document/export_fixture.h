#pragma once

// Puzzles for the export tests: a grid built from its rows and the small
// filled puzzle of tests/fixtures/exports (see its README), whose expected
// files those tests compare byte for byte.

#include <string>
#include <vector>

#include "document/export_puzzle.h"

namespace korvo::testsupport {

// A square puzzle of the given rows, no square circled, no texts, no clues.
inline ExportPuzzle MakePuzzle(const std::vector<std::u16string>& rows) {
    ExportPuzzle p;
    p.size = static_cast<int>(rows.size());
    for (const auto& r : rows) p.gridText += r;
    p.circled.assign(p.gridText.size(), 0);
    return p;
}

// The 4 x 4 puzzle of the fixture files: two circled letters, a circled
// block, texts outside ASCII and one clue for each of its eight entries.
inline ExportPuzzle SmallPuzzle() {
    ExportPuzzle p = MakePuzzle({u"CAB!", u"AREA", u"PEAR", u"!ARE"});
    p.circled[1 * 4 + 1] = 1;
    p.circled[2 * 4 + 2] = 1;
    p.circled[0 * 4 + 3] = 1;  // a circled block
    p.title = u"Small Puzzle \u2116 1";
    p.author = u"Zo\u00eb Example";
    p.copyright = u"\u00a9 2026 by Zo\u00eb";
    p.notepad = u"Line one\nLine two";
    p.clues = {
        {1, false, u"Taxi", u"CAB"},
        {4, false, u"Zone", u"AREA"},
        {6, false, u"Fruit with a \u201cneck\u201d", u"PEAR"},
        {7, false, u"Exist \u2014 plural form", u"ARE"},
        {1, true, u"Baseball hat", u"CAP"},
        {2, true, u"Region", u"AREA"},
        {3, true, u"Teddy\u2019s kind", u"BEAR"},
        {5, true, u"\u201cIs,\u201d plurally\u2026", u"ARE"},
    };
    return p;
}

}  // namespace korvo::testsupport
