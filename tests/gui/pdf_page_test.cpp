// PDF pages made in memory: the puzzle page and the grid view on a Letter
// sheet, what each holds by its text, refusals without a filled puzzle, the
// document left as it was, and the write through the safe file writer
// failing at every step without touching the old file.
#include "pdf_page.h"

#include <QImage>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "document/document_fixture.h"
#include "model/generation_status.h"
#include "pdf_text.h"

namespace korvo::testsupport {
namespace {

using guitest::PdfTextWithoutSpaces;
using guitest::WithoutSpaces;
using view::PdfPicture;

QString Q(const std::u16string& text) { return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())); }

// The numbers of the first page box of a PDF, in points.
std::vector<double> MediaBox(const QByteArray& pdf) {
    const qsizetype start = pdf.indexOf("/MediaBox [");
    const qsizetype end = start < 0 ? -1 : pdf.indexOf(']', start);
    if (end < 0) return {};
    std::vector<double> numbers;
    const qsizetype from = start + qsizetype(sizeof("/MediaBox [") - 1);
    for (const QByteArray& item : pdf.mid(from, end - from).simplified().split(' ')) numbers.push_back(item.toDouble());
    return numbers;
}

// A filled 3 x 3 puzzle: CAT / O!O / WET.
class PdfPageTest : public DocumentTest {
protected:
    PdfPageTest() {
        PrepareInstalledDataFolder();
        doc = MakeDocument(&fileSystem);
        doc->cwData = std::make_unique<CCWData>();
        CCWData& p = *doc->cwData;
        p.gridSize = 3;
        p.gridText = u"CATO!OWET";
        p.solutionText = p.gridText;
        const std::int32_t numbers[9] = {1, 252, 2, 252, 251, 252, 3, 252, 252};
        std::copy(std::begin(numbers), std::end(numbers), p.cellNumbers);
        p.highestNumber = 3;
        p.title = u"Pets Page Test";
        p.answerTitle = u"Solution";
        p.author = u"by Ann";
        p.copyright = u"(c) 2026 Ann";
        p.status = StatusFilled;
        const struct {
            int number;
            const char16_t* direction;
            const char16_t* clue;
            const char16_t* answer;
        } clues[] = {{1, kAcrossText, u"Feline", u"CAT"},
                     {3, kAcrossText, u"Damp", u"WET"},
                     {1, kDownText, u"Bovine", u"COW"},
                     {2, kDownText, u"Tiny tyke", u"TOT"}};
        for (const auto& c : clues) {
            ClueEntry entry;
            entry.number = c.number;
            entry.direction = c.direction;
            entry.clue = c.clue;
            entry.answer = c.answer;
            p.clues.push_back(entry);
        }
        doc->gridViewShown = false;
    }

    std::filesystem::path Target() const { return root.path() / "out" / "pets.pdf"; }

    // Writes picture to a file of its own and returns its text.
    QString TextOf(PdfPicture picture) {
        const std::filesystem::path path = root.path() / "text.pdf";
        const FileWriteResult written = view::WritePdfPage(*doc, picture, path);
        EXPECT_TRUE(written.ok) << written.message;
        const std::optional<QString> text = PdfTextWithoutSpaces(path);
        std::filesystem::remove(path);
        return text.value_or(QStringLiteral("<no pdftotext>"));
    }

    static bool HavePdfToText() { return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty(); }

    FailingFileSystem fileSystem;  // passes everything through until a test sets a failing step
    std::unique_ptr<CkorvoDoc> doc;
};

TEST_F(PdfPageTest, puzzlePage_isOneLetterPageHoldingTheTitleHeadingsAndEveryClue) {
    const view::PdfPage page = view::RenderPdfPage(*doc, PdfPicture::PuzzlePage);
    ASSERT_TRUE(page.ok()) << page.error;
    EXPECT_TRUE(page.bytes.startsWith("%PDF-"));
    EXPECT_TRUE(page.bytes.trimmed().endsWith("%%EOF"));
    // Letter: 8.5 x 11 inches of 72 points, one page.
    EXPECT_EQ(MediaBox(page.bytes), (std::vector<double>{0, 0, 612, 792})) << "not a Letter page";
    EXPECT_EQ(page.bytes.count("/Type /Page\n") + page.bytes.count("/Type /Page\r"), 1);

    if (!HavePdfToText()) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    const QString text = TextOf(PdfPicture::PuzzlePage);
    for (const char* expected : {"Pets Page Test", "ACROSS", "DOWN", "Solution", "by Ann", "(c) 2026 Ann"})
        EXPECT_TRUE(text.contains(WithoutSpaces(QString::fromUtf8(expected))))
            << expected << " in " << text.toStdString();
    for (const ClueEntry& clue : doc->cwData->clues)
        EXPECT_TRUE(text.contains(WithoutSpaces(Q(clue.clue)))) << Q(clue.clue).toStdString();
}

