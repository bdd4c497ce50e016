#pragma once

#include <QDialog>

class QButtonGroup;
class QRadioButton;

// The Generator Settings dialog: the generating mode (how hard the fill
// engine works) and the word list it fills from. The radio buttons write the
// two members directly when clicked; a value outside its range shows the
// first button of its group selected but is kept until a button of that
// group is clicked, so OK without a click returns it unchanged.
class CGeneratorSettings : public QDialog {
    Q_OBJECT

public:
    CGeneratorSettings(int generatingMode, int wordListId, QWidget* parent = nullptr);

    int generatingMode;
    int wordListId;

    // The radio button of a control id (1002..1005 modes; 1006, 1007,
    // 1033..1035 word lists), or nullptr.
    QRadioButton* Button(int controlId) const;

private:
    QButtonGroup* modeGroup_;
    QButtonGroup* wordListGroup_;
};
