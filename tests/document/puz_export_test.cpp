#include "document/puz_export.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "document/export_fixture.h"

namespace korvo {
namespace {

// ---------------------------------------------------------------------------
// An Across Lite binary reader written from the format's published facts,
// independent of the writer: it re-reads an export, recomputes every checksum
// and reports what it finds.

std::uint16_t Sum(const std::string& data, std::uint16_t c) {
    for (unsigned char b : data) {
        c = static_cast<std::uint16_t>(((c & 1) ? 0x8000 : 0) | (c >> 1));
        c = static_cast<std::uint16_t>(c + b);
    }
    return c;
}

struct PuzFile {
    int width = 0;
    int height = 0;
    int clueCount = 0;
    int puzzleType = 0;
    int scrambledTag = 0;
    std::string version;
    std::string solution;
    std::string player;
    std::string title, author, copyright, notes;
    std::vector<std::string> clues;
    std::optional<std::string> gext;  // GEXT data when present
    std::vector<std::string> sectionNames;
    std::vector<std::string> problems;  // every check that failed
};

std::uint16_t Short(const std::string& b, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(b[at]) | (static_cast<unsigned char>(b[at + 1]) << 8));
}

// The numbering rule of the format: a square starting an across entry
// (edge or block left, open right) or a down entry (edge or block above,
// open below) gets the next number; returns (number, isDown) in string order.
std::vector<std::pair<int, bool>> EntriesOf(const std::string& solution, int w, int h) {
    std::vector<std::pair<int, bool>> entries;
    auto black = [&](int r, int c) { return r < 0 || c < 0 || r >= h || c >= w || solution[r * w + c] == '.'; };
    int number = 0;
    for (int r = 0; r < h; ++r) {
        for (int c = 0; c < w; ++c) {
            if (black(r, c)) continue;
            const bool a = black(r, c - 1) && !black(r, c + 1);
            const bool d = black(r - 1, c) && !black(r + 1, c);
            if (!a && !d) continue;
            ++number;
            if (a) entries.push_back({number, false});
            if (d) entries.push_back({number, true});
        }
    }
    return entries;
}

PuzFile ReadPuz(const std::string& b) {
    PuzFile f;
    auto fail = [&f](const std::string& what) { f.problems.push_back(what); };
    if (b.size() < 0x34) {
        fail("short header");
        return f;
    }
    if (b.compare(2, 12, std::string("ACROSS&DOWN\0", 12)) != 0) fail("magic");
    f.version = b.substr(0x18, 4);
    if (Short(b, 0x1C) != 0 || Short(b, 0x1E) != 0 || b.substr(0x20, 12) != std::string(12, '\0'))
        fail("reserved bytes");
    f.width = static_cast<unsigned char>(b[0x2C]);
    f.height = static_cast<unsigned char>(b[0x2D]);
    f.clueCount = Short(b, 0x2E);
    f.puzzleType = Short(b, 0x30);
    f.scrambledTag = Short(b, 0x32);
    const std::size_t cells = static_cast<std::size_t>(f.width) * f.height;
    std::size_t at = 0x34;
    if (b.size() < at + 2 * cells) {
        fail("short boards");
        return f;
    }
    f.solution = b.substr(at, cells);
    f.player = b.substr(at + cells, cells);
    at += 2 * cells;
    auto readString = [&](std::string& s) {
        const std::size_t end = b.find('\0', at);
        if (end == std::string::npos) {
            fail("unterminated string");
            at = b.size();
            return;
        }
        s = b.substr(at, end - at);
        at = end + 1;
    };
    readString(f.title);
    readString(f.author);
    readString(f.copyright);
    f.clues.resize(f.clueCount);
    for (std::string& clue : f.clues) readString(clue);
    readString(f.notes);
    while (at < b.size()) {
        if (b.size() < at + 8) {
            fail("short section header");
            break;
        }
        const std::string name = b.substr(at, 4);
        const std::size_t length = Short(b, at + 4);
        const std::uint16_t sum = Short(b, at + 6);
        if (b.size() < at + 8 + length + 1) {
            fail("short section " + name);
            break;
        }
        const std::string data = b.substr(at + 8, length);
        if (b[at + 8 + length] != '\0') fail("section " + name + " not NUL-terminated");
        if (Sum(data, 0) != sum) fail("section " + name + " checksum");
        f.sectionNames.push_back(name);
        if (name == "GEXT") {
            if (length != cells) fail("GEXT size");
            f.gext = data;
        }
        at += 8 + length + 1;
    }

    // Checksums.
    const std::uint16_t cib = Sum(b.substr(0x2C, 8), 0);
    if (Short(b, 0x0E) != cib) fail("CIB checksum");
    auto text = [&](std::uint16_t c) {
        if (!f.title.empty()) c = Sum(f.title + '\0', c);
        if (!f.author.empty()) c = Sum(f.author + '\0', c);
        if (!f.copyright.empty()) c = Sum(f.copyright + '\0', c);
        for (const std::string& clue : f.clues) c = Sum(clue, c);
        if (!f.notes.empty()) c = Sum(f.notes + '\0', c);  // version 1.3
        return c;
    };
    if (Short(b, 0x00) != text(Sum(f.player, Sum(f.solution, cib)))) fail("global checksum");
    const std::uint16_t parts[4] = {cib, Sum(f.solution, 0), Sum(f.player, 0), text(0)};
    const char* low = "ICHE";
    const char* high = "ATED";
    for (int k = 0; k < 4; ++k) {
        if (static_cast<unsigned char>(b[0x10 + k]) != (static_cast<unsigned char>(low[k]) ^ (parts[k] & 0xFF)) ||
            static_cast<unsigned char>(b[0x14 + k]) != (static_cast<unsigned char>(high[k]) ^ (parts[k] >> 8)))
            fail("masked checksum " + std::to_string(k));
    }

    // Boards and clue count against the grid.
    for (std::size_t i = 0; i < cells; ++i) {
        const char s = f.solution[i];
        const char p = f.player[i];
        if (s == '.' ? p != '.' : (p != '-' || s < 'A' || s > 'Z')) fail("board square " + std::to_string(i));
    }
    if (static_cast<std::size_t>(f.clueCount) != EntriesOf(f.solution, f.width, f.height).size())
        fail("clue count differs from the grid's entries");
    return f;
}

// ---------------------------------------------------------------------------
// Puzzles.

using testsupport::MakePuzzle;
using testsupport::SmallPuzzle;

// Clues "<number> Across" / "<number> Down" in the model's list order
// (across by number, then down by number), from the test's own numbering.
void AddNumberedClues(ExportPuzzle& p) {
    std::string sol;
    for (char16_t c : p.gridText) sol += c == u'!' ? '.' : 'A';
    const auto entries = EntriesOf(sol, p.size, p.size);
    for (const bool down : {false, true}) {
        for (const auto& [number, d] : entries) {
            if (d != down) continue;
            std::string text = std::to_string(number) + (down ? " Down" : " Across");
            p.clues.push_back({number, down, std::u16string(text.begin(), text.end()), u""});
        }
    }
}

// A 15 x 15 grid with a half-turn-symmetric block pattern and letters.
ExportPuzzle FifteenPuzzle() {
    ExportPuzzle p;
    p.size = 15;
    p.gridText.assign(225, u'A');
    const int blocks[][2] = {{0, 4}, {0, 10}, {1, 4},  {2, 4}, {3, 0}, {3, 1}, {3, 8},
                             {4, 6}, {5, 3},  {5, 12}, {6, 7}, {7, 0}, {7, 1}, {7, 2}};
    for (const auto& b : blocks) {
        p.gridText[b[0] * 15 + b[1]] = u'!';
        p.gridText[(14 - b[0]) * 15 + (14 - b[1])] = u'!';
    }
    for (std::size_t i = 0; i < 225; ++i)
        if (p.gridText[i] != u'!') p.gridText[i] = static_cast<char16_t>(u'A' + (i * 7) % 26);
    p.circled.assign(225, 0);
    p.circled[16] = 1;
    p.circled[224 - 16] = 1;
    AddNumberedClues(p);
    p.title = u"Fifteen";
    return p;
}

std::string ReadFixture(const std::string& name) {
    std::ifstream in(std::string(KORVO_TEST_DATA_DIR) + "/exports/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// ---------------------------------------------------------------------------

TEST(PuzExport, smallPuzzle_matchesHandBuiltFileByteForByte) {
    const ExportResult r = WritePuzExport(SmallPuzzle());
    ASSERT_TRUE(r.ok()) << r.error;
    const std::string expected = ReadFixture("small.puz");
    ASSERT_FALSE(expected.empty()) << "fixture missing";
    EXPECT_EQ(r.bytes, expected);
}

TEST(PuzExport, smallPuzzle_rereadsWithValidChecksumsBoardsClueOrderAndCircles) {
    const ExportResult r = WritePuzExport(SmallPuzzle());
    ASSERT_TRUE(r.ok()) << r.error;
    const PuzFile f = ReadPuz(r.bytes);
    EXPECT_TRUE(f.problems.empty()) << ::testing::PrintToString(f.problems);
    EXPECT_EQ(f.version, std::string("1.3\0", 4));
    EXPECT_EQ(f.width, 4);
    EXPECT_EQ(f.height, 4);
    EXPECT_EQ(f.puzzleType, 1);
    EXPECT_EQ(f.scrambledTag, 0);
    EXPECT_EQ(f.solution, "CAB.AREAPEAR.ARE");
    EXPECT_EQ(f.player, "---.--------.---");
    EXPECT_EQ(f.title, "Small Puzzle ? 1");
    EXPECT_EQ(f.author, "Zo\xeb Example");
    EXPECT_EQ(f.copyright, "\xa9 2026 by Zo\xeb");
    EXPECT_EQ(f.notes, "Line one\nLine two");
    // By number, the across clue before the down clue of the same number.
    const std::vector<std::string> clues = {"Taxi",
                                            "Baseball hat",
                                            "Region",
                                            "Teddy's kind",
                                            "Zone",
                                            "\"Is,\" plurally...",
                                            "Fruit with a \"neck\"",
                                            "Exist -- plural form"};
    EXPECT_EQ(f.clues, clues);
    ASSERT_TRUE(f.gext.has_value());
    std::string gext(16, '\0');
    gext[5] = '\x80';
    gext[10] = '\x80';  // the circled block carries nothing
    EXPECT_EQ(*f.gext, gext);
    EXPECT_EQ(f.sectionNames, std::vector<std::string>{"GEXT"});
}

// Every export of these puzzles must pass the reader's checks; each case
// aims at one of the usual checksum or layout slips.
TEST(PuzExport, variedPuzzles_passEveryCheckOfTheReader) {
    struct Case {
        const char* name;
        ExportPuzzle puzzle;
        bool gext;
    };
    std::vector<Case> cases;
    {
        ExportPuzzle p = SmallPuzzle();
        p.title.clear();
        p.author.clear();
        p.copyright.clear();
        p.notepad.clear();
        p.clues[2].clue.clear();  // an empty clue adds nothing to the sums but keeps its NUL
        cases.push_back({"empty texts and an empty clue", p, true});
    }
    {
        ExportPuzzle p = SmallPuzzle();
        p.circled.assign(16, 0);
        cases.push_back({"no circles", p, false});
    }
    {
        ExportPuzzle p = SmallPuzzle();
        p.circled.assign(16, 0);
        p.circled[3] = 1;
        cases.push_back({"only a circled block", p, false});
    }
    {
        ExportPuzzle p = SmallPuzzle();
        p.circled.clear();  // a short circle list counts as uncircled
        cases.push_back({"empty circle list", p, false});
    }
    {
        ExportPuzzle p = SmallPuzzle();
        p.gridText = u"cab!areapear!are";  // lower-case grid letters are letters
        cases.push_back({"lower-case grid", p, true});
    }
    {
        ExportPuzzle p = SmallPuzzle();
        p.notepad = std::u16string(3000, u'n');  // long notes: sums wrap around many times
        p.clues[0].clue = std::u16string(500, u'\u00e9');
        cases.push_back({"long texts", p, true});
    }
    cases.push_back({"15 x 15", FifteenPuzzle(), true});
    {
        ExportPuzzle p = MakePuzzle({u"AB", u"CD"});
        AddNumberedClues(p);
        cases.push_back({"2 x 2 without blocks", p, false});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ExportResult r = WritePuzExport(c.puzzle);
        ASSERT_TRUE(r.ok()) << r.error;
        const PuzFile f = ReadPuz(r.bytes);
        EXPECT_TRUE(f.problems.empty()) << ::testing::PrintToString(f.problems);
        EXPECT_EQ(f.gext.has_value(), c.gext);
        EXPECT_EQ(f.clueCount, static_cast<int>(c.puzzle.clues.size()));
        for (std::size_t i = 0; i < c.puzzle.gridText.size(); ++i) {
            const bool circled = i < c.puzzle.circled.size() && c.puzzle.circled[i] && f.solution[i] != '.';
            if (f.gext) {
                EXPECT_EQ(static_cast<unsigned char>((*f.gext)[i]), circled ? 0x80 : 0) << i;
            }
        }
    }
}

TEST(PuzExport, clueOrder_followsTheGridWhateverTheListOrder) {
    ExportPuzzle p = FifteenPuzzle();
    std::reverse(p.clues.begin(), p.clues.end());
    const ExportResult r = WritePuzExport(p);
    ASSERT_TRUE(r.ok()) << r.error;
    const PuzFile f = ReadPuz(r.bytes);
    ASSERT_TRUE(f.problems.empty()) << ::testing::PrintToString(f.problems);
    const auto entries = EntriesOf(f.solution, 15, 15);
    ASSERT_EQ(f.clues.size(), entries.size());
    for (std::size_t k = 0; k < entries.size(); ++k)
        EXPECT_EQ(f.clues[k], std::to_string(entries[k].first) + (entries[k].second ? " Down" : " Across"));
}

TEST(PuzExport, badPuzzles_areRefusedWithoutBytes) {
    struct Case {
        const char* name;
        ExportPuzzle puzzle;
    };
    std::vector<Case> cases;
    auto with = [&](const char* name, auto change) {
        ExportPuzzle p = SmallPuzzle();
        change(p);
        cases.push_back({name, p});
    };
    with("a missing clue", [](ExportPuzzle& p) { p.clues.pop_back(); });
    with("an extra clue", [](ExportPuzzle& p) { p.clues.push_back({8, false, u"x", u""}); });
    with("a clue twice", [](ExportPuzzle& p) { p.clues.push_back(p.clues[0]); });
    with("a clue in the wrong direction", [](ExportPuzzle& p) { p.clues[1].down = true; });
    with("an empty clue list", [](ExportPuzzle& p) { p.clues.clear(); });
    with("an empty square", [](ExportPuzzle& p) { p.gridText[5] = u'@'; });
    with("a square without a word", [](ExportPuzzle& p) { p.gridText[5] = u'?'; });
    with("a letter outside A to Z", [](ExportPuzzle& p) { p.gridText[5] = u'\u00c9'; });
    with("size 0", [](ExportPuzzle& p) {
        p.size = 0;
        p.gridText.clear();
    });
    with("negative size", [](ExportPuzzle& p) { p.size = -4; });
    with("size 29", [](ExportPuzzle& p) {
        p.size = 29;
        p.gridText.assign(29 * 29, u'A');
    });
    with("a short grid text", [](ExportPuzzle& p) { p.gridText.pop_back(); });
    with("a long grid text", [](ExportPuzzle& p) { p.gridText += u'A'; });
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ExportResult r = WritePuzExport(c.puzzle);
        EXPECT_FALSE(r.ok());
        EXPECT_TRUE(r.bytes.empty());
    }
}

TEST(PuzExport, checksum_matchesTheFormatsRotateAndAdd) {
    // Hand-computed: 0 -> +'A' = 0x41; rotate 0x41 -> 0x8020, +'B' = 0x8062.
    EXPECT_EQ(PuzChecksum("A", 0), 0x41);
    EXPECT_EQ(PuzChecksum("AB", 0), 0x8062);
    EXPECT_EQ(PuzChecksum("", 0x1234), 0x1234);
    EXPECT_EQ(PuzChecksum(std::string_view("\xff\xff", 2), 0xFFFF), Sum("\xff\xff", 0xFFFF));
}

}  // namespace
}  // namespace korvo
