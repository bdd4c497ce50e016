// The thorough search against an independent brute-force filler on small
// grids and lists: the same verdict on every case (prefix and duplicate
// conflicts included), every fill checked, a proof's entries unfillable
// together and each of them needed; one and several threads; repeatable
// fills; word scores and their file.
#include "engine/thorough_search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "engine_support.h"
#include "words/word_scores.h"

namespace korvo::testing {
namespace {

// An entry of a grid: its squares, row by row numbering as the engine gives.
struct Run {
    std::vector<int> squares;
};

std::vector<Run> RunsOf(const std::string& grid, int n) {
    std::vector<Run> runs;
    for (int across = 0; across < 2; ++across)
        for (int line = 0; line < n; ++line) {
            Run run;
            for (int k = 0; k <= n; ++k) {
                const int at = across ? line * n + k : k * n + line;
                if (k < n && grid[static_cast<std::size_t>(at)] != '!') {
                    run.squares.push_back(at);
                    continue;
                }
                if (run.squares.size() >= 2) runs.push_back(run);
                run.squares.clear();
            }
        }
    return runs;
}

bool SharePrefix(const std::string& a, const std::string& b) {
    return a.size() >= 3 && b.size() >= 3 && a.compare(0, 3, b, 0, 3) == 0;
}

// Brute force: is there a fill of the entries in `enforce` (all when empty)
// with distinct words, none sharing its first three letters with another
// placed word or with a complete entry's list word (prefix rule)?
class BruteForce {
public:
    BruteForce(const std::string& grid, int n, const std::vector<std::string>& words, bool prefixRule)
        : grid_(grid), words_(words), prefixRule_(prefixRule) {
        for (const Run& run : RunsOf(grid, n)) {
            std::string letters;
            for (int sq : run.squares) letters += grid[static_cast<std::size_t>(sq)];
            if (letters.find('@') != std::string::npos) {
                open_.push_back(run);
            } else if (std::find(words.begin(), words.end(), letters) != words.end()) {
                constants_.push_back(letters);
            }
        }
    }
    // Open entries in grid order (across first, then down): the same set the engine fills.
    const std::vector<Run>& Open() const { return open_; }

    bool Fillable(const std::vector<int>& enforce = {}) {
        chosen_.clear();
        if (enforce.empty()) {
            for (std::size_t i = 0; i < open_.size(); ++i) chosen_.push_back(static_cast<int>(i));
        } else {
            chosen_ = enforce;
        }
        placed_.clear();
        std::string work = grid_;
        return Fill(0, work);
    }

private:
    bool Fill(std::size_t i, std::string& work) {
        if (i == chosen_.size()) return true;
        const Run& run = open_[static_cast<std::size_t>(chosen_[i])];
        for (const std::string& w : words_) {
            if (w.size() != run.squares.size()) continue;
            bool fits = true;
            for (std::size_t k = 0; k < w.size() && fits; ++k) {
                const char c = work[static_cast<std::size_t>(run.squares[k])];
                fits = c == '@' || c == w[k];
            }
            for (const std::string& other : placed_)
                if (fits) fits = other != w && !(prefixRule_ && SharePrefix(other, w));
            for (const std::string& other : constants_)
                if (fits) fits = other != w && !(prefixRule_ && SharePrefix(other, w));
            if (!fits) continue;
            const std::string saved = work;
            for (std::size_t k = 0; k < w.size(); ++k) work[static_cast<std::size_t>(run.squares[k])] = w[k];
            placed_.push_back(w);
            if (LaterEntriesFit(i + 1, work) && Fill(i + 1, work)) return true;
            placed_.pop_back();
            work = saved;
        }
        return false;
    }

    // Every entry still to fill has some word that fits its letters (a cut that keeps the search short).
    bool LaterEntriesFit(std::size_t from, const std::string& work) const {
        for (std::size_t j = from; j < chosen_.size(); ++j) {
            const Run& run = open_[static_cast<std::size_t>(chosen_[j])];
            bool any = false;
            for (const std::string& w : words_) {
                if (w.size() != run.squares.size()) continue;
                bool fits = true;
                for (std::size_t k = 0; k < w.size() && fits; ++k) {
                    const char c = work[static_cast<std::size_t>(run.squares[k])];
                    fits = c == '@' || c == w[k];
                }
                if (fits) {
                    any = true;
                    break;
                }
            }
            if (!any) return false;
        }
        return true;
    }

