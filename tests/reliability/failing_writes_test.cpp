// Every writer of the program against a failing disk. One table lists the
// writers that go through the file layer (FileSystemOps): each is driven
// with a layer that fails after N bytes for every N below the size of what
// it writes (a full disk), and at creating, flushing, closing, renaming or
// opening for append. After each failure: the failure is reported as the
// program reports it (a message box where it shows one, nothing where it
// ignores the failure), the good file that was there is byte for byte as it
// was, no temporary file is left, and the modified flag and the puzzle in
// memory are untouched.
//
// The clue database and its installer write with file streams of their own;
// they are failed by a file-size limit (RLIMIT_FSIZE) in a child process,
// for every limit inside the bytes they write: no half pair may stay behind
// and a clue file is replaced only by a complete copy.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "clues/clue_database.h"
#include "clues/clue_install.h"
#include "document/document_fixture.h"
#include "document/puzzle_file.h"
#include "platform/text_codec.h"
#include "reliability/big_puzzle.h"

namespace korvo::testsupport {
namespace {

namespace fs = std::filesystem;

constexpr char16_t kTextSaveError[] = u"An error was encountered while saving the text file.";

// One writer of the program, as the table drives it.
struct Writer {
    const char* name;
    bool appends;                                            // AppendToFile rather than a whole-file replacement
    const char16_t* message;                                 // the message shown on failure; null: nothing is shown
    std::function<fs::path(const fs::path&)> target;         // the file it writes, given the data folder
    std::function<bool(CkorvoDoc&, const fs::path&)> write;  // runs it; false when it reports a failure
};

// One way of failing.
struct Failure {
    FailStep step;
    std::size_t afterBytes;  // with FailStep::Write
    int error;
};

std::string Describe(const Failure& f) {
    switch (f.step) {
        case FailStep::Write:
            return "after " + std::to_string(f.afterBytes) + " bytes, errno " + std::to_string(f.error);
        case FailStep::Create: return "at create";
        case FailStep::Sync: return "at flush";
        case FailStep::Close: return "at close";
        case FailStep::Rename: return "at rename";
        case FailStep::OpenAppend: return "at open for append";
        default: return "nowhere";
    }
}

std::vector<Writer> Writers() {
    return {
        {"puzzle file save", false, kSaveErrorMessage,
         [](const fs::path& data) { return data.parent_path() / "puzzle.kvz"; },
         [](CkorvoDoc& doc, const fs::path& path) { return doc.SavePuzzleFile(path); }},
        {"text export", false, kTextSaveError, [](const fs::path& data) { return data.parent_path() / "puzzle.txt"; },
         [](CkorvoDoc& doc, const fs::path& path) { return doc.SavePuzzleAsText(path); }},
        {"settings file", false, nullptr, [](const fs::path& data) { return data / "pdata.bin"; },
         [](CkorvoDoc& doc, const fs::path&) { return doc.SaveSettings(); }},
        {"version marker", false, nullptr, [](const fs::path& data) { return data / "version.dat"; },
         [](CkorvoDoc& doc, const fs::path& path) {
             const std::string before = ReadFileForTest(path);
             doc.WriteVersionFile();  // reports nothing; success shows in the file
             return ReadFileForTest(path) != before;
         }},
        {"deleted words", true, nullptr, [](const fs::path& data) { return data / "delwords.txt"; },
         [](CkorvoDoc& doc, const fs::path& path) {
             const std::string before = ReadFileForTest(path);
             doc.AddDeletedWord(u"OWL");
             return ReadFileForTest(path) != before;
         }},
    };
}

class FailingWrites : public DocumentTest {
protected:
    // The entries of target's folder.
    static std::set<std::string> Folder(const fs::path& target) {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(target.parent_path()))
            names.insert(entry.path().filename().string());
        return names;
    }
};

TEST_F(FailingWrites, everyWriterEveryFailure_reportedNothingReplacedNothingLeftPuzzleUntouched) {
    PrepareInstalledDataFolder("60500\r\n");  // an older marker, so that a new one differs
    FailingFileSystem failing;
    auto doc = MakeDocument(&failing);
    doc->cwData = FilledPuzzle('q', 9, 400, 40);

    int casesTried = 0;
    std::string perWriter;
    for (const Writer& writer : Writers()) {
        const int casesBefore = casesTried;
        SCOPED_TRACE(writer.name);
        const fs::path target = writer.target(DataFolderPath());

        // A good file is in place: the writer's own output, then changed so
        // that a new write differs from it.
        failing.failAt = FailStep::None;
        if (std::string(writer.name) == "version marker") WriteFileForTest(target, "60500\r\n");
        if (!writer.appends) {
            ASSERT_TRUE(writer.write(*doc, target));
        } else {
            WriteFileForTest(target, "EMU\r\nYAK\r\n");
        }
        const std::string good = ReadFileForTest(target);
        ASSERT_FALSE(good.empty());
        if (std::string(writer.name) == "version marker") WriteFileForTest(target, "60500\r\n");
        if (std::string(writer.name) == "settings file") doc->newGridSize = doc->newGridSize == 15 ? 13 : 15;
        if (std::string(writer.name) == "puzzle file save" || std::string(writer.name) == "text export")
            doc->cwData = FilledPuzzle('r', 9, 400, 40);
        const std::string old = ReadFileForTest(target);

        // The size of what the writer writes now, from a successful write on a copy.
        std::size_t size = 0;
        {
            const std::string saved = old;
            failing.failAt = FailStep::None;
            ASSERT_TRUE(writer.write(*doc, target));
            const std::string written = ReadFileForTest(target);
            size = writer.appends ? written.size() - saved.size() : written.size();
            WriteFileForTest(target, saved);
        }
        ASSERT_GT(size, 0u);

        std::vector<Failure> failures;
        for (std::size_t n = 0; n < size; ++n) failures.push_back({FailStep::Write, n, ENOSPC});
        failures.push_back({FailStep::Write, size / 2, EIO});
        if (writer.appends) {
            failures.push_back({FailStep::OpenAppend, 0, EACCES});
            failures.push_back({FailStep::Sync, 0, EIO});
        } else {
            for (FailStep step : {FailStep::Create, FailStep::Sync, FailStep::Close, FailStep::Rename})
                failures.push_back({step, 0, EIO});
            failures.push_back({FailStep::Create, 0, ENOSPC});
        }

        const std::set<std::string> folderBefore = Folder(target);
        for (const Failure& f : failures) {
            SCOPED_TRACE(Describe(f));
            doc->SetModifiedFlag(true);
            const fs::path pathBefore = doc->PathName();
            const std::vector<std::uint8_t> puzzleBefore = doc->EncodePuzzleFile();
            const std::size_t messagesBefore = host.messages.size();
            failing.failAt = f.step;
            failing.failAfterBytes = f.afterBytes;
            failing.errorCode = f.error;
            failing.temporaries.clear();
            failing.failures = 0;

            const bool reported = !writer.write(*doc, target);
            failing.failAt = FailStep::None;
            ++casesTried;

            EXPECT_EQ(failing.failures, 1) << "the failure was not reached";
            EXPECT_TRUE(reported) << "the failure was reported as success";
            EXPECT_EQ(ReadFileForTest(target), old) << "the good file was changed";
            EXPECT_EQ(Folder(target), folderBefore) << "a temporary file was left behind";
            for (const fs::path& temporary : failing.temporaries) EXPECT_FALSE(fs::exists(temporary)) << temporary;
            if (writer.message != nullptr) {
                ASSERT_EQ(host.messages.size(), messagesBefore + 1);
                EXPECT_EQ(host.messages.back().text, writer.message);
            } else {
                EXPECT_EQ(host.messages.size(), messagesBefore) << "a failure the program ignores showed a message";
            }
            EXPECT_TRUE(doc->IsModified()) << "the modified flag was cleared by a failed write";
            EXPECT_EQ(doc->PathName(), pathBefore);
            EXPECT_EQ(doc->EncodePuzzleFile(), puzzleBefore) << "the puzzle in memory changed";
            if (HasFailure()) return;
        }

        // A close that fails after a complete, flushed append: the append is
        // reported as failed, so the line is taken back out of the file.
        if (writer.appends) {
            failing.failAt = FailStep::Close;
            failing.errorCode = EIO;
            writer.write(*doc, target);
            failing.failAt = FailStep::None;
            ++casesTried;
            EXPECT_EQ(ReadFileForTest(target), old);
        }
        perWriter += std::string(perWriter.empty() ? "" : ", ") + writer.name + " " +
                     std::to_string(casesTried - casesBefore) + " (" + std::to_string(size) + " bytes)";
    }
    std::printf("failing writes through the file layer: %d cases: %s\n", casesTried, perWriter.c_str());
}

// Runs body in a child whose files may grow to at most limit bytes (writes
// beyond it fail with EFBIG); returns the child's exit code.
int WithFileSizeLimit(std::uint64_t limit, const std::function<int()>& body) {
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        rlimit cap{static_cast<rlim_t>(limit), static_cast<rlim_t>(limit)};
        if (::setrlimit(RLIMIT_FSIZE, &cap) != 0) ::_exit(99);
        ::_exit(body());
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {}
    return WIFEXITED(status) ? WEXITSTATUS(status) : 100 + WTERMSIG(status);
}

// True when bytes are whole pairs: every line ended, an even number of lines.
bool WholePairs(const std::string& bytes) {
    if (bytes.empty()) return true;
    std::size_t lines = 0;
    for (char b : bytes) lines += b == '\n';
    return bytes.back() == '\n' && lines % 2 == 0;
}

TEST(FailingClueWrites, addClueOnFullDisk_returnsFalseLeavesFileAsItWas) {
    TempFolder folder;
    const std::string old = "HOUSE\r\nA dwelling\r\nHOTEL\r\nA place to stay\r\n";
    WriteFileForTest(folder.path() / "HO.CLU", old);
    const std::size_t pair = std::string("HOME\r\nWhere the heart is\r\n").size();
    int cases = 0;
    for (std::size_t n = old.size(); n < old.size() + pair; ++n, ++cases) {
        SCOPED_TRACE(n);
        const int code = WithFileSizeLimit(n, [&] {
            ClueDatabase database(folder.path().string() + "/");
            return database.AddClue(true, u"HOME", u"Where the heart is") ? 0 : 1;
        });
        EXPECT_EQ(code, 1) << "a failed append was reported as success";
        EXPECT_EQ(ReadFileForTest(folder.path() / "HO.CLU"), old);
        EXPECT_EQ(folder.Entries(), std::vector<std::string>{"HO.CLU"});
    }
    // And with room enough, the pair is appended.
    EXPECT_EQ(WithFileSizeLimit(old.size() + pair,
                                [&] {
                                    ClueDatabase database(folder.path().string() + "/");
                                    return database.AddClue(true, u"HOME", u"Where the heart is") ? 0 : 1;
                                }),
              0);
    EXPECT_EQ(ReadFileForTest(folder.path() / "HO.CLU"), old + "HOME\r\nWhere the heart is\r\n");
    std::printf("AddClue on a full disk: %d cases\n", cases);
}

TEST(FailingClueWrites, deleteClueOnFullDisk_keepsClueFileLeavesNoTemporary) {
    TempFolder folder;
    const std::string old = "HOUSE\r\nA dwelling\r\nHOTEL\r\nA place to stay\r\nHOUSE\r\nShelter\r\nHOME\r\nBase\r\n";
    const std::string kept = "HOUSE\r\nA dwelling\r\nHOTEL\r\nA place to stay\r\nHOME\r\nBase\r\n";
    int cases = 0;
    for (std::size_t n = 0; n < kept.size(); ++n, ++cases) {
        SCOPED_TRACE(n);
        WriteFileForTest(folder.path() / "HO.CLU", old);
        WithFileSizeLimit(n, [&] {
            ClueDatabase database(folder.path().string() + "/");
            database.DeleteClue(u"HOUSE", u"Shelter");
            return 0;
        });
        EXPECT_EQ(ReadFileForTest(folder.path() / "HO.CLU"), old) << "a partial copy replaced the clue file";
        EXPECT_EQ(folder.Entries(), std::vector<std::string>{"HO.CLU"}) << "the temporary file was left";
    }
    WithFileSizeLimit(kept.size(), [&] {
        ClueDatabase database(folder.path().string() + "/");
        database.DeleteClue(u"HOUSE", u"Shelter");
        return 0;
    });
    EXPECT_EQ(ReadFileForTest(folder.path() / "HO.CLU"), kept);
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"HO.CLU"});
    std::printf("DeleteClue on a full disk: %d cases\n", cases);
}

