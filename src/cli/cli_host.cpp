#include "cli/cli_host.h"

#include "platform/text_codec.h"

namespace korvo::cli {

MessageResult CliHost::MessageBox(std::u16string_view text, MessageIcon, MessageButtons buttons) {
    err_ << "korvo-cli: " << Utf8FromUtf16(text) << "\n";
    switch (buttons) {
        case MessageButtons::Ok: return MessageResult::Ok;
        case MessageButtons::OkCancel:
        case MessageButtons::YesNoCancel: return MessageResult::Cancel;
        case MessageButtons::YesNo: return MessageResult::No;
    }
    return MessageResult::Cancel;
}

std::optional<std::filesystem::path> CliHost::OpenFileDialog(std::u16string_view, const std::vector<FileFilter>&) {
    return std::nullopt;
}

std::optional<SaveDialogResult> CliHost::SaveFileDialog(std::u16string_view, const std::vector<FileFilter>&,
                                                        std::optional<std::u16string>) {
    return std::nullopt;
}

void CliHost::ShowFirstRunWindow() { err_ << "korvo-cli: preparing the data folder for this version\n"; }

void CliHost::FatalExit(std::u16string_view message) {
    const std::string text = Utf8FromUtf16(message);
    err_ << "korvo-cli: " << text << "\n";
    throw FatalCondition(text);
}

}  // namespace korvo::cli
