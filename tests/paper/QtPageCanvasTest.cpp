#include "paper/PageModel.h"
#include "paper/qt/QtPageCanvas.h"
#include "paper/qt/QtPages.h"
#include "platform/Cp932.h"
#include "platform/Png.h"
#include "platform/qt/QtFonts.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPrinter>

#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>

namespace zorbe {
namespace {

const QColor kGrey(160, 160, 160);

// The box of the dark (ink) pixels of an image area.
QRect inkBox(const QImage &image, const QRect &area)
{
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qGray(image.pixel(x, y)) < 100)
                box = box.united(QRect(x, y, 1, 1));
    return box;
}

TEST(QtFonts, PageFacesMapToTheIpaFonts)
{
    EXPECT_EQ(mapFontFamily(QStringLiteral("ＭＳ Ｐ明朝")), QStringLiteral("IPAPMincho"));
    EXPECT_EQ(mapFontFamily(QStringLiteral("@ＭＳ Ｐゴシック")), QStringLiteral("IPAPGothic"));
    EXPECT_EQ(mapFontFamily(QStringLiteral("ＭＳ 明朝")), QStringLiteral("IPAMincho"));
    EXPECT_EQ(mapFontFamily(QStringLiteral("ＭＳ ゴシック")), QStringLiteral("IPAGothic"));
}

TEST(QtPageCanvas, TextCellsArePaintedWhiteAndColumnsLieLeftOfX)
{
    ImagePage page(QSize(400, 300), 147, 0, 0);
    PageCanvas &canvas = page.canvas();
    TPageContext ctx = page.context();
    canvas.setBrushColour({160, 160, 160});
    canvas.fillRect({0, 0, 400, 300});
    canvas.setBrushColour(kWhite);

    SelectHorizontalFont(ctx, 12, false, "1");
    canvas.textOut(20, 20, "    ");
    SelectPageFont(ctx, 12, true, "1");
    canvas.textOut(200, 20, sj("　　　"));
    const QImage &image = page.finish();

    // The blank horizontal text leaves a white cell right of and below its
    // point.
    EXPECT_EQ(image.pixelColor(25, 25), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(15, 25), kGrey);
    EXPECT_EQ(image.pixelColor(25, 15), kGrey);
    // The vertical column: white to the left of x, grey to its right.
    const int cell = 24;   // 12 pt at 147 dpi
    EXPECT_EQ(image.pixelColor(200 - cell / 2, 40), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(203, 40), kGrey);
    EXPECT_EQ(image.pixelColor(200 - cell - 3, 40), kGrey);
    // Three full-width characters run about three character heights down.
    EXPECT_EQ(image.pixelColor(190, 20 + 3 * cell - 4), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(190, 20 + 3 * cell + 4), kGrey);
}

TEST(QtPageCanvas, VerticalTextTurnsLatinAndUsesVerticalForms)
{
    ImagePage page(QSize(300, 300), 300, 0, 0);
    PageCanvas &canvas = page.canvas();
    TPageContext ctx = page.context();
    SelectPageFont(ctx, 10, true, "0");
    canvas.textOut(60, 10, sj("ー"));       // the long vowel mark stands as a bar
    canvas.textOut(120, 10, "1111");         // digits lie on their side
    SelectHorizontalFont(ctx, 10, false, "0");
    canvas.textOut(150, 10, sj("ー"));
    canvas.textOut(150, 100, "1111");
    const QImage &image = page.finish();

    const QRect vBar = inkBox(image, QRect(0, 0, 62, 120));
    const QRect vDigits = inkBox(image, QRect(63, 0, 60, 250));
    const QRect hBar = inkBox(image, QRect(150, 0, 150, 90));
    const QRect hDigits = inkBox(image, QRect(150, 95, 150, 100));
    ASSERT_FALSE(vBar.isEmpty());
    ASSERT_FALSE(hBar.isEmpty());
    EXPECT_GT(vBar.height(), 2 * vBar.width());
    EXPECT_GT(hBar.width(), 2 * hBar.height());
    EXPECT_GT(vDigits.height(), vDigits.width());
    EXPECT_GT(hDigits.width(), hDigits.height());
    EXPECT_LE(vDigits.right(), 120);
}

// A sample page to look at: vertical and horizontal text in both faces.
TEST(QtPageCanvas, SamplePage)
{
    ImagePage page(QSize(900, 700), 147, 0, 0);
    PageCanvas &canvas = page.canvas();
    TPageContext ctx = page.context();
    canvas.setBrushColour({200, 200, 200});
    canvas.fillRect({0, 0, 900, 700});
    canvas.setBrushColour(kWhite);
    const char *lines[] = {"ディープインパクト（父）", "第１２回　ジャパンカップ", "2400ｍ 芝 良「重」",
                           "前　 走、三走前。", "ｾﾝ 5 ５歳 ～ 1:33.4", "【Ｇ１】…ゾルベVer2.11"};
    int x = 860;
    for (const char *face : {"0", "1"}) {
        for (const char *text : lines) {
            SelectPageFont(ctx, 14, true, face);
            canvas.textOut(x, 10, sj(text));
            canvas.setPenWidth(1);
            canvas.moveTo(x, 5);
            canvas.lineTo(x, 690);
            x -= 45;
        }
    }
    int y = 10;
    for (const char *face : {"0", "1"})
        for (const char *text : lines) {
            SelectHorizontalFont(ctx, 11, std::string_view(text).size() > 30, face);
            canvas.textOut(10, y, sj(text));
            y += 30;
        }
    canvas.setFontColour({255, 0, 255});
    canvas.textOut(10, y, sj("⑧ 桃 ①②③"));
    ASSERT_TRUE(page.save(QStringLiteral("/tmp/zorbe-paper-sample.png")));
}

// The page pictures are written by our own PNG writer: whatever the page
// holds, the file reads back as the very pixels drawn, with the page's
// resolution, and a file that cannot be written is reported.
TEST(QtPages, PngFilesReadBackPixelForPixel)
{
    const QString file = QStringLiteral("/tmp/zorbe-paper-png-test.png");
    auto roundTrip = [&](ImagePage &page) {
        EXPECT_TRUE(page.save(file));
        QImage back(file);
        EXPECT_FALSE(back.isNull());
        return back;
    };

    // A drawn page: antialiased text in colours, lines and fills, on a
    // width that is not a multiple of anything convenient.
    ImagePage drawn(QSize(333, 217), 147, 0, 0);
    TPageContext ctx = drawn.context();
    PageCanvas &canvas = ctx.canvas;
    canvas.setBrushColour({250, 230, 10});
    canvas.fillRect({20, 20, 120, 90});
    canvas.setPenWidth(3);
    canvas.moveTo(0, 216);
    canvas.lineTo(332, 0);
    SelectPageFont(ctx, 12, true, "0");
    canvas.setFontColour({200, 0, 40});
    canvas.textOut(300, 5, sj("東京優駿（ダービー）"));
    const QImage expected = drawn.finish().convertToFormat(QImage::Format_RGB32);
    const QImage back = roundTrip(drawn).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(back.size(), expected.size());
    EXPECT_EQ(back, expected);
    EXPECT_EQ(back.dotsPerMeterX(), qRound(147 / 0.0254));
    EXPECT_EQ(back.dotsPerMeterY(), qRound(147 / 0.0254));

    // Every byte value in every channel, and rows that differ from the row
    // above in every way the row filter has to undo.
    QImage noise(257, 64, QImage::Format_RGB32);
    std::uint32_t state = 12345;
    for (int y = 0; y < noise.height(); ++y)
        for (int x = 0; x < noise.width(); ++x) {
            state = state * 1103515245u + 12345u;
            noise.setPixel(x, y, qRgb(x & 255, (state >> 16) & 255, (x * y) & 255));
        }
    const std::string bytes
        = png::encode({noise.constBits(), noise.width(), noise.height(), noise.bytesPerLine(), 0});
    const QImage decoded = QImage::fromData(reinterpret_cast<const uchar *>(bytes.data()), int(bytes.size()), "PNG");
    EXPECT_EQ(decoded.convertToFormat(QImage::Format_RGB32), noise);
    EXPECT_THROW(png::encode({noise.constBits(), 0, 10, 0, 0}), std::invalid_argument);

    ImagePage dot(QSize(1, 1), 96, 0, 0);
    EXPECT_EQ(roundTrip(dot).pixel(0, 0), qRgb(255, 255, 255));

    ImagePage nowhere(QSize(10, 10), 96, 0, 0);
    EXPECT_FALSE(nowhere.save(QStringLiteral("/nonexistent-folder/page.png")));
    QFile::remove(file);
}

TEST(QtPages, PdfJobAndPrinterOffset)
{
    const QString file = QStringLiteral("/tmp/zorbe-paper-test.pdf");
    QFile::remove(file);
    {
        PdfJob job(file, QStringLiteral("Zorbe Print"));
        ASSERT_TRUE(job.isActive());
        TPageContext ctx = job.context();
        EXPECT_EQ(ctx.dpi, 600);
        EXPECT_EQ(ctx.originX, 0);
        SelectPageFont(ctx, 8, true, "1");
        ctx.canvas.textOut(MmToX(ctx, 100), MmToY(ctx, 20), sj("東京優駿（ダービー）"));
        EXPECT_TRUE(job.end());
    }
    EXPECT_GT(QFile(file).size(), 1000);

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageMargins(QMarginsF(5, 4, 5, 4), QPageLayout::Millimeter);
    const TPrintingOffset offset = printingOffset(printer);
    // The margins in device units (Qt keeps them in whole points).
    EXPECT_NEAR(offset.x, 5 / 25.4 * printer.resolution(), printer.resolution() / 72.0);
    EXPECT_NEAR(offset.y, 4 / 25.4 * printer.resolution(), printer.resolution() / 72.0);
}

} // namespace
} // namespace zorbe
