// Mouse editing in the window: real clicks on the view's recorded squares,
// clues and page texts in every generation status, the grid's context menu
// and its three commands, and the scroll arithmetic of touch pans.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "clue_manager_dialog.h"
#include "document/command_table.h"
#include "model/generation_status.h"
#include "title_dialog.h"
#include "window_fixture.h"

namespace {

using namespace korvo;
using korvo::guitest::CentreGrid;
using korvo::guitest::WindowFixture;

const std::vector<std::string> kSquareWords = {"CAT", "ORE", "WET", "COW", "ARE", "TET"};

QPoint Centre(const RECT& r) { return QPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2); }

// Answers every modal dialog of type T shown while it lives and counts them.
// Any other modal widget left open is closed after a few seconds, so a
// failing test cannot hang.
template <typename T>
class ModalAnswers {
public:
    explicit ModalAnswers(std::function<void(T*)> answer) : answer_(std::move(answer)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* dialog = qobject_cast<T*>(modal)) {
                ++shown;
                answer_(dialog);
                if (dialog->isVisible()) QMetaObject::invokeMethod(dialog, "reject", Qt::QueuedConnection);
                others_ = 0;
            } else if (modal != nullptr && ++others_ > 300) {
                modal->close();
                others_ = 0;
            }
        });
        timer_.start(10);
    }

    int shown = 0;  // dialogs of type T answered so far

private:
    std::function<void(T*)> answer_;
    QTimer timer_;
    int others_ = 0;
};

// Presses a dialog button box's OK or Cancel.
void Press(QDialog* dialog, bool ok) {
    auto* buttons = dialog->findChild<QDialogButtonBox*>();
    ASSERT_NE(buttons, nullptr);
    buttons->button(ok ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel)->click();
}

class ViewClicks : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(w.Start());
        w.Frame()->resize(1000, 1200);
        w.View()->resize(900, 1100);
    }

    // Paints the view so that the hit areas are recorded.
    void Paint() { w.View()->viewport()->grab(); }

    void Click(Qt::MouseButton button, QPoint at) {
        QTest::mouseClick(w.View()->viewport(), button, Qt::NoModifier, at);
    }
    void ClickSquare(Qt::MouseButton button, int row, int column) {
        const RECT& cell = w.View()->cellRects[row][column];
        ASSERT_GT(cell.right, cell.left) << row << "," << column;
        Click(button, Centre(cell));
    }

    // Loads a designer's grid and paints it.
    void Design(const std::string& grid) {
        w.LoadGrid(grid);
        Paint();
    }

    // Fills the middle of a 9 x 9 grid; the window then shows the puzzle view.
    void Fill() {
        w.LoadGrid(CentreGrid());
        w.Command(cmd::kStartGenerating);
        ASSERT_TRUE(w.WaitForRunEnd());
        ASSERT_EQ(w.Puzzle()->GetStatus(), StatusFilled);
        ASSERT_FALSE(w.Doc()->gridViewShown);
        w.host.messages.clear();
        Paint();
    }

    // The open context menu's items as text and enabled flag.
    std::vector<std::pair<QString, bool>> MenuItems() const {
        std::vector<std::pair<QString, bool>> items;
        if (QMenu* menu = w.View()->ContextMenu()) {
            for (QAction* action : menu->actions()) items.emplace_back(action->text(), action->isEnabled());
        }
        return items;
    }

    // Closes the open context menu and waits until it is gone.
    void CloseMenu() {
        if (QMenu* menu = w.View()->ContextMenu()) menu->close();
        ASSERT_TRUE(QTest::qWaitFor([this] { return w.View()->ContextMenu() == nullptr; }, 5000));
    }

    // Chooses an item of the open context menu.
    void Choose(int index) {
        QMenu* menu = w.View()->ContextMenu();
        ASSERT_NE(menu, nullptr);
        ASSERT_LT(index, menu->actions().size());
        QAction* action = menu->actions()[index];
        menu->close();
        action->trigger();
    }

    WindowFixture w{kSquareWords};
};

