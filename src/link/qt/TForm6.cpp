#include "link/qt/TForm6.h"

#include "platform/qt/QtText.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

namespace zorbe {

TForm6::TForm6(TJVLink &link, ConversionHandOff &conversions, Hooks hooks, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint)
    , m_run(link, *this, &conversions)
    , m_conversions(conversions)
    , m_hooks(std::move(hooks))
{
    setObjectName(QStringLiteral("TForm6"));
    setWindowTitle(QStringLiteral("新聞データダウンロード"));
    setFixedSize(317, 84);

    auto *label = new QLabel(QStringLiteral("最終データ取得日"), this);
    label->setGeometry(8, 10, 100, 20);

    m_edit2 = new QLineEdit(QStringLiteral("2004年06月02日00時00分00秒"), this);
    m_edit2->setObjectName(QStringLiteral("Edit2"));
    m_edit2->setGeometry(110, 8, 200, 22);

    auto button = [this](const char *name, const QString &caption, int x, void (TForm6::*slot)()) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setGeometry(x, 38, 70, 25);
        connect(b, &QPushButton::clicked, this, slot);
        return b;
    };
    m_bitBtn1 = button("BitBtn1", QStringLiteral("開始"), 110, &TForm6::BitBtn1Click);
    m_bitBtn2 = button("BitBtn2", QStringLiteral("中止"), 190, &TForm6::BitBtn2Click);
    m_bitBtn3 = button("BitBtn3", QStringLiteral("出馬表"), 8, &TForm6::BitBtn3Click);
    m_bitBtn4 = button("BitBtn4", QStringLiteral("成績"), 8, &TForm6::BitBtn4Click);
    m_bitBtn3->hide();
    m_bitBtn4->hide();

    m_progressBar = new QProgressBar(this);
    m_progressBar->setObjectName(QStringLiteral("ProgressBar1"));
    m_progressBar->setGeometry(0, 68, 317, 16);
    m_progressBar->setTextVisible(false);

    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("TimerJVStatus"));
    m_timer->setInterval(10);
    connect(m_timer, &QTimer::timeout, this, &TForm6::TimerJVStatusTimer);
}

void TForm6::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    FormShow();
}

void TForm6::FormShow()
{
    raise();
    m_run.formShow(m_hooks.versionCaption ? fromQString(m_hooks.versionCaption()) : std::string());
    m_edit2->setText(toQString(m_run.Edit2));
}

void TForm6::closeEvent(QCloseEvent *event)
{
    event->ignore();
    if (m_hooks.showMain)
        m_hooks.showMain();
}

void TForm6::BitBtn1Click()
{
    if (m_run.running())
        return;
    m_run.Edit2 = fromQString(m_edit2->text());
    m_run.start();
}

void TForm6::TimerJVStatusTimer()
{
    m_run.timerTick();
}

void TForm6::BitBtn2Click()
{
    m_run.cancel();
    if (m_hooks.showMain)
        m_hooks.showMain();
}

void TForm6::BitBtn3Click()
{
    std::vector<DownloadedDay> days;
    for (const auto &d : m_run.LastRaceFileNames())
        if (d.kind == '1')
            days.push_back(d);
    m_conversions.convertEntries(days);
}

void TForm6::BitBtn4Click()
{
    std::vector<DownloadedDay> days;
    for (const auto &d : m_run.LastRaceFileNames())
        if (d.kind != '1')
            days.push_back(d);
    m_conversions.convertResults(days);
}

void TForm6::setCaption(const std::string &text)
{
    setWindowTitle(fromUtf8Text(text));
}

void TForm6::setStatus(const std::string &text)
{
    if (m_hooks.setMainStatus)
        m_hooks.setMainStatus(fromUtf8Text(text).trimmed());
}

void TForm6::setProgress(int position, int maximum)
{
    m_progressBar->setMaximum(maximum > 0 ? maximum : 1);
    m_progressBar->setValue(position);
}

void TForm6::setCancelEnabled(bool enabled)
{
    m_bitBtn2->setEnabled(enabled);
}

void TForm6::setStartEnabled(bool enabled)
{
    m_bitBtn1->setEnabled(enabled);
}

void TForm6::setBusy(bool busy)
{
    if (busy == m_busy)
        return;
    m_busy = busy;
    if (busy)
        QApplication::setOverrideCursor(Qt::BusyCursor);
    else
        QApplication::restoreOverrideCursor();
}

void TForm6::processEvents()
{
    QCoreApplication::processEvents();
}

void TForm6::setTimerActive(bool active)
{
    if (active)
        m_timer->start();
    else
        m_timer->stop();
}

} // namespace zorbe
