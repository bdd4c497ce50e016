#include "platform/archive.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

namespace korvo {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

LOGFONTW SampleFont() {
    LOGFONTW font;
    font.lfHeight = -12;
    font.lfWidth = 1;
    font.lfEscapement = 2;
    font.lfOrientation = 3;
    font.lfWeight = 700;
    font.lfItalic = 1;
    font.lfUnderline = 2;
    font.lfStrikeOut = 3;
    font.lfCharSet = 4;
    font.lfOutPrecision = 8;
    font.lfClipPrecision = 5;
    font.lfQuality = 6;
    font.lfPitchAndFamily = 2;
    SetFaceName(font, u"Arial");
    font.lfFaceName[31] = u'Z';  // bytes after the NUL are stored as they are
    return font;
}

TEST(ArchiveWriter, primitives_writeTheDocumentedLittleEndianBytes) {
    ArchiveWriter w;
    w.WriteByte(0xAB);
    w.WriteWord(0x1770);
    w.WriteInt32(-2);
    w.WriteUInt32(0x01020304);
    w.WriteBool(true);
    w.WriteBool(false);
    w.WriteColor(MakeColorRef(0x11, 0x22, 0x33));
    w.WriteRect(RECT{1, -1, 0x100, 0x7FFFFFFF});
    const Bytes expected{0xAB, 0x70, 0x17, 0xFE, 0xFF, 0xFF, 0xFF, 0x04, 0x03,
                         0x02, 0x01, 0x01, 0x00, 0x11, 0x22, 0x33, 0x00,  // COLORREF 0x00332211
                         0x01, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0x00,
                         0x01, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0x7F};
    EXPECT_EQ(w.Bytes(), expected);
    EXPECT_TRUE(w.Ok());
}

TEST(ArchiveWriter, font_writesNinetyTwoBytesFaceNameIncluded) {
    ArchiveWriter w;
    w.WriteFont(SampleFont());
    const Bytes& b = w.Bytes();
    ASSERT_EQ(b.size(), 92u);
    EXPECT_EQ(Bytes(b.begin(), b.begin() + 4), (Bytes{0xF4, 0xFF, 0xFF, 0xFF}));        // lfHeight -12
    EXPECT_EQ(Bytes(b.begin() + 16, b.begin() + 20), (Bytes{0xBC, 0x02, 0x00, 0x00}));  // lfWeight 700
    EXPECT_EQ(Bytes(b.begin() + 20, b.begin() + 28), (Bytes{1, 2, 3, 4, 8, 5, 6, 2}));
    EXPECT_EQ(Bytes(b.begin() + 28, b.begin() + 40), (Bytes{'A', 0, 'r', 0, 'i', 0, 'a', 0, 'l', 0, 0, 0}));
    EXPECT_EQ(Bytes(b.end() - 2, b.end()), (Bytes{'Z', 0}));

    ArchiveReader r(b);
    EXPECT_EQ(r.ReadFont(), SampleFont());
    EXPECT_TRUE(r.Ok());
    EXPECT_TRUE(r.AtEnd());
}

// The length prefix at every boundary of the three length forms.
TEST(ArchiveWriter, stringLengths_useTheShortestFormAndReadBack) {
    struct Case {
        std::size_t length;
        Bytes prefix;  // marker and length bytes
    };
    const std::vector<Case> cases{
        {0, {0xFF, 0xFE, 0xFF, 0x00}},
        {1, {0xFF, 0xFE, 0xFF, 0x01}},
        {225, {0xFF, 0xFE, 0xFF, 0xE1}},  // a 15 x 15 grid
        {254, {0xFF, 0xFE, 0xFF, 0xFE}},
        {255, {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0x00}},
        {441, {0xFF, 0xFE, 0xFF, 0xFF, 0xB9, 0x01}},  // a 21 x 21 grid
        {0xFFFD, {0xFF, 0xFE, 0xFF, 0xFF, 0xFD, 0xFF}},
        {0xFFFE, {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
        {0x10001, {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0x01, 0x00, 0x01, 0x00}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.length);
        std::u16string text(c.length, u'x');
        if (!text.empty()) text.back() = u'\uFFFF', text[0] = u'\u00A9';
        ArchiveWriter w;
        w.WriteString(text);
        const Bytes& b = w.Bytes();
        ASSERT_EQ(b.size(), c.prefix.size() + 2 * c.length);
        EXPECT_EQ(Bytes(b.begin(), b.begin() + static_cast<std::ptrdiff_t>(c.prefix.size())), c.prefix);
        if (!text.empty()) {
            EXPECT_EQ(b[c.prefix.size()], 0xA9);
            EXPECT_EQ(b[c.prefix.size() + 1], 0x00);
        }

        ArchiveReader r(b);
        EXPECT_EQ(r.ReadString(), text);
        EXPECT_TRUE(r.Ok()) << r.ErrorMessage();
        EXPECT_TRUE(r.AtEnd());
    }
}

// Both string forms a file may hold, in every length form the reader accepts.
TEST(ArchiveReader, stringForms_decodeToTheSameText) {
    struct Case {
        const char* name;
        Bytes bytes;
        std::u16string expected;
    };
    const std::vector<Case> cases{
        {"8-bit, byte length", {0x03, 'A', 'B', 'C'}, u"ABC"},
        {"8-bit, empty", {0x00}, u""},
        {"8-bit, Latin-1 widened", {0x02, 0xA9, 0xE9}, u"\u00A9\u00E9"},
        {"8-bit, FF + WORD length", {0xFF, 0x03, 0x00, 'A', 'B', 'C'}, u"ABC"},
        {"8-bit, FF FF FF + uint32 length", {0xFF, 0xFF, 0xFF, 0x03, 0x00, 0x00, 0x00, 'A', 'B', 'C'}, u"ABC"},
        {"UTF-16, byte length", {0xFF, 0xFE, 0xFF, 0x02, 'A', 0x00, 0x3B, 0x04}, u"A\u043B"},
        {"UTF-16, FF + WORD length", {0xFF, 0xFE, 0xFF, 0xFF, 0x02, 0x00, 'A', 0x00, 'B', 0x00}, u"AB"},
        {"UTF-16, FF FF FF + uint32 length",
         {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0x02, 0x00, 0x00, 0x00, 'A', 0x00, 'B', 0x00},
         u"AB"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ArchiveReader r(c.bytes);
        EXPECT_EQ(r.ReadString(), c.expected);
        EXPECT_TRUE(r.Ok()) << r.ErrorMessage();
        EXPECT_TRUE(r.AtEnd());
    }
}

TEST(ArchiveReader, stringLongerThanTheDataLeft_failsWithoutAllocating) {
    struct Case {
        const char* name;
        Bytes bytes;
    };
    // The uint32 lengths would need gigabytes if the reader trusted them.
    const std::vector<Case> cases{
        {"UTF-16 uint32 length FFFFFFFF", {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 'A', 0}},
        {"UTF-16 uint32 length 7FFFFFFF", {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F}},
        {"8-bit uint32 length", {0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x80, 'A'}},
        {"UTF-16 odd byte short", {0xFF, 0xFE, 0xFF, 0x02, 'A', 0x00, 'B'}},
        {"8-bit one byte short", {0x04, 'A', 'B', 'C'}},
        {"UTF-16 WORD length", {0xFF, 0xFE, 0xFF, 0xFF, 0x00, 0x01, 'A', 0x00}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ArchiveReader r(c.bytes);
        EXPECT_EQ(r.ReadString(), u"");
        EXPECT_FALSE(r.Ok());
        EXPECT_EQ(r.Error(), ArchiveError::LengthTooLarge);
        EXPECT_NE(r.ErrorMessage().find("string"), std::string::npos) << r.ErrorMessage();
    }
}

// A stream of every kind of field, cut at every length: each cut fails with
// a recorded error (never a crash or a read past the end); the whole stream reads.
TEST(ArchiveReader, streamCutAtEveryOffset_failsCleanly) {
    ArchiveWriter w;
    w.WriteObjectHeader("CCWData", 6000);
    w.WriteString(u"!@AB");
    w.WriteInt32(2);
    w.WriteByte(7);
    w.WriteWord(0xBEEF);
    w.WriteBool(true);
    w.WriteColor(0x00FF00FF);
    w.WriteRect(RECT{1, 2, 3, 4});
    w.WriteFont(SampleFont());
    w.WriteString(std::u16string(300, u'q'));
    w.WriteUInt32(60601);
    const Bytes full = w.TakeBytes();

    auto readAll = [](ArchiveReader& r) {
        bool headerOk = r.ReadObjectHeader("CCWData", 6000);
        std::u16string grid = r.ReadString();
        std::int32_t size = r.ReadInt32();
        r.ReadByte();
        r.ReadWord();
        r.ReadBool();
        r.ReadColor();
        RECT rect = r.ReadRect();
        LOGFONTW font = r.ReadFont();
        std::u16string notes = r.ReadString();
        std::uint32_t version = r.ReadUInt32();
        return std::make_tuple(headerOk, grid, size, rect, font, notes, version);
    };

    for (std::size_t cut = 0; cut < full.size(); ++cut) {
        SCOPED_TRACE(cut);
        ArchiveReader r(std::span<const std::uint8_t>(full.data(), cut));
        readAll(r);
        EXPECT_FALSE(r.Ok());
        EXPECT_TRUE(r.Error() == ArchiveError::EndOfData || r.Error() == ArchiveError::LengthTooLarge);
        EXPECT_LE(r.Position(), cut);
    }

    ArchiveReader r(full);
    auto [headerOk, grid, size, rect, font, notes, version] = readAll(r);
    EXPECT_TRUE(r.Ok()) << r.ErrorMessage();
    EXPECT_TRUE(r.AtEnd());
    EXPECT_TRUE(headerOk);
    EXPECT_EQ(grid, u"!@AB");
    EXPECT_EQ(size, 2);
    EXPECT_EQ(rect, (RECT{1, 2, 3, 4}));
    EXPECT_EQ(font, SampleFont());
    EXPECT_EQ(notes, std::u16string(300, u'q'));
    EXPECT_EQ(version, 60601u);
}

TEST(ArchiveReader, byteBlock_isReadWholeOrNotAtAll) {
    const Bytes bytes{1, 2, 3, 4, 5};
    ArchiveReader r(bytes);
    std::uint8_t first[3] = {};
    EXPECT_TRUE(r.ReadBytes(first));
    EXPECT_EQ(Bytes(first, first + 3), (Bytes{1, 2, 3}));
    std::uint8_t second[3] = {9, 9, 9};
    EXPECT_FALSE(r.ReadBytes(second)) << "only 2 bytes are left";
    EXPECT_EQ(Bytes(second, second + 3), (Bytes{0, 0, 0}));
    EXPECT_EQ(r.Error(), ArchiveError::EndOfData);
    EXPECT_EQ(r.Position(), 3u);
}

TEST(ArchiveReader, afterAFailure_everyReadGivesZeroAndTheFirstErrorStays) {
    const Bytes bytes{0x05, 'A', 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08};
    ArchiveReader r(std::span<const std::uint8_t>(bytes.data(), 3));  // "5 characters" but 2 left
    EXPECT_EQ(r.ReadString(), u"");
    ASSERT_EQ(r.Error(), ArchiveError::LengthTooLarge);
    const std::string firstMessage = r.ErrorMessage();
    const std::size_t position = r.Position();

    EXPECT_EQ(r.ReadByte(), 0);
    EXPECT_EQ(r.ReadWord(), 0);
    EXPECT_EQ(r.ReadInt32(), 0);
    EXPECT_FALSE(r.ReadBool());
    EXPECT_EQ(r.ReadRect(), RECT{});
    EXPECT_EQ(r.ReadFont(), LOGFONTW{});
    r.Fail(ArchiveError::BadValue, "later failure");

    EXPECT_EQ(r.Error(), ArchiveError::LengthTooLarge);
    EXPECT_EQ(r.ErrorMessage(), firstMessage);
    EXPECT_EQ(r.Position(), position) << "a failed reader consumes nothing more";
}

TEST(ArchiveReader, callerFailure_makesLaterReadsFail) {
    const Bytes bytes{0x01, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00};
    ArchiveReader r(bytes);
    EXPECT_EQ(r.ReadInt32(), 1);
    r.Fail(ArchiveError::BadValue, "grid size 1 is too small");
    EXPECT_EQ(r.ReadInt32(), 0);
    EXPECT_EQ(r.Error(), ArchiveError::BadValue);
    EXPECT_EQ(r.ErrorMessage(), "grid size 1 is too small");
}

TEST(ArchiveReader, boolReadsAnyNonZeroByteAsTrue) {
    const Bytes bytes{0x00, 0x01, 0x02, 0xFF};
    ArchiveReader r(bytes);
    EXPECT_FALSE(r.ReadBool());
    EXPECT_TRUE(r.ReadBool());
    EXPECT_TRUE(r.ReadBool());
    EXPECT_TRUE(r.ReadBool());
}

TEST(ArchiveObjectHeader, writesTheThirteenBytesOfTheCCWDataHeader) {
    ArchiveWriter w;
    w.WriteObjectHeader("CCWData", 6000);
    EXPECT_EQ(w.Bytes(), (Bytes{0xFF, 0xFF, 0x70, 0x17, 0x07, 0x00, 0x43, 0x43, 0x57, 0x44, 0x61, 0x74, 0x61}));

    ArchiveReader r(w.Bytes());
    EXPECT_TRUE(r.ReadObjectHeader("CCWData", 6000)) << r.ErrorMessage();
    EXPECT_TRUE(r.AtEnd());
}

TEST(ArchiveObjectHeader, damagedHeaders_areRejectedWithTheirReason) {
    const Bytes good{0xFF, 0xFF, 0x70, 0x17, 0x07, 0x00, 'C', 'C', 'W', 'D', 'a', 't', 'a'};
    auto with = [&](std::size_t offset, std::uint8_t value) {
        Bytes b = good;
        b[offset] = value;
        return b;
    };
    struct Case {
        const char* name;
        Bytes bytes;
        ArchiveError expected;
    };
    const std::vector<Case> cases{
        {"null object tag", Concat({{0x00, 0x00}, Bytes(good.begin() + 2, good.end())}), ArchiveError::BadClassTag},
        {"reference to an earlier class", Concat({{0x01, 0x80}, Bytes(good.begin() + 2, good.end())}),
         ArchiveError::BadClassTag},
        {"schema 6001", with(2, 0x71), ArchiveError::BadSchema},
        {"schema 0", Concat({{0xFF, 0xFF, 0x00, 0x00}, Bytes(good.begin() + 4, good.end())}), ArchiveError::BadSchema},
        {"name differs in case", with(12, 'A'), ArchiveError::BadClassName},
        {"name shorter", Concat({{0xFF, 0xFF, 0x70, 0x17, 0x06, 0x00}, Bytes(good.begin() + 6, good.end())}),
         ArchiveError::BadClassName},
        {"name longer", Concat({{0xFF, 0xFF, 0x70, 0x17, 0x08, 0x00}, Bytes(good.begin() + 6, good.end()), {'X'}}),
         ArchiveError::BadClassName},
        {"name of 64 characters", Concat({{0xFF, 0xFF, 0x70, 0x17, 0x40, 0x00}, Bytes(64, 'C')}),
         ArchiveError::BadClassName},
        {"name length past the end", Concat({{0xFF, 0xFF, 0x70, 0x17, 0xFF, 0xFF}, {'C', 'C'}}),
         ArchiveError::BadClassName},
        {"name cut short", Bytes(good.begin(), good.end() - 1), ArchiveError::EndOfData},
        {"empty file", {}, ArchiveError::EndOfData},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ArchiveReader r(c.bytes);
        EXPECT_FALSE(r.ReadObjectHeader("CCWData", 6000));
        EXPECT_EQ(r.Error(), c.expected) << r.ErrorMessage();
        EXPECT_FALSE(r.ErrorMessage().empty());
    }
}

TEST(ArchiveWriter, classNameTooLong_isReportedAndNotWritten) {
    ArchiveWriter w;
    w.WriteObjectHeader(std::string(64, 'C'), 1);
    EXPECT_FALSE(w.Ok());
    EXPECT_TRUE(w.Bytes().empty());
}

}  // namespace
}  // namespace korvo
