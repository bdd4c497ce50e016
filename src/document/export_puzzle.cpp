#include "document/export_puzzle.h"

#include <algorithm>
#include <set>
#include <utility>

#include "platform/text_codec.h"

namespace korvo {

bool IsCircled(const ExportPuzzle& puzzle, std::size_t i) {
    return i < puzzle.circled.size() && puzzle.circled[i] != 0;
}

std::string CheckGridShape(const ExportPuzzle& puzzle) {
    if (puzzle.size < 1 || puzzle.size > kExportMaxSize) {
        return "grid size " + std::to_string(puzzle.size) + " is outside 1 to " + std::to_string(kExportMaxSize);
    }
    const std::size_t n = static_cast<std::size_t>(puzzle.size);
    if (puzzle.gridText.size() != n * n) {
        return "grid text holds " + std::to_string(puzzle.gridText.size()) + " squares, not " + std::to_string(n * n);
    }
    return {};
}

std::string SolutionLetters(const ExportPuzzle& puzzle, std::u16string& letters) {
    if (std::string error = CheckGridShape(puzzle); !error.empty()) return error;
    const std::size_t n = static_cast<std::size_t>(puzzle.size);
    letters = puzzle.gridText;
    for (std::size_t i = 0; i < letters.size(); ++i) {
        char16_t& c = letters[i];
        if (IsBlockSquare(c)) continue;
        if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
        if (c < u'A' || c > u'Z') {
            return "square " + std::to_string(i / n + 1) + "," + std::to_string(i % n + 1) + " holds no letter";
        }
    }
    return {};
}

std::string CheckSolution(const ExportPuzzle& puzzle, CheckedSolution& solution) {
    if (std::string error = SolutionLetters(puzzle, solution.letters); !error.empty()) return error;
    solution.numbering = NumberGrid(puzzle);
    return CheckCluesMatchGrid(puzzle, solution.numbering);
}

GridNumbering NumberGrid(const ExportPuzzle& puzzle) {
    GridNumbering result;
    const int n = puzzle.size;
    if (!CheckGridShape(puzzle).empty()) return result;
    auto open = [&](int r, int c) { return !IsBlockSquare(puzzle.gridText[static_cast<std::size_t>(r) * n + c]); };
    result.cellNumbers.assign(static_cast<std::size_t>(n) * n, 0);
    int next = 1;
    for (int r = 0; r < n; ++r) {
        for (int c = 0; c < n; ++c) {
            if (!open(r, c)) continue;
            const bool across = c + 1 < n && (c == 0 || !open(r, c - 1)) && open(r, c + 1);
            const bool down = r + 1 < n && (r == 0 || !open(r - 1, c)) && open(r + 1, c);
            if (!across && !down) continue;
            const int number = next++;
            result.cellNumbers[static_cast<std::size_t>(r) * n + c] = number;
            if (across) {
                int length = 0;
                while (c + length < n && open(r, c + length)) ++length;
                result.entries.push_back({number, false, r, c, length});
            }
            if (down) {
                int length = 0;
                while (r + length < n && open(r + length, c)) ++length;
                result.entries.push_back({number, true, r, c, length});
            }
        }
    }
    return result;
}

std::string CheckCluesMatchGrid(const ExportPuzzle& puzzle, const GridNumbering& numbering) {
    auto name = [](int number, bool down) { return std::to_string(number) + (down ? " Down" : " Across"); };
    std::set<std::pair<int, bool>> expected;
    for (const GridEntry& e : numbering.entries) expected.insert({e.number, e.down});
    std::set<std::pair<int, bool>> seen;
    for (const ExportClue& clue : puzzle.clues) {
        const std::pair<int, bool> key{clue.number, clue.down};
        if (expected.count(key) == 0) return "clue " + name(clue.number, clue.down) + " has no entry in the grid";
        if (!seen.insert(key).second) return "clue " + name(clue.number, clue.down) + " appears twice";
    }
    for (const GridEntry& e : numbering.entries) {
        if (seen.count({e.number, e.down}) == 0) return "entry " + name(e.number, e.down) + " has no clue";
    }
    return {};
}

std::vector<const ExportClue*> CluesInGridOrder(const ExportPuzzle& puzzle, const GridNumbering& numbering) {
    std::vector<const ExportClue*> ordered;
    ordered.reserve(numbering.entries.size());
    for (const GridEntry& entry : numbering.entries) {
        const auto it = std::find_if(puzzle.clues.begin(), puzzle.clues.end(), [&](const ExportClue& c) {
            return c.number == entry.number && c.down == entry.down;
        });
        if (it != puzzle.clues.end()) ordered.push_back(&*it);
    }
    return ordered;
}

std::u16string ClueOnOneLine(std::u16string_view clue) {
    std::u16string out;
    out.reserve(clue.size());
    for (std::size_t i = 0; i < clue.size(); ++i) {
        const char16_t c = clue[i];
        if (c == u'\r' || c == u'\n' || c == u'\u2028' || c == u'\u2029') {
            if (c == u'\r' && i + 1 < clue.size() && clue[i + 1] == u'\n') ++i;
            out += u' ';
        } else {
            out += c;
        }
    }
    return out;
}

namespace {

// The code page 1252 punctuation that has a plain ASCII form.
const char* AsciiPunctuation(char32_t c) {
    switch (c) {
        case 0x2018:
        case 0x2019:
        case 0x201A:
        case 0x201B:
        case 0x2032: return "'";
        case 0x201C:
        case 0x201D:
        case 0x201E:
        case 0x201F:
        case 0x2033: return "\"";
        case 0x2039: return "<";
        case 0x203A: return ">";
        case 0x2010:
        case 0x2011:
        case 0x2012:
        case 0x2013:
        case 0x2212: return "-";
        case 0x2014:
        case 0x2015: return "--";
        case 0x2026: return "...";
        case 0x2022: return "*";
        default: return nullptr;
    }
}

}  // namespace

std::string EncodeAcrossLiteText(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            ++i;  // a surrogate pair is one character above U+FFFF
            out += kUnencodable;
            continue;
        }
        // Code points the encoding cannot hold and those it has no stand-in
        // for both become the same mark: the first and last branches are
        // alike on purpose.
        if (c == 0 || (c >= 0x80 && c <= 0x9F) || (c >= 0xD800 && c <= 0xDFFF)) {  // NOLINT(bugprone-branch-clone)
            out += kUnencodable;
        } else if (c <= 0xFF) {
            out += static_cast<char>(c);
        } else if (const char* ascii = AsciiPunctuation(c)) {
            out += ascii;
        } else {
            out += kUnencodable;
        }
    }
    return out;
}

}  // namespace korvo
