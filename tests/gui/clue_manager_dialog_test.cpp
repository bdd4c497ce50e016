#include "clue_manager_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <set>

#include "clues/clue_database.h"
#include "modal_answer.h"
#include "platform/paths.h"
#include "support/temp_folder.h"

namespace {

using korvo::ClueManagerRequest;
using korvo::testsupport::ReadFileForTest;
using korvo::testsupport::TempFolder;
using korvo::testsupport::WriteFileForTest;

QStringList Items(const QComboBox& box) {
    QStringList items;
    for (int i = 0; i < box.count(); ++i) items << box.itemText(i);
    return items;
}

int CheckedOption(const CClueManagerDlg& dialog) {
    int checked = 0;
    for (int option = 1; option <= 3; ++option) {
        if (dialog.AdvanceButton(option)->isChecked()) {
            EXPECT_EQ(checked, 0) << "two radio buttons checked";
            checked = option;
        }
    }
    return checked;
}

// A clue folder whose HO.CLU holds HOUSE's three clues around a clue of HOSE.
class ClueManagerDialogTest : public ::testing::Test {
protected:
    ClueManagerDialogTest() {
        WriteFileForTest(clueFile(), kStored);
        database.emplace(folder.path() / "");
    }

    static constexpr const char* kStored =
        "HOUSE\r\nA dwelling\r\nHOSE\r\nGarden pipe\r\nHOUSE\r\nA home\r\nHOUSE\r\nShelter\r\n";

    std::filesystem::path clueFile() const { return folder.path() / "HO.CLU"; }

    ClueManagerRequest Request(std::u16string currentClue, int option = korvo::kAdvanceNextWord, bool deleted = false) {
        ClueManagerRequest request;
        request.answer = u"HOUSE";
        request.prompt = korvo::ClueManagerPrompt(request.answer);
        request.currentClue = std::move(currentClue);
        request.wasDeleted = deleted;
        request.doNotUse = deleted;
        request.advanceOption = option;
        request.clueDatabase = &*database;
        return request;
    }

    TempFolder folder;
    std::optional<korvo::ClueDatabase> database;
};

TEST_F(ClueManagerDialogTest, showsCaptionPromptControlsAndTheStoredCluesInFileOrder) {
    CClueManagerDlg dialog;
    dialog.Prepare(Request(u"A home"));
    dialog.show();

    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Clue Manager"));
    EXPECT_EQ(dialog.Prompt()->text(), QStringLiteral("Key in or select a clue for the word HOUSE"));
    EXPECT_TRUE(dialog.ClueBox()->isEditable());
    EXPECT_EQ(Items(*dialog.ClueBox()), (QStringList{"A dwelling", "A home", "Shelter"}));
    EXPECT_EQ(dialog.ClueBox()->currentIndex(), 1);
    EXPECT_EQ(dialog.ClueBox()->currentText(), QStringLiteral("A home"));

    const std::pair<int, const char*> radios[] = {
        {1, "Advance to the next word"}, {2, "Advance to the next clueless word"}, {3, "Exit the Clue Manager"}};
    for (auto [option, text] : radios) EXPECT_EQ(dialog.AdvanceButton(option)->text(), QString::fromUtf8(text));
    auto* group = dialog.findChild<QGroupBox*>();
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->title(), QStringLiteral("When the OK button is pressed..."));
    for (int option = 1; option <= 3; ++option) EXPECT_TRUE(group->isAncestorOf(dialog.AdvanceButton(option)));

    EXPECT_EQ(dialog.DoNotUseBox()->text(), QStringLiteral("Do not use this word in future puzzles"));
    EXPECT_EQ(dialog.CopyWordButton()->text(), QStringLiteral("Copy Word"));
    EXPECT_EQ(dialog.PasteClueButton()->text(), QStringLiteral("Paste Clue"));
    EXPECT_EQ(dialog.DeleteClueButton()->text(), QStringLiteral("Delete Clue From Database"));
    EXPECT_EQ(dialog.OkButton()->text(), QStringLiteral("OK"));
    EXPECT_EQ(dialog.CancelButton()->text(), QStringLiteral("Cancel"));
    EXPECT_TRUE(dialog.OkButton()->isDefault());
    EXPECT_EQ(dialog.findChild<QComboBox*>(QStringLiteral("control1019")), dialog.ClueBox());
}

