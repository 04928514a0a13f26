#include "paper/qt/TForm10.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>

namespace zorbe {

TForm10::TForm10(QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("TForm10"));
    setWindowTitle(QStringLiteral("ゾルベ３２＜印刷出力中＞"));
    setFixedSize(360, 130);

    auto *hint = new QLabel(QStringLiteral("印刷中止ボタンで中止します。"), this);
    hint->setObjectName(QStringLiteral("Label2"));
    hint->setGeometry(16, 12, 328, 20);

    m_label1 = new QLabel(this);
    m_label1->setObjectName(QStringLiteral("Label1"));
    m_label1->setGeometry(16, 42, 328, 24);
    QFont bold = m_label1->font();
    bold.setBold(true);
    m_label1->setFont(bold);

    m_cancel = new QPushButton(QStringLiteral("印刷中止"), this);
    m_cancel->setObjectName(QStringLiteral("BitBtn1"));
    m_cancel->setGeometry(130, 84, 100, 30);
    connect(m_cancel, &QPushButton::clicked, this, [this] { m_cancelled = true; });
}

void TForm10::showProgress(const QString &text)
{
    m_label1->setText(text);
    if (!isVisible())
        show();
    raise();
    repaint();
    emit progressShown(text);
}

void TForm10::closeEvent(QCloseEvent *event)
{
    event->ignore();
    m_cancelled = true;
}

} // namespace zorbe
