#include "cli/arguments.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace korvo::cli {

std::optional<std::string> Arguments::TakeValue(const std::string& option, std::string& error) {
    if (Empty()) {
        error = option + " needs a value";
        return std::nullopt;
    }
    return Take();
}

std::optional<std::int64_t> ParseInteger(const std::string& option, const std::string& text, std::int64_t low,
                                         std::int64_t high, std::string& error) {
    const std::string range = std::to_string(low) + " to " + std::to_string(high);
    bool digits = !text.empty() && text.size() <= 19;
    for (std::size_t i = 0; i < text.size() && digits; ++i)
        if (text[i] < '0' || text[i] > '9') digits = i == 0 && text[i] == '-' && text.size() > 1;
    if (!digits) {
        error = option + " takes a whole number from " + range + ", not '" + text + "'";
        return std::nullopt;
    }
    errno = 0;
    const long long value = std::strtoll(text.c_str(), nullptr, 10);
    if (errno != 0 || value < low || value > high) {
        error = option + " takes a whole number from " + range + ", not " + text;
        return std::nullopt;
    }
    return value;
}

std::optional<double> ParsePositiveNumber(const std::string& option, const std::string& text, std::string& error) {
    char* end = nullptr;
    errno = 0;
    const double value = text.empty() ? 0.0 : std::strtod(text.c_str(), &end);
    if (text.empty() || end == nullptr || *end != 0 || errno != 0 || !std::isfinite(value) || value <= 0.0) {
        error = option + " takes a number of seconds greater than 0, not '" + text + "'";
        return std::nullopt;
    }
    return value;
}

}  // namespace korvo::cli
