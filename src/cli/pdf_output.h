#pragma once

// PDF output of korvo-cli. A PDF is drawn by the window program's puzzle page
// painter, so korvo-cli writes one only when it is built with the Qt layer;
// every other output is encoded by the core.

#include <filesystem>
#include <iosfwd>
#include <optional>

#include "document/export_command.h"

namespace korvo {
class CkorvoDoc;
}

namespace korvo::cli {

// The text of the refusal when this build cannot draw a PDF.
inline constexpr char kPdfUnavailableText[] = "PDF output is not available in this build";

// What a PDF shows.
enum class PdfContent {
    PuzzlePage,  // the printed puzzle page
    GridView,    // the grid view: the filled grid with its banner
};

// Whether this build of korvo-cli can write PDF files.
bool PdfOutputAvailable();

// The writer of the document's puzzle page (Letter, the document's margins)
// or grid view as a PDF, replacing the file only once the whole PDF is
// written and flushed; empty when this build has none. Without a display it
// draws on Qt's offscreen platform.
PdfWriter PdfWriterFor(CkorvoDoc& doc, PdfContent content = PdfContent::PuzzlePage);

// Opens the puzzle file input as the window program does (a document on the
// data folder, the user's when dataFolder is absent) and writes its page or
// grid view as the PDF output. Returns the exit code: 0 written, 1 the PDF
// could not be written, 2 the document could not be made or opened, or no
// PDF output in this build (messages on err).
int ConvertPuzzleFileToPdf(const std::optional<std::filesystem::path>& dataFolder, const std::filesystem::path& input,
                           const std::filesystem::path& output, PdfContent content, std::ostream& err);

}  // namespace korvo::cli
