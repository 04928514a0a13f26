#pragma once

#include "db/PersonDetails.h"
#include "db/qt/PersonDbWindow.h"

namespace zorbe {

struct MasterTables;
struct SettingsSnapshot;

// The jockey database: the jockeys of "JracKisi.dat" by kana index, one
// page each. Reached from the main window, the results window and the
// trainer database.
class TForm9 : public PersonDbWindow
{
    Q_OBJECT

public:
    // settings: the data folder and the page font, as the main window read
    // them; masters: the trainers the jockeys are attached to.
    TForm9(const SettingsSnapshot &settings, const MasterTables &masters, ProfileFile &settingsFile, TPrinter *printer,
           DesktopServices &desktop, Hooks hooks, QWidget *parent = nullptr);

    const std::vector<formats::TJockeyDetailRec> &jockeys() const { return m_jockeys; }

protected:
    bool loadDetails(std::vector<std::string> &problems) override;
    std::vector<TListEntry> fillList(const TKanaFilter &filter) const override;
    std::optional<std::size_t> findPerson(std::string_view listText) const override;
    void drawPerson(const TPageContext &ctx, std::size_t person) const override;

private:
    const SettingsSnapshot &m_settings;
    const MasterTables &m_masters;
    std::vector<formats::TJockeyDetailRec> m_jockeys;
};

} // namespace zorbe
