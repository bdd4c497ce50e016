// Checks the shipped clue sources cdata1.bin ... cdata5.bin as the installer
// will read them, by parsing the bytes directly: the line format, the clue
// rules and the share of each word list's words that have a clue.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

const std::string binDir = KORVO_BIN_DIR;

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct Pair {
    std::string word;
    std::string clue;
};

// Splits a clue source into its (word, clue) pairs. Every line must end with
// CR LF; the first fault found is put into *fault and parsing stops.
std::vector<Pair> ParsePairs(const std::string& bytes, std::string* fault) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t lf = bytes.find('\n', start);
        if (lf == std::string::npos) {
            *fault = "last line has no line end";
            return {};
        }
        if (lf == start || bytes[lf - 1] != '\r') {
            *fault = "bare LF after line " + std::to_string(lines.size());
            return {};
        }
        std::string line = bytes.substr(start, lf - 1 - start);
        if (line.find('\r') != std::string::npos) {
            *fault = "stray CR in line " + std::to_string(lines.size() + 1);
            return {};
        }
        lines.push_back(line);
        start = lf + 1;
    }
    if (lines.size() % 2 != 0) {
        *fault = "odd number of lines";
        return {};
    }
    std::vector<Pair> pairs;
    for (size_t i = 0; i < lines.size(); i += 2) pairs.push_back({lines[i], lines[i + 1]});
    return pairs;
}

// The words of a word list file: each byte XOR 0x3B, each word ended by 0x3B.
std::vector<std::string> ReadWordList(const std::string& path) {
    std::string bytes = ReadBytes(path);
    std::vector<std::string> words;
    std::string word;
    for (char c : bytes) {
        unsigned char b = static_cast<unsigned char>(c);
        if (b == 0x3B) {
            if (word.size() >= 2 && word.size() <= 21) words.push_back(word);
            word.clear();
        } else {
            word.push_back(static_cast<char>(b ^ 0x3B));
        }
    }
    return words;
}

std::vector<std::string> LowerWords(const std::string& text) {
    std::vector<std::string> words;
    std::string word;
    for (char c : text + " ") {
        if (c >= 'a' && c <= 'z') {
            word.push_back(c);
        } else if (c >= 'A' && c <= 'Z') {
            word.push_back(static_cast<char>(c - 'A' + 'a'));
        } else if (!word.empty()) {
            words.push_back(word);
            word.clear();
        }
    }
    return words;
}

bool OneLetterOff(const std::string& a, const std::string& b) {
    if (a.size() == b.size()) {
        int differences = 0;
        for (size_t i = 0; i < a.size(); ++i) differences += a[i] != b[i];
        return differences == 1;
    }
    const std::string& shorter = a.size() < b.size() ? a : b;
    const std::string& longer = a.size() < b.size() ? b : a;
    if (longer.size() != shorter.size() + 1) return false;
    for (size_t skip = 0; skip < longer.size(); ++skip) {
        if (longer.substr(0, skip) + longer.substr(skip + 1) == shorter) return true;
    }
    return false;
}

// Why a clue names its answer, or the empty string when it does not.
std::string GivesAway(const std::string& clue, const std::string& upperAnswer) {
    std::string answer = LowerWords(upperAnswer).empty() ? "" : LowerWords(upperAnswer)[0];
    for (const std::string& w : LowerWords(clue)) {
        if (w == answer) return "holds the answer as a word";
        if (answer.size() >= 3 && w.find(answer) != std::string::npos) return "a word holds the answer: " + w;
        // Short function words are no part of a longer answer's meaning ("The ___ limit" for THERMODYNAMIC).
        bool functionWord =
            w == "the" || w == "and" || w == "for" || w == "but" || w == "not" || w == "nor" || w == "yet";
        if (w.size() >= 3 && !functionWord && answer.find(w) != std::string::npos)
            return "a word is part of the answer: " + w;
        if (w.size() >= 3 && answer.size() >= 3 && OneLetterOff(w, answer)) return "one letter off: " + w;
    }
    return "";
}

class ClueSource : public ::testing::TestWithParam<int> {
protected:
    std::string SourcePath() const { return binDir + "/cdata" + std::to_string(GetParam()) + ".bin"; }
    std::string ListPath() const { return binDir + "/data" + std::to_string(GetParam()) + ".bin"; }
};

TEST(ClueRules, givesAway_catchesTheAnswerInAnyDisguise) {
    struct Case {
        const char* clue;
        const char* answer;
        bool givesAway;
    } cases[] = {
        {"Kind of tree", "TREE", true},         // the answer itself
        {"Kind of tree", "TREES", true},        // one letter added
        {"Trees", "TREE", true},                // one letter removed
        {"Tray for food", "TREY", true},        // one letter changed
        {"Sunflower seed", "SUN", true},        // a word holds the answer
        {"Kind of flower", "SUNFLOWER", true},  // a word is part of the answer
        {"Kind of tree", "OAK", false},
        {"The ___ limit", "THERMODYNAMIC", false},  // a function word inside the answer
        {"A or B", "AN", false},                    // two-letter answers are not blocked by short words
    };
    for (const Case& c : cases) {
        EXPECT_EQ(!GivesAway(c.clue, c.answer).empty(), c.givesAway) << c.clue << " / " << c.answer;
    }
}

