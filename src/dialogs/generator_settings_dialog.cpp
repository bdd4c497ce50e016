#include "generator_settings_dialog.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

struct Choice {
    int controlId;
    int value;
    const char* text;
};

// On screen from the top: weakest to strongest mode.
constexpr Choice kModes[] = {
    {1002, 1, "Quick Generating Mode - Standard Grids"},
    {1004, 2, "Quick Generating Mode - Edited Grids"},
    {1003, 3, "Deep Thinking Mode - Themed Puzzles"},
    {1005, 4, "Brute Force Mode - Complex Grids"},
    {1036, 5, "Thorough Mode - Any Grid"},
};

constexpr Choice kWordLists[] = {
    {1006, 1, "English - United States"}, {1007, 2, "English - United Kingdom"}, {1033, 3, "English - Canada"},
    {1034, 4, "English - Australia"},     {1035, 5, "English - India"},
};

// Adds the buttons of one group to a layout and checks the one of the given
// value, or the first one when no button has it.
template <std::size_t N>
QButtonGroup* AddChoices(QWidget* owner, QVBoxLayout* layout, const Choice (&choices)[N], int value) {
    auto* group = new QButtonGroup(owner);
    QRadioButton* selected = nullptr;
    for (const Choice& choice : choices) {
        auto* button = new QRadioButton(QString::fromUtf8(choice.text));
        button->setObjectName(QStringLiteral("radio%1").arg(choice.controlId));
        group->addButton(button, choice.value);
        layout->addWidget(button);
        if (choice.value == value) selected = button;
    }
    if (selected == nullptr) selected = static_cast<QRadioButton*>(group->buttons().first());
    selected->setChecked(true);
    return group;
}

}  // namespace

CGeneratorSettings::CGeneratorSettings(int mode, int wordList, QWidget* parent)
    : QDialog(parent), generatingMode(mode), wordListId(wordList) {
    setWindowTitle(QStringLiteral("Generator Settings"));

    auto* modeBox = new QGroupBox(QStringLiteral("Crossword Generating Mode"));
    auto* modeLayout = new QVBoxLayout(modeBox);
    modeLayout->addWidget(new QLabel(QStringLiteral("Weaker Generating Strength")), 0, Qt::AlignHCenter);
    modeGroup_ = AddChoices(this, modeLayout, kModes, generatingMode);
    modeLayout->addWidget(new QLabel(QStringLiteral("Stronger Generating Strength")), 0, Qt::AlignHCenter);

    auto* listBox = new QGroupBox(QStringLiteral("Generator Word List"));
    auto* listLayout = new QVBoxLayout(listBox);
    wordListGroup_ = AddChoices(this, listLayout, kWordLists, wordListId);
    listLayout->addStretch(1);

    // Clicks, not checks, write the members: setting the initial selection
    // above leaves an out-of-range value alone.
    connect(modeGroup_, &QButtonGroup::idClicked, this, [this](int value) { generatingMode = value; });
    connect(wordListGroup_, &QButtonGroup::idClicked, this, [this](int value) { wordListId = value; });

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* right = new QVBoxLayout;
    right->addWidget(listBox, 1);
    right->addWidget(buttons);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(modeBox);
    layout->addLayout(right);
}

QRadioButton* CGeneratorSettings::Button(int controlId) const {
    return findChild<QRadioButton*>(QStringLiteral("radio%1").arg(controlId));
}
