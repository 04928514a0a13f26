#include "export/RaceCardCsv.h"

#include "data/formats/RaceDayFormats.h"
#include "export/CsvText.h"
#include "export/RaceTitle.h"
#include "model/RecordFields.h"
#include "platform/Cp932.h"
#include "platform/Fields.h"
#include "platform/Files.h"

#include <algorithm>

namespace zorbe::csvexport {

using F = formats::RaceCardFields;
using E = formats::RaceEntryFields;

namespace {

std::string runnerRow(const RecordFields &race, const RecordFields &entry)
{
    static const std::string gelding = sj("ｾﾝ");
    CsvLine line;
    line.field(entry(E::Bracket)).field(entry(E::HorseNo)).field(entry(E::HorseName));
    // The first four digits of the pedigree registration number are the
    // birth year.
    line.field(sexAndAge(entry(E::Sex), race(F::Key, formats::RaceKeyFields::Year), entry(E::HorseId).substr(0, 4),
                         gelding));
    line.field(blinkerText(entry(E::Blinker))).field(tenthsText(entry(E::Weight)));
    line.field(apprenticeMark(entry(E::Apprentice))).field(entry(E::JockeyName));
    return line.end(entry(E::TrainerName));
}

} // namespace

void appendRaceCardCsv(std::string_view raceCardFile, const LabelTables &labels, std::string_view fileName,
                       std::string &out)
{
    static const std::string header = sj("枠,馬番,馬　名,性齢,ﾌﾞﾘﾝｶｰ,重量,減量,騎手,調教師\r\n");
    const RecordFile file(std::string(raceCardFile), formats::TRaceCardRec::kLength);
    for (std::size_t r = 0; r < file.count(); ++r) {
        atRecord(fileName, r + 1, [&] {
            const RecordFields race(file.record(r));
            const auto n = std::clamp<std::int64_t>(storedNumber(race(F::Entries), "登録頭数"), 0, F::kEntryCount);
            out += CsvLine().end(raceTitleLine(race, r + 1, labels, TitleStyle::Plain));
            out += header;
            for (std::size_t j = 1; j <= static_cast<std::size_t>(n); ++j)
                out += runnerRow(race, race.block(F::Entry, j));
        });
    }
}

} // namespace zorbe::csvexport
