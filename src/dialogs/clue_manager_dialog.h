#pragma once

#include <QDialog>

#include <optional>

#include "clues/clue_editor.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;

// The Clue Manager: shows one entry of the clue editor's walk. The user keys
// in a clue or picks one of the word's stored clues from the combo box,
// deletes stored clues, copies the word for looking it up elsewhere, pastes
// a clue, marks the word as never to be used again and chooses where the
// walk goes after OK. The walk itself (korvo::EditClues) decides what the
// answer means; this dialog only shows a request and collects the answer.
//
// One object serves a whole walk: every Run sets every control afresh from
// its request, so each entry is shown as a new dialog would show it.
class CClueManagerDlg : public QDialog, public korvo::ClueManagerDialog {
    Q_OBJECT

public:
    // Control ids of the dialog's layout, used as object names
    // ("control1019") so that tests can find the controls.
    enum ControlId {
        kPromptId = 1020,
        kClueComboId = 1019,
        kDoNotUseId = 1027,
        kCopyWordId = 1025,
        kPasteClueId = 1024,
        kDeleteClueId = 1026,
        kNextWordId = 1030,
        kNextCluelessId = 1031,
        kExitId = 1032,
    };

    explicit CClueManagerDlg(QWidget* parent = nullptr);

    // Shows the request modally; the answer when the user pressed OK,
    // nullopt for Cancel, Escape or closing.
    std::optional<korvo::ClueManagerResult> Run(const korvo::ClueManagerRequest& request) override;

    // Sets every control from the request without showing the dialog: the
    // prompt, the stored clues with the entry's clue selected (nothing for a
    // placeholder or a clue not stored), the check box (ticked and disabled
    // for a word deleted already) and the radio button of the option.
    void Prepare(const korvo::ClueManagerRequest& request);

    // The answer as the controls stand.
    korvo::ClueManagerResult Result() const;

    // The option of the radio button last selected: 1, 2 or 3.
    int advanceOption = korvo::kAdvanceNextWord;

    QLabel* Prompt() const { return prompt_; }
    QComboBox* ClueBox() const { return clueBox_; }
    QCheckBox* DoNotUseBox() const { return doNotUse_; }
    // The radio button of an option (1, 2 or 3), or nullptr.
    QRadioButton* AdvanceButton(int option) const;
    QPushButton* CopyWordButton() const { return copyWord_; }
    QPushButton* PasteClueButton() const { return pasteClue_; }
    QPushButton* DeleteClueButton() const { return deleteClue_; }
    QPushButton* OkButton() const { return ok_; }
    QPushButton* CancelButton() const { return cancel_; }

protected:
    // Keeps the edit field's selection when it loses the focus (to a button).
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Copy Word: the answer followed by " definition" onto the clipboard.
    void OnCopyWord();
    // Paste Clue: the clipboard's text into the combo box's edit field at
    // the caret, replacing the selection.
    void OnPasteClue();
    // Delete Clue From Database: the selected stored clue leaves the list
    // and the clue folder; the first remaining clue is selected.
    void OnDeleteClue();
    // Puts list_ into the combo box and shows its selection in the edit field.
    void ShowList();

    korvo::ClueManagerRequest request_;  // what the current Run shows
    korvo::StoredClueList list_;         // the combo box's items and selection, as the core keeps them

    QLabel* prompt_;
    QComboBox* clueBox_;
    QButtonGroup* advanceGroup_;
    QCheckBox* doNotUse_;
    QPushButton* copyWord_;
    QPushButton* pasteClue_;
    QPushButton* deleteClue_;
    QPushButton* ok_;
    QPushButton* cancel_;

    // The edit field's text and selection when it last lost the focus: a
    // line edit drops its selection then, but Paste Clue must replace it.
    struct KeptSelection {
        QString text;
        int start = -1;  // -1: nothing was selected
        int length = 0;
    } keptSelection_;
};
