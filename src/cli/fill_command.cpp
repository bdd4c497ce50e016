#include "cli/fill_command.h"

#include <chrono>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <memory>
#include <ostream>
#include <thread>

#include "cli/arguments.h"
#include "cli/grid_file.h"
#include "cli/json_text.h"
#include "engine/fill_checker.h"
#include "engine/fill_engine.h"
#include "engine/thorough_search.h"
#include "model/cw_data.h"
#include "platform/paths.h"
#include "platform/random.h"
#include "words/word_scores.h"
#include "words/word_store.h"

namespace korvo::cli {

namespace {

// How a run ended, as the JSON output names it.
const char* ResultName(int outcome) {
    switch (outcome) {
        case -1: return "filled";
        case 0: return "exhausted";
        case 2: return "no-start";
        case 3: return "duplicates";
        case 5: return "no-fill";
        default: return "time-limit";
    }
}

// Outcome codes of RunSearch beyond Step's own -1 (filled) and 0 (exhausted).
constexpr int kNoStart = 2;
constexpr int kDuplicates = 3;
constexpr int kTimeLimit = 4;
constexpr int kNoFill = 5;

// Everything a run leaves for the report.
struct RunReport {
    int outcome = kNoStart;  // -1 filled, 0 exhausted, kNoStart, kDuplicates, kTimeLimit, kNoFill
    int steps = 0;           // Step calls made
    std::string verdict;     // why no fill exists (kNoFill)
};

// The name of the word list in messages: the options' name of a shipped list, else the file's name.
std::string ListName(const std::string& choice) {
    if (choice.size() == 1 && choice[0] >= '1' && choice[0] <= '5') return WordListName(choice[0] - '0');
    return std::filesystem::path(choice).filename().string();
}

// The word list file of an id 1..5 (beside the program, else in its share
// folder) or a path.
std::filesystem::path WordListPath(const std::string& choice) {
    if (choice.size() == 1 && choice[0] >= '1' && choice[0] <= '5') return ShippedFilePath("data" + choice + ".bin");
    return choice;
}

// The run parameters every new puzzle gets, then those of its mode.
void SetRunParameters(FillEngine& engine, int mode) {
    engine.lookAheadDistance = 15;
    engine.lookAheadDepth = 2;
    engine.SetBackJumpPeriod(750);
    engine.timeSlice = 2.0;
    engine.prefixRule = 1;
    ApplyModeParameters(engine, mode);
}

// The generator thread's part: start, the run's shuffle, then time slices
// until the search ends or the time limit has passed. It runs on a thread of
// its own, as in the window program, so its random draws start from the
// thread's own unseeded state.
RunReport RunSearch(FillEngine& engine, WordStore& store, std::optional<double> timeLimit,
                    std::chrono::steady_clock::time_point started) {
    RunReport report;
    const int start = engine.Start();
    if (start == 0) {
        report.outcome = kNoStart;
        return report;
    }
    if (start == -1) {
        report.outcome = kDuplicates;
        return report;
    }
    store.ShuffleWords();
    while (true) {
        const int step = engine.Step();
        ++report.steps;
        if (step != 1) {
            report.outcome = step;
            return report;
        }
        const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        if (timeLimit && elapsed >= *timeLimit) {
            engine.Revert();
            report.outcome = kTimeLimit;
            return report;
        }
    }
}

// Mode 5: the thorough search in slices until it fills, proves that no fill
// exists, or the time limit has passed.
RunReport RunThorough(FillEngine& engine, const ThoroughOptions& options, const std::string& listName,
                      std::optional<double> timeLimit, std::chrono::steady_clock::time_point started) {
    RunReport report;
    const int start = engine.Start();
    if (start == 0 || start == -1) {
        report.outcome = start == 0 ? kNoStart : kDuplicates;
        return report;
    }
    ThoroughSearch search(engine, options);
    for (;;) {
        const ThoroughOutcome outcome = search.Step();
        ++report.steps;
        if (outcome == ThoroughOutcome::kFilled) {
            search.TakeFill();
            report.outcome = -1;
            return report;
        }
        if (outcome == ThoroughOutcome::kNoFill) {
            search.MarkCore();
            report.verdict = DescribeNoFill(engine, search.Core(), listName);
            report.outcome = kNoFill;
            return report;
        }
        const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        if (timeLimit && elapsed >= *timeLimit) {
            search.RestoreDesign();
            report.outcome = kTimeLimit;
            return report;
        }
    }
}

std::vector<std::string> GridRows(const FillEngine& engine) {
    std::vector<char> text(static_cast<std::size_t>(kMaxGridSide * kMaxGridSide + 1));
    engine.GridToText(text.data());
    std::vector<std::string> rows;
    rows.reserve(static_cast<std::size_t>(engine.rows));
    for (int r = 0; r < engine.rows; ++r)
        rows.emplace_back(text.data() + static_cast<std::size_t>(r * engine.columns),
                          static_cast<std::size_t>(engine.columns));
    return rows;
}

FillCheckResult VerifyFill(const FillEngine& engine, const std::string& design, const WordStore& store) {
    const std::unordered_set<std::string> words = WordsOfStore(store);
    std::vector<ReportedEntry> entries;
    for (int i = 0; i < engine.slotCount; ++i) {
        const Slot& s = engine.slots[i];
        entries.push_back({s.row, s.column, s.direction, std::string(s.letters, strnlen(s.letters, sizeof s.letters))});
    }
    std::string filled;
    for (const std::string& row : GridRows(engine)) filled += row;
    FillCheckInput input;
    input.rows = engine.rows;
    input.columns = engine.columns;
    input.design = design;
    input.filled = filled;
    input.words = &words;
    input.prefixRule = engine.prefixRule != 0;
    input.entries = &entries;
    return CheckFill(input);
}

bool IsDocumentFillOption(const std::string& option) {
    return option == "--data-folder" || option == "--program-folder" || option == "--save" || option == "--text" ||
           option == "--puz" || option == "--ipuz" || option == "--pdf" || option == "--pdf-grid" ||
           option == "--title" || option == "--author" || option == "--copyright" || option == "--notepad";
}

const char* EngineFillUsage() {
    return "usage: korvo-cli fill [--size N | --grid FILE] [--mode 1..5] [--threads N] [--word-list 1..5|PATH]\n"
           "                      [--seed S] [--time-limit SECONDS] [--json] [--verify]\n"
           "  --size N          fill a random block pattern of N x N squares (3 to 28; default 15)\n"
           "  --grid FILE       fill the grid in FILE: N lines of N squares (N from 3 to 28), '!' block,\n"
           "                    '@' open, 'A'-'Z' letter; '?' (left by a refused start) counts as open\n"
           "  --mode M          generating mode: 1 quick standard (default), 2 quick edited,\n"
           "                    3 deep thinking, 4 brute force, 5 thorough (fills any fillable grid\n"
           "                    or proves that none exists)\n"
           "  --threads N       searches side by side in mode 5 (default: every hardware thread)\n"
           "  --word-list L     word list 1 (US, default), 2 (UK), 3 (Canada), 4 (Australia), 5 (India),\n"
           "                    or the path of a word list file\n"
           "  --seed S          seed of the random pattern and word order (default: the clock; reported)\n"
           "  --time-limit T    stop the search after T seconds, checked between slices (default 60;\n"
           "                    0: no limit)\n"
           "  --json            print one line of JSON instead of the grid\n"
           "  --verify          check the fill independently of the engine\n"
           "  With one of the following options the puzzle is made through the document, as the\n"
           "  window program makes it (settings, deleted words, clues); --mode, --size and\n"
           "  --word-list then default to the settings file's choices:\n";
}

}  // namespace

const char* FillUsage() {
    static const std::string usage = std::string(EngineFillUsage()) + DocumentFillUsage() +
                                     "exit code: 0 filled, 1 not filled, 2 bad usage, grid file, word list or data\n";
    return usage.c_str();
}

bool ParseFillOptions(const std::vector<std::string>& list, FillOptions& options, std::string& error) {
    Arguments args(list);
    bool sizeGiven = false;
    while (!args.Empty()) {
        const std::string option = args.Take();
        if (option == "--help" || option == "-h") {
            options.help = true;
        } else if (option == "--json") {
            options.json = true;
        } else if (option == "--verify") {
            options.verify = true;
        } else if (option == "--size" || option == "--mode" || option == "--seed" || option == "--threads") {
            const auto value = args.TakeValue(option, error);
            if (!value) return false;
            const std::int64_t low = option == "--size" ? 3 : option == "--seed" ? 0 : 1;
            const std::int64_t high = option == "--size"      ? kMaxGridSide
                                      : option == "--mode"    ? kThoroughMode
                                      : option == "--threads" ? 64
                                                              : 0xFFFFFFFFLL;
            const auto number = ParseInteger(option, *value, low, high, error);
            if (!number) return false;
            if (option == "--size") {
                options.size = static_cast<int>(*number);
                sizeGiven = true;
            } else if (option == "--mode") {
                options.mode = static_cast<int>(*number);
                options.modeGiven = true;
            } else if (option == "--threads") {
                options.threads = static_cast<int>(*number);
            } else {
                options.seed = static_cast<std::uint32_t>(*number);
            }
        } else if (option == "--grid") {
            const auto value = args.TakeValue(option, error);
            if (!value) return false;
            if (value->empty()) {
                error = "--grid needs a file name";
                return false;
            }
            options.gridFile = *value;
        } else if (option == "--word-list") {
            const auto value = args.TakeValue(option, error);
            if (!value) return false;
            const bool numeric = !value->empty() && value->find_first_not_of("0123456789") == std::string::npos;
            if (value->empty() || (numeric && !(value->size() == 1 && (*value)[0] >= '1' && (*value)[0] <= '5'))) {
                error = "--word-list takes a word list id 1 to 5 or a file path, not '" + *value + "'";
                return false;
            }
            options.wordList = *value;
            options.wordListGiven = true;
        } else if (option == "--time-limit") {
            const auto value = args.TakeValue(option, error);
            if (!value) return false;
            if (*value == "0") {
                options.timeLimit.reset();
                continue;
            }
            const auto seconds = ParsePositiveNumber(option, *value, error);
            if (!seconds) {
                error = "--time-limit takes a number of seconds (0: no limit), not '" + *value + "'";
                return false;
            }
            options.timeLimit = *seconds;
        } else if (IsDocumentFillOption(option)) {
            TakeDocumentFillOption(option, args, options.document, error);
            if (!error.empty()) return false;
            options.throughDocument = true;
        } else {
            error = "unknown option '" + option + "'";
            return false;
        }
    }
    if (sizeGiven && !options.gridFile.empty()) {
        error = "--size and --grid cannot be used together";
        return false;
    }
    if (sizeGiven) options.document.size = options.size;
    return true;
}

bool ToDocumentFill(const FillOptions& options, DocumentFillOptions& document, std::string& error) {
    document = options.document;
    const bool listId = options.wordList.size() == 1 && options.wordList[0] >= '1' && options.wordList[0] <= '5';
    if (!listId) {
        error = "--word-list PATH works only without --data-folder, --program-folder, --save and --text";
        return false;
    }
    if (options.verify) {
        error = "--verify works only without --data-folder, --program-folder, --save and --text";
        return false;
    }
    if (options.modeGiven) document.mode = options.mode;
    if (options.wordListGiven) document.wordListId = options.wordList[0] - '0';
    document.seed = options.seed;
    document.timeLimit = options.timeLimit;
    document.threads = options.threads;
    document.json = options.json;
    return true;
}

int RunFillCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    FillOptions options;
    std::string error;
    if (!ParseFillOptions(args, options, error)) {
        err << "korvo-cli fill: " << error << "\n" << FillUsage();
        return 2;
    }
    if (options.help) {
        out << FillUsage();
        return 0;
    }
    // Without --seed the clock chooses one, and the report names it so that the run can be repeated.
    if (!options.seed) options.seed = static_cast<std::uint32_t>(std::time(nullptr));
    GridFile grid;
    if (!options.gridFile.empty() && !ReadGridFile(options.gridFile, grid, error)) {
        err << "korvo-cli fill: " << error << "\n";
        return 2;
    }
    if (options.throughDocument) {
        DocumentFillOptions document;
        if (!ToDocumentFill(options, document, error)) {
            err << "korvo-cli fill: " << error << "\n";
            return 2;
        }
        document.gridText = grid.text;
        document.gridSize = grid.size;
        if (!options.gridFile.empty()) document.gridPath = options.gridFile;
        return RunDocumentFill(document, out, err);
    }

