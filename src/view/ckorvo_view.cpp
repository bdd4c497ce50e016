#include "ckorvo_view.h"

#include <QGestureEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPanGesture>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScreen>
#include <QScrollBar>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string>
#include <utility>

#include "clues/clue_editor.h"
#include "document/appearance.h"
#include "document/ckorvo_doc.h"
#include "document/command_table.h"
#include "grid_view_picture.h"
#include "model/generation_status.h"
#include "printer_page.h"
#include "puzzle_page_painter.h"
#include "view_actions.h"

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
    connect(&runEndWatch_, &QTimer::timeout, this, &CkorvoView::WatchRunEnd);
    // Touch pans scroll the page; a press and hold stays the platform's
    // right click.
    viewport()->grabGesture(Qt::PanGesture);
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
    if (document_ != nullptr) document_->ComputePageMetrics();
    SizeScrollToPage();
}

void CkorvoView::SizeScrollToPage() {
    layoutState = -1;
    if (document_ == nullptr) {
        scrollSize_ = QSize();
    } else {
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

bool CkorvoView::PtInRect(const korvo::RECT& rect, QPoint point) {
    return rect.left <= point.x() && point.x() < rect.right && rect.top <= point.y() && point.y() < rect.bottom;
}

bool CkorvoView::HitTestCell(QPoint point, int& row, int& column) const {
    if (document_ == nullptr || document_->cwData == nullptr || !PtInRect(gridRect, point)) return false;
    const int n = std::clamp(static_cast<int>(document_->cwData->gridSize), 0, kCellRectSide);
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
            if (PtInRect(cellRects[i][j], point)) {
                row = i;
                column = j;
                return true;
            }
        }
    }
    return false;
}

bool CkorvoView::HitTestText(const korvo::RECT& rect, QPoint point) const {
    // The grid view has no clickable texts.
    if (document_ == nullptr || document_->gridViewShown) return false;
    return PtInRect(rect, point);
}

bool CkorvoView::HitTestTitle(QPoint point) const { return HitTestText(titleRect, point); }
bool CkorvoView::HitTestAnswerTitle(QPoint point) const { return HitTestText(answerTitleRect, point); }
bool CkorvoView::HitTestCopyright(QPoint point) const { return HitTestText(copyrightRect, point); }
bool CkorvoView::HitTestAuthor(QPoint point) const { return HitTestText(authorRect, point); }

const korvo::ClueEntry* CkorvoView::HitTestClue(QPoint point) const {
    if (document_ == nullptr || document_->cwData == nullptr) return nullptr;
    CCWData& puzzle = *document_->cwData;
    if (puzzle.GetStatus() != StatusFilled) return nullptr;
    for (const ClueEntry& clue : puzzle.clues) {
        if (PtInRect(clue.rect, point)) return &clue;
    }
    return nullptr;
}

QPoint CkorvoView::PanScrollPosition(QPoint position, QPoint from, QPoint to) {
    const QPoint moved = position + (from - to);
    return QPoint(std::max(0, moved.x()), std::max(0, moved.y()));
}

void CkorvoView::mousePressEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    bool handled = false;
    if (event->button() == Qt::LeftButton) {
        handled = OnLButtonDown(point);
    } else if (event->button() == Qt::RightButton) {
        handled = OnRButtonDown(point, event->globalPosition().toPoint());
    }
    if (!handled) QAbstractScrollArea::mousePressEvent(event);
}

bool CkorvoView::OnLButtonDown(QPoint point) { return OnButtonDown(false, point, QPoint()); }

bool CkorvoView::OnRButtonDown(QPoint point, QPoint globalPoint) { return OnButtonDown(true, point, globalPoint); }

