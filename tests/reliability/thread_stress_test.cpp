// The window thread and the fill worker under stress: fills are started and
// stopped, words are clicked for removal, the grid is polled and puzzles are
// destroyed in the middle of a run, at random moments drawn from a seeded
// generator. Every cycle that lets its run end checks the outcome: a final
// status, a grid of valid squares, the design back after a stop, and a fill
// whose every entry is a distinct word of the list.
//
// The engine's slice clock is replaced by one that advances a "second" per
// reading, so a slice lasts a fixed number of moves rather than seconds and
// a stop is honoured within milliseconds. A watchdog ends the program with a
// message when a cycle makes no progress (a deadlock), instead of hanging.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <mutex>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "clues/assign_clues.h"
#include "model/cw_data.h"
#include "support/temp_folder.h"
#include "support/word_list_bytes.h"
#include "words/word_store.h"

namespace korvo {
namespace {

using testsupport::EncodeWordList;
using testsupport::TempFolder;
using testsupport::WriteFileForTest;

#ifndef KORVO_STRESS_CYCLES
#define KORVO_STRESS_CYCLES 600
#endif
constexpr int kCycles = KORVO_STRESS_CYCLES;  // cycles of each half (tiny list, shipped list)
static_assert(kCycles >= 500, "the stress test runs at least 500 cycles");

// Polls of a bounded wait for the worker, 1 ms apart (a bound against a
// hang, not a timing requirement).
constexpr int kIdlePolls = 120000;
// The watchdog's patience for one cycle.
constexpr auto kStallLimit = std::chrono::seconds(240);

// The slice clock: one "second" per reading on the reading thread.
std::time_t CountingClock() {
    thread_local std::time_t ticks = 0;
    return ++ticks;
}

// Ends the program with a message when the main thread stops reporting
// progress. Beat() once per cycle.
class Watchdog {
public:
    explicit Watchdog(const char* what) : what_(what), thread_([this] { Watch(); }) {}
    ~Watchdog() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            done_ = true;
        }
        wake_.notify_all();
        thread_.join();
    }
    void Beat(int cycle, unsigned seed) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            ++beats_;
            cycle_ = cycle;
            seed_ = seed;
        }
        wake_.notify_all();
    }

private:
    void Watch() {
        std::unique_lock<std::mutex> lock(mutex_);
        while (!done_) {
            const long before = beats_;
            if (!wake_.wait_for(lock, kStallLimit, [&] { return done_ || beats_ != before; })) {
                std::fprintf(stderr, "watchdog: %s made no progress in cycle %d (seed %u): deadlock or hang\n", what_,
                             cycle_, seed_);
                std::fflush(stderr);
                std::_Exit(3);
            }
        }
    }

    const char* what_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool done_ = false;
    long beats_ = 0;
    int cycle_ = -1;
    unsigned seed_ = 0;
    std::thread thread_;  // last: starts once the fields above exist
};

// Rows CAB ORE WET and columns COW ARE BET fill the open 3 x 3 grid; the
// other words give the search choices and dead ends.
std::vector<std::string> TinyWords() {
    return {"CAB",   "ORE",   "WET",   "COW",   "ARE",   "BET",   "CAT",   "DOG",   "EMU",   "ANT",   "BEE",   "OWL",
            "PIG",   "RAM",   "YAK",   "TEN",   "ODE",   "ACE",   "BAT",   "TOE",   "EAR",   "ERA",   "ROW",   "AWE",
            "OAT",   "TAB",   "BEAR",  "DEER",  "HARE",  "LION",  "MOLE",  "WOLF",  "ABLE",  "BALE",  "CODE",  "EACH",
            "ECHO",  "TACO",  "ALERT", "BRAVE", "CRANE", "DRAPE", "EAGLE", "FLAME", "GRAPE", "HEART", "IRATE", "LEMON",
            "MANGO", "NERVE", "OCEAN", "PEARL", "QUEEN", "RAVEN", "STONE", "TIGER", "ULTRA", "VIPER", "WATER", "YEAST",
            "ZEBRA", "ARENA", "ROAST", "TREAT", "SNARE", "TENOR", "OTTER", "RESET"};
}

