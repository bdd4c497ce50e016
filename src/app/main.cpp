#include <QApplication>
#include <QTimer>

#include "app_resources.h"
#include "main_frame.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Tolvane! Rodirirov Ivozova"));
    QApplication::setApplicationName(QStringLiteral("korvo"));
    QApplication::setApplicationDisplayName(QStringLiteral("Tolvane! Rodirirov Ivozova"));
    QApplication::setDesktopFileName(QStringLiteral("korvo"));
    QApplication::setWindowIcon(korvo::app::ApplicationIcon());

    CMainFrame frame;
    frame.show();

    // For the start-up smoke test: close the window after this many ms.
    if (const int quitAfter = qEnvironmentVariableIntValue("KORVO_QUIT_AFTER_MS"); quitAfter > 0) {
        QTimer::singleShot(quitAfter, &frame, &QWidget::close);
    }
    return QApplication::exec();
}
