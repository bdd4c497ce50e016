// A save killed at any moment: a child process saves a large puzzle over
// the previous one and is killed with SIGKILL after a random delay spread
// over the save's duration. After every kill the target must hold exactly
// the old file or exactly the new one; a temporary file left by the killed
// save must never stand in for the target, and the next save must still
// work beside it.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "document/document_fixture.h"
#include "reliability/big_puzzle.h"

namespace korvo::testsupport {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kKills = 240;
// Characters of the notepad: about two bytes each in the file. The thread
// sanitizer slows the encoding down many times and builds a smaller file.
#ifndef KORVO_KILLED_SAVE_NOTEPAD
#define KORVO_KILLED_SAVE_NOTEPAD 1000000
#endif
constexpr std::size_t kNotepadChars = KORVO_KILLED_SAVE_NOTEPAD;
constexpr int kCalibrationSaves = 5;

class KilledSave : public DocumentTest {
protected:
    // Forks a child that saves the document's puzzle to target and exits;
    // after delay (negative: no kill) the child is killed. Returns the
    // child's wait status.
    int SaveInChild(CkorvoDoc& doc, const fs::path& target, std::chrono::microseconds delay) {
        std::fflush(nullptr);
        const pid_t child = ::fork();
        if (child < 0) {
            ADD_FAILURE() << "fork failed";
            return -1;
        }
        if (child == 0) ::_exit(doc.SavePuzzleFile(target) ? 0 : 1);
        if (delay.count() >= 0) {
            std::this_thread::sleep_for(delay);
            ::kill(child, SIGKILL);
        }
        int status = 0;
        while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {}
        return status;
    }

    // The folder's entries other than the target: temporaries of saves.
    std::vector<fs::path> Leftovers(const fs::path& folder, const fs::path& target) {
        std::vector<fs::path> found;
        for (const auto& entry : fs::directory_iterator(folder))
            if (entry.path() != target) found.push_back(entry.path());
        std::sort(found.begin(), found.end());
        return found;
    }
};

std::string AsString(const std::vector<std::uint8_t>& bytes) { return {bytes.begin(), bytes.end()}; }

TEST_F(KilledSave, killedAtRandomMoments_targetIsOldOrCompleteNewFile) {
    PrepareInstalledDataFolder();
    auto doc = MakeDocument();
    // Two large 21 x 21 puzzles: long page texts and clues, a long notepad
    // (a million characters, about 2 MB stored).
    std::unique_ptr<CCWData> puzzles[2] = {FilledPuzzle('a', 21, kNotepadChars, 250),
                                           FilledPuzzle('b', 21, kNotepadChars, 250)};
    std::string bytes[2];
    for (int v = 0; v < 2; ++v) {
        doc->cwData = std::move(puzzles[v]);
        bytes[v] = AsString(doc->EncodePuzzleFile());
        puzzles[v] = std::move(doc->cwData);
        ASSERT_GT(bytes[v].size(), 2 * kNotepadChars);
    }
    ASSERT_NE(bytes[0], bytes[1]);

    const fs::path folder = root.path() / "saves";
    fs::create_directories(folder);
    const fs::path target = folder / "big puzzle.kvz";

    // The first version is in place; the children alternate from there.
    int current = 0;
    doc->cwData = std::move(puzzles[0]);
    ASSERT_TRUE(doc->SavePuzzleFile(target));
    puzzles[0] = std::move(doc->cwData);
    ASSERT_EQ(ReadFileForTest(target), bytes[0]);

    // How long one save takes in a child, fork to exit.
    Clock::duration longest{};
    for (int i = 0; i < kCalibrationSaves; ++i) {
        const int next = 1 - current;
        doc->cwData = std::move(puzzles[next]);
        const auto started = Clock::now();
        const int status = SaveInChild(*doc, target, std::chrono::microseconds(-1));
        longest = std::max(longest, Clock::now() - started);
        puzzles[next] = std::move(doc->cwData);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "an unhindered save failed";
        ASSERT_EQ(ReadFileForTest(target), bytes[next]);
        current = next;
    }
    ASSERT_TRUE(Leftovers(folder, target).empty()) << "a completed save left a file behind";
    const auto span = std::chrono::duration_cast<std::chrono::microseconds>(longest) * 5 / 4;
    std::printf("killed save: the longest of %d saves took %lld us\n", kCalibrationSaves,
                static_cast<long long>(std::chrono::duration_cast<std::chrono::microseconds>(longest).count()));

    std::mt19937 random(424242u);
    std::uniform_int_distribution<long> delays(0, std::max<long>(span.count(), 1));
    int killed = 0, keptOld = 0, completed = 0, killsLeavingTemporary = 0;
    std::size_t temporariesBefore = 0;
    std::set<std::string> checkedTemporaries;
    int savesCleaningTemporaries = 0, savesBesideTemporaries = 0;
    for (int i = 0; i < kKills && !HasFailure(); ++i) {
        const int next = 1 - current;
        doc->cwData = std::move(puzzles[next]);
        const std::chrono::microseconds delay(delays(random));
        const int status = SaveInChild(*doc, target, delay);
        puzzles[next] = std::move(doc->cwData);

        const bool wasKilled = WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
        if (!wasKilled) {
            ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a save failed, kill " << i;
        }
        killed += wasKilled ? 1 : 0;

        const std::string after = ReadFileForTest(target);
        const bool isOld = after == bytes[current];
        const bool isNew = after == bytes[next];
        ASSERT_TRUE(isOld || isNew) << "kill " << i << " after " << delay.count() << " us left a target of "
                                    << after.size() << " bytes that is neither the old nor the new file";
        if (!wasKilled) {
            ASSERT_TRUE(isNew) << "a save that exited normally left the old file";
        }

        // What a killed save leaves beside the target: at most its own
        // temporary, a prefix of the new file, never mistaken for the target.
        const std::vector<fs::path> leftovers = Leftovers(folder, target);
        for (const fs::path& path : leftovers) {
            const std::string name = path.filename().string();
            if (!checkedTemporaries.insert(name).second) continue;  // seen after an earlier kill
            ASSERT_EQ(name.rfind(".big puzzle.kvz.tmp", 0), 0u) << "unexpected file " << name;
            const std::string partial = ReadFileForTest(path);
            const bool prefixOfOne =
                bytes[0].compare(0, partial.size(), partial) == 0 || bytes[1].compare(0, partial.size(), partial) == 0;
            ASSERT_TRUE(prefixOfOne && partial.size() <= bytes[next].size()) << name << " holds foreign bytes";
        }
        if (leftovers.size() > temporariesBefore) ++killsLeavingTemporary;
        if (temporariesBefore > 0) {
            // This save ran beside temporaries of earlier killed saves.
            ++savesBesideTemporaries;
            if (leftovers.size() < temporariesBefore) ++savesCleaningTemporaries;
        }
        temporariesBefore = leftovers.size();

        if (isNew) {
            ++completed;
            current = next;
        } else {
            ++keptOld;
        }
    }

    std::printf(
        "killed save: %d saves, %d killed, %d left the old file, %d the complete new one; "
        "%d kills left a temporary behind (%zu at the end); %d saves ran beside earlier temporaries, "
        "%d of them removed any\n",
        kKills, killed, keptOld, completed, killsLeavingTemporary, temporariesBefore, savesBesideTemporaries,
        savesCleaningTemporaries);
    // The delays must really have reached into the save.
    EXPECT_GT(keptOld, 0) << "no kill landed before the rename: the delays missed the save";
    EXPECT_GT(completed, 0);
}

}  // namespace
}  // namespace korvo::testsupport
