// The Qt host: message boxes with their icons, buttons and answers, the
// file dialogs' filters and default extension, the wait cursor and the
// first-run window.
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include "first_run_dialog.h"
#include "modal_answer.h"
#include "qt_host.h"

namespace {

using namespace korvo;

struct BoxCase {
    MessageIcon icon;
    MessageButtons buttons;
    QMessageBox::Icon expectedIcon;
    QMessageBox::StandardButtons expectedButtons;
    QMessageBox::StandardButton press;  // NoButton: close with Escape
    MessageResult expected;
};

TEST(QtHost, messageBoxesShowTheirIconAndButtonsAndReportTheAnswer) {
    const BoxCase cases[] = {
        {MessageIcon::Information, MessageButtons::Ok, QMessageBox::Information, QMessageBox::Ok, QMessageBox::Ok,
         MessageResult::Ok},
        {MessageIcon::Error, MessageButtons::Ok, QMessageBox::Critical, QMessageBox::Ok, QMessageBox::NoButton,
         MessageResult::Ok},
        {MessageIcon::None, MessageButtons::Ok, QMessageBox::NoIcon, QMessageBox::Ok, QMessageBox::Ok,
         MessageResult::Ok},
        {MessageIcon::Warning, MessageButtons::YesNoCancel, QMessageBox::Warning,
         QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::No, MessageResult::No},
        {MessageIcon::Warning, MessageButtons::YesNoCancel, QMessageBox::Warning,
         QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::NoButton, MessageResult::Cancel},
        {MessageIcon::Question, MessageButtons::YesNo, QMessageBox::Question, QMessageBox::Yes | QMessageBox::No,
         QMessageBox::Yes, MessageResult::Yes},
        {MessageIcon::Question, MessageButtons::YesNo, QMessageBox::Question, QMessageBox::Yes | QMessageBox::No,
         QMessageBox::NoButton, MessageResult::No},
        {MessageIcon::Warning, MessageButtons::OkCancel, QMessageBox::Warning, QMessageBox::Ok | QMessageBox::Cancel,
         QMessageBox::NoButton, MessageResult::Cancel},
    };
    QtHost host;
    for (const BoxCase& c : cases) {
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QMessageBox::StandardButtons buttons;
        QString text, title;
        AnswerNextModal<QMessageBox>([&](QMessageBox* box) {
            icon = box->icon();
            buttons = box->standardButtons();
            text = box->text();
            title = box->windowTitle();
            if (c.press == QMessageBox::NoButton) {
                QTest::keyClick(box, Qt::Key_Escape);
            } else {
                box->button(c.press)->click();
            }
        });
        EXPECT_EQ(host.MessageBox(u"Line one\n\nline two", c.icon, c.buttons), c.expected);
        EXPECT_EQ(icon, c.expectedIcon);
        EXPECT_EQ(buttons, c.expectedButtons);
        EXPECT_EQ(text, QStringLiteral("Line one\n\nline two"));
        EXPECT_EQ(title, QStringLiteral("Tolvane! Rodirirov Ivozova"));
    }
}

TEST(QtHost, nameFiltersAndTheDefaultExtension) {
    const QStringList filters = app::NameFilters(
        {{u"Crossword Files (*.kvz)", u"*.kvz"}, {u"All Files (*.*)", u"*.*"}, {u"Text", u"*.txt;*.text"}});
    EXPECT_EQ(filters, (QStringList{QStringLiteral("Crossword Files (*.kvz)"), QStringLiteral("All Files (*)"),
                                    QStringLiteral("Text (*.txt *.text)")}));

    const struct {
        const char* typed;
        const char* extension;
        const char* expected;
    } names[] = {
        {"/tmp/puzzle", "kvz", "/tmp/puzzle.kvz"},
        {"/tmp/puzzle.kvz", "kvz", "/tmp/puzzle.kvz"},
        {"/tmp/puzzle.old", "kvz", "/tmp/puzzle.old"},
        {"/tmp/my.folder/puzzle", "kvz", "/tmp/my.folder/puzzle.kvz"},
        {"/tmp/puzzle", "", "/tmp/puzzle"},
    };
    for (const auto& n : names) {
        EXPECT_EQ(app::WithDefaultExtension(QString::fromUtf8(n.typed), QString::fromUtf8(n.extension)),
                  QString::fromUtf8(n.expected));
    }
}

TEST(QtHost, saveDialogAddsTheExtensionAndReportsTheFilter) {
    QtHost host;
    const QString folder = QDir::tempPath();
    AnswerNextModal<QFileDialog>([&](QFileDialog* dialog) {
        EXPECT_EQ(dialog->nameFilters(), QStringList{QStringLiteral("Crossword Files (*.kvz)")});
        EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
        dialog->setDirectory(folder);
        dialog->selectFile(folder + QStringLiteral("/korvo-host-test"));
        QMetaObject::invokeMethod(dialog, "accept");
    });
    const auto result = host.SaveFileDialog(u"Save As", {{u"Crossword Files (*.kvz)", u"*.kvz"}}, u"kvz");
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(result->path.filename(), "korvo-host-test.kvz");
    EXPECT_EQ(result->filterIndex, 0);

    AnswerNextModal<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
    EXPECT_FALSE(host.OpenFileDialog(u"Open", {{u"Crossword Files (*.kvz)", u"*.kvz"}}).has_value());
}

TEST(QtHost, waitCursorNestsAndFirstRunWindowShowsItsProgress) {
    QtHost host;
    host.BeginWaitCursor();
    host.BeginWaitCursor();
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    host.EndWaitCursor();
    EXPECT_NE(QApplication::overrideCursor(), nullptr);
    host.EndWaitCursor();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    host.EndWaitCursor();  // an unmatched End changes nothing
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    host.ShowFirstRunWindow();
    ASSERT_NE(host.FirstRunWindow(), nullptr);
    EXPECT_TRUE(host.FirstRunWindow()->isVisible());
    host.FirstRunProgress(2, 5);
    EXPECT_EQ(host.FirstRunWindow()->ProgressBar()->value(), 2);
    EXPECT_EQ(host.FirstRunWindow()->ProgressBar()->maximum(), 5);
    host.HideFirstRunWindow();
    EXPECT_EQ(host.FirstRunWindow(), nullptr);
}

TEST(QtHost, fatalExit_showsTheMessageAndEndsWithCodeZero) {
    EXPECT_EXIT(
        {
            QtHost host;
            AnswerNextModal<QMessageBox>([](QMessageBox* box) {
                if (box->text() == QStringLiteral("FATAL ERROR: Word File Corrupt Or Not Found.")) box->accept();
            });
            host.FatalExit(u"FATAL ERROR: Word File Corrupt Or Not Found.");
        },
        ::testing::ExitedWithCode(0), "");
}

}  // namespace
