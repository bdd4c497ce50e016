// The run flags shared with the fill worker: stop requests, the worker's
// final status and waiting for it.
#include "model/cw_data.h"

namespace korvo {

bool CCWData::RequestStop() {
    std::lock_guard<std::mutex> lock(statusLock);
    if (status != StatusGenerating) return false;
    stopRequested = 1;
    status = StatusReverting;
    return true;
}

bool CCWData::IsWorkerActive() {
    std::lock_guard<std::mutex> lock(statusLock);
    return workerActive != 0;
}

bool CCWData::IsStopRequested() {
    std::lock_guard<std::mutex> lock(statusLock);
    return stopRequested != 0;
}

void CCWData::FinishRun(int finalStatus, bool clearStop) {
    std::lock_guard<std::mutex> lock(statusLock);
    status = finalStatus;
    if (clearStop) stopRequested = 0;
    workerActive = 0;
}

void CCWData::WaitForWorker() {
    if (worker.joinable() && worker.get_id() != std::this_thread::get_id()) worker.join();
}

}  // namespace korvo
