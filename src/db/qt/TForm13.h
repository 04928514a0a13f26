#pragma once

#include "db/qt/PersonDbWindow.h"

namespace zorbe {

// The trainer database: the trainers of "JracChok.dat" by kana index, one
// page each. Reached from the main window, the results window and the
// jockey database.
class TForm13 : public DetailDbWindow<formats::TTrainerDetailRec>
{
public:
    TForm13(const SettingsSnapshot &settings, ProfileFile &settingsFile, TPrinter *printer, DesktopServices &desktop,
            Hooks hooks, QWidget *parent = nullptr);

protected:
    void drawPerson(const TPageContext &ctx, std::size_t person) const override;
};

} // namespace zorbe
