#pragma once

// `korvo-cli fill` through the document: the puzzle is made as the window
// program makes it (data folder with its first-run setup, settings, a new
// document, the fill on its worker thread, clue assignment), then reported
// and optionally saved as a puzzle file and as a text export.

#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>

namespace korvo::cli {

struct DocumentFillOptions {
    // The data folder; the user's data folder under the documents folder when absent.
    std::optional<std::filesystem::path> dataFolder;
    // Where data1.bin … and cdata1.bin … lie; the program's own folder when empty.
    std::filesystem::path programFolder;
    // Grid side, mode and word list; the settings file's values when absent.
    std::optional<int> size;
    std::optional<int> mode;
    std::optional<int> wordListId;
    // A grid to fill instead of a random pattern: size * size squares, row by
    // row ('!' block, '@' open, 'A'-'Z' letter); empty for none.
    std::string gridText;
    int gridSize = 0;
    std::filesystem::path gridPath;     // the file gridText was read from; no output may replace it
    std::optional<std::uint32_t> seed;  // seed of the pattern and the word order; the clock when absent
    std::optional<double> timeLimit;    // seconds after which the run is stopped; none when absent
    int threads = 0;                    // searches side by side in the thorough mode; 0: every hardware thread
    std::filesystem::path savePath;     // puzzle file to write when filled; empty for none
    std::filesystem::path textPath;     // text export to write when filled; empty for none
    std::filesystem::path puzPath;      // Across Lite file to write when filled; empty for none
    std::filesystem::path ipuzPath;     // ipuz file to write when filled; empty for none
    std::filesystem::path pdfPath;      // PDF of the puzzle page to write when filled; empty for none
    std::filesystem::path pdfGridPath;  // PDF of the grid view to write when filled; empty for none
    bool json = false;                  // one line of JSON instead of the grid and clue list
    // The puzzle's texts (UTF-8) in place of the settings file's; absent: those.
    std::optional<std::string> title;
    std::optional<std::string> author;
    std::optional<std::string> copyright;
    std::optional<std::string> notepad;
};

class Arguments;

// Takes the value of one of the document's options of `fill` when option is
// one: "--data-folder DIR", "--program-folder DIR", "--save OUT.kvz",
// "--text OUT.txt", "--puz OUT.puz", "--ipuz OUT.ipuz", "--pdf OUT.pdf",
// "--pdf-grid OUT.pdf" (both PDFs refused with an error in builds without
// PDF output), "--title TEXT", "--author TEXT", "--copyright TEXT" (each at
// most kTitleDialogMaxLength characters, as the window's text dialog takes;
// may be empty) and "--notepad TEXT". Returns false when option is not one of
// them; sets error when its value is missing, or empty where a name is needed,
// or too long.
bool TakeDocumentFillOption(const std::string& option, Arguments& args, DocumentFillOptions& options,
                            std::string& error);

// The usage lines of those options.
const char* DocumentFillUsage();

// Runs the fill; returns the exit code: 0 filled (and every requested file
// written), 1 not filled, 2 the data folder, word list, grid or an output
// file failed, or an output names the grid file or the file of another
// output (refused before the fill runs).
int RunDocumentFill(const DocumentFillOptions& options, std::ostream& out, std::ostream& err);

}  // namespace korvo::cli