// Every word of the store (the set of the list; the store's order changes
// with every shuffle).
std::set<std::string> WordsOf(const WordStore& store) {
    std::set<std::string> words;
    for (int length = 0; length < kBucketCount; ++length)
        for (const WordBlock* block = store.buckets[length]; block != nullptr; block = block->next)
            for (std::uint32_t i = 0; i < block->count; ++i) words.emplace(block->Record(i), block->length);
    return words;
}

std::string Narrow(const std::u16string& text) {
    std::string out;
    for (char16_t c : text) out += static_cast<char>(c <= 0xFF ? c : '#');
    return out;
}

// The runs of two or more open squares, across then down, as letters.
std::vector<std::string> Entries(const std::string& grid, int n) {
    std::vector<std::string> entries;
    for (int across = 1; across >= 0; --across)
        for (int line = 0; line < n; ++line) {
            std::string run;
            for (int k = 0; k <= n; ++k) {
                const char c = k == n ? '!' : (across ? grid[line * n + k] : grid[k * n + line]);
                if (c != '!') {
                    run += c;
                    continue;
                }
                if (run.size() >= 2) entries.push_back(run);
                run.clear();
            }
        }
    return entries;
}

// Open squares without a user letter look alike whether the last start
// marked them hopeless or not.
std::string Design(std::string grid) {
    for (char& c : grid)
        if (c == '?') c = '@';
    return grid;
}

// A grid the tiny list serves, or a random pattern of a standard size.
struct GridChoice {
    int size;
    const char* squares;  // row by row; null: the random pattern of CCWData
};

struct Outcomes {
    int cycles = 0;
    int starts = 0;
    int stops = 0;
    int removals = 0;
    int destroyedWhileActive = 0;
    int filled = 0, exhausted = 0, noStart = 0, duplicates = 0, designing = 0;
};

class ThreadStress {
public:
    ThreadStress(WordStore& store, std::vector<GridChoice> grids, std::vector<double> slices, const char* name)
        : store_(store), words_(WordsOf(store)), grids_(std::move(grids)), slices_(std::move(slices)), name_(name) {
        for (const std::string& w : words_) wordList_.push_back(w);
    }

