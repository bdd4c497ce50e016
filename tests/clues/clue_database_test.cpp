#include "clues/clue_database.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <csignal>
#include <sstream>
#include <string>
#include <vector>

#include "clues/clue_test_files.h"

namespace korvo {
namespace {

using namespace std::string_literals;

// Lowers the process's file size limit for the life of the object, so that
// writes past it fail (SIGXFSZ is ignored meanwhile).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved);
        previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previousHandler);
    }

private:
    rlimit saved{};                          // the limit before
    void (*previousHandler)(int) = nullptr;  // the SIGXFSZ handler before
};

std::vector<std::u16string> AllClues(ClueDatabase& database, const std::u16string& word) {
    std::vector<std::u16string> clues;
    for (std::u16string r = database.Lookup(word); !r.empty(); r = database.Lookup(u"")) clues.push_back(r);
    return clues;
}

std::vector<std::string> FileNames(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

// --- the format helpers ---------------------------------------------------

TEST(ClueFormat, storedBytes_keepLatin1_markWideCharactersAndLineFeeds) {
    EXPECT_EQ(ClueBytes(u"A dwelling"), "A dwelling");
    EXPECT_EQ(ClueBytes(u"Caf\u00e9 \u00ff"), "Caf\xe9 \xff");
    EXPECT_EQ(ClueBytes(u"Price in \u20ac"), "Price in ?") << "never the low byte 0xAC";
    EXPECT_EQ(ClueBytes(u"Smile \U0001F600!"), "Smile ?!") << "a surrogate pair is one character";
    EXPECT_EQ(ClueBytes(u"Lone \xD800 x"), "Lone ? x");
    EXPECT_EQ(ClueBytes(u"Two\nlines\r"), "Two lines\r");
    EXPECT_EQ(ClueBytes(u"nul\0in"s), "nul\0in"s);
    EXPECT_EQ(ClueText("Caf\xe9"), u"Caf\u00e9");
}

TEST(ClueFormat, fileName_usesFirstTwoLetters_andNeverLeavesTheFolder) {
    EXPECT_EQ(ClueFileName("HOUSE"), "HO.CLU");
    EXPECT_EQ(ClueFileName("ho"), "ho.CLU");
    EXPECT_EQ(ClueFileName("H"), "");
    EXPECT_EQ(ClueFileName(""), "");
    EXPECT_EQ(ClueFileName("H1N1"), "H_.CLU") << "a second character '1' is the temporary file's mark";
    EXPECT_EQ(ClueFileName("../x"), "__.CLU");
    EXPECT_EQ(ClueFileName("/\\"), "__.CLU");
    EXPECT_EQ(ClueFileName("\0A"s), "_A.CLU");
    EXPECT_EQ(ClueFileName("\xc9T"), "_T.CLU");
}

// Both line readers (stream and memory) cut the same lines from the same bytes.
TEST(ClueFormat, lineReaders_takeCrLfAndLf_andAgree) {
    struct Case {
        std::string bytes;
        std::vector<std::string> lines;
    };
    const std::vector<Case> cases{
        {"", {}},
        {"A", {"A"}},
        {"A\n", {"A"}},
        {"A\r\n", {"A"}},
        {"A\r", {"A\r"}},
        {"A\r\r\n", {"A\r"}},
        {"A\rB\n", {"A\rB"}},
        {"\n\n", {"", ""}},
        {"A\nB", {"A", "B"}},
        {"A\r\nB\r\n\r\n", {"A", "B", ""}},
        {"\0\x1a\xff\n"s, {"\0\x1a\xff"s}},
    };
    for (const Case& c : cases) {
        std::istringstream in(c.bytes);
        std::vector<std::string> fromStream;
        std::string line;
        while (ReadClueLine(in, line)) fromStream.push_back(line);
        EXPECT_TRUE(line.empty());
        std::vector<std::string> fromMemory;
        std::string_view rest = c.bytes;
        std::string_view view;
        while (NextClueLine(rest, view)) fromMemory.emplace_back(view);
        EXPECT_EQ(fromStream, c.lines) << "bytes: " << c.bytes;
        EXPECT_EQ(fromMemory, c.lines) << "bytes: " << c.bytes;
    }
}

// --- Lookup ----------------------------------------------------------------

TEST(ClueDatabaseLookup, wordWithoutFile_returnsEmptyAndSoDoesTheNextCall) {
    TempFolder folder;
    ClueDatabase database(folder.withSeparator());
    EXPECT_EQ(database.Lookup(u"HOUSE"), u"");
    EXPECT_FALSE(database.ReaderOpen());
    EXPECT_EQ(database.Lookup(u""), u"");
}

TEST(ClueDatabaseLookup, emptyWordBeforeAnyLookup_returnsEmpty) {
    TempFolder folder;
    WriteBytes(folder.path() / "HO.CLU", "HOUSE\r\nA dwelling\r\n");
    ClueDatabase database(folder.withSeparator());
    EXPECT_EQ(database.Lookup(u""), u"");
}

TEST(ClueDatabaseLookup, threeClues_returnedInFileOrder_thenEmptyAndFileClosed) {
    TempFolder folder;
    WriteBytes(folder.path() / "HO.CLU",
               "HOUSE\r\nA dwelling\r\nHOME\r\nWhere the heart is\r\nHOUSE\r\nRepublicans' place\r\n"
               "HOUSE\r\nShelter\r\n");
    ClueDatabase database(folder.withSeparator());
    EXPECT_EQ(database.Lookup(u"HOUSE"), u"A dwelling");
    EXPECT_TRUE(database.ReaderOpen());
    EXPECT_EQ(database.Lookup(u""), u"Republicans' place");
    EXPECT_EQ(database.Lookup(u""), u"Shelter");
    EXPECT_EQ(database.Lookup(u""), u"");
    EXPECT_FALSE(database.ReaderOpen());
    EXPECT_EQ(database.Lookup(u""), u"");
    // A new word starts again from the top.
    EXPECT_EQ(database.Lookup(u"HOME"), u"Where the heart is");
    EXPECT_EQ(database.Lookup(u"HOUSE"), u"A dwelling");
}

TEST(ClueDatabaseLookup, wordLinesCompareExactly) {
    TempFolder folder;
    WriteBytes(folder.path() / "HO.CLU",
               "HOUSES\r\nHomes\r\nhouse\r\nsmall\r\nHOUSE \r\nspace\r\nHOUSE\r\nThe one\r\n");
    ClueDatabase database(folder.withSeparator());
    EXPECT_EQ(AllClues(database, u"HOUSE"), (std::vector<std::u16string>{u"The one"}));
    EXPECT_EQ(AllClues(database, u"HOUS"), (std::vector<std::u16string>{}));
}

TEST(ClueDatabaseLookup, readsLfAndCrLf_andALastLineWithoutBreak) {
    TempFolder folder;
    WriteBytes(folder.path() / "HO.CLU", "HOUSE\nA dwelling\r\nHOUSE\r\nCaf\xe9 owner\nHOUSE\nLast");
    ClueDatabase database(folder.withSeparator());
    EXPECT_EQ(AllClues(database, u"HOUSE"), (std::vector<std::u16string>{u"A dwelling", u"Caf\u00e9 owner", u"Last"}));
}

TEST(ClueDatabaseLookup, damagedFile_passesOverEmptyClueLines) {
    TempFolder folder;
    WriteBytes(folder.path() / "HO.CLU", "HOUSE\r\n\r\nHOUSE\r\nA dwelling\r\nHOUSE\r\n");
    ClueDatabase database(folder.withSeparator());
    EXPECT_EQ(AllClues(database, u"HOUSE"), (std::vector<std::u16string>{u"A dwelling"}));
}

TEST(ClueDatabaseLookup, oneCharacterWord_findsNothingAndEndsTheSequence) {
    TempFolder folder;
    WriteBytes(folder.path() / "HO.CLU", "HOUSE\r\nA dwelling\r\nHOUSE\r\nShelter\r\n");
    // Files a careless path could reach for a one-character word.
    WriteBytes(folder.path() / "H", "H\r\nLetter\r\n");
    WriteBytes(folder.path() / "H.CLU", "H\r\nLetter\r\n");
    ClueDatabase database(folder.withSeparator());
    EXPECT_EQ(database.Lookup(u"HOUSE"), u"A dwelling");
    EXPECT_EQ(database.Lookup(u"H"), u"");
    EXPECT_FALSE(database.ReaderOpen());
    EXPECT_EQ(database.Lookup(u""), u"");
}

TEST(ClueDatabaseLookup, emptyFolder_usesTheCurrentDirectory) {
    TempFolder folder;
    WriteBytes(folder.path() / "HO.CLU", "HOUSE\r\nA dwelling\r\n");
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(folder.path());
    {
        ClueDatabase database("");
        EXPECT_EQ(database.Lookup(u"HOUSE"), u"A dwelling");
    }
    std::filesystem::current_path(previous);
}

// --- AddClue ---------------------------------------------------------------

TEST(ClueDatabaseAddClue, samePairTwiceWithCheck_storedOnce) {
    TempFolder folder;
    ClueDatabase database(folder.withSeparator());
    EXPECT_TRUE(database.AddClue(true, u"HOUSE", u"A dwelling"));
    EXPECT_FALSE(database.AddClue(true, u"HOUSE", u"A dwelling"));
    EXPECT_TRUE(database.AddClue(true, u"HOUSE", u"Shelter"));
    EXPECT_TRUE(database.AddClue(true, u"HOME", u"A dwelling"));
    EXPECT_EQ(ReadBytes(folder.path() / "HO.CLU"), "HOUSE\r\nA dwelling\r\nHOUSE\r\nShelter\r\nHOME\r\nA dwelling\r\n");
    EXPECT_EQ(FileNames(folder.path()), (std::vector<std::string>{"HO.CLU"}));
}

TEST(ClueDatabaseAddClue, samePairTwiceWithoutCheck_storedTwice) {
    TempFolder folder;
    ClueDatabase database(folder.withSeparator());
    EXPECT_TRUE(database.AddClue(false, u"HOUSE", u"A dwelling"));
    EXPECT_TRUE(database.AddClue(false, u"HOUSE", u"A dwelling"));
    EXPECT_EQ(ReadBytes(folder.path() / "HO.CLU"), "HOUSE\r\nA dwelling\r\nHOUSE\r\nA dwelling\r\n");
}

TEST(ClueDatabaseAddClue, refusedPairs_returnFalseAndWriteNothing) {
    struct Case {
        std::u16string word;
        std::u16string clue;
    };
    const std::vector<Case> cases{
        {u"", u"A dwelling"}, {u"HOUSE", u""}, {u"HOUSE", u"HOUSE"}, {u"H", u"Letter"}, {u"", u""},
    };
    for (bool check : {true, false}) {
        for (const Case& c : cases) {
            TempFolder folder;
            ClueDatabase database(folder.withSeparator());
            EXPECT_FALSE(database.AddClue(check, c.word, c.clue));
            EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
        }
    }
}

TEST(ClueDatabaseAddClue, longLines_areCutAt21And60_andALongClueIsAddedAgain) {
    TempFolder folder;
    ClueDatabase database(folder.withSeparator());
    const std::u16string clue75(75, u'x');
    const std::u16string word25 = u"ABCDEFGHIJKLMNOPQRSTUVWXY";
    EXPECT_TRUE(database.AddClue(true, u"HOUSE", clue75));
    // The stored 60-character line no longer equals the 75-character clue.
    EXPECT_TRUE(database.AddClue(true, u"HOUSE", clue75));
    // An exactly 60-character clue equals the stored line.
    EXPECT_FALSE(database.AddClue(true, u"HOUSE", std::u16string(60, u'x')));
    EXPECT_TRUE(database.AddClue(true, word25, u"Letters"));
    EXPECT_TRUE(database.AddClue(true, word25, u"Letters"));
    const std::string line60(60, 'x');
    EXPECT_EQ(ReadBytes(folder.path() / "HO.CLU"), "HOUSE\r\n" + line60 + "\r\nHOUSE\r\n" + line60 + "\r\n");
    EXPECT_EQ(ReadBytes(folder.path() / "AB.CLU"),
              "ABCDEFGHIJKLMNOPQRSTU\r\nLetters\r\nABCDEFGHIJKLMNOPQRSTU\r\nLetters\r\n");
}

TEST(ClueDatabaseAddClue, wideCharacters_storedAsQuestionMark_andFoundInThatForm) {
    TempFolder folder;
    ClueDatabase database(folder.withSeparator());
    EXPECT_TRUE(database.AddClue(true, u"EURO", u"Price in \u20ac, caf\u00e9\nstyle"));
    EXPECT_FALSE(database.AddClue(true, u"EURO", u"Price in \u20ac, caf\u00e9\nstyle"));
    EXPECT_FALSE(database.AddClue(true, u"EURO", u"Price in ?, caf\u00e9 style"));
    EXPECT_EQ(ReadBytes(folder.path() / "EU.CLU"), "EURO\r\nPrice in ?, caf\xe9 style\r\n");
    EXPECT_EQ(database.Lookup(u"EURO"), u"Price in ?, caf\u00e9 style");
}

TEST(ClueDatabaseAddClue, endsALookupSequence) {
    TempFolder folder;
    WriteBytes(folder.path() / "HO.CLU", "HOUSE\r\nA dwelling\r\nHOUSE\r\nShelter\r\n");
    ClueDatabase database(folder.withSeparator());
    EXPECT_EQ(database.Lookup(u"HOUSE"), u"A dwelling");
    EXPECT_TRUE(database.AddClue(true, u"HOUSE", u"Home"));
    EXPECT_FALSE(database.ReaderOpen());
    EXPECT_EQ(database.Lookup(u""), u"");
    EXPECT_EQ(AllClues(database, u"HOUSE"), (std::vector<std::u16string>{u"A dwelling", u"Shelter", u"Home"}));
}

TEST(ClueDatabaseAddClue, appendsToAFileWithLfLines) {
    TempFolder folder;
    WriteBytes(folder.path() / "HO.CLU", "HOUSE\nA dwelling\n");
    ClueDatabase database(folder.withSeparator());
    EXPECT_FALSE(database.AddClue(true, u"HOUSE", u"A dwelling"));
    EXPECT_TRUE(database.AddClue(true, u"HOUSE", u"Shelter"));
    EXPECT_EQ(ReadBytes(folder.path() / "HO.CLU"), "HOUSE\nA dwelling\nHOUSE\r\nShelter\r\n");
}

TEST(ClueDatabaseAddClue, missingFolder_returnsFalse) {
    TempFolder folder;
    ClueDatabase database((folder.path() / "absent").string() + "/");
    EXPECT_FALSE(database.AddClue(true, u"HOUSE", u"A dwelling"));
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "absent"));
}

