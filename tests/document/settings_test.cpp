// The settings file: its 17 lines, defaults, damaged values, the atomic
// write and Restore Default Settings.
#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>

#include "document/document_fixture.h"

namespace korvo::testsupport {
namespace {

namespace fs = std::filesystem;

std::string CurrentYear() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return std::to_string(local.tm_year + 1900);
}

// The file a default run writes at close (no printer: print margins 250).
std::string DefaultFile() {
    return "1\r\n1\r\n250\r\n250\r\n250\r\n250\r\n250\r\n250\r\n250\r\n250\r\n1\r\n1\r\n"
           "TO DO: Puzzle Title\r\nPuzzle Answer\r\nTO DO: \xA9 " +
           CurrentYear() + " by Author\r\nTO DO: by Author\r\n15\r\n";
}

// A settings file with every line given.
std::string SettingsFile(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& line : lines) out += line + "\r\n";
    return out;
}

std::vector<std::string> GoodLines() {
    return {"3",  "4", "300", "400",      "500",       "600",          "30",        "40", "50",
            "60", "0", "0",   "My title", "My answer", "My copyright", "My author", "21"};
}

class SettingsTest : public DocumentTest {
protected:
    void SetUp() override { PrepareInstalledDataFolder(); }
    std::string Settings() const { return ReadFileForTest(DataFile("pdata.bin")); }
};

TEST_F(SettingsTest, noFile_givesDefaults) {
    auto doc = MakeDocument();
    EXPECT_EQ(doc->generatingMode, 1);
    EXPECT_EQ(doc->wordListId, 1);
    for (int margin : {doc->marginLeft, doc->marginRight, doc->marginTop, doc->marginBottom, doc->printMarginLeft,
                       doc->printMarginRight, doc->printMarginTop, doc->printMarginBottom})
        EXPECT_EQ(margin, 250);
    EXPECT_TRUE(doc->underlinedTitle);
    EXPECT_TRUE(doc->rightSideGrid);
    EXPECT_EQ(doc->newGridSize, 15);
    EXPECT_EQ(doc->titleText, u"TO DO: Puzzle Title");
    EXPECT_EQ(doc->answerTitleText, u"Puzzle Answer");
    EXPECT_EQ(doc->authorText, u"TO DO: by Author");
}

TEST_F(SettingsTest, defaultRunClosed_writesDocumentedSeventeenLines) {
    auto doc = MakeDocument();
    ASSERT_TRUE(doc->OnNewDocument());
    doc->OnCloseDocument();
    EXPECT_EQ(Settings(), DefaultFile());
}

TEST_F(SettingsTest, everyValue_survivesWriteAndRead) {
    WriteFileForTest(DataFile("pdata.bin"), SettingsFile(GoodLines()));
    auto doc = MakeDocument();
    EXPECT_EQ(doc->generatingMode, 3);
    EXPECT_EQ(doc->wordListId, 4);
    EXPECT_EQ(doc->marginLeft, 300);
    EXPECT_EQ(doc->marginRight, 400);
    EXPECT_EQ(doc->marginTop, 500);
    EXPECT_EQ(doc->marginBottom, 600);
    // Without a printer the print margins are recomputed from the user margins.
    EXPECT_EQ(doc->printMarginLeft, 300);
    EXPECT_FALSE(doc->underlinedTitle);
    EXPECT_FALSE(doc->rightSideGrid);
    EXPECT_EQ(doc->titleText, u"My title");
    EXPECT_EQ(doc->answerTitleText, u"My answer");
    EXPECT_EQ(doc->copyrightText, u"My copyright");
    EXPECT_EQ(doc->authorText, u"My author");
    EXPECT_EQ(doc->newGridSize, 21);

    doc->OnCloseDocument();
    std::vector<std::string> expected = GoodLines();
    for (int i = 6; i < 10; ++i) expected[i] = std::to_string(300 + 100 * (i - 6));
    EXPECT_EQ(Settings(), SettingsFile(expected));
}

