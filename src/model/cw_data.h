#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "engine/fill_engine.h"
#include "model/clue_entry.h"
#include "model/generation_status.h"
#include "words/word_store.h"

namespace korvo {

class WordScores;

inline constexpr int kMaxSquares = kMaxGridSide * kMaxGridSide;  // 784
inline constexpr int kRemovalWordSize = 22;                      // 21 letters and the terminator

// The crossword of one document: the grid as text, the clue number and
// circle flag of every square, the clue list, the page texts and the
// generation status shared by the window thread and the fill worker.
//
// While the grid is designed and filled, the master copy of the grid is the
// engine's working grid; gridText is the copy everything else reads, renewed
// by RefreshGridText after every change. A puzzle read from a file has no
// engine and stays in StatusFilled.
//
// Threads: statusLock guards status, stopRequested, removalPending,
// removalWord, workerActive and every copy between the engine and gridText /
// cellNumbers. The worker writes highestNumber, clues, solutionText and
// answerTitle without the lock, and publishes StatusFilled only once it has
// written all of them, in the same critical section in which it clears
// workerActive; the window thread reads those fields only in StatusFilled.
// The generating mode that runs the thorough search (the other modes run the engine's own search).
inline constexpr int kThoroughMode = 5;

// What the next run is asked to do. Set on the window thread before a run;
// the worker reads it when the run starts.
struct RunSettings {
    std::int32_t mode = 1;               // generating mode 1..5
    std::int32_t threads = 0;            // searches side by side in the thorough mode; 0: one per hardware thread
    std::optional<std::uint32_t> seed;   // seed of the thorough mode's word order; from the clock when absent
    const WordScores* scores = nullptr;  // the word list's scores (not owned), or null
    double sliceSeconds = 0.5;           // how long one slice of the thorough mode runs at most
};

// How far the running fill has come, for the status bar.
struct RunProgress {
    bool running = false;                               // a run has started and not yet ended
    std::chrono::steady_clock::time_point startedAt{};  // when the worker started
    double seconds = 0;                                 // run time at the last refresh (the whole run once it ended)
    std::int32_t filledNow = 0;                         // entries with a word at the last refresh
    std::int32_t filledBest = 0;                        // the most entries filled at once in this run
    std::int32_t total = 0;                             // entries of the grid
    std::uint32_t seed = 0;                             // seed the thorough mode used
};

// The status bar's line of a running fill: "Generating 0:12 - 45 of 78
// entries filled, best so far 52".
std::string DescribeProgress(const RunProgress& progress);

// The name of a word list as the options show it ("English - United States" ...).
const char* WordListName(int wordListId);

class CCWData {
public:
    // A new puzzle of size x size squares with a random block pattern, an
    // engine of its own and the document's word store (not owned).
    CCWData(WordStore* store, int size);
    // An empty object for reading a puzzle file: no engine, no word store.
    CCWData();
    // Stops a running fill and waits for the worker before anything is freed.
    ~CCWData();
    CCWData(const CCWData&) = delete;
    CCWData& operator=(const CCWData&) = delete;

    // Grid and status (each takes statusLock itself where it needs it).
    void NewGrid(int size);
    void RefreshGridText();
    std::u16string GetGridText();
    std::u16string GetSolutionText();
    void SetSolutionText(const std::u16string& text);
    void CopyCellNumbers();
    void SetStatus(int value);
    int GetStatus();
    void RequestWordRemoval(std::string_view word);
    void ApplyPendingWordRemoval();
    // Hands over a pending word-removal request (true) and clears it.
    bool TakePendingWordRemoval(std::string& word);
    // The progress of the current or last run (a copy taken under the lock).
    RunProgress GetProgress();
    // Why the last run ended without a fill, when the thorough mode proved it; empty otherwise.
    std::string GetVerdict();

    // Grid editing (window thread). Rows and columns are 0-based.
    // The wide variants are true for a run of two or more squares; the 8-bit
    // variants for any run. A block or an outside square gives false and an
    // empty result.
    bool GetAcrossWord(int row, int column, std::u16string& out);
    bool GetDownWord(int row, int column, std::u16string& out);
    bool GetAcrossLetters(int row, int column, std::string& out);
    bool GetDownLetters(int row, int column, std::string& out);
    // Writes text into the run through the square, one character a square
    // from the run's start; squares past the text's end keep their character.
    void SetAcrossWord(int row, int column, std::string_view text);
    void SetDownWord(int row, int column, std::string_view text);
    // Typed entry: padded with spaces to the run's length, a space becomes an
    // empty square, letters become upper case.
    void EditAcrossWord(int row, int column, const std::u16string& typed);
    void EditDownWord(int row, int column, const std::u16string& typed);
    // Every edit clears the '?' marks a refused start left: a word typed in
    // or a block toggle anywhere, even one refused for a mismatched pair
    // (ToggleBlock then still answers true: the grid changed), and Clear Grid.
    bool ToggleBlock(int row, int column);
    void ClearGrid();

