// The fill search on small grids whose moves were worked out by hand: the
// traces pin candidate order, look-ahead, rejection, back-jumps, deep jumps
// and the prefix rule; every fill is checked independently.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/engine_support.h"
#include "platform/random.h"

namespace korvo {
namespace {

using testing::AddWords;
using testing::BaseGridText;
using testing::GridText;
using testing::Problems;
using testing::RecordingTrace;
using testing::RunToEnd;
using testing::SearchRun;
using testing::SetNewPuzzleParameters;
using testing::SteppingClock;
using testing::VerifyFill;
using testing::WordsInUse;

using Lines = std::vector<std::string>;

// The 2 x 2 open grid is filled in the order D1 (column 0), A1 (row 0),
// A3 (row 1), D2 (column 1); slot 2 jumps back to 1, slot 1 to 0.
const std::string kOpen2x2 = "@@@@";

TEST(FillSearch, twoByTwo_rejectsOnLookAheadThenFills) {
    SearchRun t({"AB", "BC", "CA", "AC", "BA"}, 2, 2, kOpen2x2);
    ASSERT_EQ(t.engine.Start(), 3);
    EXPECT_EQ(t.engine.Step(), -1);
    EXPECT_EQ(t.trace.lines,
              (Lines{"0 AB accept", "1 AC accept", "2 BC reject look-ahead 3", "2 BA accept", "3 CA filled"}));
    EXPECT_EQ(GridText(t.engine), "ACBA");
    EXPECT_EQ(t.engine.current, 4);
    EXPECT_EQ(t.engine.activeCount, 4);
    EXPECT_EQ(WordsInUse(t.store), 0);
    t.ExpectVerified();
}

TEST(FillSearch, twoByTwo_backJumpsToTheCrossingEntry) {
    SearchRun t({"AB", "AC", "BD", "CE", "AF", "FA", "BA"}, 2, 2, kOpen2x2);
    ASSERT_EQ(t.engine.Start(), 3);
    EXPECT_EQ(t.engine.Step(), -1);
    EXPECT_EQ(t.trace.lines,
              (Lines{"0 AB accept", "1 AC accept", "2 BD reject look-ahead 3", "2 BA reject look-ahead 3",
                     "2 - back-jump 1", "1 AF accept", "2 BD reject look-ahead 3", "2 BA accept", "3 FA filled"}));
    EXPECT_EQ(GridText(t.engine), "AFBA");
    t.ExpectVerified();
}

// Slot 2 runs out twice. With forced deeper jumps every 2 failures the second
// failure goes to slot 0, keeps the letter slot 1's remembered word put there
// (narrowed pattern "A@") and holds AB back in the recent words; without them
// the search walks back one crossing entry at a time.
TEST(FillSearch, repeatedFailures_deepJumpOnlyWithAPeriod) {
    const std::vector<std::string> words = {"AB", "AC", "BD", "CE", "AF", "FE"};
    struct Case {
        const char* name;
        int mode;  // 0: the new-puzzle parameters with a period of 2
        Lines expected;
    } cases[] = {
        {"period 2",
         0,
         {"0 AB accept", "1 AC accept", "2 BD reject look-ahead 3", "2 - back-jump 1", "1 AF accept",
          "2 BD reject look-ahead 3", "2 - deep-jump 0", "0 AC accept", "1 AF accept", "2 CE accept", "3 FE filled"}},
        {"mode 4",
         4,
         {"0 AB accept", "1 AC accept", "2 BD reject look-ahead 3", "2 - back-jump 1", "1 AF accept",
          "2 BD reject look-ahead 3", "2 - back-jump 1", "1 - back-jump 0", "0 AC accept", "1 AB accept",
          "2 CE reject look-ahead 3", "2 - back-jump 1", "1 AF accept", "2 CE accept", "3 FE filled"}},
        {"mode 1", 1, {}},  // a period of 500 never comes due here: the same moves as mode 4
    };
    for (Case& c : cases) {
        SearchRun t(words, 2, 2, kOpen2x2);
        if (c.mode == 0)
            t.engine.SetBackJumpPeriod(2);
        else
            ApplyModeParameters(t.engine, c.mode);
        ASSERT_EQ(t.engine.Start(), 3);
        EXPECT_EQ(t.engine.Step(), -1) << c.name;
        const Lines& expected = c.mode == 1 ? cases[1].expected : c.expected;
        EXPECT_EQ(t.trace.lines, expected) << c.name;
        EXPECT_EQ(GridText(t.engine), "AFCE") << c.name;
        t.ExpectVerified();
    }
}

TEST(FillSearch, deepLookAhead_demandsMoreWordsOfFarSingleLetterEntries) {
    // Slot 2 lies more than lookAheadDistance 1 ahead of slot 0 and has one
    // fixed letter, so it needs 1 + lookAheadDepth fitting words.
    const std::vector<std::string> words = {"AB", "AC", "BD", "CE", "AF", "FE"};
    struct Case {
        int distance, depth;
        int result;
        Lines expected;
    } cases[] = {
        {1,
         1,
         0,
         {"0 AB reject deep 2", "0 AC reject deep 2", "0 BD reject look-ahead 2", "0 CE reject look-ahead 2",
          "0 AF reject deep 2", "0 FE reject look-ahead 2", "0 - exhausted"}},
        {1, 0, -1, {}},  // depth 0: no deep look-ahead
        {0, 3, -1, {}},  // distance 0: no deep look-ahead
    };
    for (const Case& c : cases) {
        SearchRun t(words, 2, 2, kOpen2x2);
        t.engine.SetBackJumpPeriod(1);
        t.engine.lookAheadDistance = c.distance;
        t.engine.lookAheadDepth = c.depth;
        ASSERT_EQ(t.engine.Start(), 3);
        EXPECT_EQ(t.engine.Step(), c.result) << c.distance << "/" << c.depth;
        if (c.result == 0) {
            EXPECT_EQ(t.trace.lines, c.expected);
            EXPECT_EQ(GridText(t.engine), kOpen2x2);
        } else {
            EXPECT_EQ(t.trace.lines.front(), "0 AB accept");
            t.ExpectVerified();
        }
    }
}

// One open entry beside the complete user word CAR.
TEST(FillSearch, prefixRule_keepsFirstThreeLettersApart) {
    const std::string grid =
        "CAR!@@@@"
        "!!!!!!!!";
    struct Case {
        std::vector<std::string> words;
        int result;
        Lines expected;
        const char* filled;
    } cases[] = {
        {{"CAR", "CARS"}, 0, {"0 CARS reject prefix", "0 - exhausted"}, "CAR!@@@@!!!!!!!!"},
        {{"CAR", "CARS", "CABS", "DOGS"}, -1, {"0 CARS reject prefix", "0 CABS filled"}, "CAR!CABS!!!!!!!!"},
        // CAR is not listed: it is kept, but takes part in neither rule.
        {{"CARS"}, -1, {"0 CARS filled"}, "CAR!CARS!!!!!!!!"},
    };
    for (const Case& c : cases) {
        SearchRun t(c.words, 2, 8, grid);
        ASSERT_EQ(t.engine.Start(), 2);
        EXPECT_EQ(t.engine.Step(), c.result);
        EXPECT_EQ(t.trace.lines, c.expected);
        EXPECT_EQ(GridText(t.engine), c.filled);
        EXPECT_EQ(WordsInUse(t.store), 0);
        if (c.result == 0) {
            EXPECT_EQ(GridText(t.engine), BaseGridText(t.engine));
            EXPECT_EQ(t.engine.current, 0);
        } else {
            t.ExpectVerified();
        }
    }
}

TEST(FillSearch, prefixRule_betweenSearchPlacedWords) {
    // Two open entries: the second may not start like the first.
    SearchRun t({"CARS", "CART", "DOGS"}, 3, 4, "@@@@!!!!@@@@");
    ASSERT_EQ(t.engine.Start(), 2);
    EXPECT_EQ(t.engine.Step(), -1);
    EXPECT_EQ(t.trace.lines, (Lines{"0 CARS accept", "1 CART reject prefix", "1 DOGS filled"}));
    t.ExpectVerified();
}

TEST(FillSearch, duplicateRule_refusesASecondRecordOfAPlacedWord) {
    // A list holding AB twice: the status byte keeps the first record out of
    // the second entry, the used-word store the second record.
    SearchRun t({"AB", "AB", "CD"}, 3, 2, "@@!!@@");
    ASSERT_EQ(t.engine.Start(), 2);
    EXPECT_EQ(t.engine.Step(), -1);
    EXPECT_EQ(t.trace.lines, (Lines{"0 AB accept", "1 AB reject duplicate", "1 CD filled"}));
    t.ExpectVerified();
}

TEST(FillSearch, exhaustion_restoresTheDesignAndClearsTheRun) {
    // Every candidate for slot 0 dies in the look-ahead.
    SearchRun t({"AB", "CD"}, 2, 2, "@@@@");
    ASSERT_EQ(t.engine.Start(), 3);
    t.engine.AddRecentWord(2, 1);
    EXPECT_EQ(t.engine.Step(), 0);
    EXPECT_EQ(t.trace.lines.back(), "0 - exhausted");
    EXPECT_EQ(GridText(t.engine), "@@@@");
    EXPECT_EQ(t.engine.current, 0);
    EXPECT_EQ(WordsInUse(t.store), 0);
    EXPECT_EQ(t.engine.recentWords.index[0], 0);
    EXPECT_EQ(t.engine.recentWords.next, 0);
    EXPECT_EQ(t.engine.usedWords.CountWords(), 0u);
}

TEST(FillSearch, stepOnAFilledRun_returnsFilledAtOnce) {
    SearchRun t({"AB", "BC", "CA", "AC", "BA"}, 2, 2, kOpen2x2);
    ASSERT_EQ(t.engine.Start(), 3);
    ASSERT_EQ(t.engine.Step(), -1);
    const std::size_t moves = t.trace.lines.size();
    EXPECT_EQ(t.engine.Step(), -1);
    EXPECT_EQ(t.trace.lines.size(), moves);
}

TEST(FillSearch, timeSlice_endsAStepBetweenMovesOnWholeSeconds) {
    // The slice is over when more than timeSlice seconds have passed: with
    // a 2.0 s slice a clock moving 2 s per reading allows two moves a step,
    // one moving 3 s allows one.
    struct Case {
        std::time_t secondsPerReading;
        std::size_t movesPerStep;
    } cases[] = {{2, 2}, {3, 1}, {0, 5}};
    for (const Case& c : cases) {
        SearchRun t({"AB", "BC", "CA", "AC", "BA"}, 2, 2, kOpen2x2);
        SteppingClock::step = c.secondsPerReading;
        t.engine.readClock = &SteppingClock::Read;
        ASSERT_EQ(t.engine.Start(), 3);
        const int first = t.engine.Step();
        EXPECT_EQ(t.trace.lines.size(), c.movesPerStep) << c.secondsPerReading;
        EXPECT_EQ(first, c.movesPerStep == 5 ? -1 : 1);
        EXPECT_EQ(RunToEnd(t.engine), -1);
        EXPECT_EQ(t.trace.lines.size(), 5u);
        t.ExpectVerified();
    }
}

TEST(FillSearch, revert_afterAnyNumberOfMoves_restoresTheDesign) {
    const std::vector<std::string> words = {"AB", "AC", "BD", "CE", "AF", "FA", "BA"};
    const std::string grid = "@@@A";
    std::size_t total = 0;
    {
        SearchRun full(words, 2, 2, grid);
        ASSERT_EQ(full.engine.Start(), 3);
        ASSERT_EQ(full.engine.Step(), -1);
        full.ExpectVerified();
        total = full.trace.lines.size();
        ASSERT_GE(total, 4u);
    }
    SteppingClock::step = 10;  // one move a step
    for (std::size_t moves = 1; moves < total; ++moves) {
        SearchRun t(words, 2, 2, grid);
        t.engine.readClock = &SteppingClock::Read;
        ASSERT_EQ(t.engine.Start(), 3);
        for (std::size_t i = 0; i < moves; ++i) ASSERT_EQ(t.engine.Step(), 1);
        t.engine.Revert();
        EXPECT_EQ(GridText(t.engine), grid) << moves;
        EXPECT_EQ(t.engine.current, 0);
        for (int i = 0; i < 4; ++i) EXPECT_EQ(t.engine.slots[i].placed, 0) << moves << " " << i;
    }
}

TEST(FillSearch, revert_thenRestart_fillsAgain) {
    SearchRun t({"AB", "AC", "BD", "CE", "AF", "FA", "BA"}, 2, 2, kOpen2x2);
    SteppingClock::step = 10;
    t.engine.readClock = &SteppingClock::Read;
    ASSERT_EQ(t.engine.Start(), 3);
    for (int i = 0; i < 5; ++i) ASSERT_EQ(t.engine.Step(), 1);  // up to the back-jump
    EXPECT_EQ(t.trace.lines.back(), "2 - back-jump 1");
    t.engine.Revert();
    EXPECT_EQ(GridText(t.engine), kOpen2x2);
    EXPECT_EQ(t.engine.current, 0);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(t.engine.slots[i].placed, 0);

    t.trace.lines.clear();
    ASSERT_EQ(t.engine.Start(), 3);
    EXPECT_EQ(RunToEnd(t.engine), -1);
    EXPECT_EQ(GridText(t.engine), "AFBA");
    t.ExpectVerified();
}

TEST(FillSearch, rememberedLastWordNoLongerFitting_searchesAgainFromTheFirst) {
    // The entry remembers DOG, the last word of its length, and its search
    // starts at DOG; its pattern now only fits CAT. Finding nothing past DOG
    // reports DOG's index, which must not pass for the remembered word.
    SearchRun t({"CAT", "DOG"}, 2, 3, "@@@!!!");
    ASSERT_EQ(t.engine.Start(), 1);
    std::strcpy(t.engine.slots[0].letters, "CA@");
    t.engine.slots[0].memoryIndex = 2;
    t.store.SetCursor(3, 1);
    EXPECT_EQ(t.engine.Step(), -1);
    EXPECT_EQ(t.trace.lines, (Lines{"0 CAT filled"}));
    t.ExpectVerified();
}

TEST(FillSearch, stepWithoutAPeriodSet_backJumpsPlainly) {
    // A fresh engine has a back-jump period of 0: no forced deeper jumps (and
    // no division by it).
    WordStore store;
    AddWords(store, {"AB", "AC", "BD", "CE", "AF", "FA", "BA"});
    FillEngine engine(&store);
    RecordingTrace trace;
    engine.trace = &trace;
    ASSERT_EQ(engine.backJumpPeriod, 0);
    engine.LoadGrid(2, 2, "@@@@");
    ASSERT_EQ(engine.Start(), 3);
    EXPECT_EQ(RunToEnd(engine), -1);
    EXPECT_EQ(trace.lines[4], "2 - back-jump 1");
    EXPECT_EQ(GridText(engine), "AFBA");
    const FillCheckResult check = VerifyFill(engine, "@@@@", store);
    EXPECT_TRUE(check.ok()) << Problems(check);
}

// Counts the kinds of moves of a long run.
struct MoveCounts : StepTrace {
    int moves = 0, backJumps = 0, deepJumps = 0, rejections = 0;
    void Line(const std::string& line) override {
        ++moves;
        if (line.find("back-jump") != std::string::npos) ++backJumps;
        if (line.find("deep-jump") != std::string::npos) ++deepJumps;
        if (line.find("reject") != std::string::npos) ++rejections;
    }
};

// A 5 x 5 open grid over 1500 random words of a 10-letter alphabet: enough
// choice for thousands of moves, back-jumps and, with a short period, deep
// jumps, in every mode's parameters.
TEST(FillSearch, fiveByFive_randomList_fillsVerifiedInEveryMode) {
    Random::Seed(1);
    std::vector<std::string> words;
    for (int i = 0; i < 1500; ++i) {
        std::string w;
        for (int k = 0; k < 5; ++k) w += static_cast<char>('A' + Random::Next() % 10);
        words.push_back(w);
    }
    for (int mode : {1, 2, 3, 4, 0}) {
        SearchRun t(words, 5, 5, std::string(25, '@'));
        ApplyModeParameters(t.engine, mode);  // 0: the fallback row, period 50
        MoveCounts counts;
        t.engine.trace = &counts;
        ASSERT_EQ(t.engine.Start(), 9);
        EXPECT_EQ(RunToEnd(t.engine, 30), -1) << "mode " << mode;
        t.ExpectVerified();
        EXPECT_EQ(WordsInUse(t.store), 0);
        EXPECT_GT(counts.backJumps, 10) << "mode " << mode;
        if (mode == 4) {
            EXPECT_EQ(counts.deepJumps, 0);
        }
        if (mode == 0) {
            EXPECT_GT(counts.deepJumps, 0);
        }
    }
}

}  // namespace
}  // namespace korvo
