#include "paper/qt/TForm3.h"

#include "model/RaceCard.h"
#include "paper/Newspaper.h"
#include "paper/RaceSelection.h"
#include "paper/qt/QtPrinter.h"
#include "paper/qt/TForm10.h"
#include "platform/Desktop.h"
#include "platform/Fields.h"
#include "platform/qt/QtText.h"
#include "shell/AppState.h"
#include "verify/PickFiles.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QToolButton>

#include <algorithm>

namespace zorbe {
namespace {

// The batch's progress on the progress window; the user interface keeps
// running between races so that "印刷中止" can be pressed.
class WindowProgress : public TBatchProgress
{
public:
    explicit WindowProgress(TForm10 &window) : m_window(window) {}

    void show(const std::string &textCp932) override
    {
        m_window.showProgress(toQString(textCp932));
        QCoreApplication::processEvents();
    }
    bool cancelled() override
    {
        QCoreApplication::processEvents();
        return m_window.cancelRequested();
    }

private:
    TForm10 &m_window;
};

QLabel *makeLabel(QWidget *parent, const char *name, const QString &text, QRect geometry)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(geometry);
    return label;
}

QPushButton *makeButton(QWidget *parent, const char *name, const QString &text, QRect geometry)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(geometry);
    return button;
}

} // namespace

TUpDown::TUpDown(QLineEdit &edit, int minimum, int maximum, bool wrap, QWidget *parent)
    : QWidget(parent)
    , m_edit(edit)
    , m_min(minimum)
    , m_max(maximum)
    , m_wrap(wrap)
{
    auto *up = new QToolButton(this);
    up->setObjectName(QStringLiteral("up"));
    up->setArrowType(Qt::UpArrow);
    up->setGeometry(0, 0, 16, 11);
    auto *down = new QToolButton(this);
    down->setObjectName(QStringLiteral("down"));
    down->setArrowType(Qt::DownArrow);
    down->setGeometry(0, 11, 16, 11);
    setFixedSize(16, 22);
    connect(up, &QToolButton::clicked, this, [this] { stepBy(1); });
    connect(down, &QToolButton::clicked, this, [this] { stepBy(-1); });
}

void TUpDown::stepBy(int steps)
{
    bool ok = false;
    const int value = m_edit.text().trimmed().toInt(&ok);
    if (!ok)
        return;
    int next = std::clamp(value, m_min, m_max) + steps;
    if (next > m_max)
        next = m_wrap ? m_min : m_max;
    else if (next < m_min)
        next = m_wrap ? m_max : m_min;
    m_edit.setText(QString::number(next));
}

