#pragma once

#include <QColor>
#include <QFont>
#include <QPen>
#include <QRect>
#include <QRectF>
#include <QString>
#include <QTransform>

#include <string_view>

#include "platform/win_types.h"

// Conversions between the core's plain drawing values and Qt's.
namespace korvo::view {

// UTF-16 text of the core as a QString.
QString ToQString(std::u16string_view text);

// A 0x00BBGGRR colour as a QColor.
QColor ColorFromRef(COLORREF color);

// The face and style of a font description (family, weight, italic,
// underline, strike-out); the size is left to FitLineHeight.
QFont FontFromLogFont(const LOGFONTW& font);

// The pixel size at which font's full line height (ascent plus descent)
// is lineHeight pixels; at least 1. Under the page transform a pixel is a
// page unit, so lineHeight is given in page units there.
int PixelSizeForLineHeight(const QFont& font, int lineHeight);

// The width of the pen circles are drawn with, page units (1/100 inch), so
// that a circled square stays visible on paper and in PDF viewers at low
// zoom, where a one-unit outline is a hairline.
inline constexpr int kCirclePenWidth = 10;

// The pen of a circle in colour: kCirclePenWidth page units under the
// painter's transform, never thinner than one device pixel.
QPen CirclePen(const QTransform& pageToDevice, const QColor& color);

// A page rectangle as a QRect of the same corners (right and bottom excluded).
QRect ToQRect(const RECT& rect);

// A page rectangle as a QRectF of the same corners, for drawing at page
// precision under the page transform.
QRectF ToQRectF(const RECT& rect);

// The device rectangle of a page rectangle under transform, corners rounded.
RECT DeviceRect(const QTransform& transform, const RECT& rect);

}  // namespace korvo::view
