#include "app/cli/NewspaperDay.h"

#include "app/cli/PageFiles.h"
#include "paper/PageModel.h"
#include "paper/RaceSelection.h"
#include "platform/Cp932.h"
#include "platform/Fields.h"
#include "platform/Files.h"

#include <filesystem>
#include <ostream>
#include <vector>

namespace zorbe::cli {

void StreamDesktop::showMessage(const std::string &text)
{
    m_err << text << '\n';
}

WinPath pathArgument(const std::string &text)
{
    const bool windowsForm = text.find('\\') != std::string::npos || (text.size() >= 2 && text[1] == ':');
    if (windowsForm)
        return WinPath::fromUtf8(text);
    return WinPath::fromNative(std::filesystem::absolute(std::filesystem::path(text)));
}

std::string missingRaceDayFile(const WinPath &raceCardFile)
{
    if (!files::isFile(raceCardFile))
        return "出馬表ファイルがありません: " + toNative(raceCardFile).string();
    const std::string name = raceCardFile.text();
    const std::size_t dot = name.rfind('.');
    const WinPath horses(name.substr(0, dot == std::string::npos ? name.size() : dot) + ".HDT");
    if (!files::isFile(horses))
        return "出馬表ファイルの馬データファイルがありません: " + toNative(horses).string();
    return {};
}

MainWindowState::MainWindowState()
    : settingsFile(ProfileFile::defaultPath())
{
}

void readMainWindowState(MainWindowState &state, DesktopServices &desktop)
{
    readStartupSettings(state.settingsFile, state.settings);
    readActivationSettings(state.settingsFile, state.settings);
    rebuildLabelTables(state.labels);
    loadMasterFile(WinPath(state.settings.cyoukyou), state.masters.TrainerTable, desktop, kTrainerFileMissingMessage);
    loadMasterFile(WinPath(state.settings.kisyu), state.masters.JockeyTable, desktop, kJockeyFileMissingMessage);
}

NewspaperDay::NewspaperDay()
    : card(makeRaceCard())
{
}

void NewspaperDay::selectRace(int race)
{
    card->CurrentRace = race - 1;
    pageSpan() = makeRaceSpan(race - 1, paper->RunnerCounts);
}

std::unique_ptr<NewspaperDay> loadNewspaperDay(const WinPath &raceCardFile, DesktopServices &desktop)
{
    auto day = std::make_unique<NewspaperDay>();
    loadNewspaperDay(*day, raceCardFile, desktop);
    return day;
}

void loadNewspaperDay(NewspaperDay &d, const WinPath &raceCardFile, DesktopServices &desktop)
{
    NewspaperDay *day = &d;
    // A day loaded again starts from the settings file as it is now.
    day->settingsFile = ProfileFile(ProfileFile::defaultPath());
    day->paper.reset();
    readMainWindowState(*day, desktop);

    LoadRaceDay(*day->card, raceCardFile, day->settings.ozzdir, day->settings.ozz, WinPath(day->settings.racedat),
                desktop);
    day->paper = std::make_unique<TNewspaper>(*day->card, day->masters, day->labels);
    day->paper->settings = paperSettingsFrom(day->settings, day->settingsFile);
    // What activating the race selection window builds, which the layouts read.
    buildRaceSelection(*day->paper);
}

namespace {

// The progress window of the batch print: one line per text, or on a
// terminal one line rewritten in place; a terminal has no "印刷中止" button.
class ConsoleBatchProgress : public TBatchProgress
{
public:
    ConsoleBatchProgress(std::ostream &out, bool inPlace) : m_out(out), m_inPlace(inPlace) {}
    ~ConsoleBatchProgress() override { clear(); }
    void show(const std::string &textCp932) override
    {
        std::string text = cp932::toUtf8(textCp932);
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
            text.pop_back();
        if (m_inPlace) {
            m_out << "\r\033[K" << text << std::flush;
            m_shown = true;
        } else {
            m_out << text << '\n';
        }
    }
    bool cancelled() override { return false; }
    void clear()
    {
        if (m_shown)
            m_out << "\r\033[K" << std::flush;
        m_shown = false;
    }

private:
    std::ostream &m_out;
    bool m_inPlace;
    bool m_shown = false;
};

// Passes every job on and keeps the titles of those that ended well.
class ListingPrinter : public TPrinter
{
public:
    explicit ListingPrinter(TPrinter &printer) : m_printer(printer) {}

