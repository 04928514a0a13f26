#include "app/cli/Commands.h"

#include "app/cli/HeadlessDownload.h"
#include "app/cli/NewspaperDay.h"
#include "app/cli/PageFiles.h"
#include "link/feedgen/FeedCalendar.h"
#include "link/feedgen/FeedGenerator.h"
#include "paper/PagePaths.h"
#include "paper/RaceSelection.h"
#include "paper/RecordingCanvas.h"
#include "platform/Cp932.h"
#include "platform/Files.h"
#include "platform/Fields.h"
#include "platform/ProfileFile.h"
#include "shell/Settings.h"

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <ostream>
#include <set>
#include <sstream>

namespace zorbe::cli {
namespace {

constexpr const char *kUsage = "demo [--weeks N]";
constexpr int kDefaultWeeks = 2;

namespace fs = std::filesystem;

// Sets environment variables for the demo and puts the old values back
// when it ends, so that nothing of the demo outlives the command.
class EnvironmentOverride
{
public:
    ~EnvironmentOverride()
    {
        for (auto it = m_saved.rbegin(); it != m_saved.rend(); ++it) {
            if (it->second)
                ::setenv(it->first.c_str(), it->second->c_str(), 1);
            else
                ::unsetenv(it->first.c_str());
        }
    }
    void set(const std::string &name, const std::optional<std::string> &value)
    {
        const char *old = std::getenv(name.c_str());
        m_saved.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
        if (value)
            ::setenv(name.c_str(), value->c_str(), 1);
        else
            ::unsetenv(name.c_str());
    }

private:
    std::vector<std::pair<std::string, std::optional<std::string>>> m_saved;
};

// The number of weeks the demo's feed was made with, kept beside it.
fs::path weeksFile(const fs::path &feed)
{
    return feed.string() + ".weeks";
}

std::optional<int> feedWeeks(const fs::path &feed)
{
    std::error_code ec;
    if (!fs::is_regular_file(weeksFile(feed), ec))
        return std::nullopt;
    try {
        return parseInt(files::readAll(WinPath::fromNative(weeksFile(feed))), 1, 52);
    } catch (const std::exception &) {
        return std::nullopt;
    }
}

// A demo home whose feed has another length than asked for starts again
// from nothing: its downloads and converted files belong to the old feed.
bool startAgainForWeeks(const fs::path &home, int weeks, std::ostream &out, std::ostream &err)
{
    const fs::path feed = home / "feed";
    std::error_code ec;
    if (!fs::is_directory(feed, ec) || fs::is_empty(feed, ec))
        return true;
    const std::optional<int> made = feedWeeks(feed);
    if (made == weeks)
        return true;
    if (made)
        out << "デモの配信データは" << *made << "週分です。" << weeks << "週分で作り直します\n";
    else
        out << "デモの配信データの週数がわかりません。" << weeks << "週分で作り直します\n";
    for (fs::directory_iterator it(home, ec), end; !ec && it != end; it.increment(ec))
        fs::remove_all(it->path(), ec);
    if (ec) {
        err << "zorbe: デモ用のフォルダを空にできません: " << home.string() << '\n';
        return false;
    }
    return true;
}

// The feed of the demo: generated once, through a folder that is renamed
// into place only when complete, so that an interrupted generation is
// never taken for a feed.
bool provideFeed(const fs::path &feed, int weeks, const WinPath &oddsFolder, std::ostream &out, std::ostream &err)
{
    std::error_code ec;
    if (fs::is_directory(feed, ec) && !fs::is_empty(feed, ec)) {
        out << "配信データ: " << feed.string() << "（作成済み）\n";
        return true;
    }
    const fs::path partial = feed.string() + ".partial";
    fs::remove_all(partial, ec);
    feedgen::FeedOptions options;
    options.weeks = weeks;
    try {
        const int count = feedgen::generateFeed(options, WinPath::fromNative(partial), oddsFolder);
        fs::remove_all(feed, ec);
        fs::rename(partial, feed);
        files::writeAll(WinPath::fromNative(weeksFile(feed)), std::to_string(weeks));
        out << "配信データ: " << feed.string() << "（" << options.weeks << "週分、" << count
            << "ファイルを作成）\n";
    } catch (const std::exception &e) {
        err << "zorbe: 配信データを作れません: " << e.what() << '\n';
        fs::remove_all(partial, ec);
        return false;
    }
    return true;
}

// The days on which the feed published something (yyyymmdd of the time
// stamps in its file names), in order.
std::set<std::string> publicationDates(const fs::path &feed)
{
    std::set<std::string> dates;
    for (const std::string &name : files::list(WinPath::fromNative(feed))) {
        const std::size_t dot = name.rfind('.');
        const std::string stem = name.substr(0, dot);
        if (stem.size() >= 26 && isDigits(stem.substr(12, 14)))
            dates.insert(stem.substr(12, 8));
    }
    return dates;
}

std::string dateLabel(const std::string &yyyymmdd)
{
    static const char *const weekdays[] = {"日", "月", "火", "水", "木", "金", "土"};
    const int date = std::stoi(yyyymmdd);
    return yyyymmdd.substr(0, 4) + "/" + yyyymmdd.substr(4, 2) + "/" + yyyymmdd.substr(6, 2) + "（"
           + weekdays[feedgen::weekdayOf(feedgen::dayNumber(date))] + "）";
}

// One download per publication day, each with the clock at the end of that
// day, so that race cards, results, masters and time corrections build up
// as they did for a subscriber. Days already fetched (by the kept
// [LastFileTime]) are passed over, so a second demo only adds what is new.
bool downloadEveryPublication(const fs::path &feed, std::ostream &out, std::ostream &err, bool terminal)
{
    const ProfileFile settings(ProfileFile::defaultPath());
    for (const std::string &date : publicationDates(feed)) {
        const std::string fetched = settings.readString("LastFileTime", "LastFileTime", "");
        if (fetched >= date + "000000")
            continue;
        // The run's texts and notes matter only when it fails (a Thursday
        // brings no race card, which the results path always remarks on).
        std::ostringstream detail;
        DownloadReporting reporting{detail, detail};
        if (terminal)
            reporting.terminal = &out;
        const DownloadOutcome outcome = downloadAndConvert("", date + "235959", reporting);
        if (!outcome.ok) {
            err << detail.str();
            err << "zorbe: " << dateLabel(date) << " の配信を取り込めませんでした\n";
            return false;
        }
        out << "取り込み " << dateLabel(date) << ": 出馬表 " << outcome.entryDays << "日分、成績 "
            << outcome.resultDays << "日分\n";
    }
    return true;
}

// The race-card file of the latest race day in the race-day folder (of two
// venues on that day, the first by name).
std::optional<WinPath> latestRaceDay(const WinPath &folder)
{
    std::optional<std::string> best;
    std::string bestDate;
    for (const std::string &name : files::list(folder)) {
        if (name.size() < 12 || name.compare(name.size() - 4, 4, ".RDT") != 0)
            continue;
        const std::string date = name.substr(name.size() - 12, 8);
        if (!isDigits(date))
            continue;
        if (!best || date > bestDate) {
            best = name;
            bestDate = date;
        }
    }
    if (!best)
        return std::nullopt;
    return folder / *best;
}

// Without pictures (a build without the desktop program) the pages are
// written as the drawing calls of the screen page, one text file per race.
bool writeRecordings(NewspaperDay &day, const fs::path &folder, std::ostream &out, std::ostream &err)
{
    try {
        files::makeDirectories(WinPath::fromNative(folder));
        for (int race = 1; race <= day.card->RaceCount; ++race) {
            day.selectRace(race);
            RecordingCanvas canvas(ScreenSetupFor(*day.paper, 110, kScreenPpi).dpi);
            DrawScreenPage(canvas, *day.paper, 110, kScreenPpi);
            const std::string name = cp932::toUtf8(printJobTitle(*day.card, race - 1)) + ".txt";
            files::writeAll(WinPath::fromNative(folder / name), canvas.toText());
            out << (folder / name).string() << '\n';
        }
    } catch (const std::exception &e) {
        err << "zorbe: " << e.what() << '\n';
        return false;
    }
    return true;
}

// Every race of the day into the demo's folder of pages.
int printDay(const WinPath &rdt, const fs::path &pages, Streams &streams)
{
    StreamDesktop desktop(streams.err);
    std::unique_ptr<NewspaperDay> day;
    try {
        day = loadNewspaperDay(rdt, desktop);
    } catch (const std::exception &e) {
        streams.err << "zorbe: " << e.what() << '\n';
        return kExitFailure;
    }
    const fs::path folder = pages / cp932::toUtf8(rdt.fileName().substr(0, rdt.fileName().size() - 4));
    std::ostringstream progress;
    bool done = false;
    if (pagePicturesAvailable()) {
        std::array<bool, 12> all{};
        for (int r = 0; r < day->card->RaceCount; ++r)
            all[static_cast<std::size_t>(r)] = true;
        done = printNewspaperDay(*day, all, folder, progress, streams.err);
    } else {
        streams.out << kNoPicturesMessage << '\n';
        done = writeRecordings(*day, folder, progress, streams.err);
    }
    if (!done)
        return kExitFailure;
    streams.out << "新聞（" << day->card->RaceCount << "レース）を書き出しました: " << folder.string() << '\n';
    return kExitOk;
}

} // namespace

// The program's whole chain on its own synthetic feed, in a home of its own
// ($ZORBE_HOME/demo): generate the feed, download and convert every
// publication day in turn, then the newspaper of the latest race day in the
// display window, or, without a display, every race of it as PDF files.
int runDemo(Args args, Streams &streams)
{
    int weeks = kDefaultWeeks;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--weeks" && i + 1 < args.size()) {
            const auto n = parseInt(args[++i], 1, 52);
            if (!n)
                return usageError(streams, kUsage, "週数は 1 から 52 で指定してください: " + args[i]);
            weeks = *n;
        } else {
            return usageError(streams, kUsage, "不明な指定です: " + args[i]);
        }
    }

    const fs::path home = zorbeHome() / "demo";
    std::error_code ec;
    fs::create_directories(home, ec);
    if (!fs::is_directory(home)) {
        streams.err << "zorbe: デモ用のフォルダを作れません: " << home.string() << '\n';
        return kExitFailure;
    }
    if (!startAgainForWeeks(home, weeks, streams.out, streams.err))
        return kExitFailure;
    EnvironmentOverride environment;
    environment.set("ZORBE_HOME", home.string());
    environment.set("ZORBE_FEED", std::nullopt);      // the demo's own feed
    environment.set("ZORBE_FEED_NOW", std::nullopt);  // the clock of each publication day
    streams.out << "デモ用のフォルダ: " << home.string() << '\n';

    ProfileFile settings(ProfileFile::defaultPath());
    createDefaultFoldersOnFirstStart(settings);
    const fs::path feed = home / "feed";
    const WinPath odds(settings.readString("ozzdir", "ozzdat", mainwindow_defaults::ozzdir));
    if (!provideFeed(feed, weeks, odds, streams.out, streams.err))
        return kExitFailure;
    settings.writeString("JVLinkFeed", "folder", WinPath::fromNative(feed).text());
    // Without a setting the time index reads no past race and no race gets
    // picks; the demo takes the settings window's own default of five.
    if (settings.readString("Kako", "Kako", "").empty())
        settings.writeString("Kako", "Kako", "5");
    if (!downloadEveryPublication(feed, streams.out, streams.err, isTerminal(streams.out)))
        return kExitFailure;

    const WinPath raceDays(settings.readString("Lzhdir", "lzhdat", mainwindow_defaults::lzhdat));
    const auto rdt = latestRaceDay(raceDays);
    if (!rdt) {
        streams.err << "zorbe: 出馬表ファイルがありません: " << toNative(raceDays).string() << '\n';
        return kExitFailure;
    }
    streams.out << "最新の開催日: " << toNative(*rdt).string() << '\n';
    if (displayAvailable()) {
        streams.out << "新聞を表示します\n";
        return runDesktopOnDay(*rdt);
    }
    return printDay(*rdt, home / "pages", streams);
}

} // namespace zorbe::cli
