#include "pdf_page.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <cmath>
#include <cstdint>
#include <span>

#include "document/ckorvo_doc.h"
#include "document/page_layout.h"
#include "grid_view_picture.h"
#include "model/cw_data.h"
#include "model/generation_status.h"
#include "puzzle_page_painter.h"

namespace korvo::view {

namespace {

// Dots per inch of the PDF's drawing surface, as a high-resolution printer.
constexpr int kPdfResolution = 1200;

// The Letter sheet in page units (0.001 inch).
struct SheetSize {
    std::int32_t width;
    std::int32_t height;
};

// The sheet in page units, turned for a landscape page.
SheetSize SheetSizeOf(const PaperSheet& paper) {
    QSizeF inches = paper.size.size(QPageSize::Inch);
    if (paper.orientation == QPageLayout::Landscape) inches.transpose();
    return {static_cast<std::int32_t>(std::lround(inches.width() * 1000)),
            static_cast<std::int32_t>(std::lround(inches.height() * 1000))};
}

// The document's fonts, whose heights every paint overwrites: kept before
// an export's drawing and put back after it.
struct SavedFonts {
    explicit SavedFonts(CkorvoDoc& doc)
        : doc_(doc), title_(doc.titleFont), grid_(doc.gridFont), clue_(doc.clueFont), banner_(doc.bannerFont) {}
    ~SavedFonts() {
        doc_.titleFont = title_;
        doc_.gridFont = grid_;
        doc_.clueFont = clue_;
        doc_.bannerFont = banner_;
    }
    SavedFonts(const SavedFonts&) = delete;
    SavedFonts& operator=(const SavedFonts&) = delete;

private:
    CkorvoDoc& doc_;                         // the document whose fonts are put back
    LOGFONTW title_, grid_, clue_, banner_;  // the fonts as they were
};

QString ToQString(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

void Draw(QPainter& painter, CkorvoDoc& doc, CCWData& puzzle, int status, PdfPicture picture, SheetSize sheet) {
    if (picture == PdfPicture::GridView) {
        DrawGridViewOf(painter, doc, puzzle, status, sheet.height, false);
        return;
    }
    // As printed: the printer's number offset, a fresh fit of the clue font
    // that leaves the view's cached fit alone, nothing recorded.
    const PuzzlePageFrame frame{sheet.width,   sheet.height,     doc.marginLeft,      doc.marginRight,
                                doc.marginTop, doc.marginBottom, kPrinterNumberOffset};
    std::int32_t layoutState = -1;
    std::int32_t clueFontHeight = 0;
    std::int32_t clueFontWidth = 0;
    DrawPuzzlePage(painter, doc, puzzle, true, PuzzleLayoutCache{layoutState, clueFontHeight, clueFontWidth}, frame);
}

}  // namespace

PdfPicture ShownPicture(const CkorvoDoc& doc) {
    if (doc.cwData && doc.cwData->GetStatus() == StatusFilled && !doc.gridViewShown) return PdfPicture::PuzzlePage;
    return PdfPicture::GridView;
}

PdfPage RenderPdfPage(CkorvoDoc& doc, PdfPicture picture) { return RenderPdfPage(doc, picture, PaperSheet{}); }

PdfPage RenderPdfPage(CkorvoDoc& doc, PdfPicture picture, const PaperSheet& paper) {
    PdfPage page;
    if (!doc.cwData) {
        page.error = "there is no puzzle to draw";
        return page;
    }
    CCWData& puzzle = *doc.cwData;
    const int status = puzzle.GetStatus();
    if (picture == PdfPicture::PuzzlePage && status != StatusFilled) {
        page.error = "the puzzle page exists only for a filled puzzle";
        return page;
    }
    // Fonts and the PDF engine need the application object.
    if (QGuiApplication::instance() == nullptr) {
        page.error = "PDF drawing needs the window layer's application object";
        return page;
    }

    const SheetSize sheet = SheetSizeOf(paper);
    QBuffer buffer(&page.bytes);
    buffer.open(QIODevice::WriteOnly);
    bool drawn = false;
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(kPdfResolution);
        // The whole sheet is the drawing surface: margins are the layout's.
        writer.setPageLayout(QPageLayout(paper.size, paper.orientation, QMarginsF(0, 0, 0, 0), QPageLayout::Inch));
        writer.setTitle(ToQString(puzzle.title));
        writer.setCreator(QStringLiteral("korvo"));
        SavedFonts saved(doc);
        QPainter painter;
        if (painter.begin(&writer)) {
            painter.scale(writer.resolution() / 1000.0, writer.resolution() / 1000.0);
            Draw(painter, doc, puzzle, status, picture, sheet);
            drawn = painter.end();
        }
    }
    buffer.close();
    if (!drawn || !page.bytes.startsWith("%PDF-")) {
        page.bytes.clear();
        page.error = "the PDF could not be drawn";
    }
    return page;
}

FileWriteResult WritePdfPage(CkorvoDoc& doc, PdfPicture picture, const std::filesystem::path& path,
                             FileSystemOps& fileSystem) {
    return WritePdfPage(doc, picture, path, PaperSheet{}, fileSystem);
}

FileWriteResult WritePdfPage(CkorvoDoc& doc, PdfPicture picture, const std::filesystem::path& path,
                             const PaperSheet& sheet, FileSystemOps& fileSystem) {
    const PdfPage page = RenderPdfPage(doc, picture, sheet);
    if (!page.ok()) {
        FileWriteResult refused;
        refused.ok = false;
        refused.message = page.error;
        return refused;
    }
    const auto* data = reinterpret_cast<const std::uint8_t*>(page.bytes.constData());
    return WriteFileAtomically(path, std::span<const std::uint8_t>(data, static_cast<std::size_t>(page.bytes.size())),
                               fileSystem);
}

FileWriteResult WritePdfPage(CkorvoDoc& doc, PdfPicture picture, const std::filesystem::path& path) {
    return WritePdfPage(doc, picture, path, doc.FileSystem());
}

FileWriteResult WritePdfPage(CkorvoDoc& doc, PdfPicture picture, const std::filesystem::path& path,
                             const PaperSheet& sheet) {
    return WritePdfPage(doc, picture, path, sheet, doc.FileSystem());
}

PdfWriter PdfPageWriter(CkorvoDoc& doc, PdfPicture picture) {
    return [&doc, picture](const std::filesystem::path& path) { return WritePdfPage(doc, picture, path); };
}

}  // namespace korvo::view
