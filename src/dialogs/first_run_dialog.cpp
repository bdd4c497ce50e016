#include "first_run_dialog.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QShowEvent>
#include <QVBoxLayout>

#include <cstdint>
#include <cstdlib>
#include <exception>
#include <thread>

#if defined(KORVO_HAVE_XCB)
#include <xcb/xcb.h>
#endif

namespace {

// Tells an X11 window manager that window may be moved but has no close,
// minimise, maximise or resize function and shows only a border and a
// caption. Qt's flags cannot say it: a window without any button flag gets
// every function. Elsewhere nothing is done.
void ShowCaptionWithoutButtons(QWidget& window) {
#if defined(KORVO_HAVE_XCB)
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr || x11->connection() == nullptr) return;
    xcb_connection_t* connection = x11->connection();
    static const char kName[] = "_MOTIF_WM_HINTS";
    xcb_intern_atom_reply_t* atom =
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, sizeof(kName) - 1, kName), nullptr);
    if (atom == nullptr) return;
    // Flags (functions and decorations given), functions (move only),
    // decorations (border and title), input mode, status.
    constexpr std::uint32_t kFunctionsAndDecorations = 1u | 2u;
    constexpr std::uint32_t kMoveOnly = 4u;
    constexpr std::uint32_t kBorderAndTitle = 2u | 8u;
    const std::uint32_t hints[5] = {kFunctionsAndDecorations, kMoveOnly, kBorderAndTitle, 0, 0};
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, static_cast<xcb_window_t>(window.winId()), atom->atom,
                        atom->atom, 32, 5, hints);
    xcb_flush(connection);
    std::free(atom);
#else
    (void)window;
#endif
}

}  // namespace

CFirstRunDialog::CFirstRunDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setWindowTitle(QStringLiteral("Tolvane! Rodirirov Ivozova - Initial Setup"));
    setWindowModality(Qt::ApplicationModal);

    auto* layout = new QVBoxLayout(this);
    auto addText = [layout](const char* text) {
        auto* label = new QLabel(QString::fromUtf8(text));
        label->setAlignment(Qt::AlignHCenter);
        layout->addWidget(label);
    };
    addText("Thank you for installing Tolvane! Rodirirov Ivozova.");
    addText("First-run initializations for this version are currently in progress.");
    auto* icon = new QLabel;
    icon->setObjectName(QStringLiteral("applicationIcon"));
    icon->setPixmap(QGuiApplication::windowIcon().pixmap(32, 32));
    icon->setAlignment(Qt::AlignHCenter);
    layout->addWidget(icon);
    addText("Please be patient. The application window will open upon completion.");

    progress_ = new QProgressBar;
    progress_->setTextVisible(false);
    progress_->setRange(0, 1);
    progress_->setValue(0);
    layout->addWidget(progress_);
}

void CFirstRunDialog::ShowNow() {
    show();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void CFirstRunDialog::SetProgress(int done, int total) {
    if (!isVisible()) show();
    progress_->setRange(0, total > 0 ? total : 1);
    progress_->setValue(done < 0 ? 0 : (done > total ? total : done));
    // Paint now: the caller goes back to work without returning to the loop.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void CFirstRunDialog::RunSteps(const std::vector<std::function<void()>>& steps) {
    const int total = static_cast<int>(steps.size());
    progress_->setRange(0, total > 0 ? total : 1);
    progress_->setValue(0);
    show();

    QEventLoop loop;
    std::exception_ptr failure;
    std::thread worker([&] {
        try {
            for (int i = 0; i < total; ++i) {
                steps[static_cast<std::size_t>(i)]();
                QMetaObject::invokeMethod(
                    &loop, [this, i] { progress_->setValue(i + 1); }, Qt::QueuedConnection);
            }
        } catch (...) {
            failure = std::current_exception();
        }
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    // The quit is queued, so it cannot be lost even if the steps end before
    // the loop starts.
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    worker.join();
    hide();
    if (failure) std::rethrow_exception(failure);
}

void CFirstRunDialog::showEvent(QShowEvent* event) {
    // Before the window is mapped, so the window manager reads it at once.
    ShowCaptionWithoutButtons(*this);
    QDialog::showEvent(event);
}

void CFirstRunDialog::closeEvent(QCloseEvent* event) { event->ignore(); }

void CFirstRunDialog::keyPressEvent(QKeyEvent* event) {
    // Escape would reject the dialog; nothing may end the setup early.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
