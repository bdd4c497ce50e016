// The clue database and the installer write through the file layer. A layer
// that fails after any number of bytes, or at any other step, must make the
// call report the failure, leave no partial pair and no temporary file, and
// leave the clues readable as they were. With a working layer the files get
// the same bytes as the plain stream writes they replace.

#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "clues/clue_database.h"
#include "clues/clue_install.h"
#include "clues/clue_test_files.h"
#include "support/failing_file_system.h"

namespace korvo {
namespace {

using testsupport::FailingFileSystem;
using testsupport::FailStep;
using Folder = std::map<std::string, std::string>;

// One way a write can fail.
struct Failure {
    FailStep step;           // the step that fails
    std::size_t afterBytes;  // with FailStep::Write: the bytes each file accepts first
    int error;               // the errno value it fails with
};

std::string Describe(const Failure& f) {
    switch (f.step) {
        case FailStep::Write:
            return "after " + std::to_string(f.afterBytes) + " bytes, errno " + std::to_string(f.error);
        case FailStep::Create: return "at create";
        case FailStep::Sync: return "at flush";
        case FailStep::Close: return "at close";
        case FailStep::Rename: return "at rename";
        case FailStep::OpenAppend: return "at open for append";
        case FailStep::None: break;
    }
    return "nothing";
}

FailingFileSystem Failing(const Failure& f) {
    FailingFileSystem layer(f.step, f.error);
    layer.failAfterBytes = f.afterBytes;
    return layer;
}

// A full disk after every byte count below bytes, an I/O error half-way,
// and a failure at each of steps.
std::vector<Failure> EveryFailure(std::size_t bytes, std::initializer_list<FailStep> steps) {
    std::vector<Failure> failures;
    for (std::size_t n = 0; n < bytes; ++n) failures.push_back({FailStep::Write, n, ENOSPC});
    failures.push_back({FailStep::Write, bytes / 2, EIO});
    for (FailStep step : steps) failures.push_back({step, 0, EIO});
    return failures;
}

std::vector<std::u16string> AllClues(ClueDatabase& database, const std::u16string& word) {
    std::vector<std::u16string> clues;
    for (std::u16string r = database.Lookup(word); !r.empty(); r = database.Lookup(u"")) clues.push_back(r);
    return clues;
}

// The clue lists a fresh object reads for words.
std::map<std::u16string, std::vector<std::u16string>> ReadBack(const TempFolder& folder,
                                                               const std::vector<std::u16string>& words) {
    ClueDatabase database(folder.withSeparator());
    std::map<std::u16string, std::vector<std::u16string>> clues;
    for (const std::u16string& word : words) clues[word] = AllClues(database, word);
    return clues;
}

// --- the writes as plain streams made them, for the byte comparisons ------

void AppendPairWithStream(const std::filesystem::path& path, const std::string& word, const std::string& clue) {
    std::ofstream writer(path, std::ios::binary | std::ios::app);
    writer << word.substr(0, kClueWordLimit) << "\r\n" << clue.substr(0, kClueTextLimit) << "\r\n";
}

void DeletePairWithStream(const std::filesystem::path& path, const std::string& word, const std::string& clue) {
    std::ifstream in(path, std::ios::binary);
    std::ofstream writer(path.string() + ".new", std::ios::binary | std::ios::trunc);
    std::string w;
    std::string c;
    bool matched = false;
    while (ReadClueLine(in, w)) {
        if (w.empty()) continue;
        ReadClueLine(in, c);
        if (w == word && c == clue) {
            matched = true;
            continue;
        }
        writer << w.substr(0, kClueWordLimit) << "\r\n" << c.substr(0, kClueTextLimit) << "\r\n";
    }
    writer.close();
    if (matched) std::filesystem::rename(path.string() + ".new", path);
    std::filesystem::remove(path.string() + ".new");
}

// --- AddClue ----------------------------------------------------------------

const std::string kOldClues = "HOUSE\r\nA dwelling\r\nHOTEL\r\nA place to stay\r\n";

TEST(ClueWriteFailure, addClueFailingAtAnyStep_returnsFalseAndLeavesTheFolderAsItWas) {
    // A pair for a clue file that exists, and one for a file the call creates.
    struct Target {
        std::u16string word;  // the word added
        std::u16string clue;  // its clue
        std::string file;     // its clue file
        std::string pair;     // the bytes the pair is stored as
    };
    const std::vector<Target> targets{
        {u"HOME", u"Where the heart is", "HO.CLU", "HOME\r\nWhere the heart is\r\n"},
        {u"HELLO", u"Greeting", "HE.CLU", "HELLO\r\nGreeting\r\n"},
    };
    int cases = 0;
    for (const Target& target : targets) {
        for (const Failure& failure :
             EveryFailure(target.pair.size(), {FailStep::OpenAppend, FailStep::Sync, FailStep::Close})) {
            SCOPED_TRACE(target.file + " " + Describe(failure));
            ++cases;
            TempFolder folder;
            WriteBytes(folder.path() / "HO.CLU", kOldClues);
            const Folder before = FolderContents(folder.path());
            FailingFileSystem layer = Failing(failure);
            ClueDatabase database(folder.withSeparator(), layer);

            EXPECT_FALSE(database.AddClue(true, target.word, target.clue)) << "a failed write reported success";
            EXPECT_GE(layer.failures, 1);
            EXPECT_FALSE(database.LastWriteResult().ok);
            EXPECT_EQ(database.LastWriteResult().errorCode, failure.error);
            EXPECT_NE(database.LastWriteResult().message.find(target.file), std::string::npos)
                << database.LastWriteResult().message;
            EXPECT_EQ(FolderContents(folder.path()), before) << "a partial pair or a new empty file was left";
            const auto clues = ReadBack(folder, {u"HOUSE", u"HOTEL", target.word});
            EXPECT_EQ(clues.at(u"HOUSE"), std::vector<std::u16string>{u"A dwelling"});
            EXPECT_EQ(clues.at(u"HOTEL"), std::vector<std::u16string>{u"A place to stay"});
            EXPECT_TRUE(clues.at(target.word).empty());

            // Once the disk works again the same object stores the pair.
            layer.failAt = FailStep::None;
            EXPECT_TRUE(database.AddClue(true, target.word, target.clue));
            EXPECT_TRUE(database.LastWriteResult().ok);
            const std::string expected = target.file == "HO.CLU" ? kOldClues + target.pair : target.pair;
            EXPECT_EQ(ReadBytes(folder.path() / target.file), expected);
        }
    }
    std::printf("AddClue through a failing layer: %d cases\n", cases);
}

TEST(ClueWriteFailure, addClueThroughTheLayer_writesTheBytesOfAPlainStreamAppend) {
    const std::u16string wide = u"Price in \u20ac";
    struct Pair {
        std::u16string word;  // the word added
        std::u16string clue;  // its clue
    };
    const std::vector<Pair> pairs{
        {u"HOUSE", u"A dwelling"},         {u"HOUSEBOATSANDCARAVANSX", std::u16string(75, u'q')},  // both cut
        {u"HOUSE", u"Caf\u00e9 \r owner"}, {u"EURO", wide},
        {u"HOUSE", u"Two\nlines"},
    };
    TempFolder layered;
    TempFolder streamed;
    WriteBytes(layered.path() / "HO.CLU", "HOUSE\nOld last line");
    WriteBytes(streamed.path() / "HO.CLU", "HOUSE\nOld last line");
    FailingFileSystem layer;
    ClueDatabase database(layered.withSeparator(), layer);
    for (const Pair& p : pairs) {
        ASSERT_TRUE(database.AddClue(false, p.word, p.clue));
        const std::string word = ClueBytes(p.word);
        AppendPairWithStream(streamed.path() / ClueFileName(word), word, ClueBytes(p.clue));
    }
    EXPECT_EQ(FolderContents(layered.path()), FolderContents(streamed.path()));
    EXPECT_EQ(layer.failures, 0);
}

// --- DeleteClue -------------------------------------------------------------

// A clue file with a bare LF, two stray empty lines (which Lookup reads as
// one empty pair) and a clue over 60 characters: the rewrite changes more
// than the deleted pair.
const std::string kDeleteBefore = "HOUSE\nA dwelling\r\n\r\n\r\nHOUSE\r\nShelter\r\nHOTEL\r\n" + std::string(70, 'z') +
                                  "\r\nHOUSE\r\nShelter\r\nHOME\r\nBase\r\n";
const std::string kDeleteAfter = "HOUSE\r\nA dwelling\r\nHOTEL\r\n" + std::string(60, 'z') + "\r\nHOME\r\nBase\r\n";

TEST(ClueWriteFailure, deleteClueFailingAtAnyStep_returnsFalseKeepsTheClueFileAndNoTemporary) {
    int cases = 0;
    for (const Failure& failure :
         EveryFailure(kDeleteAfter.size(), {FailStep::Create, FailStep::Sync, FailStep::Close, FailStep::Rename})) {
        SCOPED_TRACE(Describe(failure));
        ++cases;
        TempFolder folder;
        WriteBytes(folder.path() / "HO.CLU", kDeleteBefore);
        FailingFileSystem layer = Failing(failure);
        ClueDatabase database(folder.withSeparator(), layer);

        EXPECT_FALSE(database.DeleteClue(u"HOUSE", u"Shelter")) << "a failed rewrite reported success";
        EXPECT_GE(layer.failures, 1);
        EXPECT_FALSE(database.LastWriteResult().ok);
        EXPECT_EQ(database.LastWriteResult().errorCode, failure.error);
        EXPECT_NE(database.LastWriteResult().message.find("HO.CLU"), std::string::npos)
            << database.LastWriteResult().message;
        EXPECT_EQ(FolderContents(folder.path()), (Folder{{"HO.CLU", kDeleteBefore}}))
            << "a partial copy replaced the clue file, or its temporary file was left";
        for (const auto& temporary : layer.temporaries) EXPECT_FALSE(std::filesystem::exists(temporary));
        const auto clues = ReadBack(folder, {u"HOUSE"});
        EXPECT_EQ(clues.at(u"HOUSE"), (std::vector<std::u16string>{u"A dwelling", u"Shelter", u"Shelter"}));

        layer.failAt = FailStep::None;
        EXPECT_TRUE(database.DeleteClue(u"HOUSE", u"Shelter"));
        EXPECT_EQ(FolderContents(folder.path()), (Folder{{"HO.CLU", kDeleteAfter}}));
    }
    std::printf("DeleteClue through a failing layer: %d cases\n", cases);
}

TEST(ClueWriteFailure, deleteClueWithNothingToRemove_writesNothingAndSucceeds) {
    TempFolder folder;
    WriteBytes(folder.path() / "HO.CLU", kDeleteBefore);
    // Every write would fail: none may be tried.
    for (FailStep step : {FailStep::Create, FailStep::Write}) {
        FailingFileSystem layer(step, EIO);
        ClueDatabase database(folder.withSeparator(), layer);
        EXPECT_TRUE(database.DeleteClue(u"HOUSE", u"Not a clue of it"));
        EXPECT_TRUE(database.DeleteClue(u"HOUSES", u"Shelter"));
        EXPECT_TRUE(database.DeleteClue(u"ZEBRA", u"Striped animal")) << "no clue file holds no pair";
        EXPECT_TRUE(database.DeleteClue(u"", u"Shelter"));
        EXPECT_EQ(layer.failures, 0);
        EXPECT_TRUE(layer.temporaries.empty());
        EXPECT_EQ(FolderContents(folder.path()), (Folder{{"HO.CLU", kDeleteBefore}}));
    }
}

TEST(ClueWriteFailure, deleteClueThroughTheLayer_writesTheBytesOfAPlainStreamRewrite) {
    const std::vector<std::pair<std::string, std::string>> deletions{
        {"HOUSE", "Shelter"}, {"HOTEL", std::string(70, 'z')}, {"HOME", "Base"}, {"HOUSE", "A dwelling"}};
    TempFolder layered;
    TempFolder streamed;
    WriteBytes(layered.path() / "HO.CLU", kDeleteBefore);
    WriteBytes(streamed.path() / "HO.CLU", kDeleteBefore);
    FailingFileSystem layer;
    ClueDatabase database(layered.withSeparator(), layer);
    for (const auto& [word, clue] : deletions) {
        SCOPED_TRACE(word + " / " + clue);
        EXPECT_TRUE(database.DeleteClue(ClueText(word), ClueText(clue)));
        DeletePairWithStream(streamed.path() / "HO.CLU", word, clue);
        EXPECT_EQ(FolderContents(layered.path()), FolderContents(streamed.path()));
    }
    EXPECT_EQ(layer.temporaries.size(), 3u) << "one rewrite per deletion that matched";
}

// --- the installer ----------------------------------------------------------

// Three clue files of different sizes: HO.CLU (three pairs), TR.CLU (two)
// and ZE.CLU (one).
const std::string kSource =
    "house\r\na dwelling\r\nhome\r\nwhere the heart is\r\nhouse\r\nshelter\r\ntree\r\noak, e.g.\r\n"
    "zebra\r\nstriped animal\r\ntrees\r\ngrove\r\n";
const std::map<std::string, int> kPairsPerFile{{"HO.CLU", 3}, {"TR.CLU", 2}, {"ZE.CLU", 1}};
const std::vector<std::u16string> kSourceWords{u"HOUSE", u"HOME", u"TREE", u"TREES", u"ZEBRA"};

// What the installer guarantees when writes fail: every clue file is either
// complete or absent (each file gets its pairs in one append, undone when it
// fails), the count is that of the complete files, and the first failure is
// reported.
TEST(ClueWriteFailure, installFailingAtAnyStep_leavesEachClueFileCompleteOrAbsent_andReportsIt) {
    TempFolder program;
    WriteBytes(program.path() / "cdata1.bin", kSource);
    TempFolder healthy;
    ASSERT_EQ(InstallClueDatabase(healthy.path(), program.path(), 1), 6);
    const Folder complete = FolderContents(healthy.path() / "CLUES1");
    ASSERT_EQ(complete.size(), kPairsPerFile.size());
    std::size_t largest = 0;
    for (const auto& [name, bytes] : complete) largest = std::max(largest, bytes.size());

    int cases = 0;
    for (const Failure& failure : EveryFailure(largest + 1, {FailStep::OpenAppend, FailStep::Close})) {
        SCOPED_TRACE(Describe(failure));
        ++cases;
        TempFolder data;
        // An earlier database in the folder is emptied first, as always.
        std::filesystem::create_directories(data.path() / "CLUES1");
        WriteBytes(data.path() / "CLUES1" / "HO.CLU", "HOUSE\r\nOld clue\r\n");
        FailingFileSystem layer = Failing(failure);
        FileWriteResult result;
        const int stored = InstallClueDatabase(data.path(), program.path(), 1, layer, &result);

        Folder expected;
        int expectedPairs = 0;
        for (const auto& [name, bytes] : complete) {
            if (failure.step == FailStep::Write && bytes.size() <= failure.afterBytes) {
                expected[name] = bytes;
                expectedPairs += kPairsPerFile.at(name);
            }
        }
        EXPECT_EQ(FolderContents(data.path() / "CLUES1"), expected);
        EXPECT_EQ(stored, expectedPairs);
        const bool allWritten = expected.size() == complete.size();
        EXPECT_EQ(result.ok, allWritten) << "a failed write went unreported, or a good one was reported";
        if (!allWritten) {
            EXPECT_EQ(result.errorCode, failure.error);
            EXPECT_NE(result.message.find("CLUES1"), std::string::npos) << result.message;
        }

        // Lookup finds a word's clues whole or not at all.
        ClueDatabase database((data.path() / "CLUES1").string() + "/");
        ClueDatabase reference((healthy.path() / "CLUES1").string() + "/");
        for (const std::u16string& word : kSourceWords) {
            const auto clues = AllClues(database, word);
            if (!clues.empty()) {
                EXPECT_EQ(clues, AllClues(reference, word));
            }
        }
    }
    std::printf("clue install through a failing layer: %d cases\n", cases);
}

// A file left over in a shape the appended lines would merge with is added
// to pair by pair; a failure stops it there, so the file holds the old bytes
// and the pairs written before the failure, each whole.
TEST(ClueWriteFailure, addPairsOntoAnUnendedFile_keepsTheWholePairsBeforeTheFailure) {
    const std::string old = "HOUSE\r\nA dwel";
    const std::vector<std::string> pairs{"HOUSE\r\nShelter\r\n", "HOME\r\nWhere the heart is\r\n", "HOTEL\r\nInn\r\n"};
    const std::string source = "house\nshelter\nhome\nwhere the heart is\nhotel\ninn\n";
    for (std::size_t n = 0; n <= pairs[1].size(); ++n) {
        SCOPED_TRACE(n);
        TempFolder folder;
        WriteBytes(folder.path() / "HO.CLU", old);
        FailingFileSystem layer = FailingFileSystem::AfterBytes(n);
        FileWriteResult result;
        const int stored = AddCluePairs(folder.path(), source, layer, &result);

        std::string expected = old;
        std::size_t written = 0;
        while (written < pairs.size() && pairs[written].size() <= n) expected += pairs[written++];
        EXPECT_EQ(FolderContents(folder.path()), (Folder{{"HO.CLU", expected}}));
        EXPECT_EQ(stored, static_cast<int>(written));
        EXPECT_EQ(result.ok, written == pairs.size());
    }
}

TEST(ClueWriteFailure, installThroughTheLayer_writesWhatTheDefaultFileSystemWrites) {
    TempFolder program;
    const std::string source = kSource + "h\nletter\n\xe9t\xe9\nsummer\nabcdefghijklmnopqrstuvwxyz\n" +
                               std::string(75, 'q') + "\nhome\nwhere the heart is\nlast\nline\r";
    WriteBytes(program.path() / "cdata2.bin", source);
    TempFolder plain;
    TempFolder layered;
    FailingFileSystem layer;
    FileWriteResult result;
    EXPECT_EQ(InstallClueDatabase(plain.path(), program.path(), 2), 9);
    EXPECT_EQ(InstallClueDatabase(layered.path(), program.path(), 2, layer, &result), 9);
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(FolderContents(layered.path()), FolderContents(plain.path()));
    EXPECT_EQ(ReadBytes(layered.path() / "CLUES2" / "AB.CLU"),
              "ABCDEFGHIJKLMNOPQRSTU\r\nQ" + std::string(59, 'q') + "\r\n");
    EXPECT_EQ(ReadBytes(layered.path() / "CLUES2" / "LA.CLU"), "LAST\r\nLine\r\r\n");
}

}  // namespace
}  // namespace korvo
