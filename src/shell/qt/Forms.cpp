#include "shell/qt/Forms.h"

#include "data/qt/TForm7.h"
#include "db/qt/TForm13.h"
#include "db/qt/TForm8.h"
#include "db/qt/TForm9.h"
#include "link/qt/TForm6.h"
#include "paper/qt/QtPrinter.h"
#include "paper/qt/TForm3.h"
#include "paper/qt/TForm5.h"
#include "platform/qt/QtText.h"
#include "shell/AppState.h"
#include "shell/MainWindowCommands.h"
#include "shell/qt/TAboutBox.h"
#include "shell/qt/TForm1.h"
#include "verify/qt/TForm14.h"
#include "verify/qt/TForm24.h"
#include "shell/qt/TForm16.h"

namespace zorbe {

Forms::Forms(AppState &app, DesktopServices &desktop)
    : m_app(app)
    , m_desktop(desktop)
{
}

// The windows go before the registry they refer to.
Forms::~Forms()
{
    m_form14.reset();
    m_form24.reset();
    m_form13.reset();
    m_form9.reset();
    m_form8.reset();
    m_form3.reset();
    m_form5.reset();
    m_form6.reset();
    m_form7.reset();
    m_form16.reset();
    m_aboutBox.reset();
    m_form1.reset();
    m_printer.reset();
}

template <typename W, typename... Args> std::unique_ptr<W> Forms::create(const char *className, Args &&...args)
{
    auto window = std::make_unique<W>(std::forward<Args>(args)...);
    m_created << QString::fromLatin1(className);
    return window;
}

void Forms::start()
{
    // The order of creation is the program's: TForm1, TForm4, TForm5,
    // TAboutBox, TForm10, TForm16, TForm24, TForm2, TForm6, TForm7, TForm3,
    // TForm8, TForm9, TForm13, TForm14. Windows not built yet are left out;
    // each goes in at its place.
    m_form1 = create<TForm1>("TForm1", m_app, m_desktop, *this);
    m_form1->FormCreate();

    m_printer = std::make_unique<QtPrinter>();
    m_printer->setPdfNotice([this](const std::string &text) { m_desktop.showMessage(text); });
    TForm5::Hooks form5Hooks;
    form5Hooks.showRaceSelection = [this] { show(*m_form3); };
    form5Hooks.showMain = [this] { showMain(); };
    form5Hooks.loadRaceDay = [this] { toRaceDayLoader(); };
    form5Hooks.printEdits = [this] { return m_form3->printEdits(); };
    m_form5 = create<TForm5>("TForm5", m_app.settingsFile, *m_app.newspaper, m_printer.get(), m_desktop,
                             std::move(form5Hooks));

    m_aboutBox = create<TAboutBox>("TAboutBox", m_app, *this);
    TForm16::Hooks form16Hooks;
    // The main window's values are read again on the way back, so that the
    // windows opened from it see what was confirmed.
    form16Hooks.showMain = [this] {
        mainwindow::formActivate(m_app);
        showMain();
    };
    m_form16 = create<TForm16>("TForm16", m_app, m_desktop, std::move(form16Hooks));
    m_form24 = create<TForm24>("TForm24", m_app.settingsFile, m_desktop, TForm24::Hooks{[this] { showMain(); }});
    // The conversion window takes the download window's hand-off; it is
    // created first so the download window can refer to it.
    TForm7::Hooks form7Hooks;
    form7Hooks.showSelf = [this] { show(*m_form7); };
    form7Hooks.showMain = [this] { showMain(); };
    auto form7 = std::make_unique<TForm7>(m_app.settingsFile, m_desktop, std::move(form7Hooks));
    TForm6::Hooks form6Hooks;
    form6Hooks.versionCaption = [this] { return fromUtf8Text(m_app.JVLinkVersionCaption); };
    form6Hooks.setMainStatus = [this](const QString &text) { m_form1->setStatusText(0, text); };
    form6Hooks.showMain = [this] { showMain(); };
    m_form6 = create<TForm6>("TForm6", m_app.JVLink1, *form7, std::move(form6Hooks));
    m_form7 = std::move(form7);
    m_created << QStringLiteral("TForm7");

    TForm3::Hooks form3Hooks;
    form3Hooks.showMain = [this] { showMain(); };
    form3Hooks.loadRaceDay = [this] { toRaceDayLoader(); };
    form3Hooks.showNewspaper = [this] { show(*m_form5); };
    form3Hooks.releaseRaceButtons = [this] { m_form5->releaseRaceButtons(); };
    m_form3 = create<TForm3>("TForm3", m_app, *m_app.newspaper, m_printer.get(), m_desktop, std::move(form3Hooks));

    TForm8::Hooks form8Hooks;
    form8Hooks.showMain = [this] { showMain(); };
    form8Hooks.showJockeys = [this] { show(*m_form9); };
    form8Hooks.showTrainers = [this] { show(*m_form13); };
    form8Hooks.loadResults = [this] { toResultsLoader(); };
    m_form8 = create<TForm8>("TForm8", *m_app.results, m_app.labels, m_app.settings, m_printer.get(), m_desktop,
                             std::move(form8Hooks));
    PersonDbWindow::Hooks form9Hooks;
    form9Hooks.showMain = [this] { showMain(); };
    form9Hooks.showOther = [this] { show(*m_form13); };
    form9Hooks.loadResults = [this] { toResultsLoader(); };
    m_form9 = create<TForm9>("TForm9", m_app.settings, m_app.masters, m_app.settingsFile, m_printer.get(), m_desktop,
                             std::move(form9Hooks));
    PersonDbWindow::Hooks form13Hooks;
    form13Hooks.showMain = [this] { showMain(); };
    form13Hooks.showOther = [this] { show(*m_form9); };
    form13Hooks.loadResults = [this] { toResultsLoader(); };
    m_form13 = create<TForm13>("TForm13", m_app.settings, m_app.settingsFile, m_printer.get(), m_desktop,
                               std::move(form13Hooks));
    m_form14 = create<TForm14>("TForm14", m_app.settingsFile, m_desktop, TForm14::Hooks{[this] { showMain(); }});
    showMain();
}

void Forms::show(QWidget &next)
{
    if (m_current && m_current != &next)
        m_current->hide();
    m_current = &next;
    next.show();
    next.raise();
    next.activateWindow();
}

void Forms::showMain()
{
    show(*m_form1);
}

void Forms::toRaceDayLoader()
{
    showMain();
    m_form1->BitBtn1Click();
}

void Forms::toResultsLoader()
{
    showMain();
    m_form1->N1Click();
}

void Forms::openNewspaper(const WinPath &raceDayFile)
{
    // The settings the loader reads, as the main window's activation gives
    // them (the day may be opened before that window was ever active).
    mainwindow::formActivate(m_app);
    if (!mainwindow::loadRaceDay(m_app, raceDayFile, m_desktop)) {
        showMain();
        return;
    }
    // The race selection window's activation builds the day's race texts
    // and runner counts the page needs.
    show(*m_form3);
    show(*m_form5);
}

} // namespace zorbe
