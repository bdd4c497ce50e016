#include "platform/text_codec.h"

#include <cstdint>

namespace korvo {

namespace {

constexpr char16_t kReplacement = u'\uFFFD';

void AppendUtf8(std::string& out, std::uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

void AppendUtf16(std::u16string& out, std::uint32_t code) {
    if (code < 0x10000) {
        out += static_cast<char16_t>(code);
    } else {
        code -= 0x10000;
        out += static_cast<char16_t>(0xD800 + (code >> 10));
        out += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
    }
}

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

std::string EncodeLatin1(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char16_t c : text) out += c <= 0xFF ? static_cast<char>(c) : kUnencodable;
    return out;
}

std::u16string DecodeLatin1(std::string_view bytes) { return Widen(bytes); }

std::string Narrow(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char16_t c : text) out += static_cast<char>(c & 0xFF);
    return out;
}

std::u16string Widen(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (char c : text) out += static_cast<char16_t>(static_cast<unsigned char>(c));
    return out;
}

std::string Utf8FromUtf16(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
            AppendUtf8(out, 0x10000 + ((static_cast<std::uint32_t>(c) - 0xD800) << 10) + (text[i + 1] - 0xDC00));
            ++i;
        } else if (IsHighSurrogate(c) || IsLowSurrogate(c)) {
            AppendUtf8(out, kReplacement);
        } else {
            AppendUtf8(out, c);
        }
    }
    return out;
}

std::u16string Utf16FromUtf8(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        int extra = 0;
        std::uint32_t code = 0;
        std::uint32_t minimum = 0;
        if (lead < 0x80) {
            out += static_cast<char16_t>(lead);
            ++i;
            continue;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            extra = 1, code = lead & 0x1F, minimum = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            extra = 2, code = lead & 0x0F, minimum = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            extra = 3, code = lead & 0x07, minimum = 0x10000;
        } else {
            out += kReplacement;
            ++i;
            continue;
        }
        // Take the continuation bytes that are there; a missing or wrong one
        // ends the malformed sequence, which becomes one replacement character.
        std::size_t j = i + 1;
        int taken = 0;
        while (taken < extra && j < text.size() && (static_cast<unsigned char>(text[j]) & 0xC0) == 0x80) {
            code = (code << 6) | (static_cast<unsigned char>(text[j]) & 0x3F);
            ++j;
            ++taken;
        }
        if (taken < extra || code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
            out += kReplacement;
        } else {
            AppendUtf16(out, code);
        }
        i = j;
    }
    return out;
}

char ToUpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

char16_t ToUpperAscii(char16_t c) { return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - u'a' + u'A') : c; }

std::string ToUpperAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = ToUpperAscii(c);
    return out;
}

std::u16string ToUpperAscii(std::u16string_view text) {
    std::u16string out(text);
    for (char16_t& c : out) c = ToUpperAscii(c);
    return out;
}

char16_t ToUpperLatin1(char16_t c) {
    if (c >= u'a' && c <= u'z') return static_cast<char16_t>(c - 0x20);
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<char16_t>(c - 0x20);
    return c;
}

std::u16string ToUpperLatin1(std::u16string_view text) {
    std::u16string out(text);
    for (char16_t& c : out) c = ToUpperLatin1(c);
    return out;
}

}  // namespace korvo
