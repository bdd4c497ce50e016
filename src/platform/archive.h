#pragma once

// The byte encodings of puzzle files: little-endian integers, flags, colours,
// rectangles, fonts, length-prefixed strings and the object header that names
// the stored class. ArchiveWriter appends to a byte buffer; ArchiveReader
// reads from a byte span, checking every read against what is left.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win_types.h"

namespace korvo {

// The object header's tag that introduces a class written for the first time.
inline constexpr std::uint16_t kNewClassTag = 0xFFFF;
// Longest class name an object header may carry, in characters.
inline constexpr std::size_t kMaxClassNameLength = 63;

class ArchiveWriter {
public:
    void WriteByte(std::uint8_t value);
    void WriteWord(std::uint16_t value);
    void WriteInt32(std::int32_t value);
    void WriteUInt32(std::uint32_t value);
    // One byte, 1 for true and 0 for false.
    void WriteBool(bool value);
    void WriteColor(COLORREF value);
    // left, top, right, bottom as four int32.
    void WriteRect(const RECT& rect);
    // The 92 bytes of the font: five int32, eight bytes, 32 UTF-16LE units
    // (all of them, including whatever follows the NUL).
    void WriteFont(const LOGFONTW& font);
    // FF FE FF, the length in UTF-16 units (one byte below 255, FF + WORD
    // below 0xFFFE, else FF FF FF + uint32), then the units as UTF-16LE.
    // A string of 0xFFFFFFFF units or more cannot be stored: nothing is
    // written and Ok() turns false.
    void WriteString(std::u16string_view text);
    void WriteBytes(std::span<const std::uint8_t> bytes);
    // New-class tag FF FF, the schema WORD, the name's length as a WORD, then
    // the name in ASCII. A name longer than kMaxClassNameLength makes Ok() false.
    void WriteObjectHeader(std::string_view className, std::uint16_t schema);

    // False once a value could not be encoded.
    bool Ok() const { return ok_; }
    const std::vector<std::uint8_t>& Bytes() const { return bytes_; }
    std::vector<std::uint8_t> TakeBytes() { return std::move(bytes_); }

private:
    std::vector<std::uint8_t> bytes_;  // everything written so far
    bool ok_ = true;                   // false after a value that could not be encoded
};

// What made a read fail; the first failure of a reader is kept.
enum class ArchiveError {
    None,            // no failure
    EndOfData,       // a value needed more bytes than were left
    LengthTooLarge,  // a string or count is longer than the bytes left could hold
    BadClassTag,     // the object header does not start with the new-class tag
    BadSchema,       // the object header names another schema
    BadClassName,    // the object header names another class, or a name too long
    BadValue,        // a value read is outside what the caller accepts (set by callers)
};

class ArchiveReader {
public:
    explicit ArchiveReader(std::span<const std::uint8_t> data) : data_(data) {}

    // Every read checks the bytes left first. On failure it records the
    // error (only the first one is kept), consumes nothing more and returns a
    // zero value; every later read fails the same way.
    std::uint8_t ReadByte();
    std::uint16_t ReadWord();
    std::int32_t ReadInt32();
    std::uint32_t ReadUInt32();
    // Any non-zero byte is true.
    bool ReadBool();
    COLORREF ReadColor();
    RECT ReadRect();
    LOGFONTW ReadFont();
    // Reads either string form: after the FF FE FF marker UTF-16LE units,
    // without it 8-bit characters, which are widened (ISO 8859-1). A length
    // longer than the bytes left fails with LengthTooLarge before anything is
    // allocated.
    std::u16string ReadString();
    // Fills out completely, or fails (out is then zero-filled).
    bool ReadBytes(std::span<std::uint8_t> out);
    // Reads an object header and checks tag, schema and class name (exact,
    // case-sensitive). True when all match.
    bool ReadObjectHeader(std::string_view expectedClassName, std::uint16_t expectedSchema);

    // Records a caller's own failure (for example a count out of range), so
    // that the reader's sticky state covers it. Ignored when already failed.
    void Fail(ArchiveError error, std::string message);

    bool Ok() const { return error_ == ArchiveError::None; }
    ArchiveError Error() const { return error_; }
    // What failed and at which offset, for logs and command-line messages.
    const std::string& ErrorMessage() const { return errorMessage_; }
    // Offset of the next byte to read.
    std::size_t Position() const { return position_; }
    std::size_t Remaining() const { return data_.size() - position_; }
    bool AtEnd() const { return position_ == data_.size(); }

private:
    // True when count more bytes are left; otherwise records EndOfData for what.
    bool Need(std::size_t count, const char* what);
    // Reads a string length after its first byte; sets *unicode when the
    // FF FE FF marker was seen.
    std::uint32_t ReadStringLength(bool* unicode);

    std::span<const std::uint8_t> data_;       // the whole input
    std::size_t position_ = 0;                 // offset of the next unread byte
    ArchiveError error_ = ArchiveError::None;  // first failure, or None
    std::string errorMessage_;                 // description of the first failure
};

}  // namespace korvo
