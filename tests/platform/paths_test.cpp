#include "platform/paths.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "support/temp_folder.h"

namespace korvo {
namespace {

namespace fs = std::filesystem;
using testsupport::TempFolder;
using testsupport::WriteFileForTest;

EnvironmentLookup FakeEnvironment(std::map<std::string, std::string> values) {
    return [values = std::move(values)](const char* name) -> std::optional<std::string> {
        auto it = values.find(name);
        if (it == values.end()) return std::nullopt;
        return it->second;
    };
}

TEST(ParseDocumentsDir, userDirsLines_giveTheDocumentsFolderOrNothing) {
    const fs::path home = "/home/ada";
    struct Case {
        const char* text;
        std::optional<fs::path> expected;
    };
    const std::vector<Case> cases{
        {"XDG_DOCUMENTS_DIR=\"$HOME/Documents\"\n", fs::path("/home/ada/Documents")},
        {"XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"", fs::path("/home/ada/Dokumente")},
        {"XDG_DOCUMENTS_DIR=\"/srv/docs/\"\n", fs::path("/srv/docs")},
        {"XDG_DOCUMENTS_DIR=\"$HOME\"\n", home},
        {"XDG_DOCUMENTS_DIR=\"$HOME/\"\n", home},
        {"  XDG_DOCUMENTS_DIR = \"$HOME/My Files\"\r\n", fs::path("/home/ada/My Files")},
        {"XDG_DOCUMENTS_DIR=\"$HOME/a\\\"b\\\\c\"\n", fs::path("/home/ada/a\"b\\c")},
        {"XDG_DESKTOP_DIR=\"$HOME/Desktop\"\nXDG_DOCUMENTS_DIR=\"$HOME/D\"\nXDG_MUSIC_DIR=\"$HOME/M\"\n",
         fs::path("/home/ada/D")},
        {"XDG_DOCUMENTS_DIR=\"$HOME/first\"\nXDG_DOCUMENTS_DIR=\"$HOME/second\"\n", fs::path("/home/ada/second")},
        {"XDG_DOCUMENTS_DIR=\"$HOME/good\"\nXDG_DOCUMENTS_DIR=\"relative\"\n", fs::path("/home/ada/good")},
        // Entries that name no usable folder.
        {"XDG_DOCUMENTS_DIR=\"Documents\"\n", std::nullopt},
        {"XDG_DOCUMENTS_DIR=$HOME/Documents\n", std::nullopt},
        {"XDG_DOCUMENTS_DIR=\"$HOMEWORK/x\"\n", std::nullopt},
        {"# XDG_DOCUMENTS_DIR=\"$HOME/Documents\"\n", std::nullopt},
        {"XDG_DOCUMENTS_DIRECTORY=\"$HOME/x\"\n", std::nullopt},
        {"XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n", std::nullopt},
        {"", std::nullopt},
        {"XDG_DOCUMENTS_DIR=\"", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseDocumentsDir(c.text, home), c.expected) << c.text;
    }
}

TEST(DocumentsFolder, findsUserDirsUnderHomeOrXdgConfigHome) {
    TempFolder home;
    const std::string h = home.path().string();

    // No user-dirs.dirs: the usual Documents folder.
    EXPECT_EQ(DocumentsFolder(FakeEnvironment({{"HOME", h}})), home.path() / "Documents");
    EXPECT_EQ(DataFolder(FakeEnvironment({{"HOME", h}})), home.path() / "Documents" / "TolvaneCWBuilder");

    WriteFileForTest(home.path() / ".config" / "user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"$HOME/Papiere\"\n");
    EXPECT_EQ(DocumentsFolder(FakeEnvironment({{"HOME", h}})), home.path() / "Papiere");

    WriteFileForTest(home.path() / "cfg" / "user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"$HOME/Other\"\n");
    EXPECT_EQ(DocumentsFolder(FakeEnvironment({{"HOME", h}, {"XDG_CONFIG_HOME", h + "/cfg"}})), home.path() / "Other");
    EXPECT_EQ(DocumentsFolder(FakeEnvironment({{"HOME", h}, {"XDG_CONFIG_HOME", "cfg"}})), home.path() / "Papiere")
        << "a relative XDG_CONFIG_HOME is ignored";

    // A file without a usable entry falls back to Documents.
    WriteFileForTest(home.path() / ".config" / "user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"nowhere\"\n");
    EXPECT_EQ(DocumentsFolder(FakeEnvironment({{"HOME", h}})), home.path() / "Documents");
}

TEST(DocumentsFolder, withoutUsableHome_usesTheAccountsHomeFolder) {
    for (const auto& env : {FakeEnvironment({}), FakeEnvironment({{"HOME", ""}}), FakeEnvironment({{"HOME", "rel"}})}) {
        const std::optional<fs::path> home = HomeFolder(env);
        if (!home) continue;  // an account without a home folder
        EXPECT_TRUE(home->is_absolute());
        EXPECT_EQ(DocumentsFolder(env)->parent_path(), *home);
    }
}

TEST(DataFolder, followsHomeOfTheProcessEnvironment) {
    testsupport::ScopedHome home;
    EXPECT_EQ(DataFolder(), home.home() / "Documents" / "TolvaneCWBuilder");
}

TEST(ExecutableFolder, isTheFolderOfTheTestProgram) {
    const std::optional<fs::path> folder = ExecutableFolder();
    ASSERT_TRUE(folder);
    EXPECT_EQ(fs::canonical(*folder), fs::canonical(KORVO_BIN_DIR));
}

TEST(ShippedFilePath, theProgramsFolderComesFirstThenThePrefixShareFolder) {
    // A prefix laid out as an installation: <prefix>/bin and <prefix>/share/korvo.
    struct Case {
        const char* name;
        bool beside;           // the file lies in bin/
        bool shared;           // the file lies in share/korvo/
        const char* expected;  // relative to the prefix
    };
    const Case cases[] = {
        {"neither: the path beside is named", false, false, "bin/help/index.html"},
        {"only the share folder", false, true, "share/korvo/help/index.html"},
        {"only beside", true, false, "bin/help/index.html"},
        {"both: beside wins", true, true, "bin/help/index.html"},
    };
    for (const Case& c : cases) {
        TempFolder prefix;
        fs::create_directories(prefix.path() / "bin");
        if (c.beside) WriteFileForTest(prefix.path() / "bin/help/index.html", "b");
        if (c.shared) WriteFileForTest(prefix.path() / "share/korvo/help/index.html", "s");
        EXPECT_EQ(ShippedFilePath("help/index.html", prefix.path() / "bin"), prefix.path() / c.expected) << c.name;
    }
}

TEST(ShippedFilePath, aProgramFolderGivenWithDotsOrATrailingSlashFindsTheSameShareFolder) {
    TempFolder prefix;
    WriteFileForTest(prefix.path() / "share/korvo/data1.bin", "x");
    fs::create_directories(prefix.path() / "bin");
    const fs::path expected = prefix.path() / "share/korvo/data1.bin";
    EXPECT_EQ(ShippedFilePath("data1.bin", prefix.path() / "bin/"), expected);
    EXPECT_EQ(ShippedFilePath("data1.bin", prefix.path() / "bin/../bin"), expected);
}

TEST(ShippedFilePath, anUnknownProgramFolderSearchesNothingAndGivesTheBareName) {
    EXPECT_TRUE(ShippedFolders(std::nullopt).empty());
    EXPECT_TRUE(ShippedFolders(fs::path()).empty());
    EXPECT_EQ(ShippedFilePath("data1.bin", std::nullopt), fs::path("data1.bin"));
}

TEST(ShippedFilePath, theRunningProgramFindsTheBuildsDataBesideItself) {
    EXPECT_EQ(fs::canonical(ShippedFilePath("data1.bin").parent_path()), fs::canonical(KORVO_BIN_DIR));
}

TEST(PathConversion, wideStringsRoundTripThroughUtf8Paths) {
    const std::u16string wide = u"/home/\u00E5sa/Dokument\u00E9/\u00A9 \u4E2D\U0001F600";
    const fs::path path = PathFromU16(wide);
    EXPECT_EQ(path.native(), "/home/\xC3\xA5sa/Dokument\xC3\xA9/\xC2\xA9 \xE4\xB8\xAD\xF0\x9F\x98\x80");
    EXPECT_EQ(PathToU16(path), wide);
}

TEST(JoinPath, putsExactlyOneSlashBetween) {
    EXPECT_EQ(JoinPath(u"/data", u"CLUES1"), u"/data/CLUES1");
    EXPECT_EQ(JoinPath(u"/data/", u"CLUES1"), u"/data/CLUES1");
    EXPECT_EQ(JoinPath(u"/data", u"/pdata.bin"), u"/data/pdata.bin");
    EXPECT_EQ(JoinPath(u"", u"HO.CLU"), u"HO.CLU");
    EXPECT_EQ(JoinPath(JoinPath(u"/d", u"NEWCLUES1"), u"HO.CLU"), u"/d/NEWCLUES1/HO.CLU");
}

}  // namespace
}  // namespace korvo
