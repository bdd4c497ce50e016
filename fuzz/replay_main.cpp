// Replays saved inputs through a fuzz target without libFuzzer: every file
// named on the command line, and every file of every folder named (in name
// order, README files skipped), is passed once to LLVMFuzzerTestOneInput.
// A crash or a failed check ends the process abnormally, so ctest reports it.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

namespace {

bool Replay(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in.is_open()) {
        std::fprintf(stderr, "cannot read %s\n", file.c_str());
        return false;
    }
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::fprintf(stderr, "replaying %s (%zu bytes)\n", file.c_str(), bytes.size());
    // A copy of exactly the input's size, so that a read past its end is
    // caught by the address sanitizer as it is under libFuzzer.
    std::vector<std::uint8_t> exact(bytes.begin(), bytes.end());
    LLVMFuzzerTestOneInput(exact.empty() ? nullptr : exact.data(), exact.size());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (LLVMFuzzerInitialize != nullptr) LLVMFuzzerInitialize(&argc, &argv);
    int replayed = 0;
    bool ok = true;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path arg = argv[i];
        std::error_code error;
        if (std::filesystem::is_directory(arg, error)) {
            std::vector<std::filesystem::path> files;
            for (const auto& entry : std::filesystem::directory_iterator(arg)) {
                if (!entry.is_regular_file()) continue;
                if (entry.path().filename().string().rfind("README", 0) == 0) continue;
                files.push_back(entry.path());
            }
            std::sort(files.begin(), files.end());
            for (const auto& file : files) {
                ok = Replay(file) && ok;
                ++replayed;
            }
        } else if (std::filesystem::exists(arg, error)) {
            ok = Replay(arg) && ok;
            ++replayed;
        } else {
            std::fprintf(stderr, "no such file or folder: %s\n", argv[i]);
            ok = false;
        }
    }
    std::printf("%d inputs replayed\n", replayed);
    return ok ? 0 : 1;
}
