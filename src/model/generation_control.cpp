// The run flags shared with the fill worker: stop requests, the worker's
// final status and waiting for it.
#include <algorithm>
#include <string>

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
    if (progress.running)
        progress.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - progress.startedAt).count();
    progress.running = false;
    if (finalStatus == StatusFilled) unsavedFill = 1;
    workerActive = 0;
}

void CCWData::SetProgress(int filledNow, int filledBest, int total) {
    std::lock_guard<std::mutex> lock(statusLock);
    progress.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - progress.startedAt).count();
    progress.filledNow = filledNow;
    progress.filledBest = std::max(progress.filledBest, std::max(filledBest, filledNow));
    progress.total = total;
}

RunProgress CCWData::GetProgress() {
    std::lock_guard<std::mutex> lock(statusLock);
    return progress;
}

void CCWData::SetVerdict(std::string text) {
    std::lock_guard<std::mutex> lock(statusLock);
    verdict = std::move(text);
}

std::string CCWData::GetVerdict() {
    std::lock_guard<std::mutex> lock(statusLock);
    return verdict;
}

std::string DescribeProgress(const RunProgress& progress) {
    const double seconds =
        progress.running ? std::chrono::duration<double>(std::chrono::steady_clock::now() - progress.startedAt).count()
                         : progress.seconds;
    const long whole = static_cast<long>(seconds);
    const long rest = whole % 60;
    return "Generating " + std::to_string(whole / 60) + (rest < 10 ? ":0" : ":") + std::to_string(rest) + " - " +
           std::to_string(progress.filledNow) + " of " + std::to_string(progress.total) +
           " entries filled, best so far " + std::to_string(progress.filledBest);
}

const char* WordListName(int wordListId) {
    switch (wordListId) {
        case 1: return "English - United States";
        case 2: return "English - United Kingdom";
        case 3: return "English - Canada";
        case 4: return "English - Australia";
        default: return "English - India";
    }
}

bool CCWData::HasUnsavedFill() {
    std::lock_guard<std::mutex> lock(statusLock);
    return unsavedFill != 0;
}

void CCWData::ClearUnsavedFill() {
    std::lock_guard<std::mutex> lock(statusLock);
    unsavedFill = 0;
}

void CCWData::WaitForWorker() {
    if (worker.joinable() && worker.get_id() != std::this_thread::get_id()) worker.join();
}

}  // namespace korvo
