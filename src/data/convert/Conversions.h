#pragma once

#include "data/convert/ConversionSupport.h"
#include "link/download/DownloadRun.h"

#include <filesystem>
#include <string>
#include <vector>

namespace zorbe {

class DesktopServices;
class ProfileFile;

// The conversions the download run hands its finished days to, for the
// conversion window and the headless `zorbe download` alike: the race-card
// days to the entries conversion, the results days to the results
// conversion. The folders are read from the settings file on every
// hand-off, so a folder changed in the settings takes effect at once.
class TConversions : public ConversionHandOff
{
public:
    TConversions(ProfileFile &settings, ConversionView &view, DesktopServices &desktop);

    // The entries conversion of the race-card days (".RDT", ".HDT"), then
    // the master rebuild. Throws files::FileError or ConversionError.
    bool convertEntries(const std::vector<DownloadedDay> &days) override;
    // The results conversion of the results days (".SDT", time correction).
    bool convertResults(const std::vector<DownloadedDay> &days) override;

    ConversionFolders folders() const;

private:
    ProfileFile &m_settings;
    ConversionView &m_view;
    DesktopServices &m_desktop;
};

} // namespace zorbe
