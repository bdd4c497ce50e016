#include "qt_host.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPrinter>
#include <QPrinterInfo>

#include <cstdio>
#include <cstdlib>

#include "document/command_table.h"
#include "first_run_dialog.h"
#include "platform/paths.h"
#include "printer_page.h"

namespace {

QString FromU16(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

QString ApplicationTitle() {
    return QString::fromUtf8(korvo::kApplicationTitle.data(), static_cast<qsizetype>(korvo::kApplicationTitle.size()));
}

std::filesystem::path ToPath(const QString& file) {
    return korvo::PathFromU16(
        std::u16string(reinterpret_cast<const char16_t*>(file.utf16()), static_cast<std::size_t>(file.size())));
}

}  // namespace

namespace korvo::app {

QStringList NameFilters(const std::vector<FileFilter>& filters) {
    QStringList list;
    for (const FileFilter& filter : filters) {
        // Qt separates patterns by spaces and reads them from the
        // parentheses at the end of the entry.
        QString pattern = FromU16(filter.pattern);
        pattern.replace(QLatin1Char(';'), QLatin1Char(' '));
        pattern.replace(QStringLiteral("*.*"), QStringLiteral("*"));
        QString name = FromU16(filter.name);
        const qsizetype open = name.lastIndexOf(QLatin1Char('('));
        if (open >= 0 && name.endsWith(QLatin1Char(')'))) name = name.left(open).trimmed();
        list.append(QStringLiteral("%1 (%2)").arg(name, pattern));
    }
    return list;
}

QString WithDefaultExtension(const QString& fileName, const QString& extension) {
    if (extension.isEmpty()) return fileName;
    const QString last = QFileInfo(fileName).fileName();
    if (last.isEmpty() || last.contains(QLatin1Char('.'))) return fileName;
    return fileName + QLatin1Char('.') + extension;
}

PrinterMetrics MetricsOfPrinter(const QPrinter& printer) { return korvo::view::MetricsOfPrinter(printer); }

}  // namespace korvo::app

QtHost::QtHost() = default;

QtHost::~QtHost() {
    while (waitDepth_ > 0) EndWaitCursor();
}

korvo::MessageResult QtHost::MessageBox(std::u16string_view text, korvo::MessageIcon icon,
                                        korvo::MessageButtons buttons) {
    using korvo::MessageButtons;
    using korvo::MessageResult;
    QMessageBox box(parent_);
    box.setWindowTitle(ApplicationTitle());
    box.setText(FromU16(text));
    switch (icon) {
        case korvo::MessageIcon::None: box.setIcon(QMessageBox::NoIcon); break;
        case korvo::MessageIcon::Information: box.setIcon(QMessageBox::Information); break;
        case korvo::MessageIcon::Error: box.setIcon(QMessageBox::Critical); break;
        case korvo::MessageIcon::Warning: box.setIcon(QMessageBox::Warning); break;
        case korvo::MessageIcon::Question: box.setIcon(QMessageBox::Question); break;
    }
    // Closing the box without a button answers Cancel where there is one,
    // No for Yes/No and Ok for a plain box.
    switch (buttons) {
        case MessageButtons::Ok:
            box.setStandardButtons(QMessageBox::Ok);
            box.setEscapeButton(QMessageBox::Ok);
            break;
        case MessageButtons::OkCancel:
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            box.setEscapeButton(QMessageBox::Cancel);
            break;
        case MessageButtons::YesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            box.setEscapeButton(QMessageBox::No);
            break;
        case MessageButtons::YesNoCancel:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            box.setEscapeButton(QMessageBox::Cancel);
            break;
    }
    // A box shown under the wait cursor still gets the normal arrow.
    const bool waiting = waitDepth_ > 0;
    if (waiting) QApplication::setOverrideCursor(Qt::ArrowCursor);
    box.exec();
    if (waiting) QApplication::restoreOverrideCursor();
    const auto clicked = box.standardButton(box.clickedButton());
    switch (clicked) {
        case QMessageBox::Yes: return MessageResult::Yes;
        case QMessageBox::No: return MessageResult::No;
        case QMessageBox::Cancel: return MessageResult::Cancel;
        case QMessageBox::Ok: return MessageResult::Ok;
        default: break;
    }
    switch (buttons) {
        case MessageButtons::Ok: return MessageResult::Ok;
        case MessageButtons::YesNo: return MessageResult::No;
        default: return MessageResult::Cancel;
    }
}

std::optional<std::filesystem::path> QtHost::OpenFileDialog(std::u16string_view title,
                                                            const std::vector<korvo::FileFilter>& filters) {
    QFileDialog dialog(parent_, title.empty() ? QStringLiteral("Open") : FromU16(title));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(korvo::app::NameFilters(filters));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return ToPath(dialog.selectedFiles().front());
}

std::optional<korvo::SaveDialogResult> QtHost::SaveFileDialog(std::u16string_view title,
                                                              const std::vector<korvo::FileFilter>& filters,
                                                              std::optional<std::u16string> defaultExtension) {
    QFileDialog dialog(parent_, title.empty() ? QStringLiteral("Save As") : FromU16(title));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    const QStringList names = korvo::app::NameFilters(filters);
    dialog.setNameFilters(names);
    const QString extension = defaultExtension ? FromU16(*defaultExtension) : QString();
    dialog.setDefaultSuffix(extension);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    korvo::SaveDialogResult result;
    result.path = ToPath(korvo::app::WithDefaultExtension(dialog.selectedFiles().front(), extension));
    result.filterIndex = std::max(0, static_cast<int>(names.indexOf(dialog.selectedNameFilter())));
    return result;
}

void QtHost::BeginWaitCursor() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ++waitDepth_;
}

void QtHost::EndWaitCursor() {
    if (waitDepth_ == 0) return;
    --waitDepth_;
    QApplication::restoreOverrideCursor();
}

void QtHost::ShowFirstRunWindow() {
    if (!firstRun_) firstRun_ = std::make_unique<CFirstRunDialog>();
    firstRun_->ShowNow();
}

void QtHost::FirstRunProgress(int step, int total) {
    if (firstRun_) firstRun_->SetProgress(step, total);
}

void QtHost::HideFirstRunWindow() {
    if (!firstRun_) return;
    firstRun_->hide();
    firstRun_.reset();
}

std::optional<korvo::PrinterMetrics> QtHost::DefaultPrinterMetrics() {
    // The application's printer is the page setup: its paper and
    // orientation are the page's, whether it prints on a printer or, with
    // none installed, to PDF.
    if (printer_ != nullptr && printer_->isValid()) return korvo::app::MetricsOfPrinter(*printer_);
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) return std::nullopt;
    QPrinter printer(info, QPrinter::HighResolution);
    if (!printer.isValid()) return std::nullopt;
    return korvo::app::MetricsOfPrinter(printer);
}

void QtHost::FatalExit(std::u16string_view message) {
    while (waitDepth_ > 0) EndWaitCursor();
    HideFirstRunWindow();
    QMessageBox box(QMessageBox::NoIcon, ApplicationTitle(), FromU16(message), QMessageBox::Ok, parent_);
    box.exec();
    // The program ends here, from wherever the condition was found: no
    // destructor of the half-built document may run after it.
    std::fflush(nullptr);
    std::_Exit(0);
}
