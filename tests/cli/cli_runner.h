#pragma once
// Runs the built korvo-cli with arguments and captures what it wrote.

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "support/temp_folder.h"
#include "support/word_list_bytes.h"

namespace korvo::testing {

struct CliResult {
    int exitCode = -1;  // the program's exit status, -1 when it did not exit normally
    std::string out;    // what it wrote to standard output
    std::string err;    // what it wrote to standard error
};

inline std::string Quoted(const std::string& text) {
    std::string q = "'";
    for (char c : text) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

inline CliResult RunCli(const std::vector<std::string>& args) {
    testsupport::TempFolder folder;
    const std::filesystem::path out = folder.path() / "out.txt", err = folder.path() / "err.txt";
    std::string command = Quoted(std::string(KORVO_BIN_DIR) + "/korvo-cli");
    for (const std::string& a : args) {
        command += ' ';
        command += Quoted(a);
    }
    command += " >";
    command += Quoted(out.string());
    command += " 2>";
    command += Quoted(err.string());
    command += " </dev/null";
    const int status = std::system(command.c_str());
    CliResult result;
    if (status != -1 && WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
    result.out = testsupport::ReadFileForTest(out);
    result.err = testsupport::ReadFileForTest(err);
    return result;
}

// Writes a word list file in the shipped format: each byte XOR 0x3B, each
// word ended by the key byte.
inline void WriteWordList(const std::filesystem::path& path, const std::vector<std::string>& words) {
    testsupport::WriteFileForTest(path, testsupport::EncodeWordList(words));
}

}  // namespace korvo::testing