TEST_F(ClueManagerDialogTest, initialSelection_onlyForAStoredClue) {
    const std::pair<std::u16string, int> cases[] = {
        {u"A dwelling", 0}, {u"Shelter", 2}, {u"TO DO clue for: HOUSE", -1}, {u"A cottage", -1}, {u"", -1}};
    CClueManagerDlg dialog;
    for (const auto& [clue, index] : cases) {
        dialog.Prepare(Request(clue));
        EXPECT_EQ(dialog.ClueBox()->count(), 3);
        EXPECT_EQ(dialog.ClueBox()->currentIndex(), index) << index;
        EXPECT_EQ(dialog.ClueBox()->currentText(), index < 0 ? QString() : dialog.ClueBox()->itemText(index));
    }
    // A word without stored clues, and no database at all: an empty list.
    ClueManagerRequest other = Request(u"Oak or elm");
    other.answer = u"TREE";
    dialog.Prepare(other);
    EXPECT_EQ(dialog.ClueBox()->count(), 0);
    other.clueDatabase = nullptr;
    dialog.Prepare(other);
    EXPECT_EQ(dialog.ClueBox()->count(), 0);
}

TEST_F(ClueManagerDialogTest, radioButtonAndCheckBox_followTheRequest) {
    CClueManagerDlg dialog;
    for (auto [option, shown] : {std::pair{1, 1}, {2, 2}, {3, 3}, {0, 3}}) {
        dialog.Prepare(Request(u"", option));
        EXPECT_EQ(CheckedOption(dialog), shown) << option;
        EXPECT_EQ(dialog.Result().advanceOption, shown) << "OK returns what is shown";
    }

    dialog.Prepare(Request(u"", 1, /*deleted=*/false));
    EXPECT_FALSE(dialog.DoNotUseBox()->isChecked());
    EXPECT_TRUE(dialog.DoNotUseBox()->isEnabled());

    dialog.Prepare(Request(u"", 1, /*deleted=*/true));
    EXPECT_TRUE(dialog.DoNotUseBox()->isChecked());
    EXPECT_FALSE(dialog.DoNotUseBox()->isEnabled());
    EXPECT_TRUE(dialog.Result().doNotUse);

    // The next entry starts afresh.
    dialog.Prepare(Request(u"", 1, /*deleted=*/false));
    EXPECT_FALSE(dialog.DoNotUseBox()->isChecked());
    EXPECT_TRUE(dialog.DoNotUseBox()->isEnabled());
}

TEST_F(ClueManagerDialogTest, copyWordPutsTheDefinitionQueryOnTheClipboard_pasteClueInsertsAtTheCaret) {
    CClueManagerDlg dialog;
    dialog.Prepare(Request(u""));
    dialog.show();
    QApplication::clipboard()->setText(QStringLiteral("old"));

    QTest::mouseClick(dialog.CopyWordButton(), Qt::LeftButton);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("HOUSE definition"));
    EXPECT_EQ(dialog.ClueBox()->currentText(), QString()) << "the edit field is left alone";

    QApplication::clipboard()->setText(QStringLiteral("large "));
    QLineEdit* edit = dialog.ClueBox()->lineEdit();
    edit->setText(QStringLiteral("A small home"));
    edit->setSelection(2, 6);  // "small "
    QTest::mouseClick(dialog.PasteClueButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.ClueBox()->currentText(), QStringLiteral("A large home"));

    edit->setCursorPosition(0);
    QApplication::clipboard()->setText(QStringLiteral(">"));
    QTest::mouseClick(dialog.PasteClueButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.ClueBox()->currentText(), QStringLiteral(">A large home"));
    EXPECT_EQ(dialog.ClueBox()->count(), 3) << "nothing typed joins the list";
}

