// The colour and font pickers: opened on the current value, answering in
// the document's descriptions; OK without a change keeps the face.
#include "appearance_pickers.h"

#include <QColorDialog>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <optional>

#include "modal_answer.h"

namespace {

korvo::LOGFONTW Face(const char16_t* name, int weight = 0, bool italic = false) {
    korvo::LOGFONTW font{};
    font.lfHeight = -12;
    font.lfOutPrecision = 8;
    font.lfPitchAndFamily = 2;
    font.lfWeight = weight;
    font.lfItalic = italic ? 1 : 0;
    korvo::SetFaceName(font, name);
    return font;
}

TEST(AppearancePickers, coloursConvertBothWays) {
    const korvo::COLORREF color = korvo::MakeColorRef(10, 200, 30);
    EXPECT_EQ(ColorFromRef(color), QColor(10, 200, 30));
    EXPECT_EQ(ColorRefFromQColor(QColor(10, 200, 30)), color);
    EXPECT_EQ(ColorRefFromQColor(QColor::fromHsv(0, 255, 255)), korvo::MakeColorRef(255, 0, 0));
}

TEST(AppearancePickers, colourDialogOpensOnTheCurrentColourAndAnswersTheChoice) {
    QColor opened;
    AnswerNextModal<QColorDialog>([&opened](QColorDialog* dialog) {
        opened = dialog->currentColor();
        dialog->setCurrentColor(QColor(1, 2, 3));
        dialog->accept();
    });
    EXPECT_EQ(PickColor(nullptr, korvo::MakeColorRef(40, 50, 60)),
              std::optional<korvo::COLORREF>(korvo::MakeColorRef(1, 2, 3)));
    EXPECT_EQ(opened, QColor(40, 50, 60));

    AnswerNextModal<QColorDialog>([](QColorDialog* dialog) { dialog->reject(); });
    EXPECT_EQ(PickColor(nullptr, 0), std::nullopt);
}

TEST(AppearancePickers, fontDialogWithoutAChangeKeepsTheFace) {
    const korvo::LOGFONTW arial = Face(u"Arial", 700, true);
    QFont opened;
    AnswerNextModal<QFontDialog>([&opened](QFontDialog* dialog) {
        opened = dialog->currentFont();
        dialog->accept();
    });
    const std::optional<korvo::LOGFONTW> result = PickFont(nullptr, arial, false);
    ASSERT_TRUE(result.has_value());
    // The dialog shows the family the description is drawn with.
    EXPECT_EQ(opened.family(), ResolvedFamily(arial));
    EXPECT_EQ(korvo::FaceName(*result), u"Arial");
    EXPECT_EQ(result->lfWeight, 700);
    EXPECT_EQ(result->lfItalic, 1);
    // The fields the picker has no say in stay.
    EXPECT_EQ(result->lfHeight, -12);
    EXPECT_EQ(result->lfOutPrecision, 8);
    EXPECT_EQ(result->lfPitchAndFamily, 2);
}

TEST(AppearancePickers, fontDialogAnswersAnotherFaceAndStyle) {
    const QString serif = QFontInfo(QFont(QStringLiteral("Liberation Serif"))).family();
    AnswerNextModal<QFontDialog>([&serif](QFontDialog* dialog) {
        // The clue font's picker lists scalable fonts only.
        EXPECT_TRUE(dialog->testOption(QFontDialog::ScalableFonts));
        QFont chosen(serif);
        chosen.setWeight(QFont::Normal);
        chosen.setItalic(false);
        chosen.setUnderline(true);
        dialog->setCurrentFont(chosen);
        dialog->accept();
    });
    const std::optional<korvo::LOGFONTW> result = PickFont(nullptr, Face(u"Arial", 700, true), true);
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(QString::fromStdU16String(korvo::FaceName(*result)), serif);
    EXPECT_EQ(result->lfWeight, 400);
    EXPECT_EQ(result->lfItalic, 0);
    EXPECT_EQ(result->lfUnderline, 1);

    AnswerNextModal<QFontDialog>([](QFontDialog* dialog) {
        EXPECT_FALSE(dialog->testOption(QFontDialog::ScalableFonts));
        dialog->reject();
    });
    EXPECT_EQ(PickFont(nullptr, Face(u"Arial"), false), std::nullopt);
}

// Every paint computes the font sizes, so a size offered in the dialog
// would have no effect: no list, field or label of sizes is shown.
TEST(AppearancePickers, fontDialogOffersNoSize) {
    for (bool scalableOnly : {false, true}) {
        QStringList shown;
        AnswerNextModal<QFontDialog>([&shown](QFontDialog* dialog) {
            const QRegularExpression number(QStringLiteral("^\\d+(\\.\\d+)?$"));
            for (QListView* list : dialog->findChildren<QListView*>()) {
                if (!list->isVisible() || list->model() == nullptr) continue;
                for (int row = 0; row < list->model()->rowCount(); ++row) {
                    const QString item = list->model()->index(row, 0).data().toString();
                    if (number.match(item).hasMatch()) shown << QStringLiteral("size item ") + item;
                }
            }
            for (QLineEdit* edit : dialog->findChildren<QLineEdit*>())
                if (edit->isVisible() && number.match(edit->text()).hasMatch())
                    shown << QStringLiteral("size field ") + edit->text();
            for (QLabel* label : dialog->findChildren<QLabel*>())
                if (label->isVisible() && label->text().remove(QLatin1Char('&')) == QStringLiteral("Size"))
                    shown << QStringLiteral("size label");
            // Family and style are still offered.
            int lists = 0;
            for (QListView* list : dialog->findChildren<QListView*>()) lists += list->isVisible() ? 1 : 0;
            EXPECT_EQ(lists, 2);
            dialog->accept();
        });
        EXPECT_TRUE(PickFont(nullptr, Face(u"Arial"), scalableOnly).has_value());
        EXPECT_TRUE(shown.isEmpty()) << shown.join(QStringLiteral(", ")).toStdString();
    }
}

}  // namespace
