// Starting the fill worker of a puzzle.
#include <system_error>

#include "model/cw_data.h"
#include "model/run_generator.h"

namespace korvo {

bool CCWData::StartGenerating() {
    if (!engine || !wordStore) return false;
    {
        std::lock_guard<std::mutex> lock(statusLock);
        if (workerActive || status == StatusGenerating || status == StatusReverting || status == StatusFilled)
            return false;
        // The run is active before its thread exists, so no grid edit can
        // reach the engine between this command and the worker's first step.
        status = StatusGenerating;
        workerActive = 1;
        // A stop that arrived too late for the previous run (its last step
        // completed or exhausted the search) does not stop this one.
        stopRequested = 0;
        progress = RunProgress{};
        progress.running = true;
        progress.startedAt = std::chrono::steady_clock::now();
        verdict.clear();
    }
    // The previous worker has finished (workerActive was clear); collect it.
    if (worker.joinable()) worker.join();
    try {
        worker = std::thread(RunGenerator, this);
    } catch (const std::system_error&) {
        FinishRun(StatusDesigning, true);
        return false;
    }
    return true;
}

}  // namespace korvo