TEST(ClueDatabaseAddClue, failedWrite_returnsFalseAndLeavesNoHalfPair) {
    TempFolder folder;
    const std::string before = "HOUSE\r\nA dwelling\r\n";
    WriteBytes(folder.path() / "HO.CLU", before);
    ClueDatabase database(folder.withSeparator());
    bool added = true;
    {
        FileSizeLimit limit(before.size() + 4);
        added = database.AddClue(true, u"HOUSE", u"Shelter");
    }
    EXPECT_FALSE(added);
    EXPECT_EQ(ReadBytes(folder.path() / "HO.CLU"), before);
}

// --- DeleteClue ------------------------------------------------------------

TEST(ClueDatabaseDeleteClue, removesEveryEqualPair_keepsTheOthersInOrder_leavesNoTemporaryFile) {
    TempFolder folder;
    WriteBytes(folder.path() / "HO.CLU",
               "HOUSE\r\nA dwelling\r\nHOUSE\r\nShelter\r\nHOUSE\r\nA dwelling\r\nHOME\r\nA dwelling\r\n"
               "HOUSES\r\nA dwelling\r\nHOUSE\r\nA dwelling \r\nHOUSE\r\nRepublicans' place\r\n");
    ClueDatabase database(folder.withSeparator());
    database.DeleteClue(u"HOUSE", u"A dwelling");
    EXPECT_EQ(ReadBytes(folder.path() / "HO.CLU"),
              "HOUSE\r\nShelter\r\nHOME\r\nA dwelling\r\nHOUSES\r\nA dwelling\r\nHOUSE\r\nA dwelling \r\n"
              "HOUSE\r\nRepublicans' place\r\n");
    EXPECT_EQ(FileNames(folder.path()), (std::vector<std::string>{"HO.CLU"}));
}

