#include "db/qt/TForm8.h"

#include "db/ResultPages.h"
#include "db/qt/DbWindowSupport.h"
#include "model/Results.h"
#include "paper/PrintTarget.h"
#include "paper/qt/QtPageCanvas.h"
#include "paper/qt/QtPages.h"
#include "platform/Desktop.h"
#include "platform/qt/QtFonts.h"
#include "platform/qt/QtText.h"
#include "shell/LabelTables.h"
#include "shell/Settings.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace zorbe {

TForm8::TForm8(const TResults &results, const LabelTables &labels, const SettingsSnapshot &settings,
               TPrinter *printer, DesktopServices &desktop, Hooks hooks, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_results(results)
    , m_labels(labels)
    , m_settings(settings)
    , m_printer(printer)
    , m_desktop(desktop)
    , m_hooks(std::move(hooks))
{
    setObjectName(QStringLiteral("Form8"));
    setWindowTitle(QStringLiteral("ゾルベ成績"));
    setFont(windowsFont(QStringLiteral("ＭＳ Ｐゴシック"), 12));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_scrollBox1 = new QScrollArea(this);
    m_scrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    m_scrollBox1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_scrollBox1->setBackgroundRole(QPalette::Base);
    m_paintBox1 = new PagePaintBox(m_scrollBox1, QSize(kResultsPageWidth, kResultsPageHeight),
                                   [this](QPainter &painter) { PaintBox1Paint(painter); });
    m_scrollBox1->setWidget(m_paintBox1);
    layout->addWidget(m_scrollBox1, 1);
    buildPanel();
    layout->addWidget(m_panel);
    resize(kResultsPageWidth + 24, kResultsPageHeight + 60);
}

TForm8::~TForm8() = default;

void TForm8::buildPanel()
{
    m_panel = new QFrame(this);
    m_panel->setObjectName(QStringLiteral("Panel1"));
    m_panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    auto *bar = new QHBoxLayout(m_panel);
    bar->setContentsMargins(4, 3, 4, 3);
    bar->setSpacing(2);

    // Group 1: one race down at most, all of them up on the summary.
    m_raceGroup = new QButtonGroup(this);
    m_raceGroup->setExclusive(false);
    for (int q = 1; q <= kRaces; ++q) {
        auto *b = new QToolButton(m_panel);
        b->setObjectName(QStringLiteral("SpeedButton%1").arg(q));
        b->setCheckable(true);
        b->setFixedSize(34, 24);
        b->setFocusPolicy(Qt::NoFocus);
        b->setVisible(false);
        m_raceGroup->addButton(b, q);
        m_raceButtons[static_cast<std::size_t>(q - 1)] = b;
        bar->addWidget(b);
        // The button's own toggling is overruled: a pressed race button is
        // the one down.
        connect(b, &QToolButton::clicked, this, [this, q] { RaceButtonPress(q); });
    }
    bar->addStretch(1);

    auto add = [this, bar](const char *name, const QString &caption, void (TForm8::*slot)()) {
        auto *b = new QPushButton(caption, m_panel);
        b->setObjectName(QString::fromLatin1(name));
        b->setMinimumWidth(58);
        bar->addWidget(b);
        connect(b, &QPushButton::clicked, this, slot);
        return b;
    };
    add("BitBtn3", QStringLiteral("レース"), &TForm8::BitBtn3Click);
    add("BitBtn6", QStringLiteral("ﾚｰｽ変更"), &TForm8::BitBtn6Click);
    add("BitBtn4", QStringLiteral("騎 手"), &TForm8::BitBtn4Click);
    add("BitBtn5", QStringLiteral("調教師"), &TForm8::BitBtn5Click);
    add("BitBtn1", QStringLiteral("ﾀｲﾄﾙ"), &TForm8::BitBtn1Click);
    add("BitBtn9", QStringLiteral("印刷"), &TForm8::BitBtn9Click);
    add("BitBtn8", QStringLiteral("設定"), &TForm8::BitBtn8Click);

    // The view the paint box shows: checked, the summary.
    m_checkBox1 = new QCheckBox(m_panel);
    m_checkBox1->setObjectName(QStringLiteral("CheckBox1"));
    m_checkBox1->setVisible(false);
    m_checkBox1->setChecked(true);
}

QPushButton *TForm8::button(const char *name) const
{
    return m_panel->findChild<QPushButton *>(QString::fromLatin1(name));
}

// ---------------------------------------------------------------- activation

void TForm8::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        FormActivate();
}

