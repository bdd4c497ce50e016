// The thorough search: tables of the words in a search's order, one search
// (propagation, choice, backtracking, restarts), the proof's explanation, and
// the coordinator that runs several searches side by side.
#include "engine/thorough_search.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <system_error>
#include <thread>
#include <unordered_set>

#include "words/word_scores.h"

namespace korvo {

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kLetters = 26;
constexpr std::uint32_t kAllLetters = (1u << kLetters) - 1;
constexpr int kMaxLength = kMaxWordLength;  // 21

// SplitMix64: a small, well-mixed generator for word orders and tie-breaks.
std::uint64_t Mix(std::uint64_t x) {
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

// Bits set in d[lo..hi-1], and in d[c] & b[c] over the same range. These
// counts are most of the search's work. The baseline x86-64 target has no
// POPCNT instruction, so std::popcount there is a library call per word; the
// processor's instruction is used when it has one, chosen once at start.
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
__attribute__((target("popcnt"))) long CountWithInstruction(const std::uint64_t* d, const std::uint64_t* b, int lo,
                                                            int hi) {
    long n = 0;
    if (b == nullptr) {
        for (int c = lo; c < hi; ++c) n += __builtin_popcountll(d[c]);
    } else {
        for (int c = lo; c < hi; ++c) n += __builtin_popcountll(d[c] & b[c]);
    }
    return n;
}
#endif

long CountPortably(const std::uint64_t* d, const std::uint64_t* b, int lo, int hi) {
    long n = 0;
    for (int c = lo; c < hi; ++c) {
        std::uint64_t x = b == nullptr ? d[c] : d[c] & b[c];
        x = x - ((x >> 1) & 0x5555555555555555ULL);
        x = (x & 0x3333333333333333ULL) + ((x >> 2) & 0x3333333333333333ULL);
        x = (x + (x >> 4)) & 0x0F0F0F0F0F0F0F0FULL;
        n += static_cast<long>((x * 0x0101010101010101ULL) >> 56);
    }
    return n;
}

using CountFunction = long (*)(const std::uint64_t*, const std::uint64_t*, int, int);

CountFunction ChooseCount() {
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
    __builtin_cpu_init();  // this runs during static initialisation
    if (__builtin_cpu_supports("popcnt")) return CountWithInstruction;
#endif
    return CountPortably;
}

const CountFunction CountBits = ChooseCount();

// The Luby series 1 1 2 1 1 2 4 1 1 2 1 1 2 4 8 ...; i counts from 1.
std::uint64_t Luby(std::uint64_t i) {
    for (;;) {
        std::uint64_t k = 1;
        while (((std::uint64_t{1} << k) - 1) < i) ++k;
        if (i == (std::uint64_t{1} << k) - 1) return std::uint64_t{1} << (k - 1);
        i -= (std::uint64_t{1} << (k - 1)) - 1;
    }
}

bool IsLetterWord(const char* w, int length) {
    for (int k = 0; k < length; ++k)
        if (w[k] < 'A' || w[k] > 'Z') return false;
    return true;
}

// The distinct A..Z words of each length of the store, in chain order.
struct WordSource {
    std::vector<std::string> words[kMaxLength + 1];

    explicit WordSource(const WordStore& store, const std::vector<bool>& lengthsUsed) {
        for (int length = 2; length <= kMaxLength; ++length) {
            if (!lengthsUsed[static_cast<std::size_t>(length)]) continue;
            std::unordered_set<std::string> seen;
            for (const WordBlock* b = store.buckets[length]; b != nullptr; b = b->next) {
                if (b->data == nullptr) continue;
                for (std::uint32_t i = 0; i < b->count; ++i) {
                    const char* w = b->Record(i);
                    if (!IsLetterWord(w, length)) continue;
                    std::string word(w, static_cast<std::size_t>(length));
                    if (seen.insert(word).second) words[length].push_back(std::move(word));
                }
            }
        }
    }
};

// The words of one length in one search's order (better scores first, then a
// seeded shuffle), with a bit set per position and letter.
struct WordTable {
    int length = 0;
    int count = 0;
    int chunks = 0;                   // 64-bit words of one bit set
    std::vector<char> letters;        // count * length
    std::vector<std::uint8_t> tier;   // score tier per word, 0 the best
    std::vector<std::uint64_t> bits;  // [(position * 26 + letter) * chunks + chunk]

    const std::uint64_t* Bits(int position, int letter) const {
        return bits.data() + (static_cast<std::size_t>(position) * kLetters + static_cast<std::size_t>(letter)) *
                                 static_cast<std::size_t>(chunks);
    }
    const char* Word(int i) const {
        return letters.data() + static_cast<std::size_t>(i) * static_cast<std::size_t>(length);
    }
    int Find(std::string_view word) const {
        if (static_cast<int>(word.size()) != length) return -1;
        for (int i = 0; i < count; ++i)
            if (std::memcmp(Word(i), word.data(), word.size()) == 0) return i;
        return -1;
    }
};

struct TableSet {
    WordTable tables[kMaxLength + 1];

    TableSet(const WordSource& source, const WordScores* scores, std::uint64_t seed) {
        for (int length = 2; length <= kMaxLength; ++length) {
            const std::vector<std::string>& words = source.words[length];
            WordTable& t = tables[length];
            t.length = length;
            t.count = static_cast<int>(words.size());
            t.chunks = (t.count + 63) / 64;
            if (t.count == 0) continue;
            // Scores in tiers of ten, so that the seed still mixes words of about the same merit.
            std::vector<std::pair<std::uint64_t, int>> order;
            order.reserve(words.size());
            for (int i = 0; i < t.count; ++i) {
                const int score = scores != nullptr ? scores->Score(words[static_cast<std::size_t>(i)]) : 50;
                const std::uint64_t tier = static_cast<std::uint64_t>(10 - std::min(score, 100) / 10);
                order.emplace_back((tier << 56) | (Mix(seed ^ Mix(static_cast<std::uint64_t>(i))) >> 8), i);
            }
            std::sort(order.begin(), order.end());
            t.letters.resize(static_cast<std::size_t>(t.count) * static_cast<std::size_t>(length));
            t.tier.resize(static_cast<std::size_t>(t.count));
            t.bits.assign(static_cast<std::size_t>(length) * kLetters * static_cast<std::size_t>(t.chunks), 0);
            for (int i = 0; i < t.count; ++i) {
                const std::string& w = words[static_cast<std::size_t>(order[static_cast<std::size_t>(i)].second)];
                t.tier[static_cast<std::size_t>(i)] =
                    static_cast<std::uint8_t>(order[static_cast<std::size_t>(i)].first >> 56);
                std::memcpy(t.letters.data() + static_cast<std::size_t>(i) * static_cast<std::size_t>(length), w.data(),
                            static_cast<std::size_t>(length));
                for (int k = 0; k < length; ++k) {
                    const std::size_t at = (static_cast<std::size_t>(k) * kLetters +
                                            static_cast<std::size_t>(w[static_cast<std::size_t>(k)] - 'A')) *
                                               static_cast<std::size_t>(t.chunks) +
                                           static_cast<std::size_t>(i / 64);
                    t.bits[at] |= std::uint64_t{1} << (i % 64);
                }
            }
        }
    }
};

// One entry the search fills.
struct Var {
    int slot = 0;  // index in the engine's slots
    int length = 0;
    const WordTable* table = nullptr;
    int square[kMaxLength];   // open square id per position, or -1 for a letter of the design
    int cross[kMaxLength];    // entry crossing at that position (in this problem), or -1
    int crossAt[kMaxLength];  // the position of this square in the crossing entry
    char fixed[kMaxLength];   // the design's letter, or 0
};

// The entries and squares of one problem: all active entries of the engine,
// or a subset of them when the proof is being explained.
struct Problem {
    std::vector<Var> vars;
    int squareCount = 0;
    // Words of the complete entries that take part in the rules: taken out of
    // every other entry, and so are their prefixes (with the prefix rule).
    std::vector<std::string> constants;
    bool prefixRule = true;
};

Problem BuildProblem(const FillEngine& engine, const TableSet& tables, const std::vector<bool>& include,
                     const std::vector<std::string>& constants) {
    Problem p;
    p.prefixRule = engine.prefixRule != 0;
    p.constants = constants;
    std::vector<int> varOf(static_cast<std::size_t>(engine.activeCount), -1);
    for (int i = 0; i < engine.activeCount; ++i) {
        if (!include[static_cast<std::size_t>(i)]) continue;
        varOf[static_cast<std::size_t>(i)] = static_cast<int>(p.vars.size());
        Var v;
        v.slot = i;
        v.length = engine.slots[i].length;
        v.table = &tables.tables[std::min(v.length, kMaxLength)];
        p.vars.push_back(v);
    }
    std::vector<int> squareId(kMaxGridSide * kMaxGridSide, -1);
    for (Var& v : p.vars) {
        const Slot& s = engine.slots[v.slot];
        for (int k = 0; k < v.length && k < kMaxLength; ++k) {
            const int offset = engine.SquareOffset(s, k);
            const char c = engine.baseGrid[offset];
            v.cross[k] = -1;
            if (c == kOpen || c == kHopeless) {
                if (squareId[static_cast<std::size_t>(offset)] < 0)
                    squareId[static_cast<std::size_t>(offset)] = p.squareCount++;
                v.square[k] = squareId[static_cast<std::size_t>(offset)];
                v.fixed[k] = 0;
                const int other = s.crossings[k];
                if (other >= 0 && other < engine.activeCount) v.cross[k] = varOf[static_cast<std::size_t>(other)];
            } else {
                v.square[k] = -1;
                v.fixed[k] = c;
            }
        }
    }
    for (Var& v : p.vars)
        for (int k = 0; k < v.length && k < kMaxLength; ++k) {
            v.crossAt[k] = -1;
            if (v.cross[k] < 0) continue;
            const Var& o = p.vars[static_cast<std::size_t>(v.cross[k])];
            for (int j = 0; j < o.length && j < kMaxLength; ++j)
                if (o.square[j] == v.square[k]) v.crossAt[k] = j;
            if (v.crossAt[k] < 0) v.cross[k] = -1;
        }
    return p;
}

enum class SearchResult { kRunning, kFilled, kNoFill };

// One search over one problem.
class Search {
public:
    Search(const Problem& problem, std::uint64_t seed, const std::vector<std::string>& banned, int restartBase,
           int valueChoice)
        : p_(problem), restartBase_(restartBase), valueChoice_(valueChoice) {
        const std::size_t n = p_.vars.size();
        offset_.resize(n + 1);
        std::size_t total = 0;
        for (std::size_t v = 0; v < n; ++v) {
            offset_[v] = total;
            total += static_cast<std::size_t>(p_.vars[v].table->chunks);
        }
        offset_[n] = total;
        dom_.assign(total, 0);
        count_.assign(n, 0);
        lo_.assign(n, 0);
        hi_.assign(n, 0);
        seen_.assign(n * kMaxLength, kAllLetters);
        fixed_.assign(n, 0);
        savedAt_.assign(n, -1);
        weight_.assign(n, 1.0);
        queued_.assign(n, 0);
        dirty_.assign(n, 0);
        mask_.assign(static_cast<std::size_t>(p_.squareCount), kAllLetters);
        rank_.resize(n);
        for (std::size_t v = 0; v < n; ++v) rank_[v] = Mix(seed + v);
        Init(banned);
    }

    SearchResult Run(long work) {
        if (rootFailed_) return SearchResult::kNoFill;
        const long until = work_ + work;
        while (work_ < until) {
            if (!consistent_) {
                ++failures_;
                if (levels_.empty()) {
                    rootFailed_ = true;
                    return SearchResult::kNoFill;
                }
                const Level last = levels_.back();
                Undo(levels_.size() - 1);
                // The subtree of last.var = last.word is refuted: take the word out here.
                consistent_ = RemoveWord(last.var, last.word) && Propagate();
                if (consistent_ &&
                    failures_ - failuresAtRestart_ >= restartBase_ * static_cast<long>(Luby(restarts_ + 1))) {
                    ++restarts_;
                    failuresAtRestart_ = failures_;
                    Undo(0);
                }
                continue;
            }
            const int v = Choose();
            if (v < 0) return SearchResult::kFilled;
            const int w = Pick(v);
            levels_.push_back({v, w, domTrail_.size(), maskTrail_.size(), fixTrail_.size()});
            ++decisions_;
            consistent_ = Assign(v, w) && Propagate();
            best_ = std::max(best_, FixedCount());
        }
        return SearchResult::kRunning;
    }

    // The rest of the run without this word; the search starts again from its root.
    void Ban(std::string_view word) {
        if (rootFailed_) return;
        Undo(0);
        if (!consistent_) {
            rootFailed_ = true;
            return;
        }
        for (std::size_t v = 0; v < p_.vars.size() && consistent_; ++v) {
            const int i = p_.vars[v].table->Find(word);
            if (i >= 0 && Has(static_cast<int>(v), i)) consistent_ = RemoveWord(static_cast<int>(v), i);
        }
        if (consistent_) consistent_ = Propagate();
        if (!consistent_) rootFailed_ = true;
    }

    // The word of an entry whose candidates are down to one, or null.
    const char* WordOf(int v) const {
        if (count_[static_cast<std::size_t>(v)] != 1) return nullptr;
        return p_.vars[static_cast<std::size_t>(v)].table->Word(First(v));
    }
    int FixedCount() const {
        int n = 0;
        for (std::size_t v = 0; v < count_.size(); ++v) n += count_[v] == 1;
        return n;
    }
    int Best() const { return best_; }
    bool RootFailed() const { return rootFailed_; }
    std::uint64_t Decisions() const { return decisions_; }
    double Weight(int v) const { return weight_[static_cast<std::size_t>(v)]; }

private:
    struct Level {
        int var, word;
        std::size_t dom, mask, fix;  // trail sizes before the decision
    };
    struct DomSave {
        int var, count, lo, hi, savedAt;
        std::size_t at;  // start of the saved chunks lo..hi-1 and the positions' letter sets in the arenas
    };

    std::uint64_t* Dom(int v) { return dom_.data() + offset_[static_cast<std::size_t>(v)]; }
    const std::uint64_t* Dom(int v) const { return dom_.data() + offset_[static_cast<std::size_t>(v)]; }
    std::uint32_t* Seen(int v) { return seen_.data() + static_cast<std::size_t>(v) * kMaxLength; }
    bool Has(int v, int i) const { return (Dom(v)[i / 64] >> (i % 64)) & 1u; }
    int Level0() const { return static_cast<int>(levels_.size()); }

    void Init(const std::vector<std::string>& banned) {
        const int n = static_cast<int>(p_.vars.size());
        for (int v = 0; v < n; ++v) {
            const Var& var = p_.vars[static_cast<std::size_t>(v)];
            const WordTable& t = *var.table;
            std::uint64_t* d = Dom(v);
            if (var.length > kMaxLength || t.count == 0) {
                consistent_ = false;
                continue;
            }
            for (int c = 0; c < t.chunks; ++c) d[c] = ~std::uint64_t{0};
            if (t.count % 64 != 0) d[t.chunks - 1] = (std::uint64_t{1} << (t.count % 64)) - 1;
            for (int k = 0; k < var.length; ++k) {
                if (var.fixed[k] == 0) continue;
                const int letter = var.fixed[k] - 'A';
                if (letter < 0 || letter >= kLetters) {
                    std::fill(d, d + t.chunks, 0);
                    break;
                }
                const std::uint64_t* b = t.Bits(k, letter);
                for (int c = 0; c < t.chunks; ++c) d[c] &= b[c];
            }
            lo_[static_cast<std::size_t>(v)] = 0;
            hi_[static_cast<std::size_t>(v)] = t.chunks;
            Recount(v);
        }
        // The complete entries' words and the banned words leave every entry.
        for (const std::string& word : p_.constants) {
            for (int v = 0; v < n && consistent_; ++v) ExcludeWord(v, word, p_.prefixRule);
        }
        for (const std::string& word : banned)
            for (int v = 0; v < n; ++v) {
                const int i = p_.vars[static_cast<std::size_t>(v)].table->Find(word);
                if (i >= 0 && Has(v, i)) {
                    Dom(v)[i / 64] &= ~(std::uint64_t{1} << (i % 64));
                    --count_[static_cast<std::size_t>(v)];
                }
            }
        for (int v = 0; v < n; ++v) {
            if (count_[static_cast<std::size_t>(v)] == 0) consistent_ = false;
            Enqueue(v);
        }
        if (consistent_) consistent_ = Propagate();
        if (!consistent_) {
            for (int v = 0; v < n; ++v) queued_[static_cast<std::size_t>(v)] = dirty_[static_cast<std::size_t>(v)] = 0;
            queue_.clear();
            rootFailed_ = true;
        }
    }

    // Saves an entry's candidates before their first change at this level.
    void Touch(int v) {
        const int level = Level0();
        if (level == 0 || savedAt_[static_cast<std::size_t>(v)] == level) return;
        const int lo = lo_[static_cast<std::size_t>(v)], hi = hi_[static_cast<std::size_t>(v)];
        domTrail_.push_back(
            {v, count_[static_cast<std::size_t>(v)], lo, hi, savedAt_[static_cast<std::size_t>(v)], arena_.size()});
        arena_.insert(arena_.end(), Dom(v) + lo, Dom(v) + hi);
        const std::uint32_t* s = Seen(v);
        seenArena_.insert(seenArena_.end(), s, s + kMaxLength);
        savedAt_[static_cast<std::size_t>(v)] = level;
    }

    void SetMask(int square, std::uint32_t m) {
        if (Level0() > 0) maskTrail_.emplace_back(square, mask_[static_cast<std::size_t>(square)]);
        mask_[static_cast<std::size_t>(square)] = m;
    }

    // Back to the state before level `keep` was entered (keep = 0: the root).
    void Undo(std::size_t keep) {
        if (keep >= levels_.size()) return;
        const Level& target = levels_[keep];
        while (domTrail_.size() > target.dom) {
            const DomSave& s = domTrail_.back();
            // Candidates only shrink below a save, so the saved chunks cover every
            // non-empty chunk of the current set.
            std::uint64_t* d = Dom(s.var);
            std::copy(arena_.begin() + static_cast<std::ptrdiff_t>(s.at),
                      arena_.begin() + static_cast<std::ptrdiff_t>(s.at) + (s.hi - s.lo), d + s.lo);
            const std::size_t seenAt = (domTrail_.size() - 1) * kMaxLength;
            std::copy(seenArena_.begin() + static_cast<std::ptrdiff_t>(seenAt),
                      seenArena_.begin() + static_cast<std::ptrdiff_t>(seenAt + kMaxLength), Seen(s.var));
            seenArena_.resize(seenAt);
            count_[static_cast<std::size_t>(s.var)] = s.count;
            lo_[static_cast<std::size_t>(s.var)] = s.lo;
            hi_[static_cast<std::size_t>(s.var)] = s.hi;
            savedAt_[static_cast<std::size_t>(s.var)] = s.savedAt;
            arena_.resize(s.at);
            domTrail_.pop_back();
        }
        while (maskTrail_.size() > target.mask) {
            mask_[static_cast<std::size_t>(maskTrail_.back().first)] = maskTrail_.back().second;
            maskTrail_.pop_back();
        }
        while (fixTrail_.size() > target.fix) {
            fixed_[static_cast<std::size_t>(fixTrail_.back())] = 0;
            fixTrail_.pop_back();
        }
        levels_.resize(keep);
        consistent_ = true;
    }

    // Recounts an entry's candidates and narrows its range of non-empty chunks.
    void Recount(int v) {
        const std::uint64_t* d = Dom(v);
        int lo = lo_[static_cast<std::size_t>(v)], hi = hi_[static_cast<std::size_t>(v)];
        while (lo < hi && d[lo] == 0) ++lo;
        while (hi > lo && d[hi - 1] == 0) --hi;
        lo_[static_cast<std::size_t>(v)] = lo;
        hi_[static_cast<std::size_t>(v)] = hi;
        count_[static_cast<std::size_t>(v)] = static_cast<int>(CountBits(d, nullptr, lo, hi));
    }

    int First(int v) const {
        const std::uint64_t* d = Dom(v);
        for (int c = lo_[static_cast<std::size_t>(v)]; c < hi_[static_cast<std::size_t>(v)]; ++c)
            if (d[c] != 0) return c * 64 + std::countr_zero(d[c]);
        return -1;
    }

    void Enqueue(int v) {
        dirty_[static_cast<std::size_t>(v)] = 1;
        if (!queued_[static_cast<std::size_t>(v)]) {
            queued_[static_cast<std::size_t>(v)] = 1;
            queue_.push_back(v);
        }
    }

    bool RemoveWord(int v, int i) {
        if (!Has(v, i)) return count_[static_cast<std::size_t>(v)] > 0;
        Touch(v);
        Dom(v)[i / 64] &= ~(std::uint64_t{1} << (i % 64));
        --count_[static_cast<std::size_t>(v)];
        Recount(v);
        Enqueue(v);
        return count_[static_cast<std::size_t>(v)] > 0;
    }

    bool Assign(int v, int i) {
        Touch(v);
        std::uint64_t* d = Dom(v);
        std::fill(d + lo_[static_cast<std::size_t>(v)], d + hi_[static_cast<std::size_t>(v)], 0);
        d[i / 64] = std::uint64_t{1} << (i % 64);
        lo_[static_cast<std::size_t>(v)] = i / 64;
        hi_[static_cast<std::size_t>(v)] = i / 64 + 1;
        count_[static_cast<std::size_t>(v)] = 1;
        Enqueue(v);
        return true;
    }

    // Takes a placed word out of entry v: the word itself, and with the prefix
    // rule every word sharing its first three letters when both have three or
    // more. False when v has no candidate left.
    bool ExcludeWord(int v, std::string_view word, bool prefix) {
        const Var& var = p_.vars[static_cast<std::size_t>(v)];
        const WordTable& t = *var.table;
        std::uint64_t* d = Dom(v);
        const int lo = lo_[static_cast<std::size_t>(v)], hi = hi_[static_cast<std::size_t>(v)];
        bool changed = false;
        if (prefix && word.size() >= 3 && var.length >= 3) {
            const std::uint64_t* a = t.Bits(0, word[0] - 'A');
            const std::uint64_t* b = t.Bits(1, word[1] - 'A');
            const std::uint64_t* c = t.Bits(2, word[2] - 'A');
            for (int k = lo; k < hi; ++k) {
                const std::uint64_t hit = d[k] & a[k] & b[k] & c[k];
                if (hit != 0) {
                    if (!changed) Touch(v);
                    changed = true;
                    d[k] &= ~hit;
                }
            }
        } else if (static_cast<int>(word.size()) == var.length) {
            for (int k = lo; k < hi; ++k) {
                std::uint64_t hit = d[k];
                for (int j = 0; j < var.length && hit != 0; ++j)
                    hit &= t.Bits(j, word[static_cast<std::size_t>(j)] - 'A')[k];
                if (hit != 0) {
                    if (!changed) Touch(v);
                    changed = true;
                    d[k] &= ~hit;
                }
            }
        }
        if (changed) {
            Recount(v);
            Enqueue(v);
        }
        return count_[static_cast<std::size_t>(v)] > 0;
    }

    // Makes an entry's candidates agree with its squares' letter sets, then
    // narrows the crossing squares to the letters its candidates have there.
    bool Revise(int v) {
        ++work_;
        const Var& var = p_.vars[static_cast<std::size_t>(v)];
        const WordTable& t = *var.table;
        std::uint32_t* seen = Seen(v);
        std::uint64_t* d = Dom(v);
        bool changed = false;
        for (int k = 0; k < var.length; ++k) {
            const int sq = var.square[k];
            if (sq < 0) continue;
            const std::uint32_t m = mask_[static_cast<std::size_t>(sq)];
            if (m == seen[k]) continue;
            Touch(v);
            std::uint32_t gone = seen[k] & ~m;
            seen[k] = m;
            const int lo = lo_[static_cast<std::size_t>(v)], hi = hi_[static_cast<std::size_t>(v)];
            while (gone != 0) {
                const int letter = std::countr_zero(gone);
                gone &= gone - 1;
                const std::uint64_t* b = t.Bits(k, letter);
                for (int c = lo; c < hi; ++c) d[c] &= ~b[c];
            }
            changed = true;
        }
        if (changed) Recount(v);
        const int n = count_[static_cast<std::size_t>(v)];
        if (n == 0) return false;
        if (changed || dirty_[static_cast<std::size_t>(v)]) {
            dirty_[static_cast<std::size_t>(v)] = 0;
            std::uint32_t support[kMaxLength] = {};
            const int lo = lo_[static_cast<std::size_t>(v)], hi = hi_[static_cast<std::size_t>(v)];
            if (n <= 2 * (hi - lo) + 8) {
                for (int c = lo; c < hi; ++c)
                    for (std::uint64_t bits = d[c]; bits != 0; bits &= bits - 1) {
                        const char* w = t.Word(c * 64 + std::countr_zero(bits));
                        for (int k = 0; k < var.length; ++k) support[k] |= 1u << (w[k] - 'A');
                    }
            } else {
                for (int k = 0; k < var.length; ++k) {
                    if (var.cross[k] < 0) continue;
                    for (std::uint32_t m = mask_[static_cast<std::size_t>(var.square[k])]; m != 0; m &= m - 1) {
                        const int letter = std::countr_zero(m);
                        const std::uint64_t* b = t.Bits(k, letter);
                        for (int c = lo; c < hi; ++c)
                            if ((d[c] & b[c]) != 0) {
                                support[k] |= 1u << letter;
                                break;
                            }
                    }
                }
            }
            for (int k = 0; k < var.length; ++k) {
                const int other = var.cross[k];
                if (other < 0) continue;
                const int sq = var.square[k];
                const std::uint32_t m = mask_[static_cast<std::size_t>(sq)];
                const std::uint32_t narrowed = m & support[k];
                if (narrowed == m) continue;
                if (narrowed == 0) return false;
                SetMask(sq, narrowed);
                if (seen[k] != narrowed) {
                    Touch(v);
                    seen[k] = narrowed;  // the candidates already agree with the narrowed set
                }
                Enqueue(other);
            }
        }
        if (n == 1 && !fixed_[static_cast<std::size_t>(v)]) {
            fixed_[static_cast<std::size_t>(v)] = 1;
            if (Level0() > 0) fixTrail_.push_back(v);
            const std::string_view word(t.Word(First(v)), static_cast<std::size_t>(var.length));
            for (int u = 0; u < static_cast<int>(p_.vars.size()); ++u)
                if (u != v && !ExcludeWord(u, word, p_.prefixRule)) {
                    weight_[static_cast<std::size_t>(u)] += 1.0;
                    return false;
                }
        }
        return true;
    }

    bool Propagate() {
        std::size_t head = 0;
        bool ok = true;
        while (head < queue_.size()) {
            const int v = queue_[head++];
            queued_[static_cast<std::size_t>(v)] = 0;
            if (!Revise(v)) {
                weight_[static_cast<std::size_t>(v)] += 1.0;
                ok = false;
                break;
            }
            // Keep the queue short: drop what was processed once it grows.
            if (head > 4096) {
                queue_.erase(queue_.begin(), queue_.begin() + static_cast<std::ptrdiff_t>(head));
                head = 0;
            }
        }
        for (std::size_t i = head; i < queue_.size(); ++i) queued_[static_cast<std::size_t>(queue_[i])] = 0;
        if (!ok)
            for (std::size_t v = 0; v < dirty_.size(); ++v) dirty_[v] = 0;
        queue_.clear();
        return ok;
    }

    // The word to try next in entry v: of its first few candidates in the best
    // score tier, the one that leaves the crossing entries the most words (the
    // product of their candidates that agree with its letters); ties go to
    // the earlier word. Later candidates are tried after this one is refuted.
    int Pick(int v) {
        const int first = First(v);
        const std::size_t sv = static_cast<std::size_t>(v);
        if (valueChoice_ <= 1 || count_[sv] <= 1) return first;
        const Var& var = p_.vars[sv];
        const WordTable& t = *var.table;
        int picks[16];
        int n = 0;
        const int most = std::min(valueChoice_, 16);
        const std::uint64_t* d = Dom(v);
        const std::uint8_t tier = t.tier[static_cast<std::size_t>(first)];
        bool tierOver = false;
        for (int c = lo_[sv]; c < hi_[sv] && n < most && !tierOver; ++c)
            for (std::uint64_t bits = d[c]; bits != 0 && n < most; bits &= bits - 1) {
                const int i = c * 64 + std::countr_zero(bits);
                tierOver = t.tier[static_cast<std::size_t>(i)] != tier;
                if (tierOver) break;
                picks[n++] = i;
            }
        if (n <= 1) return first;
        // Candidates of each crossing entry per letter at the shared square, as
        // they are needed.
        double logCount[kMaxLength][kLetters];
        std::uint32_t known[kMaxLength] = {};
        int best = first;
        double bestScore = 0;
        for (int j = 0; j < n; ++j) {
            const char* w = t.Word(picks[j]);
            double score = 0;
            for (int k = 0; k < var.length; ++k) {
                const int other = var.cross[k];
                if (other < 0) continue;
                const int letter = w[k] - 'A';
                if ((known[k] >> letter & 1u) == 0) {
                    known[k] |= 1u << letter;
                    const WordTable& ot = *p_.vars[static_cast<std::size_t>(other)].table;
                    const std::uint64_t* od = Dom(other);
                    const std::uint64_t* b = ot.Bits(var.crossAt[k], letter);
                    const long count =
                        CountBits(od, b, lo_[static_cast<std::size_t>(other)], hi_[static_cast<std::size_t>(other)]);
                    logCount[k][letter] = count > 0 ? std::log(static_cast<double>(count)) : -1e9;
                }
                score += logCount[k][letter];
            }
            if (j == 0 || score > bestScore) {
                best = picks[j];
                bestScore = score;
            }
        }
        return best;
    }

    // The open entry with the fewest candidates per unit of past trouble.
    int Choose() const {
        int best = -1;
        double bestKey = 0;
        for (int v = 0; v < static_cast<int>(p_.vars.size()); ++v) {
            if (count_[static_cast<std::size_t>(v)] <= 1) continue;
            const double key = count_[static_cast<std::size_t>(v)] / weight_[static_cast<std::size_t>(v)];
            if (best < 0 || key < bestKey ||
                (key == bestKey && rank_[static_cast<std::size_t>(v)] < rank_[static_cast<std::size_t>(best)])) {
                best = v;
                bestKey = key;
            }
        }
        return best;
    }

    const Problem& p_;
    long restartBase_;
    int valueChoice_;
    std::vector<std::size_t> offset_;   // first chunk of each entry's candidate set in dom_
    std::vector<std::uint64_t> dom_;    // candidate sets (bit i: word i of the entry's table)
    std::vector<int> count_, lo_, hi_;  // candidates, and the range of non-empty chunks
    std::vector<std::uint32_t>
        seen_;  // per entry and position: the letter set the candidates were last made to agree with
    std::vector<std::uint32_t> mask_;  // per open square: the letters still possible
    std::vector<char> fixed_;          // the entry's one word has been taken out of the others
    std::vector<int> savedAt_;         // level at which the entry's candidates were last saved
    std::vector<double> weight_;       // failures the entry took part in (from 1)
    std::vector<std::uint64_t> rank_;  // seeded tie-break of the entry choice
    std::vector<int> queue_;
    std::vector<char> queued_, dirty_;  // in the queue; candidates changed since the last support count
    std::vector<Level> levels_;
    std::vector<DomSave> domTrail_;
    std::vector<std::uint64_t> arena_;
    std::vector<std::uint32_t> seenArena_;
    std::vector<std::pair<int, std::uint32_t>> maskTrail_;
    std::vector<int> fixTrail_;
    bool consistent_ = true;
    bool rootFailed_ = false;
    long work_ = 0;
    long failures_ = 0, failuresAtRestart_ = 0;
    std::uint64_t restarts_ = 0, decisions_ = 0;
    int best_ = 0;
};

}  // namespace

struct ThoroughSearch::Impl {
    FillEngine& engine;
    ThoroughOptions options;
    std::vector<std::string> constants;  // complete entries' list words
    std::vector<std::string> banned;
    std::unique_ptr<WordSource> source;
    std::vector<std::unique_ptr<TableSet>> tables;   // one per search
    std::vector<std::unique_ptr<Problem>> problems;  // one per search
    std::vector<std::unique_ptr<Search>> searches;
    std::vector<SearchResult> results;
    std::vector<int> core;
    int winner = -1;
    int bestEver = 0;
    int constantEntries = 0;

