#pragma once

#include "data/formats/Layout.h"
#include "platform/Files.h"

#include <string>
#include <vector>

// Reading and writing whole files of one record type.
namespace zorbe::formats {

// The file as records of R: count = size / R::kLength, a trailing partial
// record left out (RecordFile::trailingBytes tells how much). A missing file
// gives no records.
template <class R>
RecordFile readRecordsIfExists(const WinPath &path)
{
    return RecordFile::readIfExists(path, R::kLength);
}

// Record n of a file read with R's length.
template <class R>
R recordAt(const RecordFile &file, std::size_t n)
{
    return R::fromBytes(file.record(n));
}

template <class R>
std::vector<R> allRecords(const RecordFile &file)
{
    std::vector<R> out;
    out.reserve(file.count());
    for (std::size_t n = 0; n < file.count(); ++n)
        out.push_back(recordAt<R>(file, n));
    return out;
}

// The lines of records back to back, as a file holds them.
template <class R>
std::string joinRecords(const std::vector<R> &records)
{
    std::string out;
    out.reserve(records.size() * R::kLength);
    for (const auto &r : records)
        out += r.bytes();
    return out;
}

} // namespace zorbe::formats
