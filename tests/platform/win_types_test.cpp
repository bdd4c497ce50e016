#include "platform/win_types.h"

#include <gtest/gtest.h>

namespace korvo {
namespace {

TEST(WinTypes, faceName_isCutToThirtyOneUnitsAndNulFilled) {
    LOGFONTW font;
    for (char16_t& unit : font.lfFaceName) unit = u'#';
    SetFaceName(font, u"Arial");
    EXPECT_EQ(FaceName(font), u"Arial");
    for (int i = 5; i < kFaceNameUnits; ++i) EXPECT_EQ(font.lfFaceName[i], u'\0') << i;

    const std::u16string longName(40, u'W');
    SetFaceName(font, longName);
    EXPECT_EQ(FaceName(font), longName.substr(0, 31));
    EXPECT_EQ(font.lfFaceName[31], u'\0');
}

TEST(WinTypes, faceNameWithoutNul_stopsAtTheArrayEnd) {
    LOGFONTW font;
    for (char16_t& unit : font.lfFaceName) unit = u'Q';
    EXPECT_EQ(FaceName(font), std::u16string(32, u'Q'));
}

// COLORREF holds red in the low byte.
static_assert(MakeColorRef(0x12, 0x34, 0x56) == 0x00563412);
static_assert(RedOf(0x00563412) == 0x12 && GreenOf(0x00563412) == 0x34 && BlueOf(0x00563412) == 0x56);

}  // namespace
}  // namespace korvo
