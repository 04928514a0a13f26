#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The accumulated standard times ("cSTIME.DAT", one line per meeting day
// and venue) and their CSV file "CSVSTIME.CSV", one line per race.
namespace zorbe::csvexport {

// "cSTIME.DAT" as six parallel tables, one entry per record in file order;
// each entry is the stored text of its group, race 1 first.
struct TTimeData
{
    static constexpr std::size_t kRaces = 12;

    std::vector<std::string> MeetKey;  // year (4), venue (2), meeting (2), day (2)
    std::vector<std::string> StdTime;  // 12 x 4 digits, tenths of a second
    std::vector<std::string> Std3F;    // 12 x 3 digits: standard last three furlongs
    std::vector<std::string> Early3F;  // 12 x 3 digits: early three furlongs
    std::vector<std::string> Distance; // 12 x 4 digits, metres
    std::vector<std::string> Track;    // 12 x 2: track codes

    std::size_t count() const { return MeetKey.size(); }
    // Race k (1..12) of record t, from its group's characters.
    std::string_view stdTime(std::size_t t, std::size_t k) const { return part(StdTime[t], 4, k); }
    std::string_view std3F(std::size_t t, std::size_t k) const { return part(Std3F[t], 3, k); }
    std::string_view early3F(std::size_t t, std::size_t k) const { return part(Early3F[t], 3, k); }
    std::string_view distance(std::size_t t, std::size_t k) const { return part(Distance[t], 4, k); }
    std::string_view track(std::size_t t, std::size_t k) const { return part(Track[t], 2, k); }

private:
    static std::string_view part(std::string_view group, std::size_t width, std::size_t k)
    {
        const std::size_t at = width * (k - 1);
        return at < group.size() ? group.substr(at, width) : std::string_view();
    }
};

// The records of the file's bytes (204 each; a trailing partial record is
// left out).
TTimeData loadTimeData(std::string_view cstimeFile);

// Appends one line per race of every record to out: venue, year, meeting,
// day and race label, then distance, standard time as stored and as
// minutes.seconds.tenths, the two three-furlong times and the track type.
// A standard time that is not a number raises ExportError naming fileName
// (UTF-8) and the record; the lines of the records before it stay.
void appendTimeCsv(const TTimeData &data, std::string_view fileName, std::string &out);

// A standard time in tenths as minutes "." seconds "." tenths: 945 is
// "1.34.5", 553 "0.55.3".
std::string minutesText(std::int64_t tenths);

} // namespace zorbe::csvexport
