// korvo-cli fill: options, grid files, exit codes and the JSON report, run
// on small fixtures written into a temporary folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "cli/cli_runner.h"
#include "cli/fill_command.h"
#include "cli/grid_file.h"
#include "random_words.h"
#include "support/temp_folder.h"

namespace korvo {
namespace {

using testing::CliResult;
using testing::RunCli;
using testing::WriteWordList;
using testsupport::TempFolder;
using testsupport::WriteFileForTest;

// The JSON line must have the documented keys in order, with the grid rows.
void ExpectJsonShape(const std::string& out, const std::string& result, const std::vector<std::string>& rows) {
    std::string grid;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (i != 0) grid += ", ";
        grid += '"';
        grid += rows[i];
        grid += '"';
    }
    const std::regex shape(
        "\\{\"result\": \"" + result +
        "\", \"seconds\": [0-9]+\\.[0-9]{3}, \"cpu_seconds\": [0-9]+\\.[0-9]{3}, "
        "\"steps\": [0-9]+, \"entries\": [0-9]+, \"seed\": [0-9]+(, \"verdict\": \"[^\"]*\")?, \"grid\": \\[" +
        std::regex_replace(grid, std::regex("[?!@]"), "\\$&") + "\\](, \"verified\": (true|false))?\\}\n");
    EXPECT_TRUE(std::regex_match(out, shape)) << out;
}

struct Fixture {
    TempFolder folder;
    std::string list;
    Fixture() {
        list = (folder.path() / "words.bin").string();
        WriteWordList(list, {"AB", "BC", "CA", "AC", "BA", "CAT", "CATS"});
    }
    std::string Grid(const std::string& name, const std::string& text) {
        const std::string path = (folder.path() / name).string();
        WriteFileForTest(path, text);
        return path;
    }
};

TEST(CliFill, gridFile_filledVerifiedWithJsonReport) {
    Fixture f;
    const std::string grid = f.Grid("g.txt", "@@!\n@@!\n!!!\n");
    const CliResult r = RunCli({"fill", "--grid", grid, "--word-list", f.list, "--seed", "3", "--json", "--verify"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    std::smatch rows;
    ASSERT_TRUE(std::regex_search(r.out, rows, std::regex("\"grid\": \\[\"([A-Z]{2})!\", \"([A-Z]{2})!\", \"!!!\"\\]")))
        << r.out;
    ExpectJsonShape(r.out, "filled", {rows[1].str() + "!", rows[2].str() + "!", "!!!"});
    EXPECT_NE(r.out.find("\"entries\": 4"), std::string::npos);
    EXPECT_NE(r.out.find("\"verified\": true"), std::string::npos);
    EXPECT_EQ(r.err, "");
}

TEST(CliFill, outcomes_mapToResultAndExitCode) {
    Fixture f;
    struct Case {
        const char* name;
        std::string grid;
        const char* result;
        int exitCode;
        std::vector<std::string> rows;  // the grid printed
    } cases[] = {
        // CATS, the only four-letter word, starts like the user's CAT.
        {"exhausted", "CAT!\n!!!!\n@@@@\n!!!!\n", "exhausted", 1, {"CAT!", "!!!!", "@@@@", "!!!!"}},
        // CAT is the only three-letter word, and the user placed it.
        {"no candidate left", "CAT\n!!!\n@@@\n", "no-start", 1, {"CAT", "!!!", "???"}},
        {"no start",
         "@@@@@\n!!!!!\n!!!!!\n!!!!!\n!!!!!\n",
         "no-start",
         1,
         {"?????", "!!!!!", "!!!!!", "!!!!!", "!!!!!"}},
        {"duplicates", "CAT\n!!!\nCAT\n", "duplicates", 1, {"CAT", "!!!", "CAT"}},
        {"already complete", "AB!\nCA!\n!!!\n", "filled", 0, {"AB!", "CA!", "!!!"}},
    };
    for (const Case& c : cases) {
        const std::string grid = f.Grid(std::string(c.name) + ".txt", c.grid);
        const CliResult r = RunCli({"fill", "--grid", grid, "--word-list", f.list, "--json"});
        EXPECT_EQ(r.exitCode, c.exitCode) << c.name << ": " << r.err;
        ExpectJsonShape(r.out, c.result, c.rows);
    }
}

TEST(CliFill, thoroughMode_fillsVerifiedOrNamesWhyNoFillExists) {
    Fixture f;
    const std::string open = f.Grid("open.txt", "@@!\n@@!\n!!!\n");
    const std::string prefix = f.Grid("prefix.txt", "CAT!\n!!!!\n@@@@\n!!!!\n");
    for (const char* threads : {"1", "2"}) {
        const CliResult filled = RunCli({"fill", "--grid", open, "--word-list", f.list, "--mode", "5", "--threads",
                                         threads, "--seed", "4", "--json", "--verify"});
        EXPECT_EQ(filled.exitCode, 0) << filled.err;
        EXPECT_NE(filled.out.find("\"result\": \"filled\""), std::string::npos) << filled.out;
        EXPECT_NE(filled.out.find("\"seed\": 4,"), std::string::npos) << filled.out;
        EXPECT_NE(filled.out.find("\"verified\": true"), std::string::npos) << filled.out;

        // CATS, the only four-letter word, starts like the user's CAT: a proof, not a give-up.
        const CliResult none =
            RunCli({"fill", "--grid", prefix, "--word-list", f.list, "--mode", "5", "--threads", threads, "--json"});
        EXPECT_EQ(none.exitCode, 1) << none.err;
        ExpectJsonShape(none.out, "no-fill", {"CAT!", "!!!!", "????", "!!!!"});
        EXPECT_NE(none.out.find("\"verdict\": \"No fill exists for this grid with the words.bin list: 2 Across "
                                "cannot be filled.\""),
                  std::string::npos)
            << none.out;
        const CliResult plain = RunCli({"fill", "--grid", prefix, "--word-list", f.list, "--mode", "5"});
        EXPECT_NE(plain.out.find("2 Across cannot be filled.\nno-fill in "), std::string::npos) << plain.out;
    }
}

TEST(CliFill, timeLimit_defaultsToAMinuteAndZeroMeansNone) {
    struct Case {
        std::vector<std::string> args;
        std::optional<double> limit;
    } cases[] = {
        {{}, 60.0},
        {{"--time-limit", "0"}, std::nullopt},
        {{"--time-limit", "2.5"}, 2.5},
    };
    for (const Case& c : cases) {
        cli::FillOptions options;
        std::string error;
        ASSERT_TRUE(cli::ParseFillOptions(c.args, options, error)) << error;
        EXPECT_EQ(options.timeLimit, c.limit);
    }
}

TEST(CliFill, plainOutput_printsTheGridAndASummary) {
    Fixture f;
    const std::string grid = f.Grid("g.txt", "CAT\n!!!\nCAT\n");
    const CliResult r = RunCli({"fill", "--grid", grid, "--word-list", f.list});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out.substr(0, 12), "CAT\n!!!\nCAT\n");
    EXPECT_NE(r.out.find("duplicates in "), std::string::npos) << r.out;
}

std::string TooManyRows() {
    std::string text;
    for (int i = 0; i < 29; ++i) text += std::string(29, '@') + "\n";
    return text;
}

TEST(CliFill, badGridFiles_exitTwoWithTheLine) {
    Fixture f;
    struct Case {
        const char* name;
        std::string text;
        const char* message;
    } cases[] = {
        {"short row", "@@@\n@@\n@@@\n", "line 2: expected 3 squares"},
        {"long row", "@@@\n@@@\n@@@@\n", "line 3: expected 3 squares"},
        {"bad square", "@@@\n@x@\n@@@\n", "line 2: column 2: 'x' is not a grid square ('!' block, '@' or '?' open"},
        {"control byte", "@@@\n@@@\n@@\x01\n", "line 3: column 3: 0x01"},
        {"blank line inside", "@@@\n\n@@@\n", "line 2: expected 3 squares"},
        // The sizes --size takes: 3 to 28.
        {"one row", "@\n", "line 2: a grid has at least 3 rows"},
        {"two rows", "@@\n@@\n", "line 3: a grid has at least 3 rows"},
        {"two rows, CR line ends", "@@\r@@\r", "line 3: a grid has at least 3 rows"},
        {"empty", "", "the grid file is empty"},
        {"too many rows", TooManyRows(), "line 29: a grid has at most 28 rows"},
    };
    for (const Case& c : cases) {
        const std::string grid = f.Grid(std::string(c.name) + ".txt", c.text);
        const CliResult r = RunCli({"fill", "--grid", grid, "--word-list", f.list});
        EXPECT_EQ(r.exitCode, 2) << c.name;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << c.name << ": " << r.err;
        EXPECT_NE(r.err.find(grid), std::string::npos) << c.name << ": the message names the file";
        EXPECT_EQ(r.out, "") << c.name;
    }
}

TEST(CliFill, gridText_acceptsEveryLineEndTrailingBlankLinesAndQuestionMarks) {
    const char* const texts[] = {
        "A@!\n?!@\n@@@\n", "A@!\r\n?!@\r\n@@@\r\n\r\n\n", "A@!\r?!@\r@@@\r\r", "A@!\r?!@\r\n@@@", "A@!\n?!@\r@@@\n\r\n",
    };
    for (const char* text : texts) {
        SCOPED_TRACE(text);
        cli::GridFile grid;
        std::string error;
        ASSERT_TRUE(cli::ParseGridText("g", text, grid, error)) << error;
        EXPECT_EQ(grid.size, 3);
        EXPECT_EQ(grid.text, "A@!?!@@@@");
    }
    cli::GridFile grid;
    std::string error;
    // Too many lines are refused without reading on.
    std::string huge(40, '\n');
    huge.insert(0, std::string(30, '@') + "\n");
    for (int i = 0; i < 29; ++i) huge.insert(0, "@\n");
    EXPECT_FALSE(cli::ParseGridText("g", huge, grid, error));
}

TEST(CliFill, badUsage_exitsTwoWithAMessage) {
    Fixture f;
    const std::string grid = f.Grid("g.txt", "@@!\n@@!\n!!!\n");
    struct Case {
        std::vector<std::string> args;
        const char* message;
    } cases[] = {
        {{}, "usage: korvo-cli COMMAND"},
        {{"frobnicate"}, "unknown command 'frobnicate'"},
        {{"fill", "--colour"}, "unknown option '--colour'"},
        {{"fill", "--mode"}, "--mode needs a value"},
        {{"fill", "--mode", "6"}, "--mode takes a whole number from 1 to 5"},
        {{"fill", "--mode", "two"}, "--mode takes a whole number"},
        {{"fill", "--size", "2"}, "--size takes a whole number from 3 to 28"},
        {{"fill", "--size", "99999999999999999999"}, "--size takes a whole number"},
        {{"fill", "--seed", "-1"}, "--seed takes a whole number from 0 to 4294967295"},
        {{"fill", "--time-limit", "-1"}, "--time-limit takes a number of seconds (0: no limit), not '-1'"},
        {{"fill", "--time-limit", "nan"}, "--time-limit takes a number of seconds"},
        {{"fill", "--word-list", "6"}, "--word-list takes a word list id 1 to 5 or a file path"},
        {{"fill", "--size", "9", "--grid", grid}, "--size and --grid cannot be used together"},
        {{"fill", "--grid", grid, "--word-list", grid + ".missing"}, "cannot be read or holds no word"},
        {{"fill", "--grid", grid + ".missing"}, "cannot read the grid file"},
    };
    for (const Case& c : cases) {
        const CliResult r = RunCli(c.args);
        std::string line;
        for (const std::string& a : c.args) line += a + " ";
        EXPECT_EQ(r.exitCode, 2) << line;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << line << ": " << r.err;
    }
}

TEST(CliFill, help_printsTheUsageOnStandardOutputAndFillsNothing) {
    for (const char* flag : {"--help", "-h"}) {
        const CliResult r = RunCli({"fill", "--size", "9", flag});
        EXPECT_EQ(r.exitCode, 0) << flag;
        EXPECT_EQ(r.out.rfind("usage: korvo-cli fill", 0), 0u) << flag << ": " << r.out;
        EXPECT_NE(r.out.find("exit code: 0 filled"), std::string::npos) << flag;
        EXPECT_TRUE(r.err.empty()) << flag << ": " << r.err;
    }
}

TEST(CliFill, documentOptions_needTheDocumentWritersAndAListId) {
    Fixture f;
    const std::string grid = f.Grid("g.txt", "@@!\n@@!\n!!!\n");
    const CliResult r = RunCli({"fill", "--grid", grid, "--word-list", f.list, "--save", "x.kvz"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("--word-list PATH works only without"), std::string::npos) << r.err;
    const CliResult v = RunCli({"fill", "--verify", "--text", "x.txt"});
    EXPECT_EQ(v.exitCode, 2);
    EXPECT_NE(v.err.find("--verify works only without"), std::string::npos) << v.err;
}

TEST(CliFill, outputsThatReplaceTheGridFileOrEachOther_areRefusedBeforeTheFill) {
    Fixture f;
    const std::string design = "@@@\n@@@\n@@@\n";
    const std::string grid = f.Grid("g.txt", design);
    const std::string dir = f.folder.path().string();
    const std::string data = dir + "/data";
    std::filesystem::create_symlink(grid, dir + "/link.kvz");
    struct Case {
        std::vector<std::string> outputs;
        std::string message;
    };
    const Case cases[] = {
        {{"--save", grid}, "--save " + grid + " is the grid file; choose another output file"},
        {{"--text", dir + "/./g.txt"}, "--text " + dir + "/./g.txt is the grid file"},
        {{"--puz", dir + "/link.kvz"}, "--puz " + dir + "/link.kvz is the grid file"},
        {{"--puz", dir + "/a.out", "--ipuz", dir + "/a.out"}, "--puz and --ipuz name the same file " + dir + "/a.out"},
        {{"--save", dir + "/a.kvz", "--text", dir + "/x/../a.kvz"}, "--save and --text name the same file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        std::vector<std::string> args = {"fill", "--grid", grid, "--data-folder", data};
        args.insert(args.end(), c.outputs.begin(), c.outputs.end());
        const CliResult r = RunCli(args);
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_EQ(r.err.rfind("korvo-cli fill: " + c.message, 0), 0u) << r.err;
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(testsupport::ReadFileForTest(grid), design);
        EXPECT_FALSE(std::filesystem::exists(data)) << "refused before any work";
        EXPECT_FALSE(std::filesystem::exists(dir + "/a.out"));
    }
    EXPECT_TRUE(std::filesystem::is_symlink(dir + "/link.kvz"));
}

TEST(CliFill, timeLimit_stopsTheRunAndRestoresTheDesign) {
    // An open 6 x 6 grid over 800 random words of a 10-letter alphabet keeps
    // the search busy far longer than the first 2-second slice: a fill is
    // unlikely to exist, and proving that takes many slices. (With 1500 words
    // some word orders fill within one slice.) The seed fixes the order.
    Fixture f;
    const std::string list = (f.folder.path() / "random.bin").string();
    WriteWordList(list, testing::RandomWords(800, 6, 10, 1));
    const std::string grid =
        f.Grid("g.txt", std::string(6, '@') + "\n" + std::string(6, '@') + "\n" + std::string(6, '@') + "\n" +
                            std::string(6, '@') + "\n" + std::string(6, '@') + "\n" + std::string(6, '@') + "\n");
    const CliResult r =
        RunCli({"fill", "--grid", grid, "--word-list", list, "--time-limit", "0.5", "--seed", "2", "--json"});
    EXPECT_EQ(r.exitCode, 1) << r.err;
    ExpectJsonShape(r.out, "time-limit", std::vector<std::string>(6, std::string(6, '@')));
    EXPECT_NE(r.out.find("\"steps\": 1,"), std::string::npos) << r.out;
}

TEST(CliFill, randomPatternWithShippedList_fillsVerified) {
    if (!std::filesystem::exists(std::string(KORVO_BIN_DIR) + "/data1.bin")) GTEST_SKIP() << "data1.bin not built";
    for (const char* size : {"9", "15"}) {
        const CliResult r = RunCli({"fill", "--size", size, "--seed", "1", "--json", "--verify"});
        EXPECT_EQ(r.exitCode, 0) << size << ": " << r.err;
        EXPECT_NE(r.out.find("\"result\": \"filled\""), std::string::npos) << r.out;
        EXPECT_NE(r.out.find("\"verified\": true"), std::string::npos) << r.out;
        // The same seed draws the same pattern and word order.
        const CliResult again = RunCli({"fill", "--size", size, "--seed", "1", "--json"});
        const auto grid = [](const std::string& out) { return out.substr(out.find("\"grid\"")); };
        EXPECT_EQ(grid(again.out), grid(r.out).substr(0, grid(r.out).find(", \"verified\"")) + "}\n");
    }
}

}  // namespace
}  // namespace korvo
