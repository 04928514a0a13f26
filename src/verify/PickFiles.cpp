#include "verify/PickFiles.h"

#include "paper/Picks.h"
#include "platform/Cp932.h"
#include "platform/Fields.h"
#include "platform/Files.h"
#include "platform/ProfileFile.h"

#include <algorithm>
#include <array>

namespace zorbe {
namespace {

constexpr const char *kCrLf = "\r\n";

// A number right-aligned in two characters (" 9", "12"); blanks for 0.
std::string twoWide(int n)
{
    if (n <= 0)
        return "  ";
    return n < 10 ? " " + std::to_string(n) : std::to_string(n);
}

std::string titleLabel(PickType type)
{
    switch (type) {
    case PickType::Honshi: return sj("本");
    case PickType::Tora: return sj("虎");
    default: return sj("ﾀｲ");
    }
}

std::string weekdayText(std::string_view code)
{
    static const char *const kDays[] = {"(土)", "(日)", "(祝)", "(月)", "(火)", "(水)", "(木)", "(金)"};
    if (code.size() == 1 && code[0] >= '1' && code[0] <= '8')
        return sj(kDays[code[0] - '1']);
    return sj(" 　 ");
}

// A number within lo..hi as its digits, else nothing.
std::string numberWithin(std::int64_t n, int lo, int hi)
{
    return n >= lo && n <= hi ? std::to_string(n) : std::string();
}

std::string monthText(std::int64_t month)
{
    if (month < 1 || month > 12)
        return {};
    return month < 10 ? " " + std::to_string(month) : std::to_string(month);
}

// Two characters: the tens digit when it is 1, 2 or 3, else a blank; then
// the units digit.
std::string dayOfMonthText(std::string_view day)
{
    const char tens = day.size() >= 1 ? day[0] : ' ';
    const char units = day.size() >= 2 ? day[1] : ' ';
    return std::string(1, tens >= '1' && tens <= '3' ? tens : ' ') + units;
}

int clampedRace(int r)
{
    return std::clamp(r, 0, TRaceCard::kRaces - 1);
}

bool isJumpTrack(std::string_view track)
{
    return track.size() == 2 && track >= "51" && track <= "59";
}

// Whether a race gets no line when races without picks are left out:
// a debut race, a jump race, or too many runners without history.
bool raceLeftOut(const TRaceCard &c, int r, int noHistoryCount)
{
    for (int code = 1; code <= 2; ++code)
        if (c.RaceClass[r][code] == "701" || c.RaceClass[r][code] == "702")
            return true;
    return c.RaceTrack[r] >= "51" || noHistoryCount >= 3;
}

// The figures of every runner of race r, computed as the newspaper does
// but with the rest interval of the pick files.
void computeRace(const TFigureInputs &in, TRaceCard &card, int r, TRunnerFigures &fig)
{
    card.CurrentRace = r;
    const int first = card.FirstHorse(r);
    const int n = card.entriesOf(r);
    fig.NoHistoryCount = 0;
    for (int i = 0; i < n; ++i) {
        const int h = first + i;
        if (h >= TRaceCard::kHorses)
            throw std::out_of_range("馬の数が多すぎます");
        fig.RestMonths[static_cast<std::size_t>(i)] =
            pickRestInterval(card.MeetYear, card.MeetMonth, card.PastYear[h][1], card.PastMonthDay[h][1]);
        ComputeRunnerFigures(in, h, first, fig);
    }
}

std::string raceLine(const TRaceCard &c, int r, const TPickTable &table, int row, bool sinbaAll)
{
    const int n = table.runners;
    const auto &rank = table.runner[static_cast<std::size_t>(row)];
    const bool longForm = !sinbaAll || n > 8;
    auto point = [&](int a, int b) {
        return pickPoint(rank[static_cast<std::size_t>(a)], rank[static_cast<std::size_t>(b)], longForm);
    };
    const auto raceNo = toInt(c.RaceNo[r], std::to_string(r + 1) + "R レース番号");
    std::string line = twoWide(static_cast<int>(raceNo)) + "R  " + twoWide(rank[1]) + " ";
    line += point(1, 2) + " " + point(1, 3) + " " + point(1, 4);
    if (n >= 8)
        line += " " + point(2, 3) + " " + point(2, 4) + " " + point(1, 5) + "  |";
    else
        line += std::string(20, ' ') + "|";
    const std::string &start = c.RaceStartTime[r];
    line += "  " + pickCourseText(c.RaceTrack[r]) + " " + pickClassText(c, r) + " " + padRight(c.RaceDistance[r], 4) +
            "m  [" + padRight(field(start, 0, 2), 2) + ":" + padRight(field(start, 2, 2), 2) + "]";
    return line;
}

} // namespace

std::string pickTypeWord(PickType type)
{
    switch (type) {
    case PickType::Honshi: return sj("本紙");
    case PickType::Tora: return sj("虎の穴");
    default: return sj("タイム");
    }
}

std::string venueNameOf(std::string_view code)
{
    static const char *const kVenues[] = {"札幌", "函館", "福島", "新潟", "東京",
                                          "中山", "中京", "京都", "阪神", "小倉"};
    if (!isDigits(code) || code.size() > 4)
        return {};
    const auto n = toInt(code, "場コード");
    return n >= 1 && n <= 10 ? sj(kVenues[n - 1]) : std::string();
}

std::string pickFolderSetting(const ProfileFile &settings)
{
    return settings.readString("copyfile", "copy", kPickFolderDefault);
}

WinPath pickFileName(const std::string &folder, const TRaceCard &c, int venueRace, PickType type)
{
    const std::string venue = venueNameOf(c.RaceVenue[clampedRace(venueRace)]);
    return WinPath(folder) / (venue + c.MeetYear + c.MeetMonth + c.MeetDay + pickTypeWord(type) + ".TXT");
}

std::string pickTitleLine(const TRaceCard &c, int venueRace, PickType type, std::string_view kako)
{
    std::string line = venueNameOf(c.RaceVenue[clampedRace(venueRace)]) + " " + c.MeetYear + sj("年  ");
    line += numberWithin(toInt(c.MeetKai, "開催回"), 1, 8) + sj("回  ");
    line += numberWithin(toInt(c.MeetNichi, "開催日目"), 1, 20) + sj("日目 ");
    line += monthText(toInt(c.MeetMonth, "開催月")) + sj("月 ");
    line += dayOfMonthText(c.MeetDay) + sj("日") + weekdayText(c.MeetWeekday);
    line += " [0115] " + sj("ゾルベ Lab.版 Ver2.11") + titleLabel(type);
    line += std::string(cp932::cutBytes(kako, 4));
    return line;
}

std::string pickCourseText(std::string_view t)
{
    if (t == "10" || t == "11" || t == "17")
        return "T  ";
    if (t == "12" || t == "13" || t == "16" || t == "18" || t == "19" || t == "22")
        return "TS ";
    if (t == "14" || t == "15" || t == "20" || t == "21")
        return "TU ";
    if (t == "23" || t == "24")
        return "D  ";
    return "   ";
}

std::string pickClassText(const TRaceCard &c, int r)
{
    if (isJumpTrack(c.RaceTrack[r]))
        return sj("障害");
    // The first entry of the table, in its order, that any of the race's
    // first four condition codes equals.
    static const std::array<std::pair<const char *, const char *>, 8> kClasses{{
        {"701", "新馬"}, {"702", "出走"}, {"703", "未勝"}, {"005", "5M　"},
        {"009", "9M　"}, {"010", "10　"}, {"016", "16　"}, {"999", "OP　"},
    }};
    for (const auto &[code, text] : kClasses)
        for (int k = 1; k <= 4; ++k)
            if (c.RaceClass[r][k] == code)
                return sj(text);
    return "    ";
}

std::string pickPoint(int a, int b, bool longForm)
{
    if (a <= 0 || b <= 0)
        return "     ";
    if (a > b)
        std::swap(a, b);
    if (longForm)
        return twoWide(a) + "-" + twoWide(b);
    return "   " + std::to_string(a % 10) + std::to_string(b % 10);
}

int pickRestInterval(std::string_view meetYear, std::string_view meetMonth, std::string_view pastYear,
                     std::string_view pastMonthDay)
{
    if (pastYear == "0000" || isBlank(pastYear))
        return 1;
    const auto years = toInt(meetYear, "開催年") - toInt(pastYear, "前走年");
    const auto yearMonths = years >= 1 && years <= 3 ? 12 * years : 0;
    const auto pastMonth = toIntOrBlank(field(pastMonthDay, 0, 2), "前走月", 0);
    return static_cast<int>(toInt(meetMonth, "開催月") + yearMonths - pastMonth);
}

std::vector<TPickFile> BuildPickFiles(const TPickFileInputs &in, TRunnerFigures &figures)
{
    TRaceCard &c = in.card;
    const int venueRace = c.CurrentRace;
    const bool sinbaAll = in.settings.sinba != "0";
    const TFigureInputs figureInputs{c, in.masters, pastRacesSetting(in.settings.kako)};

    std::vector<TPickFile> out;
    const std::array<PickType, 3> types{PickType::Honshi, PickType::Tora, PickType::Time};
    const std::string rule(75, '-');
    for (PickType type : types) {
        const std::string title = pickTitleLine(c, venueRace, type, in.settings.kako);
        out.push_back({pickFileName(in.settings.copy, c, venueRace, type), rule + kCrLf + title + kCrLf + rule + kCrLf});
    }

    const int races = std::clamp(c.RaceCount, 0, TRaceCard::kRaces);
    for (int r = 0; r < races; ++r) {
        computeRace(figureInputs, c, r, figures);
        if (!sinbaAll && raceLeftOut(c, r, figures.NoHistoryCount))
            continue;
        const TPickTable table = RankPicks(figures, c.entriesOf(r));
        for (std::size_t p = 0; p < out.size(); ++p)
            out[p].bytes += raceLine(c, r, table, static_cast<int>(p), sinbaAll) + kCrLf;
    }
    return out;
}

std::vector<TPickFile> WritePickFiles(const TPickFileInputs &in, TRunnerFigures &figures)
{
    std::vector<TPickFile> built = BuildPickFiles(in, figures);
    for (const TPickFile &f : built)
        files::writeAll(f.name, f.bytes);
    return built;
}

} // namespace zorbe
