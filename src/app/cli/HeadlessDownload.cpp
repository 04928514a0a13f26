#include "app/cli/HeadlessDownload.h"

#include "app/cli/NewspaperDay.h"

#include "data/convert/Conversions.h"
#include "link/LocalFeedLink.h"
#include "link/download/DownloadRun.h"
#include "platform/Cp932.h"
#include "platform/Desktop.h"
#include "platform/Files.h"
#include "platform/ProfileFile.h"

#include <algorithm>
#include <chrono>
#include <memory>
#include <ostream>

namespace zorbe::cli {
namespace {

// The one progress line of a terminal: rewritten in place ("\r" and the
// erase-to-end-of-line sequence), at most every tenth of a second unless
// asked to, and erased before any other line is printed.
class ProgressLine
{
public:
    explicit ProgressLine(std::ostream *terminal)
        : m_terminal(terminal)
    {
    }
    void show(const std::string &text, bool now = false)
    {
        if (!m_terminal)
            return;
        const auto t = std::chrono::steady_clock::now();
        if (!now && m_shown && t - m_last < std::chrono::milliseconds(100))
            return;
        m_last = t;
        *m_terminal << "\r\033[K" << text << std::flush;
        m_shown = true;
    }
    // Erases the line, so that the next output starts on a clean line.
    void clear()
    {
        if (m_terminal && m_shown)
            *m_terminal << "\r\033[K" << std::flush;
        m_shown = false;
    }

private:
    std::ostream *m_terminal;
    bool m_shown = false;
    std::chrono::steady_clock::time_point m_last;
};

std::string trimmed(std::string text)
{
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    return text;
}

// The download run's texts: every status text on a line of its own, every
// caption change too when verbose, and on a terminal the files and records
// read on the progress line.
class ConsoleDownloadView : public DownloadView
{
public:
    ConsoleDownloadView(const DownloadReporting &reporting, ProgressLine &line)
        : m_reporting(reporting), m_line(line)
    {
    }
    void setCaption(const std::string &text) override
    {
        // A record routed: the run's caption names its race.
        if (text.starts_with("データ読込み中..("))
            ++m_records;
        // The start and the end of reading are always shown, however fast
        // the reading went: the line then names the phase and its totals.
        bool now = text.starts_with("データ読込み完了");
        if (text.starts_with("データ読込み") && !m_reading) {
            m_reading = true;
            now = true;
        }
        if (m_reporting.verbose)
            print(m_caption, text);
        showProgress(now);
    }
    void setStatus(const std::string &text) override { print(m_status, text); }
    void setProgress(int position, int maximum) override
    {
        m_position = position;
        m_maximum = maximum;
        showProgress(false);
    }
    void setCancelEnabled(bool) override {}
    void setBusy(bool) override {}
    void processEvents() override {}
    void setTimerActive(bool active) override { m_timer = active; }
    bool timerActive() const { return m_timer; }

private:
    void showProgress(bool now)
    {
        if (m_reading)
            m_line.show("配信データの読込み: ファイル " + std::to_string(m_position) + "/" + std::to_string(m_maximum)
                            + "、レコード " + std::to_string(m_records) + "件",
                        now);
        else if (m_maximum > 0)
            m_line.show("ダウンロード中: " + std::to_string(m_position) + "/" + std::to_string(m_maximum), now);
    }
    void print(std::string &last, const std::string &raw)
    {
        const std::string text = trimmed(raw);
        if (text == last || text.empty())
            return;
        last = text;
        m_line.clear();
        m_reporting.lines << text << '\n';
        m_reporting.lines.flush();
    }
    const DownloadReporting &m_reporting;
    ProgressLine &m_line;
    std::string m_caption, m_status;
    bool m_timer = false;
    bool m_reading = false;
    int m_position = 0, m_maximum = 0;
    long long m_records = 0;
};

// The conversions' progress: on a terminal the day being converted and the
// horse lines written of the weekly horse file (of which a day uses a part,
// so the count is shown, not a share), every caption when verbose, and
// every note about damaged input on the error stream.
class ConsoleConversionView : public ConversionView
{
public:
    ConsoleConversionView(const DownloadReporting &reporting, ProgressLine &line)
        : m_reporting(reporting), m_line(line)
    {
    }
    // The conversion about to run: what the progress line names.
    void begin(const std::string &what, int days)
    {
        m_what = what;
        m_days = days;
        m_day = 0;
        m_position = 0;
        show(true);
    }
    void setProgressMaximum(int) override
    {
        // The entries conversion sets the maximum once per day.
        ++m_day;
        m_position = 0;
        show(true);
    }
    void setProgressPosition(int position) override
    {
        m_position = position;
        show(false);
    }
    void setCaption(const std::string &text) override
    {
        // The results conversion names each day as it writes it.
        const bool nextDay = m_what == "成績";
        if (nextDay)
            ++m_day;
        if (m_reporting.verbose && !text.empty()) {
            m_line.clear();
            m_reporting.lines << text << '\n';
        }
        show(nextDay);
    }
    void report(const std::string &text) override
    {
        m_line.clear();
        m_reporting.err << text << '\n';
    }

private:
    void show(bool now)
    {
        std::string text = m_what + "データ変換: " + std::to_string(std::min(std::max(m_day, 1), m_days)) + "/"
                           + std::to_string(m_days) + "日";
        if (m_position > 0)
            text += "、" + std::to_string(m_position) + "件";
        m_line.show(text, now);
    }
    const DownloadReporting &m_reporting;
    ProgressLine &m_line;
    std::string m_what;
    int m_days = 0, m_day = 0, m_position = 0;
};

// The loaders' notes on the error stream, below a clean progress line.
class LineDesktop : public StreamDesktop
{
public:
    LineDesktop(std::ostream &err, ProgressLine &line)
        : StreamDesktop(err), m_line(line)
    {
    }
    void showMessage(const std::string &text) override
    {
        m_line.clear();
        StreamDesktop::showMessage(text);
    }

private:
    ProgressLine &m_line;
};

// Prints the days handed to each conversion before converting them and a
// line for every day converted after; a conversion that fails prints why on
// the error stream.
class ConsoleHandOff : public ConversionHandOff
{
public:
    ConsoleHandOff(ConversionHandOff &conversions, const DownloadReporting &reporting, ProgressLine &line,
                   ConsoleConversionView &progress)
        : m_conversions(conversions), m_reporting(reporting), m_line(line), m_progress(progress)
    {
    }
    bool convertEntries(const std::vector<DownloadedDay> &days) override
    {
        entryDays += static_cast<int>(days.size());
        return convert("出馬表", days, [&] { return m_conversions.convertEntries(days); });
    }
    bool convertResults(const std::vector<DownloadedDay> &days) override
    {
        resultDays += static_cast<int>(days.size());
        return convert("成績", days, [&] { return m_conversions.convertResults(days); });
    }

