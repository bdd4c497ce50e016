#include "ckorvo_view.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScreen>
#include <QScrollBar>

#include <algorithm>
#include <cstdlib>

#include "document/ckorvo_doc.h"
#include "model/generation_status.h"
#include "grid_view_picture.h"
#include "puzzle_page_painter.h"

namespace {

using namespace korvo;

// Messages of a fill run's end.
constexpr char16_t kSuccessMessage[] = u"Crossword Successfully Generated";
constexpr char16_t kFailurePrefix[] = u"Crossword Failed To Generated:\n\n";
constexpr char16_t kNoWordsForMarks[] = u"Cannot find words for '?' areas of the grid.";
constexpr char16_t kNotAValidGrid[] = u"Not a valid crossword grid.";
constexpr char16_t kEndOfWordList[] = u"End of word list reached.";
constexpr char16_t kChangeTheGrid[] = u" Please make a\nchange to the grid before retrying.";
constexpr char16_t kStrongerMode[] = u" Please select a stronger\nGenerating Mode before retrying.";
constexpr char16_t kDuplicateWords[] = u"Duplicate user-placed words.";
constexpr char16_t kPrintFailed[] = u"The page could not be printed.";
// The strongest generating mode: an exhausted search there asks for a changed grid.
constexpr int kStrongestMode = 4;

bool IsRunActive(int status) { return status == StatusGenerating || status == StatusReverting; }

}  // namespace

CkorvoView::CkorvoView(QWidget* parent) : QAbstractScrollArea(parent) {
    setObjectName(QStringLiteral("ckorvoView"));
    viewport()->setAutoFillBackground(false);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    setFrameShape(QFrame::NoFrame);
    generationTimer_.setTimerType(Qt::CoarseTimer);
    connect(&generationTimer_, &QTimer::timeout, this, &CkorvoView::OnTimer);
}

CkorvoView::~CkorvoView() = default;

void CkorvoView::SetDocument(korvo::CkorvoDoc* document) {
    document_ = document;
    layoutState = -1;
    Redraw();
}

void CkorvoView::OnInitialUpdate() {
    UpdateScrollSizes();
    Redraw();
}

void CkorvoView::UpdateScrollSizes() {
    layoutState = -1;
    if (document_ == nullptr) {
        scrollSize_ = QSize();
    } else {
        document_->ComputePageMetrics();
        const qint64 width = std::llabs(static_cast<long long>(document_->pageWidth));
        const qint64 height = std::llabs(static_cast<long long>(document_->pageHeight));
        scrollSize_ = QSize(static_cast<int>(std::min<qint64>(width * logicalDpiX() / 1000, 1 << 24)),
                            static_cast<int>(std::min<qint64>(height * logicalDpiY() / 1000, 1 << 24)));
    }
    UpdateScrollBars();
}

void CkorvoView::UpdateScrollBars() {
    const QSize area = viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, scrollSize_.width() - area.width()));
    verticalScrollBar()->setRange(0, std::max(0, scrollSize_.height() - area.height()));
    horizontalScrollBar()->setPageStep(std::max(1, area.width()));
    verticalScrollBar()->setPageStep(std::max(1, area.height()));
    horizontalScrollBar()->setSingleStep(std::max(1, area.width() / 10));
    verticalScrollBar()->setSingleStep(std::max(1, area.height() / 10));
}

void CkorvoView::ScrollToOrigin() {
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
}

void CkorvoView::Redraw() { viewport()->update(); }

QTransform CkorvoView::ScreenTransform() const {
    QTransform transform;
    transform.translate(-horizontalScrollBar()->value(), -verticalScrollBar()->value());
    transform.scale(viewport()->logicalDpiX() / 1000.0, viewport()->logicalDpiY() / 1000.0);
    return transform;
}

int CkorvoView::ScreenHeightInPageUnits() const {
    const QScreen* shown = screen();
    const int pixels = shown != nullptr ? shown->geometry().height() : viewport()->height();
    const int dpi = std::max(1, viewport()->logicalDpiY());
    return static_cast<int>(static_cast<qint64>(pixels) * 1000 / dpi);
}

