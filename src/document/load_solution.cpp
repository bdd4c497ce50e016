// Load Solution: takes the solved grid of another puzzle file as the answer
// grid of the current puzzle, so that a puzzle can be printed together with
// the answers of an earlier one.
#include <string>

#include "document/ckorvo_doc.h"
#include "document/puzzle_file.h"

namespace korvo {

namespace {

constexpr char16_t kGridSizeMismatchMessage[] =
    u"ERROR:\n\n The grid size of the file selected is not equal to the grid size of the current puzzle.";

}  // namespace

void CkorvoDoc::OnLoadSolution() {
    // The command exists only for a filled puzzle: then no worker writes the
    // answer grid or its title.
    if (!cwData || cwData->GetStatus() != StatusFilled) return;

    const std::optional<std::filesystem::path> chosen =
        host.OpenFileDialog(u"Select Puzzle Solution File",
                            {FileFilter{u"Crossword Files (*.kvz)", u"*.kvz"}, FileFilter{u"All files (*.*)", u"*.*"}});
    if (!chosen || chosen->empty()) return;

    // The chosen file is decoded exactly as opening it would decode it, into
    // a puzzle of its own; only its grid is used. A file that cannot be
    // opened changes nothing and shows nothing.
    const PuzzleFileRead file = ReadPuzzleFile(*chosen);
    if (file.status == PuzzleFileStatus::InvalidFormat) {
        host.MessageBox(kInvalidPuzzleFileMessage);
    } else if (file.status == PuzzleFileStatus::Ok) {
        const CCWData& other = *file.decoded.puzzle;
        if (other.gridSize == cwData->gridSize) {
            cwData->SetSolutionText(other.gridText);
            cwData->answerTitle =
                cwData->GetGridText() == cwData->GetSolutionText() ? u"Puzzle Answer" : u"Previous Answer";
        } else {
            host.MessageBox(kGridSizeMismatchMessage);
        }
    }

    // Whatever came of it, a chosen file marks the document modified.
    SetModifiedFlag(true);
}

}  // namespace korvo
