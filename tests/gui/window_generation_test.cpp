// Filling the grid from the window: Start, the polling timer, Stop, the
// message of every outcome and what the window shows afterwards.
#include <QAction>
#include <QTest>

#include <gtest/gtest.h>

#include <fstream>
#include <random>

#include "document/command_table.h"
#include "model/cw_data.h"
#include "model/generation_status.h"
#include "window_fixture.h"

namespace {

using namespace korvo;
using korvo::guitest::CentreGrid;
using korvo::guitest::WindowFixture;

// Six different words that fill the middle 3 x 3 squares:
// rows CAT ORE WET, columns COW ARE TET.
const std::vector<std::string> kSquareWords = {"CAT", "ORE", "WET", "COW", "ARE", "TET"};

TEST(WindowGeneration, wholeFill_reportsSuccessAndSwitchesToThePuzzleView) {
    WindowFixture w(kSquareWords);
    ASSERT_TRUE(w.Start());
    w.LoadGrid(CentreGrid());
    ASSERT_TRUE(w.Frame()->Action(cmd::kStartGenerating)->isEnabled());

    w.Command(cmd::kStartGenerating);
    // The run is active at once (the worker may even have finished this
    // small fill already): a second Start does nothing.
    EXPECT_TRUE(w.View()->GenerationTimer().isActive());
    EXPECT_FALSE(w.Frame()->Action(cmd::kStartGenerating)->isEnabled());
    w.View()->OnStartGenerating();

    ASSERT_TRUE(w.WaitForRunEnd());
    EXPECT_EQ(w.Puzzle()->GetStatus(), StatusFilled);
    ASSERT_EQ(w.host.messages.size(), 1u);
    EXPECT_EQ(w.host.messages[0].text, u"Crossword Successfully Generated");
    EXPECT_EQ(w.host.messages[0].icon, MessageIcon::Information);
    EXPECT_EQ(w.host.messages[0].buttons, MessageButtons::Ok);
    EXPECT_TRUE(w.Doc()->IsModified());
    EXPECT_FALSE(w.Doc()->gridViewShown);
    EXPECT_EQ(w.View()->layoutState, -1);

    // The only fills: rows CAT ORE WET or, transposed, COW ARE TET.
    const std::u16string grid = w.Puzzle()->GetGridText();
    const std::u16string rows = grid.substr(3 * 9 + 3, 3) + grid.substr(4 * 9 + 3, 3) + grid.substr(5 * 9 + 3, 3);
    EXPECT_TRUE(rows == u"CATOREWET" || rows == u"COWARETET");
    EXPECT_EQ(std::count(grid.begin(), grid.end(), u'!'), 81 - 9);
    EXPECT_EQ(w.Puzzle()->clues.size(), 6u);

    // The commands of a filled puzzle.
    w.Frame()->UpdateCommandStates();
    for (int id : {cmd::kStartGenerating, cmd::kStopGenerating, cmd::kOptions, cmd::kClearGrid})
        EXPECT_FALSE(w.Frame()->Action(id)->isEnabled()) << id;
    for (int id : {cmd::kFileSave, cmd::kFileSaveAs, cmd::kClues, cmd::kToggleView, cmd::kSavePuzzleAsText})
        EXPECT_TRUE(w.Frame()->Action(id)->isEnabled()) << id;
}

TEST(WindowGeneration, thoroughMode_fillsOrShowsWhyNoFillExists) {
    {
        WindowFixture w(kSquareWords);
        ASSERT_TRUE(w.Start());
        w.Doc()->SetGeneratorOptions(kThoroughMode, 1);
        w.LoadGrid(CentreGrid());
        w.Command(cmd::kStartGenerating);
        ASSERT_TRUE(w.WaitForRunEnd());
        EXPECT_EQ(w.Puzzle()->GetStatus(), StatusFilled);
        ASSERT_EQ(w.host.messages.size(), 1u);
        EXPECT_EQ(w.host.messages[0].text, u"Crossword Successfully Generated");
        EXPECT_EQ(w.Puzzle()->clues.size(), 6u);
        const RunProgress progress = w.Puzzle()->GetProgress();
        EXPECT_FALSE(progress.running);
        EXPECT_EQ(progress.filledNow, 6);
        EXPECT_EQ(progress.total, 6);
    }
    // No two of ABC, DEF, GHI cross: the proof names two crossing entries
    // and the grid view marks their squares.
    WindowFixture w({"ABC", "DEF", "GHI"});
    ASSERT_TRUE(w.Start());
    w.Doc()->SetGeneratorOptions(kThoroughMode, 1);
    w.LoadGrid(CentreGrid());
    w.Command(cmd::kStartGenerating);
    ASSERT_TRUE(w.WaitForRunEnd());
    EXPECT_EQ(w.Puzzle()->GetStatus(), StatusExhausted);
    ASSERT_EQ(w.host.messages.size(), 1u);
    const std::u16string text = w.host.messages[0].text;
    const std::u16string head =
        u"Crossword Failed To Generated:\n\nNo fill exists for this grid with the English - United States list: ";
    EXPECT_EQ(text.substr(0, head.size()), head);
    EXPECT_EQ(text.substr(text.size() - 23), u" cannot both be filled.");
    EXPECT_EQ(w.host.messages[0].icon, MessageIcon::Error);
    const std::u16string grid = w.Puzzle()->GetGridText();
    EXPECT_EQ(std::count(grid.begin(), grid.end(), u'?'), 5) << "two crossing entries of three squares";
    EXPECT_FALSE(w.Doc()->IsModified());
}

// A 15 x 15 open grid and many random 15-letter words: every entry has
// candidates, but the search runs far longer than one slice.
std::vector<std::string> LongSearchWords() {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> letter(0, 25);
    std::vector<std::string> words;
    for (int i = 0; i < 3000; ++i) {
        std::string word;
        for (int k = 0; k < 15; ++k) word += static_cast<char>('A' + letter(random));
        words.push_back(word);
    }
    return words;
}

TEST(WindowGeneration, stop_revertsSilentlyToTheDesigner) {
    WindowFixture w(LongSearchWords(), 15);
    ASSERT_TRUE(w.Start());
    w.Command(cmd::kClearGrid);
    const std::u16string before = w.Puzzle()->GetGridText();
    ASSERT_EQ(before, std::u16string(225, u'@'));

    w.Command(cmd::kStartGenerating);
    w.Command(cmd::kStopGenerating);
    const int status = w.Puzzle()->GetStatus();
    EXPECT_TRUE(status == StatusReverting || status == StatusGenerating) << status;
    // While it stops, neither Start nor Stop can be chosen.
    w.Frame()->UpdateCommandStates();
    if (w.Puzzle()->GetStatus() == StatusReverting) {
        EXPECT_FALSE(w.Frame()->Action(cmd::kStartGenerating)->isEnabled());
        EXPECT_FALSE(w.Frame()->Action(cmd::kStopGenerating)->isEnabled());
        EXPECT_FALSE(w.Frame()->Action(cmd::kFileNew)->isEnabled());
    }

    ASSERT_TRUE(w.WaitForRunEnd());
    EXPECT_EQ(w.Puzzle()->GetStatus(), StatusDesigning);
    EXPECT_TRUE(w.host.messages.empty());
    EXPECT_EQ(w.Puzzle()->GetGridText(), before);
    EXPECT_TRUE(w.Doc()->gridViewShown);
    EXPECT_FALSE(w.Doc()->IsModified());
    w.Frame()->UpdateCommandStates();
    EXPECT_TRUE(w.Frame()->Action(cmd::kStartGenerating)->isEnabled());
}

TEST(WindowGeneration, closingDuringAFill_stopsWaitsAndCloses) {
    WindowFixture w(LongSearchWords(), 15);
    ASSERT_TRUE(w.Start());
    w.Command(cmd::kClearGrid);
    w.Command(cmd::kStartGenerating);
    ASSERT_TRUE(w.Puzzle()->IsWorkerActive());

    w.Frame()->close();
    // The window stays open and responsive while the worker finishes.
    EXPECT_TRUE(w.Frame()->isVisible());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !w.Frame()->isVisible(); }, 30000));
    EXPECT_FALSE(w.Puzzle()->IsWorkerActive());
    EXPECT_TRUE(std::filesystem::exists(w.environment.dataFolder / "pdata.bin"));
    EXPECT_TRUE(w.host.messages.empty());
    EXPECT_EQ(w.host.waitDepth, 0);
}

