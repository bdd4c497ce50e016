#include "platform/text_codec.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace korvo {
namespace {

TEST(TextCodec, latin1_keepsOneBytePerCharacterAndMarksTheRest) {
    EXPECT_EQ(EncodeLatin1(u"TO DO: \u00A9 2024 by Author"), "TO DO: \xA9 2024 by Author");
    EXPECT_EQ(EncodeLatin1(u"\u00FF\u0100\u20AC\U0001F600x"),
              "\xFF???"
              "?x")
        << "a surrogate pair is two units";
    EXPECT_EQ(EncodeLatin1(std::u16string(u"a\0b", 3)), std::string("a\0b", 3));

    std::string allBytes;
    for (int i = 0; i < 256; ++i) allBytes += static_cast<char>(i);
    const std::u16string wide = DecodeLatin1(allBytes);
    ASSERT_EQ(wide.size(), 256u);
    for (int i = 0; i < 256; ++i) EXPECT_EQ(wide[i], static_cast<char16_t>(i));
    EXPECT_EQ(EncodeLatin1(wide), allBytes);
}

TEST(TextCodec, narrowing_keepsTheLowEightBits) {
    EXPECT_EQ(Narrow(u"ABC!@?"), "ABC!@?");
    EXPECT_EQ(Narrow(u"\u0141\u00A9"), "\x41\xA9") << "U+0141 keeps its low byte 0x41";
    EXPECT_EQ(Widen("\xC9T\xC9"), u"\u00C9T\u00C9");
    EXPECT_EQ(Narrow(Widen("WORD")), "WORD");
}

TEST(TextCodec, utf8_roundTripsEveryPlaneAndReplacesBrokenInput) {
    const std::u16string text = u"A\u00E9\u0416\u20AC\U0001F600";
    EXPECT_EQ(Utf8FromUtf16(text), "A\xC3\xA9\xD0\x96\xE2\x82\xAC\xF0\x9F\x98\x80");
    EXPECT_EQ(Utf16FromUtf8(Utf8FromUtf16(text)), text);

    struct Case {
        const char* name;
        std::string utf8;
        std::u16string expected;
    };
    const std::vector<Case> cases{
        {"lone continuation byte",
         "a\x80"
         "b",
         u"a\uFFFDb"},
        {"cut sequence at the end", "a\xE2\x82", u"a\uFFFD"},
        {"cut sequence before ASCII", "\xE2\x82z", u"\uFFFDz"},
        {"overlong slash", "\xC0\xAF", u"\uFFFD\uFFFD"},
        {"overlong three-byte", "\xE0\x80\xAF", u"\uFFFD"},
        {"encoded surrogate", "\xED\xA0\x80", u"\uFFFD"},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80", u"\uFFFD"},
        {"invalid lead byte", "\xFF", u"\uFFFD"},
    };
    for (const Case& c : cases) EXPECT_EQ(Utf16FromUtf8(c.utf8), c.expected) << c.name;

    EXPECT_EQ(Utf8FromUtf16(u"x\xD800y"), "x\xEF\xBF\xBDy") << "unpaired high surrogate";
    EXPECT_EQ(Utf8FromUtf16(u"\xDC00"), "\xEF\xBF\xBD") << "unpaired low surrogate";
}

TEST(TextCodec, upperCasing_changesOnlyTheLettersOfEachRule) {
    EXPECT_EQ(ToUpperAscii(std::string("az AZ@!?\xE9{")), "AZ AZ@!?\xE9{");
    EXPECT_EQ(ToUpperAscii(std::u16string(u"house \u00E9")), u"HOUSE \u00E9");

    EXPECT_EQ(ToUpperLatin1(std::u16string(u"caf\u00E9 \u00F6l \u00FE")), u"CAF\u00C9 \u00D6L \u00DE");
    // Small letters whose capitals lie outside Latin-1, the division sign and
    // other scripts stay as they are.
    EXPECT_EQ(ToUpperLatin1(std::u16string(u"\u00DF\u00FF\u00B5\u00F7\u0436")), u"\u00DF\u00FF\u00B5\u00F7\u0436");
    for (char16_t c = 0; c < 0x100; ++c) {
        const char16_t upper = ToUpperLatin1(c);
        EXPECT_LE(upper, 0xFF);
        if (upper != c) {
            EXPECT_EQ(upper, c - 0x20) << static_cast<int>(c);
        }
    }
}

}  // namespace
}  // namespace korvo
