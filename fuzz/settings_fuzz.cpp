// The settings file reader over arbitrary files: the input is written as
// the data folder's pdata.bin and read by the document's LoadSettings. Every
// value must then lie in its range (a value out of range or unreadable takes
// its default), and writing the settings and reading them back must be
// stable: the second file written equals the first.

#include <cstdint>
#include <string>

#include "fuzz_document.h"
#include "model/cw_data.h"

namespace {

using korvo::fuzz::Check;

bool IsGridSize(std::int32_t n) { return n == 9 || n == 11 || n == 13 || n == 15 || n == 21; }

void CheckRanges(const korvo::CkorvoDoc& doc) {
    Check(doc.generatingMode >= 1 && doc.generatingMode <= korvo::kThoroughMode, "the generating mode is 1 to 5");
    Check(doc.wordListId >= 1 && doc.wordListId <= 5, "the word list is 1 to 5");
    for (std::int32_t m : {doc.marginLeft, doc.marginRight, doc.marginTop, doc.marginBottom})
        Check(m >= 250 && m <= 6500, "a user margin lies within 0.25 and 6.5 inches");
    for (std::int32_t m : {doc.printMarginLeft, doc.printMarginRight, doc.printMarginTop, doc.printMarginBottom})
        Check(m >= 0, "a print margin is not negative");
    Check(IsGridSize(doc.newGridSize), "the next grid size is one of the five");
    for (const std::u16string* text : {&doc.titleText, &doc.answerTitleText, &doc.copyrightText, &doc.authorText})
        for (char16_t c : *text) Check(c <= 0xFF && c != u'\n', "a text holds one line of Latin-1 characters");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    korvo::fuzz::FuzzDocumentState& state = korvo::fuzz::FuzzDocument();
    korvo::CkorvoDoc& doc = *state.doc;
    const std::filesystem::path path = state.dataFolder / "pdata.bin";
    korvo::fuzz::WriteFile(path, korvo::fuzz::AsText(data, size));

    doc.ResetPuzzleTexts();
    Check(doc.LoadSettings(), "a settings file that opens is read");
    CheckRanges(doc);

    Check(doc.SaveSettings(), "the settings are written");
    const std::string first = korvo::fuzz::ReadFile(path);
    Check(doc.LoadSettings(), "the written settings are read");
    CheckRanges(doc);
    Check(doc.SaveSettings(), "the settings are written again");
    Check(korvo::fuzz::ReadFile(path) == first, "settings written, read and written again are the same");

    std::size_t lines = 0;
    for (char c : first) lines += c == '\n';
    Check(lines == 17, "the settings file has 17 lines");
    return 0;
}
