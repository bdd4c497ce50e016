#pragma once

#include <QPointer>
#include <QWidget>

#include <memory>

#include "platform/host.h"

class CFirstRunDialog;
class QPrinter;

// The Host of the window program: Qt message boxes and file dialogs, the
// override cursor, the first-run window, the default printer's metrics from
// QPrinterInfo and the fatal end. Every box and dialog is parented to the
// main window once SetParentWidget has named it.
class QtHost : public korvo::Host {
public:
    QtHost();
    ~QtHost() override;

    // The window dialogs are shown over; may be null (then they are top-level).
    void SetParentWidget(QWidget* parent) { parent_ = parent; }
    QWidget* ParentWidget() const { return parent_; }
    // The application's printer, changed by Print Setup; its page is the
    // one DefaultPrinterMetrics reports (with no printer installed it
    // prints to PDF on the page setup's paper). Not owned.
    void SetPrinter(QPrinter* printer) { printer_ = printer; }

    korvo::MessageResult MessageBox(std::u16string_view text, korvo::MessageIcon icon,
                                    korvo::MessageButtons buttons) override;
    std::optional<std::filesystem::path> OpenFileDialog(std::u16string_view title,
                                                        const std::vector<korvo::FileFilter>& filters) override;
    std::optional<korvo::SaveDialogResult> SaveFileDialog(std::u16string_view title,
                                                          const std::vector<korvo::FileFilter>& filters,
                                                          std::optional<std::u16string> defaultExtension) override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;
    void ShowFirstRunWindow() override;
    void FirstRunProgress(int step, int total) override;
    void HideFirstRunWindow() override;
    std::optional<korvo::PrinterMetrics> DefaultPrinterMetrics() override;
    [[noreturn]] void FatalExit(std::u16string_view message) override;

    // The first-run window while it is shown, else null (for tests).
    CFirstRunDialog* FirstRunWindow() const { return firstRun_.get(); }

private:
    QPointer<QWidget> parent_;                   // owner of boxes and dialogs
    QPrinter* printer_ = nullptr;                // the application's printer, or null
    int waitDepth_ = 0;                          // BeginWaitCursor calls not yet ended
    std::unique_ptr<CFirstRunDialog> firstRun_;  // the first-run window while shown
};

namespace korvo::app {

// The name filter string of a file dialog, one "name (patterns)" entry per
// filter. The Windows pattern "*.*" (every file) becomes "*", which Qt needs
// to match names without a dot.
QStringList NameFilters(const std::vector<FileFilter>& filters);

// The default-extension rule of the save dialog: a name whose last part
// has no extension gets "." + extension; any other name is kept as typed.
QString WithDefaultExtension(const QString& fileName, const QString& extension);

// The metrics of a printer in device pixels: the sheet, the unprintable
// offsets at the left and top, and the resolution.
PrinterMetrics MetricsOfPrinter(const QPrinter& printer);

}  // namespace korvo::app