    Outcomes Run(unsigned baseSeed, int cycles) {
        Watchdog watchdog(name_);
        for (int cycle = 0; cycle < cycles && !::testing::Test::HasFatalFailure(); ++cycle) {
            const unsigned seed = baseSeed + static_cast<unsigned>(cycle);
            watchdog.Beat(cycle, seed);
            Cycle(seed);
            ++outcomes_.cycles;
            if (::testing::Test::HasFailure()) {
                ADD_FAILURE() << name_ << ": first failure in cycle " << cycle << ", seed " << seed;
                break;
            }
        }
        return outcomes_;
    }

private:
    void Cycle(unsigned seed) {
        std::mt19937 random(seed);
        auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
        // Most pauses are short, so that actions land inside slices and
        // inside the worker's short locked sections as well as between runs.
        auto pause = [&] {
            const int kind = pick(10);
            if (kind < 3) {
                std::this_thread::yield();
            } else if (kind < 7) {
                std::this_thread::sleep_for(std::chrono::microseconds(pick(200)));
            } else {
                std::this_thread::sleep_for(std::chrono::microseconds(pick(3000)));
            }
        };

        const GridChoice& grid = grids_[pick(static_cast<int>(grids_.size()))];
        auto data = std::make_unique<CCWData>(&store_, grid.size);
        data->assignClues = &AssignClues;
        // A third of the runs use the thorough mode, with one or two threads and short slices.
        if (pick(3) == 0) {
            data->runSettings.mode = kThoroughMode;
            data->runSettings.threads = 1 + pick(2);
            data->runSettings.seed = static_cast<std::uint32_t>(random());
            data->runSettings.sliceSeconds = 0.002 * (1 + pick(10));
        }
        if (grid.squares != nullptr) {
            ASSERT_EQ(data->engine->LoadGrid(grid.size, grid.size, grid.squares), 1);
            data->gridSize = grid.size;
            data->RefreshGridText();
        }
        data->engine->readClock = &CountingClock;
        data->engine->timeSlice = slices_[pick(static_cast<int>(slices_.size()))];
        const int n = data->gridSize;

        std::string design = Design(Narrow(data->GetGridText()));
        bool started = false;  // a run was started since design was taken
        const int actions = 1 + pick(6);
        for (int a = 0; a < actions; ++a) {
            const int what = pick(100);
            if (what < 40) {
                // Start Generating. Whether a run is active can change
                // between a look and the start (the worker may end in
                // between), so only the outcome of an accepted start is
                // checked, when its run ends. No run changes the design
                // unless it fills the grid, after which starts are refused,
                // so the design taken at the cycle's start stays valid.
                if (data->StartGenerating()) {
                    ++outcomes_.starts;
                    started = true;
                }
            } else if (what < 65) {
                if (data->RequestStop()) ++outcomes_.stops;
            } else if (what < 85) {
                // A word the user clicks: one of the grid's entries, or any word of the list.
                const std::vector<std::string> entries = Entries(Narrow(data->GetGridText()), n);
                const std::string word = !entries.empty() && pick(2) == 0
                                             ? entries[pick(static_cast<int>(entries.size()))]
                                             : wordList_[pick(static_cast<int>(wordList_.size()))];
                data->RequestWordRemoval(word);
                ++outcomes_.removals;
            } else {
                // The timer's poll: status and grid through the locked accessors.
                const int status = data->GetStatus();
                EXPECT_TRUE(status >= StatusDuplicates && status <= StatusReverting) << status;
                const std::string squares = Narrow(data->GetGridText());
                ASSERT_EQ(squares.size(), static_cast<std::size_t>(n * n));
                for (char c : squares) ASSERT_TRUE(c == '!' || c == '@' || c == '?' || (c >= 'A' && c <= 'Z')) << c;
            }
            pause();
        }

        if (pick(2) == 0) {
            // Close the puzzle whatever the worker is doing.
            if (data->IsWorkerActive()) ++outcomes_.destroyedWhileActive;
            data.reset();
            return;
        }

        // Stop (a fill of the shipped list may take long) and let the run end.
        if (data->RequestStop()) ++outcomes_.stops;
        int polls = 0;
        while (data->IsWorkerActive() && polls < kIdlePolls) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            ++polls;
        }
        ASSERT_FALSE(data->IsWorkerActive()) << "the worker did not end after a stop";
        data->WaitForWorker();
        CheckEnded(*data, design, started);
    }

    // The state an ended run leaves.
    void CheckEnded(CCWData& data, const std::string& design, bool started) {
        const int n = data.gridSize;
        const int status = data.GetStatus();
        const std::string squares = Narrow(data.GetGridText());
        ASSERT_EQ(squares.size(), static_cast<std::size_t>(n * n));
        for (char c : squares) ASSERT_TRUE(c == '!' || c == '@' || c == '?' || (c >= 'A' && c <= 'Z')) << c;
        switch (status) {
            case StatusFilled: {
                ++outcomes_.filled;
                ASSERT_TRUE(started);
                EXPECT_EQ(squares.find_first_of("@?"), std::string::npos) << squares;
                const std::vector<std::string> entries = Entries(squares, n);
                std::set<std::string> seen;
                for (const std::string& entry : entries) {
                    EXPECT_TRUE(words_.count(entry)) << entry << " is not a word of the list";
                    EXPECT_TRUE(seen.insert(entry).second) << entry << " is placed twice";
                }
                // The keeps of the design: every letter the user placed is still there.
                for (std::size_t i = 0; i < design.size(); ++i)
                    if (design[i] != '@') {
                        EXPECT_EQ(squares[i], design[i]) << "square " << i;
                    }
                EXPECT_EQ(data.clues.size(), entries.size());
                EXPECT_EQ(data.GetSolutionText(), data.GetGridText());
                EXPECT_EQ(data.GetAnswerTitle(), u"Puzzle Answer");
                break;
            }
            case StatusDesigning:
                // Never started, or stopped and reverted: the design is back.
                ++outcomes_.designing;
                EXPECT_EQ(Design(squares), design);
                EXPECT_FALSE(data.IsStopRequested()) << "a completed stop clears its request";
                break;
            case StatusExhausted:
                ++outcomes_.exhausted;
                EXPECT_TRUE(started);
                EXPECT_EQ(Design(squares), design) << "an exhausted search gives the design back";
                break;
            case StatusNoStart:
                ++outcomes_.noStart;
                EXPECT_TRUE(started);
                break;
            case StatusDuplicates:
                ++outcomes_.duplicates;
                EXPECT_TRUE(started);
                EXPECT_EQ(Design(squares), design);
                break;
            default: ADD_FAILURE() << "the run ended in status " << status;
        }
    }

    WordStore& store_;
    std::set<std::string> words_;
    std::vector<std::string> wordList_;
    std::vector<GridChoice> grids_;
    std::vector<double> slices_;
    const char* name_;
    Outcomes outcomes_;
};

