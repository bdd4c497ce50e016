// One page for every output: the page setup's paper and orientation lay the
// puzzle page out on screen, in the preview, on the printer and in the
// exported PDF; without a printer the page setup has the locale's paper.
#include <QImage>
#include <QPageSize>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <clocale>
#include <fstream>
#include <sstream>

#include "document/command_table.h"
#include "modal_answer.h"
#include "model/generation_status.h"
#include "pdf_text.h"
#include "printer_page.h"
#include "qt_host.h"
#include "window_fixture.h"

namespace {

using namespace korvo;
using korvo::guitest::CentreGrid;
using korvo::guitest::PdfTextWithoutSpaces;
using korvo::guitest::WindowFixture;
using korvo::guitest::WithoutSpaces;

const std::vector<std::string> kSquareWords = {"CAT", "ORE", "WET", "COW", "ARE", "TET"};

std::string FileText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The page box of a PDF in points, rounded.
QSize MediaBoxSize(const std::string& pdf) {
    const std::size_t start = pdf.find("/MediaBox [");
    if (start == std::string::npos) return {};
    std::istringstream numbers(pdf.substr(start + 11, 80));
    double left = 0, bottom = 0, right = 0, top = 0;
    numbers >> left >> bottom >> right >> top;
    return QSize(static_cast<int>(std::lround(right - left)), static_cast<int>(std::lround(top - bottom)));
}

// The share of the page's width, from the left, up to the last column with ink.
double InkedWidthShare(const std::filesystem::path& pdf, const std::filesystem::path& folder) {
    const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
    if (pdftoppm.isEmpty()) return -1;
    QProcess process;
    process.start(pdftoppm, {QStringLiteral("-r"), QStringLiteral("40"), QStringLiteral("-gray"),
                             QStringLiteral("-png"), QStringLiteral("-singlefile"),
                             QString::fromStdString(pdf.string()), QString::fromStdString((folder / "page").string())});
    if (!process.waitForFinished(60000) || process.exitCode() != 0) return -1;
    const QImage image =
        QImage(QString::fromStdString((folder / "page.png").string())).convertToFormat(QImage::Format_Grayscale8);
    if (image.isNull()) return -1;
    int last = 0;
    for (int y = 0; y < image.height(); ++y) {
        const uchar* line = image.constScanLine(y);
        for (int x = 0; x < image.width(); ++x)
            if (line[x] < 160) last = std::max(last, x);
    }
    return static_cast<double>(last + 1) / image.width();
}

class PageSetupTest : public ::testing::Test {
protected:
    PageSetupTest() : w(kSquareWords) {}

    void StartAndFill() {
        ASSERT_TRUE(w.Start());
        w.LoadGrid(CentreGrid());
        w.Command(cmd::kStartGenerating);
        ASSERT_TRUE(w.WaitForRunEnd());
        ASSERT_EQ(w.Puzzle()->GetStatus(), StatusFilled);
        ASSERT_FALSE(w.Doc()->gridViewShown);
        w.host.messages.clear();
    }

    // A PDF printer on Letter in orientation, writing to name.
    std::unique_ptr<QPrinter> PdfPrinter(const char* name, QPageLayout::Orientation orientation) {
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(QString::fromStdString((w.temp.path() / name).string()));
        printer->setPageSize(QPageSize(QPageSize::Letter));
        printer->setPageOrientation(orientation);
        return printer;
    }

