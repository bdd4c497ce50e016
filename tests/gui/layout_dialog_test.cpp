// "Margins and Grid Position": the values it shows and returns, digits only,
// and the messages that keep it open on a bad margin.
#include "layout_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <optional>

#include "modal_answer.h"

namespace {

void ClickOk(QDialog* dialog) { dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click(); }

TEST(LayoutDialog, showsTheMarginsInHundredthsAndTheGridSide) {
    CLayoutDialog dialog(korvo::LayoutDialogValues{25, 123, 250, 650, true});
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Margins and Grid Position"));
    EXPECT_EQ(dialog.Edit(1011)->text(), QStringLiteral("25"));
    EXPECT_EQ(dialog.Edit(1012)->text(), QStringLiteral("123"));
    EXPECT_EQ(dialog.Edit(1013)->text(), QStringLiteral("250"));
    EXPECT_EQ(dialog.Edit(1014)->text(), QStringLiteral("650"));
    EXPECT_TRUE(dialog.RightSideBox()->isChecked());
    EXPECT_EQ(dialog.RightSideBox()->text(), QStringLiteral("Right-side puzzle grid"));
    EXPECT_EQ(dialog.Edit(1010), nullptr);
    EXPECT_EQ(dialog.Edit(1015), nullptr);
}

TEST(LayoutDialog, editsTakeDigitsOnly) {
    CLayoutDialog dialog(korvo::LayoutDialogValues{250, 250, 250, 250, false});
    dialog.show();
    QLineEdit* edit = dialog.Edit(1011);
    edit->clear();
    QTest::keyClicks(edit, QStringLiteral("3a-0.0 "));
    EXPECT_EQ(edit->text(), QStringLiteral("300"));
}

TEST(LayoutDialog, okReturnsTheValuesAndCancelNothing) {
    AnswerNextModal<CLayoutDialog>([](CLayoutDialog* dialog) {
        dialog->Edit(1011)->setText(QStringLiteral("300"));
        dialog->Edit(1014)->setText(QStringLiteral("0075"));
        dialog->RightSideBox()->setChecked(false);
        ClickOk(dialog);
    });
    const auto result = AskPageLayout(nullptr, korvo::LayoutDialogValues{250, 260, 270, 280, true});
    EXPECT_EQ(result, std::optional<korvo::LayoutDialogValues>(korvo::LayoutDialogValues{300, 260, 270, 75, false}));

    AnswerNextModal<CLayoutDialog>([](CLayoutDialog* dialog) {
        dialog->Edit(1011)->setText(QStringLiteral("300"));
        dialog->reject();
    });
    EXPECT_EQ(AskPageLayout(nullptr, korvo::LayoutDialogValues{250, 250, 250, 250, true}), std::nullopt);
}

// A bad margin shows its message and keeps the dialog open on that edit;
// the edits are checked in order, so the first bad one speaks.
TEST(LayoutDialog, badMarginShowsItsMessageAndKeepsTheDialogOpen) {
    const QString range = QStringLiteral("Enter an integer between 25 and 650.");
    const QString integer = QStringLiteral("Enter an integer.");
    struct Case {
        const char* texts[4];
        QString message;
        int focusId;
    };
    const Case cases[] = {
        {{"250", "20", "250", "250"}, range, 1012}, {{"250", "250", "651", "250"}, range, 1013},
        {{"24", "250", "250", "0"}, range, 1011},   {{"250", "250", "250", ""}, integer, 1014},
        {{"", "20", "250", "250"}, integer, 1011},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message.toStdString() + " " + std::to_string(c.focusId));
        QString shown;
        bool stayedOpen = false;
        bool focused = false;
        AnswerNextModal<CLayoutDialog>([&](CLayoutDialog* dialog) {
            for (int i = 0; i < 4; ++i) dialog->Edit(1011 + i)->setText(QString::fromLatin1(c.texts[i]));
            AnswerNextModal<QMessageBox>([&](QMessageBox* box) {
                shown = box->text();
                box->accept();
            });
            ClickOk(dialog);
            stayedOpen = dialog->isVisible();
            focused = dialog->focusWidget() == dialog->Edit(c.focusId);
            // Correcting the value lets OK through.
            for (int i = 0; i < 4; ++i) dialog->Edit(1011 + i)->setText(QStringLiteral("100"));
            ClickOk(dialog);
        });
        const auto result = AskPageLayout(nullptr, korvo::LayoutDialogValues{250, 250, 250, 250, true});
        EXPECT_EQ(shown, c.message);
        EXPECT_TRUE(stayedOpen);
        EXPECT_TRUE(focused);
        EXPECT_EQ(result,
                  std::optional<korvo::LayoutDialogValues>(korvo::LayoutDialogValues{100, 100, 100, 100, true}));
    }
}

}  // namespace
