// korvo-cli's grid file reader over arbitrary files: the input is written
// as a grid file and read with ReadGridFile. A grid it accepts must be 3 to
// 28 squares a side (the sizes --size takes), hold size x size grid squares, load into the fill
// engine and start (or be refused by Start with one of its results); one
// short search slice then runs on it over a small word list.
// Needs: src/cli/grid_file.cpp
// Links: korvo_cli

#include <cstdint>
#include <memory>
#include <string>

#include "cli/grid_file.h"
#include "engine/fill_engine.h"
#include "fuzz_document.h"

namespace {

using korvo::fuzz::Check;

korvo::WordStore& SmallStore() {
    static korvo::WordStore* store = [] {
        auto* s = new korvo::WordStore;
        const std::filesystem::path list = korvo::fuzz::ScratchFolder() / "grid-words.bin";
        korvo::fuzz::WriteFile(list,
                               korvo::fuzz::EncodeWordList({"AT",   "TO",   "AN",   "NO",   "ON",    "OX",   "CAT",
                                                            "COT",  "ACT",  "TAN",  "NAT",  "ANT",   "OAT",  "TACO",
                                                            "COAT", "ATOM", "MOAT", "NOTA", "CANTO", "OCTAN"}));
        Check(korvo::LoadWordList(*s, list.c_str()) > 0, "the grid target's word list loads");
        return s;
    }();
    return *store;
}

bool IsSquare(char c) {
    return c == korvo::kBlock || c == korvo::kOpen || c == korvo::kHopeless || (c >= 'A' && c <= 'Z');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::filesystem::path path = korvo::fuzz::ScratchFolder() / "grid.txt";
    korvo::fuzz::WriteFile(path, korvo::fuzz::AsText(data, size));

    korvo::cli::GridFile grid;
    std::string error;
    if (!korvo::cli::ReadGridFile(path, grid, error)) {
        Check(!error.empty(), "a refused grid file says why");
        return 0;
    }
    Check(grid.size >= korvo::cli::kMinGridFileSide && grid.size <= korvo::kMaxGridSide,
          "a grid is 3 to 28 squares a side");
    Check(grid.text.size() == static_cast<std::size_t>(grid.size) * grid.size, "a grid holds size x size squares");
    for (char c : grid.text) Check(IsSquare(c), "a grid holds only grid squares");

    korvo::WordStore& store = SmallStore();
    store.ResetUsedMarks();
    store.ResetCursors();
    auto engine = std::make_unique<korvo::FillEngine>(&store);
    Check(engine->LoadGrid(grid.size, grid.size, grid.text.c_str()) == 1, "an accepted grid loads into the engine");
    engine->timeSlice = 0.01;
    const int started = engine->Start();
    Check(started >= -1, "Start gives one of its results");
    Check(engine->slotCount >= 0 && engine->slotCount <= korvo::kMaxSlots, "at most 250 entries");
    if (started > 0) {
        const int step = engine->Step();
        Check(step == 1 || step == 0 || step == -1, "Step gives one of its results");
        if (step != 1) engine->Revert();
    }
    return 0;
}
