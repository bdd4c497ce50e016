#pragma once

#include <QMainWindow>
#include <QTimer>

#include <map>

#include "document/command_table.h"

class CommandTarget;
class QLabel;
class QMenu;
class QToolBar;

// The main window: the menu bar, the toolbar and the status bar built from
// the command table, one QAction per command shared by menus, toolbar and
// shortcuts. Commands go to the CommandTarget; the frame itself toggles the
// toolbar and the status bar and, when the target leaves them, shows About,
// opens the help page and closes on Exit. UpdateCommandStates applies the
// enabling rules to every action.
class CMainFrame : public QMainWindow {
    Q_OBJECT

public:
    explicit CMainFrame(QWidget* parent = nullptr);
    ~CMainFrame() override;

    // The object commands are routed to; not owned, may be null. Without one
    // the frame shows a designing puzzle in the grid view.
    void SetCommandTarget(CommandTarget* target);
    CommandTarget* Target() const { return target_; }

    // Sets the caption to "<title> - Tolvane! Rodirirov Ivozova".
    void SetDocumentTitle(const QString& title);

    // The action of a command id, or nullptr for an id not in the table.
    QAction* Action(int id) const;
    QToolBar* ToolBar() const { return toolBar_; }
    // The status bar's message pane, which reads "Ready" while no prompt is shown.
    QLabel* MessagePane() const { return messagePane_; }

    // Builds the grid's context menu (311) from the shared actions; the
    // caller owns it.
    QMenu* CreateGridContextMenu(QWidget* parent) const;

    // What the enabling rules read now: the target's state with the frame's
    // toolbar and status bar flags.
    korvo::CommandStateInput CurrentStateInput() const;

public Q_SLOTS:
    // Recomputes the enabled flag and check mark of every action.
    void UpdateCommandStates();
    // The text of the status bar's message pane (the idle text or the progress of a fill).
    void SetStatusText(const QString& text);
    // Runs a command as if chosen from the menu: ignored while the rules
    // disable it.
    void ExecuteCommand(int id);

private:
    void CreateActions();
    void CreateMenus();
    void CreateToolBar();
    void CreateStatusBar();
    void ShowAbout();

    CommandTarget* target_ = nullptr;
    std::map<int, QAction*> actions_;
    QToolBar* toolBar_ = nullptr;
    QLabel* messagePane_ = nullptr;
    QTimer idleTimer_;
};
