#include "document/puz_export.h"

namespace korvo {

namespace {

constexpr std::size_t kHeaderSize = 0x34;
constexpr std::uint16_t kPuzzleTypeNormal = 0x0001;
constexpr std::uint8_t kGextCircled = 0x80;

void PutShort(std::string& out, std::size_t offset, std::uint16_t value) {
    out[offset] = static_cast<char>(value & 0xFF);
    out[offset + 1] = static_cast<char>(value >> 8);
}

void AppendShort(std::string& out, std::uint16_t value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>(value >> 8);
}

// The strings' part of the checksums: title, author, copyright and notes
// with their NUL when not empty, every clue without its NUL. Notes count
// from version 1.3 on.
std::uint16_t TextChecksum(const std::string& title, const std::string& author, const std::string& copyright,
                           const std::vector<std::string>& clues, const std::string& notes, std::uint16_t c) {
    auto withNul = [&c](const std::string& s) {
        if (s.empty()) return;
        c = PuzChecksum(s, c);
        c = PuzChecksum(std::string_view("\0", 1), c);
    };
    withNul(title);
    withNul(author);
    withNul(copyright);
    for (const std::string& clue : clues) c = PuzChecksum(clue, c);
    withNul(notes);
    return c;
}

}  // namespace

std::uint16_t PuzChecksum(std::string_view data, std::uint16_t seed) {
    std::uint16_t c = seed;
    for (const char ch : data) {
        c = static_cast<std::uint16_t>((c >> 1) | ((c & 1) << 15));
        c = static_cast<std::uint16_t>(c + static_cast<std::uint8_t>(ch));
    }
    return c;
}

ExportResult WritePuzExport(const ExportPuzzle& puzzle) {
    ExportResult result;
    CheckedSolution checked;
    result.error = CheckSolution(puzzle, checked);
    if (!result.ok()) return result;

    const std::size_t n = static_cast<std::size_t>(puzzle.size);
    const std::u16string& letters = checked.letters;
    const GridNumbering& numbering = checked.numbering;
    std::string solution(n * n, '.');
    std::string player(n * n, '.');
    std::string gext(n * n, '\0');
    bool anyCircle = false;
    for (std::size_t i = 0; i < n * n; ++i) {
        if (IsBlockSquare(letters[i])) continue;
        solution[i] = static_cast<char>(letters[i]);
        player[i] = '-';
        if (IsCircled(puzzle, i)) {
            gext[i] = static_cast<char>(kGextCircled);
            anyCircle = true;
        }
    }

    // Clues in the grid's entry order (by number, across first).
    std::vector<std::string> clues;
    for (const ExportClue* clue : CluesInGridOrder(puzzle, numbering))
        clues.push_back(EncodeAcrossLiteText(ClueOnOneLine(clue->clue)));
    const std::string title = EncodeAcrossLiteText(puzzle.title);
    const std::string author = EncodeAcrossLiteText(puzzle.author);
    const std::string copyright = EncodeAcrossLiteText(puzzle.copyright);
    const std::string notes = EncodeAcrossLiteText(puzzle.notepad);

    std::string& out = result.bytes;
    out.assign(kHeaderSize, '\0');
    out.replace(0x02, 12, std::string_view("ACROSS&DOWN\0", 12));
    out.replace(0x18, 4, std::string_view("1.3\0", 4));
    out[0x2C] = static_cast<char>(n);  // width
    out[0x2D] = static_cast<char>(n);  // height
    PutShort(out, 0x2E, static_cast<std::uint16_t>(clues.size()));
    PutShort(out, 0x30, kPuzzleTypeNormal);
    PutShort(out, 0x32, 0);  // not scrambled

    const std::uint16_t cib = PuzChecksum(std::string_view(out).substr(0x2C, 8), 0);
    std::uint16_t global = PuzChecksum(solution, cib);
    global = PuzChecksum(player, global);
    global = TextChecksum(title, author, copyright, clues, notes, global);

    const std::uint16_t parts[4] = {cib, PuzChecksum(solution, 0), PuzChecksum(player, 0),
                                    TextChecksum(title, author, copyright, clues, notes, 0)};
    static constexpr char kLow[4] = {'I', 'C', 'H', 'E'};
    static constexpr char kHigh[4] = {'A', 'T', 'E', 'D'};
    for (int k = 0; k < 4; ++k) {
        out[0x10 + k] = static_cast<char>(kLow[k] ^ (parts[k] & 0xFF));
        out[0x14 + k] = static_cast<char>(kHigh[k] ^ (parts[k] >> 8));
    }
    PutShort(out, 0x00, global);
    PutShort(out, 0x0E, cib);

    out += solution;
    out += player;
    auto appendString = [&out](const std::string& s) {
        out += s;
        out += '\0';
    };
    appendString(title);
    appendString(author);
    appendString(copyright);
    for (const std::string& clue : clues) appendString(clue);
    appendString(notes);

    if (anyCircle) {
        out += "GEXT";
        AppendShort(out, static_cast<std::uint16_t>(gext.size()));
        AppendShort(out, PuzChecksum(gext, 0));
        out += gext;
        out += '\0';
    }
    return result;
}

}  // namespace korvo
