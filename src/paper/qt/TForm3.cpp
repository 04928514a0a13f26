#include "paper/qt/TForm3.h"

#include "model/RaceCard.h"
#include "platform/qt/QtText.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>

namespace zorbe {

TForm3::TForm3(const TRaceCard &card, Hooks hooks, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_card(card)
    , m_hooks(std::move(hooks))
{
    setObjectName(QStringLiteral("TForm3"));
    setWindowTitle(QStringLiteral("ゾルベ ＜レース選択＞"));
    setFixedSize(560, 420);

    m_label1 = new QLabel(this);
    m_label1->setObjectName(QStringLiteral("Label1"));
    m_label1->setGeometry(16, 10, 528, 24);
    QFont heading = m_label1->font();
    heading.setPixelSize(16);
    heading.setBold(true);
    m_label1->setFont(heading);

    auto *raceSelect = new QPushButton(QStringLiteral("レース選択"), this);
    raceSelect->setObjectName(QStringLiteral("BitBtn7"));
    raceSelect->setGeometry(340, 380, 100, 28);
    connect(raceSelect, &QPushButton::clicked, this, [this] {
        if (m_hooks.loadRaceDay)
            m_hooks.loadRaceDay();
    });
    auto *title = new QPushButton(QStringLiteral("タイトル"), this);
    title->setObjectName(QStringLiteral("BitBtn3"));
    title->setGeometry(450, 380, 100, 28);
    connect(title, &QPushButton::clicked, this, [this] {
        if (m_hooks.showMain)
            m_hooks.showMain();
    });
}

void TForm3::FormActivate()
{
    if (!m_card.Form3Caption.empty())
        setWindowTitle(toQString(m_card.Form3Caption));
    m_label1->setText(toQString(m_card.Form3Label1));
}

void TForm3::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    FormActivate();
}

void TForm3::closeEvent(QCloseEvent *event)
{
    event->ignore();
    if (m_hooks.showMain)
        m_hooks.showMain();
}

} // namespace zorbe
