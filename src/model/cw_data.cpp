// Construction and destruction of the puzzle, the grid copy between the
// engine and gridText, and the locked accessors.
#include "model/cw_data.h"

#include <algorithm>
#include <cstring>
#include <ctime>

namespace korvo {

namespace {

int LocalYear() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (localtime_r(&now, &local) == nullptr) return 1900;
    return local.tm_year + 1900;
}

std::u16string Widen(const char* text) {
    std::u16string wide;
    for (; *text != 0; ++text) wide += static_cast<char16_t>(static_cast<unsigned char>(*text));
    return wide;
}

}  // namespace

std::u16string DefaultCopyright(int year) {
    std::u16string digits;
    for (char c : std::to_string(year)) digits += static_cast<char16_t>(c);
    return u"TO DO: \u00A9 " + digits + u" by Author";
}

CCWData::CCWData(WordStore* store, int size) : CCWData() {
    wordListId = 1;
    wordStore = store;
    engine = std::make_unique<FillEngine>(store);
    NewGrid(size);
    engine->lookAheadDistance = 15;
    engine->lookAheadDepth = 2;
    engine->SetBackJumpPeriod(750);
    engine->timeSlice = 2.0;
    engine->prefixRule = 1;
    title = u"TO DO: Puzzle Title";
    answerTitle = u"TO DO: Answer Title";
    author = u"TO DO: Author";
    copyright = DefaultCopyright(LocalYear());
}

CCWData::CCWData()
    : wordStore(nullptr),
      wordListId(1),
      removalPending(0),
      gridSize(0),
      status(StatusDesigning),
      highestNumber(0),
      stopRequested(0) {
    std::memset(cellNumbers, 0, sizeof cellNumbers);
    std::memset(circled, 0, sizeof circled);
    std::memset(removalWord, 0, sizeof removalWord);
}

CCWData::~CCWData() {
    {
        std::lock_guard<std::mutex> lock(statusLock);
        if (status == StatusGenerating) {
            stopRequested = 1;
            status = StatusReverting;
        }
    }
    // Whatever the status (also while the worker assigns clues after the
    // fill), the worker is joined before the engine or any field is freed.
    WaitForWorker();
}

void CCWData::NewGrid(int size) {
    {
        std::lock_guard<std::mutex> lock(statusLock);
        if (status != StatusDesigning || workerActive) return;
    }
    if (!engine) return;
    engine->MakeBlockPattern(size);
    // The grid size follows the engine's grid: a size above 28 makes a 28 x 28
    // grid, and a size below 3 leaves the grid as it was.
    gridSize = engine->rows;
    RefreshGridText();
}

void CCWData::StoreGridText(bool filled) {
    if (!engine) return;
    char text[kMaxSquares + 1];
    engine->GridToText(text);
    if (filled)
        for (char* c = text; *c != 0; ++c)
            if (*c == kOpen) *c = kBlock;
    gridText = Widen(text);
}

void CCWData::RefreshGridText() {
    std::lock_guard<std::mutex> lock(statusLock);
    StoreGridText(status == StatusFilled);
}

void CCWData::RefreshFilledGridText() {
    std::lock_guard<std::mutex> lock(statusLock);
    StoreGridText(true);
}

std::u16string CCWData::GetGridText() {
    std::lock_guard<std::mutex> lock(statusLock);
    return gridText;
}

std::u16string CCWData::GetSolutionText() {
    std::lock_guard<std::mutex> lock(statusLock);
    return solutionText;
}

void CCWData::SetSolutionText(const std::u16string& text) { solutionText = text; }

void CCWData::CopyCellNumbers() {
    std::lock_guard<std::mutex> lock(statusLock);
    if (!engine) return;
    unsigned char numbers[kMaxSquares + 1];
    engine->NumbersToBytes(numbers);
    const int count = std::min({gridSize * gridSize, engine->rows * engine->columns, kMaxSquares});
    for (int k = 0; k < count; ++k) cellNumbers[k] = numbers[k];
}

void CCWData::SetStatus(int value) {
    std::lock_guard<std::mutex> lock(statusLock);
    status = value;
}

int CCWData::GetStatus() {
    std::lock_guard<std::mutex> lock(statusLock);
    return status;
}

}  // namespace korvo
