#pragma once

#include "db/qt/PersonDbWindow.h"

namespace zorbe {

struct MasterTables;

// The jockey database: the jockeys of "JracKisi.dat" by kana index, one
// page each. Reached from the main window, the results window and the
// trainer database.
class TForm9 : public DetailDbWindow<formats::TJockeyDetailRec>
{
public:
    // settings: the data folder and the page font, as the main window read
    // them; masters: the trainers the jockeys are attached to.
    TForm9(const SettingsSnapshot &settings, const MasterTables &masters, ProfileFile &settingsFile, TPrinter *printer,
           DesktopServices &desktop, Hooks hooks, QWidget *parent = nullptr);

protected:
    void drawPerson(const TPageContext &ctx, std::size_t person) const override;

private:
    const MasterTables &m_masters;
};

} // namespace zorbe
