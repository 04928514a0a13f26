#include "db/qt/PersonDbWindow.h"

#include "db/PersonDetails.h"
#include "db/PersonPages.h"
#include "paper/PrintTarget.h"
#include "paper/qt/QtPageCanvas.h"
#include "paper/qt/QtPages.h"
#include "platform/Desktop.h"
#include "platform/ProfileFile.h"
#include "platform/qt/QtFonts.h"
#include "platform/qt/QtText.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <set>

namespace zorbe {
namespace {

constexpr int kKanaColumns = 5;
constexpr int kForeignButtonNumber = 45;

// The kana that end a row of the index, as the syllabary's rows go.
bool endsKanaRow(const std::string &caption)
{
    static const std::set<std::string> ends{"オ", "コ", "ソ", "ト", "ノ", "ホ", "モ", "ヨ", "ロ"};
    return ends.count(caption) > 0;
}

} // namespace

PersonDbWindow::PersonDbWindow(Setup setup, ProfileFile &settingsFile, TPrinter *printer, DesktopServices &desktop,
                               Hooks hooks, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_setup(std::move(setup))
    , m_settingsFile(settingsFile)
    , m_printer(printer)
    , m_desktop(desktop)
    , m_hooks(std::move(hooks))
{
    setObjectName(QString::fromLatin1(m_setup.objectName));
    setFont(windowsFont(QStringLiteral("ＭＳ Ｐゴシック"), 12));

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_scrollBox1 = new QScrollArea(this);
    m_scrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    m_scrollBox1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_scrollBox1->setBackgroundRole(QPalette::Base);
    m_paintBox1 = new PagePaintBox(m_scrollBox1, QSize(m_setup.pageBox.width, m_setup.pageBox.height),
                                   [this](QPainter &painter) { PaintBox1Paint(painter); });
    m_scrollBox1->setWidget(m_paintBox1);
    layout->addWidget(m_scrollBox1, 1);
    m_panel = buildPanel();
    layout->addWidget(m_panel);
    // The window keeps the size the user gave it, whatever the panel needs.
    layout->setSizeConstraint(QLayout::SetNoConstraint);

    // FormCreate: the size and position of the last visit.
    applyWindowGeometry(*this, readWindowGeometry(m_settingsFile, m_setup.section, m_setup.defaults),
                        m_setup.defaults);
}

PersonDbWindow::~PersonDbWindow() = default;

QWidget *PersonDbWindow::buildPanel()
{
    auto *panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    auto *column = new QVBoxLayout(panel);
    column->setContentsMargins(4, 4, 4, 4);
    column->setSpacing(4);

    m_comboBox1 = new QComboBox(panel);
    m_comboBox1->setObjectName(QStringLiteral("ComboBox1"));
    m_comboBox1->setEditable(true);
    m_comboBox1->setInsertPolicy(QComboBox::NoInsert);
    m_comboBox1->setMaxVisibleItems(25);
    m_comboBox1->setEditText(m_setup.initialListText);
    connect(m_comboBox1, &QComboBox::currentTextChanged, this, [this] { listTextChanged(); });
    column->addWidget(m_comboBox1);

    // The kana index: one row per row of the syllabary, the foreigners'
    // button after ワ.
    auto *grid = new QGridLayout;
    grid->setSpacing(1);
    m_kanaGroup = new QButtonGroup(this);
    m_kanaGroup->setExclusive(true);
    const std::vector<TKanaButton> &kana = *m_setup.kana;
    int row = 0, col = 0, number = 0;
    for (std::size_t i = 0; i < kana.size(); ++i) {
        const bool foreign = kana[i].filter && kana[i].filter->foreign;
        if (!foreign) {
            // The buttons' numbers run in the table's order, past the
            // foreigners' own and any number the window leaves unused.
            do
                ++number;
            while (number == kForeignButtonNumber || number == m_setup.unusedButtonNumber);
        }
        auto *b = new QToolButton(panel);
        b->setObjectName(QStringLiteral("SpeedButton%1").arg(foreign ? kForeignButtonNumber : number));
        b->setText(fromUtf8Text(kana[i].caption));
        b->setCheckable(true);
        b->setFocusPolicy(Qt::NoFocus);
        b->setFixedSize(foreign ? 53 : 26, 21);
        m_kanaGroup->addButton(b, static_cast<int>(i));
        m_kanaButtons.push_back(b);
        grid->addWidget(b, row, col, 1, foreign ? 2 : 1);
        connect(b, &QToolButton::clicked, this, [this, i] { pressKana(static_cast<int>(i)); });
        if (++col == kKanaColumns || endsKanaRow(kana[i].caption)) {
            col = 0;
            ++row;
        }
    }
    column->addLayout(grid);
    column->addStretch(1);

    auto *buttons = new QGridLayout;
    buttons->setSpacing(3);
    int placed = 0;
    auto add = [&](const char *name, const QString &caption, void (PersonDbWindow::*slot)()) {
        auto *b = new QPushButton(caption, panel);
        b->setObjectName(QString::fromLatin1(name));
        // As wide as the index above them, however long the caption.
        b->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
        buttons->addWidget(b, placed / m_setup.buttonColumns, placed % m_setup.buttonColumns);
        ++placed;
        connect(b, &QPushButton::clicked, this, slot);
    };
    add("BitBtn1", m_setup.titleCaption, &PersonDbWindow::TitleClick);
    add(m_setup.printName, m_setup.printCaption, &PersonDbWindow::PrintClick);
    add(m_setup.setupName, m_setup.setupCaption, &PersonDbWindow::SetupClick);
    add("BitBtn6", m_setup.otherCaption, &PersonDbWindow::OtherClick);
    add("BitBtn7", m_setup.resultsCaption, &PersonDbWindow::ResultsClick);
    column->addLayout(buttons);
    panel->setFixedWidth(panel->sizeHint().width());
    return panel;
}

QPushButton *PersonDbWindow::button(const char *name) const
{
    return m_panel->findChild<QPushButton *>(QString::fromLatin1(name));
}

// ---------------------------------------------------------------- list

void PersonDbWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        FormActivate();
}

void PersonDbWindow::FormActivate()
{
    m_paintFailed = false;
    std::vector<std::string> problems;
    try {
        loadDetails(problems);
    } catch (const std::exception &e) {
        problems.push_back(e.what());
    }
    // Each set of problems is told once, not on every visit.
    const std::string text = problemsText(problems);
    if (!text.empty() && text != m_reportedProblems)
        QTimer::singleShot(0, this, [this, text] { m_desktop.showMessage(text); });
    m_reportedProblems = text;
    pressKana(0);
}

void PersonDbWindow::pressKana(int index)
{
    if (index < 0 || index >= kanaCount())
        return;
    kanaButton(index)->setChecked(true);
    const TKanaButton &kana = (*m_setup.kana)[static_cast<std::size_t>(index)];
    // A button without a list of its own only shows itself pressed.
    if (!kana.filter)
        return;
    showList(fillList(*kana.filter));
}

void PersonDbWindow::showList(const std::vector<TListEntry> &entries)
{
    const QSignalBlocker block(m_comboBox1);
    m_comboBox1->clear();
    for (const TListEntry &e : entries)
        m_comboBox1->addItem(toQString(e.text), QVariant::fromValue<qulonglong>(e.person));
    if (entries.empty())
        m_comboBox1->setEditText(QString());
    else
        m_comboBox1->setCurrentIndex(0);
    listTextChanged();
}

void PersonDbWindow::listTextChanged()
{
    m_paintFailed = false;
    setWindowTitle(toQString(listCaption(fromQString(m_comboBox1->currentText()))));
    m_paintBox1->update();
}

std::optional<std::size_t> PersonDbWindow::selectedPerson() const
{
    const QString text = m_comboBox1->currentText();
    const int index = m_comboBox1->currentIndex();
    // A chosen line stands for its own person, also beside a namesake.
    if (index >= 0 && m_comboBox1->itemText(index) == text)
        return static_cast<std::size_t>(m_comboBox1->itemData(index).toULongLong());
    return findPerson(fromQString(text));
}

// ---------------------------------------------------------------- page

bool PersonDbWindow::drawPage(PageCanvas &canvas)
{
    const auto person = selectedPerson();
    if (!person)
        return false;
    drawPerson(screenPersonContext(canvas, screenPixelsPerInch(*m_paintBox1)), *person);
    return true;
}

void PersonDbWindow::PaintBox1Paint(QPainter &painter)
{
    QtPageCanvas canvas(painter, screenPixelsPerInch(*m_paintBox1));
    try {
        drawPage(canvas);
    } catch (const std::exception &e) {
        if (m_paintFailed)
            return;
        m_paintFailed = true;
        reportLater(*this, m_desktop, std::string("ページを表示できませんでした。\n") + e.what());
    }
}

void PersonDbWindow::PrintClick()
{
    const auto person = selectedPerson();
    // A list text that stands for nobody prints nothing.
    if (!person)
        return;
    printPage(m_printer, m_desktop, m_setup.printTitle, "ページを印刷できませんでした。\n",
              [&](const TPageContext &ctx) { drawPerson(ctx, *person); });
}

void PersonDbWindow::SetupClick()
{
    if (m_printer)
        m_printer->setup();
}

// ---------------------------------------------------------------- ways out

void PersonDbWindow::storeGeometry()
{
    storeWindowGeometry(m_settingsFile, m_setup.section, *this);
}

void PersonDbWindow::leaveFor(const std::function<void()> &next, bool storeFirst)
{
    if (storeFirst)
        storeGeometry();
    hide();
    if (next)
        next();
}

void PersonDbWindow::TitleClick()
{
    leaveFor(m_hooks.showMain, true);
}

void PersonDbWindow::OtherClick()
{
    leaveFor(m_hooks.showOther, m_setup.otherStoresGeometry);
}

void PersonDbWindow::ResultsClick()
{
    leaveFor(m_hooks.loadResults, true);
}

void PersonDbWindow::closeEvent(QCloseEvent *event)
{
    event->ignore();
    TitleClick();
}

} // namespace zorbe
