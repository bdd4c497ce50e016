#pragma once

// One page of the document as a PDF file: a sheet (Letter unless another is
// given, the window gives the page setup's) holding the puzzle
// page (laid out on the document's margins, as printed) or the grid view,
// drawn by the same code as the screen and the printer. The PDF is made in
// memory and written through the safe file writer, so the file on disk is
// either the whole new PDF or what it was before.

#include <QByteArray>

#include <filesystem>
#include <string>

#include "document/export_command.h"
#include "platform/file_writer.h"
#include "printer_page.h"

namespace korvo {
class CkorvoDoc;
}

namespace korvo::view {

// Which picture a PDF page holds.
enum class PdfPicture {
    PuzzlePage,  // the finished puzzle page; only for a filled puzzle
    GridView,    // the grid with its banner, as the grid view shows it
};

// The picture the view shows now: the puzzle page for a filled puzzle with
// the puzzle view chosen, the grid view otherwise.
PdfPicture ShownPicture(const CkorvoDoc& doc);

// A PDF made in memory.
struct PdfPage {
    QByteArray bytes;   // the whole PDF file; empty when error is set
    std::string error;  // why no PDF was made; empty on success

    bool ok() const { return error.empty(); }
};

// Draws picture of the document's current puzzle on one Letter page. The
// whole sheet is the page: the puzzle page's margins are the document's
// margins measured from the paper's edge, and the grid view's squares are
// sized from the sheet's height. Needs the Qt application object (fonts).
// The document is left as it was: the font heights the drawing computes are
// not kept.
PdfPage RenderPdfPage(CkorvoDoc& doc, PdfPicture picture);
// The same on another sheet (the page setup's paper and orientation).
PdfPage RenderPdfPage(CkorvoDoc& doc, PdfPicture picture, const PaperSheet& sheet);

// Renders the page and replaces path by it through WriteFileAtomically on
// fileSystem. On any failure path is left as it was and no temporary file
// remains.
FileWriteResult WritePdfPage(CkorvoDoc& doc, PdfPicture picture, const std::filesystem::path& path,
                             FileSystemOps& fileSystem);
FileWriteResult WritePdfPage(CkorvoDoc& doc, PdfPicture picture, const std::filesystem::path& path,
                             const PaperSheet& sheet, FileSystemOps& fileSystem);
// The same on the document's file layer.
FileWriteResult WritePdfPage(CkorvoDoc& doc, PdfPicture picture, const std::filesystem::path& path);
// The same on another sheet.
FileWriteResult WritePdfPage(CkorvoDoc& doc, PdfPicture picture, const std::filesystem::path& path,
                             const PaperSheet& sheet);

// The PDF writer of the export command for a fixed picture.
PdfWriter PdfPageWriter(CkorvoDoc& doc, PdfPicture picture);

}  // namespace korvo::view