bool CkorvoView::OnButtonDown(bool right, QPoint point, QPoint globalPoint) {
    if (document_ == nullptr || document_->cwData == nullptr) return false;
    CCWData* puzzle = document_->cwData.get();
    const int status = puzzle->GetStatus();
    // The worker is taking its fill back: the grid is about to change.
    if (status == StatusReverting) return true;

    // The page texts of the puzzle view, in this order; either button opens
    // the text's dialog.
    const std::pair<bool (CkorvoView::*)(QPoint) const, PageText> texts[] = {
        {&CkorvoView::HitTestTitle, PageText::Title},
        {&CkorvoView::HitTestAnswerTitle, PageText::AnswerTitle},
        {&CkorvoView::HitTestCopyright, PageText::Copyright},
        {&CkorvoView::HitTestAuthor, PageText::Author},
    };
    for (const auto& [hit, which] : texts) {
        if ((this->*hit)(point)) {
            if (actions_ != nullptr) {
                actions_->OpenPageTextDialog(which);
                Q_EMIT DocumentChanged();
            }
            return true;
        }
    }

    // A clue of the puzzle view opens the Clue Manager on its answer; the
    // walk may change the list, so the answer is copied first.
    if (const ClueEntry* clue = HitTestClue(point)) {
        const std::u16string answer = clue->answer;
        if (actions_ != nullptr) {
            actions_->EditCluesAt(answer, kAdvanceAutomatic);
            Q_EMIT DocumentChanged();
        }
        // A dialog's answer may have replaced what is shown.
        if (document_->cwData.get() != puzzle) return true;
    }
    if (right) {
        menuRow = -1;
        menuCol = -1;
    }

    int row = 0;
    int column = 0;
    if (!HitTestCell(point, row, column)) return false;

    switch (status) {
        case StatusGenerating: {
            // The run as shown, '@' and all, goes to the worker, which drops
            // that word between two slices; its repaint comes with the timer.
            std::string letters;
            const bool found =
                right ? puzzle->GetDownLetters(row, column, letters) : puzzle->GetAcrossLetters(row, column, letters);
            if (found) puzzle->RequestWordRemoval(letters);
            return true;
        }
        case StatusFilled: {
            // Only the grid view has squares to click; one word, then out.
            if (!document_->gridViewShown) return true;
            std::u16string word;
            const bool found =
                right ? puzzle->GetDownWord(row, column, word) : puzzle->GetAcrossWord(row, column, word);
            if (found && actions_ != nullptr) {
                actions_->EditCluesAt(word, kAdvanceExit);
                Q_EMIT DocumentChanged();
            }
            return true;
        }
        default:
            if (right) {
                ShowContextMenu(row, column, globalPoint);
            } else if (puzzle->ToggleBlock(row, column)) {
                PuzzleChanged();
            }
            return true;
    }
}

QMenu* CkorvoView::CreateContextMenu(int row, int column) {
    if (document_ == nullptr || document_->cwData == nullptr) return nullptr;
    CCWData& puzzle = *document_->cwData;
    std::u16string run;
    const bool across = puzzle.GetAcrossWord(row, column, run);
    const bool down = puzzle.GetDownWord(row, column, run);
    if (!across && !down) return nullptr;

    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("gridContextMenu"));
    for (int id : GridContextMenu().items) {
        const Command* command = FindCommand(id);
        if (command == nullptr) continue;
        const std::string_view label = MenuLabel(*command);
        const std::string_view prompt = StatusPrompt(*command);
        QAction* action = menu->addAction(QString::fromUtf8(label.data(), static_cast<qsizetype>(label.size())));
        action->setStatusTip(QString::fromUtf8(prompt.data(), static_cast<qsizetype>(prompt.size())));
        action->setData(id);
        if (id == cmd::kEditAcrossWord) action->setEnabled(across);
        if (id == cmd::kEditDownWord) action->setEnabled(down);
        connect(action, &QAction::triggered, this, [this, id] { RunMenuCommand(id); });
    }
    return menu;
}

QMenu* CkorvoView::ContextMenu() const { return contextMenu_.data(); }

void CkorvoView::ShowContextMenu(int row, int column, QPoint globalPoint) {
    QMenu* menu = CreateContextMenu(row, column);
    if (menu == nullptr) return;
    if (contextMenu_ != nullptr) contextMenu_->deleteLater();
    menuRow = row;
    menuCol = column;
    contextMenu_ = menu;
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(globalPoint);
}

void CkorvoView::RunMenuCommand(int id) {
    if (actions_ != nullptr) {
        actions_->RunCommand(id);
        return;
    }
    if (id == cmd::kEditAcrossWord) OnEditAcrossWord();
    if (id == cmd::kEditDownWord) OnEditDownWord();
    if (id == cmd::kToggleCircle) OnToggleCircle();
}

void CkorvoView::OnEditAcrossWord() { OnEditWord(true); }

void CkorvoView::OnEditDownWord() { OnEditWord(false); }

void CkorvoView::OnEditWord(bool across) {
    if (document_ == nullptr || document_->cwData == nullptr || actions_ == nullptr) return;
    CCWData* puzzle = document_->cwData.get();
    // Words are typed into the designer's grid only: a filled grid must keep
    // the answers its clues were given for.
    const int status = puzzle->GetStatus();
    if (IsRunActive(status) || status == StatusFilled) return;
    std::u16string run;
    const bool found =
        across ? puzzle->GetAcrossWord(menuRow, menuCol, run) : puzzle->GetDownWord(menuRow, menuCol, run);
    if (!found) return;
    std::u16string initial = run;
    std::replace(initial.begin(), initial.end(), u'@', u' ');
    const std::optional<std::u16string> typed = actions_->AskWordEntry(across, static_cast<int>(run.size()), initial);
    if (!typed || document_ == nullptr || document_->cwData.get() != puzzle) return;
    if (across) {
        puzzle->EditAcrossWord(menuRow, menuCol, *typed);
    } else {
        puzzle->EditDownWord(menuRow, menuCol, *typed);
    }
    PuzzleChanged();
}

