#include "platform/win_types.h"

#include <algorithm>

namespace korvo {

void SetFaceName(LOGFONTW& font, std::u16string_view name) {
    const std::size_t kept = std::min<std::size_t>(name.size(), kFaceNameUnits - 1);
    std::fill(std::begin(font.lfFaceName), std::end(font.lfFaceName), u'\0');
    std::copy_n(name.begin(), kept, font.lfFaceName);
}

std::u16string FaceName(const LOGFONTW& font) {
    const char16_t* begin = font.lfFaceName;
    const char16_t* end = std::find(begin, begin + kFaceNameUnits, u'\0');
    return std::u16string(begin, end);
}

}  // namespace korvo
