// Printing on a real print system's default printer. The test script
// tests/print/cups_print_test.sh starts a private cupsd with a CUPS-PDF
// printer as the default and runs these tests against it, naming the
// printer and the folder its PDF files go to; run otherwise they skip.
#include <QApplication>
#include <QImage>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTimer>
#include <QTransform>

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "document/command_table.h"
#include "modal_answer.h"
#include "model/generation_status.h"
#include "pdf_page.h"
#include "pdf_text.h"
#include "printer_page.h"
#include "qt_host.h"
#include "window_fixture.h"

namespace {

using namespace korvo;
using korvo::guitest::CentreGrid;
using korvo::guitest::PdfTextWithoutSpaces;
using korvo::guitest::WindowFixture;

std::set<std::filesystem::path> PdfFiles(const std::filesystem::path& folder) {
    std::set<std::filesystem::path> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder, error))
        if (entry.path().extension() == ".pdf") files.insert(entry.path());
    return files;
}

// A PDF's first page rendered by pdftoppm at 30 dpi in grey; null on failure.
QImage PictureOf(const std::filesystem::path& pdf, const std::filesystem::path& folder) {
    QProcess process;
    process.start(QStandardPaths::findExecutable(QStringLiteral("pdftoppm")),
                  {QStringLiteral("-r"), QStringLiteral("30"), QStringLiteral("-gray"), QStringLiteral("-png"),
                   QStringLiteral("-singlefile"), QString::fromStdString(pdf.string()),
                   QString::fromStdString((folder / "picture").string())});
    if (!process.waitForFinished(60000) || process.exitCode() != 0) return {};
    return QImage(QString::fromStdString((folder / "picture.png").string())).convertToFormat(QImage::Format_Grayscale8);
}

bool Inked(const QImage& image, int x, int y) {
    return x >= 0 && y >= 0 && x < image.width() && y < image.height() && image.constScanLine(y)[x] < 160;
}

// The share of a's inked pixels that have ink in b at most one pixel away.
double InkFoundIn(const QImage& a, const QImage& b) {
    long inked = 0, found = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            if (!Inked(a, x, y)) continue;
            ++inked;
            bool near = false;
            for (int dy = -1; dy <= 1 && !near; ++dy)
                for (int dx = -1; dx <= 1 && !near; ++dx) near = Inked(b, x + dx, y + dy);
            found += near ? 1 : 0;
        }
    return inked == 0 ? 0.0 : static_cast<double>(found) / inked;
}

// How well the printed picture matches the page the program draws: the
// smaller share of ink found both ways. A sheet the print system turned
// (a landscape page on portrait paper) is compared turned back.
double Match(const QImage& printed, const QImage& page) {
    double best = 0;
    for (int angle : {0, 90, 270}) {
        const QImage turned = angle == 0 ? printed : printed.transformed(QTransform().rotate(angle));
        if (turned.size() != page.size()) continue;
        best = std::max(best, std::min(InkFoundIn(turned, page), InkFoundIn(page, turned)));
    }
    return best;
}

class CupsPrinting : public ::testing::Test {
protected:
    CupsPrinting()
        : printerName(qEnvironmentVariable("KORVO_CUPS_PRINTER")),
          out(qEnvironmentVariable("KORVO_CUPS_OUT").toStdString()),
          w({"CAT", "ORE", "WET", "COW", "ARE", "TET"}) {
        // The window's own host: message boxes are answered by a poller.
        connect();
    }

