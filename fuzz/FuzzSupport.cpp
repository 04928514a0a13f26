#include "FuzzSupport.h"

#include "app/cli/NewspaperDay.h"
#include "app/cli/PageFiles.h"
#include "data/convert/Conversions.h"
#include "link/LocalFeedLink.h"
#include "link/download/DownloadRun.h"
#include "link/feedgen/FeedGenerator.h"
#include "paper/PagePaths.h"
#include "paper/RecordingCanvas.h"
#include "platform/Cp932.h"
#include "platform/Desktop.h"
#include "platform/Fields.h"
#include "platform/Files.h"
#include "platform/ProfileFile.h"
#include "platform/WinPath.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace zorbe::fuzz {
namespace {

fs::path scratch()
{
    std::error_code ec;
    const fs::path shm = "/dev/shm";
    const fs::path base = fs::is_directory(shm, ec) ? shm : fs::temp_directory_path();
    return base / ("zorbe-fuzz-" + std::to_string(::getpid()));
}

void useHome(const fs::path &home) { ::setenv("ZORBE_HOME", home.c_str(), 1); }

// The notes a reader shows go nowhere: a fuzzer shows thousands.
class SilentDesktop : public ConsoleDesktop
{
public:
    void showMessage(const std::string &) override {}
};

// The conversions of the sample, each after a copy of the raw downloads it
// is about to read.
class KeepingRaw : public ConversionHandOff
{
public:
    KeepingRaw(ConversionHandOff &conversions, fs::path down, fs::path raw)
        : m_conversions(conversions), m_down(std::move(down)), m_raw(std::move(raw))
    {
    }
    bool convertEntries(const std::vector<DownloadedDay> &days) override
    {
        keep("entries");
        return m_conversions.convertEntries(days);
    }
    bool convertResults(const std::vector<DownloadedDay> &days) override
    {
        keep("results");
        return m_conversions.convertResults(days);
    }

private:
    void keep(const char *kind)
    {
        const fs::path to = m_raw / kind;
        fs::remove_all(to);
        fs::create_directories(to);
        for (const auto &e : fs::directory_iterator(m_down))
            fs::copy_file(e.path(), to / e.path().filename());
    }
    ConversionHandOff &m_conversions;
    fs::path m_down, m_raw;
};

void downloadAt(const std::string &now, const fs::path &sampleHome)
{
    auto feed = std::make_unique<LocalFeedLink>();
    feed->setNow(now);
    TJVLink link(std::move(feed));
    link.JVInit(std::string(kSoftwareId));
    SilentDownloadView view;
    SilentConversionView progress;
    SilentDesktop desktop;
    ProfileFile settings(ProfileFile::defaultPath());
    TConversions conversions(settings, progress, desktop);
    KeepingRaw keeping(conversions, sampleHome / "drives/d/zorbeLab/down", sampleHome / "raw");
    TDownloadRun run(link, view, &keeping);
    run.formShow("");
    run.start();
    while (view.timerActive())
        run.timerTick();
    if (run.outcome() != TDownloadRun::Outcome::Completed) {
        std::fprintf(stderr, "fuzz: the sample download failed: %s\n", run.errorText().c_str());
        std::abort();
    }
}

// The sample is the same for every target and every run; scripts/fuzz.sh
// names a folder (ZORBE_FUZZ_SAMPLE) where the first target makes it and
// the others find it.
fs::path makeSample()
{
    const char *shared = std::getenv("ZORBE_FUZZ_SAMPLE");
    const fs::path dir = shared && *shared ? fs::absolute(shared) : scratch() / "sample";
    std::error_code ec;
    if (fs::exists(dir / "complete", ec))
        return dir;
    fs::remove_all(dir);
    fs::create_directories(dir);
    useHome(dir);
    feedgen::FeedOptions options;
    options.weeks = 1;
    options.venues = 1;
    ::setenv("ZORBE_FEED", (dir / "feed").c_str(), 1);
    feedgen::generateFeed(options, WinPath::fromNative(dir / "feed"), WinPath("d:\\zorbeLab\\odds"));
    downloadAt("20240607235959", dir); // Thursday and Friday: masters and race cards
    downloadAt("20240610235959", dir); // Monday: results
    put(dir / "complete", "");
    return dir;
}

} // namespace

const fs::path &sample()
{
    static const fs::path dir = [] {
        const fs::path made = makeSample();
        useHome(home());
        return made;
    }();
    return dir;
}

const fs::path &home()
{
    static const fs::path dir = [] {
        const fs::path h = scratch() / "home";
        fs::create_directories(h);
        return h;
    }();
    useHome(dir);
    return dir;
}

std::string sampleFile(const fs::path &relative) { return get(sample() / relative); }

std::vector<fs::path> sampleFiles(const fs::path &folder, std::string_view extension)
{
    std::vector<fs::path> out;
    for (const auto &e : fs::directory_iterator(sample() / folder)) {
        const std::string name = e.path().filename().string();
        if (name.size() >= extension.size() && name.substr(name.size() - extension.size()) == extension)
            out.push_back(e.path());
    }
    std::sort(out.begin(), out.end());
    return out;
}

