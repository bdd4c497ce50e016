// Clue assignment after a successful fill.
#include "clues/assign_clues.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "clues/clue_database.h"
#include "model/cw_data.h"
#include "platform/random.h"

namespace korvo {

std::u16string ClueFolderFor(const std::u16string& dataFolder, int wordListId) {
    const char16_t digit = wordListId >= 1 && wordListId <= 4 ? static_cast<char16_t>(u'0' + wordListId) : u'5';
    std::u16string folder = dataFolder;
    if (folder.empty() || folder.back() != u'/') folder += u'/';
    folder += u"CLUES";
    folder += digit;
    folder += u'/';
    return folder;
}

std::u16string PlaceholderClue(const std::u16string& answer) { return u"TO DO clue for: " + answer; }

void AssignClues(CCWData* data) {
    if (data == nullptr || !data->engine) return;
    const FillEngine& engine = *data->engine;
    // Without a data folder there is no clue database: every entry gets its
    // placeholder (the folder would otherwise be taken from the file
    // system's root).
    std::unique_ptr<ClueDatabase> database;
    if (!data->dataFolder.empty())
        database = std::make_unique<ClueDatabase>(ClueFolderFor(data->dataFolder, data->wordListId));

    const int count = std::clamp(engine.slotCount, 0, kMaxSlots);
    for (int s = 0; s < count; ++s) {
        const Slot& slot = engine.slots[s];
        std::u16string answer;
        const std::size_t length = strnlen(slot.letters, sizeof slot.letters);
        for (std::size_t k = 0; k < length; ++k)
            answer += static_cast<char16_t>(static_cast<unsigned char>(slot.letters[k]));

        int clueCount = 0;
        if (database && !answer.empty())
            for (std::u16string r = database->Lookup(answer); !r.empty(); r = database->Lookup(u"")) ++clueCount;

        std::u16string clue;
        if (clueCount == 0) {
            clue = PlaceholderClue(answer);
        } else {
            const int pick = Random::Next() % clueCount + 1;
            clue = database->Lookup(answer);
            for (int k = 1; k < pick; ++k) clue = database->Lookup(u"");
            // The file changed between the two scans: fall back to the placeholder.
            if (clue.empty()) clue = PlaceholderClue(answer);
        }

        ClueEntry entry;
        entry.number = slot.number;
        entry.direction = slot.direction == kDown ? kDownText : kAcrossText;
        entry.clue = clue;
        entry.answer = answer;
        data->clues.push_back(entry);
    }
}

}  // namespace korvo
