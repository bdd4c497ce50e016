#pragma once

// A whole window program for tests: the application with its document,
// frame and view on a scripted host, with the data folder and the program
// folder in a temporary folder. The program folder holds a word list the
// test writes and an empty packed clue source, so first-run setup and fills
// stay small.

#include <QApplication>
#include <QTest>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "ckorvo_app.h"
#include "ckorvo_view.h"
#include "main_frame.h"
#include "support/scripted_host.h"
#include "support/temp_folder.h"

namespace korvo::guitest {

// Writes a word list file: each letter XOR 0x3B, each word ended by 0x3B.
inline void WriteWordList(const std::filesystem::path& file, const std::vector<std::string>& words) {
    std::ofstream out(file, std::ios::binary);
    for (const std::string& word : words) {
        for (char c : word) out.put(static_cast<char>(c ^ 0x3B));
        out.put(static_cast<char>(0x3B));
    }
}

// A 9 x 9 grid of blocks with its middle 3 x 3 squares given row by row
// ('@' for an open square).
inline std::string CentreGrid(const std::string& middle = "@@@@@@@@@") {
    std::string grid(81, '!');
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            grid[static_cast<std::size_t>((r + 3) * 9 + c + 3)] = middle[static_cast<std::size_t>(r * 3 + c)];
    return grid;
}

class WindowFixture {
public:
    // Words of the word list; the grid of the first puzzle is newGridSize a side.
    explicit WindowFixture(const std::vector<std::string>& words, int newGridSize = 9) {
        const std::filesystem::path program = temp.path() / "program";
        std::filesystem::create_directories(program);
        WriteWordList(program / "data1.bin", words);
        std::ofstream(program / "cdata1.bin", std::ios::binary).flush();
        // The settings file sets the size of the first grid.
        const std::filesystem::path data = temp.path() / "data";
        environment.dataFolder = data;
        environment.programFolder = program;
        if (newGridSize != 15) WriteSettings(data, newGridSize);
        app = std::make_unique<CkorvoApp>(host, environment);
    }

    ~WindowFixture() {
        if (app && app->Document() && app->Document()->cwData) app->Document()->cwData->RequestStop();
    }

    bool Start(const QStringList& arguments = {}) {
        if (!app->InitInstance(arguments)) return false;
        View()->SetGenerationTimerPeriod(20);
        return true;
    }

    CkorvoDoc* Doc() const { return app->Document(); }
    CCWData* Puzzle() const { return app->Document()->cwData.get(); }
    CkorvoView* View() const { return app->View(); }
    CMainFrame* Frame() const { return app->Frame(); }

    // Replaces the designer's grid (gridSize squares a side, row by row).
    void LoadGrid(const std::string& text) {
        CCWData* puzzle = Puzzle();
        puzzle->engine->LoadGrid(puzzle->gridSize, puzzle->gridSize, text.c_str());
        puzzle->RefreshGridText();
        View()->Redraw();
    }

    // Runs a command as the menu does.
    void Command(int id) { Frame()->ExecuteCommand(id); }

    // Lets the event loop run until the run's outcome has been handled: the
    // worker is done and the view's timer has stopped.
    bool WaitForRunEnd(int timeoutMs = 30000) {
        return QTest::qWaitFor([this] { return !Puzzle()->IsWorkerActive() && !View()->GenerationTimer().isActive(); },
                               timeoutMs);
    }

    testsupport::TempFolder temp;
    testsupport::ScriptedHost host;
    DocumentEnvironment environment;
    std::unique_ptr<CkorvoApp> app;

private:
    // A settings file with the default values and the given next grid size.
    static void WriteSettings(const std::filesystem::path& data, int size) {
        std::filesystem::create_directories(data);
        std::ofstream out(data / "pdata.bin", std::ios::binary);
        const char* lines[] = {"1",
                               "1",
                               "250",
                               "250",
                               "250",
                               "250",
                               "250",
                               "250",
                               "250",
                               "250",
                               "1",
                               "1",
                               "TO DO: Puzzle Title",
                               "Puzzle Answer",
                               "TO DO: by Author",
                               "TO DO: by Author"};
        for (const char* line : lines) out << line << "\r\n";
        out << size << "\r\n";
    }
};

}  // namespace korvo::guitest
