#include "document/command_table.h"

#include <algorithm>

#include "model/generation_status.h"

namespace korvo {

namespace {

using R = EnableRule;
using C = CheckRule;
using H = CommandHandler;

constexpr Command kCommands[] = {
    // File
    {cmd::kFileNew, "New", "&New\tCtrl+N", "Create a new document\nNew", R::kR3, C::kNone, H::kApp, 0},
    {cmd::kFileOpen, "Open", "&Open...\tCtrl+O", "Open an existing document\nOpen", R::kR3, C::kNone, H::kApp, 0},
    {cmd::kFileMruFirst, "Recent File", "", "Open this document", R::kR3, C::kNone, H::kFramework, 0},
    {cmd::kFileSave, "Save", "&Save\tCtrl+S", "Save the active document\nSave", R::kR4, C::kNone, H::kFramework, 0},
    {cmd::kFileSaveAs, "Save As", "Save &As...", "Save the active document with a new name\nSave As", R::kR4, C::kNone,
     H::kFramework, 0},
    {cmd::kSavePuzzleAsText, "Save Puzzle As Text", "Save Puzzle As &Text...",
     "Create a text file containing the current crossword puzzle", R::kR4, C::kNone, H::kDocument, 0},
    {cmd::kExportPuzzle, "Export Puzzle", "&Export Puzzle...", "Export the puzzle for crossword programs, or as a PDF",
     R::kR4, C::kNone, H::kDocument, 0},
    {cmd::kFilePrint, "Print", "&Print...\tCtrl+P", "Print the active document\nPrint", R::kAlways, C::kNone,
     H::kFramework, 0},
    {cmd::kFilePrintDirect, "Quick Print", "", "Print the active document using current options\nQuick Print",
     R::kAlways, C::kNone, H::kFramework, 0},
    {cmd::kFilePrintPreview, "Print Preview", "Print Pre&view", "Display full pages\nPrint Preview", R::kAlways,
     C::kNone, H::kFramework, 0},
    {cmd::kFilePrintSetup, "Print Setup", "P&rint Setup...", "Change the printer and printing options\nPrint Setup",
     R::kAlways, C::kNone, H::kApp, 0},
    {cmd::kPageLayout, "Page Layout", "Pa&ge Layout...", "", R::kR5, C::kNone, H::kView, 0},
    {cmd::kLoadSolution, "Load Solution", "&Load Solution...",
     "Select the previous puzzle solution\nSelect the previous puzzle solution", R::kR4, C::kNone, H::kDocument, 0},
    {cmd::kAppExit, "Exit", "E&xit", "Quit the application; prompts to save documents\nExit", R::kAlways, C::kNone,
     H::kFramework, 0},
    // Edit
    {cmd::kClearGrid, "Clear Grid", "Clear &Grid", "Start with a blank crossword grid\nUse a blank grid", R::kR1,
     C::kNone, H::kView, 0},
    {cmd::kTitle, "Title", "T&itle...", "Edit the puzzle title", R::kR5, C::kNone, H::kView, 0},
    {cmd::kAnswerTitle, "Answer Title", "Ans&wer Title", "", R::kR5, C::kNone, H::kView, 0},
    {cmd::kCopyright, "Copyright", "&Copyright...", "Edit the puzzle copyright information", R::kR5, C::kNone, H::kView,
     0},
    {cmd::kAuthor, "Author", "&Author...", "Edit the author information", R::kR5, C::kNone, H::kView, 0},
    {cmd::kClues, "Clues", "&Clues...", "Edit the clues starting with the first Across word", R::kR4, C::kNone,
     H::kView, 0},
    {cmd::kRestoreDefaults, "Restore Default Settings", "Restore &Default Settings...", "", R::kAlways, C::kNone,
     H::kDocument, 0},
    // View
    {cmd::kViewToolbar, "Toolbar", "&Toolbar", "Show or hide the toolbar\nToggle ToolBar", R::kAlways, C::kToolbarShown,
     H::kFrame, 0},
    {cmd::kViewStatusBar, "Status Bar", "&Status Bar", "Show or hide the status bar\nToggle Status Bar", R::kAlways,
     C::kStatusBarShown, H::kFrame, 0},
    {cmd::kToggleView, "Toggle View", "Toggle View",
     "Toggle to/from Grid View to/from Puzzle View\nToggle Grid View and Puzzle View", R::kR4, C::kNone, H::kView, 0},
    // Generate
    {cmd::kStartGenerating, "Start Generating", "Start &Generating", "Start the crossword builder\nStart generating",
     R::kR1, C::kNone, H::kView, 0},
    {cmd::kStopGenerating, "Stop Generating", "Stop G&enerating", "Stop the crossword builder\nStop generating", R::kR2,
     C::kNone, H::kView, 0},
    {cmd::kOptions, "Options", "&Options...", "Select puzzle generating options\nGenerating options", R::kR1, C::kNone,
     H::kDocument, 0},
    // Colors
    {cmd::kTitleColor, "Title Color", "&Title Color...", "Change the puzzle title color\nChange the puzzle title color",
     R::kR5, C::kNone, H::kView, 0},
    {cmd::kGridColor, "Grid Color", "&Grid Color...", "Change the grid color\nChange the grid color", R::kR3, C::kNone,
     H::kView, 0},
    {cmd::kCluesColor, "Clues Color", "&Clues Color...", "Change the clues color\nChange the clues color", R::kR5,
     C::kNone, H::kView, 0},
    // Fonts
    {cmd::kTitleFont, "Title Font", "&Title Font...",
     "Select a font for the puzzle title\nSelect a font for the puzzle title", R::kR5, C::kNone, H::kView, 0},
    {cmd::kGridFont, "Grid Font", "&Grid Font...",
     "Select a font for the puzzle grids\nSelect a font for the puzzle grids", R::kR3, C::kNone, H::kView, 0},
    {cmd::kClueFont, "Clue Font", "&Clue Font...",
     "Select a font for the puzzle clues\nSelect a font for the puzzle clues", R::kR5, C::kNone, H::kView, 0},
    {cmd::kUnderlinedTitle, "Underlined Title", "&Underlined Title", "", R::kR6, C::kUnderlinedTitle, H::kView, 0},
    // New Grid Size
    {cmd::kGridSize9, "9 x 9", "9 x 9", "", R::kR7, C::kGridSize, H::kDocument, 9},
    {cmd::kGridSize11, "11 x 11", "11 x 11", "", R::kR7, C::kGridSize, H::kDocument, 11},
    {cmd::kGridSize13, "13 x 13", "13 x 13", "", R::kR7, C::kGridSize, H::kDocument, 13},
    {cmd::kGridSize15, "15 x 15", "15 x 15", "", R::kR7, C::kGridSize, H::kDocument, 15},
    {cmd::kGridSize21, "21 x 21", "21 x 21", "", R::kR7, C::kGridSize, H::kDocument, 21},
    // Help
    {cmd::kOnlineHelp, "Online Help", "Online &Help", "", R::kAlways, C::kNone, H::kView, 0},
    {cmd::kAppAbout, "About", "&About...", "Display program information, version number and copyright\nAbout",
     R::kAlways, C::kNone, H::kApp, 0},
    // Context menu 311
    {cmd::kEditAcrossWord, "Edit Across Word", "Edit Across Word",
     "Add or change the Across word of the clicked on block", R::kAlways, C::kNone, H::kView, 0},
    {cmd::kEditDownWord, "Edit Down Word", "Edit Down Word", "Add or change the Down word of the clicked on block",
     R::kAlways, C::kNone, H::kView, 0},
    {cmd::kToggleCircle, "Toggle Circled Square", "Toggle Circled Square", "Add or remove a circled square", R::kAlways,
     C::kNone, H::kView, 0},
    // Accelerators without a handler in the main window; they act only in
    // the edit fields of dialogs.
    {cmd::kEditUndo, "Undo", "", "", R::kNoHandler, C::kNone, H::kNone, 0},
    {cmd::kEditCut, "Cut", "", "", R::kNoHandler, C::kNone, H::kNone, 0},
    {cmd::kEditCopy, "Copy", "", "", R::kNoHandler, C::kNone, H::kNone, 0},
    {cmd::kEditPaste, "Paste", "", "", R::kNoHandler, C::kNone, H::kNone, 0},
    {cmd::kNextPane, "Next Pane", "", "", R::kNoHandler, C::kNone, H::kNone, 0},
    {cmd::kPrevPane, "Previous Pane", "", "", R::kNoHandler, C::kNone, H::kNone, 0},
};

constexpr int kFileItems[] = {
    cmd::kFileNew,
    cmd::kFileOpen,
    cmd::kFileSave,
    cmd::kFileSaveAs,
    0,
    cmd::kSavePuzzleAsText,
    cmd::kExportPuzzle,
    0,
    cmd::kFilePrint,
    cmd::kFilePrintPreview,
    cmd::kFilePrintSetup,
    0,
    cmd::kPageLayout,
    0,
    cmd::kLoadSolution,
    0,
    cmd::kAppExit,
};
constexpr int kEditItems[] = {
    cmd::kClearGrid, 0, cmd::kTitle,           cmd::kAnswerTitle, cmd::kCopyright, cmd::kAuthor, 0,
    cmd::kClues,     0, cmd::kRestoreDefaults,
};
constexpr int kViewItems[] = {cmd::kViewToolbar, cmd::kViewStatusBar, cmd::kToggleView};
constexpr int kGenerateItems[] = {cmd::kStartGenerating, cmd::kStopGenerating, 0, cmd::kOptions};
constexpr int kColorItems[] = {cmd::kTitleColor, cmd::kGridColor, cmd::kCluesColor};
constexpr int kFontItems[] = {cmd::kTitleFont, cmd::kGridFont, cmd::kClueFont, 0, cmd::kUnderlinedTitle};
constexpr int kGridSizeItems[] = {cmd::kGridSize9, cmd::kGridSize11, cmd::kGridSize13, cmd::kGridSize15,
                                  cmd::kGridSize21};
constexpr int kHelpItems[] = {cmd::kOnlineHelp, 0, cmd::kAppAbout};

constexpr Menu kMenus[] = {
    {"&File", kFileItems},
    {"&Edit", kEditItems},
    {"&View", kViewItems},
    {"&Generate", kGenerateItems},
    {"Co&lors", kColorItems},
    {"F&onts", kFontItems},
    {"&New Grid Size", kGridSizeItems},
    {"&Help", kHelpItems},
};

constexpr int kContextItems[] = {cmd::kEditAcrossWord, cmd::kEditDownWord, cmd::kToggleCircle};
constexpr Menu kContextMenu = {"", kContextItems};

constexpr int kToolbar[] = {
    cmd::kFileNew,
    cmd::kFileOpen,
    cmd::kFileSave,
    cmd::kFilePrint,
    0,
    cmd::kClearGrid,
    0,
    cmd::kToggleView,
    0,
    cmd::kStartGenerating,
    cmd::kStopGenerating,
    cmd::kOptions,
    0,
    cmd::kAppAbout,
};

constexpr Accelerator kAccelerators[] = {
    {"Ctrl+N", cmd::kFileNew},       {"Ctrl+O", cmd::kFileOpen},      {"Ctrl+S", cmd::kFileSave},
    {"Ctrl+P", cmd::kFilePrint},     {"Ctrl+Z", cmd::kEditUndo},      {"Alt+Backspace", cmd::kEditUndo},
    {"Ctrl+X", cmd::kEditCut},       {"Shift+Delete", cmd::kEditCut}, {"Ctrl+C", cmd::kEditCopy},
    {"Ctrl+Insert", cmd::kEditCopy}, {"Ctrl+V", cmd::kEditPaste},     {"Shift+Insert", cmd::kEditPaste},
    {"F6", cmd::kNextPane},          {"Shift+F6", cmd::kPrevPane},
};

constexpr std::size_t kCommandCount = sizeof(kCommands) / sizeof(kCommands[0]);

bool IsActiveOrFilled(int status) {
    return status == StatusGenerating || status == StatusReverting || status == StatusFilled;
}

bool RuleEnables(EnableRule rule, const CommandStateInput& in) {
    switch (rule) {
        case R::kAlways:
        case R::kR7: return true;
        case R::kNoHandler: return false;
        case R::kR1: return !IsActiveOrFilled(in.status);
        case R::kR2: return in.status == StatusGenerating;
        case R::kR3: return in.status != StatusGenerating && in.status != StatusReverting;
        case R::kR4: return in.status == StatusFilled;
        case R::kR5:
        case R::kR6: return !in.gridViewShown;
    }
    return false;
}

bool RuleChecks(const Command& command, const CommandStateInput& in) {
    switch (command.check) {
        case C::kNone: return false;
        case C::kUnderlinedTitle: return in.underlinedTitle;
        case C::kGridSize: return in.newGridSize == command.gridSize;
        case C::kToolbarShown: return in.toolbarShown;
        case C::kStatusBarShown: return in.statusBarShown;
    }
    return false;
}

}  // namespace

std::string_view StatusPrompt(const Command& command) { return command.prompt.substr(0, command.prompt.find('\n')); }

std::string_view Tooltip(const Command& command) {
    const std::size_t at = command.prompt.find('\n');
    return at == std::string_view::npos ? std::string_view{} : command.prompt.substr(at + 1);
}

std::string_view MenuLabel(const Command& command) { return command.menuText.substr(0, command.menuText.find('\t')); }

std::string_view MenuAcceleratorText(const Command& command) {
    const std::size_t at = command.menuText.find('\t');
    return at == std::string_view::npos ? std::string_view{} : command.menuText.substr(at + 1);
}

std::span<const Command> Commands() { return kCommands; }

const Command* FindCommand(int id) {
    for (const Command& command : kCommands) {
        if (command.id == id) return &command;
    }
    return nullptr;
}

std::span<const Menu> MainMenu() { return kMenus; }

const Menu& GridContextMenu() { return kContextMenu; }

std::span<const int> ToolbarButtons() { return kToolbar; }

std::span<const Accelerator> Accelerators() { return kAccelerators; }

int GridSizeCommand(int size) {
    for (const Command& command : kCommands) {
        if (command.check == C::kGridSize && command.gridSize == size) return command.id;
    }
    return 0;
}

const CommandState* CommandStates::Find(int id) const {
    const auto end = states_.begin() + static_cast<std::ptrdiff_t>(size_);
    const auto it = std::find_if(states_.begin(), end, [id](const CommandState& s) { return s.id == id; });
    return it == end ? nullptr : &*it;
}

bool CommandStates::Enabled(int id) const {
    const CommandState* state = Find(id);
    return state != nullptr && state->enabled;
}

bool CommandStates::Checked(int id) const {
    const CommandState* state = Find(id);
    return state != nullptr && state->checked;
}

CommandStates ComputeCommandStates(const CommandStateInput& input) {
    static_assert(kCommandCount <= CommandStates::kCapacity, "command table outgrew CommandStates");
    CommandStates result;
    for (const Command& command : kCommands) {
        result.states_[result.size_++] = {command.id, RuleEnables(command.rule, input), RuleChecks(command, input)};
    }
    return result;
}

std::string FrameCaption(std::string_view documentTitle) {
    std::string caption(documentTitle);
    caption += " - ";
    caption += kApplicationTitle;
    return caption;
}

}  // namespace korvo
