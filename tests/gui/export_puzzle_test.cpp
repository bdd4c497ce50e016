// "Export Puzzle..." in the window: the command's place and state, the
// dialog's three file types each writing its format (the type's extension
// added to a bare name), the PDF holding the picture the view shows (the
// puzzle page or the grid view), and a failing write that shows a message
// and leaves the old file and the document as they were.
#include <QAction>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMenu>

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "document/command_table.h"
#include "document/export_command.h"
#include "model/generation_status.h"
#include "pdf_text.h"
#include "support/failing_file_system.h"
#include "window_fixture.h"

namespace {

using namespace korvo;
using korvo::guitest::CentreGrid;
using korvo::guitest::PdfTextWithoutSpaces;
using korvo::guitest::WindowFixture;
using korvo::guitest::WithoutSpaces;
using korvo::testsupport::FailingFileSystem;
using korvo::testsupport::FailStep;
using korvo::testsupport::ReadFileForTest;
using korvo::testsupport::RecordedFileDialog;
using korvo::testsupport::WriteFileForTest;

const std::vector<std::string> kSquareWords = {"CAT", "ORE", "WET", "COW", "ARE", "TET"};

// The dialog's file types, in order.
constexpr int kPuzType = 0;
constexpr int kIpuzType = 1;
constexpr int kPdfType = 2;

QString Q(const std::u16string& text) { return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())); }

class ExportPuzzleTest : public ::testing::Test {
protected:
    ExportPuzzleTest() : w(kSquareWords) { w.environment.fileSystem = &fileSystem; }

    // Starts the window and fills the middle of its 9 x 9 grid.
    void StartAndFill() {
        w.app = std::make_unique<CkorvoApp>(w.host, w.environment);
        ASSERT_TRUE(w.Start());
        w.LoadGrid(CentreGrid());
        w.Command(cmd::kStartGenerating);
        ASSERT_TRUE(w.WaitForRunEnd());
        ASSERT_EQ(w.Puzzle()->GetStatus(), StatusFilled);
        ASSERT_FALSE(w.Puzzle()->clues.empty());
        w.host.messages.clear();
        w.host.fileDialogs.clear();
    }

    // Runs the command with the save dialog answered by name and type.
    void Export(const std::filesystem::path& name, int type) {
        w.host.saveAnswers.push_back(SaveDialogResult{name, type});
        w.Command(cmd::kExportPuzzle);
    }

    std::filesystem::path At(const char* name) const { return w.temp.path() / name; }

    FailingFileSystem fileSystem;  // passes everything through until a test sets a failing step
    WindowFixture w;
};

TEST_F(ExportPuzzleTest, command_followsSaveAsTextAndIsEnabledOnlyWhenFilled) {
    w.app = std::make_unique<CkorvoApp>(w.host, w.environment);
    ASSERT_TRUE(w.Start());
    QAction* action = w.Frame()->Action(cmd::kExportPuzzle);
    ASSERT_NE(action, nullptr);
    EXPECT_EQ(action->text(), QStringLiteral("&Export Puzzle..."));
    w.Frame()->UpdateCommandStates();
    EXPECT_FALSE(action->isEnabled());
    // Disabled or not, the command does nothing before a fill.
    w.Command(cmd::kExportPuzzle);
    EXPECT_TRUE(w.host.fileDialogs.empty());

    QMenu* fileMenu = nullptr;
    for (QObject* owner : action->associatedObjects())
        if (auto* menu = qobject_cast<QMenu*>(owner)) fileMenu = menu;
    ASSERT_NE(fileMenu, nullptr);
    const QList<QAction*> items = fileMenu->actions();
    const qsizetype at = items.indexOf(action);
    ASSERT_GT(at, 0);
    EXPECT_EQ(items[at - 1], w.Frame()->Action(cmd::kSavePuzzleAsText));

    w.LoadGrid(CentreGrid());
    w.Command(cmd::kStartGenerating);
    ASSERT_TRUE(w.WaitForRunEnd());
    w.Frame()->UpdateCommandStates();
    EXPECT_TRUE(action->isEnabled());
}

