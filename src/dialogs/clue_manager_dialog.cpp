#include "clue_manager_dialog.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "clues/clue_database.h"

namespace {

QString ToQString(const std::u16string& text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

std::u16string FromQString(const QString& text) { return text.toStdU16String(); }

QString ControlName(int controlId) { return QStringLiteral("control%1").arg(controlId); }

struct AdvanceChoice {
    int controlId;
    int option;
    const char* text;
};

constexpr AdvanceChoice kAdvanceChoices[] = {
    {CClueManagerDlg::kNextWordId, korvo::kAdvanceNextWord, "Advance to the next word"},
    {CClueManagerDlg::kNextCluelessId, korvo::kAdvanceNextClueless, "Advance to the next clueless word"},
    {CClueManagerDlg::kExitId, korvo::kAdvanceExit, "Exit the Clue Manager"},
};

QPushButton* MakeButton(const char* text, int controlId) {
    auto* button = new QPushButton(QString::fromUtf8(text));
    button->setAutoDefault(false);
    if (controlId != 0) button->setObjectName(ControlName(controlId));
    return button;
}

}  // namespace

CClueManagerDlg::CClueManagerDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Clue Manager"));

    prompt_ = new QLabel(QStringLiteral("Add a clue for:"));
    prompt_->setObjectName(ControlName(kPromptId));
    prompt_->setTextFormat(Qt::PlainText);

    clueBox_ = new QComboBox;
    clueBox_->setObjectName(ControlName(kClueComboId));
    clueBox_->setEditable(true);
    // The list holds only the stored clues: text typed in is never added to it.
    clueBox_->setInsertPolicy(QComboBox::NoInsert);
    clueBox_->setCompleter(nullptr);
    clueBox_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    clueBox_->setMinimumContentsLength(60);
    prompt_->setBuddy(clueBox_);
    // The combo box hands its focus events straight to its edit field, past
    // any filter on the field: the combo box's own are watched.
    clueBox_->installEventFilter(this);

    auto* advanceBox = new QGroupBox(QStringLiteral("When the OK button is pressed..."));
    auto* advanceLayout = new QVBoxLayout(advanceBox);
    advanceGroup_ = new QButtonGroup(this);
    for (const AdvanceChoice& choice : kAdvanceChoices) {
        auto* button = new QRadioButton(QString::fromUtf8(choice.text));
        button->setObjectName(ControlName(choice.controlId));
        advanceGroup_->addButton(button, choice.option);
        advanceLayout->addWidget(button);
    }
    connect(advanceGroup_, &QButtonGroup::idClicked, this, [this](int option) { advanceOption = option; });

    doNotUse_ = new QCheckBox(QStringLiteral("Do not use this word in future puzzles"));
    doNotUse_->setObjectName(ControlName(kDoNotUseId));

    copyWord_ = MakeButton("Copy Word", kCopyWordId);
    pasteClue_ = MakeButton("Paste Clue", kPasteClueId);
    deleteClue_ = MakeButton("Delete Clue From Database", kDeleteClueId);
    ok_ = MakeButton("OK", 0);
    ok_->setDefault(true);
    cancel_ = MakeButton("Cancel", 0);
    connect(copyWord_, &QPushButton::clicked, this, &CClueManagerDlg::OnCopyWord);
    connect(pasteClue_, &QPushButton::clicked, this, &CClueManagerDlg::OnPasteClue);
    connect(deleteClue_, &QPushButton::clicked, this, &CClueManagerDlg::OnDeleteClue);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

    auto* options = new QHBoxLayout;
    options->addWidget(advanceBox);
    options->addStretch(1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(copyWord_);
    buttons->addWidget(pasteClue_);
    buttons->addWidget(deleteClue_);
    buttons->addStretch(1);
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt_);
    layout->addWidget(clueBox_);
    layout->addSpacing(fontMetrics().height());
    layout->addLayout(options);
    layout->addWidget(doNotUse_);
    layout->addLayout(buttons);

    setTabOrder(clueBox_, advanceGroup_->button(korvo::kAdvanceNextWord));
}

void CClueManagerDlg::Prepare(const korvo::ClueManagerRequest& request) {
    request_ = request;

    prompt_->setText(ToQString(request.prompt));

    list_ = korvo::OpenStoredClueList(request.clueDatabase, request.answer, request.currentClue);
    ShowList();

    doNotUse_->setChecked(request.doNotUse || request.wasDeleted);
    // A word deleted already stays deleted: the box cannot be cleared.
    doNotUse_->setEnabled(!request.wasDeleted);

    advanceOption = korvo::ShownAdvanceOption(request.advanceOption);
    advanceGroup_->button(advanceOption)->setChecked(true);

    clueBox_->setFocus();
}

std::optional<korvo::ClueManagerResult> CClueManagerDlg::Run(const korvo::ClueManagerRequest& request) {
    Prepare(request);
    if (exec() != QDialog::Accepted) return std::nullopt;
    return Result();
}

korvo::ClueManagerResult CClueManagerDlg::Result() const {
    korvo::ClueManagerResult result;
    result.clueText = FromQString(clueBox_->currentText());
    result.doNotUse = doNotUse_->isChecked();
    result.advanceOption = advanceOption;
    return result;
}

QRadioButton* CClueManagerDlg::AdvanceButton(int option) const {
    return qobject_cast<QRadioButton*>(advanceGroup_->button(option));
}

void CClueManagerDlg::ShowList() {
    const QSignalBlocker blocker(clueBox_);
    clueBox_->clear();
    for (const std::u16string& item : list_.items) clueBox_->addItem(ToQString(item));
    clueBox_->setCurrentIndex(list_.selection);
    // The edit field shows the selected item, or nothing.
    clueBox_->setEditText(list_.selection >= 0 ? clueBox_->itemText(list_.selection) : QString());
}

void CClueManagerDlg::OnCopyWord() {
    QApplication::clipboard()->setText(ToQString(korvo::CopyWordText(request_.answer)));
}

bool CClueManagerDlg::eventFilter(QObject* watched, QEvent* event) {
    QLineEdit* edit = clueBox_->lineEdit();
    // Runs before the edit's own focus-out handling, which deselects.
    if (watched == clueBox_ && edit != nullptr && event->type() == QEvent::FocusOut) {
        keptSelection_.text = edit->text();
        keptSelection_.start = edit->hasSelectedText() ? edit->selectionStart() : -1;
        keptSelection_.length = edit->hasSelectedText() ? static_cast<int>(edit->selectedText().size()) : 0;
    }
    return QDialog::eventFilter(watched, event);
}

void CClueManagerDlg::OnPasteClue() {
    QLineEdit* edit = clueBox_->lineEdit();
    if (edit == nullptr) return;
    // The selection the field had before the button took the focus, as long
    // as the text is still the one it was made in.
    if (!edit->hasSelectedText() && keptSelection_.start >= 0 && keptSelection_.text == edit->text()) {
        edit->setSelection(keptSelection_.start, keptSelection_.length);
    }
    keptSelection_.start = -1;
    edit->paste();
}

void CClueManagerDlg::OnDeleteClue() {
    list_.selection = clueBox_->currentIndex();
    const bool selected = list_.selection >= 0 && list_.selection < static_cast<int>(list_.items.size());
    if (korvo::DeleteSelectedClue(list_, request_.clueDatabase, request_.answer)) {
        ShowList();
    } else if (selected && request_.clueDatabase != nullptr) {
        QMessageBox::warning(this, windowTitle(),
                             QStringLiteral("The clue could not be deleted from the database:\n") +
                                 QString::fromStdString(request_.clueDatabase->LastWriteResult().message));
    }
}