TEST_F(SettingsTest, printMarginsAsRead_whenPageMetricsKeepThem) {
    // Read back as stored; the page metrics replace them right after, so
    // they are checked on the loader alone.
    WriteFileForTest(DataFile("pdata.bin"), SettingsFile(GoodLines()));
    auto doc = MakeDocument();
    ASSERT_TRUE(doc->LoadSettings());
    EXPECT_EQ(doc->printMarginLeft, 30);
    EXPECT_EQ(doc->printMarginRight, 40);
    EXPECT_EQ(doc->printMarginTop, 50);
    EXPECT_EQ(doc->printMarginBottom, 60);
}

TEST_F(SettingsTest, choosing21x21AndClosing_nextStartMakes21x21Grids) {
    {
        auto doc = MakeDocument();
        ASSERT_TRUE(doc->OnNewDocument());
        doc->OnGridSize(21);
        EXPECT_EQ(doc->cwData->gridSize, 15);
        doc->OnCloseDocument();
    }
    const std::string file = Settings();
    EXPECT_EQ(file.substr(file.size() - 4), "21\r\n");
    auto next = MakeDocument();
    EXPECT_EQ(next->newGridSize, 21);
    ASSERT_TRUE(next->OnNewDocument());
    EXPECT_EQ(next->cwData->gridSize, 21);
    EXPECT_EQ(next->cwData->gridText.size(), 441u);
}

TEST_F(SettingsTest, sixteenLineFile_loadsWithGridSize15) {
    std::vector<std::string> lines = GoodLines();
    lines.pop_back();
    WriteFileForTest(DataFile("pdata.bin"), SettingsFile(lines));
    auto doc = MakeDocument();
    EXPECT_EQ(doc->generatingMode, 3);
    EXPECT_EQ(doc->authorText, u"My author");
    EXPECT_EQ(doc->newGridSize, 15);
}

TEST_F(SettingsTest, lineEndsAndWhiteSpace_readAsAStreamReadsThem) {
    // Numbers skip spaces and line breaks; the rest of line 12 is discarded;
    // texts are whole lines without their CR; bare LF ends a line too.
    WriteFileForTest(DataFile("pdata.bin"),
                     "  2\n\n3\r\n 260 270\r\n280\r\n290\r\n1\r\n2\r\n3\r\n4\r\n7\r\n1 rest of line\r\n"
                     "  Spaced  title \nAnswer\r\n\r\nAuthor\r\n 9");
    auto doc = MakeDocument();
    EXPECT_EQ(doc->generatingMode, 2);
    EXPECT_EQ(doc->wordListId, 3);
    EXPECT_EQ(doc->marginLeft, 260);
    EXPECT_EQ(doc->marginRight, 270);
    EXPECT_EQ(doc->marginTop, 280);
    EXPECT_EQ(doc->marginBottom, 290);
    EXPECT_TRUE(doc->underlinedTitle);  // 7 is non-zero
    EXPECT_TRUE(doc->rightSideGrid);
    EXPECT_EQ(doc->titleText, u"  Spaced  title ");
    EXPECT_EQ(doc->answerTitleText, u"Answer");
    EXPECT_EQ(doc->copyrightText, u"");
    EXPECT_EQ(doc->authorText, u"Author");
    EXPECT_EQ(doc->newGridSize, 9);
}

TEST_F(SettingsTest, copyrightSign_isByteA9BothWays_andWideCharactersBecomeQuestionMarks) {
    {
        auto doc = MakeDocument();
        doc->copyrightText = u"\u00A9 2024 \u00C9mile";
        doc->authorText = u"by \u0141ukasz \u2014 \U0001F600";
        doc->titleText = u"Two\r\nlines";
        doc->OnCloseDocument();
    }
    const std::string file = Settings();
    EXPECT_NE(file.find("\r\n\xA9 2024 \xC9mile\r\n"), std::string::npos);
    EXPECT_NE(file.find("\r\nby ?ukasz ? ??\r\n"), std::string::npos);
    EXPECT_NE(file.find("\r\nTwo  lines\r\n"), std::string::npos);
    EXPECT_EQ(std::count(file.begin(), file.end(), '\n'), 17);

    auto next = MakeDocument();
    EXPECT_EQ(next->copyrightText, u"\u00A9 2024 \u00C9mile");
    EXPECT_EQ(next->authorText, u"by ?ukasz ? ??");
    EXPECT_EQ(next->newGridSize, 15);
}

