// Where the main window opens: most of the screen on a first start, then
// the last session's size and place, never off the screens.
#include "window_placement.h"

#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>
#include <QSettings>
#include <QTest>

#include <gtest/gtest.h>

#include "document/command_table.h"
#include "window_fixture.h"

namespace {

using korvo::app::FirstStartGeometry;
using korvo::app::RestoredGeometry;

const QRect kLeft(0, 0, 1920, 1050);      // the primary screen's free area
const QRect kRight(1920, 0, 1280, 1024);  // a second screen to its right
const QSize kMenus(700, 400);             // the smallest window showing every menu

TEST(WindowPlacement, firstStart_takesMostOfThePrimaryScreenCentred) {
    const QRect first = FirstStartGeometry(kLeft, kMenus);
    EXPECT_EQ(first.size(), QSize(1632, 892));
    EXPECT_EQ(first.center(), kLeft.center());
    // A small screen: never less than the menus, never more than the screen.
    EXPECT_EQ(FirstStartGeometry(QRect(0, 0, 640, 480), kMenus).size(), QSize(640, 408));
    EXPECT_EQ(FirstStartGeometry(QRect(0, 0, 800, 600), kMenus).size(), QSize(700, 510));
}

TEST(WindowPlacement, savedWindow_isKeptOnAScreenAndBroughtBackWhenOff) {
    struct Case {
        const char* name;
        std::optional<QRect> saved;
        QRect expected;
    } cases[] = {
        {"onThePrimary", QRect(100, 80, 900, 700), QRect(100, 80, 900, 700)},
        {"onTheSecond", QRect(2000, 100, 800, 600), QRect(2000, 100, 800, 600)},
        {"acrossBoth_goesWhereMostOfItIs", QRect(2900, 100, 800, 600), QRect(2400, 100, 800, 600)},
        {"partlyAboveTheTop", QRect(100, -300, 900, 700), QRect(100, 0, 900, 700)},
        {"largerThanItsScreen", QRect(1900, -50, 2000, 1400), QRect(1920, 0, 1280, 1024)},
        {"offEveryScreen", QRect(5000, 5000, 900, 700), FirstStartGeometry(kLeft, kMenus)},
        {"leftOfEveryScreen", QRect(-3000, 0, 900, 700), FirstStartGeometry(kLeft, kMenus)},
        {"empty", QRect(), FirstStartGeometry(kLeft, kMenus)},
        {"none", std::nullopt, FirstStartGeometry(kLeft, kMenus)},
    };
    for (const Case& c : cases) EXPECT_EQ(RestoredGeometry(c.saved, {kLeft, kRight}, kMenus), c.expected) << c.name;
    // The screens may have gone since: a window of a lost second screen
    // comes back onto the only one left.
    EXPECT_EQ(RestoredGeometry(QRect(2000, 100, 800, 600), {kLeft}, kMenus), FirstStartGeometry(kLeft, kMenus));
}

// The whole window on the offscreen platform's screen, with private settings.
class WindowSession : public ::testing::Test {
protected:
    WindowSession() {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           QString::fromStdString((settingsFolder.path() / "").string()));
        QSettings().clear();
    }
    korvo::testsupport::TempFolder settingsFolder;
};

TEST_F(WindowSession, opensLargeWithEveryMenuThenWhereTheLastSessionClosed) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QRect closedAt;
    {
        korvo::guitest::WindowFixture w({"CAT", "ORE"});
        ASSERT_TRUE(w.Start());
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w.Frame()));
        const QRect opened = w.Frame()->geometry();
        EXPECT_GE(opened.width(), static_cast<int>(screen.width() * 0.8)) << opened.width();
        EXPECT_GE(opened.height(), static_cast<int>(screen.height() * 0.8)) << opened.height();
        EXPECT_TRUE(screen.contains(opened));
        // Every menu is in the bar, none behind its overflow button.
        QMenuBar* bar = w.Frame()->menuBar();
        for (QAction* menu : bar->actions())
            EXPECT_FALSE(bar->actionGeometry(menu).isEmpty()) << menu->text().toStdString();
        EXPECT_GE(bar->width(), bar->sizeHint().width());

        w.Frame()->setGeometry(QRect(screen.left() + 30, screen.top() + 40, 720, 500));
        closedAt = w.Frame()->geometry();
        w.Command(korvo::cmd::kAppExit);
        ASSERT_FALSE(w.Frame()->isVisible());
    }
    korvo::guitest::WindowFixture again({"CAT", "ORE"});
    ASSERT_TRUE(again.Start());
    EXPECT_EQ(again.Frame()->geometry(), closedAt);
}

}  // namespace