TEST_F(ViewClicks, hitTests_followTheHalfOpenRectangleRule) {
    const RECT r{10, 20, 30, 40};
    const struct {
        QPoint point;
        bool inside;
    } cases[] = {
        {{10, 20}, true}, {{29, 39}, true}, {{30, 25}, false}, {{15, 40}, false}, {{9, 25}, false}, {{15, 19}, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CkorvoView::PtInRect(r, c.point), c.inside) << c.point.x() << "," << c.point.y();

    // A point on the edge between two squares belongs to the one right of it.
    Design(CentreGrid());
    const RECT& right = w.View()->cellRects[2][5];
    int row = -1, column = -1;
    ASSERT_TRUE(w.View()->HitTestCell(QPoint(right.left, right.top + 1), row, column));
    EXPECT_EQ(row, 2);
    EXPECT_EQ(column, 5);
    EXPECT_FALSE(w.View()->HitTestCell(QPoint(w.View()->gridRect.right, w.View()->gridRect.top + 1), row, column));
}

TEST_F(ViewClicks, leftClickInEachDesignerState_togglesTheBlockPair) {
    for (int status : {StatusDesigning, StatusExhausted, StatusNoStart, StatusDuplicates}) {
        SCOPED_TRACE(status);
        w.Puzzle()->SetStatus(StatusDesigning);
        w.Command(cmd::kClearGrid);
        w.Puzzle()->SetStatus(status);
        Paint();
        w.View()->layoutState = 1;
        ClickSquare(Qt::LeftButton, 0, 1);
        const std::u16string grid = w.Puzzle()->GetGridText();
        EXPECT_EQ(grid[1], u'!');
        EXPECT_EQ(grid[79], u'!');  // its partner under the half-turn
        EXPECT_EQ(std::count(grid.begin(), grid.end(), u'!'), 2);
        EXPECT_EQ(w.View()->layoutState, -1);
        EXPECT_FALSE(w.Doc()->IsModified());
    }
}

TEST_F(ViewClicks, clicksWhileReverting_areIgnored) {
    Design(CentreGrid("A@E@!@@@@"));
    const std::u16string grid = w.Puzzle()->GetGridText();
    w.View()->menuRow = 4;
    w.View()->menuCol = 3;
    w.Puzzle()->SetStatus(StatusReverting);
    ClickSquare(Qt::LeftButton, 3, 4);
    ClickSquare(Qt::RightButton, 3, 4);
    EXPECT_EQ(w.Puzzle()->GetGridText(), grid);
    EXPECT_EQ(w.View()->ContextMenu(), nullptr);
    EXPECT_EQ(w.Puzzle()->removalPending, 0);
    // Not even the remembered square of the last menu is touched.
    EXPECT_EQ(w.View()->menuRow, 4);
    EXPECT_EQ(w.View()->menuCol, 3);
    w.Puzzle()->SetStatus(StatusDesigning);
}

TEST_F(ViewClicks, clickDuringGeneration_handsTheRunAsShownToTheWorker) {
    // Row 3: A, empty, E; row 4: one open square under the empty one.
    Design(CentreGrid("A@E!@!!!!"));
    const struct {
        Qt::MouseButton button;
        int row, column;
        const char* handed;  // nullptr: no request
    } cases[] = {
        {Qt::LeftButton, 3, 4, "A@E"}, {Qt::RightButton, 3, 4, "@@"},
        {Qt::RightButton, 3, 3, "A"},                                    // a one-square run is handed over too
        {Qt::LeftButton, 4, 4, "@"},   {Qt::LeftButton, 4, 3, nullptr},  // a block
    };
    w.Puzzle()->SetStatus(StatusGenerating);
    const std::u16string grid = w.Puzzle()->GetGridText();
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.row) + "," + std::to_string(c.column));
        w.Puzzle()->DiscardPendingWordRemoval();
        ClickSquare(c.button, c.row, c.column);
        if (c.handed == nullptr) {
            EXPECT_EQ(w.Puzzle()->removalPending, 0);
        } else {
            EXPECT_EQ(w.Puzzle()->removalPending, 1);
            EXPECT_STREQ(w.Puzzle()->removalWord, c.handed);
        }
        EXPECT_EQ(w.View()->ContextMenu(), nullptr);
    }
    EXPECT_EQ(w.Puzzle()->GetGridText(), grid);

    // The clue list is not read during a run, whatever rectangles it holds.
    ClueEntry clue;
    clue.answer = u"AXE";
    clue.rect = w.View()->cellRects[3][4];
    w.Puzzle()->clues.push_back(clue);
    EXPECT_EQ(w.View()->HitTestClue(Centre(clue.rect)), nullptr);
    w.Puzzle()->DiscardPendingWordRemoval();
    w.Puzzle()->SetStatus(StatusDesigning);
}

