#pragma once

// Everything the core shows to the user or asks of the desktop goes through
// Host: message boxes, file dialogs, the wait cursor, the first-run window,
// the default printer's metrics and ending the program on a fatal condition.
// The window program implements it with Qt; tests use a scripted host.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvo {

// The icon of a message box.
enum class MessageIcon {
    None,         // plain message box
    Information,  // "i" icon
    Error,        // stop sign (hand)
    Warning,      // exclamation mark
    Question,     // question mark
};

// The buttons of a message box.
enum class MessageButtons {
    Ok,
    OkCancel,
    YesNo,
    YesNoCancel,
};

// The button that closed a message box. Closing the box without a button
// answers Cancel for OkCancel and YesNoCancel, No for YesNo, Ok for Ok.
enum class MessageResult {
    Ok,
    Cancel,
    Yes,
    No,
};

// One file type of a file dialog.
struct FileFilter {
    std::u16string name;     // shown to the user, e.g. "Crossword Files (*.kvz)"
    std::u16string pattern;  // glob of the type, e.g. "*.kvz"; "*.*" matches every file
};

// The answer of a save dialog.
struct SaveDialogResult {
    std::filesystem::path path;  // the chosen file (default extension already added)
    int filterIndex = 0;         // index into the dialog's filters of the chosen type
};

// The default printer's page in device pixels.
struct PrinterMetrics {
    std::int32_t physicalWidth = 0;   // width of the whole sheet
    std::int32_t physicalHeight = 0;  // height of the whole sheet
    std::int32_t offsetX = 0;         // unprintable margin at the left edge
    std::int32_t offsetY = 0;         // unprintable margin at the top edge
    std::int32_t dpiX = 0;            // pixels per inch across
    std::int32_t dpiY = 0;            // pixels per inch down
};

class Host {
public:
    virtual ~Host() = default;

    // Shows a modal message box and returns the button pressed.
    virtual MessageResult MessageBox(std::u16string_view text, MessageIcon icon = MessageIcon::None,
                                     MessageButtons buttons = MessageButtons::Ok) = 0;

    // An open-file dialog; nullopt when the user cancels.
    virtual std::optional<std::filesystem::path> OpenFileDialog(std::u16string_view title,
                                                                const std::vector<FileFilter>& filters) = 0;

    // A save-file dialog; nullopt when the user cancels. With a default
    // extension (without its dot), a name typed without an extension gets
    // "." + defaultExtension; without one, the name is used as typed.
    virtual std::optional<SaveDialogResult> SaveFileDialog(std::u16string_view title,
                                                           const std::vector<FileFilter>& filters,
                                                           std::optional<std::u16string> defaultExtension) = 0;

    // The busy cursor; calls nest, and the cursor returns at the last End.
    virtual void BeginWaitCursor() = 0;
    virtual void EndWaitCursor() = 0;

    // The window shown while the first run of a version prepares the data
    // folder. Progress is step done out of total, for a progress bar.
    virtual void ShowFirstRunWindow() = 0;
    virtual void FirstRunProgress(int step, int total) = 0;
    virtual void HideFirstRunWindow() = 0;

    // The default printer's metrics; nullopt when there is no printer (or
    // the user declined to choose one).
    virtual std::optional<PrinterMetrics> DefaultPrinterMetrics() = 0;

    // Shows message (plain message box) and ends the program with exit code
    // 0. Never returns.
    [[noreturn]] virtual void FatalExit(std::u16string_view message) = 0;
};

// Shows the wait cursor for the life of the guard.
class WaitCursor {
public:
    explicit WaitCursor(Host& host) : host_(host) { host_.BeginWaitCursor(); }
    ~WaitCursor() { host_.EndWaitCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    Host& host_;  // the host whose cursor is shown busy
};

}  // namespace korvo
