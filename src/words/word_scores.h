#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_map>

namespace korvo {

// How good a word is to place, 1..100 (higher is better: common words with a
// good clue), read from the score file the data build writes beside a word
// list ("dataN.bin" -> "dataN.scores"). The file is text: the line
// "KORVO-SCORES 1", then one line per word, "WORD<TAB>SCORE". A missing or
// damaged file gives no scores: every word then scores the same.
class WordScores {
public:
    static constexpr int kMinScore = 1;
    static constexpr int kMaxScore = 100;
    static constexpr int kEqualScore = 50;  // every word's score when no file was read

    // Reads a score file; false (and no scores) when it is missing or damaged.
    bool Load(const std::filesystem::path& path);
    // Parses the file's text; false (and no scores) when it is damaged.
    bool Parse(std::string_view text);

    // The score of a word: kEqualScore without scores, kMinScore for a word the
    // file does not list.
    int Score(std::string_view word) const;
    bool Empty() const { return scores_.empty(); }
    std::size_t Size() const { return scores_.size(); }

private:
    std::unordered_map<std::string, std::uint8_t> scores_;
};

// The score file of a word list: the list's path with its extension replaced by ".scores".
std::filesystem::path ScoreFileFor(const std::filesystem::path& wordList);

}  // namespace korvo
