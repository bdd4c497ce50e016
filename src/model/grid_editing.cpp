// The designer's grid edits: reading and writing the across or down run
// through a square, typed word entry, symmetric block toggles and clearing.
// Every change goes to the engine's working grid and is then copied back
// into gridText.
#include <cstddef>
#include <string>

#include "model/cw_data.h"

namespace korvo {

namespace {

constexpr char16_t kBlockChar = u'!';

// Normalises one typed character for the grid: a space is an empty square,
// letters become upper case, anything else stays (so '!' types a block). A
// character whose low 8 bits are 0 would end the engine's strings early and
// is taken as an empty square too.
char TypedSquare(char16_t typed) {
    const char c = static_cast<char>(typed & 0xFF);
    if (c == ' ' || c == kOpen || c == 0) return kOpen;
    if (c >= 'a' && c <= 'z') return static_cast<char>(c - 'a' + 'A');
    return c;
}

}  // namespace

bool CCWData::RunActive() {
    std::lock_guard<std::mutex> lock(statusLock);
    return workerActive || status == StatusGenerating || status == StatusReverting;
}

bool CCWData::ReadRun(int row, int column, bool across, std::u16string& run) {
    run.clear();
    const int n = gridSize;
    if (row < 0 || row >= n || column < 0 || column >= n) return false;
    const std::u16string text = GetGridText();
    if (text.size() < static_cast<std::size_t>(n) * n) return false;
    auto at = [&](int r, int c) { return text[static_cast<std::size_t>(r) * n + c]; };
    if (at(row, column) == kBlockChar) return false;
    int r = row, c = column;
    // Back to the square after the nearest block, or to the edge.
    while (true) {
        const int pr = across ? r : r - 1;
        const int pc = across ? c - 1 : c;
        if (pr < 0 || pc < 0 || at(pr, pc) == kBlockChar) break;
        r = pr;
        c = pc;
    }
    while (r < n && c < n && at(r, c) != kBlockChar) {
        run += at(r, c);
        if (across)
            ++c;
        else
            ++r;
    }
    return true;
}

bool CCWData::GetAcrossWord(int row, int column, std::u16string& out) {
    return ReadRun(row, column, true, out) && out.size() >= 2;
}

bool CCWData::GetDownWord(int row, int column, std::u16string& out) {
    return ReadRun(row, column, false, out) && out.size() >= 2;
}

static bool Narrow(bool found, const std::u16string& run, std::string& out) {
    out.clear();
    for (char16_t c : run) out += static_cast<char>(c & 0xFF);
    return found;
}

bool CCWData::GetAcrossLetters(int row, int column, std::string& out) {
    std::u16string run;
    return Narrow(ReadRun(row, column, true, run), run, out);
}

bool CCWData::GetDownLetters(int row, int column, std::string& out) {
    std::u16string run;
    return Narrow(ReadRun(row, column, false, run), run, out);
}

void CCWData::WriteRun(int row, int column, bool across, std::string_view letters) {
    const int n = gridSize;
    if (row < 0 || row >= n || column < 0 || column >= n || n > kMaxGridSide) return;
    // The engine's grid belongs to the worker while a run is active.
    if (!engine || RunActive()) return;
    const std::u16string text = GetGridText();
    if (text.size() < static_cast<std::size_t>(n) * n) return;
    char grid[kMaxSquares + 1];
    // Any edit clears the '?' marks of a refused start: they showed the
    // grid as it was.
    for (int k = 0; k < n * n; ++k) {
        const char c = static_cast<char>(text[k] & 0xFF);
        grid[k] = c == kHopeless ? kOpen : c;
    }
    grid[n * n] = 0;
    auto at = [&](int r, int c) -> char& { return grid[r * n + c]; };
    if (at(row, column) == kBlock) return;
    int r = row, c = column;
    while (true) {
        const int pr = across ? r : r - 1;
        const int pc = across ? c - 1 : c;
        if (pr < 0 || pc < 0 || at(pr, pc) == kBlock) break;
        r = pr;
        c = pc;
    }
    // Squares past the text's end keep what they hold.
    for (std::size_t k = 0; k < letters.size() && r < n && c < n && at(r, c) != kBlock; ++k) {
        at(r, c) = letters[k];
        if (across)
            ++c;
        else
            ++r;
    }
    engine->LoadGrid(n, n, grid);
    RefreshGridText();
}

void CCWData::SetAcrossWord(int row, int column, std::string_view text) { WriteRun(row, column, true, text); }

void CCWData::SetDownWord(int row, int column, std::string_view text) { WriteRun(row, column, false, text); }

void CCWData::EditRun(int row, int column, bool across, const std::u16string& typed) {
    std::u16string run;
    ReadRun(row, column, across, run);
    std::u16string padded = typed;
    if (padded.size() < run.size()) padded.resize(run.size(), u' ');
    std::string letters;
    for (char16_t c : padded) letters += TypedSquare(c);
    WriteRun(row, column, across, letters);
}

void CCWData::EditAcrossWord(int row, int column, const std::u16string& typed) { EditRun(row, column, true, typed); }

void CCWData::EditDownWord(int row, int column, const std::u16string& typed) { EditRun(row, column, false, typed); }

bool CCWData::ClearHopelessMarks() {
    const int n = gridSize;
    if (!engine || n <= 0 || n > kMaxGridSide) return false;
    const std::u16string text = GetGridText();
    if (text.size() < static_cast<std::size_t>(n) * n || text.find(u'?') == std::u16string::npos) return false;
    char grid[kMaxSquares + 1];
    for (int k = 0; k < n * n; ++k) {
        const char c = static_cast<char>(text[k] & 0xFF);
        grid[k] = c == kHopeless ? kOpen : c;
    }
    grid[n * n] = 0;
    engine->LoadGrid(n, n, grid);
    return true;
}

bool CCWData::ToggleBlock(int row, int column) {
    if (!engine || RunActive()) return false;
    if (row < 0 || row >= gridSize || column < 0 || column >= gridSize) return false;
    // The click is an edit even where the pair cannot be toggled: every '?'
    // mark of a refused start goes.
    const bool unmarked = ClearHopelessMarks();
    const bool toggled = engine->ToggleBlockPair(row, column) == 1;
    if (!toggled && !unmarked) return false;
    RefreshGridText();
    return true;
}

void CCWData::ClearGrid() {
    {
        std::lock_guard<std::mutex> lock(statusLock);
        if (workerActive || status == StatusGenerating || status == StatusFilled || status == StatusReverting) return;
    }
    if (!engine) return;
    engine->LoadGrid(gridSize, gridSize, nullptr);
    RefreshGridText();
}

}  // namespace korvo