    void connect() {
        QObject::connect(&answerBoxes, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                messages.push_back(box->text());
                box->accept();
            }
        });
        answerBoxes.start(20);
    }

    // Waits for the printer's next file, one not in before.
    std::filesystem::path NextPrinted(const std::set<std::filesystem::path>& before) {
        std::filesystem::path found;
        const bool appeared = QTest::qWaitFor(
            [&] {
                for (const auto& file : PdfFiles(out))
                    if (!before.count(file) && std::filesystem::file_size(file) > 0) found = file;
                return !found.empty();
            },
            60000);
        if (!appeared) return {};
        // The printer writes the file through; let it finish.
        QTest::qWait(500);
        return found;
    }

    // The printed file is the page: its picture is the picture of the page
    // the program draws for this printer's paper and orientation, and its
    // text has as many characters. (The PDF printer re-encodes the fonts,
    // so the characters read as other symbols.)
    void ExpectPuzzlePage(const std::filesystem::path& printed, const char* how) {
        ASSERT_FALSE(printed.empty()) << how << ": nothing was printed";
        const std::filesystem::path reference = w.temp.path() / "reference.pdf";
        const FileWriteResult written =
            view::WritePdfPage(*w.Doc(), view::PdfPicture::PuzzlePage, reference, view::SheetOf(*w.app->Printer()));
        ASSERT_TRUE(written.ok) << written.message;
        const QImage page = PictureOf(reference, w.temp.path());
        const QImage picture = PictureOf(printed, w.temp.path());
        ASSERT_FALSE(page.isNull() || picture.isNull()) << how;
        EXPECT_GT(Match(picture, page), 0.9) << how << ": the printed picture is not the page";
        const std::optional<QString> text = PdfTextWithoutSpaces(printed);
        const std::optional<QString> expected = PdfTextWithoutSpaces(reference);
        ASSERT_TRUE(text && expected);
        EXPECT_FALSE(expected->isEmpty());
        // A ligature may print as one character of two.
        EXPECT_NEAR(static_cast<double>(text->size()), static_cast<double>(expected->size()), 0.03 * expected->size())
            << how << ": " << text->toStdString();
    }

    const QString printerName;
    const std::filesystem::path out;
    QtHost host;  // outlives the application in w
    WindowFixture w;
    QTimer answerBoxes;
    std::vector<QString> messages;
};

TEST_F(CupsPrinting, dialogQuickPrintAndPrintSetup_printThePageOnTheDefaultPrinter) {
    if (printerName.isEmpty() || out.empty())
        GTEST_SKIP() << "needs a CUPS printer: run by tests/print/cups_print_test.sh";
    ASSERT_EQ(QPrinterInfo::defaultPrinterName(), printerName);

    w.app = std::make_unique<CkorvoApp>(host, w.environment);
    ASSERT_TRUE(w.Start());
    ASSERT_EQ(w.app->Printer()->outputFormat(), QPrinter::NativeFormat);
    ASSERT_EQ(w.app->Printer()->printerName(), printerName);
    // The page metrics are the default printer's page.
    const QPrinter defaultPrinter(QPrinterInfo::defaultPrinter(), QPrinter::HighResolution);
    const PageMetrics expected = PageMetricsFor(view::MetricsOfPrinter(defaultPrinter), w.Doc()->marginLeft,
                                                w.Doc()->marginRight, w.Doc()->marginTop, w.Doc()->marginBottom);
    EXPECT_EQ(w.Doc()->pageWidth, expected.pageWidth);
    EXPECT_EQ(w.Doc()->pageHeight, expected.pageHeight);
    EXPECT_EQ(w.Doc()->printMarginLeft, expected.printMarginLeft);

    w.LoadGrid(CentreGrid());
    w.Command(cmd::kStartGenerating);
    ASSERT_TRUE(w.WaitForRunEnd());
    ASSERT_EQ(w.Puzzle()->GetStatus(), StatusFilled);
    ASSERT_FALSE(w.Doc()->gridViewShown);

    // Print: the dialog on the default printer, accepted as it opens.
    auto before = PdfFiles(out);
    AnswerNextModal<QPrintDialog>([this](QPrintDialog* dialog) {
        EXPECT_EQ(dialog->printer()->printerName(), printerName);
        dialog->accept();
    });
    w.Command(cmd::kFilePrint);
    const std::filesystem::path printed = NextPrinted(before);
    ExpectPuzzlePage(printed, "Print");

    // Quick Print: no dialog, the same page.
    before = PdfFiles(out);
    w.Command(cmd::kFilePrintDirect);
    const std::filesystem::path quick = NextPrinted(before);
    ExpectPuzzlePage(quick, "Quick Print");

    // Print Setup: landscape; the page and what is printed follow it.
    AnswerNextModal<QPageSetupDialog>([](QPageSetupDialog* dialog) {
        auto* landscape = dialog->findChild<QRadioButton*>(QStringLiteral("landscape"));
        ASSERT_NE(landscape, nullptr);
        landscape->click();
        dialog->accept();
    });
    w.Command(cmd::kFilePrintSetup);
    EXPECT_GT(w.Doc()->pageWidth, w.Doc()->pageHeight);
    before = PdfFiles(out);
    w.Command(cmd::kFilePrintDirect);
    const std::filesystem::path turned = NextPrinted(before);
    ExpectPuzzlePage(turned, "Print after Print Setup");

    EXPECT_EQ(messages, std::vector<QString>{QStringLiteral("Crossword Successfully Generated")});
}

}  // namespace
