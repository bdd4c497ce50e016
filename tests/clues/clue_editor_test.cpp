#include "clues/clue_editor.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "clues/clue_database.h"
#include "clues/clue_test_files.h"
#include "platform/paths.h"
#include "platform/text_codec.h"
#include "support/failing_file_system.h"

namespace korvo {
namespace {

using testsupport::FailingFileSystem;
using testsupport::FailStep;
using Answer = std::function<std::optional<ClueManagerResult>(const ClueManagerRequest&)>;

// A Clue Manager that answers from a script, one answer per dialog, and
// records every request it was shown. A dialog beyond the script fails the
// test and cancels.
class ScriptedClueManager final : public ClueManagerDialog {
public:
    std::optional<ClueManagerResult> Run(const ClueManagerRequest& request) override {
        shown.push_back(request);
        shownClues.push_back(request.clueDatabase ? OpenStoredClueList(request.clueDatabase, request.answer, u"").items
                                                  : std::vector<std::u16string>{});
        if (script.empty()) {
            ADD_FAILURE() << "an unexpected dialog for " << Utf8FromUtf16(request.answer);
            return std::nullopt;
        }
        Answer next = std::move(script.front());
        script.pop_front();
        return next(request);
    }

    std::deque<Answer> script;                            // the answers still to give
    std::vector<ClueManagerRequest> shown;                // every request, in order
    std::vector<std::vector<std::u16string>> shownClues;  // the stored clues each dialog would list

    std::vector<std::u16string> ShownAnswers() const {
        std::vector<std::u16string> answers;
        for (const auto& request : shown) answers.push_back(request.answer);
        return answers;
    }
};

Answer Ok(std::u16string text = u"", int option = kAdvanceNextWord, bool doNotUse = false) {
    return [=](const ClueManagerRequest&) { return ClueManagerResult{text, doNotUse, option}; };
}
// OK leaving the box as the dialog showed it.
Answer OkKeepingBox(std::u16string text, int option) {
    return [=](const ClueManagerRequest& request) { return ClueManagerResult{text, request.doNotUse, option}; };
}
Answer Cancel() {
    return [](const ClueManagerRequest&) { return std::optional<ClueManagerResult>(); };
}

// The deleted words of a document, in memory.
class FakeDocument final : public ClueEditorDocument {
public:
    bool IsDeletedWord(const std::u16string& word) const override { return deleted.count(word) != 0; }
    void AddDeletedWord(const std::u16string& word) override {
        added.push_back(word);
        deleted.insert(word);
    }
    void ClueChanged() override { ++changes; }

    std::set<std::u16string> deleted;   // the deleted-words file
    std::vector<std::u16string> added;  // AddDeletedWord calls, in order
    int changes = 0;                    // ClueChanged calls
};

std::u16string Placeholder(const std::u16string& answer) { return u"TO DO clue for: " + answer; }

ClueEntry Entry(int number, const char16_t* direction, std::u16string answer, std::u16string clue) {
    ClueEntry entry;
    entry.number = number;
    entry.direction = direction;
    entry.answer = std::move(answer);
    entry.clue = std::move(clue);
    return entry;
}

std::vector<std::u16string> CluesOf(const std::vector<ClueEntry>& entries) {
    std::vector<std::u16string> clues;
    for (const auto& entry : entries) clues.push_back(entry.clue);
    return clues;
}

// A data folder with the clue and new-clue folders of word list 1, and a
// puzzle of five entries: real clues on 1 and 3 across and 4 down,
// placeholders on 5 across and 2 down.
class ClueEditorTest : public ::testing::Test {
protected:
    ClueEditorTest() {
        std::filesystem::create_directories(clueFolder());
        std::filesystem::create_directories(newClueFolder());
        clues = {
            Entry(1, kAcrossText, u"HOUSE", u"A home"),
            Entry(3, kAcrossText, u"TREE", u"Oak or elm"),
            Entry(5, kAcrossText, u"HOSE", Placeholder(u"HOSE")),
            Entry(2, kDownText, u"OTTER", Placeholder(u"OTTER")),
            Entry(4, kDownText, u"SEA", u"Ocean"),
        };
    }

