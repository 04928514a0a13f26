#pragma once

#include <QRawFont>

namespace zorbe {

// The glyph a font uses for a character in vertical writing (its 'vert' /
// 'vrt2' substitution, through HarfBuzz); 0 when the font has no glyph for
// the character. Faces are kept per font family for the whole run.
quint32 verticalGlyph(const QRawFont &font, char32_t character);

// The plain (horizontal) glyph of a character; 0 when the font has none.
quint32 plainGlyph(const QRawFont &font, char32_t character);

} // namespace zorbe
