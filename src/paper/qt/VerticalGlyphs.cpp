#include "paper/qt/VerticalGlyphs.h"

#include <QByteArray>
#include <QHash>
#include <QString>

#include <hb.h>

#include <memory>

namespace zorbe {

namespace {

// HarfBuzz reads the font's tables through Qt, which found the font file.
hb_blob_t *referenceTable(hb_face_t *, hb_tag_t tag, void *userData)
{
    if (tag == 0)
        return nullptr;
    const auto *raw = static_cast<const QRawFont *>(userData);
    char name[5] = {};
    hb_tag_to_string(tag, name);
    auto *data = new QByteArray(raw->fontTable(name));
    if (data->isEmpty()) {
        delete data;
        return nullptr;
    }
    return hb_blob_create(data->constData(), static_cast<unsigned>(data->size()), HB_MEMORY_MODE_READONLY, data,
                          [](void *p) { delete static_cast<QByteArray *>(p); });
}

struct ShapingFont
{
    QRawFont raw;
    hb_face_t *face = nullptr;
    hb_font_t *font = nullptr;
    QHash<char32_t, quint32> vertical;

    ~ShapingFont()
    {
        if (font)
            hb_font_destroy(font);
        if (face)
            hb_face_destroy(face);
    }
};

ShapingFont &shapingFont(const QRawFont &raw)
{
    // Kept for the whole run and never destroyed, so that no font outlives
    // the application object at exit.
    static auto &fonts = *new QHash<QString, std::shared_ptr<ShapingFont>>;
    const QString key = raw.familyName() + QLatin1Char('/') + raw.styleName();
    auto it = fonts.find(key);
    if (it == fonts.end()) {
        auto f = std::make_shared<ShapingFont>();
        f->raw = raw;
        f->face = hb_face_create_for_tables(referenceTable, &f->raw, nullptr);
        f->font = hb_font_create(f->face);
        it = fonts.insert(key, f);
    }
    return **it;
}

quint32 shapeVertical(ShapingFont &f, char32_t character)
{
    hb_buffer_t *buffer = hb_buffer_create();
    const uint32_t text[1] = {static_cast<uint32_t>(character)};
    hb_buffer_add_utf32(buffer, text, 1, 0, 1);
    hb_buffer_set_direction(buffer, HB_DIRECTION_LTR);
    hb_buffer_set_script(buffer, HB_SCRIPT_KATAKANA);
    hb_buffer_set_language(buffer, hb_language_from_string("ja", -1));
    const hb_feature_t features[2] = {
        {HB_TAG('v', 'e', 'r', 't'), 1, HB_FEATURE_GLOBAL_START, HB_FEATURE_GLOBAL_END},
        {HB_TAG('v', 'r', 't', '2'), 1, HB_FEATURE_GLOBAL_START, HB_FEATURE_GLOBAL_END},
    };
    hb_shape(f.font, buffer, features, 2);
    unsigned count = 0;
    const hb_glyph_info_t *info = hb_buffer_get_glyph_infos(buffer, &count);
    const quint32 glyph = count == 1 ? info[0].codepoint : 0;
    hb_buffer_destroy(buffer);
    return glyph;
}

} // namespace

quint32 verticalGlyph(const QRawFont &font, char32_t character)
{
    if (!font.isValid())
        return 0;
    ShapingFont &f = shapingFont(font);
    auto it = f.vertical.constFind(character);
    if (it != f.vertical.constEnd())
        return *it;
    const quint32 glyph = shapeVertical(f, character);
    f.vertical.insert(character, glyph);
    return glyph;
}

quint32 plainGlyph(const QRawFont &font, char32_t character)
{
    if (!font.isValid())
        return 0;
    ShapingFont &f = shapingFont(font);
    hb_codepoint_t glyph = 0;
    return hb_font_get_nominal_glyph(f.font, character, &glyph) ? glyph : 0;
}

} // namespace zorbe
