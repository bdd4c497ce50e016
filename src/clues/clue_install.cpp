#include "clues/clue_install.h"

#include <cstdint>
#include <fstream>
#include <functional>
#include <string_view>
#include <system_error>
#include <unordered_set>
#include <utility>
#include <vector>

#include "clues/clue_database.h"

namespace korvo {
namespace {

int ListDigit(int wordListId) { return wordListId >= 1 && wordListId <= 4 ? wordListId : 5; }

// Reads a whole file into bytes; false when it cannot be opened. A file that
// opens but cannot be read (a folder) gives no bytes.
bool ReadWholeFile(const std::filesystem::path& path, std::string& bytes) {
    bytes.clear();
    std::ifstream in(path, std::ios::binary);
    if (!in.is_open()) return false;
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (!error && size > 0) bytes.reserve(static_cast<std::size_t>(size));
    char chunk[1 << 16];
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0) bytes.append(chunk, static_cast<std::size_t>(in.gcount()));
    return true;
}

// One pair of the source, normalised, viewing the source's bytes.
struct SourcePair {
    std::string_view word;  // upper-cased word line
    std::string_view clue;  // clue line with its first character upper-cased
};

// A stored or candidate (word line, clue line) pair for the duplicate check.
struct LinePair {
    std::string_view word;  // word line
    std::string_view clue;  // clue line
    bool operator==(const LinePair&) const = default;
};

struct LinePairHash {
    std::size_t operator()(const LinePair& p) const {
        const std::size_t a = std::hash<std::string_view>{}(p.word);
        const std::size_t b = std::hash<std::string_view>{}(p.clue);
        return a ^ (b + 0x9E3779B97F4A7C15ull + (a << 6) + (a >> 2));
    }
};

// True when appending complete pairs to bytes keeps the pairs read from the
// start aligned: no bytes, or whole lines in an even number.
bool PairAligned(const std::string& bytes) {
    if (bytes.empty()) return true;
    if (bytes.back() != '\n') return false;
    std::size_t lines = 0;
    for (char b : bytes) lines += b == '\n';
    return lines % 2 == 0;
}

// Adds the pairs one by one with the duplicate check: the reference way,
// used for a file that is left over in the folder in a shape whose pairs the
// appended lines would merge with, or that cannot be appended to as a whole.
int AddOneByOne(const std::filesystem::path& folder, const std::vector<SourcePair>& pairs,
                const std::vector<std::uint32_t>& group) {
    ClueDatabase database(folder.string() + "/");
    int stored = 0;
    for (std::uint32_t index : group) {
        if (database.AddClue(true, ClueText(pairs[index].word), ClueText(pairs[index].clue))) ++stored;
    }
    return stored;
}

// Writes the pairs of one clue file: what AddClue with the duplicate check
// would append pair by pair, in one pass. A pair is refused when some pair
// already in the file, as read back, equals it uncut; what is written reads
// back as its cut lines.
int WriteClueFile(const std::filesystem::path& folder, const std::string& name, const std::vector<SourcePair>& pairs,
                  const std::vector<std::uint32_t>& group) {
    const std::filesystem::path path = folder / name;
    std::string existing;
    ReadWholeFile(path, existing);
    if (!PairAligned(existing)) return AddOneByOne(folder, pairs, group);

    std::ofstream writer(path, std::ios::binary | std::ios::app);
    if (!writer.is_open()) return AddOneByOne(folder, pairs, group);

    std::unordered_set<LinePair, LinePairHash> inFile;
    inFile.reserve(group.size() + existing.size() / 16);
    std::string_view rest = existing;
    std::string_view wordLine;
    std::string_view clueLine;
    while (NextClueLine(rest, wordLine)) {
        NextClueLine(rest, clueLine);
        inFile.insert({wordLine, clueLine});
    }

    std::string out;
    int stored = 0;
    for (std::uint32_t index : group) {
        const SourcePair& p = pairs[index];
        if (inFile.contains({p.word, p.clue})) continue;
        AppendCluePair(out, p.word, p.clue);
        inFile.insert({p.word.substr(0, kClueWordLimit), p.clue.substr(0, kClueTextLimit)});
        ++stored;
    }
    writer.write(out.data(), static_cast<std::streamsize>(out.size()));
    writer.close();
    if (writer.fail()) {
        // Cut the file back so that no half pair stays behind.
        std::error_code error;
        std::filesystem::resize_file(path, existing.size(), error);
        return 0;
    }
    return stored;
}

}  // namespace

