#include "shell/qt/TForm1.h"

#include "platform/qt/QtFonts.h"
#include "platform/qt/QtText.h"
#include "shell/AppInfo.h"
#include "shell/AppState.h"
#include "shell/CsvCommands.h"
#include "shell/MainWindowCommands.h"
#include "shell/qt/Forms.h"
#include "shell/qt/Pictures.h"
#include "link/qt/TForm6.h"
#include "paper/qt/TForm3.h"
#include "db/qt/TForm13.h"
#include "db/qt/TForm8.h"
#include "db/qt/TForm9.h"
#include "shell/qt/TAboutBox.h"
#include "shell/qt/TForm16.h"
#include "shell/qt/TForm2.h"
#include "shell/qt/WindowPlacement.h"
#include "verify/qt/TForm14.h"
#include "verify/qt/TForm24.h"

#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

#include <memory>

namespace zorbe {

namespace {

// Panel4's picture.
class TitleImage : public QWidget
{
public:
    explicit TitleImage(QWidget *parent)
        : QWidget(parent)
    {
        setObjectName(QStringLiteral("Image1"));
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        pictures::paintTitle(p, rect());
    }
};

const QColor kMagenta(255, 0, 255);
const QColor kBlue(0, 0, 255);
const QColor kRed(255, 0, 0);

constexpr int kButtonWidth = 110;
constexpr int kButtonHeight = 25;
constexpr int kStatusHeight = 19;
constexpr std::array<int, 3> kStatusWidths{240, 115, 10};

} // namespace

TForm1::TForm1(AppState &app, DesktopServices &desktop, Forms &forms)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                           | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
    , m_app(app)
    , m_desktop(desktop)
    , m_forms(forms)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(fromUtf8Text(kApplicationTitle));
    setFont(windowsFont(QStringLiteral("ＭＳ ゴシック"), 12));
    setFixedSize(kClientWidth, kClientHeight);

    buildPanel4();
    buildPanel1();
    buildMenus();
    buildStatusBar();
    centreOnScreen(*this);
}

// ---------------------------------------------------------------- layout

void TForm1::buildPanel4()
{
    m_panel4 = new QFrame(this);
    m_panel4->setObjectName(QStringLiteral("Panel4"));
    m_panel4->setGeometry(0, 0, 370, 270);
    auto *image = new TitleImage(m_panel4);
    image->setGeometry(0, 0, kClientWidth, 265);
}

void TForm1::buildPanel1()
{
    m_panel1 = new QFrame(this);
    m_panel1->setObjectName(QStringLiteral("Panel1"));
    m_panel1->setGeometry(0, 265, 370, 184);
    m_panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    m_panel1->setAutoFillBackground(true);
    m_panel1->setMouseTracking(true);
    m_panel1->installEventFilter(this);
    m_panel1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_panel1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &at) { m_popupMenu1->popup(m_panel1->mapToGlobal(at)); });

    addButton("BitBtn1", 5, 5, QStringLiteral("レース選択"), QStringLiteral("新聞表示レース選択"), &TForm1::BitBtn1Click);
    addButton("BitBtn2", 130, 5, QStringLiteral("データ表示"), QStringLiteral("各種圧縮ファイルの解凍"),
              &TForm1::BitBtn2Click);
    addButton("BitBtn10", 255, 5, QStringLiteral("JV-Link設定"), QStringLiteral("各種JRA-VANデータ表示"),
              &TForm1::BitBtn10Click);
    addButton("BitBtn17", 5, 35, QStringLiteral("初期　設定"), QStringLiteral("各種初期設定起動"),
              &TForm1::BitBtn17Click, kMagenta);
    addButton("BitBtn7", 130, 35, QStringLiteral("新聞データDL"), QStringLiteral("詳細予想起動"), &TForm1::BitBtn7Click,
              kBlue);
    addButton("SpeedButton2", 255, 35, QStringLiteral("バージョン情報"), QStringLiteral("バージョン情報"),
              &TForm1::SpeedButton2Click);
    addButton("SpeedButton5", 5, 65, QStringLiteral("HELP"), QStringLiteral("ヘルプ表示"), &TForm1::SpeedButton5Click);
    addButton("SpeedButton1", 130, 65, QStringLiteral("DLﾌｧｲﾙ削除"), QStringLiteral("ゴミファイル削除"),
              &TForm1::SpeedButton1Click);
    addButton("BitBtn4", 255, 65, QStringLiteral("検証ﾌｧｲﾙ出力"),
              QStringLiteral("競走馬データをEXCELで読めるCSVファイル変換"), &TForm1::BitBtn4Click);
    addButton("BitBtn12", 5, 95, QStringLiteral("検　証"), QStringLiteral("回収率検証"), &TForm1::BitBtn12Click);
    addButton("BitBtn15", 130, 95, QStringLiteral("CSV形式出力"),
              QStringLiteral("競走馬データをEXCELで読めるCSVファイル変換"), &TForm1::BitBtn15Click);
    addButton("BitBtn3", 255, 95, QStringLiteral("終　了"), QStringLiteral("ゾルベの終了"), &TForm1::BitBtn3Click, kRed);

    // The controls whose mouse-over turns the link labels back to black.
    for (const char *name : {"BitBtn12", "SpeedButton5", "SpeedButton2", "BitBtn3"}) {
        auto *button = m_panel1->findChild<QPushButton *>(QString::fromLatin1(name));
        button->setMouseTracking(true);
        button->installEventFilter(this);
    }
    buildLinkLabels();
}

