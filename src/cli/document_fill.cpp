#include "cli/document_fill.h"

#include <chrono>
#include <memory>
#include <ostream>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "cli/arguments.h"
#include "cli/cli_host.h"
#include "cli/json_text.h"
#include "cli/pdf_output.h"
#include "document/appearance.h"
#include "document/ckorvo_doc.h"
#include "document/export_command.h"
#include "platform/file_reader.h"
#include "platform/paths.h"
#include "platform/random.h"
#include "platform/text_codec.h"

namespace korvo::cli {

namespace {

// How often the waiting thread looks at the worker's status.
constexpr auto kPollPeriod = std::chrono::milliseconds(20);

// A clue that still waits for the user's text.
bool IsPlaceholder(const std::u16string& clue) { return clue.compare(0, 15, u"TO DO clue for:") == 0; }

// The run's end as the report names it.
const char* ResultName(int status, bool stopped) {
    switch (status) {
        case StatusFilled: return "filled";
        case StatusExhausted: return "exhausted";  // a proof says "no-fill" instead
        case StatusNoStart: return "no-start";
        case StatusDuplicates: return "duplicates";
        default: return stopped ? "time-limit" : "not-started";
    }
}

std::vector<std::string> GridRows(const std::u16string& text, int size) {
    std::vector<std::string> rows;
    if (size <= 0) return rows;
    for (std::size_t at = 0; at + static_cast<std::size_t>(size) <= text.size(); at += static_cast<std::size_t>(size))
        rows.push_back(Utf8FromUtf16(std::u16string_view(text).substr(at, static_cast<std::size_t>(size))));
    return rows;
}

// The folders of the document: the given data folder or the user's, and
// the given program folder or the program's own.
std::optional<DocumentEnvironment> FillEnvironment(const DocumentFillOptions& options, std::ostream& err) {
    std::optional<DocumentEnvironment> environment;
    if (options.dataFolder) {
        environment = DesktopEnvironment().value_or(DocumentEnvironment{});
        environment->dataFolder = *options.dataFolder;
        if (environment->programFolder.empty()) environment->programFolder = ShippedDataFolder();
    } else {
        environment = DesktopEnvironment();
        if (!environment) {
            err << "korvo-cli fill: the documents folder cannot be determined; give --data-folder DIR\n";
            return std::nullopt;
        }
    }
    if (!options.programFolder.empty()) environment->programFolder = options.programFolder;
    return environment;
}

bool SameTarget(const std::filesystem::path& a, const std::filesystem::path& b) {
    if (IsSameFile(a, b)) return true;
    std::error_code error;
    const std::filesystem::path left = std::filesystem::weakly_canonical(a, error);
    if (error) return false;
    const std::filesystem::path right = std::filesystem::weakly_canonical(b, error);
    return !error && left == right;
}

// An output that would replace the grid file, or two outputs that name one
// file (the later would silently replace the earlier): the message, or empty.
std::string OutputConflict(const DocumentFillOptions& options) {
    const std::pair<const char*, const std::filesystem::path*> outputs[] = {
        {"--save", &options.savePath}, {"--text", &options.textPath}, {"--puz", &options.puzPath},
        {"--ipuz", &options.ipuzPath}, {"--pdf", &options.pdfPath},   {"--pdf-grid", &options.pdfGridPath},
    };
    for (std::size_t i = 0; i < std::size(outputs); ++i) {
        const auto& [option, path] = outputs[i];
        if (path->empty()) continue;
        if (!options.gridPath.empty() && IsSameFile(*path, options.gridPath))
            return std::string(option) + " " + path->string() + " is the grid file; choose another output file";
        for (std::size_t j = 0; j < i; ++j)
            if (!outputs[j].second->empty() && SameTarget(*outputs[j].second, *path))
                return std::string(outputs[j].first) + " and " + option + " name the same file " + path->string();
    }
    return {};
}

}  // namespace

bool TakeDocumentFillOption(const std::string& option, Arguments& args, DocumentFillOptions& options,
                            std::string& error) {
    std::optional<std::string>* text = option == "--title"       ? &options.title
                                       : option == "--author"    ? &options.author
                                       : option == "--copyright" ? &options.copyright
                                       : option == "--notepad"   ? &options.notepad
                                                                 : nullptr;
    if (text != nullptr) {
        const std::optional<std::string> value = args.TakeValue(option, error);
        if (!value) return true;
        if (option != "--notepad" && Utf16FromUtf8(*value).size() > static_cast<std::size_t>(kTitleDialogMaxLength)) {
            error = option + " takes at most " + std::to_string(kTitleDialogMaxLength) + " characters";
            return true;
        }
        *text = *value;
        return true;
    }
    const bool isFolder = option == "--data-folder" || option == "--program-folder";
    if (!isFolder && option != "--save" && option != "--text" && option != "--puz" && option != "--ipuz" &&
        option != "--pdf" && option != "--pdf-grid")
        return false;
    const std::optional<std::string> value = args.TakeValue(option, error);
    if (!value) return true;
    if (value->empty()) {
        error = option + (isFolder ? " needs a folder name" : " needs a file name");
        return true;
    }
    // Refused before the fill runs, rather than after the work is done.
    if ((option == "--pdf" || option == "--pdf-grid") && !PdfOutputAvailable()) {
        error = option + ": " + kPdfUnavailableText;
        return true;
    }
    if (option == "--data-folder") options.dataFolder = std::filesystem::path(*value);
    if (option == "--program-folder") options.programFolder = *value;
    if (option == "--save") options.savePath = *value;
    if (option == "--text") options.textPath = *value;
    if (option == "--puz") options.puzPath = *value;
    if (option == "--ipuz") options.ipuzPath = *value;
    if (option == "--pdf") options.pdfPath = *value;
    if (option == "--pdf-grid") options.pdfGridPath = *value;
    return true;
}

const char* DocumentFillUsage() {
    return "  --data-folder DIR the data folder (clue databases, settings, deleted words) instead of the\n"
           "                    user's; it is prepared as on the program's first start\n"
           "  --program-folder DIR  where data1.bin ... and cdata1.bin ... lie (default: beside the program)\n"
           "  --save OUT.kvz    write the filled puzzle as a puzzle file\n"
           "  --text OUT.txt    write the filled puzzle as a text export\n"
           "  --puz OUT.puz     write the filled puzzle as an Across Lite file\n"
           "  --ipuz OUT.ipuz   write the filled puzzle as an ipuz file\n"
           "  --pdf OUT.pdf     write the filled puzzle's page as a PDF (builds with the window layer)\n"
           "  --pdf-grid OUT.pdf  write the filled grid with its banner (the grid view) as a PDF\n"
           "  --title TEXT, --author TEXT, --copyright TEXT\n"
           "                    the puzzle's title, author and copyright line (at most 60 characters\n"
           "                    each) instead of the settings file's\n"
           "  --notepad TEXT    the puzzle's notepad (empty by default)\n";
}

int RunDocumentFill(const DocumentFillOptions& options, std::ostream& out, std::ostream& err) {
    if (const std::string conflict = OutputConflict(options); !conflict.empty()) {
        err << "korvo-cli fill: " << conflict << "\n";
        return 2;
    }
    std::optional<DocumentEnvironment> environment = FillEnvironment(options, err);
    if (!environment) return 2;

    const auto started = std::chrono::steady_clock::now();
    CliHost host(err);
    try {
        CkorvoDoc doc(host, *environment);
        // The command's choices apply to this run only: the document is never
        // closed, so the user's settings file is not rewritten.
        if (options.mode) doc.generatingMode = *options.mode;
        if (options.wordListId) doc.wordListId = *options.wordListId;
        if (options.size) doc.newGridSize = *options.size;
        if (!doc.OnNewDocument()) return 2;
        CCWData& cw = *doc.cwData;
        // The texts as the window's text dialogs set them: in the puzzle and
        // in the document's mirrors (the settings file is not rewritten).
        if (options.title) ApplyPageText(doc, PageText::Title, Utf16FromUtf8(*options.title));
        if (options.author) ApplyPageText(doc, PageText::Author, Utf16FromUtf8(*options.author));
        if (options.copyright) ApplyPageText(doc, PageText::Copyright, Utf16FromUtf8(*options.copyright));
        if (options.notepad) cw.notepad = Utf16FromUtf8(*options.notepad);

        if (options.seed) {
            // The document seeded the generator from the clock before it
            // shuffled the list and drew the pattern; with a seed, both are
            // done again from the seeded state so that a run can be repeated.
            Random::Seed(*options.seed);
            doc.loadedWordListId = 0;
            doc.ApplyGeneratorSettings();
            if (options.gridText.empty()) cw.NewGrid(doc.newGridSize);
        }
        if (!options.gridText.empty()) {
            if (cw.engine->LoadGrid(options.gridSize, options.gridSize, options.gridText.c_str()) != 1) {
                err << "korvo-cli fill: the grid cannot be loaded\n";
                return 2;
            }
            cw.gridSize = options.gridSize;
            cw.RefreshGridText();
        }

        cw.runSettings.threads = options.threads;
        cw.runSettings.seed = options.seed;
        bool stopped = false;
        if (cw.StartGenerating()) {
            while (cw.IsWorkerActive()) {
                std::this_thread::sleep_for(kPollPeriod);
                const double elapsed =
                    std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
                if (!stopped && options.timeLimit && elapsed >= *options.timeLimit) stopped = cw.RequestStop();
            }
            cw.WaitForWorker();
        }
        const int status = cw.GetStatus();
        const bool filled = status == StatusFilled;
        const std::string verdict = cw.GetVerdict();
        const char* result = !verdict.empty() ? "no-fill" : ResultName(status, stopped);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();

        // In StatusFilled the worker has finished writing the clues.
        int placeholders = 0;
        if (filled)
            for (const ClueEntry& entry : cw.clues)
                if (IsPlaceholder(entry.clue)) ++placeholders;
        const std::vector<std::string> rows = GridRows(cw.GetGridText(), cw.gridSize);

        if (options.json) {
            out << "{\"result\": " << JsonString(result) << ", \"seconds\": " << JsonNumber(seconds);
            if (options.seed) out << ", \"seed\": " << *options.seed;
            if (!verdict.empty()) out << ", \"verdict\": " << JsonString(verdict);
            out << ", \"entries\": " << (filled ? cw.clues.size() : 0) << ", \"grid\": [";
            for (std::size_t i = 0; i < rows.size(); ++i) out << (i ? ", " : "") << JsonString(rows[i]);
            out << "], \"clues\": [";
            if (filled)
                for (std::size_t i = 0; i < cw.clues.size(); ++i) {
                    const ClueEntry& e = cw.clues[i];
                    out << (i ? ", " : "") << "{\"number\": " << e.number
                        << ", \"direction\": " << JsonString(Utf8FromUtf16(e.direction))
                        << ", \"clue\": " << JsonString(Utf8FromUtf16(e.clue))
                        << ", \"answer\": " << JsonString(Utf8FromUtf16(e.answer)) << "}";
                }
            out << "], \"placeholders\": " << placeholders
                << ", \"data_folder\": " << JsonString(environment->dataFolder.string()) << "}\n";
        } else {
            for (const std::string& row : rows) out << row << "\n";
            if (filled)
                for (const ClueEntry& e : cw.clues)
                    out << e.number << " " << Utf8FromUtf16(e.direction) << ": " << Utf8FromUtf16(e.clue) << " ("
                        << Utf8FromUtf16(e.answer) << ")\n";
            if (!verdict.empty()) out << verdict << "\n";
            out << result << " in " << JsonNumber(seconds) << " s";
            if (filled) out << " (" << cw.clues.size() << " clues, " << placeholders << " placeholders)";
            out << "\n";
        }

        if (!filled) {
            if (!options.savePath.empty() || !options.textPath.empty() || !options.puzPath.empty() ||
                !options.ipuzPath.empty() || !options.pdfPath.empty() || !options.pdfGridPath.empty())
                err << "korvo-cli fill: the grid was not filled; nothing was saved\n";
            return 1;
        }
        bool written = true;
        if (!options.savePath.empty() && !doc.SavePuzzleFile(options.savePath)) written = false;
        if (!options.textPath.empty() && !doc.SavePuzzleAsText(options.textPath)) written = false;
        if (!options.puzPath.empty() && !ExportPuzzleFile(doc, options.puzPath, ExportFormat::AcrossLite))
            written = false;
        if (!options.ipuzPath.empty() && !ExportPuzzleFile(doc, options.ipuzPath, ExportFormat::Ipuz)) written = false;
        if (!options.pdfPath.empty() && !ExportPuzzleFile(doc, options.pdfPath, ExportFormat::Pdf, PdfWriterFor(doc)))
            written = false;
        if (!options.pdfGridPath.empty() &&
            !ExportPuzzleFile(doc, options.pdfGridPath, ExportFormat::Pdf, PdfWriterFor(doc, PdfContent::GridView)))
            written = false;
        return written ? 0 : 2;
    } catch (const FatalCondition&) {
        return 2;  // the host has written the message
    } catch (const std::bad_alloc&) {
        err << "korvo-cli fill: out of memory\n";
        return 2;
    }
}

}  // namespace korvo::cli
