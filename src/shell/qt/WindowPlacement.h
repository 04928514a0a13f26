#pragma once

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace zorbe {

// Moves a top-level window to the middle of the screen's work area.
inline void centreOnScreen(QWidget &window)
{
    const QScreen *screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const QSize size = window.frameGeometry().size().expandedTo(window.size());
    window.move(area.left() + (area.width() - size.width()) / 2, area.top() + (area.height() - size.height()) / 2);
}

} // namespace zorbe
