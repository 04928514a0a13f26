#include "verify/ReturnRate.h"

#include "platform/Cp932.h"
#include "platform/Fields.h"
#include "platform/Files.h"
#include "platform/ProfileFile.h"

#include <algorithm>
#include <cstdio>

namespace zorbe {
namespace {

constexpr int kRaceRows = 24;       // two rows per race, races 1..12
constexpr std::size_t kPayoutLineWidth = 78;
constexpr std::size_t kMeetingRecord = 102;
constexpr std::int64_t kLargestPayout = 999999;
constexpr int kMostPoints = 99;     // what the four investment digits hold

// Byte position and length of the results grid's columns in a race line:
// race, win horse, win payout, bracket, its payout, quinella, its payout,
// and the blank column after them.
constexpr std::pair<std::size_t, std::size_t> kPayoutColumns[8] = {{2, 3},  {6, 2},  {9, 6},  {46, 3},
                                                                    {50, 6}, {57, 5}, {63, 6}, {70, 2}};

// Rows of the figure grids (1-based grid rows; index 0 unused).
enum CourseRow { AllRaces = 1, Dirt = 2, Turf = 3, OuterTurf = 4, Win = 5 };
enum ClassRow { Maiden = 1, Class500 = 2, Class1000 = 3, Class1600 = 4, Open = 5 };

std::vector<std::string_view> splitLines(std::string_view bytes)
{
    std::vector<std::string_view> lines;
    while (!bytes.empty()) {
        const std::size_t lf = bytes.find('\n');
        std::string_view line = bytes.substr(0, lf);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.push_back(line);
        if (lf == std::string_view::npos)
            break;
        bytes.remove_prefix(lf + 1);
    }
    return lines;
}

// 1-based byte positions, as the text formats are described.
std::string at(std::string_view line, std::size_t position, std::size_t length)
{
    return std::string(fieldAt(line, position, length));
}

ReturnRateError lineError(const std::string &file, std::size_t line, const std::string &problem)
{
    return ReturnRateError(file + " の " + std::to_string(line) + " 行目: " + problem);
}

bool isTitleLine(std::string_view line)
{
    static const std::string kStar = sj("☆");
    return line.substr(0, 2) == kStar;
}

// A race line of the payout file: "  1R|..." or a dead-heat line "*   |...".
bool isPayoutRaceLine(std::string_view line)
{
    return (!line.empty() && line[0] == '*') || (line.size() >= 5 && line[3] == 'R' && line[4] == '|');
}

// A number right-aligned in a field ("   680"); blank is 0. Anything else
// is not a number.
bool parseField(std::string_view text, std::int64_t &value)
{
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        value = 0;
        return true;
    }
    const std::string_view digits = text.substr(first);
    if (!isDigits(digits) || digits.size() > 12)
        return false;
    value = toInt(digits, "");
    return true;
}

std::int64_t cellNumber(const std::string &cell)
{
    std::int64_t v = 0;
    return parseField(cell, v) ? v : 0;
}

void requireNumber(std::string_view text, const std::string &file, std::size_t line, const char *what)
{
    std::int64_t v = 0;
    if (!parseField(text, v))
        throw lineError(file, line, std::string(what) + "が数字ではありません「" + cp932::toUtf8(text) + "」");
}

std::string fixed1(double v)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.1f", v);
    return buf;
}

// The course row of a pick file's course code, or 0.
int courseRow(std::string_view code)
{
    if (code == "D ")
        return Dirt;
    if (code == "T " || code == "TU")
        return Turf;
    if (code == "TS")
        return OuterTurf;
    return 0;
}

// The class row of a pick file's class code (its first two bytes), or 0
// for the classes that count in the course grids only.
int classRow(std::string_view code)
{
    static const std::string kMaiden = sj("未");
    if (code == kMaiden)
        return Maiden;
    if (code == "5M" || code == "4M")
        return Class500;
    if (code == "9M" || code == "10")
        return Class1000;
    if (code == "16" || code == "15")
        return Class1600;
    if (code == "OP")
        return Open;
    return 0;
}

struct Tally
{
    std::int64_t payout = 0;
    int points = 0;
};

