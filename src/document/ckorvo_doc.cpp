// The document's life: construction with the start-up sequence, a new
// puzzle, closing, destruction, the default page texts and the title.
#include "document/ckorvo_doc.h"

#include <ctime>
#include <new>

#include "clues/assign_clues.h"
#include "platform/paths.h"
#include "platform/random.h"

namespace korvo {

namespace {

int LocalYear() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (localtime_r(&now, &local) == nullptr) return 1970;
    return local.tm_year + 1900;
}

// A font that is all zero except its height and face name.
LOGFONTW PlainFont(std::int32_t height) {
    LOGFONTW font{};
    font.lfHeight = height;
    SetFaceName(font, u"Arial");
    return font;
}

}  // namespace

CkorvoDoc::CkorvoDoc(Host& hostIn, DocumentEnvironment environmentIn)
    : pageWidth(8000),
      pageHeight(10500),
      generatingMode(1),
      appliedMode(0),
      wordListId(1),
      loadedWordListId(0),
      skipSettingsSave(false),
      solutionProbe(0),
      programVersion(kProgramVersion),
      gridViewShown(true),
      gridColor(0),
      cluesColor(0),
      titleColor(0),
      underlinedTitle(true),
      rightSideGrid(true),
      // Every margin starts at its default, so that a settings file that is
      // cut short or holds an unreadable value leaves defined margins.
      marginLeft(250),
      marginRight(250),
      marginTop(250),
      marginBottom(250),
      printMarginLeft(250),
      printMarginRight(250),
      printMarginTop(250),
      printMarginBottom(250),
      dataFolder(PathToU16(environmentIn.dataFolder)),
      newGridSize(15),
      host(hostIn),
      environment(std::move(environmentIn)) {
    PrepareDataFolder();

    for (int n = 1; n <= 5; ++n) {
        const std::filesystem::path folder = DataPath("NEWCLUES" + std::to_string(n));
        if (folder.empty()) break;
        std::error_code ignored;
        std::filesystem::create_directory(folder, ignored);
    }

    try {
        wordStore = std::make_unique<WordStore>();
    } catch (const std::bad_alloc&) {
        host.FatalExit(u"FATAL ERROR: Word Buffer Creation Failed.");
    }
    Random::SeedWithTime();

    ResetPuzzleTexts();
    if (!LoadSettings()) {
        marginLeft = marginRight = marginTop = marginBottom = 250;
        printMarginLeft = printMarginRight = printMarginTop = printMarginBottom = 250;
    }

    // Fonts never come from the settings file.
    bannerFont = PlainFont(-12);
    gridFont = PlainFont(-12);
    clueFont = PlainFont(-12);
    clueFont.lfOutPrecision = 8;
    clueFont.lfPitchAndFamily = 2;
    titleFont = PlainFont(-18);
    titleFont.lfUnderline = underlinedTitle ? 1 : 0;

    ComputePageMetrics();
}

CkorvoDoc::~CkorvoDoc() {
    // The puzzle goes first: its destructor stops a running fill, whose
    // worker still searches the word store.
    cwData.reset();
    wordStore.reset();
}

std::filesystem::path CkorvoDoc::DataPath(std::string_view name) const {
    if (environment.dataFolder.empty()) return {};
    return environment.dataFolder / std::filesystem::path(std::string(name));
}

void CkorvoDoc::ResetPuzzleTexts() {
    titleText = u"TO DO: Puzzle Title";
    answerTitleText = u"Puzzle Answer";
    authorText = u"TO DO: by Author";
    copyrightText = DefaultCopyright(LocalYear());
}

bool CkorvoDoc::OnNewDocument() {
    // The framework's part: the document forgets its file.
    pathName.clear();

    // The old puzzle goes before the new one is made; its destructor waits
    // for a running fill.
    cwData.reset();
    modeAppliedTo = nullptr;
    gridViewShown = true;
    modified = false;

    cwData = std::make_unique<CCWData>(wordStore.get(), newGridSize);
    cwData->wordListId = wordListId;
    cwData->assignClues = &AssignClues;
    ApplyGeneratorSettings();
    ResetPuzzleTexts();

    cwData->dataFolder = dataFolder;
    cwData->title = titleText;
    cwData->answerTitle = answerTitleText;
    cwData->copyright = copyrightText;
    cwData->author = authorText;
    return true;
}

void CkorvoDoc::OnCloseDocument() {
    if (!skipSettingsSave) SaveSettings();
}

std::u16string CkorvoDoc::Title() const {
    if (pathName.empty()) return u"Untitled";
    return PathToU16(pathName.filename());
}

}  // namespace korvo