// The buttons take the focus from the edit field when clicked, which drops a
// line edit's selection; the paste must still replace what was selected.
TEST_F(ClueManagerDialogTest, pasteClue_replacesTheSelectionTheButtonsTookTheFocusFrom) {
    CClueManagerDlg dialog;
    dialog.Prepare(Request(u""));
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    QLineEdit* edit = dialog.ClueBox()->lineEdit();

    struct Case {
        const char* name;
        bool copyFirst;     // Copy Word is clicked before Paste Clue
        int start, length;  // the selection made in "Sicked"
        const char* clipboard;
        const char* expected;
    } cases[] = {
        {"copyWordThenPaste", true, 0, 6, nullptr, "HOUSE definition"},
        {"pasteOverAPart", false, 1, 4, "ounde", "Sounded"},
        {"pasteAtTheCaret", false, 6, 0, " up", "Sicked up"},
    };
    for (const Case& c : cases) {
        edit->setFocus();
        ASSERT_TRUE(QTest::qWaitFor([&] { return edit->hasFocus(); }, 2000)) << c.name;
        edit->setText(QStringLiteral("Sicked"));
        if (c.length > 0) {
            edit->setSelection(c.start, c.length);
        } else {
            edit->setCursorPosition(c.start);
        }
        if (c.copyFirst) {
            QTest::mouseClick(dialog.CopyWordButton(), Qt::LeftButton);
        } else {
            QApplication::clipboard()->setText(QString::fromUtf8(c.clipboard));
        }
        QTest::mouseClick(dialog.PasteClueButton(), Qt::LeftButton);
        EXPECT_FALSE(edit->hasFocus()) << c.name << ": the button took the focus";
        EXPECT_EQ(dialog.ClueBox()->currentText(), QString::fromUtf8(c.expected)) << c.name;
    }
}

TEST_F(ClueManagerDialogTest, deleteClue_removesTheSelectedItemFromListAndFile_selectsTheFirstLeft) {
    CClueManagerDlg dialog;
    dialog.Prepare(Request(u""));
    dialog.show();

    // Nothing selected: nothing happens.
    QTest::mouseClick(dialog.DeleteClueButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.ClueBox()->count(), 3);
    EXPECT_EQ(ReadFileForTest(clueFile()), kStored);

    dialog.ClueBox()->setCurrentIndex(2);  // "Shelter"
    QTest::mouseClick(dialog.DeleteClueButton(), Qt::LeftButton);
    EXPECT_EQ(Items(*dialog.ClueBox()), (QStringList{"A dwelling", "A home"}));
    EXPECT_EQ(dialog.ClueBox()->currentIndex(), 0);
    EXPECT_EQ(dialog.ClueBox()->currentText(), QStringLiteral("A dwelling"));
    EXPECT_EQ(ReadFileForTest(clueFile()), "HOUSE\r\nA dwelling\r\nHOSE\r\nGarden pipe\r\nHOUSE\r\nA home\r\n");

    QTest::mouseClick(dialog.DeleteClueButton(), Qt::LeftButton);
    QTest::mouseClick(dialog.DeleteClueButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.ClueBox()->count(), 0);
    EXPECT_EQ(dialog.ClueBox()->currentIndex(), -1);
    EXPECT_EQ(dialog.ClueBox()->currentText(), QString());
    EXPECT_EQ(ReadFileForTest(clueFile()), "HOSE\r\nGarden pipe\r\n");
}

TEST_F(ClueManagerDialogTest, ok_returnsTheTypedTextBoxAndOption_cancelReturnsNothing) {
    CClueManagerDlg dialog;
    AnswerNextModal<CClueManagerDlg>([](CClueManagerDlg* shown) {
        QTest::keyClicks(shown->ClueBox()->lineEdit(), QStringLiteral("  a dwelling  "));
        QTest::mouseClick(shown->AdvanceButton(2), Qt::LeftButton);
        shown->DoNotUseBox()->click();
        QTest::mouseClick(shown->OkButton(), Qt::LeftButton);
    });
    const auto result = dialog.Run(Request(u"TO DO clue for: HOUSE"));
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(result->clueText, u"  a dwelling  ");
    EXPECT_TRUE(result->doNotUse);
    EXPECT_EQ(result->advanceOption, 2);

    // A stored clue picked from the list.
    AnswerNextModal<CClueManagerDlg>([](CClueManagerDlg* shown) {
        shown->ClueBox()->setCurrentIndex(2);
        QTest::keyClick(shown->ClueBox()->lineEdit(), Qt::Key_Return);  // Return presses the default button
    });
    const auto picked = dialog.Run(Request(u"", 3));
    ASSERT_TRUE(picked.has_value());
    EXPECT_EQ(picked->clueText, u"Shelter");
    EXPECT_FALSE(picked->doNotUse);
    EXPECT_EQ(picked->advanceOption, 3);

    for (bool escape : {false, true}) {
        AnswerNextModal<CClueManagerDlg>([escape](CClueManagerDlg* shown) {
            QTest::keyClicks(shown->ClueBox()->lineEdit(), QStringLiteral("typed"));
            if (escape) {
                QTest::keyClick(shown, Qt::Key_Escape);
            } else {
                QTest::mouseClick(shown->CancelButton(), Qt::LeftButton);
            }
        });
        EXPECT_FALSE(dialog.Run(Request(u"")).has_value()) << escape;
    }
}

