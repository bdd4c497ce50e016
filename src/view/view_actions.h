#pragma once

#include <optional>
#include <string>

#include "document/appearance.h"

// What the view asks of the application when a click or a context-menu
// item needs a dialog. The view decides what a click means; the application
// owns and opens the dialogs and applies their answers to the document.
class ViewActions {
public:
    virtual ~ViewActions() = default;

    // Opens the text dialog of a page text, as its Edit menu command does.
    virtual void OpenPageTextDialog(korvo::PageText which) = 0;

    // Opens the Clue Manager on the entry whose answer is word, with an
    // advance option of the clue editor's walk (0 none preset, 3 exit after
    // this word); returns when the walk has ended.
    virtual void EditCluesAt(const std::u16string& word, int advanceOption) = 0;

    // Asks for the word typed into a run of length squares (across or down),
    // starting from current; the text on OK, nullopt on Cancel.
    virtual std::optional<std::u16string> AskWordEntry(bool across, int length, const std::u16string& current) = 0;

    // Runs a command chosen from the view's context menu as the window's
    // menus run their commands.
    virtual void RunCommand(int id) = 0;
};
