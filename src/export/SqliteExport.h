#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace zorbe {
class ProfileFile;
}

// The whole collection as one SQLite database: race days, race cards with
// the time-index figures and picks, past races, results, payouts, masters
// and time corrections, in tables with real types and UTF-8 texts.
//
// The export is incremental. A "source day" is one race-day file name
// (venue and date, such as 東京20240608) with its race card, horse file and
// results file; its signature (a hash of the three files and the settings
// the figures depend on) is kept in the database. A later export replaces
// only the days whose signature changed, adds new ones and removes the days
// whose files are gone; each day is deleted and written again in one
// transaction, so the database always holds every day whole, old or new.
// The masters and time corrections are rewritten, also in one transaction,
// when one of their files changed.
//
// A day whose files cannot be read or are damaged is named in the problems
// and keeps the rows of its last good export; the other days go on, and
// the next export tries it again.
namespace zorbe::dbexport {

struct ExportOptions
{
    std::filesystem::path out; // empty: defaultDatabasePath()
    bool full = false;         // rewrite every day and the masters
};

struct ExportReport
{
    std::filesystem::path out;
    int added = 0, replaced = 0, unchanged = 0, removed = 0;
    bool mastersWritten = false;
    std::vector<std::string> problems; // UTF-8, one per damaged or unreadable input
    // The loaders' notes (a missing master or time-correction file), once
    // each: told, but not a failure, as in the newspaper.
    std::vector<std::string> notes;
    bool ok() const { return problems.empty(); }
};

// $ZORBE_HOME/zorbe.sqlite
std::filesystem::path defaultDatabasePath();

// Exports what the folders of the settings hold. Throws sqlite::Error when
// the database cannot be opened or written (what was committed stays) and
// files::FileError for a folder that cannot be listed.
ExportReport exportDatabase(const ProfileFile &settings, const ExportOptions &options);

// "追加 n 日、置換 n 日、変更なし n 日、削除 n 日" (UTF-8).
std::string summaryText(const ExportReport &report);

// After a download run: the export to the default database when the setting
// [db] auto is "1". Returns the lines to show (the summary and every
// problem and note, UTF-8), nothing when the setting is off. Never throws: a failed
// export is one of the lines.
std::vector<std::string> exportAfterDownload();

} // namespace zorbe::dbexport