TEST(FailingClueWrites, installerOnFullDisk_leavesOnlyWholePairs) {
    TempFolder root;
    const fs::path program = root.path() / "program";
    std::string source;
    for (int i = 0; i < 40; ++i) {
        const char a = static_cast<char>('a' + i % 3), b = static_cast<char>('a' + i % 5);
        const char c = static_cast<char>('a' + i % 26), d = static_cast<char>('a' + i / 26);
        source += std::string{a, b, 'w', 'o', 'r', 'd', c, d} + "\r\nclue number " + std::to_string(i) + "\r\n";
    }
    WriteFileForTest(program / "cdata1.bin", source);
    // Every limit up to the largest file the installer writes.
    const fs::path data = root.path() / "data";
    fs::create_directories(data);
    ASSERT_EQ(InstallClueDatabase(data, program, 1), 40);
    std::uintmax_t largest = 0;
    for (const auto& entry : fs::directory_iterator(data / "CLUES1")) largest = std::max(largest, entry.file_size());
    int cases = 0;
    for (std::uintmax_t n = 0; n <= largest; ++n, ++cases) {
        SCOPED_TRACE(n);
        WithFileSizeLimit(n, [&] { return InstallClueDatabase(data, program, 1) >= 0 ? 0 : 1; });
        for (const auto& entry : fs::directory_iterator(data / "CLUES1")) {
            const std::string bytes = ReadFileForTest(entry.path());
            EXPECT_TRUE(WholePairs(bytes)) << entry.path().filename() << " holds a half pair";
            EXPECT_LE(bytes.size(), n);
        }
    }
    std::printf("clue installer on a full disk: %d cases\n", cases);
}

}  // namespace
}  // namespace korvo::testsupport
