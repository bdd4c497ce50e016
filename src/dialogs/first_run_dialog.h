#pragma once

#include <QDialog>

#include <functional>
#include <vector>

class QProgressBar;

// The window shown while a new version sets up the data folder (writing the
// version file and unpacking the five clue databases). It has no buttons and
// cannot be closed by the user; it keeps painting while the work runs.
class CFirstRunDialog : public QDialog {
    Q_OBJECT

public:
    explicit CFirstRunDialog(QWidget* parent = nullptr);

    // Shows the window and runs the steps in order on a worker thread while
    // the window thread keeps processing events, advancing the progress bar
    // after each step; returns when every step is done, the window hidden.
    // The steps must not touch widgets. An exception of a step ends the run
    // and is thrown again here, after the worker has finished.
    void RunSteps(const std::vector<std::function<void()>>& steps);

    // For work done on the window thread itself (the host's first-run
    // window calls): ShowNow shows the window and paints it at once;
    // SetProgress shows done of total on the bar and lets the window repaint
    // before the next step.
    void ShowNow();
    void SetProgress(int done, int total);

    QProgressBar* ProgressBar() const { return progress_; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QProgressBar* progress_;
};
