#pragma once

#include "data/formats/Layout.h"

#include <string>
#include <string_view>

namespace zorbe {

// Reads fields of a stored record (or of a block inside it) straight from
// its bytes, through the record's layout, without copying the record.
// A record shorter than a field gives what is there.
class RecordFields
{
public:
    explicit RecordFields(std::string_view bytes, std::size_t base = 0)
        : m_bytes(bytes)
        , m_base(base)
    {
    }

    // Element i (1-based) of field f.
    std::string operator()(const formats::Field &f, std::size_t i = 1) const
    {
        return raw(f.offset + f.width * (i - 1), f.width);
    }
    // Field inner of the (first) block outer.
    std::string operator()(const formats::Field &outer, const formats::Field &inner) const
    {
        return raw(outer.offset + inner.offset, inner.width);
    }
    // Element i of the block field f, as a view of its own.
    RecordFields block(const formats::Field &f, std::size_t i = 1) const
    {
        return RecordFields(m_bytes, m_base + f.offset + f.width * (i - 1));
    }
    std::string raw(std::size_t offset, std::size_t width) const
    {
        const std::size_t at = m_base + offset;
        if (at >= m_bytes.size())
            return {};
        return std::string(m_bytes.substr(at, width));
    }

private:
    std::string_view m_bytes;
    std::size_t m_base;
};

} // namespace zorbe