// Whether one of the bought points of a row hits: on the quinella the whole
// combination, on the bracket characters 4-5 against the frames. A blank
// point is not bought and never hits.
bool anyPointHits(const TGrid &picks, int row, const std::string &target, bool onBracket)
{
    for (int col = 1; col <= 6; ++col) {
        const std::string &point = picks.cell(col, row);
        if (isBlank(point))
            continue;
        if (onBracket ? point.size() >= 5 && point.substr(3, 2) == target : point == target)
            return true;
    }
    return false;
}

std::string bracketKey(const std::string &combination)
{
    return std::string(fieldAt(combination, 1, 1)) + std::string(fieldAt(combination, 3, 1));
}

void showFigures(TGrid &grid, int row, std::int64_t payout, int points, bool alwaysHundreds)
{
    grid.cell(1, row) = std::to_string(payout);
    grid.cell(2, row) = points > 0 || alwaysHundreds ? std::to_string(points) + "00" : "0";
    grid.cell(3, row) = points > 0 ? fixed1(static_cast<double>(payout) / points) + "%" : "0.0%";
}

void showTotals(TGrid &grid, int row, std::int64_t payout, std::int64_t investment)
{
    grid.cell(1, row) = std::to_string(payout);
    grid.cell(2, row) = std::to_string(investment);
    grid.cell(3, row) =
        investment > 0 ? fixed1(static_cast<double>(payout) / static_cast<double>(investment) * 100) + "%" : "0.0%";
}

} // namespace

// ------------------------------------------------------------------ grid

TGrid::TGrid(int cols, int rows)
    : m_cols(cols), m_rows(rows), m_cells(static_cast<std::size_t>(cols * rows))
{
}

std::string &TGrid::cell(int col, int row)
{
    return m_cells.at(static_cast<std::size_t>(row * m_cols + col));
}

const std::string &TGrid::cell(int col, int row) const
{
    return m_cells.at(static_cast<std::size_t>(row * m_cols + col));
}

void TGrid::clearRows(int firstRow, int lastRow)
{
    for (int r = firstRow; r <= lastRow && r < m_rows; ++r)
        for (int c = 0; c < m_cols; ++c)
            cell(c, r).clear();
}

void TGrid::clearFigures()
{
    for (int r = 1; r < m_rows; ++r)
        for (int c = 1; c < m_cols; ++c)
            cell(c, r).clear();
}

// --------------------------------------------------------------- readers

TPayoutTitles readPayoutTitles(std::string_view bytes, const std::string &file)
{
    TPayoutTitles t;
    const std::vector<std::string_view> lines = splitLines(bytes);
    std::size_t n = 0;
    for (std::size_t i = 0; i < lines.size() && n < t.captions.size(); ++i) {
        const std::string_view line = lines[i];
        if (!isTitleLine(line))
            continue;
        if (line.size() < kPayoutLineWidth)
            throw lineError(file, i + 1, "見出し行が短すぎます");
        const std::string_view yy = fieldAt(line, 63, 2);
        if (!isDigits(yy))
            throw lineError(file, i + 1, "見出し行の年が数字ではありません");
        t.captions[n++] = at(line, 31, 4) + at(line, 27, 4) + at(line, 35, 8);
        t.label86 = (toInt(yy, "") < 77 ? "20" : "19") + at(line, 63, 16);
    }
    return t;
}

