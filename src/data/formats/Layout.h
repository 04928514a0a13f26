#pragma once

#include "platform/Fields.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

// The program's own fixed-length records: each layout is one constexpr table
// of fields (offset, width, kind, how a blank record fills it), and every
// record is read and written through that table only.
namespace zorbe::formats {

// A misuse of a layout by the program itself (a field of another layout, a
// code of the wrong width, a value that does not fit its digits): never
// caused by the contents of a file.
class LayoutError : public std::logic_error
{
public:
    using std::logic_error::logic_error;
};

// The full-width space of cp932, the filler of the text fields.
inline constexpr std::string_view kWideSpace = "\x81\x40";

enum class Kind
{
    Digits,   // a number, digits with leading zeros; set() takes exactly width bytes
    Code,     // a code or other single-byte text of exactly width bytes
    Text,     // cp932 text, cut at a character boundary, padded with ASCII spaces
    WideText, // cp932 text, cut at a character boundary, padded with full-width spaces
    Fixed,    // a constant filler: always holds its literal
    Block,    // a nested layout (an entry, a past race, a group of counts ...)
};

// How a blank record fills a field.
enum class Blank
{
    Default,   // by kind: Text spaces, WideText full-width spaces, Fixed its
               // literal, Block the nested blank; Digits and Code the layout's default
    Space,     // ASCII spaces
    Zero,      // "0" characters
    WideSpace, // full-width spaces (an odd last byte is an ASCII space)
    Literal,   // the field's literal
};

struct Layout;

struct Field
{
    std::string_view name;      // for messages: what the field holds, in Japanese
    std::size_t offset = 0;     // 0-based, within the enclosing record or block
    std::size_t width = 0;      // of one element
    Kind kind = Kind::Code;
    std::size_t count = 1;      // repeated elements, back to back
    Blank blank = Blank::Default;
    std::string_view literal{}; // Fixed: the constant bytes (width bytes)
    const Layout *sub = nullptr; // Block: the nested layout (width == its length)

    constexpr std::size_t end() const { return offset + width * count; }
    // Element i (1-based) as a FieldSpec, for the plain field helpers.
    constexpr FieldSpec fieldSpec(std::size_t i = 1) const { return FieldSpec{name, offset + width * (i - 1), width}; }
};

struct Layout
{
    std::string_view name;    // the record type's name
    std::size_t length = 0;   // bytes, CR LF included for a line
    std::span<const Field *const> fields; // in offset order
    Blank defaultBlank = Blank::Space;    // for Digits and Code fields
};

// Field constructors, so that the tables read like the format descriptions.
constexpr Field digits(std::string_view name, std::size_t offset, std::size_t width, std::size_t count = 1,
                       Blank blank = Blank::Default)
{
    return Field{name, offset, width, Kind::Digits, count, blank};
}
constexpr Field code(std::string_view name, std::size_t offset, std::size_t width, std::size_t count = 1,
                     Blank blank = Blank::Default)
{
    return Field{name, offset, width, Kind::Code, count, blank};
}
constexpr Field text(std::string_view name, std::size_t offset, std::size_t width)
{
    return Field{name, offset, width, Kind::Text};
}
constexpr Field wideText(std::string_view name, std::size_t offset, std::size_t width,
                         Blank blank = Blank::Default)
{
    return Field{name, offset, width, Kind::WideText, 1, blank};
}
constexpr Field fixed(std::string_view name, std::size_t offset, std::string_view literal,
                      Blank blank = Blank::Literal)
{
    return Field{name, offset, literal.size(), Kind::Fixed, 1, blank, literal};
}
constexpr Field block(std::string_view name, std::size_t offset, const Layout &sub, std::size_t count = 1,
                      Blank blank = Blank::Default)
{
    return Field{name, offset, sub.length, Kind::Block, count, blank, {}, &sub};
}
constexpr Field lineEnd(std::size_t offset)
{
    return fixed("改行", offset, "\r\n");
}

// True when the fields cover the record exactly, in order, without a gap or
// an overlap; every nested block has its layout's length and every filler
// its literal's width. Used in static_assert beside every layout.
constexpr bool tiles(const Layout &layout)
{
    std::size_t at = 0;
    for (const Field *f : layout.fields) {
        // No null tests on the pointers: GCC's sanitizer instrumentation makes
        // an address comparison non-constant. A null pointer still fails to
        // compile here, since dereferencing it is not a constant expression.
        if (f->offset != at || f->width == 0 || f->count == 0)
            return false;
        if (f->kind == Kind::Block && f->sub->length != f->width)
            return false;
        if (f->kind == Kind::Fixed && f->literal.size() != f->width)
            return false;
        if (f->kind != Kind::Fixed && f->kind != Kind::Block && f->blank == Blank::Literal)
            return false;
        at = f->end();
    }
    return at == layout.length;
}

// True when the layout is a text line: it ends with CR LF.
constexpr bool endsWithLineEnd(const Layout &layout)
{
    if (layout.fields.empty())
        return false;
    const Field *last = layout.fields.back();
    return last->kind == Kind::Fixed && last->literal == "\r\n" && last->end() == layout.length;
}

// The bytes of a blank record (or block) of the layout: every field by its
// blank rule, nested blocks blank. This is the pattern of "no data", such as
// an entry slot after the last runner or a past race the horse has not run.
std::string blankBytes(const Layout &layout);
// The bytes of a new record to be filled in: as the blank one, but every
// filler holds its literal. The two differ only where a layout's blank
// pattern blanks its fillers too (past races, results runner blocks).
std::string newBytes(const Layout &layout);

// A record of a layout: exactly layout.length bytes, read and written only
// through the layout's fields.
class FixedRecord
{
public:
    // A new record (newBytes).
    explicit FixedRecord(const Layout &layout);
    // Throws LayoutError when bytes are not exactly the record's length.
    FixedRecord(const Layout &layout, std::string_view bytes);

