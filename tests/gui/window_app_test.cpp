// The application wiring: command states from the document through the
// frame, the file commands with the save prompt, damaged files from every
// path, and the commands routed to the document.
#include <QAction>
#include <QDropEvent>
#include <QMimeData>
#include <QRadioButton>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

#include <fstream>

#include "document/command_table.h"
#include "generator_settings_dialog.h"
#include "modal_answer.h"
#include "model/generation_status.h"
#include "window_fixture.h"

namespace {

using namespace korvo;
using korvo::guitest::CentreGrid;
using korvo::guitest::WindowFixture;

const std::vector<std::string> kSquareWords = {"CAT", "ORE", "WET", "COW", "ARE", "TET"};

// Fills the middle of a 9 x 9 grid from the window.
void FillFromTheWindow(WindowFixture& w) {
    w.LoadGrid(CentreGrid());
    w.Command(cmd::kStartGenerating);
    ASSERT_TRUE(w.WaitForRunEnd());
    ASSERT_EQ(w.Puzzle()->GetStatus(), StatusFilled);
    w.host.messages.clear();
}

std::filesystem::path WriteBytes(const std::filesystem::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
    return file;
}

TEST(WindowApp, startsWithANewPuzzleOfTheNextSize) {
    WindowFixture w(kSquareWords);
    ASSERT_TRUE(w.Start());
    EXPECT_EQ(w.Frame()->windowTitle(), QStringLiteral("Untitled - Tolvane! Rodirirov Ivozova"));
    EXPECT_TRUE(w.Frame()->isVisible());
    EXPECT_EQ(w.Frame()->centralWidget(), w.View());
    ASSERT_NE(w.Puzzle(), nullptr);
    EXPECT_EQ(w.Puzzle()->gridSize, 9);
    EXPECT_EQ(w.Puzzle()->GetStatus(), StatusDesigning);
    EXPECT_FALSE(w.Doc()->IsModified());
}

struct StateCase {
    int status;
    bool gridView;
    std::vector<int> enabled;
    std::vector<int> disabled;
};

TEST(WindowApp, commandStatesFollowTheDocument) {
    WindowFixture w(kSquareWords);
    ASSERT_TRUE(w.Start());
    const StateCase cases[] = {
        {StatusDesigning,
         true,
         {cmd::kStartGenerating, cmd::kOptions, cmd::kClearGrid, cmd::kFileNew, cmd::kFileOpen, cmd::kGridColor},
         {cmd::kStopGenerating, cmd::kFileSave, cmd::kToggleView, cmd::kTitle, cmd::kClues}},
        {StatusGenerating,
         true,
         {cmd::kStopGenerating, cmd::kGridSize9, cmd::kGridSize21, cmd::kFilePrint, cmd::kAppAbout},
         {cmd::kStartGenerating, cmd::kOptions, cmd::kClearGrid, cmd::kFileNew, cmd::kFileOpen, cmd::kGridFont,
          cmd::kGridColor, cmd::kFileSave, cmd::kFileSaveAs, cmd::kSavePuzzleAsText, cmd::kLoadSolution, cmd::kClues,
          cmd::kToggleView}},
        {StatusReverting,
         true,
         {cmd::kGridSize15},
         {cmd::kStartGenerating, cmd::kStopGenerating, cmd::kFileNew, cmd::kFileOpen}},
        {StatusFilled,
         false,
         {cmd::kFileSave, cmd::kToggleView, cmd::kTitle, cmd::kTitleFont, cmd::kUnderlinedTitle, cmd::kPageLayout},
         {cmd::kStartGenerating, cmd::kOptions, cmd::kClearGrid}},
        {StatusFilled,
         true,
         {cmd::kFileSave, cmd::kToggleView, cmd::kClues},
         {cmd::kTitle, cmd::kAnswerTitle, cmd::kCopyright, cmd::kAuthor, cmd::kTitleColor, cmd::kPageLayout}},
        {StatusExhausted, true, {cmd::kStartGenerating}, {cmd::kFileSave}},
    };
    for (const StateCase& c : cases) {
        w.Puzzle()->SetStatus(c.status);
        w.Doc()->gridViewShown = c.gridView;
        w.Frame()->UpdateCommandStates();
        for (int id : c.enabled) EXPECT_TRUE(w.Frame()->Action(id)->isEnabled()) << c.status << " " << id;
        for (int id : c.disabled) EXPECT_FALSE(w.Frame()->Action(id)->isEnabled()) << c.status << " " << id;
    }
    w.Puzzle()->SetStatus(StatusDesigning);
    w.Doc()->gridViewShown = true;

    // Check marks: the grid size of the next puzzle and the underline flag.
    w.Command(cmd::kGridSize21);
    EXPECT_EQ(w.Doc()->newGridSize, 21);
    EXPECT_EQ(w.Puzzle()->gridSize, 9);
    EXPECT_TRUE(w.Frame()->Action(cmd::kGridSize21)->isChecked());
    EXPECT_FALSE(w.Frame()->Action(cmd::kGridSize9)->isChecked());
    EXPECT_TRUE(w.Frame()->Action(cmd::kUnderlinedTitle)->isChecked());
}

TEST(WindowApp, saveOpenAndThePromptOfAModifiedPuzzle) {
    WindowFixture w(kSquareWords);
    ASSERT_TRUE(w.Start());
    FillFromTheWindow(w);
    ASSERT_TRUE(w.Doc()->IsModified());
    const std::u16string filledGrid = w.Puzzle()->GetGridText();

    // New asks first; Cancel keeps everything.
    CCWData* filled = w.Puzzle();
    w.host.messageAnswers.push_back(MessageResult::Cancel);
    w.Command(cmd::kFileNew);
    ASSERT_EQ(w.host.messages.size(), 1u);
    EXPECT_EQ(w.host.messages[0].text, u"Save changes to Untitled?");
    EXPECT_EQ(w.host.messages[0].buttons, MessageButtons::YesNoCancel);
    EXPECT_EQ(w.Puzzle(), filled);
    EXPECT_EQ(w.host.waitDepth, 0);

    // Save As with the puzzle file type; the name gets the caption.
    const std::filesystem::path file = w.temp.path() / "first.kvz";
    w.host.saveAnswers.push_back(SaveDialogResult{file, 0});
    w.Command(cmd::kFileSaveAs);
    ASSERT_FALSE(w.host.fileDialogs.empty());
    const testsupport::RecordedFileDialog& save = w.host.fileDialogs.back();
    EXPECT_TRUE(save.save);
    ASSERT_EQ(save.filters.size(), 1u);
    EXPECT_EQ(save.filters[0].name, u"Crossword Files (*.kvz)");
    EXPECT_EQ(save.filters[0].pattern, u"*.kvz");
    EXPECT_EQ(save.defaultExtension, std::optional<std::u16string>(u"kvz"));
    EXPECT_TRUE(std::filesystem::exists(file));
    EXPECT_FALSE(w.Doc()->IsModified());
    EXPECT_EQ(w.Frame()->windowTitle(), QStringLiteral("first.kvz - Tolvane! Rodirirov Ivozova"));
    ASSERT_FALSE(w.app->RecentFiles().isEmpty());
    EXPECT_TRUE(w.app->RecentFiles().front().endsWith(QStringLiteral("first.kvz")));

    // New without changes asks nothing and makes a designer's grid.
    const std::size_t asked = w.host.messages.size();
    w.Command(cmd::kFileNew);
    EXPECT_EQ(w.host.messages.size(), asked);
    EXPECT_EQ(w.Puzzle()->GetStatus(), StatusDesigning);
    EXPECT_TRUE(w.Doc()->gridViewShown);

    // Open brings the filled puzzle back.
    w.host.openAnswers.push_back(file);
    w.Command(cmd::kFileOpen);
    EXPECT_EQ(w.Puzzle()->GetStatus(), StatusFilled);
    EXPECT_EQ(w.Puzzle()->GetGridText(), filledGrid);
    EXPECT_EQ(w.Doc()->PathName(), file);
    EXPECT_EQ(w.View()->layoutState, -1);
}

TEST(WindowApp, recentFilesKeepTheLastFour) {
    WindowFixture w(kSquareWords);
    ASSERT_TRUE(w.Start());
    FillFromTheWindow(w);
    for (int i = 0; i < 6; ++i) {
        // Appended piece by piece: GCC 12 reports a false -Wrestrict for
        // "literal" + std::string&& at -O3.
        std::string name = "p";
        name += std::to_string(i);
        name += ".kvz";
        w.host.saveAnswers.push_back(SaveDialogResult{w.temp.path() / name, 0});
        w.Command(cmd::kFileSaveAs);
    }
    const QStringList recent = w.app->RecentFiles();
    ASSERT_EQ(recent.size(), CkorvoApp::kRecentFileCount);
    EXPECT_TRUE(recent[0].endsWith(QStringLiteral("p5.kvz")));
    EXPECT_TRUE(recent[3].endsWith(QStringLiteral("p2.kvz")));
}

TEST(WindowApp, damagedFile_showsTheMessageAndKeepsThePuzzle) {
    WindowFixture w(kSquareWords);
    ASSERT_TRUE(w.Start());
    const std::filesystem::path bad = WriteBytes(w.temp.path() / "bad.kvz", "not a puzzle file at all");
    CCWData* before = w.Puzzle();
    const std::u16string grid = before->GetGridText();

    // From the menu.
    w.host.openAnswers.push_back(bad);
    w.Command(cmd::kFileOpen);
    ASSERT_EQ(w.host.messages.size(), 1u);
    EXPECT_EQ(w.host.messages[0].text, u"ERROR: Invalid Puzzle File Format.");
    EXPECT_EQ(w.Puzzle(), before);
    EXPECT_EQ(w.Puzzle()->GetGridText(), grid);
    EXPECT_TRUE(w.Doc()->PathName().empty());

    // Dropped on the window.
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(bad.string()))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w.Frame(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w.Frame(), &drop);
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.host.messages.size() == 2; }, 5000));
    EXPECT_EQ(w.host.messages.back().text, u"ERROR: Invalid Puzzle File Format.");
    EXPECT_EQ(w.Puzzle(), before);
}