    // The side-by-side threads: each runs its search for one round at the coordinator's call.
    std::vector<std::thread> threads;
    std::mutex lock;
    std::condition_variable wake, done;
    std::uint64_t round = 0;
    int pending = 0;
    bool quit = false;

    Impl(FillEngine& e, const ThoroughOptions& o) : engine(e), options(o) {}

    void Worker(int index) {
        std::uint64_t seenRound = 0;
        for (;;) {
            {
                std::unique_lock<std::mutex> guard(lock);
                wake.wait(guard, [&] { return quit || round != seenRound; });
                if (quit) return;
                seenRound = round;
            }
            results[static_cast<std::size_t>(index)] =
                searches[static_cast<std::size_t>(index)]->Run(options.roundWork);
            {
                std::lock_guard<std::mutex> guard(lock);
                if (--pending == 0) done.notify_one();
            }
        }
    }

    void RunRound() {
        if (threads.empty()) {
            for (std::size_t i = 0; i < searches.size(); ++i) results[i] = searches[i]->Run(options.roundWork);
            return;
        }
        std::unique_lock<std::mutex> guard(lock);
        pending = static_cast<int>(threads.size());
        ++round;
        wake.notify_all();
        done.wait(guard, [&] { return pending == 0; });
    }

    void StopThreads() {
        {
            std::lock_guard<std::mutex> guard(lock);
            quit = true;
        }
        wake.notify_all();
        for (std::thread& t : threads) t.join();
        threads.clear();
    }

