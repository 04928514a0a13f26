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
    s.pageBox = kJockeyPageBox;
    s.buttonColumns = 1;
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
    : DetailDbWindow(jockeySetup(), {LoadJockeyDetails, FillJockeyList, findJockey}, settings, settingsFile, printer,
                     desktop, std::move(hooks), parent)
    , m_masters(masters)
{
}

void TForm9::drawPerson(const TPageContext &ctx, std::size_t person) const
{
    if (person < people().size())
        DrawJockeyPage(ctx, people()[person], m_masters.TrainerTable, settings().font);
}

} // namespace zorbe
