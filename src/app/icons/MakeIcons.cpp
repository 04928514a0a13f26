// Writes the program's icon as PNG files for the desktop's icon theme:
//   zorbe_icons OUTDIR SIZE...  ->  OUTDIR/<size>x<size>/apps/zorbe.png

#include "shell/qt/Pictures.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>
#include <cstdlib>

int main(int argc, char **argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "使い方: zorbe_icons OUTDIR SIZE...\n");
        return 2;
    }
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    QGuiApplication app(argc, argv);
    const QString out = QString::fromLocal8Bit(argv[1]);
    for (int i = 2; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        if (size < 8 || size > 1024) {
            std::fprintf(stderr, "zorbe_icons: 大きさが正しくありません: %s\n", argv[i]);
            return 2;
        }
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter p(&image);
            zorbe::pictures::paintIcon(p, QRectF(0, 0, size, size));
        }
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(out).arg(size);
        if (!QDir().mkpath(folder) || !image.save(folder + QStringLiteral("/zorbe.png"))) {
            std::fprintf(stderr, "zorbe_icons: %s に書けません\n", folder.toLocal8Bit().constData());
            return 1;
        }
    }
    return 0;
}