void readPayoutSection(std::string_view bytes, const std::string &file, std::string_view venue, TGrid &results,
                       std::string &label85)
{
    const std::vector<std::string_view> lines = splitLines(bytes);
    auto checkRaceLine = [&](std::size_t i) {
        const std::string_view line = lines[i];
        if (line.size() != kPayoutLineWidth)
            throw lineError(file, i + 1, "払戻の行が78バイトではありません");
        requireNumber(fieldAt(line, 9, 6), file, i + 1, "単勝の払戻金");
        requireNumber(fieldAt(line, 50, 6), file, i + 1, "枠連の払戻金");
        requireNumber(fieldAt(line, 63, 6), file, i + 1, "馬連の払戻金");
    };
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!isTitleLine(lines[i]) || fieldAt(lines[i], 31, 4) != venue)
            continue;
        if (lines[i].size() < kPayoutLineWidth)
            throw lineError(file, i + 1, "見出し行が短すぎます");
        label85 = at(lines[i], 27, 16);
        // The "=" line, the column header and the "-" line.
        if (i + 3 >= lines.size())
            throw lineError(file, i + 1, "見出しの後の行が足りません");
        std::size_t j = i + 4;
        // Twelve races; a section that ends sooner ends at its closing line.
        for (int race = 1; race <= 12 && j < lines.size() && isPayoutRaceLine(lines[j]); ++race, ++j) {
            checkRaceLine(j);
            const std::string_view line = lines[j];
            const int main = 2 * race - 1;
            for (int col = 0; col < 8; ++col)
                results.cell(col, main) = at(line, kPayoutColumns[col].first, kPayoutColumns[col].second);
            if (line[0] != '*')
                continue;
            // The race line after a dead-heat line goes into the race's
            // second row, column pairs only where it has something.
            ++j;
            if (j >= lines.size() || lines[j].empty() || lines[j][0] == '*' || !isPayoutRaceLine(lines[j]))
                throw lineError(file, j + 1, "同着の行の後にレースの行がありません");
            checkRaceLine(j);
            const std::string_view race2 = lines[j];
            const int dead = main + 1;
            if (!isBlank(fieldAt(race2, 6, 2)))
                results.cell(1, dead) = at(race2, 6, 2), results.cell(2, dead) = at(race2, 9, 6);
            if (!isBlank(fieldAt(race2, 46, 3)))
                results.cell(3, dead) = at(race2, 46, 3), results.cell(4, dead) = at(race2, 50, 6);
            if (!isBlank(fieldAt(race2, 57, 5)))
                results.cell(5, dead) = at(race2, 57, 5), results.cell(6, dead) = at(race2, 63, 6);
        }
        i = j - 1;
    }
}

void readPickFile(std::string_view bytes, const std::string &file, TGrid &results, TGrid &picks)
{
    const std::vector<std::string_view> lines = splitLines(bytes);
    for (std::size_t i = 3; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        if (isBlank(fieldAt(line, 1, 2)))
            continue;
        std::int64_t r = 0;
        if (!parseField(fieldAt(line, 1, 2), r))
            throw lineError(file, i + 1, "レース番号が数字ではありません");
        if (line.size() < 61)
            throw lineError(file, i + 1, "予想の行が短すぎます");
        const int main = r >= 1 && r <= 11 ? static_cast<int>(2 * r - 1) : 23;
        picks.cell(0, main) = at(line, 6, 2);
        for (int p = 0; p < 6; ++p)
            picks.cell(1 + p, main) = at(line, 9 + 6 * static_cast<std::size_t>(p), 5);
        picks.cell(8, main) = at(line, 49, 2);
        picks.cell(8, main + 1) = at(line, 53, 2);
        results.cell(7, main) = at(line, 58, 4);
    }
}

std::vector<TMeetingDay> readMeetingFile(std::string_view bytes, const std::string &file, std::size_t maxLines)
{
    std::vector<TMeetingDay> days;
    const std::size_t count = std::min(bytes.size() / kMeetingRecord, maxLines);
    for (std::size_t n = 0; n < count; ++n) {
        const std::string_view line = bytes.substr(n * kMeetingRecord, kMeetingRecord);
        TMeetingDay day;
        for (std::size_t k = 0; k < 10; ++k) {
            const std::string_view pay = line.substr(10 * k, 6), inv = line.substr(10 * k + 6, 4);
            if (!isDigits(pay) || !isDigits(inv))
                throw lineError(file, n + 1, "回収率の行に数字でない所があります");
            day.payout[k] = toInt(pay, "");
            day.investment[k] = toInt(inv, "");
        }
        days.push_back(day);
    }
    return days;
}

std::string investmentText(int points)
{
    points = std::clamp(points, 0, kMostPoints);
    if (points == 0)
        return "0000";
    return (points < 10 ? "0" : "") + std::to_string(points) + "00";
}

