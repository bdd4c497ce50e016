#pragma once

// `korvo-cli fill`: fills one grid with the same engine, word list handling
// and run parameters as the window program, and prints the result.

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "cli/document_fill.h"

namespace korvo::cli {

// Seconds a fill may run unless --time-limit says otherwise (0 there: no limit).
inline constexpr double kDefaultTimeLimit = 60.0;

// What `fill` was asked to do.
struct FillOptions {
    int size = 15;                      // side of the random grid when no grid file is given
    std::string gridFile;               // grid file to fill instead of a random pattern; empty for none
    int mode = 1;                       // generating mode 1..5
    std::string wordList = "1";         // word list id 1..5 (data1.bin ... beside the program) or a file path
    std::optional<std::uint32_t> seed;  // seed of the random generator; the clock when absent
    std::optional<double> timeLimit = kDefaultTimeLimit;  // seconds after which the run is stopped; none when absent
    int threads = 0;                                      // searches side by side in mode 5; 0: every hardware thread
    bool json = false;                                    // print one JSON line instead of the grid
    bool verify = false;                                  // check the fill independently
    bool help = false;                                    // --help: print the usage and fill nothing
    bool modeGiven = false;                               // --mode was given (else the document's settings decide)
    bool wordListGiven = false;                           // --word-list was given (else the document's settings decide)
    bool throughDocument = false;                         // a document option was given: fill through the document
    DocumentFillOptions document;                         // the document's options (--data-folder, --save, ...)
};

// Parses the arguments after "fill". On a fault returns false with a message.
bool ParseFillOptions(const std::vector<std::string>& args, FillOptions& options, std::string& error);

// The usage lines of the command.
const char* FillUsage();

// The document fill's options of a parsed fill (size, mode, word list id,
// grid, seed, limit, JSON), or false with a message when the choices only
// work on the engine alone (a word list path, --verify).
bool ToDocumentFill(const FillOptions& options, DocumentFillOptions& document, std::string& error);

// Runs the command; returns the exit code: 0 filled (and verified when
// asked), 1 not filled, 2 bad usage, grid file or word list.
int RunFillCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace korvo::cli
