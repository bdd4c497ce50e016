#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/cw_data.h"
#include "platform/file_writer.h"
#include "platform/host.h"
#include "platform/win_types.h"
#include "words/word_scores.h"
#include "words/word_store.h"

namespace korvo {

inline constexpr std::int32_t kProgramVersion = 60601;
inline constexpr std::int32_t kVersionWithoutField34 = 60303;

// Where a document finds its files. The window program and korvo-cli fill it
// from the desktop (documents folder, the executable's folder); tests point
// every path into a temporary folder.
struct DocumentEnvironment {
    std::filesystem::path dataFolder;     // the per-user data folder ("…/TolvaneCWBuilder")
    std::filesystem::path programFolder;  // where data1.bin … data5.bin and cdata1.bin … cdata5.bin lie
    FileSystemOps* fileSystem = nullptr;  // file layer for every write; null = the real file system
};

// The environment of the installed program: the data folder under the
// user's documents folder and the folder of the shipped data files
// (ShippedDataFolder). nullopt when the documents folder cannot be determined.
std::optional<DocumentEnvironment> DesktopEnvironment();

// The folder of the shipped word lists and clue sources: the executable's own
// folder when it holds data1.bin, else the installation's share folder when
// that does (see ShippedFolders), else the executable's folder; empty when
// that is unknown.
std::filesystem::path ShippedDataFolder();

// The printable page and the print margins of one printer, page units.
struct PageMetrics {
    std::int32_t pageWidth = 8000;
    std::int32_t pageHeight = 10500;
    std::int32_t printMarginLeft = 250, printMarginRight = 250, printMarginTop = 250, printMarginBottom = 250;
};

// The page of printer with the user margins (from the paper's edge): the
// printable area, and each margin measured from that area's edge. Without
// a printer that can be measured, the page of 8000 x 10500 with the print
// margins equal to the user margins.
PageMetrics PageMetricsFor(const std::optional<PrinterMetrics>& printer, std::int32_t marginLeft,
                           std::int32_t marginRight, std::int32_t marginTop, std::int32_t marginBottom);

// The single document: owns the word store and the current puzzle and holds
// every setting that outlives one puzzle. All operations run on the window
// thread; user-visible messages go through the Host.
class CkorvoDoc {
public:
    // Runs the start-up sequence: data folder, first-run setup when needed,
    // new-clue folders, word store, settings, fonts, page metrics.
    CkorvoDoc(Host& host, DocumentEnvironment environment);
    ~CkorvoDoc();
    CkorvoDoc(const CkorvoDoc&) = delete;
    CkorvoDoc& operator=(const CkorvoDoc&) = delete;

    // Lifecycle.
    bool OnNewDocument();
    void OnCloseDocument();  // writes the settings unless skipSettingsSave
    void ResetPuzzleTexts();
    void ComputePageMetrics();
    // Takes a page computed by PageMetricsFor (a printer's page at print time).
    void SetPageMetrics(const PageMetrics& page);
    void RunFirstRunSetup();
    std::int32_t ReadVersionFile() const;
    void WriteVersionFile();

    // Word list, deleted words and generator options.
    void ApplyGeneratorSettings();
    void ApplyDeletedWords();
    bool IsDeletedWord(const std::u16string& word) const;
    void AddDeletedWord(const std::u16string& word);
    // The Generator Settings dialog's OK: store both values and apply them.
    void SetGeneratorOptions(std::int32_t mode, std::int32_t wordList);

    // Settings file.
    bool LoadSettings();
    bool SaveSettings();
    // Asks, then deletes the settings file and stops it being written at close.
    void RestoreDefaultSettings();

    // Puzzle file. Saving writes a temporary file and renames it over the
    // target; a failure shows its message and changes nothing. Opening reads
    // the whole file first and replaces the current puzzle only on success.
    std::vector<std::uint8_t> EncodePuzzleFile() const;
    bool SavePuzzleFile(const std::filesystem::path& path);
    bool OpenPuzzleFile(const std::filesystem::path& path);