std::string ClueFolderName(int wordListId) { return "CLUES" + std::to_string(ListDigit(wordListId)); }

std::string ClueSourceName(int wordListId) { return "cdata" + std::to_string(ListDigit(wordListId)) + ".bin"; }

void DeleteFilesInFolder(const std::filesystem::path& folder) {
    std::error_code error;
    std::vector<std::filesystem::path> files;
    std::filesystem::directory_iterator entry(folder, error);
    for (; !error && entry != std::filesystem::directory_iterator(); entry.increment(error)) {
        std::error_code statusError;
        if (entry->is_directory(statusError)) continue;
        files.push_back(entry->path());
    }
    // Deleted after the listing, so that the walk never sees a changing folder.
    for (const std::filesystem::path& file : files) std::filesystem::remove(file, error);
}

unsigned char UpperClueByte(unsigned char c) {
    if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 0x20);
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<unsigned char>(c - 0x20);
    return c;
}

int AddCluePairs(const std::filesystem::path& folder, std::string source) {
    // The pairs of the source, normalised in place, grouped by the clue file
    // they go to (the file name's two characters index the groups).
    std::vector<SourcePair> pairs;
    pairs.reserve(source.size() / 32);
    std::vector<std::vector<std::uint32_t>> groups(1 << 16);
    std::string_view rest = source;
    std::string_view word;
    std::string_view clue;
    while (NextClueLine(rest, word)) {
        NextClueLine(rest, clue);
        if (word.empty() || clue.empty()) continue;
        char* wordBytes = source.data() + (word.data() - source.data());
        for (std::size_t i = 0; i < word.size(); ++i)
            wordBytes[i] = static_cast<char>(UpperClueByte(static_cast<unsigned char>(wordBytes[i])));
        char* clueBytes = source.data() + (clue.data() - source.data());
        clueBytes[0] = static_cast<char>(UpperClueByte(static_cast<unsigned char>(clueBytes[0])));
        // What AddClue refuses before it looks at any file.
        if (word.size() < 2 || clue == word) continue;
        const unsigned key = static_cast<unsigned>(static_cast<unsigned char>(ClueNameChar(word[0]))) << 8 |
                             static_cast<unsigned char>(ClueNameChar(word[1]));
        groups[key].push_back(static_cast<std::uint32_t>(pairs.size()));
        pairs.push_back({word, clue});
    }

    int stored = 0;
    for (unsigned key = 0; key < groups.size(); ++key) {
        if (groups[key].empty()) continue;
        const std::string name{static_cast<char>(key >> 8), static_cast<char>(key & 0xFF), '.', 'C', 'L', 'U'};
        stored += WriteClueFile(folder, name, pairs, groups[key]);
    }
    return stored;
}

int InstallClueDatabase(const std::filesystem::path& dataFolder, const std::filesystem::path& programFolder,
                        int wordListId) {
    const std::filesystem::path folder = dataFolder / ClueFolderName(wordListId);
    std::error_code error;
    if (!std::filesystem::create_directory(folder, error)) DeleteFilesInFolder(folder);

    std::string source;
    if (!ReadWholeFile(programFolder / ClueSourceName(wordListId), source)) return 0;
    return AddCluePairs(folder, std::move(source));
}

}  // namespace korvo
