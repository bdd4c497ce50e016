#pragma once

#include <filesystem>
#include <fstream>
#include <istream>
#include <string>
#include <string_view>

#include "platform/file_writer.h"

namespace korvo {

// ---------------------------------------------------------------------------
// The clue file format
//
// A clue file ("HO.CLU") is a sequence of lines in pairs: a word line (the
// answer, upper case) and a clue line. One byte per character: byte b is the
// character b (0x00..0xFF). Lines are written with CR LF; reading takes CR LF
// or a bare LF as the end of a line. Lines are written cut to 21 (word) and
// 60 (clue) characters; lines read may be of any length. No header, count or
// terminator.
// ---------------------------------------------------------------------------

// Longest word line and clue line written.
inline constexpr std::size_t kClueWordLimit = 21;
inline constexpr std::size_t kClueTextLimit = 60;

// The bytes a text is stored as. Characters 0x00..0xFF are stored as that
// byte, except LF, which would split the pair and is stored as a space. A
// character above 0xFF cannot be stored in one byte and is stored as '?'
// (a surrogate pair, one character, gives one '?'), so it is never mistaken
// for the character of its low byte. The comparisons of the database use
// this stored form, so a clue typed with such characters is found again, and
// not added twice, in the form it was stored in.
std::string ClueBytes(std::u16string_view text);

// The characters of stored bytes (each byte widened to the character of the
// same code).
std::u16string ClueText(std::string_view bytes);

// Reads one line of a clue file: the bytes up to an LF, without the LF and
// without one CR just before it. Returns false, with line empty, when the
// stream is at its end (a last line without a line break still counts).
bool ReadClueLine(std::istream& in, std::string& line);

// The same line reading over bytes in memory: takes the next line off the
// front of rest. The line views rest's bytes.
bool NextClueLine(std::string_view& rest, std::string_view& line);

// Appends a pair as written to a clue file: the word cut to 21 bytes, CR LF,
// the clue cut to 60 bytes, CR LF.
void AppendCluePair(std::string& out, std::string_view word, std::string_view clue);

// The character a word's character becomes in a clue file name. Letters
// A..Z and a..z stay; every other byte becomes '_', so that a word can never
// build a path outside its folder (no '/', '\\', NUL or "..") and no clue
// file name ever has '1' as its second character, the mark of the temporary
// file ("H1.CLU") that DeleteClue used to write and still clears away.
char ClueNameChar(unsigned char c);

// The clue file name of a word in stored bytes, "HO.CLU" for HOUSE; empty
// for a word of fewer than two characters, which has no clue file.
std::string ClueFileName(std::string_view word);

// ---------------------------------------------------------------------------
// ClueDatabase: the access object for one clue folder. Used by one thread for
// one task; not copied.
// ---------------------------------------------------------------------------
class ClueDatabase {
public:
    // folder: the clue folder with a trailing separator ("…/CLUES1/"). The
    // file names are appended to it as they are, so an empty folder means
    // the current directory. Every write goes through fileSystem.
    explicit ClueDatabase(const std::filesystem::path& folderPath, FileSystemOps& fileSystem = SystemFileSystem());
    ~ClueDatabase();
    ClueDatabase(const ClueDatabase&) = delete;
    ClueDatabase& operator=(const ClueDatabase&) = delete;

    // With a word: starts a sequence and returns the word's first clue in
    // file order. With the empty string: returns the next clue of the current
    // sequence. The empty result marks the end (the file is closed then).
    // Word lines must equal the word exactly (case matters).
    std::u16string Lookup(const std::u16string& word);

    // Appends (word, clue) to the word's clue file; true when appended. False
    // for an empty word or clue, a clue equal to its word, a word of fewer
    // than two characters, with checkDuplicates a pair already in the file
    // (the stored lines are compared with the uncut word and clue), or a file
    // that cannot be written. The pair (word line and clue line) is appended
    // in one write; when that fails the clue file is left byte for byte as it
    // was (and a clue file the call created is removed), and
    // LastWriteResult() says why. Ends a Lookup sequence in progress.
    bool AddClue(bool checkDuplicates, const std::u16string& word, const std::u16string& clue);

    // Removes every pair equal to (word, clue) from the word's clue file,
    // keeping the others in order. When a pair matched and the file was read
    // whole, the rest is written to a temporary file beside it, flushed and
    // renamed over the clue file; otherwise, and whenever a step of that
    // fails, the clue file stays byte for byte as it was and no temporary
    // file is left. Returns false only when a matching pair could not be
    // removed (the file could not be read whole or rewritten; then
    // LastWriteResult() says why of a failed write); true when the pairs are
    // gone or there were none (no clue file, an empty word or clue). Ends a
    // Lookup sequence in progress.
    bool DeleteClue(const std::u16string& word, const std::u16string& clue);

    // The outcome of the last write of AddClue or DeleteClue (ok when it
    // succeeded or nothing was written).
    const FileWriteResult& LastWriteResult() const { return lastWrite; }

    // True while a Lookup sequence holds its clue file open.
    bool ReaderOpen() const { return readerOpen; }

private:
    // Full path of a file of the folder.
    std::filesystem::path PathOf(const std::string& name) const;
    void CloseReader();

    std::string folder;         // the folder as given, native bytes, with its trailing separator
    FileSystemOps& fileSystem;  // where every write goes
    FileWriteResult lastWrite;  // outcome of the last write of AddClue or DeleteClue
    std::ifstream reader;       // the clue file scanned by Lookup; stays open between calls
    bool readerOpen = false;    // reader holds an open file of the current sequence
    std::string currentWord;    // stored bytes of the word of the current Lookup sequence
    std::string wordLine;       // word line of the last pair read
    std::string clueLine;       // clue line of the last pair read
};

}  // namespace korvo
