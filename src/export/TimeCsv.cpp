#include "export/TimeCsv.h"

#include "data/formats/Codes.h"
#include "data/formats/MasterFormats.h"
#include "export/CsvText.h"
#include "export/RaceTitle.h"
#include "platform/Cp932.h"
#include "platform/Fields.h"
#include "platform/Files.h"

namespace zorbe::csvexport {

using F = formats::CSTimeFields;

namespace {

// The track types of the time data: "D" dirt, "T" the turf courses listed,
// "SG" jumps, and "TS" every other code.
std::string_view timeTrackType(std::string_view track)
{
    static const formats::codes::CodeTable t("トラック", {{"23", "D"}, {"24", "D"}, {"10", "T"}, {"11", "T"},
                                                          {"14", "T"}, {"15", "T"}, {"17", "T"}, {"20", "T"},
                                                          {"21", "T"}});
    if (isJumpTrack(track))
        return "SG";
    const std::string_view type = t.name(track);
    return type.empty() ? std::string_view("TS") : type;
}

// "東京2024年3回8日目 " and the race label " 1Ｒ" … "12Ｒ".
std::string raceLabel(std::string_view key, std::size_t k)
{
    static const std::string year = sj("年"), kai = sj("回"), nichi = sj("日目 "), race = sj("Ｒ");
    std::string out(formats::codes::racecourses().name(bytesOf(key, 4, 2)));
    out += bytesOf(key, 0, 4);
    out += year;
    out += bytesOf(key, 7, 1); // the second digit of the meeting number
    out += kai;
    out += bytesOf(key, 9, 1); // and of the day
    out += nichi;
    out += (k < 10 ? " " : "") + std::to_string(k) + race;
    return out;
}

} // namespace

TTimeData loadTimeData(std::string_view cstimeFile)
{
    const RecordFile file(std::string(cstimeFile), formats::TCSTimeRec::kLength);
    TTimeData d;
    for (std::size_t t = 0; t < file.count(); ++t) {
        const std::string_view rec = file.record(t);
        const auto group = [&](const formats::Field &f) {
            return std::string(rec.substr(f.offset, f.width * f.count));
        };
        d.MeetKey.push_back(group(F::Key));
        d.StdTime.push_back(group(F::StdTime));
        d.Std3F.push_back(group(F::Std3F));
        d.Early3F.push_back(group(F::Early3F));
        d.Distance.push_back(group(F::Distance));
        d.Track.push_back(group(F::Track));
    }
    return d;
}

std::string minutesText(std::int64_t tenths)
{
    // The minutes, then the rest as seconds and tenths ("1" + "345").
    const std::int64_t minutes = tenths / 600;
    const std::string rest = zeroPad(tenths - 600 * minutes, 3);
    return std::to_string(minutes) + "." + rest.substr(0, 2) + "." + rest.substr(2);
}

void appendTimeCsv(const TTimeData &data, std::string_view fileName, std::string &out)
{
    for (std::size_t t = 0; t < data.count(); ++t) {
        atRecord(fileName, t + 1, [&] {
            std::string lines;
            for (std::size_t k = 1; k <= TTimeData::kRaces; ++k) {
                const std::string_view time = data.stdTime(t, k);
                CsvLine line;
                line.field(raceLabel(data.MeetKey[t], k)).field(data.distance(t, k)).field(time);
                line.field(minutesText(storedNumber(time, "基準タイム")));
                line.field(tenthsText(data.std3F(t, k))).field(tenthsText(data.early3F(t, k)));
                lines += line.end(timeTrackType(data.track(t, k)));
            }
            out += lines;
        });
    }
}

} // namespace zorbe::csvexport
