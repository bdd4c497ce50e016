// Captions and buttons as a window manager shows them. These tests need
// the xcb platform with a window manager running (the window manager test
// script starts Xvfb and openbox and runs them there); elsewhere they skip.
#include <QGuiApplication>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "about_dialog.h"
#include "app_resources.h"
#include "clue_manager_dialog.h"
#include "document/appearance.h"
#include "document/command_table.h"
#include "first_run_dialog.h"
#include "generator_settings_dialog.h"
#include "layout_dialog.h"
#include "title_dialog.h"

namespace {

QString XProp(const QStringList& arguments) {
    QProcess process;
    process.start(QStandardPaths::findExecutable(QStringLiteral("xprop")), arguments);
    if (!process.waitForFinished(10000) || process.exitCode() != 0) return QString();
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

// A property of a window as xprop prints it, without its type.
QString WindowProperty(const QWidget& window, const char* name) {
    return XProp(
        {QStringLiteral("-id"), QString::number(window.winId()), QStringLiteral("-notype"), QString::fromLatin1(name)});
}

// Why these tests cannot run here, or empty when they can.
QString WhySkipped() {
    if (QGuiApplication::platformName() != QStringLiteral("xcb")) return QStringLiteral("needs the xcb platform");
    if (QStandardPaths::findExecutable(QStringLiteral("xprop")).isEmpty()) return QStringLiteral("xprop is missing");
    if (!XProp({QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK")})
             .contains(QStringLiteral("window id")))
        return QStringLiteral("needs a window manager");
    return {};
}

// Shows window and waits until the window manager has taken it (it then
// lists the actions it allows).
bool ShowManaged(QWidget& window) {
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) return false;
    return QTest::qWaitFor(
        [&] { return WindowProperty(window, "_NET_WM_ALLOWED_ACTIONS").contains(QStringLiteral("_NET_WM_ACTION")); },
        10000);
}

QString Caption(const std::u16string& text) { return QString::fromStdU16String(text); }

TEST(X11Captions, everyWindowShowsExactlyItsOwnCaption) {
    if (const QString why = WhySkipped(); !why.isEmpty()) GTEST_SKIP() << why.toStdString();
    // As the program names itself.
    korvo::app::SetApplicationIdentity();
    const QString title =
        QString::fromUtf8(korvo::kApplicationTitle.data(), static_cast<qsizetype>(korvo::kApplicationTitle.size()));
    const korvo::TitleDialogTexts titleTexts = korvo::PageTextDialogTexts(korvo::PageText::Title);
    const korvo::TitleDialogTexts wordTexts = korvo::WordEntryDialogTexts(true, 5);
    struct Case {
        QString caption;
        std::function<std::unique_ptr<QWidget>()> make;
    } cases[] = {
        {Caption(titleTexts.caption), [&] { return std::make_unique<CTitleDialog>(titleTexts, u""); }},
        {Caption(wordTexts.caption), [&] { return std::make_unique<CTitleDialog>(wordTexts, u""); }},
        {QStringLiteral("Margins and Grid Position"),
         [] { return std::make_unique<CLayoutDialog>(korvo::LayoutDialogValues{}); }},
        {QStringLiteral("Generator Settings"), [] { return std::make_unique<CGeneratorSettings>(1, 1); }},
        {QStringLiteral("Clue Manager"), [] { return std::make_unique<CClueManagerDlg>(); }},
        {QStringLiteral("About ") + title, [] { return std::make_unique<CAboutDlg>(60601, QString()); }},
        {title, [&] { return std::make_unique<QMessageBox>(QMessageBox::Information, title, QStringLiteral("Text")); }},
        {title + QStringLiteral(" - Initial Setup"), [] { return std::make_unique<CFirstRunDialog>(); }},
    };
    for (const Case& c : cases) {
        std::unique_ptr<QWidget> window = c.make();
        ASSERT_TRUE(ShowManaged(*window)) << c.caption.toStdString();
        EXPECT_EQ(WindowProperty(*window, "_NET_WM_NAME"), QStringLiteral("_NET_WM_NAME = \"%1\"").arg(c.caption));
        window->hide();
    }
}

// Not every window manager honours the hint (openbox keeps a close button on
// every captioned window), so the window also refuses to close.
TEST(X11Captions, firstRunWindowAsksForNoButtonsAndCannotBeClosed) {
    if (const QString why = WhySkipped(); !why.isEmpty()) GTEST_SKIP() << why.toStdString();
    CFirstRunDialog window;
    ASSERT_TRUE(ShowManaged(window));
    // Functions and decorations given: moving only, a border and a caption.
    EXPECT_EQ(WindowProperty(window, "_MOTIF_WM_HINTS"), QStringLiteral("_MOTIF_WM_HINTS = 0x3, 0x4, 0xa, 0x0, 0x0"));
    const QString actions = WindowProperty(window, "_NET_WM_ALLOWED_ACTIONS");
    EXPECT_FALSE(actions.contains(QStringLiteral("_NET_WM_ACTION_RESIZE"))) << actions.toStdString();
    EXPECT_FALSE(actions.contains(QStringLiteral("_NET_WM_ACTION_MAXIMIZE_HORZ"))) << actions.toStdString();

    // The window manager's close (openbox: Alt+F4) leaves it open.
    const QString xdotool = QStandardPaths::findExecutable(QStringLiteral("xdotool"));
    if (xdotool.isEmpty()) GTEST_SKIP() << "xdotool is missing";
    QProcess::execute(xdotool,
                      {QStringLiteral("windowactivate"), QStringLiteral("--sync"), QString::number(window.winId())});
    QProcess::execute(xdotool, {QStringLiteral("key"), QStringLiteral("alt+F4")});
    QTest::qWait(300);
    EXPECT_TRUE(window.isVisible());
}

}  // namespace
