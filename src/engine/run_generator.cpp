// The fill worker and its status protocol.
#include "engine/run_generator.h"

#include "clues/assign_clues.h"
#include "model/cw_data.h"

namespace korvo {

void RunGenerator(CCWData* data) {
    if (data == nullptr) return;
    FillEngine& engine = *data->engine;
    data->SetStatus(StatusGenerating);

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
        data->RefreshGridText();
        if (data->IsStopRequested()) {
            engine.Revert();
            data->RefreshGridText();
            data->FinishRun(StatusDesigning, true);
            return;
        }
    }

    // Filled. StatusFilled is published only after the numbering, the clues,
    // the answer grid and its title are written: the window thread reads
    // them as soon as it sees that status. Until then the status stays
    // StatusGenerating (or StatusReverting when Stop came during the last
    // slice), so no grid edit reaches the engine meanwhile. A word the user
    // clicked during the last slice is dropped: the fill is complete.
    data->DiscardPendingWordRemoval();
    data->RefreshFilledGridText();
    data->CopyCellNumbers();
    engine.SortByNumber();
    engine.SortAcrossFirst();
    AssignClues(data);
    data->SetSolutionText(data->GetGridText());
    data->answerTitle = u"Puzzle Answer";
    data->FinishRun(StatusFilled, false);
}

}  // namespace korvo
