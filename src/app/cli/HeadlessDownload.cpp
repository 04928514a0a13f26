#include "app/cli/HeadlessDownload.h"

#include "app/cli/NewspaperDay.h"

#include "data/convert/Conversions.h"
#include "link/LocalFeedLink.h"
#include "link/download/DownloadRun.h"
#include "platform/Cp932.h"
#include "platform/Desktop.h"
#include "platform/Files.h"
#include "platform/ProfileFile.h"

#include <memory>
#include <ostream>

namespace zorbe::cli {
namespace {

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

// Prints the days handed to each conversion before converting them; a
// conversion that fails prints why on the error stream.
class ConsoleHandOff : public ConversionHandOff
{
public:
    ConsoleHandOff(ConversionHandOff &conversions, std::ostream &out, std::ostream &err)
        : m_conversions(conversions), m_out(out), m_err(err)
    {
    }
    bool convertEntries(const std::vector<DownloadedDay> &days) override
    {
        entryDays += static_cast<int>(days.size());
        list("出馬表", days);
        return guarded([&] { return m_conversions.convertEntries(days); });
    }
    bool convertResults(const std::vector<DownloadedDay> &days) override
    {
        resultDays += static_cast<int>(days.size());
        list("成績", days);
        return guarded([&] { return m_conversions.convertResults(days); });
    }

    int entryDays = 0;
    int resultDays = 0;

private:
    template <class Convert> bool guarded(Convert convert)
    {
        try {
            return convert();
        } catch (const std::exception &e) {
            m_err << "zorbe: " << e.what() << '\n';
            return false;
        }
    }
    void list(const char *what, const std::vector<DownloadedDay> &days)
    {
        m_out << what << "データ変換: " << days.size() << "日分\n";
        for (const auto &d : days)
            m_out << "  " << u8(d.fileName) << '\n';
    }
    ConversionHandOff &m_conversions;
    std::ostream &m_out;
    std::ostream &m_err;
};

} // namespace

DownloadOutcome downloadAndConvert(const std::string &from, const std::string &now, std::ostream &out,
                                   std::ostream &err)
{
    DownloadOutcome outcome;
    auto component = std::make_unique<LocalFeedLink>();
    if (!now.empty())
        component->setNow(now);
    TJVLink link(std::move(component));
    if (link.JVInit(std::string(kSoftwareId)) != 0) {
        err << "zorbe: データリンクを初期化できません\n";
        return outcome;
    }
    ConsoleDownloadView view(out);
    ProfileFile settings(ProfileFile::defaultPath());
    ConsoleConversionView progress(out, err);
    StreamDesktop desktop(err);
    TConversions conversions(settings, progress, desktop);
    ConsoleHandOff console(conversions, out, err);
    TDownloadRun run(link, view, &console);
    try {
        run.formShow(JVLinkVersionText(link.m_JVLinkVersion()));
        if (!from.empty())
            run.Edit2 = TDownloadRun::fromTimeText(from);
        run.start();
        while (view.timerActive())
            run.timerTick();
    } catch (const std::exception &e) {
        err << "zorbe: " << e.what() << '\n';
        return outcome;
    }
    progress.finishDay();
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
