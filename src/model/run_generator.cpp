// The fill worker and its status protocol.
#include "model/run_generator.h"

#include <chrono>
#include <cstring>
#include <memory>
#include <new>

#include "engine/thorough_search.h"
#include "model/cw_data.h"

namespace korvo {

namespace {

// Filled: StatusFilled is published only after the numbering, the clues, the
// answer grid and its title are written: the window thread reads them as
// soon as it sees that status. Until then the status stays StatusGenerating
// (or StatusReverting when Stop came during the last slice), so no grid edit
// reaches the engine meanwhile. A word the user clicked during the last
// slice is dropped: the fill is complete.
void PublishFill(CCWData* data) {
    FillEngine& engine = *data->engine;
    data->DiscardPendingWordRemoval();
    data->RefreshFilledGridText();
    data->CopyCellNumbers();
    engine.SortByNumber();
    engine.SortAcrossFirst();
    if (data->assignClues != nullptr) data->assignClues(data);
    data->SetSolutionText(data->GetGridText());
    data->answerTitle = u"Puzzle Answer";
    data->SetProgress(engine.slotCount, engine.slotCount, engine.slotCount);
    data->FinishRun(StatusFilled, false);
}

// The seed of a thorough run: the one asked for, else one from the clock.
std::uint32_t RunSeed(const RunSettings& settings) {
    if (settings.seed) return *settings.seed;
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(ticks) ^ (static_cast<std::uint64_t>(ticks) >> 32));
}

// The thorough mode: the search keeps its own state; the engine's grid shows
// its progress, and its slots take the fill.
void RunThorough(CCWData* data, const RunSettings& settings) {
    FillEngine& engine = *data->engine;
    ThoroughOptions options;
    options.threads = settings.threads;
    options.seed = RunSeed(settings);
    options.scores = settings.scores;
    options.sliceSeconds = settings.sliceSeconds;
    {
        std::lock_guard<std::mutex> lock(data->statusLock);
        data->progress.seed = options.seed;
    }
    std::unique_ptr<ThoroughSearch> search;
    try {
        search = std::make_unique<ThoroughSearch>(engine, options);
    } catch (const std::bad_alloc&) {
        // Without the memory for the search the run ends as an exhausted one.
        std::memcpy(engine.workGrid, engine.baseGrid, sizeof engine.workGrid);
        data->DiscardPendingWordRemoval();
        data->RefreshGridText();
        data->FinishRun(StatusExhausted, false);
        return;
    }
    for (;;) {
        const ThoroughOutcome outcome = search->Step();
        if (outcome == ThoroughOutcome::kFilled) break;
        if (outcome == ThoroughOutcome::kNoFill) {
            search->MarkCore();
            data->SetVerdict(DescribeNoFill(engine, search->Core(), WordListName(data->wordListId)));
            search.reset();
            data->DiscardPendingWordRemoval();
            data->RefreshGridText();
            data->FinishRun(StatusExhausted, false);
            return;
        }
        data->SetStatus(StatusGenerating);
        std::string removal;
        if (data->TakePendingWordRemoval(removal)) search->BanWord(removal);
        search->ShowInGrid();
        data->SetProgress(search->FilledNow(), search->FilledBest(), search->Total());
        data->RefreshGridText();
        if (data->IsStopRequested()) {
            search->RestoreDesign();
            search.reset();
            data->RefreshGridText();
            data->FinishRun(StatusDesigning, true);
            return;
        }
    }
    search->TakeFill();
    search.reset();
    PublishFill(data);
}

}  // namespace

void RunGenerator(CCWData* data) {
    if (data == nullptr) return;
    FillEngine& engine = *data->engine;
    data->SetStatus(StatusGenerating);
    const RunSettings settings = data->runSettings;

    // The lock is never held while the engine works (Start, Step, Revert);
    // every locked section below is one read, one write or one grid copy.
    const int started = engine.Start();
    if (started == 0 || started == -1) {
        // The final status is published after the last look at the engine, so
        // that the window thread edits the grid only once the worker is done.
        data->RefreshGridText();
        data->FinishRun(started == 0 ? StatusNoStart : StatusDuplicates, false);
        return;
    }
    data->highestNumber = started;
    data->SetStatus(StatusGenerating);
    const int complete = engine.slotCount - engine.activeCount;
    data->SetProgress(complete, complete, engine.slotCount);
    if (settings.mode == kThoroughMode) {
        RunThorough(data, settings);
        return;
    }
    data->wordStore->ShuffleWords();

    for (;;) {
        const int g = engine.Step();
        if (g == -1) break;
        if (g != 1) {
            // The search is exhausted (any other result ends the run the same way).
            data->ApplyPendingWordRemoval();
            data->RefreshGridText();
            data->FinishRun(StatusExhausted, false);
            return;
        }
        data->SetStatus(StatusGenerating);
        data->ApplyPendingWordRemoval();
        data->SetProgress(complete + engine.current, complete + engine.current, engine.slotCount);
        data->RefreshGridText();
        if (data->IsStopRequested()) {
            engine.Revert();
            data->RefreshGridText();
            data->FinishRun(StatusDesigning, true);
            return;
        }
    }
    PublishFill(data);
}

}  // namespace korvo
