#pragma once

#include <cstdint>
#include <string>

namespace korvo {

// Where a clue was last drawn on the puzzle page, in page units.
struct ClueRect {
    std::int32_t left = 0;    // x of the left edge
    std::int32_t top = 0;     // y of the top edge (y grows downward)
    std::int32_t right = 0;   // x of the right edge
    std::int32_t bottom = 0;  // y of the bottom edge

    friend bool operator==(const ClueRect&, const ClueRect&) = default;
};

// One entry of the clue list.
struct ClueEntry {
    std::int32_t number = 0;   // clue number of the entry's first square
    std::u16string direction;  // u"ACROSS" or u"DOWN"
    std::u16string clue;       // the clue text
    std::u16string answer;     // the entry's word, upper case
    ClueRect rect;             // where the puzzle view last drew the clue; all zero when created
};

inline constexpr char16_t kAcrossText[] = u"ACROSS";
inline constexpr char16_t kDownText[] = u"DOWN";

}  // namespace korvo
