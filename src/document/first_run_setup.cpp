// The data folder at start-up: its version marker and the first-run setup
// that unpacks the clue databases of a new version.
#include <cstdint>
#include <string>
#include <system_error>

#include "clues/clue_install.h"
#include "document/ckorvo_doc.h"
#include "platform/file_reader.h"
#include "platform/file_writer.h"
#include "platform/text_codec.h"

namespace korvo {

namespace {

// The files an installation older than this version left in NEWCLUES1
// are not kept.
constexpr std::int32_t kFirstVersionWithNewClues = 60500;

// The marker is a few bytes; anything much longer is not one.
constexpr std::size_t kVersionFileLimit = 4096;

constexpr int kClueDatabases = 5;

}  // namespace

void CkorvoDoc::PrepareDataFolder() {
    if (environment.dataFolder.empty()) return;
    std::error_code error;
    // The documents folder itself may be missing on a fresh account, so its
    // parents are made as well.
    const bool created = std::filesystem::create_directories(environment.dataFolder, error);
    if (created) {
        RunFirstRunSetup();
        return;
    }
    // An existing folder, or one that could not be made: both read the
    // marker, and a marker that cannot be read counts as version 0.
    const std::int32_t version = ReadVersionFile();
    if (version != programVersion) RunFirstRunSetup();
    if (version < kFirstVersionWithNewClues) {
        const std::filesystem::path newClues1 = DataPath("NEWCLUES1");
        std::error_code ignored;
        if (std::filesystem::is_directory(newClues1, ignored)) DeleteFilesInFolder(newClues1);
    }
}

void CkorvoDoc::RunFirstRunSetup() {
    host.ShowFirstRunWindow();
    host.FirstRunProgress(0, kClueDatabases);
    // The marker comes first, so an interrupted setup is not repeated.
    WriteVersionFile();
    // A database that cannot be written (a full disk, a folder in the way)
    // is named once the window is gone; the others are installed all the same.
    std::u16string failures;
    for (int n = 1; n <= kClueDatabases; ++n) {
        if (!environment.dataFolder.empty()) {
            FileWriteResult failure;
            InstallClueDatabase(environment.dataFolder, environment.programFolder, n, SystemFileSystem(), &failure);
            if (!failure.ok) {
                failures +=
                    u"Word list " + Utf16FromUtf8(std::to_string(n)) + u": " + Utf16FromUtf8(failure.message) + u"\n";
            }
        }
        host.FirstRunProgress(n, kClueDatabases);
    }
    host.HideFirstRunWindow();
    if (!failures.empty()) {
        host.MessageBox(u"Some clue databases could not be installed, so puzzles get fewer clues:\n\n" + failures,
                        MessageIcon::Warning, MessageButtons::Ok);
    }
}

std::int32_t CkorvoDoc::ReadVersionFile() const {
    const std::filesystem::path path = DataPath("version.dat");
    if (path.empty()) return 0;
    const FileReadResult file = ReadFileBytes(path, kVersionFileLimit);
    if (!file) return 0;
    // A decimal number after optional white space, as a stream reads it;
    // no digits or a number out of range reads as 0.
    std::size_t at = 0;
    const auto& bytes = file.bytes;
    while (at < bytes.size() && (bytes[at] == ' ' || (bytes[at] >= '\t' && bytes[at] <= '\r'))) ++at;
    bool negative = false;
    if (at < bytes.size() && (bytes[at] == '+' || bytes[at] == '-')) negative = bytes[at++] == '-';
    std::int64_t value = 0;
    bool digits = false;
    for (; at < bytes.size() && bytes[at] >= '0' && bytes[at] <= '9'; ++at) {
        digits = true;
        value = value * 10 + (bytes[at] - '0');
        if (value > INT32_MAX) return 0;
    }
    if (!digits) return 0;
    return static_cast<std::int32_t>(negative ? -value : value);
}

void CkorvoDoc::WriteVersionFile() {
    const std::filesystem::path path = DataPath("version.dat");
    if (path.empty()) return;
    // The new marker replaces the old one in one step, so a failed write
    // leaves the old marker rather than a half-written one. Write errors are
    // ignored: the setup then simply runs again at the next start. (There is
    // no hidden attribute to set on this system.)
    WriteFileAtomically(path, std::to_string(programVersion) + "\r\n", FileSystem());
}

}  // namespace korvo
