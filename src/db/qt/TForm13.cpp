#include "db/qt/TForm13.h"

#include "db/PersonPages.h"
#include "platform/Cp932.h"
#include "shell/Settings.h"

namespace zorbe {
namespace {

PersonDbWindow::Setup trainerSetup()
{
    PersonDbWindow::Setup s;
    s.objectName = "Form13";
    s.section = sj("調教師ＤＢ");
    s.defaults = {360, 702, 50, 50};
    s.kana = &TrainerKanaButtons();
    s.printTitle = kTrainerPrintTitle;
    s.pageBox = kTrainerPageBox;
    s.buttonColumns = 2;
    s.titleCaption = QStringLiteral("タイトル");
    s.printCaption = QStringLiteral("印　刷");
    s.setupCaption = QStringLiteral("設　定");
    s.otherCaption = QStringLiteral("騎手DB");
    s.resultsCaption = QStringLiteral("成績ＤＢ");
    s.printName = "BitBtn5";
    s.setupName = "BitBtn4";
    s.otherStoresGeometry = true;
    s.initialListText = QStringLiteral("aaa");
    s.unusedButtonNumber = 30;
    return s;
}

} // namespace

TForm13::TForm13(const SettingsSnapshot &settings, ProfileFile &settingsFile, TPrinter *printer,
                 DesktopServices &desktop, Hooks hooks, QWidget *parent)
    : DetailDbWindow(trainerSetup(), {LoadTrainerDetails, FillTrainerList, findTrainer}, settings, settingsFile,
                     printer, desktop, std::move(hooks), parent)
{
}

void TForm13::drawPerson(const TPageContext &ctx, std::size_t person) const
{
    if (person < people().size())
        DrawTrainerPage(ctx, people()[person], settings().font);
}

} // namespace zorbe
