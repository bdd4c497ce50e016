#pragma once

// The puzzle as the export writers take it, and its Across Lite text export.

#include "document/export_puzzle.h"
#include "model/cw_data.h"

namespace korvo {

// A plain copy of what the export writers need of a filled puzzle: size, grid
// (read under the lock), circles, clues (down when the entry's direction is
// "DOWN"), title, author, copyright and notepad.
ExportPuzzle ExportPuzzleOf(CCWData& puzzle);

// The puzzle's text export: the file's bytes, or an error and no bytes.
ExportResult BuildTextExport(CCWData& puzzle);

}  // namespace korvo
