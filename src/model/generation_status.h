#pragma once

#include <cstdint>

namespace korvo {

// The generation status of a puzzle, shared by the window thread and the
// fill worker. The values are stored in puzzle files and never change.
enum GenerationStatus : std::int32_t {
    StatusExhausted = 0,    // the search gave up without a fill
    StatusGenerating = 1,   // a run is active
    StatusDesigning = 2,    // the user designs the grid; no run
    StatusReverting = 3,    // a stop was requested; the worker is taking the fill back
    StatusFilled = -1,      // the grid is filled and every entry has a clue
    StatusNoStart = -2,     // the engine refused to start on the grid
    StatusDuplicates = -3,  // two complete entries of the user hold the same word
};

}  // namespace korvo
