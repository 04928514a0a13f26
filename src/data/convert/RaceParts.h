#pragma once

#include "data/convert/ConversionSupport.h"
#include "data/formats/RaceDayFormats.h"
#include "data/formats/ResultFormats.h"
#include "data/jvdata/JVData_Structure.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

// The runner records of one race (indexes into runners, in file order)
// with each horse once: a runner file holding a runner twice must not give
// the race the runner twice.
std::vector<std::size_t> distinctRunners(const RecordFile &runners, const std::vector<std::size_t> &ofRace);

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

// The result of a runner's run as both the past-race block of a horse line
// and the runner block of a results line hold it: abnormality, body weight
// and its change (sign and the last two digits), the four corners, the last
// four and three furlongs, time, margin, arrival, placing, popularity and
// win odds. F is the fields struct of the target, which names them alike.
template <class F, class Record> void setRunResult(Record &r, std::string_view se)
{
    namespace SE = jv::SE;
    r.set(F::Abnormal, jvGet(se, SE::Abnormality));
    r.set(F::BodyWeight, jvGet(se, SE::BodyWeight));
    r.set(F::BodyChange, std::string(jvGet(se, SE::BodyWeightSign)).append(jvGet(se, SE::BodyWeightChange).substr(1, 2)));
    for (std::size_t c = 0; c < 4; ++c)
        r.set(F::Corner, c + 1, jvGet(se, SE::Corner, c));
    r.set(F::Last4F, jvGet(se, SE::Last4F));
    r.set(F::Last3F, jvGet(se, SE::Last3F));
    r.set(F::Time, jvGet(se, SE::Time));
    r.set(F::MarginCode, jvGet(se, SE::Margin));
    r.set(F::Arrival, jvGet(se, SE::ArrivalOrder));
    r.set(F::Finish, jvGet(se, SE::Placing));
    r.set(F::Popularity, jvGet(se, SE::Popularity));
    r.set(F::WinOdds, jvGet(se, SE::WinOdds));
}

} // namespace zorbe::convert