    // Page texts (no lock).
    std::u16string GetTitle() const { return title; }
    std::u16string GetAnswerTitle() const { return answerTitle; }
    std::u16string GetCopyright() const { return copyright; }
    std::u16string GetAuthor() const { return author; }

    // Generation run (window thread). StartGenerating marks the run active
    // (StatusGenerating) and then starts the worker running RunGenerator;
    // it refuses (false) without an engine or word store, while a run is
    // active and in StatusFilled. RequestStop turns StatusGenerating into
    // StatusReverting with a stop request (false in any other status).
    bool StartGenerating();
    bool RequestStop();
    // True from StartGenerating until the worker's last act.
    bool IsWorkerActive();
    // Waits until the worker has returned (nothing when none runs).
    void WaitForWorker();

    // Used by the worker (RunGenerator) only.
    // Takes the engine's grid into gridText with every '@' made a block, as
    // RefreshGridText does in StatusFilled.
    void RefreshFilledGridText();
    // Drops a pending word-removal request without applying it.
    void DiscardPendingWordRemoval();
    // True when Stop was requested.
    bool IsStopRequested();
    // The worker's last act: publishes the run's final status, clears the
    // stop request when asked, and marks the worker finished. A published
    // fill is new work that no file holds yet (HasUnsavedFill).
    void FinishRun(int finalStatus, bool clearStop);
    // Records the progress of the running fill.
    void SetProgress(int filledNow, int filledBest, int total);
    void SetVerdict(std::string text);

    // A run has published a fill that has not been saved since: the puzzle
    // counts as modified from that moment, before the window's timer
    // reports it. ClearUnsavedFill is called once the puzzle is saved.
    bool HasUnsavedFill();
    void ClearUnsavedFill();

    // Fields, in the documented order.
    std::int32_t cellNumbers[kMaxSquares];  // per square (row * gridSize + column): 251 block, 252 no number, else its
                                            // clue number
    std::uint8_t circled[kMaxSquares];      // per square: 1 circled, 0 not
    std::vector<ClueEntry> clues;           // across entries by number, then down entries by number
    std::u16string notepad;                 // free text of the user
    std::u16string dataFolder;              // the data folder; the clue folders lie in it
    std::unique_ptr<FillEngine> engine;     // the fill engine (owned); null for a puzzle read from a file
    WordStore* wordStore;                   // the document's word store (not owned); null for a puzzle read from a file
    std::int32_t wordListId;                // word list in use, 1..5; selects the clue folder
    std::uint8_t removalPending;            // a word-removal request waits for the worker
    char removalWord[kRemovalWordSize];     // the word of that request, zero-terminated
    std::int32_t gridSize;                  // rows = columns of the grid
    std::u16string gridText;                // gridSize * gridSize squares, row by row
    std::u16string title;                   // puzzle title
    std::u16string solutionText;            // the answer grid, taken when a fill succeeds or loaded
    std::u16string answerTitle;             // title of the answer page
    std::u16string copyright;               // copyright line
    std::u16string author;                  // author line
    std::int32_t status;                    // GenerationStatus; guarded by statusLock
    std::int32_t highestNumber;             // numbered squares (highest clue number) of the last run's start
    std::mutex statusLock;                  // guards the shared fields above and the engine/grid-text copies
    std::uint8_t stopRequested;             // Stop was requested; cleared by the worker once it has reverted

    // Run control, not stored.
    std::uint8_t workerActive = 0;  // a worker has been started and has not yet finished (guarded by statusLock)
    std::thread worker;             // the thread running RunGenerator, joined before the next run and on destruction
    RunSettings runSettings;        // what the next run does (window thread, while no run is active)
    // Assigns the clues of a fill (the clue layer's AssignClues, set by the
    // document); without it a fill gets no clue entries.
    void (*assignClues)(CCWData*) = nullptr;
    RunProgress progress;          // guarded by statusLock
    std::string verdict;           // the thorough mode's proof of the last run; guarded by statusLock
    std::uint8_t unsavedFill = 0;  // a run published a fill not saved since (guarded by statusLock)

private:
    // Copies the engine's grid into gridText; the caller holds statusLock.
    void StoreGridText(bool filled);
    // Turns every '?' mark of the engine's grid back into an open square;
    // false when there was none. The caller refreshes gridText.
    bool ClearHopelessMarks();
    // True when a run is active: the engine belongs to the worker.
    bool RunActive();
    // The run through a square as it stands in gridText; false (run empty)
    // for an outside square, a block, or a grid text shorter than the grid.
    bool ReadRun(int row, int column, bool across, std::u16string& run);
    void WriteRun(int row, int column, bool across, std::string_view letters);
    void EditRun(int row, int column, bool across, const std::u16string& typed);
};

// The default copyright line for the given calendar year.
std::u16string DefaultCopyright(int year);

}  // namespace korvo