void TForm8::FormActivate()
{
    ++m_showing;
    m_failedPaint.reset();
    const int races = std::clamp(m_results.ResultCount, 0, kRaces);
    for (int q = 1; q <= kRaces; ++q) {
        QToolButton *b = raceButton(q);
        b->setChecked(false);
        b->setVisible(q <= races);
        // A race number that is not a number leaves the button without a
        // caption; its page reports the field.
        try {
            b->setText(q <= races ? fromUtf8Text(resultRaceButtonCaption(m_results, q)) : QString());
        } catch (const std::exception &) {
            b->setText(QString());
        }
    }
    m_checkBox1->setChecked(true);
    m_paintBox1->update();
}

// ---------------------------------------------------------------- paint

bool TForm8::showsSummary() const
{
    return m_checkBox1->isChecked();
}

int TForm8::shownRace() const
{
    if (showsSummary())
        return 0;
    const int race = m_raceGroup->checkedId();
    return race > 0 ? race : 0;
}

TPageContext TForm8::drawPage(PageCanvas &canvas)
{
    const int races = std::clamp(m_results.ResultCount, 0, kRaces);
    const int race = shownRace();
    for (int q = 1; q <= kRaces; ++q) {
        QToolButton *b = raceButton(q);
        if (race == 0)
            b->setChecked(false);
        // The shown race's button stays down and cannot be pressed again.
        b->setEnabled(q <= races && q != race);
    }
    button("BitBtn3")->setEnabled(race != 0);
    const TResultsPageSettings settings{m_settings.font, m_settings.color};
    return DrawResultsScreen(canvas, m_results, race, m_labels, settings, screenPixelsPerInch(*m_paintBox1));
}

void TForm8::PaintBox1Paint(QPainter &painter)
{
    QtPageCanvas canvas(painter, screenPixelsPerInch(*m_paintBox1));
    const std::pair<int, int> key{shownRace(), m_showing};
    try {
        drawPage(canvas);
    } catch (const std::exception &e) {
        if (m_failedPaint == key)
            return;
        m_failedPaint = key;
        const std::string what = key.first == 0 ? std::string("成績の一覧") : std::to_string(key.first) + "レース目の成績";
        reportLater(*this, m_desktop, what + "を表示できませんでした。\n" + e.what());
    }
}

// ---------------------------------------------------------------- commands

void TForm8::RaceButtonPress(int race)
{
    if (race < 1 || race > kRaces)
        return;
    for (QToolButton *b : m_raceButtons)
        b->setChecked(b == raceButton(race));
    m_checkBox1->setChecked(false);
    m_paintBox1->update();
}

void TForm8::BitBtn3Click()
{
    m_checkBox1->setChecked(true);
    m_paintBox1->update();
}

void TForm8::BitBtn9Click()
{
    // The summary is printed, whichever page the screen shows.
    const TResultsPageSettings settings{m_settings.font, m_settings.color};
    printPage(m_printer, m_desktop, kResultsPrintTitle, "成績の一覧を印刷できませんでした。\n",
              [&](const TPageContext &ctx) { DrawResultsSummary(ctx, m_results, m_labels, settings); });
}

void TForm8::BitBtn8Click()
{
    if (m_printer)
        m_printer->setup();
}

void TForm8::leaveFor(const std::function<void()> &next)
{
    hide();
    if (next)
        next();
}

void TForm8::BitBtn1Click()
{
    leaveFor(m_hooks.showMain);
}

void TForm8::BitBtn4Click()
{
    leaveFor(m_hooks.showJockeys);
}

void TForm8::BitBtn5Click()
{
    leaveFor(m_hooks.showTrainers);
}

void TForm8::BitBtn6Click()
{
    leaveFor(m_hooks.loadResults);
}

void TForm8::closeEvent(QCloseEvent *event)
{
    event->ignore();
    BitBtn1Click();
}

} // namespace zorbe
