#pragma once

#include <cstdint>
#include <string>

#include "platform/win_types.h"

namespace korvo {

// One entry of the clue list.
struct ClueEntry {
    std::int32_t number = 0;   // clue number of the entry's first square
    std::u16string direction;  // u"ACROSS" or u"DOWN"
    std::u16string clue;       // the clue text
    std::u16string answer;     // the entry's word, upper case
    RECT rect;                 // where the puzzle view last drew the clue, in page units; all zero when created
};

inline constexpr char16_t kAcrossText[] = u"ACROSS";
inline constexpr char16_t kDownText[] = u"DOWN";

}  // namespace korvo
