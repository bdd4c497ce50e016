#include "layout_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include <string>

namespace {

constexpr int kFirstEditId = 1011;

QString ToQString(const std::u16string& text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

std::u16string ToU16(const QString& text) {
    return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size()));
}

}  // namespace

CLayoutDialog::CLayoutDialog(const korvo::LayoutDialogValues& values, QWidget* parent)
    : QDialog(parent),
      left(values.left),
      right(values.right),
      top(values.top),
      bottom(values.bottom),
      rightSide(values.rightSide ? 1 : 0),
      rightSideBox_(new QCheckBox(QStringLiteral("Right-side puzzle grid"))) {
    setWindowTitle(QStringLiteral("Margins and Grid Position"));

    const char* labels[4] = {"Left:", "Right:", "Top:", "Bottom:"};
    const std::int32_t shown[4] = {left, right, top, bottom};
    auto* digits = new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this);
    auto* group = new QGroupBox(QStringLiteral("Margins (hundredths of an inch)"));
    auto* grid = new QGridLayout(group);
    for (int i = 0; i < 4; ++i) {
        auto* edit = new QLineEdit(QString::number(shown[i]));
        edit->setObjectName(QStringLiteral("edit%1").arg(kFirstEditId + i));
        edit->setValidator(digits);
        edit->setMaximumWidth(edit->fontMetrics().averageCharWidth() * 10);
        auto* caption = new QLabel(QString::fromLatin1(labels[i]));
        caption->setBuddy(edit);
        // Left and Right on the first row, Top and Bottom on the second.
        const int row = i / 2;
        const int column = (i % 2) * 2;
        grid->addWidget(caption, row, column, Qt::AlignRight);
        grid->addWidget(edit, row, column + 1);
        edits_[i] = edit;
    }
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(24);

    rightSideBox_->setObjectName(QStringLiteral("check1010"));
    rightSideBox_->setChecked(rightSide != 0);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &CLayoutDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(rightSideBox_);
    layout->addWidget(buttons);
}

QLineEdit* CLayoutDialog::Edit(int controlId) const {
    const int index = controlId - kFirstEditId;
    return index >= 0 && index < 4 ? edits_[index] : nullptr;
}

korvo::LayoutDialogValues CLayoutDialog::Values() const {
    return korvo::LayoutDialogValues{left, right, top, bottom, rightSide != 0};
}

void CLayoutDialog::accept() {
    std::int32_t* members[4] = {&left, &right, &top, &bottom};
    std::int32_t checked[4] = {};
    for (int i = 0; i < 4; ++i) {
        const korvo::MarginFieldCheck check = korvo::CheckMarginField(ToU16(edits_[i]->text()));
        if (!check.ok) {
            QMessageBox::warning(this, windowTitle(), ToQString(check.message));
            edits_[i]->setFocus();
            edits_[i]->selectAll();
            return;
        }
        checked[i] = check.value;
    }
    for (int i = 0; i < 4; ++i) *members[i] = checked[i];
    rightSide = rightSideBox_->isChecked() ? 1 : 0;
    QDialog::accept();
}

std::optional<korvo::LayoutDialogValues> AskPageLayout(QWidget* parent, const korvo::LayoutDialogValues& initial) {
    CLayoutDialog dialog(initial, parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.Values();
}
