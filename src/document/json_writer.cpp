#include "document/json_writer.h"

namespace korvo {

namespace {

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The code point starting at text[i]; advances i past it.
char32_t NextCodePoint(std::u16string_view text, std::size_t& i) {
    const char32_t c = text[i++];
    if (c >= 0xD800 && c <= 0xDBFF) {
        if (i < text.size() && text[i] >= 0xDC00 && text[i] <= 0xDFFF) {
            const char32_t low = text[i++];
            return 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
        }
        return 0xFFFD;
    }
    if (c >= 0xDC00 && c <= 0xDFFF) return 0xFFFD;
    return c;
}

}  // namespace

std::string JsonString(std::u16string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size();) {
        const char32_t c = NextCodePoint(text, i);
        switch (c) {
            case u'"': out += "\\\""; break;
            case u'\\': out += "\\\\"; break;
            case u'\b': out += "\\b"; break;
            case u'\f': out += "\\f"; break;
            case u'\n': out += "\\n"; break;
            case u'\r': out += "\\r"; break;
            case u'\t': out += "\\t"; break;
            case 0x2028: out += "\\u2028"; break;
            case 0x2029: out += "\\u2029"; break;
            default:
                if (c < 0x20) {
                    out += "\\u00";
                    out += kHex[c >> 4];
                    out += kHex[c & 0xF];
                } else {
                    AppendUtf8(out, c);
                }
        }
    }
    out += '"';
    return out;
}

bool JsonWriter::BeforeValue() {
    if (levels_.empty()) return text_.empty();  // one top-level value
    Level& level = levels_.back();
    if (level.object) {
        if (!level.keyPending) return false;
        level.keyPending = false;
        return true;
    }
    if (!level.empty) text_ += ',';
    level.empty = false;
    return true;
}

void JsonWriter::BeginObject() {
    if (!BeforeValue()) return;
    text_ += '{';
    levels_.push_back({true, true, false});
}

void JsonWriter::EndObject() {
    if (levels_.empty() || !levels_.back().object || levels_.back().keyPending) return;
    levels_.pop_back();
    text_ += '}';
}

void JsonWriter::BeginArray() {
    if (!BeforeValue()) return;
    text_ += '[';
    levels_.push_back({false, true, false});
}

void JsonWriter::EndArray() {
    if (levels_.empty() || levels_.back().object) return;
    levels_.pop_back();
    text_ += ']';
}

void JsonWriter::Key(std::u16string_view name) {
    if (levels_.empty() || !levels_.back().object || levels_.back().keyPending) return;
    Level& level = levels_.back();
    if (!level.empty) text_ += ',';
    level.empty = false;
    level.keyPending = true;
    text_ += JsonString(name);
    text_ += ':';
}

void JsonWriter::String(std::u16string_view text) {
    if (BeforeValue()) text_ += JsonString(text);
}

void JsonWriter::Int(std::int64_t value) {
    if (BeforeValue()) text_ += std::to_string(value);
}

void JsonWriter::Bool(bool value) {
    if (BeforeValue()) text_ += value ? "true" : "false";
}

void JsonWriter::Null() {
    if (BeforeValue()) text_ += "null";
}

}  // namespace korvo
