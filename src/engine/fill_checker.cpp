// An independent check of a filled grid. It finds the entries from the grid
// text itself and compares plain strings, so a fault of the engine's
// numbering, slot list or word store search cannot hide itself here.
#include "engine/fill_checker.h"

#include <map>
#include <set>
#include <tuple>

namespace korvo {

namespace {

struct Run {
    int row, column, direction;  // first square and direction (1 across, 2 down)
    std::string design;          // the squares as the user designed them
    std::string filled;          // the squares after the fill
};

std::string Describe(const Run& run) {
    return "entry at row " + std::to_string(run.row + 1) + ", column " + std::to_string(run.column + 1) +
           (run.direction == 1 ? " across" : " down");
}

bool IsLetter(char c) { return c >= 'A' && c <= 'Z'; }

bool IsOpenDesign(char c) { return c == '@' || c == '?'; }

}  // namespace

std::unordered_set<std::string> WordsOfStore(const WordStore& store) {
    std::unordered_set<std::string> words;
    for (int length = 1; length < kBucketCount; ++length)
        for (const WordBlock* b = store.buckets[length]; b != nullptr; b = b->next)
            for (std::uint32_t i = 0; i < b->count; ++i) words.emplace(b->Record(i), b->length);
    return words;
}

FillCheckResult CheckFill(const FillCheckInput& in) {
    FillCheckResult result;
    auto fault = [&](std::string text) { result.problems.push_back(std::move(text)); };
    const std::size_t squares = static_cast<std::size_t>(in.rows) * static_cast<std::size_t>(in.columns);
    if (in.rows < 1 || in.columns < 1 || in.design.size() != squares || in.filled.size() != squares) {
        fault("grid sizes do not match: " + std::to_string(in.rows) + " x " + std::to_string(in.columns) + ", design " +
              std::to_string(in.design.size()) + " squares, fill " + std::to_string(in.filled.size()));
        return result;
    }
    auto at = [&](const std::string& grid, int r, int c) { return grid[static_cast<std::size_t>(r * in.columns + c)]; };

    // Square by square: blocks stay blocks, the user's letters stay.
    for (int r = 0; r < in.rows; ++r)
        for (int c = 0; c < in.columns; ++c) {
            const char d = at(in.design, r, c), f = at(in.filled, r, c);
            const std::string where = "square row " + std::to_string(r + 1) + ", column " + std::to_string(c + 1);
            if ((d == '!') != (f == '!'))
                fault(where + ": block changed ('" + d + "' became '" + f + "')");
            else if (IsLetter(d) && f != d)
                fault(where + ": the user's letter " + d + " became '" + f + "'");
        }

    // Entries: runs of two or more open squares.
    std::vector<Run> runs;
    std::vector<bool> covered(squares, false);
    for (int direction = 1; direction <= 2; ++direction)
        for (int r = 0; r < in.rows; ++r)
            for (int c = 0; c < in.columns; ++c) {
                const int dr = direction == 2 ? 1 : 0, dc = direction == 1 ? 1 : 0;
                if (at(in.design, r, c) == '!') continue;
                const int pr = r - dr, pc = c - dc;
                if (pr >= 0 && pc >= 0 && at(in.design, pr, pc) != '!') continue;  // not the first square
                Run run{r, c, direction, {}, {}};
                for (int k = 0;; ++k) {
                    const int rr = r + k * dr, cc = c + k * dc;
                    if (rr >= in.rows || cc >= in.columns || at(in.design, rr, cc) == '!') break;
                    run.design += at(in.design, rr, cc);
                    run.filled += at(in.filled, rr, cc);
                }
                if (run.design.size() < 2) continue;
                for (std::size_t k = 0; k < run.design.size(); ++k)
                    covered[static_cast<std::size_t>((r + static_cast<int>(k) * dr) * in.columns + c +
                                                     static_cast<int>(k) * dc)] = true;
                runs.push_back(std::move(run));
            }

    for (std::size_t i = 0; i < squares; ++i)
        if (covered[i] && !IsLetter(in.filled[i]))
            fault("square row " + std::to_string(i / static_cast<std::size_t>(in.columns) + 1) + ", column " +
                  std::to_string(i % static_cast<std::size_t>(in.columns) + 1) + " of an entry is not filled ('" +
                  in.filled[i] + "')");

    // Each entry: a listed word, unless the user typed it completely.
    std::vector<bool> bySearch(runs.size(), false);
    std::vector<bool> listed(runs.size(), false);
    for (std::size_t i = 0; i < runs.size(); ++i) {
        const Run& run = runs[i];
        bool userWord = true;
        for (char d : run.design)
            if (IsOpenDesign(d) || !IsLetter(d)) userWord = false;
        bySearch[i] = !userWord;
        listed[i] = in.words != nullptr && in.words->count(run.filled) != 0;
        if (!userWord && !listed[i]) fault(Describe(run) + ": " + run.filled + " is not in the word list");
    }

    // No word twice.
    std::map<std::string, std::size_t> seen;
    for (std::size_t i = 0; i < runs.size(); ++i) {
        auto [it, fresh] = seen.emplace(runs[i].filled, i);
        if (!fresh) fault(Describe(runs[i]) + ": " + runs[i].filled + " repeats the " + Describe(runs[it->second]));
    }

    // No word the search placed shares its first three letters with another
    // placed word or with a listed word the user typed.
    if (in.prefixRule) {
        for (std::size_t i = 0; i < runs.size(); ++i) {
            if (!bySearch[i] || runs[i].filled.size() < 3) continue;
            for (std::size_t j = 0; j < runs.size(); ++j) {
                if (j == i || runs[j].filled.size() < 3) continue;
                if (!bySearch[j] && !listed[j]) continue;
                if (bySearch[j] && j < i) continue;  // that pair was reported from j
                if (runs[i].filled.compare(0, 3, runs[j].filled, 0, 3) == 0)
                    fault(Describe(runs[i]) + ": " + runs[i].filled + " shares its first three letters with " +
                          runs[j].filled + " (" + Describe(runs[j]) + ")");
            }
        }
    }

    // The filler's own list: exactly the grid's entries, each holding the
    // grid's letters.
    if (in.entries != nullptr) {
        std::map<std::tuple<int, int, int>, const Run*> byStart;
        for (const Run& run : runs) byStart[{run.row, run.column, run.direction}] = &run;
        std::set<std::tuple<int, int, int>> reported;
        for (const ReportedEntry& e : *in.entries) {
            const auto key = std::make_tuple(e.row, e.column, e.direction);
            auto it = byStart.find(key);
            const std::string where = "reported entry at row " + std::to_string(e.row + 1) + ", column " +
                                      std::to_string(e.column + 1) + (e.direction == 1 ? " across" : " down");
            if (it == byStart.end()) {
                fault(where + " is not an entry of the grid");
                continue;
            }
            if (!reported.insert(key).second) fault(where + " is reported twice");
            if (e.letters != it->second->filled)
                fault(where + " holds " + e.letters + " but the grid reads " + it->second->filled);
        }
        for (const Run& run : runs)
            if (reported.count({run.row, run.column, run.direction}) == 0) fault(Describe(run) + " is not reported");
    }
    return result;
}

}  // namespace korvo