QPushButton *TForm1::addButton(const char *name, int x, int y, const QString &caption, const QString &hint,
                               void (TForm1::*slot)(), const QColor &color)
{
    auto *button = new QPushButton(caption, m_panel1);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(x, y, kButtonWidth, kButtonHeight);
    button->setToolTip(hint);
    button->setFocusPolicy(Qt::TabFocus);
    if (color.isValid()) {
        QPalette palette = button->palette();
        palette.setColor(QPalette::ButtonText, color);
        button->setPalette(palette);
    }
    connect(button, &QPushButton::clicked, this, slot);
    return button;
}

void TForm1::buildLinkLabels()
{
    auto link = [this](const char *name, const QString &text, int y, int pixelSize) {
        auto *label = new QLabel(text, m_panel1);
        label->setObjectName(QString::fromLatin1(name));
        QFont f = font();
        f.setPixelSize(pixelSize);
        f.setBold(true);
        f.setUnderline(true);
        label->setFont(f);
        label->adjustSize();
        label->move((370 - 3 - label->width()) / 2, y);
        label->setMouseTracking(true);
        label->installEventFilter(this);
        return label;
    };
    m_label3 = link("Label3", fromUtf8Text(mainwindow::kHomepage), 130, 15);
    m_label4 = link("Label4", QStringLiteral("E-mail : ") + fromUtf8Text(mainwindow::kSupportMail), 152, 16);
    resetLinks();
}

void TForm1::buildMenus()
{
    auto item = [this](QMenu *menu, const char *name, const QString &caption, void (TForm1::*slot)()) {
        QAction *action = menu->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, slot);
    };
    m_popupMenu1 = new QMenu(this);
    m_popupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    item(m_popupMenu1, "N1", QStringLiteral("成績データ表示"), &TForm1::N1Click);
    item(m_popupMenu1, "N2", QStringLiteral("騎手データ"), &TForm1::N2Click);
    item(m_popupMenu1, "N3", QStringLiteral("調教師データ"), &TForm1::N3Click);
    item(m_popupMenu1, "IME1", QStringLiteral("TIMEデータ変換"), &TForm1::IME1Click);

    m_popupMenu4 = new QMenu(this);
    m_popupMenu4->setObjectName(QStringLiteral("PopupMenu4"));
    item(m_popupMenu4, "CSV1", QStringLiteral("競走馬CSV出力"), &TForm1::CSV1Click);
    item(m_popupMenu4, "CSV2", QStringLiteral("出馬表CSV出力"), &TForm1::CSV2Click);
    item(m_popupMenu4, "CSV3", QStringLiteral("成績CSV出力1"), &TForm1::CSV3Click);
    item(m_popupMenu4, "CSV21", QStringLiteral("成績CSV出力2"), &TForm1::CSV21Click);
    item(m_popupMenu4, "CSV4", QStringLiteral("タイムデータCSV形式出力"), &TForm1::CSV4Click);
}

void TForm1::buildStatusBar()
{
    auto *bar = new QFrame(this);
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setGeometry(0, kClientHeight - kStatusHeight, kClientWidth, kStatusHeight);
    bar->setAutoFillBackground(true);
    int x = 0;
    for (std::size_t i = 0; i < m_statusPanels.size(); ++i) {
        auto *panel = new QLabel(bar);
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panel->setGeometry(x, 1, kStatusWidths[i] - 2, kStatusHeight - 2);
        panel->setIndent(2);
        x += kStatusWidths[i];
        m_statusPanels[i] = panel;
    }
    bar->raise(); // over the bottom of Panel1
}

QString TForm1::statusText(int panel) const
{
    return m_statusPanels.at(static_cast<std::size_t>(panel))->text();
}

void TForm1::setStatusText(int panel, const QString &text)
{
    m_statusPanels.at(static_cast<std::size_t>(panel))->setText(text);
}

