#pragma once

// Where the program's files live: the user's documents folder and the data
// folder inside it, the folder of the running executable, and conversions
// between file-system paths and the program's wide strings.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvo {

// Name of the per-user data folder inside the documents folder.
inline constexpr char kDataFolderName[] = "TolvaneCWBuilder";

// Looks up an environment variable; nullopt when it is not set.
using EnvironmentLookup = std::function<std::optional<std::string>(const char* name)>;
// The process environment (std::getenv).
EnvironmentLookup ProcessEnvironment();

// The user's home folder: $HOME when set and not empty, else the home of the
// user's account entry; nullopt when neither is known.
std::optional<std::filesystem::path> HomeFolder(const EnvironmentLookup& env = ProcessEnvironment());

// The user's documents folder: XDG_DOCUMENTS_DIR from user-dirs.dirs in
// $XDG_CONFIG_HOME (when set to an absolute path) or else in $HOME/.config,
// with "$HOME" expanded; when that file or entry is missing or unusable,
// $HOME/Documents. nullopt when the home folder is unknown.
std::optional<std::filesystem::path> DocumentsFolder(const EnvironmentLookup& env = ProcessEnvironment());

// The data folder: the documents folder joined with "TolvaneCWBuilder".
std::optional<std::filesystem::path> DataFolder(const EnvironmentLookup& env = ProcessEnvironment());

// Parses the text of a user-dirs.dirs file and returns the XDG_DOCUMENTS_DIR
// entry with $HOME replaced by home. nullopt when the entry is missing or is
// neither absolute nor relative to $HOME. The last valid entry wins.
std::optional<std::filesystem::path> ParseDocumentsDir(std::string_view userDirsText,
                                                       const std::filesystem::path& home);

// The folder holding the running executable (from /proc/self/exe).
std::optional<std::filesystem::path> ExecutableFolder();

// The folders searched for a file shipped with the program, in order: the
// executable's own folder (the build, a portable copy), then the share folder
// of its installation prefix, <prefix>/share/korvo beside <prefix>/bin
// (/usr/share/korvo for /usr/bin). Empty when the executable's folder is
// unknown.
std::vector<std::filesystem::path> ShippedFolders(const std::optional<std::filesystem::path>& executableFolder);

// Where a shipped file (a name or a relative path such as "help/index.html")
// is: the first of ShippedFolders that holds it. When none does, the path in
// the executable's folder, so that a message can name where it was expected;
// the bare relative path when that folder is unknown.
std::filesystem::path ShippedFilePath(std::string_view relativePath,
                                      const std::optional<std::filesystem::path>& executableFolder);
// The same search from the running executable's folder.
std::filesystem::path ShippedFilePath(std::string_view relativePath);

// A path from the program's wide string (UTF-16 to the system's UTF-8).
std::filesystem::path PathFromU16(std::u16string_view text);
// A path as a wide string (UTF-8 to UTF-16, malformed bytes become U+FFFD).
std::u16string PathToU16(const std::filesystem::path& path);

// Joins a folder and a name with one '/' between them (none added when the
// folder is empty or already ends in one; a leading '/' of name is dropped).
std::u16string JoinPath(std::u16string_view folder, std::u16string_view name);

}  // namespace korvo
