#include "platform/file_reader.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <limits>
#include <string>

#include "support/temp_folder.h"

namespace korvo {
namespace {

using testsupport::TempFolder;
using testsupport::WriteFileForTest;

std::string AsText(const std::vector<std::uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

TEST(ReadFileBytes, readsWholeFilesUpToTheLimit) {
    TempFolder folder;
    const std::string big(200000, '\xAB');  // more than one read chunk
    WriteFileForTest(folder.path() / "big.kvz", big);
    WriteFileForTest(folder.path() / "empty.kvz", "");

    FileReadResult result = ReadFileBytes(folder.path() / "big.kvz", big.size());
    ASSERT_TRUE(result) << result.message;
    EXPECT_EQ(AsText(result.bytes), big);

    result = ReadFileBytes(folder.path() / "big.kvz", std::numeric_limits<std::size_t>::max());
    ASSERT_TRUE(result) << result.message;
    EXPECT_EQ(result.bytes.size(), big.size());

    result = ReadFileBytes(folder.path() / "empty.kvz", 0);
    ASSERT_TRUE(result) << result.message;
    EXPECT_TRUE(result.bytes.empty());
}

TEST(ReadFileBytes, unreadableOrOversizedFiles_failWithTheirReason) {
    TempFolder folder;
    WriteFileForTest(folder.path() / "puzzle.kvz", "0123456789");
    struct Case {
        const char* name;
        std::filesystem::path path;
        std::size_t limit;
        int expectedError;
    };
    const std::vector<Case> cases{
        {"one byte over the limit", folder.path() / "puzzle.kvz", 9, EFBIG},
        {"missing file", folder.path() / "missing.kvz", 100, ENOENT},
        {"folder", folder.path(), 100, EISDIR},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const FileReadResult result = ReadFileBytes(c.path, c.limit);
        EXPECT_FALSE(result);
        EXPECT_EQ(result.errorCode, c.expectedError) << result.message;
        EXPECT_TRUE(result.bytes.empty());
        EXPECT_NE(result.message.find(c.path.string()), std::string::npos) << result.message;
    }
}

TEST(ReadFileBytes, fileWithoutAKnownSize_isStillBoundedByTheLimit) {
    // /dev/zero reports size 0 and never ends: the limit alone stops the read.
    const FileReadResult result = ReadFileBytes("/dev/zero", 100000);
    EXPECT_FALSE(result);
    EXPECT_EQ(result.errorCode, EFBIG);
}

}  // namespace
}  // namespace korvo
