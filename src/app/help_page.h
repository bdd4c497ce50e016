#pragma once

#include <QString>

class QWidget;

namespace korvo::app {

// Online Help: opens the help page page in the desktop's browser. When the
// page is missing, or no browser takes it (no opener, or the opener fails,
// which it reports only after it has run), a message over parent names the
// page's path so the user can open it by hand. The failure of the opener
// comes back through the event loop; the opener runs as a child of the
// application object.
void OpenHelpPage(QWidget* parent, const QString& page);

// The message shown when no browser took the page.
QString NoBrowserMessage(const QString& page);

}  // namespace korvo::app
