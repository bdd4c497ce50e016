#pragma once
// Small helpers shared by the engine tests: word stores built in a fixed
// order, a recording trace, a stepping clock, and the independent check of
// every fill a test makes.

#include <gtest/gtest.h>

#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "engine/fill_checker.h"
#include "engine/fill_engine.h"
#include "words/word_store.h"

namespace korvo::testing {

// Appends words to the store in the given order (no shuffle), so that word
// indexes are known: the n-th word of a length has index n.
inline void AddWords(WordStore& store, const std::vector<std::string>& words) {
    for (const std::string& w : words) {
        const int length = static_cast<int>(w.size());
        ASSERT_GE(length, 1);
        ASSERT_LE(length, kMaxWordLength);
        if (store.buckets[length] == nullptr) store.buckets[length] = NewBlock(static_cast<std::uint32_t>(length));
        ASSERT_EQ(AddWord(store.buckets[length], w.c_str(), false), 1) << w;
    }
}

// Status byte of the word with a 1-based index in the chain of its length.
inline int StatusOf(const WordStore& store, int length, int index) {
    for (const WordBlock* b = store.buckets[length]; b != nullptr; b = b->next) {
        if (index <= static_cast<int>(b->count)) return b->Record(static_cast<std::uint32_t>(index - 1))[length];
        index -= static_cast<int>(b->count);
    }
    return -1;
}

// Number of words whose status byte is not 0.
inline int WordsInUse(const WordStore& store) {
    int n = 0;
    for (int length = 1; length < kBucketCount; ++length)
        for (const WordBlock* b = store.buckets[length]; b != nullptr; b = b->next)
            for (std::uint32_t i = 0; i < b->count; ++i)
                if (b->Record(i)[length] != 0) ++n;
    return n;
}

struct RecordingTrace : StepTrace {
    std::vector<std::string> lines;
    void Line(const std::string& line) override { lines.push_back(line); }
};

// A clock that moves on by a fixed number of seconds at every reading.
struct SteppingClock {
    static inline std::time_t now = 0;
    static inline std::time_t step = 10;
    static std::time_t Read() { return now += step; }
};

// The run parameters a new puzzle gets before a mode is applied.
inline void SetNewPuzzleParameters(FillEngine& engine) {
    engine.lookAheadDistance = 15;
    engine.lookAheadDepth = 2;
    engine.SetBackJumpPeriod(750);
    engine.timeSlice = 2.0;
    engine.prefixRule = 1;
}

inline std::string GridText(const FillEngine& engine) {
    char buffer[kMaxGridSide * kMaxGridSide + 1];
    engine.GridToText(buffer);
    return buffer;
}

inline std::string BaseGridText(const FillEngine& engine) {
    std::string text;
    for (int r = 0; r < engine.rows; ++r)
        text.append(engine.baseGrid + r * kMaxGridSide, static_cast<std::size_t>(engine.columns));
    return text;
}

// Checks a finished fill against the design and the word list, including
// the engine's own slot list.
inline FillCheckResult VerifyFill(const FillEngine& engine, const std::string& design, const WordStore& list) {
    const std::unordered_set<std::string> words = WordsOfStore(list);
    std::vector<ReportedEntry> entries;
    for (int i = 0; i < engine.slotCount; ++i) {
        const Slot& s = engine.slots[i];
        entries.push_back({s.row, s.column, s.direction, std::string(s.letters, strnlen(s.letters, sizeof s.letters))});
    }
    FillCheckInput input;
    input.rows = engine.rows;
    input.columns = engine.columns;
    input.design = design;
    input.filled = GridText(engine);
    input.words = &words;
    input.prefixRule = engine.prefixRule != 0;
    input.entries = &entries;
    return CheckFill(input);
}

inline std::string Problems(const FillCheckResult& result) {
    std::string text;
    for (const std::string& p : result.problems) text += p + "\n";
    return text;
}

// Runs Step until it reports filled or exhausted (bounded, so a fault cannot hang a test).
inline int RunToEnd(FillEngine& engine, int maxSteps = 1000) {
    for (int i = 0; i < maxSteps; ++i) {
        const int result = engine.Step();
        if (result != 1) return result;
    }
    return 1;
}

// An engine on its own word store (words in the given order), set up as a
// new puzzle, with a trace attached.
struct SearchRun {
    WordStore store;
    FillEngine engine{&store};
    RecordingTrace trace;
    std::string design;

    SearchRun(const std::vector<std::string>& words, int rows, int columns, const std::string& grid) : design(grid) {
        AddWords(store, words);
        SetNewPuzzleParameters(engine);
        engine.trace = &trace;
        EXPECT_EQ(engine.LoadGrid(rows, columns, grid.c_str()), 1);
    }
    void ExpectVerified() const {
        const FillCheckResult check = VerifyFill(engine, design, store);
        EXPECT_TRUE(check.ok()) << Problems(check);
    }
};

}  // namespace korvo::testing
