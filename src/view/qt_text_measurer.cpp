#include "qt_text_measurer.h"

#include <QPaintDevice>
#include <QRectF>
#include <QString>

#include <algorithm>
#include <cmath>
#include <string>

#include "qt_drawing.h"

namespace korvo::view {
namespace {

// The face's metrics are read at this pixel size to turn a line height or
// an average width into a pixel size or a stretch.
constexpr int kReferencePixels = 1000;
// Largest pixel size a font is given: far beyond any page, below Qt's limits.
constexpr int kMaxPixelSize = 100000;

QFontMetricsF MetricsFor(const QFont& font, QPaintDevice* device) {
    return device ? QFontMetricsF(font, device) : QFontMetricsF(font);
}

int CeilToInt(qreal value) {
    if (!(value > 0)) return 0;
    return static_cast<int>(std::min<qreal>(std::ceil(value - 1e-6), kMaxPageLength));
}

}  // namespace

QFont FontFace(const LOGFONTW& font) {
    QFont result = FontFromLogFont(font);
    // Page units are far finer than device pixels: hinting at the page size
    // would bend the advances away from what the device shows.
    result.setHintingPreference(QFont::PreferNoHinting);
    return result;
}

QFont PageFont(const LOGFONTW& description, FontSize size, QPaintDevice* device) {
    QFont font = FontFace(description);
    int pixels = 1;
    if (size.height < 0) {
        pixels = -size.height;
    } else if (size.height > 0) {
        QFont probe(font);
        probe.setPixelSize(kReferencePixels);
        const qreal lineHeight = MetricsFor(probe, device).height();
        pixels =
            lineHeight > 0 ? static_cast<int>(std::lround(size.height * kReferencePixels / lineHeight)) : size.height;
    }
    font.setPixelSize(std::clamp(pixels, 1, kMaxPixelSize));
    if (size.width > 0) {
        const qreal natural = MetricsFor(font, device).averageCharWidth();
        if (natural > 0)
            font.setStretch(std::clamp(static_cast<int>(std::lround(size.width * 100 / natural)), 1, 4000));
    }
    return font;
}

QtTextMeasurer::QtTextMeasurer(const LOGFONTW& titleFont, const LOGFONTW& gridFont, const LOGFONTW& clueFont,
                               QPaintDevice* device)
    : titleFont_(titleFont), gridFont_(gridFont), clueFont_(clueFont), device_(device) {}

const LOGFONTW& QtTextMeasurer::Description(FontRole role) const {
    switch (role) {
        case FontRole::Title: return titleFont_;
        case FontRole::Numbers:
        case FontRole::AnswerLetters: return gridFont_;
        case FontRole::Clue: break;
    }
    return clueFont_;
}

QtTextMeasurer::Entry& QtTextMeasurer::Lookup(FontRole role, FontSize size) {
    const auto key = std::make_tuple(static_cast<int>(role), size.height, size.width);
    auto found = cache_.find(key);
    if (found == cache_.end()) {
        QFont font = PageFont(Description(role), size, device_);
        QFontMetricsF metrics = MetricsFor(font, device_);
        found = cache_.emplace(key, Entry{font, metrics}).first;
    }
    return found->second;
}

QFont QtTextMeasurer::Font(FontRole role, FontSize size) { return Lookup(role, size).font; }

TextExtent QtTextMeasurer::Extent(FontRole role, FontSize size, std::u16string_view text) {
    const QFontMetricsF& metrics = Lookup(role, size).metrics;
    return TextExtent{CeilToInt(metrics.horizontalAdvance(ToQString(text))), CeilToInt(metrics.height())};
}

int QtTextMeasurer::SpaceWidth(FontRole role, FontSize size) {
    return CeilToInt(Lookup(role, size).metrics.horizontalAdvance(QLatin1Char(' ')));
}

WrappedExtent QtTextMeasurer::Wrapped(FontRole role, FontSize size, std::u16string_view text, int boxWidth) {
    const QFontMetricsF& metrics = Lookup(role, size).metrics;
    WrappedExtent out;
    const qreal width = std::max(0, boxWidth);
    const QRectF bounds = metrics.boundingRect(QRectF(0, 0, width, kMaxPageLength), kWrappedTextFlags, ToQString(text));
    // An empty clue still takes one line, so its number has room.
    out.height = CeilToInt(std::max(bounds.height(), metrics.height()));
    // Word wrapping never breaks a word: a word wider than the box makes
    // the wrapped text wider than the box.
    out.tooWide = bounds.width() > width + 0.5;
    return out;
}

}  // namespace korvo::view
