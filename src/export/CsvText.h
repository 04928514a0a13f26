#pragma once

#include "shell/LabelTables.h"

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

// What the CSV exports share: the line builder, the error that stops an
// export at a damaged record, and the few ways a stored field is written.
// Everything is cp932 bytes; spreadsheets read the files as Shift-JIS.
namespace zorbe::csvexport {

// Stops an export at a record it cannot write; what() names the file and
// the record, in Japanese. The lines before that record have been written.
class ExportError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// One line of a CSV file: fields separated by ",", no quoting, ended by
// CR LF.
class CsvLine
{
public:
    // A field and the separator after it.
    CsvLine &field(std::string_view text)
    {
        m_text.append(text);
        m_text += ',';
        return *this;
    }
    // n empty fields, each with its separator.
    CsvLine &empty(int n)
    {
        m_text.append(static_cast<std::size_t>(n), ',');
        return *this;
    }
    // Text added to the field being written (no separator).
    CsvLine &text(std::string_view text)
    {
        m_text.append(text);
        return *this;
    }
    // The finished line: the last field (no separator after it) and CR LF.
    std::string end(std::string_view last = {})
    {
        m_text.append(last);
        m_text += "\r\n";
        return std::move(m_text);
    }

private:
    std::string m_text;
};

// Bytes from .. from + n of a stored field, as many of them as it has (a
// record cut short gives less, never a read past its end).
std::string_view bytesOf(std::string_view stored, std::size_t from, std::size_t n = std::string_view::npos);

// "yyyy/mm/dd" from a stored year and month-day "MMDD".
std::string slashDate(std::string_view year, std::string_view monthDay);

// A stored number written without its leading zeros ("07" -> "7", "00" ->
// "0"). Text that is not all digits (a blank field) is written without its
// surrounding blanks, so a damaged number never stops an export that only
// prints it.
std::string withoutLeadingZeros(std::string_view stored);

// Three stored digits in tenths written with one decimal: digits 1-2, ".",
// digit 3 ("550" -> "55.0", "345" -> "34.5").
std::string tenthsText(std::string_view stored);

// The circled digit of a stored two-digit position ("03" -> "③"), the two
// blanks of CircledNumberText[0] for "00"; empty for anything else.
std::string circledNumber(const LabelTables &labels, std::string_view stored);

// A stored number the export computes with: all digits, else
// ConversionError naming the field (a sign or a blank is damage here).
std::int64_t storedNumber(std::string_view stored, std::string_view fieldName);

// Turns a ConversionError (or any failure of the program's own checks)
// raised while record n (1-based) of fileName was written into an
// ExportError that names both.
[[noreturn]] void failAtRecord(std::string_view fileName, std::size_t n, const std::exception &cause);

// Runs write() for record n; a failure inside becomes an ExportError naming
// fileName and the record.
template <class Write>
void atRecord(std::string_view fileName, std::size_t n, Write &&write)
{
    try {
        write();
    } catch (const ExportError &) {
        throw;
    } catch (const std::exception &e) {
        failAtRecord(fileName, n, e);
    }
}

} // namespace zorbe::csvexport
