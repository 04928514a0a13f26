#pragma once

#include "link/feedgen/FeedRandom.h"

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

// The simulated racing season the feed is published from: people, horses,
// races and every run, all fictional. The simulation starts more than a
// year before the first published week, so that every horse's past runs
// and every person's yearly results are simulated results too.
namespace zorbe::feedgen {

struct FeedOptions
{
    std::uint64_t seed = 1;
    int start = 20240606; // a Thursday: the first published week
    int weeks = 4;
    int venues = 2;
    int scale = 1;
};

enum class Surface { Turf, Dirt, Jump };

struct Person
{
    int code = 0;
    std::string name, kana, shortName, latin; // cp932
    char affiliation = '1';                   // 1 美浦, 2 栗東, 3 地方, 4 外国
    std::string region;                       // invitation region (地方, 外国)
    int birthDate = 0, licenceDate = 0;
    int sex = 1;
    char apprentice = '0';
    char qualification = '1'; // jockeys: 1 flat and jump, 2 flat, 3 jump
    int trainer = -1;          // jockeys: attached trainer
    double skill = 0;
    // Results before the simulation began (career block only).
    std::array<int, 6> flatBefore{}, jumpBefore{};
    std::int64_t prizeBefore = 0;
};

struct Horse
{
    std::string id;   // 10 digits, birth year first
    std::string name; // katakana, cp932
    std::string kana; // half-width
    int birthDate = 0;
    int sex = 1;
    std::string coat = "03";
    std::string mark = "00";
    std::array<std::string, 14> pedigreeName, pedigreeNumber;
    int trainer = 0, owner = 0, breeder = 0;
    std::string birthplace;
    int registrationDate = 0;
    double ability = 50;
    Surface surface = Surface::Turf;
    int preferredDistance = 1600;
    int style = 2; // 1 逃げ .. 4 追込
    int bodyWeight = 470;
    int level = 0; // 0 maiden, 1 1勝, 2 2勝, 3 3勝, 4 open
    bool retired = false;
    int lastRunDay = -1000;
    bool blinker = false;
    std::vector<int> runs; // run indexes, oldest first
};

struct Run
{
    int race = 0, horse = 0, jockey = 0, trainer = 0;
    int horseNumber = 0, bracket = 0;
    int age = 0;
    int carriedWeight = 550; // tenths of a kg
    char apprentice = '0';
    bool blinker = false;
    int bodyWeight = 0;        // kg, 0 when not weighed
    int bodyWeightChange = 0;  // kg
    bool firstRun = false;
    char abnormality = '0';
    int arrival = 0, placing = 0;
    bool deadHeat = false;
    int deadHeatCount = 0;
    int time = 0; // tenths of a second
    std::string margin = "   ";
    std::array<int, 4> corners{};
    int odds = 0; // tenths
    int popularity = 0;
    std::int64_t mainPrize = 0, addedPrize = 0; // 100 yen
    int last3F = 0, last4F = 0;
    std::vector<int> opponents; // horse indexes
    std::string timeDifference = "    ";
    bool recordUpdate = false;
    int style = 2;
    double performance = 0;
    double probability = 0; // the market's chance of a win (odds are made from it)
};

struct Race
{
    int date = 0, day = 0; // yyyymmdd and day number
    int venue = 1, meeting = 1, meetingDay = 1, number = 1;
    char weekday = '1';
    std::string name, shortName3, shortName6, shortName10; // cp932, unpadded
    int edition = 0;
    char grade = ' ';
    std::string kind = "13"; // race kind code
    std::string symbol = "000";
    char weightRule = '4';
    int level = 0;          // class of the race: 0 maiden, 1..4
    std::string condition;  // condition code of the class ("703", "005" ...)
    bool debut = false;     // 新馬
    bool fillies = false;
    bool special = false;   // a named race
    std::string conditionName;
    int distance = 1600;
    std::string track = "17";
    Surface surface = Surface::Turf;
    int corners = 4;
    std::string courseDivision = "  ";
    std::array<std::int64_t, 5> mainPrize{}, addedPrize{};
    int postTime = 1000;
    char weather = '1', turfGoing = '1', dirtGoing = '1';
    std::vector<int> laps; // tenths
    int first3F = 0, first4F = 0, last3F = 0, last4F = 0, jumpMileTime = 0;
    std::array<std::string, 4> cornerOrder;
    bool cancelled = false;
    bool recordUpdate = false;
    int entries = 0, starters = 0, finishers = 0;
    std::vector<int> runs; // run indexes in horse-number order

    std::string key() const; // the 16-character race key
};

// A course record: the fastest time for a venue, track, distance and race
// kind group, with its holder.
struct CourseRecord
{
    int venue = 0;
    std::string track, kind;
    int distance = 0;
    int time = 0;    // tenths
    int setDay = -1000000; // day number the record was set
    int race = -1;   // the simulated race that set it, or -1 (set before)
    // Holder and race of a record set before the simulation.
    std::string raceKey, horseId, horseName, trainerName, jockeyName;
    int sex = 1, carriedWeight = 570, jockey = 0, trainer = 0;
    char weather = '1', going = '1';
};

// One published week: its Thursday and its race days.
struct FeedWeek
{
    int thursday = 0;            // yyyymmdd
    std::vector<int> raceDays;   // yyyymmdd, Saturday first
    std::vector<int> races;      // race indexes of the weekend
};

struct Season
{
    FeedOptions options;
    std::vector<Person> jockeys, trainers;
    std::vector<std::string> owners, breeders;
    std::vector<Horse> horses;
    std::vector<Race> races;
    std::vector<Run> runs;
    std::vector<CourseRecord> recordHistory;     // every record as set, in order
    std::vector<FeedWeek> weeks;                 // the published weeks
    int firstDay = 0;                            // first simulated day number

    // Records as they stood before day number `day`.
    std::vector<CourseRecord> recordsBefore(int day) const;
};

// Runs the whole simulation.
Season simulateSeason(const FeedOptions &options);

// The code of a racecourse name, the names ("札幌" ...) as cp932.
std::string venueName(int venue);
std::string courseRecordKey(int venue, const std::string &track, int distance, const std::string &kind);

} // namespace zorbe::feedgen
