#pragma once

#include <array>
#include <memory>
#include <string>

namespace zorbe {

// The results of one meeting day as the results window shows them: races
// q = 1..12 (record q - 1 of the results file), runner slots m = 1..18.
// Every field is the stored cp932 text, copied unchanged. A load overwrites
// races 1..ResultCount and leaves higher races as an earlier load left them.
struct TResults
{
    static constexpr int kRaces = 12;
    static constexpr int kSlots = 18;

    using Str = std::string;
    using Col = std::array<Str, kRaces + 1>;
    template <std::size_t M> using Row = std::array<std::array<Str, M>, kRaces + 1>;
    template <std::size_t M, std::size_t L> using Cube = std::array<std::array<std::array<Str, L>, M>, kRaces + 1>;

    Str ResultFileName;
    int ResultCount = 0;
    Str ResultYear;

    Col ResMonthDay, ResVenue, ResKai, ResNichi, ResRaceNo, ResRaceName, ResShortName, ResGrade, ResKind,
        ResSymbol, ResWeightRule, ResDistance, ResTrack, ResRecordTime, ResRecordHorseId, ResRecordHorse,
        ResEntries, ResStarters, ResFinishers, ResGoing, ResWeather;
    Row<6> ResClass;       // [q][1..5]
    Row<4> ResWin;         // [q][1..3], 11 bytes
    Row<6> ResPlace;       // [q][1..5], the first 9 bytes (horse number and payout)
    Row<4> ResBracketQ;    // [q][1..3], 11 bytes
    Row<4> ResQuinella;    // [q][1..3], 15 bytes
    Row<8> ResWide;        // [q][1..7], 15 bytes
    Row<26> ResLap;        // [q][1..25]

    Row<kSlots + 1> ResHorseNo, ResBracket, ResHorseId, ResHorseName, ResSex, ResWeight, ResBlinker, ResJockeyCode,
        ResJockeyName, ResApprentice, ResTrainerCode, ResTrainerName, ResAbnormal, ResBodyWeight, ResBodyChange,
        ResLast4F, ResLast3F, ResTime, ResMarginCode, ResPostOrder, ResFinish, ResPopularity, ResWinOdds;
    Cube<kSlots + 1, 5> ResCorner; // [q][m][1..4]
    Cube<kSlots + 1, 5> ResPrize;  // [q][m][1..4]
};

std::unique_ptr<TResults> makeResults();

// Reads ResultFileName (3048-byte records) into the tables; nothing happens
// when the file does not exist. At most 12 races are read. Throws
// files::FileError when the file cannot be read, and files::DamagedFileError
// (leaving the tables as they were) when a record is not a whole line.
void LoadResults(TResults &results);

} // namespace zorbe
