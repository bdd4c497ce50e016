#pragma once

// A plain model of clue files for the clue targets: the lines as the clue
// file format defines them, and the pairs they hold.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "clues/clue_database.h"

namespace korvo::fuzz {

// The lines of a clue file: split at LF, one CR just before an LF belongs to
// the line break, a last line without LF counts (and keeps a CR at its end).
inline std::vector<std::string> ClueLines(std::string_view file) {
    std::vector<std::string> lines;
    std::size_t at = 0;
    while (at < file.size()) {
        const std::size_t end = file.find('\n', at);
        if (end == std::string_view::npos) {
            lines.emplace_back(file.substr(at));
            break;
        }
        std::string line(file.substr(at, end - at));
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        at = end + 1;
    }
    return lines;
}

// True when some pair of the file (word line, clue line; a missing last clue
// line is empty) equals (word, clue).
inline bool HoldsCluePair(std::string_view file, std::string_view word, std::string_view clue) {
    const std::vector<std::string> lines = ClueLines(file);
    for (std::size_t i = 0; i < lines.size(); i += 2) {
        const std::string_view c = i + 1 < lines.size() ? std::string_view(lines[i + 1]) : std::string_view();
        if (lines[i] == word && c == clue) return true;
    }
    return false;
}

// A pair as it is written: the word cut to 21 bytes and the clue to 60, each
// followed by CR LF.
inline std::string WrittenCluePair(std::string_view word, std::string_view clue) {
    return std::string(word.substr(0, kClueWordLimit)) + "\r\n" + std::string(clue.substr(0, kClueTextLimit)) + "\r\n";
}

}  // namespace korvo::fuzz