TEST(WindowApp, commandLineFile_opensItOrFallsBackToANewPuzzle) {
    std::filesystem::path saved;
    {
        WindowFixture w(kSquareWords);
        ASSERT_TRUE(w.Start());
        FillFromTheWindow(w);
        saved = std::filesystem::temp_directory_path() / "korvo-window-command-line.kvz";
        ASSERT_TRUE(w.Doc()->SavePuzzleFile(saved));
    }
    {
        WindowFixture w(kSquareWords);
        ASSERT_TRUE(w.Start({QString::fromStdString(saved.string())}));
        EXPECT_EQ(w.Puzzle()->GetStatus(), StatusFilled);
        EXPECT_EQ(w.Frame()->windowTitle(),
                  QStringLiteral("korvo-window-command-line.kvz - Tolvane! Rodirirov Ivozova"));
        EXPECT_TRUE(w.host.messages.empty());
    }
    std::filesystem::remove(saved);
    {
        WindowFixture w(kSquareWords);
        const std::filesystem::path bad = WriteBytes(w.temp.path() / "bad.kvz", "CCWData but damaged");
        ASSERT_TRUE(w.Start({QString::fromStdString(bad.string())}));
        ASSERT_EQ(w.host.messages.size(), 1u);
        EXPECT_EQ(w.host.messages[0].text, u"ERROR: Invalid Puzzle File Format.");
        ASSERT_NE(w.Puzzle(), nullptr);
        EXPECT_EQ(w.Puzzle()->GetStatus(), StatusDesigning);
        EXPECT_TRUE(w.Frame()->isVisible());
    }
}