    int entryDays = 0;
    int resultDays = 0;

private:
    template <class Convert> bool convert(const char *what, const std::vector<DownloadedDay> &days, Convert run)
    {
        m_line.clear();
        m_reporting.lines << what << "データ変換: " << days.size() << "日分\n";
        if (m_reporting.verbose)
            for (const auto &d : days)
                m_reporting.lines << "  " << u8(d.fileName) << '\n';
        m_progress.begin(what, static_cast<int>(days.size()));
        bool done = false;
        try {
            done = run();
        } catch (const std::exception &e) {
            m_line.clear();
            m_reporting.err << "zorbe: " << e.what() << '\n';
            return false;
        }
        m_line.clear();
        if (done)
            for (const auto &d : days)
                m_reporting.lines << "  変換しました: " << u8(d.fileName.substr(0, d.fileName.rfind('.'))) << '\n';
        m_reporting.lines.flush();
        return done;
    }
    ConversionHandOff &m_conversions;
    const DownloadReporting &m_reporting;
    ProgressLine &m_line;
    ConsoleConversionView &m_progress;
};

} // namespace

DownloadOutcome downloadAndConvert(const std::string &from, const std::string &now,
                                   const DownloadReporting &reporting)
{
    std::ostream &err = reporting.err;
    DownloadOutcome outcome;
    auto component = std::make_unique<LocalFeedLink>();
    if (!now.empty())
        component->setNow(now);
    TJVLink link(std::move(component));
    if (link.JVInit(std::string(kSoftwareId)) != 0) {
        err << "zorbe: データリンクを初期化できません\n";
        return outcome;
    }
    ProgressLine line(reporting.terminal);
    ConsoleDownloadView view(reporting, line);
    ProfileFile settings(ProfileFile::defaultPath());
    ConsoleConversionView progress(reporting, line);
    LineDesktop desktop(err, line);
    TConversions conversions(settings, progress, desktop);
    ConsoleHandOff console(conversions, reporting, line, progress);
    TDownloadRun run(link, view, &console);
    try {
        run.formShow(JVLinkVersionText(link.m_JVLinkVersion()));
        if (!from.empty())
            run.Edit2 = TDownloadRun::fromTimeText(from);
        run.start();
        while (view.timerActive())
            run.timerTick();
    } catch (const std::exception &e) {
        line.clear();
        err << "zorbe: " << e.what() << '\n';
        return outcome;
    }
    line.clear();
    for (const auto &d : run.damagedReports())
        err << "不正なレコード: " << d << '\n';
    outcome.damaged = static_cast<int>(run.damagedReports().size());
    outcome.entryDays = console.entryDays;
    outcome.resultDays = console.resultDays;
    switch (run.outcome()) {
    case TDownloadRun::Outcome::Completed:
        outcome.ok = true;
        break;
    case TDownloadRun::Outcome::NothingNew:
        outcome.ok = true;
        outcome.nothingNew = true;
        // The run says why in a caption, which only --verbose prints.
        if (!reporting.verbose)
            reporting.lines << run.errorText() << '\n';
        break;
    case TDownloadRun::Outcome::ConversionFailed:
        // The conversion has said why.
        break;
    default:
        err << "zorbe: " << run.errorText() << '\n';
        break;
    }
    return outcome;
}

} // namespace zorbe::cli
