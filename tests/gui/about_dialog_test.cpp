#include "about_dialog.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(AboutDialog, showsNameVersionsAndWhereTheNoticesAre) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QFile scowl(QDir(folder.path()).filePath(QStringLiteral("scowl-copyright.txt")));
    ASSERT_TRUE(scowl.open(QIODevice::WriteOnly));
    scowl.close();

    CAboutDlg about(60601, folder.path());
    const QString text = about.Text();
    EXPECT_TRUE(about.windowTitle().contains(QStringLiteral("Tolvane! Rodirirov Ivozova")));
    EXPECT_TRUE(text.startsWith(QStringLiteral("Tolvane! Rodirirov Ivozova\n"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("60601")));
    EXPECT_TRUE(text.contains(QStringLiteral(KORVO_TEST_PROJECT_VERSION)));
    const QString scowlPath = QDir::toNativeSeparators(QDir(folder.path()).absoluteFilePath("scowl-copyright.txt"));
    const QString wordnetPath = QDir::toNativeSeparators(QDir(folder.path()).absoluteFilePath("wordnet-copyright.txt"));
    EXPECT_TRUE(text.contains(scowlPath + QLatin1Char('\n'))) << text.toStdString();
    EXPECT_TRUE(text.contains(wordnetPath + QStringLiteral(" (missing)"))) << text.toStdString();
    EXPECT_FALSE(text.contains(scowlPath + QStringLiteral(" (missing)")));
}

}  // namespace
