#pragma once

#include <memory>
#include <string>

#include "model/cw_data.h"

namespace korvo {

// A puzzle whose grid is set from rows of text ('!' block, '@' empty,
// letters), as the designer would have left it.
inline std::unique_ptr<CCWData> PuzzleWithGrid(const std::string& squares, int n, WordStore* store = nullptr) {
    auto data = std::make_unique<CCWData>(store, n);
    data->engine->LoadGrid(n, n, squares.c_str());
    data->gridSize = n;
    data->RefreshGridText();
    return data;
}

inline std::u16string Wide(const std::string& s) {
    std::u16string w;
    for (char c : s) w += static_cast<char16_t>(static_cast<unsigned char>(c));
    return w;
}

inline std::string Narrow(const std::u16string& s) {
    std::string n;
    for (char16_t c : s) n += static_cast<char>(c & 0xFF);
    return n;
}

}  // namespace korvo
