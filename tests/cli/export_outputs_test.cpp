// korvo-cli's crossword outputs: convert to every output type, the .puz
// re-read lightly (header, checksums, boards, strings), bad inputs and
// unknown types refused, and fill --puz / --ipuz writing only a filled puzzle.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "cli/cli_runner.h"
#include "cli/convert_command.h"
#include "cli/convert_fixture.h"
#include "cli/pdf_output.h"
#include "document/export_command.h"
#include "document/puzzle_file_fixture.h"
#include "document/text_export_command.h"
#include "support/temp_folder.h"
#include "support/word_list_bytes.h"

namespace korvo {
namespace {

namespace fs = std::filesystem;
using namespace puzzletest;
using testing::CliResult;
using testing::RunCli;
using testsupport::ReadFileForTest;
using testsupport::TempFolder;
using testsupport::WriteFileForTest;

// ---- a small reader of the Across Lite binary layout, independent of the writer

std::uint16_t RotateAddSum(const std::string& data, std::uint16_t sum) {
    for (unsigned char b : data) {
        sum = static_cast<std::uint16_t>((sum & 1) ? (sum >> 1) | 0x8000 : sum >> 1);
        sum = static_cast<std::uint16_t>(sum + b);
    }
    return sum;
}

std::uint16_t ShortAt(const std::string& b, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8);
}

struct PuzRead {
    std::string error;  // empty when the file reads
    int width = 0, height = 0, clueCount = 0;
    std::string solution, player;
    std::vector<std::string> strings;  // title, author, copyright, the clues, the notes
};

PuzRead ReadPuz(const std::string& b) {
    PuzRead r;
    if (b.size() < 0x34) return r.error = "shorter than the header", r;
    if (b.compare(2, 12, std::string("ACROSS&DOWN\0", 12)) != 0) return r.error = "no file magic", r;
    if (b.compare(0x18, 4, std::string("1.3\0", 4)) != 0) return r.error = "not version 1.3", r;
    r.width = static_cast<unsigned char>(b[0x2C]);
    r.height = static_cast<unsigned char>(b[0x2D]);
    r.clueCount = ShortAt(b, 0x2E);
    const std::size_t cells = static_cast<std::size_t>(r.width) * static_cast<std::size_t>(r.height);
    if (b.size() < 0x34 + 2 * cells) return r.error = "boards cut", r;
    const std::uint16_t cib = RotateAddSum(b.substr(0x2C, 8), 0);
    if (ShortAt(b, 0x0E) != cib) return r.error = "CIB checksum", r;
    r.solution = b.substr(0x34, cells);
    r.player = b.substr(0x34 + cells, cells);
    std::size_t at = 0x34 + 2 * cells;
    for (int i = 0; i < 3 + r.clueCount + 1; ++i) {
        const std::size_t end = b.find('\0', at);
        if (end == std::string::npos) return r.error = "strings cut", r;
        r.strings.push_back(b.substr(at, end - at));
        at = end + 1;
    }
    std::uint16_t global = RotateAddSum(r.player, RotateAddSum(r.solution, cib));
    for (int i = 0; i < 3; ++i)
        if (!r.strings[i].empty()) global = RotateAddSum(r.strings[i] + '\0', global);
    for (int i = 0; i < r.clueCount; ++i) global = RotateAddSum(r.strings[3 + i], global);
    if (!r.strings.back().empty()) global = RotateAddSum(r.strings.back() + '\0', global);
    if (ShortAt(b, 0) != global) return r.error = "global checksum", r;
    return r;
}

using testing::Convert;
using testing::ConvertOutcome;

class ConvertOutputs : public testing::ConvertFixture {};

TEST_F(ConvertOutputs, everyEncodedType_getsTheWritersBytes) {
    struct Case {
        const char* name;
        const char* typeName;
        std::optional<ExportFormat> format;  // nullopt: the text export
    };
    const Case cases[] = {
        {"pets.txt", "Across Lite text", std::nullopt},
        {"pets.puz", "Across Lite", ExportFormat::AcrossLite},
        {"PETS.PUZ", "Across Lite", ExportFormat::AcrossLite},
        {"pets.ipuz", "ipuz", ExportFormat::Ipuz},
        {"pets.IPUZ", "ipuz", ExportFormat::Ipuz},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ConvertOutcome o = Convert({In(), Out(c.name)});
        ASSERT_EQ(o.code, 0) << o.err;
        EXPECT_NE(o.out.find(std::string("(") + c.typeName + ", 3x3, 4 clues)"), std::string::npos) << o.out;
        const auto puzzle = SmallPuzzle();
        const ExportResult expected = c.format ? BuildPuzzleExport(*puzzle, *c.format) : BuildTextExport(*puzzle);
        ASSERT_TRUE(expected.ok()) << expected.error;
        EXPECT_EQ(ReadFileForTest(Out(c.name)), expected.bytes);
        fs::remove(Out(c.name));
    }
}

TEST_F(ConvertOutputs, puz_readsBackWithValidChecksumsBoardsAndClueOrder) {
    ASSERT_EQ(Convert({In(), Out("pets.puz")}).code, 0);
    const PuzRead r = ReadPuz(ReadFileForTest(Out("pets.puz")));
    ASSERT_EQ(r.error, "");
    EXPECT_EQ(r.width, 3);
    EXPECT_EQ(r.height, 3);
    EXPECT_EQ(r.solution, "CATO.OWET");
    EXPECT_EQ(r.player, "----.----");
    ASSERT_EQ(r.clueCount, 4);
    // By number, across before down: 1 across, 1 down, 2 down, 3 across.
    EXPECT_EQ(std::vector<std::string>(r.strings.begin() + 3, r.strings.begin() + 7),
              (std::vector<std::string>{"Feline", "Bovine", "Tiny tyke", "Damp"}));
    EXPECT_EQ(r.strings[1], "by Ann");
    EXPECT_EQ(r.strings[2], "\xA9 2026 Ann");
}

TEST_F(ConvertOutputs, ipuz_isTheCrosswordKind) {
    ASSERT_EQ(Convert({In(), Out("pets.ipuz")}).code, 0);
    const std::string json = ReadFileForTest(Out("pets.ipuz"));
    EXPECT_EQ(json.rfind("{\"version\":\"http://ipuz.org/v2\"", 0), 0u) << json;
    EXPECT_NE(json.find("\"kind\":[\"http://ipuz.org/crossword#1\"]"), std::string::npos) << json;
    EXPECT_NE(json.find("\"Feline\""), std::string::npos);
}

TEST_F(ConvertOutputs, damagedInput_exitsTwoWithItsMessageForEveryType) {
    const Bytes full = SmallPuzzleFile();
    WriteFileForTest(Out("cut.kvz"), ToString(Bytes(full.begin(), full.begin() + 40)));
    for (const char* name : {"x.puz", "x.ipuz", "x.txt"}) {
        SCOPED_TRACE(name);
        const ConvertOutcome o = Convert({Out("cut.kvz"), Out(name)});
        EXPECT_EQ(o.code, 2);
        EXPECT_NE(o.err.find("ERROR: Invalid Puzzle File Format."), std::string::npos) << o.err;
        EXPECT_FALSE(fs::exists(Out(name)));
    }
}

TEST_F(ConvertOutputs, unknownOrUnavailableType_exitsTwoAndWritesNothing) {
    struct Case {
        const char* name;
        const char* message;
    };
    std::vector<Case> cases = {
        {"x.doc", "unknown output type (known: .txt, .puz, .ipuz, .pdf)"},
        {"x.puzz", "unknown output type"},
        {"x", "unknown output type"},
    };
    if (!cli::PdfOutputAvailable()) cases.push_back({"x.pdf", "PDF output is not available in this build"});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ConvertOutcome o = Convert({In(), Out(c.name)});
        EXPECT_EQ(o.code, 2);
        EXPECT_NE(o.err.find(c.message), std::string::npos) << o.err;
        EXPECT_FALSE(fs::exists(Out(c.name)));
    }
}

