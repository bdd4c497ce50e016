#include "cli/cli_host.h"

#include "platform/text_codec.h"

namespace korvo::cli {

void CliHost::WriteLine(std::u16string_view text) {
    std::u16string line;
    bool inBreak = false;
    for (const char16_t c : text) {
        const bool isBreak = c == u'\r' || c == u'\n';
        if (isBreak && !inBreak && !line.empty()) line += u' ';
        if (!isBreak) line += c;
        inBreak = isBreak;
    }
    while (!line.empty() && line.back() == u' ') line.pop_back();
    err_ << prefix_ << Utf8FromUtf16(line) << "\n";
}

MessageResult CliHost::MessageBox(std::u16string_view text, MessageIcon, MessageButtons buttons) {
    WriteLine(text);
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

void CliHost::ShowFirstRunWindow() { WriteLine(u"preparing the data folder for this version"); }

void CliHost::FatalExit(std::u16string_view message) {
    WriteLine(message);
    throw FatalCondition(Utf8FromUtf16(message));
}

}  // namespace korvo::cli
