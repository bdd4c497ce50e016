#pragma once

// Export Puzzle: the filled puzzle written for crossword programs (Across
// Lite binary, ipuz) or as a PDF of the puzzle page. The core writes the two
// crossword formats itself; the PDF needs the drawing layer, which hands in a
// writer of its own.

#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "document/export_puzzle.h"
#include "model/cw_data.h"
#include "platform/file_writer.h"

namespace korvo {

class CkorvoDoc;

enum class ExportFormat { AcrossLite, Ipuz, Pdf };

// One file type of the export dialog.
struct ExportFileType {
    ExportFormat format;
    std::u16string_view filterName;  // shown in the dialog
    std::u16string_view pattern;     // glob of the type
    std::string_view extension;      // lower case, with the dot
};

// The dialog's file types, in the dialog's order.
std::span<const ExportFileType> ExportFileTypes();

// The file type of a format.
const ExportFileType& ExportFileTypeOf(ExportFormat format);

// The format a file name asks for by its extension (any case), or nullopt
// when the extension is none of the export types.
std::optional<ExportFormat> FormatForPath(const std::filesystem::path& path);

// path with the format's extension added when its file name has no
// extension; otherwise path as it is.
std::filesystem::path WithExportExtension(const std::filesystem::path& path, ExportFormat format);

// The bytes of a crossword-program export (AcrossLite or Ipuz) of a puzzle,
// or an error and no bytes. Pdf is refused here: it is drawn, not encoded.
ExportResult BuildPuzzleExport(CCWData& puzzle, ExportFormat format);

// What a PDF writer reports: whether the file was written and, when not, why
// (empty when the writer gives no reason). A writer may return a plain bool
// or the FileWriteResult of its write.
struct PdfWriteOutcome {
    PdfWriteOutcome(bool written) : ok(written) {}
    PdfWriteOutcome(const FileWriteResult& written) : ok(written.ok), reason(written.message) {}

    bool ok = false;
    std::string reason;
};

// Writes the PDF of the document's puzzle page to a path, whole or not at all.
using PdfWriter = std::function<PdfWriteOutcome(const std::filesystem::path& path)>;

// The title of the export dialog and the messages of the command.
inline constexpr char16_t kExportDialogTitle[] = u"Export Puzzle";
inline constexpr char16_t kExportErrorMessage[] = u"An error was encountered while exporting the puzzle.";
inline constexpr char16_t kPdfUnavailableMessage[] = u"PDF output is not available in this build.";

// Why path must not be written by an export of the document: it is the
// puzzle file the document was opened from or saved to (the same file under
// any name), which the export would replace by another format. Empty when
// path may be written.
std::string OpenPuzzleFileConflict(const CkorvoDoc& doc, const std::filesystem::path& path);

// Writes the document's puzzle to path in format. A path that is the
// document's own puzzle file is refused (see OpenPuzzleFileConflict). Only a filled puzzle is
// exported (otherwise false and nothing happens). The crossword formats are
// written to a temporary file and renamed over path only when every byte is
// written; a PDF goes through pdfWriter, once the clue list has passed the
// same check against the grid as the crossword formats' (CheckCluesMatchGrid). On any failure the host shows
// kExportErrorMessage with the reason, no partial file is left, and false is
// returned. The document itself is not changed.
bool ExportPuzzleFile(CkorvoDoc& doc, const std::filesystem::path& path, ExportFormat format,
                      const PdfWriter& pdfWriter = {});

// "Export Puzzle...": asks for a file name with the three file types; the
// chosen type decides the format and adds its extension when the name has
// none. Does nothing unless the puzzle is filled or when the dialog is
// cancelled.
void OnExportPuzzle(CkorvoDoc& doc, const PdfWriter& pdfWriter = {});

}  // namespace korvo
