// The one-line text dialog: caption, label and text of each use, the
// 60-character limit, OK and Cancel.
#include "title_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "modal_answer.h"

namespace {

struct Seen {
    QString caption;
    QString label;
    QString text;
    int maxLength = 0;
};

// Records what the open dialog shows, then presses OK or Cancel.
void AnswerTitleDialog(Seen& seen, bool ok, const QString& typed = QString(), bool replace = false) {
    AnswerNextModal<CTitleDialog>([&seen, ok, typed, replace](CTitleDialog* dialog) {
        seen.caption = dialog->windowTitle();
        seen.label = dialog->Label()->text();
        seen.text = dialog->Edit()->text();
        seen.maxLength = dialog->Edit()->maxLength();
        if (replace) dialog->Edit()->clear();
        if (!typed.isEmpty()) {
            dialog->Edit()->end(false);
            QTest::keyClicks(dialog->Edit(), typed);
        }
        auto* buttons = dialog->findChild<QDialogButtonBox*>();
        buttons->button(ok ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel)->click();
    });
}

TEST(TitleDialog, eachPageTextOpensWithItsCaptionLabelAndCurrentText) {
    struct Case {
        korvo::PageText which;
        const char* caption;
        const char* label;
    };
    const Case cases[] = {
        {korvo::PageText::Title, "Edit Puzzle Title", "Puzzle Title:"},
        {korvo::PageText::AnswerTitle, "Edit Answer Title", "Answer Title:"},
        {korvo::PageText::Copyright, "Edit Puzzle Copyright", "Puzzle Copyright:"},
        {korvo::PageText::Author, "Edit Author", "Author:"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        Seen seen;
        AnswerTitleDialog(seen, true);
        const std::optional<std::u16string> result = AskPageText(nullptr, c.which, u"Current \u00e9 text");
        EXPECT_EQ(seen.caption, QString::fromUtf8(c.caption));
        EXPECT_EQ(seen.label, QString::fromUtf8(c.label));
        EXPECT_EQ(seen.text, QString::fromUtf16(u"Current \u00e9 text"));
        EXPECT_EQ(seen.maxLength, 60);
        ASSERT_TRUE(result.has_value());
        EXPECT_EQ(*result, u"Current \u00e9 text");
    }
}

TEST(TitleDialog, okReturnsTheEditedTextAndCancelNothing) {
    Seen seen;
    AnswerTitleDialog(seen, true, QStringLiteral("New Title"), true);
    EXPECT_EQ(AskPageText(nullptr, korvo::PageText::Title, u"Old"), std::optional<std::u16string>(u"New Title"));

    AnswerTitleDialog(seen, false, QStringLiteral("Ignored"), true);
    EXPECT_EQ(AskPageText(nullptr, korvo::PageText::Title, u"Old"), std::nullopt);

    // An emptied text is a valid answer.
    AnswerTitleDialog(seen, true, QString(), true);
    EXPECT_EQ(AskPageText(nullptr, korvo::PageText::Author, u"Old"), std::optional<std::u16string>(u""));
}

TEST(TitleDialog, takesNoMoreThanSixtyCharacters) {
    Seen seen;
    AnswerTitleDialog(seen, true, QString(70, QLatin1Char('x')), true);
    const std::optional<std::u16string> result = AskPageText(nullptr, korvo::PageText::Title, u"");
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(*result, std::u16string(60, u'x'));

    // A longer starting text is cut to the limit as the dialog opens.
    AnswerTitleDialog(seen, true);
    EXPECT_EQ(AskPageText(nullptr, korvo::PageText::Title, std::u16string(65, u'y')),
              std::optional<std::u16string>(std::u16string(60, u'y')));
}

TEST(TitleDialog, wordEntryShowsTheRunLength) {
    Seen seen;
    AnswerTitleDialog(seen, true, QStringLiteral("abe"), true);
    const std::optional<std::u16string> result = AskWordEntry(nullptr, true, 3, u"A E");
    EXPECT_EQ(seen.caption, QStringLiteral("Edit Across Word"));
    EXPECT_EQ(seen.label, QStringLiteral("3 Letter Word:"));
    EXPECT_EQ(seen.text, QStringLiteral("A E"));
    EXPECT_EQ(result, std::optional<std::u16string>(u"abe"));

    AnswerTitleDialog(seen, false);
    EXPECT_EQ(AskWordEntry(nullptr, false, 15, u""), std::nullopt);
    EXPECT_EQ(seen.caption, QStringLiteral("Edit Down Word"));
    EXPECT_EQ(seen.label, QStringLiteral("15 Letter Word:"));
}

TEST(TitleDialog, defaultsAreThoseOfThePuzzleTitle) {
    CTitleDialog dialog;
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Edit Puzzle Title"));
    EXPECT_EQ(dialog.Label()->text(), QStringLiteral("Puzzle Title:"));
    EXPECT_TRUE(dialog.Edit()->text().isEmpty());
}

}  // namespace
