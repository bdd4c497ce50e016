#pragma once

#include <QDialog>

#include <cstdint>
#include <optional>

#include "document/appearance.h"

class QCheckBox;
class QLineEdit;

// "Margins and Grid Position": the four page margins in hundredths of an
// inch (digits only) and whether the puzzle grid stands on the right. OK
// checks the four edits in order (left, right, top, bottom): a text that is
// not a number or a number outside 25..650 shows its message and keeps the
// dialog open with the focus on that edit. Whether the margins fit the
// page is decided after OK (ApplyPageLayout).
class CLayoutDialog : public QDialog {
    Q_OBJECT

public:
    explicit CLayoutDialog(const korvo::LayoutDialogValues& values, QWidget* parent = nullptr);

    std::int32_t left;
    std::int32_t right;
    std::int32_t top;
    std::int32_t bottom;
    std::int32_t rightSide;  // 0 or 1

    korvo::LayoutDialogValues Values() const;

    // The edit of a control id (1011 left, 1012 right, 1013 top, 1014
    // bottom), or nullptr.
    QLineEdit* Edit(int controlId) const;
    QCheckBox* RightSideBox() const { return rightSideBox_; }

public Q_SLOTS:
    void accept() override;

private:
    QLineEdit* edits_[4];  // left, right, top, bottom
    QCheckBox* rightSideBox_;
};

// Opens the dialog on the given values; the values on OK, nullopt on Cancel.
std::optional<korvo::LayoutDialogValues> AskPageLayout(QWidget* parent, const korvo::LayoutDialogValues& initial);
