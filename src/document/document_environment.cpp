// The folders of the installed program.
#include <system_error>

#include "document/ckorvo_doc.h"
#include "platform/paths.h"

namespace korvo {

std::optional<DocumentEnvironment> DesktopEnvironment() {
    const std::optional<std::filesystem::path> data = DataFolder();
    if (!data) return std::nullopt;
    DocumentEnvironment environment;
    environment.dataFolder = *data;
    if (const std::optional<std::filesystem::path> exe = ExecutableFolder()) {
        environment.programFolder = *exe;
        // The build puts the shipped data beside the executables; an
        // installed program keeps it in <prefix>/share/korvo beside <prefix>/bin.
        std::error_code ignored;
        const std::filesystem::path shared = *exe / ".." / "share" / "korvo";
        if (!std::filesystem::exists(*exe / "data1.bin", ignored) &&
            std::filesystem::exists(shared / "data1.bin", ignored))
            environment.programFolder = shared.lexically_normal();
    }
    return environment;
}

}  // namespace korvo
