// The engine's construction, its run parameters and the grid operations used
// while a grid is designed.
#include <cstring>

#include "engine/fill_engine.h"
#include "platform/random.h"

namespace korvo {

FillEngine::FillEngine(WordStore* store) {
    // Everything starts zero: the grids, the slot records, the counters.
    std::memset(slots, 0, sizeof slots);
    std::memset(workGrid, 0, sizeof workGrid);
    std::memset(baseGrid, 0, sizeof baseGrid);
    std::memset(numberGrid, 0, sizeof numberGrid);
    std::memset(scratchPattern, 0, sizeof scratchPattern);
    Random::SeedWithTime();
    ClearRecentWords();
    recentWords.next = 0;
    recentWords.store = store;
    wordStore = store;
    lookAheadDistance = 10;
    lookAheadDepth = 5;
    timeSlice = 1.0;
    backJumpPeriod = 0;
    deepJumpStart = 1;
    prefixRule = 0;
    narrowedPattern = 0;
    savedIndex = 0;
    lastLookAhead = 0;
    activeCount = slotCount = current = rows = columns = 0;
}

void FillEngine::ClearRecentWords() {
    std::memset(recentWords.index, 0, sizeof recentWords.index);
    std::memset(recentWords.length, 0, sizeof recentWords.length);
    recentWords.next = 0;
}

int FillEngine::LoadGrid(int r, int c, const char* text) {
    if (prefixRule) usedWords.ClearStore();
    if (r < 2 || r > kMaxGridSide || c < 2 || c > kMaxGridSide) return 0;
    rows = r;
    columns = c;
    activeCount = 0;
    current = 0;
    for (int i = 0; i < rows; ++i)
        for (int j = 0; j < columns; ++j) Square(i, j) = text != nullptr ? text[i * columns + j] : kOpen;
    return 1;
}

void FillEngine::GridToText(char* buffer) const {
    for (int i = 0; i < rows; ++i)
        for (int j = 0; j < columns; ++j) *buffer++ = Square(i, j);
    *buffer = 0;
}

void FillEngine::NumbersToBytes(unsigned char* buffer) const {
    for (int i = 0; i < rows; ++i)
        for (int j = 0; j < columns; ++j) *buffer++ = numberGrid[i * kMaxGridSide + j];
    *buffer = 0;
}

int FillEngine::ToggleBlockPair(int row, int column) {
    if (row < 0 || row >= rows || column < 0 || column >= columns) return 0;
    char& square = Square(row, column);
    char& partner = Square(rows - 1 - row, columns - 1 - column);
    // A '?' mark is cleared even when the toggle itself is refused.
    if (square == kHopeless) square = kOpen;
    if (partner == kHopeless) partner = kOpen;
    if (square == kOpen && partner == kOpen) {
        square = partner = kBlock;
        return 1;
    }
    if (square == kBlock && partner == kBlock) {
        square = partner = kOpen;
        return 1;
    }
    return 0;
}

void FillEngine::SetBackJumpPeriod(int n) {
    backJumpPeriod = n < 2 ? 1 : n;
    for (Slot& slot : slots) {
        slot.failures = 0;
        slot.deepJump = 1;
    }
}

ModeParameters ParametersForMode(int mode) {
    switch (mode) {
        case 1: return {500, 15, 3};
        case 2: return {1000, 15, 2};
        case 3: return {1500, 5, 2};
        case 4: return {1, 0, 0};
        default: return {50, 15, 3};
    }
}

void ApplyModeParameters(FillEngine& engine, int mode) {
    const ModeParameters p = ParametersForMode(mode);
    engine.lookAheadDistance = p.lookAheadDistance;
    engine.lookAheadDepth = p.lookAheadDepth;
    engine.SetBackJumpPeriod(p.backJumpPeriod);
}

}  // namespace korvo
