// The clue database over arbitrary clue files. The input is a word line, a
// clue line and then the bytes of the word's clue file (without the third
// part there is no clue file). On that folder: Lookup of the word and its
// continuation, AddClue with the duplicate check, Lookup again, DeleteClue
// of the pair, each compared with what the clue file format says the file
// holds and becomes. No temporary file may stay behind.

#include <cstdint>
#include <string>
#include <vector>

#include "clue_model.h"
#include "clues/clue_database.h"
#include "fuzz_support.h"

namespace {

using korvo::fuzz::Check;
using korvo::fuzz::ClueLines;

// The clues Lookup gives for word, in order: the clue lines of the pairs
// whose word line is the word (an empty clue line is passed over).
std::vector<std::string> ExpectedClues(const std::string& file, const std::string& word) {
    const std::vector<std::string> lines = ClueLines(file);
    std::vector<std::string> clues;
    for (std::size_t i = 0; i < lines.size(); i += 2) {
        const std::string clue = i + 1 < lines.size() ? lines[i + 1] : std::string();
        if (lines[i] == word && !clue.empty()) clues.push_back(clue);
    }
    return clues;
}

// The file DeleteClue leaves: every other pair cut and rewritten, stray
// empty word lines dropped; the file unchanged when no pair matched.
std::string AfterDelete(const std::string& file, const std::string& word, const std::string& clue) {
    const std::vector<std::string> lines = ClueLines(file);
    std::string copy;
    bool matched = false;
    for (std::size_t i = 0; i < lines.size();) {
        const std::string& w = lines[i++];
        if (w.empty()) continue;
        const std::string c = i < lines.size() ? lines[i++] : std::string();
        if (w == word && c == clue) {
            matched = true;
            continue;
        }
        copy += korvo::fuzz::WrittenCluePair(w, c);
    }
    return matched ? copy : file;
}

void CheckLookup(korvo::ClueDatabase& db, const std::string& word, const std::string& file, bool fileExists) {
    const std::vector<std::string> expected =
        fileExists && word.size() >= 2 ? ExpectedClues(file, word) : std::vector<std::string>();
    std::u16string clue = db.Lookup(korvo::ClueText(word));
    for (const std::string& e : expected) {
        Check(clue == korvo::ClueText(e), "Lookup returns the word's clues in file order");
        Check(db.ReaderOpen(), "the reader stays open within a sequence");
        clue = db.Lookup(u"");
    }
    Check(clue.empty(), "Lookup ends after the word's last clue");
    Check(!db.ReaderOpen(), "the end of a sequence closes the file");
    Check(db.Lookup(u"").empty(), "Lookup after the end gives nothing");
}

std::size_t EntryCount(const std::filesystem::path& folder) {
    std::size_t n = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) ++n;
    return n;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(korvo::fuzz::AsText(data, size));
    const std::size_t firstEnd = input.find('\n');
    const std::size_t secondEnd = firstEnd == std::string::npos ? std::string::npos : input.find('\n', firstEnd + 1);
    const std::string word = input.substr(0, firstEnd);
    const std::string clue =
        firstEnd == std::string::npos ? std::string() : input.substr(firstEnd + 1, secondEnd - firstEnd - 1);
    bool fileExists = secondEnd != std::string::npos;
    std::string file = fileExists ? input.substr(secondEnd + 1) : std::string();

    const std::filesystem::path folder = korvo::fuzz::FreshFolder("clues");
    const std::string name = korvo::ClueFileName(word);
    if (name.empty()) fileExists = false;
    const std::filesystem::path cluePath = folder / name;
    if (fileExists) korvo::fuzz::WriteFile(cluePath, file);

    korvo::ClueDatabase db(folder.string() + "/");
    const std::u16string wideWord = korvo::ClueText(word);
    const std::u16string wideClue = korvo::ClueText(clue);
    Check(korvo::ClueBytes(wideWord) == word && korvo::ClueBytes(wideClue) == clue, "bytes round-trip");

    CheckLookup(db, word, file, fileExists);

    // AddClue with the duplicate check; begin a sequence first, which it ends.
    db.Lookup(wideWord);
    const bool wasOpen = db.ReaderOpen();
    const bool refused = word.empty() || clue.empty() || clue == word || name.empty() ||
                         (fileExists && korvo::fuzz::HoldsCluePair(file, word, clue));
    const bool added = db.AddClue(true, wideWord, wideClue);
    Check(added == !refused, "AddClue appends exactly the pairs it may");
    // A word or clue refused before any file is touched leaves the sequence
    // alone; every other call ends it.
    const bool touchesFiles = !word.empty() && !clue.empty() && clue != word;
    if (touchesFiles) Check(!db.ReaderOpen(), "AddClue ends a Lookup sequence");
    if (!touchesFiles) Check(db.ReaderOpen() == wasOpen, "a refused AddClue leaves the sequence as it was");
    if (added) {
        file += korvo::fuzz::WrittenCluePair(word, clue);
        fileExists = true;
    }
    if (fileExists) Check(korvo::fuzz::ReadFile(cluePath) == file, "AddClue appends the pair cut to its limits");
    Check(EntryCount(folder) == (fileExists ? 1u : 0u), "AddClue makes no other file");
    CheckLookup(db, word, file, fileExists);

    db.Lookup(wideWord);
    const bool openBeforeDelete = db.ReaderOpen();
    db.DeleteClue(wideWord, wideClue);
    if (word.empty() || clue.empty()) {
        Check(db.ReaderOpen() == openBeforeDelete, "DeleteClue without a word or clue does nothing");
    } else if (!name.empty()) {
        Check(!db.ReaderOpen(), "DeleteClue ends a Lookup sequence");
    }
    if (fileExists && !word.empty() && !clue.empty()) file = AfterDelete(file, word, clue);
    if (fileExists) Check(korvo::fuzz::ReadFile(cluePath) == file, "DeleteClue drops exactly the matching pairs");
    Check(EntryCount(folder) == (fileExists ? 1u : 0u), "DeleteClue leaves no temporary file");
    CheckLookup(db, word, file, fileExists);
    return 0;
}
