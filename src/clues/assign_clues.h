#pragma once

#include <string>

namespace korvo {

class CCWData;

// The clue folder of a word list inside the data folder: "CLUES1/" ..
// "CLUES4/" for ids 1..4, "CLUES5/" for any other id.
std::u16string ClueFolderFor(const std::u16string& dataFolder, int wordListId);

// The clue of a word without any stored clue.
std::u16string PlaceholderClue(const std::u16string& answer);

// Appends one clue entry per engine slot, in the slots' order (across
// entries by number, then down entries by number, once the run has sorted
// them), each clue drawn at random from the clue database of the puzzle's
// word list with the calling thread's Random. Runs on the fill worker.
void AssignClues(CCWData* data);

}  // namespace korvo
