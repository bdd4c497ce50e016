#pragma once

// Shared by the puzzle-file, Load Solution and text-export tests: small
// filled puzzles built field by field, and a byte builder that spells the
// stored layout out independently of the archive writer.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "document/ckorvo_doc.h"
#include "document/puzzle_file.h"
#include "model/cw_data.h"
#include "support/scripted_host.h"
#include "support/temp_folder.h"

namespace korvo::puzzletest {

using Bytes = std::vector<std::uint8_t>;

// Appends values in the stored byte layout.
struct ByteBuilder {
    Bytes bytes;

    ByteBuilder& U8(std::uint8_t v) {
        bytes.push_back(v);
        return *this;
    }
    ByteBuilder& Raw(std::initializer_list<std::uint8_t> values) {
        bytes.insert(bytes.end(), values);
        return *this;
    }
    ByteBuilder& Le16(std::uint16_t v) { return U8(v & 0xFF).U8(v >> 8); }
    ByteBuilder& Le32(std::int64_t v) {
        const auto u = static_cast<std::uint32_t>(v);
        return U8(u & 0xFF).U8((u >> 8) & 0xFF).U8((u >> 16) & 0xFF).U8(u >> 24);
    }
    // A marked UTF-16 string with the shortest length form.
    ByteBuilder& Str(std::u16string_view text) {
        Raw({0xFF, 0xFE, 0xFF});
        const std::size_t n = text.size();
        if (n < 0xFF) {
            U8(static_cast<std::uint8_t>(n));
        } else if (n < 0xFFFE) {
            U8(0xFF).Le16(static_cast<std::uint16_t>(n));
        } else {
            U8(0xFF).Le16(0xFFFF).Le32(static_cast<std::int64_t>(n));
        }
        for (char16_t c : text) Le16(c);
        return *this;
    }
    // An unmarked 8-bit string (short form).
    ByteBuilder& Str8(std::string_view text) {
        U8(static_cast<std::uint8_t>(text.size()));
        for (char c : text) U8(static_cast<std::uint8_t>(c));
        return *this;
    }
    ByteBuilder& Font(const LOGFONTW& f) {
        Le32(f.lfHeight).Le32(f.lfWidth).Le32(f.lfEscapement).Le32(f.lfOrientation).Le32(f.lfWeight);
        Raw({f.lfItalic, f.lfUnderline, f.lfStrikeOut, f.lfCharSet, f.lfOutPrecision, f.lfClipPrecision, f.lfQuality,
             f.lfPitchAndFamily});
        for (char16_t c : f.lfFaceName) Le16(c);
        return *this;
    }
    ByteBuilder& Header() { return Raw({0xFF, 0xFF, 0x70, 0x17, 0x07, 0x00, 'C', 'C', 'W', 'D', 'a', 't', 'a'}); }
    // Fields 16 to 33.
    ByteBuilder& Page(const PuzzleFilePage& p) {
        Le32(p.gridColor).Le32(p.cluesColor).Le32(p.titleColor).Le32(p.pageWidth).Le32(p.pageHeight);
        U8(p.gridViewShown ? 1 : 0);
        Le32(p.printMarginLeft).Le32(p.marginLeft).Le32(p.printMarginRight).Le32(p.marginRight);
        Le32(p.printMarginTop).Le32(p.marginTop).Le32(p.printMarginBottom).Le32(p.marginBottom);
        Font(p.gridFont).Font(p.clueFont).Font(p.titleFont);
        return U8(p.underlinedTitle ? 1 : 0).U8(p.rightSideGrid ? 1 : 0);
    }
};

inline LOGFONTW Font(std::int32_t height, std::u16string_view face, std::uint8_t underline = 0) {
    LOGFONTW f;
    f.lfHeight = height;
    f.lfWeight = 400;
    f.lfUnderline = underline;
    f.lfOutPrecision = 8;
    f.lfPitchAndFamily = 2;
    SetFaceName(f, face);
    return f;
}

// A page part whose every field differs from its neighbours, so that a field
// written in the wrong place shows.
inline PuzzleFilePage SamplePage() {
    PuzzleFilePage p;
    p.gridColor = 0x00112233;
    p.cluesColor = 0x00445566;
    p.titleColor = 0x00778899;
    p.pageWidth = 8180;
    p.pageHeight = 10680;
    p.gridViewShown = false;
    p.printMarginLeft = 90;
    p.marginLeft = 250;
    p.printMarginRight = 91;
    p.marginRight = 251;
    p.printMarginTop = 92;
    p.marginTop = 252;
    p.printMarginBottom = 93;
    p.marginBottom = 253;
    p.gridFont = Font(-12, u"Arial");
    p.clueFont = Font(-13, u"Liberation Sans");
    p.titleFont = Font(-18, u"Arial", 1);
    p.titleFont.lfFaceName[31] = u'Z';  // units after the NUL are stored as they are
    p.underlinedTitle = true;
    p.rightSideGrid = false;
    return p;
}

inline std::unique_ptr<CCWData> FilledPuzzle(int n, const std::u16string& grid) {
    auto p = std::make_unique<CCWData>();
    p->gridSize = n;
    p->gridText = grid;
    p->solutionText = grid;
    p->status = StatusFilled;
    p->title = u"TO DO: Puzzle Title";
    p->answerTitle = u"Puzzle Answer";
    p->author = u"TO DO: by Author";
    p->copyright = u"TO DO: \u00A9 2026 by Author";
    p->wordListId = 1;
    for (int i = 0; i < n * n; ++i) p->cellNumbers[i] = grid[i] == u'!' ? 251 : 252;
    return p;
}

inline ClueEntry Clue(int number, bool down, std::u16string clue, std::u16string answer, RECT rect = {}) {
    ClueEntry e;
    e.number = number;
    e.direction = down ? u"DOWN" : u"ACROSS";
    e.clue = std::move(clue);
    e.answer = std::move(answer);
    e.rect = rect;
    return e;
}

// The 3 x 3 puzzle of the golden test:
//   C A T
//   O ! O
//   W E T
// with a circled O (row 1, column 2), a non-ASCII title, a notepad of two
// lines and four clues.
inline std::unique_ptr<CCWData> SmallPuzzle() {
    auto p = FilledPuzzle(3, u"CATO!OWET");
    p->title = u"K\u00E4fer \u2713";  // ä (Latin-1) and a check mark (beyond Latin-1)
    p->answerTitle = u"Puzzle Answer";
    p->author = u"by Ann";
    p->copyright = u"\u00A9 2026 Ann";
    p->highestNumber = 3;
    p->wordListId = 2;
    p->notepad = u"Theme: pets\r\nline 2";
    const std::int32_t numbers[9] = {1, 252, 2, 252, 251, 252, 3, 252, 252};
    for (int i = 0; i < 9; ++i) p->cellNumbers[i] = numbers[i];
    p->circled[5] = 1;
    p->clues = {Clue(1, false, u"Feline", u"CAT", RECT{100, 200, 3000, 400}), Clue(3, false, u"Damp", u"WET"),
                Clue(1, true, u"Bovine", u"COW"), Clue(2, true, u"Tiny tyke", u"TOT", RECT{-1, 0, 0x7FFFFFFF, 5})};
    return p;
}

// The expected file of SmallPuzzle with SamplePage, spelt out field by
// field: the part up to the clue count, then the whole file.
inline Bytes SmallPuzzleFileBeforeClueCount() {
    ByteBuilder b;
    b.Header();
    b.Str(u"CATO!OWET").Le32(3).Str(u"CATO!OWET").Le32(-1);
    b.Str(u"K\u00E4fer \u2713").Str(u"Puzzle Answer").Str(u"by Ann").Str(u"\u00A9 2026 Ann");
    b.Le32(3).Le32(2).Str(u"Theme: pets\r\nline 2");
    for (std::int32_t v : {1, 252, 2, 252, 251, 252, 3, 252, 252}) b.Le32(v);
    b.Raw({0, 0, 0, 0, 0, 1, 0, 0, 0});
    return b.bytes;
}

inline Bytes SmallPuzzleFile(std::int32_t version = 60601) {
    ByteBuilder b{SmallPuzzleFileBeforeClueCount()};
    b.Le32(4);
    b.Le32(1).Str(u"ACROSS").Str(u"Feline").Str(u"CAT").Le32(100).Le32(200).Le32(3000).Le32(400);
    b.Le32(3).Str(u"ACROSS").Str(u"Damp").Str(u"WET").Le32(0).Le32(0).Le32(0).Le32(0);
    b.Le32(1).Str(u"DOWN").Str(u"Bovine").Str(u"COW").Le32(0).Le32(0).Le32(0).Le32(0);
    b.Le32(2).Str(u"DOWN").Str(u"Tiny tyke").Str(u"TOT").Le32(-1).Le32(0).Le32(0x7FFFFFFF).Le32(5);
    b.Page(SamplePage());
    b.Le32(version);
    return b.bytes;
}

// A grid of n x n squares: letters with a block every seventh square.
inline std::u16string PatternGrid(int n, char16_t firstLetter = u'A') {
    std::u16string grid;
    for (int i = 0; i < n * n; ++i)
        grid += (i % 7 == 3) ? u'!' : static_cast<char16_t>(u'A' + (firstLetter - u'A' + i) % 26);
    return grid;
}

inline std::vector<std::uint8_t> ToBytes(const std::string& s) { return {s.begin(), s.end()}; }
inline std::string ToString(const Bytes& b) { return {b.begin(), b.end()}; }

// A document on temporary folders (its data folder, an empty program folder)
// driven by a scripted host, holding SmallPuzzle with SamplePage.
class PuzzleDocumentTest : public ::testing::Test {
protected:
    PuzzleDocumentTest() {
        std::filesystem::create_directories(Files());
        MakeDocument(nullptr);
    }

    // A fresh document whose writes go through fileSystem (null: the real one).
    void MakeDocument(FileSystemOps* fileSystem) {
        doc.reset();
        DocumentEnvironment environment;
        environment.dataFolder = root.path() / "Documents" / "TolvaneCWBuilder";
        environment.programFolder = root.path() / "program";
        environment.fileSystem = fileSystem;
        doc = std::make_unique<CkorvoDoc>(host, std::move(environment));
        doc->cwData = SmallPuzzle();
        SetPuzzleFilePage(*doc, SamplePage());
        host.messages.clear();
        host.events.clear();
        host.fileDialogs.clear();
    }

    std::filesystem::path Files() const { return root.path() / "files"; }
    std::filesystem::path File(const std::string& name) const { return Files() / name; }
    std::filesystem::path Write(const std::string& name, const Bytes& bytes) const {
        testsupport::WriteFileForTest(File(name), ToString(bytes));
        return File(name);
    }

    testsupport::ScopedHome home;  // nothing reaches the real user's folders
    testsupport::TempFolder root;
    testsupport::ScriptedHost host;
    std::unique_ptr<CkorvoDoc> doc;
};

}  // namespace korvo::puzzletest