// A value outside its range takes its default; every other value counts.
TEST_F(SettingsTest, outOfRangeValues_takeTheirDefaultAlone) {
    struct Case {
        int line;           // 1-based line replaced
        const char* value;  // its new text
    };
    const Case cases[] = {
        {1, "0"},    {1, "6"},    {1, "-1"},  {2, "0"},      {2, "6"},    {3, "249"},
        {3, "6501"}, {4, "-250"}, {5, "0"},   {6, "100000"}, {7, "-1"},   {10, "-2147483648"},
        {17, "0"},   {17, "10"},  {17, "16"}, {17, "28"},    {17, "-15"},
    };
    auto defaultOf = [](int line) {
        switch (line) {
            case 1:
            case 2: return 1;
            case 17: return 15;
            default: return 250;
        }
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.line) + " = " + c.value);
        std::vector<std::string> lines = GoodLines();
        lines[c.line - 1] = c.value;
        WriteFileForTest(DataFile("pdata.bin"), SettingsFile(lines));
        auto doc = MakeDocument();
        ASSERT_TRUE(doc->LoadSettings());
        const std::int32_t values[] = {doc->generatingMode,   doc->wordListId,       doc->marginLeft,
                                       doc->marginRight,      doc->marginTop,        doc->marginBottom,
                                       doc->printMarginLeft,  doc->printMarginRight, doc->printMarginTop,
                                       doc->printMarginBottom};
        for (int line = 1; line <= 10; ++line)
            EXPECT_EQ(values[line - 1], line == c.line ? defaultOf(line) : std::stoi(GoodLines()[line - 1]))
                << "line " << line;
        EXPECT_EQ(doc->newGridSize, c.line == 17 ? 15 : 21);
        EXPECT_EQ(doc->titleText, u"My title");
        EXPECT_EQ(doc->authorText, u"My author");
    }
}

TEST_F(SettingsTest, boundaryValues_areKept) {
    WriteFileForTest(DataFile("pdata.bin"), SettingsFile({"4", "5", "250", "6500", "250", "6500", "0", "0", "0", "0",
                                                          "1", "1", "", "", "", "", "9"}));
    auto doc = MakeDocument();
    ASSERT_TRUE(doc->LoadSettings());
    EXPECT_EQ(doc->generatingMode, 4);
    EXPECT_EQ(doc->wordListId, 5);
    EXPECT_EQ(doc->marginRight, 6500);
    EXPECT_EQ(doc->printMarginLeft, 0);
    EXPECT_EQ(doc->newGridSize, 9);
    EXPECT_EQ(doc->titleText, u"");
}

// An unreadable value: the values before it count, it and every later value
// take their defaults (the file did open, so nothing else falls back).
TEST_F(SettingsTest, unreadableValue_keepsValuesBeforeItAndDefaultsTheRest) {
    struct Case {
        const char* name;
        std::string file;
        int mode, list, marginLeft, marginTop;
        bool underlined;
        const char16_t* title;
        int size;
    };
    const Case cases[] = {
        {"letters in line 4",
         SettingsFile({"3", "4", "300", "x", "500", "600", "30", "40", "50", "60", "0", "0", "T", "A", "C", "B", "21"}),
         3, 4, 300, 250, true, u"TO DO: Puzzle Title", 15},
        {"number too large", SettingsFile({"2", "99999999999", "300"}), 2, 1, 250, 250, true, u"TO DO: Puzzle Title",
         15},
        {"cut after line 11", "3\r\n4\r\n300\r\n400\r\n500\r\n600\r\n1\r\n1\r\n1\r\n1\r\n0\r\n", 3, 4, 300, 500, false,
         u"TO DO: Puzzle Title", 15},
        {"cut inside texts", "3\r\n4\r\n300\r\n400\r\n500\r\n600\r\n1\r\n1\r\n1\r\n1\r\n0\r\n0\r\nTitle only", 3, 4,
         300, 500, false, u"Title only", 15},
        {"empty file", "", 1, 1, 250, 250, true, u"TO DO: Puzzle Title", 15},
        {"binary", std::string("\0\xff\x01\x02", 4), 1, 1, 250, 250, true, u"TO DO: Puzzle Title", 15},
        {"grid size not a number",
         SettingsFile(
             {"3", "4", "300", "400", "500", "600", "30", "40", "50", "60", "0", "0", "T", "A", "C", "B", "big"}),
         3, 4, 300, 500, false, u"T", 15},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteFileForTest(DataFile("pdata.bin"), c.file);
        auto doc = MakeDocument();
        EXPECT_EQ(doc->generatingMode, c.mode);
        EXPECT_EQ(doc->wordListId, c.list);
        EXPECT_EQ(doc->marginLeft, c.marginLeft);
        EXPECT_EQ(doc->marginTop, c.marginTop);
        EXPECT_EQ(doc->underlinedTitle, c.underlined);
        EXPECT_EQ(doc->titleText, c.title);
        EXPECT_EQ(doc->newGridSize, c.size);
        EXPECT_TRUE(host.messages.empty());
    }
}

