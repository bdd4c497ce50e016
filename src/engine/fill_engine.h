#pragma once

#include <cstdint>
#include <ctime>
#include <string>

#include "words/word_store.h"

namespace korvo {

inline constexpr int kMaxGridSide = 28;
inline constexpr int kMaxSlots = 250;
inline constexpr int kRecentWordCount = 50;
inline constexpr int kMaxCrossings = 21;

// Grid characters.
inline constexpr char kBlock = '!';
inline constexpr char kOpen = '@';
inline constexpr char kHopeless = '?';

// numberGrid values of squares without a clue number.
inline constexpr unsigned char kNumberBlock = 251;
inline constexpr unsigned char kNumberNone = 252;

enum SlotDirection : std::int32_t { kAcross = 1, kDown = 2 };

// One entry of the grid. The first six fields are the entry's identity and
// move with it when the fill order changes; the rest belong to the position
// in the fill order and are computed once the order is final.
struct Slot {
    char letters[22];                       // pattern ('@' open) or placed word; zero-terminated, at most 21 letters
    std::int32_t crossings[kMaxCrossings];  // per letter: index of the entry crossing there, or -1
    char* word;                             // record of the word placed (or last placed) here, or null
    std::int32_t direction;                 // kAcross or kDown
    std::int32_t length;                    // squares, 2 or more (an entry over 21 squares makes Start refuse)
    std::int32_t row, column;               // first square
    std::int32_t number;                    // clue number of the first square
    std::int32_t foundIndex;                // 1-based chain index of the word last found here; 0 none
    std::int32_t memoryIndex;               // index of a word to try first when the search comes back; 0 none
    std::int32_t placed;                    // a word of this entry is in workGrid
    std::int32_t backJump;                  // entry to return to when this one runs out of words; -1 none
    std::int32_t crossBack;                 // nearest earlier entry crossing this one; -1 none
    std::int32_t failures;                  // times this entry ran out of words since last placed
    std::int32_t deepJump;                  // 1: the periodic back-jump goes deeper than backJump
};

// The last 50 words taken out of play by back-jumps and user rejections.
struct RecentWords {
    std::int32_t index[kRecentWordCount];
    std::int32_t length[kRecentWordCount];
    std::int32_t next;
    WordStore* store;
};

// Receives one line per search move when a trace is attached (tests only).
class StepTrace {
public:
    virtual ~StepTrace() = default;
    virtual void Line(const std::string& line) = 0;
};

// Holds the grid while it is designed and filled, and everything the search
// needs. One fixed-size object; Start and Step allocate nothing but blocks of
// usedWords.
class FillEngine {
public:
    explicit FillEngine(WordStore* store);
    FillEngine(const FillEngine&) = delete;
    FillEngine& operator=(const FillEngine&) = delete;
    ~FillEngine() = default;

    // Grid operations.
    int LoadGrid(int rows, int columns, const char* text);  // 1 accepted, 0 refused
    void GridToText(char* buffer) const;                    // rows*columns chars, then 0
    void NumbersToBytes(unsigned char* buffer) const;       // rows*columns bytes, then 0
    int ToggleBlockPair(int row, int column);               // 1 changed, 0 refused
    void MakeBlockPattern(int size);

    void SetBackJumpPeriod(int n);

    // Run.
    int Start();                             // 0 refused, -1 duplicate user words, else the number of numbered squares
    int Step();                              // 1 slice over, -1 filled, 0 exhausted
    int RejectPlacedWord(const char* word);  // the rejected word's index, or 0
    void Revert();
    void SortByNumber();
    void SortAcrossFirst();

    // Used by Start and the search; public so that tests can check them.
    void OrderSlots();
    void ComputeCrossings();
    bool SharesLaterCrossing(int a, int b, int from, int to) const;
    void ComputeBackJumps();
    int DeepBackJump(int x);
    void UnplaceSlot(int n);
    void AddRecentWord(int length, int index);
    void ClearRecentWords();

    // Fill-order helpers of Start.
    int Openness(int row, int column) const;  // 0, 1 or 2: how boxed in a square is
    void SwapIdentity(int a, int b);          // exchanges the identity fields of two slots
    void MoveIdentity(int from, int to);      // moves an identity, shifting those between by one

    char& Square(int row, int column) { return workGrid[row * kMaxGridSide + column]; }
    char Square(int row, int column) const { return workGrid[row * kMaxGridSide + column]; }
    // Offset in the grids of square k of a slot.
    int SquareOffset(const Slot& slot, int k) const {
        return slot.direction == kAcross ? slot.row * kMaxGridSide + slot.column + k
                                         : (slot.row + k) * kMaxGridSide + slot.column;
    }

    // Fields, in the documented order.
    WordStore* wordStore;                        // the loaded word list
    WordStore usedWords;                         // words placed in the current run (prefix and duplicate rules)
    Slot slots[kMaxSlots];                       // the entries in fill order
    std::int32_t activeCount;                    // entries the search must fill
    std::int32_t slotCount;                      // all entries, complete ones included
    std::int32_t current;                        // entry being filled
    std::int32_t rows, columns;                  // grid size, 2..28
    std::int32_t backJumpPeriod;                 // failures between forced deeper back-jumps; 1 disables
    std::int32_t deepJumpStart;                  // constant 1: the value deepJump is reset to
    double timeSlice;                            // seconds one Step may run
    std::int32_t narrowedPattern;                // the current pattern keeps letters of remembered crossing words
    std::int32_t lookAheadDepth;                 // extra matches the deep look-ahead demands
    std::int32_t lookAheadDistance;              // how far ahead a crossing must lie for the deep look-ahead; 0 off
    std::int32_t savedIndex;                     // index to resume at when the narrowed pattern finds nothing
    char workGrid[kMaxGridSide * kMaxGridSide];  // working grid, row stride 28
    char baseGrid[kMaxGridSide * kMaxGridSide];  // workGrid as it was at Start
    unsigned char numberGrid[kMaxGridSide * kMaxGridSide];  // 251 block, 252 no number, else clue number
    char scratchPattern[24];                                // pattern buffer of look-ahead, back-jumps and rejection
    RecentWords recentWords{};                              // last 50 words taken out of play
    std::int32_t lastLookAhead;                             // entry examined last by the look-ahead; kept across steps
    std::int32_t prefixRule;                                // keep usedWords and apply the prefix and duplicate rules

    // Not part of the search state: an optional move log for tests.
    StepTrace* trace = nullptr;
    // Clock of the time slices (whole seconds); tests may replace it.
    std::time_t (*readClock)() = &SystemClock;

    static std::time_t SystemClock() { return std::time(nullptr); }

private:
    int Move();                                             // one search move: 1 go on, -1 filled, 0 exhausted
    WordBlock* ChainOf(int length) const;                   // the word store's chain of a length, or null
    void PatternInGrid(const Slot& slot, char* out) const;  // workGrid squares along a slot, zero-terminated
    bool Owns(int x, int k) const;                          // slot x writes position k back when it gives up its word
    void RestoreOwned(int x);                               // baseGrid into letters and workGrid at owned positions
    int BuildScratchPattern(int z, bool* narrowed);         // back-jump pattern of z; counts remembered letters
    void Trace(int x, const char* candidate, const char* what, int target) const;
};

// Run parameters of the generating modes (1..4; any other value has its own row).
struct ModeParameters {
    std::int32_t backJumpPeriod;
    std::int32_t lookAheadDistance;
    std::int32_t lookAheadDepth;
};
ModeParameters ParametersForMode(int mode);
void ApplyModeParameters(FillEngine& engine, int mode);

}  // namespace korvo