void CkorvoView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), Qt::white);
    painter.setTransform(ScreenTransform());
    OnDraw(painter, ScreenHeightInPageUnits(), true);
}

void CkorvoView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
}

void CkorvoView::scrollContentsBy(int, int) { viewport()->update(); }

void CkorvoView::OnDraw(QPainter& painter, int deviceHeight, bool toScreen) {
    if (document_ == nullptr || document_->cwData == nullptr) return;
    for (auto& row : cellRects) std::fill(std::begin(row), std::end(row), korvo::RECT{});
    const int status = document_->cwData->GetStatus();
    if (status == StatusFilled && !document_->gridViewShown) {
        const korvo::view::PuzzlePageHitRects hits = korvo::view::DrawPuzzlePage(
            painter, *document_, *document_->cwData, !toScreen, {layoutState, clueFontHeight, clueFontWidth});
        gridRect = korvo::RECT{};
        if (hits.recorded) {
            titleRect = hits.titleRect;
            answerTitleRect = hits.answerTitleRect;
            copyrightRect = hits.copyrightRect;
            authorRect = hits.authorRect;
        }
        return;
    }
    DrawGridView(painter, deviceHeight, toScreen, status);
}

void CkorvoView::DrawGridView(QPainter& painter, int deviceHeight, bool toScreen, int status) {
    CkorvoDoc& doc = *document_;
    CCWData& puzzle = *doc.cwData;
    gridRect = titleRect = answerTitleRect = copyrightRect = authorRect = korvo::RECT{};
    // Clue hit areas of an earlier puzzle page must not survive here.
    if (status == StatusFilled) {
        for (ClueEntry& clue : puzzle.clues) clue.rect = {};
    }

    const korvo::view::GridViewPainted painted =
        korvo::view::DrawGridViewOf(painter, doc, puzzle, status, deviceHeight, toScreen);
    // The painter records one rectangle per square of the grid it drew.
    const int n = std::clamp(static_cast<int>(puzzle.gridSize), 0, kCellRectSide);
    if (toScreen && painted.cells.size() >= static_cast<std::size_t>(n) * n) {
        gridRect = painted.gridRect;
        for (int i = 0; i < n; ++i) {
            for (int j = 0; j < n; ++j) cellRects[i][j] = painted.cells[static_cast<std::size_t>(i) * n + j];
        }
    }
}

bool CkorvoView::HitTestCell(QPoint point, int& row, int& column) const {
    auto inside = [&point](const korvo::RECT& r) {
        return r.left <= point.x() && point.x() < r.right && r.top <= point.y() && point.y() < r.bottom;
    };
    if (document_ == nullptr || document_->cwData == nullptr || !inside(gridRect)) return false;
    const int n = std::clamp(static_cast<int>(document_->cwData->gridSize), 0, kCellRectSide);
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
            if (inside(cellRects[i][j])) {
                row = i;
                column = j;
                return true;
            }
        }
    }
    return false;
}

