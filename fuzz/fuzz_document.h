#pragma once

// One document per fuzz process, on folders of the process's scratch folder:
// a program folder with a small word list and no clue sources, and a data
// folder that the document's start-up prepares. Made on first use; the
// targets that drive it reset what they change before each input.

#include <string>
#include <vector>

#include "document/ckorvo_doc.h"
#include "fuzz_host.h"
#include "fuzz_support.h"
#include "support/word_list_bytes.h"
#include "words/word_store.h"

namespace korvo::fuzz {

// The words of the program folder's word lists.
inline const std::vector<std::string>& DocumentWords() {
    static const std::vector<std::string> words = {"CAT",  "DOG",  "EMU",  "ANT",  "BEE",  "COW", "ELK", "FOX",
                                                   "GNU",  "HEN",  "OWL",  "PIG",  "RAM",  "YAK", "CAT", "BEAR",
                                                   "DEER", "HARE", "LION", "MOLE", "WOLF", "AX",  "OX"};
    return words;
}

using testsupport::EncodeWordList;

struct FuzzDocumentState {
    FuzzHost host;                        // the document's host
    std::filesystem::path programFolder;  // data1.bin ... data5.bin
    std::filesystem::path dataFolder;     // the document's data folder
    std::unique_ptr<CkorvoDoc> doc;       // the document
};

inline FuzzDocumentState& FuzzDocument() {
    static FuzzDocumentState* state = [] {
        auto* s = new FuzzDocumentState;
        s->programFolder = FreshFolder("program");
        s->dataFolder = FreshFolder("home") / "TolvaneCWBuilder";
        const std::string list = EncodeWordList(DocumentWords());
        for (int n = 1; n <= 5; ++n) WriteFile(s->programFolder / ("data" + std::to_string(n) + ".bin"), list);
        DocumentEnvironment environment;
        environment.dataFolder = s->dataFolder;
        environment.programFolder = s->programFolder;
        s->doc = std::make_unique<CkorvoDoc>(s->host, environment);
        return s;
    }();
    return *state;
}

}  // namespace korvo::fuzz