TEST_F(ViewClicks, rightClickMenu_enablesTheWordItemsByRunLength) {
    // Column 3 and column 5 are open three squares down; column 4 is blocks.
    Design(CentreGrid("@!@@!@@!@"));
    ClickSquare(Qt::RightButton, 4, 3);
    QMenu* menu = w.View()->ContextMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->objectName(), QStringLiteral("gridContextMenu"));
    EXPECT_TRUE(menu->isVisible());
    const std::vector<std::pair<QString, bool>> expected = {{QStringLiteral("Edit Across Word"), false},
                                                            {QStringLiteral("Edit Down Word"), true},
                                                            {QStringLiteral("Toggle Circled Square"), true}};
    EXPECT_EQ(MenuItems(), expected);
    EXPECT_EQ(menu->actions()[1]->statusTip(), QStringLiteral("Add or change the Down word of the clicked on block"));
    EXPECT_EQ(w.View()->menuRow, 4);
    EXPECT_EQ(w.View()->menuCol, 3);
    CloseMenu();

    // Squares without a run of two or more: a block, a lone open square.
    const struct {
        const char* grid;
        int row, column;
    } none[] = {{"@!@@!@@!@", 4, 4}, {"!!!!@!!!!", 4, 4}};
    for (const auto& c : none) {
        SCOPED_TRACE(c.grid);
        Design(CentreGrid(c.grid));
        w.View()->menuRow = 4;
        w.View()->menuCol = 3;
        ClickSquare(Qt::RightButton, c.row, c.column);
        EXPECT_EQ(w.View()->ContextMenu(), nullptr);
        EXPECT_EQ(w.View()->CreateContextMenu(c.row, c.column), nullptr);
        // The right click forgot the last menu's square before its square test.
        EXPECT_EQ(w.View()->menuRow, -1);
        EXPECT_EQ(w.View()->menuCol, -1);
    }
}

TEST_F(ViewClicks, editWordFromTheMenu_showsTheRunAndStoresTheTypedWord) {
    struct Case {
        bool across;
        std::optional<QString> typed;  // nullopt: Cancel
        const char16_t* row;           // row 4, columns 3..5, afterwards
        const char16_t* column;        // column 4, rows 3..5, afterwards
    };
    const Case cases[] = {
        {true, QStringLiteral("abe"), u"ABE", u"@B@"},    {true, std::nullopt, u"A@E", u"@@@"},
        {true, QStringLiteral("abcdef"), u"ABC", u"@B@"},  // only the run's length is kept
        {true, QStringLiteral("o"), u"O@@", u"@@@"},       // a short word leaves the rest empty
        {false, QStringLiteral("x y"), u"A@E", u"X@Y"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.value_or(QStringLiteral("<cancel>")).toStdString());
        // Row 4: A, empty, E; column 4 gets a three-square down run.
        Design(CentreGrid("!@!A@E!@!"));
        ClickSquare(Qt::RightButton, 4, 4);
        ASSERT_NE(w.View()->ContextMenu(), nullptr);
        QString caption, label, shown;
        int maxLength = 0;
        ModalAnswers<CTitleDialog> answers([&](CTitleDialog* dialog) {
            caption = dialog->windowTitle();
            label = dialog->Label()->text();
            shown = dialog->Edit()->text();
            maxLength = dialog->Edit()->maxLength();
            if (c.typed) {
                dialog->Edit()->clear();
                QTest::keyClicks(dialog->Edit(), *c.typed);
            }
            Press(dialog, c.typed.has_value());
        });
        Choose(c.across ? 0 : 1);
        EXPECT_EQ(answers.shown, 1);
        EXPECT_EQ(caption, c.across ? QStringLiteral("Edit Across Word") : QStringLiteral("Edit Down Word"));
        EXPECT_EQ(label, QStringLiteral("3 Letter Word:"));
        EXPECT_EQ(shown, c.across ? QStringLiteral("A E") : QStringLiteral("   "));
        EXPECT_EQ(maxLength, 60);
        const std::u16string grid = w.Puzzle()->GetGridText();
        EXPECT_EQ(grid.substr(4 * 9 + 3, 3), c.row);
        EXPECT_EQ((std::u16string{grid[3 * 9 + 4], grid[4 * 9 + 4], grid[5 * 9 + 4]}), c.column);
        EXPECT_FALSE(w.Doc()->IsModified());
        CloseMenu();
    }
}

