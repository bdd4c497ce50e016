// The printable page and the print margins from the default printer.
#include <cstdint>

#include "document/ckorvo_doc.h"

namespace korvo {

namespace {

// A sheet larger than this (in hundredths of an inch, 1000 inches) is not a
// real printer's; the limit keeps every later product inside 32 bits.
constexpr double kLargestSheet = 100000.0;

// Pixels to hundredths of an inch, truncated toward zero; false when the
// value lies outside what a sheet can measure.
bool Hundredths(std::int32_t pixels, std::int32_t perInch, std::int32_t* out) {
    const double value = static_cast<double>(pixels) / perInch * 100.0;
    if (!(value > -kLargestSheet && value < kLargestSheet)) return false;
    *out = static_cast<std::int32_t>(value);
    return true;
}

// The print margin of one side: the user margin measured from the edge of
// the printable area, never less than the unprintable offset itself and
// never below 0. All values in hundredths of an inch; the result in
// thousandths.
std::int32_t PrintMargin(std::int32_t userMargin, std::int32_t offset) {
    const std::int64_t t = userMargin / 10;
    const std::int64_t margin = (t >= offset ? t - offset : offset) * 10;
    if (margin < 0) return 0;
    return margin > INT32_MAX ? INT32_MAX : static_cast<std::int32_t>(margin);
}

}  // namespace

PageMetrics PageMetricsFor(const std::optional<PrinterMetrics>& printer, std::int32_t marginLeft,
                           std::int32_t marginRight, std::int32_t marginTop, std::int32_t marginBottom) {
    // A printer that reports no resolution or no printable page cannot be
    // measured; it is treated like no printer at all.
    bool usable =
        printer && printer->dpiX > 0 && printer->dpiY > 0 && printer->physicalWidth > 0 && printer->physicalHeight > 0;
    std::int32_t w = 0, h = 0, ox = 0, oy = 0;
    if (usable) {
        usable = Hundredths(printer->physicalWidth, printer->dpiX, &w) &&
                 Hundredths(printer->physicalHeight, printer->dpiY, &h) &&
                 Hundredths(printer->offsetX, printer->dpiX, &ox) && Hundredths(printer->offsetY, printer->dpiY, &oy) &&
                 w - 2 * ox > 0 && h - 2 * oy > 0;
    }

    PageMetrics page;
    if (!usable) {
        page.printMarginLeft = marginLeft;
        page.printMarginRight = marginRight;
        page.printMarginTop = marginTop;
        page.printMarginBottom = marginBottom;
        page.pageWidth = 8000;
        page.pageHeight = 10500;
        return page;
    }

    page.pageWidth = (w - 2 * ox) * 10;
    page.pageHeight = (h - 2 * oy) * 10;
    page.printMarginLeft = PrintMargin(marginLeft, ox);
    page.printMarginRight = PrintMargin(marginRight, ox);
    page.printMarginTop = PrintMargin(marginTop, oy);
    page.printMarginBottom = PrintMargin(marginBottom, oy);
    return page;
}

void CkorvoDoc::SetPageMetrics(const PageMetrics& page) {
    pageWidth = page.pageWidth;
    pageHeight = page.pageHeight;
    printMarginLeft = page.printMarginLeft;
    printMarginRight = page.printMarginRight;
    printMarginTop = page.printMarginTop;
    printMarginBottom = page.printMarginBottom;
}

void CkorvoDoc::ComputePageMetrics() {
    SetPageMetrics(PageMetricsFor(host.DefaultPrinterMetrics(), marginLeft, marginRight, marginTop, marginBottom));
}

}  // namespace korvo
