#pragma once

// A Host for the fuzz targets that drive the document: records the message
// boxes shown, answers open dialogs from a queue, has no printer, and turns
// FatalExit into an exception that the target catches and checks.

#include <deque>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/host.h"

namespace korvo::fuzz {

// Thrown by FuzzHost::FatalExit instead of ending the process.
class FatalExitCalled : public std::runtime_error {
public:
    explicit FatalExitCalled(std::u16string message) : std::runtime_error("fatal exit"), text(std::move(message)) {}
    std::u16string text;  // the message FatalExit was given
};

class FuzzHost : public Host {
public:
    std::vector<std::u16string> messages;                          // every message box's text, in order
    std::deque<std::optional<std::filesystem::path>> openAnswers;  // answers of open dialogs; nullopt is Cancel
    int waitDepth = 0;                                             // wait cursors begun and not yet ended

    MessageResult MessageBox(std::u16string_view text, MessageIcon, MessageButtons buttons) override {
        messages.emplace_back(text);
        return buttons == MessageButtons::YesNo || buttons == MessageButtons::YesNoCancel ? MessageResult::No
               : buttons == MessageButtons::OkCancel                                      ? MessageResult::Cancel
                                                                                          : MessageResult::Ok;
    }
    std::optional<std::filesystem::path> OpenFileDialog(std::u16string_view, const std::vector<FileFilter>&) override {
        if (openAnswers.empty()) return std::nullopt;
        std::optional<std::filesystem::path> answer = openAnswers.front();
        openAnswers.pop_front();
        return answer;
    }
    std::optional<SaveDialogResult> SaveFileDialog(std::u16string_view, const std::vector<FileFilter>&,
                                                   std::optional<std::u16string>) override {
        return std::nullopt;
    }
    void BeginWaitCursor() override { ++waitDepth; }
    void EndWaitCursor() override { --waitDepth; }
    void ShowFirstRunWindow() override {}
    void FirstRunProgress(int, int) override {}
    void HideFirstRunWindow() override {}
    std::optional<PrinterMetrics> DefaultPrinterMetrics() override { return std::nullopt; }
    [[noreturn]] void FatalExit(std::u16string_view message) override {
        throw FatalExitCalled(std::u16string(message));
    }
};

}  // namespace korvo::fuzz