TEST_F(ViewClicks, toggleCircledSquareTwice_leavesItUncircledAndTheDocumentUnmodified) {
    Design(CentreGrid("!!!A@E!!!"));
    ClickSquare(Qt::RightButton, 4, 5);
    Choose(2);
    EXPECT_EQ(w.Puzzle()->circled[4 * 9 + 5], 1);
    EXPECT_EQ(w.View()->layoutState, -1);
    CloseMenu();
    ClickSquare(Qt::RightButton, 4, 5);
    Choose(2);
    EXPECT_EQ(w.Puzzle()->circled[4 * 9 + 5], 0);
    EXPECT_EQ(std::count(std::begin(w.Puzzle()->circled), std::end(w.Puzzle()->circled), 1), 0);
    EXPECT_FALSE(w.Doc()->IsModified());
    CloseMenu();

    // A square remembered from a larger grid is outside this one: nothing changes.
    w.View()->menuRow = 20;
    w.View()->menuCol = 20;
    w.Command(cmd::kToggleCircle);
    EXPECT_EQ(std::count(std::begin(w.Puzzle()->circled), std::end(w.Puzzle()->circled), 1), 0);
}

TEST_F(ViewClicks, editWordOutsideTheDesigner_changesNothing) {
    // The menu's commands on a filled grid or a remembered square that has
    // no run leave the grid as it is and open no dialog.
    Design(CentreGrid("!!!A@E!!!"));
    ModalAnswers<CTitleDialog> answers([](CTitleDialog* dialog) { Press(dialog, true); });
    w.View()->menuRow = 4;
    w.View()->menuCol = 4;
    w.Puzzle()->SetStatus(StatusFilled);
    const std::u16string grid = w.Puzzle()->GetGridText();
    w.Command(cmd::kEditAcrossWord);
    w.Puzzle()->SetStatus(StatusDesigning);
    w.View()->menuRow = -1;
    w.Command(cmd::kEditAcrossWord);
    w.View()->menuRow = 4;
    w.Command(cmd::kEditDownWord);  // a one-square down run
    EXPECT_EQ(answers.shown, 0);
    EXPECT_EQ(w.Puzzle()->GetGridText(), grid);
}

