#pragma once

#include "paper/PageCanvas.h"

#include <QWidget>

#include <functional>
#include <string>
#include <string_view>

class QObject;
class QPainter;

namespace zorbe {

class DesktopServices;
class ProfileFile;
class TPrinter;

// The paint box of a page: the page box's size, white, painted by paint.
class PagePaintBox : public QWidget
{
public:
    PagePaintBox(QWidget *parent, QSize size, std::function<void(QPainter &)> paint);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    std::function<void(QPainter &)> m_paint;
};

// A failed paint reported once the paint has ended: a message box would
// run the event loop in the middle of it.
void reportLater(QObject &context, DesktopServices &desktop, std::string text);

// One page printed as a job of its own, under the busy cursor. What goes
// wrong is shown after failure (UTF-8).
void printPage(TPrinter *printer, DesktopServices &desktop, const char *title, const std::string &failure,
               const std::function<void(const TPageContext &ctx)> &draw);

// A window's client size and position as the settings keep them, in
// section (cp932) under Height, Width, Left, Top.
struct TWindowGeometry
{
    int height = 0;
    int width = 0;
    int left = 0;
    int top = 0;
};

// The stored geometry; a value that is missing or not a number is taken
// from the defaults.
TWindowGeometry readWindowGeometry(const ProfileFile &settings, std::string_view section,
                                   const TWindowGeometry &defaults);
void storeWindowGeometry(ProfileFile &settings, std::string_view section, const QWidget &window);
// Sets the client size and the position; a window that would lie off
// every screen is put at the defaults' position instead.
void applyWindowGeometry(QWidget &window, const TWindowGeometry &geometry, const TWindowGeometry &defaults);

} // namespace zorbe
