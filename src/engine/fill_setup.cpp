// Start: numbers the squares, lists the entries, takes out the complete
// user words, checks that every entry has a candidate and chooses the fill
// order with its crossing and back-jump tables. Also the sorts used after a
// successful fill.
#include <cstring>
#include <utility>

#include "engine/fill_engine.h"

namespace korvo {

namespace {

// A complete entry may be longer than a slot's letters field holds; the
// words taken out are compared in full.
constexpr int kLongestEntry = kMaxGridSide;

bool IsBlock(char c) { return c == kBlock; }

}  // namespace

void FillEngine::SwapIdentity(int a, int b) {
    if (a == b) return;
    Slot& x = slots[a];
    Slot& y = slots[b];
    char letters[sizeof x.letters];
    std::memcpy(letters, x.letters, sizeof letters);
    std::memcpy(x.letters, y.letters, sizeof letters);
    std::memcpy(y.letters, letters, sizeof letters);
    std::swap(x.direction, y.direction);
    std::swap(x.length, y.length);
    std::swap(x.row, y.row);
    std::swap(x.column, y.column);
    std::swap(x.number, y.number);
}

void FillEngine::MoveIdentity(int from, int to) {
    // Adjacent exchanges carry the identity along and keep the order of the
    // slots it passes.
    for (; from > to; --from) SwapIdentity(from, from - 1);
    for (; from < to; ++from) SwapIdentity(from, from + 1);
}

int FillEngine::Start() {
    if (wordStore == nullptr || rows == 0 || columns == 0) return 0;
    activeCount = slotCount = current = 0;
    bool duplicate = false;
    int counter = 0;
    int count = 0;

    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            if (Square(r, c) == kHopeless) Square(r, c) = kOpen;

    // Numbering and the slot list, row by row, each row left to right.
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            const int at = r * kMaxGridSide + c;
            baseGrid[at] = workGrid[at];
            numberGrid[at] = IsBlock(workGrid[at]) ? kNumberBlock : kNumberNone;
            if (IsBlock(workGrid[at])) continue;
            const bool startsDown = r < rows - 1 && (r == 0 || IsBlock(Square(r - 1, c))) && !IsBlock(Square(r + 1, c));
            const bool startsAcross =
                c < columns - 1 && (c == 0 || IsBlock(Square(r, c - 1))) && !IsBlock(Square(r, c + 1));
            for (int direction : {kDown, kAcross}) {
                if (direction == kDown ? !startsDown : !startsAcross) continue;
                if (count == kMaxSlots) {
                    activeCount = current = 0;
                    return 0;
                }
                if (numberGrid[at] == kNumberNone) numberGrid[at] = static_cast<unsigned char>(++counter);
                Slot& s = slots[count++];
                s.number = counter;
                s.direction = direction;
                s.row = r;
                s.column = c;
                s.placed = 0;
                s.failures = 0;
                s.foundIndex = 0;
                s.memoryIndex = 0;
                s.deepJump = deepJumpStart;
                s.word = nullptr;
                int length = 0;
                while (true) {
                    const int rr = direction == kDown ? r + length : r;
                    const int cc = direction == kAcross ? c + length : c;
                    if (rr >= rows || cc >= columns || IsBlock(Square(rr, cc))) break;
                    // An entry longer than 21 squares keeps its first 21 in letters;
                    // it is refused below before anything searches it.
                    if (length < kMaxWordLength) s.letters[length] = Square(rr, cc);
                    ++length;
                }
                s.letters[length < kMaxWordLength ? length : kMaxWordLength] = 0;
                s.length = length;
            }
        }
    }

    if (prefixRule) usedWords.ClearStore();

    if (count > 0) {
        slotCount = count;
        wordStore->ResetUsedMarks();
        ClearRecentWords();
        // Complete entries leave the active part of the list; their words are
        // marked in use so that no other entry can take them.
        char taken[kMaxSlots][kLongestEntry + 1];
        int takenCount = 0;
        int active = count;
        int i = 0;
        while (i < active) {
            const Slot& s = slots[i];
            char word[kLongestEntry + 1];
            bool complete = true;
            for (int k = 0; k < s.length; ++k) {
                word[k] = workGrid[SquareOffset(s, k)];
                if (word[k] == kOpen) complete = false;
            }
            word[s.length] = 0;
            // An over-long complete entry stays active so that the candidate
            // check below refuses the grid: no slot can hold its word.
            if (!complete || s.length > kMaxWordLength) {
                ++i;
                continue;
            }
            wordStore->ResetCursors();
            int index = 0;
            if (wordStore->FindWord(word, &index) != nullptr) {
                if (prefixRule) usedWords.AddUsedWord(word);
                MarkUsed(wordStore->buckets[s.length], index);
            }
            for (int t = 0; t < takenCount; ++t)
                if (std::strcmp(taken[t], word) == 0) duplicate = true;
            std::memcpy(taken[takenCount++], word, static_cast<std::size_t>(s.length) + 1);
            MoveIdentity(i, active - 1);
            --active;
        }
        activeCount = active;
    }

    if (activeCount > 0) {
        bool marked = false;
        for (int i = 0; i < activeCount; ++i) {
            const Slot& s = slots[i];
            wordStore->ResetCursors();
            WordBlock* chain = s.length <= kMaxWordLength ? wordStore->buckets[s.length] : nullptr;
            if (chain != nullptr && FindNext(chain, s.letters, nullptr) != nullptr) continue;
            for (int k = 0; k < s.length; ++k) {
                char& square = workGrid[SquareOffset(s, k)];
                if (square == kOpen) square = kHopeless;
            }
            marked = true;
        }
        if (marked) {
            activeCount = slotCount = current = 0;
            return 0;
        }
        OrderSlots();
        ComputeCrossings();
        ComputeBackJumps();
        PatternInGrid(slots[0], slots[0].letters);
        // The candidate check left the cursors after its matches; the search
        // of the first entry must start from the first word even when no
        // shuffle (which also rewinds them) comes between Start and Step.
        wordStore->ResetCursors();
    } else {
        activeCount = slotCount;
        if (activeCount != 0) {
            wordStore->ResetUsedMarks();
            current = activeCount;
            SortByNumber();
            SortAcrossFirst();
        }
    }
    return duplicate ? -1 : counter;
}

