#include <QApplication>
#include <QTimer>

#include <cstring>
#include <iostream>

#include "app_resources.h"
#include "ckorvo_app.h"
#include "document/ckorvo_doc.h"
#include "main_frame.h"
#include "platform/paths.h"
#include "qt_host.h"

// The build's version (the project's one version number) and the version the
// program writes into its files must not drift apart.
static_assert(korvo::kProgramVersion == KORVO_VERSION_NUMBER, "project version and kProgramVersion differ");

namespace {

// --help and --version are answered before any window exists, so they work
// without a display.
bool AnswerInformationOption(int argc, char* argv[]) {
    if (argc != 2) return false;
    if (std::strcmp(argv[1], "--version") == 0) {
        std::cout << "korvo " << KORVO_VERSION << "\n";
        return true;
    }
    if (std::strcmp(argv[1], "--help") != 0 && std::strcmp(argv[1], "-h") != 0) return false;
    std::cout << "usage: korvo [PUZZLE.kvz]\n"
                 "The crossword builder's window; opens the puzzle file when one is named.\n"
                 "  -h, --help   print this help and exit\n"
                 "  --version    print the version and exit\n"
                 "help page:    "
              << korvo::ShippedFilePath("help/index.html").string()
              << "\n"
                 "shipped data: "
              << korvo::ShippedDataFolder().string() << "\n";
    return true;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (AnswerInformationOption(argc, argv)) return 0;
    QApplication app(argc, argv);
    korvo::app::SetApplicationIdentity();

    QtHost host;
    const std::optional<korvo::DocumentEnvironment> environment = korvo::DesktopEnvironment();
    if (!environment) host.FatalExit(u"FATAL ERROR: Documents Folder Not Found.");

    CkorvoApp korvoApp(host, *environment);
    if (!korvoApp.InitInstance(QApplication::arguments().mid(1))) return 0;

    // For the start-up smoke test: close the window after this many ms.
    if (const int quitAfter = qEnvironmentVariableIntValue("KORVO_QUIT_AFTER_MS"); quitAfter > 0) {
        QTimer::singleShot(quitAfter, korvoApp.Frame(), &QWidget::close);
    }
    return QApplication::exec();
}