TEST_F(PdfPageTest, gridView_holdsTheFilledGridAndBannerButNoPageText) {
    if (!HavePdfToText()) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    const QString text = TextOf(PdfPicture::GridView);
    // The letters row by row, the block drawing none, then the banner's
    // first letters: a 3-square grid's banner runs past the paper's edge.
    EXPECT_TRUE(text.startsWith(QStringLiteral("CATOOWETCL"))) << text.toStdString();
    for (const char* pageText : {"Pets", "ACROSS", "DOWN", "Feline", "Solution"})
        EXPECT_FALSE(text.contains(QLatin1String(pageText))) << pageText << " in " << text.toStdString();
}

// The pixels darker than mid-grey of a PDF's first page rendered by
// pdftoppm at dpi; -1 when pdftoppm is missing or fails.
long DarkPixels(const QByteArray& pdf, const std::filesystem::path& folder, int dpi) {
    const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
    if (pdftoppm.isEmpty()) return -1;
    const std::filesystem::path file = folder / "ink.pdf";
    std::ofstream(file, std::ios::binary).write(pdf.constData(), pdf.size());
    QProcess process;
    process.start(pdftoppm, {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-gray"),
                             QStringLiteral("-png"), QStringLiteral("-singlefile"),
                             QString::fromStdString(file.string()), QString::fromStdString((folder / "ink").string())});
    if (!process.waitForFinished(60000) || process.exitCode() != 0) return -1;
    const QImage image(QString::fromStdString((folder / "ink.png").string()));
    if (image.isNull()) return -1;
    const QImage gray = image.convertToFormat(QImage::Format_Grayscale8);
    long dark = 0;
    for (int y = 0; y < gray.height(); ++y) {
        const uchar* line = gray.constScanLine(y);
        for (int x = 0; x < gray.width(); ++x) dark += line[x] < 128 ? 1 : 0;
    }
    return dark;
}

// A circle drawn with a hairline all but vanishes on paper and in a PDF
// viewer at low zoom; its pen is a hundredth of an inch, so at 300 dpi its
// ring is some three pixels wide all the way round.
TEST_F(PdfPageTest, circles_areDrawnWithAVisiblePen) {
    constexpr int kDpi = 300;
    const struct {
        const char* name;
        PdfPicture picture;
        int diameter;  // the circled square's side, page units
    } cases[] = {
        {"gridView", PdfPicture::GridView, 11000 / 2 / 3},
        {"puzzlePage", PdfPicture::PuzzlePage, 2 * ((8500 - 250 - 250 - 1) / 4) / 3},
    };
    for (const auto& c : cases) {
        doc->cwData->circled[0] = 0;
        const view::PdfPage plain = view::RenderPdfPage(*doc, c.picture);
        doc->cwData->circled[0] = 1;
        const view::PdfPage circled = view::RenderPdfPage(*doc, c.picture);
        ASSERT_TRUE(plain.ok() && circled.ok()) << c.name;
        const long without = DarkPixels(plain.bytes, root.path(), kDpi);
        const long with = DarkPixels(circled.bytes, root.path(), kDpi);
        if (without < 0 || with < 0) GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed";
        const double ring = 3.14159 * c.diameter / 1000.0 * kDpi;
        EXPECT_GT(static_cast<double>(with - without), 2.0 * ring)
            << c.name << ": " << with - without << " dark pixels for a ring of " << ring << " pixels";
    }
}

TEST_F(PdfPageTest, shownPicture_followsTheStatusAndTheViewChoice) {
    EXPECT_EQ(view::ShownPicture(*doc), PdfPicture::PuzzlePage);
    doc->gridViewShown = true;
    EXPECT_EQ(view::ShownPicture(*doc), PdfPicture::GridView);
    doc->gridViewShown = false;
    doc->cwData->status = StatusDesigning;
    EXPECT_EQ(view::ShownPicture(*doc), PdfPicture::GridView);
    doc->cwData.reset();
    EXPECT_EQ(view::ShownPicture(*doc), PdfPicture::GridView);
}

