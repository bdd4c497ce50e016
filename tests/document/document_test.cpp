// The document's start-up sequence, the first-run setup, a new puzzle and
// the page metrics.
#include <gtest/gtest.h>

#include <cstdlib>

#include "document/document_fixture.h"
#include "platform/paths.h"

namespace korvo::testsupport {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> FirstRunEvents() {
    std::vector<std::string> events{"first-run show"};
    for (int step = 0; step <= 5; ++step) events.push_back("first-run progress " + std::to_string(step) + "/5");
    events.push_back("first-run hide");
    return events;
}

std::vector<std::string> FirstRunEventsOf(const std::vector<std::string>& events) {
    std::vector<std::string> out;
    for (const std::string& e : events)
        if (e.rfind("first-run", 0) == 0) out.push_back(e);
    return out;
}

TEST_F(DocumentTest, firstStart_runsSetupWritesVersionAndInstallsEveryClueDatabase) {
    for (int n = 1; n <= 5; ++n) WriteClueSource(n, "house\r\nword " + std::to_string(n) + "\r\n");

    auto doc = MakeDocument();

    EXPECT_EQ(FirstRunEventsOf(host.events), FirstRunEvents());
    EXPECT_FALSE(host.firstRunVisible);
    EXPECT_EQ(ReadFileForTest(DataFile("version.dat")), "60601\r\n");
    for (int n = 1; n <= 5; ++n) {
        const std::string digit = std::to_string(n);
        EXPECT_EQ(ReadFileForTest(DataFile("CLUES" + digit) / "HO.CLU"), "HOUSE\r\nWord " + digit + "\r\n");
        EXPECT_TRUE(fs::is_directory(DataFile("NEWCLUES" + digit))) << digit;
    }
    EXPECT_EQ(doc->dataFolder, PathToU16(DataFolderPath()));
    EXPECT_FALSE(host.fatalMessage);
}

TEST_F(DocumentTest, firstStartWithAnUnwritableClueFolder_namesItAndInstallsTheOthers) {
    for (int n = 1; n <= 5; ++n) WriteClueSource(n, "house\r\nword " + std::to_string(n) + "\r\n");
    // A plain file where the CLUES2 folder belongs: no clue file can be made in it.
    fs::create_directories(DataFolderPath());
    WriteFileForTest(DataFile("CLUES2"), "in the way");

    auto doc = MakeDocument();

    std::vector<std::string> messages;
    for (const std::string& e : host.events)
        if (e.rfind("message ", 0) == 0) messages.push_back(e);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("Some clue databases could not be installed"), std::string::npos) << messages[0];
    EXPECT_NE(messages[0].find("Word list 2: "), std::string::npos) << messages[0];
    EXPECT_EQ(messages[0].find("Word list 1: "), std::string::npos) << messages[0];
    EXPECT_EQ(ReadFileForTest(DataFile("CLUES2")), "in the way");
    for (int n : {1, 3, 4, 5}) {
        const std::string digit = std::to_string(n);
        EXPECT_EQ(ReadFileForTest(DataFile("CLUES" + digit) / "HO.CLU"), "HOUSE\r\nWord " + digit + "\r\n");
    }
    EXPECT_FALSE(host.fatalMessage);
}