    const auto started = std::chrono::steady_clock::now();
    const std::clock_t cpuStarted = std::clock();

    // The word store and the engine are large fixed-size objects.
    auto store = std::make_unique<WordStore>();
    auto engine = std::make_unique<FillEngine>(store.get());
    // The engine seeds from the clock when it is made; the run's seed replaces that.
    Random::Seed(*options.seed);

    if (options.gridFile.empty()) {
        engine->MakeBlockPattern(options.size);
    } else if (engine->LoadGrid(grid.size, grid.size, grid.text.c_str()) != 1) {
        err << "korvo-cli fill: " << options.gridFile << ": the grid cannot be loaded\n";
        return 2;
    }
    const std::string design = [&] {
        std::string text;
        for (const std::string& row : GridRows(*engine)) text += row;
        return text;
    }();

    const std::filesystem::path listPath = WordListPath(options.wordList);
    if (LoadWordList(*store, listPath.c_str()) == 0) {
        err << "korvo-cli fill: the word list " << listPath.string() << " cannot be read or holds no word\n";
        return 2;
    }
    store->ShuffleWords();
    SetRunParameters(*engine, options.mode);
    WordScores scores;
    if (options.mode == kThoroughMode) scores.Load(ScoreFileFor(listPath));
    ThoroughOptions thorough;
    thorough.threads = options.threads;
    thorough.seed = *options.seed;
    thorough.scores = &scores;

