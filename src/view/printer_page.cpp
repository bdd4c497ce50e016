#include "printer_page.h"

#include <QLocale>
#include <QMarginsF>
#include <QPrinter>

#include <cstdint>

#if defined(__GLIBC__)
#include <langinfo.h>
#endif

namespace korvo::view {

PrinterMetrics MetricsOfPrinter(const QPrinter& printer) {
    const int resolution = printer.resolution();
    const QPageLayout layout = printer.pageLayout();
    const QRect full = layout.fullRectPixels(resolution);
    const QRect paint = layout.paintRectPixels(resolution);
    PrinterMetrics metrics;
    metrics.physicalWidth = full.width();
    metrics.physicalHeight = full.height();
    metrics.offsetX = paint.left();
    metrics.offsetY = paint.top();
    metrics.dpiX = resolution;
    metrics.dpiY = resolution;
    return metrics;
}

PaperSheet SheetOf(const QPrinter& printer) {
    const QPageLayout layout = printer.pageLayout();
    PaperSheet sheet;
    if (layout.pageSize().isValid()) sheet.size = layout.pageSize();
    sheet.orientation = layout.orientation();
    return sheet;
}

QPageSize LocalePaperSize() {
#if defined(__GLIBC__)
    // The C library keeps the paper's height and width in millimetres as
    // numbers in the place of the strings nl_langinfo returns.
    const auto millimetres = [](nl_item item) {
        return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(nl_langinfo(item)));
    };
    const std::uint32_t height = millimetres(_NL_PAPER_HEIGHT);
    const std::uint32_t width = millimetres(_NL_PAPER_WIDTH);
    if (width >= 50 && width <= 2000 && height >= 50 && height <= 2000) {
        const QPageSize size(QSizeF(width, height), QPageSize::Millimeter, QString(), QPageSize::FuzzyMatch);
        if (size.isValid()) return size;
    }
#endif
    return QLocale().measurementSystem() == QLocale::ImperialUSSystem ? QPageSize(QPageSize::Letter)
                                                                      : QPageSize(QPageSize::A4);
}

void PreparePageSetupPrinter(QPrinter& printer) {
    if (printer.outputFormat() != QPrinter::PdfFormat) return;
    printer.setPageSize(LocalePaperSize());
    printer.setPageMargins(QMarginsF(0.25, 0.25, 0.25, 0.25), QPageLayout::Inch);
}

}  // namespace korvo::view
