#include "clues/clue_database.h"

namespace korvo {

std::string ClueBytes(std::u16string_view text) {
    std::string bytes;
    bytes.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c == u'\n') {
            bytes.push_back(' ');
        } else if (c <= 0xFF) {
            bytes.push_back(static_cast<char>(c));
        } else {
            const bool pair =
                c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF;
            if (pair) ++i;
            bytes.push_back('?');
        }
    }
    return bytes;
}

std::u16string ClueText(std::string_view bytes) {
    std::u16string text;
    text.reserve(bytes.size());
    for (char b : bytes) text.push_back(static_cast<char16_t>(static_cast<unsigned char>(b)));
    return text;
}

bool ReadClueLine(std::istream& in, std::string& line) {
    if (!std::getline(in, line)) {
        line.clear();
        return false;
    }
    // Not at the end means the line was ended by an LF; a CR just before it
    // belongs to the line break.
    if (!in.eof() && !line.empty() && line.back() == '\r') line.pop_back();
    return true;
}

bool NextClueLine(std::string_view& rest, std::string_view& line) {
    if (rest.empty()) {
        line = {};
        return false;
    }
    const std::size_t end = rest.find('\n');
    if (end == std::string_view::npos) {
        line = rest;
        rest = {};
        return true;
    }
    line = rest.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    rest.remove_prefix(end + 1);
    return true;
}

void AppendCluePair(std::string& out, std::string_view word, std::string_view clue) {
    out.append(word.substr(0, kClueWordLimit));
    out.append("\r\n");
    out.append(clue.substr(0, kClueTextLimit));
    out.append("\r\n");
}

char ClueNameChar(unsigned char c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) return static_cast<char>(c);
    return '_';
}

std::string ClueFileName(std::string_view word) {
    if (word.size() < 2) return {};
    std::string name;
    name.push_back(ClueNameChar(static_cast<unsigned char>(word[0])));
    name.push_back(ClueNameChar(static_cast<unsigned char>(word[1])));
    name.append(".CLU");
    return name;
}

ClueDatabase::ClueDatabase(const std::filesystem::path& folderPath, FileSystemOps& fileSystemOps)
    : folder(folderPath.string()), fileSystem(fileSystemOps) {}

ClueDatabase::~ClueDatabase() { CloseReader(); }

std::filesystem::path ClueDatabase::PathOf(const std::string& name) const {
    // The folder carries its own trailing separator; the name is appended as is.
    return std::filesystem::path(folder + name);
}

void ClueDatabase::CloseReader() {
    if (reader.is_open()) reader.close();
    reader.clear();
    readerOpen = false;
}

std::u16string ClueDatabase::Lookup(const std::u16string& word) {
    if (word.empty()) {
        if (!readerOpen) return {};
    } else {
        currentWord = ClueBytes(word);
        CloseReader();
        const std::string name = ClueFileName(currentWord);
        if (name.empty()) return {};
        reader.open(PathOf(name), std::ios::binary);
        if (!reader.is_open()) {
            reader.clear();
            return {};
        }
        readerOpen = true;
    }

    while (ReadClueLine(reader, wordLine)) {
        ReadClueLine(reader, clueLine);
        // An empty clue line (only in a damaged file) would read as the end
        // of the sequence; such a pair is passed over.
        if (wordLine == currentWord && !clueLine.empty()) return ClueText(clueLine);
    }
    CloseReader();
    return {};
}

bool ClueDatabase::AddClue(bool checkDuplicates, const std::u16string& word, const std::u16string& clue) {
    lastWrite = {};
    if (word.empty() || clue.empty()) return false;
    const std::string storedWord = ClueBytes(word);
    const std::string storedClue = ClueBytes(clue);
    if (storedClue == storedWord) return false;
    CloseReader();
    const std::string name = ClueFileName(storedWord);
    if (name.empty()) return false;
    const std::filesystem::path path = PathOf(name);

    if (checkDuplicates) {
        std::ifstream in(path, std::ios::binary);
        if (in.is_open()) {
            while (ReadClueLine(in, wordLine)) {
                ReadClueLine(in, clueLine);
                if (wordLine == storedWord && clueLine == storedClue) return false;
            }
        }
    }

    std::string pair;
    AppendCluePair(pair, storedWord, storedClue);
    lastWrite = AppendToFile(path, pair, fileSystem);
    return lastWrite.ok;
}

bool ClueDatabase::DeleteClue(const std::u16string& word, const std::u16string& clue) {
    lastWrite = {};
    if (word.empty() || clue.empty()) return true;
    const std::string storedWord = ClueBytes(word);
    const std::string storedClue = ClueBytes(clue);
    CloseReader();
    const std::string name = ClueFileName(storedWord);
    if (name.empty()) return true;
    const std::filesystem::path cluePath = PathOf(name);
    // The temporary file an interrupted delete used to leave ("H1.CLU"; no
    // clue file has '1' as its second character) is cleared away.
    fileSystem.Remove(PathOf(name.substr(0, 1) + "1.CLU"));

    std::ifstream in(cluePath, std::ios::binary);
    if (!in.is_open()) {
        // No clue file holds no pair; one that exists but cannot be read
        // may hold it.
        std::error_code error;
        return !std::filesystem::exists(cluePath, error) && !error;
    }

    bool matched = false;
    std::string copy;
    while (ReadClueLine(in, wordLine)) {
        if (wordLine.empty()) continue;  // a stray empty line, no pair
        ReadClueLine(in, clueLine);
        if (wordLine == storedWord && clueLine == storedClue) {
            matched = true;
            continue;
        }
        AppendCluePair(copy, wordLine, clueLine);
    }
    const bool readWhole = !in.bad();
    in.close();
    // A file without a match stays exactly as it was, and one that could
    // not be read whole is never replaced by what was read of it.
    if (!matched) return true;
    if (!readWhole) return false;
    lastWrite = WriteFileAtomically(cluePath, copy, fileSystem);
    return lastWrite.ok;
}

}  // namespace korvo
