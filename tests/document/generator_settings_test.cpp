// Loading the word list, the generating mode's engine parameters and the
// deleted words.
#include <gtest/gtest.h>

#include "document/document_fixture.h"
#include "engine/fill_engine.h"

namespace korvo::testsupport {
namespace {

namespace fs = std::filesystem;

struct EngineParameters {
    int backJumpPeriod, lookAheadDistance, lookAheadDepth;
    friend bool operator==(const EngineParameters&, const EngineParameters&) = default;
};

EngineParameters ParametersOf(const FillEngine& engine) {
    return {engine.backJumpPeriod, engine.lookAheadDistance, engine.lookAheadDepth};
}
EngineParameters ParametersOf(int mode) {
    const ModeParameters p = ParametersForMode(mode);
    return {p.backJumpPeriod, p.lookAheadDistance, p.lookAheadDepth};
}

class GeneratorSettingsTest : public DocumentTest {
protected:
    void SetUp() override {
        PrepareInstalledDataFolder();
        doc = MakeDocument();
        ASSERT_TRUE(doc->OnNewDocument());
    }
    std::unique_ptr<CkorvoDoc> doc;
};

TEST_F(GeneratorSettingsTest, newPuzzle_getsSelectedModesParametersNotConstructionValues) {
    // Mode 1 is applied by the first new document; its values differ from
    // the engine's construction values (750, 15, 2).
    EXPECT_EQ(ParametersOf(*doc->cwData->engine), ParametersOf(1));
    EXPECT_EQ(doc->appliedMode, 1);

    doc->SetGeneratorOptions(4, 1);
    ASSERT_TRUE(doc->OnNewDocument());  // mode unchanged, new engine
    EXPECT_EQ(ParametersOf(*doc->cwData->engine), ParametersOf(4));
    ASSERT_TRUE(doc->OnNewDocument());  // again: the new engine may sit where the old one was
    EXPECT_EQ(ParametersOf(*doc->cwData->engine), ParametersOf(4));
}

TEST_F(GeneratorSettingsTest, sameWordListAgain_doesNotReloadOrReshuffle) {
    const std::string before = StoreSnapshot(*doc->wordStore);
    WriteWordList(1, {"NEW", "WORDS"});  // a reload would show
    doc->SetGeneratorOptions(1, 1);
    doc->ApplyGeneratorSettings();
    EXPECT_EQ(StoreSnapshot(*doc->wordStore), before);
}

TEST_F(GeneratorSettingsTest, differentWordList_emptiesAndRefillsStoreWithoutTouchingMode) {
    doc->cwData->engine->lookAheadDistance = 99;  // marks whether the mode is set again
    doc->SetGeneratorOptions(1, 2);
    EXPECT_EQ(doc->loadedWordListId, 2);
    EXPECT_EQ(doc->cwData->wordListId, 2);
    EXPECT_EQ(doc->wordStore->CountWords(), ListTwo().size());
    EXPECT_TRUE(StoreHas(*doc->wordStore, "ROSE"));
    EXPECT_FALSE(StoreHas(*doc->wordStore, "CAT"));
    EXPECT_EQ(doc->cwData->engine->lookAheadDistance, 99);
}

TEST_F(GeneratorSettingsTest, modeOnlyChange_setsParametersWithoutTouchingStore) {
    const std::string before = StoreSnapshot(*doc->wordStore);
    for (int mode : {2, 3, 4, 1}) {
        doc->SetGeneratorOptions(mode, 1);
        EXPECT_EQ(doc->appliedMode, mode);
        EXPECT_EQ(ParametersOf(*doc->cwData->engine), ParametersOf(mode)) << mode;
    }
    EXPECT_EQ(StoreSnapshot(*doc->wordStore), before);
}

TEST_F(GeneratorSettingsTest, okWithoutChange_setsNoParameters) {
    doc->cwData->engine->lookAheadDistance = 99;
    doc->SetGeneratorOptions(doc->generatingMode, doc->wordListId);
    EXPECT_EQ(doc->cwData->engine->lookAheadDistance, 99);
}

TEST_F(GeneratorSettingsTest, everyApplyShowsAndEndsTheWaitCursor) {
    const int begins = host.waitBegins;
    doc->SetGeneratorOptions(2, 2);
    EXPECT_EQ(host.waitBegins, begins + 1);
    EXPECT_EQ(host.waitDepth, 0);
}

// ---- deleted words

TEST_F(DocumentTest, deletedWordsFile_removesItsWordsWhenAListLoads) {
    PrepareInstalledDataFolder();
    // Lines are upper-cased; CR LF and bare LF both end a line; empty lines
    // and words the list lacks do nothing.
    WriteFileForTest(DataFile("delwords.txt"), "cat\r\n\r\nDog\nXYZZY\r\nelk");
    auto doc = MakeDocument();
    ASSERT_TRUE(doc->OnNewDocument());
    EXPECT_FALSE(StoreHas(*doc->wordStore, "CAT"));
    EXPECT_FALSE(StoreHas(*doc->wordStore, "DOG"));
    EXPECT_FALSE(StoreHas(*doc->wordStore, "ELK"));
    EXPECT_TRUE(StoreHas(*doc->wordStore, "EMU"));
    EXPECT_EQ(doc->wordStore->CountWords(), ListOne().size() - 3);

    EXPECT_TRUE(doc->IsDeletedWord(u"CAT"));
    EXPECT_TRUE(doc->IsDeletedWord(u"DOG"));
    EXPECT_TRUE(doc->IsDeletedWord(u"ELK"));
    EXPECT_FALSE(doc->IsDeletedWord(u"cat"));  // compared with the upper-cased line as given
    EXPECT_FALSE(doc->IsDeletedWord(u"CA"));
    EXPECT_FALSE(doc->IsDeletedWord(u""));
}

TEST_F(DocumentTest, noDeletedWordsFile_removesNothing) {
    PrepareInstalledDataFolder();
    auto doc = MakeDocument();
    ASSERT_TRUE(doc->OnNewDocument());
    EXPECT_EQ(doc->wordStore->CountWords(), ListOne().size());
    EXPECT_FALSE(doc->IsDeletedWord(u"CAT"));
}

TEST_F(DocumentTest, addDeletedWord_appendsLineAndRemovesWord) {
    PrepareInstalledDataFolder();
    auto doc = MakeDocument();
    ASSERT_TRUE(doc->OnNewDocument());
    doc->AddDeletedWord(u"OWL");
    doc->AddDeletedWord(u"YAK");
    EXPECT_EQ(ReadFileForTest(DataFile("delwords.txt")), "OWL\r\nYAK\r\n");
    EXPECT_FALSE(StoreHas(*doc->wordStore, "OWL"));
    EXPECT_FALSE(StoreHas(*doc->wordStore, "YAK"));
    EXPECT_TRUE(doc->IsDeletedWord(u"YAK"));
    EXPECT_EQ(doc->wordStore->CountWords(), ListOne().size() - 2);
}

TEST_F(DocumentTest, addDeletedWord_emptyOrMultiLineWordWritesAndRemovesNothing) {
    PrepareInstalledDataFolder();
    auto doc = MakeDocument();
    ASSERT_TRUE(doc->OnNewDocument());
    const std::string before = StoreSnapshot(*doc->wordStore);
    doc->AddDeletedWord(u"");
    doc->AddDeletedWord(u"CAT\r\nDOG");
    EXPECT_FALSE(fs::exists(DataFile("delwords.txt")));
    EXPECT_EQ(StoreSnapshot(*doc->wordStore), before);
}

TEST_F(DocumentTest, addDeletedWord_failedAppendLeavesFileAsItWasAndShowsNothing) {
    PrepareInstalledDataFolder();
    WriteFileForTest(DataFile("delwords.txt"), "CAT\r\n");
    FailingFileSystem failing = FailingFileSystem::AfterBytes(2);
    auto doc = MakeDocument(&failing);
    ASSERT_TRUE(doc->OnNewDocument());
    doc->AddDeletedWord(u"BEAR");
    EXPECT_EQ(ReadFileForTest(DataFile("delwords.txt")), "CAT\r\n");
    EXPECT_TRUE(host.messages.empty());
    // The word is out of play for this session all the same.
    EXPECT_FALSE(StoreHas(*doc->wordStore, "BEAR"));
}

TEST_F(DocumentTest, deletedWordInUse_staysInStore) {
    PrepareInstalledDataFolder();
    auto doc = MakeDocument();
    ASSERT_TRUE(doc->OnNewDocument());
    WordBlock* head = doc->wordStore->buckets[4];
    ASSERT_NE(head, nullptr);
    int index = 0;
    doc->wordStore->ResetCursors();
    ASSERT_NE(FindNext(head, "WOLF", &index), nullptr);
    MarkUsed(head, index);
    doc->AddDeletedWord(u"WOLF");
    EXPECT_EQ(doc->wordStore->CountWords(4), 6u);
}

}  // namespace
}  // namespace korvo::testsupport
