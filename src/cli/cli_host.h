#pragma once

// The Host of the headless builder: messages go to the error stream, dialogs
// are answered as cancelled, there is no printer, and a fatal condition
// becomes an exception that the command turns into exit code 2.

#include <ostream>
#include <stdexcept>
#include <string>
#include <utility>

#include "platform/host.h"

namespace korvo::cli {

// Thrown by CliHost::FatalExit; what() holds the message in UTF-8.
class FatalCondition : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class CliHost : public Host {
public:
    // Messages are written to err, each on one line after prefix.
    explicit CliHost(std::ostream& err, std::string prefix = "korvo-cli: ") : err_(err), prefix_(std::move(prefix)) {}

    // Writes the message as one line: the line breaks between a message and
    // its reason become one space. A question is answered with its cautious
    // button (Cancel, or No), since nobody is there to answer it.
    MessageResult MessageBox(std::u16string_view text, MessageIcon icon, MessageButtons buttons) override;
    std::optional<std::filesystem::path> OpenFileDialog(std::u16string_view title,
                                                        const std::vector<FileFilter>& filters) override;
    std::optional<SaveDialogResult> SaveFileDialog(std::u16string_view title, const std::vector<FileFilter>& filters,
                                                   std::optional<std::u16string> defaultExtension) override;
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
    // The first-run setup announces itself with one line.
    void ShowFirstRunWindow() override;
    void FirstRunProgress(int, int) override {}
    void HideFirstRunWindow() override {}
    std::optional<PrinterMetrics> DefaultPrinterMetrics() override { return std::nullopt; }
    // Throws FatalCondition with the message.
    [[noreturn]] void FatalExit(std::u16string_view message) override;

private:
    // Writes one message line.
    void WriteLine(std::u16string_view text);

    std::ostream& err_;   // where messages go
    std::string prefix_;  // put before every message
};

}  // namespace korvo::cli
