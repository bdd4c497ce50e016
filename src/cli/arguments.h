#pragma once

// Reading a command's arguments: option names with their values, and
// numbers checked against a range, each failure worded for the user.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace korvo::cli {

// The arguments after the command name, consumed from the front.
class Arguments {
public:
    explicit Arguments(std::vector<std::string> items) : items_(std::move(items)) {}

    bool Empty() const { return next_ >= items_.size(); }
    // The next argument; only when not Empty().
    const std::string& Take() { return items_[next_++]; }
    // The value of the option just taken; nullopt (and an error) when none is left.
    std::optional<std::string> TakeValue(const std::string& option, std::string& error);

private:
    std::vector<std::string> items_;  // every argument after the command name
    std::size_t next_ = 0;            // index of the next argument to take
};

// A whole decimal integer in [low, high]; nullopt and an error naming the
// option otherwise.
std::optional<std::int64_t> ParseInteger(const std::string& option, const std::string& text, std::int64_t low,
                                         std::int64_t high, std::string& error);
// A finite decimal number greater than 0; nullopt and an error otherwise.
std::optional<double> ParsePositiveNumber(const std::string& option, const std::string& text, std::string& error);

}  // namespace korvo::cli
