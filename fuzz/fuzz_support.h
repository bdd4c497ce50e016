#pragma once

// Helpers shared by the fuzz targets: a private scratch folder per process,
// writing an input to a file there, and a check that stops the run with a
// message when an invariant of the code under test does not hold.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string_view>

namespace korvo::fuzz {

// A folder of its own for this process, made on first use under the system's
// temporary folder and removed with everything in it when the process exits
// normally.
const std::filesystem::path& ScratchFolder();

// A sub-folder of the scratch folder, emptied (or made) for this input.
std::filesystem::path FreshFolder(std::string_view name);

// Writes the bytes as the whole file at path, replacing it.
void WriteFile(const std::filesystem::path& path, std::string_view bytes);

// The whole file as bytes; empty when it cannot be read.
std::string ReadFile(const std::filesystem::path& path);

// Aborts with the message when the condition is false, so that libFuzzer
// keeps the input as a crash and the replay fails.
void Check(bool condition, const char* what);

inline std::string_view AsText(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

}  // namespace korvo::fuzz