TEST_F(PdfPageTest, withoutAFilledPuzzle_thePageIsRefusedAndTheGridViewStillDrawn) {
    doc->cwData->status = StatusDesigning;
    const view::PdfPage page = view::RenderPdfPage(*doc, PdfPicture::PuzzlePage);
    EXPECT_FALSE(page.ok());
    EXPECT_TRUE(page.bytes.isEmpty());
    const FileWriteResult written = view::WritePdfPage(*doc, PdfPicture::PuzzlePage, root.path() / "page.pdf");
    EXPECT_FALSE(written.ok);
    EXPECT_FALSE(written.message.empty());
    EXPECT_FALSE(std::filesystem::exists(root.path() / "page.pdf"));
    EXPECT_TRUE(view::RenderPdfPage(*doc, PdfPicture::GridView).ok());
    if (HavePdfToText()) {
        EXPECT_TRUE(TextOf(PdfPicture::GridView).startsWith(QStringLiteral("CATOOWET")));
    }

    doc->cwData.reset();
    for (PdfPicture picture : {PdfPicture::PuzzlePage, PdfPicture::GridView})
        EXPECT_FALSE(view::RenderPdfPage(*doc, picture).ok());
}

TEST_F(PdfPageTest, rendering_leavesTheDocumentsFontsAndModifiedFlagAsTheyWere) {
    doc->SetModifiedFlag(false);
    const LOGFONTW title = doc->titleFont, grid = doc->gridFont, clue = doc->clueFont, banner = doc->bannerFont;
    for (PdfPicture picture : {PdfPicture::PuzzlePage, PdfPicture::GridView})
        ASSERT_TRUE(view::RenderPdfPage(*doc, picture).ok());
    EXPECT_EQ(doc->titleFont, title);
    EXPECT_EQ(doc->gridFont, grid);
    EXPECT_EQ(doc->clueFont, clue);
    EXPECT_EQ(doc->bannerFont, banner);
    EXPECT_FALSE(doc->IsModified());
}

TEST_F(PdfPageTest, write_replacesTheOldFileWithTheWholePdf) {
    std::filesystem::create_directories(Target().parent_path());
    WriteFileForTest(Target(), "old contents");
    const FileWriteResult written = view::WritePdfPage(*doc, PdfPicture::PuzzlePage, Target());
    ASSERT_TRUE(written.ok) << written.message;
    const std::string bytes = ReadFileForTest(Target());
    EXPECT_EQ(bytes.rfind("%PDF-", 0), 0u);
    EXPECT_NE(bytes.find("%%EOF", bytes.size() - 8), std::string::npos);
    EXPECT_EQ(root.Entries("out"), std::vector<std::string>{"pets.pdf"});
    ASSERT_EQ(fileSystem.temporaries.size(), 1u) << "written through a temporary file";
    EXPECT_NE(fileSystem.temporaries[0], Target());
}

TEST_F(PdfPageTest, failedWrite_atAnyStep_leavesTheOldFileAndNoTemporary) {
    std::filesystem::create_directories(Target().parent_path());
    const std::string old = "old contents of pets.pdf";
    WriteFileForTest(Target(), old);
    const view::PdfPage sample = view::RenderPdfPage(*doc, PdfPicture::PuzzlePage);
    ASSERT_TRUE(sample.ok());
    const std::size_t size = static_cast<std::size_t>(sample.bytes.size());
    ASSERT_GT(size, 1000u);

    struct Case {
        const char* name;
        FailStep step;
        std::size_t afterBytes;  // with FailStep::Write
    };
    const Case cases[] = {
        {"create", FailStep::Create, 0},     {"first byte", FailStep::Write, 0},
        {"second byte", FailStep::Write, 1}, {"a quarter", FailStep::Write, size / 4},
        {"half", FailStep::Write, size / 2}, {"last byte", FailStep::Write, size - 1},
        {"flush", FailStep::Sync, 0},        {"close", FailStep::Close, 0},
        {"rename", FailStep::Rename, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fileSystem.failAt = c.step;
        fileSystem.failAfterBytes = c.afterBytes;
        fileSystem.errorCode = ENOSPC;
        fileSystem.failures = 0;
        const FileWriteResult written = view::WritePdfPage(*doc, PdfPicture::PuzzlePage, Target());
        EXPECT_FALSE(written.ok);
        EXPECT_EQ(written.errorCode, ENOSPC);
        EXPECT_FALSE(written.message.empty());
        EXPECT_EQ(fileSystem.failures, 1);
        EXPECT_EQ(ReadFileForTest(Target()), old);
        EXPECT_EQ(root.Entries("out"), std::vector<std::string>{"pets.pdf"}) << "no partial or temporary file";
    }
}

}  // namespace
}  // namespace korvo::testsupport
