#include "document/command_table.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace korvo {
namespace {

constexpr int kDesigning = 2;
constexpr int kGenerating = 1;
constexpr int kReverting = 3;
constexpr int kFilled = -1;
constexpr int kExhausted = 0;
constexpr int kNoStart = -2;
constexpr int kDuplicates = -3;
constexpr int kAllStatuses[] = {kDesigning, kGenerating, kReverting, kFilled, kExhausted, kNoStart, kDuplicates};

CommandStates StatesFor(int status, bool gridViewShown) {
    CommandStateInput input;
    input.status = status;
    input.gridViewShown = gridViewShown;
    return ComputeCommandStates(input);
}

std::vector<int> MenuIds(std::string_view title) {
    for (const Menu& menu : MainMenu()) {
        if (menu.title == title) return {menu.items.begin(), menu.items.end()};
    }
    ADD_FAILURE() << "no menu " << title;
    return {};
}

TEST(CommandTable, idsAreUniqueAndEveryPlacedIdIsACommand) {
    std::set<int> ids;
    for (const Command& command : Commands()) {
        EXPECT_TRUE(ids.insert(command.id).second) << "duplicate id " << command.id;
    }
    std::set<int> inMenus;
    for (const Menu& menu : MainMenu()) {
        for (int id : menu.items) {
            if (id == 0) continue;
            EXPECT_TRUE(ids.count(id)) << menu.title << " holds unknown id " << id;
            EXPECT_TRUE(inMenus.insert(id).second) << id << " appears twice in the menu bar";
            EXPECT_FALSE(FindCommand(id)->menuText.empty()) << id;
        }
    }
    for (int id : GridContextMenu().items) EXPECT_TRUE(ids.count(id)) << id;
    for (int id : ToolbarButtons()) {
        if (id != 0) {
            EXPECT_TRUE(inMenus.count(id)) << "toolbar button " << id << " has no menu item";
        }
    }
    for (const Accelerator& accel : Accelerators()) EXPECT_TRUE(ids.count(accel.id)) << accel.keys;
    EXPECT_EQ(FindCommand(12345), nullptr);
}

TEST(CommandTable, menuBarHasTheMenusAndItemsInOrder) {
    std::vector<std::string> titles;
    for (const Menu& menu : MainMenu()) titles.emplace_back(menu.title);
    EXPECT_EQ(titles, (std::vector<std::string>{"&File", "&Edit", "&View", "&Generate", "Co&lors", "F&onts",
                                                "&New Grid Size", "&Help"}));

    EXPECT_EQ(MenuIds("&File"), (std::vector<int>{57600, 57601, 57603, 57604, 0, 32807, 32815, 0, 57607, 57609, 57606,
                                                  0, 32801, 0, 32778, 0, 57665}));
    EXPECT_EQ(MenuIds("&Edit"), (std::vector<int>{32796, 0, 32785, 32803, 32786, 32787, 0, 32788, 0, 32799}));
    EXPECT_EQ(MenuIds("&View"), (std::vector<int>{59392, 59393, 32774}));
    EXPECT_EQ(MenuIds("&Generate"), (std::vector<int>{32771, 32772, 0, 32773}));
    EXPECT_EQ(MenuIds("Co&lors"), (std::vector<int>{32777, 32775, 32776}));
    EXPECT_EQ(MenuIds("F&onts"), (std::vector<int>{32780, 32779, 32781, 0, 32800}));
    EXPECT_EQ(MenuIds("&New Grid Size"), (std::vector<int>{32810, 32811, 32812, 32813, 32814}));
    EXPECT_EQ(MenuIds("&Help"), (std::vector<int>{32806, 0, 57664}));

    EXPECT_EQ(std::vector<int>(GridContextMenu().items.begin(), GridContextMenu().items.end()),
              (std::vector<int>{32790, 32791, 32808}));
}

TEST(CommandTable, toolbarFollowsItsOrderWithSeparators) {
    EXPECT_EQ(std::vector<int>(ToolbarButtons().begin(), ToolbarButtons().end()),
              (std::vector<int>{57600, 57601, 57603, 57607, 0, 32796, 0, 32774, 0, 32771, 32772, 32773, 0, 57664}));
}

TEST(CommandTable, storedTextsSplitIntoLabelAcceleratorPromptAndTooltip) {
    struct Case {
        int id;
        std::string_view label, accel, prompt, tooltip;
    };
    const Case cases[] = {
        {57600, "&New", "Ctrl+N", "Create a new document", "New"},
        {57601, "&Open...", "Ctrl+O", "Open an existing document", "Open"},
        {57607, "&Print...", "Ctrl+P", "Print the active document", "Print"},
        {32796, "Clear &Grid", "", "Start with a blank crossword grid", "Use a blank grid"},
        {32785, "T&itle...", "", "Edit the puzzle title", ""},
        {32801, "Pa&ge Layout...", "", "", ""},
        {32774, "Toggle View", "", "Toggle to/from Grid View to/from Puzzle View", "Toggle Grid View and Puzzle View"},
        {32815, "&Export Puzzle...", "", "Export the puzzle for crossword programs, or as a PDF", ""},
        {32812, "13 x 13", "", "", ""},
        {32808, "Toggle Circled Square", "", "Add or remove a circled square", ""},
    };
    for (const Case& c : cases) {
        const Command* command = FindCommand(c.id);
        ASSERT_NE(command, nullptr) << c.id;
        EXPECT_EQ(MenuLabel(*command), c.label) << c.id;
        EXPECT_EQ(MenuAcceleratorText(*command), c.accel) << c.id;
        EXPECT_EQ(StatusPrompt(*command), c.prompt) << c.id;
        EXPECT_EQ(Tooltip(*command), c.tooltip) << c.id;
    }
    EXPECT_EQ(FindCommand(57600)->menuText, "&New\tCtrl+N");
}

TEST(CommandTable, acceleratorTextsOfMenusAreBoundToTheirCommands) {
    for (const Command& command : Commands()) {
        const std::string_view text = MenuAcceleratorText(command);
        if (text.empty()) continue;
        bool bound = false;
        for (const Accelerator& accel : Accelerators()) bound |= accel.keys == text && accel.id == command.id;
        EXPECT_TRUE(bound) << command.name << " shows " << text << " but no accelerator binds it";
    }
    std::multiset<int> bound;
    for (const Accelerator& accel : Accelerators()) bound.insert(accel.id);
    EXPECT_EQ(bound.count(57643), 2u);  // Ctrl+Z, Alt+Backspace
    EXPECT_EQ(bound.count(57635), 2u);  // Ctrl+X, Shift+Delete
    EXPECT_EQ(bound.count(57634), 2u);
    EXPECT_EQ(bound.count(57637), 2u);
    EXPECT_EQ(Accelerators().size(), 14u);
}

TEST(CommandStates, coverEveryCommandInTableOrder) {
    const CommandStates states = ComputeCommandStates({});
    ASSERT_EQ(states.All().size(), Commands().size());
    for (std::size_t i = 0; i < Commands().size(); ++i) EXPECT_EQ(states.All()[i].id, Commands()[i].id);
    EXPECT_EQ(states.Find(99), nullptr);
    EXPECT_FALSE(states.Enabled(99));
    EXPECT_FALSE(states.Checked(99));
}

// One row per status: the enabled flag of one command of each status rule.
TEST(CommandStates, statusRulesForEveryStatus) {
    struct Row {
        int status;
        bool clearGrid;  // R1
        bool stop;       // R2
        bool newDoc;     // R3
        bool save;       // R4
    };
    const Row rows[] = {
        {kDesigning, true, false, true, false},   {kGenerating, false, true, false, false},
        {kReverting, false, false, false, false}, {kFilled, false, false, true, true},
        {kExhausted, true, false, true, false},   {kNoStart, true, false, true, false},
        {kDuplicates, true, false, true, false},
    };
    for (bool gridView : {true, false}) {
        for (const Row& row : rows) {
            const CommandStates s = StatesFor(row.status, gridView);
            SCOPED_TRACE("status " + std::to_string(row.status) + (gridView ? " grid view" : " puzzle view"));
            for (int id : {cmd::kClearGrid, cmd::kStartGenerating, cmd::kOptions})
                EXPECT_EQ(s.Enabled(id), row.clearGrid) << id;
            EXPECT_EQ(s.Enabled(cmd::kStopGenerating), row.stop);
            for (int id : {cmd::kFileNew, cmd::kFileOpen, cmd::kFileMruFirst, cmd::kGridFont, cmd::kGridColor})
                EXPECT_EQ(s.Enabled(id), row.newDoc) << id;
            for (int id : {cmd::kFileSave, cmd::kFileSaveAs, cmd::kSavePuzzleAsText, cmd::kExportPuzzle,
                           cmd::kLoadSolution, cmd::kClues, cmd::kToggleView})
                EXPECT_EQ(s.Enabled(id), row.save) << id;
        }
    }
}

TEST(CommandStates, whileGenerating_disablesDocumentCommandsButNotStopOrGridSizes) {
    const CommandStates s = StatesFor(kGenerating, true);
    for (int id : {cmd::kStartGenerating, cmd::kOptions, cmd::kClearGrid, cmd::kFileNew, cmd::kFileOpen, cmd::kGridFont,
                   cmd::kGridColor, cmd::kFileSave, cmd::kFileSaveAs, cmd::kSavePuzzleAsText, cmd::kLoadSolution,
                   cmd::kClues, cmd::kToggleView})
        EXPECT_FALSE(s.Enabled(id)) << id;
    EXPECT_TRUE(s.Enabled(cmd::kStopGenerating));
    for (int id = cmd::kGridSize9; id <= cmd::kGridSize21; ++id) EXPECT_TRUE(s.Enabled(id)) << id;
}

TEST(CommandStates, gridView_disablesPageCommandsWhateverTheStatus) {
    const int pageCommands[] = {cmd::kTitle,      cmd::kAnswerTitle,    cmd::kCopyright,  cmd::kAuthor,
                                cmd::kTitleFont,  cmd::kClueFont,       cmd::kTitleColor, cmd::kCluesColor,
                                cmd::kPageLayout, cmd::kUnderlinedTitle};
    for (int status : kAllStatuses) {
        const CommandStates grid = StatesFor(status, true);
        const CommandStates page = StatesFor(status, false);
        for (int id : pageCommands) {
            EXPECT_FALSE(grid.Enabled(id)) << id << " status " << status;
            EXPECT_TRUE(page.Enabled(id)) << id << " status " << status;
        }
    }
}

TEST(CommandStates, unconditionalCommandsAreEnabledAndEditKeysDisabledEverywhere) {
    const int always[] = {cmd::kFilePrint,    cmd::kFilePrintDirect, cmd::kFilePrintPreview, cmd::kFilePrintSetup,
                          cmd::kAppExit,      cmd::kRestoreDefaults, cmd::kViewToolbar,      cmd::kViewStatusBar,
                          cmd::kOnlineHelp,   cmd::kAppAbout,        cmd::kEditAcrossWord,   cmd::kEditDownWord,
                          cmd::kToggleCircle, cmd::kGridSize9,       cmd::kGridSize21};
    const int never[] = {cmd::kEditUndo,  cmd::kEditCut,  cmd::kEditCopy,
                         cmd::kEditPaste, cmd::kNextPane, cmd::kPrevPane};
    for (int status : {kDesigning, kGenerating, kReverting, kFilled, kExhausted, kNoStart, kDuplicates, 7, -100}) {
        for (bool gridView : {true, false}) {
            const CommandStates s = StatesFor(status, gridView);
            for (int id : always) EXPECT_TRUE(s.Enabled(id)) << id << " status " << status;
            for (int id : never) EXPECT_FALSE(s.Enabled(id)) << id << " status " << status;
        }
    }
}

TEST(CommandStates, unknownStatusValue_actsLikeDesigning) {
    for (int status : {7, 4, -4, 1000}) {
        const CommandStates odd = StatesFor(status, true);
        const CommandStates designing = StatesFor(kDesigning, true);
        for (const CommandState& state : designing.All())
            EXPECT_EQ(odd.Enabled(state.id), state.enabled) << state.id << " status " << status;
    }
}

TEST(CommandStates, checkMarksFollowUnderlineGridSizeAndBars) {
    CommandStateInput input;
    input.underlinedTitle = false;
    input.newGridSize = 21;
    input.toolbarShown = false;
    input.statusBarShown = true;
    CommandStates s = ComputeCommandStates(input);
    EXPECT_FALSE(s.Checked(cmd::kUnderlinedTitle));
    EXPECT_FALSE(s.Checked(cmd::kViewToolbar));
    EXPECT_TRUE(s.Checked(cmd::kViewStatusBar));
    for (int id = cmd::kGridSize9; id <= cmd::kGridSize21; ++id) EXPECT_EQ(s.Checked(id), id == cmd::kGridSize21);

    input.underlinedTitle = true;
    input.newGridSize = 9;
    input.toolbarShown = true;
    input.statusBarShown = false;
    s = ComputeCommandStates(input);
    EXPECT_TRUE(s.Checked(cmd::kUnderlinedTitle));  // checked even where disabled (grid view)
    EXPECT_FALSE(s.Enabled(cmd::kUnderlinedTitle));
    EXPECT_TRUE(s.Checked(cmd::kViewToolbar));
    EXPECT_FALSE(s.Checked(cmd::kViewStatusBar));
    for (int id = cmd::kGridSize9; id <= cmd::kGridSize21; ++id) EXPECT_EQ(s.Checked(id), id == cmd::kGridSize9);

    // A size no command offers (a damaged settings file) checks nothing.
    input.newGridSize = 10;
    s = ComputeCommandStates(input);
    for (int id = cmd::kGridSize9; id <= cmd::kGridSize21; ++id) EXPECT_FALSE(s.Checked(id)) << id;

    // Only commands with a check rule ever carry a mark.
    for (const CommandState& state : s.All()) {
        if (FindCommand(state.id)->check == CheckRule::kNone) {
            EXPECT_FALSE(state.checked) << state.id;
        }
    }
}

TEST(CommandTable, gridSizeCommandsMapToTheirSizes) {
    const std::pair<int, int> sizes[] = {{9, 32810}, {11, 32811}, {13, 32812}, {15, 32813}, {21, 32814}};
    for (auto [size, id] : sizes) {
        EXPECT_EQ(GridSizeCommand(size), id);
        EXPECT_EQ(FindCommand(id)->gridSize, size);
    }
    for (int size : {0, 10, 17, 28, -15}) EXPECT_EQ(GridSizeCommand(size), 0) << size;
}

TEST(CommandTable, captionIsDocumentTitleDashApplicationTitle) {
    EXPECT_EQ(FrameCaption(kUntitledTitle), "Untitled - Tolvane! Rodirirov Ivozova");
    EXPECT_EQ(FrameCaption("week1.kvz"), "week1.kvz - Tolvane! Rodirirov Ivozova");
}

}  // namespace
}  // namespace korvo
