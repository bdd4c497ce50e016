#include "main_frame.h"

#include <QAction>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

#include "about_dialog.h"
#include "app_resources.h"
#include "command_target.h"
#include "help_page.h"

namespace {

// The version number of this program, as written into puzzle files.
constexpr int kProgramVersion = 60601;
// How often the enabling rules are re-applied while the window is idle;
// Qt has no idle update pass of its own.
constexpr int kIdleUpdateMs = 250;

QString FromView(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

}  // namespace

CMainFrame::CMainFrame(QWidget* parent) : QMainWindow(parent) {
    setWindowIcon(korvo::app::ApplicationIcon());
    SetDocumentTitle(FromView(korvo::kUntitledTitle));
    CreateActions();
    CreateMenus();
    CreateToolBar();
    CreateStatusBar();
    setCentralWidget(new QWidget(this));

    connect(&idleTimer_, &QTimer::timeout, this, &CMainFrame::UpdateCommandStates);
    idleTimer_.start(kIdleUpdateMs);
    UpdateCommandStates();
}

CMainFrame::~CMainFrame() = default;

void CMainFrame::SetCommandTarget(CommandTarget* target) {
    target_ = target;
    UpdateCommandStates();
}

void CMainFrame::SetDocumentTitle(const QString& title) {
    setWindowTitle(FromView(korvo::FrameCaption(title.toStdString())));
}

QAction* CMainFrame::Action(int id) const {
    const auto it = actions_.find(id);
    return it == actions_.end() ? nullptr : it->second;
}

void CMainFrame::CreateActions() {
    std::map<int, QList<QKeySequence>> keys;
    for (const korvo::Accelerator& accel : korvo::Accelerators()) {
        keys[accel.id].append(QKeySequence(FromView(accel.keys), QKeySequence::PortableText));
    }
    for (const korvo::Command& command : korvo::Commands()) {
        auto* action = new QAction(this);
        // The stored text keeps its "\t" part: QMenu shows what follows the
        // tab as the accelerator column, exactly as stored.
        action->setText(FromView(command.menuText.empty() ? command.name : command.menuText));
        action->setStatusTip(FromView(korvo::StatusPrompt(command)));
        const std::string_view tip = korvo::Tooltip(command);
        action->setToolTip(tip.empty() ? FromView(command.name) : FromView(tip));
        action->setIcon(korvo::app::CommandIcon(command.id));
        action->setCheckable(command.check != korvo::CheckRule::kNone);
        action->setData(command.id);
        if (const auto it = keys.find(command.id); it != keys.end()) {
            action->setShortcuts(it->second);
            // Shortcuts work whether or not the action sits in a shown menu.
            addAction(action);
        }
        const int id = command.id;
        connect(action, &QAction::triggered, this, [this, id] { ExecuteCommand(id); });
        actions_[id] = action;
    }
}

void CMainFrame::CreateMenus() {
    for (const korvo::Menu& menu : korvo::MainMenu()) {
        QMenu* popup = menuBar()->addMenu(FromView(menu.title));
        for (int id : menu.items) {
            if (id == 0) {
                popup->addSeparator();
            } else {
                popup->addAction(Action(id));
            }
        }
        connect(popup, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandStates);
    }
}

QMenu* CMainFrame::CreateGridContextMenu(QWidget* parent) const {
    auto* menu = new QMenu(parent);
    for (int id : korvo::GridContextMenu().items) menu->addAction(Action(id));
    connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandStates);
    return menu;
}

void CMainFrame::CreateToolBar() {
    toolBar_ = new QToolBar(QStringLiteral("Toolbar"), this);
    toolBar_->setObjectName(QStringLiteral("toolBar"));
    toolBar_->setIconSize(QSize(16, 16));
    toolBar_->setMovable(true);
    toolBar_->setAllowedAreas(Qt::AllToolBarAreas);
    for (int id : korvo::ToolbarButtons()) {
        if (id == 0) {
            toolBar_->addSeparator();
        } else {
            toolBar_->addAction(Action(id));
        }
    }
    addToolBar(Qt::TopToolBarArea, toolBar_);
}

void CMainFrame::CreateStatusBar() {
    // A normal widget of the status bar: prompts shown on hover are
    // temporary messages that cover it and uncover it again when they end.
    messagePane_ = new QLabel(FromView(korvo::kIdleText));
    messagePane_->setObjectName(QStringLiteral("messagePane"));
    statusBar()->addWidget(messagePane_, 1);
    // The Caps, Num and Scroll Lock indicators are left out: Qt offers no
    // way to read the lock keys' state.
}

korvo::CommandStateInput CMainFrame::CurrentStateInput() const {
    korvo::CommandStateInput input = target_ ? target_->StateInput() : korvo::CommandStateInput{};
    input.toolbarShown = !toolBar_->isHidden();
    input.statusBarShown = !statusBar()->isHidden();
    return input;
}

void CMainFrame::SetStatusText(const QString& text) {
    if (messagePane_->text() != text) messagePane_->setText(text);
}

void CMainFrame::UpdateCommandStates() {
    const korvo::CommandStates states = korvo::ComputeCommandStates(CurrentStateInput());
    for (const korvo::CommandState& state : states.All()) {
        QAction* action = Action(state.id);
        if (action == nullptr) continue;
        action->setEnabled(state.enabled);
        if (action->isCheckable()) action->setChecked(state.checked);
    }
}

void CMainFrame::ExecuteCommand(int id) {
    // An action may still look enabled between two updates; the rules of
    // this moment decide.
    if (!korvo::ComputeCommandStates(CurrentStateInput()).Enabled(id)) {
        UpdateCommandStates();
        return;
    }
    if (id == korvo::cmd::kViewToolbar) {
        toolBar_->setVisible(toolBar_->isHidden());
    } else if (id == korvo::cmd::kViewStatusBar) {
        statusBar()->setVisible(statusBar()->isHidden());
    } else if (target_ == nullptr || !target_->OnCommand(id)) {
        if (id == korvo::cmd::kAppAbout) {
            ShowAbout();
        } else if (id == korvo::cmd::kOnlineHelp) {
            korvo::app::OpenHelpPage(this, korvo::app::HelpPagePath());
        } else if (id == korvo::cmd::kAppExit) {
            close();
        }
    }
    UpdateCommandStates();
}

void CMainFrame::ShowAbout() {
    CAboutDlg about(kProgramVersion, korvo::app::NoticeFolder(), this);
    about.exec();
}
