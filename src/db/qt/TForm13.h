#pragma once

#include "db/PersonDetails.h"
#include "db/qt/PersonDbWindow.h"

namespace zorbe {

struct SettingsSnapshot;

// The trainer database: the trainers of "JracChok.dat" by kana index, one
// page each. Reached from the main window, the results window and the
// jockey database.
class TForm13 : public PersonDbWindow
{
    Q_OBJECT

public:
    TForm13(const SettingsSnapshot &settings, ProfileFile &settingsFile, TPrinter *printer, DesktopServices &desktop,
            Hooks hooks, QWidget *parent = nullptr);

    const std::vector<formats::TTrainerDetailRec> &trainers() const { return m_trainers; }

protected:
    bool loadDetails(std::vector<std::string> &problems) override;
    std::vector<TListEntry> fillList(const TKanaFilter &filter) const override;
    std::optional<std::size_t> findPerson(std::string_view listText) const override;
    void drawPerson(const TPageContext &ctx, std::size_t person) const override;

private:
    const SettingsSnapshot &m_settings;
    std::vector<formats::TTrainerDetailRec> m_trainers;
};

} // namespace zorbe