    // Commands handled by the document.
    void OnLoadSolution();      // "Load Solution..."
    void OnSavePuzzleAsText();  // "Save Puzzle As Text..."
    bool SavePuzzleAsText(const std::filesystem::path& path);
    void OnGridSize(std::int32_t size);  // the New Grid Size commands: 9, 11, 13, 15 or 21

    // The framework's document state.
    // A fill a run has published and no file holds yet counts as a change,
    // whether or not the window has reported the run's end.
    bool IsModified() const { return modified || (cwData && cwData->HasUnsavedFill()); }
    void SetModifiedFlag(bool value = true) {
        modified = value;
        if (!value && cwData) cwData->ClearUnsavedFill();
    }
    const std::filesystem::path& PathName() const { return pathName; }
    std::u16string Title() const;  // the file's name, or "Untitled"

    // Fields, in the documented order.
    std::int32_t pageWidth;                // printable page width, 0.001 inch
    std::int32_t pageHeight;               // printable page height, 0.001 inch
    std::unique_ptr<WordStore> wordStore;  // the loaded word list
    WordScores wordScores;                 // scores of the loaded list's words (none when its score file is missing)
    std::int32_t generatingMode;           // selected generating mode, 1..5
    std::int32_t appliedMode;              // mode last applied to an engine; 0 none yet
    std::int32_t wordListId;               // selected word list, 1..5
    std::int32_t loadedWordListId;         // word list loaded into wordStore; 0 none yet
    bool skipSettingsSave;                 // Restore Default Settings: do not write the settings at close
    std::int32_t solutionProbe;            // 1 while Load Solution reads its file, -1 after a failed read
    std::int32_t programVersion;           // this program's version, or the version read from a puzzle file
    std::unique_ptr<CCWData> cwData;       // the current puzzle
    bool gridViewShown;                    // true: grid view; false: puzzle view
    COLORREF gridColor;                    // grid colour
    COLORREF cluesColor;                   // clue text colour
    COLORREF titleColor;                   // title colour
    LOGFONTW bannerFont;                   // grid-view banner font (not user-editable)
    LOGFONTW gridFont;                     // letters and numbers in the grids
    LOGFONTW clueFont;                     // clue lists
    LOGFONTW titleFont;                    // titles
    bool underlinedTitle;                  // titles are drawn underlined
    bool rightSideGrid;                    // the puzzle grid sits on the right of the page
    std::int32_t marginLeft, marginRight, marginTop, marginBottom;  // user margins from the paper edge
    std::int32_t printMarginLeft, printMarginRight, printMarginTop,
        printMarginBottom;           // from the printable area's edge
    std::u16string titleText;        // mirror of the puzzle title
    std::u16string answerTitleText;  // mirror of the answer title
    std::u16string copyrightText;    // mirror of the copyright line
    std::u16string authorText;       // mirror of the author line
    std::u16string dataFolder;       // the per-user data folder
    std::int32_t newGridSize;        // size of the grid of the next new puzzle: 9, 11, 13, 15 or 21

    // Run time only.
    Host& host;                       // messages, dialogs, cursor, printer, fatal end
    DocumentEnvironment environment;  // folders and the file layer
    bool modified = false;            // the framework's modified flag
    std::filesystem::path pathName;   // the file the puzzle was last opened from or saved to

    FileSystemOps& FileSystem() const { return environment.fileSystem ? *environment.fileSystem : SystemFileSystem(); }

private:
    // The file or folder name inside the data folder; empty when the
    // document has no data folder (nothing is then read or written there).
    std::filesystem::path DataPath(std::string_view name) const;
    // Creates the data folder and runs the first-run setup when it is new or
    // its version differs; empties NEWCLUES1 of an installation before 60500.
    void PrepareDataFolder();

    const CCWData* modeAppliedTo = nullptr;  // the puzzle whose engine last got appliedMode's parameters
};

}  // namespace korvo
