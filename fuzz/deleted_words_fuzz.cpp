// The deleted-words reader over arbitrary files: the input is written as the
// data folder's delwords.txt. ApplyDeletedWords on a freshly loaded store
// must take out one available copy of every word the file lists (lines
// upper-cased, LF or CR LF ends, empty lines ignored) and nothing else, and
// IsDeletedWord must answer from the same lines.

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_document.h"
#include "platform/text_codec.h"

namespace {

using korvo::fuzz::Check;

// The file's words as the document reads them.
std::vector<std::string> Lines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string line(text.substr(start, end - start));
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) lines.push_back(korvo::Narrow(korvo::ToUpperLatin1(korvo::DecodeLatin1(line))));
        start = end + 1;
    }
    return lines;
}

std::vector<std::string> StoreWords(const korvo::WordStore& store) {
    std::vector<std::string> words;
    for (int length = 0; length < korvo::kBucketCount; ++length)
        for (const korvo::WordBlock* b = store.buckets[length]; b != nullptr; b = b->next)
            for (std::uint32_t i = 0; i < b->count; ++i) {
                Check(b->Record(i)[length] == korvo::kWordAvailable, "no word is marked in use");
                words.emplace_back(b->Record(i), b->length);
            }
    std::sort(words.begin(), words.end());
    return words;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    korvo::fuzz::FuzzDocumentState& state = korvo::fuzz::FuzzDocument();
    korvo::CkorvoDoc& doc = *state.doc;
    const std::string_view text = korvo::fuzz::AsText(data, size);
    korvo::fuzz::WriteFile(state.dataFolder / "delwords.txt", text);

    const std::filesystem::path list = state.programFolder / "data1.bin";
    Check(korvo::LoadWordList(*doc.wordStore, list.c_str()) > 0, "the word list loads");
    std::vector<std::string> expected = StoreWords(*doc.wordStore);
    const std::vector<std::string> lines = Lines(text);
    for (const std::string& line : lines) {
        const auto at = std::find(expected.begin(), expected.end(), line);
        if (at != expected.end()) expected.erase(at);
    }

    doc.ApplyDeletedWords();
    Check(StoreWords(*doc.wordStore) == expected, "every listed word is taken out once, no other word");

    std::vector<std::string> probes = korvo::fuzz::DocumentWords();
    if (!lines.empty()) probes.push_back(lines.front());
    for (const std::string& word : probes) {
        const bool listed = std::find(lines.begin(), lines.end(), word) != lines.end();
        Check(doc.IsDeletedWord(korvo::DecodeLatin1(word)) == listed, "IsDeletedWord answers from the file's lines");
    }
    return 0;
}
