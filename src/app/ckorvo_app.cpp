#include "ckorvo_app.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QSettings>
#include <QTimer>
#include <QUrl>

#include "appearance_pickers.h"
#include "ckorvo_view.h"
#include "clue_manager_dialog.h"
#include "clues/clue_editor.h"
#include "document/appearance.h"
#include "document/export_command.h"
#include "generator_settings_dialog.h"
#include "layout_dialog.h"
#include "main_frame.h"
#include "model/generation_status.h"
#include "pdf_page.h"
#include "platform/paths.h"
#include "printer_page.h"
#include "qt_host.h"
#include "title_dialog.h"
#include "window_placement.h"

namespace {

using namespace korvo;

// The file type of puzzle files in the open and save dialogs.
const FileFilter kPuzzleFilter{u"Crossword Files (*.kvz)", u"*.kvz"};
const FileFilter kAllFilesFilter{u"All Files (*.*)", u"*.*"};
constexpr char16_t kPuzzleExtension[] = u"kvz";
// How often a close waits for a stopped fill to end.
constexpr int kStopPollMs = 50;
const QString kRecentFilesKey = QStringLiteral("Recent File List");

QString FromU16(const std::u16string& text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

std::filesystem::path PathOf(const QString& file) {
    return PathFromU16(
        std::u16string(reinterpret_cast<const char16_t*>(file.utf16()), static_cast<std::size_t>(file.size())));
}

QString FromPath(const std::filesystem::path& path) { return FromU16(PathToU16(path)); }

bool IsRunActive(int status) { return status == StatusGenerating || status == StatusReverting; }

}  // namespace

CkorvoApp::CkorvoApp(korvo::Host& host, korvo::DocumentEnvironment environment)
    : host_(host),
      environment_(std::move(environment)),
      printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
    korvo::view::PreparePageSetupPrinter(*printer_);
    if (auto* qtHost = dynamic_cast<QtHost*>(&host_)) qtHost->SetPrinter(printer_.get());
}

CkorvoApp::~CkorvoApp() {
    if (auto* qtHost = dynamic_cast<QtHost*>(&host_)) {
        qtHost->SetPrinter(nullptr);
        qtHost->SetParentWidget(nullptr);
    }
    // The view goes with the frame before the document it reads; the
    // document's destructor then stops and waits for a fill still running.
    if (frame_) frame_->removeEventFilter(this);
    frame_.reset();
    document_.reset();
}

bool CkorvoApp::InitInstance(const QStringList& arguments) {
    document_ = std::make_unique<CkorvoDoc>(host_, environment_);

    frame_ = std::make_unique<CMainFrame>();
    view_ = new CkorvoView(frame_.get());
    view_->SetPrinter(printer_.get());
    frame_->setCentralWidget(view_);
    frame_->installEventFilter(this);
    frame_->setAcceptDrops(true);
    if (auto* qtHost = dynamic_cast<QtHost*>(&host_)) qtHost->SetParentWidget(frame_.get());
    connect(view_, &CkorvoView::DocumentChanged, this, &CkorvoApp::OnDocumentChanged);
    view_->SetActions(this);
    view_->SetDocument(document_.get());
    frame_->SetCommandTarget(this);

    // The first argument that is not an option names a puzzle file.
    QString file;
    for (const QString& argument : arguments) {
        if (!argument.startsWith(QLatin1Char('-'))) {
            file = argument;
            break;
        }
    }
    bool opened = false;
    if (!file.isEmpty()) {
        const std::filesystem::path path = PathOf(file);
        opened = document_->OpenPuzzleFile(path);
        if (opened) {
            document_->pathName = path;
            document_->SetModifiedFlag(false);
            AddRecentFile(path);
        }
    }
    // Without a file, or when the named file could not be read (its message
    // has been shown), the window starts with a new puzzle.
    if (!opened && !document_->OnNewDocument()) return false;

    view_->OnInitialUpdate();
    // The size and place of the last session, or most of the screen.
    korvo::app::RestoreAndShow(*frame_);
    OnDocumentChanged();
    return true;
}

korvo::CommandStateInput CkorvoApp::StateInput() const {
    korvo::CommandStateInput input;
    if (!document_) return input;
    input.status = document_->cwData ? document_->cwData->GetStatus() : StatusDesigning;
    input.gridViewShown = document_->gridViewShown;
    input.underlinedTitle = document_->underlinedTitle;
    input.newGridSize = document_->newGridSize;
    return input;
}

