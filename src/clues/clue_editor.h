#pragma once

// The clue editor: a walk over a puzzle's clue list that shows the chosen
// entries one by one in the Clue Manager dialog, where the user keys in or
// picks a clue, deletes stored clues and may mark the word as never to be
// used again. The walk and everything the dialog decides live here; the
// dialog itself only shows the request and collects the answer.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/clue_entry.h"

namespace korvo {

class ClueDatabase;

// Where the walk goes after OK; the value carries from one dialog to the next.
inline constexpr int kAdvanceAutomatic = 0;     // start argument only: 2 at a placeholder, else 1
inline constexpr int kAdvanceNextWord = 1;      // "Advance to the next word"
inline constexpr int kAdvanceNextClueless = 2;  // "Advance to the next clueless word"
inline constexpr int kAdvanceExit = 3;          // "Exit the Clue Manager"

// The clue a fill gives a word without stored clues starts with this; any
// clue whose first 15 characters are these counts as a placeholder.
inline constexpr char16_t kPlaceholderMark[] = u"TO DO clue for:";

// True when clue starts with "TO DO clue for:".
bool IsPlaceholderClue(std::u16string_view clue);

// The new-clue folder of a word list: "NEWCLUES1" to "NEWCLUES5"; any id
// outside 1 to 4 acts as 5 (the clue folder is ClueFolderName).
std::string NewClueFolderName(int wordListId);

// What one Clue Manager dialog shows.
struct ClueManagerRequest {
    std::u16string prompt;                 // "Key in or select a clue for the word " + answer
    std::u16string answer;                 // the entry's word
    std::u16string currentClue;            // the entry's clue when the dialog opens
    bool doNotUse = false;                 // "Do not use this word in future puzzles" ticked at the start
    bool wasDeleted = false;               // the word is deleted already: the box is ticked and cannot be cleared
    int advanceOption = kAdvanceNextWord;  // 1, 2 or 3: the radio button selected at the start
    ClueDatabase* clueDatabase = nullptr;  // the clue folder of the word list; null: no stored clues
};

// What the user confirmed with OK.
struct ClueManagerResult {
    std::u16string clueText;               // the combo box's text as it stands
    bool doNotUse = false;                 // the check box
    int advanceOption = kAdvanceNextWord;  // the radio button: 1, 2 or 3
};

// The modal Clue Manager dialog as the walk sees it.
class ClueManagerDialog {
public:
    virtual ~ClueManagerDialog() = default;
    // Shows the request and waits; nullopt when the dialog was left any way
    // but OK (Cancel, Escape, closing).
    virtual std::optional<ClueManagerResult> Run(const ClueManagerRequest& request) = 0;
};

// The document operations the walk uses.
class ClueEditorDocument {
public:
    virtual ~ClueEditorDocument() = default;
    // The word is in the deleted-words file.
    virtual bool IsDeletedWord(const std::u16string& word) const = 0;
    // Adds the word to the deleted-words file and takes it out of the word store.
    virtual void AddDeletedWord(const std::u16string& word) = 0;
    // An entry's clue was set: the document is modified and the puzzle page
    // must be laid out again. Called during the walk, after each such OK.
    virtual void ClueChanged() {}
};

// A ClueEditorDocument over any document type with IsDeletedWord and
// AddDeletedWord (CkorvoDoc); ClueChanged is left to the caller, who sees it
// in the result of EditClues.
template <typename Document>
class ClueEditorDocumentOf final : public ClueEditorDocument {
public:
    explicit ClueEditorDocumentOf(Document& document) : document_(document) {}
    bool IsDeletedWord(const std::u16string& word) const override { return document_.IsDeletedWord(word); }
    void AddDeletedWord(const std::u16string& word) override { document_.AddDeletedWord(word); }

private:
    Document& document_;  // the document whose deleted words are used
};

// One walk of the clue editor over clues.
//
// The walk starts at the first entry when startWord is empty, else at the
// first entry whose answer equals startWord exactly (no such entry: nothing
// is shown). Option 0 is chosen at the start entry: 2 when its clue is a
// placeholder, else 1; an option outside 0..3 is taken as 0. From there,
// with option 2 only entries whose clue is a placeholder are shown. Each
// shown entry gets a dialog on the clue folder dataFolder/CLUES<n>/:
//  - anything but OK ends the walk, the entry unchanged;
//  - OK with a text that is not empty once white space is trimmed from both
//    ends (line breaks inside become spaces): its first character is
//    upper-cased, the pair is added with the duplicate check to the clue
//    folder and, only when that added it, to the new-clue folder
//    dataFolder/NEWCLUES<n>/; the entry's clue is set to the text either way;
//  - OK with the box newly ticked adds the word to the deleted words;
//  - the dialog's option decides the next step; 3 ends the walk.
// The walk never wraps around past the last entry.
// Returns true when an entry's clue was set (the document is then modified
// and the page layout invalid).
bool EditClues(std::vector<ClueEntry>& clues, std::u16string_view dataFolder, std::int32_t wordListId,
               ClueEditorDocument& document, ClueManagerDialog& dialog, const std::u16string& startWord,
               int advanceOption);

// --- the dialog's own decisions --------------------------------------------

// The prompt above the combo box.
std::u16string ClueManagerPrompt(const std::u16string& answer);

// The text Copy Word puts on the clipboard: the answer followed by " definition".
std::u16string CopyWordText(const std::u16string& answer);

// The clue text OK stores: white space trimmed at both ends, each run of
// line breaks inside replaced by one space, the first character upper-cased
// (ToUpperLatin1). Empty when nothing but white space was typed.
std::u16string ConfirmedClueText(std::u16string_view typed);

// The radio button shown for an option: 1 and 2 as they are, anything else 3.
int ShownAdvanceOption(int advanceOption);

// The combo box's list: the word's stored clues in file order and the
// selected item.
struct StoredClueList {
    std::vector<std::u16string> items;  // stored clues of the word, in file order
    int selection = -1;                 // index into items; -1: nothing selected
};

// The list when the dialog opens: the stored clues of answer (Lookup, then
// Lookup of the empty string until it returns nothing) with the first item
// equal to currentClue selected. A placeholder, or a clue not stored,
// selects nothing. A null database gives an empty list.
StoredClueList OpenStoredClueList(ClueDatabase* database, const std::u16string& answer,
                                  const std::u16string& currentClue);

// Delete Clue From Database: with an item selected, removes it from the list
// and every pair (answer, item) from the word's clue file in database (the
// clue folder; the new-clue folder is never touched), then selects the first
// remaining item (none when the list is empty). Returns false, changing
// nothing, when no item is selected or the clue file could not be rewritten
// (database->LastWriteResult() says why). An entry's clue is never changed.
bool DeleteSelectedClue(StoredClueList& list, ClueDatabase* database, const std::u16string& answer);

}  // namespace korvo
