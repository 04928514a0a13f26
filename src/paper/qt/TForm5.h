#pragma once

#include "paper/PageModel.h"

#include <QWidget>

#include <array>
#include <functional>
#include <optional>

class QAction;
class QButtonGroup;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPainter;
class QScrollArea;
class QToolButton;

namespace zorbe {

class DesktopServices;
class PageCanvas;
class ProfileFile;
class TPrinter;
enum class PrintPath;
struct TNewspaper;

// The newspaper display window: the page of one race of the loaded day on
// the screen, the race buttons 1R-12R, the zoom, printing the page, the
// printer set-up, and the ways back to the race selection window, the main
// window and the main window's race-day loader. It holds no newspaper logic:
// every paint draws the screen page of the race whose button is down.
class TForm5 : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kMinZoom = 65;
    static constexpr int kMaxZoom = 110;
    static constexpr int kZoomStep = 5;
    static constexpr int kLineAcross = 60; // ScrollBox1's line steps, pixels
    static constexpr int kLineDown = 90;

    struct Hooks
    {
        std::function<void()> showRaceSelection; // "選択"
        std::function<void()> showMain;          // "ﾀｲﾄﾙ" and closing
        std::function<void()> loadRaceDay;       // "ﾚｰｽ選択": the main window's loader
        // The race selection window's scale and margin edits, as typed.
        std::function<TPrintEdits()> printEdits;
    };

    // The page the paint box shows: the screen page by default.
    using PageDrawer = std::function<TPageContext(PageCanvas &canvas, TNewspaper &paper, int zoom, int screenPpi)>;

    // printer may be null (printing then reports that there is none).
    TForm5(ProfileFile &settingsFile, TNewspaper &paper, TPrinter *printer, DesktopServices &desktop, Hooks hooks,
           QWidget *parent = nullptr);
    ~TForm5() override;

    // Runs each time the window is shown: zoom from the settings, the tool
    // bar by the setting botan, the day's race buttons, 1R pressed, the
    // day's heading as the caption.
    void FormActivate();

    int zoom() const { return m_zoom; }
    // A zoom in 65-110 that differs from the current one is taken: the page
    // box is resized and repainted. Returns whether it was taken.
    bool setZoom(int zoom);

    // Race index (0 = 1R) of the race button that is down; -1 when none.
    int pressedRace() const;
    // Releases every race button (the race selection window does this on
    // activation, so batch printing draws the race it sets itself).
    void releaseRaceButtons();

    // Draws the page as the paint box does, on canvas: the menu captions,
    // the race buttons of the day, the race of the pressed button. Throws
    // what the page routines throw.
    TPageContext drawPage(PageCanvas &canvas);
    void setPageDrawer(PageDrawer drawer) { m_drawer = std::move(drawer); }

    // The page box's size at zoom: the printer sheet, turned as the style
    // prints, at the screen's resolution, and never smaller than the
    // style's page of 18 runners.
    QSize pageBoxSize(int zoom) const;
    int screenPpi() const;

    QMenu *popupMenu1() const { return m_popupMenu1; }
    QScrollArea *scrollBox1() const { return m_scrollBox1; }
    QWidget *paintBox1() const { return m_paintBox1; }
    QFrame *panel1() const { return m_panel1; }
    QToolButton *raceButton(int race) const { return m_raceButtons[static_cast<std::size_t>(race)]; }
    QAction *raceItem(int race) const { return m_raceItems[static_cast<std::size_t>(race)]; }
    bool popupOnRightClick() const { return m_autoPopup; }

public slots:
    void SpeedButton1Click();  // 印刷
    void SpeedButton2Click();  // プリンター設定
    void RaceButtonClick(int race);
    void UpDown1Click(bool up);
    void N13Click();           // 拡大
    void N14Click();           // 縮小
    void N18Click();           // 印刷 (popup)
    void SpeedButton15Click(); // 選択
    void SpeedButton17Click(); // ﾀｲﾄﾙ
    void BitBtn2Click();       // ﾚｰｽ選択
    void N15Click();           // 選択画面へ
    void N16Click();           // タイトルへ
    void N17Click();           // レース選択

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    class PageBox;
    friend class PageBox;

    void buildPanel1();
    void buildScrollBox();
    void buildPopupMenu();
    void applyButtonBar(bool undocked);
    void showRaceControls();
    void PaintBox1Paint(QPainter &painter);
    void reportPaintError(const std::string &text);
    void print(PrintPath path);
    bool handleKey(int key);

    // Every way out: the race buttons releasable, disabled and hidden with
    // their menu items, the zoom written to the settings.
    void leave();
    void toRaceSelection();
    void toMain(bool clearOdds);
    void toRaceDayLoader();

    ProfileFile &m_settingsFile;
    TNewspaper &m_paper;
    TPrinter *m_printer;
    DesktopServices &m_desktop;
    Hooks m_hooks;
    PageDrawer m_drawer;
    int m_zoom = kMaxZoom;
    bool m_autoPopup = false;

    // The page that failed to paint (race, zoom, showing of the window): its
    // repaints draw what they can without telling the user again.
    struct PaintKey
    {
        int race = -1;
        int zoom = 0;
        int showing = 0;
        bool operator==(const PaintKey &) const = default;
    };
    std::optional<PaintKey> m_failedPaint;
    int m_showing = 0;

    QFrame *m_panel1 = nullptr;
    QLineEdit *m_edit1 = nullptr;
    QWidget *m_upDown1 = nullptr;
    QButtonGroup *m_raceGroup = nullptr;
    std::array<QToolButton *, 12> m_raceButtons{};
    QToolButton *m_speedButton1 = nullptr;
    QToolButton *m_speedButton2 = nullptr;
    QScrollArea *m_scrollBox1 = nullptr;
    QWidget *m_paintBox1 = nullptr;
    QMenu *m_popupMenu1 = nullptr;
    QAction *m_n13 = nullptr;
    QAction *m_n14 = nullptr;
    std::array<QAction *, 12> m_raceItems{};
};

} // namespace zorbe
