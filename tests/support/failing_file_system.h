#pragma once

// A FileSystemOps for tests that passes everything to the real file system
// until the step chosen by the test, which then fails with the chosen errno:
// after a number of bytes written to a file (that many bytes do reach the
// file), or at creating, flushing, closing, renaming or opening for append.

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <memory>
#include <vector>

#include "platform/file_writer.h"

namespace korvo::testsupport {

// The step at which FailingFileSystem fails.
enum class FailStep {
    None,        // nothing fails
    Create,      // CreateTemporaryBeside
    Write,       // a write, once failAfterBytes bytes reached the file
    Sync,        // OutputFile::Sync
    Close,       // OutputFile::Close (the file is closed all the same)
    Rename,      // Rename
    OpenAppend,  // OpenForAppend
};

class FailingFileSystem : public FileSystemOps {
public:
    explicit FailingFileSystem(FailStep step = FailStep::None, int error = EIO,
                               FileSystemOps& real = SystemFileSystem())
        : failAt(step), errorCode(error), real_(real) {}

    // A layer whose files accept count bytes, then fail with error (ENOSPC: a full disk).
    static FailingFileSystem AfterBytes(std::size_t count, int error = ENOSPC) {
        FailingFileSystem fs(FailStep::Write, error);
        fs.failAfterBytes = count;
        return fs;
    }

    FailStep failAt;                                 // the step that fails
    int errorCode;                                   // errno value the failing step returns
    std::size_t failAfterBytes = 0;                  // with FailStep::Write: bytes each file accepts before failing
    int failures = 0;                                // failures injected so far
    std::vector<std::filesystem::path> temporaries;  // every temporary file created
    std::vector<std::filesystem::path> removed;      // every path Remove was called on

    int CreateTemporaryBeside(const std::filesystem::path& target, std::filesystem::path* tempPath,
                              std::unique_ptr<OutputFile>* file) override;
    int OpenForAppend(const std::filesystem::path& path, std::uint64_t* sizeBefore,
                      std::unique_ptr<OutputFile>* file) override;
    int Rename(const std::filesystem::path& from, const std::filesystem::path& to) override;
    int Remove(const std::filesystem::path& path) override;

private:
    friend class FailingOutputFile;
    std::unique_ptr<OutputFile> Wrap(std::unique_ptr<OutputFile> real);

    FileSystemOps& real_;  // where the operations that do not fail go
};

}  // namespace korvo::testsupport
