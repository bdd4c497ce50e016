// The folders of the installed program.
#include "document/ckorvo_doc.h"
#include "platform/paths.h"

namespace korvo {

std::optional<DocumentEnvironment> DesktopEnvironment() {
    const std::optional<std::filesystem::path> data = DataFolder();
    if (!data) return std::nullopt;
    DocumentEnvironment environment;
    environment.dataFolder = *data;
    environment.programFolder = ShippedDataFolder();
    return environment;
}

std::filesystem::path ShippedDataFolder() {
    // The word lists and clue sources travel together: the folder of the
    // first word list is the folder of all of them.
    const std::optional<std::filesystem::path> exe = ExecutableFolder();
    if (!exe) return {};
    return ShippedFilePath("data1.bin", exe).parent_path();
}

}  // namespace korvo
