#include "clues/clue_install.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "clues/clue_database.h"
#include "clues/clue_test_files.h"
#include "platform/random.h"
#include "platform/text_codec.h"

namespace korvo {
namespace {

using namespace std::string_literals;

char Upper(char c) { return static_cast<char>(ToUpperLatin1(static_cast<char16_t>(static_cast<unsigned char>(c)))); }

// The installer done the plain way: each pair read from the source and added
// with AddClue and its duplicate check, which rescans the target file every
// time. The fast installer must leave exactly the same folder.
void InstallPairByPair(const std::filesystem::path& dataFolder, const std::filesystem::path& programFolder, int n) {
    const std::filesystem::path folder = dataFolder / ClueFolderName(n);
    std::error_code error;
    if (!std::filesystem::create_directory(folder, error)) DeleteFilesInFolder(folder);
    std::ifstream source(programFolder / ClueSourceName(n), std::ios::binary);
    if (!source.is_open()) return;
    ClueDatabase database(folder.string() + "/");
    std::string word;
    std::string clue;
    while (!source.fail()) {
        ReadClueLine(source, word);
        ReadClueLine(source, clue);
        if (word.empty() || clue.empty()) continue;
        for (char& c : word) c = Upper(c);
        clue[0] = Upper(clue[0]);
        database.AddClue(true, ClueText(word), ClueText(clue));
    }
}

// A source built to trip the installer: duplicates in any case, clues that
// differ only past the 60th character, words longer than 21, one-letter
// words, words that equal their clue once upper-cased, digits, slashes,
// Latin-1 and control bytes, stray CRs, empty lines, LF and CR LF line ends
// and a last line without a line break.
std::string NastySource(std::uint32_t seed, int pairs) {
    Random::Seed(seed);
    const std::vector<std::string> words{"house",
                                         "HOUSE",
                                         "House",
                                         "houses",
                                         "ho",
                                         "h",
                                         "hose",
                                         "HOME",
                                         "abcdefghijklmnopqrstuvwxyz",
                                         "abcdefghijklmnopqrstuvw",
                                         "h1n1",
                                         "h/x",
                                         "\xe9t\xe9",
                                         "\xc9T\xc9",
                                         "caf\xe9",
                                         "ab\r",
                                         "a\rb",
                                         "ab",
                                         "\x01\x02",
                                         "x",
                                         "\xff\xdf"};
    const std::string long60(60, 'z');
    const std::vector<std::string> clues{"a dwelling",
                                         "A dwelling",
                                         "shelter",
                                         "house",
                                         "HOUSE",
                                         "ab",
                                         long60,
                                         long60 + "1",
                                         long60 + "2",
                                         std::string(75, 'q'),
                                         "clue with \r inside",
                                         "ends in cr\r",
                                         "\xe0 la mode",
                                         "\xf7 sign",
                                         "x"};
    std::string source;
    for (int i = 0; i < pairs; ++i) {
        const int kind = Random::Next() % 20;
        const std::string eol = Random::Next() % 2 ? "\r\n" : "\n";
        if (kind == 0) {
            source += eol;  // a stray empty line shifts the pairing
            continue;
        }
        const std::string& word = words[Random::Next() % words.size()];
        const std::string clue = kind == 1 ? std::string() : clues[Random::Next() % clues.size()];
        source += word + eol + clue + eol;
    }
    if (Random::Next() % 2) source += "house\r\na last line";
    return source;
}

TEST(DeleteFilesInFolder, deletesPlainFiles_keepsSubFoldersAndTheirFiles) {
    TempFolder folder;
    WriteBytes(folder.path() / "HO.CLU", "HOUSE\r\nA dwelling\r\n");
    WriteBytes(folder.path() / ".hidden", "x");
    WriteBytes(folder.path() / "noext", "x");
    std::filesystem::create_directory(folder.path() / "sub");
    WriteBytes(folder.path() / "sub" / "AB.CLU", "x");
    std::filesystem::create_directory(folder.path() / "other");
    std::filesystem::create_directory_symlink(folder.path() / "other", folder.path() / "link");
    std::filesystem::create_symlink(folder.path() / "nowhere", folder.path() / "dangling");
    DeleteFilesInFolder(folder.path());
    EXPECT_EQ(FolderContents(folder.path()),
              (std::map<std::string, std::string>{
                  {"link", "<dir>"}, {"other", "<dir>"}, {"sub", "<dir>"}, {"sub/AB.CLU", "x"}}));
}

TEST(DeleteFilesInFolder, missingFolderOrAFile_deletesNothing) {
    TempFolder folder;
    WriteBytes(folder.path() / "plain", "x");
    DeleteFilesInFolder(folder.path() / "absent");
    DeleteFilesInFolder(folder.path() / "plain");
    DeleteFilesInFolder("");
    EXPECT_EQ(ReadBytes(folder.path() / "plain"), "x");
}

TEST(ClueFolderNames, followTheWordListId_outsideOneToFourActsAsFive) {
    EXPECT_EQ(ClueFolderName(1), "CLUES1");
    EXPECT_EQ(ClueFolderName(4), "CLUES4");
    EXPECT_EQ(ClueFolderName(5), "CLUES5");
    EXPECT_EQ(ClueFolderName(0), "CLUES5");
    EXPECT_EQ(ClueFolderName(-3), "CLUES5");
    EXPECT_EQ(ClueSourceName(2), "cdata2.bin");
    EXPECT_EQ(ClueSourceName(99), "cdata5.bin");
}

TEST(InstallClueDatabase, normalisesWordAndClue_intoTheFileOfTheFirstTwoLetters) {
    TempFolder data;
    TempFolder program;
    WriteBytes(program.path() / "cdata1.bin", "house\r\na dwelling\r\nHoMe\nwhere the heart is\nab\nAb\nab\nab\n");
    EXPECT_EQ(InstallClueDatabase(data.path(), program.path(), 1), 3);
    EXPECT_EQ(
        FolderContents(data.path()),
        (std::map<std::string, std::string>{{"CLUES1", "<dir>"},
                                            {"CLUES1/HO.CLU", "HOUSE\r\nA dwelling\r\nHOME\r\nWhere the heart is\r\n"},
                                            {"CLUES1/AB.CLU", "AB\r\nAb\r\n"}}));
}

TEST(InstallClueDatabase, pairWithAnEmptyLine_isSkipped) {
    TempFolder data;
    TempFolder program;
    // Pairs are read strictly two lines at a time: (house, ""), (home, a dwelling), ("", shelter).
    WriteBytes(program.path() / "cdata2.bin", "house\n\nhome\na dwelling\n\nshelter\n");
    EXPECT_EQ(InstallClueDatabase(data.path(), program.path(), 2), 1);
    EXPECT_EQ(ReadBytes(data.path() / "CLUES2" / "HO.CLU"), "HOME\r\nA dwelling\r\n");
}

TEST(InstallClueDatabase, existingFolder_isEmptiedButItsSubFoldersKept) {
    TempFolder data;
    TempFolder program;
    const auto folder = data.path() / "CLUES3";
    std::filesystem::create_directories(folder / "keep");
    WriteBytes(folder / "keep" / "HO.CLU", "old");
    WriteBytes(folder / "HO.CLU", "HOUSE\r\nAdded by the user\r\n");
    WriteBytes(folder / "ZZ.CLU", "ZZZ\r\nSleep\r\n");
    WriteBytes(program.path() / "cdata3.bin", "house\na dwelling\n");
    InstallClueDatabase(data.path(), program.path(), 3);
    EXPECT_EQ(FolderContents(folder),
              (std::map<std::string, std::string>{
                  {"HO.CLU", "HOUSE\r\nA dwelling\r\n"}, {"keep", "<dir>"}, {"keep/HO.CLU", "old"}}));
}

TEST(InstallClueDatabase, missingSource_leavesAnEmptyFolder) {
    TempFolder data;
    TempFolder program;
    EXPECT_EQ(InstallClueDatabase(data.path(), program.path(), 4), 0);
    EXPECT_TRUE(std::filesystem::is_directory(data.path() / "CLUES4"));
    EXPECT_TRUE(std::filesystem::is_empty(data.path() / "CLUES4"));
    WriteBytes(data.path() / "CLUES4" / "HO.CLU", "HOUSE\r\nA dwelling\r\n");
    EXPECT_EQ(InstallClueDatabase(data.path(), program.path(), 4), 0);
    EXPECT_TRUE(std::filesystem::is_empty(data.path() / "CLUES4"));
}

TEST(InstallClueDatabase, missingDataFolder_storesNothing) {
    TempFolder program;
    WriteBytes(program.path() / "cdata1.bin", "house\na dwelling\n");
    const auto absent = program.path() / "absent";
    EXPECT_EQ(InstallClueDatabase(absent, program.path(), 1), 0);
    EXPECT_FALSE(std::filesystem::exists(absent));
}

TEST(InstallClueDatabase, clueFileNameTakenByAFolder_storesNothingThere) {
    TempFolder data;
    TempFolder program;
    std::filesystem::create_directories(data.path() / "CLUES1" / "HO.CLU");
    WriteBytes(program.path() / "cdata1.bin", "house\na dwelling\nabc\nletters\n");
    EXPECT_EQ(InstallClueDatabase(data.path(), program.path(), 1), 1);
    EXPECT_EQ(FolderContents(data.path() / "CLUES1"),
              (std::map<std::string, std::string>{{"AB.CLU", "ABC\r\nLetters\r\n"}, {"HO.CLU", "<dir>"}}));
}

TEST(InstallClueDatabase, nastySources_giveTheSameFolderAsAddingPairByPair) {
    for (std::uint32_t seed = 1; seed <= 30; ++seed) {
        TempFolder fastData;
        TempFolder slowData;
        TempFolder program;
        const std::string source = NastySource(seed, 400);
        WriteBytes(program.path() / "cdata5.bin", source);
        InstallClueDatabase(fastData.path(), program.path(), 5);
        InstallPairByPair(slowData.path(), program.path(), 5);
        const auto fast = FolderContents(fastData.path());
        ASSERT_EQ(fast, FolderContents(slowData.path())) << "seed " << seed;
        ASSERT_GT(fast.size(), 3u);
    }
}

TEST(InstallClueDatabase, handPickedPairs_giveTheSameFolderAsAddingPairByPair) {
    const std::string long60(60, 'Z');
    const std::string source =
        "house\r\na dwelling\r\nHOUSE\r\nA dwelling\r\n"  // same pair after normalising
        "house\r\n" +
        long60 + "a\r\nhouse\r\n" + long60 +
        "b\r\n"  // both stored, cut alike
        "house\r\n" +
        long60 +
        "\r\n"  // equals the cut line: refused
        "house\r\n" +
        std::string(75, 'Q') + "\r\nhouse\r\n" + std::string(75, 'Q') +
        "\r\n"
        "abcdefghijklmnopqrstuvwxyz\nclue\nabcdefghijklmnopqrstu\nclue\n"
        "ab\r\r\nclue\r\r\nab\r\nclue\r\n\r\n\r\nab\r\r\nclue\r\r\n"
        "h\nletter\n\xe9t\xe9\nsummer\n\xc9T\xc9\nSummer\nh1n1\nflu\n../x\nup\n"
        "house\na dwelling";
    TempFolder fastData;
    TempFolder slowData;
    TempFolder program;
    WriteBytes(program.path() / "cdata1.bin", source);
    InstallClueDatabase(fastData.path(), program.path(), 1);
    InstallPairByPair(slowData.path(), program.path(), 1);
    const auto fast = FolderContents(fastData.path());
    EXPECT_EQ(fast, FolderContents(slowData.path()));
    EXPECT_EQ(fast.at("CLUES1/HO.CLU"), "HOUSE\r\nA dwelling\r\nHOUSE\r\n" + long60 + "\r\nHOUSE\r\n" + long60 +
                                            "\r\nHOUSE\r\n" + std::string(60, 'Q') + "\r\nHOUSE\r\n" +
                                            std::string(60, 'Q') + "\r\n");
    EXPECT_EQ(fast.at("CLUES1/_T.CLU"), "\xc9T\xc9\r\nSummer\r\n");
    EXPECT_EQ(fast.count("CLUES1/H"), 0u);
}

// The installer cuts the lines of a source exactly as Lookup cuts the lines
// of a clue file: CR LF and a bare LF end a line, and any other CR, also a
// lone one at the very end of the source, belongs to the line. A source that
// is already normalised therefore reads back through the installed folder
// with the clues Lookup reads from the source itself used as a clue file.
TEST(InstallClueDatabase, sourceLineEnds_readBackAsLookupReadsThemInAClueFile) {
    const std::vector<std::string> sources{
        "HOUSE\r\nA dwelling\r",
        "HOUSE\r\nA dwelling\r\r\n",
        "HOUSE\r\nA dwelling\r\r",
        "HOUSE\nShelter\r\nHOUSE\r\nA\rB\n",
        "HOUSE\r\nX\r\rHOUSE\r\nY\r",
        "HOUSE\r\n\r",
        "HOUSE\r\nLast",
    };
    for (const std::string& source : sources) {
        SCOPED_TRACE(source);
        TempFolder data;
        TempFolder program;
        TempFolder asClueFile;
        WriteBytes(program.path() / "cdata1.bin", source);
        WriteBytes(asClueFile.path() / "HO.CLU", source);
        InstallClueDatabase(data.path(), program.path(), 1);
        ClueDatabase installed((data.path() / "CLUES1").string() + "/");
        ClueDatabase direct(asClueFile.withSeparator());
        const auto clues = [](ClueDatabase& database) {
            std::vector<std::u16string> all;
            for (std::u16string c = database.Lookup(u"HOUSE"); !c.empty(); c = database.Lookup(u"")) all.push_back(c);
            return all;
        };
        const std::vector<std::u16string> fromFile = clues(direct);
        EXPECT_EQ(clues(installed), fromFile);
        EXPECT_FALSE(fromFile.empty());
    }
}

// Files already in the folder (AddCluePairs does not empty it) take part in
// the duplicate check, whatever their shape: the pairs appended after a last
// line without a break, or after an odd number of lines, pair up differently
// on the next scan, and the fast way must follow that too.
TEST(AddCluePairs, filesAlreadyInTheFolder_giveTheSameFolderAsAddingPairByPair) {
    const std::vector<std::string> existing{
        "",
        "HOUSE\r\nA dwelling\r\n",
        "HOUSE\nA dwelling\nHOUSE\n",
        "HOUSE\r\nA dwel",
        "HOUSE\r\nA dwelling\r\n\r\n",
        "HOUSE\r\n" + std::string(70, 'z') + "\r\n",
        "\nHOUSE\nA dwelling\n",
    };
    const std::string source = "house\na dwelling\nhouse\nshelter\nhouse\n" + std::string(70, 'z') +
                               "\nhouse\nshelter\nhouse\nA dwel\nhouse\na dwelling\n" + NastySource(7, 200);
    for (const std::string& bytes : existing) {
        TempFolder fast;
        TempFolder slow;
        WriteBytes(fast.path() / "HO.CLU", bytes);
        WriteBytes(slow.path() / "HO.CLU", bytes);
        AddCluePairs(fast.path(), source);

        ClueDatabase database(slow.withSeparator());
        std::string_view rest = source;
        std::string_view w;
        std::string_view c;
        while (NextClueLine(rest, w)) {
            NextClueLine(rest, c);
            if (w.empty() || c.empty()) continue;
            std::string word(w);
            std::string clue(c);
            for (char& ch : word) ch = Upper(ch);
            clue[0] = Upper(clue[0]);
            database.AddClue(true, ClueText(word), ClueText(clue));
        }
        EXPECT_EQ(FolderContents(fast.path()), FolderContents(slow.path())) << "existing: " << bytes;
    }
}

}  // namespace
}  // namespace korvo
