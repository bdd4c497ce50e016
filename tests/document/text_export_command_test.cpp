// Save Puzzle As Text: the dialog, the file written and a failing write.
#include "document/text_export_command.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "document/file_dialog_check.h"
#include "document/puzzle_file_fixture.h"
#include "support/failing_file_system.h"

namespace korvo {
namespace {

using namespace puzzletest;
using testsupport::FailingFileSystem;
using testsupport::ReadFileForTest;

// The text export of SmallPuzzle: the check mark of the title has no byte,
// the copyright loses its sign, the circled O is written in lower case.
const std::string kSmallPuzzleText =
    "<ACROSS PUZZLE V2>\r\n<TITLE>\r\nK\xE4"
    "fer ?\r\n<AUTHOR>\r\nby Ann\r\n<COPYRIGHT>\r\n2026 Ann\r\n"
    "<SIZE>\r\n3x3\r\n<GRID>\r\nCAT\r\nO.o\r\nWET\r\n<REBUS>\r\nMARK;\r\n"
    "<ACROSS>\r\nFeline\r\nDamp\r\n<DOWN>\r\nBovine\r\nTiny tyke\r\n"
    "<NOTEPAD>\r\nTheme: pets\r\nline 2\r\n";

using SavePuzzleAsText = PuzzleDocumentTest;

TEST_F(SavePuzzleAsText, chosenName_getsTheWholeTextExportAsTyped) {
    const auto path = File("pets");  // no extension is added
    host.saveAnswers.push_back(SaveDialogResult{path, 0});
    doc->SetModifiedFlag(false);
    doc->OnSavePuzzleAsText();

    ASSERT_NO_FATAL_FAILURE(testsupport::ExpectOnlyFileDialog(
        host, true, u"Save Puzzle As Text File", {{u"Text Files (*.txt)", u"*.txt"}, {u"All files (*.*)", u"*.*"}}));
    EXPECT_EQ(host.fileDialogs[0].defaultExtension, std::nullopt);

    EXPECT_EQ(ReadFileForTest(path), kSmallPuzzleText);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_FALSE(doc->IsModified()) << "an export does not touch the document";
    EXPECT_EQ(root.Entries("files"), std::vector<std::string>{"pets"});
}

TEST_F(SavePuzzleAsText, cancelledDialog_writesNothing) {
    host.saveAnswers.push_back(std::nullopt);
    doc->OnSavePuzzleAsText();
    EXPECT_EQ(host.fileDialogs.size(), 1u);
    EXPECT_TRUE(root.Entries("files").empty());
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(SavePuzzleAsText, cluesTakeTheirSectionFromTheirDirection) {
    // Across 1 and down 2: the numbers never drop, the down clue is still down.
    doc->cwData = FilledPuzzle(2, u"AB!C");
    doc->cwData->clues = {Clue(1, false, u"first", u"AB"), Clue(2, true, u"second", u"BC")};
    const auto path = File("two.txt");
    ASSERT_TRUE(doc->SavePuzzleAsText(path));
    const std::string text = ReadFileForTest(path);
    EXPECT_NE(text.find("<ACROSS>\r\nfirst\r\n<DOWN>\r\nsecond\r\n<NOTEPAD>"), std::string::npos) << text;
}

TEST_F(SavePuzzleAsText, failingWrite_showsAMessageAndKeepsTheOldFile) {
    const auto path = File("pets.txt");
    for (std::size_t n : {std::size_t{0}, std::size_t{10}, kSmallPuzzleText.size() - 1}) {
        SCOPED_TRACE(n);
        testsupport::WriteFileForTest(path, "old text");
        FailingFileSystem fs = FailingFileSystem::AfterBytes(n);
        doc->environment.fileSystem = &fs;
        host.messages.clear();
        EXPECT_FALSE(doc->SavePuzzleAsText(path));
        ASSERT_EQ(host.messages.size(), 1u);
        EXPECT_EQ(host.messages[0].text, u"An error was encountered while saving the text file.");
        EXPECT_EQ(ReadFileForTest(path), "old text");
        EXPECT_EQ(root.Entries("files"), std::vector<std::string>{"pets.txt"});
    }
}

}  // namespace
}  // namespace korvo
