#include "shell/qt/TForm16.h"

#include "paper/qt/TForm3.h"
#include "platform/qt/QtFonts.h"
#include "platform/qt/QtText.h"
#include "shell/AppState.h"
#include "shell/qt/WindowPlacement.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>

namespace zorbe {

namespace {

constexpr int kWidth = 472;
constexpr int kHeight = 396;
// The two columns of groups.
constexpr int kLeft = 8;
constexpr int kRight = 240;
constexpr int kColumn = 224;
constexpr int kRow = 44;

QRect box(int x, int y, int height = kRow)
{
    return {x, y, kColumn, height};
}

} // namespace

TForm16::TForm16(AppState &app, DesktopServices &desktop, Hooks hooks, QWidget *parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowCloseButtonHint)
    , m_app(app)
    , m_desktop(desktop)
    , m_hooks(std::move(hooks))
{
    setObjectName(QStringLiteral("Form16"));
    setWindowTitle(QStringLiteral("初期設定"));
    setFont(windowsFont(QStringLiteral("ＭＳ ゴシック"), 12));
    setFixedSize(kWidth, kHeight);

    using C = settingsdialog::Choices;
    addRadioGroup("GroupBox1", QStringLiteral("縦書／印刷表示"), box(kLeft, 8, 84), &C::insatu,
                  {{9, "過去三走（Ａ４）", "2", 12, 18},
                   {1, "過去四走（Ａ４）", "0", 12, 38},
                   {2, "過去五走（Ａ４）", "1", 12, 58}});
    addRadioGroup("GroupBox5", QStringLiteral("新聞の作成方法"), box(kRight, 8, 84), &C::sinbun,
                  {{16, "縦書き新聞ニホン風", "0", 12, 18},
                   {17, "横書き新聞ブック風", "1", 12, 38},
                   {14, "JRAプログラム風", "2", 12, 58}});
    addRadioGroup("GroupBox2", QStringLiteral("フォント指定"), box(kLeft, 98), &C::font,
                  {{4, "明    朝", "0", 12, 18}, {5, "ゴシック", "1", 112, 18}});
    addRadioGroup("GroupBox3", QStringLiteral("新聞予想"), box(kRight, 98), &C::yosou,
                  {{6, "無", "0", 12, 18}, {7, "有", "1", 112, 18}});
    addRadioGroup("GroupBox6", QStringLiteral("新馬障害予想"), box(kLeft, 148), &C::sinba,
                  {{20, "無  し", "0", 12, 18}, {21, "有  り", "1", 112, 18}});
    addRadioGroup("GroupBox7", QStringLiteral("カラー表示"), box(kRight, 148), &C::color,
                  {{3, "無し", "0", 12, 18}, {8, "有り", "1", 112, 18}});
    addRadioGroup("GroupBox8", QStringLiteral("オッズ表示"), box(kLeft, 198), &C::ozz,
                  {{22, "PAT", "0", 12, 18}, {23, "KOL", "1", 80, 18}, {10, "ZOR", "2", 148, 18}});
    addRadioGroup("GroupBox9", QStringLiteral("新聞レースボタン"), box(kRight, 198), &C::botan,
                  {{33, "ＯＮ", "0", 12, 18}, {34, "ＯＦＦ", "1", 112, 18}});
    buildDepthGroup();
    addRadioGroup("GroupBox10", QStringLiteral("タイム補正表示"), box(kRight, 248), &C::hosei,
                  {{15, "無し", "0", 12, 18}, {28, "有り", "1", 112, 18}});
    buildFolderRow();
    buildButtons();

    FormCreate();
    centreOnScreen(*this);
}

// ---------------------------------------------------------------- layout

QGroupBox *TForm16::addGroup(const char *name, const QString &caption, const QRect &geometry)
{
    auto *group = new QGroupBox(caption, this);
    group->setObjectName(QString::fromLatin1(name));
    group->setGeometry(geometry);
    return group;
}

void TForm16::addRadioGroup(const char *name, const QString &caption, const QRect &geometry,
                            std::string settingsdialog::Choices::*choice, std::initializer_list<RadioItem> buttons)
{
    RadioGroup group;
    group.box = addGroup(name, caption, geometry);
    group.choice = choice;
    for (const RadioItem &item : buttons) {
        auto *button = new QRadioButton(QString::fromUtf8(item.caption), group.box);
        button->setObjectName(QStringLiteral("RadioButton%1").arg(item.number));
        button->move(item.x, item.y);
        button->adjustSize();
        group.buttons.emplace_back(button, item.value);
    }
    m_groups.push_back(std::move(group));
}

void TForm16::buildDepthGroup()
{
    QGroupBox *group = addGroup("GroupBox4", QStringLiteral("予想方法"), box(kLeft, 248));
    auto *label = new QLabel(QStringLiteral("計算競走数"), group);
    label->setObjectName(QStringLiteral("Label1"));
    label->setGeometry(12, 18, 80, 22);
    m_edit4 = new QLineEdit(group);
    m_edit4->setObjectName(QStringLiteral("Edit4"));
    m_edit4->setGeometry(96, 18, 40, 22);
    m_edit4->setAlignment(Qt::AlignRight);
    m_upDown1 = new TUpDown(*m_edit4, 1, 5, false, group);
    m_upDown1->setObjectName(QStringLiteral("UpDown1"));
    m_upDown1->move(137, 18);
}

void TForm16::buildFolderRow()
{
    auto *label = new QLabel(QStringLiteral("PAT For Win の場所 参照ボタンを押して選択"), this);
    label->setObjectName(QStringLiteral("Label2"));
    label->setGeometry(kLeft, 300, 380, 18);
    m_edit3 = new QLineEdit(fromUtf8Text(settingsdialog::defaults::patwin), this);
    m_edit3->setObjectName(QStringLiteral("Edit3"));
    m_edit3->setGeometry(kLeft, 320, 372, 24);
    auto *browse = new QPushButton(QStringLiteral("参照"), this);
    browse->setObjectName(QStringLiteral("BitBtn3"));
    browse->setGeometry(388, 319, 76, 26);
    connect(browse, &QPushButton::clicked, this, [this] { BitBtn3Click(); });
}

void TForm16::buildButtons()
{
    auto *ok = new QPushButton(QStringLiteral("確　定"), this);
    ok->setObjectName(QStringLiteral("BitBtn1"));
    ok->setGeometry(144, 358, 88, 28);
    connect(ok, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    auto *cancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    cancel->setObjectName(QStringLiteral("BitBtn2"));
    cancel->setGeometry(240, 358, 88, 28);
    connect(cancel, &QPushButton::clicked, this, [this] { BitBtn2Click(); });
}

QRadioButton *TForm16::radioButton(int n) const
{
    return findChild<QRadioButton *>(QStringLiteral("RadioButton%1").arg(n));
}

QGroupBox *TForm16::group(const QString &caption) const
{
    for (QGroupBox *g : findChildren<QGroupBox *>())
        if (g->title() == caption)
            return g;
    return nullptr;
}

// ---------------------------------------------------------------- settings

void TForm16::FormCreate()
{
    m_edit3->setText(toQString(settingsdialog::formCreate(m_app.settingsFile, m_app.settings)));
}

void TForm16::FormActivate()
{
    select(settingsdialog::formActivate(m_app.settingsFile, m_app.settings));
}

void TForm16::select(const settingsdialog::Choices &choices)
{
    for (const RadioGroup &group : m_groups) {
        const std::string &value = choices.*group.choice;
        for (const auto &[button, buttonValue] : group.buttons) {
            // A group may have no button selected (an odds source the
            // window does not know); exclusive buttons cannot be cleared.
            button->setAutoExclusive(false);
            button->setChecked(buttonValue == value);
            button->setAutoExclusive(true);
        }
    }
    m_edit4->setText(toQString(choices.kako));
}

settingsdialog::Choices TForm16::choices() const
{
    settingsdialog::Choices c;
    for (const RadioGroup &group : m_groups)
        for (const auto &[button, value] : group.buttons)
            if (button->isChecked())
                c.*group.choice = value;
    c.kako = fromQString(m_edit4->text());
    return c;
}

// ---------------------------------------------------------------- commands

void TForm16::BitBtn1Click()
{
    const settingsdialog::Choices c = choices();
    if (settingsdialog::confirm(m_app.settingsFile, c, fromQString(m_edit3->text()), m_desktop)) {
        leave();
    } else if (!settingsdialog::kakoAcceptable(c.kako)) {
        // Straight back to the field that was refused.
        m_edit4->setFocus();
        m_edit4->selectAll();
    }
}

void TForm16::BitBtn2Click()
{
    leave();
}

void TForm16::BitBtn3Click()
{
    if (const auto folder = settingsdialog::browsePatFolder(fromQString(m_edit3->text()), m_app.settings, m_desktop))
        m_edit3->setText(toQString(*folder));
}

void TForm16::leave()
{
    if (m_hooks.showMain)
        m_hooks.showMain();
}

void TForm16::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // Each opening shows the file's values; a window restored by the window
    // system keeps what the user has changed so far.
    if (!event->spontaneous())
        FormActivate();
}

void TForm16::closeEvent(QCloseEvent *event)
{
    event->ignore();
    leave();
}

void TForm16::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        BitBtn2Click();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace zorbe
