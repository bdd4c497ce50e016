#pragma once

// Temporary folders for tests, and a scope that points HOME at one so that
// nothing a test runs can reach the real user's files.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvo::testsupport {

// A new empty folder under the system's temporary folder, removed with
// everything in it when the object is destroyed.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // Names of the entries directly in the folder (or in sub, relative to it), sorted.
    std::vector<std::string> Entries(const std::filesystem::path& sub = {}) const;

private:
    std::filesystem::path path_;  // the folder
};

// Sets HOME to a fresh temporary folder and clears XDG_CONFIG_HOME for the
// life of the object, then restores both. The documents folder of the code
// under test is then home()/Documents.
class ScopedHome {
public:
    ScopedHome();
    ~ScopedHome();
    ScopedHome(const ScopedHome&) = delete;
    ScopedHome& operator=(const ScopedHome&) = delete;

    const std::filesystem::path& home() const { return folder_.path(); }

private:
    TempFolder folder_;                         // the temporary home
    std::optional<std::string> oldHome_;        // HOME before, if it was set
    std::optional<std::string> oldConfigHome_;  // XDG_CONFIG_HOME before, if it was set
};

// Reads a whole file as bytes (empty when it cannot be read).
std::string ReadFileForTest(const std::filesystem::path& path);
// Writes a whole file, creating its folder; for setting up fixtures.
void WriteFileForTest(const std::filesystem::path& path, std::string_view bytes);

}  // namespace korvo::testsupport
