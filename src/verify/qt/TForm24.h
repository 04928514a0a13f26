#pragma once

#include "verify/ReturnRate.h"

#include <QWidget>

#include <array>
#include <functional>

class QButtonGroup;
class QLabel;
class QRadioButton;
class QTableWidget;

namespace zorbe {

class DesktopServices;
class ProfileFile;

// The return-rate window "回収率計算（コース・クラス別）": a payout file's
// venue sections, the three pick types, the day's results and picks with
// their judgements, and what 100 yen a point returned by course and class,
// for the day and the meeting.
class TForm24 : public QWidget
{
    Q_OBJECT

public:
    struct Hooks
    {
        std::function<void()> showMain;
    };

    TForm24(const ProfileFile &settings, DesktopServices &desktop, Hooks hooks, QWidget *parent = nullptr);

    void FormActivate();
    void BitBtn1Click();     // 払戻ﾌｧｲﾙ選択
    void RadioButton3Click(); // a venue
    void RadioButton4Click(PickType type); // a pick type: the calculation
    void BitBtn4Click();     // 回収率保存
    void BitBtn7Click();     // HTML出力

    const TReturnRate &rates() const { return m_rates; }
    QTableWidget *grid(int n) const { return m_grids[static_cast<std::size_t>(n - 1)]; } // StringGrid1..6
    QRadioButton *radio(int n) const { return m_radios[static_cast<std::size_t>(n - 1)]; } // RadioButton1..6
    QLabel *label85() const { return m_label85; }
    QLabel *label86() const { return m_label86; }

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildGrids();
    void buildPanel();
    void showGrids();
    void showCaptions();
    void uncheckPickTypes();
    int chosenVenue() const;
    void report(const std::exception &e);

    const ProfileFile &m_settings;
    DesktopServices &m_desktop;
    Hooks m_hooks;
    TReturnRate m_rates;
    std::string m_folder;

    std::array<QTableWidget *, 6> m_grids{};
    std::array<QRadioButton *, 6> m_radios{};
    QButtonGroup *m_venues = nullptr;
    QButtonGroup *m_pickTypes = nullptr;
    QLabel *m_label85 = nullptr;
    QLabel *m_label86 = nullptr;
};

} // namespace zorbe
