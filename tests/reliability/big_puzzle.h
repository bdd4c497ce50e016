#pragma once

// Filled puzzles for the reliability tests, built field by field as a
// finished fill and the user's edits leave them: a full grid, a clue per
// entry, long page texts and a notepad of any length.

#include <cstddef>
#include <memory>
#include <string>

#include "document/export_puzzle.h"
#include "model/cw_data.h"
#include "model/generation_status.h"

namespace korvo::testsupport {

// A text of length characters that differs with variant (Latin-1 only).
inline std::u16string FillerText(char variant, std::size_t length, std::u16string_view lead = u"") {
    static constexpr char kWords[] = "the quick brown fox jumps over a lazy dog; ";
    std::u16string text(lead);
    text += static_cast<char16_t>(variant);
    for (std::size_t i = 0; text.size() < length; ++i) {
        const char c = kWords[(i + static_cast<unsigned char>(variant)) % (sizeof kWords - 1)];
        text += static_cast<char16_t>(c);
        if (i % 97 == 96) text += u"\r\n";
    }
    text.resize(length);
    return text;
}

// A filled size x size puzzle in StatusFilled whose every text differs
// with variant; notepadChars sets the notepad's length, textChars that of
// the title, answer title, author, copyright and every clue.
inline std::unique_ptr<CCWData> FilledPuzzle(char variant, int size, std::size_t notepadChars, std::size_t textChars) {
    auto puzzle = std::make_unique<CCWData>();
    puzzle->gridSize = size;
    std::u16string grid;
    for (int i = 0; i < size * size; ++i) {
        const int row = i / size, column = i % size;
        const bool block = row % 4 == 1 && column % 4 == 1;
        grid += block ? u'!' : static_cast<char16_t>(u'A' + (i * 7 + variant) % 26);
        puzzle->circled[i] = (i + variant) % 11 == 0 ? 1 : 0;
    }
    puzzle->gridText = grid;
    puzzle->solutionText = grid;
    puzzle->status = StatusFilled;
    puzzle->title = FillerText(variant, textChars, u"Title ");
    puzzle->answerTitle = FillerText(variant, textChars, u"Answers ");
    puzzle->author = FillerText(variant, textChars, u"Author ");
    puzzle->copyright = FillerText(variant, textChars, u"\u00A9 ");
    puzzle->notepad = FillerText(variant, notepadChars, u"Notes ");
    // The grid's own numbering and one clue per entry, as a fill leaves them.
    ExportPuzzle shape;
    shape.size = size;
    shape.gridText = grid;
    const GridNumbering numbering = NumberGrid(shape);
    for (int i = 0; i < size * size; ++i) {
        const int number = numbering.cellNumbers[static_cast<std::size_t>(i)];
        puzzle->cellNumbers[i] = grid[static_cast<std::size_t>(i)] == u'!' ? 251 : number > 0 ? number : 252;
    }
    puzzle->highestNumber = numbering.entries.empty() ? 0 : numbering.entries.back().number;
    puzzle->wordListId = 1;
    int k = 0;
    for (const bool down : {false, true})
        for (const GridEntry& e : numbering.entries) {
            if (e.down != down) continue;
            ClueEntry entry;
            entry.number = e.number;
            entry.direction = down ? u"DOWN" : u"ACROSS";
            entry.clue = FillerText(static_cast<char>(variant + k % 5), textChars, u"Clue ");
            for (int j = 0; j < e.length; ++j)
                entry.answer +=
                    grid[static_cast<std::size_t>(down ? (e.row + j) * size + e.column : e.row * size + e.column + j)];
            entry.rect = RECT{k, 2 * k, 3 * k, 4 * k};
            puzzle->clues.push_back(entry);
            ++k;
        }
    return puzzle;
}

}  // namespace korvo::testsupport
