// The puzzle file reader as Load Solution: the input is the file chosen in
// the open dialog, loaded into a filled current puzzle (15, 9, 5 or 21
// squares a side, by the input's length modulo 4). A file that decodes with
// the current size must become the answer grid with the right answer title;
// any other file must show its message and change neither the answer grid
// nor its title; the document ends up modified either way.
// Needs: src/document/puzzle_file.cpp

#include <cstdint>
#include <memory>
#include <string>

#include "document/puzzle_file.h"
#include "fuzz_document.h"

namespace {

using korvo::fuzz::Check;

std::unique_ptr<korvo::CCWData> FilledPuzzle(int size) {
    auto puzzle = std::make_unique<korvo::CCWData>();
    puzzle->gridSize = size;
    const std::size_t squares = static_cast<std::size_t>(size) * size;
    puzzle->gridText.assign(squares, u'A');
    for (std::size_t i = 0; i < squares; i += 4) puzzle->gridText[i] = u'!';
    puzzle->solutionText = puzzle->gridText;
    puzzle->answerTitle = u"Answer title";
    puzzle->SetStatus(korvo::StatusFilled);
    return puzzle;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    korvo::fuzz::FuzzDocumentState& state = korvo::fuzz::FuzzDocument();
    korvo::CkorvoDoc& doc = *state.doc;
    const std::filesystem::path path = korvo::fuzz::ScratchFolder() / "solution.kvz";
    const std::span<const std::uint8_t> bytes(data, size);
    korvo::fuzz::WriteFile(path, korvo::fuzz::AsText(data, size));

    static constexpr int kSizes[] = {15, 9, 5, 21};
    doc.cwData = FilledPuzzle(kSizes[size % 4]);
    doc.SetModifiedFlag(false);
    state.host.messages.clear();
    state.host.openAnswers = {path};
    const std::u16string grid = doc.cwData->GetGridText();
    const std::u16string before = doc.cwData->GetSolutionText();

    doc.OnLoadSolution();
    Check(state.host.openAnswers.empty(), "Load Solution asks for a file");
    Check(doc.IsModified(), "a chosen file marks the document modified");
    Check(doc.cwData->GetGridText() == grid && doc.cwData->GetStatus() == korvo::StatusFilled,
          "Load Solution leaves the grid and the status");

    const korvo::PuzzleDecodeResult decoded = korvo::DecodePuzzle(bytes);
    if (decoded.ok() && decoded.puzzle->gridSize == doc.cwData->gridSize) {
        Check(state.host.messages.empty(), "a matching solution shows nothing");
        Check(doc.cwData->GetSolutionText() == decoded.puzzle->gridText, "the file's grid is the answer grid");
        Check(doc.cwData->answerTitle == (decoded.puzzle->gridText == grid ? u"Puzzle Answer" : u"Previous Answer"),
              "the answer title says whose answer it is");
        return 0;
    }
    Check(state.host.messages.size() == 1, "a file that cannot be used shows one message");
    if (!decoded.ok()) Check(state.host.messages[0] == korvo::kInvalidPuzzleFileMessage, "the invalid-format message");
    Check(doc.cwData->GetSolutionText() == before && doc.cwData->answerTitle == u"Answer title",
          "a file that cannot be used leaves the answer grid and its title");
    return 0;
}
