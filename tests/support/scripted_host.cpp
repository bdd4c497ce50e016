#include "support/scripted_host.h"

#include "platform/text_codec.h"

namespace korvo::testsupport {

namespace {

bool ButtonShown(MessageButtons buttons, MessageResult answer) {
    switch (buttons) {
        case MessageButtons::Ok: return answer == MessageResult::Ok;
        case MessageButtons::OkCancel: return answer == MessageResult::Ok || answer == MessageResult::Cancel;
        case MessageButtons::YesNo: return answer == MessageResult::Yes || answer == MessageResult::No;
        case MessageButtons::YesNoCancel:
            return answer == MessageResult::Yes || answer == MessageResult::No || answer == MessageResult::Cancel;
    }
    return false;
}

}  // namespace

FatalExitCalled::FatalExitCalled(std::u16string text)
    : std::runtime_error("FatalExit: " + Utf8FromUtf16(text)), text_(std::move(text)) {}

MessageResult ScriptedHost::MessageBox(std::u16string_view text, MessageIcon icon, MessageButtons buttons) {
    events.push_back("message " + Utf8FromUtf16(text));
    MessageResult answer = MessageResult::Ok;
    if (buttons != MessageButtons::Ok) {
        if (messageAnswers.empty())
            throw UnscriptedDialog("no scripted answer for the message: " + Utf8FromUtf16(text));
        answer = messageAnswers.front();
        messageAnswers.pop_front();
        if (!ButtonShown(buttons, answer)) {
            throw UnscriptedDialog("the scripted answer is not a button of the message: " + Utf8FromUtf16(text));
        }
    }
    messages.push_back(RecordedMessage{std::u16string(text), icon, buttons, answer});
    return answer;
}

std::optional<std::filesystem::path> ScriptedHost::OpenFileDialog(std::u16string_view title,
                                                                  const std::vector<FileFilter>& filters) {
    events.push_back("open " + Utf8FromUtf16(title));
    fileDialogs.push_back(RecordedFileDialog{false, std::u16string(title), filters, std::nullopt});
    if (openAnswers.empty()) throw UnscriptedDialog("no scripted answer for the open dialog: " + Utf8FromUtf16(title));
    std::optional<std::filesystem::path> answer = openAnswers.front();
    openAnswers.pop_front();
    return answer;
}

std::optional<SaveDialogResult> ScriptedHost::SaveFileDialog(std::u16string_view title,
                                                             const std::vector<FileFilter>& filters,
                                                             std::optional<std::u16string> defaultExtension) {
    events.push_back("save " + Utf8FromUtf16(title));
    fileDialogs.push_back(RecordedFileDialog{true, std::u16string(title), filters, defaultExtension});
    if (saveAnswers.empty()) throw UnscriptedDialog("no scripted answer for the save dialog: " + Utf8FromUtf16(title));
    std::optional<SaveDialogResult> answer = saveAnswers.front();
    saveAnswers.pop_front();
    return answer;
}

void ScriptedHost::BeginWaitCursor() {
    events.push_back("wait begin");
    ++waitDepth;
    ++waitBegins;
}

void ScriptedHost::EndWaitCursor() {
    events.push_back("wait end");
    --waitDepth;
}

void ScriptedHost::ShowFirstRunWindow() {
    events.push_back("first-run show");
    firstRunVisible = true;
    ++firstRunShows;
}

void ScriptedHost::FirstRunProgress(int step, int total) {
    events.push_back("first-run progress " + std::to_string(step) + "/" + std::to_string(total));
    firstRunSteps.emplace_back(step, total);
}

void ScriptedHost::HideFirstRunWindow() {
    events.push_back("first-run hide");
    firstRunVisible = false;
}

std::optional<PrinterMetrics> ScriptedHost::DefaultPrinterMetrics() {
    events.push_back("printer");
    return printer;
}

void ScriptedHost::FatalExit(std::u16string_view message) {
    events.push_back("fatal " + Utf8FromUtf16(message));
    fatalMessage = std::u16string(message);
    messages.push_back(
        RecordedMessage{std::u16string(message), MessageIcon::None, MessageButtons::Ok, MessageResult::Ok});
    throw FatalExitCalled(std::u16string(message));
}

std::vector<std::u16string> ScriptedHost::MessageTexts() const {
    std::vector<std::u16string> texts;
    for (const RecordedMessage& m : messages) texts.push_back(m.text);
    return texts;
}

}  // namespace korvo::testsupport