// The walk and the dialog together: two entries, OK after OK.
TEST(ClueManagerWalk, editCluesWithTheDialog_setsTheTypedClueAndAddsIt) {
    TempFolder data;
    std::filesystem::create_directories(data.path() / "CLUES2");
    std::filesystem::create_directories(data.path() / "NEWCLUES2");
    WriteFileForTest(data.path() / "CLUES2" / "TR.CLU", "TREE\r\nOak or elm\r\n");

    struct Document {
        bool IsDeletedWord(const std::u16string& word) const { return deleted.count(word) != 0; }
        void AddDeletedWord(const std::u16string& word) { deleted.insert(word); }
        std::set<std::u16string> deleted;
    } document;
    korvo::ClueEditorDocumentOf<Document> adapter(document);

    std::vector<korvo::ClueEntry> clues(2);
    clues[0].answer = u"HOUSE";
    clues[0].clue = u"TO DO clue for: HOUSE";
    clues[1].answer = u"TREE";
    clues[1].clue = u"A plant";

    CClueManagerDlg dialog;
    AnswerNextModal<CClueManagerDlg>([](CClueManagerDlg* shown) {
        EXPECT_EQ(shown->ClueBox()->count(), 0);
        EXPECT_EQ(CheckedOption(*shown), 2) << "option 0 at a placeholder";
        QTest::keyClicks(shown->ClueBox()->lineEdit(), QStringLiteral("  a dwelling  "));
        QTest::mouseClick(shown->AdvanceButton(1), Qt::LeftButton);
        shown->DoNotUseBox()->click();
        // The walk shows the next entry in the same dialog once this one closes.
        AnswerNextModal<CClueManagerDlg>([](CClueManagerDlg* next) {
            EXPECT_EQ(next->Prompt()->text(), QStringLiteral("Key in or select a clue for the word TREE"));
            EXPECT_EQ(Items(*next->ClueBox()), QStringList{"Oak or elm"});
            EXPECT_EQ(next->ClueBox()->currentIndex(), -1);
            EXPECT_FALSE(next->DoNotUseBox()->isChecked());
            EXPECT_EQ(CheckedOption(*next), 1);
            next->ClueBox()->setCurrentIndex(0);
            QTest::mouseClick(next->OkButton(), Qt::LeftButton);
        });
        QTest::mouseClick(shown->OkButton(), Qt::LeftButton);
    });

    EXPECT_TRUE(
        korvo::EditClues(clues, korvo::PathToU16(data.path()), 2, adapter, dialog, u"HOUSE", korvo::kAdvanceAutomatic));

    EXPECT_EQ(clues[0].clue, u"A dwelling");
    EXPECT_EQ(clues[1].clue, u"Oak or elm");
    EXPECT_EQ(document.deleted, std::set<std::u16string>{u"HOUSE"});
    EXPECT_EQ(ReadFileForTest(data.path() / "CLUES2" / "HO.CLU"), "HOUSE\r\nA dwelling\r\n");
    EXPECT_EQ(ReadFileForTest(data.path() / "NEWCLUES2" / "HO.CLU"), "HOUSE\r\nA dwelling\r\n");
    EXPECT_EQ(ReadFileForTest(data.path() / "CLUES2" / "TR.CLU"), "TREE\r\nOak or elm\r\n");
    EXPECT_FALSE(std::filesystem::exists(data.path() / "NEWCLUES2" / "TR.CLU"));
}

}  // namespace
