#include "db/qt/TForm9.h"

#include "db/PersonPages.h"
#include "platform/Cp932.h"
#include "shell/MasterTables.h"
#include "shell/Settings.h"

namespace zorbe {
namespace {

PersonDbWindow::Setup jockeySetup()
{
    PersonDbWindow::Setup s;
    s.objectName = "Form9";
    s.section = sj("騎手ＤＢ");
    s.defaults = {491, 718, 50, 50};
    s.kana = &JockeyKanaButtons();
    s.printTitle = kJockeyPrintTitle;
    s.titleCaption = QStringLiteral("タイトル");
    s.printCaption = QStringLiteral("印　　　　　刷");
    s.setupCaption = QStringLiteral("プリンター設定");
    s.otherCaption = QStringLiteral("調教師  ＤＢ");
    s.resultsCaption = QStringLiteral("成　績　ＤＢ");
    s.printName = "BitBtn4";
    s.setupName = "BitBtn5";
    s.otherStoresGeometry = false;
    return s;
}

} // namespace

TForm9::TForm9(const SettingsSnapshot &settings, const MasterTables &masters, ProfileFile &settingsFile,
               TPrinter *printer, DesktopServices &desktop, Hooks hooks, QWidget *parent)
    : PersonDbWindow(jockeySetup(), settingsFile, printer, desktop, std::move(hooks), parent)
    , m_settings(settings)
    , m_masters(masters)
{
}

bool TForm9::loadDetails(std::vector<std::string> &problems)
{
    auto details = LoadJockeyDetails(WinPath(m_settings.racedat));
    if (!details)
        return false;
    m_jockeys = std::move(details->records);
    problems = std::move(details->problems);
    return true;
}

std::vector<TListEntry> TForm9::fillList(const TKanaFilter &filter) const
{
    return FillJockeyList(m_jockeys, filter);
}

std::optional<std::size_t> TForm9::findPerson(std::string_view listText) const
{
    return findJockey(m_jockeys, listText);
}

void TForm9::drawPerson(const TPageContext &ctx, std::size_t person) const
{
    if (person < m_jockeys.size())
        DrawJockeyPage(ctx, m_jockeys[person], m_masters.TrainerTable, m_settings.font);
}

} // namespace zorbe
