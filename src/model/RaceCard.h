#pragma once

#include "platform/Desktop.h"
#include "platform/WinPath.h"

#include <array>
#include <memory>
#include <string>

namespace zorbe {

// A per-horse table whose rows are made when first written to. A day
// holds a few hundred of the 660 horses, and empty strings for every
// one of them would be most of the card's 17 MB, all of it written
// before the first record is read. A row never written reads as empty
// strings, as a fresh one would.
template <class Row, std::size_t N> class HorseRows
{
public:
    HorseRows() = default;
    HorseRows(const HorseRows &other) { *this = other; }
    HorseRows &operator=(const HorseRows &other)
    {
        if (this != &other)
            for (std::size_t h = 0; h < N; ++h)
                m_rows[h] = other.m_rows[h] ? std::make_unique<Row>(*other.m_rows[h]) : nullptr;
        return *this;
    }
    HorseRows(HorseRows &&) noexcept = default;
    HorseRows &operator=(HorseRows &&) noexcept = default;

    Row &operator[](std::size_t h)
    {
        std::unique_ptr<Row> &row = m_rows[h];
        if (!row)
            row = std::make_unique<Row>();
        return *row;
    }
    const Row &operator[](std::size_t h) const
    {
        const std::unique_ptr<Row> &row = m_rows[h];
        return row ? *row : none();
    }
    static constexpr std::size_t size() { return N; }

private:
    // Made at run time on first use (clang 14 fails on a constant-evaluated
    // row of strings).
    static const Row &none()
    {
        static const std::unique_ptr<const Row> row = std::make_unique<const Row>();
        return *row;
    }
    std::array<std::unique_ptr<Row>, N> m_rows{};
};

// The in-memory race card of one meeting day: races, runners, horses with
// their past races, the day's odds and the time-correction table. Every
// field is the stored cp932 text of its record field, copied unchanged; the
// Part's 1-based indexes (slot j, past race k, ...) are used as they are, so
// element 0 of those tables is unused.
//
// A load overwrites what it reads and clears nothing else: races, slots,
// horses and odds or time-correction records beyond the new counts keep the
// values of an earlier load (readers bound themselves by the counts).
struct TRaceCard
{
    static constexpr int kRaces = 12;
    static constexpr int kSlots = 18;
    static constexpr int kHorses = 660;
    static constexpr int kOdds = 37;
    static constexpr int kSTime = 1442;
    static constexpr int kPast = 5;
    static constexpr int kHistory = 50;
    static constexpr int kGroups = 24;

    using Str = std::string;
    template <std::size_t N> using Col = std::array<Str, N>;
    template <std::size_t N, std::size_t M> using Grid = std::array<std::array<Str, M>, N>;
    template <std::size_t N, std::size_t M, std::size_t L> using Cube = std::array<Grid<M, L>, N>;

    template <std::size_t M> using HorseGrid = zorbe::HorseRows<Col<M>, kHorses>;
    template <std::size_t M, std::size_t L> using HorseCube = zorbe::HorseRows<Grid<M, L>, kHorses>;

    // Meeting values.
    Str MeetYear, MeetMonth, MeetDay, MeetKai, MeetNichi, MeetWeekday;
    int RaceCount = 0, HorseCount = 0, OddsCount = 0, STimeCount = 0;
    int CurrentRace = 0;
    Str MeetDateTitle;
    Str RaceCardFileName, HorseFileName, OddsFileName;
    Str OddsFolder, OddsMode;

    // The texts the race selection window shows for the day.
    Str Form3Caption, Form3Label1;

    // Per race r (0..11).
    Col<kRaces> RaceVenue, RaceNo, RaceName, RaceEdition, RaceGrade, RaceKind, RaceSymbol, RaceWeightRule;
    Grid<kRaces, 6> RaceClass;   // [r][1..5]
    Col<kRaces> RaceDistance, RaceTrack, RaceCourse;
    Grid<kRaces, 6> RacePrize;   // [r][1..5]
    Col<kRaces> RaceRecordKind, RaceRecordTime, RaceRecordHorse, RaceStartTime, RaceEntries;

    // Per runner [r][j], j = 1..18.
    Grid<kRaces, kSlots + 1> EntryWeight, EntryBlinker, EntryJockeyCode, EntryJockeyName, EntryApprentice,
        EntryTrainerCode, EntryTrainerName;

    // Per horse h (0..659).
    Col<kHorses> HorseId, HorseDataKind, HorseDataDate, HorseRetired, HorseRetiredDate, HorseName, HorseBirthDate,
        HorseBreed, HorseSex, HorseColour, HorseMark, HorseSire, HorseDam, HorseDamSire, HorseDamDam,
        HorseDamDamSire, HorseDamDamDam, HorseBirthplace, HorseBreeder, HorseOwnerCode, HorseOwner,
        HorseTrainerCode, HorseTrainerName, HorseInviteRegion, HorsePrizeMain, HorsePrizeAdded;
    HorseGrid<3> HorsePrizeEarned;           // [h][1..2]: flat, jump
    HorseCube<kGroups + 1, 5> HorseResults;  // [h][g 1..24][c 1..4]

