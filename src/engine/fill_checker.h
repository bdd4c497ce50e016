#pragma once

#include <string>
#include <unordered_set>
#include <vector>

#include "words/word_store.h"

namespace korvo {

// An entry as a filler reports it: where it starts, its direction and the
// word it holds. Lets the checker compare what the filler believes it placed
// with the grid it produced.
struct ReportedEntry {
    int row;              // first square
    int column;           // first square
    int direction;        // 1 across, 2 down
    std::string letters;  // the word the filler holds for this entry
};

// What a fill is checked against.
struct FillCheckInput {
    int rows = 0;        // grid height
    int columns = 0;     // grid width
    std::string design;  // rows*columns squares the user designed ('!' '@' '?' 'A'-'Z')
    std::string filled;  // rows*columns squares after the fill
    const std::unordered_set<std::string>* words = nullptr;  // the loaded word list
    bool prefixRule = true;                                  // check the first-three-letters rule
    const std::vector<ReportedEntry>* entries = nullptr;     // the filler's own entry list, or null
};

// Outcome of a check: empty problems means the fill is sound.
struct FillCheckResult {
    std::vector<std::string> problems;  // one readable line per fault found
    bool ok() const { return problems.empty(); }
};

// Every word of a store, read record by record (no search cursors touched).
std::unordered_set<std::string> WordsOfStore(const WordStore& store);

// Checks a filled grid independently of the engine: every entry is a word of
// the list or a complete word the user placed, the user's letters are kept,
// the reported entries agree with the grid (so crossing entries agree on
// their shared squares), no word appears twice, and no word the search
// placed shares its first three letters with another listed word of the fill.
FillCheckResult CheckFill(const FillCheckInput& input);

}  // namespace korvo
