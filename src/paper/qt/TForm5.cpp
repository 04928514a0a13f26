#include "paper/qt/TForm5.h"

#include "paper/Newspaper.h"
#include "paper/PagePaths.h"
#include "paper/PrintTarget.h"
#include "paper/qt/QtPageCanvas.h"
#include "paper/qt/QtPages.h"
#include "paper/qt/QtPrinter.h"
#include "platform/Desktop.h"
#include "platform/ProfileFile.h"
#include "platform/qt/QtFonts.h"
#include "platform/qt/QtText.h"

#include <QAction>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <charconv>

namespace zorbe {

namespace {

constexpr int kPanelHeight = 26;
constexpr int kRaces = 12;
// A4, for a printer that cannot tell its sheet (the page box turns it as
// the style prints).
const QSizeF kA4LandscapeInches(297 / 25.4, 210 / 25.4);

// The zoom spinner: two arrows, up adds a step and down takes one away.
class UpDown : public QWidget
{
public:
    UpDown(QWidget *parent, std::function<void(bool up)> onClick)
        : QWidget(parent)
    {
        setObjectName(QStringLiteral("UpDown1"));
        auto *layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        for (const bool up : {true, false}) {
            auto *arrow = new QToolButton(this);
            arrow->setObjectName(up ? QStringLiteral("UpDown1Up") : QStringLiteral("UpDown1Down"));
            arrow->setArrowType(up ? Qt::UpArrow : Qt::DownArrow);
            arrow->setFixedSize(16, 11);
            arrow->setFocusPolicy(Qt::NoFocus);
            arrow->setAutoRepeat(false);
            layout->addWidget(arrow);
            connect(arrow, &QToolButton::clicked, this, [onClick, up] { onClick(up); });
        }
    }
};

// The print and printer set-up glyphs: a printer, and a printer with a
// sheet being set.
QIcon printerIcon(bool setup)
{
    QPixmap pixmap(18, 18);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    p.drawRect(5, 1, 8, 6);
    p.setBrush(QColor(192, 192, 192));
    p.drawRect(1, 7, 16, 6);
    p.setBrush(Qt::white);
    p.drawRect(4, 11, 10, 5);
    if (setup) {
        p.setPen(QPen(QColor(0, 0, 160), 2));
        p.drawLine(11, 3, 16, 3);
        p.drawLine(13, 1, 13, 5);
    } else {
        p.setPen(Qt::black);
        p.drawLine(6, 13, 12, 13);
    }
    return QIcon(pixmap);
}

QToolButton *toolButton(QWidget *parent, const char *name, const QString &caption, const QString &hint)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(caption);
    button->setToolTip(hint);
    button->setFocusPolicy(Qt::NoFocus);
    button->setAutoRaise(true);
    return button;
}

// "１" … "９", "１０" … "１２".
QString wideNumber(int n)
{
    QString text;
    for (const QChar c : QString::number(n))
        text += QChar(c.unicode() - u'0' + 0xFF10);
    return text;
}

std::optional<int> parseZoom(const std::string &text)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::string raceLabel(int race)
{
    return race >= 0 ? std::to_string(race + 1) + "R" : std::string();
}

} // namespace

// The page surface inside the scroll box.
class TForm5::PageBox : public QWidget
{
public:
    PageBox(TForm5 &form, QWidget *parent)
        : QWidget(parent)
        , m_form(form)
    {
        setObjectName(QStringLiteral("PaintBox1"));
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        m_form.PaintBox1Paint(painter);
    }

private:
    TForm5 &m_form;
};

