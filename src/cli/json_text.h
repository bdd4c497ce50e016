#pragma once

// The few pieces of JSON the headless builder writes.

#include <string>

namespace korvo::cli {

// A JSON string literal: quoted, with quotes, backslashes and control
// characters escaped.
std::string JsonString(const std::string& text);
// A number with three decimals ("1.250").
std::string JsonNumber(double value);

}  // namespace korvo::cli
