// Load Solution: the grid of a chosen puzzle file becomes the answer grid.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "document/file_dialog_check.h"
#include "document/puzzle_file_fixture.h"

namespace korvo {
namespace {

using namespace puzzletest;

const std::u16string kFormatMessage = u"ERROR: Invalid Puzzle File Format.";
const std::u16string kSizeMessage =
    u"ERROR:\n\n The grid size of the file selected is not equal to the grid size of the current puzzle.";

class LoadSolution : public PuzzleDocumentTest {
protected:
    LoadSolution() {
        // A 15 x 15 puzzle whose answer grid is still that of an older puzzle.
        doc->cwData = FilledPuzzle(15, PatternGrid(15));
        doc->cwData->solutionText = PatternGrid(15, u'K');
        doc->cwData->answerTitle = u"Previous Answer";
        doc->answerTitleText = u"Answer mirror";
    }

    std::filesystem::path PuzzleFile(const std::string& name, const CCWData& puzzle) {
        return Write(name, EncodePuzzle(puzzle, SamplePage(), 60601).bytes);
    }
};

TEST_F(LoadSolution, chosenFile_setsTheAnswerGridOnlyWhenItIsAFilePuzzleOfTheSameSize) {
    struct Case {
        const char* name;
        std::function<std::filesystem::path()> file;
        std::vector<std::u16string> messages;
        bool answerChanges;           // the answer grid becomes the file's grid
        const char16_t* answerTitle;  // the answer title afterwards
    };
    const std::u16string own = PatternGrid(15);
    const std::vector<Case> cases = {
        {"the puzzle's own file", [this] { return PuzzleFile("own.kvz", *doc->cwData); }, {}, true, u"Puzzle Answer"},
        {"another 15 x 15 puzzle",
         [this] { return PuzzleFile("other.kvz", *FilledPuzzle(15, PatternGrid(15, u'C'))); },
         {},
         true,
         u"Previous Answer"},
        {"the same grid in lower case",
         [this] {
             std::u16string grid = PatternGrid(15);
             grid[0] = u'a';
             return PuzzleFile("lower.kvz", *FilledPuzzle(15, grid));
         },
         {},
         true,
         u"Previous Answer"},
        {"a 13 x 13 puzzle",
         [this] { return PuzzleFile("small.kvz", *FilledPuzzle(13, PatternGrid(13))); },
         {kSizeMessage},
         false,
         u"Previous Answer"},
        {"a 21 x 21 puzzle",
         [this] { return PuzzleFile("large.kvz", *FilledPuzzle(21, PatternGrid(21))); },
         {kSizeMessage},
         false,
         u"Previous Answer"},
        {"the own file cut short",
         [this] {
             Bytes b = EncodePuzzle(*doc->cwData, SamplePage(), 60601).bytes;
             b.resize(b.size() / 2);
             return Write("cut.kvz", b);
         },
         {kFormatMessage},
         false,
         u"Previous Answer"},
        {"a text file",
         [this] { return Write("notes.kvz", ToBytes("<ACROSS PUZZLE V2>\r\n")); },
         {kFormatMessage},
         false,
         u"Previous Answer"},
        {"a file that is gone", [this] { return File("gone.kvz"); }, {}, false, u"Previous Answer"},
        {"a folder", [this] { return Files(); }, {}, false, u"Previous Answer"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        doc->cwData->solutionText = PatternGrid(15, u'K');
        doc->cwData->answerTitle = u"Previous Answer";
        const std::u16string fileGrid = [&] {
            const auto path = c.file();
            host.openAnswers.push_back(path);
            if (!std::filesystem::is_regular_file(path)) return std::u16string();
            const PuzzleDecodeResult read = DecodePuzzle(ToBytes(testsupport::ReadFileForTest(path)));
            return read.ok() ? read.puzzle->gridText : std::u16string();
        }();
        doc->SetModifiedFlag(false);
        host.messages.clear();

        doc->OnLoadSolution();

        EXPECT_EQ(host.MessageTexts(), c.messages);
        EXPECT_EQ(doc->cwData->solutionText, c.answerChanges ? fileGrid : PatternGrid(15, u'K'));
        EXPECT_EQ(doc->cwData->answerTitle, c.answerTitle);
        EXPECT_EQ(doc->cwData->gridText, own) << "the puzzle itself never changes";
        EXPECT_EQ(doc->answerTitleText, u"Answer mirror") << "the mirror is not touched";
        EXPECT_TRUE(doc->IsModified()) << "a chosen file always marks the document modified";
    }
}

TEST_F(LoadSolution, cancelledDialogOrUnfilledPuzzle_changesNothing) {
    host.openAnswers.push_back(std::nullopt);
    doc->OnLoadSolution();
    ASSERT_NO_FATAL_FAILURE(
        testsupport::ExpectOnlyFileDialog(host, false, u"Select Puzzle Solution File",
                                          {{u"Crossword Files (*.kvz)", u"*.kvz"}, {u"All files (*.*)", u"*.*"}}));
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(doc->cwData->solutionText, PatternGrid(15, u'K'));

    // While the puzzle is not filled the command does nothing at all.
    doc->cwData->SetStatus(StatusDesigning);
    doc->OnLoadSolution();
    EXPECT_EQ(host.fileDialogs.size(), 1u);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_TRUE(host.messages.empty());
}

}  // namespace
}  // namespace korvo
