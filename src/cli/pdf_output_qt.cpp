// korvo-cli with the Qt layer: the puzzle page drawn by the window program's
// painter into a PDF. The application object is made on the first PDF only,
// on Qt's offscreen platform when there is no display.
#include <QApplication>
#include <QByteArray>

#include <cstdlib>
#include <memory>
#include <ostream>
#include <string>
#include <system_error>

#include <unistd.h>

#include "cli/cli_host.h"
#include "cli/pdf_output.h"
#include "document/ckorvo_doc.h"
#include "platform/paths.h"
#include "puzzle_page_painter.h"

namespace korvo::cli {

namespace {

bool HasDisplay() {
    const char* x = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x != nullptr && *x != '\0') || (wayland != nullptr && *wayland != '\0');
}

// The one application object of the process, made on demand.
void EnsureApplication() {
    if (QCoreApplication::instance() != nullptr) return;
    if (!HasDisplay() && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    static int argc = 1;
    static char name[] = "korvo-cli";
    static char* argv[] = {name, nullptr};
    static std::unique_ptr<QApplication> application = std::make_unique<QApplication>(argc, argv);
}

// Draws into a temporary file beside path and renames it over path only
// when the painter finished, so a failed PDF leaves no partial file.
bool WritePdfAtomically(CkorvoDoc& doc, const std::filesystem::path& path) {
    EnsureApplication();
    std::filesystem::path temp = path;
    temp += ".part-" + std::to_string(::getpid());
    std::error_code ec;
    const bool drawn = view::PrintPuzzlePageToPdf(doc, temp) && std::filesystem::is_regular_file(temp, ec) &&
                       std::filesystem::file_size(temp, ec) > 0 && !ec;
    if (drawn) {
        std::filesystem::rename(temp, path, ec);
        if (!ec) return true;
    }
    std::filesystem::remove(temp, ec);
    return false;
}

}  // namespace

bool PdfOutputAvailable() { return true; }

PdfWriter PdfWriterFor(CkorvoDoc& doc) {
    return [&doc](const std::filesystem::path& path) { return WritePdfAtomically(doc, path); };
}

int ConvertPuzzleFileToPdf(const std::optional<std::filesystem::path>& dataFolder,
                           const std::filesystem::path& input, const std::filesystem::path& output,
                           std::ostream& err) {
    std::optional<DocumentEnvironment> environment = DesktopEnvironment();
    if (dataFolder) {
        if (!environment) environment = DocumentEnvironment{};
        environment->dataFolder = *dataFolder;
    }
    if (!environment) {
        err << "korvo-cli convert: the documents folder cannot be determined; give --data-folder DIR\n";
        return 2;
    }
    if (environment->programFolder.empty()) environment->programFolder = ExecutableFolder().value_or("");
    CliHost host(err);
    try {
        CkorvoDoc doc(host, *environment);
        if (!doc.OpenPuzzleFile(input)) return 2;  // the host has written the message
        if (!ExportPuzzleFile(doc, output, ExportFormat::Pdf, PdfWriterFor(doc))) return 1;
        return 0;
    } catch (const FatalCondition&) {
        return 2;  // the host has written the message
    } catch (const std::bad_alloc&) {
        err << "korvo-cli convert: out of memory\n";
        return 2;
    }
}

}  // namespace korvo::cli
