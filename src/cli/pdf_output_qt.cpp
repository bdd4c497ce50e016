// korvo-cli with the Qt layer: the puzzle page or the grid view drawn into a
// PDF by the window program's PDF page writer. The application object is
// made on the first PDF only, on Qt's offscreen platform when there is no
// display.
#include <QApplication>
#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <ostream>

#include "cli/cli_host.h"
#include "cli/pdf_output.h"
#include "document/ckorvo_doc.h"
#include "pdf_page.h"
#include "platform/paths.h"

namespace korvo::cli {

namespace {

bool HasDisplay() {
    const char* x = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x != nullptr && *x != '\0') || (wayland != nullptr && *wayland != '\0');
}

// Qt's own messages in korvo-cli: its notes and warnings are about its
// environment (a missing runtime folder, font substitutions), not about the
// user's files, and every failure of a command has its own one-line message;
// so they are dropped unless QT_LOGGING_RULES asks for logging. Critical and
// fatal messages are kept, in the program's one-line form.
void QtMessage(QtMsgType type, const QMessageLogContext&, const QString& message) {
    const bool logging = !qEnvironmentVariableIsEmpty("QT_LOGGING_RULES");
    if (!logging && (type == QtDebugMsg || type == QtInfoMsg || type == QtWarningMsg)) return;
    std::fprintf(stderr, "korvo-cli: %s\n", message.simplified().toLocal8Bit().constData());
}

// The one application object of the process, made on demand.
void EnsureApplication() {
    if (QCoreApplication::instance() != nullptr) return;
    qInstallMessageHandler(&QtMessage);
    if (!HasDisplay() && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    static int argc = 1;
    static char name[] = "korvo-cli";
    static char* argv[] = {name, nullptr};
    static std::unique_ptr<QApplication> application = std::make_unique<QApplication>(argc, argv);
}

}  // namespace

bool PdfOutputAvailable() { return true; }

PdfWriter PdfWriterFor(CkorvoDoc& doc, PdfContent content) {
    const view::PdfPicture picture =
        content == PdfContent::GridView ? view::PdfPicture::GridView : view::PdfPicture::PuzzlePage;
    return [&doc, picture](const std::filesystem::path& path) {
        EnsureApplication();
        return view::WritePdfPage(doc, picture, path);
    };
}

int ConvertPuzzleFileToPdf(const std::optional<std::filesystem::path>& dataFolder, const std::filesystem::path& input,
                           const std::filesystem::path& output, PdfContent content, std::ostream& err) {
    std::optional<DocumentEnvironment> environment = DesktopEnvironment();
    if (dataFolder) {
        if (!environment) environment = DocumentEnvironment{};
        environment->dataFolder = *dataFolder;
    }
    if (!environment) {
        err << "korvo-cli convert: the documents folder cannot be determined; give --data-folder DIR\n";
        return 2;
    }
    if (environment->programFolder.empty()) environment->programFolder = ShippedDataFolder();
    CliHost host(err, "korvo-cli convert: ");
    try {
        CkorvoDoc doc(host, *environment);
        if (!doc.OpenPuzzleFile(input)) return 2;  // the host has written the message
        if (!ExportPuzzleFile(doc, output, ExportFormat::Pdf, PdfWriterFor(doc, content))) return 1;
        return 0;
    } catch (const FatalCondition&) {
        return 2;  // the host has written the message
    } catch (const std::bad_alloc&) {
        err << "korvo-cli convert: out of memory\n";
        return 2;
    }
}

}  // namespace korvo::cli
