#include "verify/qt/TForm24.h"

#include "platform/Desktop.h"
#include "platform/Files.h"
#include "platform/ProfileFile.h"
#include "platform/qt/QtFonts.h"
#include "platform/qt/QtText.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QTableWidget>

namespace zorbe {
namespace {

constexpr int kRowHeight = 18;

QTableWidget *makeGrid(QWidget *parent, int n, const TGrid &model, QRect geometry, std::initializer_list<int> widths)
{
    auto *grid = new QTableWidget(model.rows(), model.cols(), parent);
    grid->setObjectName(QStringLiteral("StringGrid%1").arg(n));
    grid->setGeometry(geometry);
    grid->horizontalHeader()->hide();
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setDefaultSectionSize(kRowHeight);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setFont(windowsFont(QStringLiteral("ＭＳ ゴシック"), 12));
    // The cells are fixed-width texts in narrow columns: shown whole.
    grid->setTextElideMode(Qt::ElideNone);
    grid->setWordWrap(false);
    grid->setStyleSheet(QStringLiteral("QTableWidget::item { padding: 0px 1px; }"));
    int col = 0;
    for (int w : widths)
        grid->setColumnWidth(col++, w);
    return grid;
}

// Header row and column read like the fixed cells of a grid.
void showCell(QTableWidget &grid, int col, int row, const std::string &text)
{
    auto *item = grid.item(row, col);
    if (!item) {
        item = new QTableWidgetItem;
        grid.setItem(row, col, item);
    }
    item->setText(toQString(text));
    const bool fixed = row == 0 || (col == 0 && grid.columnCount() == 4);
    item->setBackground(fixed ? QColor(0xE4, 0xE4, 0xE4) : QColor(Qt::white));
    const bool figure = !fixed && grid.columnCount() == 4;
    item->setTextAlignment(figure ? (Qt::AlignRight | Qt::AlignVCenter) : (Qt::AlignLeft | Qt::AlignVCenter));
}

} // namespace

TForm24::TForm24(const ProfileFile &settings, DesktopServices &desktop, Hooks hooks, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_settings(settings)
    , m_desktop(desktop)
    , m_hooks(std::move(hooks))
{
    setObjectName(QStringLiteral("TForm24"));
    setWindowTitle(QStringLiteral("回収率計算（コース・クラス別）"));
    setFixedSize(1000, 612);
    buildGrids();
    buildPanel();
    showGrids();
}

void TForm24::buildGrids()
{
    const auto &g = m_rates.grids;
    m_grids[0] = makeGrid(this, 1, g[0], {8, 8, 384, 470}, {34, 26, 56, 36, 56, 50, 60, 40});
    m_grids[1] = makeGrid(this, 2, g[1], {400, 8, 290, 470}, {26, 34, 34, 34, 34, 34, 34, 18, 18});
    // Five characters in a column of 34 pixels.
    m_grids[1]->setFont(windowsFont(QStringLiteral("ＭＳ ゴシック"), 11));
    for (int n = 3; n <= 6; ++n)
        m_grids[static_cast<std::size_t>(n - 1)] =
            makeGrid(this, n, g[static_cast<std::size_t>(n - 1)], {8 + 248 * (n - 3), 486, 240, 6 * kRowHeight + 4},
                     {52, 64, 60, 56});
}

void TForm24::buildPanel()
{
    auto *files = new QGroupBox(QStringLiteral("成績ファイル"), this);
    files->setObjectName(QStringLiteral("GroupBox1"));
    files->setGeometry(700, 8, 292, 100);
    auto *picks = new QGroupBox(QStringLiteral("予想ﾌｧｲﾙ"), this);
    picks->setObjectName(QStringLiteral("GroupBox2"));
    picks->setGeometry(700, 114, 292, 56);
    m_venues = new QButtonGroup(this);
    m_pickTypes = new QButtonGroup(this);
    const QString pickCaptions[] = {QStringLiteral("本   紙"), QStringLiteral("虎の穴"), QStringLiteral("タ イ ム")};
    for (int n = 1; n <= 6; ++n) {
        const bool venue = n <= 3;
        auto *radio = new QRadioButton(venue ? QString() : pickCaptions[n - 4], venue ? files : picks);
        radio->setObjectName(QStringLiteral("RadioButton%1").arg(n));
        radio->setGeometry(venue ? QRect(12, 20 + 26 * (n - 1), 270, 24) : QRect(12 + 92 * (n - 4), 24, 88, 24));
        (venue ? m_venues : m_pickTypes)->addButton(radio, n);
        m_radios[static_cast<std::size_t>(n - 1)] = radio;
        if (venue)
            connect(radio, &QRadioButton::clicked, this, [this] { RadioButton3Click(); });
        else
            connect(radio, &QRadioButton::clicked, this,
                    [this, n] { RadioButton4Click(static_cast<PickType>(n - 3)); });
    }
    m_label85 = new QLabel(this);
    m_label85->setObjectName(QStringLiteral("Label85"));
    m_label85->setGeometry(700, 180, 292, 22);
    m_label86 = new QLabel(this);
    m_label86->setObjectName(QStringLiteral("Label86"));
    m_label86->setGeometry(700, 204, 292, 22);

    const auto button = [&](const char *name, const QString &caption, QRect geometry, auto slot) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setGeometry(geometry);
        connect(b, &QPushButton::clicked, this, slot);
    };
    button("BitBtn1", QStringLiteral("払戻ﾌｧｲﾙ選択"), QRect(700, 240, 140, 32), [this] { BitBtn1Click(); });
    button("BitBtn4", QStringLiteral("回収率保存"), QRect(852, 240, 140, 32), [this] { BitBtn4Click(); });
    button("BitBtn7", QStringLiteral("HTML出力"), QRect(700, 282, 140, 32), [this] { BitBtn7Click(); });
    button("BitBtn3", QStringLiteral("タイトル"), QRect(852, 282, 140, 32), [this] {
        if (m_hooks.showMain)
            m_hooks.showMain();
    });
}

void TForm24::FormActivate()
{
    m_radios[0]->setChecked(true);
    for (QTableWidget *grid : m_grids)
        grid->clearSelection();
    for (int col = 1; col <= 6; ++col)
        m_grids[1]->setColumnWidth(col, 34);
    m_grids[1]->setColumnWidth(7, 18);
    m_grids[1]->setColumnWidth(8, 18);
    m_folder = returnRateFolderSetting(m_settings);
}

void TForm24::showGrids()
{
    for (std::size_t g = 0; g < m_grids.size(); ++g) {
        const TGrid &model = m_rates.grids[g];
        for (int row = 0; row < model.rows(); ++row)
            for (int col = 0; col < model.cols(); ++col)
                showCell(*m_grids[g], col, row, model.cell(col, row));
    }
    m_label85->setText(toQString(m_rates.label85));
    m_label86->setText(toQString(m_rates.label86));
}

void TForm24::showCaptions()
{
    for (int n = 0; n < 3; ++n)
        m_radios[static_cast<std::size_t>(n)]->setText(toQString(m_rates.captions[static_cast<std::size_t>(n)]));
}

void TForm24::uncheckPickTypes()
{
    m_pickTypes->setExclusive(false);
    for (int n = 4; n <= 6; ++n)
        m_radios[static_cast<std::size_t>(n - 1)]->setChecked(false);
    m_pickTypes->setExclusive(true);
}

int TForm24::chosenVenue() const
{
    const int id = m_venues->checkedId();
    return id >= 1 && id <= 3 ? id - 1 : 0;
}

void TForm24::report(const std::exception &e)
{
    if (dynamic_cast<const ReturnRateError *>(&e))
        m_desktop.showMessage(e.what());
    else
        m_desktop.showError(e.what());
}

void TForm24::BitBtn1Click()
{
    m_rates.beginChoice();
    showCaptions();
    uncheckPickTypes();
    showGrids();
    const auto chosen = m_desktop.openFileDialog({kPayoutChooseTitle, kPayoutChooseFilter, WinPath(m_folder), {}});
    if (!chosen)
        return;
    try {
        m_rates.choosePayoutFile(*chosen);
    } catch (const std::exception &e) {
        report(e);
    }
    showCaptions();
    showGrids();
}

void TForm24::RadioButton3Click()
{
    m_rates.venueChosen();
    uncheckPickTypes();
}

void TForm24::RadioButton4Click(PickType type)
{
    try {
        m_rates.calculate(chosenVenue(), type, m_folder);
    } catch (const std::exception &e) {
        showGrids();
        report(e);
        return;
    }
    showGrids();
}

void TForm24::BitBtn4Click()
{
    try {
        if (m_rates.saveDay().clamped)
            m_desktop.showMessage("配当額が999,999円を超えたため、回収率ファイルには999999と書きました。");
    } catch (const std::exception &e) {
        report(e);
    }
}

void TForm24::BitBtn7Click()
{
    try {
        m_rates.writeHtml();
    } catch (const std::exception &e) {
        report(e);
    }
}

void TForm24::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        FormActivate();
}

void TForm24::closeEvent(QCloseEvent *event)
{
    event->ignore();
    if (m_hooks.showMain)
        m_hooks.showMain();
}

} // namespace zorbe
