#include "index/TimeIndex.h"

#include "data/formats/Codes.h"
#include "platform/Fields.h"

#include <algorithm>
#include <stdexcept>

namespace zorbe {

using formats::codes::isTurfTrack;

namespace {

bool isOneOf(std::string_view code, std::initializer_list<std::string_view> list)
{
    return std::find(list.begin(), list.end(), code) != list.end();
}

// Track codes "51".."59", compared as text like the stored codes.
bool isJumpTrack(std::string_view track)
{
    return track >= "51" && track <= "59";
}

bool isDirtRow(std::string_view track)
{
    return track == "23" || track == "24";
}

double rateOf(const std::vector<TMasterEntry> &table, const std::string &code, double none)
{
    for (const auto &e : table)
        if (e.Code == code)
            return e.TopTwoRate;
    return none;
}

// Stored time M SS T: the minute digit and the seconds-and-tenths part.
struct StoredTime
{
    int minute = 0;
    int rest = 0;
};

StoredTime storedTime(const std::string &pastTime)
{
    const std::string_view t(pastTime);
    StoredTime s;
    s.minute = static_cast<int>(toInt(t.substr(0, 1), "走破タイム"));
    s.rest = static_cast<int>(toInt(t.size() > 1 ? t.substr(1, 3) : std::string_view{}, "走破タイム"));
    return s;
}

int twoLeadingDigits(const std::string &distance)
{
    return static_cast<int>(toInt(std::string_view(distance).substr(0, 2), "距離"));
}

// One row of the class and surface corrections: turf ΔT, ΔL, dirt ΔT, ΔL.
struct ClassCorrection
{
    double turfT, turfL, dirtT, dirtL;
};

// The first row that matches race kind and condition; nullptr when none.
const ClassCorrection *classCorrection(std::string_view kind, std::string_view cls)
{
    static constexpr ClassCorrection debut{24, 0.55, 34, 1.73};
    static constexpr ClassCorrection maiden{13, 0.9, 25, 1.52};
    static constexpr ClassCorrection c500[3] = {{6, 0.59, 10, 0.97}, {-1, 0.22, 12, 0.6}, {-2, 0.54, 13, 0.63}};
    static constexpr ClassCorrection c1000[3] = {{-2, -0.62, 10, 0.97}, {0, 0, 0, 0}, {2, 0.48, 3, 0.1}};
    static constexpr ClassCorrection c1600[3] = {{0, 0, 0, 0}, {-16, 0.35, -9, -0.48}, {-16, 0.35, -11, -0.35}};
    static constexpr ClassCorrection open[3] = {{-6, -0.12, -4, 0.51}, {-6, 0.06, -18, -0.1}, {-10, -0.42, -15, -0.4}};

    if (isOneOf(cls, {"701", "702"}))
        return &debut;
    if (cls == "703")
        return &maiden;
    // Row by race kind: "11"/"12", "13", "14".
    int row = -1;
    if (isOneOf(kind, {"11", "12"}))
        row = 0;
    else if (kind == "13")
        row = 1;
    else if (kind == "14")
        row = 2;
    if (row < 0)
        return nullptr;
    if (isOneOf(cls, {"004", "005"}))
        return &c500[row];
    if (isOneOf(cls, {"009", "010"}))
        return &c1000[row];
    if (isOneOf(cls, {"015", "016"}))
        return row == 0 ? nullptr : &c1600[row]; // no row for kinds "11"/"12"
    if (cls == "999")
        return &open[row];
    return nullptr;
}

// The constants of the venue figure of today's racecourse and track.
struct VenueRow
{
    std::string_view venue;
    std::string_view tracks; // turf track codes, or "dirt"
    double K, a, b;
};

constexpr std::string_view kAllTurf = "10 11 12 13 14 15 16 17 18 19 20 21 22";
constexpr std::string_view kDirt = "dirt";

constexpr VenueRow kVenueRows[] = {
    {"01", kAllTurf, 109.65606, 1.58, 1.2},
    {"02", kAllTurf, 109.65606, 1.58, 1.5},
    {"03", kAllTurf, 109.76906, 1.88, 0.9},
    {"04", "11 14 15 17 20 21", 108.80106, 1.08, 1.5},
    {"04", "10 12 13 16 18 19 22", 109.65606, 1.38, 2.0},
    {"05", kAllTurf, 110.04306, 1.48, 3.0},
    {"06", "14 15 17 20 21", 108.80106, 1.08, 1.2},
    {"06", "12 13 16 18 19 22", 109.65606, 1.48, 1.6},
    {"07", kAllTurf, 108.80106, 1.08, 1.5},
    {"08", "14 15 17 20 21", 109.21506, 1.18, 1.55},
    {"08", "12 13 16 18 19 22", 110.04306, 1.28, 1.75},
    {"09", kAllTurf, 109.65606, 1.28, 1.5},
    {"10", kAllTurf, 109.65606, 1.28, 2.0},
    {"01", kDirt, 108.80106, 1.58, 1.4},
    {"02", kDirt, 108.80106, 1.58, 2.4},
    {"03", kDirt, 108.80106, 1.58, 2.4},
    {"04", kDirt, 108.80106, 1.88, 2.4},
    {"05", kDirt, 110.04306, 1.88, 3.8},
    {"06", kDirt, 108.80106, 1.88, 2.4},
    {"07", kDirt, 108.80106, 1.88, 3.5},
    {"08", kDirt, 108.80106, 1.88, 3.0},
    {"09", kDirt, 109.62906, 1.88, 2.8},
    {"10", kDirt, 108.80106, 1.08, 1},
};

bool listsTrack(std::string_view tracks, std::string_view track)
{
    if (track.size() != 2)
        return false;
    for (std::size_t at = 0; at + 2 <= tracks.size(); at += 3)
        if (tracks.substr(at, 2) == track)
            return true;
    return false;
}

// The row of today's racecourse and track. The table does not list every
// pair, so:
// - a racecourse outside "01".."10" takes the rows of "05";
// - a turf track the racecourse's rows do not list (a "10" or "11" at "06" or
//   "08") takes the racecourse's first turf row;
// - any track that is neither turf nor jump takes the racecourse's dirt row,
//   the "23"/"24" row, whatever its code.
const VenueRow &venueRow(std::string_view venue, std::string_view track)
{
    if (!formats::codes::racecourses().contains(venue))
        venue = "05";
    const bool turf = isTurfTrack(track);
    const VenueRow *firstOfKind = nullptr;
    for (const auto &row : kVenueRows) {
        if (row.venue != venue || (row.tracks == kDirt) == turf)
            continue;
        if (!turf || listsTrack(row.tracks, track))
            return row;
        if (firstOfKind == nullptr)
            firstOfKind = &row;
    }
    return *firstOfKind; // every racecourse of the table has turf and dirt rows
}

// The working values of one past race.
struct PastRun
{
    int c4 = 0, n = 0, d = 0;
    double T = 0, L = 0;
};

// The standard time and last-3F of a past race's day and race number, from
// the first time-correction record of its day; zeros when there is none. A
// race number outside "01".."12" has no standard time.
void standardTimes(const TRaceCard &c, int h, int k, int &S, int &S3)
{
    S = S3 = 0;
    const std::string key = c.PastYear[h][k] + c.PastVenue[h][k] + c.PastKai[h][k] + c.PastNichi[h][k];
    const int count = std::min(c.STimeCount, TRaceCard::kSTime);
    for (int t = 0; t < count; ++t) {
        if (c.STimeKey[t] != key)
            continue;
        const std::string &no = c.PastRaceNo[h][k];
        if (!isDigits(no) || no.size() != 2)
            return;
        const int p = static_cast<int>(toInt(no, "レース番号"));
        if (p < 1 || p > 12)
            return;
        const std::string_view std4(c.STimeStd[t]), std3(c.STimeStd3F[t]);
        S = static_cast<int>(toInt(std4.substr(std::min<std::size_t>(4 * (p - 1), std4.size()), 4), "基準タイム"));
        S3 = static_cast<int>(
            toInt(std3.substr(std::min<std::size_t>(3 * (p - 1), std3.size()), 3), "基準上がり3F"));
        return;
    }
}

// Past race k of horse h through steps 2.1 to 2.8 of the speed figures.
PastRun pastRun(const TRaceCard &c, int r, int h, int k, TRunnerFigures &fig)
{
    PastRun p;
    const std::string &track = c.PastTrack[h][k];

    // Field and time: only a race with positions at the third corner, or a
    // straight course, which has no corners.
    const std::string &corner3 = c.PastCorner[h][k][3];
    const bool cornered = corner3 != "00" && corner3 != "  ";
    if (cornered || track == "10") {
        if (cornered)
            p.c4 = static_cast<int>(toInt(c.PastCorner[h][k][4], "コーナー順位"));
        p.n = static_cast<int>(toInt(c.PastRegistered[h][k], "登録頭数"));
        p.d = twoLeadingDigits(c.PastDistance[h][k]);
        const StoredTime t = storedTime(c.PastTime[h][k]);
        p.T = 600.0 * t.minute + t.rest;
    }

    // Last three furlongs; without them the time is not used either.
    const std::string &last3F = c.PastLast3F[h][k];
    if (last3F != "000" && last3F != "   ") {
        p.L = static_cast<double>(toInt(last3F, "後3ハロン"));
    } else {
        p.L = 0;
        p.T = 0;
    }
    if (isJumpTrack(track) && p.L != 0)
        p.L *= 3;
    if (p.L == 999) {
        p.L = 0;
        p.T = 0;
    }

    // Standard times and the deviation from them.
    int S = 0, S3 = 0;
    if (p.L != 0 && track < "50") {
        standardTimes(c, h, k, S, S3);
        if (S != 0) {
            // The deviation always reads the stored time, whether or not the
            // race had corner positions.
            const StoredTime t = storedTime(c.PastTime[h][k]);
            const int deviation = S - (600 * t.minute + t.rest) + 100;
            if (isTurfTrack(track)) {
                fig.TurfDevAcc += deviation;
                ++fig.TurfDevAccCount;
            } else {
                fig.DirtDevAcc += deviation;
                ++fig.DirtDevAccCount;
            }
        }
        if (p.T != 0 && S != 0)
            p.T = p.T / S * 61.325 * p.d;
        if (p.L != 0 && S3 != 0)
            p.L = p.L / S3 * 354.9;
    }

    if (isJumpTrack(track) && p.L != 0) {
        p.L *= 0.925;
        p.T *= 0.925;
    }
    if (track == "10") {
        if (p.T != 0)
            p.T += 8;
        if (p.L != 0)
            p.L += 8;
    }

    // Class and surface of the past race.
    if (p.T != 0 && (isTurfTrack(track) || isDirtRow(track))) {
        if (const ClassCorrection *row = classCorrection(c.PastKind[h][k], c.PastClass[h][k])) {
            const bool turf = isTurfTrack(track);
            p.T += turf ? row->turfT : row->dirtT;
            if (p.L != 0)
                p.L += turf ? row->turfL : row->dirtL;
        }
    }

    // Today's surface.
    if (p.T != 0 && isTurfTrack(c.RaceTrack[r])) {
        p.T += 1.5;
        if (p.L != 0)
            p.L += 1.5;
    }

    // Races away from the ten racecourses do not count for time.
    if (c.PastVenue[h][k] >= "11") {
        p.T = 0;
        p.L = 0;
    }
    return p;
}

void checkIndexes(const TRaceCard &c, int horse, int slotIndex)
{
    if (c.CurrentRace < 0 || c.CurrentRace >= TRaceCard::kRaces)
        throw std::out_of_range("レース番号が範囲外です");
    if (horse < 0 || horse >= TRaceCard::kHorses)
        throw std::out_of_range("馬番号が範囲外です");
    if (slotIndex < 0 || slotIndex >= TRunnerFigures::kSlots)
        throw std::out_of_range("馬番が範囲外です");
}

} // namespace

int pastRacesSetting(std::string_view kako)
{
    const auto n = toInt(kako, "過去走数(Kako)");
    return static_cast<int>(std::clamp<std::int64_t>(n, 0, TRaceCard::kPast));
}

void ComputeSpeedFigures(const TFigureInputs &in, int h, int i, TRunnerFigures &fig)
{
    const TRaceCard &c = in.card;
    checkIndexes(c, h, i);
    const int r = c.CurrentRace;
    const int N = std::clamp(in.pastRaces, 0, TRaceCard::kPast);

    std::array<PastRun, TRaceCard::kPast + 1> runs{};
    for (int k = 1; k <= N; ++k)
        runs[k] = pastRun(c, r, h, k, fig);

    // Corner average. Field sizes that add up to 0 give no average: the
    // runner then counts as one without corner positions.
    int c4Sum = 0, nSum = 0;
    for (int k = 1; k <= TRaceCard::kPast; ++k) {
        if (runs[k].c4 != 0) {
            c4Sum += runs[k].c4;
            nSum += runs[k].n;
        }
    }
    double avgCorner4 = nSum != 0 ? static_cast<double>(c4Sum) / nSum : 1.01;
    if (avgCorner4 > 1)
        ++fig.NoHistoryCount;
    avgCorner4 *= 13;

    // A runner timed in its last race only gets half a second more, except
    // in debut and maiden races and in races open to all.
    const std::string &C1 = c.RaceClass[r][1], &C2 = c.RaceClass[r][2];
    const bool noLoneRaceAllowance = isOneOf(C1, {"701", "702", "703"}) || C2 == "999";

    double tSum = 0, lSum = 0;
    int dSum = 0, timed = 0, lCount = 0;
    bool onlyLastTimed = true, onlyLastL = true;
    for (int k = 1; k <= TRaceCard::kPast; ++k) {
        if (runs[k].T != 0) {
            tSum += runs[k].T;
            dSum += runs[k].d;
            ++timed;
            onlyLastTimed = onlyLastTimed && k == 1;
        }
        if (runs[k].L != 0) {
            lSum += runs[k].L;
            ++lCount;
            onlyLastL = onlyLastL && k == 1;
        }
    }
    double avgTime = 62.3;
    if (timed > 0 && onlyLastTimed)
        avgTime = runs[1].T / runs[1].d + (noLoneRaceAllowance ? 0.0 : 0.5);
    else if (timed > 0)
        avgTime = tSum / dSum;
    double avgLast3F = 39.9;
    if (lCount > 0 && onlyLastL)
        avgLast3F = runs[1].L / 10 + (noLoneRaceAllowance ? 0.0 : 0.5);
    else if (lCount > 0)
        avgLast3F = lSum / lCount / 10;

    // A long rest costs a little, however many past races are used.
    if (fig.RestMonths[i] >= 6) {
        avgLast3F += 0.118;
        avgTime += 0.1099;
    }

    fig.TurfDevSum[i] = fig.TurfDevAcc;
    fig.TurfDevCount[i] = fig.TurfDevAccCount;
    fig.DirtDevSum[i] = fig.DirtDevAcc;
    fig.DirtDevCount[i] = fig.DirtDevAccCount;

    const double t = avgTime, l = avgLast3F, cc = avgCorner4;
    const std::string &today = c.RaceTrack[r];
    if (isTurfTrack(today)) {
        fig.BaseFigure[i] = 110.29066 - 0.842 * t / 10 - 1.12 * l / 10 - 0.324 * cc / 2;
        fig.PaceFigure[i] = 118.772 - 1.642 * t / 10 - 2.48 * l / 10;
    } else {
        fig.BaseFigure[i] = 110.29066 - 0.842 * t / 10 - 0.28 * l / 10 - 0.054 * cc;
        fig.PaceFigure[i] = 117.352 - 0.632 * t / 10 - 3.39 * l / 10;
    }
    if (isJumpTrack(today)) {
        fig.VenueFigure[i] = 10.96 - 1.08 * l / 10 - 0.054 * cc / 2.4;
    } else {
        const VenueRow &v = venueRow(c.RaceVenue[r], today);
        fig.VenueFigure[i] = v.K - 0.842 * t / 10 - v.a * l / 10 - 0.054 * cc / v.b;
    }
}

void ComputeRunnerFigures(const TFigureInputs &in, int horse, int firstHorse, TRunnerFigures &fig)
{
    const TRaceCard &c = in.card;
    const int i = horse - firstHorse;
    checkIndexes(c, horse, i);
    const int r = c.CurrentRace;
    const int j = i + 1;
    const std::string &C1 = c.RaceClass[r][1], &C2 = c.RaceClass[r][2], &C3 = c.RaceClass[r][3];

    const double Tr = rateOf(in.masters.TrainerTable, c.EntryTrainerCode[r][j], 0.0);
    const double Jr = std::max(rateOf(in.masters.JockeyTable, c.EntryJockeyCode[r][j], 0.15), 0.15);

    ComputeSpeedFigures(in, horse, i, fig);

    const auto anyOf = [&](std::initializer_list<std::string_view> list) {
        return isOneOf(C1, list) || isOneOf(C2, list) || isOneOf(C3, list);
    };
    // The jockey's weight by the race's class. A race matching none of the
    // classes (a money class such as "004" alone) weighs the trainer only.
    double H;
    if (anyOf({"999"}))
        H = 0.003 * Jr + 0.001 * Tr;
    else if (isOneOf(C2, {"016", "015"}) || isOneOf(C3, {"016", "015"}))
        H = 0.1157 * Jr + 0.001 * Tr;
    else if (anyOf({"010", "009", "005"}))
        H = Jr <= 0.3 ? 1.8 * Jr - 4 * Jr * Jr + 0.001 * Tr : 0.18 + 0.001 * Tr;
    else if (isOneOf(C1, {"701", "702", "703"}) || isOneOf(C2, {"701", "702", "703"}))
        H = Jr <= 0.3 ? 0.57 * (18 * Jr - 40 * Jr * Jr) + 0.001 * Tr : 1.3281 + 0.001 * Tr;
    else
        H = 0.001 * Tr;
    fig.HumanFactor[i] = H;

    fig.ToraFigure[i] = fig.BaseFigure[i] + 0.001 * Jr + 0.001 * Tr;
    fig.TimeFigure[i] = fig.PaceFigure[i] + 0.001 * Jr + 0.001 * Tr;
    fig.HonshiFigure[i] = fig.VenueFigure[i] + H;
}

int RestInterval(std::string_view year, std::string_view month, std::string_view pastYear,
                 std::string_view pastMonthDay)
{
    const auto py = toIntOrBlank(pastYear, "前走年", 0);
    const auto pm = toIntOrBlank(pastMonthDay.substr(0, 2), "前走月", 0);
    if (py == 0 || pm == 0)
        return 1;
    const auto y = toInt(year, "開催年");
    const auto m = toInt(month, "開催月");
    const auto years = y - py;
    const auto yearMonths = years >= 1 && years <= 3 ? 12 * years : 0;
    return static_cast<int>(m + yearMonths - pm);
}

int RestMonthsOf(const TRaceCard &card, int horse)
{
    if (horse < 0 || horse >= TRaceCard::kHorses)
        throw std::out_of_range("馬番号が範囲外です");
    return RestInterval(card.MeetYear, card.MeetMonth, card.PastYear[horse][1], card.PastMonthDay[horse][1]);
}

} // namespace zorbe
