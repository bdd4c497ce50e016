#pragma once

// `korvo-cli convert`: opens a puzzle file as the window program opens it and
// writes it in the format named by the output file's extension.

#include <iosfwd>
#include <string>
#include <vector>

namespace korvo::cli {

// What `convert` was asked to do.
struct ConvertOptions {
    std::string dataFolder;  // replaces the data folder under the documents folder; empty for the default
    std::string input;       // the puzzle file (.kvz)
    std::string output;      // the file to write; its extension selects the format
    bool gridView = false;   // a .pdf output shows the grid view instead of the puzzle page
    bool help = false;       // print the usage and stop
};

// Parses the arguments after "convert"; options may stand before or after
// the file names. On a fault returns false with a message.
bool ParseConvertOptions(const std::vector<std::string>& args, ConvertOptions& options, std::string& error);

// The usage lines of the command.
const char* ConvertUsage();

// Runs the command; returns the exit code: 0 written, 1 the output could not
// be written, 2 bad usage, an unknown output type, an output that is the
// input file (under any name or link; the input is left alone), or an input
// file that cannot be opened or is not a puzzle file (its message on err).
int RunConvertCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace korvo::cli
