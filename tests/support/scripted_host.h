#pragma once

// A Host for tests: records every message box, dialog, cursor change and
// first-run window call in order, answers questions and file dialogs from
// queues the test fills, and turns FatalExit into an exception.

#include <deque>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/host.h"

namespace korvo::testsupport {

// Thrown by ScriptedHost::FatalExit instead of ending the process.
class FatalExitCalled : public std::runtime_error {
public:
    explicit FatalExitCalled(std::u16string text);
    const std::u16string& text() const { return text_; }

private:
    std::u16string text_;  // the message FatalExit was given
};

// Thrown when the code under test asks a question or opens a file dialog the
// test gave no answer for, or when a scripted answer is not one of the
// buttons shown.
class UnscriptedDialog : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

// One message box the code showed.
struct RecordedMessage {
    std::u16string text;     // the message
    MessageIcon icon;        // its icon
    MessageButtons buttons;  // its buttons
    MessageResult answer;    // what the scripted user pressed
};

// One file dialog the code opened.
struct RecordedFileDialog {
    bool save = false;                               // true: save dialog, false: open dialog
    std::u16string title;                            // the dialog's title
    std::vector<FileFilter> filters;                 // its file types, in order
    std::optional<std::u16string> defaultExtension;  // save dialogs only
};

class ScriptedHost : public Host {
public:
    // ---- answers, consumed front first
    // Answers of message boxes with more than an OK button. A box with only
    // OK is answered Ok without taking an answer.
    std::deque<MessageResult> messageAnswers;
    // Answers of open dialogs; nullopt is Cancel.
    std::deque<std::optional<std::filesystem::path>> openAnswers;
    // Answers of save dialogs; nullopt is Cancel.
    std::deque<std::optional<SaveDialogResult>> saveAnswers;
    // What DefaultPrinterMetrics returns; no printer unless a test sets one.
    std::optional<PrinterMetrics> printer;

    // ---- records
    std::vector<RecordedMessage> messages;        // every message box, in order
    std::vector<RecordedFileDialog> fileDialogs;  // every file dialog, in order
    // Every call in order, one short line each: "message <text>", "open <title>",
    // "save <title>", "wait begin", "wait end", "first-run show",
    // "first-run progress <step>/<total>", "first-run hide", "printer", "fatal <text>"
    // (texts in UTF-8).
    std::vector<std::string> events;
    int waitDepth = 0;                               // Begin calls not yet ended
    int waitBegins = 0;                              // Begin calls in all
    bool firstRunVisible = false;                    // between Show and Hide
    int firstRunShows = 0;                           // times the first-run window was shown
    std::vector<std::pair<int, int>> firstRunSteps;  // (step, total) of every progress call
    std::optional<std::u16string> fatalMessage;      // the message of FatalExit, once called

    MessageResult MessageBox(std::u16string_view text, MessageIcon icon, MessageButtons buttons) override;
    std::optional<std::filesystem::path> OpenFileDialog(std::u16string_view title,
                                                        const std::vector<FileFilter>& filters) override;
    std::optional<SaveDialogResult> SaveFileDialog(std::u16string_view title, const std::vector<FileFilter>& filters,
                                                   std::optional<std::u16string> defaultExtension) override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;
    void ShowFirstRunWindow() override;
    void FirstRunProgress(int step, int total) override;
    void HideFirstRunWindow() override;
    std::optional<PrinterMetrics> DefaultPrinterMetrics() override;
    [[noreturn]] void FatalExit(std::u16string_view message) override;

    // The texts of every message box, in order.
    std::vector<std::u16string> MessageTexts() const;
};

}  // namespace korvo::testsupport
