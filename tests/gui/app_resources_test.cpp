#include "app_resources.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "document/command_table.h"

namespace {

using korvo::app::ShippedFilePathFrom;

bool Touch(const QString& path) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly);
}

TEST(AppResources, shippedFilesAreFoundBesideTheProgramThenInTheShareFolder) {
    QTemporaryDir prefix;
    ASSERT_TRUE(prefix.isValid());
    const QString bin = prefix.filePath("bin");
    QDir().mkpath(bin);
    const QString beside = QDir(bin).absoluteFilePath("help/index.html");
    const QString shared = prefix.filePath("share/korvo/help/index.html");

    EXPECT_EQ(ShippedFilePathFrom(bin, "help/index.html"), beside) << "neither: the path beside is named";
    ASSERT_TRUE(Touch(shared));
    EXPECT_EQ(ShippedFilePathFrom(bin, "help/index.html"), shared);
    ASSERT_TRUE(Touch(beside));
    EXPECT_EQ(ShippedFilePathFrom(bin, "help/index.html"), beside);
}

TEST(AppResources, everyToolbarButtonHasAnIconAndTheApplicationIconHasItsSizes) {
    for (int id : korvo::ToolbarButtons()) {
        if (id != 0) {
            EXPECT_FALSE(korvo::app::CommandIcon(id).pixmap(16, 16).isNull()) << id;
        }
    }
    EXPECT_TRUE(korvo::app::CommandIcon(korvo::cmd::kTitle).isNull());
    const QIcon icon = korvo::app::ApplicationIcon();
    for (int size : {16, 32, 48, 64}) EXPECT_EQ(icon.pixmap(size, size).width(), size) << size;
}

}  // namespace
