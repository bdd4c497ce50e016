// The settings file "pdata.bin": 17 lines, CR LF, one byte per character
// (ISO 8859-1). Read once at construction, written once at close.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "document/ckorvo_doc.h"
#include "platform/file_reader.h"
#include "platform/text_codec.h"

namespace korvo {

namespace {

// The file holds ten numbers, two flags, four short texts and a number; a
// file beyond this size is not a settings file and is not read.
constexpr std::size_t kSettingsFileLimit = 1u << 20;

constexpr std::int32_t kDefaultMargin = 250;
constexpr std::int32_t kLargestMargin = 6500;  // the layout dialog's 6.50 inches
constexpr std::int32_t kDefaultGridSize = 15;

bool IsGridSize(std::int32_t size) { return size == 9 || size == 11 || size == 13 || size == 15 || size == 21; }

// One text of the file: one byte per character, a character above U+00FF
// written as '?'. A line break inside a text would move every later line, so
// CR and LF become spaces.
std::string TextLine(std::u16string_view text) {
    std::string line = EncodeLatin1(text);
    for (char& c : line)
        if (c == '\r' || c == '\n') c = ' ';
    return line;
}

// Reads the file the way a text stream does: numbers skip leading white
// space and line breaks; a read that fails leaves the stream failed, so
// every later read fails too.
class SettingsReader {
public:
    explicit SettingsReader(std::string_view text) : text_(text) {}

    std::optional<std::int32_t> Number() {
        if (failed_) return std::nullopt;
        while (at_ < text_.size() && IsSpace(text_[at_])) ++at_;
        std::size_t pos = at_;
        bool negative = false;
        if (pos < text_.size() && (text_[pos] == '+' || text_[pos] == '-')) negative = text_[pos++] == '-';
        std::int64_t value = 0;
        bool digits = false;
        for (; pos < text_.size() && text_[pos] >= '0' && text_[pos] <= '9'; ++pos) {
            digits = true;
            value = value * 10 + (text_[pos] - '0');
            if (value > static_cast<std::int64_t>(INT32_MAX) + 1) return Fail();
        }
        if (!digits) return Fail();
        if (negative) value = -value;
        if (value > INT32_MAX || value < INT32_MIN) return Fail();
        at_ = pos;
        return static_cast<std::int32_t>(value);
    }

    // Skips what is left of the current line, its line break included.
    void SkipLine() {
        if (failed_) return;
        const std::size_t end = text_.find('\n', at_);
        at_ = end == std::string_view::npos ? text_.size() : end + 1;
    }

    // The next line without its line break (LF, or CR LF); nullopt at the end
    // of the file.
    std::optional<std::string_view> Line() {
        if (failed_ || at_ >= text_.size()) {
            failed_ = true;
            return std::nullopt;
        }
        std::size_t end = text_.find('\n', at_);
        std::string_view line = text_.substr(at_, (end == std::string_view::npos ? text_.size() : end) - at_);
        at_ = end == std::string_view::npos ? text_.size() : end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        return line;
    }

private:
    static bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
    std::nullopt_t Fail() {
        failed_ = true;
        return std::nullopt;
    }

    std::string_view text_;  // the whole file
    std::size_t at_ = 0;     // next byte to read
    bool failed_ = false;    // a read failed; every later read fails
};

// Stores a value read from the file when it was read and lies in range;
// otherwise the field takes its default.
void Take(std::int32_t& field, std::optional<std::int32_t> value, bool inRange, std::int32_t fallback) {
    field = value && inRange ? *value : fallback;
}

}  // namespace

bool CkorvoDoc::LoadSettings() {
    const std::filesystem::path path = DataPath("pdata.bin");
    if (path.empty()) return false;
    const FileReadResult file = ReadFileBytes(path, kSettingsFileLimit);
    if (!file) return false;
    SettingsReader in(std::string_view(reinterpret_cast<const char*>(file.bytes.data()), file.bytes.size()));

    // Each value takes its default when it is missing, unreadable (then all
    // later values are missing too) or out of range; the others still count.
    auto margin = [](std::optional<std::int32_t> v) { return v && *v >= kDefaultMargin && *v <= kLargestMargin; };
    auto mode = in.Number();
    Take(generatingMode, mode, mode && *mode >= 1 && *mode <= kThoroughMode, 1);
    auto list = in.Number();
    Take(wordListId, list, list && *list >= 1 && *list <= 5, 1);
    for (std::int32_t* field : {&marginLeft, &marginRight, &marginTop, &marginBottom}) {
        auto v = in.Number();
        Take(*field, v, margin(v), kDefaultMargin);
    }
    // The print margins are recomputed from the printer right after loading.
    for (std::int32_t* field : {&printMarginLeft, &printMarginRight, &printMarginTop, &printMarginBottom}) {
        auto v = in.Number();
        Take(*field, v, v && *v >= 0, kDefaultMargin);
    }
    auto underlined = in.Number();
    underlinedTitle = underlined ? *underlined != 0 : true;
    auto rightSide = in.Number();
    rightSideGrid = rightSide ? *rightSide != 0 : true;

    in.SkipLine();
    for (std::u16string* text : {&titleText, &answerTitleText, &copyrightText, &authorText})
        if (auto line = in.Line()) *text = DecodeLatin1(*line);

    auto size = in.Number();
    Take(newGridSize, size, size && IsGridSize(*size), kDefaultGridSize);
    return true;
}

bool CkorvoDoc::SaveSettings() {
    const std::filesystem::path path = DataPath("pdata.bin");
    if (path.empty()) return false;
    std::string out;
    auto number = [&out](std::int32_t value) { out += std::to_string(value) + "\r\n"; };
    auto text = [&out](std::u16string_view value) { out += TextLine(value) + "\r\n"; };
    number(generatingMode);
    number(wordListId);
    number(marginLeft);
    number(marginRight);
    number(marginTop);
    number(marginBottom);
    number(printMarginLeft);
    number(printMarginRight);
    number(printMarginTop);
    number(printMarginBottom);
    number(underlinedTitle ? 1 : 0);
    number(rightSideGrid ? 1 : 0);
    text(titleText);
    text(answerTitleText);
    text(copyrightText);
    text(authorText);
    number(newGridSize);
    // Written whole or not at all: a failure leaves the old file as it was,
    // and, like every failure to write the small files, shows nothing.
    return WriteFileAtomically(path, out, FileSystem()).ok;
}

void CkorvoDoc::RestoreDefaultSettings() {
    const MessageResult answer =
        host.MessageBox(u"The default settings will be restored the\nnext time you start the application.",
                        MessageIcon::Information, MessageButtons::OkCancel);
    if (answer != MessageResult::Ok) return;
    const std::filesystem::path path = DataPath("pdata.bin");
    if (!path.empty()) FileSystem().Remove(path);  // a failed delete is ignored
    skipSettingsSave = true;
}

}  // namespace korvo