TEST(ClueDatabaseDeleteClue, fileWithoutMatch_untouchedByteForByte) {
    TempFolder folder;
    const std::string bytes = "HOUSE\nA dwelling\r\n\nHOUSE\r\n" + std::string(80, 'y') + "\nHOUSE\r\nlast";
    WriteBytes(folder.path() / "HO.CLU", bytes);
    ClueDatabase database(folder.withSeparator());
    database.DeleteClue(u"HOUSE", u"Shelter");
    database.DeleteClue(u"HOME", u"A dwelling");
    EXPECT_EQ(ReadBytes(folder.path() / "HO.CLU"), bytes);
    EXPECT_EQ(FileNames(folder.path()), (std::vector<std::string>{"HO.CLU"}));
}

TEST(ClueDatabaseDeleteClue, rewrittenFile_hasCrLfPairs_withoutStrayEmptyLines) {
    TempFolder folder;
    WriteBytes(folder.path() / "HO.CLU", "HOUSE\nA dwelling\n\nHOUSE\nShelter\n\n\nHOME\nNest\n");
    ClueDatabase database(folder.withSeparator());
    database.DeleteClue(u"HOUSE", u"Shelter");
    EXPECT_EQ(ReadBytes(folder.path() / "HO.CLU"), "HOUSE\r\nA dwelling\r\nHOME\r\nNest\r\n");
}

