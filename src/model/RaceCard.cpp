#include "model/RaceCard.h"

#include "data/formats/Codes.h"
#include "data/formats/RaceDayFormats.h"
#include "model/RecordFields.h"
#include "platform/Cp932.h"
#include "platform/Fields.h"
#include "platform/Files.h"

#include <algorithm>

namespace zorbe {

using namespace formats;

const char *const kTimeCorrectionMissingMessage
    = "タイム補正ファイル(STIME.DAT)が\\DATフォルダに\nありませんコピーして下さい。\nゾルベホームページに最新版があります。";

std::unique_ptr<TRaceCard> makeRaceCard()
{
    return std::make_unique<TRaceCard>();
}

int TRaceCard::entriesOf(int r) const
{
    const auto n = toInt(RaceEntries[r], std::to_string(r + 1) + "R 登録頭数");
    return static_cast<int>(std::clamp<std::int64_t>(n, 0, kSlots));
}

int TRaceCard::FirstHorse(int r) const
{
    int h = 0;
    for (int i = 0; i < r; ++i)
        h += entriesOf(i);
    return h;
}

WinPath withExtension(const WinPath &path, std::string_view extension)
{
    const std::string &t = path.text();
    const std::string name = path.fileName();
    const auto dot = name.rfind('.');
    const std::size_t cut = dot == std::string::npos ? t.size() : t.size() - (name.size() - dot);
    return WinPath(t.substr(0, cut) + std::string(extension));
}

namespace {

constexpr std::string_view kRaceCardFile = "出馬表ファイル";
constexpr std::string_view kHorseFile = "馬データファイル";
constexpr std::string_view kTimeCorrectionFile = "タイム補正ファイル";

[[noreturn]] void notANumber(std::string_view what, const WinPath &file, std::size_t recordNumber,
                             std::string_view field, std::string_view value)
{
    throw files::DamagedFileError(files::recordPlace(what, file, recordNumber) + "が読めません: 項目「"
                                  + std::string(field) + "」の値「" + u8(value) + "」は数値ではありません。");
}

// A race card file the loader can take whole: at least one race, every line
// complete, and a number of entries in every race it reads. Checked before
// anything is copied, so that a refused file leaves the tables as they were.
void checkRaceCards(const RecordFile &file, const WinPath &path)
{
    if (file.count() == 0)
        throw files::DamagedFileError(std::string(kRaceCardFile) + "「" + path.utf8()
                                      + "」にはレースがありません（空のファイルか、1 レース分に足りません）。");
    files::requireLineRecords(file, path, kRaceCardFile);
    const std::size_t races = std::min<std::size_t>(file.count(), TRaceCard::kRaces);
    for (std::size_t r = 0; r < races; ++r) {
        const std::string_view entries = field(file.record(r), RaceCardFields::Entries.fieldSpec());
        if (!isDigits(entries))
            notANumber(kRaceCardFile, path, r + 1, RaceCardFields::Entries.name, entries);
    }
}

} // namespace

void LoadRaceCards(TRaceCard &c)
{
    using F = RaceCardFields;
    using E = RaceEntryFields;
    const WinPath path(c.RaceCardFileName);
    const RecordFile file = RecordFile::read(path, TRaceCardRec::kLength);
    checkRaceCards(file, path);
    c.RaceCount = static_cast<int>(std::min<std::size_t>(file.count(), TRaceCard::kRaces));
    for (int r = 0; r < c.RaceCount; ++r) {
        const std::string_view rec = file.record(static_cast<std::size_t>(r));
        const RecordFields f(rec);
        c.MeetYear = f(F::Key, RaceKeyFields::Year);
        c.MeetMonth = f.raw(F::Key.offset + 4, 2);
        c.MeetDay = f.raw(F::Key.offset + 6, 2);
        c.MeetKai = f(F::Key, RaceKeyFields::Kai);
        c.MeetNichi = f(F::Key, RaceKeyFields::Nichi);
        c.MeetWeekday = f(F::Weekday);

        c.RaceVenue[r] = f(F::Key, RaceKeyFields::Venue);
        c.RaceNo[r] = f(F::Key, RaceKeyFields::RaceNo);
        c.RaceName[r] = f(F::RaceName);
        c.RaceEdition[r] = f(F::Edition);
        c.RaceGrade[r] = f(F::Grade);
        c.RaceKind[r] = f(F::RaceKind);
        c.RaceSymbol[r] = f(F::Symbol);
        c.RaceWeightRule[r] = f(F::WeightRule);
        for (int k = 1; k <= 5; ++k) {
            c.RaceClass[r][k] = f(F::Class, k);
            c.RacePrize[r][k] = f(F::Prize, k);
        }
        c.RaceDistance[r] = f(F::Distance);
        c.RaceTrack[r] = f(F::Track);
        c.RaceCourse[r] = f(F::Course);
        c.RaceRecordKind[r] = f(F::CourseRecord, CourseRecordFields::DataKind);
        c.RaceRecordTime[r] = f(F::CourseRecord, CourseRecordFields::RecordTime);
        c.RaceRecordHorse[r] = f(F::CourseRecord, CourseRecordFields::HorseName);
        c.RaceStartTime[r] = f(F::StartTime);
        c.RaceEntries[r] = f(F::Entries);

        const int n = c.entriesOf(r);
        for (int j = 1; j <= n; ++j) {
            const RecordFields e = f.block(F::Entry, j);
            c.EntryWeight[r][j] = e(E::Weight);
            c.EntryBlinker[r][j] = e(E::Blinker);
            c.EntryJockeyCode[r][j] = e(E::JockeyCode);
            c.EntryJockeyName[r][j] = e(E::JockeyName);
            c.EntryApprentice[r][j] = e(E::Apprentice);
            c.EntryTrainerCode[r][j] = e(E::TrainerCode);
            c.EntryTrainerName[r][j] = e(E::TrainerName);
        }
    }
}

namespace {

void loadPastRace(TRaceCard &c, int h, int k, const RecordFields &p)
{
    using P = PastRaceFields;
    using K = RaceKeyFields;
    c.PastYear[h][k] = p(P::Key, K::Year);
    c.PastMonthDay[h][k] = p(P::Key, K::MonthDay);
    c.PastVenue[h][k] = p(P::Key, K::Venue);
    c.PastKai[h][k] = p(P::Key, K::Kai);
    c.PastNichi[h][k] = p(P::Key, K::Nichi);
    c.PastRaceNo[h][k] = p(P::Key, K::RaceNo);
    c.PastRaceName[h][k] = p(P::RaceName);
    c.PastGrade[h][k] = p(P::Grade);
    c.PastKind[h][k] = p(P::RaceKind);
    c.PastSymbol[h][k] = p(P::Symbol);
    c.PastWeightRule[h][k] = p(P::WeightRule);
    c.PastClass[h][k] = p(P::Class);
    c.PastConditionName[h][k] = p(P::ConditionName);
    c.PastDistance[h][k] = p(P::Distance);
    c.PastTrack[h][k] = p(P::Track);
    c.PastRegistered[h][k] = p(P::Registered);
    c.PastStarters[h][k] = p(P::Starters);
    c.PastFinishers[h][k] = p(P::Finishers);
    c.PastGoing[h][k] = p(P::Going);
    c.PastWeather[h][k] = p(P::Weather);
    c.PastHorseNo[h][k] = p(P::HorseNo);
    c.PastBracket[h][k] = p(P::Bracket);
    c.PastSex[h][k] = p(P::Sex);
    c.PastWeight[h][k] = p(P::Weight);
    c.PastBlinker[h][k] = p(P::Blinker);
    c.PastJockeyCode[h][k] = p(P::JockeyCode);
    c.PastJockeyName[h][k] = p(P::JockeyName);
    c.PastApprentice[h][k] = p(P::Apprentice);
    c.PastTrainerCode[h][k] = p(P::TrainerCode);
    c.PastTrainerName[h][k] = p(P::TrainerName);
    c.PastAbnormal[h][k] = p(P::Abnormal);
    c.PastBodyWeight[h][k] = p(P::BodyWeight);
    c.PastBodyChange[h][k] = p(P::BodyChange);
    for (int n = 1; n <= 4; ++n)
        c.PastCorner[h][k][n] = p(P::Corner, n);
    c.PastLast4F[h][k] = p(P::Last4F);
    c.PastLast3F[h][k] = p(P::Last3F);
    c.PastTime[h][k] = p(P::Time);
    c.PastMarginCode[h][k] = p(P::MarginCode);
    c.PastArrival[h][k] = p(P::Arrival);
    c.PastFinish[h][k] = p(P::Finish);
    c.PastPopularity[h][k] = p(P::Popularity);
    c.PastWinOdds[h][k] = p(P::WinOdds);
    // Four 7-byte prize fields from the main prize on: main, added, and the
    // two zero fields that follow them in the block.
    for (int n = 1; n <= 4; ++n)
        c.PastPrize[h][k][n] = p.raw(P::Prize.offset + 7 * static_cast<std::size_t>(n - 1), 7);
    c.PastRivalId[h][k] = p(P::RivalId);
    c.PastRivalName[h][k] = p(P::RivalName);
    c.PastTimeDiff[h][k] = p(P::TimeDiff);
}

} // namespace

void LoadHorses(TRaceCard &c)
{
    using H = HorseFields;
    const WinPath path(c.HorseFileName);
    const RecordFile file = RecordFile::read(path, THorseRec::kLength);
    files::requireLineRecords(file, path, kHorseFile);
    c.HorseCount = static_cast<int>(std::min<std::size_t>(file.count(), TRaceCard::kHorses));
    for (int h = 0; h < c.HorseCount; ++h) {
        const RecordFields f(file.record(static_cast<std::size_t>(h)));
        c.HorseId[h] = f(H::Id);
        c.HorseDataKind[h] = f(H::DataKind);
        c.HorseDataDate[h] = f(H::DataDate);
        c.HorseRetired[h] = f(H::Retired);
        c.HorseRetiredDate[h] = f(H::RetiredDate);
        c.HorseName[h] = f(H::Name);
        c.HorseBirthDate[h] = f(H::BirthDate);
        c.HorseBreed[h] = f(H::Breed);
        c.HorseSex[h] = f(H::Sex);
        c.HorseColour[h] = f(H::Colour);
        c.HorseMark[h] = f(H::Mark);
        c.HorseSire[h] = f(H::Sire);
        c.HorseDam[h] = f(H::Dam);
        c.HorseDamSire[h] = f(H::DamSire);
        c.HorseDamDam[h] = f(H::DamDam);
        c.HorseDamDamSire[h] = f(H::DamDamSire);
        c.HorseDamDamDam[h] = f(H::DamDamDam);
        c.HorseBirthplace[h] = f(H::Birthplace);
        c.HorseBreeder[h] = f(H::Breeder);
        c.HorseOwnerCode[h] = f(H::OwnerCode);
        c.HorseOwner[h] = f(H::Owner);
        c.HorseTrainerCode[h] = f(H::TrainerCode);
        c.HorseTrainerName[h] = f(H::TrainerName);
        c.HorseInviteRegion[h] = f(H::InviteRegion);
        c.HorsePrizeMain[h] = f(H::PrizeMain);
        c.HorsePrizeAdded[h] = f(H::PrizeAdded);
        c.HorsePrizeEarned[h][1] = f(H::PrizeEarned, 1);
        c.HorsePrizeEarned[h][2] = f(H::PrizeEarned, 2);
        for (int g = 1; g <= TRaceCard::kGroups; ++g) {
            const RecordFields counts = f.block(H::Results, g);
            c.HorseResults[h][g][1] = counts(ResultCountsFields::Wins);
            c.HorseResults[h][g][2] = counts(ResultCountsFields::Seconds);
            c.HorseResults[h][g][3] = counts(ResultCountsFields::Thirds);
            c.HorseResults[h][g][4] = counts(ResultCountsFields::Others);
        }
        for (int k = 1; k <= TRaceCard::kPast; ++k)
            loadPastRace(c, h, k, f.block(H::Past, k));
        for (int m = 1; m <= TRaceCard::kHistory; ++m) {
            const RecordFields s = f.block(H::History, m);
            using K = RaceKeyFields;
            c.HistYear[h][m] = s(RaceRefFields::Key, K::Year);
            c.HistMonthDay[h][m] = s(RaceRefFields::Key, K::MonthDay);
            c.HistVenue[h][m] = s(RaceRefFields::Key, K::Venue);
            c.HistKai[h][m] = s(RaceRefFields::Key, K::Kai);
            c.HistNichi[h][m] = s(RaceRefFields::Key, K::Nichi);
            c.HistRaceNo[h][m] = s(RaceRefFields::Key, K::RaceNo);
            c.HistExtra[h][m] = s(RaceRefFields::Extra);
        }
    }
}

void LoadOdds(TRaceCard &c)
{
    const std::string date = c.MeetYear + c.MeetMonth + c.MeetDay;
    if (c.OddsMode == "1") {
        c.OddsFileName = (WinPath(c.OddsFolder) / (date + ".odz")).text();
        if (!files::isFile(WinPath(c.OddsFileName)))
            return;
        const RecordFile file = RecordFile::read(WinPath(c.OddsFileName), TOddsDayRec::kLength);
        c.OddsCount = static_cast<int>(std::min<std::size_t>(file.count(), TRaceCard::kOdds));
        using O = OddsDayFields;
        for (int i = 0; i < c.OddsCount; ++i) {
            const RecordFields f(file.record(static_cast<std::size_t>(i)));
            c.OddsKey[i] = f(O::Key);
            c.OddsStamp[i] = f(O::Stamp);
            c.OddsItem104[i] = f(O::Item104);
            c.OddsItem105[i] = f(O::Item105);
            c.OddsItem109[i] = f(O::Item109);
            for (int j = 1; j <= TRaceCard::kSlots; ++j)
                c.OddsWin[i][j] = f(O::WinOdds, j);
        }
        return;
    }
    const int current = std::clamp(c.CurrentRace, 0, TRaceCard::kRaces - 1);
    c.OddsFileName = (WinPath(c.OddsFolder) / (c.RaceVenue[current] + date + ".odd")).text();
    if (!files::isFile(WinPath(c.OddsFileName)))
        return;
    const RecordFile file = RecordFile::read(WinPath(c.OddsFileName), TOddsVenueRec::kLength);
    c.OddsCount = static_cast<int>(std::min<std::size_t>(file.count(), TRaceCard::kOdds));
    // The venue file has one line per race; only the first 12 are races.
    for (int r = 0; r < std::min(c.OddsCount, TRaceCard::kOdds); ++r) {
        const RecordFields f(file.record(static_cast<std::size_t>(r)));
        for (int j = 1; j <= TRaceCard::kSlots; ++j)
            c.OddsWin[r][j] = f(OddsVenueFields::WinOdds, j);
    }
}

namespace {

std::string withoutLeadingZeros(const std::string &digits)
{
    std::size_t i = 0;
    while (i + 1 < digits.size() && digits[i] == '0')
        ++i;
    return digits.substr(i);
}

} // namespace

void SetRaceDayCaptions(TRaceCard &c)
{
    const std::string &code = c.RaceVenue[std::clamp(c.CurrentRace, 0, TRaceCard::kRaces - 1)];
    const std::string_view venue = codes::racecourses().name(code);
    if (!venue.empty()) {
        const std::string venueText = std::string(venue) + sj("　");
        c.MeetDateTitle = venueText + c.MeetYear + sj("年　") + withoutLeadingZeros(c.MeetMonth) + sj("月　")
                          + withoutLeadingZeros(c.MeetDay) + sj("日");
        c.Form3Caption = withoutLeadingZeros(c.MeetKai) + sj(" 回  ") + venueText + withoutLeadingZeros(c.MeetNichi)
                         + sj(" 日目印刷レース選択");
    } else {
        c.MeetDateTitle.clear();
    }
    const std::string_view weekday = codes::weekdays().name(c.MeetWeekday);
    if (!weekday.empty())
        c.Form3Label1 = c.MeetDateTitle + sj("（") + std::string(weekday) + sj("）");
}

namespace {

// A time-correction line the time index can use: its key and the standard
// times and last three furlongs all digits, the line complete.
bool usableTimeCorrection(std::string_view rec)
{
    return rec.size() == 132 && rec.substr(130) == "\r\n" && isDigits(rec.substr(0, 10 + 48 + 36));
}

} // namespace

void LoadTimeCorrection(TRaceCard &c, const WinPath &dataFolder, DesktopServices &desktop)
{
    const WinPath path = dataFolder / "STIME.dat";
    if (!files::isFile(path)) {
        desktop.showMessage(kTimeCorrectionMissingMessage);
        return;
    }
    const RecordFile file = RecordFile::read(path, 132);
    // A damaged line is left out (and said so) rather than stopping the
    // day: the rest of the table still corrects the times.
    std::size_t firstBad = 0, bad = 0;
    int t = 0;
    for (std::size_t n = 0; n < file.count() && t < TRaceCard::kSTime; ++n) {
        const std::string_view rec = file.record(n);
        if (!usableTimeCorrection(rec)) {
            if (bad++ == 0)
                firstBad = n + 1;
            continue;
        }
        c.STimeKey[t] = std::string(field(rec, 0, 10));
        c.STimeStd[t] = std::string(field(rec, 10, 48));
        c.STimeStd3F[t] = std::string(field(rec, 58, 36));
        ++t;
    }
    c.STimeCount = t;
    if (bad != 0)
        desktop.showMessage(files::recordPlace(kTimeCorrectionFile, path, firstBad)
                            + (bad > 1 ? "ほか " + std::to_string(bad - 1) + " 件" : std::string())
                            + "は数字の並びが崩れているため、読み飛ばしました。");
    if (file.trailingBytes() != 0)
        desktop.showMessage(files::strayBytesNote(path, file.trailingBytes(), 132));
}

namespace {

// The horse file pairs with the race card by position: every used entry
// needs its horse line, and the line must be of that horse, or every later
// runner would be shown with another horse's past.
void checkPairing(const TRaceCard &c)
{
    const WinPath cards(c.RaceCardFileName), horses(c.HorseFileName);
    const RecordFile file = RecordFile::read(cards, TRaceCardRec::kLength);
    int h = 0;
    for (int r = 0; r < c.RaceCount; ++r) {
        const int n = c.entriesOf(r);
        const RecordFields race(file.record(static_cast<std::size_t>(r)));
        for (int j = 1; j <= n; ++j, ++h) {
            const std::string id = race.block(RaceCardFields::Entry, static_cast<std::size_t>(j))(RaceEntryFields::HorseId);
            const std::string where = std::to_string(r + 1) + "R の " + std::to_string(j) + " 番目の馬";
            if (h >= c.HorseCount)
                throw files::DamagedFileError(std::string(kHorseFile) + "「" + horses.utf8() + "」には "
                                              + std::to_string(c.HorseCount) + " 頭分しかなく、出馬表の" + where
                                              + "（" + u8(id) + "）の行がありません。");
            if (c.HorseId[h] != id)
                throw files::DamagedFileError(files::recordPlace(kHorseFile, horses, static_cast<std::size_t>(h) + 1)
                                              + "の血統登録番号「" + u8(c.HorseId[h]) + "」が出馬表の" + where
                                              + "（" + u8(id) + "）と違います。出馬表と馬データが対になっていません。");
        }
    }
}

void noteStrayBytes(const WinPath &path, std::size_t recordLength, DesktopServices &desktop)
{
    const auto size = files::fileSize(path);
    if (size && *size % recordLength != 0)
        desktop.showMessage(files::strayBytesNote(path, static_cast<std::size_t>(*size % recordLength), recordLength));
}

} // namespace

void LoadRaceDay(TRaceCard &c, const WinPath &raceCardFile, const std::string &oddsFolder,
                 const std::string &oddsMode, const WinPath &dataFolder, DesktopServices &desktop)
{
    c.OddsFolder = oddsFolder;
    c.OddsMode = oddsMode;
    c.HorseFileName = withExtension(raceCardFile, ".HDT").text();
    c.RaceCardFileName = raceCardFile.text();
    LoadRaceCards(c);
    LoadHorses(c);
    checkPairing(c);
    noteStrayBytes(raceCardFile, TRaceCardRec::kLength, desktop);
    noteStrayBytes(WinPath(c.HorseFileName), THorseRec::kLength, desktop);
    LoadOdds(c);
    SetRaceDayCaptions(c);
    LoadTimeCorrection(c, dataFolder, desktop);
}

void ClearLoadedOdds(TRaceCard &card)
{
    for (auto &race : card.OddsWin)
        for (auto &entry : race)
            entry.clear();
}

} // namespace zorbe
