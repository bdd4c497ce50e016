// korvo-cli without the Qt layer: no PDF output; the commands refuse a .pdf
// output before any work.
#include "cli/pdf_output.h"

#include <ostream>

namespace korvo::cli {

bool PdfOutputAvailable() { return false; }

PdfWriter PdfWriterFor(CkorvoDoc&, PdfContent) { return {}; }

int ConvertPuzzleFileToPdf(const std::optional<std::filesystem::path>&, const std::filesystem::path&,
                           const std::filesystem::path& output, PdfContent, std::ostream& err) {
    err << "korvo-cli convert: " << output.string() << ": " << kPdfUnavailableText << "\n";
    return 2;
}

}  // namespace korvo::cli
