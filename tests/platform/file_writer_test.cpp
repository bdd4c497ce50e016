#include "platform/file_writer.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "support/failing_file_system.h"
#include "support/temp_folder.h"

namespace korvo {
namespace {

namespace fs = std::filesystem;
using testsupport::FailingFileSystem;
using testsupport::FailStep;
using testsupport::ReadFileForTest;
using testsupport::TempFolder;
using testsupport::WriteFileForTest;

const std::string kOld = "old settings\r\n";
const std::string kNew = "1\r\n1\r\n250\r\n250\r\nTO DO: \xA9 2024 by Author\r\n15\r\n";

mode_t ModeOf(const fs::path& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? (info.st_mode & 07777) : 0;
}

TEST(WriteFileAtomically, newAndExistingTargets_holdExactlyTheBytes) {
    TempFolder folder;
    const fs::path target = folder.path() / "pdata.bin";

    FileWriteResult result = WriteFileAtomically(target, kNew);
    ASSERT_TRUE(result) << result.message;
    EXPECT_EQ(ReadFileForTest(target), kNew);

    EXPECT_TRUE(WriteFileAtomically(target, std::string_view("short")));
    EXPECT_EQ(ReadFileForTest(target), "short") << "a shorter file leaves nothing of the longer one";

    const std::vector<std::uint8_t> empty;
    EXPECT_TRUE(WriteFileAtomically(target, empty));
    EXPECT_EQ(ReadFileForTest(target), "");
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"pdata.bin"}) << "no temporary file is left";
}

TEST(WriteFileAtomically, replacedFile_keepsItsPermissions) {
    TempFolder folder;
    const fs::path target = folder.path() / "puzzle.kvz";
    WriteFileForTest(target, kOld);
    ASSERT_EQ(::chmod(target.c_str(), 0640), 0);

    ASSERT_TRUE(WriteFileAtomically(target, kNew));
    EXPECT_EQ(ModeOf(target), 0640u);
}

TEST(WriteFileAtomically, symbolicLink_replacesTheFileItPointsTo) {
    TempFolder folder;
    const fs::path real = folder.path() / "real.kvz";
    const fs::path link = folder.path() / "link.kvz";
    WriteFileForTest(real, kOld);
    fs::create_symlink(real, link);

    ASSERT_TRUE(WriteFileAtomically(link, kNew));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadFileForTest(real), kNew);
}

TEST(WriteFileAtomically, unwritablePlaces_reportTheReasonAndLeaveNothing) {
    TempFolder folder;
    fs::create_directory(folder.path() / "taken");
    WriteFileForTest(folder.path() / "taken" / "inside.txt", kOld);

    struct Case {
        const char* name;
        fs::path target;
        int expectedError;
    };
    const std::vector<Case> cases{
        {"missing folder", folder.path() / "missing" / "pdata.bin", ENOENT},
        {"target is a folder", folder.path() / "taken", EISDIR},
        {"folder is a file", folder.path() / "taken" / "inside.txt" / "x", ENOTDIR},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const FileWriteResult result = WriteFileAtomically(c.target, kNew);
        EXPECT_FALSE(result);
        EXPECT_EQ(result.errorCode, c.expectedError) << result.message;
        EXPECT_FALSE(result.message.empty());
    }
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"taken"});
    EXPECT_EQ(folder.Entries("taken"), std::vector<std::string>{"inside.txt"});
    EXPECT_EQ(ReadFileForTest(folder.path() / "taken" / "inside.txt"), kOld);
}

// A disk that fills up after every possible number of bytes: each write
// reports the full disk, the old file is untouched and no temporary file is
// left, whether or not a file was there before.
TEST(WriteFileAtomically, diskFullAfterEveryByteCount_reportsAndKeepsTheOldFile) {
    for (bool oldFileExists : {true, false}) {
        for (std::size_t n = 0; n < kNew.size(); ++n) {
            SCOPED_TRACE(testing::Message() << "old file " << oldFileExists << ", failing after " << n << " bytes");
            TempFolder folder;
            const fs::path target = folder.path() / "pdata.bin";
            if (oldFileExists) WriteFileForTest(target, kOld);

            FailingFileSystem failing = FailingFileSystem::AfterBytes(n, ENOSPC);
            const FileWriteResult result = WriteFileAtomically(target, kNew, failing);

            EXPECT_FALSE(result);
            EXPECT_EQ(result.errorCode, ENOSPC);
            EXPECT_NE(result.message.find("No space left on device"), std::string::npos) << result.message;
            EXPECT_EQ(failing.failures, 1);
            if (oldFileExists) {
                EXPECT_EQ(ReadFileForTest(target), kOld);
                EXPECT_EQ(folder.Entries(), std::vector<std::string>{"pdata.bin"});
            } else {
                EXPECT_EQ(folder.Entries(), std::vector<std::string>{});
            }
        }
    }
}

