#include "document/text_export.h"

#include "platform/text_codec.h"

namespace korvo {

namespace {

constexpr char kLineEnd[] = "\r\n";
constexpr std::size_t kMaxCopyright = 254;

// Replaces each line break (CR LF, CR or LF) by replacement.
std::u16string ReplaceLineBreaks(std::u16string_view text, std::u16string_view replacement) {
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
            out += replacement;
        } else {
            out += c;
        }
    }
    return out;
}

// A line a reader could take for a section tag: after the spaces and tabs
// it ignores, it begins with '<' and ends with '>'.
bool ReadsAsTag(const std::string& line) {
    const std::size_t first = line.find_first_not_of(" \t");
    const std::size_t last = line.find_last_not_of(" \t");
    return first != std::string::npos && last > first && line[first] == '<' && line[last] == '>';
}

// A one-line field: line breaks become spaces, and a line that would read
// as a tag ("<DOWN>") gets round brackets in place of its angle brackets.
std::string OneLine(std::u16string_view text) {
    std::string line = EncodeAcrossLiteText(ReplaceLineBreaks(text, u" "));
    if (ReadsAsTag(line)) {
        line[line.find_first_not_of(" \t")] = '(';
        line[line.find_last_not_of(" \t")] = ')';
    }
    return line;
}

// A clue line: never blank, since a reader skips blank lines in the clue
// sections and would pair every later clue with the wrong entry.
std::string ClueLine(std::u16string_view clue) {
    std::string line = OneLine(ClueOnOneLine(clue));
    if (line.find_first_not_of(" \t") == std::string::npos) return std::string(kEmptyClueLine);
    return line;
}

// One grid square as one byte.
char GridByte(char16_t c, bool circled) {
    if (IsBlockSquare(c)) return '.';
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
    if (c >= u'A' && c <= u'Z') return static_cast<char>(circled ? c - u'A' + 'a' : c);
    // Not a letter: only a filled grid is exported, so this is a foreign
    // square; keep printable ASCII, anything else would not be one byte.
    if (c > 0x20 && c < 0x7F) return static_cast<char>(c);
    return kUnencodable;
}

}  // namespace

std::string TextExportCopyright(std::u16string_view copyright) {
    if (!copyright.empty() && copyright.front() == u'\u00A9') {
        copyright.remove_prefix(1);
        while (!copyright.empty() && copyright.front() == u' ') copyright.remove_prefix(1);
    }
    std::string line = OneLine(copyright);
    if (line.size() > kMaxCopyright) line.resize(kMaxCopyright);
    return line;
}

ExportResult WriteTextExport(const ExportPuzzle& puzzle) {
    ExportResult result;
    result.error = CheckGridShape(puzzle);
    if (!result.ok()) return result;
    const GridNumbering numbering = NumberGrid(puzzle);
    result.error = CheckCluesMatchGrid(puzzle, numbering);
    if (!result.ok()) return result;
    const std::vector<const ExportClue*> clues = CluesInGridOrder(puzzle, numbering);

    std::string& out = result.bytes;
    auto line = [&out](std::string_view text) {
        out += text;
        out += kLineEnd;
    };
    line("<ACROSS PUZZLE V2>");
    line("<TITLE>");
    line(OneLine(puzzle.title));
    line("<AUTHOR>");
    line(OneLine(puzzle.author));
    line("<COPYRIGHT>");
    line(TextExportCopyright(puzzle.copyright));
    line("<SIZE>");
    const std::string n = std::to_string(puzzle.size);
    line(n + "x" + n);
    line("<GRID>");

    const std::size_t size = static_cast<std::size_t>(puzzle.size);
    bool circledLetter = false;
    for (std::size_t r = 0; r < size; ++r) {
        std::string row;
        for (std::size_t c = 0; c < size; ++c) {
            const std::size_t i = r * size + c;
            const char b = GridByte(puzzle.gridText[i], IsCircled(puzzle, i));
            if (b >= 'a' && b <= 'z') circledLetter = true;
            row += b;
        }
        line(row);
    }
    if (circledLetter) {
        line("<REBUS>");
        line("MARK;");
    }

    line("<ACROSS>");
    for (const ExportClue* clue : clues)
        if (!clue->down) line(ClueLine(clue->clue));
    line("<DOWN>");
    for (const ExportClue* clue : clues)
        if (clue->down) line(ClueLine(clue->clue));

    line("<NOTEPAD>");
    line(EncodeAcrossLiteText(ReplaceLineBreaks(puzzle.notepad, u"\r\n")));
    return result;
}

}  // namespace korvo
