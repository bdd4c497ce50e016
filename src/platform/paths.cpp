#include "platform/paths.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <system_error>
#include <vector>

#include "platform/text_codec.h"

namespace korvo {

namespace {

namespace fs = std::filesystem;

// Largest user-dirs.dirs read; the real file is a few hundred bytes.
constexpr std::streamsize kMaxUserDirsBytes = 64 * 1024;

std::optional<std::string> ReadSmallTextFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string text(static_cast<std::size_t>(kMaxUserDirsBytes), '\0');
    in.read(text.data(), kMaxUserDirsBytes);
    text.resize(static_cast<std::size_t>(in.gcount()));
    return text;
}

// Parses one line; the value of XDG_DOCUMENTS_DIR or nullopt.
std::optional<fs::path> ParseDocumentsLine(std::string_view line, const fs::path& home) {
    constexpr std::string_view kKey = "XDG_DOCUMENTS_DIR";
    std::size_t i = 0;
    auto skipBlanks = [&] {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    };
    skipBlanks();
    if (line.substr(i, kKey.size()) != kKey) return std::nullopt;
    i += kKey.size();
    skipBlanks();
    if (i >= line.size() || line[i] != '=') return std::nullopt;
    ++i;
    skipBlanks();
    if (i >= line.size() || line[i] != '"') return std::nullopt;
    ++i;

    bool relativeToHome = false;
    if (line.substr(i, 5) == "$HOME" && (i + 5 == line.size() || line[i + 5] == '/' || line[i + 5] == '"')) {
        relativeToHome = true;
        i += 5;
    } else if (i >= line.size() || line[i] != '/') {
        return std::nullopt;
    }

    std::string value;
    while (i < line.size() && line[i] != '"') {
        if (line[i] == '\\' && i + 1 < line.size()) ++i;
        value += line[i++];
    }
    while (value.size() > 1 && value.back() == '/') value.pop_back();
    if (!relativeToHome) return fs::path(value);
    if (value.empty() || value == "/") return home;
    return fs::path(home.string() + value);
}

}  // namespace

EnvironmentLookup ProcessEnvironment() {
    return [](const char* name) -> std::optional<std::string> {
        const char* value = std::getenv(name);
        if (value == nullptr) return std::nullopt;
        return std::string(value);
    };
}

std::optional<fs::path> HomeFolder(const EnvironmentLookup& env) {
    if (std::optional<std::string> home = env("HOME"); home && !home->empty() && (*home)[0] == '/') {
        return fs::path(*home);
    }
    long bufferSize = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    if (bufferSize <= 0) bufferSize = 16384;
    std::vector<char> buffer(static_cast<std::size_t>(bufferSize));
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr &&
        found->pw_dir != nullptr && found->pw_dir[0] == '/') {
        return fs::path(found->pw_dir);
    }
    return std::nullopt;
}

std::optional<fs::path> ParseDocumentsDir(std::string_view userDirsText, const fs::path& home) {
    std::optional<fs::path> result;
    std::size_t start = 0;
    while (start <= userDirsText.size()) {
        std::size_t end = userDirsText.find('\n', start);
        if (end == std::string_view::npos) end = userDirsText.size();
        std::string_view line = userDirsText.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (std::optional<fs::path> value = ParseDocumentsLine(line, home)) result = std::move(value);
        start = end + 1;
    }
    return result;
}

std::optional<fs::path> DocumentsFolder(const EnvironmentLookup& env) {
    const std::optional<fs::path> home = HomeFolder(env);
    if (!home) return std::nullopt;

    fs::path configHome = *home / ".config";
    if (std::optional<std::string> xdg = env("XDG_CONFIG_HOME"); xdg && !xdg->empty() && (*xdg)[0] == '/') {
        configHome = fs::path(*xdg);
    }
    if (std::optional<std::string> text = ReadSmallTextFile(configHome / "user-dirs.dirs")) {
        if (std::optional<fs::path> documents = ParseDocumentsDir(*text, *home)) return documents;
    }
    return *home / "Documents";
}

std::optional<fs::path> DataFolder(const EnvironmentLookup& env) {
    std::optional<fs::path> documents = DocumentsFolder(env);
    if (!documents) return std::nullopt;
    return *documents / kDataFolderName;
}

std::optional<fs::path> ExecutableFolder() {
    std::error_code error;
    const fs::path executable = fs::read_symlink("/proc/self/exe", error);
    if (error || executable.empty()) return std::nullopt;
    return executable.parent_path();
}

std::vector<fs::path> ShippedFolders(const std::optional<fs::path>& executableFolder) {
    if (!executableFolder || executableFolder->empty()) return {};
    return {*executableFolder, (*executableFolder / ".." / "share" / "korvo").lexically_normal()};
}

fs::path ShippedFilePath(std::string_view relativePath, const std::optional<fs::path>& executableFolder) {
    const std::vector<fs::path> folders = ShippedFolders(executableFolder);
    for (const fs::path& folder : folders) {
        std::error_code error;
        fs::path candidate = folder / relativePath;
        if (fs::exists(candidate, error)) return candidate;
    }
    return folders.empty() ? fs::path(relativePath) : folders.front() / relativePath;
}

fs::path ShippedFilePath(std::string_view relativePath) { return ShippedFilePath(relativePath, ExecutableFolder()); }

fs::path PathFromU16(std::u16string_view text) { return fs::path(Utf8FromUtf16(text)); }

std::u16string PathToU16(const fs::path& path) { return Utf16FromUtf8(path.native()); }

std::u16string JoinPath(std::u16string_view folder, std::u16string_view name) {
    while (!name.empty() && name.front() == u'/') name.remove_prefix(1);
    std::u16string joined(folder);
    if (!joined.empty() && joined.back() != u'/') joined += u'/';
    joined += name;
    return joined;
}

}  // namespace korvo
