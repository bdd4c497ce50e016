#pragma once

#include <QAbstractScrollArea>
#include <QPointer>
#include <QTimer>

#include <cstdint>

#include "platform/win_types.h"

class QMenu;
class QPainter;
class QPrinter;
class ViewActions;

namespace korvo {
class CkorvoDoc;
struct ClueEntry;
}  // namespace korvo

// The single view of the document. It shows the grid view (the designer's
// grid with its blocks, letters, circles and the banner naming the
// generation state) or the puzzle page, prints whichever is shown as one
// page, and carries the generation commands with the timer that polls a run.
//
// Clicks edit the puzzle by its generation status: in the designer's states
// a left click toggles a block pair and a right click opens the context menu
// for typing words and circling squares; during a fill a click asks the
// worker to drop the word under the mouse; in a filled puzzle a click on a
// square, a clue or a page text opens the Clue Manager or the text's dialog.
// The dialogs themselves belong to the application (ViewActions).
//
// Drawing is done in page units of 0.001 inch, y downward, under a painter
// transform that scales them to the device: the widget's logical dpi on
// screen, the printer's resolution on paper. The same drawing code serves
// the screen, print preview, printers and PDF files.
class CkorvoView : public QAbstractScrollArea {
    Q_OBJECT

public:
    // Rows and columns of cellRects, whatever the grid size.
    static constexpr int kCellRectSide = 28;
    // Period of the timer that polls a fill run.
    static constexpr int kGenerationTimerMs = 3000;
    // How often a running fill is checked for its end, so the banner and the
    // toolbar show the ended run at once rather than at the next report.
    static constexpr int kRunEndWatchMs = 100;

    explicit CkorvoView(QWidget* parent = nullptr);
    ~CkorvoView() override;

    // The document shown; not owned. Null: nothing is drawn.
    void SetDocument(korvo::CkorvoDoc* document);
    korvo::CkorvoDoc* GetDocument() const { return document_; }
    // What opens the dialogs of clicks and context-menu items; not owned.
    // Null: clicks that need a dialog do nothing, and context-menu items run
    // the view's own handlers.
    void SetActions(ViewActions* actions) { actions_ = actions; }
    // The printer used by Print, Quick Print and Print Preview; not owned.
    void SetPrinter(QPrinter* printer) { printer_ = printer; }
    QPrinter* Printer() const { return printer_; }

    // Sizes the scroll range from the page and repaints.
    void OnInitialUpdate();
    // Drops the puzzle layout, renews the page metrics and sets the scroll
    // range to the page size in device pixels.
    void UpdateScrollSizes();
    // Sets the scroll range to the document's page as it stands.
    void SizeScrollToPage();
    // Scrolls to the page's top-left corner.
    void ScrollToOrigin();
    // Repaints the whole view from the document.
    void Redraw();

    // Commands.
    void OnToggleView();
    void OnStartGenerating();
    void OnStopGenerating();
    void OnClearGrid();
    // The context menu's commands, on the square in menuRow / menuCol.
    void OnEditAcrossWord();
    void OnEditDownWord();
    void OnToggleCircle();
    void OnFilePrint();         // the print dialog, then one page
    void OnFilePrintDirect();   // one page to the current printer, no dialog
    void OnFilePrintPreview();  // the preview dialog

    // One tick of the generation timer: repaints the progress and, once the
    // run has ended, stops the timer and reports the outcome.
    void OnTimer();
    // Stops polling without reporting (the window is closing).
    void StopGenerationTimer();
    QTimer& GenerationTimer() { return generationTimer_; }
    // Makes the timer tick every ms milliseconds instead of every 3 seconds
    // (tests); takes effect at the next start.
    void SetGenerationTimerPeriod(int ms) { timerPeriod_ = ms; }

    // Prints the current picture on one page of printer, laid out for that
    // printer's page, which becomes the document's page.
    void PrintPage(QPrinter& printer);

    // Paints the current picture with painter, whose transform already maps
    // page units to the device. deviceHeight is the device's height in page
    // units (the screen's, or the printer's printable height); hit rectangles
    // are recorded only when toScreen is set.
    void OnDraw(QPainter& painter, int deviceHeight, bool toScreen);