    // Per past race [h][k], k = 1..5 (1 the most recent).
    HorseGrid<kPast + 1> PastYear, PastMonthDay, PastVenue, PastKai, PastNichi, PastRaceNo, PastRaceName,
        PastGrade, PastKind, PastSymbol, PastWeightRule, PastClass, PastConditionName, PastDistance, PastTrack,
        PastRegistered, PastStarters, PastFinishers, PastGoing, PastWeather, PastHorseNo, PastBracket, PastSex,
        PastWeight, PastBlinker, PastJockeyCode, PastJockeyName, PastApprentice, PastTrainerCode,
        PastTrainerName, PastAbnormal, PastBodyWeight, PastBodyChange, PastLast4F, PastLast3F, PastTime,
        PastMarginCode, PastArrival, PastFinish, PastPopularity, PastWinOdds, PastRivalId, PastRivalName,
        PastTimeDiff;
    HorseCube<kPast + 1, 5> PastCorner; // [h][k][1..4]
    HorseCube<kPast + 1, 5> PastPrize;  // [h][k][1..4]

    // Per history slot [h][m], m = 1..50.
    HorseGrid<kHistory + 1> HistYear, HistMonthDay, HistVenue, HistKai, HistNichi, HistRaceNo, HistExtra;

    // Odds [i], i = 0..36; OddsWin [i][j], j = 1..18.
    Col<kOdds> OddsKey, OddsStamp, OddsItem104, OddsItem105, OddsItem109;
    Grid<kOdds, kSlots + 1> OddsWin;

    // Time corrections [t], t = 0..1441.
    Col<kSTime> STimeKey, STimeStd, STimeStd3F;

    // Horse index of slot 1 of race r: the entries of races 0..r-1 added up.
    // Throws ConversionError when a number of entries is not a number.
    int FirstHorse(int r) const;
    // The number of entries of race r as an integer (0 when not a number
    // is not accepted: raises ConversionError naming the race).
    int entriesOf(int r) const;
};

// The race card tables are large; they live on the heap for the whole run.
std::unique_ptr<TRaceCard> makeRaceCard();

// Reads RaceCardFileName (1463-byte records) into the meeting, race and
// entry tables. At most 12 races and 18 entries per race are read.
// Throws files::FileError for a missing or unreadable file, and
// files::DamagedFileError (naming the record and field, before anything is
// copied) for a file without races, a record that is not a whole line or a
// number of entries that is not a number.
void LoadRaceCards(TRaceCard &card);

// Reads HorseFileName (2881-byte records) into the horse, past-race and
// history tables; at most 660 horses. Throws files::FileError, and
// files::DamagedFileError for a record that is not a whole line.
void LoadHorses(TRaceCard &card);

// The day's odds by OddsMode: "1" the day file OddsFolder\yyyymmdd.odz,
// anything else the venue file OddsFolder\<venue>yyyymmdd.odd. A missing
// file leaves the odds of an earlier load in place, silently.
void LoadOdds(TRaceCard &card);

// MeetDateTitle, the race selection window's caption and its Label1.
void SetRaceDayCaptions(TRaceCard &card);

// Reads <dataFolder>\STIME.dat (132-byte records, at most 1442). When it is
// missing, shows the message and keeps the earlier table. A line whose key
// and values are not digits is left out, and one message says so.
void LoadTimeCorrection(TRaceCard &card, const WinPath &dataFolder, DesktopServices &desktop);

// The race-day load of "レース選択" after the file was chosen: race cards,
// horses (the same path with ".HDT"), odds, captions, time corrections.
// oddsFolder and oddsMode are the settings [ozzdir] ozzdat and [ozz] ozz.
// Throws files::FileError when the race card or horse file cannot be read,
// and files::DamagedFileError when either is damaged or the horse file does
// not hold the race card's horses in its order. A file cut inside its last
// record is read up to there, with a message.
void LoadRaceDay(TRaceCard &card, const WinPath &raceCardFile, const std::string &oddsFolder,
                 const std::string &oddsMode, const WinPath &dataFolder, DesktopServices &desktop);

// Forgets the win odds of every race (leaving the newspaper for the main
// window does this, so the next day never shows this day's odds). The
// entries become empty, which every odds source prints as nothing.
void ClearLoadedOdds(TRaceCard &card);

extern const char *const kTimeCorrectionMissingMessage;

// The path with its extension replaced (".RDT" -> ".HDT").
WinPath withExtension(const WinPath &path, std::string_view extension);

} // namespace zorbe
