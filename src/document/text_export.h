#pragma once

#include "document/export_puzzle.h"

namespace korvo {

// Writes the puzzle in the Across Lite text format, version 2: every line
// ends in CR LF and every character is one byte (ISO 8859-1, see
// EncodeAcrossLiteText). The lines, in order:
//
//   <ACROSS PUZZLE V2>, <TITLE>, title, <AUTHOR>, author, <COPYRIGHT>,
//   copyright, <SIZE>, "NxN", <GRID>, N grid rows, [<REBUS>, MARK;],
//   <ACROSS>, the across clues, <DOWN>, the down clues, <NOTEPAD>, notepad.
//
// Grid rows: '.' for a block, a circled letter in lower case, any other
// letter in upper case. "<REBUS>" and "MARK;" (which tell the reader that
// lower-case letters are circled) are written only when a circled letter was
// written; a circled block stays '.'.
//
// Clues: each clue on its own line without its number. The reader pairs the
// n-th line of a section with the n-th entry of the grid, so the across clues
// are written in the grid's entry order under "<ACROSS>" and the down clues
// likewise under "<DOWN>" (for a list the program made, that is list order).
// "<DOWN>" is written in every file, before the first down clue (or after the
// last across clue when there is no down clue), so a list whose down numbers
// never drop below the last across number still has its down section. An
// empty clue (or one of spaces) is written as kEmptyClueLine, since readers
// skip blank lines there.
//
// One-line fields (title, author, copyright, clues): a line break (CR LF, CR
// or LF; in clues also U+2028 and U+2029) becomes one space, since a break
// inside a clue would make the reader count two clues. A field that would
// read as a tag (after leading spaces and tabs it begins with '<' and ends
// with '>', as "<DOWN>") is written with '(' and ')' in place of those two
// characters. The copyright loses a leading U+00A9 and the spaces after it
// (the reader adds its own sign) and holds at most 254 characters. The
// notepad keeps its line breaks, each written as CR LF, and ends with a line
// break.
//
// Fails, as the .puz and .ipuz writers do, when the grid's shape is wrong
// (size outside 1..28, grid text not size * size characters) or the clue list
// does not hold exactly one clue for every entry of the grid.
ExportResult WriteTextExport(const ExportPuzzle& puzzle);

// The line written for an empty clue.
inline constexpr char kEmptyClueLine[] = "-";

// The copyright line of the text format: the conversion above, encoded.
std::string TextExportCopyright(std::u16string_view copyright);

}  // namespace korvo
