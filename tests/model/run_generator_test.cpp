// The fill worker and its status protocol: a whole run to StatusFilled with
// clues, Stop, destruction during a run, word removal between slices, the
// failed starts and the refused starts.
#include <gtest/gtest.h>

#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_set>
#include <vector>

#include "clues/assign_clues.h"
#include "engine/fill_checker.h"
#include "model/cw_data.h"
#include "model/run_generator.h"

namespace korvo {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// A 4 x 4 grid: a 3 x 3 word square with one letter of the user (which
// rules out the square's mirror image) and a lone open square in the
// corner, which belongs to no entry and becomes a block when the grid is
// filled.
const std::string kDesign =
    "@C@!"
    "@@@!"
    "@@@!"
    "!!!@";
// The one fill of the design with the list below: ACE GAY ONE across, AGO
// CAN EYE down.
const std::string kSolution =
    "ACE!"
    "GAY!"
    "ONE!"
    "!!!!";
const std::vector<std::string> kWords = {"ACE", "GAY", "ONE", "AGO", "CAN", "EYE", "ACT",
                                         "GUN", "OAK", "TEN", "CUE", "SKY", "ASK"};

void AddWords(WordStore& store, const std::vector<std::string>& words) {
    for (const std::string& w : words) {
        const int length = static_cast<int>(w.size());
        if (store.buckets[length] == nullptr) store.buckets[length] = NewBlock(static_cast<std::uint32_t>(length));
        ASSERT_EQ(AddWord(store.buckets[length], w.c_str(), false), 1) << w;
    }
}

std::u16string Wide(const std::string& s) { return std::u16string(s.begin(), s.end()); }

std::string Narrow(const std::u16string& s) {
    std::string n;
    for (char16_t c : s) n += static_cast<char>(c);
    return n;
}

// A temporary data folder, removed at the end of the test.
struct TempFolder {
    fs::path path;
    TempFolder() {
        char pattern[] = "/tmp/korvo-run-XXXXXX";
        const char* made = mkdtemp(pattern);
        EXPECT_NE(made, nullptr);
        path = made != nullptr ? made : "/tmp";
    }
    ~TempFolder() {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
    void WriteClues(const std::string& folder, const std::string& file, const std::string& pairs) {
        fs::create_directories(path / folder);
        std::ofstream(path / folder / file, std::ios::binary) << pairs;
    }
};

std::unique_ptr<CCWData> Puzzle(WordStore& store, const std::string& design, int n) {
    auto data = std::make_unique<CCWData>(&store, n);
    data->assignClues = &AssignClues;
    data->engine->LoadGrid(n, n, design.c_str());
    data->gridSize = n;
    data->RefreshGridText();
    return data;
}

// Polls (as the window's timer does) until the condition holds or about
// twenty seconds pass.
bool Eventually(const std::function<bool()>& condition) {
    for (int i = 0; i < 20000; ++i) {
        if (condition()) return true;
        std::this_thread::sleep_for(1ms);
    }
    return condition();
}

// The clock of the engine's time slices, held by the test: every reading
// moves time on by 10 seconds (so each Step makes exactly one search move and
// reads the clock twice) and waits for a permit from the test. Each Step
// starts with a reading, so a worker waiting here is between slices.
struct GatedClock {
    static inline std::mutex m;
    static inline std::condition_variable changed;
    static inline int permits = 0;       // readings allowed before the next wait
    static inline bool open = false;     // no waiting at all
    static inline bool waiting = false;  // the worker waits for a permit
    static inline std::time_t now = 0;

    static void Reset() {
        std::lock_guard<std::mutex> lock(m);
        permits = 0;
        open = false;
        waiting = false;
        now = 0;
    }
    static std::time_t Read() {
        std::unique_lock<std::mutex> lock(m);
        waiting = true;
        changed.notify_all();
        changed.wait(lock, [] { return open || permits > 0; });
        waiting = false;
        if (!open) --permits;
        return now += 10;
    }
    static void Grant(int n) {
        std::lock_guard<std::mutex> lock(m);
        permits += n;
        changed.notify_all();
    }
    static void Open() {
        std::lock_guard<std::mutex> lock(m);
        open = true;
        changed.notify_all();
    }
    // Waits until the worker waits for a permit with none left, or until done() holds.
    static bool WaitUntilBlocked(const std::function<bool()>& done) {
        for (int i = 0; i < 20000; ++i) {
            {
                std::lock_guard<std::mutex> lock(m);
                if (waiting && permits == 0) return true;
            }
            if (done()) return false;
            std::this_thread::sleep_for(1ms);
        }
        return false;
    }
};

class RunGenerator : public ::testing::Test {
protected:
    void SetUp() override {
        GatedClock::Reset();
        AddWords(store, kWords);
    }
    void TearDown() override { GatedClock::Open(); }

