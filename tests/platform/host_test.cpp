#include "platform/host.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "support/scripted_host.h"

namespace korvo {
namespace {

using testsupport::FatalExitCalled;
using testsupport::ScriptedHost;
using testsupport::UnscriptedDialog;

TEST(WaitCursor, guardsNestAndEndOnException) {
    ScriptedHost host;
    try {
        WaitCursor outer(host);
        {
            WaitCursor inner(host);
            EXPECT_EQ(host.waitDepth, 2);
        }
        EXPECT_EQ(host.waitDepth, 1);
        throw std::runtime_error("leave");
    } catch (const std::runtime_error&) {}
    EXPECT_EQ(host.waitDepth, 0);
    EXPECT_EQ(host.waitBegins, 2);
}

TEST(ScriptedHost, recordsMessagesAndAnswersQuestionsInOrder) {
    ScriptedHost host;
    host.messageAnswers = {MessageResult::Cancel, MessageResult::No};
    Host& h = host;
    EXPECT_EQ(h.MessageBox(u"Crossword Successfully Generated"), MessageResult::Ok);
    EXPECT_EQ(h.MessageBox(u"restore?", MessageIcon::Information, MessageButtons::OkCancel), MessageResult::Cancel);
    EXPECT_EQ(h.MessageBox(u"save?", MessageIcon::Question, MessageButtons::YesNoCancel), MessageResult::No);

    ASSERT_EQ(host.messages.size(), 3u);
    EXPECT_EQ(host.messages[1].icon, MessageIcon::Information);
    EXPECT_EQ(host.messages[1].buttons, MessageButtons::OkCancel);
    EXPECT_EQ(host.MessageTexts(),
              (std::vector<std::u16string>{u"Crossword Successfully Generated", u"restore?", u"save?"}));
    EXPECT_TRUE(host.messageAnswers.empty());
}

TEST(ScriptedHost, questionsWithoutAFittingAnswer_failTheTestLoudly) {
    ScriptedHost host;
    EXPECT_THROW(host.MessageBox(u"?", MessageIcon::Question, MessageButtons::YesNo), UnscriptedDialog);
    host.messageAnswers = {MessageResult::Ok};
    EXPECT_THROW(host.MessageBox(u"?", MessageIcon::Question, MessageButtons::YesNo), UnscriptedDialog)
        << "YesNo has no OK button";
    EXPECT_THROW(host.OpenFileDialog(u"Select Puzzle Solution File", {}), UnscriptedDialog);
    EXPECT_THROW(host.SaveFileDialog(u"Save Puzzle As Text File", {}, std::nullopt), UnscriptedDialog);
}

TEST(ScriptedHost, fileDialogs_recordTheirSetupAndGiveTheQueuedChoice) {
    ScriptedHost host;
    host.openAnswers = {std::filesystem::path("/tmp/a.kvz"), std::nullopt};
    host.saveAnswers = {SaveDialogResult{"/tmp/out.txt", 0}};
    const std::vector<FileFilter> filters{{u"Text Files (*.txt)", u"*.txt"}, {u"All files (*.*)", u"*.*"}};

    EXPECT_EQ(host.OpenFileDialog(u"Open", filters), std::filesystem::path("/tmp/a.kvz"));
    EXPECT_EQ(host.OpenFileDialog(u"Open", filters), std::nullopt);
    const std::optional<SaveDialogResult> saved =
        host.SaveFileDialog(u"Save Puzzle As Text File", filters, std::nullopt);
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->path, "/tmp/out.txt");

    ASSERT_EQ(host.fileDialogs.size(), 3u);
    EXPECT_TRUE(host.fileDialogs[2].save);
    EXPECT_EQ(host.fileDialogs[2].title, u"Save Puzzle As Text File");
    EXPECT_EQ(host.fileDialogs[2].filters[1].pattern, u"*.*");
    EXPECT_FALSE(host.fileDialogs[2].defaultExtension);
}

TEST(ScriptedHost, fatalExit_recordsTheMessageAndThrows) {
    ScriptedHost host;
    Host& h = host;
    try {
        h.FatalExit(u"FATAL ERROR: Word Buffer Creation Failed.");
        FAIL() << "FatalExit returned";
    } catch (const FatalExitCalled& e) {
        EXPECT_EQ(e.text(), u"FATAL ERROR: Word Buffer Creation Failed.");
    }
    EXPECT_EQ(host.fatalMessage, u"FATAL ERROR: Word Buffer Creation Failed.");
    EXPECT_EQ(host.events.back(), "fatal FATAL ERROR: Word Buffer Creation Failed.");
}

TEST(ScriptedHost, firstRunWindowAndPrinter_areLoggedInOrder) {
    ScriptedHost host;
    host.printer = PrinterMetrics{5100, 6600, 100, 100, 600, 600};
    host.ShowFirstRunWindow();
    host.FirstRunProgress(1, 5);
    host.HideFirstRunWindow();
    EXPECT_EQ(host.DefaultPrinterMetrics()->dpiX, 600);
    EXPECT_EQ(host.events,
              (std::vector<std::string>{"first-run show", "first-run progress 1/5", "first-run hide", "printer"}));
    EXPECT_FALSE(host.firstRunVisible);
    EXPECT_EQ(host.firstRunShows, 1);
}

}  // namespace
}  // namespace korvo
