#pragma once

#include <QDialog>

class QLabel;

// About: the program's name and version, and where the copyright and
// permission notices of the shipped word lists (SCOWL) and clues (WordNet)
// are, beside the executable.
class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    // programVersion is the number written into puzzle files (60601);
    // noticeFolder is where the licence files are looked for.
    CAboutDlg(int programVersion, const QString& noticeFolder, QWidget* parent = nullptr);

    // The licence notice files, in the order shown.
    static QStringList NoticeFileNames();

    QString Text() const;

private:
    QLabel* text_;
};
