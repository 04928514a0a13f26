#pragma once

#include <QFont>
#include <QString>

namespace zorbe {

// The Windows font faces the program names, as installed fonts:
// "ＭＳ ゴシック" -> IPAGothic, "ＭＳ 明朝" -> IPAMincho, "ＭＳ Ｐゴシック" ->
// IPAPGothic, "ＭＳ Ｐ明朝" -> IPAPMincho. When that font is missing, another
// installed Japanese font of the same kind (Gothic or Mincho), else any
// Japanese font. The vertical "@" faces map like their upright face (the
// caller turns the text). Other faces are kept as named.
QString mapFontFamily(const QString &windowsFace);

// A font of that face at a size in pixels.
QFont windowsFont(const QString &windowsFace, int pixelSize);

} // namespace zorbe
