#pragma once

#include <cstdint>
#include <string_view>

#include "document/export_puzzle.h"

namespace korvo {

// Writes the puzzle as an Across Lite binary file, version "1.3":
//
//   52-byte header (little-endian shorts) with every checksum, the solution
//   board (upper-case letters, '.' blocks), the player board ('-' open
//   squares, '.' blocks), then the NUL-terminated strings title, author,
//   copyright, the clues and the notes, then a GEXT section (one byte per
//   square, 0x80 = circled) when at least one open square is circled.
//
// The clues are written in the order the reader pairs them with the grid's
// entries: by number, the across clue before the down clue of the same
// number; the numbering is computed from the grid. Text is one byte per
// character, ISO 8859-1 (EncodeAcrossLiteText). The copyright is stored as it is (a
// leading U+00A9 becomes byte A9); the notepad becomes the notes.
//
// Refuses (an error and no bytes) a grid of the wrong shape, an open square
// that holds no letter A to Z, and a clue list that does not hold exactly one
// clue for every entry of the grid, since readers reject such a file or show
// a different puzzle.
ExportResult WritePuzExport(const ExportPuzzle& puzzle);

// The checksum of the format: for each byte, rotate the 16-bit sum right by
// one bit, then add the byte.
std::uint16_t PuzChecksum(std::string_view data, std::uint16_t seed);

}  // namespace korvo