std::string meetingLine(const TMeetingDay &day, bool *clamped)
{
    std::string line;
    bool over = false;
    for (std::size_t k = 0; k < 10; ++k) {
        over = over || day.payout[k] > kLargestPayout;
        line += zeroPad(std::min(day.payout[k], kLargestPayout), 6);
        line += investmentText(static_cast<int>(day.investment[k] / 100));
    }
    if (clamped)
        *clamped = over;
    return line;
}

std::string returnRateFolderSetting(const ProfileFile &settings)
{
    return settings.readString("copyfile", "copy", kReturnRateFolderDefault);
}

// ---------------------------------------------------------------- window

TReturnRate::TReturnRate()
    : grids{TGrid(8, kRaceRows + 1), TGrid(9, kRaceRows + 1), TGrid(4, 6), TGrid(4, 6), TGrid(4, 6), TGrid(4, 6)}
{
    resetHeaders();
}

void TReturnRate::resetHeaders()
{
    const char *const results[] = {"No", "", " 単勝", "", " 枠連", "", " 馬連", "距離"};
    for (int c = 0; c < 8; ++c)
        grids[0].cell(c, 0) = sj(results[c]);
    const char *const picks[] = {"単", "１点目", "２点目", "３点目", "４点目", "５点目", "６点目", "的", ""};
    for (int c = 0; c < 9; ++c)
        grids[1].cell(c, 0) = sj(picks[c]);
    const char *const courses[] = {"投資", "ダート", "芝", "芝(外)", "単勝"};
    const char *const classes[] = {"未勝", "500万", "100万", "160万", "ｵｰﾌﾟﾝ"};
    const char *const corners[] = {"コース", "ﾄｰﾀﾙ", "クラス", "ﾄｰﾀﾙ"};
    for (int g = 2; g < 6; ++g) {
        TGrid &grid = grids[static_cast<std::size_t>(g)];
        grid.cell(0, 0) = sj(corners[g - 2]);
        grid.cell(1, 0) = sj("配当額");
        grid.cell(2, 0) = sj("投資額");
        grid.cell(3, 0) = sj("回収率");
        for (int r = 1; r <= 5; ++r)
            grid.cell(0, r) = sj(g < 4 ? courses[r - 1] : classes[r - 1]);
    }
}

void TReturnRate::beginChoice()
{
    resetHeaders();
    captions = {};
    m_calculated = false;
}

void TReturnRate::choosePayoutFile(const WinPath &file)
{
    m_payoutFile = file;
    const TPayoutTitles titles = readPayoutTitles(files::readAll(file), file.utf8());
    captions = titles.captions;
    if (!titles.label86.empty())
        label86 = titles.label86;
}

void TReturnRate::calculate(int venue, PickType type, const std::string &folder)
{
    m_calculated = false;
    if (captions[0].empty())
        throw ReturnRateError(kChooseFirstMessage);
    TGrid &results = grids[0], &picks = grids[1];
    results.clearRows(1, kRaceRows);
    picks.clearRows(1, kRaceRows);
    // The day and the meeting figures are all rebuilt below; none of the
    // previous calculation's may stay beside them.
    for (int g = 2; g < 6; ++g)
        grids[static_cast<std::size_t>(g)].clearFigures();
    m_today = TMeetingDay{};

    const std::string &caption = captions[static_cast<std::size_t>(std::clamp(venue, 0, 2))];
    m_folder = folder;
    m_venue = std::string(fieldAt(caption, 1, 4));
    m_meeting = std::string(fieldAt(caption, 5, 2));
    m_day = std::string(fieldAt(caption, 9, 4));
    m_pickWord = pickTypeWord(type);
    m_meetingFile = WinPath(folder) / (m_venue + m_meeting + sj("回") + m_pickWord + ".ken");

    readPayoutSection(files::readAll(m_payoutFile), m_payoutFile.utf8(), m_venue, results, label85);

    const std::string yy(fieldAt(label86, 3, 2));
    const std::string century = isDigits(yy) && toInt(yy, "") >= 77 ? "19" : "20";
    const std::string date = century + yy + std::string(fieldAt(label86, 7, 2)) + std::string(fieldAt(label86, 11, 2));
    const WinPath pickFile = WinPath(folder) / (m_venue + date + m_pickWord + ".txt");
    readPickFile(files::readAll(pickFile), pickFile.utf8(), results, picks);

    judge();
    showMeeting();
    m_line = meetingLine(m_today);
    m_calculated = true;
}

