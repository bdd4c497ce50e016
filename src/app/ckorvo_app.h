#pragma once

#include <QObject>
#include <QStringList>

#include <filesystem>
#include <memory>
#include <optional>

#include "command_target.h"
#include "document/appearance.h"
#include "document/ckorvo_doc.h"
#include "view_actions.h"

class CMainFrame;
class CkorvoView;
class QPrinter;
class QTimer;

// The application: creates the one document, the main frame and the view,
// opens a puzzle file named on the command line or dropped on the window,
// and carries out the file commands (New, Open, Save, Save As, Print Setup)
// with the save prompt of a modified puzzle. It is the frame's command
// target: every command goes to the document's or the view's handler, and
// the frame's command states are renewed after every change. It opens the
// dialogs the view's clicks ask for.
class CkorvoApp : public QObject, public CommandTarget, public ViewActions {
    Q_OBJECT

public:
    // The recent-file list keeps this many files (it is not shown in the menu).
    static constexpr int kRecentFileCount = 4;

    // host shows messages and dialogs; environment names the data and
    // program folders. Both must outlive the application.
    CkorvoApp(korvo::Host& host, korvo::DocumentEnvironment environment);
    ~CkorvoApp() override;

    // Creates the document, frame and view; opens the first file named in
    // arguments (without the program name) or makes a new puzzle; shows
    // the window. False when the program should end without a window.
    bool InitInstance(const QStringList& arguments);

    korvo::CkorvoDoc* Document() const { return document_.get(); }
    CMainFrame* Frame() const { return frame_.get(); }
    CkorvoView* View() const { return view_; }
    QPrinter* Printer() const { return printer_.get(); }

    // CommandTarget.
    bool OnCommand(int id) override;
    korvo::CommandStateInput StateInput() const override;

    // ViewActions.
    void OpenPageTextDialog(korvo::PageText which) override;
    void EditCluesAt(const std::u16string& word, int advanceOption) override;
    std::optional<std::u16string> AskWordEntry(bool across, int length, const std::u16string& current) override;
    void RunCommand(int id) override;

    // The file commands.
    void OnFileNew();
    void OnFileOpen();
    bool OnFileSave();
    bool OnFileSaveAs();
    void OnFilePrintSetup();
    void OnOptions();
    // Opens a puzzle file after the save prompt; a damaged file shows its
    // message and keeps the current puzzle. True when it was opened.
    bool OpenDocumentFile(const std::filesystem::path& path);
    // Asks "Save changes to <title>?" when the puzzle is modified and saves
    // on Yes; false when the user cancelled (or the save failed).
    bool SaveModified();

    // The recent-file list, newest first.
    QStringList RecentFiles() const;

    // Renews the caption and every command's state.
    void OnDocumentChanged();

protected:
    // Closing, dropped files.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The appearance commands: dialog, then the document's rule.
    void OnColor(korvo::AppearanceColor which);
    void OnFont(korvo::AppearanceFont which);
    void OnPageText(korvo::PageText which);
    void OnPageLayout();
    void OnEditClues();     // "Clues...": the Clue Manager from the first Across word
    void OnExportPuzzle();  // "Export Puzzle...": .puz, .ipuz or the printed page as PDF
    // Renews the page layout, the picture and the command states.
    void AppearanceChanged();
    bool DoSave(const std::filesystem::path& path);
    // Opens a file without the save prompt; see OpenDocumentFile.
    bool OpenFile(const std::filesystem::path& path);
    void AddRecentFile(const std::filesystem::path& path);
    // The window was asked to close: prompt, stop a running fill without
    // blocking, then close the document. True when it may close now.
    bool CanCloseFrame();
    void WaitForStopThenClose();

    korvo::Host& host_;
    korvo::DocumentEnvironment environment_;
    std::unique_ptr<QPrinter> printer_;  // the printer of Print, Preview and Print Setup
    std::unique_ptr<korvo::CkorvoDoc> document_;
    std::unique_ptr<CMainFrame> frame_;
    CkorvoView* view_ = nullptr;  // owned by the frame (its central widget)
    QTimer* stopPoll_ = nullptr;  // polls the end of a fill stopped by closing
    bool closePrompted_ = false;  // the save prompt of this close was answered
    bool closed_ = false;         // OnCloseDocument has run
};