    const Layout &layout() const { return *m_layout; }
    std::size_t size() const { return m_bytes.size(); }
    // The whole record, CR LF included for a line.
    const std::string &bytes() const { return m_bytes; }

    // Element i (1-based) of field f, as stored.
    std::string_view get(const Field &f, std::size_t i = 1) const;

    // Digits, Code and Block: text must be exactly the width. Text and
    // WideText: cut at a cp932 character boundary and padded to the width.
    // A Fixed field cannot be set.
    void set(const Field &f, std::string_view text) { set(f, 1, text); }
    void set(const Field &f, std::size_t i, std::string_view text);

    // A Digits field as a number (strict: raises ConversionError naming the
    // field when it is not all digits), or blankValue when it is blank.
    std::int64_t number(const Field &f, std::size_t i = 1) const;
    std::int64_t numberOrBlank(const Field &f, std::size_t i, std::int64_t blankValue) const;
    // A Digits field written with leading zeros; a value that is negative or
    // does not fit the width raises LayoutError.
    void setNumber(const Field &f, std::int64_t value) { setNumber(f, 1, value); }
    void setNumber(const Field &f, std::size_t i, std::int64_t value);

    // A nested block as a record of its own layout, and back.
    FixedRecord block(const Field &f, std::size_t i = 1) const;
    void setBlock(const Field &f, std::size_t i, const FixedRecord &value);
    void setBlock(const Field &f, const FixedRecord &value) { setBlock(f, 1, value); }

    // Element i of f refilled as in a blank record (a filler that blanks
    // with its record becomes blank too).
    void clear(const Field &f, std::size_t i = 1);

    bool operator==(const FixedRecord &other) const
    {
        return m_layout == other.m_layout && m_bytes == other.m_bytes;
    }

protected:
    // Element i of f within this record; throws LayoutError for a field of
    // another layout or an index outside 1..count.
    std::size_t position(const Field &f, std::size_t i) const;

private:
    const Layout *m_layout;
    std::string m_bytes;
    // Where the last field was found: a record is mostly read and written
    // field after field, so the next one is usually there or just after.
    mutable std::size_t m_lastField = 0;
};

// The typed records: Fields is a struct of static constexpr Field members and
// the constexpr Layout kLayout over them, so that TRaceEntryRec::HorseName
// names the field. A default-constructed record is a new one, ready to be
// filled in; blank() is the layout's blank pattern.
template <class Derived, class Fields>
class BasicRecord : public FixedRecord, public Fields
{
public:
    static constexpr std::size_t kLength = Fields::kLayout.length;

    BasicRecord() : FixedRecord(Fields::kLayout) {}

    static Derived blank() { return fromBytes(blankBytes(Fields::kLayout)); }
    // Throws LayoutError when bytes are not exactly kLength long.
    static Derived fromBytes(std::string_view bytes)
    {
        Derived d;
        static_cast<FixedRecord &>(d) = FixedRecord(Fields::kLayout, bytes);
        return d;
    }

    // A nested block of f as its typed record R.
    template <class R>
    R blockAs(const Field &f, std::size_t i = 1) const
    {
        R r = R::fromBytes(get(f, i));
        if (&r.layout() != f.sub)
            throw LayoutError(std::string(f.name) + ": 入れ子のレコード型が違います");
        return r;
    }
};

} // namespace zorbe::formats