void Report(const char* name, const Outcomes& o) {
    std::printf(
        "%s: %d cycles, %d starts, %d stop requests, %d removal requests, %d destroyed during a run; "
        "ended runs: %d filled, %d exhausted, %d no start, %d duplicates, %d designing\n",
        name, o.cycles, o.starts, o.stops, o.removals, o.destroyedWhileActive, o.filled, o.exhausted, o.noStart,
        o.duplicates, o.designing);
}

TEST(ThreadStress, tinyWordList_startStopRemoveDestroy_noRaceNoHangValidOutcomes) {
    TempFolder folder;
    const std::filesystem::path list = folder.path() / "tiny.bin";
    WriteFileForTest(list, EncodeWordList(TinyWords()));
    WordStore store;
    ASSERT_EQ(LoadWordList(store, list.c_str()), static_cast<int>(TinyWords().size()));

    // The open 3 x 3 square (filled by the list), one with corner blocks,
    // one that uses a user word twice (duplicates), one with user letters,
    // open 4 x 4 and 5 x 5 squares (long searches that end exhausted), and
    // random patterns of 9 x 9 (the list has no word long enough: no start).
    const std::vector<GridChoice> grids = {
        {3, "@@@@@@@@@"},
        {3, "@@@@@@@@@"},
        {3, "@@!@@@!@@"},
        {3, "CABA!!B!!"},
        {3, "C@@O@@W@@"},
        {4, "@@@!@@@!@@@!!!!!"},
        {4, "@@@@@@@@@@@@@@@@"},
        {5, "@@@@@@@@@@@@@@@@@@@@@@@@@"},
        {5, "@@@@@@@@@@@@@@@@@@@@@@@@@"},
        {9, nullptr},
    };
    ThreadStress stress(store, grids, {2.0, 5.0, 40.0}, "tiny word list");
    const Outcomes o = stress.Run(20240601u, kCycles);
    Report("tiny word list", o);
    EXPECT_EQ(o.cycles, kCycles);
    EXPECT_GT(o.filled, 0) << "no cycle filled its grid: the success path went untested";
    EXPECT_GT(o.destroyedWhileActive, 0);
}

TEST(ThreadStress, shippedWordList_startStopRemoveDestroy_noRaceNoHangValidOutcomes) {
    const std::filesystem::path list = std::filesystem::path(KORVO_BIN_DIR) / "data1.bin";
    if (!std::filesystem::exists(list))
        GTEST_SKIP() << "the shipped word list " << list << " is missing; build the data first";
    WordStore store;
    ASSERT_GT(LoadWordList(store, list.c_str()), 1000);

    const std::vector<GridChoice> grids = {{9, nullptr}, {11, nullptr}, {13, nullptr}, {15, nullptr}, {21, nullptr}};
    ThreadStress stress(store, grids, {2.0, 20.0, 200.0}, "shipped word list");
    const Outcomes o = stress.Run(20240701u, kCycles);
    Report("shipped word list", o);
    EXPECT_EQ(o.cycles, kCycles);
    EXPECT_GT(o.destroyedWhileActive, 0);
}

}  // namespace
}  // namespace korvo