void CkorvoView::mousePressEvent(QMouseEvent* event) {
    if (document_ == nullptr || document_->cwData == nullptr || event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    const int status = document_->cwData->GetStatus();
    int row = 0;
    int column = 0;
    // In the designer's states a left click on a square toggles the block
    // pair through it.
    if (IsRunActive(status) || status == StatusFilled || !HitTestCell(event->position().toPoint(), row, column)) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    if (document_->cwData->ToggleBlock(row, column)) {
        layoutState = -1;
        Redraw();
        Q_EMIT DocumentChanged();
    }
}

void CkorvoView::OnToggleView() {
    if (document_ == nullptr) return;
    document_->gridViewShown = !document_->gridViewShown;
    ScrollToOrigin();
    layoutState = -1;
    Redraw();
    Q_EMIT DocumentChanged();
}

void CkorvoView::OnClearGrid() {
    if (document_ == nullptr || document_->cwData == nullptr) return;
    document_->cwData->ClearGrid();
    layoutState = -1;
    Redraw();
    Q_EMIT DocumentChanged();
}

void CkorvoView::OnStartGenerating() {
    if (document_ == nullptr || document_->cwData == nullptr) return;
    // Marks the run active before its thread exists, and refuses while a
    // run is active or the puzzle is filled: no second worker, no second timer.
    if (!document_->cwData->StartGenerating()) return;
    generationTimer_.start(timerPeriod_);
    layoutState = -1;
    Redraw();
    Q_EMIT DocumentChanged();
}

void CkorvoView::OnStopGenerating() {
    if (document_ == nullptr || document_->cwData == nullptr) return;
    if (!document_->cwData->RequestStop()) return;
    layoutState = -1;
    Redraw();
    Q_EMIT DocumentChanged();
}

void CkorvoView::StopGenerationTimer() { generationTimer_.stop(); }

void CkorvoView::OnTimer() {
    if (document_ == nullptr || document_->cwData == nullptr) {
        generationTimer_.stop();
        return;
    }
    CkorvoDoc& doc = *document_;
    const int status = doc.cwData->GetStatus();
    if (!IsRunActive(status)) generationTimer_.stop();
    layoutState = -1;
    Redraw();

    std::u16string failure;
    switch (status) {
        case StatusFilled:
            doc.SetModifiedFlag(true);
            Q_EMIT DocumentChanged();
            doc.host.MessageBox(kSuccessMessage, MessageIcon::Information, MessageButtons::Ok);
            // A run starts from the grid view, so this shows the puzzle view.
            OnToggleView();
            return;
        case StatusNoStart: {
            const std::u16string grid = doc.cwData->GetGridText();
            failure = grid.find(u'?') != std::u16string::npos ? kNoWordsForMarks : kNotAValidGrid;
            break;
        }
        case StatusExhausted:
            failure = std::u16string(kEndOfWordList) + (doc.generatingMode == kStrongestMode ? kChangeTheGrid : kStrongerMode);
            break;
        case StatusDuplicates:
            failure = kDuplicateWords;
            break;
        default:
            // Still running, or a stop has completed: nothing to report.
            Q_EMIT DocumentChanged();
            return;
    }
    Q_EMIT DocumentChanged();
    doc.host.MessageBox(std::u16string(kFailurePrefix) + failure, MessageIcon::Error, MessageButtons::Ok);
}

void CkorvoView::PrintPage(QPrinter& printer) {
    QPainter painter;
    if (!painter.begin(&printer)) {
        if (document_ != nullptr) document_->host.MessageBox(kPrintFailed, MessageIcon::Error, MessageButtons::Ok);
        return;
    }
    const int dpiX = std::max(1, printer.logicalDpiX());
    const int dpiY = std::max(1, printer.logicalDpiY());
    painter.scale(dpiX / 1000.0, dpiY / 1000.0);
    // The grid view's squares come from the printable height.
    const int printableHeight = static_cast<int>(static_cast<qint64>(printer.height()) * 1000 / dpiY);
    OnDraw(painter, printableHeight, false);
    painter.end();
}

namespace {

// One page only: both pictures print on a single sheet.
void LimitToOnePage(QPrinter& printer) {
    printer.setFromTo(1, 1);
    printer.setPrintRange(QPrinter::AllPages);
}

}  // namespace

void CkorvoView::OnFilePrint() {
    QPrinter fallback(QPrinter::HighResolution);
    QPrinter& printer = printer_ != nullptr ? *printer_ : fallback;
    QPrintDialog dialog(&printer, this);
    dialog.setMinMax(1, 1);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    if (dialog.exec() != QDialog::Accepted) return;
    LimitToOnePage(printer);
    PrintPage(printer);
}

void CkorvoView::OnFilePrintDirect() {
    QPrinter fallback(QPrinter::HighResolution);
    QPrinter& printer = printer_ != nullptr ? *printer_ : fallback;
    LimitToOnePage(printer);
    PrintPage(printer);
}

void CkorvoView::OnFilePrintPreview() {
    QPrinter fallback(QPrinter::HighResolution);
    QPrinter& printer = printer_ != nullptr ? *printer_ : fallback;
    LimitToOnePage(printer);
    QPrintPreviewDialog preview(&printer, this);
    connect(&preview, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* target) { PrintPage(*target); });
    preview.exec();
}
