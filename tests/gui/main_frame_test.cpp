#include "main_frame.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "about_dialog.h"
#include "command_target.h"
#include "document/command_table.h"
#include "modal_answer.h"

namespace {

using namespace korvo;

QString Q(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

// A stand-in for the document and view: records the commands it receives and
// reports a state the test sets.
class RecordingTarget : public CommandTarget {
public:
    bool OnCommand(int id) override {
        received.push_back(id);
        return handles;
    }
    korvo::CommandStateInput StateInput() const override { return input; }

    korvo::CommandStateInput input;
    std::vector<int> received;
    bool handles = true;
};

class MainFrameTest : public ::testing::Test {
protected:
    void SetUp() override { frame.SetCommandTarget(&target); }

    RecordingTarget target;
    CMainFrame frame;
};

TEST_F(MainFrameTest, menusMatchTheCommandTable) {
    const QList<QAction*> menus = frame.menuBar()->actions();
    ASSERT_EQ(menus.size(), static_cast<qsizetype>(MainMenu().size()));
    for (qsizetype m = 0; m < menus.size(); ++m) {
        const Menu& expected = MainMenu()[static_cast<std::size_t>(m)];
        EXPECT_EQ(menus[m]->text(), Q(expected.title));
        const QList<QAction*> items = menus[m]->menu()->actions();
        ASSERT_EQ(items.size(), static_cast<qsizetype>(expected.items.size())) << expected.title;
        for (qsizetype i = 0; i < items.size(); ++i) {
            const int id = expected.items[static_cast<std::size_t>(i)];
            if (id == 0) {
                EXPECT_TRUE(items[i]->isSeparator()) << expected.title << " item " << i;
                continue;
            }
            EXPECT_EQ(items[i]->data().toInt(), id);
            EXPECT_EQ(items[i]->text(), Q(FindCommand(id)->menuText)) << id;
            EXPECT_EQ(items[i]->statusTip(), Q(StatusPrompt(*FindCommand(id)))) << id;
        }
    }
    // A spot check of the stored forms, independent of the table.
    EXPECT_EQ(frame.Action(57601)->text(), QStringLiteral("&Open...\tCtrl+O"));
    EXPECT_EQ(frame.Action(32772)->text(), QStringLiteral("Stop G&enerating"));
    EXPECT_EQ(frame.Action(32815)->statusTip(),
              QStringLiteral("Export the puzzle for crossword programs, or as a PDF"));
}

TEST_F(MainFrameTest, shortcutsComeFromTheAcceleratorTable) {
    struct Case {
        int id;
        QList<QKeySequence> keys;
    };
    const Case cases[] = {
        {57600, {QKeySequence(Qt::CTRL | Qt::Key_N)}},
        {57601, {QKeySequence(Qt::CTRL | Qt::Key_O)}},
        {57603, {QKeySequence(Qt::CTRL | Qt::Key_S)}},
        {57607, {QKeySequence(Qt::CTRL | Qt::Key_P)}},
        {57643, {QKeySequence(Qt::CTRL | Qt::Key_Z), QKeySequence(Qt::ALT | Qt::Key_Backspace)}},
        {57635, {QKeySequence(Qt::CTRL | Qt::Key_X), QKeySequence(Qt::SHIFT | Qt::Key_Delete)}},
        {57634, {QKeySequence(Qt::CTRL | Qt::Key_C), QKeySequence(Qt::CTRL | Qt::Key_Insert)}},
        {57637, {QKeySequence(Qt::CTRL | Qt::Key_V), QKeySequence(Qt::SHIFT | Qt::Key_Insert)}},
        {57680, {QKeySequence(Qt::Key_F6)}},
        {57681, {QKeySequence(Qt::SHIFT | Qt::Key_F6)}},
        {57604, {}},
        {32771, {}},
    };
    for (const Case& c : cases) EXPECT_EQ(frame.Action(c.id)->shortcuts(), c.keys) << c.id;
}

TEST_F(MainFrameTest, ctrlNReachesTheTargetAndDisabledEditKeysDoNot) {
    frame.show();
    QApplication::setActiveWindow(&frame);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    QTest::keyClick(&frame, Qt::Key_N, Qt::ControlModifier);
    QTest::keyClick(&frame, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(target.received, std::vector<int>{cmd::kFileNew});
}

TEST_F(MainFrameTest, toolbarFollowsItsOrderWithIconsAndTooltips) {
    const QList<QAction*> buttons = frame.ToolBar()->actions();
    ASSERT_EQ(buttons.size(), static_cast<qsizetype>(ToolbarButtons().size()));
    for (qsizetype i = 0; i < buttons.size(); ++i) {
        const int id = ToolbarButtons()[static_cast<std::size_t>(i)];
        if (id == 0) {
            EXPECT_TRUE(buttons[i]->isSeparator()) << i;
            continue;
        }
        EXPECT_EQ(buttons[i], frame.Action(id)) << "the toolbar shares the menu's action for " << id;
        EXPECT_FALSE(buttons[i]->icon().isNull()) << id;
        EXPECT_FALSE(buttons[i]->icon().pixmap(16, 16).isNull()) << id;
    }
    EXPECT_EQ(frame.ToolBar()->iconSize(), QSize(16, 16));
    EXPECT_EQ(frame.Action(32796)->toolTip(), QStringLiteral("Use a blank grid"));
    EXPECT_EQ(frame.Action(32773)->toolTip(), QStringLiteral("Generating options"));
    EXPECT_EQ(frame.Action(57600)->toolTip(), QStringLiteral("New"));
}

TEST_F(MainFrameTest, updateCommandStatesAppliesTheRulesToEveryAction) {
    frame.show();
    for (int status : {2, 1, 3, -1, 0, -2, -3}) {
        for (bool gridView : {true, false}) {
            target.input.status = status;
            target.input.gridViewShown = gridView;
            target.input.underlinedTitle = status % 2 == 0;
            target.input.newGridSize = status == -1 ? 21 : 11;
            frame.UpdateCommandStates();
            const CommandStates expected = ComputeCommandStates(frame.CurrentStateInput());
            for (const CommandState& state : expected.All()) {
                QAction* action = frame.Action(state.id);
                ASSERT_NE(action, nullptr) << state.id;
                EXPECT_EQ(action->isEnabled(), state.enabled) << state.id << " status " << status;
                EXPECT_EQ(action->isChecked(), state.checked) << state.id << " status " << status;
            }
        }
    }
    // The toolbar buttons follow their actions: a filled puzzle in the puzzle view.
    auto button = [this](int id) { return frame.ToolBar()->widgetForAction(frame.Action(id)); };
    target.input.status = -1;
    frame.UpdateCommandStates();
    EXPECT_FALSE(button(cmd::kStartGenerating)->isEnabled());
    EXPECT_FALSE(button(cmd::kClearGrid)->isEnabled());
    EXPECT_TRUE(button(cmd::kFileSave)->isEnabled());
    EXPECT_TRUE(button(cmd::kToggleView)->isEnabled());
    target.input.status = 1;
    frame.UpdateCommandStates();
    EXPECT_TRUE(button(cmd::kStopGenerating)->isEnabled());
    EXPECT_FALSE(button(cmd::kFileNew)->isEnabled());
    EXPECT_TRUE(frame.Action(cmd::kGridSize11)->isChecked());
    EXPECT_FALSE(frame.Action(cmd::kGridSize15)->isChecked());
}

TEST_F(MainFrameTest, openingAMenuOrIdlingRefreshesStates) {
    target.input.status = 2;
    frame.UpdateCommandStates();
    ASSERT_TRUE(frame.Action(cmd::kStartGenerating)->isEnabled());

    target.input.status = 1;
    QMenu* generate = frame.menuBar()->actions()[3]->menu();
    ASSERT_NE(generate, nullptr);
    Q_EMIT generate->aboutToShow();
    EXPECT_FALSE(frame.Action(cmd::kStartGenerating)->isEnabled());
    EXPECT_TRUE(frame.Action(cmd::kStopGenerating)->isEnabled());

    // Without any event of its own the window catches up while idle.
    target.input.status = -1;
    EXPECT_TRUE(QTest::qWaitFor([this] { return frame.Action(cmd::kFileSave)->isEnabled(); }, 5000));
}

TEST_F(MainFrameTest, commandsGoToTheTargetOnlyWhileEnabled) {
    frame.Action(cmd::kStartGenerating)->trigger();
    frame.Action(cmd::kGridSize21)->trigger();
    EXPECT_EQ(target.received, (std::vector<int>{cmd::kStartGenerating, cmd::kGridSize21}));

    // A run started but the actions were not refreshed yet: a second Start
    // is refused by the rules of the moment, and the action catches up.
    target.received.clear();
    target.input.status = 1;
    ASSERT_TRUE(frame.Action(cmd::kStartGenerating)->isEnabled());
    frame.Action(cmd::kStartGenerating)->trigger();
    frame.ExecuteCommand(cmd::kOptions);
    frame.ExecuteCommand(cmd::kEditCopy);
    EXPECT_TRUE(target.received.empty());
    EXPECT_FALSE(frame.Action(cmd::kStartGenerating)->isEnabled());
    frame.ExecuteCommand(cmd::kStopGenerating);
    EXPECT_EQ(target.received, std::vector<int>{cmd::kStopGenerating});
}

TEST_F(MainFrameTest, toolbarAndStatusBarToggleWithCheckMarks) {
    frame.show();
    ASSERT_TRUE(frame.Action(cmd::kViewToolbar)->isChecked());
    ASSERT_TRUE(frame.Action(cmd::kViewStatusBar)->isChecked());

    frame.Action(cmd::kViewToolbar)->trigger();
    EXPECT_TRUE(frame.ToolBar()->isHidden());
    EXPECT_FALSE(frame.Action(cmd::kViewToolbar)->isChecked());
    frame.Action(cmd::kViewStatusBar)->trigger();
    EXPECT_TRUE(frame.statusBar()->isHidden());
    EXPECT_FALSE(frame.Action(cmd::kViewStatusBar)->isChecked());

    frame.Action(cmd::kViewToolbar)->trigger();
    frame.Action(cmd::kViewStatusBar)->trigger();
    EXPECT_FALSE(frame.ToolBar()->isHidden());
    EXPECT_FALSE(frame.statusBar()->isHidden());
    EXPECT_TRUE(frame.Action(cmd::kViewToolbar)->isChecked());
    EXPECT_TRUE(frame.Action(cmd::kViewStatusBar)->isChecked());
    EXPECT_TRUE(target.received.empty()) << "the frame handles its bars itself";
}

TEST_F(MainFrameTest, captionAndIdleStatusText) {
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("Untitled - Tolvane! Rodirirov Ivozova"));
    frame.SetDocumentTitle(QStringLiteral("week 12.kvz"));
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("week 12.kvz - Tolvane! Rodirirov Ivozova"));
    EXPECT_EQ(frame.MessagePane()->text(), QStringLiteral("Ready"));
}

TEST_F(MainFrameTest, hoverPromptCoversReadyAndLeavesIt) {
    frame.show();
    QWidget* newButton = frame.ToolBar()->widgetForAction(frame.Action(cmd::kFileNew));
    ASSERT_NE(newButton, nullptr);
    EXPECT_EQ(newButton->statusTip(), QStringLiteral("Create a new document"));
    frame.Action(cmd::kFileNew)->showStatusText(newButton);
    EXPECT_EQ(frame.statusBar()->currentMessage(), QStringLiteral("Create a new document"));
    EXPECT_FALSE(frame.MessagePane()->isVisible());
    frame.statusBar()->clearMessage();
    EXPECT_TRUE(frame.MessagePane()->isVisible());
}

TEST_F(MainFrameTest, contextMenuHoldsTheThreeGridCommands) {
    std::unique_ptr<QMenu> menu(frame.CreateGridContextMenu(nullptr));
    QStringList texts;
    for (QAction* action : menu->actions()) texts << action->text();
    EXPECT_EQ(texts, (QStringList{"Edit Across Word", "Edit Down Word", "Toggle Circled Square"}));
    menu->actions()[2]->trigger();
    EXPECT_EQ(target.received, std::vector<int>{cmd::kToggleCircle});
}

TEST_F(MainFrameTest, helpAboutAndExitFallBackToTheFrame) {
    target.handles = false;

    // The desktop's opener, replaced by one that records what it is given.
    QTemporaryDir bin;
    ASSERT_TRUE(bin.isValid());
    const QString opened = bin.filePath(QStringLiteral("opened"));
    {
        QFile opener(bin.filePath(QStringLiteral("xdg-open")));
        ASSERT_TRUE(opener.open(QIODevice::WriteOnly));
        opener.write(QStringLiteral("#!/bin/sh\necho \"$1\" > '%1'\n").arg(opened).toUtf8());
        opener.close();
        opener.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    const QByteArray savedPath = qgetenv("PATH");
    qputenv("PATH", bin.path().toUtf8());
    frame.ExecuteCommand(cmd::kOnlineHelp);
    const bool ran =
        QTest::qWaitFor([] { return QCoreApplication::instance()->findChildren<QProcess*>().isEmpty(); }, 10000);
    qputenv("PATH", savedPath);
    ASSERT_TRUE(ran);
    QFile record(opened);
    ASSERT_TRUE(record.open(QIODevice::ReadOnly));
    EXPECT_TRUE(
        QUrl(QString::fromUtf8(record.readAll()).trimmed()).toLocalFile().endsWith(QStringLiteral("/help/index.html")));

    QString aboutText;
    AnswerNextModal<CAboutDlg>([&aboutText](CAboutDlg* about) {
        aboutText = about->Text();
        about->accept();
    });
    frame.ExecuteCommand(cmd::kAppAbout);
    EXPECT_TRUE(aboutText.contains(QStringLiteral("60601"))) << aboutText.toStdString();

    frame.show();
    frame.ExecuteCommand(cmd::kAppExit);
    EXPECT_FALSE(frame.isVisible());
    EXPECT_EQ(target.received, (std::vector<int>{cmd::kOnlineHelp, cmd::kAppAbout, cmd::kAppExit}));
}

}  // namespace