// Judges every race against its payouts and fills the day's figures.
void TReturnRate::judge()
{
    const TGrid &results = grids[0];
    TGrid &picks = grids[1];
    std::array<Tally, 6> course{}, klass{};
    const std::string hit = sj("〇"), miss = sj("×");

    for (int race = 1; race <= 12; ++race) {
        const int main = 2 * race - 1, dead = main + 1;
        const bool bought = !isBlank(picks.cell(1, main));
        const int courseAt = courseRow(picks.cell(8, main));
        const int classAt = classRow(picks.cell(8, dead));
        auto credit = [&](int row, std::int64_t yen) {
            course[AllRaces].payout += yen;
            if (row)
                course[static_cast<std::size_t>(row)].payout += yen;
        };
        if (bought) {
            // The race's row: the quinella, or the bracket when no quinella
            // combination is given.
            const bool onBracket = results.cell(5, main) == "     ";
            const std::string target = onBracket ? bracketKey(results.cell(3, main)) : results.cell(5, main);
            const bool mainHit = anyPointHits(picks, main, target, onBracket);
            picks.cell(7, main) = mainHit ? hit : miss;
            if (mainHit) {
                credit(courseAt, cellNumber(results.cell(onBracket ? 4 : 6, main)));
                const bool noQuinella = isBlank(results.cell(6, main));
                if (classAt)
                    klass[static_cast<std::size_t>(classAt)].payout += cellNumber(results.cell(noQuinella ? 4 : 6, main));
            }
            // The dead-heat row is judged on its bracket.
            if (!isBlank(results.cell(3, dead))) {
                const bool deadHit = anyPointHits(picks, main, bracketKey(results.cell(3, dead)), true);
                picks.cell(7, dead) = deadHit ? hit : miss;
                if (deadHit) {
                    credit(courseAt, cellNumber(results.cell(4, dead)));
                    const bool noQuinella = isBlank(results.cell(6, dead));
                    if (classAt)
                        klass[static_cast<std::size_t>(classAt)].payout +=
                            cellNumber(results.cell(noQuinella ? 4 : 6, dead));
                }
            }
            // The win bet on the top pick.
            const std::string &top = picks.cell(0, main);
            course[Win].points += 1;
            if (!isBlank(top) && top == results.cell(1, main))
                course[Win].payout += cellNumber(results.cell(2, main));
            if (!isBlank(top) && top == results.cell(1, dead))
                course[Win].payout += cellNumber(results.cell(2, dead));
        }
        if (!isBlank(picks.cell(0, main))) {
            const int points = isBlank(picks.cell(4, main)) ? 3 : 6;
            course[AllRaces].points += points;
            if (courseAt)
                course[static_cast<std::size_t>(courseAt)].points += points;
            if (classAt)
                klass[static_cast<std::size_t>(classAt)].points += points;
        }
    }

    for (int row = 1; row <= 5; ++row) {
        const Tally &c = course[static_cast<std::size_t>(row)], &k = klass[static_cast<std::size_t>(row)];
        showFigures(grids[2], row, c.payout, c.points, row == Win);
        showFigures(grids[4], row, k.payout, k.points, false);
        m_today.payout[static_cast<std::size_t>(row - 1)] = c.payout;
        m_today.investment[static_cast<std::size_t>(row - 1)] = 100 * std::int64_t{c.points};
        m_today.payout[static_cast<std::size_t>(row + 4)] = k.payout;
        m_today.investment[static_cast<std::size_t>(row + 4)] = 100 * std::int64_t{k.points};
    }
}

