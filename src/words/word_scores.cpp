// The word score file: one score per word of a list.
#include "words/word_scores.h"

#include <fstream>
#include <iterator>

namespace korvo {

namespace {

constexpr std::string_view kHeader = "KORVO-SCORES 1";
constexpr std::size_t kMaxLine = 64;
constexpr std::uintmax_t kMaxFileBytes = 64u << 20;

bool IsWordLetter(char c) { return c >= 'A' && c <= 'Z'; }

}  // namespace

bool WordScores::Load(const std::filesystem::path& path) {
    scores_.clear();
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error || size > kMaxFileBytes) return false;
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return false;
    return Parse(text);
}

bool WordScores::Parse(std::string_view text) {
    scores_.clear();
    std::unordered_map<std::string, std::uint8_t> read;
    bool first = true;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (line.size() > kMaxLine) return false;
        if (first) {
            if (line != kHeader) return false;
            first = false;
            continue;
        }
        const std::size_t tab = line.find('\t');
        if (tab == std::string_view::npos || tab == 0 || tab + 1 == line.size()) return false;
        const std::string_view word = line.substr(0, tab);
        const std::string_view number = line.substr(tab + 1);
        for (char c : word)
            if (!IsWordLetter(c)) return false;
        int value = 0;
        for (char c : number) {
            if (c < '0' || c > '9' || value > kMaxScore) return false;
            value = value * 10 + (c - '0');
        }
        if (value < kMinScore || value > kMaxScore) return false;
        read[std::string(word)] = static_cast<std::uint8_t>(value);
    }
    if (first) return false;  // no header: an empty file
    scores_ = std::move(read);
    return true;
}

int WordScores::Score(std::string_view word) const {
    if (scores_.empty()) return kEqualScore;
    const auto found = scores_.find(std::string(word));
    return found == scores_.end() ? kMinScore : found->second;
}

std::filesystem::path ScoreFileFor(const std::filesystem::path& wordList) {
    std::filesystem::path path = wordList;
    path.replace_extension(".scores");
    return path;
}

}  // namespace korvo
