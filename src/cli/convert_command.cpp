// `korvo-cli convert IN.kvz OUT.ext`: the puzzle file is read and checked by
// the same reader as File > Open, then written by the writer of OUT's
// extension. Another output type is one more row of kOutputTypes.
#include "cli/convert_command.h"

#include <cctype>
#include <filesystem>
#include <optional>
#include <ostream>

#include "cli/pdf_output.h"
#include "document/export_command.h"
#include "document/export_puzzle.h"
#include "document/puzzle_file.h"
#include "document/text_export_command.h"
#include "platform/file_reader.h"
#include "platform/file_writer.h"
#include "platform/text_codec.h"

namespace korvo::cli {

namespace {

// One output format: the extension that selects it and its writer.
struct OutputType {
    const char* extension;                   // lower case, with the dot
    const char* name;                        // shown in messages
    ExportResult (*write)(CCWData& puzzle);  // the file's bytes, or an error; null for a drawn PDF
};

ExportResult BuildPuzExport(CCWData& puzzle) { return BuildPuzzleExport(puzzle, ExportFormat::AcrossLite); }
ExportResult BuildIpuzExport(CCWData& puzzle) { return BuildPuzzleExport(puzzle, ExportFormat::Ipuz); }

const OutputType kOutputTypes[] = {
    {".txt", "Across Lite text", &BuildTextExport},
    {".puz", "Across Lite", &BuildPuzExport},
    {".ipuz", "ipuz", &BuildIpuzExport},
    {".pdf", "PDF", nullptr},
};

const OutputType* OutputTypeOf(const std::filesystem::path& path) {
    std::string extension = path.extension().string();
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (const OutputType& type : kOutputTypes)
        if (extension == type.extension) return &type;
    return nullptr;
}

std::string KnownExtensions() {
    std::string list;
    for (const OutputType& type : kOutputTypes) list += (list.empty() ? "" : ", ") + std::string(type.extension);
    return list;
}

}  // namespace

const char* ConvertUsage() {
    return "  korvo-cli convert [--data-folder DIR] [--grid-view] IN.kvz OUT\n"
           "      Opens the puzzle file IN.kvz and writes it as OUT in the format of OUT's\n"
           "      extension: .txt (Across Lite text), .puz (Across Lite), .ipuz (ipuz) or\n"
           "      .pdf (the printed puzzle page; only in builds with the window layer).\n"
           "      --grid-view  the .pdf shows the grid view (the filled grid and its banner)\n"
           "                   instead of the puzzle page\n"
           "      Exit code 0 written, 1 OUT could not be written, 2 bad usage, an\n"
           "      unavailable output type, OUT the same file as IN, or IN not a puzzle file.\n";
}

bool ParseConvertOptions(const std::vector<std::string>& args, ConvertOptions& options, std::string& error) {
    std::vector<std::string> files;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--grid-view") {
            options.gridView = true;
        } else if (arg == "--data-folder") {
            if (i + 1 >= args.size() || args[i + 1].empty()) {
                error = "--data-folder needs a folder";
                return false;
            }
            options.dataFolder = args[++i];
        } else if (arg.rfind("--data-folder=", 0) == 0) {
            options.dataFolder = arg.substr(std::string("--data-folder=").size());
            if (options.dataFolder.empty()) {
                error = "--data-folder needs a folder";
                return false;
            }
        } else if (arg == "--") {
            files.insert(files.end(), args.begin() + static_cast<std::ptrdiff_t>(i) + 1, args.end());
            break;
        } else if (arg.size() > 1 && arg[0] == '-') {
            error = "unknown option '" + arg + "'";
            return false;
        } else {
            files.push_back(arg);
        }
    }
    if (options.help) return true;
    if (files.size() != 2) {
        error = files.size() < 2 ? "an input and an output file are needed" : "too many file names";
        return false;
    }
    options.input = files[0];
    options.output = files[1];
    return true;
}

int RunConvertCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    ConvertOptions options;
    std::string error;
    if (!ParseConvertOptions(args, options, error)) {
        err << "korvo-cli convert: " << error << "\nusage:\n" << ConvertUsage();
        return 2;
    }
    if (options.help) {
        out << "usage:\n" << ConvertUsage();
        return 0;
    }
    const std::filesystem::path input(options.input);
    const std::filesystem::path output(options.output);
    // Writing over the file being read would lose the puzzle for a copy in
    // another format: the same path, a ./ form, a link to it.
    if (IsSameFile(input, output)) {
        err << "korvo-cli convert: " << options.output << " is the input file " << options.input
            << "; choose another output file\n";
        return 2;
    }
    const OutputType* type = OutputTypeOf(output);
    if (type == nullptr) {
        err << "korvo-cli convert: " << options.output << ": unknown output type (known: " << KnownExtensions()
            << ")\n";
        return 2;
    }
    if (options.gridView && type->write != nullptr) {
        err << "korvo-cli convert: --grid-view applies only to a .pdf output\n";
        return 2;
    }
    if (type->write == nullptr && !PdfOutputAvailable()) {
        err << "korvo-cli convert: " << options.output << ": " << kPdfUnavailableText << "\n";
        return 2;
    }

    // The data folder holds nothing an encoded conversion needs (clues,
    // settings and word lists belong to making puzzles), so it is not created
    // or read; only a PDF, drawn from the document, uses it.
    PuzzleFileRead read = ReadPuzzleFile(input);
    if (read.status == PuzzleFileStatus::CannotOpen) {
        err << "korvo-cli convert: " << Utf8FromUtf16(kOpenErrorMessage) << " " << read.error << "\n";
        return 2;
    }
    if (read.status != PuzzleFileStatus::Ok) {
        err << "korvo-cli convert: " << options.input << ": " << Utf8FromUtf16(kInvalidPuzzleFileMessage) << " ("
            << read.error << ")\n";
        return 2;
    }

    CCWData& puzzle = *read.decoded.puzzle;
    if (type->write == nullptr) {
        // The page is drawn from the document: its fonts and settings come
        // from the data folder, as in the window program.
        std::optional<std::filesystem::path> dataFolder;
        if (!options.dataFolder.empty()) dataFolder = std::filesystem::path(options.dataFolder);
        const PdfContent content = options.gridView ? PdfContent::GridView : PdfContent::PuzzlePage;
        const int code = ConvertPuzzleFileToPdf(dataFolder, input, output, content, err);
        if (code == 0)
            out << "wrote " << options.output << " (" << type->name << ", " << puzzle.gridSize << "x" << puzzle.gridSize
                << ", " << puzzle.clues.size() << " clues)\n";
        return code;
    }
    const ExportResult written = type->write(puzzle);
    if (!written.ok()) {
        err << "korvo-cli convert: " << options.input << ": cannot be written as " << type->name << ": "
            << written.error << "\n";
        return 2;
    }
    const FileWriteResult saved = WriteFileAtomically(output, written.bytes);
    if (!saved) {
        err << "korvo-cli convert: " << Utf8FromUtf16(kSaveErrorMessage) << " " << saved.message << "\n";
        return 1;
    }
    out << "wrote " << options.output << " (" << type->name << ", " << puzzle.gridSize << "x" << puzzle.gridSize << ", "
        << puzzle.clues.size() << " clues)\n";
    return 0;
}

}  // namespace korvo::cli
