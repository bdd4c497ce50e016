#pragma once

// A document on temporary folders: a data folder that does not exist yet, a
// program folder with small word lists and clue sources written by the test,
// and a scripted host.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "document/ckorvo_doc.h"
#include "support/failing_file_system.h"
#include "support/scripted_host.h"
#include "support/temp_folder.h"
#include "support/word_list_bytes.h"

namespace korvo::testsupport {

// Every word of every chain of the store, in chain order, with its status
// byte: equal snapshots mean the store was neither reloaded nor reshuffled.
inline std::string StoreSnapshot(const WordStore& store) {
    std::string out;
    for (int length = 0; length < kBucketCount; ++length)
        for (const WordBlock* block = store.buckets[length]; block != nullptr; block = block->next)
            for (std::uint32_t i = 0; i < block->count; ++i) {
                out.append(block->Record(i), block->length);
                out += block->Record(i)[block->length] == kWordAvailable ? ' ' : '*';
            }
    return out;
}

// True when the store holds word as an available word.
inline bool StoreHas(const WordStore& store, std::string_view word) {
    if (word.size() < 2 || word.size() > static_cast<std::size_t>(kMaxWordLength)) return false;
    for (const WordBlock* block = store.buckets[word.size()]; block != nullptr; block = block->next)
        for (std::uint32_t i = 0; i < block->count; ++i)
            if (std::string_view(block->Record(i), block->length) == word &&
                block->Record(i)[block->length] == kWordAvailable)
                return true;
    return false;
}

// Enough words to fill the small grids of these tests' lists.
inline std::vector<std::string> ListOne() {
    return {"CAT", "DOG", "EMU", "ANT", "BEE",  "COW",  "ELK",  "FOX",  "GNU",  "HEN",
            "OWL", "PIG", "RAM", "YAK", "BEAR", "DEER", "HARE", "LION", "MOLE", "WOLF"};
}
inline std::vector<std::string> ListTwo() { return {"TEA", "SUN", "OAK", "SEA", "INK", "ROSE", "TREE", "LAKE"}; }

class DocumentTest : public ::testing::Test {
protected:
    DocumentTest() {
        std::filesystem::create_directories(ProgramFolder());
        for (int n = 1; n <= 5; ++n) WriteWordList(n, n == 2 ? ListTwo() : ListOne());
    }

    std::filesystem::path DataFolderPath() const { return root.path() / "Documents" / "TolvaneCWBuilder"; }
    std::filesystem::path ProgramFolder() const { return root.path() / "program"; }
    std::filesystem::path DataFile(std::string_view name) const { return DataFolderPath() / std::string(name); }

    void WriteWordList(int n, const std::vector<std::string>& words) {
        WriteFileForTest(ProgramFolder() / ("data" + std::to_string(n) + ".bin"), EncodeWordList(words));
    }
    void WriteClueSource(int n, std::string_view text) {
        WriteFileForTest(ProgramFolder() / ("cdata" + std::to_string(n) + ".bin"), text);
    }
    // A data folder as a finished setup of this version leaves it.
    void PrepareInstalledDataFolder(std::string_view version = "60601\r\n") {
        std::filesystem::create_directories(DataFolderPath());
        WriteFileForTest(DataFile("version.dat"), version);
    }

    DocumentEnvironment Environment(FileSystemOps* fileSystem = nullptr) const {
        return DocumentEnvironment{DataFolderPath(), ProgramFolder(), fileSystem};
    }
    std::unique_ptr<CkorvoDoc> MakeDocument(FileSystemOps* fileSystem = nullptr) {
        return std::make_unique<CkorvoDoc>(host, Environment(fileSystem));
    }

    TempFolder root;
    ScriptedHost host;
};

}  // namespace korvo::testsupport