    std::string grid_;
    std::vector<std::string> words_;
    bool prefixRule_;
    std::vector<Run> open_;
    std::vector<std::string> constants_;
    std::vector<int> chosen_;
    std::vector<std::string> placed_;
};

struct Verdict {
    int started = 0;  // Start's result
    ThoroughOutcome outcome = ThoroughOutcome::kSliceOver;
    std::vector<int> coreRuns;  // the proof's entries as indexes of BruteForce::Open()
    std::string grid;           // the engine's grid afterwards
    std::string message;
};

// Runs the thorough search on a grid to its end (bounded).
Verdict RunThorough(const std::string& grid, int n, const std::vector<std::string>& words, int threads,
                    std::uint32_t seed = 7, bool prefixRule = true, const WordScores* scores = nullptr,
                    int valueChoice = ThoroughOptions{}.valueChoice) {
    Verdict v;
    WordStore store;
    AddWords(store, words);
    FillEngine engine(&store);
    SetNewPuzzleParameters(engine);
    engine.prefixRule = prefixRule ? 1 : 0;
    EXPECT_EQ(engine.LoadGrid(n, n, grid.c_str()), 1);
    v.started = engine.Start();
    if (v.started <= 0) return v;
    ThoroughOptions options;
    options.threads = threads;
    options.seed = seed;
    options.scores = scores;
    options.valueChoice = valueChoice;
    options.sliceSeconds = 0.05;
    ThoroughSearch search(engine, options);
    for (int step = 0; step < 2000 && v.outcome == ThoroughOutcome::kSliceOver; ++step) v.outcome = search.Step();
    if (v.outcome == ThoroughOutcome::kFilled) {
        search.TakeFill();
        const FillCheckResult check = VerifyFill(engine, grid, store);
        EXPECT_TRUE(check.ok()) << Problems(check) << grid;
        EXPECT_EQ(engine.current, engine.slotCount);
    } else if (v.outcome == ThoroughOutcome::kNoFill) {
        search.MarkCore();
        v.message = DescribeNoFill(engine, search.Core(), "Test");
        // Map the engine's entries (by first square and direction) to the brute-force runs.
        const BruteForce brute(grid, n, words, prefixRule);
        for (int slot : search.Core()) {
            const Slot& s = engine.slots[slot];
            const int first = s.row * n + s.column;
            const int second = s.direction == kAcross ? first + 1 : first + n;
            for (std::size_t r = 0; r < brute.Open().size(); ++r)
                if (brute.Open()[r].squares[0] == first && brute.Open()[r].squares[1] == second)
                    v.coreRuns.push_back(static_cast<int>(r));
        }
        EXPECT_EQ(v.coreRuns.size(), search.Core().size());
    }
    v.grid = GridText(engine);
    return v;
}

// The verdict agrees with brute force; a proof's entries cannot be filled
// together, and without any one of them they can.
void ExpectAgrees(const std::string& grid, int n, const std::vector<std::string>& words, int threads,
                  bool prefixRule = true, int valueChoice = ThoroughOptions{}.valueChoice) {
    SCOPED_TRACE(grid);
    BruteForce brute(grid, n, words, prefixRule);
    const Verdict v = RunThorough(grid, n, words, threads, 7, prefixRule, nullptr, valueChoice);
    if (v.started <= 0) return;  // refused by Start's own checks, as in every mode
    const bool fillable = brute.Fillable();
    ASSERT_NE(v.outcome, ThoroughOutcome::kSliceOver);
    EXPECT_EQ(v.outcome == ThoroughOutcome::kFilled, fillable);
    if (v.outcome != ThoroughOutcome::kNoFill) return;
    ASSERT_FALSE(v.coreRuns.empty());
    std::vector<int> core = v.coreRuns;
    std::sort(core.begin(), core.end());
    EXPECT_FALSE(brute.Fillable(core)) << v.message;
    for (std::size_t drop = 0; drop < core.size(); ++drop) {
        std::vector<int> fewer = core;
        fewer.erase(fewer.begin() + static_cast<std::ptrdiff_t>(drop));
        if (!fewer.empty()) {
            EXPECT_TRUE(brute.Fillable(fewer)) << "entry " << core[drop] << " is not needed";
        }
    }
    // The proof's entries are marked in the grid; the rest is the design.
    for (std::size_t i = 0; i < grid.size(); ++i)
        if (grid[i] != '@') {
            EXPECT_EQ(v.grid[i], grid[i]);
        }
}

// Two 2 x 2 corners: the top one fills with the two-letter words over A..D;
// in the bottom one, whose first square holds X, every entry has candidates
// but no choice of them fits together.
const std::string kCorners =
    "@@!!!"
    "@@!!!"
    "!!!!!"
    "!!!X@"
    "!!!@@";

std::vector<std::string> CornerWords() {
    std::vector<std::string> words = {"XZ", "XY", "ZY"};
    for (char a = 'A'; a <= 'D'; ++a)
        for (char b = 'A'; b <= 'D'; ++b) words.push_back(std::string{a, b});
    return words;
}

struct Case {
    const char* name;
    int n;
    std::string grid;
    std::vector<std::string> words;
    bool fillable;
};

TEST(ThoroughSearch, handMadeCases_matchBruteForceAndNameTheirEntries) {
    const Case cases[] = {
        {"word square", 3, "@@@@@@@@@", {"CAT", "ORE", "WED", "COW", "ARE", "TED", "XYZ"}, true},
        // Only fills that use AB or BA twice exist.
        {"duplicate only", 2, "@@@@", {"AB", "BA"}, false},
        // Two four-letter rows sharing CAT: the prefix rule forbids the only fill.
        {"shared prefix", 4, "@@@@!!!!@@@@!!!!", {"CATS", "CATE"}, false},
        // The user's complete CATS takes part in the prefix rule.
        {"prefix with user word", 4, "CATS!!!!@@@@!!!!", {"CATS", "CATE", "DOGE"}, true},
        {"prefix with user word only", 4, "CATS!!!!@@@@!!!!", {"CATS", "CATE"}, false},
        // A user word that is not a list word takes no part in the rules.
        {"user word not listed", 4, "CATZ!!!!@@@@!!!!", {"CATE"}, true},
        // The top corner fills, the bottom one cannot: the proof stays in the corner.
        {"one bad corner", 5, kCorners, CornerWords(), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BruteForce brute(c.grid, c.n, c.words, true);
        EXPECT_EQ(brute.Fillable(), c.fillable) << "the case itself is wrong";
        for (int threads : {1, 3}) ExpectAgrees(c.grid, c.n, c.words, threads);
    }

    // The proof of the shared prefix names both rows; that of the corner only the corner.
    const Verdict prefix = RunThorough("@@@@!!!!@@@@!!!!", 4, {"CATS", "CATE"}, 2);
    EXPECT_EQ(prefix.message,
              "No fill exists for this grid with the Test list: 1 Across and 2 Across cannot both be filled.");
    const Verdict corner = RunThorough(kCorners, 5, CornerWords(), 2);
    ASSERT_EQ(corner.outcome, ThoroughOutcome::kNoFill);
    for (char c : corner.grid.substr(0, 10)) EXPECT_NE(c, '?') << corner.grid;
    EXPECT_NE(corner.grid.find('?'), std::string::npos);
    // Without the prefix rule the rows may share CAT.
    ExpectAgrees("@@@@!!!!@@@@!!!!", 4, {"CATS", "CATE"}, 1, false);
}

// Random small grids and lists over few letters, where prefix and duplicate
// conflicts are common: the verdict always agrees with brute force.
TEST(ThoroughSearch, randomSmallGrids_matchBruteForce) {
    std::mt19937 random(20261210);
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    int fillable = 0, unfillable = 0;
    for (int trial = 0; trial < 160; ++trial) {
        const int n = 3 + pick(3);
        const int letters = 2 + pick(4);
        std::string grid(static_cast<std::size_t>(n * n), '@');
        for (char& c : grid) {
            const int r = pick(100);
            if (r < 12)
                c = '!';
            else if (r < 18)
                c = static_cast<char>('A' + pick(letters));
        }
        std::set<std::string> words;
        for (int length = 2; length <= n; ++length) {
            const int count = 2 + pick(n <= 4 ? 30 : 24);
            for (int i = 0; i < count; ++i) {
                std::string w;
                for (int k = 0; k < length; ++k) w += static_cast<char>('A' + pick(letters));
                words.insert(w);
            }
        }
        const std::vector<std::string> list(words.begin(), words.end());
        BruteForce brute(grid, n, list, true);
        const bool canFill = brute.Fillable();
        // Every second trial takes candidates in table order instead of
        // comparing what they leave the crossing entries.
        ExpectAgrees(grid, n, list, 1 + trial % 3, true, trial % 2 == 0 ? ThoroughOptions{}.valueChoice : 1);
        (canFill ? fillable : unfillable)++;
        if (::testing::Test::HasFailure()) break;
    }
    // Both verdicts were exercised.
    EXPECT_GT(fillable, 20);
    EXPECT_GT(unfillable, 20);
}

// A larger open grid: one thread and several give valid fills, and a seed
// with a thread count gives the same fill again.
TEST(ThoroughSearch, sameSeedAndThreads_sameFill) {
    std::mt19937 random(5);
    std::set<std::string> words;
    while (words.size() < 1500) {
        std::string w;
        for (int k = 0; k < 5; ++k) w += static_cast<char>('A' + random() % 8);
        words.insert(w);
    }
    const std::vector<std::string> list(words.begin(), words.end());
    const std::string grid(25, '@');
    for (int threads : {1, 2, 4}) {
        const Verdict a = RunThorough(grid, 5, list, threads, 99);
        const Verdict b = RunThorough(grid, 5, list, threads, 99);
        ASSERT_EQ(a.outcome, ThoroughOutcome::kFilled) << threads;
        EXPECT_EQ(a.grid, b.grid) << threads;
    }
}

// Two entries share their first square. Of equally scored words, one that
// leaves the crossing entry more words is tried first: a C word (four of the
// six words start with C) for every seed, where table order places a D word
// for some seeds.
TEST(ThoroughSearch, valueChoice_triesTheWordThatLeavesTheCrossingEntryMostWords) {
    const std::vector<std::string> words = {"CAT", "CAR", "COD", "CUP", "DOG", "DIM"};
    const std::string grid = "@@@@!!@!!";
    int dFirst = 0;
    for (std::uint32_t seed = 1; seed <= 12; ++seed) {
        const Verdict v = RunThorough(grid, 3, words, 1, seed, false);
        ASSERT_EQ(v.outcome, ThoroughOutcome::kFilled);
        EXPECT_EQ(v.grid[0], 'C') << seed;
        dFirst += RunThorough(grid, 3, words, 1, seed, false, nullptr, 1).grid[0] == 'D';
    }
    EXPECT_GT(dFirst, 0);
}

// Entries of a grid one word long: the best-scored word is placed first.
TEST(ThoroughSearch, betterScoredWordsFirst_damagedScoresEqual) {
    const std::vector<std::string> words = {"ANT", "BEE", "COW", "DOG", "EMU", "FOX", "GNU", "HEN"};
    const std::string grid = "@@@!!!!!!";
    WordScores scores;
    ASSERT_TRUE(scores.Parse("KORVO-SCORES 1\nANT\t10\nBEE\t12\nCOW\t95\nDOG\t20\nEMU\t5\nFOX\t30\nGNU\t1\nHEN\t22\n"));
    for (std::uint32_t seed = 1; seed <= 8; ++seed) {
        const Verdict v = RunThorough(grid, 3, words, 1, seed, true, &scores);
        ASSERT_EQ(v.outcome, ThoroughOutcome::kFilled);
        EXPECT_EQ(v.grid.substr(0, 3), "COW") << seed;
    }
    // A damaged file gives no scores: the fill is the one without scores.
    WordScores damaged;
    EXPECT_FALSE(damaged.Parse("KORVO-SCORES 1\nCOW\t95\nDOG\tlots\n"));
    for (std::uint32_t seed = 1; seed <= 4; ++seed)
        EXPECT_EQ(RunThorough(grid, 3, words, 1, seed, true, &damaged).grid,
                  RunThorough(grid, 3, words, 1, seed, true, nullptr).grid);
}

TEST(ThoroughSearch, bannedWord_staysOutForTheRestOfTheRun) {
    // Two word squares: CAT ORE WED / COW ARE TED, and SPA HAT ODE / SHO PAD ATE.
    const std::vector<std::string> words = {"CAT", "ORE", "WED", "COW", "ARE", "TED",
                                            "SPA", "HAT", "ODE", "SHO", "PAD", "ATE"};
    struct Row {
        std::vector<std::string> banned;
        ThoroughOutcome outcome;
        std::set<std::string> grids;  // the fill, read across or down; empty: the design with '?' marks
    } rows[] = {
        {{"CAT"}, ThoroughOutcome::kFilled, {"SPAHATODE", "SHOPADATE"}},
        {{"PAD"}, ThoroughOutcome::kFilled, {"CATOREWED", "COWARETED"}},
        {{"ORE", "HAT"}, ThoroughOutcome::kNoFill, {}},
    };
    for (const Row& row : rows) {
        WordStore store;
        AddWords(store, words);
        FillEngine engine(&store);
        SetNewPuzzleParameters(engine);
        ASSERT_EQ(engine.LoadGrid(3, 3, "@@@@@@@@@"), 1);
        ASSERT_GT(engine.Start(), 0);
        ThoroughOptions options;
        options.threads = 2;
        options.sliceSeconds = 0.05;
        ThoroughSearch search(engine, options);
        for (const std::string& word : row.banned) search.BanWord(word);
        ThoroughOutcome outcome = ThoroughOutcome::kSliceOver;
        for (int i = 0; i < 100 && outcome == ThoroughOutcome::kSliceOver; ++i) outcome = search.Step();
        EXPECT_EQ(outcome, row.outcome);
        if (outcome == ThoroughOutcome::kFilled) search.TakeFill();
        if (outcome == ThoroughOutcome::kNoFill) search.MarkCore();
        const std::string grid = GridText(engine);
        if (row.grids.empty()) {
            EXPECT_EQ(grid.find_first_not_of("@?"), std::string::npos) << grid;
            EXPECT_NE(grid.find('?'), std::string::npos) << grid;
        } else {
            EXPECT_TRUE(row.grids.count(grid)) << grid;
        }
        EXPECT_EQ(WordsInUse(store), 0) << "the word store is left as the search found it";
    }
}

TEST(WordScores, fileText_validOrDamagedAsAWhole) {
    struct Row {
        const char* text;
        bool valid;
    } rows[] = {
        {"KORVO-SCORES 1\nCAT\t80\nDOG\t1\n", true},
        {"KORVO-SCORES 1\nCAT\t100", true},
        {"KORVO-SCORES 1\n", true},
        {"", false},
        {"KORVO-SCORES 2\nCAT\t80\n", false},
        {"KORVO-SCORES 1\nCAT 80\n", false},
        {"KORVO-SCORES 1\nCAT\t0\n", false},
        {"KORVO-SCORES 1\nCAT\t101\n", false},
        {"KORVO-SCORES 1\ncat\t50\n", false},
        {"KORVO-SCORES 1\nCAT\t\n", false},
        {"KORVO-SCORES 1\nCAT\t99999999999999999999\n", false},
        {"KORVO-SCORES 1\nCAT\t-5\n", false},
    };
    for (const Row& row : rows) {
        WordScores scores;
        EXPECT_EQ(scores.Parse(row.text), row.valid) << row.text;
        if (!row.valid) {
            EXPECT_EQ(scores.Score("CAT"), WordScores::kEqualScore) << row.text;
        }
    }
    WordScores scores;
    ASSERT_TRUE(scores.Parse("KORVO-SCORES 1\nCAT\t80\n"));
    EXPECT_EQ(scores.Score("CAT"), 80);
    EXPECT_EQ(scores.Score("DOG"), WordScores::kMinScore);
    EXPECT_FALSE(WordScores().Load("/nonexistent/data1.scores"));
    EXPECT_EQ(ScoreFileFor("/x/data3.bin"), std::filesystem::path("/x/data3.scores"));
}

}  // namespace
}  // namespace korvo::testing