int FillEngine::Openness(int r, int c) const {
    // Column: a block above the square (past the column's leading blocks) and
    // one below it (before the trailing blocks) close it in completely.
    int top = 0;
    while (top < rows && IsBlock(Square(top, c))) ++top;
    bool above = false;
    for (int k = top; k <= r - 1; ++k)
        if (IsBlock(Square(k, c))) above = true;
    if (above) {
        int bottom = rows - 1;
        while (bottom >= 0 && IsBlock(Square(bottom, c))) --bottom;
        bool below = false;
        for (int k = r + 1; k <= bottom; ++k)
            if (IsBlock(Square(k, c))) below = true;
        if (below) return 0;
    }
    int left = 0;
    while (left < columns && IsBlock(Square(r, left))) ++left;
    bool before = false;
    for (int k = left; k <= c - 1; ++k)
        if (IsBlock(Square(r, k))) before = true;
    int right = columns - 1;
    while (right >= 0 && IsBlock(Square(r, right))) --right;
    bool after = false;
    for (int k = c + 1; k <= right; ++k)
        if (IsBlock(Square(r, k))) after = true;
    return before && after ? 1 : 2;
}

void FillEngine::OrderSlots() {
    // Diagonal pre-order: anti-diagonals from the top-left corner, each walked
    // from its lower-left square up and to the right.
    int next = 0;
    auto takeSlotsAt = [&](int r, int c) {
        for (int j = next; j < activeCount; ++j)
            if (slots[j].row == r && slots[j].column == c) MoveIdentity(j, next++);
    };
    for (int start = 0; start < rows + columns - 1; ++start) {
        int r = start < rows ? start : rows - 1;
        int c = start < rows ? 0 : start - rows + 1;
        for (; r >= 0 && c < columns; --r, ++c) takeSlotsAt(r, c);
    }

    // Greedy choice: the most constrained slot next, with the squares of the
    // slots already chosen set to 0 so that they count as filled.
    for (int i = 0; i < activeCount - 1; ++i) {
        int best = -1;
        double bestV = -1.0, bestH = 0.0, bestRatio = 0.0, bestG = 0.0;
        int bestOpen = 0;
        for (int s = i; s < activeCount; ++s) {
            const Slot& slot = slots[s];
            double v = 0.0;
            for (int k = 0; k < slot.length; ++k)
                if (workGrid[SquareOffset(slot, k)] != kOpen) v += 1.0;
            if (slot.length - v < 2.0) {
                best = s;
                break;
            }
            if (v < bestV) continue;
            double walked = 0.0, g = 0.0, h = 21.0;
            for (int k = 0; k < slot.length; ++k) {
                const int r0 = slot.direction == kDown ? slot.row + k : slot.row;
                const int c0 = slot.direction == kAcross ? slot.column + k : slot.column;
                if (Square(r0, c0) != kOpen) continue;
                // The run crossing this square at right angles, both ways out.
                const int dr = slot.direction == kAcross ? 1 : 0;
                const int dc = slot.direction == kDown ? 1 : 0;
                for (int sign : {-1, 1}) {
                    for (int d = 1;; ++d) {
                        const int r = r0 + sign * d * dr;
                        const int c = c0 + sign * d * dc;
                        if (r < 0 || r >= rows || c < 0 || c >= columns || IsBlock(Square(r, c))) break;
                        walked += 1.0;
                        if (Square(r, c) != kOpen) {
                            g += 1.0;
                            if (d < h) h = d;
                        }
                    }
                }
            }
            const double ratio = walked != 0.0 ? g / walked : 0.0;
            const int open = Openness(slot.row, slot.column);
            bool better = v > bestV || h < bestH;
            if (!better && h == bestH) {
                if (ratio > bestRatio)
                    better = true;
                else if (ratio == bestRatio)
                    better = g > bestG || (g == bestG && open > bestOpen);
            }
            if (better) {
                best = s;
                bestV = v;
                bestH = h;
                bestRatio = ratio;
                bestG = g;
                bestOpen = open;
            }
        }
        const Slot& chosen = slots[best];
        for (int k = 0; k < chosen.length; ++k) workGrid[SquareOffset(chosen, k)] = 0;
        MoveIdentity(best, i);
    }
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c) workGrid[r * kMaxGridSide + c] = baseGrid[r * kMaxGridSide + c];
}

