#include "data/formats/Layout.h"

#include "platform/Cp932.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>
#include <utility>

namespace zorbe::formats {

namespace {

std::string fieldLabel(const Layout &layout, const Field &f)
{
    return std::string(layout.name) + "." + std::string(f.name);
}

// Width bytes of full-width spaces; an odd width ends in one ASCII space, so
// a field of any width stays well-formed cp932.
void appendWideSpaces(std::string &out, std::size_t width)
{
    for (std::size_t n = 0; n + 1 < width; n += 2)
        out.append(kWideSpace);
    if (width % 2 != 0)
        out.push_back(' ');
}

Blank resolvedBlank(const Layout &layout, const Field &f)
{
    if (f.blank != Blank::Default)
        return f.blank;
    switch (f.kind) {
    case Kind::Text:
        return Blank::Space;
    case Kind::WideText:
        return Blank::WideSpace;
    case Kind::Fixed:
        return Blank::Literal;
    case Kind::Block:
        return Blank::Default; // the nested layout's own blank
    case Kind::Digits:
    case Kind::Code:
        break;
    }
    return layout.defaultBlank;
}

void appendBlankElement(std::string &out, const Layout &layout, const Field &f)
{
    switch (resolvedBlank(layout, f)) {
    case Blank::Space:
        out.append(f.width, ' ');
        break;
    case Blank::Zero:
        out.append(f.width, '0');
        break;
    case Blank::WideSpace:
        appendWideSpaces(out, f.width);
        break;
    case Blank::Literal:
        out.append(f.literal);
        break;
    case Blank::Default:
        out.append(blankBytes(*f.sub));
        break;
    }
}

std::string buildBlank(const Layout &layout)
{
    std::string out;
    out.reserve(layout.length);
    for (const Field *f : layout.fields)
        for (std::size_t i = 0; i < f->count; ++i)
            appendBlankElement(out, layout, *f);
    return out;
}

std::string buildNew(const Layout &layout)
{
    std::string out;
    out.reserve(layout.length);
    for (const Field *f : layout.fields)
        for (std::size_t i = 0; i < f->count; ++i) {
            if (f->kind == Kind::Fixed)
                out.append(f->literal);
            else
                appendBlankElement(out, layout, *f);
        }
    return out;
}

// Both patterns are fixed per layout; they are built once, since every new
// record of a conversion starts from one.
const std::string &cached(const Layout &layout, bool fresh)
{
    static std::recursive_mutex mutex; // a nested layout is built while its parent is
    static std::map<std::pair<const Layout *, bool>, std::string> patterns;
    const std::lock_guard lock(mutex);
    auto [it, inserted] = patterns.try_emplace({&layout, fresh});
    if (inserted)
        it->second = fresh ? buildNew(layout) : buildBlank(layout);
    return it->second;
}

} // namespace

std::string blankBytes(const Layout &layout)
{
    return cached(layout, false);
}

std::string newBytes(const Layout &layout)
{
    return cached(layout, true);
}

FixedRecord::FixedRecord(const Layout &layout) : m_layout(&layout), m_bytes(newBytes(layout)) {}

FixedRecord::FixedRecord(const Layout &layout, std::string_view bytes) : m_layout(&layout), m_bytes(bytes)
{
    if (bytes.size() != layout.length)
        throw LayoutError(std::string(layout.name) + ": レコード長 " + std::to_string(layout.length)
                          + " に対して " + std::to_string(bytes.size()) + " バイトです");
}

std::size_t FixedRecord::position(const Field &f, std::size_t i) const
{
    // The conversions read and write every field of thousands of records:
    // a field is looked for where the last one was and just after it, then
    // by its offset, since the fields tile the record in offset order (a
    // static_assert beside every layout).
    const auto &fields = m_layout->fields;
    std::size_t k = m_lastField;
    if (!(k < fields.size() && fields[k] == &f) && !(++k < fields.size() && fields[k] == &f)) {
        const auto it = std::partition_point(fields.begin(), fields.end(),
                                             [&](const Field *g) { return g->offset < f.offset; });
        if (it == fields.end() || *it != &f)
            throw LayoutError(std::string(m_layout->name) + " にない項目です: " + std::string(f.name));
        k = static_cast<std::size_t>(it - fields.begin());
    }
    m_lastField = k;
    if (i < 1 || i > f.count)
        throw LayoutError(fieldLabel(*m_layout, f) + ": 添字 " + std::to_string(i) + " は範囲外です");
    return f.offset + f.width * (i - 1);
}

std::string_view FixedRecord::get(const Field &f, std::size_t i) const
{
    return std::string_view(m_bytes).substr(position(f, i), f.width);
}

void FixedRecord::set(const Field &f, std::size_t i, std::string_view value)
{
    const std::size_t at = position(f, i);
    switch (f.kind) {
    case Kind::Fixed:
        throw LayoutError(fieldLabel(*m_layout, f) + ": 固定値の項目は書き換えられません");
    case Kind::Text:
    case Kind::WideText: {
        // In place: the text cut at a character boundary, then the padding.
        const std::string_view cut = cp932::cutBytes(value, f.width);
        char *out = m_bytes.data() + at;
        std::memmove(out, cut.data(), cut.size()); // the text may be a field of this record
        std::size_t n = cut.size();
        if (f.kind == Kind::WideText)
            for (; n + 1 < f.width; n += 2) {
                out[n] = kWideSpace[0];
                out[n + 1] = kWideSpace[1];
            }
        std::fill(out + n, out + f.width, ' ');
        return;
    }
    case Kind::Digits:
    case Kind::Code:
    case Kind::Block:
        break;
    }
    if (value.size() != f.width)
        throw LayoutError(fieldLabel(*m_layout, f) + ": 幅 " + std::to_string(f.width) + " の項目に "
                          + std::to_string(value.size()) + " バイトを書こうとしました");
    m_bytes.replace(at, f.width, value);
}

std::int64_t FixedRecord::number(const Field &f, std::size_t i) const
{
    return toInt(get(f, i), f.name);
}

std::int64_t FixedRecord::numberOrBlank(const Field &f, std::size_t i, std::int64_t blankValue) const
{
    return toIntOrBlank(get(f, i), f.name, blankValue);
}

void FixedRecord::setNumber(const Field &f, std::size_t i, std::int64_t value)
{
    if (f.kind != Kind::Digits)
        throw LayoutError(fieldLabel(*m_layout, f) + ": 数値の項目ではありません");
    std::string digits = std::to_string(value);
    if (value < 0 || digits.size() > f.width)
        throw LayoutError(fieldLabel(*m_layout, f) + ": 値 " + digits + " は " + std::to_string(f.width)
                          + " 桁に収まりません");
    set(f, i, std::string(f.width - digits.size(), '0') + digits);
}

FixedRecord FixedRecord::block(const Field &f, std::size_t i) const
{
    if (f.kind != Kind::Block)
        throw LayoutError(fieldLabel(*m_layout, f) + ": 入れ子の項目ではありません");
    return FixedRecord(*f.sub, get(f, i));
}

void FixedRecord::setBlock(const Field &f, std::size_t i, const FixedRecord &value)
{
    if (f.kind != Kind::Block || &value.layout() != f.sub)
        throw LayoutError(fieldLabel(*m_layout, f) + ": " + std::string(value.layout().name)
                          + " はこの項目に入りません");
    set(f, i, value.bytes());
}

void FixedRecord::clear(const Field &f, std::size_t i)
{
    const std::size_t at = position(f, i);
    std::string blank;
    appendBlankElement(blank, *m_layout, f);
    m_bytes.replace(at, f.width, blank);
}

} // namespace zorbe::formats