TForm5::TForm5(ProfileFile &settingsFile, TNewspaper &paper, TPrinter *printer, DesktopServices &desktop, Hooks hooks,
               QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_settingsFile(settingsFile)
    , m_paper(paper)
    , m_printer(printer)
    , m_desktop(desktop)
    , m_hooks(std::move(hooks))
    , m_drawer(DrawScreenPage)
{
    setObjectName(QStringLiteral("Form5"));
    setFont(windowsFont(QStringLiteral("ＭＳ Ｐゴシック"), 12));
    resize(1024, 720);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    // The race buttons come and go; the window keeps the size the user gave it.
    layout->setSizeConstraint(QLayout::SetNoConstraint);
    buildPanel1();
    buildScrollBox();
    buildPopupMenu();
    layout->addWidget(m_panel1);
    layout->addWidget(m_scrollBox1, 1);
    applyButtonBar(false);

    // Arrow keys scroll the page wherever the focus is in the window.
    installEventFilter(this);
    for (QWidget *child : findChildren<QWidget *>())
        if (child->window() == this)
            child->installEventFilter(this);
}

TForm5::~TForm5() = default;

// ---------------------------------------------------------------- layout

void TForm5::buildPanel1()
{
    m_panel1 = new QFrame(this);
    m_panel1->setObjectName(QStringLiteral("Panel1"));
    m_panel1->setFixedHeight(kPanelHeight);
    m_panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    auto *bar = new QHBoxLayout(m_panel1);
    bar->setContentsMargins(2, 1, 2, 1);
    bar->setSpacing(1);

    m_speedButton1 = toolButton(m_panel1, "SpeedButton1", QString(), QStringLiteral("印刷"));
    m_speedButton1->setIcon(printerIcon(false));
    connect(m_speedButton1, &QToolButton::clicked, this, &TForm5::SpeedButton1Click);
    m_speedButton2 = toolButton(m_panel1, "SpeedButton2", QString(), QStringLiteral("プリンター設定"));
    m_speedButton2->setIcon(printerIcon(true));
    connect(m_speedButton2, &QToolButton::clicked, this, &TForm5::SpeedButton2Click);
    bar->addWidget(m_speedButton1);
    bar->addWidget(m_speedButton2);
    bar->addSpacing(6);

    m_raceGroup = new QButtonGroup(this);
    m_raceGroup->setExclusive(true);
    for (int r = 0; r < kRaces; ++r) {
        const QString caption = QString::number(r + 1) + QStringLiteral("R");
        const std::string name = "SpeedButton" + std::to_string(r + 3);
        auto *button = toolButton(m_panel1, name.c_str(), caption, caption + QStringLiteral("表示"));
        button->setCheckable(true);
        button->setFixedWidth(30);
        button->setEnabled(false);
        button->setVisible(false);
        m_raceGroup->addButton(button, r);
        m_raceButtons[static_cast<std::size_t>(r)] = button;
        bar->addWidget(button);
        connect(button, &QToolButton::clicked, this, [this, r] { RaceButtonClick(r); });
    }
    bar->addSpacing(8);

    auto *label5 = new QLabel(QStringLiteral("ZoomScale"), m_panel1);
    label5->setObjectName(QStringLiteral("Label5"));
    m_edit1 = new QLineEdit(QString::number(m_zoom), m_panel1);
    m_edit1->setObjectName(QStringLiteral("Edit1"));
    m_edit1->setReadOnly(true);
    m_edit1->setFixedWidth(32);
    m_upDown1 = new UpDown(m_panel1, [this](bool up) { UpDown1Click(up); });
    bar->addWidget(label5);
    bar->addWidget(m_edit1);
    bar->addWidget(m_upDown1);
    bar->addSpacing(8);

    auto *selection = toolButton(m_panel1, "SpeedButton15", QStringLiteral("選択"), QStringLiteral("一括印刷画面へ"));
    connect(selection, &QToolButton::clicked, this, &TForm5::SpeedButton15Click);
    auto *title = toolButton(m_panel1, "SpeedButton17", QStringLiteral("ﾀｲﾄﾙ"), QStringLiteral("起動画面へ"));
    connect(title, &QToolButton::clicked, this, &TForm5::SpeedButton17Click);
    auto *loader = toolButton(m_panel1, "BitBtn2", QStringLiteral("ﾚｰｽ選択"), QString());
    loader->setAutoRaise(false);
    connect(loader, &QToolButton::clicked, this, &TForm5::BitBtn2Click);
    bar->addWidget(selection);
    bar->addWidget(title);
    bar->addWidget(loader);
    bar->addStretch(1);

    connect(m_panel1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &at) { m_popupMenu1->popup(m_panel1->mapToGlobal(at)); });
}

