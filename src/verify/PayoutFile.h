#pragma once

#include "platform/WinPath.h"

#include <string>
#include <string_view>
#include <vector>

namespace zorbe {

class ProfileFile;

namespace lha {
class TUnlha;
}

// The W.A.R.S payout file: for every meeting day and venue a title block,
// then one 78-byte line per race with the win, place, bracket-quinella and
// quinella payouts, and a "*" line before it for a dead heat. Built from
// results files (3048-byte records); the return-rate check reads it back by
// byte position.

// The settings of the payout-file window, read when it is created.
struct TPayoutSettings
{
    std::string seiseki; // [seisekidir] seiseki: results folder (open dialog, archive destination)
    std::string seki;    // [Seisekifile] seki: the results file an archive yields
    std::string kousin;  // [kyousou] kousin: "1" the chosen file is read directly, else it is an archive

    static TPayoutSettings read(const ProfileFile &settings);
};

// Something worth telling the user about a file that was read: a payout of
// 1,000,000 yen or more written as "999999" (UTF-8 text naming the race).
struct TPayoutNotice
{
    std::string text;
};

// The text area of the window: the tables of every results file opened
// since the last save, one line per element (cp932, without line ends).
class TPayoutTable
{
public:
    // Appends the payout table of one results file (its bytes): race lines,
    // a title block at every race 1, and the three closing lines. A field
    // that must be a number and is not raises ConversionError naming the
    // file and race; the lines added before it stay.
    std::vector<TPayoutNotice> appendResults(std::string_view bytes, const std::string &fileLabel);

    // Reads the file and appends its table; false (nothing appended) when
    // it does not exist. Raises files::FileError for a read failure.
    bool appendResultsFile(const WinPath &file, std::vector<TPayoutNotice> &notices);

    const std::vector<std::string> &lines() const { return m_lines; }
    bool empty() const { return m_lines.empty(); }
    // The text to save: every line ended by CR LF.
    std::string bytes() const;
    void clear() { m_lines.clear(); }

    // The save dialog's default name: the venue of the last title line and
    // the two-digit year, month and day of the last record read (cp932).
    std::string defaultSaveName() const;

private:
    void appendTitleBlock(std::string_view record);

    std::vector<std::string> m_lines;
    // The venue text of the last title line built (it names the save).
    std::string m_venue;
    std::string m_lastDate; // race-key characters 3-8 of the last record
};

// The race lines of one results record (cp932, 78 bytes each): the "*"
// line of a dead heat, if any, then the race line. Large payouts are
// reported through notices.
std::vector<std::string> payoutRaceLines(std::string_view record, const std::string &context,
                                         std::vector<TPayoutNotice> &notices);
// The 78-byte title line of a race-1 record.
std::string payoutTitleLine(std::string_view record);

// Which file the window reads after a file was chosen: the chosen one when
// kousin is "1"; otherwise the file named by seki, after deleting it and
// extracting the chosen archive into the results folder. When the archive
// held members whose paths lead outside that folder, they were not written
// and `refused` holds the archiver's report of the run (cp932 lines). The
// archiver's ArchiverError passes through.
struct TPayoutSource
{
    WinPath file;
    std::vector<std::string> refused;
};
TPayoutSource payoutSourceFile(const TPayoutSettings &settings, const WinPath &chosen, lha::TUnlha &unlha);

// name + ".TXT" (always appended), written with every line ended by CR LF.
WinPath savePayoutTable(const TPayoutTable &table, const WinPath &chosenName);

// The dialogs of the window.
inline constexpr const char *kPayoutOpenTitle = "成績データ";
inline constexpr const char *kPayoutOpenFilter = "ゾルベ/JRA-VAN解凍成績ファイル(*.SDT.JRACSEI1.DAT)|*.SDT;*.DAT";
inline constexpr const char *kPayoutSaveFilter = "W.A.R.S払戻ファイル(*.TXT)|*.TXT";
inline constexpr const char *kPayoutSaveFolder = "c:\\zorbelab\\kensyo";

} // namespace zorbe