TEST_F(ExportPuzzleTest, eachFileType_writesItsFormatWithItsExtensionAdded) {
    StartAndFill();
    const CCWData& puzzle = *w.Puzzle();
    Export(At("pets"), kPuzType);
    Export(At("pets"), kIpuzType);
    Export(At("pets"), kPdfType);
    EXPECT_TRUE(w.host.messages.empty()) << "no message on success";

    ASSERT_EQ(w.host.fileDialogs.size(), 3u);
    const RecordedFileDialog& dialog = w.host.fileDialogs[0];
    EXPECT_TRUE(dialog.save);
    EXPECT_EQ(dialog.title, u"Export Puzzle");
    ASSERT_EQ(dialog.filters.size(), 3u);
    EXPECT_EQ(dialog.filters[0].name, u"Across Lite Files (*.puz)");
    EXPECT_EQ(dialog.filters[1].name, u"ipuz Files (*.ipuz)");
    EXPECT_EQ(dialog.filters[2].name, u"PDF Files (*.pdf)");
    EXPECT_FALSE(std::filesystem::exists(At("pets")));

    const std::string puz = ReadFileForTest(At("pets.puz"));
    ASSERT_GT(puz.size(), 0x34u);
    EXPECT_EQ(puz.substr(2, 12), std::string("ACROSS&DOWN\0", 12));
    EXPECT_EQ(puz[0x2C], 9);

    QJsonParseError parseError;
    const QJsonDocument ipuz =
        QJsonDocument::fromJson(QByteArray::fromStdString(ReadFileForTest(At("pets.ipuz"))), &parseError);
    ASSERT_EQ(parseError.error, QJsonParseError::NoError) << parseError.errorString().toStdString();
    EXPECT_EQ(ipuz.object().value(QStringLiteral("title")).toString(), Q(puzzle.title));

    EXPECT_EQ(ReadFileForTest(At("pets.pdf")).rfind("%PDF-", 0), 0u);
    const std::optional<QString> text = PdfTextWithoutSpaces(At("pets.pdf"));
    if (!text) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    for (const QString& expected : {Q(puzzle.title), QStringLiteral("ACROSS"), QStringLiteral("DOWN")})
        EXPECT_TRUE(text->contains(WithoutSpaces(expected))) << expected.toStdString() << " in " << text->toStdString();
    for (const ClueEntry& clue : puzzle.clues)
        EXPECT_TRUE(text->contains(WithoutSpaces(Q(clue.clue)))) << Q(clue.clue).toStdString();
}

TEST_F(ExportPuzzleTest, nameWithAnExtension_isKeptAsTyped) {
    StartAndFill();
    Export(At("given.PDF"), kPdfType);
    EXPECT_EQ(ReadFileForTest(At("given.PDF")).rfind("%PDF-", 0), 0u);
    EXPECT_FALSE(std::filesystem::exists(At("given.PDF.pdf")));
}

TEST_F(ExportPuzzleTest, pdfInTheGridView_showsTheFilledGridAndItsBanner) {
    StartAndFill();
    w.Command(cmd::kToggleView);
    if (!w.Doc()->gridViewShown) w.Command(cmd::kToggleView);
    ASSERT_TRUE(w.Doc()->gridViewShown);
    Export(At("grid"), kPdfType);
    EXPECT_TRUE(w.host.messages.empty());
    ASSERT_EQ(ReadFileForTest(At("grid.pdf")).rfind("%PDF-", 0), 0u);

    const std::optional<QString> text = PdfTextWithoutSpaces(At("grid.pdf"));
    if (!text) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    // The grid's letters row by row, then the banner of a filled puzzle.
    QString letters;
    for (char16_t c : w.Puzzle()->GetGridText())
        if (c >= u'A' && c <= u'Z') letters += QChar(c);
    EXPECT_EQ(letters.size(), 9);
    EXPECT_TRUE(text->startsWith(letters + QStringLiteral("CLUEEDITOR"))) << text->toStdString();
    EXPECT_FALSE(text->contains(QStringLiteral("ACROSS"))) << "not the puzzle page";
    EXPECT_FALSE(text->contains(WithoutSpaces(Q(w.Puzzle()->title))));
}

TEST_F(ExportPuzzleTest, failedWrite_showsTheMessageAndLeavesTheOldFileAndTheDocument) {
    StartAndFill();
    struct Case {
        const char* name;
        int type;
        FailStep step;
        std::size_t afterBytes;
    };
    const Case cases[] = {
        {"old.pdf", kPdfType, FailStep::Write, 100},
        {"old.pdf", kPdfType, FailStep::Rename, 0},
        {"old.puz", kPuzType, FailStep::Write, 10},
        {"old.ipuz", kIpuzType, FailStep::Sync, 0},
    };
    for (bool modified : {true, false}) {
        w.Doc()->SetModifiedFlag(modified);
        for (const Case& c : cases) {
            SCOPED_TRACE(c.name);
            WriteFileForTest(At(c.name), "the old file");
            const std::vector<std::string> before = w.temp.Entries();
            fileSystem.failAt = c.step;
            fileSystem.failAfterBytes = c.afterBytes;
            w.host.messages.clear();
            Export(At(c.name), c.type);
            fileSystem.failAt = FailStep::None;

            ASSERT_EQ(w.host.messages.size(), 1u);
            EXPECT_EQ(w.host.messages[0].text.rfind(kExportErrorMessage, 0), 0u);
            EXPECT_EQ(ReadFileForTest(At(c.name)), "the old file");
            EXPECT_EQ(w.temp.Entries(), before) << "no partial or temporary file";
            EXPECT_EQ(w.Doc()->IsModified(), modified);
        }
    }
}

}  // namespace