void TForm5::buildScrollBox()
{
    m_scrollBox1 = new QScrollArea(this);
    m_scrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    m_scrollBox1->setWidgetResizable(false);
    m_scrollBox1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_scrollBox1->horizontalScrollBar()->setSingleStep(kLineAcross);
    m_scrollBox1->verticalScrollBar()->setSingleStep(kLineDown);
    m_paintBox1 = new PageBox(*this, m_scrollBox1);
    m_paintBox1->setFixedSize(pageBoxSize(m_zoom));
    m_scrollBox1->setWidget(m_paintBox1);
    connect(m_paintBox1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &at) { m_popupMenu1->popup(m_paintBox1->mapToGlobal(at)); });
}

void TForm5::buildPopupMenu()
{
    m_popupMenu1 = new QMenu(this);
    m_popupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    auto add = [this](const char *name, const QString &caption, void (TForm5::*slot)()) {
        QAction *action = m_popupMenu1->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        if (slot)
            connect(action, &QAction::triggered, this, slot);
        return action;
    };
    add("N18", QStringLiteral("　印　　　　刷"), &TForm5::N18Click);
    add("N19", QStringLiteral("　プリンター設定"), &TForm5::SpeedButton2Click);
    m_n13 = add("N13", QStringLiteral(" 拡大"), &TForm5::N13Click);
    m_n14 = add("N14", QStringLiteral(" 縮小"), &TForm5::N14Click);
    for (int r = 0; r < kRaces; ++r) {
        const QString caption = (r < 9 ? QStringLiteral("　") : QString()) + wideNumber(r + 1) + QStringLiteral("レース表示");
        const std::string name = "N" + std::to_string(r + 1);
        QAction *item = add(name.c_str(), caption, nullptr);
        item->setEnabled(r == 0);
        item->setVisible(r == 0);
        connect(item, &QAction::triggered, this, [this, r] {
            m_raceButtons[static_cast<std::size_t>(r)]->setChecked(true);
            RaceButtonClick(r);
        });
        m_raceItems[static_cast<std::size_t>(r)] = item;
    }
    add("N15", QStringLiteral(" 選択画面へ"), &TForm5::N15Click);
    add("N16", QStringLiteral(" タイトルへ"), &TForm5::N16Click);
    add("N17", QStringLiteral(" レース選択"), &TForm5::N17Click);
}

// botan "0": the tool bar docked at the top, the menu only by its commands.
// Otherwise the page fills the window and the menu opens on a right click.
void TForm5::applyButtonBar(bool undocked)
{
    m_autoPopup = undocked;
    m_panel1->setVisible(!undocked);
    const Qt::ContextMenuPolicy policy = undocked ? Qt::CustomContextMenu : Qt::PreventContextMenu;
    m_panel1->setContextMenuPolicy(policy);
    m_paintBox1->setContextMenuPolicy(policy);
}

// ---------------------------------------------------------------- activation

void TForm5::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        FormActivate();
}

void TForm5::FormActivate()
{
    ++m_showing;
    m_failedPaint.reset();
    // A stored zoom that is not a number or out of range leaves the current one.
    if (const auto stored = parseZoom(m_settingsFile.readString("Zoom", "Scale", "110")))
        setZoom(*stored);
    // The style may have changed since the window was last shown, and with
    // it the way the sheet lies.
    m_paintBox1->setFixedSize(pageBoxSize(m_zoom));
    m_edit1->setText(QString::number(m_zoom));
    applyButtonBar(m_settingsFile.readString("botan", "botan", "0") != "0");

    const int races = std::clamp(m_paper.card.RaceCount, 0, kRaces);
    for (int r = races; r < kRaces; ++r) {
        m_raceButtons[static_cast<std::size_t>(r)]->setEnabled(false);
        m_raceItems[static_cast<std::size_t>(r)]->setVisible(false);
    }
    m_raceGroup->setExclusive(true);
    m_raceButtons[0]->setChecked(true);
    setWindowTitle(toQString(m_paper.card.Form3Label1));
    m_paintBox1->update();
}

// ---------------------------------------------------------------- paint

int TForm5::screenPpi() const
{
    return screenPixelsPerInch(*m_paintBox1);
}

int TForm5::pressedRace() const
{
    return m_raceGroup->checkedId();
}

