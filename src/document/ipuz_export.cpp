#include "document/ipuz_export.h"

#include "document/json_writer.h"

namespace korvo {

ExportResult WriteIpuzExport(const ExportPuzzle& puzzle) {
    ExportResult result;
    CheckedSolution solution;
    result.error = CheckSolution(puzzle, solution);
    if (!result.ok()) return result;

    const std::size_t n = static_cast<std::size_t>(puzzle.size);
    const GridNumbering& numbering = solution.numbering;
    std::u16string& letters = solution.letters;
    for (char16_t& c : letters)
        if (IsBlockSquare(c)) c = u'#';

    JsonWriter json;
    json.BeginObject();
    json.Key(u"version");
    json.String(u"http://ipuz.org/v2");
    json.Key(u"kind");
    json.BeginArray();
    json.String(u"http://ipuz.org/crossword#1");
    json.EndArray();
    json.Key(u"dimensions");
    json.BeginObject();
    json.Key(u"width");
    json.Int(puzzle.size);
    json.Key(u"height");
    json.Int(puzzle.size);
    json.EndObject();
    json.Key(u"title");
    json.String(puzzle.title);
    json.Key(u"author");
    json.String(puzzle.author);
    json.Key(u"copyright");
    json.String(puzzle.copyright);
    json.Key(u"notes");
    json.String(puzzle.notepad);

    json.Key(u"puzzle");
    json.BeginArray();
    for (std::size_t r = 0; r < n; ++r) {
        json.BeginArray();
        for (std::size_t c = 0; c < n; ++c) {
            const std::size_t i = r * n + c;
            if (letters[i] == u'#') {
                json.String(u"#");
            } else if (IsCircled(puzzle, i)) {
                json.BeginObject();
                json.Key(u"cell");
                json.Int(numbering.cellNumbers[i]);
                json.Key(u"style");
                json.BeginObject();
                json.Key(u"shapebg");
                json.String(u"circle");
                json.EndObject();
                json.EndObject();
            } else {
                json.Int(numbering.cellNumbers[i]);
            }
        }
        json.EndArray();
    }
    json.EndArray();

    json.Key(u"solution");
    json.BeginArray();
    for (std::size_t r = 0; r < n; ++r) {
        json.BeginArray();
        for (std::size_t c = 0; c < n; ++c) json.String(std::u16string(1, letters[r * n + c]));
        json.EndArray();
    }
    json.EndArray();

    json.Key(u"clues");
    json.BeginObject();
    const std::vector<const ExportClue*> clues = CluesInGridOrder(puzzle, numbering);
    for (const bool down : {false, true}) {
        json.Key(down ? u"Down" : u"Across");
        json.BeginArray();
        for (const ExportClue* clue : clues) {
            if (clue->down != down) continue;
            json.BeginArray();
            json.Int(clue->number);
            json.String(ClueOnOneLine(clue->clue));
            json.EndArray();
        }
        json.EndArray();
    }
    json.EndObject();
    json.EndObject();

    result.bytes = json.Text();
    result.bytes += '\n';
    return result;
}

}  // namespace korvo
