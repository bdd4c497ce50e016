// Encoding and decoding of the puzzle file, field by field. The reader
// follows one pattern throughout: read the field, check it, or record the
// error in the archive reader and stop; nothing is allocated before the bytes
// left have been found to hold it.
#include "document/puzzle_file.h"

#include <cerrno>
#include <limits>

#include "document/ckorvo_doc.h"
#include "platform/archive.h"
#include "platform/file_reader.h"
#include "platform/file_writer.h"
#include "platform/text_codec.h"

namespace korvo {

namespace {

// Smallest stored clue entry: the number, three empty strings of one length
// byte each (the 8-bit form) and the rectangle.
constexpr std::size_t kMinClueEntryBytes = 4 + 1 + 1 + 1 + 16;

std::size_t SquareCount(std::int32_t size) { return static_cast<std::size_t>(size) * static_cast<std::size_t>(size); }

bool ValidGridSize(std::int32_t size) { return size >= 1 && size <= kMaxGridSide; }

void WritePage(ArchiveWriter& out, const PuzzleFilePage& page) {
    out.WriteColor(page.gridColor);
    out.WriteColor(page.cluesColor);
    out.WriteColor(page.titleColor);
    out.WriteInt32(page.pageWidth);
    out.WriteInt32(page.pageHeight);
    out.WriteBool(page.gridViewShown);
    out.WriteInt32(page.printMarginLeft);
    out.WriteInt32(page.marginLeft);
    out.WriteInt32(page.printMarginRight);
    out.WriteInt32(page.marginRight);
    out.WriteInt32(page.printMarginTop);
    out.WriteInt32(page.marginTop);
    out.WriteInt32(page.printMarginBottom);
    out.WriteInt32(page.marginBottom);
    out.WriteFont(page.gridFont);
    out.WriteFont(page.clueFont);
    out.WriteFont(page.titleFont);
    out.WriteBool(page.underlinedTitle);
    out.WriteBool(page.rightSideGrid);
}

void ReadPage(ArchiveReader& in, PuzzleFilePage& page) {
    page.gridColor = in.ReadColor();
    page.cluesColor = in.ReadColor();
    page.titleColor = in.ReadColor();
    // The page size is one 8-byte block: a file cut inside it fails.
    page.pageWidth = in.ReadInt32();
    page.pageHeight = in.ReadInt32();
    page.gridViewShown = in.ReadBool();
    page.printMarginLeft = in.ReadInt32();
    page.marginLeft = in.ReadInt32();
    page.printMarginRight = in.ReadInt32();
    page.marginRight = in.ReadInt32();
    page.printMarginTop = in.ReadInt32();
    page.marginTop = in.ReadInt32();
    page.printMarginBottom = in.ReadInt32();
    page.marginBottom = in.ReadInt32();
    page.gridFont = in.ReadFont();
    page.clueFont = in.ReadFont();
    page.titleFont = in.ReadFont();
    page.underlinedTitle = in.ReadBool();
    page.rightSideGrid = in.ReadBool();
}

// Reads a grid text (the grid or the answer grid), which must hold exactly
// one character per square.
std::u16string ReadGrid(ArchiveReader& in, const char* what, std::size_t squares) {
    const std::size_t start = in.Position();
    std::u16string text = in.ReadString();
    if (in.Ok() && text.size() != squares) {
        in.Fail(ArchiveError::BadValue, std::string(what) + " at offset " + std::to_string(start) + " holds " +
                                            std::to_string(text.size()) + " squares instead of " +
                                            std::to_string(squares));
    }
    return text;
}

}  // namespace

PuzzleEncodeResult EncodePuzzle(const CCWData& puzzle, const PuzzleFilePage& page, std::int32_t programVersion) {
    PuzzleEncodeResult result;
    const std::int32_t n = puzzle.gridSize;
    if (!ValidGridSize(n)) {
        result.error = "grid size " + std::to_string(n) + " is outside 1.." + std::to_string(kMaxGridSide);
        return result;
    }
    const std::size_t squares = SquareCount(n);
    if (puzzle.gridText.size() != squares || puzzle.solutionText.size() != squares) {
        result.error = "the grid or the answer grid does not hold " + std::to_string(squares) + " squares";
        return result;
    }
    if (puzzle.status != StatusFilled) {
        result.error = "only a filled puzzle can be stored (status " + std::to_string(puzzle.status) + ")";
        return result;
    }
    if (puzzle.clues.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
        result.error = "too many clues";
        return result;
    }

    ArchiveWriter out;
    out.WriteObjectHeader(kPuzzleClassName, kPuzzleSchema);
    out.WriteString(puzzle.gridText);
    out.WriteInt32(n);
    out.WriteString(puzzle.solutionText);
    out.WriteInt32(puzzle.status);
    out.WriteString(puzzle.title);
    out.WriteString(puzzle.answerTitle);
    out.WriteString(puzzle.author);
    out.WriteString(puzzle.copyright);
    out.WriteInt32(puzzle.highestNumber);
    out.WriteInt32(puzzle.wordListId);
    out.WriteString(puzzle.notepad);
    for (std::size_t i = 0; i < squares; ++i) out.WriteInt32(puzzle.cellNumbers[i]);
    out.WriteBytes(std::span<const std::uint8_t>(puzzle.circled, squares));
    out.WriteInt32(static_cast<std::int32_t>(puzzle.clues.size()));
    for (const ClueEntry& entry : puzzle.clues) {
        out.WriteInt32(entry.number);
        out.WriteString(entry.direction);
        out.WriteString(entry.clue);
        out.WriteString(entry.answer);
        out.WriteRect(entry.rect);
    }
    WritePage(out, page);
    out.WriteInt32(programVersion);

    if (!out.Ok()) {
        result.error = "a text of the puzzle is too long to be stored";
        return result;
    }
    result.bytes = out.TakeBytes();
    return result;
}

PuzzleDecodeResult DecodePuzzle(std::span<const std::uint8_t> bytes) {
    PuzzleDecodeResult result;
    ArchiveReader in(bytes);
    auto puzzle = std::make_unique<CCWData>();

    if (!in.ReadObjectHeader(kPuzzleClassName, kPuzzleSchema)) {
        result.error = in.ErrorMessage();
        return result;
    }

    // The grid text comes before the size; its length is checked once the
    // size is known. ReadString has already bounded it by the bytes left.
    const std::size_t gridStart = in.Position();
    std::u16string gridText = in.ReadString();
    const std::size_t sizeStart = in.Position();
    const std::int32_t n = in.ReadInt32();
    if (in.Ok() && !ValidGridSize(n)) {
        in.Fail(ArchiveError::BadValue, "grid size " + std::to_string(n) + " at offset " + std::to_string(sizeStart) +
                                            " is outside 1.." + std::to_string(kMaxGridSide));
    }
    if (!in.Ok()) {
        result.error = in.ErrorMessage();
        return result;
    }
    const std::size_t squares = SquareCount(n);
    if (gridText.size() != squares) {
        result.error = "grid at offset " + std::to_string(gridStart) + " holds " + std::to_string(gridText.size()) +
                       " squares instead of " + std::to_string(squares);
        return result;
    }
    puzzle->gridSize = n;
    puzzle->gridText = std::move(gridText);
    puzzle->solutionText = ReadGrid(in, "answer grid", squares);

    const std::size_t statusStart = in.Position();
    const std::int32_t status = in.ReadInt32();
    if (in.Ok() && status != StatusFilled) {
        // Only filled puzzles are stored; a puzzle read from a file has no
        // engine, which every other status would need.
        in.Fail(ArchiveError::BadValue, "status " + std::to_string(status) + " at offset " +
                                            std::to_string(statusStart) + " is not that of a filled puzzle");
    }
    puzzle->status = status;
    puzzle->title = in.ReadString();
    puzzle->answerTitle = in.ReadString();
    puzzle->author = in.ReadString();
    puzzle->copyright = in.ReadString();
    puzzle->highestNumber = in.ReadInt32();
    puzzle->wordListId = in.ReadInt32();
    puzzle->notepad = in.ReadString();
    for (std::size_t i = 0; i < squares; ++i) puzzle->cellNumbers[i] = in.ReadInt32();
    in.ReadBytes(std::span<std::uint8_t>(puzzle->circled, squares));

    const std::size_t countStart = in.Position();
    const std::int32_t count = in.ReadInt32();
    if (in.Ok() && count < 0) {
        in.Fail(ArchiveError::BadValue,
                "clue count " + std::to_string(count) + " at offset " + std::to_string(countStart) + " is negative");
    } else if (in.Ok() && static_cast<std::size_t>(count) > in.Remaining() / kMinClueEntryBytes) {
        in.Fail(ArchiveError::LengthTooLarge, "clue count " + std::to_string(count) + " at offset " +
                                                  std::to_string(countStart) + " needs more than the " +
                                                  std::to_string(in.Remaining()) + " bytes left");
    }
    if (in.Ok()) {
        puzzle->clues.reserve(static_cast<std::size_t>(count));
        for (std::int32_t i = 0; i < count && in.Ok(); ++i) {
            ClueEntry entry;
            entry.number = in.ReadInt32();
            entry.direction = in.ReadString();
            entry.clue = in.ReadString();
            entry.answer = in.ReadString();
            entry.rect = in.ReadRect();
            if (in.Ok()) puzzle->clues.push_back(std::move(entry));
        }
    }

    ReadPage(in, result.page);
    if (!in.Ok()) {
        result.error = in.ErrorMessage();
        return result;
    }

    // The version field came with version 60601; older files end before it.
    result.programVersion = in.Remaining() >= 4 ? in.ReadInt32() : kPuzzleVersionWithoutField;
    result.puzzle = std::move(puzzle);
    return result;
}

// ---------------------------------------------------------------- the document

PuzzleFilePage PuzzleFilePageOf(const CkorvoDoc& doc) {
    PuzzleFilePage page;
    page.gridColor = doc.gridColor;
    page.cluesColor = doc.cluesColor;
    page.titleColor = doc.titleColor;
    page.pageWidth = doc.pageWidth;
    page.pageHeight = doc.pageHeight;
    page.gridViewShown = doc.gridViewShown;
    page.printMarginLeft = doc.printMarginLeft;
    page.marginLeft = doc.marginLeft;
    page.printMarginRight = doc.printMarginRight;
    page.marginRight = doc.marginRight;
    page.printMarginTop = doc.printMarginTop;
    page.marginTop = doc.marginTop;
    page.printMarginBottom = doc.printMarginBottom;
    page.marginBottom = doc.marginBottom;
    page.gridFont = doc.gridFont;
    page.clueFont = doc.clueFont;
    page.titleFont = doc.titleFont;
    page.underlinedTitle = doc.underlinedTitle;
    page.rightSideGrid = doc.rightSideGrid;
    return page;
}

void SetPuzzleFilePage(CkorvoDoc& doc, const PuzzleFilePage& page) {
    doc.gridColor = page.gridColor;
    doc.cluesColor = page.cluesColor;
    doc.titleColor = page.titleColor;
    doc.pageWidth = page.pageWidth;
    doc.pageHeight = page.pageHeight;
    doc.gridViewShown = page.gridViewShown;
    doc.printMarginLeft = page.printMarginLeft;
    doc.marginLeft = page.marginLeft;
    doc.printMarginRight = page.printMarginRight;
    doc.marginRight = page.marginRight;
    doc.printMarginTop = page.printMarginTop;
    doc.marginTop = page.marginTop;
    doc.printMarginBottom = page.printMarginBottom;
    doc.marginBottom = page.marginBottom;
    doc.gridFont = page.gridFont;
    doc.clueFont = page.clueFont;
    doc.titleFont = page.titleFont;
    doc.underlinedTitle = page.underlinedTitle;
    doc.rightSideGrid = page.rightSideGrid;
}

std::vector<std::uint8_t> CkorvoDoc::EncodePuzzleFile() const {
    // Only a filled puzzle is stored; once it is filled no worker touches it,
    // so its fields can be read without the lock.
    if (!cwData || cwData->GetStatus() != StatusFilled) return {};
    return EncodePuzzle(*cwData, PuzzleFilePageOf(*this), programVersion).bytes;
}

bool CkorvoDoc::SavePuzzleFile(const std::filesystem::path& path) {
    const std::vector<std::uint8_t> bytes = EncodePuzzleFile();
    // The old file is replaced only once every byte of the new one is on the
    // disk; on any failure it stays as it was and the puzzle stays modified.
    if (bytes.empty() || !WriteFileAtomically(path, bytes, FileSystem())) {
        host.MessageBox(kSaveErrorMessage, MessageIcon::Information);
        return false;
    }
    SetModifiedFlag(false);
    pathName = path;
    return true;
}

PuzzleFileRead ReadPuzzleFile(const std::filesystem::path& path) {
    PuzzleFileRead result;
    FileReadResult file = ReadFileBytes(path, kMaxPuzzleFileBytes);
    if (!file) {
        result.status = file.errorCode == EFBIG ? PuzzleFileStatus::InvalidFormat : PuzzleFileStatus::CannotOpen;
        result.error = std::move(file.message);
        return result;
    }
    result.decoded = DecodePuzzle(file.bytes);
    if (!result.decoded.ok()) {
        result.status = PuzzleFileStatus::InvalidFormat;
        result.error = result.decoded.error;
        return result;
    }
    result.status = PuzzleFileStatus::Ok;
    return result;
}

bool CkorvoDoc::OpenPuzzleFile(const std::filesystem::path& path) {
    // The file is decoded into a fresh puzzle first; the current puzzle, the
    // page settings and the modified flag change only when all of it was read.
    PuzzleFileRead file = ReadPuzzleFile(path);
    if (file.status == PuzzleFileStatus::CannotOpen) {
        host.MessageBox(std::u16string(kOpenErrorMessage) + u"\n\n" + Utf16FromUtf8(file.error), MessageIcon::Warning);
        return false;
    }
    if (file.status != PuzzleFileStatus::Ok) {
        host.MessageBox(kInvalidPuzzleFileMessage);
        return false;
    }
    PuzzleDecodeResult& read = file.decoded;
    cwData = std::move(read.puzzle);  // the old puzzle's destructor stops a running fill
    titleText = cwData->title;
    answerTitleText = cwData->answerTitle;
    copyrightText = cwData->copyright;
    authorText = cwData->author;
    SetPuzzleFilePage(*this, read.page);
    programVersion = read.programVersion;
    modified = false;
    pathName = path;
    return true;
}

}  // namespace korvo
