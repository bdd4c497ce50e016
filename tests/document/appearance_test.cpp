// The rules of the appearance commands: the margins dialog's checks and
// messages, the margin pairs against the page, the modified flag of each
// command, the page texts and the title's underline.
#include "document/appearance.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/document_fixture.h"
#include "model/generation_status.h"

namespace korvo::testsupport {
namespace {

// A document with a new puzzle on the fallback page (no printer: 8000 x
// 10500 units, printer margins equal to the user margins of 250).
class AppearanceTest : public DocumentTest {
protected:
    AppearanceTest() {
        PrepareInstalledDataFolder();
        doc = MakeDocument();
        doc->OnNewDocument();
        doc->SetModifiedFlag(false);
        host.messages.clear();
    }

    std::unique_ptr<CkorvoDoc> doc;
};

TEST(MarginFieldTest, eachTextGivesItsValueOrTheMessageThatKeepsTheDialogOpen) {
    const std::u16string range = u"Enter an integer between 25 and 650.";
    struct Case {
        std::u16string text;
        bool ok;
        int value;
        std::u16string message;
    };
    const std::vector<Case> cases = {
        {u"25", true, 25, u""},
        {u"650", true, 650, u""},
        {u"250", true, 250, u""},
        {u" 100 ", true, 100, u""},
        {u"0075", true, 75, u""},
        {u"24", false, 0, range},
        {u"20", false, 0, range},
        {u"651", false, 0, range},
        {u"0", false, 0, range},
        {u"-30", false, 0, range},
        {u"99999999999999999999", false, 0, range},
        {u"", false, 0, u"Enter an integer."},
        {u"   ", false, 0, u"Enter an integer."},
        {u"abc", false, 0, u"Enter an integer."},
        {u"12a", false, 0, u"Enter an integer."},
        {u"1 2", false, 0, u"Enter an integer."},
        {u"-", false, 0, u"Enter an integer."},
        {u"2.5", false, 0, u"Enter an integer."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text.begin(), c.text.end()));
        const MarginFieldCheck check = CheckMarginField(c.text);
        EXPECT_EQ(check.ok, c.ok);
        if (c.ok) {
            EXPECT_EQ(check.value, c.value);
        }
        EXPECT_EQ(check.message, c.message);
    }
}

TEST(MarginFieldTest, pairTestNeedsTwoAndAHalfInchesInBothDimensions) {
    // Page 8000 x 10500: s = (first + second) * 10 must leave 2500 of the width.
    EXPECT_TRUE(MarginPairFits(250, 250, 8000, 10500));
    EXPECT_TRUE(MarginPairFits(275, 275, 8000, 10500));   // 8000 - 5500 = 2500 exactly
    EXPECT_FALSE(MarginPairFits(276, 275, 8000, 10500));  // 2490
    EXPECT_FALSE(MarginPairFits(400, 400, 8000, 10500));
    // A wide page: the height decides.
    EXPECT_FALSE(MarginPairFits(400, 400, 11000, 8000));
    EXPECT_TRUE(MarginPairFits(275, 275, 11000, 8000));
}

TEST(AppearanceTextsTest, dialogsCarryTheirCaptionsAndLabels) {
    struct Case {
        PageText which;
        std::u16string caption;
        std::u16string label;
    };
    const Case cases[] = {
        {PageText::Title, u"Edit Puzzle Title", u"Puzzle Title:"},
        {PageText::AnswerTitle, u"Edit Answer Title", u"Answer Title:"},
        {PageText::Copyright, u"Edit Puzzle Copyright", u"Puzzle Copyright:"},
        {PageText::Author, u"Edit Author", u"Author:"},
    };
    for (const Case& c : cases) {
        const TitleDialogTexts texts = PageTextDialogTexts(c.which);
        EXPECT_EQ(texts.caption, c.caption);
        EXPECT_EQ(texts.label, c.label);
    }
    EXPECT_EQ(WordEntryDialogTexts(true, 5).caption, u"Edit Across Word");
    EXPECT_EQ(WordEntryDialogTexts(true, 5).label, u"5 Letter Word:");
    EXPECT_EQ(WordEntryDialogTexts(false, 13).caption, u"Edit Down Word");
    EXPECT_EQ(WordEntryDialogTexts(false, 13).label, u"13 Letter Word:");
    EXPECT_EQ(TextTooLongMessage(kTitleDialogMaxLength), u"Enter no more than 60 characters.");
    EXPECT_EQ(IntegerRangeMessage(kMarginFieldMin, kMarginFieldMax), u"Enter an integer between 25 and 650.");
}

TEST_F(AppearanceTest, pageLayout_testsEachPairOnItsOwnAndKeepsARefusedPair) {
    const std::u16string leftRight = u"Right and Left margins are out of range.";
    const std::u16string topBottom = u"Top and Bottom margins are out of range.";
    struct Case {
        const char* name;
        LayoutDialogValues values;
        std::vector<std::u16string> messages;
        std::int32_t left, right, top, bottom;  // the stored margins afterwards
    };
    const Case cases[] = {
        {"all accepted", {250, 260, 270, 275, true}, {}, 2500, 2600, 2700, 2750},
        {"left and right refused", {400, 400, 250, 250, true}, {leftRight}, 2500, 2500, 2500, 2500},
        // The height would allow 8000, the width does not.
        {"top and bottom refused by the width", {250, 250, 400, 400, true}, {topBottom}, 2500, 2500, 2500, 2500},
        {"both refused, in order", {400, 400, 400, 400, true}, {leftRight, topBottom}, 2500, 2500, 2500, 2500},
        {"exactly 2.5 inches left", {275, 275, 25, 650, true}, {topBottom}, 2750, 2750, 2500, 2500},
        {"smallest margins", {25, 25, 25, 25, true}, {}, 250, 250, 250, 250},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        doc->marginLeft = doc->marginRight = doc->marginTop = doc->marginBottom = 2500;
        doc->SetModifiedFlag(false);
        host.messages.clear();

        const PageLayoutOutcome outcome = ApplyPageLayout(*doc, c.values);

        EXPECT_EQ(host.MessageTexts(), c.messages);
        for (const RecordedMessage& m : host.messages) EXPECT_EQ(m.icon, MessageIcon::Error);
        EXPECT_EQ(outcome.leftRightStored, c.left == c.values.left * 10);
        EXPECT_EQ(outcome.topBottomStored, c.top == c.values.top * 10);
        EXPECT_EQ(doc->marginLeft, c.left);
        EXPECT_EQ(doc->marginRight, c.right);
        EXPECT_EQ(doc->marginTop, c.top);
        EXPECT_EQ(doc->marginBottom, c.bottom);
        // The page metrics ran: without a printer the printer margins are the user margins.
        EXPECT_EQ(doc->printMarginLeft, c.left);
        EXPECT_EQ(doc->printMarginBottom, c.bottom);
        EXPECT_EQ(doc->pageWidth, 8000);
        EXPECT_EQ(doc->pageHeight, 10500);
        // Even a fully refused layout is an OK: the document counts as modified.
        EXPECT_TRUE(doc->IsModified());
    }
}

TEST_F(AppearanceTest, pageLayout_showsHundredthsAndStoresThousandths) {
    doc->marginLeft = 259;
    doc->marginRight = 1234;
    doc->marginTop = 250;
    doc->marginBottom = 999;
    doc->rightSideGrid = true;
    const LayoutDialogValues shown = LayoutDialogValuesFrom(*doc);
    EXPECT_EQ(shown, (LayoutDialogValues{25, 123, 25, 99, true}));

    ApplyPageLayout(*doc, shown);
    EXPECT_EQ(doc->marginLeft, 250);
    EXPECT_EQ(doc->marginRight, 1230);
    EXPECT_EQ(doc->marginTop, 250);
    EXPECT_EQ(doc->marginBottom, 990);
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(AppearanceTest, pageLayout_setsTheGridSideWhateverTheMargins) {
    for (bool side : {false, true}) {
        ApplyPageLayout(*doc, LayoutDialogValues{400, 400, 400, 400, side});
        EXPECT_EQ(doc->rightSideGrid, side);
        EXPECT_EQ(LayoutDialogValuesFrom(*doc).rightSide, side);
    }
}

TEST_F(AppearanceTest, pageLayout_refusesValuesOutsideTheDialogRange) {
    ApplyPageLayout(*doc, LayoutDialogValues{-100000, 10, 0, 651, true});
    EXPECT_EQ(host.MessageTexts(), (std::vector<std::u16string>{u"Right and Left margins are out of range.",
                                                                u"Top and Bottom margins are out of range."}));
    EXPECT_EQ(doc->marginLeft, 250);
    EXPECT_EQ(doc->marginBottom, 250);
}

TEST_F(AppearanceTest, colorChoice_storesTheColourAndMarksModifiedByItsRule) {
    struct Case {
        AppearanceColor which;
        std::int32_t status;
        bool modified;
    };
    const Case cases[] = {
        {AppearanceColor::Grid, StatusDesigning, false}, {AppearanceColor::Grid, StatusGenerating, false},
        {AppearanceColor::Grid, StatusExhausted, false}, {AppearanceColor::Grid, StatusFilled, true},
        {AppearanceColor::Clues, StatusDesigning, true}, {AppearanceColor::Clues, StatusFilled, true},
        {AppearanceColor::Title, StatusDesigning, true}, {AppearanceColor::Title, StatusFilled, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.which) * 10 + c.status);
        doc->cwData->SetStatus(c.status);
        doc->SetModifiedFlag(false);
        const COLORREF color = MakeColorRef(0x12, 0x34, static_cast<std::uint8_t>(0x50 + c.status));
        ApplyColorChoice(*doc, c.which, color);
        EXPECT_EQ(CurrentColor(*doc, c.which), color);
        EXPECT_EQ(doc->IsModified(), c.modified);
        EXPECT_EQ(ColorChoiceMarksModified(c.which, c.status), c.modified);
    }
    EXPECT_EQ(doc->gridColor, CurrentColor(*doc, AppearanceColor::Grid));
    EXPECT_EQ(doc->cluesColor, CurrentColor(*doc, AppearanceColor::Clues));
    EXPECT_EQ(doc->titleColor, CurrentColor(*doc, AppearanceColor::Title));
}

TEST_F(AppearanceTest, fontChoice_takesFaceAndStyleButNotTheSize) {
    LOGFONTW chosen{};
    chosen.lfHeight = -40;
    chosen.lfWidth = 17;
    chosen.lfWeight = 700;
    chosen.lfItalic = 1;
    chosen.lfUnderline = 1;
    SetFaceName(chosen, u"Liberation Serif");

    struct Case {
        AppearanceFont which;
        std::int32_t status;
        bool modified;
    };
    const Case cases[] = {
        {AppearanceFont::Grid, StatusDesigning, false},
        {AppearanceFont::Grid, StatusFilled, true},
        {AppearanceFont::Title, StatusDesigning, true},
        {AppearanceFont::Clue, StatusDesigning, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.which) * 10 + c.status);
        doc->cwData->SetStatus(c.status);
        doc->SetModifiedFlag(false);
        doc->underlinedTitle = false;
        LOGFONTW before = CurrentFont(*doc, c.which);
        before.lfHeight = 321;
        before.lfWidth = 0;
        const_cast<LOGFONTW&>(CurrentFont(*doc, c.which)) = before;

        ApplyFontChoice(*doc, c.which, chosen);

        const LOGFONTW& now = CurrentFont(*doc, c.which);
        EXPECT_EQ(FaceName(now), u"Liberation Serif");
        EXPECT_EQ(now.lfWeight, 700);
        EXPECT_EQ(now.lfItalic, 1);
        EXPECT_EQ(now.lfHeight, 321);
        EXPECT_EQ(now.lfWidth, 0);
        // The title's underline follows the Underlined Title setting, not the picker.
        EXPECT_EQ(now.lfUnderline, c.which == AppearanceFont::Title ? 0 : 1);
        EXPECT_EQ(doc->IsModified(), c.modified);
        EXPECT_EQ(FontChoiceMarksModified(c.which, c.status), c.modified);
    }
}

