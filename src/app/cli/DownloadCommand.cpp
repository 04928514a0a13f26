#include "app/cli/Commands.h"

#include "link/LocalFeedLink.h"
#include "link/download/DownloadRun.h"
#include "platform/Cp932.h"
#include "platform/Files.h"

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

// Until the conversions are wired in, the hand-off lists what it would convert.
class ListingHandOff : public ConversionHandOff
{
public:
    explicit ListingHandOff(std::ostream &out)
        : m_out(out)
    {
    }
    void convertEntries(const std::vector<DownloadedDay> &days) override { list("出馬表", days); }
    void convertResults(const std::vector<DownloadedDay> &days) override { list("成績", days); }

private:
    void list(const char *what, const std::vector<DownloadedDay> &days)
    {
        m_out << what << "データ: " << days.size() << "日分";
        for (const auto &d : days)
            m_out << ' ' << u8(d.fileName);
        m_out << '\n';
    }
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
        ListingHandOff conversions(streams.out);
        handOff(run, conversions);
    } catch (const std::exception &e) {
        streams.err << "zorbe: " << e.what() << '\n';
        return kExitFailure;
    }
    return kExitOk;
}

} // namespace zorbe::cli
