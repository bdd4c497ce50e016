// The independent fill checker must catch each kind of faulty fill.
#include "engine/fill_checker.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace korvo {
namespace {

const std::unordered_set<std::string> kWords = {"CAT",  "ARE",  "TEN",  "CAR", "ATE", "TEA",
                                                "CARS", "CART", "DOGS", "AT",  "TO",  "OX"};

struct Case {
    const char* name;
    int rows, columns;
    std::string design, filled;
    bool prefixRule;
    const char* problem;  // part of the expected message, or null for a sound fill
};

TEST(FillChecker, findsEachKindOfFault) {
    const Case cases[] = {
        // C A T
        // A R E
        // T E N   rows CAT ARE TEN, columns CAT ARE TEN: the same words twice.
        {"square repeats words", 3, 3, "@@@@@@@@@", "CATARETEN", true, "repeats"},
        {"sound", 2, 4, "@@@@!!!!", "CARS!!!!", true, nullptr},
        {"not a word", 2, 4, "@@@@!!!!", "CAXS!!!!", true, "CAXS is not in the word list"},
        {"user letter changed", 2, 4, "@@R@!!!!", "CATS!!!!", true, "the user's letter R"},
        {"block changed", 2, 4, "@@@@!!!!", "CARSA!!!", true, "block changed"},
        {"open square left", 2, 4, "@@@@!!!!", "CA@S!!!!", true, "is not filled"},
        {"unlisted user word kept", 2, 4, "XQZW!!!!", "XQZW!!!!", true, nullptr},
        {"prefix between placed words", 3, 4, "@@@@!!!!@@@@", "CARS!!!!CART", true, "shares its first three"},
        {"prefix rule off", 3, 4, "@@@@!!!!@@@@", "CARS!!!!CART", false, nullptr},
        {"prefix with a listed user word", 3, 4, "CARS!!!!@@@@", "CARS!!!!CART", true, "shares its first three"},
        {"two listed user words may share", 3, 4, "CARS!!!!CART", "CARS!!!!CART", true, nullptr},
        {"short words are free", 3, 4, "@@!!!!!!@@!!", "AT!!!!!!TO!!", true, nullptr},
        {"duplicate short word", 3, 4, "@@!!!!!!@@!!", "AT!!!!!!AT!!", true, "repeats"},
        {"size mismatch", 2, 4, "@@@@!!!!", "CARS!!!", true, "grid sizes"},
        {"lone open square needs no letter", 3, 3, "@@!!!!!!@", "AT!!!!!!@", true, nullptr},
    };
    for (const Case& c : cases) {
        FillCheckInput in;
        in.rows = c.rows;
        in.columns = c.columns;
        in.design = c.design;
        in.filled = c.filled;
        in.words = &kWords;
        in.prefixRule = c.prefixRule;
        const FillCheckResult r = CheckFill(in);
        if (c.problem == nullptr) {
            EXPECT_TRUE(r.ok()) << c.name << ": " << (r.ok() ? "" : r.problems.front());
        } else {
            ASSERT_FALSE(r.ok()) << c.name;
            bool found = false;
            for (const std::string& p : r.problems) found = found || p.find(c.problem) != std::string::npos;
            EXPECT_TRUE(found) << c.name << ": " << r.problems.front();
        }
    }
}

TEST(FillChecker, reportedEntries_mustMatchTheGrid) {
    FillCheckInput in;
    in.rows = 3;
    in.columns = 4;
    in.design = "@@@@!!!!@@@@";
    in.filled = "CARS!!!!DOGS";
    in.words = &kWords;
    struct EntryCase {
        const char* name;
        std::vector<ReportedEntry> entries;
        const char* problem;
    } cases[] = {
        {"agree", {{0, 0, 1, "CARS"}, {2, 0, 1, "DOGS"}}, nullptr},
        {"wrong letters", {{0, 0, 1, "CART"}, {2, 0, 1, "DOGS"}}, "holds CART but the grid reads CARS"},
        {"missing", {{0, 0, 1, "CARS"}}, "is not reported"},
        {"not an entry", {{0, 0, 1, "CARS"}, {2, 0, 1, "DOGS"}, {0, 0, 2, "C"}}, "is not an entry"},
        {"twice", {{0, 0, 1, "CARS"}, {2, 0, 1, "DOGS"}, {2, 0, 1, "DOGS"}}, "reported twice"},
    };
    for (const EntryCase& c : cases) {
        in.entries = &c.entries;
        const FillCheckResult r = CheckFill(in);
        if (c.problem == nullptr) {
            EXPECT_TRUE(r.ok()) << c.name;
        } else {
            ASSERT_FALSE(r.ok()) << c.name;
            EXPECT_NE(r.problems.front().find(c.problem), std::string::npos) << c.name << ": " << r.problems.front();
        }
    }
}

TEST(FillChecker, wordsOfStore_readsEveryRecordWhateverItsStatus) {
    WordStore store;
    store.buckets[3] = NewBlock(3);
    AddWord(store.buckets[3], "CAT", false);
    AddWord(store.buckets[3], "DOG", false);
    MarkUsed(store.buckets[3], 2);
    store.buckets[2] = NewBlock(2);
    AddWord(store.buckets[2], "AT", false);
    EXPECT_EQ(WordsOfStore(store), (std::unordered_set<std::string>{"CAT", "DOG", "AT"}));
}

}  // namespace
}  // namespace korvo