TEST_F(AppearanceTest, underlinedTitle_keepsTheTitleFontUnderlineEqualAndTwiceRestores) {
    doc->underlinedTitle = true;
    doc->titleFont.lfUnderline = 1;
    const LOGFONTW original = doc->titleFont;

    ToggleUnderlinedTitle(*doc);
    EXPECT_FALSE(doc->underlinedTitle);
    EXPECT_EQ(doc->titleFont.lfUnderline, 0);
    EXPECT_TRUE(doc->IsModified());

    ToggleUnderlinedTitle(*doc);
    EXPECT_TRUE(doc->underlinedTitle);
    EXPECT_EQ(doc->titleFont, original);
    // The other fonts are never underlined by it.
    EXPECT_EQ(doc->gridFont.lfUnderline, 0);
}

TEST_F(AppearanceTest, pageText_storesPuzzleTextAndMirrorOnlyWhenChanged) {
    struct Case {
        PageText which;
        std::u16string CCWData::*field;
        std::u16string CkorvoDoc::*mirror;
    };
    const Case cases[] = {
        {PageText::Title, &CCWData::title, &CkorvoDoc::titleText},
        {PageText::AnswerTitle, &CCWData::answerTitle, &CkorvoDoc::answerTitleText},
        {PageText::Copyright, &CCWData::copyright, &CkorvoDoc::copyrightText},
        {PageText::Author, &CCWData::author, &CkorvoDoc::authorText},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.which));
        CCWData& puzzle = *doc->cwData;
        puzzle.*c.field = u"Old Text";
        (*doc).*c.mirror = u"Old Text";
        doc->SetModifiedFlag(false);

        // The same text again changes nothing.
        EXPECT_FALSE(ApplyPageText(*doc, c.which, u"Old Text"));
        EXPECT_FALSE(doc->IsModified());

        // Case counts.
        EXPECT_TRUE(ApplyPageText(*doc, c.which, u"old text"));
        EXPECT_EQ(puzzle.*c.field, u"old text");
        EXPECT_EQ((*doc).*c.mirror, u"old text");
        EXPECT_EQ(CurrentPageText(*doc, c.which), u"old text");
        EXPECT_TRUE(doc->IsModified());

        // Empty is accepted.
        EXPECT_TRUE(ApplyPageText(*doc, c.which, u""));
        EXPECT_EQ(puzzle.*c.field, u"");
        EXPECT_EQ((*doc).*c.mirror, u"");

        // The dialog's limit holds even for a longer value.
        const std::u16string longText(75, u'x');
        EXPECT_TRUE(ApplyPageText(*doc, c.which, longText));
        EXPECT_EQ(puzzle.*c.field, std::u16string(60, u'x'));
        EXPECT_EQ((*doc).*c.mirror, std::u16string(60, u'x'));
        doc->SetModifiedFlag(false);
        EXPECT_FALSE(ApplyPageText(*doc, c.which, longText));
        EXPECT_FALSE(doc->IsModified());
    }
}

TEST_F(AppearanceTest, pageText_withoutAPuzzleChangesNothing) {
    doc->cwData.reset();
    EXPECT_EQ(CurrentPageText(*doc, PageText::Title), u"");
    EXPECT_FALSE(ApplyPageText(*doc, PageText::Title, u"New"));
    EXPECT_FALSE(doc->IsModified());
    ApplyColorChoice(*doc, AppearanceColor::Grid, 0x123456);  // no puzzle: not filled
    EXPECT_FALSE(doc->IsModified());
}

}  // namespace
}  // namespace korvo::testsupport