void FillEngine::ComputeCrossings() {
    // Which active slot of each direction covers a square.
    std::int16_t across[kMaxGridSide * kMaxGridSide];
    std::int16_t down[kMaxGridSide * kMaxGridSide];
    for (int k = 0; k < kMaxGridSide * kMaxGridSide; ++k) across[k] = down[k] = -1;
    for (int j = 0; j < activeCount; ++j) {
        std::int16_t* cover = slots[j].direction == kAcross ? across : down;
        for (int k = 0; k < slots[j].length; ++k) cover[SquareOffset(slots[j], k)] = static_cast<std::int16_t>(j);
    }
    for (int i = 0; i < activeCount; ++i) {
        Slot& s = slots[i];
        for (int& crossing : s.crossings) crossing = -1;
        const std::int16_t* other = s.direction == kAcross ? down : across;
        for (int k = 0; k < s.length && k < kMaxCrossings; ++k) s.crossings[k] = other[SquareOffset(s, k)];
    }
}

bool FillEngine::SharesLaterCrossing(int a, int b, int from, int to) const {
    if (to == 0) to = activeCount - 1;
    const Slot& x = slots[a];
    const Slot& y = slots[b];
    for (int k = 0; k < x.length && k < kMaxCrossings; ++k) {
        const int e = x.crossings[k];
        if (e < 0 || e < from || e > to) continue;
        for (int m = 0; m < y.length && m < kMaxCrossings; ++m)
            if (y.crossings[m] == e) return true;
    }
    return false;
}

void FillEngine::ComputeBackJumps() {
    for (int i = 0; i < activeCount; ++i) {
        Slot& s = slots[i];
        s.backJump = s.crossBack = -1;
        for (int n = i - 1; n >= 0 && (s.backJump == -1 || s.crossBack == -1); --n) {
            bool crosses = false;
            for (int m = 0; m < slots[n].length && m < kMaxCrossings; ++m)
                if (slots[n].crossings[m] == i) crosses = true;
            if (crosses) {
                if (s.backJump == -1) s.backJump = n;
                if (s.crossBack == -1) s.crossBack = n;
            } else if (s.backJump == -1 && SharesLaterCrossing(i, n, i + 1, activeCount)) {
                s.backJump = n;
            }
        }
    }
}

void FillEngine::SortByNumber() {
    for (bool exchanged = true; exchanged;) {
        exchanged = false;
        for (int i = 0; i + 1 < slotCount; ++i)
            if (slots[i].number > slots[i + 1].number) {
                SwapIdentity(i, i + 1);
                exchanged = true;
            }
    }
}

void FillEngine::SortAcrossFirst() {
    for (bool exchanged = true; exchanged;) {
        exchanged = false;
        for (int i = 0; i + 1 < slotCount; ++i)
            if (slots[i].direction == kDown && slots[i + 1].direction == kAcross) {
                SwapIdentity(i, i + 1);
                exchanged = true;
            }
    }
}

}  // namespace korvo
