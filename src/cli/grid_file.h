#pragma once

// The grid file of `korvo-cli fill --grid`: N lines of N squares (N from 3
// to 28, the sizes --size takes), '!' a block, '@' an open square, 'A' to 'Z'
// a letter; '?' is an open square too (the mark a refused start leaves, so
// that a grid printed then can be read back; the fill clears it). Lines end
// in LF, CR LF or CR; blank lines at the end are ignored.

#include <filesystem>
#include <string>

namespace korvo::cli {

// A grid read from a file.
struct GridFile {
    int size = 0;      // squares a side (rows = columns)
    std::string text;  // size * size squares, row by row
};

// Smallest grid side of a grid file: the smallest --size.
inline constexpr int kMinGridFileSide = 3;

// Largest grid file read (a 28 x 28 grid with CR LF line ends is under 1 KB).
inline constexpr std::size_t kMaxGridFileBytes = 64 * 1024;

// Reads and checks a grid file. On failure returns false with a message
// naming the file and, where the fault lies in a line, the line number.
bool ReadGridFile(const std::filesystem::path& path, GridFile& grid, std::string& error);
// The same check on text already read; name is used in the messages.
bool ParseGridText(const std::string& name, const std::string& content, GridFile& grid, std::string& error);

}  // namespace korvo::cli