TEST_P(ClueSource, everyPairIsWellFormed_andNamesNoAnswer) {
    std::string bytes = ReadBytes(SourcePath());
    ASSERT_FALSE(bytes.empty()) << SourcePath() << " is missing or empty";
    std::string fault;
    std::vector<Pair> pairs = ParsePairs(bytes, &fault);
    ASSERT_TRUE(fault.empty()) << SourcePath() << ": " << fault;

    std::set<std::pair<std::string, std::string>> seen;
    std::map<std::string, int> perWord;
    int faults = 0;
    for (const Pair& p : pairs) {
        std::string problem;
        if (p.word.size() < 2 || p.word.size() > 21 ||
            !std::all_of(p.word.begin(), p.word.end(), [](char c) { return c >= 'A' && c <= 'Z'; })) {
            problem = "word is not 2 to 21 letters A-Z";
        } else if (p.clue.empty() || p.clue.size() > 60) {
            problem = "clue length " + std::to_string(p.clue.size());
        } else if (std::any_of(p.clue.begin(), p.clue.end(), [](char c) {
                       unsigned char b = static_cast<unsigned char>(c);
                       return b < 0x20 || (b >= 0x7F && b < 0xA0);
                   })) {
            problem = "control character in the clue";
        } else {
            // The first letter is upper case, unless the clue opens (after
            // quotes or brackets) with a blank or a number, which keep the
            // case of what follows ("___ accent", "44th president").
            auto letter = std::find_if(p.clue.begin(), p.clue.end(),
                                       [](char c) { return std::isalpha(static_cast<unsigned char>(c)); });
            auto first = std::find_if(p.clue.begin(), p.clue.end(),
                                      [](char c) { return c != '"' && c != '\'' && c != '(' && c != '['; });
            bool opensWithBlankOrNumber = first != p.clue.end() && (*first == '_' || (*first >= '0' && *first <= '9'));
            if (letter == p.clue.end() || (p.clue[0] >= 'a' && p.clue[0] <= 'z') ||
                (!opensWithBlankOrNumber && !(*letter >= 'A' && *letter <= 'Z'))) {
                problem = "first letter is not upper case";
            } else if (!seen.insert({p.word, p.clue}).second) {
                problem = "pair occurs twice";
            } else if (++perWord[p.word] > 10) {
                problem = "more than 10 clues";
            } else {
                problem = GivesAway(p.clue, p.word);
            }
        }
        if (!problem.empty() && ++faults <= 10) {
            ADD_FAILURE() << SourcePath() << ": " << p.word << " / " << p.clue << ": " << problem;
        }
    }
    EXPECT_EQ(faults, 0);
}

TEST_P(ClueSource, coversNineTenthsOfItsWordList) {
    std::vector<std::string> words = ReadWordList(ListPath());
    ASSERT_FALSE(words.empty()) << ListPath() << " is missing or empty";
    std::string fault;
    std::vector<Pair> pairs = ParsePairs(ReadBytes(SourcePath()), &fault);
    ASSERT_TRUE(fault.empty()) << fault;
    std::set<std::string> clued;
    for (const Pair& p : pairs) clued.insert(p.word);
    size_t covered = std::count_if(words.begin(), words.end(), [&](const std::string& w) { return clued.count(w); });
    double share = static_cast<double>(covered) / static_cast<double>(words.size());
    EXPECT_GE(share, 0.90) << covered << " of " << words.size() << " words have a clue";
    // Every clued word is a word of the list, so no clue is wasted.
    std::set<std::string> listed(words.begin(), words.end());
    for (const std::string& w : clued) {
        if (!listed.count(w)) {
            ADD_FAILURE() << w << " has clues but is not in " << ListPath();
            break;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(EachList, ClueSource, ::testing::Range(1, 6));

// Clues are respelt for the variant: the United States source says "color",
// the British, Canadian and Australian ones "colour".
TEST(ClueSpelling, eachVariantUsesItsOwnSpelling) {
    struct Case {
        int list;
        const char* own;
        const char* foreign;
    } cases[] = {
        {1, "color", "colour"},  {1, "center", "centre"}, {2, "colour", "color"},
        {2, "centre", "center"}, {3, "colour", "color"},  {4, "colour", "color"},
    };
    for (const Case& c : cases) {
        std::string fault;
        std::vector<Pair> pairs = ParsePairs(ReadBytes(binDir + "/cdata" + std::to_string(c.list) + ".bin"), &fault);
        ASSERT_TRUE(fault.empty()) << fault;
        int own = 0;
        int foreign = 0;
        for (const Pair& p : pairs) {
            for (const std::string& w : LowerWords(p.clue)) {
                own += w == c.own;
                foreign += w == c.foreign;
            }
        }
        EXPECT_GT(own, 0) << "list " << c.list << " never says " << c.own;
        EXPECT_EQ(foreign, 0) << "list " << c.list << " says " << c.foreign;
    }
}

}  // namespace
