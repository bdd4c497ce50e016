#pragma once

// Small helpers of the clue tests: a temporary folder removed at the end of
// the test, and whole-file reads and writes in bytes.

#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include <gtest/gtest.h>

namespace korvo {

// A fresh folder under the system's temporary folder, deleted with its
// contents when the object goes.
class TempFolder {
public:
    TempFolder() {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string("korvo-clues-") + (test ? test->name() : "x") + "-";
        static int made = 0;  // folders made by this process, so that each name is new
        path_ =
            std::filesystem::temp_directory_path() / (name + std::to_string(::getpid()) + "-" + std::to_string(++made));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code error;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add,
                                     error);
        std::filesystem::remove_all(path_, error);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // The folder with a trailing separator, as a ClueDatabase takes it.
    std::string withSeparator() const { return path_.string() + "/"; }

private:
    std::filesystem::path path_;  // the folder
};

inline std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Every entry of a folder tree: relative path -> bytes ("<dir>" for folders).
inline std::map<std::string, std::string> FolderContents(const std::filesystem::path& folder) {
    std::map<std::string, std::string> contents;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        const std::string name = entry.path().lexically_relative(folder).string();
        contents[name] = entry.is_directory() ? std::string("<dir>") : ReadBytes(entry.path());
    }
    return contents;
}

}  // namespace korvo