// What a start finds in an existing data folder decides whether the setup
// runs again and whether NEWCLUES1 keeps its files.
TEST_F(DocumentTest, existingFolder_versionDecidesSetupAndNewClues1Cleanup) {
    struct Case {
        const char* name;
        const char* version;  // nullptr: no version.dat
        bool setup;
        bool newClues1Emptied;
    };
    const Case cases[] = {
        {"this version", "60601\r\n", false, false},
        {"60500", "60500\r\n", true, false},
        {"newer version", "70000\r\n", true, false},
        {"below 60500", "60499\r\n", true, true},
        {"very old", "100", true, true},
        {"no marker", nullptr, true, true},
        {"not a number", "version 6\r\n", true, true},
        {"empty marker", "", true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder data;
        const fs::path folder = data.path() / "TolvaneCWBuilder";
        fs::create_directories(folder / "NEWCLUES1" / "kept");
        WriteFileForTest(folder / "NEWCLUES1" / "MY.CLU", "MY\r\nMine\r\n");
        WriteFileForTest(folder / "NEWCLUES1" / "kept" / "IN.CLU", "INNER\r\nStays\r\n");
        WriteFileForTest(folder / "CLUES1" / "OL.CLU", "OLD\r\nOld clue\r\n");
        if (c.version) WriteFileForTest(folder / "version.dat", c.version);

        ScriptedHost localHost;
        CkorvoDoc doc(localHost, DocumentEnvironment{folder, ProgramFolder(), nullptr});

        EXPECT_EQ(localHost.firstRunShows, c.setup ? 1 : 0);
        // The setup rebuilds CLUES1 from its (here missing) source.
        EXPECT_EQ(fs::exists(folder / "CLUES1" / "OL.CLU"), !c.setup);
        EXPECT_EQ(ReadFileForTest(folder / "version.dat"), c.setup ? "60601\r\n" : c.version);
        EXPECT_EQ(fs::exists(folder / "NEWCLUES1" / "MY.CLU"), !c.newClues1Emptied);
        EXPECT_TRUE(fs::exists(folder / "NEWCLUES1" / "kept" / "IN.CLU"));
        for (int n = 1; n <= 5; ++n) EXPECT_TRUE(fs::is_directory(folder / ("NEWCLUES" + std::to_string(n))));
    }
}

TEST_F(DocumentTest, versionFileWriteFails_setupRunsAndNothingHalfWritten) {
    FailingFileSystem fs(FailStep::Write);
    fs.failAfterBytes = 3;
    auto doc = MakeDocument(&fs);
    EXPECT_EQ(host.firstRunShows, 1);
    EXPECT_FALSE(fs::exists(DataFile("version.dat")));
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(doc->ReadVersionFile(), 0);
}

TEST_F(DocumentTest, construction_setsDocumentedValues) {
    PrepareInstalledDataFolder();
    auto doc = MakeDocument();

    EXPECT_EQ(host.firstRunShows, 0);
    EXPECT_EQ(doc->generatingMode, 1);
    EXPECT_EQ(doc->appliedMode, 0);
    EXPECT_EQ(doc->wordListId, 1);
    EXPECT_EQ(doc->loadedWordListId, 0);
    EXPECT_FALSE(doc->skipSettingsSave);
    EXPECT_EQ(doc->solutionProbe, 0);
    EXPECT_EQ(doc->programVersion, 60601);
    EXPECT_EQ(doc->cwData, nullptr);
    EXPECT_TRUE(doc->gridViewShown);
    EXPECT_EQ(doc->gridColor, 0u);
    EXPECT_EQ(doc->cluesColor, 0u);
    EXPECT_EQ(doc->titleColor, 0u);
    EXPECT_NE(doc->wordStore, nullptr);
    EXPECT_EQ(doc->newGridSize, 15);
    EXPECT_EQ(doc->Title(), u"Untitled");

    LOGFONTW plain{};
    plain.lfHeight = -12;
    SetFaceName(plain, u"Arial");
    EXPECT_EQ(doc->bannerFont, plain);
    EXPECT_EQ(doc->gridFont, plain);
    LOGFONTW clue = plain;
    clue.lfOutPrecision = 8;
    clue.lfPitchAndFamily = 2;
    EXPECT_EQ(doc->clueFont, clue);
    LOGFONTW title = plain;
    title.lfHeight = -18;
    title.lfUnderline = 1;
    EXPECT_EQ(doc->titleFont, title);
}

TEST_F(DocumentTest, titleFontUnderline_followsStoredFlag) {
    PrepareInstalledDataFolder();
    WriteFileForTest(DataFile("pdata.bin"),
                     "1\r\n1\r\n250\r\n250\r\n250\r\n250\r\n250\r\n250\r\n250\r\n250\r\n0\r\n1\r\n"
                     "T\r\nA\r\nC\r\nB\r\n15\r\n");
    auto doc = MakeDocument();
    EXPECT_FALSE(doc->underlinedTitle);
    EXPECT_EQ(doc->titleFont.lfUnderline, 0);
}

TEST_F(DocumentTest, newDocument_makesPuzzleOfSettingsWithDefaultTexts) {
    PrepareInstalledDataFolder();
    WriteFileForTest(DataFile("pdata.bin"),
                     "3\r\n2\r\n250\r\n250\r\n250\r\n250\r\n250\r\n250\r\n250\r\n250\r\n1\r\n1\r\n"
                     "Stored title\r\nStored answer\r\nStored copyright\r\nStored author\r\n11\r\n");
    auto doc = MakeDocument();
    EXPECT_EQ(doc->titleText, u"Stored title");

    doc->SetModifiedFlag();
    doc->gridViewShown = false;
    ASSERT_TRUE(doc->OnNewDocument());

    CCWData& cw = *doc->cwData;
    EXPECT_EQ(cw.gridSize, 11);
    EXPECT_EQ(cw.gridText.size(), 121u);
    EXPECT_EQ(cw.wordListId, 2);
    EXPECT_EQ(cw.wordStore, doc->wordStore.get());
    EXPECT_EQ(cw.dataFolder, PathToU16(DataFolderPath()));
    EXPECT_EQ(cw.title, u"TO DO: Puzzle Title");
    EXPECT_EQ(cw.answerTitle, u"Puzzle Answer");
    EXPECT_EQ(cw.author, u"TO DO: by Author");
    EXPECT_EQ(cw.copyright, doc->copyrightText);
    EXPECT_EQ(cw.copyright.substr(0, 9), u"TO DO: \u00A9 ");
    EXPECT_EQ(doc->titleText, u"TO DO: Puzzle Title");
    EXPECT_FALSE(doc->IsModified());
    EXPECT_TRUE(doc->gridViewShown);
    EXPECT_EQ(doc->loadedWordListId, 2);
    EXPECT_EQ(doc->wordStore->CountWords(), ListTwo().size());
    // The wait cursor is shown while the settings are applied, and ends.
    EXPECT_GE(host.waitBegins, 1);
    EXPECT_EQ(host.waitDepth, 0);
}

TEST_F(DocumentTest, newDocumentTwice_replacesPuzzleAndKeepsLoadedList) {
    PrepareInstalledDataFolder();
    auto doc = MakeDocument();
    ASSERT_TRUE(doc->OnNewDocument());
    const std::string before = StoreSnapshot(*doc->wordStore);
    doc->OnGridSize(9);
    ASSERT_TRUE(doc->OnNewDocument());
    EXPECT_EQ(doc->cwData->gridSize, 9);
    EXPECT_EQ(StoreSnapshot(*doc->wordStore), before);
}

TEST_F(DocumentTest, gridSizeCommands_acceptOnlyTheFiveSizes) {
    PrepareInstalledDataFolder();
    auto doc = MakeDocument();
    ASSERT_TRUE(doc->OnNewDocument());
    for (int size : {9, 11, 13, 21, 15}) {
        doc->OnGridSize(size);
        EXPECT_EQ(doc->newGridSize, size);
    }
    doc->OnGridSize(21);
    for (int size : {0, 10, 16, 28, -15}) doc->OnGridSize(size);
    EXPECT_EQ(doc->newGridSize, 21);
    // The shown puzzle is not changed.
    EXPECT_EQ(doc->cwData->gridSize, 15);
}

TEST_F(DocumentTest, missingWordList_isFatalWithItsMessage) {
    PrepareInstalledDataFolder();
    fs::remove(ProgramFolder() / "data1.bin");
    auto doc = MakeDocument();
    EXPECT_THROW(doc->OnNewDocument(), FatalExitCalled);
    ASSERT_TRUE(host.fatalMessage);
    EXPECT_EQ(*host.fatalMessage, u"FATAL ERROR: Word File Corrupt Or Not Found.");
    EXPECT_EQ(host.waitDepth, 0);
}

TEST_F(DocumentTest, wordListWithoutUsableWord_isFatal) {
    PrepareInstalledDataFolder();
    WriteWordList(1, {"A"});  // one terminated 1-letter word
    auto doc = MakeDocument();
    EXPECT_THROW(doc->OnNewDocument(), FatalExitCalled);
}

TEST_F(DocumentTest, wordListIdOutsideOneToFour_loadsFifthList) {
    PrepareInstalledDataFolder();
    WriteWordList(5, {"ZEBRA", "ZEBU"});
    auto doc = MakeDocument();
    ASSERT_TRUE(doc->OnNewDocument());
    doc->SetGeneratorOptions(1, 7);
    EXPECT_EQ(doc->loadedWordListId, 7);
    EXPECT_EQ(doc->cwData->wordListId, 7);
    EXPECT_EQ(doc->wordStore->CountWords(), 2u);
    EXPECT_TRUE(StoreHas(*doc->wordStore, "ZEBRA"));
}

TEST_F(DocumentTest, closeThenDestroy_writesSettingsOnce) {
    PrepareInstalledDataFolder();
    auto doc = MakeDocument();
    ASSERT_TRUE(doc->OnNewDocument());
    doc->OnCloseDocument();
    doc.reset();
    EXPECT_TRUE(fs::exists(DataFile("pdata.bin")));
}

TEST_F(DocumentTest, noDataFolder_startsWithDefaultsAndWritesNothing) {
    DocumentEnvironment environment{fs::path(), ProgramFolder(), nullptr};
    CkorvoDoc doc(host, environment);
    EXPECT_EQ(host.firstRunShows, 0);
    EXPECT_EQ(doc.marginLeft, 250);
    ASSERT_TRUE(doc.OnNewDocument());
    EXPECT_FALSE(doc.SaveSettings());
    doc.AddDeletedWord(u"CAT");
    EXPECT_FALSE(StoreHas(*doc.wordStore, "CAT"));
    EXPECT_EQ(root.Entries(), std::vector<std::string>{"program"});
}

TEST(DesktopEnvironmentTest, dataFolderLiesInTheDocumentsFolderOfHome) {
    ScopedHome home;
    const std::optional<DocumentEnvironment> environment = DesktopEnvironment();
    ASSERT_TRUE(environment);
    EXPECT_EQ(environment->dataFolder, home.home() / "Documents" / "TolvaneCWBuilder");
    EXPECT_FALSE(environment->programFolder.empty());
    EXPECT_EQ(environment->fileSystem, nullptr);
}

// ---- page metrics

class PageMetricsTest : public DocumentTest {
protected:
    void SetUp() override { PrepareInstalledDataFolder(); }
};

TEST_F(PageMetricsTest, printer600Dpi_givesDocumentedPageAndMargins) {
    host.printer = PrinterMetrics{5100, 6600, 100, 100, 600, 600};
    auto doc = MakeDocument();
    EXPECT_EQ(doc->pageWidth, 8180);
    EXPECT_EQ(doc->pageHeight, 10680);
    EXPECT_EQ(doc->printMarginLeft, 90);
    EXPECT_EQ(doc->printMarginRight, 90);
    EXPECT_EQ(doc->printMarginTop, 90);
    EXPECT_EQ(doc->printMarginBottom, 90);

    // A user margin inside the unprintable offset gives the offset.
    doc->marginLeft = doc->marginRight = doc->marginTop = doc->marginBottom = 100;
    doc->ComputePageMetrics();
    EXPECT_EQ(doc->printMarginLeft, 160);
    EXPECT_EQ(doc->printMarginRight, 160);
    EXPECT_EQ(doc->printMarginTop, 160);
    EXPECT_EQ(doc->printMarginBottom, 160);
}

TEST_F(PageMetricsTest, sidesUseTheirOwnOffsetAndResolution) {
    // 300 x 200 dpi, 8.5 x 11 in, offsets 0.1 in across and 0.25 in down.
    host.printer = PrinterMetrics{2550, 2200, 30, 50, 300, 200};
    auto doc = MakeDocument();
    doc->marginLeft = 1000;
    doc->marginRight = 300;
    doc->marginTop = 200;
    doc->marginBottom = 999;
    doc->ComputePageMetrics();
    EXPECT_EQ(doc->pageWidth, (850 - 20) * 10);
    EXPECT_EQ(doc->pageHeight, (1100 - 50) * 10);
    EXPECT_EQ(doc->printMarginLeft, 900);
    EXPECT_EQ(doc->printMarginRight, 200);
    EXPECT_EQ(doc->printMarginTop, 250);     // 20 < 25: the offset
    EXPECT_EQ(doc->printMarginBottom, 740);  // 99 - 25
}

TEST_F(PageMetricsTest, noUsablePrinter_fallsBackToLetterPageAndUserMargins) {
    const std::optional<PrinterMetrics> printers[] = {
        std::nullopt,
        PrinterMetrics{5100, 6600, 100, 100, 0, 600},        // no resolution
        PrinterMetrics{5100, 6600, 100, 100, 600, -600},     // negative resolution
        PrinterMetrics{0, 6600, 0, 0, 600, 600},             // no sheet
        PrinterMetrics{5100, 6600, 2600, 100, 600, 600},     // offsets wider than the sheet
        PrinterMetrics{2147483647, 2147483647, 0, 0, 1, 1},  // beyond any sheet
    };
    for (const auto& printer : printers) {
        host.printer = printer;
        auto doc = MakeDocument();
        doc->marginLeft = 300;
        doc->marginRight = 400;
        doc->marginTop = 500;
        doc->marginBottom = 600;
        doc->ComputePageMetrics();
        EXPECT_EQ(doc->pageWidth, 8000);
        EXPECT_EQ(doc->pageHeight, 10500);
        EXPECT_EQ(doc->printMarginLeft, 300);
        EXPECT_EQ(doc->printMarginRight, 400);
        EXPECT_EQ(doc->printMarginTop, 500);
        EXPECT_EQ(doc->printMarginBottom, 600);
    }
}

}  // namespace
}  // namespace korvo::testsupport