TEST(ClueDatabaseDeleteClue, missingFileOrEmptyArguments_createNothing) {
    TempFolder folder;
    ClueDatabase database(folder.withSeparator());
    database.DeleteClue(u"HOUSE", u"A dwelling");
    database.DeleteClue(u"", u"A dwelling");
    database.DeleteClue(u"HOUSE", u"");
    database.DeleteClue(u"H", u"Letter");
    EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
}

TEST(ClueDatabaseDeleteClue, staleTemporaryFile_isRemoved_andNoClueFileIsTaken_forIt) {
    TempFolder folder;
    WriteBytes(folder.path() / "H1.CLU", "left over");
    WriteBytes(folder.path() / "HO.CLU", "HOUSE\r\nA dwelling\r\nHOUSE\r\nShelter\r\n");
    ClueDatabase database(folder.withSeparator());
    // A word with a digit has its own file, never the temporary one.
    EXPECT_TRUE(database.AddClue(true, u"H1N1", u"Flu strain"));
    database.DeleteClue(u"HOUSE", u"Shelter");
    EXPECT_EQ(ReadBytes(folder.path() / "HO.CLU"), "HOUSE\r\nA dwelling\r\n");
    EXPECT_EQ(FileNames(folder.path()), (std::vector<std::string>{"HO.CLU", "H_.CLU"}));
    database.DeleteClue(u"HOUSE", u"A dwelling");
    EXPECT_EQ(ReadBytes(folder.path() / "HO.CLU"), "");
    EXPECT_EQ(ReadBytes(folder.path() / "H_.CLU"), "H1N1\r\nFlu strain\r\n");
}

