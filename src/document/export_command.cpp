// Export Puzzle: the dialog, the format of the chosen type and the atomic write.
#include "document/export_command.h"

#include <array>
#include <cctype>

#include "document/ckorvo_doc.h"
#include "document/ipuz_export.h"
#include "document/puz_export.h"
#include "document/text_export_command.h"
#include "platform/file_reader.h"
#include "platform/file_writer.h"
#include "platform/text_codec.h"

namespace korvo {

namespace {

constexpr std::array<ExportFileType, 3> kExportFileTypes{{
    {ExportFormat::AcrossLite, u"Across Lite Files (*.puz)", u"*.puz", ".puz"},
    {ExportFormat::Ipuz, u"ipuz Files (*.ipuz)", u"*.ipuz", ".ipuz"},
    {ExportFormat::Pdf, u"PDF Files (*.pdf)", u"*.pdf", ".pdf"},
}};

std::string LowerAscii(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

void ShowExportError(CkorvoDoc& doc, std::string_view reason) {
    std::u16string text = kExportErrorMessage;
    if (!reason.empty()) text += u"\n\n" + Utf16FromUtf8(reason);
    doc.host.MessageBox(text, MessageIcon::Information);
}

}  // namespace

std::span<const ExportFileType> ExportFileTypes() { return kExportFileTypes; }

const ExportFileType& ExportFileTypeOf(ExportFormat format) {
    for (const ExportFileType& type : kExportFileTypes)
        if (type.format == format) return type;
    return kExportFileTypes[0];
}

std::optional<ExportFormat> FormatForPath(const std::filesystem::path& path) {
    const std::string extension = LowerAscii(path.extension().string());
    for (const ExportFileType& type : kExportFileTypes)
        if (extension == type.extension) return type.format;
    return std::nullopt;
}

std::filesystem::path WithExportExtension(const std::filesystem::path& path, ExportFormat format) {
    if (path.empty() || path.filename().has_extension()) return path;
    std::filesystem::path out = path;
    out += std::string(ExportFileTypeOf(format).extension);
    return out;
}

ExportResult BuildPuzzleExport(CCWData& puzzle, ExportFormat format) {
    switch (format) {
        case ExportFormat::AcrossLite: return WritePuzExport(ExportPuzzleOf(puzzle));
        case ExportFormat::Ipuz: return WriteIpuzExport(ExportPuzzleOf(puzzle));
        case ExportFormat::Pdf: break;
    }
    ExportResult refused;
    refused.error = "a PDF is drawn from the puzzle page, not encoded from the puzzle";
    return refused;
}

std::string OpenPuzzleFileConflict(const CkorvoDoc& doc, const std::filesystem::path& path) {
    if (doc.PathName().empty() || !IsSameFile(path, doc.PathName())) return {};
    return path.string() + " is the puzzle file that is open; choose another file name.";
}

bool ExportPuzzleFile(CkorvoDoc& doc, const std::filesystem::path& path, ExportFormat format,
                      const PdfWriter& pdfWriter) {
    if (!doc.cwData || doc.cwData->GetStatus() != StatusFilled || path.empty()) return false;
    if (const std::string conflict = OpenPuzzleFileConflict(doc, path); !conflict.empty()) {
        ShowExportError(doc, conflict);
        return false;
    }
    if (format == ExportFormat::Pdf) {
        if (!pdfWriter) {
            doc.host.MessageBox(kPdfUnavailableMessage, MessageIcon::Information);
            return false;
        }
        // The page shows the clue list beside the grid's numbers: a list that
        // does not match the grid is refused as by the other writers.
        const ExportPuzzle exported = ExportPuzzleOf(*doc.cwData);
        std::string mismatch = CheckGridShape(exported);
        if (mismatch.empty()) mismatch = CheckCluesMatchGrid(exported, NumberGrid(exported));
        if (!mismatch.empty()) {
            ShowExportError(doc, mismatch);
            return false;
        }
        // The writer replaces the file only once the whole PDF is written.
        const PdfWriteOutcome written = pdfWriter(path);
        if (!written.ok) {
            ShowExportError(doc, written.reason.empty() ? "The PDF could not be written to " + path.string() + "."
                                                        : written.reason);
            return false;
        }
        return true;
    }
    const ExportResult bytes = BuildPuzzleExport(*doc.cwData, format);
    if (!bytes.ok()) {
        ShowExportError(doc, bytes.error);
        return false;
    }
    const FileWriteResult written = WriteFileAtomically(path, bytes.bytes, doc.FileSystem());
    if (!written) {
        ShowExportError(doc, written.message);
        return false;
    }
    return true;
}

void OnExportPuzzle(CkorvoDoc& doc, const PdfWriter& pdfWriter) {
    // The command exists only for a filled puzzle.
    if (!doc.cwData || doc.cwData->GetStatus() != StatusFilled) return;
    std::vector<FileFilter> filters;
    filters.reserve(std::size(kExportFileTypes));
    for (const ExportFileType& type : kExportFileTypes)
        filters.push_back(FileFilter{std::u16string(type.filterName), std::u16string(type.pattern)});
    const std::optional<SaveDialogResult> chosen = doc.host.SaveFileDialog(kExportDialogTitle, filters, std::nullopt);
    if (!chosen || chosen->path.empty()) return;
    // A filter index outside the list (a host that reports none) falls back
    // on the name's own extension, then on the first type.
    ExportFormat format = kExportFileTypes[0].format;
    if (chosen->filterIndex >= 0 && static_cast<std::size_t>(chosen->filterIndex) < kExportFileTypes.size())
        format = kExportFileTypes[static_cast<std::size_t>(chosen->filterIndex)].format;
    else if (const std::optional<ExportFormat> byName = FormatForPath(chosen->path))
        format = *byName;
    ExportPuzzleFile(doc, WithExportExtension(chosen->path, format), format, pdfWriter);
}

}  // namespace korvo
