#pragma once

#include "document/export_puzzle.h"

namespace korvo {

// Writes the puzzle as an ipuz crossword: a UTF-8 JSON object with
//
//   "version": "http://ipuz.org/v2", "kind": ["http://ipuz.org/crossword#1"],
//   "dimensions": {"width": N, "height": N},
//   "title", "author", "copyright", "notes" (the texts as stored),
//   "puzzle": N rows of N cells: the clue number, 0 for an unnumbered open
//             square, "#" for a block; a circled open square is
//             {"cell": number or 0, "style": {"shapebg": "circle"}},
//   "solution": N rows of N cells: the letter, "#" for a block,
//   "clues": {"Across": [[number, "text"], ...], "Down": [...]}, each by number.
//
// The numbering is computed from the grid. A circled block is written as a
// plain block. Refuses (an error and no bytes) a grid of the wrong shape, an
// open square that holds no letter A to Z, and a clue list that does not hold
// exactly one clue for every entry of the grid.
ExportResult WriteIpuzExport(const ExportPuzzle& puzzle);

}  // namespace korvo
