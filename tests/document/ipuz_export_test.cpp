#include "document/ipuz_export.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "document/export_fixture.h"

namespace korvo {
namespace {

// ---------------------------------------------------------------------------
// A strict JSON reader for the tests: objects, arrays, strings (escapes and
// surrogate pairs decoded to UTF-8), integers, true, false, null. Anything
// else, including raw control characters in strings, invalid UTF-8,
// duplicate keys and trailing text, fails the parse.

struct Json {
    enum Type { Null, Bool, Int, String, Array, Object } type = Null;
    bool boolean = false;
    std::int64_t integer = 0;
    std::string text;
    std::vector<Json> items;
    std::map<std::string, Json> members;
    std::vector<std::string> keyOrder;

    const Json& operator[](const std::string& key) const {
        static const Json missing;
        const auto it = members.find(key);
        return it == members.end() ? missing : it->second;
    }
    const Json& operator[](std::size_t i) const {
        static const Json missing;
        return i < items.size() ? items[i] : missing;
    }
};

class JsonParser {
public:
    explicit JsonParser(const std::string& s) : s_(s) {}

    bool Parse(Json& out) {
        if (!ValidUtf8()) return false;
        Space();
        if (!Value(out, 0)) return false;
        Space();
        return at_ == s_.size();
    }

private:
    bool ValidUtf8() const {
        for (std::size_t i = 0; i < s_.size();) {
            const unsigned char c = s_[i];
            int extra = c < 0x80 ? 0 : (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : -1;
            if (extra < 0 || i + extra >= s_.size() + (extra == 0 ? 1 : 0)) return false;
            std::uint32_t cp = extra == 0 ? c : c & (0x3F >> extra);
            for (int k = 1; k <= extra; ++k) {
                const unsigned char d = s_[i + k];
                if ((d & 0xC0) != 0x80) return false;
                cp = (cp << 6) | (d & 0x3F);
            }
            static const std::uint32_t kMin[] = {0, 0x80, 0x800, 0x10000};
            if (cp < kMin[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
            i += extra + 1;
        }
        return true;
    }
    void Space() {
        while (at_ < s_.size() && (s_[at_] == ' ' || s_[at_] == '\n' || s_[at_] == '\r' || s_[at_] == '\t')) ++at_;
    }
    bool Literal(const char* word) {
        const std::string w(word);
        if (s_.compare(at_, w.size(), w) != 0) return false;
        at_ += w.size();
        return true;
    }
    static void PutUtf8(std::string& out, std::uint32_t c) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    bool Hex4(std::uint32_t& v) {
        if (at_ + 4 > s_.size()) return false;
        v = 0;
        for (int k = 0; k < 4; ++k) {
            const char c = s_[at_++];
            v <<= 4;
            if (c >= '0' && c <= '9')
                v |= c - '0';
            else if (c >= 'a' && c <= 'f')
                v |= c - 'a' + 10;
            else if (c >= 'A' && c <= 'F')
                v |= c - 'A' + 10;
            else
                return false;
        }
        return true;
    }
    bool StringBody(std::string& out) {
        if (at_ >= s_.size() || s_[at_] != '"') return false;
        ++at_;
        while (at_ < s_.size()) {
            const unsigned char c = s_[at_++];
            if (c == '"') return true;
            if (c < 0x20) return false;
            if (c != '\\') {
                out += static_cast<char>(c);
                continue;
            }
            if (at_ >= s_.size()) return false;
            const char e = s_[at_++];
            switch (e) {
                case '"': out += '"'; break;
                case '\\': out += '\\'; break;
                case '/': out += '/'; break;
                case 'b': out += '\b'; break;
                case 'f': out += '\f'; break;
                case 'n': out += '\n'; break;
                case 'r': out += '\r'; break;
                case 't': out += '\t'; break;
                case 'u': {
                    std::uint32_t v = 0;
                    if (!Hex4(v)) return false;
                    if (v >= 0xDC00 && v <= 0xDFFF) return false;
                    if (v >= 0xD800 && v <= 0xDBFF) {
                        std::uint32_t low = 0;
                        if (!Literal("\\u") || !Hex4(low) || low < 0xDC00 || low > 0xDFFF) return false;
                        v = 0x10000 + ((v - 0xD800) << 10) + (low - 0xDC00);
                    }
                    PutUtf8(out, v);
                    break;
                }
                default: return false;
            }
        }
        return false;
    }
    bool Value(Json& out, int depth) {
        if (depth > 64 || at_ >= s_.size()) return false;
        const char c = s_[at_];
        if (c == '{') {
            out.type = Json::Object;
            ++at_;
            Space();
            if (at_ < s_.size() && s_[at_] == '}') return ++at_, true;
            for (;;) {
                Space();
                std::string key;
                if (!StringBody(key)) return false;
                Space();
                if (at_ >= s_.size() || s_[at_++] != ':') return false;
                Space();
                Json v;
                if (!Value(v, depth + 1)) return false;
                if (!out.members.emplace(key, std::move(v)).second) return false;
                out.keyOrder.push_back(key);
                Space();
                if (at_ >= s_.size()) return false;
                const char d = s_[at_++];
                if (d == '}') return true;
                if (d != ',') return false;
            }
        }
        if (c == '[') {
            out.type = Json::Array;
            ++at_;
            Space();
            if (at_ < s_.size() && s_[at_] == ']') return ++at_, true;
            for (;;) {
                Space();
                Json v;
                if (!Value(v, depth + 1)) return false;
                out.items.push_back(std::move(v));
                Space();
                if (at_ >= s_.size()) return false;
                const char d = s_[at_++];
                if (d == ']') return true;
                if (d != ',') return false;
            }
        }
        if (c == '"') {
            out.type = Json::String;
            return StringBody(out.text);
        }
        if (c == '-' || (c >= '0' && c <= '9')) {
            out.type = Json::Int;
            const std::size_t start = at_;
            if (s_[at_] == '-') ++at_;
            if (at_ >= s_.size() || s_[at_] < '0' || s_[at_] > '9') return false;
            if (s_[at_] == '0' && at_ + 1 < s_.size() && s_[at_ + 1] >= '0' && s_[at_ + 1] <= '9') return false;
            while (at_ < s_.size() && s_[at_] >= '0' && s_[at_] <= '9') ++at_;
            out.integer = std::stoll(s_.substr(start, at_ - start));
            return true;
        }
        if (Literal("true")) return out.type = Json::Bool, out.boolean = true, true;
        if (Literal("false")) return out.type = Json::Bool, true;
        if (Literal("null")) return out.type = Json::Null, true;
        return false;
    }

    const std::string& s_;
    std::size_t at_ = 0;
};

Json ParseOrFail(const std::string& text) {
    Json j;
    EXPECT_TRUE(JsonParser(text).Parse(j)) << text;
    return j;
}

// ---------------------------------------------------------------------------

// The export fixtures' small puzzle with a numbered circled square and texts
// that JSON must escape: quotes, a backslash, CR LF, a tab, a character
// outside the BMP and a clue that would end an HTML script.
ExportPuzzle SmallPuzzle() {
    ExportPuzzle p = testsupport::SmallPuzzle();
    p.circled.assign(p.gridText.size(), 0);
    p.circled[0] = 1;          // numbered and circled
    p.circled[2 * 4 + 2] = 1;  // unnumbered and circled
    p.circled[0 * 4 + 3] = 1;  // a circled block
    p.title = u"Small \"Puzzle\" \u2116 1";
    p.author = u"Zo\u00eb \\ Example";
    p.notepad = u"Line one\r\nLine two\t\U0001F600";
    p.clues[7].clue = u"</script> & <b>";
    return p;
}

TEST(IpuzExport, smallPuzzle_parsesBackFieldByField) {
    const ExportResult result = WriteIpuzExport(SmallPuzzle());
    ASSERT_TRUE(result.ok()) << result.error;
    const Json j = ParseOrFail(result.bytes);
    ASSERT_EQ(j.type, Json::Object);
    const std::vector<std::string> keys = {"version",   "kind",  "dimensions", "title",    "author",
                                           "copyright", "notes", "puzzle",     "solution", "clues"};
    EXPECT_EQ(j.keyOrder, keys);
    EXPECT_EQ(j["version"].text, "http://ipuz.org/v2");
    ASSERT_EQ(j["kind"].items.size(), 1u);
    EXPECT_EQ(j["kind"][0].text, "http://ipuz.org/crossword#1");
    EXPECT_EQ(j["dimensions"]["width"].integer, 4);
    EXPECT_EQ(j["dimensions"]["height"].integer, 4);
    EXPECT_EQ(j["title"].text, "Small \"Puzzle\" \xe2\x84\x96 1");
    EXPECT_EQ(j["author"].text, "Zo\xc3\xab \\ Example");
    EXPECT_EQ(j["copyright"].text, "\xc2\xa9 2026 by Zo\xc3\xab");
    EXPECT_EQ(j["notes"].text, "Line one\r\nLine two\t\xf0\x9f\x98\x80");

    // Puzzle: numbers, 0 for unnumbered open squares, "#" blocks, circles as styled cells.
    const Json& puzzle = j["puzzle"];
    ASSERT_EQ(puzzle.items.size(), 4u);
    const char* expectedCells[4][4] = {
        {"(1)", "2", "3", "#"}, {"4", "0", "0", "5"}, {"6", "0", "(0)", "0"}, {"#", "7", "0", "0"}};
    for (int r = 0; r < 4; ++r) {
        ASSERT_EQ(puzzle[r].items.size(), 4u);
        for (int c = 0; c < 4; ++c) {
            SCOPED_TRACE(std::to_string(r) + "," + std::to_string(c));
            const Json& cell = puzzle[r][c];
            const std::string want = expectedCells[r][c];
            if (want == "#") {
                EXPECT_EQ(cell.type, Json::String);
                EXPECT_EQ(cell.text, "#");
            } else if (want.front() == '(') {
                ASSERT_EQ(cell.type, Json::Object);
                EXPECT_EQ(cell["cell"].type, Json::Int);
                EXPECT_EQ(cell["cell"].integer, std::stoi(want.substr(1)));
                EXPECT_EQ(cell["style"]["shapebg"].text, "circle");
                EXPECT_EQ(cell.members.size(), 2u);
                EXPECT_EQ(cell["style"].members.size(), 1u);
            } else {
                EXPECT_EQ(cell.type, Json::Int);
                EXPECT_EQ(cell.integer, std::stoi(want));
            }
        }
    }

    const char* rows[4] = {"CAB#", "AREA", "PEAR", "#ARE"};
    const Json& solution = j["solution"];
    ASSERT_EQ(solution.items.size(), 4u);
    for (int r = 0; r < 4; ++r) {
        ASSERT_EQ(solution[r].items.size(), 4u);
        for (int c = 0; c < 4; ++c) EXPECT_EQ(solution[r][c].text, std::string(1, rows[r][c]));
    }

    struct Clue {
        int number;
        std::string text;
    };
    const std::vector<Clue> across = {{1, "Taxi"},
                                      {4, "Zone"},
                                      {6, "Fruit with a \xe2\x80\x9cneck\xe2\x80\x9d"},
                                      {7, "Exist \xe2\x80\x94 plural form"}};
    const std::vector<Clue> down = {
        {1, "Baseball hat"}, {2, "Region"}, {3, "Teddy\xe2\x80\x99s kind"}, {5, "</script> & <b>"}};
    EXPECT_EQ(j["clues"].keyOrder, (std::vector<std::string>{"Across", "Down"}));
    for (const auto& [name, list] : {std::pair{"Across", across}, std::pair{"Down", down}}) {
        SCOPED_TRACE(name);
        const Json& got = j["clues"][name];
        ASSERT_EQ(got.items.size(), list.size());
        for (std::size_t k = 0; k < list.size(); ++k) {
            ASSERT_EQ(got[k].items.size(), 2u);
            EXPECT_EQ(got[k][0].integer, list[k].number);
            EXPECT_EQ(got[k][1].text, list[k].text);
        }
    }
}

TEST(IpuzExport, clueListOrder_followsTheNumbering) {
    ExportPuzzle p = SmallPuzzle();
    std::reverse(p.clues.begin(), p.clues.end());
    const Json j = ParseOrFail(WriteIpuzExport(p).bytes);
    std::vector<std::int64_t> across, down;
    for (const Json& c : j["clues"]["Across"].items) across.push_back(c[0].integer);
    for (const Json& c : j["clues"]["Down"].items) down.push_back(c[0].integer);
    EXPECT_EQ(across, (std::vector<std::int64_t>{1, 4, 6, 7}));
    EXPECT_EQ(down, (std::vector<std::int64_t>{1, 2, 3, 5}));
}

TEST(IpuzExport, awkwardTexts_stayValidJsonAndRoundTrip) {
    ExportPuzzle p = SmallPuzzle();
    std::u16string lone = u"x";
    lone += char16_t{0xD800};
    p.title = std::u16string(u"\0\x01\x1f\x7f", 4);
    p.author = lone;
    p.notepad = u"\u2028\u2029";
    p.clues[0].clue = u"\"\\/";
    const ExportResult r = WriteIpuzExport(p);
    ASSERT_TRUE(r.ok()) << r.error;
    const Json j = ParseOrFail(r.bytes);
    EXPECT_EQ(j["title"].text, std::string("\0\x01\x1f\x7f", 4));
    EXPECT_EQ(j["author"].text, "x\xef\xbf\xbd");
    EXPECT_EQ(j["notes"].text, "\xe2\x80\xa8\xe2\x80\xa9");
    EXPECT_EQ(j["clues"]["Across"][0][1].text, "\"\\/");
}

TEST(IpuzExport, bigGrid_hasEveryRowAndNoCirclesWhenNoneAreSet) {
    ExportPuzzle p;
    p.size = 28;
    p.gridText.assign(28 * 28, u'E');
    p.circled.clear();
    for (int i = 0; i < 28; ++i) {
        p.clues.push_back({i + 1, true, u"d", u""});  // row 0 starts the 28 down entries
    }
    for (int r = 0; r < 28; ++r) p.clues.push_back({r == 0 ? 1 : 28 + r, false, u"a", u""});
    const ExportResult r = WriteIpuzExport(p);
    ASSERT_TRUE(r.ok()) << r.error;
    const Json j = ParseOrFail(r.bytes);
    ASSERT_EQ(j["puzzle"].items.size(), 28u);
    for (const Json& row : j["puzzle"].items) {
        ASSERT_EQ(row.items.size(), 28u);
        for (const Json& cell : row.items) EXPECT_EQ(cell.type, Json::Int);
    }
    EXPECT_EQ(j["puzzle"][27][0].integer, 55);
    EXPECT_EQ(j["clues"]["Across"].items.size(), 28u);
    EXPECT_EQ(j["clues"]["Down"].items.size(), 28u);
}

TEST(IpuzExport, badPuzzles_areRefusedWithoutBytes) {
    std::vector<std::pair<const char*, ExportPuzzle>> cases;
    auto with = [&](const char* name, auto change) {
        ExportPuzzle p = SmallPuzzle();
        change(p);
        cases.push_back({name, p});
    };
    with("a missing clue", [](ExportPuzzle& p) { p.clues.erase(p.clues.begin()); });
    with("an extra clue", [](ExportPuzzle& p) { p.clues.push_back({9, true, u"x", u""}); });
    with("a clue twice", [](ExportPuzzle& p) { p.clues.push_back(p.clues.back()); });
    with("an empty square", [](ExportPuzzle& p) { p.gridText[1] = u'@'; });
    with("size 29", [](ExportPuzzle& p) { p.size = 29; });
    with("a short grid text", [](ExportPuzzle& p) { p.gridText.resize(3); });
    for (const auto& [name, p] : cases) {
        SCOPED_TRACE(name);
        const ExportResult r = WriteIpuzExport(p);
        EXPECT_FALSE(r.ok());
        EXPECT_TRUE(r.bytes.empty());
    }
}

TEST(JsonTestReader, rejectsMalformedText) {
    // The reader's own strictness, so that a parse that passes means something.
    for (const char* bad : {"", "{", "{\"a\":1,}", "[1 2]", "\"a\x01\"", "\"\\x\"", "\"\\ud800\"", "\"\xc3\"",
                            "\"\xed\xa0\x80\"", "{\"a\":1,\"a\":2}", "01", "[1] x", "tru"}) {
        Json j;
        EXPECT_FALSE(JsonParser(bad).Parse(j)) << bad;
    }
}

}  // namespace
}  // namespace korvo
