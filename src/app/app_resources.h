#pragma once

#include <QIcon>
#include <QString>

// The resources shipped inside the window program: its icons and the place
// of the help page.
namespace korvo::app {

// The application icon in every size shipped.
QIcon ApplicationIcon();
// The toolbar icon of a command, or a null icon when it has none.
QIcon CommandIcon(int commandId);
// The help page installed beside the executable.
QString HelpPagePath();

}  // namespace korvo::app