    std::filesystem::path clueFolder(int n = 1) const { return data.path() / ("CLUES" + std::to_string(n)); }
    std::filesystem::path newClueFolder(int n = 1) const { return data.path() / ("NEWCLUES" + std::to_string(n)); }

    bool Walk(const std::u16string& start = u"", int option = kAdvanceNextWord, std::int32_t wordListId = 1) {
        return EditClues(clues, PathToU16(data.path()), wordListId, document, dialog, start, option);
    }

    TempFolder data;
    std::vector<ClueEntry> clues;
    FakeDocument document;
    ScriptedClueManager dialog;
};

// --- the walk ----------------------------------------------------------------

TEST_F(ClueEditorTest, okAfterOkWithOptionOne_showsEveryEntryInListOrder) {
    WriteBytes(clueFolder() / "HO.CLU", "HOUSE\r\nA dwelling\r\nHOSE\r\nGarden pipe\r\n");
    for (int i = 0; i < 5; ++i) dialog.script.push_back(Ok());

    EXPECT_FALSE(Walk());

    EXPECT_EQ(dialog.ShownAnswers(), (std::vector<std::u16string>{u"HOUSE", u"TREE", u"HOSE", u"OTTER", u"SEA"}));
    const auto before = CluesOf(clues);
    for (std::size_t i = 0; i < dialog.shown.size(); ++i) {
        const ClueManagerRequest& request = dialog.shown[i];
        EXPECT_EQ(request.prompt, u"Key in or select a clue for the word " + request.answer);
        EXPECT_EQ(request.currentClue, before[i]);
        EXPECT_EQ(request.advanceOption, kAdvanceNextWord);
        EXPECT_FALSE(request.doNotUse);
        EXPECT_FALSE(request.wasDeleted);
    }
    // Every dialog reads the clue folder of the word list.
    EXPECT_EQ(dialog.shownClues[0], std::vector<std::u16string>{u"A dwelling"});
    EXPECT_EQ(dialog.shownClues[2], std::vector<std::u16string>{u"Garden pipe"});
    EXPECT_TRUE(dialog.shownClues[1].empty());
    EXPECT_EQ(document.changes, 0);
}

TEST_F(ClueEditorTest, nextCluelessWord_passesOverEntriesWithRealClues_andNeverWraps) {
    clues[0].clue = Placeholder(u"HOUSE");  // before the start: never revisited
    dialog.script = {Ok(u"", kAdvanceNextClueless), Ok(u"Garden pipe", kAdvanceNextClueless),
                     Ok(u"", kAdvanceNextClueless)};

    EXPECT_TRUE(Walk(u"TREE", kAdvanceNextWord));

    // TREE is the start; HOSE and OTTER have placeholders; SEA is passed over.
    EXPECT_EQ(dialog.ShownAnswers(), (std::vector<std::u16string>{u"TREE", u"HOSE", u"OTTER"}));
    EXPECT_EQ(dialog.shown[1].advanceOption, kAdvanceNextClueless);
    EXPECT_EQ(CluesOf(clues), (std::vector<std::u16string>{Placeholder(u"HOUSE"), u"Oak or elm", u"Garden pipe",
                                                           Placeholder(u"OTTER"), u"Ocean"}));
}

TEST_F(ClueEditorTest, lastEntryWithOptionOne_endsTheWalk) {
    dialog.script = {Ok(u"", kAdvanceNextWord)};
    EXPECT_FALSE(Walk(u"SEA", kAdvanceNextWord));
    EXPECT_EQ(dialog.ShownAnswers(), std::vector<std::u16string>{u"SEA"});
}

TEST_F(ClueEditorTest, cancel_endsTheWalk_keepsEarlierClues_leavesThatEntryUnchanged) {
    dialog.script = {Ok(u"a dwelling"), Cancel()};
    EXPECT_TRUE(Walk());
    EXPECT_EQ(dialog.ShownAnswers(), (std::vector<std::u16string>{u"HOUSE", u"TREE"}));
    EXPECT_EQ(clues[0].clue, u"A dwelling");
    EXPECT_EQ(clues[1].clue, u"Oak or elm");
    EXPECT_EQ(document.changes, 1);
}

TEST_F(ClueEditorTest, exitOption_endsTheWalkAfterThatEntry) {
    dialog.script = {Ok(u"Shelter", kAdvanceExit, /*doNotUse=*/true)};
    EXPECT_TRUE(Walk(u"HOUSE", kAdvanceExit));
    EXPECT_EQ(dialog.ShownAnswers(), std::vector<std::u16string>{u"HOUSE"});
    EXPECT_EQ(dialog.shown[0].advanceOption, kAdvanceExit);
    EXPECT_EQ(clues[0].clue, u"Shelter");
    EXPECT_EQ(document.added, std::vector<std::u16string>{u"HOUSE"}) << "the box acts on the last entry too";
}

TEST_F(ClueEditorTest, startWordAndOption_chooseTheFirstDialog) {
    struct Case {
        const char16_t* start;
        int option;
        const char16_t* firstShown;  // nullptr: nothing shown
        int shownOption;
    };
    const Case cases[] = {
        {u"HOSE", kAdvanceAutomatic, u"HOSE", kAdvanceNextClueless},     // placeholder: clueless words
        {u"TREE", kAdvanceAutomatic, u"TREE", kAdvanceNextWord},         // real clue: every word
        {u"TREE", kAdvanceNextClueless, u"HOSE", kAdvanceNextClueless},  // option 2 passes over the start
        {u"SEA", kAdvanceNextClueless, nullptr, 0},                      // ... and nothing follows it
        {u"OTTER", kAdvanceExit, u"OTTER", kAdvanceExit},
        {u"HOUSES", kAdvanceNextWord, nullptr, 0},             // no such entry
        {u"house", kAdvanceAutomatic, nullptr, 0},             // answers compare exactly
        {u"", kAdvanceAutomatic, u"HOUSE", kAdvanceNextWord},  // chosen at the first entry
        {u"OTTER", 7, u"OTTER", kAdvanceNextClueless},         // out of range: automatic
        {u"TREE", -1, u"TREE", kAdvanceNextWord},
    };
    for (const Case& c : cases) {
        ScriptedClueManager scripted;
        scripted.script = {Cancel()};
        std::vector<ClueEntry> entries = clues;
        EditClues(entries, PathToU16(data.path()), 1, document, scripted, c.start, c.option);
        const std::string label = Utf8FromUtf16(c.start) + " " + std::to_string(c.option);
        if (c.firstShown == nullptr) {
            EXPECT_TRUE(scripted.shown.empty()) << label;
            continue;
        }
        ASSERT_EQ(scripted.shown.size(), 1u) << label;
        EXPECT_EQ(scripted.shown[0].answer, c.firstShown) << label;
        EXPECT_EQ(scripted.shown[0].advanceOption, c.shownOption) << label;
    }
}

TEST_F(ClueEditorTest, startWordOfTwoEntries_startsAtTheFirst) {
    clues[3].answer = u"TREE";
    dialog.script = {Ok(u"", kAdvanceNextWord), Cancel()};
    Walk(u"TREE", kAdvanceNextWord);
    EXPECT_EQ(dialog.ShownAnswers(), (std::vector<std::u16string>{u"TREE", u"HOSE"}));
}

TEST_F(ClueEditorTest, typedClue_isTrimmedCapitalised_andAddedToBothFolders) {
    WriteBytes(clueFolder() / "HO.CLU", "HOSE\r\nGarden pipe\r\n");
    dialog.script = {Ok(u"  a dwelling  ", kAdvanceExit)};

    EXPECT_TRUE(Walk());

    EXPECT_EQ(clues[0].clue, u"A dwelling");
    EXPECT_EQ(ReadBytes(clueFolder() / "HO.CLU"), "HOSE\r\nGarden pipe\r\nHOUSE\r\nA dwelling\r\n");
    EXPECT_EQ(ReadBytes(newClueFolder() / "HO.CLU"), "HOUSE\r\nA dwelling\r\n");
    EXPECT_EQ(document.changes, 1);
}

TEST_F(ClueEditorTest, clueTheClueFolderRefuses_isSetButAddedToNeitherFolder) {
    const std::string stored = "HOUSE\r\nA dwelling\r\nHOUSE\r\nA home\r\n";
    WriteBytes(clueFolder() / "HO.CLU", stored);
    // A stored clue picked from the list (the duplicate check refuses it),
    // and a clue equal to the answer.
    dialog.script = {Ok(u"A dwelling", kAdvanceNextWord), Ok(u"TREE", kAdvanceExit)};

    EXPECT_TRUE(Walk());

    EXPECT_EQ(clues[0].clue, u"A dwelling");
    EXPECT_EQ(clues[1].clue, u"TREE");
    EXPECT_EQ(ReadBytes(clueFolder() / "HO.CLU"), stored);
    EXPECT_FALSE(std::filesystem::exists(clueFolder() / "TR.CLU"));
    EXPECT_TRUE(std::filesystem::is_empty(newClueFolder())) << "only what the clue folder took is copied";
    EXPECT_EQ(document.changes, 2);
}

TEST_F(ClueEditorTest, missingFolders_clueIsStillSet) {
    std::filesystem::remove_all(clueFolder());
    std::filesystem::remove_all(newClueFolder());
    dialog.script = {Ok(u"Shelter", kAdvanceExit)};
    EXPECT_TRUE(Walk());
    EXPECT_EQ(clues[0].clue, u"Shelter");
    EXPECT_FALSE(std::filesystem::exists(newClueFolder()));
}

TEST_F(ClueEditorTest, wordListId_choosesTheFolders_outsideOneToFourActsAsFive) {
    for (const auto& [id, digit] : {std::pair{3, 3}, {4, 4}, {5, 5}, {0, 5}, {9, 5}, {-2, 5}}) {
        std::filesystem::create_directories(clueFolder(digit));
        std::filesystem::create_directories(newClueFolder(digit));
        ScriptedClueManager scripted;
        const std::u16string clue = u"Clue of list " + Widen(std::to_string(id));
        scripted.script = {Ok(clue, kAdvanceExit)};
        EditClues(clues, PathToU16(data.path()), id, document, scripted, u"", kAdvanceNextWord);
        const std::string pair = "HOUSE\r\n" + Narrow(clue) + "\r\n";
        EXPECT_NE(ReadBytes(clueFolder(digit) / "HO.CLU").find(pair), std::string::npos) << id;
        EXPECT_NE(ReadBytes(newClueFolder(digit) / "HO.CLU").find(pair), std::string::npos) << id;
    }
    EXPECT_FALSE(std::filesystem::exists(clueFolder() / "HO.CLU"));
}

TEST_F(ClueEditorTest, blankText_leavesTheClue_butTheBoxAndOptionStillAct) {
    for (const char16_t* blank : {u"", u"   ", u"\t \r\n ", u"\u00a0\u3000"}) {
        FakeDocument fresh;
        ScriptedClueManager scripted;
        scripted.script = {Ok(blank, kAdvanceNextClueless, /*doNotUse=*/true), Ok(u"", kAdvanceExit)};
        std::vector<ClueEntry> entries = clues;
        EXPECT_FALSE(EditClues(entries, PathToU16(data.path()), 1, fresh, scripted, u"", kAdvanceNextWord));
        EXPECT_EQ(CluesOf(entries), CluesOf(clues));
        EXPECT_EQ(fresh.added, std::vector<std::u16string>{u"HOUSE"});
        // Option 2 took effect: TREE was passed over.
        EXPECT_EQ(scripted.ShownAnswers(), (std::vector<std::u16string>{u"HOUSE", u"HOSE"}));
        EXPECT_EQ(fresh.changes, 0);
    }
    EXPECT_TRUE(std::filesystem::is_empty(clueFolder()));
    EXPECT_TRUE(std::filesystem::is_empty(newClueFolder()));
}

TEST_F(ClueEditorTest, doNotUseBox_addsANewlyTickedWordOnce) {
    document.deleted = {u"TREE"};
    dialog.script = {
        Ok(u"", kAdvanceNextWord, /*doNotUse=*/true),   // HOUSE: newly ticked
        OkKeepingBox(u"", kAdvanceNextWord),            // TREE: deleted already, box left ticked
        Ok(u"", kAdvanceNextWord, /*doNotUse=*/false),  // HOSE: not ticked
        Cancel(),                                       // OTTER: whatever the box, Cancel adds nothing
    };

    Walk();

    ASSERT_EQ(dialog.shown.size(), 4u);
    EXPECT_FALSE(dialog.shown[0].wasDeleted);
    EXPECT_TRUE(dialog.shown[1].wasDeleted);
    EXPECT_TRUE(dialog.shown[1].doNotUse) << "a deleted word shows the box ticked";
    EXPECT_FALSE(dialog.shown[2].doNotUse);
    EXPECT_EQ(document.added, std::vector<std::u16string>{u"HOUSE"});
}

TEST_F(ClueEditorTest, wordDeletedEarlierInTheWalk_showsTheBoxTickedWhenItComesAgain) {
    clues[4].answer = u"HOUSE";
    dialog.script = {Ok(u"", kAdvanceNextWord, true), Ok(), Ok(), Ok(), OkKeepingBox(u"", kAdvanceNextWord)};
    Walk();
    ASSERT_EQ(dialog.shown.size(), 5u);
    EXPECT_TRUE(dialog.shown[4].wasDeleted);
    EXPECT_EQ(document.added, std::vector<std::u16string>{u"HOUSE"});
}

TEST_F(ClueEditorTest, dialogThatReturnsAnUnknownOption_keepsTheOptionItShowed) {
    dialog.script = {Ok(u"", kAdvanceNextClueless), Ok(u"", 0), Ok(u"", 42), Ok(u"", kAdvanceNextWord)};
    Walk();
    // After 2, the unknown answers keep 2: HOSE and OTTER, then the list ends.
    EXPECT_EQ(dialog.ShownAnswers(), (std::vector<std::u16string>{u"HOUSE", u"HOSE", u"OTTER"}));
    dialog.script.clear();
}

TEST_F(ClueEditorTest, listEmptiedWhileADialogRuns_endsTheWalkSafely) {
    dialog.script = {[this](const ClueManagerRequest&) {
        clues.clear();
        return std::optional<ClueManagerResult>(ClueManagerResult{u"Late", false, kAdvanceNextWord});
    }};
    EXPECT_FALSE(Walk());
    EXPECT_TRUE(clues.empty());
}

TEST_F(ClueEditorTest, emptyList_showsNothing) {
    clues.clear();
    EXPECT_FALSE(Walk());
    EXPECT_FALSE(Walk(u"HOUSE", kAdvanceAutomatic));
    EXPECT_TRUE(dialog.shown.empty());
}

// --- the dialog's decisions --------------------------------------------------

TEST_F(ClueEditorTest, storedClueList_fileOrder_firstEqualItemSelected) {
    WriteBytes(clueFolder() / "HO.CLU",
               "HOUSE\r\nA dwelling\r\nHOSE\r\nGarden pipe\r\nHOUSE\r\nA home\r\nHOUSES\r\nHomes\r\n"
               "HOUSE\r\nA home\r\nHOUSE\r\nTO DO clue for: HOUSE\r\n");
    ClueDatabase database(clueFolder() / "");
    struct Case {
        const char16_t* currentClue;
        int selection;
    };
    const Case cases[] = {
        {u"A home", 1},  // the first of two equal items
        {u"A dwelling", 0},
        {u"a home", -1},                 // exact compare
        {u"Shelter", -1},                // not stored
        {u"TO DO clue for: HOUSE", -1},  // a placeholder selects nothing, even when stored
        {u"", -1},
    };
    for (const Case& c : cases) {
        const StoredClueList list = OpenStoredClueList(&database, u"HOUSE", c.currentClue);
        EXPECT_EQ(list.items,
                  (std::vector<std::u16string>{u"A dwelling", u"A home", u"A home", u"TO DO clue for: HOUSE"}));
        EXPECT_EQ(list.selection, c.selection) << Utf8FromUtf16(c.currentClue);
    }
    EXPECT_TRUE(OpenStoredClueList(&database, u"TREE", u"x").items.empty());
    EXPECT_TRUE(OpenStoredClueList(nullptr, u"HOUSE", u"A home").items.empty());
    EXPECT_EQ(OpenStoredClueList(nullptr, u"HOUSE", u"A home").selection, -1);
}

TEST_F(ClueEditorTest, deleteStoredClue_removesItFromListAndClueFolder_selectsTheFirstLeft) {
    WriteBytes(clueFolder() / "HO.CLU", "HOUSE\r\nA dwelling\r\nHOSE\r\nGarden pipe\r\nHOUSE\r\nA home\r\n");
    WriteBytes(newClueFolder() / "HO.CLU", "HOUSE\r\nA home\r\n");
    ClueDatabase database(clueFolder() / "");

    StoredClueList list = OpenStoredClueList(&database, u"HOUSE", u"A home");
    ASSERT_EQ(list.selection, 1);
    EXPECT_TRUE(DeleteSelectedClue(list, &database, u"HOUSE"));
    EXPECT_EQ(list.items, std::vector<std::u16string>{u"A dwelling"});
    EXPECT_EQ(list.selection, 0);
    EXPECT_EQ(ReadBytes(clueFolder() / "HO.CLU"), "HOUSE\r\nA dwelling\r\nHOSE\r\nGarden pipe\r\n");
    EXPECT_EQ(ReadBytes(newClueFolder() / "HO.CLU"), "HOUSE\r\nA home\r\n") << "the new-clue folder is not touched";

    EXPECT_TRUE(DeleteSelectedClue(list, &database, u"HOUSE"));
    EXPECT_TRUE(list.items.empty());
    EXPECT_EQ(list.selection, -1);
    EXPECT_EQ(ReadBytes(clueFolder() / "HO.CLU"), "HOSE\r\nGarden pipe\r\n");

    // Nothing selected (or a stale index): nothing happens.
    WriteBytes(clueFolder() / "HO.CLU", "HOUSE\r\nA dwelling\r\n");
    for (int selection : {-1, 1, 7}) {
        StoredClueList unselected{{u"A dwelling"}, selection};
        EXPECT_FALSE(DeleteSelectedClue(unselected, &database, u"HOUSE")) << selection;
        EXPECT_EQ(unselected.items.size(), 1u);
        EXPECT_EQ(unselected.selection, selection);
    }
    EXPECT_EQ(ReadBytes(clueFolder() / "HO.CLU"), "HOUSE\r\nA dwelling\r\n");
}

TEST_F(ClueEditorTest, deleteStoredClueThatCannotBeRewritten_keepsItListedAndStored) {
    const std::string stored = "HOUSE\r\nA dwelling\r\nHOUSE\r\nA home\r\n";
    for (FailStep step : {FailStep::Create, FailStep::Write, FailStep::Sync, FailStep::Rename}) {
        SCOPED_TRACE(static_cast<int>(step));
        WriteBytes(clueFolder() / "HO.CLU", stored);
        FailingFileSystem failing(step, ENOSPC);
        ClueDatabase database(clueFolder() / "", failing);
        StoredClueList list = OpenStoredClueList(&database, u"HOUSE", u"A home");
        ASSERT_EQ(list.selection, 1);

        EXPECT_FALSE(DeleteSelectedClue(list, &database, u"HOUSE"));
        EXPECT_EQ(list.items, (std::vector<std::u16string>{u"A dwelling", u"A home"}));
        EXPECT_EQ(list.selection, 1);
        EXPECT_EQ(ReadBytes(clueFolder() / "HO.CLU"), stored);
        EXPECT_FALSE(database.LastWriteResult().message.empty());
    }
}

TEST_F(ClueEditorTest, deleteDuringTheWalk_neverChangesTheEntrysClue) {
    WriteBytes(clueFolder() / "HO.CLU", "HOUSE\r\nA home\r\nHOUSE\r\nA dwelling\r\n");
    std::vector<std::u16string> afterDelete;
    dialog.script = {[&](const ClueManagerRequest& request) {
        StoredClueList list = OpenStoredClueList(request.clueDatabase, request.answer, request.currentClue);
        EXPECT_EQ(list.selection, 0);
        DeleteSelectedClue(list, request.clueDatabase, request.answer);
        afterDelete = OpenStoredClueList(request.clueDatabase, request.answer, u"").items;
        return std::optional<ClueManagerResult>(ClueManagerResult{u"", false, kAdvanceExit});
    }};
    EXPECT_FALSE(Walk());
    EXPECT_EQ(afterDelete, std::vector<std::u16string>{u"A dwelling"});
    EXPECT_EQ(clues[0].clue, u"A home");
}

TEST(ClueEditorText, confirmedClueText) {
    const std::pair<const char16_t*, const char16_t*> cases[] = {
        {u"  a dwelling  ", u"A dwelling"},
        {u"a", u"A"},
        {u"\t\u00a0oak or elm\r\n", u"Oak or elm"},
        {u"\u00e9t\u00e9", u"\u00c9t\u00e9"},  // Latin-1 letters are upper-cased
        {u"\u00dfig", u"\u00dfig"},            // ... but not those whose capital lies outside
        {u"\u03b1 letter", u"\u03b1 letter"},  // nor anything beyond Latin-1
        {u"2 down", u"2 down"},
        {u"two\r\nlines", u"Two lines"},  // one line, as everywhere a clue is written
        {u"a\n\n\nb\rc", u"A b c"},
        {u"", u""},
        {u" \t\v\f\r\n ", u""},
    };
    for (auto [typed, expected] : cases) EXPECT_EQ(ConfirmedClueText(typed), expected) << Utf8FromUtf16(typed);
}

TEST(ClueEditorText, promptCopyTextPlaceholderAndFolders) {
    EXPECT_EQ(ClueManagerPrompt(u"HOUSE"), u"Key in or select a clue for the word HOUSE");
    EXPECT_EQ(CopyWordText(u"HOUSE"), u"HOUSE definition");

    EXPECT_TRUE(IsPlaceholderClue(u"TO DO clue for: HOUSE"));
    EXPECT_TRUE(IsPlaceholderClue(u"TO DO clue for:"));
    EXPECT_FALSE(IsPlaceholderClue(u"TO DO clue for"));
    EXPECT_FALSE(IsPlaceholderClue(u"To do clue for: HOUSE"));
    EXPECT_FALSE(IsPlaceholderClue(u" TO DO clue for: HOUSE"));

    for (auto [id, name] : {std::pair{1, "NEWCLUES1"},
                            {2, "NEWCLUES2"},
                            {4, "NEWCLUES4"},
                            {5, "NEWCLUES5"},
                            {0, "NEWCLUES5"},
                            {-1, "NEWCLUES5"},
                            {6, "NEWCLUES5"}}) {
        EXPECT_EQ(NewClueFolderName(id), name) << id;
    }
    for (auto [option, shown] : {std::pair{1, 1}, {2, 2}, {3, 3}, {0, 3}, {-5, 3}, {9, 3}}) {
        EXPECT_EQ(ShownAdvanceOption(option), shown) << option;
    }
}

}  // namespace
}  // namespace korvo
