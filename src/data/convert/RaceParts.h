#pragma once

#include "data/convert/ConversionSupport.h"
#include "data/formats/RaceDayFormats.h"
#include "data/formats/ResultFormats.h"
#include "data/jvdata/JVData_Structure.h"

#include <optional>
#include <string>
#include <string_view>

// The pieces the entries and results conversions build alike from the
// downloaded races and runners.
namespace zorbe::convert {

// A JV-Data field of a record, by its definition.
inline std::string_view jvGet(std::string_view record, const jv::Field &f) { return field(record, f.spec); }
// Occurrence i (0-based) of a repeated field.
inline std::string_view jvGet(std::string_view record, const jv::Field &f, std::size_t i)
{
    return field(record, f.at(i).spec);
}
// The first n bytes of a field.
inline std::string_view jvFirst(std::string_view record, const jv::Field &f, std::size_t n)
{
    return jvGet(record, f).substr(0, n);
}

// Every record of a file indexed by the 16-character race key (RA, SE, HR).
FirstIndex firstByKey(const RecordFile &file, const jv::Field &key);
AllIndex allByKey(const RecordFile &file, const jv::Field &key);

// The header fields the race card and the results record share (bytes
// 0-147 and 232-326, the course record apart) from a race's RA record, and
// as many main and added prizes as the record's prize fields hold (the
// first 7 digits of each: thousands of yen).
void fillRaceHead(formats::FixedRecord &out, std::string_view ra, const formats::Field &prize,
                  const formats::Field &addedPrize);

// The race card entry of a runner's SE record.
formats::TRaceEntryRec raceEntry(std::string_view se);

// The going of a race by its track: the turf going on turf tracks, else
// the dirt going.
std::string_view raceGoing(std::string_view ra);

// The course records of the downloaded course-record file (record kind
// other than "2"), indexed by racecourse, track, distance and race kind.
class CourseRecordIndex
{
public:
    CourseRecordIndex() = default;
    explicit CourseRecordIndex(const RecordFile &rc);

    // The block for a race: the record of its course, track, distance and
    // race kind; failing that of the kind changed "13"->"14", "12"->"13",
    // "18"->"19"; failing that of the changed kind "14"->"13", "19"->"18";
    // failing all, the block of a race without a course record.
    formats::TCourseRecordBlock blockFor(std::string_view ra) const;

private:
    std::optional<std::string_view> find(std::string_view venue, std::string_view track, std::string_view distance,
                                         std::string_view kind) const;

    const RecordFile *m_file = nullptr;
    FirstIndex m_index;
};

} // namespace zorbe::convert
