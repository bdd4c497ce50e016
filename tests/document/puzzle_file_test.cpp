#include "document/puzzle_file.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "document/puzzle_file_fixture.h"
#include "support/failing_file_system.h"

namespace korvo {
namespace {

using namespace puzzletest;

Bytes Encode(const CCWData& puzzle, const PuzzleFilePage& page = SamplePage(), std::int32_t version = 60601) {
    PuzzleEncodeResult result = EncodePuzzle(puzzle, page, version);
    EXPECT_TRUE(result.ok()) << result.error;
    return result.bytes;
}

// Every stored field of two puzzles and their page parts agree.
void ExpectSameStoredFields(const CCWData& a, const CCWData& b) {
    EXPECT_EQ(a.gridText, b.gridText);
    EXPECT_EQ(a.gridSize, b.gridSize);
    EXPECT_EQ(a.solutionText, b.solutionText);
    EXPECT_EQ(a.status, b.status);
    EXPECT_EQ(a.title, b.title);
    EXPECT_EQ(a.answerTitle, b.answerTitle);
    EXPECT_EQ(a.author, b.author);
    EXPECT_EQ(a.copyright, b.copyright);
    EXPECT_EQ(a.highestNumber, b.highestNumber);
    EXPECT_EQ(a.wordListId, b.wordListId);
    EXPECT_EQ(a.notepad, b.notepad);
    const int squares = a.gridSize * a.gridSize;
    EXPECT_EQ(std::vector<std::int32_t>(a.cellNumbers, a.cellNumbers + squares),
              std::vector<std::int32_t>(b.cellNumbers, b.cellNumbers + squares));
    EXPECT_EQ(std::vector<std::uint8_t>(a.circled, a.circled + squares),
              std::vector<std::uint8_t>(b.circled, b.circled + squares));
    ASSERT_EQ(a.clues.size(), b.clues.size());
    for (std::size_t i = 0; i < a.clues.size(); ++i) {
        SCOPED_TRACE("clue " + std::to_string(i));
        EXPECT_EQ(a.clues[i].number, b.clues[i].number);
        EXPECT_EQ(a.clues[i].direction, b.clues[i].direction);
        EXPECT_EQ(a.clues[i].clue, b.clues[i].clue);
        EXPECT_EQ(a.clues[i].answer, b.clues[i].answer);
        EXPECT_EQ(a.clues[i].rect, b.clues[i].rect);
    }
}

// ------------------------------------------------------------ writing

TEST(EncodePuzzle, smallPuzzle_isTheDocumentedLayoutByteForByte) {
    const auto puzzle = SmallPuzzle();
    const Bytes file = Encode(*puzzle);
    EXPECT_EQ(file, SmallPuzzleFile());
    const Bytes header{0xFF, 0xFF, 0x70, 0x17, 0x07, 0x00, 0x43, 0x43, 0x57, 0x44, 0x61, 0x74, 0x61};
    EXPECT_EQ(Bytes(file.begin(), file.begin() + 13), header);
    // The title: marker, 7 units, then UTF-16LE with the check mark as 13 27.
    const Bytes title{0xFF, 0xFE, 0xFF, 0x07, 'K', 0, 0xE4, 0, 'f', 0, 'e', 0, 'r', 0, ' ', 0, 0x13, 0x27};
    EXPECT_EQ(Bytes(file.begin() + 65, file.begin() + 65 + 18), title);
    EXPECT_EQ(Bytes(file.end() - 4, file.end()), (Bytes{0xB9, 0xEC, 0x00, 0x00})) << "60601 ends the file";
}

TEST(EncodePuzzle, fullSizeGrids_haveTheDocumentedStringHeadersAndCellArrays) {
    struct Case {
        int n;
        Bytes gridHeader;
    };
    for (const Case& c : {Case{15, {0xFF, 0xFE, 0xFF, 0xE1}}, Case{21, {0xFF, 0xFE, 0xFF, 0xFF, 0xB9, 0x01}}}) {
        SCOPED_TRACE(c.n);
        const std::size_t squares = static_cast<std::size_t>(c.n * c.n);
        auto puzzle = FilledPuzzle(c.n, PatternGrid(c.n));
        puzzle->solutionText = PatternGrid(c.n, u'K');
        puzzle->notepad.clear();
        puzzle->circled[squares - 1] = 1;
        const PuzzleFilePage page = SamplePage();
        const Bytes file = Encode(*puzzle, page);

        ByteBuilder expected;
        expected.Header().Str(puzzle->gridText).Le32(c.n).Str(puzzle->solutionText).Le32(-1);
        expected.Str(puzzle->title).Str(puzzle->answerTitle).Str(puzzle->author).Str(puzzle->copyright);
        expected.Le32(0).Le32(1);
        const std::size_t notepadAt = expected.bytes.size();
        expected.Str(u"");
        for (std::size_t i = 0; i < squares; ++i) expected.Le32(puzzle->cellNumbers[i]);
        for (std::size_t i = 0; i < squares; ++i) expected.U8(i + 1 == squares ? 1 : 0);
        expected.Le32(0).Page(page).Le32(60601);
        EXPECT_EQ(file, expected.bytes);

        // The documented headers, checked as literal bytes as well.
        ASSERT_GT(file.size(), notepadAt + 4);
        EXPECT_EQ(Bytes(file.begin() + 13, file.begin() + 13 + c.gridHeader.size()), c.gridHeader);
        const std::size_t sizeAt = 13 + c.gridHeader.size() + 2 * squares;
        EXPECT_EQ(Bytes(file.begin() + sizeAt, file.begin() + sizeAt + 4),
                  (Bytes{static_cast<std::uint8_t>(c.n), 0, 0, 0}));
        EXPECT_EQ(Bytes(file.begin() + notepadAt, file.begin() + notepadAt + 4), (Bytes{0xFF, 0xFE, 0xFF, 0x00}))
            << "an empty notepad";
        EXPECT_EQ(file.size(), notepadAt + 4 + 4 * squares + squares + 4 + 331 + 4);
    }
}

TEST(EncodePuzzle, puzzleThatCouldNotBeReadBack_isRefused) {
    const std::vector<std::pair<const char*, std::function<void(CCWData&)>>> cases = {
        {"grid size 0", [](CCWData& p) { p.gridSize = 0; }},
        {"grid size 29", [](CCWData& p) { p.gridSize = 29; }},
        {"grid one square short", [](CCWData& p) { p.gridText.pop_back(); }},
        {"answer grid empty", [](CCWData& p) { p.solutionText.clear(); }},
        {"still designing", [](CCWData& p) { p.status = StatusDesigning; }},
        {"search exhausted", [](CCWData& p) { p.status = StatusExhausted; }},
    };
    for (const auto& [name, damage] : cases) {
        SCOPED_TRACE(name);
        auto puzzle = SmallPuzzle();
        damage(*puzzle);
        const PuzzleEncodeResult result = EncodePuzzle(*puzzle, SamplePage(), 60601);
        EXPECT_FALSE(result.ok());
        EXPECT_TRUE(result.bytes.empty());
    }
}

// ------------------------------------------------------------ reading

TEST(DecodePuzzle, whatWasWritten_readsBackFieldForField) {
    std::vector<std::unique_ptr<CCWData>> puzzles;
    puzzles.push_back(SmallPuzzle());
    // Strings of every length form: 300 units (FF + WORD), 70,000 (FF FF FF + uint32).
    auto longTexts = SmallPuzzle();
    longTexts->title = std::u16string(300, u'\u00E9');
    longTexts->notepad = std::u16string(70000, u'n');
    longTexts->clues[2].clue = std::u16string(254, u'x');
    longTexts->clues[3].clue = std::u16string(255, u'y');
    puzzles.push_back(std::move(longTexts));
    // The largest grid with the most clues.
    auto large = FilledPuzzle(28, PatternGrid(28));
    for (int i = 0; i < 28 * 28; ++i) {
        large->cellNumbers[i] = i % 253;
        large->circled[i] = static_cast<std::uint8_t>(i % 3);
    }
    for (int i = 0; i < 250; ++i) large->clues.push_back(Clue(i + 1, i >= 125, u"clue", u"WORD", {i, -i, 2 * i, 7}));
    large->highestNumber = 250;
    large->wordListId = 5;
    puzzles.push_back(std::move(large));

    for (const auto& puzzle : puzzles) {
        SCOPED_TRACE(puzzle->gridSize);
        PuzzleFilePage page = SamplePage();
        page.gridViewShown = true;
        page.underlinedTitle = false;
        const Bytes file = Encode(*puzzle, page, 123456);
        const PuzzleDecodeResult read = DecodePuzzle(file);
        ASSERT_TRUE(read.ok()) << read.error;
        ExpectSameStoredFields(*puzzle, *read.puzzle);
        EXPECT_EQ(read.page, page);
        EXPECT_EQ(read.programVersion, 123456);
        EXPECT_EQ(read.puzzle->engine, nullptr);
        EXPECT_EQ(read.puzzle->wordStore, nullptr);
        EXPECT_TRUE(read.puzzle->dataFolder.empty());
        EXPECT_EQ(Encode(*read.puzzle, read.page, read.programVersion), file) << "written again, the same bytes";
    }
}

TEST(DecodePuzzle, fileOfVersion60303_endsAfterTheTitleFlagsAndWritesItsVersionBack) {
    const Bytes full = SmallPuzzleFile();
    // Without the version field, and with only part of it, the file loads as 60303.
    for (std::size_t keep = 0; keep < 4; ++keep) {
        SCOPED_TRACE(keep);
        const Bytes old(full.begin(), full.end() - 4 + static_cast<std::ptrdiff_t>(keep));
        const PuzzleDecodeResult read = DecodePuzzle(old);
        ASSERT_TRUE(read.ok()) << read.error;
        EXPECT_EQ(read.programVersion, 60303);
        EXPECT_EQ(read.page, SamplePage());
        EXPECT_EQ(Encode(*read.puzzle, read.page, read.programVersion), SmallPuzzleFile(60303));
    }
    const Bytes rewritten = SmallPuzzleFile(60303);
    EXPECT_EQ(Bytes(rewritten.end() - 4, rewritten.end()), (Bytes{0x8F, 0xEB, 0, 0}));

    Bytes trailing = full;
    trailing.insert(trailing.end(), {1, 2, 3, 4, 5});
    const PuzzleDecodeResult read = DecodePuzzle(trailing);
    ASSERT_TRUE(read.ok()) << read.error;
    EXPECT_EQ(read.programVersion, 60601) << "bytes after the version are ignored";
}

TEST(DecodePuzzle, stringsWithoutTheMarker_areEightBitText) {
    ByteBuilder b;
    b.Header().Str8("AB!D").Le32(2).Str8("ABCD").Le32(-1);
    b.Str8("Caf\xE9 \xA9").Str8("Previous Answer").Str8("").Str8("\xA9 1999");
    // An 8-bit string with the long length form: FF, then the WORD 300.
    b.Le32(4).Le32(3).U8(0xFF).Le16(300);
    for (int i = 0; i < 300; ++i) b.U8(static_cast<std::uint8_t>('a' + i % 26));
    b.Le32(1).Le32(2).Le32(251).Le32(3).Raw({0, 1, 0, 0});
    b.Le32(1).Le32(1).Str8("ACROSS").Str8("Na\xEFve").Str(u"AB").Le32(1).Le32(2).Le32(3).Le32(4);
    b.Page(SamplePage());  // no version: an old file

    const PuzzleDecodeResult read = DecodePuzzle(b.bytes);
    ASSERT_TRUE(read.ok()) << read.error;
    const CCWData& p = *read.puzzle;
    EXPECT_EQ(p.gridText, u"AB!D");
    EXPECT_EQ(p.solutionText, u"ABCD");
    EXPECT_EQ(p.title, u"Caf\u00E9 \u00A9");
    EXPECT_EQ(p.answerTitle, u"Previous Answer");
    EXPECT_EQ(p.author, u"");
    EXPECT_EQ(p.copyright, u"\u00A9 1999");
    ASSERT_EQ(p.notepad.size(), 300u);
    EXPECT_EQ(p.notepad.substr(0, 3), u"abc");
    EXPECT_EQ(p.cellNumbers[2], 251);
    EXPECT_EQ(p.circled[1], 1);
    ASSERT_EQ(p.clues.size(), 1u);
    EXPECT_EQ(p.clues[0].direction, u"ACROSS");
    EXPECT_EQ(p.clues[0].clue, u"Na\u00EFve");
    EXPECT_EQ(p.clues[0].answer, u"AB") << "marked and unmarked strings mix";
    EXPECT_EQ(p.clues[0].rect, (RECT{1, 2, 3, 4}));
    EXPECT_EQ(read.programVersion, 60303);
}

// ------------------------------------------------------------ the document

using testsupport::FailingFileSystem;
using testsupport::FailStep;
using testsupport::ReadFileForTest;

const std::u16string kFormatMessage = u"ERROR: Invalid Puzzle File Format.";
const std::u16string kSaveMessage = u"An error was encountered while saving the file.";

void ExpectMessages(const testsupport::ScriptedHost& host, const std::vector<std::u16string>& texts,
                    MessageIcon icon = MessageIcon::None) {
    EXPECT_EQ(host.MessageTexts(), texts);
    for (const testsupport::RecordedMessage& m : host.messages) EXPECT_EQ(m.icon, icon);
}

using PuzzleFileDocument = PuzzleDocumentTest;

TEST_F(PuzzleFileDocument, saveThenOpen_restoresPuzzlePageMirrorsAndVersion) {
    const auto path = File("pets.kvz");
    doc->SetModifiedFlag(true);
    ASSERT_TRUE(doc->SavePuzzleFile(path));
    EXPECT_EQ(ToBytes(ReadFileForTest(path)), SmallPuzzleFile());
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(doc->PathName(), path);
    EXPECT_TRUE(host.messages.empty());

    MakeDocument(nullptr);
    doc->cwData.reset();
    doc->SetModifiedFlag(true);
    ASSERT_TRUE(doc->OpenPuzzleFile(path));
    EXPECT_TRUE(host.messages.empty());
    ExpectSameStoredFields(*SmallPuzzle(), *doc->cwData);
    EXPECT_EQ(doc->cwData->engine, nullptr);
    EXPECT_EQ(PuzzleFilePageOf(*doc), SamplePage());
    EXPECT_EQ(doc->titleText, u"K\u00E4fer \u2713");
    EXPECT_EQ(doc->answerTitleText, u"Puzzle Answer");
    EXPECT_EQ(doc->copyrightText, u"\u00A9 2026 Ann");
    EXPECT_EQ(doc->authorText, u"by Ann");
    EXPECT_EQ(doc->programVersion, 60601);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(doc->PathName(), path);
    EXPECT_EQ(doc->EncodePuzzleFile(), SmallPuzzleFile());
}

TEST_F(PuzzleFileDocument, fileOfVersion60303_isSavedAgainAs60303) {
    const Bytes full = SmallPuzzleFile();
    const auto old = Write("old.kvz", Bytes(full.begin(), full.end() - 4));
    ASSERT_TRUE(doc->OpenPuzzleFile(old));
    EXPECT_EQ(doc->programVersion, 60303);
    const auto again = File("again.kvz");
    ASSERT_TRUE(doc->SavePuzzleFile(again));
    EXPECT_EQ(ToBytes(ReadFileForTest(again)), SmallPuzzleFile(60303));
}

// Damaged puzzle files, each of which must be refused as a whole.
std::vector<std::pair<std::string, Bytes>> DamagedFiles() {
    const Bytes good = SmallPuzzleFile();
    const std::size_t sizeAt = 35, solutionAt = 39, statusAt = 61, titleAt = 65;
    const std::size_t countAt = SmallPuzzleFileBeforeClueCount().size();
    std::vector<std::pair<std::string, Bytes>> files;
    auto replaced = [&](std::string name, std::size_t at, std::size_t length, Bytes with) {
        Bytes b = good;
        b.erase(b.begin() + at, b.begin() + at + length);
        b.insert(b.begin() + at, with.begin(), with.end());
        files.emplace_back(std::move(name), std::move(b));
    };
    auto int32At = [&](std::string name, std::size_t at, std::int64_t value) {
        replaced(std::move(name), at, 4, ByteBuilder().Le32(value).bytes);
    };

    // Every cut before the version field (a cut inside it is an old file).
    for (std::size_t n = 0; n + 4 < good.size(); ++n)
        files.emplace_back("cut after " + std::to_string(n) + " bytes", Bytes(good.begin(), good.begin() + n));
    // Each header byte changed (a letter's case, a length, the tag, the schema).
    for (std::size_t i = 0; i < 13; ++i) {
        Bytes b = good;
        b[i] ^= 0x20;
        files.emplace_back("header byte " + std::to_string(i) + " changed", std::move(b));
    }
    replaced("null-object tag 00 00", 0, 2, {0x00, 0x00});
    replaced("tag of a class seen before", 0, 2, {0x01, 0x80});
    replaced("schema 5999", 2, 2, {0x6F, 0x17});
    replaced("schema 6001", 2, 2, {0x71, 0x17});
    replaced("class CCWDatA", 12, 1, {'A'});
    replaced("class CObject", 4, 9, {0x07, 0x00, 'C', 'O', 'b', 'j', 'e', 'c', 't'});
    replaced("class name of 64 characters", 4, 9,
             ByteBuilder().Le16(64).Raw({'C', 'C', 'W', 'D', 'a', 't', 'a'}).bytes);
    replaced("class name of 0xFFFF characters", 4, 2, {0xFF, 0xFF});
    int32At("grid size 0", sizeAt, 0);
    int32At("grid size 29", sizeAt, 29);
    int32At("grid size 1,000,000", sizeAt, 1000000);
    int32At("grid size -3", sizeAt, -3);
    int32At("grid size 2 for a grid of 9 squares", sizeAt, 2);
    int32At("grid size 4 for a grid of 9 squares", sizeAt, 4);
    replaced("answer grid one square short", solutionAt, 22, ByteBuilder().Str(u"CATO!OWE").bytes);
    replaced("answer grid one square long", solutionAt, 22, ByteBuilder().Str(u"CATO!OWETT").bytes);
    int32At("status designing", statusAt, StatusDesigning);
    int32At("status exhausted", statusAt, StatusExhausted);
    int32At("status generating", statusAt, StatusGenerating);
    replaced("title claims 0xFFFFFFFF units", titleAt + 3, 1, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
    replaced("title claims 65,533 units", titleAt + 3, 1, {0xFF, 0xFD, 0xFF});
    replaced("8-bit title claims 2^31 characters", titleAt, 4, {0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x80});
    replaced("8-bit title claims 65,000 characters", titleAt, 4, {0xFF, 0xE8, 0xFD});
    int32At("clue count -1", countAt, -1);
    int32At("clue count -2^31", countAt, INT32_MIN);
    int32At("clue count 2^31 - 1", countAt, INT32_MAX);
    int32At("clue count one more than the bytes left could hold", countAt,
            static_cast<std::int64_t>((good.size() - countAt - 4) / 23 + 1));
    return files;
}

TEST_F(PuzzleFileDocument, damagedFile_showsTheFormatMessageAndKeepsEverything) {
    const auto files = DamagedFiles();
    ASSERT_GT(files.size(), SmallPuzzleFile().size());
    int row = 0;
    for (const auto& [name, bytes] : files) {
        SCOPED_TRACE(name);
        const auto path = Write("damaged.kvz", bytes);
        const CCWData* before = doc->cwData.get();
        const bool modified = (++row % 2) == 0;
        doc->SetModifiedFlag(modified);
        doc->pathName = "current.kvz";
        host.messages.clear();

        // Opened as the document: refused, and the document goes on as it was.
        EXPECT_FALSE(doc->OpenPuzzleFile(path));
        ExpectMessages(host, {kFormatMessage});
        EXPECT_EQ(doc->cwData.get(), before);
        EXPECT_EQ(doc->IsModified(), modified);
        EXPECT_EQ(doc->PathName(), "current.kvz");
        EXPECT_EQ(doc->titleText, u"TO DO: Puzzle Title");
        EXPECT_EQ(PuzzleFilePageOf(*doc), SamplePage());
        EXPECT_EQ(doc->programVersion, 60601);

        // Chosen in Load Solution: the same message; only the modified flag changes.
        host.messages.clear();
        doc->SetModifiedFlag(false);
        host.openAnswers.push_back(path);
        doc->OnLoadSolution();
        ExpectMessages(host, {kFormatMessage});
        EXPECT_EQ(doc->cwData->solutionText, u"CATO!OWET");
        EXPECT_EQ(doc->cwData->answerTitle, u"Puzzle Answer");
        EXPECT_TRUE(doc->IsModified());
        if (HasFailure()) break;  // one damaged file's report is enough
    }
    ExpectSameStoredFields(*SmallPuzzle(), *doc->cwData);
}

TEST_F(PuzzleFileDocument, missingOrOversizedFile_isReportedAndChangesNothing) {
    const CCWData* before = doc->cwData.get();
    EXPECT_FALSE(doc->OpenPuzzleFile(File("missing.kvz")));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text.rfind(u"Failed to open document.", 0), 0u);

    // Larger than any puzzle file: refused before it is read into memory.
    const auto huge = File("huge.kvz");
    Write("huge.kvz", SmallPuzzleFile());
    std::filesystem::resize_file(huge, kMaxPuzzleFileBytes + 1);
    host.messages.clear();
    EXPECT_FALSE(doc->OpenPuzzleFile(huge));
    ExpectMessages(host, {kFormatMessage});
    EXPECT_EQ(doc->cwData.get(), before);
    EXPECT_FALSE(doc->IsModified());
}

TEST_F(PuzzleFileDocument, failingWrite_showsTheSaveMessageAndKeepsTheOldFileAndModifiedFlag) {
    const Bytes file = SmallPuzzleFile();
    const std::string old = "the old puzzle";
    const auto path = File("pets.kvz");
    auto attempt = [&](FailingFileSystem& fs) {
        testsupport::WriteFileForTest(path, old);
        doc->environment.fileSystem = &fs;
        doc->SetModifiedFlag(true);
        doc->pathName = "before.kvz";
        host.messages.clear();
        return doc->SavePuzzleFile(path);
    };
    for (std::size_t n = 0; n < file.size(); ++n) {
        SCOPED_TRACE("write fails after " + std::to_string(n) + " bytes");
        FailingFileSystem fs = FailingFileSystem::AfterBytes(n);
        EXPECT_FALSE(attempt(fs));
        ExpectMessages(host, {kSaveMessage}, MessageIcon::Information);
        EXPECT_EQ(ReadFileForTest(path), old);
        EXPECT_TRUE(doc->IsModified());
        EXPECT_EQ(doc->PathName(), "before.kvz");
        EXPECT_EQ(root.Entries("files"), std::vector<std::string>{"pets.kvz"}) << "no temporary file is left";
        if (HasFailure()) break;
    }
    for (FailStep step : {FailStep::Create, FailStep::Sync, FailStep::Close, FailStep::Rename}) {
        SCOPED_TRACE(static_cast<int>(step));
        FailingFileSystem fs(step);
        EXPECT_FALSE(attempt(fs));
        ExpectMessages(host, {kSaveMessage}, MessageIcon::Information);
        EXPECT_EQ(ReadFileForTest(path), old);
        EXPECT_TRUE(doc->IsModified());
        EXPECT_EQ(root.Entries("files"), std::vector<std::string>{"pets.kvz"});
    }
    // With room for every byte the save goes through.
    FailingFileSystem roomy = FailingFileSystem::AfterBytes(file.size());
    EXPECT_TRUE(attempt(roomy));
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(ToBytes(ReadFileForTest(path)), file);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(doc->PathName(), path);
}

TEST_F(PuzzleFileDocument, puzzleThatIsNotFilled_isNotSaved) {
    const auto path = File("unfinished.kvz");
    doc->cwData->SetStatus(StatusDesigning);
    doc->SetModifiedFlag(true);
    EXPECT_FALSE(doc->SavePuzzleFile(path));
    ExpectMessages(host, {kSaveMessage}, MessageIcon::Information);
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_TRUE(doc->IsModified());

    doc->cwData.reset();
    EXPECT_TRUE(doc->EncodePuzzleFile().empty());
    EXPECT_FALSE(doc->SavePuzzleFile(path));
    EXPECT_FALSE(std::filesystem::exists(path));
}

}  // namespace
}  // namespace korvo
