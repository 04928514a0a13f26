#include "data/convert/Conversions.h"

#include "data/convert/EntriesConversion.h"
#include "data/convert/ResultsConversion.h"
#include "platform/ProfileFile.h"

namespace zorbe {

namespace {
std::vector<std::string> namesOf(const std::vector<DownloadedDay> &days)
{
    std::vector<std::string> names;
    names.reserve(days.size());
    for (const auto &d : days)
        names.push_back(d.fileName);
    return names;
}
} // namespace

TConversions::TConversions(ProfileFile &settings, ConversionView &view, DesktopServices &desktop)
    : m_settings(settings), m_view(view), m_desktop(desktop)
{
}

ConversionFolders TConversions::folders() const { return ConversionFolders::fromSettings(m_settings); }

bool TConversions::convertEntries(const std::vector<DownloadedDay> &days)
{
    convertEntryDays(namesOf(days), m_settings, ConversionContext{folders(), m_view});
    return true;
}

bool TConversions::convertResults(const std::vector<DownloadedDay> &days)
{
    convertResultDays(namesOf(days), m_desktop, ConversionContext{folders(), m_view});
    return true;
}

} // namespace zorbe
