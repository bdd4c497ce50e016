#pragma once

// The rules of the appearance commands: colours, fonts, the underlined
// title, the four page texts and the Page Layout dialog's margins. The
// window layer opens the dialogs and hands their answers to these
// functions; every check, message text and modified-flag rule lives here.
//
// After a call that reports a change, the caller invalidates the puzzle
// page's layout and repaints.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/win_types.h"

namespace korvo {

class CkorvoDoc;

// ---------------------------------------------------------------------------
// Colours and fonts

enum class AppearanceColor {
    Grid,   // gridColor
    Clues,  // cluesColor
    Title,  // titleColor
};

enum class AppearanceFont {
    Grid,   // gridFont
    Title,  // titleFont
    Clue,   // clueFont (scalable outline faces only)
};

// The current value of a colour or font field.
COLORREF CurrentColor(const CkorvoDoc& doc, AppearanceColor which);
const LOGFONTW& CurrentFont(const CkorvoDoc& doc, AppearanceFont which);

// Whether choosing a colour or a font marks the document modified: the grid
// settings only once the puzzle is filled (before that they belong to the
// designer's picture, not to a puzzle that could be saved), the others always.
bool ColorChoiceMarksModified(AppearanceColor which, std::int32_t status);
bool FontChoiceMarksModified(AppearanceFont which, std::int32_t status);

// Stores the colour chosen in the colour picker, marking the document
// modified by the rule above.
void ApplyColorChoice(CkorvoDoc& doc, AppearanceColor which, COLORREF color);

// Stores the font chosen in the font picker. Face and style (weight, italic,
// underline, strike-out, character set, pitch and family) come from chosen;
// the size does not, since every paint computes it: the field keeps its
// height and width. The title font's underline then follows underlinedTitle.
void ApplyFontChoice(CkorvoDoc& doc, AppearanceFont which, const LOGFONTW& chosen);

// Underlined Title: inverts underlinedTitle, sets the title font's underline
// to the new value and marks the document modified.
void ToggleUnderlinedTitle(CkorvoDoc& doc);

// ---------------------------------------------------------------------------
// Page texts and the one-line text dialog

// The one-line text dialog takes at most this many characters.
inline constexpr int kTitleDialogMaxLength = 60;

enum class PageText {
    Title,        // CCWData::title, mirrored in titleText
    AnswerTitle,  // CCWData::answerTitle, mirrored in answerTitleText
    Copyright,    // CCWData::copyright, mirrored in copyrightText
    Author,       // CCWData::author, mirrored in authorText
};

// Caption and label of the one-line text dialog for one use.
struct TitleDialogTexts {
    std::u16string caption;  // the window title
    std::u16string label;    // the text left of the edit box
};

// "Edit Puzzle Title" / "Puzzle Title:", "Edit Answer Title" / "Answer
// Title:", "Edit Puzzle Copyright" / "Puzzle Copyright:", "Edit Author" /
// "Author:".
TitleDialogTexts PageTextDialogTexts(PageText which);
// Word entry into a run of length squares: "Edit Across Word" or "Edit Down
// Word", labelled "<length> Letter Word:".
TitleDialogTexts WordEntryDialogTexts(bool across, int length);

// The message shown when a text is longer than maxLength characters:
// "Enter no more than <maxLength> characters."
std::u16string TextTooLongMessage(int maxLength);

// The text as the puzzle holds it (empty without a puzzle).
std::u16string CurrentPageText(const CkorvoDoc& doc, PageText which);

// The text dialog's OK: a value that differs from the current one (exact,
// case-sensitive) is stored in the puzzle and in the document's mirror, and
// the document is marked modified. Characters past the dialog's limit are
// dropped. Returns true when something changed; an unchanged value, or no
// puzzle, changes nothing.
bool ApplyPageText(CkorvoDoc& doc, PageText which, const std::u16string& value);

// ---------------------------------------------------------------------------
// Page Layout: the margins dialog

// The dialog's margins are hundredths of an inch in this range.
inline constexpr int kMarginFieldMin = 25;
inline constexpr int kMarginFieldMax = 650;
// Each page dimension must keep this much (page units) after a pair of
// margins is taken away.
inline constexpr int kMinPageAfterMargins = 2500;

inline constexpr char16_t kEnterIntegerMessage[] = u"Enter an integer.";
inline constexpr char16_t kLeftRightMarginsMessage[] = u"Right and Left margins are out of range.";
inline constexpr char16_t kTopBottomMarginsMessage[] = u"Top and Bottom margins are out of range.";

// "Enter an integer between <low> and <high>."
std::u16string IntegerRangeMessage(int low, int high);

// The integer exchange and range check of one margin edit: the value, or
// the message that keeps the dialog open ("Enter an integer." for a text
// that is not a number, the range message for a number outside 25..650).
struct MarginFieldCheck {
    bool ok = false;
    int value = 0;           // valid when ok
    std::u16string message;  // set when not ok
};
MarginFieldCheck CheckMarginField(std::u16string_view text);

// The values the dialog shows and returns, in hundredths of an inch.
struct LayoutDialogValues {
    std::int32_t left = 0;
    std::int32_t right = 0;
    std::int32_t top = 0;
    std::int32_t bottom = 0;
    bool rightSide = false;  // the puzzle grid on the right of the page

    friend bool operator==(const LayoutDialogValues&, const LayoutDialogValues&) = default;
};

// The dialog's initial values: each margin / 10 (truncating) and the grid's side.
LayoutDialogValues LayoutDialogValuesFrom(const CkorvoDoc& doc);

// True when a pair of margins (hundredths) leaves at least 2.5 inches of a
// page of pageWidth x pageHeight units in both dimensions.
bool MarginPairFits(std::int32_t first, std::int32_t second, std::int32_t pageWidth, std::int32_t pageHeight);

// What the dialog's OK did.
struct PageLayoutOutcome {
    bool leftRightStored = false;  // the left and right margins took the new values
    bool topBottomStored = false;  // the top and bottom margins took the new values
};

// The dialog's OK: each pair of margins is tested against the page and
// stored (in thousandths) or refused with its error message; the two pairs
// are independent. Then the page metrics are renewed, the grid's side is
// set and the document is marked modified.
PageLayoutOutcome ApplyPageLayout(CkorvoDoc& doc, const LayoutDialogValues& values);

}  // namespace korvo