void CkorvoView::OnToggleCircle() {
    if (document_ == nullptr || document_->cwData == nullptr) return;
    CCWData& puzzle = *document_->cwData;
    // The remembered square may belong to an earlier, larger grid.
    const int n = puzzle.gridSize;
    if (n <= 0 || n > kMaxGridSide || menuRow < 0 || menuCol < 0 || menuRow >= n || menuCol >= n) return;
    std::uint8_t& circle = puzzle.circled[menuRow * n + menuCol];
    circle = circle == 0 ? 1 : 0;
    PuzzleChanged();
}

bool CkorvoView::viewportEvent(QEvent* event) {
    if (event->type() != QEvent::Gesture) return QAbstractScrollArea::viewportEvent(event);
    auto* gestures = static_cast<QGestureEvent*>(event);
    auto* pan = static_cast<QPanGesture*>(gestures->gesture(Qt::PanGesture));
    if (pan == nullptr) return QAbstractScrollArea::viewportEvent(event);
    const QPoint position(horizontalScrollBar()->value(), verticalScrollBar()->value());
    const QPoint to = PanScrollPosition(position, pan->lastOffset().toPoint(), pan->offset().toPoint());
    horizontalScrollBar()->setValue(to.x());
    verticalScrollBar()->setValue(to.y());
    gestures->accept(pan);
    return true;
}

void CkorvoView::PuzzleChanged() {
    layoutState = -1;
    Redraw();
    Q_EMIT DocumentChanged();
}

void CkorvoView::OnToggleView() {
    if (document_ == nullptr) return;
    document_->gridViewShown = !document_->gridViewShown;
    ScrollToOrigin();
    PuzzleChanged();
}

void CkorvoView::OnClearGrid() {
    if (document_ == nullptr || document_->cwData == nullptr) return;
    document_->cwData->ClearGrid();
    PuzzleChanged();
}

void CkorvoView::OnStartGenerating() {
    if (document_ == nullptr || document_->cwData == nullptr) return;
    // Marks the run active before its thread exists, and refuses while a
    // run is active or the puzzle is filled: no second worker, no second timer.
    if (!document_->cwData->StartGenerating()) return;
    generationTimer_.start(timerPeriod_);
    runEndWatch_.start(kRunEndWatchMs);
    PuzzleChanged();
}

void CkorvoView::WatchRunEnd() {
    // The report of the run's outcome stays with the generation timer; this
    // only makes the banner show the ended run without waiting for it.
    if (document_ != nullptr && document_->cwData != nullptr && document_->cwData->IsWorkerActive()) return;
    runEndWatch_.stop();
    PuzzleChanged();
}

void CkorvoView::OnStopGenerating() {
    if (document_ == nullptr || document_->cwData == nullptr) return;
    if (!document_->cwData->RequestStop()) return;
    PuzzleChanged();
}

void CkorvoView::StopGenerationTimer() {
    generationTimer_.stop();
    runEndWatch_.stop();
}

void CkorvoView::OnTimer() {
    if (document_ == nullptr || document_->cwData == nullptr) {
        StopGenerationTimer();
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
            // The fill counts as a change from the moment it was published;
            // a save since then has taken it in.
            if (doc.cwData->HasUnsavedFill()) doc.SetModifiedFlag(true);
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
        case StatusExhausted: {
            // The thorough mode proves that no fill exists and says why.
            const std::string verdict = doc.cwData->GetVerdict();
            if (!verdict.empty()) {
                failure.assign(verdict.begin(), verdict.end());
                break;
            }
            failure = std::u16string(kEndOfWordList) +
                      (doc.generatingMode >= kStrongestMode ? kChangeTheGrid : kStrongerMode);
            break;
        }
        case StatusDuplicates: failure = kDuplicateWords; break;
        default:
            // Still running, or a stop has completed: nothing to report.
            Q_EMIT DocumentChanged();
            return;
    }
    Q_EMIT DocumentChanged();
    doc.host.MessageBox(std::u16string(kFailurePrefix) + failure, MessageIcon::Error, MessageButtons::Ok);
}

void CkorvoView::PrintPage(QPrinter& printer) {
    // The page is laid out for the sheet it goes on: the paper and
    // orientation of this printer, chosen in Print Setup, the print dialog
    // or the preview, become the document's page, on screen too.
    if (document_ != nullptr) {
        const korvo::PageMetrics page =
            korvo::PageMetricsFor(korvo::view::MetricsOfPrinter(printer), document_->marginLeft, document_->marginRight,
                                  document_->marginTop, document_->marginBottom);
        if (page.pageWidth != document_->pageWidth || page.pageHeight != document_->pageHeight ||
            page.printMarginLeft != document_->printMarginLeft || page.printMarginTop != document_->printMarginTop ||
            page.printMarginRight != document_->printMarginRight ||
            page.printMarginBottom != document_->printMarginBottom) {
            document_->SetPageMetrics(page);
            SizeScrollToPage();
            Redraw();
        }
    }
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