TEST(ClueDatabaseDeleteClue, endsALookupSequence) {
    TempFolder folder;
    WriteBytes(folder.path() / "HO.CLU", "HOUSE\r\nA dwelling\r\nHOUSE\r\nShelter\r\n");
    ClueDatabase database(folder.withSeparator());
    EXPECT_EQ(database.Lookup(u"HOUSE"), u"A dwelling");
    database.DeleteClue(u"HOUSE", u"A dwelling");
    EXPECT_FALSE(database.ReaderOpen());
    EXPECT_EQ(database.Lookup(u""), u"");
    EXPECT_EQ(AllClues(database, u"HOUSE"), (std::vector<std::u16string>{u"Shelter"}));
}

TEST(ClueDatabaseDeleteClue, failedCopy_leavesTheClueFileAsItWas) {
    TempFolder folder;
    std::string bytes;
    for (int i = 0; i < 200; ++i) bytes += "HOUSE\r\nClue number " + std::to_string(i) + "\r\n";
    WriteBytes(folder.path() / "HO.CLU", bytes);
    ClueDatabase database(folder.withSeparator());
    {
        FileSizeLimit limit(bytes.size() / 2);
        database.DeleteClue(u"HOUSE", u"Clue number 0");
    }
    EXPECT_EQ(ReadBytes(folder.path() / "HO.CLU"), bytes);
    EXPECT_EQ(FileNames(folder.path()), (std::vector<std::string>{"HO.CLU"}));
}

}  // namespace
}  // namespace korvo
