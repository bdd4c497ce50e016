#pragma once

#include <cstdint>

#include "words/word_store.h"

namespace korvo {

// The letter index of a block: for every position p and letter L ('A'..'Z')
// a bit set over the block's records, bit i set when record i holds L at p.
// It lets FindNext skip 64 records at a time that cannot match the pattern's
// fixed letters; the status bytes stay in the records and are checked there.
// Every change of a record's letters (AddWord, RemoveWord, the swaps of
// ShuffleWords) goes through these functions so the index stays in step.

// Allocates the (zeroed) index of a block whose data area exists; a block
// whose index cannot be allocated keeps none and is searched record by record.
void AllocateLetterIndex(WordBlock* block);
void FreeLetterIndex(WordBlock* block);
// Sets (on = true) or clears the bits of record i's current letters.
void IndexRecord(WordBlock* block, std::uint32_t i, bool on);
// Rebuilds the index from the block's records 0 .. count - 1.
void RebuildLetterIndex(WordBlock* block);

// A pattern's fixed letters, prepared once per FindNext call.
struct FixedLetters {
    // The arrays are left uninitialised: only the first count entries are
    // meaningful, and FindNext fills them on every call.
    std::uint32_t count = 0;                 // number of fixed positions
    std::uint32_t row[kMaxWordLength];       // per fixed position: its bit set, position * 26 + letter
    std::uint32_t position[kMaxWordLength];  // per fixed position: its position in the word
    char letter[kMaxWordLength];             // per fixed position: the character required there
    bool indexable = true;                   // every fixed character is 'A'..'Z'
};

// Searches one block from its cursor with its index; on a match the cursor is
// one past it and the record is returned, otherwise the cursor equals count.
char* FindInBlockIndexed(WordBlock* block, const FixedLetters& fixed);

}  // namespace korvo