TEST_F(ConvertOutputs, builtProgram_writesPuzAndIpuz) {
    for (const char* name : {"b.puz", "b.ipuz"}) {
        const CliResult r = RunCli({"convert", In(), Out(name)});
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_TRUE(fs::exists(Out(name))) << name;
    }
    EXPECT_EQ(ReadPuz(ReadFileForTest(Out("b.puz"))).error, "");
}

// ---- fill through the document

bool ShippedDataBuilt() {
    return fs::exists(std::string(KORVO_BIN_DIR) + "/data1.bin") &&
           fs::exists(std::string(KORVO_BIN_DIR) + "/cdata1.bin");
}

TEST(CliFillExports, filled_writesPuzAndIpuzMatchingTheSavedPuzzle) {
    if (!ShippedDataBuilt()) GTEST_SKIP() << "the shipped word lists and clues are not built";
    TempFolder folder;
    const auto at = [&](const char* name) { return (folder.path() / name).string(); };
    const CliResult r = RunCli({"fill", "--size", "9", "--seed", "1", "--data-folder", at("data"), "--save",
                                at("a.kvz"), "--puz", at("a.puz"), "--ipuz", at("a.ipuz")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const PuzRead puz = ReadPuz(ReadFileForTest(at("a.puz")));
    ASSERT_EQ(puz.error, "");
    EXPECT_EQ(puz.width, 9);
    EXPECT_EQ(puz.solution.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ."), std::string::npos) << puz.solution;
    EXPECT_NE(ReadFileForTest(at("a.ipuz")).find("\"width\":9"), std::string::npos);

    // The same puzzle, read back from its file, exports to the same bytes.
    for (const char* name : {"b.puz", "b.ipuz"}) {
        SCOPED_TRACE(name);
        ASSERT_EQ(Convert({at("a.kvz"), at(name)}).code, 0);
        EXPECT_EQ(ReadFileForTest(at(name)), ReadFileForTest(at(name[2] == 'p' ? "a.puz" : "a.ipuz")));
    }
}

TEST(CliFillExports, notFilled_writesNoExport) {
    if (!ShippedDataBuilt()) GTEST_SKIP() << "the shipped word lists and clues are not built";
    TempFolder folder;
    const auto at = [&](const char* name) { return (folder.path() / name).string(); };
    WriteFileForTest(at("g.txt"), "QXZ\nXQZ\nZZQ\n");
    const CliResult r = RunCli(
        {"fill", "--grid", at("g.txt"), "--data-folder", at("data"), "--puz", at("n.puz"), "--ipuz", at("n.ipuz")});
    EXPECT_EQ(r.exitCode, 1) << r.err;
    EXPECT_NE(r.err.find("nothing was saved"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(at("n.puz")));
    EXPECT_FALSE(fs::exists(at("n.ipuz")));
}

TEST(CliFillExports, options_needAFileName_andPdfIsRefusedUpFrontWhenUnavailable) {
    for (const char* option : {"--puz", "--ipuz", "--pdf", "--pdf-grid"}) {
        SCOPED_TRACE(option);
        const CliResult r = RunCli({"fill", "--size", "9", option, ""});
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_NE(r.err.find(std::string(option) + " needs a file name"), std::string::npos) << r.err;
    }
    if (!cli::PdfOutputAvailable()) {
        TempFolder folder;
        const CliResult r = RunCli({"fill", "--size", "9", "--data-folder", (folder.path() / "data").string(), "--pdf",
                                    (folder.path() / "x.pdf").string()});
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_NE(r.err.find("PDF output is not available in this build"), std::string::npos) << r.err;
        EXPECT_FALSE(fs::exists(folder.path() / "x.pdf"));
        EXPECT_FALSE(fs::exists(folder.path() / "data")) << "refused before any work";
    }
}

}  // namespace
}  // namespace korvo

namespace korvo {
namespace {

// ---- PDF, in builds that draw it

std::string PdfText(const fs::path& pdf, const fs::path& folder) {
    const fs::path text = folder / "pdf.txt";
    const std::string command =
        "pdftotext " + testing::Quoted(pdf.string()) + " " + testing::Quoted(text.string()) + " >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) return {};
    return ReadFileForTest(text);
}

bool HavePdfToText() { return std::system("command -v pdftotext >/dev/null 2>&1") == 0; }

TEST_F(ConvertOutputs, pdf_holdsTheTitleAndEveryClue_withoutADisplay) {
    if (!cli::PdfOutputAvailable()) GTEST_SKIP() << "this build has no PDF output";
    const std::string data = Out("data");
    // No display: korvo-cli picks the offscreen platform itself.
    const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " +
                                testing::Quoted(std::string(KORVO_BIN_DIR) + "/korvo-cli") + " convert --data-folder " +
                                testing::Quoted(data) + " " + testing::Quoted(In()) + " " +
                                testing::Quoted(Out("pets.pdf")) + " >/dev/null 2>&1 </dev/null";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(status != -1 && WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    const std::string pdf = ReadFileForTest(Out("pets.pdf"));
    EXPECT_EQ(pdf.rfind("%PDF-", 0), 0u);
    if (!HavePdfToText()) GTEST_SKIP() << "pdftotext is not installed";
    // Words may stand on separate lines of the extracted text: runs of white
    // space count as one space.
    std::string text;
    for (char c : PdfText(Out("pets.pdf"), folder.path())) {
        const bool space = c == ' ' || c == '\n' || c == '\r' || c == '\f' || c == '\t';
        if (!space)
            text += c;
        else if (!text.empty() && text.back() != ' ')
            text += ' ';
    }
    for (const char* expected : {"K\xC3\xA4"
                                 "fer",
                                 "by Ann", "Feline", "Damp", "Bovine", "Tiny tyke"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected << " in:\n" << text;
}

TEST_F(ConvertOutputs, pdf_thatCannotBeWritten_exitsOneAndLeavesNoFile) {
    if (!cli::PdfOutputAvailable()) GTEST_SKIP() << "this build has no PDF output";
    const CliResult r = RunCli({"convert", "--data-folder", Out("data"), In(), Out("no-such-folder/pets.pdf")});
    EXPECT_EQ(r.exitCode, 1) << r.err;
    EXPECT_NE(r.err.find("An error was encountered while exporting the puzzle."), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(Out("no-such-folder")));
    EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"data", "pets.kvz"})) << "no partial file";
}

// The text of a PDF without white space, as pdftotext extracts it in content order.
std::string PdfTextWithoutSpaces(const fs::path& pdf, const fs::path& folder) {
    const fs::path text = folder / "pdf-raw.txt";
    const std::string command =
        "pdftotext -raw " + testing::Quoted(pdf.string()) + " " + testing::Quoted(text.string()) + " >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) return {};
    std::string out;
    for (char c : ReadFileForTest(text))
        if (c != ' ' && c != '\n' && c != '\r' && c != '\f' && c != '\t') out += c;
    return out;
}

TEST_F(ConvertOutputs, pdfWithGridView_showsTheFilledGridInsteadOfThePage) {
    if (!cli::PdfOutputAvailable()) GTEST_SKIP() << "this build has no PDF output";
    for (const bool gridView : {false, true}) {
        SCOPED_TRACE(gridView ? "grid view" : "puzzle page");
        const std::string out = Out(gridView ? "grid.pdf" : "page.pdf");
        std::vector<std::string> args = {"--data-folder", Out("data"), In(), out};
        if (gridView) args.insert(args.begin(), "--grid-view");
        const ConvertOutcome o = Convert(args);
        ASSERT_EQ(o.code, 0) << o.err;
        EXPECT_NE(o.out.find("(PDF, 3x3, 4 clues)"), std::string::npos) << o.out;
        EXPECT_EQ(ReadFileForTest(out).rfind("%PDF-", 0), 0u);
        if (!HavePdfToText()) continue;
        const std::string text = PdfTextWithoutSpaces(out, folder.path());
        // The grid view: the letters row by row and the banner's first
        // squares, no page text. The page: the title and clues, no letters.
        EXPECT_EQ(text.rfind("CATOOWETCL", 0) == 0, gridView) << text;
        EXPECT_EQ(text.find("Feline") != std::string::npos, !gridView) << text;
        EXPECT_EQ(text.find("ACROSS") != std::string::npos, !gridView) << text;
    }
}

TEST_F(ConvertOutputs, gridViewForAnEncodedOutput_isRefused) {
    for (const char* name : {"x.puz", "x.ipuz", "x.txt"}) {
        SCOPED_TRACE(name);
        const ConvertOutcome o = Convert({"--grid-view", In(), Out(name)});
        EXPECT_EQ(o.code, 2);
        EXPECT_NE(o.err.find("--grid-view applies only to a .pdf output"), std::string::npos) << o.err;
        EXPECT_FALSE(fs::exists(Out(name)));
    }
}

TEST_F(ConvertOutputs, pdfOfAPuzzleNotFilled_isRefusedAsNoPuzzleFileForBothPictures) {
    if (!cli::PdfOutputAvailable()) GTEST_SKIP() << "this build has no PDF output";
    // The same file with the status after the second grid text set to
    // designing: only a filled puzzle is stored, so this is no puzzle file.
    std::string bytes = ToString(SmallPuzzleFile());
    const std::string grid = std::string("C\0A\0T\0O\0!\0O\0W\0E\0T\0", 18);
    const std::size_t second = bytes.find(grid, bytes.find(grid) + 1);
    ASSERT_NE(second, std::string::npos);
    const std::size_t status = second + grid.size();
    ASSERT_EQ(bytes.substr(status, 4), std::string(4, '\xFF'));
    bytes.replace(status, 4, std::string("\x02\0\0\0", 4));
    WriteFileForTest(Out("designing.kvz"), bytes);
    for (const bool gridView : {false, true}) {
        SCOPED_TRACE(gridView ? "grid view" : "puzzle page");
        std::vector<std::string> args = {"--data-folder", Out("data"), Out("designing.kvz"), Out("d.pdf")};
        if (gridView) args.push_back("--grid-view");
        const ConvertOutcome o = Convert(args);
        EXPECT_EQ(o.code, 2);
        EXPECT_NE(o.err.find("ERROR: Invalid Puzzle File Format."), std::string::npos) << o.err;
        EXPECT_FALSE(fs::exists(Out("d.pdf")));
    }
}

TEST(CliFillExports, pdfAndPdfGrid_writeThePageAndTheGridViewOfTheFill) {
    if (!cli::PdfOutputAvailable()) GTEST_SKIP() << "this build has no PDF output";
    TempFolder folder;
    const auto at = [&](const char* name) { return (folder.path() / name).string(); };
    // A program folder of its own: six words that fill an open 3 x 3 grid
    // one way or its transpose, and no clues.
    fs::create_directories(at("program"));
    WriteFileForTest(at("program/data1.bin"), testsupport::EncodeWordList({"CAT", "ORE", "WET", "COW", "ARE", "TET"}));
    WriteFileForTest(at("program/cdata1.bin"), "");
    WriteFileForTest(at("open.txt"), "@@@\n@@@\n@@@\n");
    const CliResult r = RunCli({"fill", "--grid", at("open.txt"), "--program-folder", at("program"), "--data-folder",
                                at("data"), "--seed", "1", "--pdf", at("page.pdf"), "--pdf-grid", at("grid.pdf")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string rows = r.out.substr(0, 12);  // the filled grid, three rows of three letters
    ASSERT_EQ(rows.size(), 12u);
    for (const char* name : {"page.pdf", "grid.pdf"})
        EXPECT_EQ(ReadFileForTest(at(name)).rfind("%PDF-", 0), 0u) << name;
    if (!HavePdfToText()) GTEST_SKIP() << "pdftotext is not installed";
    const std::string letters = rows.substr(0, 3) + rows.substr(4, 3) + rows.substr(8, 3);
    const std::string grid = PdfTextWithoutSpaces(at("grid.pdf"), folder.path());
    EXPECT_EQ(grid.rfind(letters + "CL", 0), 0u) << grid;
    const std::string page = PdfTextWithoutSpaces(at("page.pdf"), folder.path());
    EXPECT_NE(page.find("ACROSS"), std::string::npos) << page;
    EXPECT_NE(page.find("TODOcluefor:" + rows.substr(0, 3)), std::string::npos) << page;
}

TEST(CliFillExports, filled_writesThePdf) {
    if (!cli::PdfOutputAvailable()) GTEST_SKIP() << "this build has no PDF output";
    if (!ShippedDataBuilt()) GTEST_SKIP() << "the shipped word lists and clues are not built";
    TempFolder folder;
    const auto at = [&](const char* name) { return (folder.path() / name).string(); };
    const CliResult r =
        RunCli({"fill", "--size", "9", "--seed", "1", "--data-folder", at("data"), "--pdf", at("a.pdf")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(ReadFileForTest(at("a.pdf")).rfind("%PDF-", 0), 0u);
}

// A program folder of its own: six words that fill an open 3 x 3 grid one
// way or its transpose, and no clues; and that grid.
void WriteSmallProgram(const std::function<std::string(const char*)>& at) {
    fs::create_directories(at("program"));
    WriteFileForTest(at("program/data1.bin"), testsupport::EncodeWordList({"CAT", "ORE", "WET", "COW", "ARE", "TET"}));
    WriteFileForTest(at("program/cdata1.bin"), "");
    WriteFileForTest(at("open.txt"), "@@@\n@@@\n@@@\n");
}

TEST(CliFillExports, textOptions_setThePuzzlesTextsInEveryOutput) {
    TempFolder folder;
    const auto at = [&](const char* name) { return (folder.path() / name).string(); };
    WriteSmallProgram(at);
    const std::vector<std::string> common = {
        "fill",   "--grid", at("open.txt"), "--program-folder", at("program"), "--data-folder", at("data"),
        "--seed", "1"};
    auto run = [&](std::vector<std::string> extra) {
        std::vector<std::string> args = common;
        args.insert(args.end(), extra.begin(), extra.end());
        return RunCli(args);
    };
    const CliResult r =
        run({"--title", "Pet Week", "--author", "by Ann", "--copyright", "\xC2\xA9 2026 Ann", "--notepad",
             "Theme: pets", "--text", at("a.txt"), "--save", at("a.kvz"), "--ipuz", at("a.ipuz")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string text = ReadFileForTest(at("a.txt"));
    EXPECT_EQ(
        text.rfind("<ACROSS PUZZLE V2>\r\n<TITLE>\r\nPet Week\r\n<AUTHOR>\r\nby Ann\r\n<COPYRIGHT>\r\n2026 Ann\r\n", 0),
        0u)
        << text;
    EXPECT_NE(text.find("<NOTEPAD>\r\nTheme: pets\r\n"), std::string::npos) << text;
    const std::string ipuz = ReadFileForTest(at("a.ipuz"));
    for (const char* field : {"\"title\":\"Pet Week\"", "\"author\":\"by Ann\"", "\"copyright\":\"\xC2\xA9 2026 Ann\"",
                              "\"notes\":\"Theme: pets\""})
        EXPECT_NE(ipuz.find(field), std::string::npos) << field << " in " << ipuz;
    // The saved puzzle file holds them too.
    ASSERT_EQ(Convert({at("a.kvz"), at("b.txt")}).code, 0);
    EXPECT_EQ(ReadFileForTest(at("b.txt")), text);

    // An empty title is no title; without the options the settings' texts stay.
    ASSERT_EQ(run({"--title", "", "--text", at("c.txt")}).exitCode, 0);
    EXPECT_EQ(
        ReadFileForTest(at("c.txt")).rfind("<ACROSS PUZZLE V2>\r\n<TITLE>\r\n\r\n<AUTHOR>\r\nTO DO: by Author\r\n", 0),
        0u);

    // The window's text dialog takes 60 characters; so do the options.
    for (const char* option : {"--title", "--author", "--copyright"}) {
        SCOPED_TRACE(option);
        const CliResult longText = run({option, std::string(61, 'x'), "--text", at("d.txt")});
        EXPECT_EQ(longText.exitCode, 2);
        EXPECT_NE(longText.err.find(std::string(option) + " takes at most 60 characters"), std::string::npos)
            << longText.err;
        EXPECT_FALSE(fs::exists(at("d.txt")));
        const CliResult missing = run({option});
        EXPECT_EQ(missing.exitCode, 2);
        EXPECT_NE(missing.err.find(std::string(option) + " needs a value"), std::string::npos) << missing.err;
    }
    EXPECT_EQ(run({"--title", std::string(60, 'x'), "--notepad", std::string(2000, 'n')}).exitCode, 0);
}

TEST_F(ConvertOutputs, writeErrors_areOneLineWithTheReasonForEveryType) {
    struct Case {
        const char* name;
        const char* message;
    };
    std::vector<Case> cases = {
        {"pets.txt", "An error was encountered while saving the file."},
        {"pets.puz", "An error was encountered while saving the file."},
        {"pets.ipuz", "An error was encountered while saving the file."},
    };
    if (cli::PdfOutputAvailable()) {
        cases.push_back({"pets.pdf", "An error was encountered while exporting the puzzle."});
        // The first PDF prepares the data folder and says so; not under test here.
        ASSERT_EQ(RunCli({"convert", "--data-folder", Out("data"), In(), Out("first.pdf")}).exitCode, 0);
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string output = Out(std::string("no-such-folder/") + c.name);
        const CliResult r = RunCli({"convert", "--data-folder", Out("data"), In(), output});
        EXPECT_EQ(r.exitCode, 1) << r.err;
        EXPECT_EQ(r.err.rfind(std::string("korvo-cli convert: ") + c.message + " ", 0), 0u) << r.err;
        EXPECT_NE(r.err.find("No such file or directory"), std::string::npos) << "the reason: " << r.err;
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << "one line: " << r.err;
    }
}

TEST_F(ConvertOutputs, pdf_writesNothingOnStderrWithoutARuntimeFolderOrDisplay) {
    if (!cli::PdfOutputAvailable()) GTEST_SKIP() << "this build has no PDF output";
    // The first PDF prepares the data folder and says so; the second is a
    // normal run.
    ASSERT_EQ(RunCli({"convert", "--data-folder", Out("data"), In(), Out("first.pdf")}).exitCode, 0);
    const std::string err = Out("err.txt");
    const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u XDG_RUNTIME_DIR " +
                                testing::Quoted(std::string(KORVO_BIN_DIR) + "/korvo-cli") + " convert --data-folder " +
                                testing::Quoted(Out("data")) + " " + testing::Quoted(In()) + " " +
                                testing::Quoted(Out("pets.pdf")) + " >/dev/null 2>" + testing::Quoted(err) +
                                " </dev/null";
    const int status = std::system(command.c_str());
    EXPECT_TRUE(status != -1 && WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(ReadFileForTest(err), "");
    EXPECT_EQ(ReadFileForTest(Out("pets.pdf")).rfind("%PDF-", 0), 0u);
}

}  // namespace
}  // namespace korvo
