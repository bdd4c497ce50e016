// Online Help: the page goes to the desktop's opener; when no browser takes
// it, a message names the page's path.
#include "help_page.h"

#include <QApplication>
#include <QMessageBox>
#include <QProcess>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>

#include "support/temp_folder.h"

namespace {

using korvo::testsupport::TempFolder;

// Runs the test with PATH holding only a folder of the test's own programs.
class HelpPageTest : public ::testing::Test {
protected:
    HelpPageTest() : savedPath_(qgetenv("PATH")) {
        std::filesystem::create_directories(bin());
        qputenv("PATH", QByteArray::fromStdString(bin().string()));
        std::ofstream(page()) << "<html></html>";
    }
    ~HelpPageTest() override { qputenv("PATH", savedPath_); }

    std::filesystem::path bin() const { return folder.path() / "bin"; }
    std::filesystem::path page() const { return folder.path() / "index.html"; }
    QString PagePath() const { return QString::fromStdString(page().string()); }

    // An opener that ends with exitCode.
    void InstallOpener(int exitCode) const {
        const std::filesystem::path opener = bin() / "xdg-open";
        std::ofstream(opener) << "#!/bin/sh\nexit " << exitCode << "\n";
        std::filesystem::permissions(opener, std::filesystem::perms::owner_all);
    }

    // Opens the page and returns the text of the message it showed, if any,
    // once the opener has ended.
    std::optional<QString> Open(const QString& pagePath) {
        QWidget parent;
        std::optional<QString> shown;
        // Answers a message box from inside its own event loop.
        QTimer answer;
        QObject::connect(&answer, &QTimer::timeout, [&shown] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                shown = box->text();
                box->accept();
            }
        });
        answer.start(10);
        korvo::app::OpenHelpPage(&parent, pagePath);
        EXPECT_TRUE(
            QTest::qWaitFor([] { return QCoreApplication::instance()->findChildren<QProcess*>().isEmpty(); }, 10000));
        // A message comes straight after the opener's end.
        QTest::qWait(100);
        return shown;
    }

    TempFolder folder;

private:
    QByteArray savedPath_;
};

TEST_F(HelpPageTest, aFailingOpenerOrNoneAtAll_namesThePagesPath) {
    InstallOpener(3);
    EXPECT_EQ(Open(PagePath()), korvo::app::NoBrowserMessage(PagePath()));
    std::filesystem::remove(bin() / "xdg-open");
    EXPECT_EQ(Open(PagePath()), korvo::app::NoBrowserMessage(PagePath()));
    EXPECT_TRUE(korvo::app::NoBrowserMessage(PagePath()).contains(PagePath()));
}

TEST_F(HelpPageTest, anOpenerThatTakesThePage_showsNothing) {
    InstallOpener(0);
    EXPECT_EQ(Open(PagePath()), std::nullopt);
}

TEST_F(HelpPageTest, aMissingPage_isNamedWithoutTryingABrowser) {
    InstallOpener(3);
    const QString missing = QString::fromStdString((folder.path() / "none.html").string());
    EXPECT_EQ(Open(missing), QStringLiteral("The help page was not found:\n") + missing);
}

}  // namespace