    std::unique_ptr<TPrintJob> beginJob(const std::string &title) override
    {
        auto job = m_printer.beginJob(title);
        if (!job)
            return nullptr;
        return std::make_unique<Job>(std::move(job), title, m_ended);
    }
    void setSheetOrientation(SheetOrientation orientation) override { m_printer.setSheetOrientation(orientation); }
    std::string errorText() const override { return m_printer.errorText(); }
    const std::vector<std::string> &ended() const { return m_ended; }

private:
    class Job : public TPrintJob
    {
    public:
        Job(std::unique_ptr<TPrintJob> job, std::string title, std::vector<std::string> &ended)
            : m_job(std::move(job)), m_title(std::move(title)), m_ended(ended)
        {
        }
        TPageContext context() override { return m_job->context(); }
        bool end() override
        {
            const bool ok = m_job->end();
            if (ok)
                m_ended.push_back(m_title);
            return ok;
        }
        void abort() override { m_job->abort(); }

    private:
        std::unique_ptr<TPrintJob> m_job;
        std::string m_title;
        std::vector<std::string> &m_ended;
    };

    TPrinter &m_printer;
    std::vector<std::string> m_ended;
};

} // namespace

bool printNewspaperDay(NewspaperDay &day, const std::array<bool, 12> &checked, const std::filesystem::path &folder,
                       std::ostream &out, std::ostream &err, bool terminal)
{
    const auto pdf = makePdfFolderPrinter(folder);
    if (!pdf) {
        err << "zorbe: " << kNoPicturesMessage << '\n';
        return false;
    }
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (!std::filesystem::is_directory(folder)) {
        err << "zorbe: 出力フォルダを作れません: " << folder.string() << '\n';
        return false;
    }
    ListingPrinter printer(*pdf);
    ConsoleBatchProgress progress(out, terminal);
    const TPrintEdits edits = readPrintEdits(day.settingsFile, day.paper->settings.style());
    const TBatchResult result = BatchPrint(*day.paper, checked, edits, printer, progress);
    progress.clear();
    for (const std::string &title : printer.ended())
        out << (folder / pdfFileNameOf(title)).string() << '\n';
    if (result.end != BatchEnd::Completed) {
        err << "zorbe: " << (result.error.empty() ? "印刷を完了できませんでした" : result.error) << '\n';
        return false;
    }
    return true;
}

std::optional<int> parseInt(const std::string &text, int lo, int hi)
{
    if (text.empty() || text.size() > 9 || !isDigits(text))
        return std::nullopt;
    const int value = std::stoi(text);
    if (value < lo || value > hi)
        return std::nullopt;
    return value;
}

std::optional<std::array<bool, 12>> parseRaceList(const std::string &text, int races)
{
    std::array<bool, 12> checked{};
    std::size_t pos = 0;
    while (pos <= text.size()) {
        const std::size_t comma = text.find(',', pos);
        const std::string item = text.substr(pos, comma == std::string::npos ? std::string::npos : comma - pos);
        const std::size_t dash = item.find('-');
        const auto first = parseInt(item.substr(0, dash), 1, races);
        const auto last = dash == std::string::npos ? first : parseInt(item.substr(dash + 1), 1, races);
        if (!first || !last || *last < *first)
            return std::nullopt;
        for (int r = *first; r <= *last; ++r)
            checked[static_cast<std::size_t>(r - 1)] = true;
        if (comma == std::string::npos)
            break;
        pos = comma + 1;
    }
    return checked;
}

} // namespace zorbe::cli
