#pragma once

// PDF output of korvo-cli. A PDF is drawn by the window program's puzzle page
// painter, so korvo-cli can write one only when it is built with the Qt
// layer; every other output is encoded by the core.

namespace korvo::cli {

// The text of the refusal when this build cannot draw a PDF.
inline constexpr char kPdfUnavailableText[] = "PDF output is not available in this build";

// Whether this build of korvo-cli can write PDF files.
bool PdfOutputAvailable();

}  // namespace korvo::cli
