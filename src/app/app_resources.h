#pragma once

#include <QIcon>
#include <QString>

// The resources shipped inside the window program: its icons and the place
// of the help page.
namespace korvo::app {

// Names the application to Qt (organisation, application and desktop file
// names, the window icon) as the program and its window tests share it.
// No display name is set: the platform would append it to the caption of
// every window, so dialogs would not show exactly their own captions.
void SetApplicationIdentity();

// The application icon in every size shipped.
QIcon ApplicationIcon();
// The toolbar icon of a command, or a null icon when it has none.
QIcon CommandIcon(int commandId);
// Where a file shipped with the program is, by the core's search
// (korvo::ShippedFilePath): beside the executable (the build, a portable
// copy), else in the installed share folder (<prefix>/share/korvo beside
// <prefix>/bin). When it is in neither, the path beside the executable, so a
// message can name it.
QString ShippedFilePath(const QString& relativePath);
// The same search from a given executable folder.
QString ShippedFilePathFrom(const QString& executableFolder, const QString& relativePath);
// The folder holding the shipped licence notices, by the same search.
QString NoticeFolder();
// The help page.
QString HelpPagePath();

}  // namespace korvo::app