TEST_F(SettingsTest, failedWrite_leavesOldFileWholeAndShowsNothing) {
    WriteFileForTest(DataFile("pdata.bin"), SettingsFile(GoodLines()));
    const std::string before = Settings();
    for (FailStep step : {FailStep::Create, FailStep::Write, FailStep::Sync, FailStep::Rename}) {
        FailingFileSystem failing(step, ENOSPC);
        failing.failAfterBytes = 20;
        auto doc = MakeDocument(&failing);
        doc->OnGridSize(9);
        doc->OnCloseDocument();
        EXPECT_EQ(Settings(), before);
        EXPECT_GE(failing.failures, 1);
        EXPECT_FALSE(doc->SaveSettings());
    }
    EXPECT_TRUE(host.messages.empty());
    // No temporary file is left beside the settings.
    EXPECT_EQ(root.Entries(DataFolderPath()),
              (std::vector<std::string>{"NEWCLUES1", "NEWCLUES2", "NEWCLUES3", "NEWCLUES4", "NEWCLUES5", "pdata.bin",
                                        "version.dat"}));
}

TEST_F(SettingsTest, restoreDefaultsConfirmed_deletesFileAndSkipsSaveAtClose) {
    WriteFileForTest(DataFile("pdata.bin"), SettingsFile(GoodLines()));
    {
        auto doc = MakeDocument();
        host.messageAnswers.push_back(MessageResult::Ok);
        doc->RestoreDefaultSettings();
        ASSERT_EQ(host.messages.size(), 1u);
        EXPECT_EQ(host.messages[0].text,
                  u"The default settings will be restored the\nnext time you start the application.");
        EXPECT_EQ(host.messages[0].icon, MessageIcon::Information);
        EXPECT_EQ(host.messages[0].buttons, MessageButtons::OkCancel);
        EXPECT_TRUE(doc->skipSettingsSave);
        EXPECT_FALSE(fs::exists(DataFile("pdata.bin")));
        // The settings in force stay so until the program ends.
        EXPECT_EQ(doc->generatingMode, 3);
        doc->marginLeft = 1000;
        doc->OnCloseDocument();
    }
    EXPECT_FALSE(fs::exists(DataFile("pdata.bin")));
    auto next = MakeDocument();
    EXPECT_EQ(next->marginLeft, 250);
    EXPECT_EQ(next->generatingMode, 1);
}

TEST_F(SettingsTest, restoreDefaultsCancelled_keepsFileAndRewritesItAtClose) {
    WriteFileForTest(DataFile("pdata.bin"), SettingsFile(GoodLines()));
    auto doc = MakeDocument();
    host.messageAnswers.push_back(MessageResult::Cancel);
    doc->RestoreDefaultSettings();
    EXPECT_FALSE(doc->skipSettingsSave);
    EXPECT_TRUE(fs::exists(DataFile("pdata.bin")));
    doc->OnGridSize(13);
    doc->OnCloseDocument();
    const std::string file = Settings();
    EXPECT_EQ(file.substr(file.size() - 4), "13\r\n");
}

TEST_F(SettingsTest, restoreDefaultsWithoutFile_stillSkipsSave) {
    auto doc = MakeDocument();
    host.messageAnswers.push_back(MessageResult::Ok);
    doc->RestoreDefaultSettings();
    EXPECT_TRUE(doc->skipSettingsSave);
    doc->OnCloseDocument();
    EXPECT_FALSE(fs::exists(DataFile("pdata.bin")));
}

}  // namespace
}  // namespace korvo::testsupport