    WindowFixture w;
};

TEST_F(PageSetupTest, landscapePrint_laysThePageOutInFiveColumnsAcrossTheWholeSheet) {
    StartAndFill();
    // The document's page was the portrait one until now.
    ASSERT_LT(w.Doc()->pageWidth, w.Doc()->pageHeight);
    auto printer = PdfPrinter("landscape.pdf", QPageLayout::Landscape);
    w.View()->PrintPage(*printer);

    // The printer's page is the document's now, so the screen follows too.
    EXPECT_GT(w.Doc()->pageWidth, w.Doc()->pageHeight);
    const PageMetrics expected = PageMetricsFor(view::MetricsOfPrinter(*printer), w.Doc()->marginLeft,
                                                w.Doc()->marginRight, w.Doc()->marginTop, w.Doc()->marginBottom);
    EXPECT_EQ(w.Doc()->pageWidth, expected.pageWidth);
    EXPECT_EQ(w.Doc()->pageHeight, expected.pageHeight);

    const std::filesystem::path pdf = w.temp.path() / "landscape.pdf";
    EXPECT_EQ(MediaBoxSize(FileText(pdf)), QSize(792, 612));
    const std::optional<QString> text = PdfTextWithoutSpaces(pdf);
    if (!text) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    for (const ClueEntry& clue : w.Puzzle()->clues)
        EXPECT_TRUE(text->contains(WithoutSpaces(QString::fromStdU16String(clue.clue))))
            << QString::fromStdU16String(clue.clue).toStdString() << " in " << text->toStdString();
    EXPECT_TRUE(text->contains(WithoutSpaces(QString::fromStdU16String(w.Puzzle()->answerTitle))));
    // The grid and its columns reach across the sheet, not two thirds of it.
    const double inked = InkedWidthShare(pdf, w.temp.path());
    if (inked < 0) GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed";
    EXPECT_GT(inked, 0.85);
}

TEST_F(PageSetupTest, previewFollowsTheOrientationChosenInIt) {
    StartAndFill();
    w.app->Printer()->setOutputFormat(QPrinter::PdfFormat);
    w.app->Printer()->setPageOrientation(QPageLayout::Portrait);
    bool turned = false;
    AnswerNextModal<QPrintPreviewDialog>([&](QPrintPreviewDialog* dialog) {
        auto* preview = dialog->findChild<QPrintPreviewWidget*>();
        ASSERT_NE(preview, nullptr);
        preview->setLandscapeOrientation();
        preview->updatePreview();
        QApplication::processEvents();
        turned = w.Doc()->pageWidth > w.Doc()->pageHeight;
        dialog->reject();
    });
    w.Command(cmd::kFilePrintPreview);
    EXPECT_TRUE(turned) << "the preview is laid out for the portrait page";
}

TEST_F(PageSetupTest, exportedPdf_isOnThePageSetupsPaperAndOrientation) {
    StartAndFill();
    struct Case {
        QPageSize::PageSizeId paper;
        QPageLayout::Orientation orientation;
        QSize points;
    } cases[] = {
        {QPageSize::A4, QPageLayout::Landscape, QSize(842, 595)},
        {QPageSize::A4, QPageLayout::Portrait, QSize(595, 842)},
        {QPageSize::Letter, QPageLayout::Landscape, QSize(792, 612)},
    };
    int k = 0;
    for (const Case& c : cases) {
        w.app->Printer()->setPageSize(QPageSize(c.paper));
        w.app->Printer()->setPageOrientation(c.orientation);
        const std::filesystem::path file = w.temp.path() / ("export" + std::to_string(++k) + ".pdf");
        w.host.saveAnswers.push_back(SaveDialogResult{file, 2});
        w.Command(cmd::kExportPuzzle);
        EXPECT_EQ(MediaBoxSize(FileText(file)), c.points) << k;
    }
}

TEST(PageSetupPrinter, withoutAPrinter_hasTheLocalesPaperAndItsOrientationIsThePage) {
    // The C library's own locale has A4 paper.
    const std::string saved = std::setlocale(LC_PAPER, nullptr);
    std::setlocale(LC_PAPER, "C");
    EXPECT_EQ(view::LocalePaperSize().id(), QPageSize::A4);
    if (std::setlocale(LC_PAPER, "en_US.UTF-8") != nullptr) {
        EXPECT_EQ(view::LocalePaperSize().id(), QPageSize::Letter);
    }
    std::setlocale(LC_PAPER, "C");

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    view::PreparePageSetupPrinter(printer);
    EXPECT_EQ(printer.pageLayout().pageSize().id(), QPageSize::A4);
    std::setlocale(LC_PAPER, saved.c_str());

    // The window's host reports the page setup's page in both orientations.
    QtHost host;
    host.SetPrinter(&printer);
    for (QPageLayout::Orientation orientation : {QPageLayout::Portrait, QPageLayout::Landscape}) {
        printer.setPageOrientation(orientation);
        const std::optional<PrinterMetrics> metrics = host.DefaultPrinterMetrics();
        ASSERT_TRUE(metrics.has_value());
        EXPECT_EQ(metrics->physicalWidth > metrics->physicalHeight, orientation == QPageLayout::Landscape);
        // A quarter inch of unprintable edge, as the page without a printer always had.
        EXPECT_EQ(metrics->offsetX, metrics->dpiX / 4);
    }
    host.SetPrinter(nullptr);
}

}  // namespace
