#include "qt_drawing.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>

namespace korvo::view {

QString ToQString(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

QColor ColorFromRef(COLORREF color) { return QColor(RedOf(color), GreenOf(color), BlueOf(color)); }

QPen CirclePen(const QTransform& pageToDevice, const QColor& color) {
    const qreal pixelsPerUnit = std::hypot(pageToDevice.m11(), pageToDevice.m12());
    QPen pen(color);
    // Cosmetic, in device pixels: the same width whatever the painter's
    // further scaling, and never below one pixel on a coarse screen.
    pen.setCosmetic(true);
    pen.setWidthF(std::max<qreal>(1.0, kCirclePenWidth * pixelsPerUnit));
    return pen;
}

QFont FontFromLogFont(const LOGFONTW& font) {
    QFont result;
    const std::u16string face = FaceName(font);
    if (!face.empty()) result.setFamily(ToQString(face));
    // A weight of 0 is the face's default weight; others are the 1..1000 scale Qt shares.
    const int weight = font.lfWeight <= 0 ? 400 : std::clamp(static_cast<int>(font.lfWeight), 1, 1000);
    result.setWeight(static_cast<QFont::Weight>(weight));
    result.setItalic(font.lfItalic != 0);
    result.setUnderline(font.lfUnderline != 0);
    result.setStrikeOut(font.lfStrikeOut != 0);
    return result;
}

int PixelSizeForLineHeight(const QFont& font, int lineHeight) {
    if (lineHeight <= 1) return 1;
    constexpr int kReference = 1000;
    QFont probe(font);
    probe.setPixelSize(kReference);
    const qreal height = QFontMetricsF(probe).height();
    if (height <= 0) return lineHeight;
    return std::max(1, static_cast<int>(std::lround(lineHeight * kReference / height)));
}

QRect ToQRect(const RECT& rect) { return QRect(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top); }

QRectF ToQRectF(const RECT& rect) {
    return QRectF(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
}

RECT DeviceRect(const QTransform& transform, const RECT& rect) {
    const QPointF topLeft = transform.map(QPointF(rect.left, rect.top));
    const QPointF bottomRight = transform.map(QPointF(rect.right, rect.bottom));
    RECT out;
    out.left = static_cast<std::int32_t>(std::lround(std::min(topLeft.x(), bottomRight.x())));
    out.top = static_cast<std::int32_t>(std::lround(std::min(topLeft.y(), bottomRight.y())));
    out.right = static_cast<std::int32_t>(std::lround(std::max(topLeft.x(), bottomRight.x())));
    out.bottom = static_cast<std::int32_t>(std::lround(std::max(topLeft.y(), bottomRight.y())));
    return out;
}

}  // namespace korvo::view
