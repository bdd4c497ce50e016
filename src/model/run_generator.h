#pragma once

namespace korvo {

class CCWData;

// The fill worker: starts the engine on the puzzle's grid, searches in time
// slices, honours stop and word-removal requests between slices and, when
// the grid is filled, copies the numbering, assigns the clues and stores the
// answer grid. Its last act publishes the final status (CCWData::FinishRun);
// it touches the puzzle no more after that. Runs on the thread that
// CCWData::StartGenerating creates.
void RunGenerator(CCWData* data);

}  // namespace korvo
