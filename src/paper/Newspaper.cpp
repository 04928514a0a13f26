#include "paper/Newspaper.h"

#include "platform/ProfileFile.h"
#include "shell/Settings.h"

namespace zorbe {

PageStyle TPaperSettings::style() const
{
    return pageStyleOf(sinbun).value_or(PageStyle::Vertical);
}

TPaperSettings paperSettingsFrom(const SettingsSnapshot &snapshot, const ProfileFile &settingsFile)
{
    TPaperSettings s;
    s.sinbun = snapshot.sinbun;
    s.insatu = snapshot.insatu;
    s.font = snapshot.font;
    s.color = snapshot.color;
    s.yosou = snapshot.yosou;
    s.sinba = snapshot.sinba;
    s.kako = snapshot.kako;
    s.ozz = snapshot.ozz;
    s.patwin = snapshot.patwin;
    s.hosei = settingsFile.readString("hosei", "hosei", "1");
    return s;
}

} // namespace zorbe
