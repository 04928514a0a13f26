#pragma once

#include "data/convert/ConversionSupport.h"
#include "data/convert/Conversions.h"
#include "link/download/DownloadRun.h"

#include <QWidget>

#include <functional>
#include <memory>

class QLabel;
class QProgressBar;
class QPushButton;

namespace zorbe {

class DesktopServices;
class HeldMessages;

// The conversion window "データ変換": shown while the downloaded days are
// turned into race-day and results files, with the horse being processed
// and a progress bar. It takes the download window's hand-off: the
// race-card days first, then the results days. Message boxes of a
// conversion wait until the window has gone and the main window is back.
class TForm7 : public QWidget, public ConversionView, public ConversionHandOff
{
    Q_OBJECT

public:
    struct Hooks
    {
        std::function<void()> showSelf; // hide the window shown now, show this one
        std::function<void()> showMain;
    };

    TForm7(ProfileFile &settings, DesktopServices &desktop, Hooks hooks, QWidget *parent = nullptr);
    ~TForm7() override;

    // ConversionHandOff: each runs its conversion with this window shown,
    // then returns to the main window. A failure is shown and ends the
    // conversion (false); files already written stay.
    bool convertEntries(const std::vector<DownloadedDay> &days) override;
    bool convertResults(const std::vector<DownloadedDay> &days) override;

    // ConversionView
    void setProgressMaximum(int maximum) override;
    void setProgressPosition(int position) override;
    void setCaption(const std::string &text) override;
    void report(const std::string &text) override;
    void processEvents() override;

    const std::vector<std::string> &reports() const { return m_reports; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    template <typename Run> bool runConversion(Run run);

    DesktopServices &m_desktop;
    Hooks m_hooks;
    std::unique_ptr<HeldMessages> m_held; // the conversions' desktop
    TConversions m_conversions;
    QLabel *m_caption = nullptr;
    QProgressBar *m_progressBar = nullptr;
    std::vector<std::string> m_reports;
};

} // namespace zorbe