struct FailureCase {
    const char* name;
    std::vector<std::string> words;
    std::string middle;  // the middle 3 x 3 squares; empty: every square a block
    int mode;
    int status;
    std::u16string message;
};

class WindowFailure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(WindowFailure, reportsItsMessageWithTheErrorIcon) {
    const FailureCase& c = GetParam();
    WindowFixture w(c.words);
    ASSERT_TRUE(w.Start());
    if (c.mode != 1) w.Doc()->SetGeneratorOptions(c.mode, 1);
    w.LoadGrid(c.middle.empty() ? std::string(81, '!') : CentreGrid(c.middle));

    w.Command(cmd::kStartGenerating);
    ASSERT_TRUE(w.WaitForRunEnd());
    EXPECT_EQ(w.Puzzle()->GetStatus(), c.status);
    ASSERT_EQ(w.host.messages.size(), 1u);
    EXPECT_EQ(w.host.messages[0].text, c.message);
    EXPECT_EQ(w.host.messages[0].icon, MessageIcon::Error);
    EXPECT_FALSE(w.Doc()->IsModified());
    EXPECT_TRUE(w.Doc()->gridViewShown);
    // A failed run can be started again; nothing can be saved.
    w.Frame()->UpdateCommandStates();
    EXPECT_TRUE(w.Frame()->Action(cmd::kStartGenerating)->isEnabled());
    EXPECT_FALSE(w.Frame()->Action(cmd::kFileSave)->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, WindowFailure,
    ::testing::Values(
        FailureCase{"noWordForAnEntry",
                    {"AB", "CD"},
                    "@@@@@@@@@",
                    1,
                    StatusNoStart,
                    u"Crossword Failed To Generated:\n\nCannot find words for '?' areas of the grid."},
        FailureCase{"notAGrid",
                    {"CAT", "ORE"},
                    "",
                    1,
                    StatusNoStart,
                    u"Crossword Failed To Generated:\n\nNot a valid crossword grid."},
        FailureCase{"duplicateUserWords", kSquareWords, "CATORECAT", 1, StatusDuplicates,
                    u"Crossword Failed To Generated:\n\nDuplicate user-placed words."},
        FailureCase{"exhaustedInTheStrongestMode",
                    {"ABC", "DEF", "GHI"},
                    "@@@@@@@@@",
                    4,
                    StatusExhausted,
                    u"Crossword Failed To Generated:\n\nEnd of word list reached. Please make a\nchange to the grid "
                    u"before retrying."},
        FailureCase{"exhaustedInAWeakerMode",
                    {"ABC", "DEF", "GHI"},
                    "@@@@@@@@@",
                    3,
                    StatusExhausted,
                    u"Crossword Failed To Generated:\n\nEnd of word list reached. Please select a stronger\n"
                    u"Generating Mode before retrying."},
        FailureCase{"exhaustedInTheFirstMode",
                    {"ABC", "DEF", "GHI"},
                    "@@@@@@@@@",
                    1,
                    StatusExhausted,
                    u"Crossword Failed To Generated:\n\nEnd of word list reached. Please select a stronger\n"
                    u"Generating Mode before retrying."}),
    [](const ::testing::TestParamInfo<FailureCase>& tested) { return std::string(tested.param.name); });

}  // namespace

