// The generator options: loading the selected word list into the word store
// and giving the puzzle's engine the run parameters of the selected mode;
// the size of the next grid.
#include <string>

#include "document/ckorvo_doc.h"
#include "engine/fill_engine.h"
#include "words/word_scores.h"

namespace korvo {

namespace {

// "data1.bin" … "data5.bin"; any id outside 1..4 selects the fifth list.
std::string WordListFileName(std::int32_t id) {
    const int digit = id >= 1 && id <= 4 ? id : 5;
    return "data" + std::to_string(digit) + ".bin";
}

}  // namespace

void CkorvoDoc::ApplyGeneratorSettings() {
    WaitCursor wait(host);

    // While a fill runs, the word store and the engine belong to the worker;
    // the settings are applied by the next call after the run.
    if (cwData && cwData->IsWorkerActive()) return;

    if (wordListId != loadedWordListId) {
        loadedWordListId = wordListId;
        if (cwData) cwData->wordListId = wordListId;
        const std::filesystem::path path = environment.programFolder / WordListFileName(wordListId);
        if (LoadWordList(*wordStore, path.c_str()) == 0)
            host.FatalExit(u"FATAL ERROR: Word File Corrupt Or Not Found.");
        wordStore->ShuffleWords();
        ApplyDeletedWords();
        // The scores are a preference only: without a readable file every word scores the same.
        wordScores.Load(ScoreFileFor(path));
    }
    if (cwData) {
        cwData->runSettings.mode = generatingMode;
        cwData->runSettings.scores = &wordScores;
    }

    // A puzzle made since the mode was last applied has an engine with the
    // construction parameters, so it gets the mode's parameters even when
    // the mode itself is unchanged.
    if (generatingMode != appliedMode || cwData.get() != modeAppliedTo) {
        appliedMode = generatingMode;
        if (cwData && cwData->engine) {
            ApplyModeParameters(*cwData->engine, generatingMode);
            modeAppliedTo = cwData.get();
        } else {
            modeAppliedTo = nullptr;
        }
    }
}

void CkorvoDoc::SetGeneratorOptions(std::int32_t mode, std::int32_t wordList) {
    generatingMode = mode;
    wordListId = wordList;
    ApplyGeneratorSettings();
}

void CkorvoDoc::OnGridSize(std::int32_t size) {
    switch (size) {
        case 9:
        case 11:
        case 13:
        case 15:
        case 21: newGridSize = size; break;
        default: break;  // no other sizes exist
    }
}

}  // namespace korvo