void put(const fs::path &file, std::string_view bytes)
{
    fs::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string get(const fs::path &file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void clearHome()
{
    std::error_code ec;
    for (const auto &e : fs::directory_iterator(home(), ec))
        if (e.path().filename() != "zorbelab.Ini")
            fs::remove_all(e.path(), ec);
}

std::string firstRecords(const std::string &bytes, std::size_t length, std::size_t n)
{
    return bytes.substr(0, std::min(bytes.size(), length * n));
}

void seedIfAsked(const std::function<std::vector<std::string>()> &seeds)
{
    const char *dir = std::getenv("ZORBE_FUZZ_SEEDS");
    if (!dir || !*dir)
        return;
    fs::create_directories(dir);
    int n = 0;
    for (const std::string &seed : seeds())
        put(fs::path(dir) / ("seed-" + std::to_string(++n)), seed);
    std::exit(0);
}

void readerMayRefuse(const std::function<void()> &work)
{
    try {
        work();
    } catch (const files::FileError &) {
    } catch (const ConversionError &) {
    } catch (const cp932::EncodingError &) {
    }
}

const SampleDay &sampleDay()
{
    static const SampleDay day = [] {
        SampleDay d;
        const fs::path rdt = sampleFiles("drives/d/zorbeLab/JRA", ".RDT").front();
        const std::string cards = get(rdt), horses = get(fs::path(rdt).replace_extension(".HDT"));
        constexpr std::size_t kCard = 1463, kHorse = 2881;
        d.raceCards = firstRecords(cards, kCard, 2);
        std::size_t runners = 0;
        for (std::size_t r = 0; r < 2 && (r + 1) * kCard <= cards.size(); ++r)
            runners += static_cast<std::size_t>(std::stoi(cards.substr(r * kCard + 324, 2)));
        d.horses = firstRecords(horses, kHorse, runners);
        d.date = cards.substr(0, 8);
        d.venue = cards.substr(8, 2);
        d.timeCorrections = sampleFile("drives/d/zorbeLab/dat/STIME.DAT");
        d.jockeys = sampleFile("drives/d/zorbeLab/dat/KISYU.DAT");
        d.trainers = sampleFile("drives/d/zorbeLab/dat/CHOKYOSI.DAT");
        d.dayOdds = sampleFile("drives/d/zorbeLab/odds/" + d.date + ".odz");
        d.venueOdds = sampleFile("drives/d/zorbeLab/odds/" + d.venue + d.date + ".odd");
        return d;
    }();
    return day;
}

DayFiles dayFiles()
{
    const fs::path d = home() / "drives/d";
    const SampleDay &s = sampleDay();
    return {d / "zorbeLab/JRA/fuzz.RDT",        d / "zorbeLab/JRA/fuzz.HDT",
            d / "zorbelab/dat/STIME.DAT",       d / "zorbelab/dat/KISYU.DAT",
            d / "zorbelab/dat/CHOKYOSI.DAT",    d / ("zorbeLab/odds/" + s.date + ".odz"),
            d / ("zorbeLab/odds/" + s.venue + s.date + ".odd")};
}

fs::path placeDay(const SampleDay &day)
{
    sampleDay();
    home();
    static const bool settingsWritten = [] {
        ProfileFile settings(ProfileFile::defaultPath());
        settings.writeString("kisyufile", "kisyu", "d:\\zorbelab\\dat\\KISYU.DAT");
        settings.writeString("tekifile", "cyoukyou", "d:\\zorbelab\\dat\\CHOKYOSI.DAT");
        return true;
    }();
    (void)settingsWritten;
    const DayFiles f = dayFiles();
    put(f.raceCards, day.raceCards);
    put(f.horses, day.horses);
    put(f.timeCorrections, day.timeCorrections);
    put(f.jockeys, day.jockeys);
    put(f.trainers, day.trainers);
    put(f.dayOdds, day.dayOdds);
    put(f.venueOdds, day.venueOdds);
    return f.raceCards;
}

DesktopServices &silentDesktop()
{
    static SilentDesktop desktop;
    return desktop;
}

void drawEveryRace(const fs::path &raceCardFile)
{
    // One day object for every input, as the program keeps one race card:
    // a load over what an earlier one left must hold as well.
    static cli::NewspaperDay kept;
    cli::NewspaperDay *day = &kept;
    bool loaded = false;
    readerMayRefuse([&] {
        cli::loadNewspaperDay(kept, WinPath::fromNative(raceCardFile), silentDesktop());
        loaded = true;
    });
    if (!loaded || !day->paper)
        return;
    for (int r = 1; r <= day->card->RaceCount; ++r) {
        day->selectRace(r);
        readerMayRefuse([&] {
            RecordingCanvas canvas(ScreenSetupFor(*day->paper, 110, cli::kScreenPpi).dpi);
            DrawScreenPage(canvas, *day->paper, 110, cli::kScreenPpi);
        });
    }
}

} // namespace zorbe::fuzz
