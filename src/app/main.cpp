#include <QApplication>
#include <QTimer>

#include "app_resources.h"
#include "ckorvo_app.h"
#include "main_frame.h"
#include "qt_host.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Tolvane! Rodirirov Ivozova"));
    QApplication::setApplicationName(QStringLiteral("korvo"));
    QApplication::setApplicationDisplayName(QStringLiteral("Tolvane! Rodirirov Ivozova"));
    QApplication::setDesktopFileName(QStringLiteral("korvo"));
    QApplication::setWindowIcon(korvo::app::ApplicationIcon());

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
