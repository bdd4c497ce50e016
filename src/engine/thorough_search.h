#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/fill_engine.h"

namespace korvo {

class WordScores;

// Tunables of the thorough search, all in one place.
struct ThoroughOptions {
    int threads = 0;                     // searches run side by side; 0: one per hardware thread
    std::uint32_t seed = 1;              // seed of every search's word order and tie-breaks
    const WordScores* scores = nullptr;  // preferred words; null: every word scores the same
    double sliceSeconds = 0.5;           // how long one Step runs at most (before the proof's explanation)
    int roundWork = 4000;                // entry revisions a search makes between two looks of the coordinator
    int restartBase = 64;                // failures of the first restart interval; later ones follow the Luby series
    int valueChoice =
        8;  // candidates of the best score tier compared by what they leave the crossing entries; 1: the first
    double explainSeconds = 3.0;  // time the smallest unfillable set of entries may take to find
};

enum class ThoroughOutcome {
    kSliceOver,  // the search goes on
    kFilled,     // a fill was found (TakeFill writes it)
    kNoFill,     // no fill exists (Core names why)
};

// The thorough search: a complete search with arc consistency between
// crossing entries on per-square letter sets, fewest-candidates-first
// (weighted by past failures) entry choice, better-scored words first, and
// restarts on the Luby series; differently seeded copies run on several
// threads and the first fill wins. A search whose root state becomes
// inconsistent has proved that no fill exists.
//
// It keeps all of its state to itself: the engine's word store is only read
// (when the search is made), and the engine's grid and slots are written only
// by ShowInGrid, TakeFill and MarkCore, on the caller's thread.
//
// Rules kept: the candidates of an entry are the store's words of its length
// that fit its letters; no word twice; with the engine's prefix rule on, no
// two words of three letters or more share their first three letters, the
// complete entries of the user that are list words included.
//
// Made after FillEngine::Start returned a positive count; one search per run.
class ThoroughSearch {
public:
    ThoroughSearch(FillEngine& engine, const ThoroughOptions& options);
    ~ThoroughSearch();  // stops and joins the search threads
    ThoroughSearch(const ThoroughSearch&) = delete;
    ThoroughSearch& operator=(const ThoroughSearch&) = delete;

    // Searches for at most one slice. On kNoFill it has also found the
    // explanation (Core).
    ThoroughOutcome Step();
    // Takes a word out of play for the rest of the run (the user rejected it).
    void BanWord(std::string_view word);

    // Writes the most advanced partial fill into the engine's grid (the
    // design where no word is known).
    void ShowInGrid();
    // After kFilled: the fill into the engine's slots and grid, and the
    // engine's run state as after a successful Step (the word store's marks
    // and cursors reset).
    void TakeFill();
    // The design back in the engine's grid and the engine's run state as
    // after Revert (a stopped run).
    void RestoreDesign();
    // After kNoFill: the design back in the engine's grid, with the open
    // squares of the entries of Core marked '?'.
    void MarkCore();
    // After kNoFill: engine slot indexes of a small set of entries that cannot
    // all be filled together (empty when the grid itself leaves no candidate).
    const std::vector<int>& Core() const;

    int Total() const;       // entries of the grid
    int FilledNow() const;   // entries with a word in the most advanced search now
    int FilledBest() const;  // the most entries any search has had at once in this run
    int Threads() const;     // searches running side by side
    std::uint64_t Decisions() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// The message of a proof: "No fill exists for this grid with the LIST list:
// 17 Across and 3 Down cannot both be filled." Entries are named by clue
// number, across ones first; a long set is counted rather than listed.
std::string DescribeNoFill(const FillEngine& engine, const std::vector<int>& core, std::string_view listName);

}  // namespace korvo