namespace {

// Every way of leaving the puzzle, tried between the worker's end and the
// timer's report of it.
struct LeaveCase {
    const char* name;
    void (*leave)(WindowFixture& w, const std::filesystem::path& other);
};

class UnreportedFill : public ::testing::TestWithParam<LeaveCase> {};

TEST_P(UnreportedFill, asksToSaveBeforeThePuzzleGoes) {
    WindowFixture w(kSquareWords);
    ASSERT_TRUE(w.Start());
    // The report would come only much later: the fill is done, the window
    // has not said so yet.
    w.View()->SetGenerationTimerPeriod(600000);
    w.LoadGrid(CentreGrid());
    w.Command(cmd::kStartGenerating);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w.Puzzle()->IsWorkerActive(); }, 30000));
    ASSERT_EQ(w.Puzzle()->GetStatus(), StatusFilled);
    ASSERT_TRUE(w.View()->GenerationTimer().isActive());
    EXPECT_TRUE(w.Doc()->IsModified());

    const std::filesystem::path other = w.temp.path() / "other.kvz";
    std::ofstream(other, std::ios::binary) << "not a puzzle";
    w.host.messageAnswers.push_back(MessageResult::Cancel);
    w.host.openAnswers.push_back(other);
    const CCWData* filled = w.Puzzle();
    GetParam().leave(w, other);

    ASSERT_FALSE(w.host.messages.empty());
    EXPECT_EQ(w.host.messages[0].text, u"Save changes to Untitled?");
    EXPECT_EQ(w.host.messages[0].buttons, MessageButtons::YesNoCancel);
    // Cancel keeps the fill.
    EXPECT_EQ(w.Puzzle(), filled);
    EXPECT_EQ(w.Puzzle()->GetStatus(), StatusFilled);
    EXPECT_TRUE(w.Frame()->isVisible());
}

