#include "help_page.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>
#include <QWidget>

#include "document/command_table.h"

namespace korvo::app {

namespace {

QString ApplicationTitle() {
    return QString::fromUtf8(kApplicationTitle.data(), static_cast<qsizetype>(kApplicationTitle.size()));
}

void ShowNoBrowser(QWidget* parent, const QString& page) {
    QMessageBox::information(parent, ApplicationTitle(), NoBrowserMessage(page));
}

}  // namespace

QString NoBrowserMessage(const QString& page) {
    return QStringLiteral("No browser could be started to show the help page.\nOpen it by hand:\n%1").arg(page);
}

void OpenHelpPage(QWidget* parent, const QString& page) {
    if (!QFileInfo::exists(page)) {
        QMessageBox::warning(parent, ApplicationTitle(), QStringLiteral("The help page was not found:\n%1").arg(page));
        return;
    }
    const QUrl url = QUrl::fromLocalFile(page);
    // The desktop's opener tells only by its exit code whether a browser
    // took the page; Qt's own opening reports success once it has started.
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty()) {
        if (!QDesktopServices::openUrl(url)) ShowNoBrowser(parent, page);
        return;
    }
    // The opener may outlive the window; its end reports to the window only
    // while that is still there.
    auto* process = new QProcess(QCoreApplication::instance());
    QPointer<QWidget> owner(parent);
    QObject::connect(process, &QProcess::errorOccurred, process, [process, owner, page](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart) return;
        if (owner) ShowNoBrowser(owner, page);
        process->deleteLater();
    });
    QObject::connect(process, &QProcess::finished, process,
                     [process, owner, page](int exitCode, QProcess::ExitStatus status) {
                         if ((status != QProcess::NormalExit || exitCode != 0) && owner) ShowNoBrowser(owner, page);
                         process->deleteLater();
                     });
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process->setStandardOutputFile(QProcess::nullDevice());
    process->start(opener, {url.toString()});
}

}  // namespace korvo::app
