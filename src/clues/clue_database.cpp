#include "clues/clue_database.h"

#include <cstdint>
#include <system_error>

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
            const bool pair = c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
                              text[i + 1] <= 0xDFFF;
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

ClueDatabase::ClueDatabase(const std::filesystem::path& folderPath) : folder(folderPath.string()) {}

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

    std::error_code error;
    const bool existed = std::filesystem::exists(path, error);
    const std::uintmax_t sizeBefore = existed ? std::filesystem::file_size(path, error) : 0;
    std::ofstream writer(path, std::ios::binary | std::ios::app);
    // A file that cannot be appended to is created from scratch only when it
    // does not exist yet: truncating an existing one would lose its clues.
    if (!writer.is_open() && !existed) writer.open(path, std::ios::binary | std::ios::trunc);
    if (!writer.is_open()) return false;

    std::string pair;
    AppendCluePair(pair, storedWord, storedClue);
    writer.write(pair.data(), static_cast<std::streamsize>(pair.size()));
    writer.close();
    if (writer.fail()) {
        // No half pair may stay behind: it would shift every later pair.
        if (error) return false;
        std::filesystem::resize_file(path, sizeBefore, error);
        return false;
    }
    return true;
}

void ClueDatabase::DeleteClue(const std::u16string& word, const std::u16string& clue) {
    if (word.empty() || clue.empty()) return;
    const std::string storedWord = ClueBytes(word);
    const std::string storedClue = ClueBytes(clue);
    CloseReader();
    const std::string name = ClueFileName(storedWord);
    if (name.empty()) return;
    const std::filesystem::path cluePath = PathOf(name);
    const std::filesystem::path tempPath = PathOf(name.substr(0, 1) + "1.CLU");

    std::error_code error;
    std::ofstream writer(tempPath, std::ios::binary | std::ios::trunc);
    if (!writer.is_open()) return;
    std::ifstream in(cluePath, std::ios::binary);
    if (!in.is_open()) {
        writer.close();
        std::filesystem::remove(tempPath, error);
        return;
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
    writer.write(copy.data(), static_cast<std::streamsize>(copy.size()));
    writer.close();
    const bool writtenWhole = !writer.fail();

    // The clue file is replaced only by a complete copy; a failed read or
    // write leaves it as it was.
    if (matched && readWhole && writtenWhole) std::filesystem::rename(tempPath, cluePath, error);
    std::filesystem::remove(tempPath, error);
}

}  // namespace korvo