bool CkorvoApp::OnCommand(int id) {
    if (!document_ || view_ == nullptr) return false;
    namespace c = korvo::cmd;
    switch (id) {
        case c::kFileNew: OnFileNew(); return true;
        case c::kFileOpen: OnFileOpen(); return true;
        case c::kFileSave: OnFileSave(); return true;
        case c::kFileSaveAs: OnFileSaveAs(); return true;
        case c::kFileMruFirst: return true;  // the recent-file list is kept but not shown
        case c::kFilePrintSetup: OnFilePrintSetup(); return true;
        case c::kFilePrint: view_->OnFilePrint(); return true;
        case c::kFilePrintDirect: view_->OnFilePrintDirect(); return true;
        case c::kFilePrintPreview: view_->OnFilePrintPreview(); return true;
        case c::kSavePuzzleAsText: document_->OnSavePuzzleAsText(); return true;
        case c::kLoadSolution:
            document_->OnLoadSolution();
            view_->layoutState = -1;
            view_->Redraw();
            return true;
        case c::kRestoreDefaults: document_->RestoreDefaultSettings(); return true;
        case c::kClearGrid: view_->OnClearGrid(); return true;
        case c::kEditAcrossWord: view_->OnEditAcrossWord(); return true;
        case c::kEditDownWord: view_->OnEditDownWord(); return true;
        case c::kToggleCircle: view_->OnToggleCircle(); return true;
        case c::kToggleView: view_->OnToggleView(); return true;
        case c::kStartGenerating: view_->OnStartGenerating(); return true;
        case c::kStopGenerating: view_->OnStopGenerating(); return true;
        case c::kOptions: OnOptions(); return true;
        case c::kGridSize9:
        case c::kGridSize11:
        case c::kGridSize13:
        case c::kGridSize15:
        case c::kGridSize21: document_->OnGridSize(korvo::FindCommand(id)->gridSize); return true;
        case c::kTitleColor: OnColor(korvo::AppearanceColor::Title); return true;
        case c::kGridColor: OnColor(korvo::AppearanceColor::Grid); return true;
        case c::kCluesColor: OnColor(korvo::AppearanceColor::Clues); return true;
        case c::kTitleFont: OnFont(korvo::AppearanceFont::Title); return true;
        case c::kGridFont: OnFont(korvo::AppearanceFont::Grid); return true;
        case c::kClueFont: OnFont(korvo::AppearanceFont::Clue); return true;
        case c::kUnderlinedTitle:
            korvo::ToggleUnderlinedTitle(*document_);
            AppearanceChanged();
            return true;
        case c::kTitle: OnPageText(korvo::PageText::Title); return true;
        case c::kAnswerTitle: OnPageText(korvo::PageText::AnswerTitle); return true;
        case c::kCopyright: OnPageText(korvo::PageText::Copyright); return true;
        case c::kAuthor: OnPageText(korvo::PageText::Author); return true;
        case c::kPageLayout: OnPageLayout(); return true;
        case c::kClues: OnEditClues(); return true;
        case c::kExportPuzzle: OnExportPuzzle(); return true;
        default:
            // About, Online Help and Exit are the frame's; the rest have no
            // handler here yet.
            return false;
    }
}

void CkorvoApp::AppearanceChanged() {
    view_->layoutState = -1;
    view_->Redraw();
    OnDocumentChanged();
}

void CkorvoApp::OnEditClues() { EditCluesAt(u"", korvo::kAdvanceNextWord); }

void CkorvoApp::EditCluesAt(const std::u16string& word, int advanceOption) {
    if (!document_) return;
    CCWData* puzzle = document_->cwData.get();
    if (puzzle == nullptr || puzzle->GetStatus() != StatusFilled) return;
    CClueManagerDlg dialog(frame_.get());
    korvo::ClueEditorDocumentOf<CkorvoDoc> clueDocument(*document_);
    // The walk gets its own copy of the word: the list it edits may hold it.
    const std::u16string start = word;
    if (korvo::EditClues(puzzle->clues, document_->dataFolder, puzzle->wordListId, clueDocument, dialog, start,
                         advanceOption)) {
        document_->SetModifiedFlag(true);
        AppearanceChanged();
    }
}

void CkorvoApp::OpenPageTextDialog(korvo::PageText which) { OnPageText(which); }

std::optional<std::u16string> CkorvoApp::AskWordEntry(bool across, int length, const std::u16string& current) {
    return ::AskWordEntry(frame_.get(), across, length, current);
}

void CkorvoApp::RunCommand(int id) {
    if (frame_) frame_->ExecuteCommand(id);
}

