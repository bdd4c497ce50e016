#pragma once

// The puzzle as the export writers take it, and its Across Lite text export.

#include <string>

#include "model/cw_data.h"

#if __has_include("document/export_puzzle.h")
#include "document/export_puzzle.h"
#define KORVO_HAVE_TEXT_EXPORT 1
#else
#define KORVO_HAVE_TEXT_EXPORT 0
#endif

namespace korvo {

#if KORVO_HAVE_TEXT_EXPORT
// A plain copy of what the export writers need of a filled puzzle: size, grid
// (read under the lock), circles, clues (down when the entry's direction is
// "DOWN"), title, author, copyright and notepad.
ExportPuzzle ExportPuzzleOf(CCWData& puzzle);
#endif

// The bytes of the puzzle's text export, or an error text (and no bytes).
struct TextExportBytes {
    std::string bytes;  // the whole file when ok
    std::string error;  // empty when ok

    bool ok() const { return error.empty(); }
};
TextExportBytes BuildTextExport(CCWData& puzzle);

}  // namespace korvo