    RunReport report;
    std::thread worker([&] {
        report = options.mode == kThoroughMode
                     ? RunThorough(*engine, thorough, ListName(options.wordList), options.timeLimit, started)
                     : RunSearch(*engine, *store, options.timeLimit, started);
    });
    worker.join();

    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    const double cpuSeconds = static_cast<double>(std::clock() - cpuStarted) / CLOCKS_PER_SEC;
    const bool filled = report.outcome == -1;

    bool verified = true;
    if (options.verify) {
        if (filled) {
            const FillCheckResult check = VerifyFill(*engine, design, *store);
            verified = check.ok();
            for (const std::string& problem : check.problems) err << "korvo-cli fill: verify: " << problem << "\n";
        } else {
            verified = false;
        }
    }

    const std::vector<std::string> rows = GridRows(*engine);
    if (options.json) {
        out << "{\"result\": " << JsonString(ResultName(report.outcome)) << ", \"seconds\": " << JsonNumber(seconds)
            << ", \"cpu_seconds\": " << JsonNumber(cpuSeconds) << ", \"steps\": " << report.steps
            << ", \"entries\": " << engine->slotCount << ", \"seed\": " << *options.seed;
        if (!report.verdict.empty()) out << ", \"verdict\": " << JsonString(report.verdict);
        out << ", \"grid\": [";
        for (std::size_t i = 0; i < rows.size(); ++i) out << (i ? ", " : "") << JsonString(rows[i]);
        out << "]";
        if (options.verify) out << ", \"verified\": " << (verified ? "true" : "false");
        out << "}\n";
    } else {
        for (const std::string& row : rows) out << row << "\n";
        if (!report.verdict.empty()) out << report.verdict << "\n";
        out << ResultName(report.outcome) << " in " << JsonNumber(seconds) << " s (" << report.steps << " steps, "
            << engine->slotCount << " entries)";
        if (options.verify && filled) out << (verified ? ", verified" : ", verification FAILED");
        out << "\n";
    }
    return filled && verified ? 0 : 1;
}

}  // namespace korvo::cli