    void Explain();
};

ThoroughSearch::ThoroughSearch(FillEngine& engine, const ThoroughOptions& options)
    : impl_(std::make_unique<Impl>(engine, options)) {
    Impl& m = *impl_;
    int n = options.threads > 0 ? options.threads : static_cast<int>(std::thread::hardware_concurrency());
    n = std::clamp(n, 1, 64);

    std::vector<bool> lengths(kMaxLength + 1, false);
    for (int i = 0; i < engine.activeCount; ++i)
        lengths[static_cast<std::size_t>(std::clamp(engine.slots[i].length, 0, kMaxLength))] = true;
    // The complete entries' words that are list words take part in the rules.
    for (int i = engine.activeCount; i < engine.slotCount; ++i) {
        const Slot& s = engine.slots[i];
        if (s.length <= kMaxLength) lengths[static_cast<std::size_t>(s.length)] = true;
    }
    m.source = std::make_unique<WordSource>(*engine.wordStore, lengths);
    for (int i = engine.activeCount; i < engine.slotCount; ++i) {
        const Slot& s = engine.slots[i];
        ++m.constantEntries;
        if (s.length > kMaxLength) continue;
        const std::string word(s.letters, static_cast<std::size_t>(s.length));
        const auto& words = m.source->words[s.length];
        if (std::find(words.begin(), words.end(), word) != words.end()) m.constants.push_back(word);
    }
    std::vector<bool> all(static_cast<std::size_t>(engine.activeCount), true);
    for (int i = 0; i < n; ++i) {
        const std::uint64_t seed = Mix((static_cast<std::uint64_t>(options.seed) << 8) + static_cast<std::uint64_t>(i));
        m.tables.push_back(std::make_unique<TableSet>(*m.source, options.scores, seed));
        m.problems.push_back(std::make_unique<Problem>(BuildProblem(engine, *m.tables.back(), all, m.constants)));
        m.searches.push_back(
            std::make_unique<Search>(*m.problems.back(), seed, m.banned, options.restartBase, options.valueChoice));
    }
    m.results.assign(static_cast<std::size_t>(n), SearchResult::kRunning);
    if (n > 1) {
        try {
            for (int i = 0; i < n; ++i) m.threads.emplace_back(&Impl::Worker, &m, i);
        } catch (const std::system_error&) {
            m.StopThreads();  // run the searches one after another on the caller's thread
            m.quit = false;
        }
    }
}

ThoroughSearch::~ThoroughSearch() { impl_->StopThreads(); }

ThoroughOutcome ThoroughSearch::Step() {
    Impl& m = *impl_;
    if (m.winner >= 0) return ThoroughOutcome::kFilled;
    const auto until = Clock::now() + std::chrono::duration<double>(m.options.sliceSeconds);
    do {
        m.RunRound();
        for (const auto& s : m.searches) m.bestEver = std::max(m.bestEver, s->Best());
        // The lowest-numbered search that filled wins, so a seed and a thread
        // count always give the same fill.
        for (std::size_t i = 0; i < m.results.size(); ++i)
            if (m.results[i] == SearchResult::kFilled) {
                m.winner = static_cast<int>(i);
                m.StopThreads();
                return ThoroughOutcome::kFilled;
            }
        for (std::size_t i = 0; i < m.results.size(); ++i)
            if (m.results[i] == SearchResult::kNoFill) {
                m.StopThreads();
                m.Explain();
                return ThoroughOutcome::kNoFill;
            }
    } while (Clock::now() < until);
    return ThoroughOutcome::kSliceOver;
}

void ThoroughSearch::BanWord(std::string_view word) {
    Impl& m = *impl_;
    if (word.empty() || m.winner >= 0) return;
    m.banned.emplace_back(word);
    for (auto& s : m.searches) s->Ban(word);
}

void ThoroughSearch::Impl::Explain() {
    core.clear();
    const int active = engine.activeCount;
    const Search& proof = *searches.front();
    const auto deadline = Clock::now() + std::chrono::duration<double>(options.explainSeconds);
    const TableSet& t = *tables.front();

    // Is the problem of these entries (with the complete entries' words) unfillable?
    auto unfillable = [&](const std::vector<bool>& include, double seconds) {
        const Problem sub = BuildProblem(engine, t, include, constants);
        // These searches are meant to fail: no word order shortens a refutation,
        // so the candidates are taken in table order, without comparing them.
        Search s(sub, options.seed, banned, options.restartBase, 1);
        const auto until = std::min(deadline, Clock::now() + std::chrono::duration<double>(seconds));
        for (;;) {
            const SearchResult r = s.Run(options.roundWork);
            if (r != SearchResult::kRunning) return r == SearchResult::kNoFill;
            if (Clock::now() >= until) return false;
        }
    };

    // First the smallest part of the grid that is unfillable on its own: the
    // entries connected through open squares.
    std::vector<int> component(static_cast<std::size_t>(active), -1);
    int components = 0;
    const Problem& whole = *problems.front();
    for (int start = 0; start < active; ++start) {
        if (component[static_cast<std::size_t>(start)] >= 0) continue;
        std::vector<int> stack{start};
        component[static_cast<std::size_t>(start)] = components;
        while (!stack.empty()) {
            const int v = stack.back();
            stack.pop_back();
            const Var& var = whole.vars[static_cast<std::size_t>(v)];
            for (int k = 0; k < var.length && k < kMaxLength; ++k) {
                const int u = var.cross[k];
                if (u >= 0 && component[static_cast<std::size_t>(u)] < 0) {
                    component[static_cast<std::size_t>(u)] = components;
                    stack.push_back(u);
                }
            }
        }
        ++components;
    }
    std::vector<bool> in(static_cast<std::size_t>(active), true);
    if (components > 1) {
        std::vector<std::pair<int, int>> sizes;  // (entries, component)
        sizes.reserve(static_cast<std::size_t>(components));
        for (int c = 0; c < components; ++c)
            sizes.emplace_back(static_cast<int>(std::count(component.begin(), component.end(), c)), c);
        std::sort(sizes.begin(), sizes.end());
        for (const auto& [size, c] : sizes) {
            std::vector<bool> only(static_cast<std::size_t>(active));
            for (int v = 0; v < active; ++v)
                only[static_cast<std::size_t>(v)] = component[static_cast<std::size_t>(v)] == c;
            if (unfillable(only, 0.5)) {
                in = only;
                break;
            }
        }
    }

    // Then leave out one entry at a time, least involved in failures first,
    // while what is left stays unfillable.
    std::vector<int> order;
    for (int v = 0; v < active; ++v)
        if (in[static_cast<std::size_t>(v)]) order.push_back(v);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return proof.Weight(a) < proof.Weight(b); });
    for (int v : order) {
        if (Clock::now() >= deadline) break;
        in[static_cast<std::size_t>(v)] = false;
        if (!unfillable(in, 0.25)) in[static_cast<std::size_t>(v)] = true;
    }
    for (int v = 0; v < active; ++v)
        if (in[static_cast<std::size_t>(v)]) core.push_back(v);
}

