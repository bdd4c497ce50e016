#include "platform/file_writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <random>
#include <system_error>

namespace korvo {

namespace {

namespace fs = std::filesystem;

// Longest part of the target's name kept in the temporary file's name, so
// that the temporary name stays within the usual 255-byte limit.
constexpr std::size_t kMaxTempStem = 200;
// Attempts at finding an unused temporary name before giving up.
constexpr int kTempNameAttempts = 100;

class PosixOutputFile : public OutputFile {
public:
    explicit PosixOutputFile(int fd) : fd_(fd) {}
    // Not copyable: a copy would close the descriptor twice.
    PosixOutputFile(const PosixOutputFile&) = delete;
    PosixOutputFile& operator=(const PosixOutputFile&) = delete;
    ~PosixOutputFile() override {
        if (fd_ >= 0) ::close(fd_);
    }

    int Write(std::span<const std::uint8_t> data) override {
        const std::uint8_t* p = data.data();
        std::size_t left = data.size();
        while (left > 0) {
            const ssize_t n = ::write(fd_, p, left);
            if (n < 0) {
                if (errno == EINTR) continue;
                return errno;
            }
            if (n == 0) return EIO;
            p += n;
            left -= static_cast<std::size_t>(n);
        }
        return 0;
    }

    int Sync() override { return ::fsync(fd_) == 0 ? 0 : errno; }

    int Truncate(std::uint64_t size) override { return ::ftruncate(fd_, static_cast<off_t>(size)) == 0 ? 0 : errno; }

    int Close() override {
        const int fd = fd_;
        fd_ = -1;
        // On Linux the descriptor is released even when close is interrupted.
        if (::close(fd) != 0 && errno != EINTR) return errno;
        return 0;
    }

private:
    int fd_;  // open descriptor, -1 once closed
};

class PosixFileSystem : public FileSystemOps {
public:
    int CreateTemporaryBeside(const fs::path& target, fs::path* tempPath, std::unique_ptr<OutputFile>* file) override {
        fs::path folder = target.parent_path();
        if (folder.empty()) folder = ".";
        std::string stem = target.filename().string();
        if (stem.size() > kMaxTempStem) stem.resize(kMaxTempStem);

        // A replaced file keeps its permissions; a new one gets the usual
        // 0666 less the process's umask.
        struct stat old {};
        const bool targetExists = ::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode);
        const mode_t mode = targetExists ? (old.st_mode & 07777) : 0666;

        static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
        std::random_device entropy;
        std::uniform_int_distribution<int> pick(0, sizeof(kLetters) - 2);
        for (int attempt = 0; attempt < kTempNameAttempts; ++attempt) {
            std::string name = "." + stem + ".tmp";
            for (int i = 0; i < 6; ++i) name += kLetters[pick(entropy)];
            const fs::path candidate = folder / name;
            const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
            if (fd < 0) {
                if (errno == EEXIST) continue;
                return errno;
            }
            if (targetExists) ::fchmod(fd, mode);
            *tempPath = candidate;
            *file = std::make_unique<PosixOutputFile>(fd);
            return 0;
        }
        return EEXIST;
    }

    int OpenForAppend(const fs::path& path, std::uint64_t* sizeBefore, std::unique_ptr<OutputFile>* file) override {
        const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
        if (fd < 0) return errno;
        struct stat info {};
        if (::fstat(fd, &info) != 0) {
            const int error = errno;
            ::close(fd);
            return error;
        }
        *sizeBefore = static_cast<std::uint64_t>(info.st_size);
        *file = std::make_unique<PosixOutputFile>(fd);
        return 0;
    }

    int Rename(const fs::path& from, const fs::path& to) override {
        if (::rename(from.c_str(), to.c_str()) != 0) return errno;
        // Make the new directory entry durable; the file itself is already
        // synced, so a failure here cannot leave a partial file behind.
        fs::path folder = to.parent_path();
        if (folder.empty()) folder = ".";
        const int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dirFd >= 0) {
            ::fsync(dirFd);
            ::close(dirFd);
        }
        return 0;
    }

    int Remove(const fs::path& path) override { return ::unlink(path.c_str()) == 0 ? 0 : errno; }
};

