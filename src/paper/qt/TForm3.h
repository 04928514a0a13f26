#pragma once

#include "paper/PageModel.h"

#include <QWidget>

#include <array>
#include <functional>
#include <memory>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace zorbe {

struct AppState;
struct TNewspaper;
class DesktopServices;
class TForm10;
class TPrinter;

// An up-down pair of arrow buttons that steps the number in its edit
// between a minimum and a maximum, wrapping round when asked to. A text
// that is not a number is left alone.
class TUpDown : public QWidget
{
public:
    TUpDown(QLineEdit &edit, int minimum, int maximum, bool wrap, QWidget *parent);

    void setMinimum(int minimum) { m_min = minimum; }
    int minimum() const { return m_min; }
    int maximum() const { return m_max; }
    void stepBy(int steps);

private:
    QLineEdit &m_edit;
    int m_min;
    int m_max;
    bool m_wrap;
};

// The race selection window "ゾルベ ＜レース選択＞": the hub of a loaded
// meeting day. It lists the day's races as check boxes with a fixed-width
// description of each, shows the newspaper settings, holds the print scale
// and margin edits (kept in the settings file per page style), prints the
// checked races one job each with a cancellable progress window, and leads
// to the display window, the text output, the main window and its loader.
class TForm3 : public QWidget
{
    Q_OBJECT

public:
    struct Hooks
    {
        std::function<void()> showMain;      // "タイトル" and closing
        std::function<void()> loadRaceDay;   // "レース選択": the main window's loader
        std::function<void()> showNewspaper; // "新聞表示": the display window
        std::function<void()> textOutput;    // "テキスト出力" (nothing while empty)
        std::function<void()> releaseRaceButtons; // the display window's race buttons
    };

    // printer: where the batch prints; without one the window uses the
    // system's printer (PDF files when there is none).
    TForm3(AppState &app, TNewspaper &paper, TPrinter *printer, DesktopServices &desktop, Hooks hooks,
           QWidget *parent = nullptr);
    ~TForm3() override;

    // Rebuilds the window from the loaded day and the settings.
    void FormActivate();

    // The four edits as typed (cp932): the display window prints with them.
    TPrintEdits printEdits() const;

    void BitBtn1Click(); // 新聞表示
    void BitBtn2Click(); // 印     刷
    void BitBtn9Click(); // 余白初期値
    void BitBtn6Click(); // テキスト出力: the day's three pick files
    void CheckBox13Click();

    QLabel *label1() const { return m_label1; }
    QCheckBox *raceCheckBox(int race) const { return m_races[static_cast<std::size_t>(race)]; }
    QCheckBox *allRacesCheckBox() const { return m_allRaces; }
    QLineEdit *edit(int n) const { return m_edits[static_cast<std::size_t>(n - 1)]; }     // Edit1..Edit4
    TUpDown *upDown(int n) const { return m_upDowns[static_cast<std::size_t>(n - 1)]; } // UpDown1..UpDown4
    TForm10 &form10() const { return *m_form10; }

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildRaceList();
    void buildSettingsPanel();
    void buildScalePanel();
    void buildButtons();
    void showSettings();
    void showRaces();
    void setPrintEdits(const TPrintEdits &edits);
    TPrinter &printer();

    AppState &m_app;
    TNewspaper &m_paper;
    TPrinter *m_printer;
    std::unique_ptr<TPrinter> m_ownPrinter;
    DesktopServices &m_desktop;
    Hooks m_hooks;
    bool m_printing = false;

    QLabel *m_label1 = nullptr;
    std::array<QCheckBox *, 12> m_races{};
    QCheckBox *m_allRaces = nullptr;
    QLabel *m_label3 = nullptr, *m_label4 = nullptr, *m_label5 = nullptr, *m_label6 = nullptr,
           *m_label7 = nullptr, *m_label8 = nullptr, *m_label12 = nullptr, *m_label13 = nullptr,
           *m_label27 = nullptr;
    std::array<QLineEdit *, 4> m_edits{};
    std::array<TUpDown *, 4> m_upDowns{};
    // A window of its own: it stays usable while this one is disabled.
    std::unique_ptr<TForm10> m_form10;
};

} // namespace zorbe