void CkorvoApp::OnExportPuzzle() {
    // A PDF holds the picture the view shows (the puzzle page or the grid
    // view), made in memory and written through the safe file writer.
    // It is on the page setup's paper, in its orientation, as printed.
    CkorvoDoc& doc = *document_;
    const korvo::view::PaperSheet sheet = korvo::view::SheetOf(*printer_);
    const korvo::PdfWriter writePdf = [&doc, sheet](const std::filesystem::path& path) {
        return korvo::view::WritePdfPage(doc, korvo::view::ShownPicture(doc), path, sheet);
    };
    korvo::OnExportPuzzle(doc, writePdf);
}

void CkorvoApp::OnColor(korvo::AppearanceColor which) {
    const auto chosen = PickColor(frame_.get(), korvo::CurrentColor(*document_, which));
    if (!chosen) return;
    korvo::ApplyColorChoice(*document_, which, *chosen);
    AppearanceChanged();
}

void CkorvoApp::OnFont(korvo::AppearanceFont which) {
    const bool scalableOnly = which == korvo::AppearanceFont::Clue;
    const auto chosen = PickFont(frame_.get(), korvo::CurrentFont(*document_, which), scalableOnly);
    if (!chosen) return;
    korvo::ApplyFontChoice(*document_, which, *chosen);
    AppearanceChanged();
}

void CkorvoApp::OnPageText(korvo::PageText which) {
    const auto answer = AskPageText(frame_.get(), which, korvo::CurrentPageText(*document_, which));
    if (!answer) return;
    if (korvo::ApplyPageText(*document_, which, *answer)) AppearanceChanged();
}

void CkorvoApp::OnPageLayout() {
    const auto values = AskPageLayout(frame_.get(), korvo::LayoutDialogValuesFrom(*document_));
    if (!values) return;
    korvo::ApplyPageLayout(*document_, *values);
    AppearanceChanged();
}

void CkorvoApp::OnDocumentChanged() {
    if (!frame_ || !document_) return;
    frame_->SetDocumentTitle(FromU16(document_->Title()));
    frame_->UpdateCommandStates();
    // While a fill runs the status bar shows how far it has come.
    const korvo::RunProgress progress = document_->cwData ? document_->cwData->GetProgress() : korvo::RunProgress{};
    frame_->SetStatusText(
        QString::fromStdString(progress.running ? korvo::DescribeProgress(progress) : std::string(korvo::kIdleText)));
}

bool CkorvoApp::SaveModified() {
    if (!document_ || !document_->IsModified()) return true;
    const std::u16string question = u"Save changes to " + document_->Title() + u"?";
    switch (host_.MessageBox(question, MessageIcon::Warning, MessageButtons::YesNoCancel)) {
        case MessageResult::Yes: return OnFileSave();
        case MessageResult::No: return true;
        default: return false;
    }
}

void CkorvoApp::OnFileNew() {
    WaitCursor wait(host_);
    if (!SaveModified()) return;
    document_->OnNewDocument();
    view_->layoutState = -1;
    view_->ScrollToOrigin();
    view_->Redraw();
    OnDocumentChanged();
}

void CkorvoApp::OnFileOpen() {
    if (!SaveModified()) return;
    const std::optional<std::filesystem::path> path = host_.OpenFileDialog(u"Open", {kPuzzleFilter, kAllFilesFilter});
    if (path) OpenFile(*path);
}

bool CkorvoApp::OpenDocumentFile(const std::filesystem::path& path) {
    // A file cannot replace a puzzle that is being filled.
    if (document_->cwData && IsRunActive(document_->cwData->GetStatus())) return false;
    if (!SaveModified()) return false;
    return OpenFile(path);
}

bool CkorvoApp::OpenFile(const std::filesystem::path& path) {
    // The document reads the whole file first and replaces the puzzle only
    // when it is sound; a damaged file leaves the current one shown.
    const bool opened = document_->OpenPuzzleFile(path);
    if (opened) {
        document_->pathName = path;
        document_->SetModifiedFlag(false);
        AddRecentFile(path);
    }
    view_->layoutState = -1;
    view_->ScrollToOrigin();
    view_->Redraw();
    OnDocumentChanged();
    return opened;
}

bool CkorvoApp::OnFileSave() {
    if (document_->PathName().empty()) return OnFileSaveAs();
    return DoSave(document_->PathName());
}

