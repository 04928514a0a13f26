#pragma once

#include "link/download/DownloadRun.h"

#include <QWidget>

#include <functional>

class QLineEdit;
class QProgressBar;
class QPushButton;
class QTimer;

namespace zorbe {

// The download window "新聞データダウンロード": the from-time, "開始" and
// "中止", a progress bar, and the 10 ms timer that polls the data link while
// files download. The run itself is TDownloadRun (shared with `zorbe
// download`); this window is its view. "開始" is off while a run is open;
// "中止" stays on so the run can always be stopped.
class TForm6 : public QWidget, public DownloadView
{
    Q_OBJECT

public:
    struct Hooks
    {
        std::function<QString()> versionCaption;             // the data link's version text
        std::function<void(const QString &)> setMainStatus; // panel 0 of the main window
        std::function<void()> showMain;                      // hide this, show the main window
    };

    TForm6(TJVLink &link, ConversionHandOff &conversions, Hooks hooks, QWidget *parent = nullptr);

    TDownloadRun &run() { return m_run; }

    // DownloadView
    void setCaption(const std::string &text) override;
    void setStatus(const std::string &text) override;
    void setProgress(int position, int maximum) override;
    void setCancelEnabled(bool enabled) override;
    void setStartEnabled(bool enabled) override;
    void setBusy(bool busy) override;
    void processEvents() override;
    void setTimerActive(bool active) override;

public slots:
    void BitBtn1Click(); // 開始
    void BitBtn2Click(); // 中止
    void BitBtn3Click(); // 出馬表: the entries conversion
    void BitBtn4Click(); // 成績: the results conversion
    void TimerJVStatusTimer();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void FormShow();

    TDownloadRun m_run;
    ConversionHandOff &m_conversions;
    Hooks m_hooks;
    QLineEdit *m_edit2 = nullptr;
    QPushButton *m_bitBtn1 = nullptr;
    QPushButton *m_bitBtn2 = nullptr;
    QPushButton *m_bitBtn3 = nullptr;
    QPushButton *m_bitBtn4 = nullptr;
    QProgressBar *m_progressBar = nullptr;
    QTimer *m_timer = nullptr;
    bool m_busy = false;
};

} // namespace zorbe