INSTANTIATE_TEST_SUITE_P(
    Leaving, UnreportedFill,
    ::testing::Values(LeaveCase{"newPuzzle", [](WindowFixture& w, const auto&) { w.Command(cmd::kFileNew); }},
                      LeaveCase{"openFile", [](WindowFixture& w, const auto&) { w.Command(cmd::kFileOpen); }},
                      LeaveCase{"droppedFile",
                                [](WindowFixture& w, const auto& other) { w.app->OpenDocumentFile(other); }},
                      LeaveCase{"exit", [](WindowFixture& w, const auto&) { w.Command(cmd::kAppExit); }},
                      LeaveCase{"closeWindow", [](WindowFixture& w, const auto&) { w.Frame()->close(); }}),
    [](const ::testing::TestParamInfo<LeaveCase>& tested) { return std::string(tested.param.name); });

TEST(UnreportedFillSaved, staysSavedWhenTheReportComesLater) {
    WindowFixture w(kSquareWords);
    ASSERT_TRUE(w.Start());
    w.View()->SetGenerationTimerPeriod(600000);
    w.LoadGrid(CentreGrid());
    w.Command(cmd::kStartGenerating);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w.Puzzle()->IsWorkerActive(); }, 30000));

    w.host.saveAnswers.push_back(SaveDialogResult{w.temp.path() / "saved.kvz", 0});
    w.Command(cmd::kFileSave);
    ASSERT_TRUE(std::filesystem::exists(w.temp.path() / "saved.kvz"));
    EXPECT_FALSE(w.Doc()->IsModified());
    // The report of the run still comes, but the saved fill is no change.
    w.View()->OnTimer();
    EXPECT_EQ(w.host.MessageTexts().back(), u"Crossword Successfully Generated");
    EXPECT_FALSE(w.Doc()->IsModified());
}

}  // namespace

namespace {

// Records the generation status the view's picture was painted in.
class PaintedStatus : public QObject {
public:
    explicit PaintedStatus(WindowFixture& w) : w_(w) { w.View()->viewport()->installEventFilter(this); }
    int last = 0;
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            last = w_.Puzzle()->GetStatus();
            ++paints;
        }
        return false;
    }

private:
    WindowFixture& w_;
};

TEST(WindowGeneration, bannerShowsTheEndedRunBeforeTheReport) {
    WindowFixture w(LongSearchWords(), 15);
    ASSERT_TRUE(w.Start());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.Frame()));
    w.View()->SetGenerationTimerPeriod(600000);
    w.Command(cmd::kClearGrid);
    PaintedStatus painted(w);
    w.Command(cmd::kStartGenerating);
    w.Command(cmd::kStopGenerating);
    w.View()->viewport()->repaint();
    ASSERT_GT(painted.paints, 0);

    ASSERT_TRUE(QTest::qWaitFor([&] { return !w.Puzzle()->IsWorkerActive(); }, 30000));
    ASSERT_EQ(w.Puzzle()->GetStatus(), StatusDesigning);
    // Well before the report, the banner has been painted for the end.
    EXPECT_TRUE(QTest::qWaitFor([&] { return painted.last == StatusDesigning; }, 1000));
    EXPECT_TRUE(w.View()->GenerationTimer().isActive());
    EXPECT_TRUE(w.host.messages.empty());
}

}  // namespace
