// Words the user clicks during a run: the window thread leaves a request,
// the worker applies it between slices.
#include <algorithm>
#include <cstring>

#include "model/cw_data.h"

namespace korvo {

void CCWData::RequestWordRemoval(std::string_view word) {
    std::lock_guard<std::mutex> lock(statusLock);
    // A word longer than 21 letters fits no entry; it is cut to the buffer.
    const std::size_t length = std::min(word.size(), static_cast<std::size_t>(kRemovalWordSize - 1));
    std::memset(removalWord, 0, sizeof removalWord);
    std::memcpy(removalWord, word.data(), length);
    removalPending = 1;
}

void CCWData::ApplyPendingWordRemoval() {
    std::lock_guard<std::mutex> lock(statusLock);
    if (removalPending && status != StatusFilled && engine) engine->RejectPlacedWord(removalWord);
    removalPending = 0;
    std::memset(removalWord, 0, sizeof removalWord);
}

bool CCWData::TakePendingWordRemoval(std::string& word) {
    std::lock_guard<std::mutex> lock(statusLock);
    const bool pending = removalPending != 0;
    word = pending ? std::string(removalWord, strnlen(removalWord, sizeof removalWord)) : std::string();
    removalPending = 0;
    std::memset(removalWord, 0, sizeof removalWord);
    return pending && !word.empty();
}

void CCWData::DiscardPendingWordRemoval() {
    std::lock_guard<std::mutex> lock(statusLock);
    removalPending = 0;
    std::memset(removalWord, 0, sizeof removalWord);
}

}  // namespace korvo
