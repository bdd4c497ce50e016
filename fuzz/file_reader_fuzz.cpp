// The bounded whole-file reader over arbitrary files: the input is written
// to a file and read back with limits below, at and above its size. Within
// the limit the bytes must come back whole; over it the read must fail with
// EFBIG and hand back nothing.

#include <cerrno>
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "platform/file_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using korvo::fuzz::Check;
    const std::filesystem::path path = korvo::fuzz::ScratchFolder() / "input.bin";
    korvo::fuzz::WriteFile(path, korvo::fuzz::AsText(data, size));

    const std::size_t limits[] = {0, 1, size / 2, size > 0 ? size - 1 : 0, size, size + 1, std::size_t{1} << 20};
    for (std::size_t limit : limits) {
        const korvo::FileReadResult result = korvo::ReadFileBytes(path, limit);
        if (size <= limit) {
            Check(result.ok && result.errorCode == 0 && result.message.empty(), "a file within the limit is read");
            Check(result.bytes.size() == size, "the whole file is read");
            Check(size == 0 || std::equal(result.bytes.begin(), result.bytes.end(), data), "the bytes are the file's");
        } else {
            Check(!result.ok && result.errorCode == EFBIG, "a file over the limit fails with EFBIG");
            Check(result.bytes.empty() && !result.message.empty(), "a failed read gives no bytes and says why");
        }
    }
    return 0;
}