TEST_F(ViewClicks, clickOnAClue_opensTheClueManagerForItsAnswer) {
    Fill();
    const std::vector<ClueEntry>& clues = w.Puzzle()->clues;
    ASSERT_EQ(clues.size(), 6u);
    const ClueEntry& target = clues[4];
    ASSERT_GT(target.rect.right, target.rect.left);
    const std::u16string answer = target.answer;
    const std::u16string grid = w.Puzzle()->GetGridText();

    QString prompt;
    bool placeholderSelectsClueless = false;
    ModalAnswers<CClueManagerDlg> answers([&](CClueManagerDlg* dialog) {
        prompt = dialog->Prompt()->text();
        placeholderSelectsClueless = dialog->AdvanceButton(2)->isChecked();
        dialog->ClueBox()->lineEdit()->setText(QStringLiteral("a fresh clue"));
        dialog->AdvanceButton(3)->click();
        dialog->OkButton()->click();
    });
    Click(Qt::LeftButton, Centre(target.rect));
    EXPECT_EQ(answers.shown, 1);
    EXPECT_EQ(prompt, QStringLiteral("Key in or select a clue for the word ") + QString::fromStdU16String(answer));
    EXPECT_TRUE(placeholderSelectsClueless);
    EXPECT_EQ(w.Puzzle()->clues[4].clue, u"A fresh clue");
    EXPECT_TRUE(w.Doc()->IsModified());
    EXPECT_EQ(w.Puzzle()->GetGridText(), grid);
    EXPECT_EQ(w.View()->layoutState, -1);
}

TEST_F(ViewClicks, puzzleView_squaresAreNotClickable_andEachPageTextOpensItsDialog) {
    Fill();
    // The page's grid records no squares, so a click on it meets nothing.
    EXPECT_EQ(w.View()->gridRect, RECT{});
    for (const auto& row : w.View()->cellRects)
        for (const RECT& cell : row) EXPECT_EQ(cell, RECT{});
    const std::u16string grid = w.Puzzle()->GetGridText();
    auto hitsNothing = [this](QPoint p) {
        return w.View()->HitTestClue(p) == nullptr && !w.View()->HitTestTitle(p) && !w.View()->HitTestAnswerTitle(p) &&
               !w.View()->HitTestCopyright(p) && !w.View()->HitTestAuthor(p);
    };
    // The first point below the title, down its left third, that is no text or clue.
    const RECT& titleRect = w.View()->titleRect;
    QPoint onThePage(titleRect.left + (titleRect.right - titleRect.left) / 6, titleRect.bottom + 5);
    while (!hitsNothing(onThePage) && onThePage.y() < w.View()->viewport()->height()) onThePage.ry() += 5;
    ASSERT_TRUE(hitsNothing(onThePage));
    {
        ModalAnswers<CClueManagerDlg> clueManagers([](CClueManagerDlg* dialog) { dialog->reject(); });
        ModalAnswers<CTitleDialog> texts([](CTitleDialog* dialog) { dialog->reject(); });
        Click(Qt::LeftButton, onThePage);
        Click(Qt::RightButton, onThePage);
        EXPECT_EQ(clueManagers.shown + texts.shown, 0);
        EXPECT_EQ(w.View()->ContextMenu(), nullptr);
        EXPECT_EQ(w.Puzzle()->GetGridText(), grid);
    }

    const struct {
        const RECT* rect;
        Qt::MouseButton button;
        const char* caption;
        std::u16string (CCWData::*value)() const;
    } cases[] = {
        {&w.View()->titleRect, Qt::LeftButton, "Edit Puzzle Title", &CCWData::GetTitle},
        {&w.View()->answerTitleRect, Qt::RightButton, "Edit Answer Title", &CCWData::GetAnswerTitle},
        {&w.View()->copyrightRect, Qt::LeftButton, "Edit Puzzle Copyright", &CCWData::GetCopyright},
        {&w.View()->authorRect, Qt::RightButton, "Edit Author", &CCWData::GetAuthor},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.caption);
        Paint();
        const RECT rect = *c.rect;
        ASSERT_GT(rect.right, rect.left);
        QString caption;
        ModalAnswers<CTitleDialog> texts([&](CTitleDialog* dialog) {
            caption = dialog->windowTitle();
            dialog->Edit()->setText(QStringLiteral("Changed ") + QString::fromUtf8(c.caption));
            Press(dialog, true);
        });
        Click(c.button, Centre(rect));
        EXPECT_EQ(texts.shown, 1);
        EXPECT_EQ(caption, QString::fromUtf8(c.caption));
        EXPECT_EQ(QString::fromStdU16String((w.Puzzle()->*c.value)()), QStringLiteral("Changed ") + c.caption);
        EXPECT_EQ(w.View()->ContextMenu(), nullptr);
    }

    // The grid view has no clickable texts, whatever was recorded before.
    Paint();
    const QPoint title = Centre(w.View()->titleRect);
    ASSERT_TRUE(w.View()->HitTestTitle(title));
    w.Doc()->gridViewShown = true;
    EXPECT_FALSE(w.View()->HitTestTitle(title));
    EXPECT_FALSE(w.View()->HitTestAuthor(Centre(w.View()->authorRect)));
    w.Doc()->gridViewShown = false;
}