TEST(WindowApp, closingAModifiedPuzzle_asksAndCancelKeepsTheWindow) {
    WindowFixture w(kSquareWords);
    ASSERT_TRUE(w.Start());
    FillFromTheWindow(w);
    std::filesystem::remove(w.environment.dataFolder / "pdata.bin");
    w.host.messageAnswers.push_back(MessageResult::Cancel);
    EXPECT_FALSE(w.Frame()->close());
    EXPECT_TRUE(w.Frame()->isVisible());
    EXPECT_FALSE(std::filesystem::exists(w.environment.dataFolder / "pdata.bin"));

    w.host.messageAnswers.push_back(MessageResult::No);
    EXPECT_TRUE(w.Frame()->close());
    EXPECT_EQ(w.host.messages.size(), 2u);
    EXPECT_EQ(w.host.messages[1].text, u"Save changes to Untitled?");
    // Closing writes the settings.
    EXPECT_TRUE(std::filesystem::exists(w.environment.dataFolder / "pdata.bin"));
}

TEST(WindowApp, optionsDialog_appliesTheChoiceOnOk) {
    WindowFixture w(kSquareWords);
    ASSERT_TRUE(w.Start());
    // The word list of the UK variant must exist once it is chosen.
    guitest::WriteWordList(w.environment.programFolder / "data2.bin", kSquareWords);

    AnswerNextModal<CGeneratorSettings>([](CGeneratorSettings* dialog) { dialog->reject(); });
    w.Command(cmd::kOptions);
    EXPECT_EQ(w.Doc()->generatingMode, 1);
    EXPECT_EQ(w.Doc()->wordListId, 1);

    AnswerNextModal<CGeneratorSettings>([](CGeneratorSettings* dialog) {
        EXPECT_TRUE(dialog->Button(1002)->isChecked());
        dialog->Button(1005)->click();
        dialog->Button(1007)->click();
        dialog->accept();
    });
    w.Command(cmd::kOptions);
    EXPECT_EQ(w.Doc()->generatingMode, 4);
    EXPECT_EQ(w.Doc()->wordListId, 2);
    EXPECT_EQ(w.Doc()->loadedWordListId, 2);
    EXPECT_EQ(w.Puzzle()->wordListId, 2);
}