void ThoroughSearch::ShowInGrid() {
    Impl& m = *impl_;
    std::memcpy(m.engine.workGrid, m.engine.baseGrid, sizeof m.engine.workGrid);
    const int shown = m.winner >= 0 ? m.winner : [&] {
        int best = 0;
        for (std::size_t i = 1; i < m.searches.size(); ++i)
            if (m.searches[i]->FixedCount() > m.searches[static_cast<std::size_t>(best)]->FixedCount())
                best = static_cast<int>(i);
        return best;
    }();
    const Search& s = *m.searches[static_cast<std::size_t>(shown)];
    const Problem& p = *m.problems[static_cast<std::size_t>(shown)];
    for (std::size_t v = 0; v < p.vars.size(); ++v) {
        const char* w = s.WordOf(static_cast<int>(v));
        if (w == nullptr) continue;
        const Slot& slot = m.engine.slots[p.vars[v].slot];
        for (int k = 0; k < slot.length; ++k) m.engine.workGrid[m.engine.SquareOffset(slot, k)] = w[k];
    }
}

void ThoroughSearch::TakeFill() {
    Impl& m = *impl_;
    if (m.winner < 0) return;
    ShowInGrid();
    FillEngine& e = m.engine;
    for (int i = 0; i < e.slotCount; ++i) {
        Slot& slot = e.slots[i];
        for (int k = 0; k < slot.length && k < kMaxLength; ++k) slot.letters[k] = e.workGrid[e.SquareOffset(slot, k)];
        slot.placed = i < e.activeCount ? 1 : slot.placed;
    }
    e.activeCount = e.current = e.slotCount;
    if (e.prefixRule) e.usedWords.ClearStore();
    e.wordStore->ResetCursors();
    e.wordStore->ResetUsedMarks();
}