TForm3::TForm3(AppState &app, TNewspaper &paper, TPrinter *printer, DesktopServices &desktop, Hooks hooks,
               QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_app(app)
    , m_paper(paper)
    , m_printer(printer)
    , m_desktop(desktop)
    , m_hooks(std::move(hooks))
{
    setObjectName(QStringLiteral("TForm3"));
    setWindowTitle(QStringLiteral("ゾルベ ＜レース選択＞"));
    setFixedSize(660, 480);

    m_label1 = makeLabel(this, "Label1", QString(), {16, 10, 628, 24});
    QFont heading = m_label1->font();
    heading.setPixelSize(16);
    heading.setBold(true);
    m_label1->setFont(heading);

    buildRaceList();
    buildSettingsPanel();
    buildScalePanel();
    buildButtons();
    m_form10 = std::make_unique<TForm10>();
}

TForm3::~TForm3() = default; // TForm10 is complete here

void TForm3::buildRaceList()
{
    // The captions are fixed-width texts: a fixed-pitch face keeps their
    // columns under each other.
    QFont fixed(QStringLiteral("IPAGothic"));
    fixed.setStyleHint(QFont::Monospace);
    fixed.setFixedPitch(true);
    fixed.setPixelSize(13);
    for (int r = 0; r < 12; ++r) {
        auto *box = new QCheckBox(this);
        box->setObjectName(QStringLiteral("CheckBox%1").arg(r + 1));
        box->setFont(fixed);
        box->setGeometry(16, 44 + 26 * r, 380, 24);
        box->setEnabled(false);
        m_races[static_cast<std::size_t>(r)] = box;
    }
    m_allRaces = new QCheckBox(QStringLiteral("全レース選択"), this);
    m_allRaces->setObjectName(QStringLiteral("CheckBox13"));
    m_allRaces->setGeometry(16, 364, 160, 24);
    connect(m_allRaces, &QCheckBox::clicked, this, [this] { CheckBox13Click(); });
}

void TForm3::buildSettingsPanel()
{
    auto *panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setGeometry(410, 44, 234, 184);
    makeLabel(panel, "Label2", QStringLiteral("（新聞設定）"), {8, 4, 218, 20});
    const auto row = [&](const char *name, int i) { return makeLabel(panel, name, QString(), {16, 26 + 20 * i, 210, 20}); };
    m_label8 = row("Label8", 0);
    m_label4 = row("Label4", 1);
    m_label3 = row("Label3", 2);
    m_label5 = row("Label5", 3);
    m_label6 = row("Label6", 4);
    m_label7 = row("Label7", 5);
    auto *text = makeButton(panel, "BitBtn6", QStringLiteral("テキスト出力"), {120, 150, 106, 26});
    text->setToolTip(QStringLiteral("W.A.R.S形式出力"));
    connect(text, &QPushButton::clicked, this, [this] { BitBtn6Click(); });
}

void TForm3::buildScalePanel()
{
    auto *panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel2"));
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setGeometry(410, 236, 234, 188);
    makeLabel(panel, "Label11", QStringLiteral("新聞印刷倍率"), {8, 4, 218, 20});
    const auto editRow = [&](int n, const QString &caption, int y, int min, int max, bool wrap) {
        QLabel *label = makeLabel(panel, "", caption, {8, y, 140, 22});
        auto *edit = new QLineEdit(panel);
        edit->setObjectName(QStringLiteral("Edit%1").arg(n));
        edit->setGeometry(152, y, 48, 22);
        auto *upDown = new TUpDown(*edit, min, max, wrap, panel);
        upDown->setObjectName(QStringLiteral("UpDown%1").arg(n));
        upDown->move(202, y);
        m_edits[static_cast<std::size_t>(n - 1)] = edit;
        m_upDowns[static_cast<std::size_t>(n - 1)] = upDown;
        return label;
    };
    editRow(1, QStringLiteral("縦 拡大/縮小（％）"), 26, 90, 120, true);
    editRow(2, QStringLiteral("横 拡大/縮小（％）"), 52, 95, 120, true);
    m_label27 = makeLabel(panel, "Label27", QString(), {8, 80, 218, 20});
    m_label12 = editRow(3, QString(), 102, 4, 30, false);
    m_label12->setObjectName(QStringLiteral("Label12"));
    m_label13 = editRow(4, QString(), 128, 5, 30, false);
    m_label13->setObjectName(QStringLiteral("Label13"));
    auto *reset = makeButton(panel, "BitBtn9", QStringLiteral("余白初期値"), {120, 156, 106, 26});
    reset->setToolTip(QStringLiteral("余白設定リセット"));
    connect(reset, &QPushButton::clicked, this, [this] { BitBtn9Click(); });
}

void TForm3::buildButtons()
{
    const int y = 436;
    auto *show = makeButton(this, "BitBtn1", QStringLiteral("新聞表示"), {16, y, 100, 30});
    connect(show, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    auto *print = makeButton(this, "BitBtn2", QStringLiteral("印     刷"), {124, y, 100, 30});
    connect(print, &QPushButton::clicked, this, [this] { BitBtn2Click(); });
    auto *setup = makeButton(this, "BitBtn5", QStringLiteral("設  定"), {232, y, 80, 30});
    connect(setup, &QPushButton::clicked, this, [this] { printer().setup(); });
    auto *raceSelect = makeButton(this, "BitBtn7", QStringLiteral("レース選択"), {430, y, 100, 30});
    connect(raceSelect, &QPushButton::clicked, this, [this] {
        ClearLoadedOdds(m_paper.card);
        if (m_hooks.loadRaceDay)
            m_hooks.loadRaceDay();
    });
    auto *title = makeButton(this, "BitBtn3", QStringLiteral("タイトル"), {544, y, 100, 30});
    connect(title, &QPushButton::clicked, this, [this] {
        ClearLoadedOdds(m_paper.card);
        if (m_hooks.showMain)
            m_hooks.showMain();
    });
}

TPrinter &TForm3::printer()
{
    if (m_printer)
        return *m_printer;
    if (!m_ownPrinter) {
        auto own = std::make_unique<QtPrinter>();
        own->setPdfNotice([this](const std::string &text) { m_desktop.showMessage(text); });
        m_ownPrinter = std::move(own);
    }
    return *m_ownPrinter;
}

void TForm3::FormActivate()
{
    if (m_hooks.releaseRaceButtons)
        m_hooks.releaseRaceButtons();
    const TRaceCard &card = m_paper.card;
    if (!card.Form3Caption.empty())
        setWindowTitle(toQString(card.Form3Caption));
    m_label1->setText(toQString(card.Form3Label1));

    m_paper.settings = paperSettingsFrom(m_app.settings, m_app.settingsFile);
    m_paper.settings.color = m_app.settingsFile.readString("Color", "Color", "1");
    setPrintEdits(readPrintEdits(m_app.settingsFile, m_paper.settings.style()));
    showSettings();
    showRaces();
}

void TForm3::showSettings()
{
    const TRaceSelectionTexts t = raceSelectionTexts(m_paper.settings);
    m_upDowns[2]->setMinimum(t.topMin);
    m_upDowns[3]->setMinimum(t.leftMin);
    m_label12->setText(fromUtf8Text(t.label12));
    m_label13->setText(fromUtf8Text(t.label13));
    m_label3->setText(fromUtf8Text(t.label3));
    m_label4->setText(fromUtf8Text(t.label4));
    m_label5->setText(fromUtf8Text(t.label5));
    m_label6->setText(fromUtf8Text(t.label6));
    m_label7->setText(fromUtf8Text(t.label7));
    m_label8->setText(fromUtf8Text(t.label8));
    m_label27->setText(fromUtf8Text(t.label27));
    for (QLabel *pickLabel : {m_label5, m_label6, m_label7})
        pickLabel->setVisible(t.showPickLabels);
}

void TForm3::showRaces()
{
    for (QCheckBox *box : m_races) {
        box->setEnabled(false);
        box->setText(QString());
        box->setChecked(false);
    }
    m_allRaces->setChecked(false);
    try {
        buildRaceSelection(m_paper);
    } catch (const ConversionError &e) {
        m_desktop.showError(e.what());
        return;
    }
    const int races = std::clamp(m_paper.card.RaceCount, 0, TRaceCard::kRaces);
    for (int r = 0; r < races; ++r) {
        QCheckBox *box = m_races[static_cast<std::size_t>(r)];
        box->setText(toQString(m_paper.RaceCaption[static_cast<std::size_t>(r)]));
        box->setEnabled(true);
    }
    // The programme page prints two races on one sheet, from the odd race.
    if (m_paper.settings.style() == PageStyle::Programme)
        for (int r = 1; r < 12; r += 2)
            m_races[static_cast<std::size_t>(r)]->setEnabled(false);
}

void TForm3::setPrintEdits(const TPrintEdits &e)
{
    m_edits[0]->setText(toQString(e.vScale));
    m_edits[1]->setText(toQString(e.hScale));
    m_edits[2]->setText(toQString(e.topMm));
    m_edits[3]->setText(toQString(e.leftMm));
}

TPrintEdits TForm3::printEdits() const
{
    return {fromQString(m_edits[0]->text()), fromQString(m_edits[1]->text()), fromQString(m_edits[2]->text()),
            fromQString(m_edits[3]->text())};
}

void TForm3::CheckBox13Click()
{
    const bool all = m_allRaces->isChecked();
    const int races = std::clamp(m_paper.card.RaceCount, 0, TRaceCard::kRaces);
    for (int r = 0; r < races; ++r)
        m_races[static_cast<std::size_t>(r)]->setChecked(all);
}

void TForm3::BitBtn1Click()
{
    savePrintEdits(m_app.settingsFile, m_paper.settings.style(), printEdits());
    if (m_hooks.showNewspaper)
        m_hooks.showNewspaper();
}

void TForm3::BitBtn9Click()
{
    setPrintEdits(resetMargins(m_paper.settings.style()));
}

void TForm3::BitBtn2Click()
{
    if (m_printing)
        return;
    m_printing = true;
    const TPrintEdits edits = printEdits();
    savePrintEdits(m_app.settingsFile, m_paper.settings.style(), edits);
    std::array<bool, 12> checked{};
    for (std::size_t r = 0; r < checked.size(); ++r)
        checked[r] = m_races[r]->isChecked();

    m_form10->clearCancel();
    setEnabled(false);
    WindowProgress progress(*m_form10);
    const TBatchResult result = BatchPrint(m_paper, checked, edits, printer(), progress);
    m_form10->hide();
    setEnabled(true);
    m_printing = false;
    if (result.end == BatchEnd::Failed)
        m_desktop.showError(result.error);
}

void TForm3::BitBtn6Click()
{
    // The day's three pick files; the button and the cursor come back
    // whether or not the files could be written.
    auto *button = findChild<QPushButton *>(QStringLiteral("BitBtn6"));
    button->setEnabled(false);
    m_desktop.setBusy(true);
    try {
        const TPaperSettings &s = m_paper.settings;
        WritePickFiles({m_paper.card, m_paper.masters, {pickFolderSetting(m_app.settingsFile), s.sinba, s.kako}},
                       m_paper.figures);
    } catch (const std::exception &e) {
        m_desktop.setBusy(false);
        button->setEnabled(true);
        m_desktop.showError(e.what());
        return;
    }
    m_desktop.setBusy(false);
    button->setEnabled(true);
}

void TForm3::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // A window restored by the window system keeps what the user checked.
    if (!event->spontaneous())
        FormActivate();
}

void TForm3::closeEvent(QCloseEvent *event)
{
    event->ignore();
    if (m_printing) {
        m_form10->cancelButton()->click();
        return;
    }
    if (m_hooks.showMain)
        m_hooks.showMain();
}

} // namespace zorbe
