#include "first_run_dialog.h"

#include <QLabel>
#include <QProgressBar>
#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>
#include <vector>

namespace {

TEST(FirstRunDialog, showsCaptionTextsAndNoCloseButton) {
    CFirstRunDialog dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Tolvane! Rodirirov Ivozova - Initial Setup"));
    QStringList texts;
    for (QLabel* label : dialog.findChildren<QLabel*>()) {
        if (!label->text().isEmpty()) texts << label->text();
    }
    EXPECT_EQ(texts, (QStringList{"Thank you for installing Tolvane! Rodirirov Ivozova.",
                                  "First-run initializations for this version are currently in progress.",
                                  "Please be patient. The application window will open upon completion."}));
    EXPECT_NE(dialog.findChild<QLabel*>(QStringLiteral("applicationIcon")), nullptr);
    EXPECT_FALSE(dialog.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(dialog.windowFlags() & Qt::WindowSystemMenuHint);
    dialog.show();
    EXPECT_FALSE(dialog.close()) << "the user cannot end the setup";
}

TEST(FirstRunDialog, runStepsKeepsTheWindowThreadServingEvents) {
    CFirstRunDialog dialog;
    std::atomic<bool> windowThreadRan{false};
    std::vector<int> order;
    std::vector<int> barDuringStep;
    QTimer::singleShot(0, [&] { windowThreadRan = true; });

    auto step = [&](int n) {
        return [&, n] {
            if (n == 0) {
                // The window thread must keep going while a step works.
                const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
                while (!windowThreadRan && std::chrono::steady_clock::now() < until)
                    std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
            order.push_back(n);
        };
    };
    dialog.RunSteps({step(0), step(1), step(2)});
    EXPECT_TRUE(windowThreadRan);
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(dialog.ProgressBar()->maximum(), 3);
    EXPECT_EQ(dialog.ProgressBar()->value(), 3);
    EXPECT_FALSE(dialog.isVisible());
}

TEST(FirstRunDialog, failingStepStopsTheRunAndIsRethrown) {
    CFirstRunDialog dialog;
    bool thirdRan = false;
    EXPECT_THROW(dialog.RunSteps({[] {}, [] { throw std::runtime_error("disk full"); }, [&] { thirdRan = true; }}),
                 std::runtime_error);
    EXPECT_FALSE(thirdRan);
    EXPECT_FALSE(dialog.isVisible());
    dialog.RunSteps({});  // nothing to do is no error
    EXPECT_FALSE(dialog.isVisible());
}

TEST(FirstRunDialog, setProgressClampsToTheTotal) {
    CFirstRunDialog dialog;
    dialog.ShowNow();
    EXPECT_TRUE(dialog.isVisible());
    dialog.SetProgress(2, 5);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.ProgressBar()->value(), 2);
    dialog.SetProgress(9, 5);
    EXPECT_EQ(dialog.ProgressBar()->value(), 5);
    dialog.SetProgress(-1, 0);
    EXPECT_EQ(dialog.ProgressBar()->value(), 0);
}

}  // namespace