TEST_F(ViewClicks, filledGridView_squareOpensTheClueManagerForItsRunAndExitsAfterOneWord) {
    // Row 0 holds HOUSE; column 0 holds HAT; every other run has one square.
    std::string grid(81, '!');
    std::memcpy(grid.data(), "HOUSE", 5);
    grid[9] = 'A';
    grid[18] = 'T';
    w.LoadGrid(grid);
    CCWData& puzzle = *w.Puzzle();
    auto entry = [](int number, const char16_t* direction, const char16_t* answer) {
        ClueEntry e;
        e.number = number;
        e.direction = direction;
        e.answer = answer;
        e.clue = std::u16string(u"TO DO clue for: ") + answer;
        return e;
    };
    puzzle.clues = {entry(1, kAcrossText, u"HOUSE"), entry(1, kDownText, u"HAT")};
    puzzle.SetStatus(StatusFilled);
    ASSERT_TRUE(w.Doc()->gridViewShown);
    Paint();

    const struct {
        Qt::MouseButton button;
        int row, column;
        const char* word;  // nullptr: no Clue Manager
    } cases[] = {
        {Qt::LeftButton, 0, 3, "HOUSE"},  {Qt::RightButton, 1, 0, "HAT"},
        {Qt::LeftButton, 1, 0, nullptr},   // its across run is one square
        {Qt::RightButton, 0, 2, nullptr},  // its down run is one square
        {Qt::LeftButton, 4, 4, nullptr},   // a block
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.row) + "," + std::to_string(c.column));
        QString prompt;
        bool exitChosen = false;
        ModalAnswers<CClueManagerDlg> answers([&](CClueManagerDlg* dialog) {
            prompt = dialog->Prompt()->text();
            exitChosen = dialog->AdvanceButton(3)->isChecked();
            dialog->ClueBox()->lineEdit()->setText(QStringLiteral("clue"));
            dialog->OkButton()->click();
        });
        ClickSquare(c.button, c.row, c.column);
        if (c.word == nullptr) {
            EXPECT_EQ(answers.shown, 0);
            continue;
        }
        // One dialog: the walk ended after this word although the next entry
        // still has its placeholder.
        EXPECT_EQ(answers.shown, 1);
        EXPECT_EQ(prompt, QStringLiteral("Key in or select a clue for the word ") + QString::fromUtf8(c.word));
        EXPECT_TRUE(exitChosen);
        EXPECT_EQ(w.View()->ContextMenu(), nullptr);
    }
    EXPECT_EQ(puzzle.clues[0].clue, u"Clue");
    EXPECT_EQ(puzzle.clues[1].clue, u"Clue");
    EXPECT_EQ(puzzle.GetGridText(), std::u16string(grid.begin(), grid.end()));
}

TEST(ViewPan, scrollsByTheMovementAndStopsAtZero) {
    const struct {
        QPoint position, from, to, expected;
    } cases[] = {
        {{100, 200}, {50, 50}, {30, 80}, {120, 170}},
        {{10, 10}, {0, 0}, {25, 5}, {0, 5}},
        {{0, 0}, {40, 40}, {80, 80}, {0, 0}},
        {{5, 7}, {3, 3}, {3, 3}, {5, 7}},
    };
    for (const auto& c : cases) EXPECT_EQ(CkorvoView::PanScrollPosition(c.position, c.from, c.to), c.expected);
}

}  // namespace
