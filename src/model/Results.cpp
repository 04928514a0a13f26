#include "model/Results.h"

#include "data/formats/ResultFormats.h"
#include "model/RecordFields.h"
#include "platform/Files.h"

#include <algorithm>

namespace zorbe {

using namespace formats;

std::unique_ptr<TResults> makeResults()
{
    return std::make_unique<TResults>();
}

void LoadResults(TResults &s)
{
    using F = ResultFields;
    using K = RaceKeyFields;
    using R = ResultRunnerFields;
    using E = RaceEntryFields;
    const WinPath path(s.ResultFileName);
    if (!files::isFile(path))
        return;
    const RecordFile file = RecordFile::read(path, TResultRec::kLength);
    // Checked before anything is copied: a refused file leaves the tables.
    files::requireLineRecords(file, path, "成績ファイル");
    s.ResultCount = static_cast<int>(std::min<std::size_t>(file.count(), TResults::kRaces));
    for (int q = 1; q <= s.ResultCount; ++q) {
        const RecordFields f(file.record(static_cast<std::size_t>(q - 1)));
        s.ResultYear = f(F::Key, K::Year);
        s.ResMonthDay[q] = f(F::Key, K::MonthDay);
        s.ResVenue[q] = f(F::Key, K::Venue);
        s.ResKai[q] = f(F::Key, K::Kai);
        s.ResNichi[q] = f(F::Key, K::Nichi);
        s.ResRaceNo[q] = f(F::Key, K::RaceNo);
        s.ResRaceName[q] = f(F::RaceName);
        s.ResShortName[q] = f(F::ShortName);
        s.ResGrade[q] = f(F::Grade);
        s.ResKind[q] = f(F::RaceKind);
        s.ResSymbol[q] = f(F::Symbol);
        s.ResWeightRule[q] = f(F::WeightRule);
        for (int c = 1; c <= 5; ++c)
            s.ResClass[q][c] = f(F::Class, c);
        s.ResDistance[q] = f(F::Distance);
        s.ResTrack[q] = f(F::Track);
        s.ResRecordTime[q] = f(F::CourseRecord, CourseRecordFields::RecordTime);
        s.ResRecordHorseId[q] = f(F::CourseRecord, CourseRecordFields::HorseId);
        s.ResRecordHorse[q] = f(F::CourseRecord, CourseRecordFields::HorseName);
        s.ResEntries[q] = f(F::Entries);
        s.ResStarters[q] = f(F::Starters);
        s.ResFinishers[q] = f(F::Finishers);
        s.ResGoing[q] = f(F::Going);
        s.ResWeather[q] = f(F::Weather);

        for (int e = 1; e <= 3; ++e) {
            s.ResWin[q][e] = f(F::Win, e);
            s.ResBracketQ[q][e] = f(F::BracketQuinella, e);
            s.ResQuinella[q][e] = f(F::Quinella, e);
        }
        for (int e = 1; e <= 5; ++e)
            s.ResPlace[q][e] = f(F::Place, e).substr(0, 9);
        for (int e = 1; e <= 7; ++e)
            s.ResWide[q][e] = f(F::Wide, e);
        for (int l = 1; l <= 25; ++l)
            s.ResLap[q][l] = f(F::Lap, l);

        for (int m = 1; m <= TResults::kSlots; ++m) {
            const RecordFields r = f.block(F::Runner, m);
            const RecordFields e = r.block(R::Entry);
            s.ResHorseNo[q][m] = e(E::HorseNo);
            s.ResBracket[q][m] = e(E::Bracket);
            s.ResHorseId[q][m] = e(E::HorseId);
            s.ResHorseName[q][m] = e(E::HorseName);
            s.ResSex[q][m] = e(E::Sex);
            s.ResWeight[q][m] = e(E::Weight);
            s.ResBlinker[q][m] = e(E::Blinker);
            s.ResJockeyCode[q][m] = e(E::JockeyCode);
            s.ResJockeyName[q][m] = e(E::JockeyName);
            s.ResApprentice[q][m] = e(E::Apprentice);
            s.ResTrainerCode[q][m] = e(E::TrainerCode);
            s.ResTrainerName[q][m] = e(E::TrainerName);
            s.ResAbnormal[q][m] = r(R::Abnormal);
            s.ResBodyWeight[q][m] = r(R::BodyWeight);
            s.ResBodyChange[q][m] = r(R::BodyChange);
            for (int c = 1; c <= 4; ++c)
                s.ResCorner[q][m][c] = r(R::Corner, c);
            s.ResLast4F[q][m] = r(R::Last4F);
            s.ResLast3F[q][m] = r(R::Last3F);
            s.ResTime[q][m] = r(R::Time);
            s.ResMarginCode[q][m] = r(R::MarginCode);
            s.ResPostOrder[q][m] = r(R::Arrival);
            s.ResFinish[q][m] = r(R::Finish);
            s.ResPopularity[q][m] = r(R::Popularity);
            s.ResWinOdds[q][m] = r(R::WinOdds);
            // Main and added prize, then the two zero fields after them.
            for (int p = 1; p <= 4; ++p)
                s.ResPrize[q][m][p] = r.raw(R::PrizeMain.offset + 7 * static_cast<std::size_t>(p - 1), 7);
        }
    }
}

} // namespace zorbe