void TForm5::showRaceControls()
{
    m_speedButton1->setEnabled(true);
    m_speedButton2->setEnabled(true);
    const int races = std::clamp(m_paper.card.RaceCount, 0, kRaces);
    for (int r = 0; r < races; ++r) {
        m_raceButtons[static_cast<std::size_t>(r)]->setEnabled(true);
        m_raceButtons[static_cast<std::size_t>(r)]->setVisible(true);
        m_raceItems[static_cast<std::size_t>(r)]->setEnabled(true);
        m_raceItems[static_cast<std::size_t>(r)]->setVisible(true);
    }
    // A race-programme page shows an odd race and the race after it; the
    // menu, the only way to a race without the tool bar, follows the buttons.
    if (m_paper.settings.style() == PageStyle::Programme)
        for (int r = 1; r < kRaces; r += 2) {
            m_raceButtons[static_cast<std::size_t>(r)]->setEnabled(false);
            m_raceItems[static_cast<std::size_t>(r)]->setEnabled(false);
        }
}

TPageContext TForm5::drawPage(PageCanvas &canvas)
{
    const QString percent = QString::number(m_zoom) + QStringLiteral("%");
    m_n14->setText(QStringLiteral(" 縮小 x　") + percent);
    m_n13->setText(QStringLiteral(" 拡大 x　") + percent);
    // The buttons come before the page, so that a race whose page cannot be
    // drawn still leaves the others to choose from.
    showRaceControls();
    const int race = pressedRace();
    if (race >= 0)
        pageSpan() = makeRaceSpan(race, m_paper.RunnerCounts);
    return m_drawer(canvas, m_paper, m_zoom, screenPpi());
}

void TForm5::PaintBox1Paint(QPainter &painter)
{
    const PaintKey key{pressedRace(), m_zoom, m_showing};
    QtPageCanvas canvas(painter, screenPpi());
    try {
        drawPage(canvas);
    } catch (const std::exception &e) {
        // What was drawn stays on the screen. The user hears of it once for
        // this page, not on every repaint.
        if (m_failedPaint == key)
            return;
        m_failedPaint = key;
        reportPaintError(raceLabel(key.race) + "の新聞を表示できませんでした。\n" + e.what());
    }
}

void TForm5::reportPaintError(const std::string &text)
{
    // Not from inside the paint: a message box would run the event loop
    // in the middle of it.
    QTimer::singleShot(0, this, [this, text] { m_desktop.showError(text); });
}

QSize TForm5::pageBoxSize(int zoom) const
{
    QSizeF sheet = kA4LandscapeInches;
    if (const auto *qtPrinter = dynamic_cast<const QtPrinter *>(m_printer))
        sheet = qtPrinter->pageSizeInches();
    const PageBoxSize box = screenPageBoxSize(m_paper, zoom, screenPpi(), sheet.width(), sheet.height());
    return {box.width, box.height};
}

// ---------------------------------------------------------------- commands

void TForm5::RaceButtonClick(int race)
{
    if (race >= 0 && race < kRaces && !m_raceButtons[static_cast<std::size_t>(race)]->isChecked())
        m_raceButtons[static_cast<std::size_t>(race)]->setChecked(true);
    m_paintBox1->update();
}

bool TForm5::setZoom(int zoom)
{
    if (zoom == m_zoom || zoom < kMinZoom || zoom > kMaxZoom)
        return false;
    m_zoom = zoom;
    m_edit1->setText(QString::number(m_zoom));
    m_paintBox1->setFixedSize(pageBoxSize(m_zoom));
    m_paintBox1->update();
    return true;
}

void TForm5::UpDown1Click(bool up)
{
    setZoom(m_zoom + (up ? kZoomStep : -kZoomStep));
}

void TForm5::N13Click()
{
    setZoom(m_zoom + kZoomStep);
}

void TForm5::N14Click()
{
    setZoom(m_zoom - kZoomStep);
}

void TForm5::SpeedButton1Click()
{
    print(PrintPath::DisplayButton);
}

void TForm5::N18Click()
{
    print(PrintPath::Popup);
}

