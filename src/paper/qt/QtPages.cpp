#include "paper/qt/QtPages.h"

#include "platform/Png.h"

#include <QFile>
#include <QPaintDevice>
#include <QPdfWriter>
#include <QPrinter>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace zorbe {

namespace {

void setPageHints(QPainter &painter)
{
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
}

} // namespace

int screenPixelsPerInch(const QPaintDevice &device)
{
    return device.logicalDpiY();
}

TPrintingOffset printingOffset(const QPrinter &printer)
{
    // The painter's origin is the printable area's corner; its distance from
    // the sheet's corner is the unprintable margin.
    const QPageLayout layout = printer.pageLayout();
    const int dpi = printer.resolution();
    const QRect paint = layout.paintRectPixels(dpi);
    const QRect full = layout.fullRectPixels(dpi);
    return {paint.left() - full.left(), paint.top() - full.top()};
}

int printerResolution(const QPrinter &printer)
{
    return printer.logicalDpiY();
}

namespace {

// A white sheet of RGB32 pixels. A screen page is ten megabytes, and the
// first write to fresh memory is most of the cost of whitening it, so the
// two halves are whitened side by side.
QImage whiteSheet(QSize size)
{
    const int width = std::max(size.width(), 0), height = std::max(size.height(), 0);
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 4;
    const std::size_t bytes = rowBytes * static_cast<std::size_t>(height);
    auto *data = bytes ? static_cast<uchar *>(std::malloc(bytes)) : nullptr;
    if (!data) {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::white);
        return image;
    }
    // White is all bits set in RGB32.
    const std::size_t half = rowBytes * static_cast<std::size_t>(height / 2);
    std::thread lower([data, half, bytes] { std::memset(data + half, 0xff, bytes - half); });
    std::memset(data, 0xff, half);
    lower.join();
    return QImage(data, width, height, static_cast<qsizetype>(rowBytes), QImage::Format_RGB32,
                  [](void *memory) { std::free(memory); }, data);
}

} // namespace

ImagePage::ImagePage(QSize size, int dpi, int originX, int originY)
    : m_image(whiteSheet(size))
    , m_dpi(dpi)
    , m_originX(originX)
    , m_originY(originY)
{
    // The image's own resolution, so that fonts measure as on the page.
    const int dotsPerMetre = qRound(dpi / 0.0254);
    m_image.setDotsPerMeterX(dotsPerMetre);
    m_image.setDotsPerMeterY(dotsPerMetre);
    m_painter = std::make_unique<QPainter>(&m_image);
    setPageHints(*m_painter);
    m_canvas = std::make_unique<QtPageCanvas>(*m_painter, dpi);
}

const QImage &ImagePage::finish()
{
    if (m_painter && m_painter->isActive())
        m_painter->end();
    return m_image;
}

bool ImagePage::save(const QString &file)
{
    const QImage &image = finish();
    png::Rgb32Picture picture;
    picture.firstRow = image.constBits();
    picture.width = image.width();
    picture.height = image.height();
    picture.strideBytes = image.bytesPerLine();
    picture.dotsPerMetre = image.dotsPerMeterX();
    std::string bytes;
    try {
        bytes = png::encode(picture);
    } catch (const std::exception &) {
        return false;
    }
    QFile out(file);
    return out.open(QIODevice::WriteOnly | QIODevice::Truncate)
        && out.write(bytes.data(), static_cast<qint64>(bytes.size())) == static_cast<qint64>(bytes.size())
        && out.flush();
}

PrinterJob::PrinterJob(QPrinter &printer, const QString &title)
    : m_printer(printer)
{
    m_printer.setDocName(title);
    m_offset = printingOffset(m_printer);
    m_dpi = printerResolution(m_printer);
    m_painter = std::make_unique<QPainter>();
    if (m_painter->begin(&m_printer))
        setPageHints(*m_painter);
    m_canvas = std::make_unique<QtPageCanvas>(*m_painter, m_dpi);
}

PrinterJob::~PrinterJob()
{
    if (isActive())
        m_painter->end();
}

bool PrinterJob::isActive() const
{
    return m_painter && m_painter->isActive();
}

bool PrinterJob::newPage()
{
    return isActive() && m_printer.newPage();
}

bool PrinterJob::end()
{
    return isActive() && m_painter->end();
}

void PrinterJob::abort()
{
    if (isActive()) {
        m_printer.abort();
        m_painter->end();
    }
}

PdfJob::PdfJob(const QString &file, const QString &title, QPageLayout::Orientation orientation, int dpi)
    : m_writer(std::make_unique<QPdfWriter>(file))
    , m_dpi(dpi)
{
    m_writer->setTitle(title);
    m_writer->setCreator(QStringLiteral("zorbe"));
    m_writer->setResolution(dpi);
    m_writer->setPageLayout(QPageLayout(QPageSize(QPageSize::A4), orientation, QMarginsF(0, 0, 0, 0)));
    m_painter = std::make_unique<QPainter>();
    if (m_painter->begin(m_writer.get()))
        setPageHints(*m_painter);
    m_canvas = std::make_unique<QtPageCanvas>(*m_painter, dpi);
}

PdfJob::~PdfJob()
{
    if (isActive())
        m_painter->end();
}

bool PdfJob::isActive() const
{
    return m_painter && m_painter->isActive();
}

bool PdfJob::newPage()
{
    return isActive() && m_writer->newPage();
}

bool PdfJob::end()
{
    return isActive() && m_painter->end();
}

} // namespace zorbe
