#pragma once

#include "platform/WinPath.h"
#include "verify/PickFiles.h"

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace zorbe {

class ProfileFile;

// The return-rate check: one pick type of one meeting day against the
// payouts, at 100 yen a point (six points when the pick file has a fourth
// point, else three) and 100 yen on the top pick to win; grouped by course
// and by class, for the day and for the meeting so far. Each meeting keeps
// its days in a meeting file (".ken": per venue, meeting number and pick
// type, one 100-character line per saved day).

// A damaged payout, pick or meeting file, or a request that cannot be
// carried out; what() is the message for the user (UTF-8), naming the file
// and line where there is one.
class ReturnRateError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// A grid of cp932 cells as the window shows it: cell(col, row), row 0 the
// header row.
class TGrid
{
public:
    TGrid(int cols, int rows);
    int cols() const { return m_cols; }
    int rows() const { return m_rows; }
    std::string &cell(int col, int row);
    const std::string &cell(int col, int row) const;
    void clearRows(int firstRow, int lastRow);
    void clearFigures(); // columns 1.. of rows 1..

private:
    int m_cols, m_rows;
    std::vector<std::string> m_cells;
};

// The venue sections of a payout file as the window lists them.
struct TPayoutTitles
{
    std::array<std::string, 3> captions; // venue + meeting number + "回" + day + "日目" (16 bytes); empty when absent
    std::string label86;                 // "20"/"19" + the title's date ("yy年mm月dd日(曜)")
};

// --- Readers over the bytes of a file; fileLabel (UTF-8) names the file in
// --- their errors. They raise ReturnRateError for damaged input.

// The title lines (those that begin with "☆"), up to three.
TPayoutTitles readPayoutTitles(std::string_view bytes, const std::string &fileLabel);

// The races of every section of the venue (a later section overwrites an
// earlier one) into rows 1..24 of the results grid; label85 becomes the
// meeting text of the section.
void readPayoutSection(std::string_view bytes, const std::string &fileLabel, std::string_view venue,
                       TGrid &results, std::string &label85);

// The race lines of a pick file into the picks grid (top pick, six points,
// course and class codes) and the results grid (distance).
void readPickFile(std::string_view bytes, const std::string &fileLabel, TGrid &results, TGrid &picks);

// One saved day of a meeting file: ten payouts and ten investments (yen),
// in the order of all races, dirt, turf, outer turf, win, then the five
// classes.
struct TMeetingDay
{
    std::array<std::int64_t, 10> payout{};
    std::array<std::int64_t, 10> investment{};
};
// The first `maxLines` lines of a meeting file (102-byte records; a
// trailing partial record is ignored).
std::vector<TMeetingDay> readMeetingFile(std::string_view bytes, const std::string &fileLabel,
                                         std::size_t maxLines = 8);

// The 100-character line of a day (without CR LF). Payouts above 999,999
// yen are written as 999999; `clamped` tells.
std::string meetingLine(const TMeetingDay &day, bool *clamped = nullptr);

// The investment text of a meeting line for n points: "0000", "0n00", "n00".
std::string investmentText(int points);

// The setting [copyfile] copy with this window's default.
std::string returnRateFolderSetting(const ProfileFile &settings);
inline constexpr const char *kReturnRateFolderDefault = "C:\\ZORBELAB\\txt";

inline constexpr const char *kChooseFirstMessage = "成績ファイルを選択して下さい。";
inline constexpr const char *kPayoutChooseTitle = "W.A.R.S払戻ファイル選択";
inline constexpr const char *kPayoutChooseFilter = "W.A.R.S形式払戻ファイル(*.TXT)|*.TXT";

// What a save did.
struct TSaveResult
{
    WinPath file;
    bool clamped = false; // a payout above 999,999 yen was written as 999999
};

// The window's work, apart from drawing: the chosen payout file, the
// venue captions, the six grids and the prepared day line.
class TReturnRate
{
public:
    TReturnRate();

    // StringGrid1 (results of the day), StringGrid2 (picks and
    // judgements), StringGrid3/4 (course figures of the day / the meeting),
    // StringGrid5/6 (class figures of the day / the meeting).
    std::array<TGrid, 6> grids;
    std::array<std::string, 3> captions; // RadioButton1..3
    std::string label85, label86;

    // Header texts of every grid, as after "払戻ﾌｧｲﾙ選択".
    void resetHeaders();
    // "払戻ﾌｧｲﾙ選択" up to the dialog: headers, captions cleared.
    void beginChoice();
    // The chosen file: its title lines give the captions and Label86.
    // Raises files::FileError and ReturnRateError.
    void choosePayoutFile(const WinPath &file);
    const WinPath &payoutFile() const { return m_payoutFile; }

    // A venue button: the pick type has to be chosen again.
    void venueChosen() { m_calculated = false; }

    // A pick-type button: the calculation for venue section `venue`
    // (0..2) in `folder` (the pick files, meeting files and pages).
    // Raises ReturnRateError (nothing chosen, damaged input) and
    // files::FileError (a missing pick or payout file); the grids then keep
    // what was filled so far.
    void calculate(int venue, PickType type, const std::string &folder);
    bool calculated() const { return m_calculated; }

    // "回収率保存": appends the prepared day to the meeting file. Refused
    // (ReturnRateError) before a calculation, for a day saved before, or
    // for a meeting file that is not whole lines.
    TSaveResult saveDay();
    // "HTML出力": the meeting totals as a page; returns its name.
    WinPath writeHtml();

    // The day line the save appends, and the files of the calculation.
    const std::string &preparedLine() const { return m_line; }
    const WinPath &meetingFile() const { return m_meetingFile; }
    WinPath savedDaysFile() const;
    WinPath htmlFile() const;

private:
    void judge();
    void showMeeting();

    WinPath m_payoutFile;
    bool m_calculated = false;
    std::string m_folder, m_venue, m_meeting, m_day, m_pickWord;
    WinPath m_meetingFile;
    TMeetingDay m_today;
    std::string m_line;
};

} // namespace zorbe
