#include "clues/clue_editor.h"

#include <algorithm>
#include <filesystem>

#include "clues/clue_database.h"
#include "clues/clue_install.h"
#include "platform/paths.h"
#include "platform/text_codec.h"

namespace korvo {
namespace {

// White space trimmed from a typed clue: the ASCII controls tab to carriage
// return, the space, and the other Unicode white space characters that fit
// one UTF-16 unit (no-break spaces included, since a pasted clue often
// carries them).
bool IsWhiteSpace(char16_t c) {
    return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0 || c == 0x1680 ||
           (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F || c == 0x3000;
}

// A line break inside a clue: it would split the clue's line in the clue
// file, in the text export and on the page.
bool IsLineBreak(char16_t c) { return c == u'\n' || c == u'\r' || c == 0x85 || c == 0x2028 || c == 0x2029; }

// dataFolder joined with a folder name, with the trailing separator a
// ClueDatabase takes.
std::filesystem::path DatabaseFolder(std::u16string_view dataFolder, const std::string& name) {
    return PathFromU16(JoinPath(dataFolder, Widen(name))) / "";
}

bool IsAdvanceChoice(int option) { return option >= kAdvanceNextWord && option <= kAdvanceExit; }

}  // namespace

bool IsPlaceholderClue(std::u16string_view clue) { return clue.starts_with(kPlaceholderMark); }

std::string NewClueFolderName(int wordListId) {
    const int digit = wordListId >= 1 && wordListId <= 4 ? wordListId : 5;
    return "NEWCLUES" + std::to_string(digit);
}

std::u16string ClueManagerPrompt(const std::u16string& answer) {
    return u"Key in or select a clue for the word " + answer;
}

std::u16string CopyWordText(const std::u16string& answer) { return answer + u" definition"; }

std::u16string ConfirmedClueText(std::u16string_view typed) {
    std::size_t begin = 0;
    std::size_t end = typed.size();
    while (begin < end && IsWhiteSpace(typed[begin])) ++begin;
    while (end > begin && IsWhiteSpace(typed[end - 1])) --end;
    std::u16string text;
    text.reserve(end - begin);
    for (std::size_t i = begin; i < end; ++i) {
        if (!IsLineBreak(typed[i])) {
            text.push_back(typed[i]);
        } else if (!IsLineBreak(typed[i - 1])) {  // i > begin: typed[begin] is no white space
            text.push_back(u' ');
        }
    }
    if (!text.empty()) text[0] = ToUpperLatin1(text[0]);
    return text;
}

int ShownAdvanceOption(int advanceOption) {
    return advanceOption == kAdvanceNextWord || advanceOption == kAdvanceNextClueless ? advanceOption : kAdvanceExit;
}

StoredClueList OpenStoredClueList(ClueDatabase* database, const std::u16string& answer,
                                  const std::u16string& currentClue) {
    StoredClueList list;
    if (database == nullptr || answer.empty()) return list;
    for (std::u16string r = database->Lookup(answer); !r.empty(); r = database->Lookup(u"")) {
        list.items.push_back(std::move(r));
    }
    if (!IsPlaceholderClue(currentClue)) {
        const auto found = std::find(list.items.begin(), list.items.end(), currentClue);
        if (found != list.items.end()) list.selection = static_cast<int>(found - list.items.begin());
    }
    return list;
}

bool DeleteSelectedClue(StoredClueList& list, ClueDatabase* database, const std::u16string& answer) {
    if (list.selection < 0 || list.selection >= static_cast<int>(list.items.size())) return false;
    const std::u16string item = list.items[static_cast<std::size_t>(list.selection)];
    // The list shows what is stored: a clue the file still holds stays in it.
    if (database != nullptr && !database->DeleteClue(answer, item)) return false;
    list.items.erase(list.items.begin() + list.selection);
    list.selection = list.items.empty() ? -1 : 0;
    return true;
}

bool EditClues(std::vector<ClueEntry>& clues, std::u16string_view dataFolder, std::int32_t wordListId,
               ClueEditorDocument& document, ClueManagerDialog& dialog, const std::u16string& startWord,
               int advanceOption) {
    int option =
        advanceOption >= kAdvanceAutomatic && advanceOption <= kAdvanceExit ? advanceOption : kAdvanceAutomatic;
    ClueDatabase clueDb(DatabaseFolder(dataFolder, ClueFolderName(wordListId)));
    ClueDatabase newClueDb(DatabaseFolder(dataFolder, NewClueFolderName(wordListId)));

    bool started = false;
    bool changed = false;
    // By index, and checked after every dialog: the list is the caller's and
    // must not be touched past its end whatever happens while a dialog runs.
    for (std::size_t i = 0; i < clues.size(); ++i) {
        if (!started) {
            if (!startWord.empty() && clues[i].answer != startWord) continue;
            started = true;
            // The automatic choice is made where the walk starts, also when
            // it starts at the first entry.
            if (option == kAdvanceAutomatic) {
                option = IsPlaceholderClue(clues[i].clue) ? kAdvanceNextClueless : kAdvanceNextWord;
            }
        }
        if (option == kAdvanceNextClueless && !IsPlaceholderClue(clues[i].clue)) continue;

        ClueManagerRequest request;
        request.answer = clues[i].answer;
        request.prompt = ClueManagerPrompt(request.answer);
        request.currentClue = clues[i].clue;
        request.wasDeleted = document.IsDeletedWord(request.answer);
        request.doNotUse = request.wasDeleted;
        request.advanceOption = option;
        request.clueDatabase = &clueDb;

        const std::optional<ClueManagerResult> result = dialog.Run(request);
        if (!result || i >= clues.size()) break;

        const std::u16string text = ConfirmedClueText(result->clueText);
        if (!text.empty()) {
            if (clueDb.AddClue(true, request.answer, text)) newClueDb.AddClue(true, request.answer, text);
            clues[i].clue = text;
            changed = true;
            document.ClueChanged();
        }
        if (!request.wasDeleted && result->doNotUse) document.AddDeletedWord(request.answer);

        // A dialog returns 1, 2 or 3; anything else keeps the option it showed.
        if (IsAdvanceChoice(result->advanceOption)) option = result->advanceOption;
        if (option == kAdvanceExit) break;
    }
    return changed;
}

}  // namespace korvo
