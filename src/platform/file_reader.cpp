#include "platform/file_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <system_error>

namespace korvo {

namespace {

// Bytes read per call; also the first allocation when the size is unknown.
constexpr std::size_t kChunk = 64 * 1024;

FileReadResult Failure(const char* step, const std::filesystem::path& path, int error) {
    FileReadResult result;
    result.errorCode = error;
    result.message = std::string(step) + " \"" + path.string() + "\": " + std::generic_category().message(error);
    return result;
}

// Closes the descriptor when the read ends, however it ends.
// Not copyable: a copy would close the descriptor twice.
struct FdCloser {
    int fd;  // descriptor to close
    explicit FdCloser(int descriptor) : fd(descriptor) {}
    FdCloser(const FdCloser&) = delete;
    FdCloser& operator=(const FdCloser&) = delete;
    ~FdCloser() { ::close(fd); }
};

}  // namespace

FileReadResult ReadFileBytes(const std::filesystem::path& path, std::size_t maxBytes) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return Failure("opening", path, errno);
    FdCloser closer{fd};

    struct stat info {};
    if (::fstat(fd, &info) != 0) return Failure("reading", path, errno);
    if (S_ISDIR(info.st_mode)) return Failure("reading", path, EISDIR);
    if (S_ISREG(info.st_mode) && static_cast<std::uint64_t>(info.st_size) > maxBytes) {
        return Failure("reading", path, EFBIG);
    }

    // The size is only a hint: the file may change while it is read, and
    // special files report 0. Read until the end, never past the limit.
    std::vector<std::uint8_t> bytes;
    bytes.reserve(
        std::min<std::size_t>(S_ISREG(info.st_mode) ? static_cast<std::size_t>(info.st_size) : kChunk, maxBytes));
    std::vector<std::uint8_t> chunk(kChunk);
    for (;;) {
        // One byte more than the limit allows shows that the file is too large.
        const std::size_t left = maxBytes - bytes.size();
        const std::size_t want = left >= kChunk ? kChunk : left + 1;
        const ssize_t n = ::read(fd, chunk.data(), want);
        if (n < 0) {
            if (errno == EINTR) continue;
            return Failure("reading", path, errno);
        }
        if (n == 0) break;
        if (bytes.size() + static_cast<std::size_t>(n) > maxBytes) return Failure("reading", path, EFBIG);
        bytes.insert(bytes.end(), chunk.begin(), chunk.begin() + n);
    }
    FileReadResult result;
    result.ok = true;
    result.bytes = std::move(bytes);
    return result;
}

bool IsSameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::error_code error;
    const bool same = std::filesystem::equivalent(a, b, error);
    return !error && same;
}

}  // namespace korvo
