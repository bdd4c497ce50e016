#include "platform/archive.h"

#include <algorithm>
#include <cstring>

namespace korvo {

namespace {

// The WORD that follows a first length byte of FF to mark a UTF-16 string.
constexpr std::uint16_t kUnicodeMarker = 0xFFFE;

}  // namespace

// ---------------------------------------------------------------- writer

void ArchiveWriter::WriteByte(std::uint8_t value) { bytes_.push_back(value); }

void ArchiveWriter::WriteWord(std::uint16_t value) {
    bytes_.push_back(static_cast<std::uint8_t>(value & 0xFF));
    bytes_.push_back(static_cast<std::uint8_t>(value >> 8));
}

void ArchiveWriter::WriteUInt32(std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) bytes_.push_back(static_cast<std::uint8_t>((value >> shift) & 0xFF));
}

void ArchiveWriter::WriteInt32(std::int32_t value) { WriteUInt32(static_cast<std::uint32_t>(value)); }

void ArchiveWriter::WriteBool(bool value) { WriteByte(value ? 1 : 0); }

void ArchiveWriter::WriteColor(COLORREF value) { WriteUInt32(value); }

void ArchiveWriter::WriteRect(const RECT& rect) {
    WriteInt32(rect.left);
    WriteInt32(rect.top);
    WriteInt32(rect.right);
    WriteInt32(rect.bottom);
}

void ArchiveWriter::WriteFont(const LOGFONTW& font) {
    WriteInt32(font.lfHeight);
    WriteInt32(font.lfWidth);
    WriteInt32(font.lfEscapement);
    WriteInt32(font.lfOrientation);
    WriteInt32(font.lfWeight);
    WriteByte(font.lfItalic);
    WriteByte(font.lfUnderline);
    WriteByte(font.lfStrikeOut);
    WriteByte(font.lfCharSet);
    WriteByte(font.lfOutPrecision);
    WriteByte(font.lfClipPrecision);
    WriteByte(font.lfQuality);
    WriteByte(font.lfPitchAndFamily);
    for (char16_t unit : font.lfFaceName) WriteWord(static_cast<std::uint16_t>(unit));
}

void ArchiveWriter::WriteString(std::u16string_view text) {
    const std::size_t n = text.size();
    if (n >= 0xFFFFFFFFu) {
        ok_ = false;
        return;
    }
    bytes_.reserve(bytes_.size() + 10 + 2 * n);
    WriteByte(0xFF);
    WriteWord(kUnicodeMarker);
    if (n < 0xFF) {
        WriteByte(static_cast<std::uint8_t>(n));
    } else if (n < 0xFFFE) {
        WriteByte(0xFF);
        WriteWord(static_cast<std::uint16_t>(n));
    } else {
        WriteByte(0xFF);
        WriteWord(0xFFFF);
        WriteUInt32(static_cast<std::uint32_t>(n));
    }
    for (char16_t unit : text) WriteWord(static_cast<std::uint16_t>(unit));
}

void ArchiveWriter::WriteBytes(std::span<const std::uint8_t> bytes) {
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
}

void ArchiveWriter::WriteObjectHeader(std::string_view className, std::uint16_t schema) {
    if (className.size() > kMaxClassNameLength) {
        ok_ = false;
        return;
    }
    WriteWord(kNewClassTag);
    WriteWord(schema);
    WriteWord(static_cast<std::uint16_t>(className.size()));
    for (char c : className) WriteByte(static_cast<std::uint8_t>(c));
}

// ---------------------------------------------------------------- reader

void ArchiveReader::Fail(ArchiveError error, std::string message) {
    if (!Ok()) return;
    error_ = error;
    errorMessage_ = std::move(message);
}

bool ArchiveReader::Need(std::size_t count, const char* what) {
    if (!Ok()) return false;
    if (count <= Remaining()) return true;
    Fail(ArchiveError::EndOfData, std::string("end of data reading ") + what + " at offset " +
                                      std::to_string(position_) + ": " + std::to_string(count) + " bytes needed, " +
                                      std::to_string(Remaining()) + " left");
    return false;
}

std::uint8_t ArchiveReader::ReadByte() {
    if (!Need(1, "a byte")) return 0;
    return data_[position_++];
}

std::uint16_t ArchiveReader::ReadWord() {
    if (!Need(2, "a WORD")) return 0;
    const std::uint16_t value = static_cast<std::uint16_t>(data_[position_] | (data_[position_ + 1] << 8));
    position_ += 2;
    return value;
}

std::uint32_t ArchiveReader::ReadUInt32() {
    if (!Need(4, "a 32-bit integer")) return 0;
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | data_[position_ + i];
    position_ += 4;
    return value;
}

std::int32_t ArchiveReader::ReadInt32() { return static_cast<std::int32_t>(ReadUInt32()); }

bool ArchiveReader::ReadBool() { return ReadByte() != 0; }

COLORREF ArchiveReader::ReadColor() { return ReadUInt32(); }

