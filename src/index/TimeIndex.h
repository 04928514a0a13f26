#pragma once

#include "model/RaceCard.h"
#include "shell/MasterTables.h"

#include <array>
#include <string>
#include <string_view>

namespace zorbe {

// The figures of the runners of the race being computed, one element per
// runner slot (index slot - 1). Every array keeps the values of the last race
// computed until the same slot is computed again.
struct TRunnerFigures
{
    static constexpr int kSlots = TRaceCard::kSlots;
    template <class T> using PerSlot = std::array<T, kSlots>;

    PerSlot<int> RestMonths{}; // set by the caller before each runner
    PerSlot<double> BaseFigure{}, PaceFigure{}, VenueFigure{}, HumanFactor{};
    PerSlot<double> HonshiFigure{}, ToraFigure{}, TimeFigure{};
    PerSlot<int> TurfDevSum{}, TurfDevCount{}, DirtDevSum{}, DirtDevCount{};

    // Runners of the race whose corner average fell back to the default.
    // The caller sets it back to 0 before a new race.
    int NoHistoryCount = 0;

    // The running deviation sums. The page bodies reset them before every
    // runner (resetDeviations); a caller that does not lets them run on.
    int TurfDevAcc = 0, TurfDevAccCount = 0, DirtDevAcc = 0, DirtDevAccCount = 0;

    void resetDeviations() { TurfDevAcc = TurfDevAccCount = DirtDevAcc = DirtDevAccCount = 0; }
};

// What a runner's figures are computed from: the race card (its CurrentRace
// is the race), the master tables and the number of past races to use.
struct TFigureInputs
{
    const TRaceCard &card;
    const MasterTables &masters;
    int pastRaces = 0; // 0..5, see pastRacesSetting
};

// The setting [Kako] Kako as the number of past races to use. The past-race
// tables hold five races, so a larger number uses five; a negative one uses
// none. Text that is not a number raises ConversionError.
int pastRacesSetting(std::string_view kako);

// The figures of the runner horse of the current race, whose slot is
// horse - firstHorse + 1. RestMonths of the slot must be set before; the
// deviation sums of figures run on from where they are.
// Throws std::out_of_range for a race, horse or slot outside the tables, and
// ConversionError for a field that must be a number and is not.
void ComputeRunnerFigures(const TFigureInputs &in, int horse, int firstHorse, TRunnerFigures &figures);

// The speed part of ComputeRunnerFigures: the averages of the runner's past
// races, BaseFigure, PaceFigure, VenueFigure, the deviation sums and the
// runner's NoHistoryCount share.
void ComputeSpeedFigures(const TFigureInputs &in, int horse, int slotIndex, TRunnerFigures &figures);

// Months between a date (year, month) and an earlier race (year, MMDD): the
// month difference plus 12 per year for a year difference of 1 to 3; any
// other year difference adds nothing. An earlier race without a date (year
// blank or "0000", month blank or "00") gives 1. Raises ConversionError for
// a field that is neither blank nor a number.
int RestInterval(std::string_view year, std::string_view month, std::string_view pastYear,
                 std::string_view pastMonthDay);

// RestMonths of a horse on the race card: from the meeting date to its most
// recent past race.
int RestMonthsOf(const TRaceCard &card, int horse);

} // namespace zorbe
