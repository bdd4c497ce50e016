#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace korvo {

// A JSON string literal, quotes included, of UTF-16 text: '"' and '\' are
// escaped, control characters below U+0020 are written as \b \f \n \r \t or
// \u00XX, U+2028 and U+2029 as \u2028 and \u2029 (so the text is also safe
// inside JavaScript), everything else as UTF-8 (lone surrogates as U+FFFD).
std::string JsonString(std::u16string_view text);

// Builds compact JSON text. Values inside an object follow a Key; commas
// are placed by the writer. A call that breaks the nesting (an End without
// its Begin, a value in an object without a key) is ignored, so misuse gives
// malformed output but never undefined behaviour.
class JsonWriter {
public:
    void BeginObject();
    void EndObject();
    void BeginArray();
    void EndArray();
    void Key(std::u16string_view name);
    void String(std::u16string_view text);
    void Int(std::int64_t value);
    void Bool(bool value);
    void Null();

    // The text written so far.
    const std::string& Text() const { return text_; }

private:
    struct Level {
        bool object = false;
        bool empty = true;
        bool keyPending = false;
    };
    // Prepares for a value: a comma between array elements; false when a
    // value is not allowed here.
    bool BeforeValue();

    std::string text_;
    std::vector<Level> levels_;
};

}  // namespace korvo
