#pragma once

#include "data/convert/ConversionSupport.h"

#include <string>
#include <string_view>

namespace zorbe {

// Rebuilds the master files of the data folder from the master records a
// download left in the download folder: trainers ("Jra#Chok.dat" ->
// "CHOKYOSI.DAT" and "JracChok.dat"), then jockeys ("Jra#Kisi.dat" ->
// "KISYU.DAT" and "JracKisi.dat"), one line per person: of several records
// of a person (a download of several weeks) the newest. A kind without a
// downloaded file keeps its master files; a downloaded file is deleted once
// its masters are written.
void RebuildMasters(const ConversionFolders &folders, ConversionView &view);

// The master lines of one downloaded record, for the rebuild and its tests.
std::string trainerSummaryLine(std::string_view ch);
std::string jockeySummaryLine(std::string_view ks);
std::string trainerDetailLine(std::string_view ch);
std::string jockeyDetailLine(std::string_view ks);

// The 32-byte display name of a 34-byte name: the family name and the
// given name each padded with full-width spaces to 16 bytes, cut at a
// full-width space in bytes 3-4, 5-6, 7-8 or 9-10; a name without one
// there is taken from its first byte.
std::string displayPersonName(std::string_view name34);

} // namespace zorbe
