#pragma once

#include <QColor>
#include <QPoint>
#include <QWidget>

#include <array>

class QFrame;
class QLabel;
class QMenu;
class QPushButton;

namespace zorbe {

struct AppState;
class DesktopServices;
class Forms;

// The main window: the launcher every other window returns to. It holds the
// title picture, twelve command buttons, two link labels, two popup menus
// and the status bar where the data link's results are shown.
class TForm1 : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kClientWidth = 367;
    static constexpr int kClientHeight = 464;

    TForm1(AppState &app, DesktopServices &desktop, Forms &forms);

    // Start-up work, run once right after the window is built: the splash,
    // the settings and the master tables.
    void FormCreate();

    QString statusText(int panel) const;
    void setStatusText(int panel, const QString &text);

    QMenu *popupMenu1() const { return m_popupMenu1; }
    QMenu *popupMenu4() const { return m_popupMenu4; }
    // Where "データ表示" and "CSV形式出力" pop their menus up (screen point).
    QPoint popupMenu1Point() const;
    QPoint popupMenu4Point() const;

public slots:
    void BitBtn1Click();  // レース選択
    void BitBtn2Click();  // データ表示
    void BitBtn10Click(); // JV-Link設定
    void BitBtn17Click(); // 初期　設定
    void BitBtn7Click();  // 新聞データDL
    void SpeedButton2Click(); // バージョン情報
    void SpeedButton5Click(); // HELP
    void SpeedButton1Click(); // DLﾌｧｲﾙ削除
    void BitBtn4Click();  // 検証ﾌｧｲﾙ出力
    void BitBtn12Click(); // 検　証
    void BitBtn15Click(); // CSV形式出力
    void BitBtn3Click();  // 終　了

    void N1Click();   // 成績データ表示
    void N2Click();   // 騎手データ
    void N3Click();   // 調教師データ
    void IME1Click(); // TIMEデータ変換
    void CSV1Click(); // 競走馬CSV出力
    void CSV2Click(); // 出馬表CSV出力
    void CSV3Click(); // 成績CSV出力1
    void CSV21Click(); // 成績CSV出力2
    void CSV4Click(); // タイムデータCSV形式出力

    void Label3Click();
    void Label4Click();

protected:
    bool event(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormShow();
    void FormActivate();

    void buildPanel4();
    void buildPanel1();
    void buildLinkLabels();
    void buildMenus();
    void buildStatusBar();
    QPushButton *addButton(const char *name, int x, int y, const QString &caption, const QString &hint,
                           void (TForm1::*slot)(), const QColor &color = QColor());

    // The link labels' hover look: the label under the mouse turns blue with
    // the hand cursor; the panel and the buttons around them turn both back.
    void setLinkHot(QLabel *label);
    void resetLinks();

    AppState &m_app;
    DesktopServices &m_desktop;
    Forms &m_forms;
    bool m_shown = false;

    QFrame *m_panel4 = nullptr;
    QFrame *m_panel1 = nullptr;
    QLabel *m_label3 = nullptr;
    QLabel *m_label4 = nullptr;
    QMenu *m_popupMenu1 = nullptr;
    QMenu *m_popupMenu4 = nullptr;
    std::array<QLabel *, 3> m_statusPanels{};
};

} // namespace zorbe
