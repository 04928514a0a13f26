#include "data/qt/TForm7.h"

#include "platform/Desktop.h"
#include "platform/qt/QtText.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>

namespace zorbe {

TForm7::TForm7(ProfileFile &settings, DesktopServices &desktop, Hooks hooks, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_desktop(desktop)
    , m_hooks(std::move(hooks))
    , m_conversions(settings, *this, desktop)
{
    setObjectName(QStringLiteral("TForm7"));
    setWindowTitle(QStringLiteral("データ変換"));
    setFixedSize(320, 70);
    m_caption = new QLabel(this);
    m_caption->setObjectName(QStringLiteral("Caption"));
    m_caption->setGeometry(10, 8, 300, 22);
    m_progressBar = new QProgressBar(this);
    m_progressBar->setObjectName(QStringLiteral("ProgressBar1"));
    m_progressBar->setGeometry(10, 38, 300, 20);
}

template <typename Run> void TForm7::runConversion(Run run)
{
    m_reports.clear();
    if (m_hooks.showSelf)
        m_hooks.showSelf();
    QApplication::setOverrideCursor(Qt::BusyCursor);
    try {
        run();
    } catch (const std::exception &e) {
        QApplication::restoreOverrideCursor();
        m_desktop.showError(e.what());
        if (m_hooks.showMain)
            m_hooks.showMain();
        return;
    }
    QApplication::restoreOverrideCursor();
    if (!m_reports.empty()) {
        std::string text = "読み込んだファイルに不正なデータがありました:";
        for (const auto &r : m_reports)
            text += "\n" + r;
        m_desktop.showMessage(text);
    }
    if (m_hooks.showMain)
        m_hooks.showMain();
}

void TForm7::convertEntries(const std::vector<DownloadedDay> &days)
{
    runConversion([&] { m_conversions.convertEntries(days); });
}

void TForm7::convertResults(const std::vector<DownloadedDay> &days)
{
    runConversion([&] { m_conversions.convertResults(days); });
}

void TForm7::setProgressMaximum(int maximum)
{
    m_progressBar->setMaximum(maximum > 0 ? maximum : 1);
}

void TForm7::setProgressPosition(int position)
{
    m_progressBar->setValue(std::min(position, m_progressBar->maximum()));
}

void TForm7::setCaption(const std::string &text)
{
    m_caption->setText(fromUtf8Text(text));
}

void TForm7::report(const std::string &text)
{
    m_reports.push_back(text);
}

void TForm7::processEvents()
{
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TForm7::closeEvent(QCloseEvent *event)
{
    event->ignore();
    hide();
}

} // namespace zorbe
