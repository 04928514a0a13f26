#pragma once

#include "paper/PageCanvas.h"
#include "paper/qt/QtPageCanvas.h"

#include <QImage>
#include <QPageLayout>
#include <QPainter>
#include <QString>

#include <memory>

class QPaintDevice;
class QPdfWriter;
class QPrinter;

namespace zorbe {

// Pixels per inch of a screen device (the display window's page widget).
int screenPixelsPerInch(const QPaintDevice &device);

// The printer's unprintable top-left margin in device units: subtracted
// from page coordinates so that millimetres count from the sheet's edge.
struct TPrintingOffset
{
    int x = 0;
    int y = 0;
};
TPrintingOffset printingOffset(const QPrinter &printer);
// The printer's vertical resolution (device units per inch).
int printerResolution(const QPrinter &printer);

// A page drawn into an image (a white sheet), at the dpi and origin the
// caller's drawing path gives.
class ImagePage
{
public:
    ImagePage(QSize size, int dpi, int originX, int originY);
    TPageContext context() { return {*m_canvas, m_originX, m_originY, m_dpi}; }
    QtPageCanvas &canvas() { return *m_canvas; }
    // Ends the drawing and gives the image.
    const QImage &finish();
    bool save(const QString &file);

private:
    QImage m_image;
    std::unique_ptr<QPainter> m_painter;
    std::unique_ptr<QtPageCanvas> m_canvas;
    int m_dpi;
    int m_originX;
    int m_originY;
};

// One print job on a printer (or the printer's PDF output): begun with
// the job title, dpi = the printer's resolution, origin = its printing
// offset.
class PrinterJob
{
public:
    PrinterJob(QPrinter &printer, const QString &title);
    ~PrinterJob();
    bool isActive() const;
    TPageContext context() { return {*m_canvas, m_offset.x, m_offset.y, m_dpi}; }
    QtPageCanvas &canvas() { return *m_canvas; }
    bool newPage();
    bool end();
    void abort();

private:
    QPrinter &m_printer;
    std::unique_ptr<QPainter> m_painter;
    std::unique_ptr<QtPageCanvas> m_canvas;
    TPrintingOffset m_offset;
    int m_dpi = 0;
};

// A PDF file of A4 pages without margins (origin 0, 0), by default
// landscape at 600 dpi.
class PdfJob
{
public:
    PdfJob(const QString &file, const QString &title,
           QPageLayout::Orientation orientation = QPageLayout::Landscape, int dpi = 600);
    ~PdfJob();
    bool isActive() const;
    TPageContext context() { return {*m_canvas, 0, 0, m_dpi}; }
    QtPageCanvas &canvas() { return *m_canvas; }
    bool newPage();
    bool end();

private:
    std::unique_ptr<QPdfWriter> m_writer;
    std::unique_ptr<QPainter> m_painter;
    std::unique_ptr<QtPageCanvas> m_canvas;
    int m_dpi;
};

} // namespace zorbe
