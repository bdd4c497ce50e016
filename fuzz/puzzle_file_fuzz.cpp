// The puzzle file reader as the document's Open: the input is written as a
// .kvz file and opened with OpenPuzzleFile. A file that opens must give a
// filled puzzle of a valid size whose grids fit it, which can be saved
// again, and whose saved bytes open and save to the same bytes. A file that
// does not open must show the invalid-format message and leave the current
// puzzle, the page settings and the modified flag as they were.
// Needs: src/document/puzzle_file.cpp

#include <cstdint>
#include <string>

#include "document/puzzle_file.h"
#include "fuzz_document.h"

namespace {

using korvo::fuzz::Check;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    korvo::fuzz::FuzzDocumentState& state = korvo::fuzz::FuzzDocument();
    korvo::CkorvoDoc& doc = *state.doc;
    const std::filesystem::path path = korvo::fuzz::ScratchFolder() / "input.kvz";
    korvo::fuzz::WriteFile(path, korvo::fuzz::AsText(data, size));

    // Every input starts from the same document: no puzzle, not modified.
    doc.cwData.reset();
    doc.SetModifiedFlag(false);
    doc.gridColor = 0x123456;
    state.host.messages.clear();

    const bool opened = doc.OpenPuzzleFile(path);
    if (!opened) {
        Check(doc.cwData == nullptr, "a file that does not open leaves the puzzle as it was");
        Check(!doc.IsModified(), "a file that does not open leaves the modified flag");
        Check(doc.gridColor == 0x123456, "a file that does not open leaves the page settings");
        Check(state.host.messages.size() == 1 && state.host.messages[0] == korvo::kInvalidPuzzleFileMessage,
              "a file that does not open shows the invalid-format message");
        return 0;
    }

    Check(state.host.messages.empty(), "a file that opens shows nothing");
    Check(doc.cwData != nullptr && !doc.IsModified(), "an opened file is the unmodified document");
    korvo::CCWData& puzzle = *doc.cwData;
    Check(puzzle.gridSize >= 1 && puzzle.gridSize <= korvo::kMaxGridSide, "the grid size is 1 to 28");
    const std::size_t squares = static_cast<std::size_t>(puzzle.gridSize) * puzzle.gridSize;
    Check(puzzle.GetGridText().size() == squares, "the grid holds size x size squares");
    Check(puzzle.GetSolutionText().size() == squares, "the answer grid holds size x size squares");
    Check(puzzle.GetStatus() == korvo::StatusFilled, "an opened puzzle is filled");
    Check(puzzle.engine == nullptr && puzzle.wordStore == nullptr, "an opened puzzle has no engine");
    Check(doc.titleText == puzzle.title && doc.authorText == puzzle.author, "the page texts mirror the puzzle's");

    // What was opened can be saved, and what was saved opens to the same.
    const std::vector<std::uint8_t> saved = doc.EncodePuzzleFile();
    Check(!saved.empty(), "an opened puzzle can be saved");
    korvo::fuzz::WriteFile(path, std::string(saved.begin(), saved.end()));
    Check(doc.OpenPuzzleFile(path), "a saved puzzle opens");
    Check(doc.EncodePuzzleFile() == saved, "a saved puzzle opens and saves to the same bytes");
    return 0;
}
