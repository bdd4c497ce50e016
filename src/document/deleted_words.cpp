// The user's deleted words: "delwords.txt" in the data folder, one word a
// line, one byte per character. Its words are taken out of the word store
// whenever a word list is loaded.
#include <string>
#include <string_view>
#include <vector>

#include "document/ckorvo_doc.h"
#include "platform/file_reader.h"
#include "platform/text_codec.h"

namespace korvo {

namespace {

// The file grows by one short line per word the user deletes; a file beyond
// this size is not one the program wrote and is not read.
constexpr std::size_t kDeletedWordsLimit = 64u << 20;

// The lines of the file, upper-cased, without their line ends (LF, or CR LF);
// empty lines are dropped. No lines when the file is absent or unreadable.
std::vector<std::u16string> ReadDeletedWords(const std::filesystem::path& path) {
    std::vector<std::u16string> words;
    if (path.empty()) return words;
    const FileReadResult file = ReadFileBytes(path, kDeletedWordsLimit);
    if (!file) return words;
    const std::string_view text(reinterpret_cast<const char*>(file.bytes.data()), file.bytes.size());
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (!line.empty()) words.push_back(ToUpperLatin1(DecodeLatin1(line)));
        start = end + 1;
    }
    return words;
}

// Takes one available copy of word (upper case) out of its length's chain.
void RemoveFromStore(WordStore& store, const std::u16string& word) {
    const std::string letters = Narrow(word);
    if (letters.empty() || letters.size() > static_cast<std::size_t>(kMaxWordLength)) return;
    if (letters.find('\0') != std::string::npos) return;
    WordBlock* head = store.buckets[letters.size()];
    if (head != nullptr) RemoveWord(head, letters.c_str());
}

}  // namespace

void CkorvoDoc::ApplyDeletedWords() {
    if (!wordStore) return;
    for (const std::u16string& word : ReadDeletedWords(DataPath("delwords.txt"))) RemoveFromStore(*wordStore, word);
}

bool CkorvoDoc::IsDeletedWord(const std::u16string& word) const {
    for (const std::u16string& line : ReadDeletedWords(DataPath("delwords.txt")))
        if (line == word) return true;
    return false;
}

void CkorvoDoc::AddDeletedWord(const std::u16string& word) {
    // A line break inside the word would make two lines of one entry.
    if (word.empty() || word.find_first_of(u"\r\n") != std::u16string::npos) return;
    const std::filesystem::path path = DataPath("delwords.txt");
    // A failed append is ignored like every failure to write the program's
    // small files: the word is still out of play for this session, and the
    // append leaves no partial line behind.
    if (!path.empty()) AppendToFile(path, EncodeLatin1(word) + "\r\n", FileSystem());
    if (wordStore) RemoveFromStore(*wordStore, ToUpperLatin1(word));
}

}  // namespace korvo