bool CkorvoApp::OnFileSaveAs() {
    const std::optional<SaveDialogResult> chosen =
        host_.SaveFileDialog(u"Save As", {kPuzzleFilter}, std::u16string(kPuzzleExtension));
    if (!chosen) return false;
    return DoSave(chosen->path);
}

bool CkorvoApp::DoSave(const std::filesystem::path& path) {
    bool saved = false;
    {
        WaitCursor wait(host_);
        saved = document_->SavePuzzleFile(path);
    }
    if (saved) {
        document_->pathName = path;
        document_->SetModifiedFlag(false);
        AddRecentFile(path);
    }
    OnDocumentChanged();
    return saved;
}

void CkorvoApp::AddRecentFile(const std::filesystem::path& path) {
    std::error_code ignored;
    std::filesystem::path absolute = std::filesystem::absolute(path, ignored);
    if (absolute.empty()) absolute = path;
    const QString name = FromPath(absolute.lexically_normal());
    QStringList files = RecentFiles();
    files.removeAll(name);
    files.prepend(name);
    while (files.size() > kRecentFileCount) files.removeLast();
    QSettings settings;
    settings.setValue(kRecentFilesKey, files);
}

QStringList CkorvoApp::RecentFiles() const {
    QSettings settings;
    QStringList files = settings.value(kRecentFilesKey).toStringList();
    while (files.size() > kRecentFileCount) files.removeLast();
    return files;
}

void CkorvoApp::OnFilePrintSetup() {
    QPageSetupDialog dialog(printer_.get(), frame_.get());
    if (dialog.exec() != QDialog::Accepted) return;
    view_->UpdateScrollSizes();
    view_->Redraw();
}

void CkorvoApp::OnOptions() {
    if (!document_->cwData) return;
    CGeneratorSettings dialog(document_->generatingMode, document_->wordListId, frame_.get());
    if (dialog.exec() != QDialog::Accepted) return;
    document_->SetGeneratorOptions(dialog.generatingMode, dialog.wordListId);
    OnDocumentChanged();
}

bool CkorvoApp::CanCloseFrame() {
    if (closed_) return true;
    if (!closePrompted_) {
        if (!SaveModified()) return false;
        closePrompted_ = true;
    }
    CCWData* puzzle = document_ ? document_->cwData.get() : nullptr;
    if (puzzle != nullptr && puzzle->IsWorkerActive()) {
        // The fill is asked to stop; the window keeps painting while the
        // worker finishes its slice, and closes once it has ended.
        view_->StopGenerationTimer();
        puzzle->RequestStop();
        view_->Redraw();
        WaitForStopThenClose();
        return false;
    }
    view_->StopGenerationTimer();
    if (stopPoll_ != nullptr) {
        stopPoll_->stop();
        stopPoll_->deleteLater();
        stopPoll_ = nullptr;
        host_.EndWaitCursor();
    }
    korvo::app::SavePlacement(*frame_);
    document_->OnCloseDocument();
    closed_ = true;
    return true;
}

void CkorvoApp::WaitForStopThenClose() {
    if (stopPoll_ != nullptr) return;
    host_.BeginWaitCursor();
    stopPoll_ = new QTimer(this);
    connect(stopPoll_, &QTimer::timeout, this, [this] {
        CCWData* puzzle = document_ ? document_->cwData.get() : nullptr;
        if (puzzle != nullptr && puzzle->IsWorkerActive()) return;
        if (frame_) frame_->close();
    });
    stopPoll_->start(kStopPollMs);
}

bool CkorvoApp::eventFilter(QObject* watched, QEvent* event) {
    if (watched != frame_.get()) return QObject::eventFilter(watched, event);
    switch (event->type()) {
        case QEvent::Close:
            if (!CanCloseFrame()) {
                event->ignore();
                return true;
            }
            return false;
        case QEvent::DragEnter: {
            auto* drag = static_cast<QDragEnterEvent*>(event);
            if (drag->mimeData()->hasUrls() && !drag->mimeData()->urls().isEmpty() &&
                drag->mimeData()->urls().front().isLocalFile()) {
                drag->acceptProposedAction();
                return true;
            }
            return false;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            const QList<QUrl> urls = drop->mimeData()->urls();
            if (urls.isEmpty() || !urls.front().isLocalFile()) return false;
            drop->acceptProposedAction();
            const std::filesystem::path path = PathOf(urls.front().toLocalFile());
            // Opened from the event loop, not inside the drop: the save prompt
            // and any message are modal.
            QTimer::singleShot(0, this, [this, path] { OpenDocumentFile(path); });
            return true;
        }
        default: return QObject::eventFilter(watched, event);
    }
}
