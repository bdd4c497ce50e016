#pragma once

// The page of a printer as the layout needs it, and the paper of the page
// setup: one paper size and orientation for the screen, the preview, the
// printer and PDF files.

#include <QPageLayout>
#include <QPageSize>

#include "platform/host.h"

class QPrinter;

namespace korvo::view {

// The metrics of a printer's page in device pixels: the sheet, the
// unprintable offsets at the left and top, and the resolution.
PrinterMetrics MetricsOfPrinter(const QPrinter& printer);

// A sheet of paper for a PDF page: its size and orientation.
struct PaperSheet {
    QPageSize size = QPageSize(QPageSize::Letter);
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
};

// The paper and orientation printer is set to (the page setup's).
PaperSheet SheetOf(const QPrinter& printer);

// The paper of the user's locale (LC_PAPER where the C library has it,
// else Letter in the US measurement system and A4 elsewhere).
QPageSize LocalePaperSize();

// Readies the application's printer: without a printer installed it prints
// to PDF, and then it gets the locale's paper and margins of a quarter inch
// (a printer's usual unprintable edge) instead of Qt's fixed A4.
void PreparePageSetupPrinter(QPrinter& printer);

}  // namespace korvo::view
