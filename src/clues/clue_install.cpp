#include "clues/clue_install.h"

#include <cstdint>
#include <cstring>
#include <fstream>
#include <span>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "clues/clue_database.h"
#include "platform/text_codec.h"

namespace korvo {
namespace {

// Upper case of one byte of a source, read as the character of the same code.
char UpperByte(char c) {
    return static_cast<char>(ToUpperLatin1(static_cast<char16_t>(static_cast<unsigned char>(c))));
}

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
    std::string_view word;   // upper-cased word line
    std::string_view clue;   // clue line with its first character upper-cased
    std::uint32_t file = 0;  // the clue file: its name's two characters, first * 256 + second
};

// A stored or candidate (word line, clue line) pair for the duplicate check.
struct LinePair {
    std::string_view word;  // word line
    std::string_view clue;  // clue line
    bool operator==(const LinePair&) const = default;
};

// A 64-bit hash of bytes, eight at a time, continuing from h.
std::uint64_t HashBytes(std::string_view bytes, std::uint64_t h) {
    constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15ull;
    const char* p = bytes.data();
    std::size_t n = bytes.size();
    for (; n >= 8; p += 8, n -= 8) {
        std::uint64_t v = 0;
        std::memcpy(&v, p, 8);
        h = (h ^ v) * kMultiplier;
        h ^= h >> 29;
    }
    std::uint64_t v = 0;
    std::memcpy(&v, p, n);
    h = (h ^ v ^ (static_cast<std::uint64_t>(bytes.size()) << 56)) * kMultiplier;
    return h ^ (h >> 32);
}

std::uint64_t HashPair(const LinePair& p) { return HashBytes(p.clue, HashBytes(p.word, 0x243F6A8885A308D3ull)); }

// The pairs in one clue file: an open-addressing set of views, sized once
// for the pairs a file can get, so that checking and recording a pair costs
// one hash and no allocation.
class PairSet {
public:
    explicit PairSet(std::size_t expected) {
        std::size_t capacity = 16;
        while (capacity < expected * 2) capacity <<= 1;
        slots.assign(capacity, kEmpty);
        entries.reserve(expected);
    }

    bool Contains(const LinePair& pair, std::uint64_t hash) const { return slots[Find(pair, hash)] != kEmpty; }

    // Records the pair; false when it was there already.
    bool Insert(const LinePair& pair, std::uint64_t hash) {
        std::size_t at = Find(pair, hash);
        if (slots[at] != kEmpty) return false;
        if ((entries.size() + 1) * 2 > slots.size()) {
            Grow();
            at = Find(pair, hash);
        }
        slots[at] = static_cast<std::uint32_t>(entries.size());
        entries.push_back({pair, hash});
        return true;
    }

private:
    static constexpr std::uint32_t kEmpty = 0xFFFFFFFFu;

    // The slot holding the pair, or the empty slot where it would go.
    std::size_t Find(const LinePair& pair, std::uint64_t hash) const {
        const std::size_t mask = slots.size() - 1;
        for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
            const std::uint32_t index = slots[at];
            if (index == kEmpty) return at;
            if (entries[index].hash == hash && entries[index].pair == pair) return at;
        }
    }

    void Grow() {
        slots.assign(slots.size() * 2, kEmpty);
        const std::size_t mask = slots.size() - 1;
        for (std::uint32_t i = 0; i < entries.size(); ++i) {
            std::size_t at = entries[i].hash & mask;
            while (slots[at] != kEmpty) at = (at + 1) & mask;
            slots[at] = i;
        }
    }

    // One recorded pair with its hash.
    struct Entry {
        LinePair pair;       // the word and clue lines
        std::uint64_t hash;  // HashPair of pair
    };
    std::vector<Entry> entries;        // the recorded pairs
    std::vector<std::uint32_t> slots;  // index into entries, or kEmpty; size a power of two
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

// Where the installer notes the first write that failed.
struct InstallFailure {
    FileWriteResult* first = nullptr;  // the caller's record, or null
    bool failed = false;               // a write has failed