QPoint TForm1::popupMenu1Point() const
{
    return pos() + QPoint(210, 310);
}

QPoint TForm1::popupMenu4Point() const
{
    return pos() + QPoint(210, 390);
}

// ---------------------------------------------------------------- lifecycle

void TForm1::FormCreate()
{
    auto splash = std::make_unique<TForm2>();
    splash->showAndPaint();
    mainwindow::formCreate(m_app, m_desktop);
}

void TForm1::FormShow()
{
    setStatusText(1, fromUtf8Text(mainwindow::formShow(m_app)));
}

void TForm1::FormActivate()
{
    mainwindow::formActivate(m_app);
}

void TForm1::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // The data link is initialised once, when the window first appears.
    if (!m_shown && !event->spontaneous()) {
        m_shown = true;
        FormShow();
    }
}

bool TForm1::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate)
        FormActivate();
    return QWidget::event(event);
}

void TForm1::closeEvent(QCloseEvent *event)
{
    event->accept();
    m_forms.requestExit();
}

// ---------------------------------------------------------------- link labels

bool TForm1::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::Enter || type == QEvent::MouseMove) {
        if (watched == m_label3 || watched == m_label4) {
            setLinkHot(static_cast<QLabel *>(watched));
            // A label ignores mouse moves, which would then reach Panel1
            // and turn the label straight back.
            return type == QEvent::MouseMove;
        }
        resetLinks();
    } else if (type == QEvent::MouseButtonRelease && (watched == m_label3 || watched == m_label4)) {
        auto *mouse = static_cast<QMouseEvent *>(event);
        auto *label = static_cast<QLabel *>(watched);
        if (mouse->button() == Qt::LeftButton && label->rect().contains(mouse->position().toPoint())) {
            if (label == m_label3)
                Label3Click();
            else
                Label4Click();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TForm1::setLinkHot(QLabel *label)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, kBlue);
    label->setPalette(palette);
    label->setCursor(Qt::PointingHandCursor);
}

void TForm1::resetLinks()
{
    for (QLabel *label : {m_label3, m_label4}) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, Qt::black);
        label->setPalette(palette);
        label->unsetCursor();
    }
}

void TForm1::Label3Click()
{
    mainwindow::openHomepage(m_desktop);
}

void TForm1::Label4Click()
{
    mainwindow::openSupportMail(m_desktop);
}

// ---------------------------------------------------------------- commands

void TForm1::BitBtn1Click()
{
    if (mainwindow::chooseAndLoadRaceDay(m_app, m_desktop))
        m_forms.show(m_forms.form3());
}

void TForm1::BitBtn2Click()
{
    m_popupMenu1->popup(popupMenu1Point());
}

void TForm1::BitBtn10Click()
{
    setStatusText(0, fromUtf8Text(mainwindow::setupDataLink(m_app)));
}

void TForm1::BitBtn17Click()
{
    m_forms.show(m_forms.form16());
}

void TForm1::BitBtn7Click()
{
    m_forms.show(m_forms.form6());
}

void TForm1::SpeedButton2Click()
{
    m_forms.show(m_forms.aboutBox());
}

void TForm1::SpeedButton5Click()
{
    mainwindow::openHelp(m_app, m_desktop);
}

void TForm1::SpeedButton1Click()
{
    mainwindow::deleteDownloadFile(m_app, m_desktop);
}

void TForm1::BitBtn4Click()
{
    m_forms.show(m_forms.form14());
}

void TForm1::BitBtn12Click()
{
    m_forms.show(m_forms.form24());
}

void TForm1::BitBtn15Click()
{
    m_popupMenu4->popup(popupMenu4Point());
}

void TForm1::BitBtn3Click()
{
    m_forms.requestExit();
}

void TForm1::N1Click()
{
    if (mainwindow::chooseAndLoadResults(m_app, m_desktop))
        m_forms.show(m_forms.form8());
}

void TForm1::N2Click()
{
    m_forms.show(m_forms.form9());
}

void TForm1::N3Click()
{
    m_forms.show(m_forms.form13());
}

void TForm1::IME1Click()
{
    mainwindow::exportTimeCsv(m_app, m_desktop);
}
void TForm1::CSV1Click()
{
    mainwindow::exportHorseCsv(m_app, m_desktop);
}
void TForm1::CSV2Click()
{
    mainwindow::exportRaceCardCsv(m_app, m_desktop);
}
void TForm1::CSV3Click()
{
    mainwindow::exportResultsCsv1(m_app, m_desktop);
}
void TForm1::CSV21Click()
{
    mainwindow::exportResultsCsv2(m_app, m_desktop);
}
void TForm1::CSV4Click()
{
    mainwindow::exportTimeCsv(m_app, m_desktop);
}

} // namespace zorbe
