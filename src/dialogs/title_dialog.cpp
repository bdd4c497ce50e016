#include "title_dialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace {

QString ToQString(const std::u16string& text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

CTitleDialog::CTitleDialog(QWidget* parent)
    : QDialog(parent),
      value(),
      label(QStringLiteral("Puzzle Title:")),
      caption(QStringLiteral("Edit Puzzle Title")),
      edit_(new QLineEdit),
      label_(new QLabel) {
    setWindowTitle(caption);
    edit_->setObjectName(QStringLiteral("edit1000"));
    edit_->setMaxLength(korvo::kTitleDialogMaxLength);
    edit_->setMinimumWidth(edit_->fontMetrics().averageCharWidth() * 40);
    label_->setObjectName(QStringLiteral("static1001"));
    label_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label_->setBuddy(edit_);

    auto* row = new QHBoxLayout;
    row->addWidget(label_);
    row->addWidget(edit_, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &CTitleDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addSpacing(12);
    layout->addLayout(row);
    layout->addSpacing(18);
    layout->addWidget(buttons);
}

CTitleDialog::CTitleDialog(const korvo::TitleDialogTexts& texts, const std::u16string& initial, QWidget* parent)
    : CTitleDialog(parent) {
    caption = ToQString(texts.caption);
    label = ToQString(texts.label);
    value = ToQString(initial);
}

std::u16string CTitleDialog::Value() const {
    return std::u16string(reinterpret_cast<const char16_t*>(value.utf16()), static_cast<std::size_t>(value.size()));
}

void CTitleDialog::showEvent(QShowEvent* event) {
    setWindowTitle(caption);
    label_->setText(label);
    edit_->setText(value);
    edit_->selectAll();
    edit_->setFocus();
    QDialog::showEvent(event);
}

void CTitleDialog::accept() {
    const QString text = edit_->text();
    if (text.size() > korvo::kTitleDialogMaxLength) {
        QMessageBox::warning(this, windowTitle(), ToQString(korvo::TextTooLongMessage(korvo::kTitleDialogMaxLength)));
        edit_->setFocus();
        return;
    }
    value = text;
    QDialog::accept();
}

namespace {

std::optional<std::u16string> Ask(QWidget* parent, const korvo::TitleDialogTexts& texts,
                                  const std::u16string& current) {
    CTitleDialog dialog(texts, current, parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.Value();
}

}  // namespace

std::optional<std::u16string> AskPageText(QWidget* parent, korvo::PageText which, const std::u16string& current) {
    return Ask(parent, korvo::PageTextDialogTexts(which), current);
}

std::optional<std::u16string> AskWordEntry(QWidget* parent, bool across, int length, const std::u16string& current) {
    return Ask(parent, korvo::WordEntryDialogTexts(across, length), current);
}
