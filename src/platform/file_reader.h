#pragma once

// Reads a whole file into memory, refusing files larger than the caller's
// limit, so that a reader of outside input never allocates without bound.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace korvo {

// Outcome of ReadFileBytes.
struct FileReadResult {
    bool ok = false;                  // the whole file was read into bytes
    int errorCode = 0;                // errno value of the failing step (EFBIG: over the limit); 0 when ok
    std::string message;              // the failing step, the path and the reason; empty when ok
    std::vector<std::uint8_t> bytes;  // the file's contents when ok, else empty

    explicit operator bool() const { return ok; }
};

// Reads the regular file at path whole. A file of more than maxBytes bytes
// (also one that grows past it while being read) fails with EFBIG.
FileReadResult ReadFileBytes(const std::filesystem::path& path, std::size_t maxBytes);

// Whether a and b name one existing file: the same path written two ways
// ("a.kvz", "./a.kvz"), a symbolic link and its target, or two hard links.
// False when either does not exist or cannot be examined. A writer checks it
// before replacing a file the same command has read.
bool IsSameFile(const std::filesystem::path& a, const std::filesystem::path& b);

}  // namespace korvo
