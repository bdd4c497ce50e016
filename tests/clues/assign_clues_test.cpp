// Clue assignment: one entry per slot in the slots' order, clues drawn from
// the word list's clue folder with the thread's Random, placeholders for
// words without a stored clue.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "clues/assign_clues.h"
#include "model/cw_data.h"
#include "platform/random.h"

namespace korvo {
namespace {

namespace fs = std::filesystem;

class AssignClues : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/korvo-clues-XXXXXX";
        const char* made = mkdtemp(pattern);
        ASSERT_NE(made, nullptr);
        folder = made;
        data = std::make_unique<CCWData>(nullptr, 3);
        data->dataFolder = folder.u16string();
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(folder, ec);
    }
    void WriteClues(const std::string& sub, const std::string& file, const std::string& pairs) {
        fs::create_directories(folder / sub);
        std::ofstream(folder / sub / file, std::ios::binary) << pairs;
    }
    void SetSlots(const std::vector<std::tuple<std::string, int, int>>& slots) {
        FillEngine& e = *data->engine;
        e.slotCount = static_cast<int>(slots.size());
        for (std::size_t k = 0; k < slots.size(); ++k) {
            std::memset(e.slots[k].letters, 0, sizeof e.slots[k].letters);
            std::strncpy(e.slots[k].letters, std::get<0>(slots[k]).c_str(), sizeof e.slots[k].letters - 1);
            e.slots[k].direction = std::get<1>(slots[k]);
            e.slots[k].number = std::get<2>(slots[k]);
        }
    }
    std::u16string OnlyClue() {
        data->clues.clear();
        korvo::AssignClues(data.get());
        EXPECT_EQ(data->clues.size(), 1u);
        return data->clues.empty() ? u"" : data->clues[0].clue;
    }

    fs::path folder;
    std::unique_ptr<CCWData> data;
};

TEST_F(AssignClues, entriesFollowSlotOrderWithNumberDirectionAnswer) {
    WriteClues("CLUES1", "HO.CLU", "HOUSE\r\nHome\r\n");
    SetSlots({{"HOUSE", kAcross, 1}, {"ODE", kAcross, 4}, {"HOP", kDown, 1}, {"USE", kDown, 2}});
    korvo::AssignClues(data.get());
    ASSERT_EQ(data->clues.size(), 4u);
    const std::u16string answers[] = {u"HOUSE", u"ODE", u"HOP", u"USE"};
    const int numbers[] = {1, 4, 1, 2};
    const std::u16string directions[] = {u"ACROSS", u"ACROSS", u"DOWN", u"DOWN"};
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(data->clues[k].answer, answers[k]);
        EXPECT_EQ(data->clues[k].number, numbers[k]);
        EXPECT_EQ(data->clues[k].direction, directions[k]);
        EXPECT_EQ(data->clues[k].rect, RECT{});
    }
    EXPECT_EQ(data->clues[0].clue, u"Home");
    EXPECT_EQ(data->clues[1].clue, u"TO DO clue for: ODE");
    EXPECT_EQ(data->clues[2].clue, u"TO DO clue for: HOP");  // same file, no pair for the word
}

TEST_F(AssignClues, severalClues_pickOneWithTheThreadsRandomAndEveryOneOccurs) {
    WriteClues("CLUES1", "TR.CLU",
               "TREE\r\nOak, e.g.\r\nTRAY\r\nServer's aid\r\nTREE\r\nFamily chart\r\nTREE\r\nGrove member\n");
    SetSlots({{"TREE", kAcross, 1}});
    const std::u16string clues[] = {u"Oak, e.g.", u"Family chart", u"Grove member"};
    std::set<std::u16string> seen;
    for (std::uint32_t seed = 1; seed <= 40; ++seed) {
        Random::Seed(seed);
        const int expected = Random::Next() % 3;
        Random::Seed(seed);
        const std::u16string clue = OnlyClue();
        EXPECT_EQ(clue, clues[expected]) << "seed " << seed;
        // One draw for the word, none else.
        Random::Seed(seed);
        Random::Next();
        const std::uint32_t after = Random::State();
        Random::Seed(seed);
        OnlyClue();
        EXPECT_EQ(Random::State(), after);
        seen.insert(clue);
    }
    EXPECT_EQ(seen.size(), 3u);
}

TEST_F(AssignClues, wordWithoutClues_drawsNothing) {
    WriteClues("CLUES1", "ON.CLU", "ONE\r\nSingle\r\n");
    SetSlots({{"ONCE", kAcross, 1}, {"ONE", kDown, 1}});
    Random::Seed(99);
    korvo::AssignClues(data.get());
    ASSERT_EQ(data->clues.size(), 2u);
    EXPECT_EQ(data->clues[0].clue, u"TO DO clue for: ONCE");
    EXPECT_EQ(data->clues[1].clue, u"Single");
    Random::Seed(99);
    Random::Next();
    const std::uint32_t oneDraw = Random::State();
    Random::Seed(99);
    data->clues.clear();
    korvo::AssignClues(data.get());
    EXPECT_EQ(Random::State(), oneDraw);
}

TEST_F(AssignClues, wordListIdSelectsClueFolder) {
    for (int id = 1; id <= 5; ++id)
        WriteClues("CLUES" + std::to_string(id), "WO.CLU", "WORD\r\nList " + std::to_string(id) + "\r\n");
    SetSlots({{"WORD", kAcross, 1}});
    const struct {
        int id;
        std::u16string clue;
    } cases[] = {{1, u"List 1"}, {2, u"List 2"}, {3, u"List 3"}, {4, u"List 4"},
                 {5, u"List 5"}, {0, u"List 5"}, {9, u"List 5"}, {-1, u"List 5"}};
    for (const auto& c : cases) {
        data->wordListId = c.id;
        EXPECT_EQ(OnlyClue(), c.clue) << "id " << c.id;
    }
}

TEST_F(AssignClues, missingFolderOrNoDataFolder_givesPlaceholders) {
    SetSlots({{"WORD", kAcross, 1}});
    EXPECT_EQ(OnlyClue(), u"TO DO clue for: WORD");
    data->dataFolder.clear();
    EXPECT_EQ(OnlyClue(), u"TO DO clue for: WORD");
    EXPECT_EQ(ClueFolderFor(u"/data/x", 2), u"/data/x/CLUES2/");
    EXPECT_EQ(ClueFolderFor(u"/data/x/", 7), u"/data/x/CLUES5/");
}

TEST_F(AssignClues, slotCountOutOfRange_isClamped) {
    SetSlots({{"AB", kAcross, 1}});
    data->engine->slotCount = -3;
    korvo::AssignClues(data.get());
    EXPECT_TRUE(data->clues.empty());
    data->engine->slotCount = kMaxSlots + 100;
    korvo::AssignClues(data.get());
    EXPECT_EQ(data->clues.size(), static_cast<std::size_t>(kMaxSlots));
}

}  // namespace
}  // namespace korvo
