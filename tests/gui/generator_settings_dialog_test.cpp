#include "generator_settings_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include "modal_answer.h"

namespace {

constexpr int kModeButtons[] = {1002, 1004, 1003, 1005, 1036};  // values 1..5
constexpr int kListButtons[] = {1006, 1007, 1033, 1034, 1035};  // ids 1..5

int CheckedButton(const CGeneratorSettings& dialog, const int* ids, int count) {
    int checked = 0;
    for (int i = 0; i < count; ++i) {
        if (dialog.Button(ids[i])->isChecked()) {
            EXPECT_EQ(checked, 0) << "two buttons of a group checked";
            checked = ids[i];
        }
    }
    return checked;
}

TEST(GeneratorSettings, showsTheCurrentModeAndWordList) {
    for (int mode = 1; mode <= 5; ++mode) {
        for (int list = 1; list <= 5; ++list) {
            CGeneratorSettings dialog(mode, list);
            EXPECT_EQ(CheckedButton(dialog, kModeButtons, 5), kModeButtons[mode - 1]) << mode;
            EXPECT_EQ(CheckedButton(dialog, kListButtons, 5), kListButtons[list - 1]) << list;
            EXPECT_EQ(dialog.generatingMode, mode);
            EXPECT_EQ(dialog.wordListId, list);
        }
    }
}

TEST(GeneratorSettings, textsCaptionAndOnScreenOrder) {
    CGeneratorSettings dialog(1, 1);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Generator Settings"));
    const std::pair<int, const char*> texts[] = {
        {1002, "Quick Generating Mode - Standard Grids"},
        {1004, "Quick Generating Mode - Edited Grids"},
        {1003, "Deep Thinking Mode - Themed Puzzles"},
        {1005, "Brute Force Mode - Complex Grids"},
        {1036, "Thorough Mode - Any Grid"},
        {1006, "English - United States"},
        {1007, "English - United Kingdom"},
        {1033, "English - Canada"},
        {1034, "English - Australia"},
        {1035, "English - India"},
    };
    for (auto [id, text] : texts) EXPECT_EQ(dialog.Button(id)->text(), QString::fromUtf8(text)) << id;

    auto top = [&dialog](QWidget* w) { return w->mapTo(&dialog, QPoint(0, 0)).y(); };
    QLabel* weaker = nullptr;
    QLabel* stronger = nullptr;
    for (QLabel* label : dialog.findChildren<QLabel*>()) {
        if (label->text() == QStringLiteral("Weaker Generating Strength")) weaker = label;
        if (label->text() == QStringLiteral("Stronger Generating Strength")) stronger = label;
    }
    ASSERT_NE(weaker, nullptr);
    ASSERT_NE(stronger, nullptr);
    int previous = top(weaker);
    for (int id : kModeButtons) {
        EXPECT_LT(previous, top(dialog.Button(id))) << id;
        previous = top(dialog.Button(id));
    }
    EXPECT_LT(previous, top(stronger));
    for (int i = 1; i < 5; ++i) EXPECT_LT(top(dialog.Button(kListButtons[i - 1])), top(dialog.Button(kListButtons[i])));
    // Both groups are radio groups of their own.
    dialog.Button(1005)->click();
    dialog.Button(1035)->click();
    EXPECT_TRUE(dialog.Button(1005)->isChecked());
    EXPECT_TRUE(dialog.Button(1035)->isChecked());
}

TEST(GeneratorSettings, outOfRangeValueIsKeptUntilItsGroupIsClicked) {
    CGeneratorSettings dialog(7, 0);
    EXPECT_EQ(CheckedButton(dialog, kModeButtons, 5), 1002);
    EXPECT_EQ(CheckedButton(dialog, kListButtons, 5), 1006);
    EXPECT_EQ(dialog.generatingMode, 7);
    EXPECT_EQ(dialog.wordListId, 0);

    dialog.Button(1004)->click();  // the other group's value stays
    EXPECT_EQ(dialog.generatingMode, 2);
    EXPECT_EQ(dialog.wordListId, 0);

    dialog.Button(1006)->click();  // clicking the shown button stores its value
    EXPECT_EQ(dialog.wordListId, 1);
}

TEST(GeneratorSettings, okReturnsTheClickedValuesAndCancelRejects) {
    CGeneratorSettings dialog(1, 1);
    AnswerNextModal<CGeneratorSettings>([](CGeneratorSettings* shown) {
        QTest::mouseClick(shown->Button(1003), Qt::LeftButton);
        QTest::mouseClick(shown->Button(1035), Qt::LeftButton);
        shown->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    });
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_EQ(dialog.generatingMode, 3);
    EXPECT_EQ(dialog.wordListId, 5);

    CGeneratorSettings untouched(4, 9);
    AnswerNextModal<CGeneratorSettings>([](CGeneratorSettings* shown) {
        shown->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    });
    EXPECT_EQ(untouched.exec(), QDialog::Accepted);
    EXPECT_EQ(untouched.generatingMode, 4);
    EXPECT_EQ(untouched.wordListId, 9);

    CGeneratorSettings cancelled(2, 2);
    AnswerNextModal<CGeneratorSettings>([](CGeneratorSettings* shown) {
        shown->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->click();
    });
    EXPECT_EQ(cancelled.exec(), QDialog::Rejected);
}

}  // namespace