RECT ArchiveReader::ReadRect() {
    if (!Need(16, "a rectangle")) return RECT{};
    RECT rect;
    rect.left = ReadInt32();
    rect.top = ReadInt32();
    rect.right = ReadInt32();
    rect.bottom = ReadInt32();
    return rect;
}

LOGFONTW ArchiveReader::ReadFont() {
    if (!Need(sizeof(LOGFONTW), "a font")) return LOGFONTW{};
    LOGFONTW font;
    font.lfHeight = ReadInt32();
    font.lfWidth = ReadInt32();
    font.lfEscapement = ReadInt32();
    font.lfOrientation = ReadInt32();
    font.lfWeight = ReadInt32();
    font.lfItalic = ReadByte();
    font.lfUnderline = ReadByte();
    font.lfStrikeOut = ReadByte();
    font.lfCharSet = ReadByte();
    font.lfOutPrecision = ReadByte();
    font.lfClipPrecision = ReadByte();
    font.lfQuality = ReadByte();
    font.lfPitchAndFamily = ReadByte();
    for (char16_t& unit : font.lfFaceName) unit = static_cast<char16_t>(ReadWord());
    return font;
}

std::uint32_t ArchiveReader::ReadStringLength(bool* unicode) {
    *unicode = false;
    const std::uint8_t first = ReadByte();
    if (first < 0xFF) return first;
    const std::uint16_t word = ReadWord();
    if (word == kUnicodeMarker) {
        // UTF-16 form: the length follows the marker in the same short/long steps.
        *unicode = true;
        const std::uint8_t length = ReadByte();
        if (length < 0xFF) return length;
        const std::uint16_t wordLength = ReadWord();
        if (wordLength < 0xFFFF) return wordLength;
        return ReadUInt32();
    }
    // 8-bit form: FF + WORD, where the WORD FFFF announces a 32-bit length.
    if (word < 0xFFFF) return word;
    return ReadUInt32();
}

std::u16string ArchiveReader::ReadString() {
    if (!Ok()) return {};
    const std::size_t start = position_;
    bool unicode = false;
    const std::uint32_t length = ReadStringLength(&unicode);
    if (!Ok()) return {};
    const std::size_t unitBytes = unicode ? 2 : 1;
    if (length > Remaining() / unitBytes) {
        Fail(ArchiveError::LengthTooLarge, "string at offset " + std::to_string(start) + " claims " +
                                               std::to_string(length) + (unicode ? " UTF-16 units" : " characters") +
                                               " but only " + std::to_string(Remaining()) + " bytes are left");
        return {};
    }
    std::u16string text(length, u'\0');
    const std::uint8_t* p = data_.data() + position_;
    if (unicode) {
        for (std::uint32_t i = 0; i < length; ++i) text[i] = static_cast<char16_t>(p[2 * i] | (p[2 * i + 1] << 8));
    } else {
        for (std::uint32_t i = 0; i < length; ++i) text[i] = static_cast<char16_t>(p[i]);
    }
    position_ += length * unitBytes;
    return text;
}

bool ArchiveReader::ReadBytes(std::span<std::uint8_t> out) {
    if (!Need(out.size(), "a byte block")) {
        std::fill(out.begin(), out.end(), std::uint8_t{0});
        return false;
    }
    if (!out.empty()) std::memcpy(out.data(), data_.data() + position_, out.size());
    position_ += out.size();
    return true;
}

bool ArchiveReader::ReadObjectHeader(std::string_view expectedClassName, std::uint16_t expectedSchema) {
    const std::size_t start = position_;
    const std::uint16_t tag = ReadWord();
    if (!Ok()) return false;
    if (tag != kNewClassTag) {
        Fail(ArchiveError::BadClassTag, "object at offset " + std::to_string(start) + " has class tag " +
                                            std::to_string(tag) + " instead of a new class");
        return false;
    }
    const std::uint16_t schema = ReadWord();
    if (!Ok()) return false;
    if (schema != expectedSchema) {
        Fail(ArchiveError::BadSchema,
             "class schema " + std::to_string(schema) + " instead of " + std::to_string(expectedSchema));
        return false;
    }
    const std::uint16_t nameLength = ReadWord();
    if (!Ok()) return false;
    if (nameLength > kMaxClassNameLength) {
        Fail(ArchiveError::BadClassName, "class name of " + std::to_string(nameLength) + " characters");
        return false;
    }
    if (!Need(nameLength, "the class name")) return false;
    const std::string_view name(reinterpret_cast<const char*>(data_.data() + position_), nameLength);
    position_ += nameLength;
    if (name != expectedClassName) {
        std::string shown;
        for (char c : name) shown += (c >= 0x20 && c < 0x7F) ? c : '?';
        Fail(ArchiveError::BadClassName,
             "class name \"" + shown + "\" instead of \"" + std::string(expectedClassName) + "\"");
        return false;
    }
    return true;
}

}  // namespace korvo
