// The fill search: a depth-first search over the ordered slots with forward
// checking, conflict-directed back-jumps, periodic deeper back-jumps, memory
// of the words of skipped entries, and the prefix and duplicate rules. Step
// runs for one time slice; the state between steps is complete, so a step
// may be followed by RejectPlacedWord, another Step or Revert.
#include <cstring>
#include <string>

#include "engine/fill_engine.h"

namespace korvo {

namespace {

std::size_t LettersLength(const char* letters) { return strnlen(letters, kMaxWordLength + 1); }

}  // namespace

WordBlock* FillEngine::ChainOf(int length) const {
    if (wordStore == nullptr || length < 1 || length > kMaxWordLength) return nullptr;
    return wordStore->buckets[length];
}

void FillEngine::PatternInGrid(const Slot& slot, char* out) const {
    const int n = slot.length < kMaxWordLength ? slot.length : kMaxWordLength;
    for (int k = 0; k < n; ++k) out[k] = workGrid[SquareOffset(slot, k)];
    out[n] = 0;
}

bool FillEngine::Owns(int x, int k) const {
    const int e = slots[x].crossings[k];
    return e == -1 || e > x;
}

void FillEngine::RestoreOwned(int x) {
    Slot& s = slots[x];
    for (int k = 0; k < s.length && k < kMaxCrossings; ++k) {
        if (!Owns(x, k)) continue;
        const int at = SquareOffset(s, k);
        s.letters[k] = baseGrid[at];
        workGrid[at] = baseGrid[at];
    }
}

int FillEngine::BuildScratchPattern(int z, bool* narrowed) {
    // The pattern z searches after a back-jump: letters of earlier entries,
    // plus those of the skipped entries that remember their word.
    const Slot& s = slots[z];
    int remembered = 0;
    const int n = s.length < kMaxWordLength ? s.length : kMaxWordLength;
    for (int k = 0; k < n; ++k) {
        const int e = s.crossings[k];
        const int at = SquareOffset(s, k);
        // A square no other entry crosses reads the base grid, and so does
        // one whose crossing entry neither comes before z nor is remembered:
        // the first and last branches are alike on purpose.
        if (e == -1) {  // NOLINT(bugprone-branch-clone)
            scratchPattern[k] = baseGrid[at];
        } else if (e < z) {
            scratchPattern[k] = workGrid[at];
        } else if (e < current && slots[e].memoryIndex != 0) {
            scratchPattern[k] = workGrid[at];
            ++remembered;
        } else {
            scratchPattern[k] = baseGrid[at];
        }
    }
    scratchPattern[n] = 0;
    if (narrowed != nullptr) *narrowed = remembered != 0;
    return remembered;
}

void FillEngine::Trace(int x, const char* candidate, const char* what, int target) const {
    std::string line = std::to_string(x);
    line += ' ';
    line += candidate != nullptr ? candidate : "-";
    line += ' ';
    line += what;
    if (target >= 0) {
        line += ' ';
        line += std::to_string(target);
    }
    trace->Line(line);
}

void FillEngine::AddRecentWord(int length, int index) {
    if (recentWords.next >= kRecentWordCount || recentWords.next < 0) recentWords.next = 0;
    const int at = recentWords.next;
    if (recentWords.index[at] != 0 && recentWords.store != nullptr) {
        const int oldLength = recentWords.length[at];
        if (oldLength >= 1 && oldLength <= kMaxWordLength)
            ReleaseWord(recentWords.store->buckets[oldLength], recentWords.index[at]);
    }
    recentWords.length[at] = length;
    recentWords.index[at] = index;
    recentWords.next = at + 1;
}

int FillEngine::Step() {
    if (current == activeCount) return -1;
    const std::time_t started = readClock();
    std::time_t now = started;
    while (std::difftime(now, started) <= timeSlice) {
        const int result = Move();
        if (result != 1) return result;
        now = readClock();
    }
    return 1;
}

int FillEngine::Move() {
    const int x = current;
    Slot& xs = slots[x];

    // Candidate: the next fitting word from the chain's current position.
    int length = static_cast<int>(LettersLength(xs.letters));
    WordBlock* chain = ChainOf(length);
    xs.foundIndex = 0;
    char* w = chain != nullptr ? FindNext(chain, xs.letters, &xs.foundIndex) : nullptr;
    if (xs.memoryIndex != 0) {
        // The remembered word is examined first; when it no longer fits, the
        // search starts over from the first word.
        if (w == nullptr || xs.foundIndex != xs.memoryIndex) {
            wordStore->SetCursor(length, 0);
            xs.foundIndex = 0;
            w = chain != nullptr ? FindNext(chain, xs.letters, &xs.foundIndex) : nullptr;
            xs.memoryIndex = 0;
        }
    } else if (narrowedPattern && w == nullptr) {
        // Nothing fits the narrowed pattern: fall back to the grid's pattern,
        // continuing after the word the entry held before the back-jump.
        narrowedPattern = 0;
        PatternInGrid(xs, xs.letters);
        length = static_cast<int>(LettersLength(xs.letters));
        wordStore->SetCursor(length, savedIndex);
        w = wordStore->FindWord(xs.letters, &xs.foundIndex);
    }

    if (w == nullptr) {
        // Back-jump.
        int z = xs.backJump;
        ++xs.failures;
        if (z == -1) {
            if (prefixRule) usedWords.ClearStore();
            current = 0;
            wordStore->ResetUsedMarks();
            ClearRecentWords();
            for (int r = 0; r < rows; ++r)
                std::memcpy(workGrid + r * kMaxGridSide, baseGrid + r * kMaxGridSide,
                            static_cast<std::size_t>(columns));
            if (trace != nullptr) Trace(x, nullptr, "exhausted", -1);
            return 0;
        }
        xs.word = nullptr;
        int g = -1;
        // A period below 2 disables the forced deeper jumps (and keeps the
        // modulo away from 0 on an engine whose period was never set).
        if (backJumpPeriod >= 2 && xs.failures % backJumpPeriod == 0) {
            g = DeepBackJump(x);
            if (g == z || g < 0 || g >= activeCount) {
                g = -1;
            } else {
                z = g;
                AddRecentWord(slots[g].length, slots[g].foundIndex);
            }
        }
        if (current - z > 1) {
            bool narrowed = false;
            BuildScratchPattern(z, &narrowed);
            if (narrowed) narrowedPattern = 1;
        }
        Slot& zs = slots[z];
        if (narrowedPattern) savedIndex = zs.foundIndex;
        wordStore->SetCursor(zs.length, zs.foundIndex);
        zs.memoryIndex = 0;
        while (current > z) {
            --current;
            Slot& c = slots[current];
            if (prefixRule) {
                const std::size_t n = LettersLength(c.letters);
                if (n >= 1 && n <= static_cast<std::size_t>(kMaxWordLength) && usedWords.buckets[n] != nullptr)
                    RemoveWord(usedWords.buckets[n], c.letters);
            }
            c.foundIndex = 0;
            RestoreOwned(current);
            c.placed = 0;
        }
        if (z != g && zs.word != nullptr) zs.word[zs.length] = kWordAvailable;
        if (narrowedPattern) std::memcpy(zs.letters, scratchPattern, sizeof zs.letters);
        if (trace != nullptr) Trace(x, nullptr, g >= 0 ? "deep-jump" : "back-jump", z);
        return 1;
    }

    // Place the candidate tentatively. The record is copied because its
    // status byte, which terminates it, changes once it is accepted.
    char word[kMaxWordLength + 1];
    std::memcpy(word, w, static_cast<std::size_t>(length));
    word[length] = 0;
    for (int k = 0; k < length; ++k) workGrid[SquareOffset(xs, k)] = word[k];
    xs.placed = 1;

    // Look ahead: every later crossing entry must still have a fitting word;
    // a far one with a single fixed letter must have several.
    const char* rejection = nullptr;
    int rejectedBy = -1;
    for (int j = 0; j < xs.length && j < kMaxCrossings && rejection == nullptr; ++j) {
        const int e = xs.crossings[j];
        if (e <= x) continue;
        lastLookAhead = e;
        Slot& es = slots[e];
        PatternInGrid(es, scratchPattern);
        int letters = 0;
        for (const char* p = scratchPattern; *p != 0; ++p)
            if (*p != kOpen) ++letters;
        if (es.memoryIndex != 0) {
            WordBlock* remembered = ChainOf(es.length);
            if (remembered != nullptr) ReleaseWord(remembered, es.memoryIndex);
            es.memoryIndex = 0;
        }
        const int patternLength = static_cast<int>(LettersLength(scratchPattern));
        wordStore->SetCursor(patternLength, 0);
        WordBlock* crossing = ChainOf(patternLength);
        if (crossing == nullptr || FindNext(crossing, scratchPattern, nullptr) == nullptr) {
            rejection = "reject look-ahead";
            rejectedBy = e;
        } else if (letters == 1 && lookAheadDistance != 0 && e > current + lookAheadDistance && lookAheadDepth >= 1) {
            for (int d = 0; d < lookAheadDepth; ++d)
                if (FindNext(crossing, scratchPattern, nullptr) == nullptr) {
                    rejection = "reject deep";
                    rejectedBy = e;
                    break;
                }
        }
    }

    if (rejection == nullptr && prefixRule) {
        if (usedWords.SharesPrefix(word))
            rejection = "reject prefix";
        else if (usedWords.AddUsedWord(word) == 0)
            rejection = "reject duplicate";
    }

    if (rejection != nullptr) {
        Slot& last = slots[lastLookAhead];
        if (last.memoryIndex != 0) {
            WordBlock* remembered = ChainOf(last.length);
            if (remembered != nullptr) MarkUsed(remembered, last.memoryIndex);
            last.memoryIndex = 0;
        }
        if (xs.memoryIndex != 0) {
            wordStore->SetCursor(length, 0);
            xs.memoryIndex = 0;
        } else {
            wordStore->SetCursor(length, xs.foundIndex);
        }
        xs.foundIndex = 0;
        for (int k = 0; k < xs.length && k < kMaxCrossings; ++k)
            if (Owns(x, k)) workGrid[SquareOffset(xs, k)] = baseGrid[SquareOffset(xs, k)];
        xs.placed = 0;
        if (trace != nullptr) Trace(x, word, rejection, rejectedBy);
        return 1;
    }

    // Accept.
    w[length] = kWordInUse;
    xs.word = w;
    xs.failures = 0;
    xs.deepJump = deepJumpStart;
    xs.memoryIndex = xs.foundIndex;
    std::memcpy(xs.letters, word, static_cast<std::size_t>(length) + 1);
    ++current;
    if (current == activeCount) {
        activeCount = current = slotCount;
        if (prefixRule) usedWords.ClearStore();
        wordStore->ResetCursors();
        wordStore->ResetUsedMarks();
        if (trace != nullptr) Trace(x, word, "filled", -1);
        return -1;
    }
    Slot& ns = slots[current];
    PatternInGrid(ns, ns.letters);
    if (ns.memoryIndex != 0) {
        WordBlock* remembered = ChainOf(ns.length);
        if (remembered != nullptr) ReleaseWord(remembered, ns.memoryIndex);
        wordStore->SetCursor(ns.length, ns.memoryIndex - 1);
    } else {
        wordStore->SetCursor(ns.length, 0);
    }
    narrowedPattern = 0;
    if (trace != nullptr) Trace(x, word, "accept", -1);
    return 1;
}

int FillEngine::DeepBackJump(int x) {
    Slot& xs = slots[x];
    if (backJumpPeriod < 2) return xs.backJump;
    const int fixed = xs.deepJump ? 0 : xs.backJump;
    int t = xs.backJump;
    const int rounds = xs.failures / backJumpPeriod;
    for (int round = 0; round < rounds && t != -1; ++round) {
        int found = -1;
        for (int n = t - 1; n >= 0 && found == -1; --n) {
            bool crosses = false;
            for (int k = 0; k < xs.length && k < kMaxCrossings; ++k)
                if (xs.crossings[k] == n) crosses = true;
            if (crosses || SharesLaterCrossing(x, n, x + 1, 0)) found = n;
        }
        if (found != -1) {
            if (xs.deepJump) slots[found].memoryIndex = 0;
            t = found;
        } else {
            if (!xs.deepJump) {
                xs.deepJump = 1;
            } else {
                xs.deepJump = 0;
                for (int e = 0; e < xs.backJump; ++e) slots[e].memoryIndex = slots[e].foundIndex;
            }
            t = xs.backJump;
            xs.failures = 0;
        }
    }
    return fixed != 0 ? fixed : t;
}

int FillEngine::RejectPlacedWord(const char* w) {
    if (activeCount <= 0 || w == nullptr) return 0;
    int i = -1;
    for (int j = 0; j < activeCount && i == -1; ++j)
        if (slots[j].placed && std::strncmp(slots[j].letters, w, sizeof slots[j].letters) == 0) i = j;
    if (i == -1) return 0;
    const int result = slots[i].foundIndex;

    AddRecentWord(slots[i].length, slots[i].foundIndex);
    slots[i].memoryIndex = 0;
    int a = i;
    if (slots[i].crossBack != -1) {
        bool later = false;
        for (int k = 0; k < slots[i].length && k < kMaxCrossings; ++k)
            if (slots[i].crossings[k] > i) later = true;
        if (!later) {
            // The last of its crossing entries: the nearest crossing entry
            // before it gives up its word too.
            a = slots[i].crossBack;
            AddRecentWord(slots[a].length, slots[a].foundIndex);
            slots[a].memoryIndex = 0;
        }
    }

    narrowedPattern = 0;
    int remembered = 0;
    if (current - a >= 2) {
        remembered = BuildScratchPattern(a, nullptr);
        if (remembered == slots[a].length) remembered = 0;
        if (remembered != 0) savedIndex = slots[a].foundIndex;
    }
    wordStore->SetCursor(slots[a].length, slots[a].foundIndex);
    for (int j = activeCount - 1; j >= a; --j) {
        slots[j].failures = 0;
        slots[j].deepJump = deepJumpStart;
        if (!slots[j].placed) continue;
        if (prefixRule) {
            const std::size_t n = LettersLength(slots[j].letters);
            if (n >= 1 && n <= static_cast<std::size_t>(kMaxWordLength) && usedWords.buckets[n] != nullptr)
                RemoveWord(usedWords.buckets[n], slots[j].letters);
        }
        UnplaceSlot(j);
    }
    current = a;
    if (remembered != 0) {
        narrowedPattern = 1;
        std::memcpy(slots[a].letters, scratchPattern, sizeof slots[a].letters);
    }
    return result;
}

void FillEngine::UnplaceSlot(int n) {
    Slot& s = slots[n];
    if (!s.placed) return;
    s.foundIndex = 0;
    RestoreOwned(n);
    s.placed = 0;
}

void FillEngine::Revert() {
    for (int n = current - 1; n >= 0; --n) UnplaceSlot(n);
    current = 0;
    if (wordStore != nullptr) wordStore->ResetCursors();
}

}  // namespace korvo
