#pragma once

#include "paper/PageCanvas.h"

#include <QWidget>

#include <array>
#include <functional>
#include <optional>

class QButtonGroup;
class QCheckBox;
class QFrame;
class QPainter;
class QPushButton;
class QScrollArea;
class QToolButton;

namespace zorbe {

class DesktopServices;
class TPrinter;
struct LabelTables;
struct SettingsSnapshot;
struct TResults;

// The results window "ゾルベ成績": the summary page of the loaded results
// file or the result page of one race on one paint box, the race buttons,
// printing the summary, the printer set-up, and the ways to the jockey and
// trainer databases, another results file and the main window.
class TForm8 : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kRaces = 12;

    struct Hooks
    {
        std::function<void()> showMain;     // "ﾀｲﾄﾙ" and closing
        std::function<void()> showJockeys;  // "騎 手"
        std::function<void()> showTrainers; // "調教師"
        std::function<void()> loadResults;  // "ﾚｰｽ変更": the main window's results loader
    };

    // printer may be null (printing then reports that there is none).
    TForm8(const TResults &results, const LabelTables &labels, const SettingsSnapshot &settings, TPrinter *printer,
           DesktopServices &desktop, Hooks hooks, QWidget *parent = nullptr);
    ~TForm8() override;

    // Each time the window is shown: the day's race buttons, the summary.
    void FormActivate();

    // True while the summary is shown (CheckBox1).
    bool showsSummary() const;
    // The race (1-based) whose page is shown; 0 for the summary.
    int shownRace() const;

    // Draws what the paint box shows on canvas and sets the buttons the
    // page goes with. Throws what the page routines throw.
    TPageContext drawPage(PageCanvas &canvas);

    QToolButton *raceButton(int race) const { return m_raceButtons[static_cast<std::size_t>(race - 1)]; }
    QPushButton *button(const char *name) const;
    QScrollArea *scrollBox1() const { return m_scrollBox1; }
    QWidget *paintBox1() const { return m_paintBox1; }

public slots:
    void RaceButtonPress(int race); // a race button
    void BitBtn3Click();            // レース: the summary again
    void BitBtn6Click();            // ﾚｰｽ変更
    void BitBtn4Click();            // 騎 手
    void BitBtn5Click();            // 調教師
    void BitBtn1Click();            // ﾀｲﾄﾙ
    void BitBtn9Click();            // 印刷
    void BitBtn8Click();            // 設定

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildPanel();
    void PaintBox1Paint(QPainter &painter);
    void leaveFor(const std::function<void()> &next);

    const TResults &m_results;
    const LabelTables &m_labels;
    const SettingsSnapshot &m_settings;
    TPrinter *m_printer;
    DesktopServices &m_desktop;
    Hooks m_hooks;

    // The page that failed to paint (race, showing of the window): it is
    // reported once, not on every repaint.
    std::optional<std::pair<int, int>> m_failedPaint;
    int m_showing = 0;

    QScrollArea *m_scrollBox1 = nullptr;
    QWidget *m_paintBox1 = nullptr;
    QFrame *m_panel = nullptr;
    QButtonGroup *m_raceGroup = nullptr;
    std::array<QToolButton *, kRaces> m_raceButtons{};
    QCheckBox *m_checkBox1 = nullptr;
};

} // namespace zorbe