    // Starts a run whose slices wait for the test's permits, and waits until
    // the worker stands before its first slice.
    std::unique_ptr<CCWData> StartGated(const std::string& design, int n) {
        auto data = Puzzle(store, design, n);
        data->engine->readClock = &GatedClock::Read;
        EXPECT_TRUE(data->StartGenerating());
        EXPECT_TRUE(GatedClock::WaitUntilBlocked([] { return false; }));
        return data;
    }

    // Lets the worker run one slice; true when it then waits before the next.
    static bool OneSlice(CCWData& data) {
        GatedClock::Grant(2);
        return GatedClock::WaitUntilBlocked([&] { return !data.IsWorkerActive(); });
    }

    WordStore store;
};

std::vector<std::string> CompleteRuns(const std::string& grid, int n) {
    std::vector<std::string> runs;
    for (int across = 0; across < 2; ++across)
        for (int line = 0; line < n; ++line) {
            std::string run;
            for (int k = 0; k <= n; ++k) {
                const char c = k < n ? (across ? grid[line * n + k] : grid[k * n + line]) : '!';
                if (c != '!') {
                    run += c;
                    continue;
                }
                if (run.size() >= 2 && run.find('@') == std::string::npos) runs.push_back(run);
                run.clear();
            }
        }
    return runs;
}

TEST_F(RunGenerator, wholeRun_fillsGridNumbersItAndAssignsClues) {
    TempFolder folder;
    folder.WriteClues("CLUES1", "AC.CLU", "ACE\r\nTop card\r\nACT\r\nDeed\r\n");
    folder.WriteClues("CLUES1", "EY.CLU", "EYE\r\nLook at\r\nEYE\r\nOrgan of sight\r\n");
    auto data = Puzzle(store, kDesign, 4);
    data->dataFolder = Wide(folder.path.string());
    ASSERT_EQ(data->GetStatus(), StatusDesigning);

    ASSERT_TRUE(data->StartGenerating());
    // The window thread polls the status only; the moment it reads
    // StatusFilled, everything the worker writes is there. The poll spins,
    // so that it sees the status as soon as the worker publishes it.
    const auto deadline = std::chrono::steady_clock::now() + 20s;
    while (data->GetStatus() != StatusFilled && std::chrono::steady_clock::now() < deadline) std::this_thread::yield();
    ASSERT_EQ(data->GetStatus(), StatusFilled);
    EXPECT_EQ(data->GetGridText(), Wide(kSolution));
    EXPECT_EQ(data->GetSolutionText(), Wide(kSolution));
    EXPECT_EQ(data->answerTitle, u"Puzzle Answer");
    EXPECT_EQ(data->highestNumber, 5);
    const int numbers[16] = {1, 2, 3, 251, 4, 252, 252, 251, 5, 252, 252, 251, 251, 251, 251, 252};
    for (int k = 0; k < 16; ++k) EXPECT_EQ(data->cellNumbers[k], numbers[k]) << k;

    struct Expected {
        int number;
        std::u16string direction, answer;
    } expected[] = {{1, u"ACROSS", u"ACE"}, {4, u"ACROSS", u"GAY"}, {5, u"ACROSS", u"ONE"},
                    {1, u"DOWN", u"AGO"},   {2, u"DOWN", u"CAN"},   {3, u"DOWN", u"EYE"}};
    ASSERT_EQ(data->clues.size(), 6u);
    for (int k = 0; k < 6; ++k) {
        EXPECT_EQ(data->clues[k].number, expected[k].number) << k;
        EXPECT_EQ(data->clues[k].direction, expected[k].direction) << k;
        EXPECT_EQ(data->clues[k].answer, expected[k].answer) << k;
        EXPECT_EQ(data->clues[k].rect, RECT{}) << k;
    }
    EXPECT_EQ(data->clues[0].clue, u"Top card");
    EXPECT_TRUE(data->clues[5].clue == u"Look at" || data->clues[5].clue == u"Organ of sight");
    EXPECT_EQ(data->clues[1].clue, u"TO DO clue for: GAY");

    // The fill, checked independently of the engine.
    const std::vector<std::string> list(kWords);
    const std::unordered_set<std::string> words(list.begin(), list.end());
    FillCheckInput input;
    input.rows = input.columns = 4;
    input.design = kDesign;
    char filled[kMaxSquares + 1];
    data->engine->GridToText(filled);
    input.filled = filled;
    input.words = &words;
    const FillCheckResult check = CheckFill(input);
    EXPECT_TRUE(check.ok()) << (check.problems.empty() ? "" : check.problems[0]);

    data->WaitForWorker();
    EXPECT_FALSE(data->IsWorkerActive());
    EXPECT_EQ(data->stopRequested, 0);
    // A filled puzzle takes no second run and no edits.
    EXPECT_FALSE(data->StartGenerating());
    EXPECT_FALSE(data->RequestStop());
    data->ClearGrid();
    EXPECT_EQ(data->GetGridText(), Wide(kSolution));
}

TEST_F(RunGenerator, stopDuringRun_revertsToDesignAndEndsDesigning) {
    const std::string design =
        "@@E!"
        "@@@!"
        "@@@!"
        "!!!@";
    auto data = StartGated(design, 4);
    EXPECT_EQ(data->GetStatus(), StatusGenerating);
    ASSERT_TRUE(OneSlice(*data));
    ASSERT_TRUE(OneSlice(*data));
    EXPECT_NE(Narrow(data->GetGridText()), design) << "two slices placed words";

    // While the worker holds the engine no edit reaches it.
    EXPECT_FALSE(data->StartGenerating());
    EXPECT_FALSE(data->ToggleBlock(3, 3));
    data->ClearGrid();
    data->NewGrid(9);
    data->SetAcrossWord(1, 0, "ZZZ");
    EXPECT_EQ(data->gridSize, 4);

    ASSERT_TRUE(data->RequestStop());
    EXPECT_EQ(data->GetStatus(), StatusReverting);
    EXPECT_FALSE(data->RequestStop());
    GatedClock::Grant(2);  // the slice under way ends; then the worker sees the request
    ASSERT_TRUE(Eventually([&] { return !data->IsWorkerActive(); }));
    EXPECT_EQ(data->GetStatus(), StatusDesigning);
    EXPECT_EQ(data->stopRequested, 0);
    EXPECT_EQ(Narrow(data->GetGridText()), design);
    EXPECT_TRUE(data->clues.empty());

    // The designer has the grid again, and a new run can start and finish.
    EXPECT_TRUE(data->ToggleBlock(3, 3));
    EXPECT_TRUE(data->ToggleBlock(3, 3));
    GatedClock::Open();
    ASSERT_TRUE(data->StartGenerating());
    ASSERT_TRUE(Eventually([&] { return data->GetStatus() == StatusFilled; }));
    EXPECT_EQ(data->GetGridText(), Wide(kSolution));
}

TEST_F(RunGenerator, destroyDuringRun_returnsOnlyAfterWorkerIsDone) {
    auto data = StartGated(kDesign, 4);
    ASSERT_TRUE(OneSlice(*data));
    std::atomic<bool> released{false};
    // The worker is held inside its slice until this thread lets it go; the
    // destructor must wait for it rather than free the engine under it.
    std::thread releaser([&] {
        std::this_thread::sleep_for(200ms);
        released = true;
        GatedClock::Open();
    });
    data.reset();
    EXPECT_TRUE(released.load());
    {
        std::lock_guard<std::mutex> lock(GatedClock::m);
        EXPECT_FALSE(GatedClock::waiting);
    }
    releaser.join();
}

TEST_F(RunGenerator, destroyAfterRunEnded_joinsWithoutStop) {
    auto data = Puzzle(store, kDesign, 4);
    ASSERT_TRUE(data->StartGenerating());
    ASSERT_TRUE(Eventually([&] { return data->GetStatus() == StatusFilled; }));
    data.reset();  // joins the finished worker; nothing to assert beyond a clean return
}

TEST_F(RunGenerator, wordRemoval_isAppliedBetweenSlices) {
    auto data = StartGated(kDesign, 4);
    std::string target;
    for (int slice = 0; slice < 200 && target.empty(); ++slice) {
        ASSERT_TRUE(OneSlice(*data)) << "the run ended before a word was placed";
        const std::vector<std::string> runs = CompleteRuns(Narrow(data->GetGridText()), 4);
        if (!runs.empty()) target = runs[0];
    }
    ASSERT_FALSE(target.empty());

    // A request waits for the end of the slice; a later one replaces it.
    data->RequestWordRemoval("XYZ");
    data->RequestWordRemoval(target);
    {
        std::lock_guard<std::mutex> lock(data->statusLock);
        EXPECT_EQ(data->removalPending, 1);
        EXPECT_EQ(std::string(data->removalWord), target);
    }
    const bool waitingAgain = OneSlice(*data);
    {
        std::lock_guard<std::mutex> lock(data->statusLock);
        EXPECT_EQ(data->removalPending, 0);
        EXPECT_EQ(data->removalWord[0], 0);
    }
    if (waitingAgain) {
        // The word the user clicked is out of the grid the window shows.
        for (const std::string& run : CompleteRuns(Narrow(data->GetGridText()), 4)) EXPECT_NE(run, target);
    }
    GatedClock::Open();
    ASSERT_TRUE(Eventually([&] { return !data->IsWorkerActive(); }));
    const int status = data->GetStatus();
    EXPECT_TRUE(status == StatusFilled || status == StatusExhausted) << status;
}

TEST_F(RunGenerator, failedStarts_endInTheirStatusWithTheEngineGrid) {
    struct Case {
        const char* name;
        std::string design;
        int status;
        std::string shown;  // gridText after the run
    } cases[] = {
        // No word of the list starts with Q: the empty squares of both entries are marked.
        {"no candidate",
         "Q@@!"
         "@@@!"
         "@@@!"
         "!!!@",
         StatusNoStart,
         "Q?"
         "?!"
         "?@@!"
         "?@@!"
         "!!!@"},
        // No entry at all.
        {"no entry",
         "@!@!"
         "!@!@"
         "@!@!"
         "!@!@",
         StatusNoStart,
         "@!@!"
         "!@!@"
         "@!@!"
         "!@!@"},
        // The same complete user word twice.
        {"duplicate",
         "ACE!"
         "@@@!"
         "ACE!"
         "!!!@",
         StatusDuplicates,
         "ACE!"
         "@@@!"
         "ACE!"
         "!!!@"},
    };
    AddWords(store, {"AHA", "CYC", "EKE"});
    for (const Case& c : cases) {
        auto data = Puzzle(store, c.design, 4);
        ASSERT_TRUE(data->StartGenerating()) << c.name;
        ASSERT_TRUE(Eventually([&] { return !data->IsWorkerActive(); })) << c.name;
        EXPECT_EQ(data->GetStatus(), c.status) << c.name;
        EXPECT_EQ(Narrow(data->GetGridText()), c.shown) << c.name;
        EXPECT_TRUE(data->clues.empty()) << c.name;
        EXPECT_EQ(data->stopRequested, 0) << c.name;
        // The designer may start again.
        EXPECT_TRUE(data->StartGenerating()) << c.name;
        ASSERT_TRUE(Eventually([&] { return !data->IsWorkerActive(); })) << c.name;
    }
}

TEST_F(RunGenerator, startGenerating_isRefusedWithoutEngineWordStoreOrInActiveStates) {
    CCWData stored;
    EXPECT_FALSE(stored.StartGenerating());
    CCWData noStore(nullptr, 9);
    EXPECT_FALSE(noStore.StartGenerating());
    EXPECT_EQ(noStore.GetStatus(), StatusDesigning);

    for (int status : {StatusGenerating, StatusReverting, StatusFilled}) {
        auto data = Puzzle(store, kDesign, 4);
        data->SetStatus(status);
        EXPECT_FALSE(data->StartGenerating()) << status;
        EXPECT_FALSE(data->IsWorkerActive()) << status;
        EXPECT_EQ(data->GetStatus(), status);
    }
}

TEST_F(RunGenerator, lateStopOfFinishedRun_doesNotStopNextRun) {
    // A stop request left over from a run whose last slice ended the search
    // (here: set by hand on an exhausted puzzle) does not stop the next run.
    WordStore small;
    AddWords(small, {"ACE", "GAY", "ONE", "AGO", "CAN", "EYE"});
    auto data = Puzzle(small, kDesign, 4);
    // One search move a slice, so the worker looks at the request after every move.
    data->engine->readClock = &GatedClock::Read;
    GatedClock::Open();
    data->SetStatus(StatusExhausted);
    data->stopRequested = 1;
    ASSERT_TRUE(data->StartGenerating());
    ASSERT_TRUE(Eventually([&] { return !data->IsWorkerActive(); }));
    EXPECT_EQ(data->GetStatus(), StatusFilled);
}

}  // namespace
}  // namespace korvo
