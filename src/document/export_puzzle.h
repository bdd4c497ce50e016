#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace korvo {

// Largest grid the exports accept (the engine's limit: 28 rows and columns).
inline constexpr int kExportMaxSize = 28;

// One clue of the puzzle as the exports see it.
struct ExportClue {
    int number = 0;         // the clue number of the entry's first square
    bool down = false;      // false = across, true = down
    std::u16string clue;    // the clue text
    std::u16string answer;  // the entry's word, upper case (informational)
};

// A filled puzzle, handed to the export writers. A plain copy of what the
// puzzle model holds, so the writers depend on nothing but this struct.
struct ExportPuzzle {
    int size = 0;                       // rows = columns
    std::u16string gridText;            // size * size squares, row by row: '!' block, else the letter
    std::vector<std::uint8_t> circled;  // per square, same index: non-zero = circled; missing entries count as 0
    std::vector<ExportClue> clues;      // across by number, then down by number
    std::u16string title;
    std::u16string author;
    std::u16string copyright;
    std::u16string notepad;
};

// What a writer produces: the file's bytes, or an error text and no bytes.
struct ExportResult {
    std::string bytes;
    std::string error;  // empty on success

    bool ok() const { return error.empty(); }
};

// One entry of the grid as the standard numbering finds it.
struct GridEntry {
    int number = 0;
    bool down = false;
    int row = 0;
    int column = 0;
    int length = 0;
};

// The grid's structure: the clue number of every square (0 for blocks and
// unnumbered open squares) and the entries, ordered by number with the
// across entry before the down entry of the same number.
struct GridNumbering {
    std::vector<int> cellNumbers;
    std::vector<GridEntry> entries;
};

// A square is a block when its character is '!'; every other square is open.
inline bool IsBlockSquare(char16_t c) { return c == u'!'; }

// Whether square i is circled (an index beyond the circled list is not).
bool IsCircled(const ExportPuzzle& puzzle, std::size_t i);

// Checks the shape of the puzzle: a size of 1 to kExportMaxSize and a grid
// text of exactly size * size characters. Returns an error text, or empty.
std::string CheckGridShape(const ExportPuzzle& puzzle);

// The solution of a grid for the formats that hold letters only: letters
// receives size * size squares, row by row, '!' for a block and the
// upper-case letter of an open square (a lower-case letter counts as its
// upper case). Returns the shape's error (see CheckGridShape), else an error
// text naming the first open square that holds no letter A to Z, or empty.
std::string SolutionLetters(const ExportPuzzle& puzzle, std::u16string& letters);

// Numbers the grid: squares scanned row by row, each row from the left; a
// square that starts an across entry (edge or block on its left, open square
// on its right) or a down entry (edge or block above, open square below)
// gets the next number from 1. The puzzle's shape must have been checked.
GridNumbering NumberGrid(const ExportPuzzle& puzzle);

// Checks that the clue list holds exactly one clue for every entry of the
// grid and nothing else. Returns an error text, or empty.
std::string CheckCluesMatchGrid(const ExportPuzzle& puzzle, const GridNumbering& numbering);

// The clue of every entry of numbering, in its order (by number, across
// first); the clue list must have passed CheckCluesMatchGrid.
std::vector<const ExportClue*> CluesInGridOrder(const ExportPuzzle& puzzle, const GridNumbering& numbering);

// A clue as every format writes it: each line break (CR LF, CR, LF, U+2028,
// U+2029) becomes one space, since a clue is one line wherever it is shown
// and a text reader would count a broken clue as two.
std::u16string ClueOnOneLine(std::u16string_view clue);

// A puzzle as the letter-only formats (.puz, .ipuz) write it, checked.
struct CheckedSolution {
    std::u16string letters;   // size * size squares, row by row: '!' block, else 'A'..'Z'
    GridNumbering numbering;  // the grid's clue numbers and entries
};

// Checks, in this order, the grid's shape, its letters and the clue list
// against its entries, and fills solution. Returns the first error text,
// or empty.
std::string CheckSolution(const ExportPuzzle& puzzle, CheckedSolution& solution);

// Encodes UTF-16 text as one byte per character, ISO 8859-1, for the Across
// Lite formats:
// - U+0001..U+007F and U+00A0..U+00FF are written as their byte;
// - the curly quotes, dashes, ellipsis and bullet of code page 1252 (and
//   the primes, hyphens and minus sign like them) become their ASCII forms
//   (' " - -- ... *), since readers take the bytes 0x80..0x9F either as
//   code page 1252 punctuation or as control codes;
// - every other character (above U+00FF, the C1 control codes, U+0000, a
//   lone surrogate) becomes '?', one '?' per character (a surrogate pair is
//   one character).
std::string EncodeAcrossLiteText(std::u16string_view text);

}  // namespace korvo
