#include "about_dialog.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QVBoxLayout>

#include "document/command_table.h"

#ifndef KORVO_VERSION_STRING
#define KORVO_VERSION_STRING "unknown"
#endif

QStringList CAboutDlg::NoticeFileNames() {
    return {QStringLiteral("scowl-copyright.txt"), QStringLiteral("wordnet-copyright.txt")};
}

CAboutDlg::CAboutDlg(int programVersion, const QString& noticeFolder, QWidget* parent) : QDialog(parent) {
    const QString appTitle =
        QString::fromUtf8(korvo::kApplicationTitle.data(), static_cast<qsizetype>(korvo::kApplicationTitle.size()));
    setWindowTitle(QStringLiteral("About %1").arg(appTitle));

    QStringList lines;
    lines << appTitle;
    lines << QStringLiteral("Version %1 (program version %2)")
                 .arg(QStringLiteral(KORVO_VERSION_STRING))
                 .arg(programVersion);
    lines << QString();
    lines << QStringLiteral("Word lists are built from SCOWL and clues from WordNet.");
    lines << QStringLiteral("Their copyright and permission notices are in:");
    const QDir folder(noticeFolder);
    for (const QString& name : NoticeFileNames()) {
        const QString path = QDir::toNativeSeparators(folder.absoluteFilePath(name));
        lines << (QFileInfo::exists(path) ? path : QStringLiteral("%1 (missing)").arg(path));
    }

    text_ = new QLabel(lines.join(QLatin1Char('\n')));
    text_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* icon = new QLabel;
    icon->setPixmap(windowIcon().pixmap(32, 32));
    icon->setAlignment(Qt::AlignTop);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* row = new QHBoxLayout;
    row->addWidget(icon);
    row->addWidget(text_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
}

QString CAboutDlg::Text() const { return text_->text(); }