void ThoroughSearch::RestoreDesign() {
    FillEngine& e = impl_->engine;
    std::memcpy(e.workGrid, e.baseGrid, sizeof e.workGrid);
    e.current = 0;
    if (e.prefixRule) e.usedWords.ClearStore();
    e.wordStore->ResetCursors();
    e.wordStore->ResetUsedMarks();
}

void ThoroughSearch::MarkCore() {
    Impl& m = *impl_;
    FillEngine& e = m.engine;
    RestoreDesign();
    for (int i : m.core) {
        const Slot& slot = e.slots[i];
        for (int k = 0; k < slot.length; ++k) {
            char& c = e.workGrid[e.SquareOffset(slot, k)];
            if (c == kOpen) c = kHopeless;
        }
    }
}

const std::vector<int>& ThoroughSearch::Core() const { return impl_->core; }
int ThoroughSearch::Total() const { return impl_->engine.slotCount; }
int ThoroughSearch::FilledNow() const {
    int best = 0;
    for (const auto& s : impl_->searches) best = std::max(best, s->FixedCount());
    return impl_->constantEntries + (impl_->winner >= 0 ? impl_->engine.activeCount : best);
}
int ThoroughSearch::FilledBest() const {
    return impl_->constantEntries + (impl_->winner >= 0 ? impl_->engine.activeCount : impl_->bestEver);
}
int ThoroughSearch::Threads() const { return static_cast<int>(impl_->searches.size()); }
std::uint64_t ThoroughSearch::Decisions() const {
    std::uint64_t n = 0;
    for (const auto& s : impl_->searches) n += s->Decisions();
    return n;
}

std::string DescribeNoFill(const FillEngine& engine, const std::vector<int>& core, std::string_view listName) {
    std::string text = "No fill exists for this grid with the " + std::string(listName) + " list";
    std::vector<std::pair<int, int>> named;  // (direction, number)
    for (int i : core)
        if (i >= 0 && i < engine.slotCount) named.emplace_back(engine.slots[i].direction, engine.slots[i].number);
    std::sort(named.begin(), named.end());
    if (named.empty()) return text + ".";
    constexpr std::size_t kListed = 6;
    if (named.size() > kListed)
        return text + ": the " + std::to_string(named.size()) + " entries marked '?' cannot all be filled.";
    std::string names;
    for (std::size_t i = 0; i < named.size(); ++i) {
        if (i > 0) names += i + 1 == named.size() ? " and " : ", ";
        names += std::to_string(named[i].second) + (named[i].first == kAcross ? " Across" : " Down");
    }
    const char* tail = named.size() == 1   ? " cannot be filled."
                       : named.size() == 2 ? " cannot both be filled."
                                           : " cannot all be filled.";
    return text + ": " + names + tail;
}

}  // namespace korvo
