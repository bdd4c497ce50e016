#pragma once

#include <QFont>
#include <QFontMetricsF>

#include <map>
#include <string_view>
#include <tuple>

#include "document/page_layout.h"
#include "platform/win_types.h"

class QPaintDevice;

namespace korvo::view {

// Text flags of word-wrapped clue texts: measuring and drawing use the same
// ones, so a text takes on the page the height it was measured with.
inline constexpr int kWrappedTextFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;

// The face and style of a font description: family, weight, italic,
// underline, strike-out. The size is set by PageFont.
QFont FontFace(const LOGFONTW& font);

// The font of a description at a size in page units, for a painter whose
// transform maps page units to the device (one font pixel is one page
// unit). A negative height is the character height (the em, Qt's pixel
// size); a positive height is the full line height, ascent plus descent,
// so the pixel size is found from the face's own metrics. A width above 0
// is the average character width, reached by stretching the face.
QFont PageFont(const LOGFONTW& font, FontSize size, QPaintDevice* device = nullptr);

// Measures the puzzle page's texts in page units with the fonts of the
// document: the title font, the grid font (for numbers and answer
// letters) and the clue font, each at the size the layout asks for.
// Metrics are taken for the given paint device (the screen widget, a
// printer, an image), whose painter draws under the page transform.
class QtTextMeasurer : public TextMeasurer {
public:
    QtTextMeasurer(const LOGFONTW& titleFont, const LOGFONTW& gridFont, const LOGFONTW& clueFont, QPaintDevice* device);

    // The font a role is drawn with at a size.
    QFont Font(FontRole role, FontSize size);

    TextExtent Extent(FontRole role, FontSize size, std::u16string_view text) override;
    int SpaceWidth(FontRole role, FontSize size) override;
    WrappedExtent Wrapped(FontRole role, FontSize size, std::u16string_view text, int boxWidth) override;

private:
    struct Entry {
        QFont font;
        QFontMetricsF metrics;
    };
    Entry& Lookup(FontRole role, FontSize size);
    const LOGFONTW& Description(FontRole role) const;

    LOGFONTW titleFont_;
    LOGFONTW gridFont_;
    LOGFONTW clueFont_;
    QPaintDevice* device_;  // not owned; null: the default screen metrics
    // Fonts already made, by role, height and width: a clue-font fit
    // measures every clue at each candidate size.
    std::map<std::tuple<int, int, int>, Entry> cache_;
};

}  // namespace korvo::view
