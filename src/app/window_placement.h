#pragma once

#include <QList>
#include <QRect>
#include <QSize>

#include <optional>

class QMainWindow;

// Where the main window opens: most of the screen on a first start, then
// the size and place of the last session, kept in QSettings and always
// brought back onto a screen.
namespace korvo::app {

// The share of the screen's free area a first start takes, in each direction.
inline constexpr double kFirstStartShare = 0.85;

// The window of a first start: kFirstStartShare of the free area of screen
// (never less than minimum where the screen allows it), centred on it.
QRect FirstStartGeometry(const QRect& screen, const QSize& minimum);

// Where a window saved at saved opens, given the free areas of the screens
// (the first is the primary screen). The window goes on the screen it
// overlaps most, made no larger than that screen and moved until all of it
// is on it; a window that overlaps no screen opens as on a first start on
// the primary screen. Without a saved window, or with an empty one, the
// first start's place. minimum is the smallest size that shows every menu.
QRect RestoredGeometry(const std::optional<QRect>& saved, const QList<QRect>& screens, const QSize& minimum);

// Sizes and places window before it is first shown, from the settings
// (first start when none), and shows it (maximized when it was).
void RestoreAndShow(QMainWindow& window);
// Keeps window's normal size and place and its maximized state in the settings.
void SavePlacement(const QMainWindow& window);

}  // namespace korvo::app
