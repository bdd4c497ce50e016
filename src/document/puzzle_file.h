#pragma once

// The puzzle file (".kvz"): the stored crossword object with its class
// header, the document's page settings, colours and fonts, and the version of
// the program that wrote it. EncodePuzzle and DecodePuzzle work on plain
// values, so that the document, Load Solution and korvo-cli share one codec.
//
// Layout, all integers little-endian, no gaps:
//   object header FF FF 70 17 07 00 "CCWData";
//   gridText, gridSize, solutionText, status, title, answerTitle, author,
//   copyright, highestNumber, wordListId, notepad, N*N cell numbers (int32),
//   N*N circle bytes, the clue count and the clues (number, direction, clue,
//   answer, rectangle);
//   gridColor, cluesColor, titleColor, pageWidth, pageHeight, gridViewShown,
//   the margins (print and user, left, right, top, bottom), gridFont,
//   clueFont, titleFont, underlinedTitle, rightSideGrid;
//   programVersion (missing in files of version 60303).

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "model/cw_data.h"
#include "platform/win_types.h"

namespace korvo {

// Class name and schema of the stored crossword object.
inline constexpr char kPuzzleClassName[] = "CCWData";
inline constexpr std::uint16_t kPuzzleSchema = 6000;
// Version assumed for a file that ends before the version field.
inline constexpr std::int32_t kPuzzleVersionWithoutField = 60303;
// Largest puzzle file read. A full 28 x 28 puzzle with 250 long clues needs
// well under 1 MiB; anything far beyond that is not a puzzle file.
inline constexpr std::size_t kMaxPuzzleFileBytes = 16 * 1024 * 1024;

// Messages of the puzzle file.
inline constexpr char16_t kInvalidPuzzleFileMessage[] = u"ERROR: Invalid Puzzle File Format.";
inline constexpr char16_t kSaveErrorMessage[] = u"An error was encountered while saving the file.";
// Shown when a puzzle file cannot be opened at all (missing, unreadable),
// followed by the system's reason.
inline constexpr char16_t kOpenErrorMessage[] = u"Failed to open document.";

// The document's part of a puzzle file: page size, colours, view choice,
// margins, fonts and title flags, in the order they are stored.
struct PuzzleFilePage {
    COLORREF gridColor = 0;              // grid colour
    COLORREF cluesColor = 0;             // clue text colour
    COLORREF titleColor = 0;             // title colour
    std::int32_t pageWidth = 8000;       // printable page width, 0.001 inch
    std::int32_t pageHeight = 10500;     // printable page height, 0.001 inch
    bool gridViewShown = true;           // true: grid view, false: puzzle view
    std::int32_t printMarginLeft = 250;  // margins from the printable area's edge ...
    std::int32_t marginLeft = 250;       // ... and from the paper edge, side by side
    std::int32_t printMarginRight = 250;
    std::int32_t marginRight = 250;
    std::int32_t printMarginTop = 250;
    std::int32_t marginTop = 250;
    std::int32_t printMarginBottom = 250;
    std::int32_t marginBottom = 250;
    LOGFONTW gridFont;            // letters and numbers in the grids
    LOGFONTW clueFont;            // clue lists
    LOGFONTW titleFont;           // titles
    bool underlinedTitle = true;  // titles are drawn underlined
    bool rightSideGrid = true;    // the puzzle grid sits on the right of the page

    friend bool operator==(const PuzzleFilePage&, const PuzzleFilePage&) = default;
};

// The outcome of encoding: the file's bytes, or why the puzzle cannot be
// stored (and no bytes).
struct PuzzleEncodeResult {
    std::vector<std::uint8_t> bytes;  // the whole file when ok
    std::string error;                // empty when ok

    bool ok() const { return error.empty(); }
};

// Encodes a puzzle file. Refuses (error, no bytes) a puzzle that could not be
// read back: no puzzle, a size outside 1..28, a grid or answer grid that is
// not size x size characters, a status other than StatusFilled, or a text too
// long for the string encoding. The caller makes sure no fill runs on the
// puzzle (the save commands exist only for a filled puzzle).
PuzzleEncodeResult EncodePuzzle(const CCWData& puzzle, const PuzzleFilePage& page, std::int32_t programVersion);

// The outcome of decoding. On success puzzle holds a fresh puzzle without
// engine or word store, page the document part and programVersion the stored
// version (60303 when the file ends before it). On failure puzzle is null and
// error says what was wrong and where.
struct PuzzleDecodeResult {
    std::unique_ptr<CCWData> puzzle;  // the stored puzzle; null on failure
    PuzzleFilePage page;              // the document part
    std::int32_t programVersion = 0;  // version of the program that wrote the file
    std::string error;                // empty on success

    bool ok() const { return puzzle != nullptr; }
};

// The page part of a document, and setting it from a file.
class CkorvoDoc;
PuzzleFilePage PuzzleFilePageOf(const CkorvoDoc& doc);
void SetPuzzleFilePage(CkorvoDoc& doc, const PuzzleFilePage& page);

// Decodes a whole puzzle file. Every length and count is checked against the
// bytes left before anything is allocated. Format errors: a wrong object
// header (tag, schema, class name), a size outside 1..28, a grid or answer
// grid of another length than size x size, a status other than StatusFilled,
// a negative clue count or one the bytes left cannot hold, and the file
// ending anywhere before the version field. Bytes after the version field
// are ignored.
PuzzleDecodeResult DecodePuzzle(std::span<const std::uint8_t> bytes);

// The outcome of reading a puzzle file from the disk.
enum class PuzzleFileStatus {
    Ok,             // read and decoded
    CannotOpen,     // the file is missing, not a regular file or unreadable
    InvalidFormat,  // read, but not a puzzle file (also: larger than any puzzle file)
};
struct PuzzleFileRead {
    PuzzleFileStatus status = PuzzleFileStatus::CannotOpen;
    PuzzleDecodeResult decoded;  // the puzzle when Ok
    std::string error;           // what failed (path, system reason or format detail); empty when Ok
};

// Reads the whole file (at most kMaxPuzzleFileBytes) and decodes it. This is
// how the document, Load Solution and korvo-cli read puzzle files.
PuzzleFileRead ReadPuzzleFile(const std::filesystem::path& path);

}  // namespace korvo