// The meeting so far: the first eight saved days added up.
void TReturnRate::showMeeting()
{
    std::vector<TMeetingDay> days;
    if (const auto bytes = files::readIfExists(m_meetingFile))
        days = readMeetingFile(*bytes, m_meetingFile.utf8());
    TMeetingDay sum;
    if (!days.empty() && days.front().investment[0] != 0)
        for (const TMeetingDay &d : days)
            for (std::size_t k = 0; k < 10; ++k) {
                sum.payout[k] += d.payout[k];
                sum.investment[k] += d.investment[k];
            }
    for (int row = 1; row <= 5; ++row) {
        const auto k = static_cast<std::size_t>(row - 1);
        showTotals(grids[3], row, sum.payout[k], sum.investment[k]);
        showTotals(grids[5], row, sum.payout[k + 5], sum.investment[k + 5]);
    }
}

WinPath TReturnRate::savedDaysFile() const
{
    const std::string &t = m_meetingFile.text();
    return WinPath(t.substr(0, t.size() - 4) + ".day");
}

WinPath TReturnRate::htmlFile() const
{
    return WinPath(m_folder) / (m_venue + m_meeting + sj("回") + m_pickWord + sj("集計") + ".htm");
}

TSaveResult TReturnRate::saveDay()
{
    if (!m_calculated)
        throw ReturnRateError("回収率を計算してから保存して下さい。");
    const std::string crlf = "\r\n";
    const WinPath daysFile = savedDaysFile();
    // The list of saved days belongs to the meeting file beside it; without
    // that file it starts again.
    const bool started = files::isFile(m_meetingFile);
    const std::string saved = started ? files::readIfExists(daysFile).value_or(std::string()) : std::string();
    for (std::string_view d : splitLines(saved))
        if (d == m_day)
            throw ReturnRateError(u8(m_day) + "日目は " + m_meetingFile.utf8() + " に保存済みです。");
    if (const auto size = files::fileSize(m_meetingFile); size && *size % kMeetingRecord != 0)
        throw ReturnRateError(m_meetingFile.utf8() + " は102バイトの行でできていないため、保存しません。");
    TSaveResult result{m_meetingFile, false};
    files::append(m_meetingFile, meetingLine(m_today, &result.clamped) + crlf);
    if (started)
        files::append(daysFile, m_day + crlf);
    else
        files::writeAll(daysFile, m_day + crlf);
    return result;
}

WinPath TReturnRate::writeHtml()
{
    if (!m_calculated)
        throw ReturnRateError("回収率を計算してから出力して下さい。");
    const std::string crlf = "\r\n";
    std::string page;
    auto line = [&](const std::string &utf8) { page += sj(utf8) + crlf; };
    line("<HTML>");
    line("<HEAD>");
    line("<TITLE>回収率計算</TITLE>");
    line("</HEAD>");
    line("<BODY bgcolor=\"#ffffff\" TEXT=\"#00FF40\">");
    line("<center>");
    line("<TABLE border=5 width=90% height=1% cellspacing=0 cellpadding=2 bgcolor=\"#000000\">");
    page += sj("<th colspan=\"8\">") + m_meeting + sj("回") + m_venue + sj("</th>") + crlf;
    page += sj("<TR ALIGN=\"center\"><TD>") + m_pickWord +
            sj("</TD><TD>配当</TD><TD>投資</TD><TD>回収率</TD><TD>クラス</TD><TD>配当</TD><TD>投資</TD><TD>回収率</TD></TR>") +
            crlf;
    const std::string yen = sj("円"), sep = sj("</TD><TD>");
    for (int r = 1; r <= 5; ++r) {
        const TGrid &c = grids[3], &k = grids[5];
        page += sj("<TR ALIGN=\"right\"><TD>") + c.cell(0, r) + sep + c.cell(1, r) + yen + sep + c.cell(2, r) + yen +
                sep + c.cell(3, r) + sep + k.cell(0, r) + sep + k.cell(1, r) + yen + sep + k.cell(2, r) + yen + sep +
                k.cell(3, r) + sj("</TD></TR>") + crlf;
    }
    line("</TABLE></center>");
    line("</BODY></HTML>");
    const WinPath file = htmlFile();
    files::writeAll(file, page);
    return file;
}

} // namespace zorbe
