// The clue installer over arbitrary packed sources. The input's first byte
// chooses the word list id (its low three bits, so ids 0, 6 and 7 stand for
// list 5) and two further steps; the rest is the source, installed through
// InstallClueDatabase from a program folder. The folder it builds must
// equal, file for file and byte for byte, a folder built by adding the
// normalised pairs one by one with AddClue and its duplicate check. With
// bit 3 set, the source without its first line is then added again with
// AddCluePairs onto the filled folder (and, with bit 4, after a stray
// unterminated line was appended to every clue file of both folders), and
// the two folders must still agree. The folders are also compared with a
// plain in-memory model of adding the pairs; the pair-by-pair folder is
// built only for short sources, since it costs a file scan per pair.

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "clue_model.h"
#include "clues/clue_database.h"
#include "clues/clue_install.h"
#include "fuzz_support.h"
#include "platform/text_codec.h"

namespace {

using korvo::fuzz::Check;
namespace fs = std::filesystem;

char Upper(char c) {
    return static_cast<char>(korvo::ToUpperLatin1(static_cast<char16_t>(static_cast<unsigned char>(c))));
}

// Calls add(word, clue) for every pair of the source with both lines
// non-empty, the word upper-cased and the clue's first letter too, and
// returns how many add accepted.
template <typename Add>
int ForEachNormalisedPair(std::string_view source, Add add) {
    int stored = 0;
    std::string_view word;
    std::string_view clue;
    while (korvo::NextClueLine(source, word)) {
        korvo::NextClueLine(source, clue);
        if (word.empty() || clue.empty()) continue;
        std::string w(word);
        for (char& c : w) c = Upper(c);
        std::string k(clue);
        k[0] = Upper(k[0]);
        if (add(w, k)) ++stored;
    }
    return stored;
}

// The reference: the normalised pairs added one by one with the duplicate check.
int AddOneByOne(const fs::path& folder, std::string_view source) {
    korvo::ClueDatabase db(folder.string() + "/");
    return ForEachNormalisedPair(source, [&db](const std::string& w, const std::string& k) {
        return db.AddClue(true, korvo::ClueText(w), korvo::ClueText(k));
    });
}

using Folder = std::map<std::string, std::string>;

// Sources of at most this many lines are also added pair by pair on disk.
constexpr std::size_t kReferenceLines = 40;

std::size_t LineCount(std::string_view source) {
    std::size_t n = 0;
    std::string_view line;
    while (korvo::NextClueLine(source, line)) ++n;
    return n;
}

// The model: adds the normalised pairs of a source to the files of a folder
// held in memory, with AddClue's rules and its duplicate check.
int AddToModel(Folder& folder, std::string_view source) {
    return ForEachNormalisedPair(source, [&folder](const std::string& w, const std::string& k) {
        if (w.size() < 2 || k == w) return false;
        std::string& file = folder[korvo::ClueFileName(w)];
        if (korvo::fuzz::HoldsCluePair(file, w, k)) return false;
        file += korvo::fuzz::WrittenCluePair(w, k);
        return true;
    });
}

Folder Contents(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(folder))
        files[entry.path().filename().string()] = korvo::fuzz::ReadFile(entry.path());
    return files;
}

void AppendToEveryFile(const fs::path& folder, std::string_view tail) {
    for (const auto& [name, bytes] : Contents(folder)) korvo::fuzz::WriteFile(folder / name, bytes + std::string(tail));
}

void AppendToEveryFile(Folder& folder, std::string_view tail) {
    for (auto& [name, bytes] : folder) bytes += tail;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::uint8_t flags = data[0];
    const int id = flags & 7;
    const std::string_view source = korvo::fuzz::AsText(data + 1, size - 1);

    const fs::path program = korvo::fuzz::FreshFolder("program");
    const fs::path dataFolder = korvo::fuzz::FreshFolder("data");
    const fs::path reference = korvo::fuzz::FreshFolder("reference");
    korvo::fuzz::WriteFile(program / korvo::ClueSourceName(id), source);
    // A file left in the clue folder from before is removed by the install.
    fs::create_directory(dataFolder / korvo::ClueFolderName(id));
    korvo::fuzz::WriteFile(dataFolder / korvo::ClueFolderName(id) / "HO.CLU", "HOUSE\r\nOld clue\r\n");

    const bool onDisk = LineCount(source) <= kReferenceLines;
    const int installed = korvo::InstallClueDatabase(dataFolder, program, id);
    const fs::path folder = dataFolder / korvo::ClueFolderName(id);
    Folder model;
    Check(installed == AddToModel(model, source), "the installer stores the pairs the format's rules keep");
    Check(Contents(folder) == model, "the installed folder holds the files the format's rules give");
    if (onDisk) {
        Check(installed == AddOneByOne(reference, source), "the installer stores the pairs AddClue would");
        Check(Contents(folder) == Contents(reference), "the installed folder equals the one built pair by pair");
    }

    if (flags & 8) {
        std::string_view rest = source;
        std::string_view firstLine;
        korvo::NextClueLine(rest, firstLine);
        if (flags & 16) {
            AppendToEveryFile(folder, firstLine);
            AppendToEveryFile(model, firstLine);
            if (onDisk) AppendToEveryFile(reference, firstLine);
        }
        const int added = korvo::AddCluePairs(folder, std::string(rest));
        Check(added == AddToModel(model, rest), "adding onto a filled folder stores the pairs the rules keep");
        Check(Contents(folder) == model, "adding onto a filled folder gives the files the rules give");
        if (onDisk) {
            Check(added == AddOneByOne(reference, rest), "adding onto a filled folder stores the pairs AddClue would");
            Check(Contents(folder) == Contents(reference), "the folders agree after adding onto them");
        }
    }
    return 0;
}
