#pragma once

// The one way the program writes files. A replaced file is written whole to a
// temporary file beside it, flushed to the disk, and only then renamed over
// the old one, so the old file stays intact whatever fails; small logs are
// appended to and cut back to their old size when an append fails. The file
// system is reached through FileSystemOps so that tests can make any step fail.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace korvo {

// One file open for writing. Every operation returns 0 or an errno value.
class OutputFile {
public:
    virtual ~OutputFile() = default;
    // Writes all of data (retrying short writes), or fails.
    virtual int Write(std::span<const std::uint8_t> data) = 0;
    // Flushes what was written to the storage device.
    virtual int Sync() = 0;
    // Cuts the file to size bytes.
    virtual int Truncate(std::uint64_t size) = 0;
    // Closes the file; called once. A file destroyed unclosed is closed silently.
    virtual int Close() = 0;
};

// The file-system operations the writers use. Every operation returns 0 or an
// errno value.
class FileSystemOps {
public:
    virtual ~FileSystemOps() = default;
    // Creates a new empty file with a unique name in target's folder, with the
    // permissions of target when it exists. Sets *tempPath and *file.
    virtual int CreateTemporaryBeside(const std::filesystem::path& target, std::filesystem::path* tempPath,
                                      std::unique_ptr<OutputFile>* file) = 0;
    // Opens path for appending, creating it when missing; *sizeBefore gets its
    // size before anything is appended.
    virtual int OpenForAppend(const std::filesystem::path& path, std::uint64_t* sizeBefore,
                              std::unique_ptr<OutputFile>* file) = 0;
    // Replaces to by from in one step (to may exist), then makes the change
    // of the folder durable as far as the system allows.
    virtual int Rename(const std::filesystem::path& from, const std::filesystem::path& to) = 0;
    // Deletes a file.
    virtual int Remove(const std::filesystem::path& path) = 0;
};

// The real file system (POSIX calls). Stateless; safe to share between threads.
FileSystemOps& SystemFileSystem();

// Outcome of a write.
struct FileWriteResult {
    bool ok = true;       // every byte reached the file and the file is in place
    int errorCode = 0;    // errno value of the step that failed; 0 when ok
    std::string message;  // the failing step, the path and the system's reason; empty when ok

    explicit operator bool() const { return ok; }
};

// Replaces target by a file holding exactly bytes: temporary file in the same
// folder, write, flush, close, rename. On any failure the temporary file is
// removed, target is left as it was and the failure is returned. When target
// is a symbolic link, the file it points to is replaced and the link kept.
FileWriteResult WriteFileAtomically(const std::filesystem::path& target, std::span<const std::uint8_t> bytes,
                                    FileSystemOps& fileSystem = SystemFileSystem());
FileWriteResult WriteFileAtomically(const std::filesystem::path& target, std::string_view bytes,
                                    FileSystemOps& fileSystem = SystemFileSystem());

// Appends bytes to path (created when missing) in one write and, with flush,
// flushes it to the disk before closing. When a step fails (opening, writing,
// flushing or closing) the file is cut back to its size before the append, so
// no partial line is left, a file the append created is removed again, and
// the failure is returned.
FileWriteResult AppendToFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes,
                             FileSystemOps& fileSystem = SystemFileSystem(), bool flush = true);
FileWriteResult AppendToFile(const std::filesystem::path& path, std::string_view bytes,
                             FileSystemOps& fileSystem = SystemFileSystem(), bool flush = true);

}  // namespace korvo
