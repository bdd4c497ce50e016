#pragma once

// The three plain data types the program's files and drawing code share:
// a rectangle, a colour and a font description, laid out exactly as they are
// stored in puzzle files. The Qt layer converts them to QRect, QColor, QFont.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace korvo {

// A rectangle in page units (or device pixels where a caller says so).
struct RECT {
    std::int32_t left = 0;    // x of the left edge
    std::int32_t top = 0;     // y of the top edge (y grows downward)
    std::int32_t right = 0;   // x of the right edge
    std::int32_t bottom = 0;  // y of the bottom edge

    friend bool operator==(const RECT&, const RECT&) = default;
};
static_assert(sizeof(RECT) == 16);

// A colour as 0x00BBGGRR: red in the low byte, then green, then blue.
using COLORREF = std::uint32_t;

constexpr COLORREF MakeColorRef(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return static_cast<COLORREF>(red) | (static_cast<COLORREF>(green) << 8) | (static_cast<COLORREF>(blue) << 16);
}
constexpr std::uint8_t RedOf(COLORREF color) { return static_cast<std::uint8_t>(color & 0xFF); }
constexpr std::uint8_t GreenOf(COLORREF color) { return static_cast<std::uint8_t>((color >> 8) & 0xFF); }
constexpr std::uint8_t BlueOf(COLORREF color) { return static_cast<std::uint8_t>((color >> 16) & 0xFF); }

// Number of UTF-16 code units in a font's face name, the terminating NUL included.
inline constexpr int kFaceNameUnits = 32;

// A font description: 92 bytes, no padding, the layout puzzle files store.
struct LOGFONTW {
    std::int32_t lfHeight = 0;                 // < 0: character height, > 0: cell (line) height, 0: default
    std::int32_t lfWidth = 0;                  // average character width, 0 = matching the height
    std::int32_t lfEscapement = 0;             // angle of the text line, tenths of a degree
    std::int32_t lfOrientation = 0;            // angle of each character's base line, tenths of a degree
    std::int32_t lfWeight = 0;                 // 0 default, 400 normal, 700 bold
    std::uint8_t lfItalic = 0;                 // non-zero: italic
    std::uint8_t lfUnderline = 0;              // non-zero: underlined
    std::uint8_t lfStrikeOut = 0;              // non-zero: struck out
    std::uint8_t lfCharSet = 0;                // character set, 0 = ANSI
    std::uint8_t lfOutPrecision = 0;           // output precision, 8 = outline fonts preferred
    std::uint8_t lfClipPrecision = 0;          // clipping precision
    std::uint8_t lfQuality = 0;                // output quality
    std::uint8_t lfPitchAndFamily = 0;         // pitch in the low bits, family in the high nibble
    char16_t lfFaceName[kFaceNameUnits] = {};  // face name, NUL-terminated when shorter than 32 units

    friend bool operator==(const LOGFONTW&, const LOGFONTW&) = default;
};
static_assert(sizeof(LOGFONTW) == 92, "LOGFONTW must keep the stored 92-byte layout");
static_assert(offsetof(LOGFONTW, lfItalic) == 20);
static_assert(offsetof(LOGFONTW, lfFaceName) == 28);

// Sets the face name: at most 31 units are kept, the rest of the array is NUL.
void SetFaceName(LOGFONTW& font, std::u16string_view name);
// The face name up to its first NUL (all 32 units when there is none).
std::u16string FaceName(const LOGFONTW& font);

}  // namespace korvo
