#include "shell/qt/TAboutBox.h"

#include "platform/qt/QtFonts.h"
#include "platform/qt/QtText.h"
#include "shell/AppInfo.h"
#include "shell/AppState.h"
#include "shell/qt/Forms.h"
#include "shell/qt/Pictures.h"
#include "shell/qt/WindowPlacement.h"

#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

namespace zorbe {

namespace {

// The emblem at the top left of the window.
class ProgramIcon : public QWidget
{
public:
    explicit ProgramIcon(QWidget *parent)
        : QWidget(parent)
    {
        setObjectName(QStringLiteral("ProgramIcon"));
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        pictures::paintEmblem(p, QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
    }
};

QLabel *label(QWidget *parent, const char *name, const QString &text, const QRect &geometry, const QFont &font)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setGeometry(geometry);
    l->setFont(font);
    return l;
}

} // namespace

TAboutBox::TAboutBox(AppState &app, Forms &forms)
    : QWidget(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                           | Qt::WindowCloseButtonHint)
    , m_app(app)
    , m_forms(forms)
{
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("バージョン情報"));
    setFont(windowsFont(QStringLiteral("ＭＳ Ｐゴシック"), 12));
    setFixedSize(298, 214);

    auto *panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setGeometry(8, 8, 282, 162);

    auto *icon = new ProgramIcon(panel);
    icon->setGeometry(10, 10, 64, 64);

    QFont bold = windowsFont(QStringLiteral("ＭＳ Ｐゴシック"), 16);
    bold.setBold(true);
    m_productName = label(panel, "ProductName", fromUtf8Text(kApplicationTitle), QRect(88, 14, 186, 24), bold);
    const QFont plain = font();
    m_version = label(panel, "Version", fromUtf8Text(kVersionText), QRect(88, 42, 186, 16), plain);
    m_linkVersion = label(panel, "LinkVersion", QString(), QRect(88, 60, 186, 16), plain);
    m_copyright = label(panel, "Copyright", fromUtf8Text(kCopyright), QRect(10, 100, 264, 16), plain);
    label(panel, "Comments", QStringLiteral("JRA 競馬新聞 ― 出馬表・成績・タイム指数・予想"), QRect(10, 124, 264, 16),
          plain);

    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName(QStringLiteral("OKButton"));
    m_ok->setGeometry(111, 180, 75, 25);
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &TAboutBox::OKButtonClick);

    centreOnScreen(*this);
}

QString TAboutBox::productNameText() const
{
    return m_productName->text();
}

QString TAboutBox::versionText() const
{
    return m_version->text();
}

QString TAboutBox::copyrightText() const
{
    return m_copyright->text();
}

void TAboutBox::OKButtonClick()
{
    m_forms.showMain();
}

void TAboutBox::showEvent(QShowEvent *event)
{
    // The data link's version is known once the main window has been shown.
    m_linkVersion->setText(fromUtf8Text(m_app.JVLinkVersionCaption).trimmed());
    QWidget::showEvent(event);
}

void TAboutBox::closeEvent(QCloseEvent *event)
{
    event->ignore();
    m_forms.showMain();
}

} // namespace zorbe
