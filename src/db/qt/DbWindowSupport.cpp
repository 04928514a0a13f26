#include "db/qt/DbWindowSupport.h"

#include "paper/PrintTarget.h"
#include "platform/Desktop.h"
#include "platform/ProfileFile.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <charconv>
#include <optional>

namespace zorbe {
namespace {

std::optional<int> parseNumber(const std::string &text)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

} // namespace

PagePaintBox::PagePaintBox(QWidget *parent, QSize size, std::function<void(QPainter &)> paint)
    : QWidget(parent)
    , m_paint(std::move(paint))
{
    setObjectName(QStringLiteral("PaintBox1"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedSize(size);
}

void PagePaintBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    m_paint(painter);
}

void reportLater(QObject &context, DesktopServices &desktop, std::string text)
{
    QTimer::singleShot(0, &context, [&desktop, text = std::move(text)] { desktop.showError(text); });
}

void printPage(TPrinter *printer, DesktopServices &desktop, const char *title, const std::string &failure,
               const std::function<void(const TPageContext &ctx)> &draw)
{
    if (!printer) {
        desktop.showError(failure + "プリンターがありません。");
        return;
    }
    ScopedBusyCursor busy(desktop);
    // The printer is shared with the newspaper windows, whose last job may
    // have turned the sheet upright; these pages print across it.
    printer->setSheetOrientation(SheetOrientation::Landscape);
    std::unique_ptr<TPrintJob> job = printer->beginJob(title);
    if (!job) {
        desktop.showError(failure + printer->errorText());
        return;
    }
    try {
        draw(job->context());
    } catch (const std::exception &e) {
        job->abort();
        desktop.showError(failure + e.what());
        return;
    }
    if (!job->end())
        desktop.showError(failure + printer->errorText());
}

TWindowGeometry readWindowGeometry(const ProfileFile &settings, std::string_view section,
                                   const TWindowGeometry &defaults)
{
    auto read = [&](const char *key, int fallback) {
        return parseNumber(settings.readString(section, key, std::to_string(fallback))).value_or(fallback);
    };
    TWindowGeometry g;
    g.height = read("Height", defaults.height);
    g.width = read("Width", defaults.width);
    g.left = read("Left", defaults.left);
    g.top = read("Top", defaults.top);
    if (g.height <= 0 || g.width <= 0) {
        g.height = defaults.height;
        g.width = defaults.width;
    }
    return g;
}

void storeWindowGeometry(ProfileFile &settings, std::string_view section, const QWidget &window)
{
    settings.writeString(section, "Left", std::to_string(window.x()));
    settings.writeString(section, "Top", std::to_string(window.y()));
    settings.writeString(section, "Height", std::to_string(window.height()));
    settings.writeString(section, "Width", std::to_string(window.width()));
}

void applyWindowGeometry(QWidget &window, const TWindowGeometry &g, const TWindowGeometry &defaults)
{
    window.resize(g.width, g.height);
    QPoint at(g.left, g.top);
    // A position from another screen set-up would hide the window.
    bool visible = false;
    for (const QScreen *screen : QGuiApplication::screens())
        visible = visible || screen->availableGeometry().intersects(QRect(at, QSize(g.width, g.height)));
    if (!visible && !QGuiApplication::screens().isEmpty())
        at = QPoint(defaults.left, defaults.top);
    window.move(at);
}

} // namespace zorbe