void TForm5::print(PrintPath path)
{
    if (!m_printer) {
        m_desktop.showError("印刷できません（プリンターがありません）。");
        return;
    }
    const int race = pressedRace();
    if (race >= 0)
        pageSpan() = makeRaceSpan(race, m_paper.RunnerCounts);
    const TPrintEdits edits = m_hooks.printEdits ? m_hooks.printEdits() : TPrintEdits{};
    const std::string what = raceLabel(race) + "の新聞を印刷できませんでした。\n";

    ScopedBusyCursor busy(m_desktop);
    m_printer->setSheetOrientation(printedSheet(m_paper, path));
    std::unique_ptr<TPrintJob> job = m_printer->beginJob("Zorbe Print");
    if (!job) {
        m_desktop.showError(what + m_printer->errorText());
        return;
    }
    try {
        DrawPrintedPage(job->context(), m_paper, path, edits);
    } catch (const std::exception &e) {
        job->abort();
        m_desktop.showError(what + e.what());
        return;
    }
    if (!job->end())
        m_desktop.showError(what + m_printer->errorText());
}

void TForm5::SpeedButton2Click()
{
    if (m_printer && m_printer->setup())
        m_paintBox1->setFixedSize(pageBoxSize(m_zoom));
}

// ---------------------------------------------------------------- ways out

void TForm5::releaseRaceButtons()
{
    m_raceGroup->setExclusive(false);
    for (QToolButton *button : m_raceButtons)
        button->setChecked(false);
}

void TForm5::leave()
{
    // Releasable: the race selection window lets them all up on activation.
    m_raceGroup->setExclusive(false);
    for (int r = 0; r < kRaces; ++r) {
        m_raceButtons[static_cast<std::size_t>(r)]->setEnabled(false);
        m_raceButtons[static_cast<std::size_t>(r)]->setVisible(false);
        m_raceItems[static_cast<std::size_t>(r)]->setEnabled(false);
        m_raceItems[static_cast<std::size_t>(r)]->setVisible(false);
    }
    m_settingsFile.writeString("Zoom", "Scale", fromQString(m_edit1->text()));
}

void TForm5::toRaceSelection()
{
    leave();
    if (m_hooks.showRaceSelection)
        m_hooks.showRaceSelection();
    hide();
}

// "ﾀｲﾄﾙ" forgets the day's odds on the way to the main window (the next day
// loaded keeps odds it has no file for, and must not show these); the menu's
// " タイトルへ" and closing the window keep them.
void TForm5::toMain(bool clearOdds)
{
    leave();
    if (clearOdds)
        ClearLoadedOdds(m_paper.card);
    if (m_hooks.showMain)
        m_hooks.showMain();
    hide();
}

void TForm5::toRaceDayLoader()
{
    leave();
    ClearLoadedOdds(m_paper.card);
    hide();
    if (m_hooks.loadRaceDay)
        m_hooks.loadRaceDay();
}

void TForm5::SpeedButton15Click()
{
    toRaceSelection();
}

void TForm5::N15Click()
{
    toRaceSelection();
}

void TForm5::SpeedButton17Click()
{
    toMain(true);
}

void TForm5::N16Click()
{
    toMain(false);
}

void TForm5::BitBtn2Click()
{
    toRaceDayLoader();
}

void TForm5::N17Click()
{
    toRaceDayLoader();
}

void TForm5::closeEvent(QCloseEvent *event)
{
    event->ignore();
    toMain(false);
}

// ---------------------------------------------------------------- keys

// The arrows scroll the page a line. Key presses and key releases both come
// here, so one press of an arrow scrolls two lines.
bool TForm5::handleKey(int key)
{
    QScrollBar *across = m_scrollBox1->horizontalScrollBar();
    QScrollBar *down = m_scrollBox1->verticalScrollBar();
    switch (key) {
    case Qt::Key_Left:
        across->setValue(across->value() - kLineAcross);
        return true;
    case Qt::Key_Right:
        across->setValue(across->value() + kLineAcross);
        return true;
    case Qt::Key_Up:
        down->setValue(down->value() - kLineDown);
        return true;
    case Qt::Key_Down:
        down->setValue(down->value() + kLineDown);
        return true;
    default:
        return false;
    }
}

bool TForm5::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
        if (handleKey(static_cast<QKeyEvent *>(event)->key()))
            return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace zorbe
