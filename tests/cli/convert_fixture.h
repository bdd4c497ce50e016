#pragma once
// Runs korvo-cli's convert command in the test process and captures what it
// wrote; a fixture whose temporary folder holds the small puzzle file.

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "cli/convert_command.h"
#include "document/puzzle_file_fixture.h"
#include "support/temp_folder.h"

namespace korvo::testing {

struct ConvertOutcome {
    int code = -1;    // the command's exit code
    std::string out;  // what it wrote to standard output
    std::string err;  // what it wrote to standard error
};

inline ConvertOutcome Convert(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    ConvertOutcome o;
    o.code = cli::RunConvertCommand(args, out, err);
    o.out = out.str();
    o.err = err.str();
    return o;
}

// A temporary folder with the small puzzle file at In().
class ConvertFixture : public ::testing::Test {
protected:
    ConvertFixture() { testsupport::WriteFileForTest(In(), puzzletest::ToString(puzzletest::SmallPuzzleFile())); }
    std::string In() const { return (folder.path() / "pets.kvz").string(); }
    std::string Out(const std::string& name = "pets.txt") const { return (folder.path() / name).string(); }

    testsupport::TempFolder folder;  // removed with everything in it when the test ends
};

}  // namespace korvo::testing
