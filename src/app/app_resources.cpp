#include "app_resources.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <filesystem>

#include "document/command_table.h"
#include "platform/paths.h"

// The icons live in a static library: register them before first use.
static void InitIconResources() {
    static const bool done = [] {
        Q_INIT_RESOURCE(icons);
        return true;
    }();
    (void)done;
}

namespace korvo::app {

void SetApplicationIdentity() {
    QApplication::setOrganizationName(QStringLiteral("Tolvane! Rodirirov Ivozova"));
    QApplication::setApplicationName(QStringLiteral("korvo"));
    QApplication::setDesktopFileName(QStringLiteral("korvo"));
    QApplication::setWindowIcon(ApplicationIcon());
}

QIcon ApplicationIcon() {
    InitIconResources();
    QIcon icon;
    for (int size : {16, 32, 48, 64}) icon.addFile(QStringLiteral(":/icons/korvo-%1.png").arg(size), QSize(size, size));
    return icon;
}

QIcon CommandIcon(int commandId) {
    InitIconResources();
    const char* name = nullptr;
    switch (commandId) {
        case cmd::kFileNew: name = "new"; break;
        case cmd::kFileOpen: name = "open"; break;
        case cmd::kFileSave: name = "save"; break;
        case cmd::kFilePrint: name = "print"; break;
        case cmd::kClearGrid: name = "cleargrid"; break;
        case cmd::kToggleView: name = "toggleview"; break;
        case cmd::kStartGenerating: name = "start"; break;
        case cmd::kStopGenerating: name = "stop"; break;
        case cmd::kOptions: name = "options"; break;
        case cmd::kAppAbout: name = "about"; break;
        default: return {};
    }
    return QIcon(QStringLiteral(":/icons/%1.png").arg(QLatin1String(name)));
}

QString ShippedFilePath(const QString& relativePath) {
    return ShippedFilePathFrom(QCoreApplication::applicationDirPath(), relativePath);
}

QString ShippedFilePathFrom(const QString& executableFolder, const QString& relativePath) {
    const std::filesystem::path folder(QFile::encodeName(QDir(executableFolder).absolutePath()).toStdString());
    const std::filesystem::path found = korvo::ShippedFilePath(QFile::encodeName(relativePath).toStdString(), folder);
    return QDir::cleanPath(QFile::decodeName(QByteArray::fromStdString(found.native())));
}

QString NoticeFolder() { return QFileInfo(ShippedFilePath(QStringLiteral("scowl-copyright.txt"))).absolutePath(); }

QString HelpPagePath() { return ShippedFilePath(QStringLiteral("help/index.html")); }

}  // namespace korvo::app