FileWriteResult Failure(const char* step, const fs::path& path, int error) {
    FileWriteResult result;
    result.ok = false;
    result.errorCode = error;
    result.message = std::string(step) + " \"" + path.string() + "\": " + std::generic_category().message(error);
    return result;
}

std::span<const std::uint8_t> AsBytes(std::string_view text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// The file to replace: the end of a chain of symbolic links, so that the
// link stays a link.
fs::path ResolveTarget(const fs::path& target) {
    std::error_code error;
    if (!fs::is_symlink(target, error)) return target;
    fs::path resolved = fs::weakly_canonical(target, error);
    return error ? target : resolved;
}

}  // namespace

FileSystemOps& SystemFileSystem() {
    static PosixFileSystem instance;
    return instance;
}

FileWriteResult WriteFileAtomically(const fs::path& requestedTarget, std::span<const std::uint8_t> bytes,
                                    FileSystemOps& fileSystem) {
    const fs::path target = ResolveTarget(requestedTarget);
    fs::path tempPath;
    std::unique_ptr<OutputFile> file;
    if (int error = fileSystem.CreateTemporaryBeside(target, &tempPath, &file); error != 0 || !file) {
        return Failure("creating a temporary file beside", target, error != 0 ? error : EIO);
    }

    FileWriteResult result;
    if (int error = file->Write(bytes); error != 0) {
        result = Failure("writing", tempPath, error);
    } else if (int syncError = file->Sync(); syncError != 0) {
        result = Failure("flushing", tempPath, syncError);
    }
    // Close in every case; a failing close can mean lost data, so it counts
    // as a failure when everything before it went well.
    if (int error = file->Close(); error != 0 && result.ok) result = Failure("closing", tempPath, error);
    file.reset();

    if (result.ok) {
        if (int error = fileSystem.Rename(tempPath, target); error != 0) {
            result = Failure("renaming to", target, error);
        } else {
            return result;
        }
    }
    fileSystem.Remove(tempPath);
    return result;
}

FileWriteResult WriteFileAtomically(const fs::path& target, std::string_view bytes, FileSystemOps& fileSystem) {
    return WriteFileAtomically(target, AsBytes(bytes), fileSystem);
}

FileWriteResult AppendToFile(const fs::path& path, std::span<const std::uint8_t> bytes, FileSystemOps& fileSystem,
                             bool flush) {
    // A file whose existence cannot be told counts as existing: it is never
    // removed.
    std::error_code existsError;
    const bool existed = fs::exists(path, existsError) || existsError;

    std::uint64_t sizeBefore = 0;
    std::unique_ptr<OutputFile> file;
    if (int error = fileSystem.OpenForAppend(path, &sizeBefore, &file); error != 0 || !file) {
        return Failure("opening for appending", path, error != 0 ? error : EIO);
    }
    FileWriteResult result;
    if (int error = file->Write(bytes); error != 0) {
        result = Failure("appending to", path, error);
    } else if (flush) {
        if (int syncError = file->Sync(); syncError != 0) result = Failure("flushing", path, syncError);
    }
    if (!result.ok) file->Truncate(sizeBefore);
    if (int error = file->Close(); error != 0 && result.ok) {
        result = Failure("closing", path, error);
        // The bytes may have reached the file all the same; the file is cut
        // back so that it agrees with the reported failure and a retry does
        // not leave the line twice.
        std::uint64_t sizeNow = 0;
        std::unique_ptr<OutputFile> again;
        if (fileSystem.OpenForAppend(path, &sizeNow, &again) == 0 && again) {
            if (sizeNow > sizeBefore) again->Truncate(sizeBefore);
            again->Close();
        }
    }
    file.reset();
    // A file this append created goes again, so that a failed append leaves
    // the folder as it was.
    if (!result.ok && !existed) fileSystem.Remove(path);
    return result;
}

FileWriteResult AppendToFile(const fs::path& path, std::string_view bytes, FileSystemOps& fileSystem, bool flush) {
    return AppendToFile(path, AsBytes(bytes), fileSystem, flush);
}

}  // namespace korvo
