// Save Puzzle As Text: asks for a file name and writes the filled puzzle in
// the Across Lite text format, replacing the file only once all of it is
// written.
#include "document/text_export_command.h"

#include "document/ckorvo_doc.h"
#include "document/export_command.h"
#include "document/text_export.h"
#include "platform/file_writer.h"
#include "platform/text_codec.h"

namespace korvo {

namespace {

// A text export that could not be written would otherwise be lost silently.
constexpr char16_t kTextSaveErrorMessage[] = u"An error was encountered while saving the text file.";

}  // namespace

ExportPuzzle ExportPuzzleOf(CCWData& puzzle) {
    ExportPuzzle out;
    out.size = puzzle.gridSize;
    out.gridText = puzzle.GetGridText();
    const int n = puzzle.gridSize >= 1 && puzzle.gridSize <= kMaxGridSide ? puzzle.gridSize : 0;
    out.circled.assign(puzzle.circled, puzzle.circled + n * n);
    out.clues.reserve(puzzle.clues.size());
    for (const ClueEntry& entry : puzzle.clues) {
        ExportClue clue;
        clue.number = entry.number;
        clue.down = entry.direction == kDownText;
        clue.clue = entry.clue;
        clue.answer = entry.answer;
        out.clues.push_back(std::move(clue));
    }
    out.title = puzzle.title;
    out.author = puzzle.author;
    out.copyright = puzzle.copyright;
    out.notepad = puzzle.notepad;
    return out;
}

ExportResult BuildTextExport(CCWData& puzzle) { return WriteTextExport(ExportPuzzleOf(puzzle)); }

void CkorvoDoc::OnSavePuzzleAsText() {
    // The command exists only for a filled puzzle.
    if (!cwData || cwData->GetStatus() != StatusFilled) return;
    const std::optional<SaveDialogResult> chosen = host.SaveFileDialog(
        u"Save Puzzle As Text File",
        {FileFilter{u"Text Files (*.txt)", u"*.txt"}, FileFilter{u"All files (*.*)", u"*.*"}}, std::nullopt);
    if (!chosen || chosen->path.empty()) return;
    SavePuzzleAsText(chosen->path);
}

bool CkorvoDoc::SavePuzzleAsText(const std::filesystem::path& path) {
    if (!cwData || cwData->GetStatus() != StatusFilled) return false;
    // A refusal says why; a failed write keeps the old file and says only
    // that it failed.
    std::string refusal = OpenPuzzleFileConflict(*this, path);
    ExportResult text;
    if (refusal.empty()) {
        text = BuildTextExport(*cwData);
        refusal = text.error;
    }
    if (!refusal.empty()) {
        host.MessageBox(std::u16string(kTextSaveErrorMessage) + u"\n\n" + Utf16FromUtf8(refusal),
                        MessageIcon::Information);
        return false;
    }
    if (!WriteFileAtomically(path, text.bytes, FileSystem())) {
        host.MessageBox(kTextSaveErrorMessage, MessageIcon::Information);
        return false;
    }
    return true;
}

}  // namespace korvo
