#include "platform/qt/QtFonts.h"

#include <QFontDatabase>
#include <QStringList>

#include <array>

namespace zorbe {

namespace {

struct FaceMapping
{
    const char16_t *windowsFace;
    const char16_t *family;
    bool mincho;
};

constexpr std::array<FaceMapping, 4> kFaces{{
    {u"ＭＳ ゴシック", u"IPAGothic", false},
    {u"ＭＳ 明朝", u"IPAMincho", true},
    {u"ＭＳ Ｐゴシック", u"IPAPGothic", false},
    {u"ＭＳ Ｐ明朝", u"IPAPMincho", true},
}};

bool installed(const QString &family)
{
    return QFontDatabase::families().contains(family, Qt::CaseInsensitive);
}

// Another Japanese font of the same kind, or any Japanese font at all.
QString japaneseFallback(bool mincho)
{
    const QStringList preferred = mincho ? QStringList{QStringLiteral("IPAexMincho"), QStringLiteral("IPAMincho"),
                                                       QStringLiteral("Noto Serif CJK JP")}
                                         : QStringList{QStringLiteral("IPAexGothic"), QStringLiteral("IPAGothic"),
                                                       QStringLiteral("Noto Sans CJK JP"),
                                                       QStringLiteral("VL Gothic")};
    for (const QString &f : preferred)
        if (installed(f))
            return f;
    const QStringList japanese = QFontDatabase::families(QFontDatabase::Japanese);
    const QString kind = mincho ? QStringLiteral("Mincho") : QStringLiteral("Gothic");
    for (const QString &f : japanese)
        if (f.contains(kind, Qt::CaseInsensitive))
            return f;
    return japanese.isEmpty() ? QString() : japanese.first();
}

} // namespace

QString mapFontFamily(const QString &windowsFace)
{
    const QString face = windowsFace.startsWith(QLatin1Char('@')) ? windowsFace.mid(1) : windowsFace;
    for (const FaceMapping &m : kFaces) {
        if (face != QString::fromUtf16(m.windowsFace))
            continue;
        const QString family = QString::fromUtf16(m.family);
        if (installed(family))
            return family;
        const QString fallback = japaneseFallback(m.mincho);
        return fallback.isEmpty() ? family : fallback;
    }
    return face;
}

QFont windowsFont(const QString &windowsFace, int pixelSize)
{
    QFont font(mapFontFamily(windowsFace));
    font.setPixelSize(pixelSize);
    return font;
}

} // namespace zorbe
