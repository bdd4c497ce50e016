#include "document/appearance.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "document/ckorvo_doc.h"
#include "model/generation_status.h"

namespace korvo {
namespace {

std::u16string Widen(const std::string& ascii) { return std::u16string(ascii.begin(), ascii.end()); }

std::int32_t PuzzleStatus(const CkorvoDoc& doc) {
    return doc.cwData ? doc.cwData->GetStatus() : static_cast<std::int32_t>(StatusDesigning);
}

// The field of a colour or font, const or not as the document is.
template <class Doc>
auto& ColorField(Doc& doc, AppearanceColor which) {
    switch (which) {
        case AppearanceColor::Grid: return doc.gridColor;
        case AppearanceColor::Clues: return doc.cluesColor;
        case AppearanceColor::Title: break;
    }
    return doc.titleColor;
}

template <class Doc>
auto& FontField(Doc& doc, AppearanceFont which) {
    switch (which) {
        case AppearanceFont::Grid: return doc.gridFont;
        case AppearanceFont::Clue: return doc.clueFont;
        case AppearanceFont::Title: break;
    }
    return doc.titleFont;
}

std::u16string& PuzzleTextField(CCWData& puzzle, PageText which) {
    switch (which) {
        case PageText::Title: return puzzle.title;
        case PageText::AnswerTitle: return puzzle.answerTitle;
        case PageText::Copyright: return puzzle.copyright;
        case PageText::Author: break;
    }
    return puzzle.author;
}

// A pair the dialog could not have produced (outside 25..650) is refused
// like one that leaves too little page.
bool PairAcceptable(std::int32_t first, std::int32_t second, const CkorvoDoc& doc) {
    auto inRange = [](std::int32_t v) { return v >= kMarginFieldMin && v <= kMarginFieldMax; };
    return inRange(first) && inRange(second) && MarginPairFits(first, second, doc.pageWidth, doc.pageHeight);
}

std::u16string& MirrorField(CkorvoDoc& doc, PageText which) {
    switch (which) {
        case PageText::Title: return doc.titleText;
        case PageText::AnswerTitle: return doc.answerTitleText;
        case PageText::Copyright: return doc.copyrightText;
        case PageText::Author: break;
    }
    return doc.authorText;
}

}  // namespace

// ---------------------------------------------------------------------------
// Colours and fonts

COLORREF CurrentColor(const CkorvoDoc& doc, AppearanceColor which) { return ColorField(doc, which); }

const LOGFONTW& CurrentFont(const CkorvoDoc& doc, AppearanceFont which) { return FontField(doc, which); }

bool ColorChoiceMarksModified(AppearanceColor which, std::int32_t status) {
    return which != AppearanceColor::Grid || status == StatusFilled;
}

bool FontChoiceMarksModified(AppearanceFont which, std::int32_t status) {
    return which != AppearanceFont::Grid || status == StatusFilled;
}

void ApplyColorChoice(CkorvoDoc& doc, AppearanceColor which, COLORREF color) {
    ColorField(doc, which) = color;
    if (ColorChoiceMarksModified(which, PuzzleStatus(doc))) doc.SetModifiedFlag();
}

void ApplyFontChoice(CkorvoDoc& doc, AppearanceFont which, const LOGFONTW& chosen) {
    LOGFONTW& field = FontField(doc, which);
    const std::int32_t height = field.lfHeight;
    const std::int32_t width = field.lfWidth;
    field = chosen;
    field.lfHeight = height;
    field.lfWidth = width;
    if (which == AppearanceFont::Title) field.lfUnderline = doc.underlinedTitle ? 1 : 0;
    if (FontChoiceMarksModified(which, PuzzleStatus(doc))) doc.SetModifiedFlag();
}

void ToggleUnderlinedTitle(CkorvoDoc& doc) {
    doc.underlinedTitle = !doc.underlinedTitle;
    doc.titleFont.lfUnderline = doc.underlinedTitle ? 1 : 0;
    doc.SetModifiedFlag();
}

// ---------------------------------------------------------------------------
// Page texts

TitleDialogTexts PageTextDialogTexts(PageText which) {
    switch (which) {
        case PageText::Title: return {u"Edit Puzzle Title", u"Puzzle Title:"};
        case PageText::AnswerTitle: return {u"Edit Answer Title", u"Answer Title:"};
        case PageText::Copyright: return {u"Edit Puzzle Copyright", u"Puzzle Copyright:"};
        case PageText::Author: break;
    }
    return {u"Edit Author", u"Author:"};
}

TitleDialogTexts WordEntryDialogTexts(bool across, int length) {
    return {across ? u"Edit Across Word" : u"Edit Down Word", Widen(std::to_string(length)) + u" Letter Word:"};
}

std::u16string TextTooLongMessage(int maxLength) {
    return u"Enter no more than " + Widen(std::to_string(maxLength)) + u" characters.";
}

std::u16string CurrentPageText(const CkorvoDoc& doc, PageText which) {
    if (!doc.cwData) return {};
    return PuzzleTextField(*doc.cwData, which);
}

bool ApplyPageText(CkorvoDoc& doc, PageText which, const std::u16string& value) {
    if (!doc.cwData) return false;
    const std::u16string kept = value.substr(0, kTitleDialogMaxLength);
    std::u16string& field = PuzzleTextField(*doc.cwData, which);
    if (kept == field) return false;
    field = kept;
    MirrorField(doc, which) = kept;
    doc.SetModifiedFlag();
    return true;
}

// ---------------------------------------------------------------------------
// Page Layout

std::u16string IntegerRangeMessage(int low, int high) {
    return u"Enter an integer between " + Widen(std::to_string(low)) + u" and " + Widen(std::to_string(high)) + u".";
}

MarginFieldCheck CheckMarginField(std::u16string_view text) {
    MarginFieldCheck out;
    // An optional sign and at least one digit, with blanks around them.
    std::size_t i = 0;
    auto blank = [&](std::size_t at) { return text[at] == u' ' || text[at] == u'\t'; };
    while (i < text.size() && blank(i)) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) negative = text[i++] == u'-';
    const std::size_t digitsStart = i;
    // Values are accumulated up to a bound well above the range, so a long
    // run of digits is still a number, only one out of range.
    constexpr std::int64_t kBound = 1'000'000'000;
    std::int64_t magnitude = 0;
    while (i < text.size() && text[i] >= u'0' && text[i] <= u'9') {
        magnitude = std::min<std::int64_t>(kBound, magnitude * 10 + (text[i] - u'0'));
        ++i;
    }
    const bool hasDigits = i > digitsStart;
    while (i < text.size() && blank(i)) ++i;
    if (!hasDigits || i != text.size()) {
        out.message = kEnterIntegerMessage;
        return out;
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value < kMarginFieldMin || value > kMarginFieldMax) {
        out.message = IntegerRangeMessage(kMarginFieldMin, kMarginFieldMax);
        return out;
    }
    out.ok = true;
    out.value = static_cast<int>(value);
    return out;
}

