#pragma once

#include <QDialog>
#include <QString>

#include <optional>
#include <string>

#include "document/appearance.h"

class QLabel;
class QLineEdit;

// The one-line text dialog: a label, an edit box of at most 60 characters
// and OK / Cancel. It edits the four page texts (title, answer title,
// copyright, author) and a word typed into a run of the grid. The members
// are set before the dialog opens; when it opens the window takes caption,
// the label shows label and the edit box value; OK stores the edit box's
// text back into value.
class CTitleDialog : public QDialog {
    Q_OBJECT

public:
    explicit CTitleDialog(QWidget* parent = nullptr);
    CTitleDialog(const korvo::TitleDialogTexts& texts, const std::u16string& initial, QWidget* parent = nullptr);

    QString value;    // the text (edit box 1000)
    QString label;    // the text left of the edit box (static 1001)
    QString caption;  // the window title

    std::u16string Value() const;

    QLineEdit* Edit() const { return edit_; }
    QLabel* Label() const { return label_; }

public Q_SLOTS:
    // Takes the edit box's text; one longer than 60 characters shows
    // "Enter no more than 60 characters." and keeps the dialog open.
    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLineEdit* edit_;
    QLabel* label_;
};

// Opens the dialog for a page text on its current value; the text on OK,
// nullopt on Cancel.
std::optional<std::u16string> AskPageText(QWidget* parent, korvo::PageText which, const std::u16string& current);
// Opens the dialog for typing a word into a run of length squares.
std::optional<std::u16string> AskWordEntry(QWidget* parent, bool across, int length, const std::u16string& current);
