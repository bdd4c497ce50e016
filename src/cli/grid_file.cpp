#include "cli/grid_file.h"

#include <cstdio>
#include <vector>

#include "engine/fill_engine.h"
#include "platform/file_reader.h"

namespace korvo::cli {

namespace {

bool IsGridSquare(char c) { return c == kBlock || c == kOpen || c == kHopeless || (c >= 'A' && c <= 'Z'); }

std::string Shown(char c) {
    if (c >= 0x21 && c <= 0x7E) return std::string("'") + c + "'";
    char code[8];
    std::snprintf(code, sizeof code, "0x%02X", static_cast<unsigned char>(c));
    return code;
}

}  // namespace

bool ParseGridText(const std::string& name, const std::string& content, GridFile& grid, std::string& error) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < content.size()) {
        // A line ends in LF, CR LF or CR alone.
        std::size_t end = content.find_first_of("\r\n", start);
        if (end == std::string::npos) end = content.size();
        lines.push_back(content.substr(start, end - start));
        start = end + (content.compare(end, 2, "\r\n") == 0 ? 2 : 1);
        if (lines.size() > static_cast<std::size_t>(kMaxGridSide) + 1) break;  // enough to report the fault
    }
    while (!lines.empty() && lines.back().empty()) lines.pop_back();  // blank lines at the end

    if (lines.empty()) {
        error = name + ": the grid file is empty";
        return false;
    }
    if (lines.size() > static_cast<std::size_t>(kMaxGridSide)) {
        error = name + ": line " + std::to_string(kMaxGridSide + 1) + ": a grid has at most " +
                std::to_string(kMaxGridSide) + " rows";
        return false;
    }
    const std::size_t size = lines.size();
    if (size < static_cast<std::size_t>(kMinGridFileSide)) {
        error = name + ": line " + std::to_string(size + 1) + ": a grid has at least " +
                std::to_string(kMinGridFileSide) + " rows";
        return false;
    }
    for (std::size_t i = 0; i < size; ++i) {
        const std::string& line = lines[i];
        const std::string where = name + ": line " + std::to_string(i + 1) + ": ";
        for (std::size_t k = 0; k < line.size() && k < size; ++k)
            if (!IsGridSquare(line[k])) {
                error = where + "column " + std::to_string(k + 1) + ": " + Shown(line[k]) +
                        " is not a grid square ('!' block, '@' or '?' open, 'A'-'Z' letter)";
                return false;
            }
        if (line.size() != size) {
            error = where + "expected " + std::to_string(size) + " squares (one per line of the grid), found " +
                    std::to_string(line.size());
            return false;
        }
    }
    grid.size = static_cast<int>(size);
    grid.text.clear();
    for (const std::string& line : lines) grid.text += line;
    return true;
}

bool ReadGridFile(const std::filesystem::path& path, GridFile& grid, std::string& error) {
    const FileReadResult file = ReadFileBytes(path, kMaxGridFileBytes);
    if (!file) {
        error = path.string() + ": cannot read the grid file (" + file.message + ")";
        return false;
    }
    return ParseGridText(path.string(), std::string(file.bytes.begin(), file.bytes.end()), grid, error);
}

}  // namespace korvo::cli