TEST(WindowApp, leftClickTogglesABlockPairInTheDesigner) {
    WindowFixture w(kSquareWords);
    ASSERT_TRUE(w.Start());
    w.Command(cmd::kClearGrid);
    w.View()->resize(600, 600);
    w.View()->viewport()->grab();
    const RECT cell = w.View()->cellRects[0][1];
    ASSERT_GT(cell.right, cell.left);
    QTest::mouseClick(w.View()->viewport(), Qt::LeftButton, Qt::NoModifier,
                      QPoint((cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2));
    const std::u16string grid = w.Puzzle()->GetGridText();
    EXPECT_EQ(grid[1], u'!');
    EXPECT_EQ(grid[80 - 1], u'!');  // its partner under the half-turn
    EXPECT_EQ(std::count(grid.begin(), grid.end(), u'!'), 2);
    EXPECT_FALSE(w.Doc()->IsModified());

    // While a puzzle is filled, the click does not edit the grid.
    w.Puzzle()->SetStatus(StatusFilled);
    QTest::mouseClick(w.View()->viewport(), Qt::LeftButton, Qt::NoModifier,
                      QPoint((cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2));
    EXPECT_EQ(w.Puzzle()->GetGridText(), grid);
    w.Puzzle()->SetStatus(StatusDesigning);
}

}  // namespace