    // The click dispatch of each button at a point of the viewport; the
    // right button's menu opens at globalPoint. False when the click met no
    // square and no text, so the widget's default handling applies.
    bool OnLButtonDown(QPoint point);
    bool OnRButtonDown(QPoint point, QPoint globalPoint);

    // Hit tests on the rectangles of the last screen paint, in viewport
    // pixels. A point is inside a rectangle when left <= x < right and
    // top <= y < bottom, so an edge shared by two squares belongs to the
    // square right of it or below it.
    static bool PtInRect(const korvo::RECT& rect, QPoint point);
    // The square under the point; false when none.
    bool HitTestCell(QPoint point, int& row, int& column) const;
    // The page texts of the puzzle view; always false in the grid view.
    bool HitTestTitle(QPoint point) const;
    bool HitTestAnswerTitle(QPoint point) const;
    bool HitTestCopyright(QPoint point) const;
    bool HitTestAuthor(QPoint point) const;
    // The first entry of the clue list (across, then down) drawn under the
    // point, or null. Only a filled puzzle's list is read: before that the
    // fill's worker may be writing it.
    const korvo::ClueEntry* HitTestClue(QPoint point) const;

    // The context menu of a square (objectName "gridContextMenu", items
    // "Edit Across Word", "Edit Down Word", "Toggle Circled Square"), the
    // word items enabled when the square's run that way has two or more
    // squares; null when neither run has, which includes every block. The
    // caller owns it. A right click opens it through this.
    QMenu* CreateContextMenu(int row, int column);
    // The menu the last right click opened, while it exists.
    QMenu* ContextMenu() const;

    // Where a pan from one point to another scrolls: the scroll position
    // plus (from - to) in each axis, each coordinate at least 0.
    static QPoint PanScrollPosition(QPoint position, QPoint from, QPoint to);

    // Hit areas in viewport pixels, recorded by the last screen paint.
    korvo::RECT gridRect{};
    korvo::RECT titleRect{};
    korvo::RECT answerTitleRect{};
    korvo::RECT copyrightRect{};
    korvo::RECT authorRect{};
    korvo::RECT cellRects[kCellRectSide][kCellRectSide]{};  // [row][column]
    std::int32_t layoutState = -1;  // -1 layout invalid, 1 laid out for the screen, 2 for a printer
    std::int32_t menuRow = -1;      // square whose context menu was opened last; -1 none
    std::int32_t menuCol = -1;
    std::int32_t clueFontWidth = 0;  // the fitted clue font size, page units
    std::int32_t clueFontHeight = 0;

Q_SIGNALS:
    // The status, the view choice, the puzzle or the modified flag may have
    // changed: the window renews its caption and command states.
    void DocumentChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    // Touch pans scroll the page.
    bool viewportEvent(QEvent* event) override;

private:
    // The puzzle, the status or the view changed: the layout is dropped, the
    // view repainted and the window told.
    void PuzzleChanged();
    // Both buttons' dispatch; right selects the right button's actions.
    bool OnButtonDown(bool right, QPoint point, QPoint globalPoint);
    // Opens the context menu of a square at globalPoint (nothing when the
    // square has none).
    void ShowContextMenu(int row, int column, QPoint globalPoint);
    // A context-menu item was chosen: routed as a command.
    void RunMenuCommand(int id);
    void OnEditWord(bool across);
    // A page text's rectangle, in the puzzle view only.
    bool HitTestText(const korvo::RECT& rect, QPoint point) const;
    void DrawGridView(QPainter& painter, int deviceHeight, bool toScreen, int status);
    void UpdateScrollBars();
    // One check of runEndWatch_.
    void WatchRunEnd();
    // The transform from page units to viewport pixels at the scroll position.
    QTransform ScreenTransform() const;
    // The screen's height in page units.
    int ScreenHeightInPageUnits() const;

    korvo::CkorvoDoc* document_ = nullptr;
    ViewActions* actions_ = nullptr;
    QPrinter* printer_ = nullptr;
    QPointer<QMenu> contextMenu_;  // the open context menu; deletes itself when closed
    QTimer generationTimer_;
    QTimer runEndWatch_;  // repaints once when the worker of a run has ended
    int timerPeriod_ = kGenerationTimerMs;
    QSize scrollSize_;  // the page in device pixels
};
