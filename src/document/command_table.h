#pragma once

// The program's command table: every command of the window with its menu
// place, texts, enabling rule and toolbar slot, the accelerator keys, the
// menus as data, and the one function that decides which commands are enabled
// and checked. The window builds its menus, toolbar and shortcuts from this
// table and applies ComputeCommandStates to every action it holds.

#include <array>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace korvo {

// Command ids. The numbers are those of the program's resources, so a
// command keeps its id wherever it is shown.
namespace cmd {
inline constexpr int kFileNew = 57600;
inline constexpr int kFileOpen = 57601;
inline constexpr int kFileSave = 57603;
inline constexpr int kFileSaveAs = 57604;
inline constexpr int kFilePrintSetup = 57606;
inline constexpr int kFilePrint = 57607;
inline constexpr int kFilePrintDirect = 57608;  // Quick Print
inline constexpr int kFilePrintPreview = 57609;
inline constexpr int kFileMruFirst = 57616;
inline constexpr int kEditCopy = 57634;
inline constexpr int kEditCut = 57635;
inline constexpr int kEditPaste = 57637;
inline constexpr int kEditUndo = 57643;
inline constexpr int kAppAbout = 57664;
inline constexpr int kAppExit = 57665;
inline constexpr int kNextPane = 57680;
inline constexpr int kPrevPane = 57681;
inline constexpr int kViewToolbar = 59392;
inline constexpr int kViewStatusBar = 59393;

inline constexpr int kStartGenerating = 32771;
inline constexpr int kStopGenerating = 32772;
inline constexpr int kOptions = 32773;
inline constexpr int kToggleView = 32774;
inline constexpr int kGridColor = 32775;
inline constexpr int kCluesColor = 32776;
inline constexpr int kTitleColor = 32777;
inline constexpr int kLoadSolution = 32778;
inline constexpr int kGridFont = 32779;
inline constexpr int kTitleFont = 32780;
inline constexpr int kClueFont = 32781;
inline constexpr int kTitle = 32785;
inline constexpr int kCopyright = 32786;
inline constexpr int kAuthor = 32787;
inline constexpr int kClues = 32788;
inline constexpr int kEditAcrossWord = 32790;
inline constexpr int kEditDownWord = 32791;
inline constexpr int kClearGrid = 32796;
inline constexpr int kRestoreDefaults = 32799;
inline constexpr int kUnderlinedTitle = 32800;
inline constexpr int kPageLayout = 32801;
inline constexpr int kAnswerTitle = 32803;
inline constexpr int kOnlineHelp = 32806;
inline constexpr int kSavePuzzleAsText = 32807;
inline constexpr int kToggleCircle = 32808;
inline constexpr int kGridSize9 = 32810;
inline constexpr int kGridSize11 = 32811;
inline constexpr int kGridSize13 = 32812;
inline constexpr int kGridSize15 = 32813;
inline constexpr int kGridSize21 = 32814;
inline constexpr int kExportPuzzle = 32815;
}  // namespace cmd

// When a command is enabled. R1..R7 read the generation status and the view
// choice; the toolbar and status bar toggles are always enabled.
enum class EnableRule {
    kAlways,     // no update rule: a command with a handler is enabled
    kNoHandler,  // no handler in the main window (edit and pane keys): disabled
    kR1,         // status is none of generating, reverting, filled
    kR2,         // status is generating
    kR3,         // status is neither generating nor reverting
    kR4,         // status is filled
    kR5,         // the puzzle view is chosen (gridViewShown is false)
    kR6,         // as R5; checked while the title is underlined
    kR7,         // always; checked when newGridSize equals the item's size
};

// What sets a command's check mark.
enum class CheckRule {
    kNone,
    kUnderlinedTitle,  // underlinedTitle is true
    kGridSize,         // newGridSize equals the command's gridSize
    kToolbarShown,     // the toolbar is shown
    kStatusBarShown,   // the status bar is shown
};

// Which object carries out a command; the window routes by it.
enum class CommandHandler {
    kApp,        // application: New, Open, Print Setup, About
    kFramework,  // standard document, printing and frame commands
    kFrame,      // the main frame itself (toolbar and status bar toggles)
    kDocument,
    kView,
    kNone,  // accelerator only, nothing handles it in the main window
};

struct Command {
    int id;
    std::string_view name;  // short English name, for logs and tests
    std::string_view
        menuText;  // as stored: '&' marks the mnemonic, "\t" precedes the accelerator text; empty: no menu item
    std::string_view prompt;  // as stored: status-bar text, then "\n" and the tooltip; may be empty
    EnableRule rule;
    CheckRule check;
    CommandHandler handler;
    int gridSize;  // size chosen by a New Grid Size command, else 0
};

// The part of a stored prompt shown in the status bar (before "\n").
std::string_view StatusPrompt(const Command& command);
// The tooltip: the part of the prompt after "\n", empty when there is none.
std::string_view Tooltip(const Command& command);
// The menu text without the accelerator part ("&New\tCtrl+N" -> "&New").
std::string_view MenuLabel(const Command& command);
// The accelerator text after "\t" of the menu text, empty when none.
std::string_view MenuAcceleratorText(const Command& command);

// Every command of the program, in menu order, then the commands that live
// only in the context menu or behind accelerators.
std::span<const Command> Commands();
// The command with this id, or nullptr.
const Command* FindCommand(int id);

// A menu of the menu bar or a popup: its title and its items, a 0 id
// standing for a separator.
struct Menu {
    std::string_view title;
    std::span<const int> items;
};

// The menu bar of the main window, left to right.
std::span<const Menu> MainMenu();
// Context menu 311, shown by the view on a right click in the grid.
const Menu& GridContextMenu();
// The toolbar, left to right; 0 is a separator.
std::span<const int> ToolbarButtons();

// One key combination of the accelerator table, written in the portable
// form "Ctrl+N", "Alt+Backspace", "Shift+F6".
struct Accelerator {
    std::string_view keys;
    int id;
};
std::span<const Accelerator> Accelerators();

// The New Grid Size command for a size, or 0 for a size that has none.
int GridSizeCommand(int size);

// What the enabling rules read.
struct CommandStateInput {
    int status = 2;             // generation status of the puzzle (GenerationStatus; 2 designing)
    bool gridViewShown = true;  // the grid view is chosen (false: puzzle view)
    bool underlinedTitle = true;
    int newGridSize = 15;
    bool toolbarShown = true;
    bool statusBarShown = true;
};

struct CommandState {
    int id = 0;
    bool enabled = false;
    bool checked = false;
};

// The state of every command, in the order of Commands().
class CommandStates {
public:
    std::span<const CommandState> All() const { return {states_.data(), size_}; }
    // The state of a command, or nullptr for an unknown id.
    const CommandState* Find(int id) const;
    // False for an unknown id.
    bool Enabled(int id) const;
    bool Checked(int id) const;

private:
    friend CommandStates ComputeCommandStates(const CommandStateInput& input);
    static constexpr std::size_t kCapacity = 64;
    std::array<CommandState, kCapacity> states_{};
    std::size_t size_ = 0;
};

// Enabled flag and check mark of every command for a status and a view.
CommandStates ComputeCommandStates(const CommandStateInput& input);

// Texts of the application's string table.
inline constexpr std::string_view kApplicationTitle = "Tolvane! Rodirirov Ivozova";
inline constexpr std::string_view kIdleText = "Ready";
inline constexpr std::string_view kUntitledTitle = "Untitled";

// The frame caption: document title, " - ", application title.
std::string FrameCaption(std::string_view documentTitle);

}  // namespace korvo
