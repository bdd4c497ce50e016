#include "window_placement.h"

#include <QGuiApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QScreen>
#include <QSettings>

#include <algorithm>

namespace korvo::app {

namespace {

const QString kGeometryKey = QStringLiteral("MainWindow/geometry");
const QString kMaximizedKey = QStringLiteral("MainWindow/maximized");

qint64 Area(const QRect& rect) { return rect.isEmpty() ? 0 : static_cast<qint64>(rect.width()) * rect.height(); }

// The rect made no larger than screen and moved until it lies inside it.
QRect Inside(QRect rect, const QRect& screen) {
    rect.setWidth(std::min(rect.width(), screen.width()));
    rect.setHeight(std::min(rect.height(), screen.height()));
    rect.moveLeft(std::clamp(rect.left(), screen.left(), screen.right() - rect.width() + 1));
    rect.moveTop(std::clamp(rect.top(), screen.top(), screen.bottom() - rect.height() + 1));
    return rect;
}

}  // namespace

QRect FirstStartGeometry(const QRect& screen, const QSize& minimum) {
    if (screen.isEmpty()) return QRect(QPoint(0, 0), minimum);
    const int width = std::max(static_cast<int>(screen.width() * kFirstStartShare), minimum.width());
    const int height = std::max(static_cast<int>(screen.height() * kFirstStartShare), minimum.height());
    QRect rect(0, 0, std::min(width, screen.width()), std::min(height, screen.height()));
    rect.moveCenter(screen.center());
    return rect;
}

QRect RestoredGeometry(const std::optional<QRect>& saved, const QList<QRect>& screens, const QSize& minimum) {
    const QRect primary = screens.isEmpty() ? QRect() : screens.front();
    if (!saved || saved->isEmpty()) return FirstStartGeometry(primary, minimum);
    const QRect* best = nullptr;
    for (const QRect& screen : screens) {
        if (Area(screen.intersected(*saved)) > (best ? Area(best->intersected(*saved)) : 0)) best = &screen;
    }
    if (best == nullptr) return FirstStartGeometry(primary, minimum);
    return Inside(*saved, *best);
}

void RestoreAndShow(QMainWindow& window) {
    QList<QRect> screens;
    if (const QScreen* primary = QGuiApplication::primaryScreen()) screens.append(primary->availableGeometry());
    for (const QScreen* screen : QGuiApplication::screens()) {
        if (screen != QGuiApplication::primaryScreen()) screens.append(screen->availableGeometry());
    }
    const QSettings settings;
    std::optional<QRect> saved;
    if (const QVariant value = settings.value(kGeometryKey); value.canConvert<QRect>()) saved = value.toRect();
    // The menu bar's full width: no menu behind the overflow button.
    QSize minimum = window.sizeHint().expandedTo(window.minimumSizeHint());
    if (const QMenuBar* menus = window.menuBar())
        minimum.setWidth(std::max(minimum.width(), menus->sizeHint().width()));
    window.setGeometry(RestoredGeometry(saved, screens, minimum));
    if (saved && settings.value(kMaximizedKey, false).toBool()) {
        window.showMaximized();
    } else {
        window.show();
    }
}

void SavePlacement(const QMainWindow& window) {
    QSettings settings;
    // The normal place, also of a maximized window, so that un-maximizing
    // after the next start gives it back.
    settings.setValue(kGeometryKey, window.isMaximized() ? window.normalGeometry() : window.geometry());
    settings.setValue(kMaximizedKey, window.isMaximized());
}

}  // namespace korvo::app
