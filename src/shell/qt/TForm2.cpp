#include "shell/qt/TForm2.h"

#include "shell/qt/Pictures.h"
#include "shell/qt/WindowPlacement.h"

#include <QCoreApplication>
#include <QPainter>

namespace zorbe {

TForm2::TForm2()
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("Form2"));
    setFixedSize(kWidth, kHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TForm2::showAndPaint()
{
    centreOnScreen(*this);
    show();
    repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TForm2::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    pictures::paintSplash(p, rect());
}

} // namespace zorbe
