#include "fuzz_support.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>

namespace korvo::fuzz {
namespace {

// Removes the scratch folder at exit; only the process that made it does so.
struct ScratchOwner {
    std::filesystem::path path;  // the folder, empty until made
    pid_t owner = 0;             // the process that made it
    ~ScratchOwner() {
        if (path.empty() || owner != ::getpid()) return;
        std::error_code error;
        std::filesystem::remove_all(path, error);
    }
};

ScratchOwner& Owner() {
    static ScratchOwner owner;
    return owner;
}

}  // namespace

const std::filesystem::path& ScratchFolder() {
    ScratchOwner& owner = Owner();
    if (owner.path.empty()) {
        std::error_code error;
        std::filesystem::path base = std::filesystem::temp_directory_path(error);
        if (error) base = "/tmp";
        std::string templ = (base / "korvo-fuzz-XXXXXX").string();
        if (::mkdtemp(templ.data()) == nullptr) {
            std::perror("korvo fuzz: cannot make a scratch folder");
            std::abort();
        }
        owner.path = templ;
        owner.owner = ::getpid();
    }
    return owner.path;
}

std::filesystem::path FreshFolder(std::string_view name) {
    const std::filesystem::path folder = ScratchFolder() / std::string(name);
    std::error_code error;
    std::filesystem::remove_all(folder, error);
    std::filesystem::create_directories(folder, error);
    Check(!error, "the scratch folder can be made");
    return folder;
}

void WriteFile(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    Check(!out.fail(), "the input file can be written");
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in.is_open()) return {};
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void Check(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "korvo fuzz: check failed: %s\n", what);
    std::abort();
}

}  // namespace korvo::fuzz
