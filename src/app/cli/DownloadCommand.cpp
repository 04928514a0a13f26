#include "app/cli/Commands.h"

#include "data/convert/Conversions.h"
#include "link/LocalFeedLink.h"
#include "link/download/DownloadRun.h"
#include "platform/Cp932.h"
#include "platform/Desktop.h"
#include "platform/Files.h"
#include "platform/ProfileFile.h"

#include <algorithm>

#include <ostream>

namespace zorbe::cli {
namespace {

constexpr const char *kUsage = "download [--from yyyymmddhhmmss] [--now yyyymmddhhmmss]";

// Prints every caption and status text as it changes, one line each.
class ConsoleDownloadView : public DownloadView
{
public:
    explicit ConsoleDownloadView(std::ostream &out)
        : m_out(out)
    {
    }
    void setCaption(const std::string &text) override { print(m_caption, text); }
    void setStatus(const std::string &text) override { print(m_status, text); }
    void setProgress(int, int) override {}
    void setCancelEnabled(bool) override {}
    void setBusy(bool) override {}
    void processEvents() override {}
    void setTimerActive(bool active) override { m_timer = active; }
    bool timerActive() const { return m_timer; }

private:
    void print(std::string &last, std::string text)
    {
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
            text.pop_back();
        if (text == last || text.empty())
            return;
        last = text;
        m_out << text << '\n';
    }
    std::ostream &m_out;
    std::string m_caption, m_status;
    bool m_timer = false;
};

// The conversions' progress on a terminal: one line per converted day with
// the number of horse lines written, and every note about damaged input on
// standard error. The entries conversion counts against all horses of the
// weekly horse file, of which a day uses a part, so a percentage would
// stop short; the count of what was done is what the user can check.
class ConsoleConversionView : public ConversionView
{
public:
    ConsoleConversionView(std::ostream &out, std::ostream &err)
        : m_out(out), m_err(err)
    {
    }
    ~ConsoleConversionView() override { finishDay(); }

    void setProgressMaximum(int) override
    {
        finishDay();
        m_inDay = true;
        m_position = 0;
    }
    void setProgressPosition(int position) override { m_position = position; }
    void setCaption(const std::string &) override {}
    void report(const std::string &text) override { m_err << text << '\n'; }

    void finishDay()
    {
        if (m_inDay && m_position > 0)
            m_out << "  変換しました: " << m_position << "件\n";
        m_inDay = false;
    }

private:
    std::ostream &m_out;
    std::ostream &m_err;
    bool m_inDay = false;
    int m_position = 0;
};

// Prints the days handed to each conversion before converting them.
class ConsoleHandOff : public ConversionHandOff
{
public:
    ConsoleHandOff(ConversionHandOff &conversions, std::ostream &out)
        : m_conversions(conversions), m_out(out)
    {
    }
    void convertEntries(const std::vector<DownloadedDay> &days) override
    {
        list("出馬表", days);
        m_conversions.convertEntries(days);
    }
    void convertResults(const std::vector<DownloadedDay> &days) override
    {
        list("成績", days);
        m_conversions.convertResults(days);
    }

private:
    void list(const char *what, const std::vector<DownloadedDay> &days)
    {
        m_out << what << "データ変換: " << days.size() << "日分\n";
        for (const auto &d : days)
            m_out << "  " << u8(d.fileName) << '\n';
    }
    ConversionHandOff &m_conversions;
    std::ostream &m_out;
};

} // namespace

// The download run of the download window, headless.
int runDownload(Args args, Streams &streams)
{
    std::string from, now;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if ((args[i] == "--from" || args[i] == "--now") && i + 1 < args.size()) {
            if (!isValidTimestamp(args[i + 1]))
                return usageError(streams, kUsage, "時刻は yyyymmddhhmmss の14桁で指定してください: " + args[i + 1]);
            (args[i] == "--from" ? from : now) = args[i + 1];
            ++i;
        } else {
            return usageError(streams, kUsage);
        }
    }
    auto component = std::make_unique<LocalFeedLink>();
    if (!now.empty())
        component->setNow(now);
    TJVLink link(std::move(component));
    if (link.JVInit(std::string(kSoftwareId)) != 0) {
        streams.err << "zorbe: データリンクを初期化できません\n";
        return kExitFailure;
    }
    ConsoleDownloadView view(streams.out);
    TDownloadRun run(link, view);
    try {
        run.formShow(JVLinkVersionText(link.m_JVLinkVersion()));
        if (!from.empty())
            run.Edit2 = TDownloadRun::fromTimeText(from);
        run.start();
        while (view.timerActive())
            run.timerTick();
        for (const auto &d : run.damagedReports())
            streams.err << "不正なレコード: " << d << '\n';
        if (!run.openSucceeded() || !run.readToTheEnd())
            return kExitFailure;
        ProfileFile settings(ProfileFile::defaultPath());
        ConsoleConversionView progress(streams.out, streams.err);
        ConsoleDesktop desktop;
        TConversions conversions(settings, progress, desktop);
        ConsoleHandOff console(conversions, streams.out);
        handOff(run, console);
        progress.finishDay();
    } catch (const std::exception &e) {
        streams.err << "zorbe: " << e.what() << '\n';
        return kExitFailure;
    }
    return kExitOk;
}

} // namespace zorbe::cli