TEST(WriteFileAtomically, failureAtAnyLaterStep_reportsAndKeepsTheOldFile) {
    struct Case {
        FailStep step;
        int error;
        const char* stepWord;  // how the message names the step
    };
    const std::vector<Case> cases{
        {FailStep::Create, EACCES, "creating"},
        {FailStep::Sync, EIO, "flushing"},
        {FailStep::Close, EDQUOT, "closing"},
        {FailStep::Rename, EXDEV, "renaming"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stepWord);
        TempFolder folder;
        const fs::path target = folder.path() / "puzzle.kvz";
        WriteFileForTest(target, kOld);

        FailingFileSystem failing(c.step, c.error);
        const FileWriteResult result = WriteFileAtomically(target, kNew, failing);

        EXPECT_FALSE(result);
        EXPECT_EQ(result.errorCode, c.error);
        EXPECT_EQ(result.message.rfind(c.stepWord, 0), 0u) << result.message;
        EXPECT_EQ(failing.failures, 1);
        EXPECT_EQ(ReadFileForTest(target), kOld);
        EXPECT_EQ(folder.Entries(), std::vector<std::string>{"puzzle.kvz"});
        EXPECT_EQ(failing.removed, failing.temporaries) << "the temporary file is removed, nothing else";
    }
}

TEST(WriteFileAtomically, passThroughLayer_writesLikeTheRealOne) {
    TempFolder folder;
    const fs::path target = folder.path() / "delwords.txt";
    FailingFileSystem layer;  // fails nothing
    ASSERT_TRUE(WriteFileAtomically(target, kNew, layer));
    EXPECT_EQ(ReadFileForTest(target), kNew);
    EXPECT_EQ(layer.temporaries.size(), 1u);
    EXPECT_EQ(layer.temporaries[0].parent_path(), folder.path()) << "the temporary file lies beside the target";
    EXPECT_TRUE(layer.removed.empty());
}

TEST(AppendToFile, appendsAndCreatesTheFile) {
    TempFolder folder;
    const fs::path path = folder.path() / "delwords.txt";
    ASSERT_TRUE(AppendToFile(path, std::string_view("ZYZZYVA\r\n")));
    ASSERT_TRUE(AppendToFile(path, std::string_view("QOPH\r\n")));
    EXPECT_EQ(ReadFileForTest(path), "ZYZZYVA\r\nQOPH\r\n");
}

TEST(AppendToFile, failureAfterEveryByteCount_leavesTheFileAsItWas) {
    const std::string line = "ZYZZYVA\r\n";
    for (std::size_t n = 0; n < line.size(); ++n) {
        SCOPED_TRACE(n);
        TempFolder folder;
        const fs::path path = folder.path() / "delwords.txt";
        WriteFileForTest(path, "QOPH\r\n");
        FailingFileSystem failing = FailingFileSystem::AfterBytes(n, ENOSPC);
        const FileWriteResult result = AppendToFile(path, line, failing);
        EXPECT_FALSE(result);
        EXPECT_EQ(result.errorCode, ENOSPC);
        EXPECT_EQ(ReadFileForTest(path), "QOPH\r\n") << "no partial line stays behind";
    }
}

TEST(AppendToFile, failingOpenFlushOrClose_isReportedAndUndone) {
    for (FailStep step : {FailStep::OpenAppend, FailStep::Sync, FailStep::Close}) {
        SCOPED_TRACE(static_cast<int>(step));
        TempFolder folder;
        const fs::path path = folder.path() / "delwords.txt";
        WriteFileForTest(path, "QOPH\r\n");
        FailingFileSystem failing(step, EIO);
        const FileWriteResult result = AppendToFile(path, std::string_view("ZYZZYVA\r\n"), failing);
        EXPECT_FALSE(result);
        EXPECT_EQ(result.errorCode, EIO);
        EXPECT_EQ(ReadFileForTest(path), "QOPH\r\n") << "a failed append leaves the file as it was";
    }

    // A file the failed append created is not left behind, empty or not.
    for (FailStep step : {FailStep::Write, FailStep::Sync, FailStep::Close}) {
        SCOPED_TRACE(static_cast<int>(step));
        TempFolder folder;
        const fs::path path = folder.path() / "delwords.txt";
        FailingFileSystem failing(step, EIO);
        EXPECT_FALSE(AppendToFile(path, std::string_view("ZYZZYVA\r\n"), failing));
        EXPECT_FALSE(fs::exists(path));
    }

    TempFolder folder;
    const FileWriteResult missing = AppendToFile(folder.path() / "no" / "delwords.txt", std::string_view("A\r\n"));
    EXPECT_FALSE(missing);
    EXPECT_EQ(missing.errorCode, ENOENT);
}

}  // namespace
}  // namespace korvo
