#pragma once

#include <QAbstractScrollArea>
#include <QTimer>

#include <cstdint>

#include "platform/win_types.h"

class QPainter;
class QPrinter;

namespace korvo {
class CkorvoDoc;
}

// The single view of the document. It shows the grid view (the designer's
// grid with its blocks, letters, circles and the banner naming the
// generation state) or the puzzle page, prints whichever is shown as one
// page, and carries the generation commands with the timer that polls a run.
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

    explicit CkorvoView(QWidget* parent = nullptr);
    ~CkorvoView() override;

    // The document shown; not owned. Null: nothing is drawn.
    void SetDocument(korvo::CkorvoDoc* document);
    korvo::CkorvoDoc* GetDocument() const { return document_; }
    // The printer used by Print, Quick Print and Print Preview; not owned.
    void SetPrinter(QPrinter* printer) { printer_ = printer; }
    QPrinter* Printer() const { return printer_; }

    // Sizes the scroll range from the page and repaints.
    void OnInitialUpdate();
    // Drops the puzzle layout, renews the page metrics and sets the scroll
    // range to the page size in device pixels.
    void UpdateScrollSizes();
    // Scrolls to the page's top-left corner.
    void ScrollToOrigin();
    // Repaints the whole view from the document.
    void Redraw();

    // Commands.
    void OnToggleView();
    void OnStartGenerating();
    void OnStopGenerating();
    void OnClearGrid();
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

    // Prints the current picture on one page of printer.
    void PrintPage(QPrinter& printer);

    // Paints the current picture with painter, whose transform already maps
    // page units to the device. deviceHeight is the device's height in page
    // units (the screen's, or the printer's printable height); hit rectangles
    // are recorded only when toScreen is set.
    void OnDraw(QPainter& painter, int deviceHeight, bool toScreen);

    // The square under a point of the viewport (device pixels), by the
    // rectangles of the last screen paint; false when none.
    bool HitTestCell(QPoint point, int& row, int& column) const;

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
    std::int32_t clueFontWidth = 0;   // the fitted clue font size, page units
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

private:
    void DrawGridView(QPainter& painter, int deviceHeight, bool toScreen, int status);
    void UpdateScrollBars();
    // The transform from page units to viewport pixels at the scroll position.
    QTransform ScreenTransform() const;
    // The screen's height in page units.
    int ScreenHeightInPageUnits() const;

    korvo::CkorvoDoc* document_ = nullptr;
    QPrinter* printer_ = nullptr;
    QTimer generationTimer_;
    int timerPeriod_ = kGenerationTimerMs;
    QSize scrollSize_;  // the page in device pixels
};
