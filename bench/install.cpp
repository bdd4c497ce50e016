// The first-run setup's clue installs: InstallClueDatabase for word lists 1
// to 5, one after the other, into a temporary data folder. Prints the time of
// each list and of all five per run, and the best of the runs.
//
// The sources are the shipped cdata1.bin ... cdata5.bin beside the benchmark
// when the build has made them (or those of the folder named by
// KORVO_BENCH_CLUES); a missing one is replaced by a source generated here
// from a fixed seed: 90,000 words of dictionary-like lengths and letters,
// 1 to 9 clues each (5 on average), some duplicate pairs and some clues
// longer than 60 characters, CR LF line ends.
//
// Usage: bench_install [runs]   (default 3; TMPDIR chooses the folder)

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

#include <time.h>
#include <unistd.h>

#include "bench_words.h"
#include "clues/clue_install.h"
#include "platform/file_writer.h"
#include "platform/random.h"

namespace korvo {
namespace {

constexpr int kGeneratedWords = 90000;

using bench::DrawWeighted;
using bench::kWordLengthWeights;
using bench::RandomWord;

std::string GenerateSource(std::uint32_t seed) {
    Random::Seed(seed);
    std::vector<std::string> vocabulary;
    for (int i = 0; i < 3000; ++i) vocabulary.push_back(RandomWord(2 + Random::Next() % 9, 'a'));
    std::string source;
    source.reserve(static_cast<std::size_t>(kGeneratedWords) * 5 * 45);
    for (int w = 0; w < kGeneratedWords; ++w) {
        // Headwords of 2 to 15 letters: only the first 16 length weights.
        const std::string word = RandomWord(std::max(2, DrawWeighted(kWordLengthWeights, 16)), 'a');
        const int clues = 1 + Random::Next() % 9;
        std::string previous;
        for (int c = 0; c < clues; ++c) {
            std::string clue;
            if (!previous.empty() && Random::Next() % 30 == 0) {
                clue = previous;  // a duplicate pair
            } else {
                const int target = Random::Next() % 20 == 0 ? 75 : 15 + Random::Next() % 40;
                while (static_cast<int>(clue.size()) < target) {
                    if (!clue.empty()) clue.push_back(' ');
                    clue += vocabulary[Random::Next() % vocabulary.size()];
                }
            }
            source += word + "\r\n" + clue + "\r\n";
            previous = clue;
        }
    }
    return source;
}

bool WriteFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

// CPU time of the process in milliseconds (user and system): unlike the
// wall clock, it does not grow when other programs share the cores.
double CpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

int Run(int runs) {
    std::error_code error;
    // The temporary folder lies in TMPDIR when it is set, else in the build
    // folder: a busy shared /tmp, where other programs create and delete
    // files all the time, makes every file creation slow on ext4 (the
    // allocator steps over recently freed inodes) and measures that instead.
    const char* tmp = std::getenv("TMPDIR");
    const std::filesystem::path base =
        tmp != nullptr && *tmp != 0 ? std::filesystem::path(tmp) : std::filesystem::path(KORVO_BIN_DIR).parent_path();
    const std::filesystem::path root = base / ("korvo-bench-install-" + std::to_string(::getpid()));
    const std::filesystem::path program = root / "program";
    const std::filesystem::path data = root / "data";
    std::filesystem::create_directories(program, error);
    std::filesystem::create_directories(data, error);

    std::printf("data folder: %s\n", data.c_str());
    const char* chosen = std::getenv("KORVO_BENCH_CLUES");
    const std::filesystem::path shipped = chosen != nullptr ? chosen : KORVO_BIN_DIR;
    for (int n = 1; n <= 5; ++n) {
        const std::string name = ClueSourceName(n);
        const std::filesystem::path target = program / name;
        if (std::filesystem::is_regular_file(shipped / name, error)) {
            std::filesystem::copy_file(shipped / name, target, error);
            std::printf("list %d: %s (%ju bytes)\n", n, (shipped / name).c_str(),
                        std::filesystem::file_size(target, error));
        } else if (WriteFile(target, GenerateSource(static_cast<std::uint32_t>(n)))) {
            std::printf("list %d: generated, %d words (%ju bytes)\n", n, kGeneratedWords,
                        std::filesystem::file_size(target, error));
        } else {
            std::fprintf(stderr, "cannot write %s\n", target.c_str());
            std::filesystem::remove_all(root, error);
            return 1;
        }
    }

    double best = 0;
    double bestCpu = 0;
    for (int run = 1; run <= runs; ++run) {
        double total = 0;
        const double cpuStart = CpuMs();
        std::printf("run %d:", run);
        for (int n = 1; n <= 5; ++n) {
            const auto start = std::chrono::steady_clock::now();
            FileWriteResult failure;
            const int stored = InstallClueDatabase(data, program, n, SystemFileSystem(), &failure);
            const double ms =
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
            if (!failure) {
                // A failed write makes the time meaningless.
                std::fprintf(stderr, "\nlist %d: %s\n", n, failure.message.c_str());
                std::filesystem::remove_all(root, error);
                return 1;
            }
            total += ms;
            std::printf("  list %d %d pairs %.0f ms", n, stored, ms);
        }
        const double cpu = CpuMs() - cpuStart;
        std::printf("  | all five %.0f ms (cpu %.0f ms)\n", total, cpu);
        if (run == 1 || total < best) best = total;
        if (run == 1 || cpu < bestCpu) bestCpu = cpu;
    }
    std::printf("best of %d: all five installs %.0f ms wall, %.0f ms cpu\n", runs, best, bestCpu);
    std::filesystem::remove_all(root, error);
    return 0;
}

}  // namespace
}  // namespace korvo

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    return korvo::Run(runs);
}