    void Note(const FileWriteResult& result) {
        if (result.ok || failed) return;
        failed = true;
        if (first != nullptr) *first = result;
    }
};

// Adds the pairs one by one with the duplicate check: the reference way,
// used for a file that is left over in the folder in a shape whose pairs the
// appended lines would merge with. Stops at the first failed write, so that
// the file holds the pairs added before it.
int AddOneByOne(const std::filesystem::path& folder, std::span<const SourcePair> group, FileSystemOps& fileSystem,
                InstallFailure& failure) {
    ClueDatabase database(folder.string() + "/", fileSystem);
    int stored = 0;
    for (const SourcePair& p : group) {
        if (database.AddClue(true, ClueText(p.word), ClueText(p.clue))) {
            ++stored;
        } else if (!database.LastWriteResult().ok) {
            failure.Note(database.LastWriteResult());
            break;
        }
    }
    return stored;
}

// Writes the pairs of one clue file: what AddClue with the duplicate check
// would append pair by pair, in one pass. A pair is refused when some pair
// already in the file, as read back, equals it uncut; what is written reads
// back as its cut lines. The new pairs are appended in one write, so the
// file gets all of them or, when the write fails, stays as it was.
int WriteClueFile(const std::filesystem::path& folder, const std::string& name, std::span<const SourcePair> group,
                  FileSystemOps& fileSystem, InstallFailure& failure) {
    const std::filesystem::path path = folder / name;
    std::string existing;
    ReadWholeFile(path, existing);
    if (!PairAligned(existing)) return AddOneByOne(folder, group, fileSystem, failure);

    PairSet inFile(group.size() + existing.size() / 16);
    std::string_view rest = existing;
    std::string_view wordLine;
    std::string_view clueLine;
    while (NextClueLine(rest, wordLine)) {
        NextClueLine(rest, clueLine);
        const LinePair stored{wordLine, clueLine};
        inFile.Insert(stored, HashPair(stored));
    }

    std::size_t bytes = 0;
    for (const SourcePair& p : group) bytes += p.word.size() + p.clue.size() + 4;
    std::string out;
    out.reserve(bytes);
    int stored = 0;
    for (const SourcePair& p : group) {
        const LinePair pair{p.word, p.clue};
        const std::uint64_t hash = HashPair(pair);
        const LinePair cut{pair.word.substr(0, kClueWordLimit), pair.clue.substr(0, kClueTextLimit)};
        if (cut == pair) {
            if (!inFile.Insert(pair, hash)) continue;
        } else {
            // The file is checked for the uncut pair but holds the cut one.
            if (inFile.Contains(pair, hash)) continue;
            inFile.Insert(cut, HashPair(cut));
        }
        AppendCluePair(out, pair.word, pair.clue);
        ++stored;
    }
    // Every pair may have been in the file already.
    if (out.empty()) return 0;
    // Not flushed file by file: the install writes hundreds of files, and a
    // flush each would multiply its time; a failing write or close is still
    // seen and undone.
    const FileWriteResult written = AppendToFile(path, out, fileSystem, false);
    if (!written) {
        failure.Note(written);
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

int AddCluePairs(const std::filesystem::path& folder, std::string source, FileSystemOps& fileSystem,
                 FileWriteResult* failure) {
    if (failure != nullptr) *failure = {};
    InstallFailure failed{failure};
    // The pairs of the source, normalised in place.
    std::vector<SourcePair> pairs;
    pairs.reserve(source.size() / 32);
    std::vector<std::uint32_t> perFile(1 << 16, 0);
    std::string_view rest = source;
    std::string_view word;
    std::string_view clue;
    while (NextClueLine(rest, word)) {
        NextClueLine(rest, clue);
        if (word.empty() || clue.empty()) continue;
        char* wordBytes = source.data() + (word.data() - source.data());
        for (std::size_t i = 0; i < word.size(); ++i) wordBytes[i] = UpperByte(wordBytes[i]);
        char* clueBytes = source.data() + (clue.data() - source.data());
        clueBytes[0] = UpperByte(clueBytes[0]);
        // What AddClue refuses before it looks at any file.
        if (word.size() < 2 || clue == word) continue;
        const std::uint32_t file = static_cast<std::uint32_t>(static_cast<unsigned char>(ClueNameChar(word[0]))) << 8 |
                                   static_cast<unsigned char>(ClueNameChar(word[1]));
        ++perFile[file];
        pairs.push_back({word, clue, file});
    }

    // Grouped by clue file, each group in source order (a counting sort), so
    // that every file is checked and written in one sequential pass.
    std::vector<std::uint32_t> start(perFile.size() + 1, 0);
    for (std::size_t f = 0; f < perFile.size(); ++f) start[f + 1] = start[f] + perFile[f];
    std::vector<SourcePair> grouped(pairs.size());
    std::vector<std::uint32_t> next(start.begin(), start.end() - 1);
    for (const SourcePair& p : pairs) grouped[next[p.file]++] = p;
    pairs.clear();
    pairs.shrink_to_fit();

    int stored = 0;
    for (std::size_t f = 0; f < perFile.size(); ++f) {
        if (perFile[f] == 0) continue;
        const std::string name{static_cast<char>(f >> 8), static_cast<char>(f & 0xFF), '.', 'C', 'L', 'U'};
        stored += WriteClueFile(folder, name, std::span<const SourcePair>(grouped).subspan(start[f], perFile[f]),
                                fileSystem, failed);
    }
    return stored;
}

int InstallClueDatabase(const std::filesystem::path& dataFolder, const std::filesystem::path& programFolder,
                        int wordListId, FileSystemOps& fileSystem, FileWriteResult* failure) {
    if (failure != nullptr) *failure = {};
    const std::filesystem::path folder = dataFolder / ClueFolderName(wordListId);
    std::error_code error;
    if (!std::filesystem::create_directory(folder, error)) DeleteFilesInFolder(folder);

    std::string source;
    if (!ReadWholeFile(programFolder / ClueSourceName(wordListId), source)) return 0;
    return AddCluePairs(folder, std::move(source), fileSystem, failure);
}

}  // namespace korvo
