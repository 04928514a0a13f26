#include "export/CsvText.h"

#include "platform/Cp932.h"
#include "platform/Fields.h"

namespace zorbe::csvexport {

std::string_view bytesOf(std::string_view stored, std::size_t from, std::size_t n)
{
    return from < stored.size() ? stored.substr(from, n) : std::string_view();
}

std::string slashDate(std::string_view year, std::string_view monthDay)
{
    std::string out(year);
    out += '/';
    out += bytesOf(monthDay, 0, 2);
    out += '/';
    out += bytesOf(monthDay, 2, 2);
    return out;
}

std::string withoutLeadingZeros(std::string_view stored)
{
    if (!isDigits(stored)) {
        const auto first = stored.find_first_not_of(' ');
        if (first == std::string_view::npos)
            return {};
        const auto last = stored.find_last_not_of(' ');
        return std::string(stored.substr(first, last - first + 1));
    }
    const auto first = stored.find_first_not_of('0');
    return first == std::string_view::npos ? std::string("0") : std::string(stored.substr(first));
}

std::string tenthsText(std::string_view stored)
{
    std::string out(bytesOf(stored, 0, 2));
    out += '.';
    out += bytesOf(stored, 2, 1);
    return out;
}

std::string circledNumber(const LabelTables &labels, std::string_view stored)
{
    if (stored.size() != 2 || !isDigits(stored))
        return {};
    const int n = (stored[0] - '0') * 10 + (stored[1] - '0');
    return n < static_cast<int>(labels.CircledNumberText.size()) ? labels.CircledNumberText[n] : std::string();
}

std::int64_t storedNumber(std::string_view stored, std::string_view fieldName)
{
    if (!isDigits(stored))
        throw ConversionError(std::string(fieldName), std::string(stored));
    return toInt(stored, fieldName);
}

void failAtRecord(std::string_view fileName, std::size_t n, const std::exception &cause)
{
    throw ExportError(std::string(fileName) + " の " + std::to_string(n) + " 件目のレコード: " + cause.what());
}

} // namespace zorbe::csvexport
