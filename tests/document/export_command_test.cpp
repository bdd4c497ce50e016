// Export Puzzle: the dialog's file types, the format and extension of the
// chosen type, the files written, failing writes and the PDF hand-off.
#include "document/export_command.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "document/file_dialog_check.h"
#include "document/ipuz_export.h"
#include "document/puz_export.h"
#include "document/puzzle_file_fixture.h"
#include "document/text_export_command.h"
#include "support/failing_file_system.h"

namespace korvo {
namespace {

using namespace puzzletest;
using testsupport::FailingFileSystem;
using testsupport::FailStep;
using testsupport::ReadFileForTest;

using ExportCommand = PuzzleDocumentTest;

std::string ExpectedBytes(CCWData& puzzle, ExportFormat format) {
    const ExportResult r = format == ExportFormat::AcrossLite ? WritePuzExport(ExportPuzzleOf(puzzle))
                                                              : WriteIpuzExport(ExportPuzzleOf(puzzle));
    EXPECT_TRUE(r.ok()) << r.error;
    return r.bytes;
}

TEST(ExportFormats, formatForPath_byExtensionInAnyCase) {
    struct Case {
        const char* path;
        std::optional<ExportFormat> format;
    };
    const Case cases[] = {
        {"a.puz", ExportFormat::AcrossLite},
        {"dir.x/A.PUZ", ExportFormat::AcrossLite},
        {"a.ipuz", ExportFormat::Ipuz},
        {"a.IPuz", ExportFormat::Ipuz},
        {"a.pdf", ExportFormat::Pdf},
        {"a.Pdf", ExportFormat::Pdf},
        {"a", std::nullopt},
        {"a.txt", std::nullopt},
        {"a.puz.bak", std::nullopt},
        {"puz", std::nullopt},
        {".puz", std::nullopt},  // a hidden file's name, not an extension
        {"", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(FormatForPath(c.path), c.format);
    }
}

TEST(ExportFormats, extensionAdded_onlyWhenTheNameHasNone) {
    struct Case {
        const char* path;
        ExportFormat format;
        const char* expected;
    };
    const Case cases[] = {
        {"/t/pets", ExportFormat::AcrossLite, "/t/pets.puz"},
        {"/t/pets", ExportFormat::Ipuz, "/t/pets.ipuz"},
        {"/t/pets", ExportFormat::Pdf, "/t/pets.pdf"},
        {"/t.d/pets", ExportFormat::Pdf, "/t.d/pets.pdf"},  // a dot in the folder is no extension
        {"/t/pets.puz", ExportFormat::AcrossLite, "/t/pets.puz"},
        {"/t/pets.txt", ExportFormat::Ipuz, "/t/pets.txt"},  // the name as typed
        {"/t/pets.PDF", ExportFormat::Pdf, "/t/pets.PDF"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(WithExportExtension(c.path, c.format), std::filesystem::path(c.expected));
    }
}

TEST_F(ExportCommand, dialog_offersTheThreeTypes_andTheChosenTypeDecidesFormatAndExtension) {
    struct Case {
        const char* typed;
        int filterIndex;
        const char* written;
        std::optional<ExportFormat> format;  // nullopt: the PDF writer is called
    };
    const Case cases[] = {
        {"a", 0, "a.puz", ExportFormat::AcrossLite},
        {"b", 1, "b.ipuz", ExportFormat::Ipuz},
        {"c.puz", 0, "c.puz", ExportFormat::AcrossLite},
        {"d.data", 1, "d.data", ExportFormat::Ipuz},  // an extension of the user's own is kept
        {"e.puz", 1, "e.puz", ExportFormat::Ipuz},    // the type, not the name, decides
        {"f", 2, "f.pdf", std::nullopt},
        {"g.ipuz", 7, "g.ipuz", ExportFormat::Ipuz},   // no valid type: the name's extension
        {"h", -1, "h.puz", ExportFormat::AcrossLite},  // neither: the first type
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        host.fileDialogs.clear();
        host.messages.clear();
        host.saveAnswers.push_back(SaveDialogResult{File(c.typed), c.filterIndex});
        std::vector<std::filesystem::path> pdfPaths;
        doc->SetModifiedFlag(false);
        OnExportPuzzle(*doc, [&](const std::filesystem::path& p) {
            pdfPaths.push_back(p);
            testsupport::WriteFileForTest(p, "%PDF-1.4");
            return true;
        });

        ASSERT_NO_FATAL_FAILURE(testsupport::ExpectOnlyFileDialog(host, true, u"Export Puzzle",
                                                                  {{u"Across Lite Files (*.puz)", u"*.puz"},
                                                                   {u"ipuz Files (*.ipuz)", u"*.ipuz"},
                                                                   {u"PDF Files (*.pdf)", u"*.pdf"}}));

        EXPECT_TRUE(host.messages.empty());
        EXPECT_FALSE(doc->IsModified()) << "an export does not touch the document";
        if (c.format) {
            EXPECT_TRUE(pdfPaths.empty());
            EXPECT_EQ(ReadFileForTest(File(c.written)), ExpectedBytes(*doc->cwData, *c.format));
        } else {
            EXPECT_EQ(pdfPaths, std::vector<std::filesystem::path>{File(c.written)});
        }
        std::filesystem::remove(File(c.written));
        EXPECT_TRUE(root.Entries("files").empty()) << "no other file was written";
    }
}

TEST_F(ExportCommand, writtenFiles_areTheWritersBytes) {
    const auto puz = File("pets.puz");
    ASSERT_TRUE(ExportPuzzleFile(*doc, puz, ExportFormat::AcrossLite));
    const std::string bytes = ReadFileForTest(puz);
    ASSERT_GT(bytes.size(), 0x34u);
    EXPECT_EQ(bytes.substr(2, 12), std::string("ACROSS&DOWN\0", 12));
    EXPECT_EQ(bytes, ExpectedBytes(*doc->cwData, ExportFormat::AcrossLite));

    const auto ipuz = File("pets.ipuz");
    ASSERT_TRUE(ExportPuzzleFile(*doc, ipuz, ExportFormat::Ipuz));
    const std::string json = ReadFileForTest(ipuz);
    EXPECT_NE(json.find("http://ipuz.org/v2"), std::string::npos);
    EXPECT_EQ(json, ExpectedBytes(*doc->cwData, ExportFormat::Ipuz));
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(ExportCommand, cancelledDialog_writesNothing) {
    host.saveAnswers.push_back(std::nullopt);
    bool pdfCalled = false;
    OnExportPuzzle(*doc, [&](const std::filesystem::path&) { return pdfCalled = true; });
    EXPECT_EQ(host.fileDialogs.size(), 1u);
    EXPECT_FALSE(pdfCalled);
    EXPECT_TRUE(root.Entries("files").empty());
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(ExportCommand, notFilled_isRefusedWithoutDialogOrFile) {
    for (const auto status : {StatusExhausted, StatusGenerating, StatusDesigning, StatusReverting, StatusDuplicates}) {
        SCOPED_TRACE(static_cast<int>(status));
        doc->cwData->SetStatus(status);
        OnExportPuzzle(*doc);
        EXPECT_TRUE(host.fileDialogs.empty());
        for (const ExportFormat format : {ExportFormat::AcrossLite, ExportFormat::Ipuz, ExportFormat::Pdf}) {
            bool pdfCalled = false;
            EXPECT_FALSE(ExportPuzzleFile(*doc, File("x"), format,
                                          [&](const std::filesystem::path&) { return pdfCalled = true; }));
            EXPECT_FALSE(pdfCalled);
        }
        EXPECT_TRUE(root.Entries("files").empty());
        EXPECT_TRUE(host.messages.empty());
    }
    doc->cwData.reset();
    OnExportPuzzle(*doc);
    EXPECT_FALSE(ExportPuzzleFile(*doc, File("x.puz"), ExportFormat::AcrossLite));
    EXPECT_TRUE(host.fileDialogs.empty());
    EXPECT_TRUE(root.Entries("files").empty());
}

TEST_F(ExportCommand, failingWrite_showsTheMessageWithItsReason_andLeavesNoFile) {
    for (const ExportFormat format : {ExportFormat::AcrossLite, ExportFormat::Ipuz}) {
        const std::size_t size = ExpectedBytes(*doc->cwData, format).size();
        struct Failure {
            const char* name;
            FailingFileSystem fs;
        };
        std::vector<Failure> failures;
        failures.push_back({"create", FailingFileSystem(FailStep::Create)});
        for (std::size_t n : {std::size_t{0}, std::size_t{7}, size - 1})
            failures.push_back({"write", FailingFileSystem::AfterBytes(n)});
        failures.push_back({"sync", FailingFileSystem(FailStep::Sync)});
        failures.push_back({"close", FailingFileSystem(FailStep::Close)});
        failures.push_back({"rename", FailingFileSystem(FailStep::Rename)});
        for (Failure& f : failures) {
            SCOPED_TRACE(std::string(f.name) + (format == ExportFormat::Ipuz ? " ipuz" : " puz"));
            doc->environment.fileSystem = &f.fs;
            host.messages.clear();
            EXPECT_FALSE(ExportPuzzleFile(*doc, File("new.out"), format));
            ASSERT_EQ(host.messages.size(), 1u);
            const std::u16string& text = host.messages[0].text;
            EXPECT_EQ(text.rfind(u"An error was encountered while exporting the puzzle.\n\n", 0), 0u);
            EXPECT_GT(text.size(), std::u16string_view(kExportErrorMessage).size() + 2) << "the reason follows";
            EXPECT_TRUE(root.Entries("files").empty()) << "no partial or temporary file";

            // An old file of that name stays as it was.
            testsupport::WriteFileForTest(File("old.out"), "old bytes");
            host.messages.clear();
            EXPECT_FALSE(ExportPuzzleFile(*doc, File("old.out"), format));
            EXPECT_EQ(host.messages.size(), 1u);
            EXPECT_EQ(ReadFileForTest(File("old.out")), "old bytes");
            EXPECT_EQ(root.Entries("files"), std::vector<std::string>{"old.out"});
            std::filesystem::remove(File("old.out"));
        }
    }
    doc->environment.fileSystem = nullptr;
}

TEST_F(ExportCommand, puzzleTheWritersRefuse_showsTheirReason_andWritesNothing) {
    doc->cwData->clues.pop_back();  // a down entry without its clue
    for (const ExportFormat format : {ExportFormat::AcrossLite, ExportFormat::Ipuz}) {
        host.messages.clear();
        EXPECT_FALSE(ExportPuzzleFile(*doc, File("bad"), format));
        ASSERT_EQ(host.messages.size(), 1u);
        EXPECT_EQ(host.messages[0].text.rfind(kExportErrorMessage, 0), 0u);
        EXPECT_GT(host.messages[0].text.size(), std::u16string_view(kExportErrorMessage).size());
        EXPECT_TRUE(root.Entries("files").empty());
    }
}

TEST_F(ExportCommand, pdf_withoutWriter_saysItIsNotAvailable) {
    EXPECT_FALSE(ExportPuzzleFile(*doc, File("p.pdf"), ExportFormat::Pdf));
    EXPECT_EQ(host.MessageTexts(), std::vector<std::u16string>{u"PDF output is not available in this build."});
    EXPECT_TRUE(root.Entries("files").empty());
}

TEST_F(ExportCommand, pdf_failingWriter_showsTheExportMessage) {
    EXPECT_FALSE(
        ExportPuzzleFile(*doc, File("p.pdf"), ExportFormat::Pdf, [](const std::filesystem::path&) { return false; }));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text.rfind(kExportErrorMessage, 0), 0u);
}

TEST_F(ExportCommand, thePuzzleFileThatIsOpen_isNeverReplacedByAnExportOrATextExport) {
    ASSERT_TRUE(doc->SavePuzzleFile(File("pets.kvz")));
    const std::string saved = ReadFileForTest(File("pets.kvz"));
    std::filesystem::create_symlink(File("pets.kvz"), File("link.puz"));
    std::filesystem::create_hard_link(File("pets.kvz"), File("hard.ipuz"));
    const std::filesystem::path names[] = {File("pets.kvz"), Files() / "." / "pets.kvz",
                                           Files() / ".." / "files" / "pets.kvz", File("link.puz"), File("hard.ipuz")};
    for (const std::filesystem::path& name : names) {
        SCOPED_TRACE(name.string());
        for (const ExportFormat format : {ExportFormat::AcrossLite, ExportFormat::Ipuz, ExportFormat::Pdf}) {
            host.messages.clear();
            bool pdfCalled = false;
            EXPECT_FALSE(
                ExportPuzzleFile(*doc, name, format, [&](const std::filesystem::path&) { return pdfCalled = true; }));
            EXPECT_FALSE(pdfCalled);
            ASSERT_EQ(host.messages.size(), 1u);
            EXPECT_EQ(host.messages[0].text.rfind(kExportErrorMessage, 0), 0u);
            EXPECT_NE(host.messages[0].text.find(u"is the puzzle file that is open"), std::u16string::npos);
        }
        host.messages.clear();
        EXPECT_FALSE(doc->SavePuzzleAsText(name));
        ASSERT_EQ(host.messages.size(), 1u);
        EXPECT_NE(host.messages[0].text.find(u"is the puzzle file that is open"), std::u16string::npos);
        EXPECT_EQ(ReadFileForTest(File("pets.kvz")), saved);
    }
    EXPECT_TRUE(std::filesystem::is_symlink(File("link.puz")));
    EXPECT_EQ(std::filesystem::hard_link_count(File("pets.kvz")), 2u);

    // Another name is written as always, and so is the file itself once the
    // document has forgotten it.
    EXPECT_TRUE(ExportPuzzleFile(*doc, File("pets.puz"), ExportFormat::AcrossLite));
    EXPECT_TRUE(doc->SavePuzzleAsText(File("pets.txt")));
    doc->pathName.clear();
    EXPECT_TRUE(ExportPuzzleFile(*doc, File("hard.ipuz"), ExportFormat::Ipuz));
}

TEST_F(ExportCommand, pdf_ofAClueListThatDoesNotMatchTheGrid_isRefusedBeforeDrawing) {
    // 93 Across in a 3 x 3 grid, as a damaged file may hold it.
    doc->cwData->clues[0].number = 93;
    bool pdfCalled = false;
    EXPECT_FALSE(ExportPuzzleFile(*doc, File("p.pdf"), ExportFormat::Pdf,
                                  [&](const std::filesystem::path&) { return pdfCalled = true; }));
    EXPECT_FALSE(pdfCalled);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text,
              std::u16string(kExportErrorMessage) + u"\n\nclue 93 Across has no entry in the grid");
    EXPECT_TRUE(root.Entries("files").empty());
}

TEST_F(ExportCommand, pdf_failingWriterWithAReason_showsThatReason) {
    const auto failing = [](const std::filesystem::path&) {
        FileWriteResult failed;
        failed.ok = false;
        failed.message = "renaming p.pdf: No space left on device";
        return failed;
    };
    EXPECT_FALSE(ExportPuzzleFile(*doc, File("p.pdf"), ExportFormat::Pdf, failing));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text,
              std::u16string(kExportErrorMessage) + u"\n\nrenaming p.pdf: No space left on device");
}

}  // namespace
}  // namespace korvo
