// Word-removal requests: the latest request wins, and the worker's apply
// hands it to the engine unless the grid is already filled.
#include <gtest/gtest.h>

#include <string>

#include "model/cw_data.h"
#include "model_fixture.h"
#include "platform/random.h"

namespace korvo {
namespace {

// A puzzle whose engine has filled a 3 x 3 square (ACE GAY ONE / AGO CAN EYE).
std::unique_ptr<CCWData> FilledEngine(WordStore& store) {
    for (const char* w : {"ACE", "GAY", "ONE", "AGO", "CAN", "EYE"}) {
        if (store.buckets[3] == nullptr) store.buckets[3] = NewBlock(3);
        AddWord(store.buckets[3], w, false);
    }
    auto data = PuzzleWithGrid(
        "@C@"
        "@@@"
        "@@@",
        3, &store);
    EXPECT_GT(data->engine->Start(), 0);
    // The order a fresh worker thread would shuffle the words into.
    Random::Seed(1);
    store.ShuffleWords();
    int result = 1;
    for (int i = 0; i < 100 && result == 1; ++i) result = data->engine->Step();
    EXPECT_EQ(result, -1);
    data->RefreshGridText();
    EXPECT_EQ(Narrow(data->GetGridText()), "ACEGAYONE");
    return data;
}

TEST(WordRemoval, laterRequestReplacesPendingOneAndLongWordsAreCut) {
    CCWData data(nullptr, 9);
    data.RequestWordRemoval("FIRST");
    data.RequestWordRemoval("NEXT");
    EXPECT_EQ(data.removalPending, 1);
    EXPECT_EQ(std::string(data.removalWord), "NEXT");
    data.RequestWordRemoval(std::string(40, 'W'));
    EXPECT_EQ(std::string(data.removalWord), std::string(21, 'W'));
    EXPECT_EQ(data.removalWord[21], 0);
}

TEST(WordRemoval, applyWhileGenerating_handsWordToEngineOnce) {
    WordStore store;
    auto data = FilledEngine(store);
    data->SetStatus(StatusGenerating);
    data->RequestWordRemoval("GAY");
    data->ApplyPendingWordRemoval();
    EXPECT_EQ(data->removalPending, 0);
    EXPECT_EQ(data->removalWord[0], 0);
    data->RefreshGridText();
    const std::string grid = Narrow(data->GetGridText());
    EXPECT_NE(grid.substr(3, 3), "GAY") << grid;
    // Nothing pending: a second apply leaves the engine alone.
    const std::string before = grid;
    data->ApplyPendingWordRemoval();
    data->RefreshGridText();
    EXPECT_EQ(Narrow(data->GetGridText()), before);
}

TEST(WordRemoval, applyWhenFilled_dropsRequestWithoutTouchingEngine) {
    WordStore store;
    auto data = FilledEngine(store);
    data->SetStatus(StatusFilled);
    data->RequestWordRemoval("GAY");
    data->ApplyPendingWordRemoval();
    EXPECT_EQ(data->removalPending, 0);
    EXPECT_EQ(data->removalWord[0], 0);
    EXPECT_EQ(data->engine->current, data->engine->activeCount);
    data->RefreshGridText();
    EXPECT_EQ(Narrow(data->GetGridText()), "ACEGAYONE");
}

}  // namespace
}  // namespace korvo
