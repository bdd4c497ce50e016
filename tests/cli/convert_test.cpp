// korvo-cli convert: a puzzle file in, its text export out; every bad input
// refused with its message and exit code 2.
#include "cli/convert_command.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/convert_fixture.h"
#include "document/puzzle_file.h"
#include "document/puzzle_file_fixture.h"
#include "document/text_export_command.h"
#include "support/temp_folder.h"

namespace korvo {
namespace {

namespace fs = std::filesystem;
using namespace puzzletest;
using testsupport::ReadFileForTest;
using testsupport::WriteFileForTest;

using testing::Convert;
using testing::ConvertFixture;
using testing::ConvertOutcome;

class ConvertCommand : public ConvertFixture {
protected:
    ConvertCommand() {
        const auto puzzle = SmallPuzzle();
        expectedText = BuildTextExport(*puzzle).bytes;
    }

    std::string expectedText;  // the text export of the puzzle in In()
};

TEST_F(ConvertCommand, puzzleFile_becomesItsTextExportWhereverTheOptionStands) {
    const std::string data = (folder.path() / "data").string();
    const std::vector<std::vector<std::string>> calls = {
        {In(), Out()},
        {"--data-folder", data, In(), Out()},
        {In(), "--data-folder", data, Out()},
        {In(), Out(), "--data-folder=" + data},
        {In(), Out("PETS.TXT")},
    };
    for (const auto& args : calls) {
        SCOPED_TRACE(args.size());
        const std::string output = args.back().rfind("--", 0) == 0 ? args[1] : args.back();
        fs::remove(output);
        const ConvertOutcome o = Convert(args);
        EXPECT_EQ(o.code, 0) << o.err;
        EXPECT_EQ(o.err, "");
        EXPECT_EQ(ReadFileForTest(output), expectedText);
        EXPECT_NE(o.out.find("3x3, 4 clues"), std::string::npos) << o.out;
    }
    EXPECT_FALSE(fs::exists(data)) << "a conversion needs nothing of the data folder";

    // A file of version 60303 converts the same way.
    const Bytes full = SmallPuzzleFile();
    WriteFileForTest(In(), ToString(Bytes(full.begin(), full.end() - 4)));
    EXPECT_EQ(Convert({In(), Out("old.txt")}).code, 0);
    EXPECT_EQ(ReadFileForTest(Out("old.txt")), expectedText);
}

TEST_F(ConvertCommand, badUsageOrInput_exitsWithTwoAndItsMessageAndWritesNothing) {
    const Bytes full = SmallPuzzleFile();
    WriteFileForTest(folder.path() / "cut.kvz", ToString(Bytes(full.begin(), full.begin() + 100)));
    Bytes otherClass = full;
    otherClass[12] = 'b';
    WriteFileForTest(folder.path() / "other.kvz", ToString(otherClass));
    Bytes hugeCount = full;
    const std::size_t countAt = SmallPuzzleFileBeforeClueCount().size();
    for (int i = 0; i < 4; ++i) hugeCount[countAt + i] = i == 3 ? 0x7F : 0xFF;
    WriteFileForTest(folder.path() / "count.kvz", ToString(hugeCount));
    const std::string dir = folder.path().string();
    const std::string format = "ERROR: Invalid Puzzle File Format.";

    struct Case {
        std::vector<std::string> args;
        std::string message;  // part of what stderr must say
    };
    const std::vector<Case> cases = {
        {{}, "an input and an output file are needed"},
        {{In()}, "an input and an output file are needed"},
        {{In(), Out(), Out("x.txt")}, "too many file names"},
        {{"--data-folder"}, "--data-folder needs a folder"},
        {{In(), Out(), "--data-folder="}, "--data-folder needs a folder"},
        {{"--fast", In(), Out()}, "unknown option '--fast'"},
        {{In(), Out("pets.doc")}, "unknown output type (known: .txt, .puz, .ipuz, .pdf)"},
        {{In(), Out("pets")}, "unknown output type"},
        {{dir + "/cut.kvz", Out()}, format},
        {{dir + "/other.kvz", Out()}, format},
        {{dir + "/count.kvz", Out()}, format},
        {{dir + "/missing.kvz", Out()}, "Failed to open document."},
        {{dir, Out()}, "Failed to open document."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        const ConvertOutcome o = Convert(c.args);
        EXPECT_EQ(o.code, 2);
        EXPECT_NE(o.err.find(c.message), std::string::npos) << o.err;
        EXPECT_FALSE(fs::exists(Out())) << "nothing is written";
        EXPECT_FALSE(fs::exists(Out("x.txt")));
    }
}

TEST_F(ConvertCommand, outputThatCannotBeWritten_exitsWithOne) {
    const ConvertOutcome o = Convert({In(), Out("no-such-folder/pets.txt")});
    EXPECT_EQ(o.code, 1);
    EXPECT_NE(o.err.find("An error was encountered while saving the file."), std::string::npos) << o.err;
}

TEST_F(ConvertCommand, outputThatIsTheInputFile_isRefusedAndTheInputKept) {
    // A puzzle file may carry any extension: one named .puz is the file a
    // conversion to .puz would have replaced.
    const std::string puzzle = ReadFileForTest(In());
    WriteFileForTest(Out("pets.puz"), puzzle);
    fs::create_symlink(In(), Out("link.txt"));
    fs::create_symlink(In(), Out("link.pdf"));
    fs::create_hard_link(In(), Out("hard.ipuz"));
    const std::string dir = folder.path().string();
    struct Case {
        std::string input, output;
    };
    const Case cases[] = {
        {Out("pets.puz"), Out("pets.puz")},
        {Out("pets.puz"), dir + "/./pets.puz"},
        {Out("pets.puz"), dir + "/../" + folder.path().filename().string() + "/pets.puz"},
        {In(), Out("link.txt")},
        {In(), Out("link.pdf")},
        {Out("link.txt"), In()},
        {In(), Out("hard.ipuz")},
        {In(), In()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input + " -> " + c.output);
        const ConvertOutcome o = Convert({c.input, c.output});
        EXPECT_EQ(o.code, 2);
        EXPECT_EQ(o.err, "korvo-cli convert: " + c.output + " is the input file " + c.input +
                             "; choose another output file\n");
        EXPECT_EQ(o.out, "");
        EXPECT_EQ(ReadFileForTest(In()), puzzle);
        EXPECT_EQ(ReadFileForTest(Out("pets.puz")), puzzle);
    }
    EXPECT_TRUE(fs::is_symlink(Out("link.txt")));
    EXPECT_EQ(fs::hard_link_count(In()), 2u);
    // The same input to another file converts as always.
    EXPECT_EQ(Convert({Out("pets.puz"), Out("other.puz")}).code, 0);
}

// The built program, end to end.
int RunBuiltCli(const std::string& args, const fs::path& errFile) {
    const std::string command =
        "'" KORVO_BIN_DIR "/korvo-cli' " + args + " >/dev/null 2>'" + errFile.string() + "' </dev/null";
    const int status = std::system(command.c_str());
    return status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(ConvertCommand, builtProgram_convertsAndRefusesADamagedFile) {
    const fs::path err = folder.path() / "err.txt";
    EXPECT_EQ(RunBuiltCli("convert '" + In() + "' '" + Out() + "'", err), 0) << ReadFileForTest(err);
    EXPECT_EQ(ReadFileForTest(Out()), expectedText);

    const Bytes full = SmallPuzzleFile();
    WriteFileForTest(In(), ToString(Bytes(full.begin(), full.begin() + 40)));
    EXPECT_EQ(RunBuiltCli("convert '" + In() + "' '" + Out("cut.txt") + "'", err), 2);
    EXPECT_NE(ReadFileForTest(err).find("ERROR: Invalid Puzzle File Format."), std::string::npos);
    EXPECT_FALSE(fs::exists(Out("cut.txt")));
}

}  // namespace
}  // namespace korvo