LayoutDialogValues LayoutDialogValuesFrom(const CkorvoDoc& doc) {
    return LayoutDialogValues{doc.marginLeft / 10, doc.marginRight / 10, doc.marginTop / 10, doc.marginBottom / 10,
                              doc.rightSideGrid};
}

bool MarginPairFits(std::int32_t first, std::int32_t second, std::int32_t pageWidth, std::int32_t pageHeight) {
    const std::int64_t s = (static_cast<std::int64_t>(first) + second) * 10;
    return pageWidth - s >= kMinPageAfterMargins && pageHeight - s >= kMinPageAfterMargins;
}

PageLayoutOutcome ApplyPageLayout(CkorvoDoc& doc, const LayoutDialogValues& values) {
    PageLayoutOutcome out;
    if (PairAcceptable(values.left, values.right, doc)) {
        doc.marginLeft = values.left * 10;
        doc.marginRight = values.right * 10;
        out.leftRightStored = true;
    } else {
        doc.host.MessageBox(kLeftRightMarginsMessage, MessageIcon::Error);
    }
    if (PairAcceptable(values.top, values.bottom, doc)) {
        doc.marginTop = values.top * 10;
        doc.marginBottom = values.bottom * 10;
        out.topBottomStored = true;
    } else {
        doc.host.MessageBox(kTopBottomMarginsMessage, MessageIcon::Error);
    }
    doc.ComputePageMetrics();
    doc.rightSideGrid = values.rightSide;
    doc.SetModifiedFlag();
    return out;
}

}  // namespace korvo
