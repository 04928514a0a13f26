#pragma once

#include <QWidget>

#include <functional>

class QLabel;
class QPushButton;

namespace zorbe {

struct TRaceCard;

// The race selection window "ゾルベ ＜レース選択＞": the hub of a loaded
// meeting day. Its caption and Label1 name the day (the race-day loader
// builds both texts). The race list, the newspaper and batch printing hang
// off this window.
class TForm3 : public QWidget
{
    Q_OBJECT

public:
    struct Hooks
    {
        std::function<void()> showMain;      // "タイトル" and closing
        std::function<void()> loadRaceDay;   // "レース選択": the main window's loader
    };

    TForm3(const TRaceCard &card, Hooks hooks, QWidget *parent = nullptr);

    // Shows the day's texts of the race card.
    void FormActivate();

    QLabel *label1() const { return m_label1; }

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    const TRaceCard &m_card;
    Hooks m_hooks;
    QLabel *m_label1 = nullptr;
};

} // namespace zorbe
